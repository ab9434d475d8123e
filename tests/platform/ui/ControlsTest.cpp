#include <gtest/gtest.h>

#include "platform/ui/Controls.h"
#include "platform/widgetset/nogui/NoGuiWidgetset.h"
#include "tests/platform/ui/TestControls.h"
#include "tests/platform/ui/UiTestFixture.h"

namespace kv::test {
namespace {

class ControlsTest : public UiTest {
protected:
    void SetUp() override {
        UiTest::SetUp();
        form = FixtureForm(MakeForm("frmTest"));
        panel = Make<TTestPanel>(*form, *form, "pnlMain");
        edit = Make<TTestEdit>(*form, *panel, "edName");
    }
    TForm* form = nullptr;
    TTestPanel* panel = nullptr;
    TTestEdit* edit = nullptr;
};

TEST_F(ControlsTest, FontColourAndHintFollowTheParentUntilSetOnTheControl) {
    form->Font()->SetName("Tahoma");
    form->Font()->SetHeight(-13);
    form->SetColor(clRed);
    form->SetShowHint(true);
    EXPECT_EQ(edit->Font()->Name(), "Tahoma");
    EXPECT_EQ(edit->Font()->Height(), -13);
    EXPECT_TRUE(edit->ShowHint());
    EXPECT_NE(edit->Color(), clRed) << "ParentColor is off by default";

    edit->SetParentColor(true);
    EXPECT_NE(edit->Color(), clRed) << "the panel between them keeps its own colour";
    panel->SetParentColor(true);
    EXPECT_EQ(edit->Color(), clRed);

    edit->Font()->SetStyle({fsBold});  // the control's own font from now on
    EXPECT_FALSE(edit->ParentFont());
    form->Font()->SetName("SimSun");
    EXPECT_EQ(edit->Font()->Name(), "Tahoma");
    EXPECT_EQ(panel->Font()->Name(), "SimSun");

    edit->SetParentFont(true);
    EXPECT_EQ(edit->Font()->Name(), "SimSun");
    EXPECT_FALSE(edit->Font()->Style().Contains(fsBold));

    edit->SetShowHint(false);
    EXPECT_FALSE(edit->ParentShowHint());
    form->SetShowHint(false);
    form->SetShowHint(true);
    EXPECT_FALSE(edit->ShowHint());
    EXPECT_TRUE(panel->ShowHint());
}

TEST_F(ControlsTest, SizeFollowsHeightAtNinetySixPixelsPerInch) {
    TFont font;
    int changes = 0;
    struct Counter : TObject {
        int* n;
        void Changed(TObject*) { ++*n; }
    } counter;
    counter.n = &changes;
    font.OnChange = TNotifyEvent(&counter, &Counter::Changed);
    font.SetSize(9);
    EXPECT_EQ(font.Height(), -12);
    EXPECT_EQ(font.Size(), 9);
    font.SetHeight(-13);
    EXPECT_EQ(font.Size(), 10);
    font.SetHeight(-13);
    EXPECT_EQ(changes, 2) << "setting the same value is no change";
    EXPECT_THROW(font.SetCharset(256), ERangeError);
}

TEST_F(ControlsTest, ShowingAndEnabledFollowTheParents) {
    form->Show();
    struct Case {
        bool panelVisible, panelEnabled, editVisible, editEnabled;
        bool showing, enabled;
    };
    const Case cases[] = {
        {true, true, true, true, true, true},   {false, true, true, true, false, true},
        {true, false, true, true, true, false}, {true, true, false, true, false, true},
        {true, true, true, false, true, false},
    };
    for (const Case& c : cases) {
        panel->SetVisible(c.panelVisible);
        panel->SetEnabled(c.panelEnabled);
        edit->SetVisible(c.editVisible);
        edit->SetEnabled(c.editEnabled);
        EXPECT_EQ(edit->Showing(), c.showing);
        EXPECT_EQ(edit->EffectiveEnabled(), c.enabled);
        EXPECT_EQ(edit->CanFocus(), c.showing && c.enabled);
        EXPECT_TRUE(edit->Visible() == c.editVisible && edit->Enabled() == c.editEnabled)
            << "the control's own flags stay as set";
    }
    form->Hide();
    panel->SetVisible(true);
    edit->SetVisible(true);
    EXPECT_FALSE(edit->Showing()) << "a hidden form shows none of its controls";
}

TEST_F(ControlsTest, HandlesAreHandedOutOnDemandAndFoundBack) {
    EXPECT_FALSE(edit->HandleAllocated());
    const HWND handle = edit->Handle();
    EXPECT_NE(handle, 0);
    EXPECT_TRUE(panel->HandleAllocated()) << "the parent's handle comes first";
    EXPECT_TRUE(form->HandleAllocated());
    EXPECT_EQ(edit->Handle(), handle);
    EXPECT_NE(panel->Handle(), handle);
    EXPECT_EQ(FindControl(handle), edit);
    auto& nogui = dynamic_cast<TNoGuiWidgetset&>(Widgetset());
    ASSERT_NE(nogui.Peer(handle), nullptr);
    edit->SetText("abc");
    EXPECT_EQ(nogui.Peer(handle)->Text, "abc") << "the peer follows the control";

    edit->DestroyHandle();
    EXPECT_EQ(FindControl(handle), nullptr);
    EXPECT_EQ(nogui.Peer(handle), nullptr);
    EXPECT_NE(edit->Handle(), handle) << "handles are not reused";
    EXPECT_EQ(FindControl(0), nullptr);

    TTestEdit orphan(nullptr);
    orphan.SetName("edOrphan");
    try {
        orphan.Handle();
        FAIL() << "a control without parent window has no handle";
    } catch (const EInvalidOperation& e) {
        EXPECT_STREQ(e.what(), "Control 'edOrphan' has no parent window");
    }
}

// A form that answers an application message, as forms handle WM_USER + n.
class TMessageForm2 : public TForm {
    KV_CLASS(TMessageForm2, TForm)
public:
    using TForm::TForm;
    void WndProc(TMessage& message) override {
        if (message.Msg == WM_USER + 10) {
            received.push_back(static_cast<int>(message.WParam));
            message.Result = 42;
            return;
        }
        TForm::WndProc(message);
    }
    std::vector<int> received;
};
KV_PUBLISHED(TMessageForm2) {}

TEST_F(ControlsTest, SendDeliversAtOncePostWaitsForTheLoop) {
    auto* target = NewObject<TMessageForm2>(&Application(), true);
    const HWND handle = target->Handle();
    EXPECT_EQ(SendMessage(handle, WM_USER + 10, 1, 0), 42);
    EXPECT_EQ(target->received, std::vector<int>{1});

    EXPECT_TRUE(PostMessage(handle, WM_USER + 10, 2, 0));
    EXPECT_TRUE(PostMessage(handle, WM_USER + 10, 3, 0));
    EXPECT_EQ(target->received.size(), 1U);
    Application().ProcessMessages();
    EXPECT_EQ(target->received, (std::vector<int>{1, 2, 3}));

    EXPECT_TRUE(PostMessage(handle, WM_USER + 10, 4, 0));
    target->Free();
    Application().ProcessMessages();  // the message to the freed form is dropped
    EXPECT_FALSE(PostMessage(handle, WM_USER + 10, 5, 0));
    EXPECT_EQ(SendMessage(handle, WM_USER + 10, 5, 0), 0);
}

// A handler that posts again for every message it gets cannot trap ProcessMessages.
TEST_F(ControlsTest, ProcessMessagesEndsWhenAHandlerKeepsPosting) {
    struct TEcho : TForm {
        using TForm::TForm;
        void WndProc(TMessage& message) override {
            if (message.Msg == WM_USER) {
                ++count;
                PostMessage(Handle(), WM_USER, 0, 0);
                return;
            }
            TForm::WndProc(message);
        }
        int count = 0;
    };
    auto* echo = new TEcho(&Application(), true);
    PostMessage(echo->Handle(), WM_USER, 0, 0);
    Application().ProcessMessages();
    EXPECT_GT(echo->count, 1);
    echo->Free();
    Application().ProcessMessages();
}

TEST_F(ControlsTest, AlignedChildrenFillTheClientAreaInOrder) {
    form->SetBounds(0, 0, 400, 300);
    panel->SetParent(nullptr);
    auto* top = Make<TTestPanel>(*form, *form, "pnlTop");
    auto* bottom = Make<TTestPanel>(*form, *form, "pnlBottom");
    auto* left = Make<TTestPanel>(*form, *form, "pnlLeft");
    auto* client = Make<TTestPanel>(*form, *form, "pnlClient");
    top->SetHeight(30);
    bottom->SetHeight(43);
    left->SetWidth(151);
    client->SetAlign(alClient);
    left->SetAlign(alLeft);
    bottom->SetAlign(alBottom);
    top->SetAlign(alTop);
    EXPECT_EQ(top->BoundsRect(), Bounds(0, 0, 400, 30));
    EXPECT_EQ(bottom->BoundsRect(), Bounds(0, 257, 400, 43));
    EXPECT_EQ(left->BoundsRect(), Bounds(0, 30, 151, 227));
    EXPECT_EQ(client->BoundsRect(), Bounds(151, 30, 249, 227));

    form->SetBounds(0, 0, 500, 400);
    EXPECT_EQ(bottom->BoundsRect(), Bounds(0, 357, 500, 43));
    EXPECT_EQ(client->BoundsRect(), Bounds(151, 30, 349, 327));

    bottom->SetVisible(false);
    EXPECT_EQ(client->BoundsRect(), Bounds(151, 30, 349, 370)) << "a hidden control gives way";
    panel->Free();
}

TEST_F(ControlsTest, AnchorsKeepTheDistanceToTheRightAndBottomEdges) {
    panel->SetBounds(0, 0, 200, 100);
    edit->SetBounds(10, 10, 50, 20);
    edit->SetAnchors({akTop, akRight});
    auto* wide = Make<TTestEdit>(*form, *panel, "edWide");
    wide->SetBounds(10, 40, 100, 20);
    wide->SetAnchors({akLeft, akTop, akRight, akBottom});
    panel->SetBounds(0, 0, 260, 130);
    EXPECT_EQ(edit->BoundsRect(), Bounds(70, 10, 50, 20));
    EXPECT_EQ(wide->BoundsRect(), Bounds(10, 40, 160, 50));
}

TEST_F(ControlsTest, TabOrderMovesWithinTheParentAndIsFixedUpAfterLoading) {
    auto* second = Make<TTestEdit>(*form, *panel, "edSecond");
    auto* third = Make<TTestEdit>(*form, *panel, "edThird");
    EXPECT_EQ(edit->TabOrder(), 0);
    EXPECT_EQ(third->TabOrder(), 2);
    third->SetTabOrder(0);
    EXPECT_EQ(third->TabOrder(), 0);
    EXPECT_EQ(edit->TabOrder(), 1);
    second->SetTabOrder(99);
    EXPECT_EQ(second->TabOrder(), 2) << "out of range goes last";
    EXPECT_EQ(TTestEdit(nullptr).TabOrder(), -1);

    // A description sets the tab orders while the controls are loading, in any order.
    for (TWinControl* c : std::vector<TWinControl*>{panel, edit, second, third})
        c->IncludeState(csLoading);
    second->SetTabOrder(0);
    third->SetTabOrder(2);
    edit->SetTabOrder(1);
    for (TWinControl* c : std::vector<TWinControl*>{panel, edit, second, third})
        c->Loaded();
    EXPECT_EQ(second->TabOrder(), 0);
    EXPECT_EQ(edit->TabOrder(), 1);
    EXPECT_EQ(third->TabOrder(), 2);
}

TEST_F(ControlsTest, FreeingAContainerFreesItsChildrenWhoeverOwnsThem) {
    auto* label = Make<TTestLabel>(*form, *panel, "lblName");
    const auto editLife = edit->LifeToken();
    const auto labelLife = label->LifeToken();
    panel->Free();
    EXPECT_TRUE(editLife.expired());
    EXPECT_TRUE(labelLife.expired());
    EXPECT_EQ(form->FindComponent("edName"), nullptr);
    EXPECT_EQ(form->ControlCount(), 0);
}

TEST_F(ControlsTest, AControlCannotBeItsOwnParent) {
    EXPECT_THROW(panel->SetParent(panel), EInvalidOperation);
    auto* inner = Make<TTestPanel>(*form, *panel, "pnlInner");
    EXPECT_THROW(panel->SetParent(inner), EInvalidOperation);
    EXPECT_EQ(panel->Parent(), form);
}

TEST_F(ControlsTest, PublishedMembersAreReachableByName) {
    SetStrProp(edit, "Text", "Smith");
    EXPECT_EQ(edit->Text(), "Smith");
    SetPropText(edit, GetPropInfo(edit, "Color"), "clRed");
    EXPECT_EQ(edit->Color(), clRed);
    EXPECT_EQ(GetPropText(edit, GetPropInfo(edit, "Color")), "clRed");
    auto* font = dynamic_cast<TFont*>(GetObjectProp(edit, "Font"));
    ASSERT_NE(font, nullptr);
    SetOrdProp(font, "Charset", 134);
    SetStrProp(font, "Name", "Tahoma");
    EXPECT_EQ(edit->Font()->Charset(), 134);
    EXPECT_FALSE(edit->ParentFont());
    EXPECT_EQ(GetSetProp(font, "Style"), "[]");
    SetPropText(edit, GetPropInfo(edit, "Cursor"), "crHourGlass");
    EXPECT_EQ(edit->Cursor(), crHourGlass);

    TEventLog log;
    SetMethodProp(edit, "OnEnter", TMethod{MethodCodeOf(&TEventLog::Enter), &log});
    EXPECT_TRUE(edit->OnEnter.Assigned());
    EXPECT_EQ(GetEnumProp(form, "Position"), "poDesigned");
    SetEnumProp(form, "Position", "poScreenCenter");
    EXPECT_EQ(form->Position(), poScreenCenter);
    EXPECT_FALSE(IsPublishedProp(edit, "Caption")) << "an edit publishes Text, not Caption";
    EXPECT_TRUE(IsPublishedProp(panel, "Caption"));
    EXPECT_EQ(GetPropInfo(form, "OnKeyPreview"), nullptr);
    EXPECT_TRUE(IsPublishedProp(form, "KeyPreview"));
}

TEST(ControlsHints, ShortAndLongPartsSplitAtTheFirstBar) {
    EXPECT_EQ(GetShortHint("Save|Saves the scheme|x"), "Save");
    EXPECT_EQ(GetLongHint("Save|Saves the scheme|x"), "Saves the scheme|x");
    EXPECT_EQ(GetShortHint("Save"), "Save");
    EXPECT_EQ(GetLongHint("Save"), "Save");
}

}  // namespace
}  // namespace kv::test
