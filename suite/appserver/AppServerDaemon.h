// The daemon kvappserver: serves "ReportCounterS.dmReportCounter" over TCP to many clients at
// once, one thread and one server session per connection. A connection that sends a malformed
// or oversized frame is closed with its reason in the log while the others go on; a client
// that disappears ends its thread and frees its session.
#pragma once

#include <atomic>
#include <list>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "platform/net/RemoteProtocol.h"
#include "platform/net/Socket.h"
#include "suite/appserver/AppServerConfig.h"
#include "suite/appserver/ReportCounter.h"
#include "suite/appserver/ServerLog.h"

namespace kv {

class TAppServerDaemon {
public:
    // Opens the log and the database (bringing its schema up to date) and starts listening;
    // raises when any of them fails, so a bad setting stops the daemon at once.
    explicit TAppServerDaemon(const TAppServerConfig& config);
    ~TAppServerDaemon();
    TAppServerDaemon(const TAppServerDaemon&) = delete;
    TAppServerDaemon& operator=(const TAppServerDaemon&) = delete;

    // The port actually listened on (the configured one, or the one chosen for port 0).
    int Port() const { return listener_.Port(); }
    TFrameLimits& Limits() { return limits_; }
    // Serves until stop becomes true (checked several times a second), then closes every
    // connection and waits for their threads.
    void Run(const std::atomic<bool>& stop);

private:
    struct TClient {
        TTcpSocket socket;
        std::thread thread;
        std::atomic<bool> done{false};
    };

    void Accept(TTcpSocket socket);
    void Serve(TClient& client, const std::string& peer);
    void Reap(bool all);
    DispatchPtr CreateSession(const std::string& serverName) const;

    TAppServerConfig config_;
    TServerLog log_;
    TFrameLimits limits_;
    TTcpListener listener_;
    std::mutex mutex_;
    std::list<std::unique_ptr<TClient>> clients_;
};

}  // namespace kv
