// The UI pieces that hold long lists: the scheme list (a sorted list view), lookup answers (a
// client data set searched by its index) and grids. Each should grow about linearly (sorting:
// N log N) with the number of rows.
#include <benchmark/benchmark.h>

#include <string>

#include "platform/ui/DBClient.h"
#include "platform/ui/Grids.h"
#include "platform/ui/ListView.h"

// Every case runs on 100, 1,000 and 10,000 rows, and the growth is fitted.
#define KV_LIST_BENCHMARK(fn) BENCHMARK(fn)->RangeMultiplier(10)->Range(100, 10000)->Complexity()

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
KV_LIST_BENCHMARK(BM_ListViewFillSorted);

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
KV_LIST_BENCHMARK(BM_ListViewSelectEach);

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
KV_LIST_BENCHMARK(BM_ClientDataSetAppendAndFindEach);

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
KV_LIST_BENCHMARK(BM_StringGridFill);

// A data set keyed on CODE holding n rows.
void FillKeyed(TClientDataSet& cds, int n) {
    cds.FieldDefs()->Add("CODE", ftString, 20);
    cds.FieldDefs()->Add("NAME", ftString, 40);
    cds.CreateDataSet();
    cds.SetIndexFieldNames("CODE");
    for (int i = 0; i < n; ++i)
        cds.AppendRecord({Variant(Key(i)), Variant("Name")});
}

void BM_ClientDataSetEditKeysAndWalk(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        TClientDataSet cds(nullptr);
        FillKeyed(cds, n);
        state.ResumeTiming();
        // Renaming moves each record to its new place in the index.
        for (int i = 0; i < n; i += 3) {
            cds.FindKey({Variant(Key(i))});
            cds.Edit();
            cds.FieldByName("CODE")->SetAsString(Key(i) + "x");
            cds.Post();
        }
        int walked = 0;
        for (cds.First(); !cds.Eof(); cds.Next())
            ++walked;
        benchmark::DoNotOptimize(walked);
    }
    state.SetComplexityN(n);
}
KV_LIST_BENCHMARK(BM_ClientDataSetEditKeysAndWalk);

void BM_ClientDataSetDeleteEach(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        TClientDataSet cds(nullptr);
        FillKeyed(cds, n);
        state.ResumeTiming();
        while (!cds.IsEmpty()) {
            cds.SetRecNo(cds.RecordCount() / 2 + 1);
            cds.Delete();
        }
        benchmark::DoNotOptimize(cds.RecordCount());
    }
    state.SetComplexityN(n);
}
KV_LIST_BENCHMARK(BM_ClientDataSetDeleteEach);

void BM_ClientDataSetInsertInMiddle(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    for (auto _ : state) {
        TClientDataSet cds(nullptr);
        cds.FieldDefs()->Add("CODE", ftString, 20);
        cds.CreateDataSet();
        for (int i = 0; i < n; ++i) {
            cds.SetRecNo(cds.RecordCount() / 2 + 1);
            cds.Insert();
            cds.Fields(0)->SetAsString(Key(i));
            cds.Post();
        }
        benchmark::DoNotOptimize(cds.RecordCount());
    }
    state.SetComplexityN(n);
}
KV_LIST_BENCHMARK(BM_ClientDataSetInsertInMiddle);

void BM_ClientDataSetLocateEach(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    TClientDataSet cds(nullptr);
    FillKeyed(cds, n);
    for (auto _ : state) {
        int found = 0;
        for (int i = 0; i < n; i += 7)
            found += cds.Locate("CODE", {Variant(Key(i))}) ? 1 : 0;
        benchmark::DoNotOptimize(found);
    }
    state.SetComplexityN(n);
}
KV_LIST_BENCHMARK(BM_ClientDataSetLocateEach);

// A click on every row of a long report: each finds its item from the point.
void BM_ListViewItemAtEach(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    TListView list(nullptr);
    list.SetViewStyle(vsReport);
    list.Columns()->Add()->SetWidth(100);
    for (int i = 0; i < n; ++i)
        list.Items()->Add()->SetCaption(Key(i));
    for (auto _ : state) {
        int found = 0;
        for (int i = 0; i < n; ++i) {
            const TRect r = list.ItemRect(i);
            found += list.GetItemAt(r.Left + 1, r.Top + 1) != nullptr ? 1 : 0;
        }
        benchmark::DoNotOptimize(found);
    }
    state.SetComplexityN(n);
}
KV_LIST_BENCHMARK(BM_ListViewItemAtEach);

// Deleting the selected items of a long multi-select list one by one, as Delete does.
void BM_ListViewDeleteSelected(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    for (auto _ : state) {
        TListView list(nullptr);
        list.SetMultiSelect(true);
        for (int i = 0; i < n; ++i)
            list.Items()->Add()->SetCaption(Key(i));
        list.SelectAll();
        while (TListItem* item = list.Selected())
            item->Delete();
        benchmark::DoNotOptimize(list.Items()->Count());
    }
    state.SetComplexityN(n);
}
KV_LIST_BENCHMARK(BM_ListViewDeleteSelected);

// Painting a grid with rows of their own heights, and a mouse position on every row.
void BM_DrawGridPaintAndHitEachRow(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    TDrawGrid grid(nullptr);
    grid.SetColCount(3);
    grid.SetRowCount(n + 1);
    grid.SetRowHeights(1, 30);
    for (auto _ : state) {
        grid.PaintCells();
        int hits = 0;
        for (int row = 0; row <= n; ++row)
            hits += grid.MouseCoord(5, grid.CellRect(0, row).Top + 1).Y == row ? 1 : 0;
        benchmark::DoNotOptimize(hits);
    }
    state.SetComplexityN(n);
}
KV_LIST_BENCHMARK(BM_DrawGridPaintAndHitEachRow);

}  // namespace

BENCHMARK_MAIN();
