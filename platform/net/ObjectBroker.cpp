#include "platform/net/ObjectBroker.h"

#include <algorithm>
#include <random>

namespace kv {

KV_PUBLISHED(TSimpleObjectBroker) {
    b.Property("LoadBalanced", &T::LoadBalanced, &T::SetLoadBalanced).Default(0);
}
KV_REGISTER_CLASS(TSimpleObjectBroker);

void TSimpleObjectBroker::AddServer(const std::string& computerName, int port) {
    std::lock_guard lock(mutex_);
    servers_.push_back({computerName, port, true, false});
}

void TSimpleObjectBroker::ClearServers() {
    std::lock_guard lock(mutex_);
    servers_.clear();
}

std::vector<TServerItem> TSimpleObjectBroker::Servers() const {
    std::lock_guard lock(mutex_);
    return servers_;
}

std::vector<TServerItem> TSimpleObjectBroker::Candidates() const {
    std::lock_guard lock(mutex_);
    std::vector<TServerItem> healthy;
    std::vector<TServerItem> failed;
    for (const auto& server : servers_)
        if (server.Enabled) (server.HasFailed ? failed : healthy).push_back(server);
    if (loadBalanced_ && healthy.size() > 1) {
        static thread_local std::minstd_rand random{std::random_device{}()};
        std::uniform_int_distribution<std::size_t> pick(0, healthy.size() - 1);
        const auto start = static_cast<std::ptrdiff_t>(pick(random));
        std::rotate(healthy.begin(), healthy.begin() + start, healthy.end());
    }
    healthy.insert(healthy.end(), failed.begin(), failed.end());
    return healthy;
}

void TSimpleObjectBroker::SetFailed(const std::string& computerName, int port, bool failed) {
    std::lock_guard lock(mutex_);
    for (auto& server : servers_)
        if (server.ComputerName == computerName && server.Port == port) server.HasFailed = failed;
}

}  // namespace kv
