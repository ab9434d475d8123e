#include "suite/appserver/AppServerDaemon.h"

#include "platform/core/SysUtils.h"
#include "platform/net/RemoteServer.h"
#include "suite/appserver/AppStore.h"

namespace kv {

namespace {

constexpr int kPollMs = 200;

}  // namespace

TAppServerDaemon::TAppServerDaemon(const TAppServerConfig& config)
    : config_(config), log_(config.logFile), listener_(config.address, config.port) {
    if (config_.database.empty()) throw EDatabaseError("No database file configured");
    TAppStore check(config_.database, config_.fullSync);  // fails early on a bad file
    log_.Write("kvappserver listening on " + (config_.address.empty() ? "*" : config_.address) +
               ":" + std::to_string(listener_.Port()) + ", database " + config_.database);
}

TAppServerDaemon::~TAppServerDaemon() {
    Reap(true);
}

DispatchPtr TAppServerDaemon::CreateSession(const std::string& serverName) const {
    if (!SameText(serverName, kReportCounterProgId))
        throw EOleSysError("Invalid class string: " + serverName);
    return std::make_shared<TdmReportCounter>(
        TAppServerOptions{config_.database, config_.fullSync, nullptr});
}

void TAppServerDaemon::Run(const std::atomic<bool>& stop) {
    while (!stop) {
        TTcpSocket socket = listener_.Accept(kPollMs);
        Reap(false);
        if (socket.Valid()) Accept(std::move(socket));
    }
    log_.Write("kvappserver stopping");
    Reap(true);
    log_.Write("kvappserver stopped");
}

void TAppServerDaemon::Accept(TTcpSocket socket) {
    const std::string peer = socket.PeerName();
    std::lock_guard lock(mutex_);
    if (static_cast<int>(clients_.size()) >= config_.maxClients) {
        log_.Write(peer + " refused: " + std::to_string(config_.maxClients) +
                   " clients already connected");
        return;
    }
    auto client = std::make_unique<TClient>();
    client->socket = std::move(socket);
    TClient& ref = *client;
    clients_.push_back(std::move(client));
    ref.thread = std::thread([this, &ref, peer] { Serve(ref, peer); });
}

void TAppServerDaemon::Serve(TClient& client, const std::string& peer) {
    log_.Write(peer + " connected");
    const std::string reason = ServeConnection(
        client.socket, [this](const std::string& serverName) { return CreateSession(serverName); },
        limits_);
    log_.Write(peer + " disconnected: " + reason);
    client.done = true;
}

void TAppServerDaemon::Reap(bool all) {
    std::list<std::unique_ptr<TClient>> finished;
    {
        std::lock_guard lock(mutex_);
        for (auto it = clients_.begin(); it != clients_.end();) {
            if (all) (*it)->socket.Shutdown();
            if (all || (*it)->done) {
                finished.push_back(std::move(*it));
                it = clients_.erase(it);
            } else {
                ++it;
            }
        }
    }
    for (auto& client : finished)
        if (client->thread.joinable()) client->thread.join();
}

}  // namespace kv
