// A collection item knows its index without a search: every way items arrive, leave or move
// must keep each item's Index equal to its place, and a reorder takes only a true permutation.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/core/Classes.h"
#include "platform/core/SysUtils.h"

namespace kv {
namespace {

class TOrderItem : public TCollectionItem {
    KV_CLASS(TOrderItem, TCollectionItem)
public:
    using TCollectionItem::TCollectionItem;
};
KV_PUBLISHED(TOrderItem) {}

class TOrderItems : public TCollection {
    KV_CLASS(TOrderItems, TCollection)
public:
    TOrderItems() : TCollection(TOrderItem::StaticClass()) {}
    using TCollection::ReorderItems;
    int updates = 0;

protected:
    void Update(TCollectionItem*) override { ++updates; }
};
KV_PUBLISHED(TOrderItems) {}

// The items' IDs in their order, after checking that each one's Index is its place.
std::vector<int> Order(const TCollection& items) {
    std::vector<int> ids;
    for (int i = 0; i < items.Count(); ++i) {
        EXPECT_EQ(items.Items(i)->Index(), i);
        ids.push_back(items.Items(i)->ID());
    }
    return ids;
}

TEST(CollectionOrderTest, IndexFollowsAddInsertDeleteMoveAndLeaving) {
    TOrderItems items;
    for (int i = 0; i < 5; ++i)
        items.Add();  // IDs 0..4
    items.Insert(1);  // ID 5
    EXPECT_EQ(Order(items), (std::vector<int>{0, 5, 1, 2, 3, 4}));
    items.Delete(2);
    items.Items(4)->SetIndex(0);
    items.Items(0)->SetIndex(2);
    EXPECT_EQ(Order(items), (std::vector<int>{0, 5, 4, 2, 3}));

    TOrderItems other;
    TCollectionItem* moved = items.Items(1);
    moved->SetCollection(&other);
    EXPECT_EQ(moved->Index(), 0);
    EXPECT_EQ(Order(items), (std::vector<int>{0, 4, 2, 3}));
    moved->SetCollection(nullptr);
    EXPECT_EQ(moved->Index(), -1);
    moved->Free();
    items.Items(3)->Free();
    EXPECT_EQ(Order(items), (std::vector<int>{0, 4, 2}));
}

// Removals leave the numbers behind them to be made when asked: runs of removals from the
// front, the back and the middle, then moves, must still find every item.
TEST(CollectionOrderTest, RunsOfRemovalsAnywhereKeepTheOrder) {
    TOrderItems items;
    for (int i = 0; i < 12; ++i)
        items.Add();  // IDs 0..11
    items.Items(0)->Free();
    items.Items(0)->Free();
    items.Items(4)->Free();  // ID 6, among out-of-date numbers
    items.Items(items.Count() - 1)->Free();
    items.Items(items.Count() - 1)->Free();
    items.Items(2)->SetIndex(5);  // ID 4
    items.Add();                  // ID 12
    items.Items(0)->Free();
    EXPECT_EQ(Order(items), (std::vector<int>{3, 5, 7, 8, 4, 9, 12}));
    items.Items(6)->SetIndex(0);
    items.Delete(3);
    EXPECT_EQ(Order(items), (std::vector<int>{12, 3, 5, 8, 4, 9}));
}

TEST(CollectionOrderTest, ReorderTakesOnlyAPermutationOfTheItems) {
    TOrderItems items;
    TOrderItems other;
    for (int i = 0; i < 4; ++i)
        items.Add();
    other.Add();
    std::vector<TCollectionItem*> order{items.Items(2), items.Items(0), items.Items(3),
                                        items.Items(1)};
    const int updates = items.updates;
    items.ReorderItems(order);
    EXPECT_EQ(Order(items), (std::vector<int>{2, 0, 3, 1}));
    EXPECT_EQ(items.updates, updates);  // the caller reports the change as it sees fit

    const std::vector<std::vector<TCollectionItem*>> bad{
        {items.Items(0), items.Items(1), items.Items(2)},                  // one missing
        {items.Items(0), items.Items(0), items.Items(2), items.Items(3)},  // one twice
        {items.Items(0), other.Items(0), items.Items(2), items.Items(3)},  // a stranger
        {items.Items(0), nullptr, items.Items(2), items.Items(3)},         // a hole
    };
    for (const auto& wrong : bad) {
        EXPECT_THROW(items.ReorderItems(wrong), EListError);
        EXPECT_EQ(Order(items), (std::vector<int>{2, 0, 3, 1}));
    }
}

}  // namespace
}  // namespace kv
