// INI files: reading a document and looking keys up must grow linearly with the file, because
// sections and keys are indexed. Complexity() reports the fitted order for each.
#include <benchmark/benchmark.h>

#include <string>

#include "platform/core/IniDocument.h"

namespace {

// `sections` sections of 20 keys each.
std::string MakeIni(int sections) {
    std::string text;
    for (int s = 0; s < sections; ++s) {
        text += "[Section " + std::to_string(s) + "]\n; comment\n";
        for (int k = 0; k < 20; ++k)
            text += "Key" + std::to_string(k) + " = value " + std::to_string(s * 20 + k) + "\n";
    }
    return text;
}

void BM_ParseIni(benchmark::State& state) {
    const std::string text = MakeIni(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        kv::TIniDocument document;
        document.Parse(text);
        benchmark::DoNotOptimize(document);
    }
    state.SetComplexityN(state.range(0));
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(text.size()));
}
BENCHMARK(BM_ParseIni)->RangeMultiplier(10)->Range(10, 10000)->Complexity();

// Reads every key of the file once: linear overall when each lookup is constant.
void BM_ReadEveryKey(benchmark::State& state) {
    const int sections = static_cast<int>(state.range(0));
    kv::TIniDocument document;
    document.Parse(MakeIni(sections));
    for (auto _ : state)
        for (int s = 0; s < sections; ++s)
            for (int k = 0; k < 20; ++k)
                benchmark::DoNotOptimize(
                    document.Find("SECTION " + std::to_string(s), "key" + std::to_string(k)));
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_ReadEveryKey)->RangeMultiplier(10)->Range(10, 10000)->Complexity();

// Adds keys at the end of one section, as a writer filling a new file does.
void BM_WriteNewKeys(benchmark::State& state) {
    for (auto _ : state) {
        kv::TIniDocument document;
        for (int k = 0; k < state.range(0); ++k)
            document.Set("WorkDLLPath", "Path" + std::to_string(k), "folder");
        benchmark::DoNotOptimize(document);
    }
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_WriteNewKeys)->RangeMultiplier(10)->Range(10, 10000)->Complexity();

}  // namespace

BENCHMARK_MAIN();
