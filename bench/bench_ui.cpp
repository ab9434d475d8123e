// The UI pieces that hold long lists: the scheme list (a sorted list view), lookup answers (a
// client data set searched by its index) and grids. Each should grow about linearly (sorting:
// N log N) with the number of rows.
#include <benchmark/benchmark.h>

#include <string>

#include "platform/ui/DBClient.h"
#include "platform/ui/Grids.h"
#include "platform/ui/ListView.h"

namespace {

using namespace kv;

std::string Key(int i) {
    // Scattered order, so that sorting has work to do.
    return "K" + std::to_string((i * 7919) % 100003);
}

void BM_ListViewFillSorted(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    for (auto _ : state) {
        TListView list(nullptr);
        list.SetSortType(stText);
        list.Items()->BeginUpdate();
        for (int i = 0; i < n; ++i) {
            TListItem* item = list.Items()->Add();
            item->SetCaption(Key(i));
            item->SubItems()->Add("Creator");
        }
        list.Items()->EndUpdate();
        benchmark::DoNotOptimize(list.Items()->Count());
    }
    state.SetComplexityN(n);
}
BENCHMARK(BM_ListViewFillSorted)->RangeMultiplier(10)->Range(100, 10000)->Complexity();

void BM_ListViewSelectEach(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    TListView list(nullptr);
    for (int i = 0; i < n; ++i)
        list.Items()->Add()->SetCaption(Key(i));
    for (auto _ : state) {
        for (int i = 0; i < n; ++i)
            list.SetItemIndex(i);
        benchmark::DoNotOptimize(list.ItemIndex());
    }
    state.SetComplexityN(n);
}
BENCHMARK(BM_ListViewSelectEach)->RangeMultiplier(10)->Range(100, 10000)->Complexity();

void BM_ClientDataSetAppendAndFindEach(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    for (auto _ : state) {
        TClientDataSet cds(nullptr);
        cds.FieldDefs()->Add("CODE", ftString, 20);
        cds.FieldDefs()->Add("NAME", ftString, 40);
        cds.CreateDataSet();
        cds.SetIndexFieldNames("CODE");
        for (int i = 0; i < n; ++i)
            cds.AppendRecord({Variant(Key(i)), Variant("Name")});
        int found = 0;
        for (int i = 0; i < n; i += 7)
            found += cds.FindKey({Variant(Key(i))}) ? 1 : 0;
        benchmark::DoNotOptimize(found);
    }
    state.SetComplexityN(n);
}
BENCHMARK(BM_ClientDataSetAppendAndFindEach)->RangeMultiplier(10)->Range(100, 10000)->Complexity();

void BM_StringGridFill(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    for (auto _ : state) {
        TStringGrid grid(nullptr);
        grid.SetColCount(3);
        for (int row = 1; row <= n; ++row) {
            grid.SetRowCount(row + 1);
            grid.SetCells(0, row, Key(row));
            grid.SetCells(1, row, "Name");
        }
        benchmark::DoNotOptimize(grid.RowCount());
    }
    state.SetComplexityN(n);
}
BENCHMARK(BM_StringGridFill)->RangeMultiplier(10)->Range(100, 10000)->Complexity();

}  // namespace

BENCHMARK_MAIN();
