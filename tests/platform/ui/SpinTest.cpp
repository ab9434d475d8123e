// The spin edit driven as a user drives it: the limits on values set in code and on values
// typed, the up and down keys, what typing accepts, and the change events.
#include <gtest/gtest.h>

#include <climits>

#include "platform/core/SysUtils.h"
#include "platform/ui/FormReader.h"
#include "platform/ui/Spin.h"
#include "platform/widgetset/nogui/NoGuiWidgetset.h"
#include "tests/platform/ui/TestControls.h"
#include "tests/platform/ui/UiTestFixture.h"

namespace kv::test {
namespace {

using Entries = std::vector<std::string>;

// Notes the text and value a spin edit shows when its exit event runs.
class TExitProbe : public TComponent {
    KV_CLASS(TExitProbe, TComponent)
public:
    explicit TExitProbe(TComponent* owner) : TComponent(owner) {}
    void Exited(TObject* sender) { text = dynamic_cast<TSpinEdit*>(sender)->Text(); }
    std::string text;
};
KV_PUBLISHED(TExitProbe) {}

// A spin edit that takes back a sign typed after the first character, rewriting its text from
// inside its own change, as the suite's spin edits do.
class TSignlessSpinEdit : public TSpinEdit {
    KV_CLASS(TSignlessSpinEdit, TSpinEdit)
public:
    explicit TSignlessSpinEdit(TComponent* owner) : TSpinEdit(owner) {}
    void Change() override {
        const std::string text = Text();
        if (text.find_first_of("+-", 1) != std::string::npos) {
            SetText(text.substr(0, text.size() - 1));
            return;
        }
        TSpinEdit::Change();
    }
};
KV_PUBLISHED(TSignlessSpinEdit) {}

int Beeps() {
    return dynamic_cast<TNoGuiWidgetset&>(Widgetset()).Beeps();
}

class SpinTest : public UiTest {
protected:
    void SetUp() override {
        UiTest::SetUp();
        form = FixtureForm(MakeForm("frmSpin"));
        log = NewObject<TEventLog>(form);
        seHour = Make<TSpinEdit>(*form, *form, "seHour", 0);
        Make<TTestEdit>(*form, *form, "edOther", 1);
        seHour->OnChange = TNotifyEvent(log, &TEventLog::Change);
        form->Show();
    }

    void Limit(int minValue, int maxValue) {
        seHour->SetMinValue(minValue);
        seHour->SetMaxValue(maxValue);
    }

    TForm* form = nullptr;
    TEventLog* log = nullptr;
    TSpinEdit* seHour = nullptr;
};

TEST_F(SpinTest, AValueSetInCodeIsKeptWithinTheLimits) {
    struct Case {
        int minValue, maxValue, value;
        const char* text;
    };
    const Case cases[] = {
        {0, 23, 30, "23"},      {0, 23, -1, "0"},
        {-99, 99, -150, "-99"}, {1, 999, 5, "5"},
        {0, 0, -500, "-500"},  // equal limits are no limits
        {7, 7, 100, "100"},     {0, 0, INT_MIN, "-2147483648"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.minValue << ".." << c.maxValue << " <- " << c.value);
        Limit(c.minValue, c.maxValue);
        seHour->SetValue(c.value);
        EXPECT_EQ(seHour->Text(), c.text);
        EXPECT_EQ(seHour->Value(), StrToInt(c.text));
    }
    log->entries.clear();
    seHour->SetValue(seHour->Value());
    EXPECT_TRUE(log->entries.empty()) << "the same value is no change";
    seHour->SetValue(3);
    EXPECT_EQ(log->entries, Entries{"seHour.Change"});
}

TEST_F(SpinTest, ATypedValueIsPutInRangeWhenTheFocusLeaves) {
    auto* probe = NewObject<TExitProbe>(form);
    seHour->OnExit = TNotifyEvent(probe, &TExitProbe::Exited);
    struct Case {
        int minValue, maxValue;
        const char* typed;
        const char* left;  // the text once the focus has left
        int value;
    };
    const Case cases[] = {
        {0, 23, "30", "23", 23},
        {0, 59, "-5", "0", 0},
        {0, 23, "7", "7", 7},
        {0, 0, "-123", "-123", -123},
        {1, 999, "99999999999", "999", 999},  // beyond the integer range: still too large
        {0, 0, "-99999999999", "-2147483648", INT_MIN},
        {5, 10, "", "", 5},  // no number: left as typed, read as MinValue
        {5, 10, "-", "-", 5},
        {1, 999, "1.5", "1.5", 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        Limit(c.minValue, c.maxValue);
        seHour->SetText("8");
        Automation().TypeText("frmSpin.seHour", c.typed);
        if (*c.typed == '\0') Automation().PressKey(VK_DELETE);
        Automation().Focus("frmSpin.edOther");
        EXPECT_EQ(seHour->Text(), c.left);
        EXPECT_EQ(probe->text, c.left) << "OnExit sees the corrected text";
        EXPECT_EQ(seHour->Value(), c.value);
    }
}

TEST_F(SpinTest, TypingAcceptsOnlyWhatANumberIsMadeOf) {
    const int beeps = Beeps();
    Automation().TypeText("frmSpin.seHour", "1a2");
    EXPECT_EQ(seHour->Text(), "12");
    EXPECT_EQ(Beeps(), beeps + 1) << "the letter is refused with a beep";
    EXPECT_EQ(log->entries, (Entries{"seHour.Change", "seHour.Change"}));
    Automation().TypeText("张");
    EXPECT_EQ(seHour->Text(), "12");

    seHour->SetMaxLength(2);
    seHour->SelectAll();
    Automation().TypeText("345");
    EXPECT_EQ(seHour->Text(), "34");

    seHour->SetEditorEnabled(false);
    Automation().TypeText("frmSpin.seHour", "9\b");
    EXPECT_EQ(seHour->Text(), "34") << "only the steps change it";
    Automation().PressKey(VK_UP);
    EXPECT_EQ(seHour->Text(), "35");
}

TEST_F(SpinTest, UpAndDownKeysStepByIncrementAndStopAtTheLimits) {
    Limit(0, 10);
    seHour->SetIncrement(3);
    seHour->SetValue(5);
    Automation().Focus("frmSpin.seHour");
    log->entries.clear();
    const std::pair<Word, const char*> steps[] = {
        {VK_UP, "8"},   {VK_UP, "10"},  {VK_UP, "10"},  {VK_DOWN, "7"},
        {VK_DOWN, "4"}, {VK_DOWN, "1"}, {VK_DOWN, "0"},
    };
    for (const auto& [key, text] : steps) {
        Automation().PressKey(key);
        EXPECT_EQ(seHour->Text(), text);
    }
    EXPECT_TRUE(seHour->Focused()) << "the arrows step, they do not move the focus";
    EXPECT_EQ(log->entries.size(), 6U) << "a step that changes nothing raises no change";

    Limit(0, 0);
    seHour->SetValue(INT_MAX - 1);
    Automation().PressKey(VK_UP);
    EXPECT_EQ(seHour->Value(), INT_MAX) << "no limits: a step stops at the integer range";
    Limit(-99, 99);
    seHour->SetText("");
    Automation().PressKey(VK_UP);
    EXPECT_EQ(seHour->Text(), "-96") << "no number steps from MinValue";

    seHour->SetReadOnly(true);
    const int beeps = Beeps();
    Automation().PressKey(VK_DOWN);
    EXPECT_EQ(seHour->Text(), "-96");
    EXPECT_EQ(Beeps(), beeps + 1);
}

TEST_F(SpinTest, ADerivedChangeMayRewriteTheTextWhileTheUserTypes) {
    auto* edit = Make<TSignlessSpinEdit>(*form, *form, "meDay");
    edit->OnChange = TNotifyEvent(log, &TEventLog::Change);
    Automation().TypeText("frmSpin.meDay", "12+");
    EXPECT_EQ(edit->Text(), "12");
    EXPECT_EQ(log->entries.size(), 3U) << "1, 2 and the text taken back; not the sign";
}

class TfrmSpinDesc : public TForm {
    KV_CLASS(TfrmSpinDesc, TForm)
public:
    explicit TfrmSpinDesc(TComponent* owner) : TForm(owner, true) {}
};
KV_PUBLISHED(TfrmSpinDesc) {}

TEST_F(SpinTest, ADescribedSpinEditLoadsItsLimits) {
    RegisterClasses({TfrmSpinDesc::StaticClass()});
    auto* described = NewObject<TfrmSpinDesc>(&Application());
    ReadComponentDescription(*described,
                             "object frmSpinDesc: TfrmSpinDesc\n"
                             "  object sePeriodMin: TSpinEdit\n"
                             "    Increment = 5\n"
                             "    MaxLength = 2\n"
                             "    MaxValue = 59\n"
                             "    MinValue = 0\n"
                             "    Value = 75\n"
                             "  end\n"
                             "end\n",
                             "spin.kvform");
    auto& edit = dynamic_cast<TSpinEdit&>(Automation().Find(*described, "sePeriodMin"));
    EXPECT_EQ(edit.Value(), 59);
    EXPECT_EQ(edit.MaxLength(), 2);
    EXPECT_EQ(edit.Increment(), 5);
    described->Free();
}

}  // namespace
}  // namespace kv::test
