// The application server's speed: jobs submitted per second with their p50/p99 latency,
// in-process and over loopback with 1 and 16 clients, and LoadTable plus fetch of 1,000
// schemes of one user. The daemon runs in this process on a free loopback port.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/core/ComObj.h"
#include "platform/core/SysUtils.h"
#include "platform/net/ProviderRows.h"
#include "platform/net/SocketConnection.h"
#include "suite/appserver/AppServerDaemon.h"
#include "suite/appserver/ReportCounter.h"

namespace {

using namespace kv;
using Clock = std::chrono::steady_clock;

std::string BenchDatabase() {
    static const std::string path = [] {
        const auto folder = std::filesystem::temp_directory_path() / "kvappserver-bench";
        std::filesystem::remove_all(folder);
        std::filesystem::create_directories(folder);
        return (folder / "company.db").string();
    }();
    return path;
}

// The daemon, started once for all loopback benchmarks.
class TBenchDaemon {
public:
    TBenchDaemon() {
        TAppServerConfig config;
        config.address = "127.0.0.1";
        config.port = 0;
        config.database = BenchDatabase();
        config.logFile = BenchDatabase() + ".log";
        daemon_ = std::make_unique<TAppServerDaemon>(config);
        thread_ = std::thread([this] { daemon_->Run(stop_); });
    }
    ~TBenchDaemon() {
        stop_ = true;
        thread_.join();
    }
    int Port() const { return daemon_->Port(); }

private:
    std::unique_ptr<TAppServerDaemon> daemon_;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

TBenchDaemon& Daemon() {
    static TBenchDaemon daemon;
    return daemon;
}

Variant Job(const std::string& user) {
    Variant env = VarArrayCreate({1, 12});
    env[1] = Variant::Wide("KPQX07");
    env[2] = Variant(12);
    env[3] = Variant(1);
    env[4] = Variant::Wide("C01");
    env[5] = Variant::Wide(user);
    env[6] = Variant::Wide("DEMO");
    env[7] = Variant::Date(Now());
    env[8] = Variant::Wide("KPQX07S.Class1");
    env[9] = Variant::Wide("R");
    env[10] = Variant(0);
    env[11] = Variant::Date(Now());
    env[12] = Variant::Wide("");
    Variant texts = VarArrayCreate({1, 1});
    texts[1] = VarArrayOf({Variant::Wide("维修部门"), Variant::Wide("sp01")});
    Variant values = VarArrayCreate({1, 1});
    values[1] = VarArrayOf({Variant("\x04"), Variant::Wide("A01"), Variant::Wide("Z99")});
    return VarArrayOf({env, texts, values});
}

struct TRemote {
    std::unique_ptr<TSocketConnection> connection = std::make_unique<TSocketConnection>();
    Variant server;
};

TRemote Connect() {
    TRemote remote;
    remote.connection->SetAddress("127.0.0.1");
    remote.connection->SetPort(Daemon().Port());
    remote.connection->SetServerName(kReportCounterProgId);
    remote.server = remote.connection->AppServer();
    return remote;
}

Variant InProcessServer() {
    static const bool registered = [] {
        RegisterReportCounterClass({BenchDatabase(), false, nullptr});
        return true;
    }();
    (void)registered;
    return CreateOleObject(kReportCounterProgId);
}

// Runs the loop, timing each call, and reports items per second and p50/p99 in microseconds.
template <class Fn>
void TimedLoop(benchmark::State& state, Fn&& call) {
    std::vector<double> latencies;
    for (auto _ : state) {
        const auto start = Clock::now();
        call();
        latencies.push_back(
            std::chrono::duration<double, std::micro>(Clock::now() - start).count());
    }
    state.SetItemsProcessed(state.iterations());
    if (latencies.empty()) return;
    std::sort(latencies.begin(), latencies.end());
    auto at = [&](double q) {
        return latencies[std::min(
            latencies.size() - 1,
            static_cast<std::size_t>(q * static_cast<double>(latencies.size())))];
    };
    state.counters["p50_us"] = benchmark::Counter(at(0.50), benchmark::Counter::kAvgThreads);
    state.counters["p99_us"] = benchmark::Counter(at(0.99), benchmark::Counter::kAvgThreads);
}

void BM_InProcessRequest(benchmark::State& state) {
    const Variant server = InProcessServer();
    const Variant job = Job("B0");
    TimedLoop(state, [&] { benchmark::DoNotOptimize(OleCall(server, "Request", {job})); });
}
BENCHMARK(BM_InProcessRequest)->UseRealTime();

void BM_InProcessCallPath(benchmark::State& state) {
    const Variant server = InProcessServer();
    TimedLoop(state, [&] { benchmark::DoNotOptimize(OleGet(server, "ErrorDescript")); });
}
BENCHMARK(BM_InProcessCallPath)->UseRealTime();

void BM_LoopbackRequest(benchmark::State& state) {
    TRemote remote = Connect();
    const Variant job = Job("B" + std::to_string(state.thread_index() + 1));
    TimedLoop(state, [&] { benchmark::DoNotOptimize(OleCall(remote.server, "Request", {job})); });
}
BENCHMARK(BM_LoopbackRequest)->Threads(1)->Threads(16)->UseRealTime();

void BM_LoopbackCallPath(benchmark::State& state) {
    TRemote remote = Connect();
    TimedLoop(state, [&] { benchmark::DoNotOptimize(OleGet(remote.server, "ErrorDescript")); });
}
BENCHMARK(BM_LoopbackCallPath)->Threads(1)->Threads(16)->UseRealTime();

// 1,000 schemes of user "L1", saved once.
void PrepareSchemes(const Variant& server) {
    static std::once_flag once;
    std::call_once(once, [&] {
        for (int i = 0; i < 1000; ++i)
            OleCall(server, "InsertConTable",
                    {VarArrayOf({Variant("方案" + std::to_string(i)), Variant("L1"),
                                 Variant("20240305"), Variant("KPQX07"),
                                 Variant("sp01.style;sp02.style;cbo08.itemindex;"),
                                 Variant("sp_Range\x03"
                                         "A01\x03Z99\r\nsp_Discrete\x03\r\n2\r\n"),
                                 Variant(true)})});
    });
}

void LoadAndFetch(benchmark::State& state, const Variant& server) {
    PrepareSchemes(server);
    const Variant key = VarArrayOf({Variant("L1"), Variant("KPQX07")});
    TimedLoop(state, [&] {
        OleCall(server, "LoadTable", {key});
        const auto rows = FetchProviderRows(server, kSchemeProvider);
        if (rows.rows.size() != 1000) state.SkipWithError("schemes missing");
    });
}

void BM_InProcessLoadTable1000(benchmark::State& state) {
    LoadAndFetch(state, InProcessServer());
}
BENCHMARK(BM_InProcessLoadTable1000)->UseRealTime();

void BM_LoopbackLoadTable1000(benchmark::State& state) {
    TRemote remote = Connect();
    LoadAndFetch(state, remote.server);
}
BENCHMARK(BM_LoopbackLoadTable1000)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
