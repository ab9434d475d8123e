// Re-dating a periodic job's condition values: the cost per record stays flat as the number of
// records grows (every record is read once, values are reached by position).
#include <benchmark/benchmark.h>

#include <string>

#include "platform/core/Variant.h"
#include "src/runtime/DateRules.h"

namespace {

// A job with n values and one date-rule record per value, alternating single dates with a
// month rule, ranges with a begin and an end rule, and year-month values.
kv::Variant MakeJob(int n) {
    kv::Variant values = kv::VarArrayCreate({1, n});
    kv::Variant records = kv::VarArrayCreate({0, n});
    records[0] = n;
    const std::string sep = "\x03";
    for (int i = 1; i <= n; ++i) {
        const std::string pos = std::to_string(i);
        switch (i % 3) {
            case 0:
                values[i] = "20240110";
                records[i] = "1" + sep + "ed" + pos + sep + "Y" + sep + "1" + sep + "1" + sep +
                             "2" + sep + "0" + sep + "D" + sep + pos;
                break;
            case 1:
                values[i] = kv::VarArrayOf({kv::Variant('\x04'), "20240101", "20240131"});
                records[i] = "0" + sep + "sp" + pos + sep + "Y" + sep + "0" + sep + "1" + sep +
                             "1" + sep + "0" + sep + "Y" + sep + "1" + sep + "0" + sep + "2" + sep +
                             "0" + sep + "D" + sep + pos;
                break;
            default:
                values[i] = "202401";
                records[i] = "1" + sep + "ym" + pos + sep + "Y" + sep + "-1" + sep + "1" + sep +
                             "0" + sep + "0" + sep + "M" + sep + pos;
                break;
        }
    }
    kv::Variant job = kv::VarArrayCreate({1, 3});
    job[1] = std::move(values);
    job[2] = kv::VarArrayOf({"Y", "06:30"});
    job[3] = std::move(records);
    return job;
}

void BM_RedateDynamicFields(benchmark::State& state) {
    const kv::Variant job = MakeJob(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        kv::Variant values = kv::RedateDynamicFields(job, "20240315");
        benchmark::DoNotOptimize(values);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_RedateDynamicFields)->Arg(100)->Arg(1000)->Arg(10000)->Complexity(benchmark::oN);

}  // namespace

BENCHMARK_MAIN();
