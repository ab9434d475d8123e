// The client half of the socket connection: a channel (one socket, calls serialised) and the
// proxy automation object that forwards late-bound calls over it.
#pragma once

#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "platform/core/Dispatch.h"
#include "platform/net/RemoteProtocol.h"
#include "platform/net/Socket.h"

namespace kv {

class TRemoteChannel {
public:
    TRemoteChannel(TTcpSocket socket, const TFrameLimits& limits, int timeoutMs);

    // Opens the automation class on the server; raises EOleException with the server's
    // reason when it refuses.
    void OpenServer(const std::string& serverName);
    // One request and its answer; a Fault answer raises EOleException with its message. A
    // broken connection raises ESocketConnectionError and fails every later call.
    Variant Exchange(TFrameKind kind, const Variant& body);
    bool IsOpen() const;
    void Close();

private:
    mutable std::mutex mutex_;
    TTcpSocket socket_;
    TFrameLimits limits_;
    bool broken_ = false;
};

class TRemoteDispatch : public Dispatch {
public:
    explicit TRemoteDispatch(std::shared_ptr<TRemoteChannel> channel)
        : channel_(std::move(channel)) {}

    Variant Invoke(std::string_view name, DispatchFlags flags, std::vector<Variant>& args) override;

private:
    std::shared_ptr<TRemoteChannel> channel_;
};

}  // namespace kv
