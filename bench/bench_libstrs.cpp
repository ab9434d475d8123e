// Field records: reading an early field must cost the same whatever the record's length,
// while FieldCount and late fields grow with it.
#include <benchmark/benchmark.h>

#include <string>

#include "src/runtime/LibStrs.h"

namespace {

// A record of n fields "field<i>" separated by character 3.
std::string Record(int n) {
    std::string record;
    for (int i = 1; i <= n; ++i) {
        if (i > 1) record += kv::kFieldSep;
        record += "field" + std::to_string(i);
    }
    return record;
}

void BM_GetFieldFirst(benchmark::State& state) {
    const std::string record = Record(static_cast<int>(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(kv::GetField(record, kv::kFieldSep, 1));
}
BENCHMARK(BM_GetFieldFirst)->Arg(10)->Arg(1000)->Arg(10000);

void BM_GetFieldMiddle(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    const std::string record = Record(n);
    for (auto _ : state)
        benchmark::DoNotOptimize(kv::GetField(record, kv::kFieldSep, n / 2));
}
BENCHMARK(BM_GetFieldMiddle)->Arg(10)->Arg(1000)->Arg(10000);

void BM_GetFieldLast(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    const std::string record = Record(n);
    for (auto _ : state)
        benchmark::DoNotOptimize(kv::GetField(record, kv::kFieldSep, n));
}
BENCHMARK(BM_GetFieldLast)->Arg(10)->Arg(1000)->Arg(10000);

void BM_FieldCount(benchmark::State& state) {
    const std::string record = Record(static_cast<int>(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(kv::FieldCount(record, kv::kFieldSep));
}
BENCHMARK(BM_FieldCount)->Arg(10)->Arg(1000)->Arg(10000);

// A long separator, as "--" or a tab-padded one is used elsewhere.
void BM_FieldCountLongSeparator(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    std::string record;
    for (int i = 1; i <= n; ++i)
        record += (i > 1 ? "--" : "") + std::to_string(i);
    for (auto _ : state)
        benchmark::DoNotOptimize(kv::FieldCount(record, "--"));
}
BENCHMARK(BM_FieldCountLongSeparator)->Arg(10000);

// Removing every separator of a long record, as masked keys are cleaned.
void BM_ReplaceAllSeparators(benchmark::State& state) {
    const std::string record = Record(static_cast<int>(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(kv::ReplaceAll(record, "\x03", "", false));
}
BENCHMARK(BM_ReplaceAllSeparators)->Arg(10000);

// A two-character pattern is replaced with restarts; it must stay linear in the text's length.
void BM_ReplaceAllTwoCharacters(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    std::string record;
    for (int i = 1; i <= n; ++i)
        record += (i > 1 ? "--" : "") + std::to_string(i);
    for (auto _ : state)
        benchmark::DoNotOptimize(kv::ReplaceAll(record, "--", "", false));
}
BENCHMARK(BM_ReplaceAllTwoCharacters)->Arg(1000)->Arg(10000);

}  // namespace

BENCHMARK_MAIN();
