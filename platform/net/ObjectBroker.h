// TSimpleObjectBroker: a list of application-server hosts that a socket connection without an
// address of its own picks from. A host that failed is skipped until every host has failed,
// then all are tried again; with LoadBalanced the start of the search is chosen at random, so
// that clients spread over the hosts.
#pragma once

#include <mutex>
#include <string>
#include <vector>

#include "platform/core/Classes.h"

namespace kv {

struct TServerItem {
    std::string ComputerName;
    int Port = 211;
    bool Enabled = true;
    bool HasFailed = false;
};

class TSimpleObjectBroker : public TComponent {
    KV_CLASS(TSimpleObjectBroker, TComponent)
public:
    explicit TSimpleObjectBroker(TComponent* owner = nullptr) : TComponent(owner) {}

    void AddServer(const std::string& computerName, int port = 211);
    void ClearServers();
    std::vector<TServerItem> Servers() const;

    bool LoadBalanced() const { return loadBalanced_; }
    void SetLoadBalanced(bool value) { loadBalanced_ = value; }

    // The enabled hosts in the order a connection should try them: those that have not
    // failed first (from a random start with LoadBalanced), then the failed ones.
    std::vector<TServerItem> Candidates() const;
    // Records the outcome of a connection attempt to the host.
    void SetFailed(const std::string& computerName, int port, bool failed);

private:
    mutable std::mutex mutex_;
    std::vector<TServerItem> servers_;
    bool loadBalanced_ = false;
};

}  // namespace kv
