// The list view through the automation interface: columns and items from a form description,
// selection and multi-select, keys, view styles, row select, in-place caption editing with
// OnEdited, sorting with OnCompare and column clicks, BeginUpdate/EndUpdate.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/core/SysUtils.h"
#include "platform/ui/FormReader.h"
#include "platform/ui/ListView.h"
#include "platform/widgetset/nogui/NoGuiWidgetset.h"
#include "tests/platform/ui/UiTestFixture.h"

namespace kv::test {
namespace {

class TfrmListTest : public TForm {
    KV_CLASS(TfrmListTest, TForm)
public:
    explicit TfrmListTest(TComponent* owner) : TForm(owner, true) {}
    void lvSelectItem(TObject*, TListItem* item, bool selected) {
        log.push_back((selected ? "+" : "-") + item->Caption());
    }
    void lvChanging(TObject*, TListItem* item, TItemChange change, bool& allow) {
        allow = !(change == ctState && item->Caption() == refused);
    }
    void lvEditing(TObject*, TListItem* item, bool& allow) {
        log.push_back("editing " + item->Caption());
        allow = allowEdit;
    }
    void lvEdited(TObject*, TListItem* item, std::string& s) {
        log.push_back("edited " + item->Caption() + " -> " + s);
        if (Trim(s).empty()) s = item->Caption();  // refuse a blank name
        if (s == "boom") throw EDatabaseError("Rename refused by the server");
    }
    // Sorts by the column clicked, ascending, then descending on a second click.
    void lvColumnClick(TObject*, TListColumn* column) {
        log.push_back("column " + column->Caption());
        ascending = column->Index() == sortColumn ? !ascending : true;
        sortColumn = column->Index();
        lvItems->AlphaSort();
    }
    void lvCompare(TObject*, TListItem* a, TListItem* b, int, int& compare) {
        const auto text = [&](TListItem* item) {
            return sortColumn == 0 ? item->Caption() : item->SubItems()->Strings(sortColumn - 1);
        };
        compare = AnsiCompareText(text(a), text(b));
        if (!ascending) compare = -compare;
    }

    TListView* lvItems = nullptr;
    std::vector<std::string> log;
    std::string refused;
    bool allowEdit = true;
    int sortColumn = 0;
    bool ascending = true;
};
KV_PUBLISHED(TfrmListTest) {
    b.Method("lvSelectItem", &T::lvSelectItem);
    b.Method("lvChanging", &T::lvChanging);
    b.Method("lvEditing", &T::lvEditing);
    b.Method("lvEdited", &T::lvEdited);
    b.Method("lvColumnClick", &T::lvColumnClick);
    b.Method("lvCompare", &T::lvCompare);
    b.Field("lvItems", &T::lvItems);
}

const char* const kListForm =
    "object frmList: TfrmListTest\n"
    "  Width = 400\n"
    "  Height = 300\n"
    "  object lvItems: TListView\n"
    "    Width = 300\n"
    "    Height = 200\n"
    "    ViewStyle = vsReport\n"
    "    Columns = <\n"
    "      item\n"
    "        Caption = 'Name'\n"
    "        Width = 100\n"
    "      end\n"
    "      item\n"
    "        Caption = 'Date'\n"
    "        Width = 80\n"
    "      end>\n"
    "    Items = <\n"
    "      item\n"
    "        Caption = 'Week'\n"
    "        SubItems = ( '2024/01/05' )\n"
    "      end\n"
    "      item\n"
    "        Caption = 'Alpha'\n"
    "        SubItems = ( '2024/01/09' )\n"
    "      end\n"
    "      item\n"
    "        Caption = 'Month'\n"
    "        SubItems = ( '2024/01/01' )\n"
    "        ImageIndex = 0\n"
    "      end>\n"
    "    OnChanging = lvChanging\n"
    "    OnColumnClick = lvColumnClick\n"
    "    OnCompare = lvCompare\n"
    "    OnEdited = lvEdited\n"
    "    OnEditing = lvEditing\n"
    "    OnSelectItem = lvSelectItem\n"
    "  end\n"
    "  object edOther: TEdit\n"
    "    Top = 250\n"
    "  end\n"
    "end\n";

class ListViewTest : public UiTest {
protected:
    void SetUp() override {
        UiTest::SetUp();
        form_ = FixtureForm(NewObject<TfrmListTest>(&Application()));
        ReadComponentDescription(*form_, kListForm, "list.kvform");
        lv_ = form_->lvItems;
        form_->Show();
    }
    std::vector<std::string> Captions() const {
        std::vector<std::string> captions;
        for (int i = 0; i < lv_->Items()->Count(); ++i)
            captions.push_back(lv_->Items()->Item(i)->Caption());
        return captions;
    }
    // A click at the middle of an item, with a shift state.
    void ClickItem(int index, TShiftState shift = {}) {
        const TRect r = lv_->ItemRect(index);
        TInput::Click(*lv_, mbLeft, shift, r.Left + r.Width() / 2, r.Top + r.Height() / 2);
    }
    std::vector<std::string> TakeLog() { return std::exchange(form_->log, {}); }

    TfrmListTest* form_ = nullptr;
    TListView* lv_ = nullptr;
    const std::string path_ = "frmList.lvItems";
};

TEST_F(ListViewTest, ColumnsItemsAndSubItemsFromTheDescription) {
    ASSERT_NE(lv_, nullptr);
    ASSERT_EQ(lv_->Columns()->Count(), 2);
    EXPECT_EQ(lv_->Column(1)->Caption(), "Date");
    EXPECT_EQ(lv_->Column(0)->Width(), 100);
    EXPECT_EQ(Captions(), (std::vector<std::string>{"Week", "Alpha", "Month"}));
    EXPECT_EQ(lv_->Items()->Item(1)->SubItems()->Strings(0), "2024/01/09");
    EXPECT_EQ(lv_->Items()->Item(2)->ImageIndex(), 0);
    // Report rows stand under the header, one item height apart.
    const TRect first = lv_->ItemRect(0);
    const TRect second = lv_->ItemRect(1);
    EXPECT_EQ(first.Top, lv_->HeaderHeight());
    EXPECT_EQ(second.Top - first.Top, lv_->ItemHeight());
    EXPECT_EQ(lv_->GetItemAt(5, second.Top + 1), lv_->Items()->Item(1));
    EXPECT_EQ(lv_->GetItemAt(5, 1), nullptr);  // the header
    // Fitting a column to its header and texts.
    lv_->Column(1)->SetWidth(ColumnHeaderWidth);
    EXPECT_EQ(lv_->Column(1)->Width(),
              Widgetset().TextExtent(*lv_->Font(), "2024/01/09").Width + 12);
}

TEST_F(ListViewTest, SingleSelectionDeselectsFirstAndCanBeRefused) {
    Automation().Select(path_, "Alpha");
    EXPECT_EQ(lv_->Selected()->Caption(), "Alpha");
    Automation().Select(path_, "Month");
    EXPECT_EQ(TakeLog(), (std::vector<std::string>{"+Alpha", "-Alpha", "+Month"}));
    EXPECT_EQ(lv_->ItemIndex(), 2);
    EXPECT_EQ(lv_->SelCount(), 1);
    ClickItem(0, {ssCtrl});  // Ctrl does not add without MultiSelect
    EXPECT_EQ(lv_->SelCount(), 1);
    EXPECT_EQ(lv_->Selected()->Caption(), "Week");
    TakeLog();
    form_->refused = "Alpha";  // OnChanging refuses it
    Automation().Select(path_, "Alpha");
    EXPECT_EQ(lv_->Selected(), nullptr);
    EXPECT_EQ(TakeLog(), (std::vector<std::string>{"-Week"}));
    // A click on empty space clears the selection.
    ClickItem(0);
    TInput::Click(*lv_, mbLeft, {}, 5, 190);
    EXPECT_EQ(lv_->SelCount(), 0);
}

TEST_F(ListViewTest, MultiSelectWithCtrlShiftAndKeys) {
    lv_->SetMultiSelect(true);
    ClickItem(0);
    ClickItem(2, {ssCtrl});
    EXPECT_EQ(lv_->SelCount(), 2);
    ClickItem(2, {ssCtrl});  // toggles off
    EXPECT_EQ(lv_->SelCount(), 1);
    ClickItem(0);
    ClickItem(2, {ssShift});  // the range from the item clicked last
    EXPECT_EQ(lv_->SelCount(), 3);
    ClickItem(1);
    EXPECT_EQ(lv_->SelCount(), 1);
    Automation().PressKey(path_, VK_DOWN, {ssShift});
    EXPECT_EQ(lv_->SelCount(), 2);
    EXPECT_EQ(lv_->ItemFocused()->Caption(), "Month");
    Automation().PressKey(VK_HOME);
    EXPECT_EQ(lv_->SelCount(), 1);
    EXPECT_EQ(lv_->Selected()->Caption(), "Week");
    Automation().PressKey('A', {ssCtrl});
    EXPECT_EQ(lv_->SelCount(), 3);
    Automation().TypeText("m");  // the next item starting with the letter
    EXPECT_EQ(lv_->Selected()->Caption(), "Month");
    lv_->SetMultiSelect(false);
    EXPECT_EQ(lv_->SelCount(), 1);
}

TEST_F(ListViewTest, ViewStylesAndRowSelectPlaceTheItems) {
    const int height = lv_->ItemHeight();
    // Without RowSelect only the caption column of a report row takes clicks.
    EXPECT_EQ(lv_->GetItemAt(150, lv_->ItemRect(0).Top + 1), nullptr);
    lv_->SetRowSelect(true);
    EXPECT_EQ(lv_->GetItemAt(150, lv_->ItemRect(0).Top + 1), lv_->Items()->Item(0));
    EXPECT_EQ(lv_->ItemRect(0).Width(), 180);

    lv_->SetViewStyle(vsList);  // columns of items, top to bottom first
    lv_->SetHeight(2 * height);
    EXPECT_EQ(lv_->ItemRect(1).Top, height);
    EXPECT_EQ(lv_->ItemRect(2).Top, 0);
    EXPECT_GT(lv_->ItemRect(2).Left, 0);

    lv_->SetViewStyle(vsSmallIcon);  // rows of items, left to right first
    lv_->SetWidth(2 * lv_->ItemRect(0).Width());
    EXPECT_EQ(lv_->ItemRect(1).Top, 0);
    EXPECT_EQ(lv_->ItemRect(2).Left, 0);
    EXPECT_EQ(lv_->ItemRect(2).Top, lv_->ItemHeight());

    lv_->SetViewStyle(vsIcon);
    EXPECT_EQ(lv_->HeaderHeight(), 0);
    EXPECT_GT(lv_->ItemHeight(), height);  // an icon over its caption
    ClickItem(1);
    EXPECT_EQ(lv_->Selected()->Caption(), "Alpha");
}

TEST_F(ListViewTest, InPlaceCaptionEditingRaisesOnEdited) {
    Automation().Select(path_, "Week");
    Automation().PressKey(path_, VK_F2);
    ASSERT_TRUE(lv_->IsEditing());
    Automation().TypeText("Wochen");  // replaces the selected caption
    Automation().PressKey(VK_BACK);
    EXPECT_EQ(lv_->EditText(), "Woche");
    Automation().PressKey(VK_RETURN);
    EXPECT_FALSE(lv_->IsEditing());
    EXPECT_EQ(lv_->Items()->Item(0)->Caption(), "Woche");
    EXPECT_EQ(TakeLog(),
              (std::vector<std::string>{"+Week", "editing Week", "edited Week -> Woche"}));

    // Esc drops the text; OnEdited may put the old text back; leaving the list view ends
    // editing as Enter does.
    lv_->Items()->Item(0)->EditCaption();
    Automation().TypeText("x");
    Automation().PressKey(VK_ESCAPE);
    lv_->Items()->Item(0)->EditCaption();
    Automation().TypeText("  ");
    Automation().PressKey(VK_RETURN);
    lv_->Items()->Item(0)->EditCaption();
    Automation().TypeText("\xE5\x91\xA8");
    Automation().Focus("frmList.edOther");
    EXPECT_EQ(Captions(), (std::vector<std::string>{"\xE5\x91\xA8", "Alpha", "Month"}));

    // A refusal of OnEditing or ReadOnly keeps the editor shut.
    form_->allowEdit = false;
    EXPECT_FALSE(lv_->Items()->Item(1)->EditCaption());
    form_->allowEdit = true;
    lv_->SetReadOnly(true);
    EXPECT_FALSE(lv_->Items()->Item(1)->EditCaption());
}

TEST_F(ListViewTest, AnEditedHandlerThatRaisesLeavesTheCaption) {
    Automation().Select(path_, "Alpha");
    Automation().PressKey(path_, VK_F2);
    Automation().TypeText("boom");
    Automation().PressKey(VK_RETURN);  // the error is reported as the message loop does
    EXPECT_EQ(Automation().LastBox().Text, "Rename refused by the server.");
    EXPECT_EQ(lv_->Items()->Item(1)->Caption(), "Alpha");
    EXPECT_FALSE(lv_->IsEditing());
}

TEST_F(ListViewTest, ColumnClicksSortWithOnCompare) {
    const TRect date = lv_->HeaderRect(1);
    TInput::Click(*lv_, mbLeft, {}, date.Left + 2, date.Top + 2);
    EXPECT_EQ(Captions(), (std::vector<std::string>{"Month", "Week", "Alpha"}));
    TInput::Click(*lv_, mbLeft, {}, date.Left + 2, date.Top + 2);
    EXPECT_EQ(Captions(), (std::vector<std::string>{"Alpha", "Week", "Month"}));
    const TRect name = lv_->HeaderRect(0);
    TInput::Click(*lv_, mbLeft, {}, name.Left + 2, name.Top + 2);
    EXPECT_EQ(Captions(), (std::vector<std::string>{"Alpha", "Month", "Week"}));
    EXPECT_EQ(TakeLog(), (std::vector<std::string>{"column Date", "column Date", "column Name"}));
    lv_->SetColumnClick(false);
    TInput::Click(*lv_, mbLeft, {}, name.Left + 2, name.Top + 2);
    EXPECT_TRUE(TakeLog().empty());
}

TEST_F(ListViewTest, SortedListsStaySortedAndUpdatesWaitForEndUpdate) {
    lv_->OnCompare = TLVCompareEvent();  // by caption
    lv_->SetSortType(stText);
    EXPECT_EQ(Captions(), (std::vector<std::string>{"Alpha", "Month", "Week"}));
    lv_->Items()->Add()->SetCaption("Beta");
    EXPECT_EQ(Captions(), (std::vector<std::string>{"Alpha", "Beta", "Month", "Week"}));
    lv_->Items()->Item(0)->SetCaption("Zulu");
    EXPECT_EQ(Captions().back(), "Zulu");

    const auto& nogui = dynamic_cast<TNoGuiWidgetset&>(Widgetset());
    const int before = nogui.Peer(lv_->Handle())->Updates;
    lv_->Items()->BeginUpdate();
    for (const char* caption : {"Kilo", "Echo", "Lima"})
        lv_->Items()->Add()->SetCaption(caption);
    EXPECT_EQ(Captions().back(), "Lima");  // not sorted yet
    EXPECT_EQ(nogui.Peer(lv_->Handle())->Updates, before);
    lv_->Items()->EndUpdate();
    EXPECT_EQ(Captions(),
              (std::vector<std::string>{"Beta", "Echo", "Kilo", "Lima", "Month", "Week", "Zulu"}));
    EXPECT_EQ(nogui.Peer(lv_->Handle())->Updates, before + 1);
}

TEST_F(ListViewTest, DeletingItemsKeepsSelectionAndEditingSound) {
    std::vector<std::string> deleted;
    struct TSink : TComponent {
        explicit TSink(std::vector<std::string>& d) : TComponent(nullptr), out(d) {}
        void Deletion(TObject*, TListItem* item) { out.push_back(item->Caption()); }
        std::vector<std::string>& out;
    } sink(deleted);
    lv_->OnDeletion = TLVDeletedEvent(&sink, &TSink::Deletion);
    lv_->SetMultiSelect(true);
    lv_->SelectAll();
    lv_->Items()->Item(1)->EditCaption();
    lv_->Items()->Item(1)->Delete();  // the item being edited
    EXPECT_FALSE(lv_->IsEditing());
    EXPECT_EQ(lv_->SelCount(), 2);
    lv_->Items()->Clear();
    EXPECT_EQ(deleted, (std::vector<std::string>{"Alpha", "Month", "Week"}));
    EXPECT_EQ(lv_->Selected(), nullptr);
    lv_->OnDeletion = TLVDeletedEvent();
}

// The list keeps its selected and focused items apart from the items: sorting, deleting and
// moving items to another list view must leave both telling the truth.
TEST_F(ListViewTest, SelectionAndFocusFollowTheItemsThroughSortsDeletionsAndMoves) {
    lv_->SetMultiSelect(true);
    lv_->Items()->Item(2)->SetSelected(true);  // Month, then Week
    lv_->Items()->Item(0)->SetSelected(true);
    EXPECT_EQ(lv_->Selected()->Caption(), "Week");  // the first in the list, not in time
    lv_->OnCompare = TLVCompareEvent();
    lv_->SetSortType(stText);
    ASSERT_EQ(Captions(), (std::vector<std::string>{"Alpha", "Month", "Week"}));
    for (int i = 0; i < lv_->Items()->Count(); ++i)
        EXPECT_EQ(lv_->Items()->Item(i)->Index(), i);
    EXPECT_EQ(lv_->Selected()->Caption(), "Month");
    EXPECT_EQ(lv_->ItemIndex(), 1);

    // Only one item: the others go from the last to the first, before the new one comes.
    TakeLog();
    lv_->SetItemIndex(0);
    EXPECT_EQ(TakeLog(), (std::vector<std::string>{"-Week", "-Month", "+Alpha"}));
    lv_->Items()->Item(2)->SetFocused(true);
    lv_->Items()->Item(1)->SetFocused(true);
    EXPECT_FALSE(lv_->Items()->Item(2)->Focused());
    EXPECT_EQ(lv_->ItemFocused()->Caption(), "Month");

    TListView other(nullptr);
    TListItem* alpha = lv_->Items()->Item(0);
    TListItem* month = lv_->Items()->Item(1);
    alpha->SetCollection(other.Items());
    month->SetCollection(other.Items());
    EXPECT_EQ(lv_->SelCount(), 0);
    EXPECT_EQ(lv_->Selected(), nullptr);
    EXPECT_EQ(lv_->ItemFocused(), nullptr);
    EXPECT_EQ(other.Selected(), alpha);
    EXPECT_EQ(other.ItemFocused(), month);
    alpha->Delete();
    EXPECT_EQ(other.SelCount(), 0);
    EXPECT_EQ(month->Index(), 0);
    // An item out of every list takes its state along to the next one.
    month->SetCollection(nullptr);
    month->SetSelected(true);
    month->SetCollection(lv_->Items());
    EXPECT_EQ(lv_->Selected(), month);
    EXPECT_EQ(lv_->ItemFocused(), month);
    EXPECT_EQ(other.ItemFocused(), nullptr);

    // Many selected: the first in the list still answers.
    for (int i = 0; i < 12; ++i)
        lv_->Items()->Add()->SetCaption("More " + IntToStr(i));
    lv_->SelectAll();
    lv_->Items()->Item(0)->SetSelected(false);
    lv_->Items()->Item(1)->SetSelected(false);
    EXPECT_EQ(lv_->Selected(), lv_->Items()->Item(2));
    EXPECT_EQ(lv_->SelCount(), lv_->Items()->Count() - 2);
}

// Selection handlers may delete items, also the one being selected: nothing is left pointing
// at them.
TEST_F(ListViewTest, HandlersThatDeleteItemsWhileTheSelectionMoves) {
    struct TSink : TComponent {
        explicit TSink(TListView* lv) : TComponent(nullptr), list(lv) {}
        void SelectItem(TObject*, TListItem* item, bool selected) {
            if (!selected && item->Caption() == "Week") list->Items()->Item(victim)->Delete();
        }
        void Change(TObject*, TListItem* item, TItemChange change) {
            if (change == ctState && item->Caption() == doomed) item->Delete();
        }
        TListView* list;
        int victim = 1;
        std::string doomed;
    } sink(lv_);
    lv_->OnSelectItem = TLVSelectItemEvent(&sink, &TSink::SelectItem);
    lv_->SetItemIndex(0);
    lv_->SetSelected(lv_->Items()->Item(1));  // deselecting Week deletes Alpha, the new one
    EXPECT_EQ(lv_->Selected(), nullptr);
    EXPECT_EQ(Captions(), (std::vector<std::string>{"Week", "Month"}));

    lv_->SetMultiSelect(true);
    lv_->SelectAll();
    sink.doomed = "Month";
    lv_->OnChange = TLVChangeEvent(&sink, &TSink::Change);
    lv_->SetMultiSelect(false);  // deselecting Month deletes it
    lv_->SetItemIndex(0);
    lv_->Items()->Add()->SetCaption("Month");
    lv_->SetItemIndex(1);  // Month goes while the selection moves to it
    EXPECT_EQ(Captions(), (std::vector<std::string>{"Week"}));
    EXPECT_EQ(lv_->SelCount(), 0);
    lv_->OnSelectItem = TLVSelectItemEvent();
    lv_->OnChange = TLVChangeEvent();
}

// Every point of the view names the item whose rectangle holds it, in every view style.
TEST_F(ListViewTest, GetItemAtAgreesWithItemRectEverywhere) {
    for (int i = 0; i < 20; ++i)
        lv_->Items()->Add()->SetCaption("Item " + IntToStr(i));
    for (const TViewStyle style : {vsReport, vsList, vsSmallIcon, vsIcon}) {
        SCOPED_TRACE(static_cast<int>(style));
        lv_->SetViewStyle(style);
        for (int y = -2; y < lv_->ClientHeight() + 30; y += 3) {
            for (int x = -2; x < lv_->ClientWidth() + 30; x += 5) {
                TListItem* expected = nullptr;
                for (int i = 0; i < lv_->Items()->Count() && expected == nullptr; ++i)
                    if (lv_->ItemRect(i).Contains(Point(x, y))) expected = lv_->Items()->Item(i);
                ASSERT_EQ(lv_->GetItemAt(x, y), expected) << x << "," << y;
            }
        }
    }
}

}  // namespace
}  // namespace kv::test
