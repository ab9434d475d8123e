// TSocketConnection: the client's connection to an application server. It reaches the server
// at Address (or Host, or a host of its ObjectBroker) and Port, opens the automation class
// ServerName there, and offers it as AppServer, a variant holding a proxy object: late-bound
// calls on it travel as frames (RemoteProtocol.h), by-reference arguments come back, and an
// error raised by the server raises EOleException with the server's message here.
//
// A server object created in this process can be handed to the connection with SetAppServer
// instead; the connection then answers AppServer with it and is not connected.
//
// A remote server component: a client data set names it as its RemoteServer. A form owns it and
// its description sets the published properties Address,
// Host, Port, ServerName, ObjectBroker, SupportCallbacks and Connected by name.
//
// One connection serves one thread at a time per call (calls are serialised on its socket);
// the proxy keeps the socket alive while a variant holds it, even after the connection object
// is gone, and fails its calls once the connection was closed.
#pragma once

#include <memory>
#include <string>

#include "platform/core/Classes.h"
#include "platform/core/Variant.h"
#include "platform/net/ObjectBroker.h"
#include "platform/net/RemoteProtocol.h"
#include "platform/ui/DBClient.h"

namespace kv {

class TRemoteChannel;

class TSocketConnection : public TCustomRemoteServer {
    KV_CLASS(TSocketConnection, TCustomRemoteServer)
public:
    explicit TSocketConnection(TComponent* owner = nullptr) : TCustomRemoteServer(owner) {}
    ~TSocketConnection() override;

    // Numeric address of the server host; wins over Host when both are set.
    const std::string& Address() const { return address_; }
    void SetAddress(const std::string& value);
    // Name of the server host.
    const std::string& Host() const { return host_; }
    void SetHost(const std::string& value);
    int Port() const { return port_; }
    void SetPort(int value);
    // Class name of the automation server to open.
    const std::string& ServerName() const { return serverName_; }
    void SetServerName(const std::string& value);
    // Kept for form descriptions; this connection never offers call-backs to the server.
    bool SupportCallbacks() const { return supportCallbacks_; }
    void SetSupportCallbacks(bool value) { supportCallbacks_ = value; }
    // Hosts to pick from when neither Address nor Host is set; not owned (forgotten when the
    // broker is freed).
    TSimpleObjectBroker* ObjectBroker() const { return broker_; }
    void SetObjectBroker(TSimpleObjectBroker* value);
    // Limit in milliseconds for connecting and for each answer (0: no limit).
    int Timeout() const { return timeoutMs_; }
    void SetTimeout(int value) { timeoutMs_ = value; }
    TFrameLimits& Limits() { return limits_; }

    bool Connected() const;
    void SetConnected(bool value);
    // Connects and opens ServerName; raises ESocketConnectionError when no host answers and
    // EOleException when the server refuses the class.
    void Open();
    void Close();

    // The application server: the local object handed in, else the proxy of the open
    // connection (connecting first when needed, as reading it does on the platform).
    Variant AppServer() override;
    // Closes the connection and keeps the local server (unassigned: none).
    void SetAppServer(const Variant& server);

protected:
    void Notification(TComponent* component, TOperation operation) override;

private:
    void OpenAt(const std::string& host, int port);
    void RequireClosed(const char* what) const;

    std::string address_;
    std::string host_;
    int port_ = 211;
    std::string serverName_;
    TSimpleObjectBroker* broker_ = nullptr;
    int timeoutMs_ = 120000;
    bool supportCallbacks_ = false;
    TFrameLimits limits_;
    std::shared_ptr<TRemoteChannel> channel_;
    Variant proxy_;
};

}  // namespace kv
