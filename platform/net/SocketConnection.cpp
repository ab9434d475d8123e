#include "platform/net/SocketConnection.h"

#include "platform/net/RemoteDispatch.h"

namespace kv {

KV_PUBLISHED(TSocketConnection) {
    b.Property("Address", &T::Address, &T::SetAddress);
    b.Property("Host", &T::Host, &T::SetHost);
    b.Property("Port", &T::Port, &T::SetPort).Default(211);
    b.Property("ServerName", &T::ServerName, &T::SetServerName);
    b.Property("ObjectBroker", &T::ObjectBroker, &T::SetObjectBroker);
    b.Property("SupportCallbacks", &T::SupportCallbacks, &T::SetSupportCallbacks).Default(0);
    b.Property("Connected", &T::Connected, &T::SetConnected).Stored(false);
}
KV_REGISTER_CLASS(TSocketConnection);

TSocketConnection::~TSocketConnection() {
    Close();
}

void TSocketConnection::Notification(TComponent* component, TOperation operation) {
    inherited::Notification(component, operation);
    if (operation == opRemove && component == broker_) broker_ = nullptr;
}

void TSocketConnection::RequireClosed(const char* what) const {
    if (Connected())
        throw ESocketConnectionError(std::string("Cannot change ") + what +
                                     " on an open connection");
}

void TSocketConnection::SetAddress(const std::string& value) {
    RequireClosed("the address");
    address_ = value;
}

void TSocketConnection::SetHost(const std::string& value) {
    RequireClosed("the host");
    host_ = value;
}

void TSocketConnection::SetPort(int value) {
    RequireClosed("the port");
    port_ = value;
}

void TSocketConnection::SetServerName(const std::string& value) {
    RequireClosed("the server name");
    serverName_ = value;
}

void TSocketConnection::SetObjectBroker(TSimpleObjectBroker* value) {
    RequireClosed("the object broker");
    if (broker_) broker_->RemoveFreeNotification(this);
    broker_ = value;
    if (broker_) broker_->FreeNotification(this);
}

bool TSocketConnection::Connected() const {
    return channel_ && channel_->IsOpen();
}

void TSocketConnection::SetConnected(bool value) {
    if (value)
        Open();
    else
        Close();
}

void TSocketConnection::OpenAt(const std::string& host, int port) {
    auto channel = std::make_shared<TRemoteChannel>(TTcpSocket::Connect(host, port, timeoutMs_),
                                                    limits_, timeoutMs_);
    channel->OpenServer(serverName_);
    channel_ = std::move(channel);
    proxy_ = Variant(DispatchPtr(std::make_shared<TRemoteDispatch>(channel_)));
}

void TSocketConnection::Open() {
    if (Connected()) return;
    Close();
    if (serverName_.empty()) throw ESocketConnectionError("No server name for the connection");
    const std::string& host = !address_.empty() ? address_ : host_;
    if (!host.empty() || !broker_) {
        if (host.empty()) throw ESocketConnectionError("No address or host for the connection");
        return OpenAt(host, port_);
    }
    const auto candidates = broker_->Candidates();
    if (candidates.empty()) throw ESocketConnectionError("The object broker lists no server");
    std::string reasons;
    for (const auto& server : candidates) {
        try {
            OpenAt(server.ComputerName, server.Port);
            broker_->SetFailed(server.ComputerName, server.Port, false);
            return;
        } catch (const ESocketConnectionError& error) {
            broker_->SetFailed(server.ComputerName, server.Port, true);
            reasons += (reasons.empty() ? "" : "; ") + error.Message();
        }
    }
    throw ESocketConnectionError("No server of the object broker answers: " + reasons);
}

void TSocketConnection::Close() {
    if (channel_) channel_->Close();
    channel_.reset();
    proxy_ = Variant();
}

Variant TSocketConnection::AppServer() {
    Variant local = inherited::AppServer();
    if (!VarIsClear(local)) return local;
    if (!Connected()) Open();
    return proxy_;
}

void TSocketConnection::SetAppServer(const Variant& server) {
    Close();
    inherited::SetAppServer(server);
}

}  // namespace kv
