// Coded messages of the generic condition form against the suite's host object: what is
// recorded, what is shown and how, the Cancel exemption, silent mode, the fallback text and the
// button captions of the code pages.
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/core/Dispatch.h"
#include "platform/core/SysUtils.h"
#include "platform/ui/ExtCtrls.h"
#include "platform/ui/StdCtrls.h"
#include "src/framework/BaseGene.h"
#include "suite/hostsvc/HostServices.h"
#include "tests/framework/FrameworkTestSupport.h"
#include "tests/platform/ui/UiTestFixture.h"

namespace kv {

// The generic form as it is, with the generic form's description.
class TfrmMessageTest : public TfrmBaseGene {
    KV_CLASS(TfrmMessageTest, TfrmBaseGene)
public:
    explicit TfrmMessageTest(TComponent* owner) : TfrmBaseGene(owner) {}
};
KV_PUBLISHED(TfrmMessageTest) {}

namespace {

using test::TClientSettings;
using test::TestInstallation;

class MessagesTest : public test::UiTest {
protected:
    void TearDown() override {
        Automation().OnBoxRecorded = nullptr;
        UiTest::TearDown();
    }

    TfrmMessageTest* NewForm(const TClientSettings& settings = {}) {
        installation_ = std::make_unique<TestInstallation>(settings);
        THostOptions options;
        options.databasePath = installation_->Root() + "/company.db";
        options.codePage = settings.uiCodePage;
        services_ = THostServices::Create(options);
        TfrmMessageTest* form = FixtureForm(NewObject<TfrmMessageTest>(nullptr));
        form->HostObject = services_->CreateHostObject();
        form->SetCaption("Repair orders");
        return form;
    }

    std::string HostText(const std::string& kind, const std::string& number) {
        return VarToStr(OleCall(services_->CreateHostObject(), "GetMessage", {kind, number}));
    }

    // Collects the captions of the push buttons of every box as it closes.
    std::vector<std::string>& WatchButtonCaptions() {
        Automation().OnBoxRecorded = [this](const TBoxRecord& record) {
            for (int i = 0; i < Screen().FormCount(); ++i) {
                auto* box = dynamic_cast<TMessageForm*>(Screen().Forms(i));
                if (box == nullptr || box->MessageText() != record.Text) continue;
                for (int j = 0; j < box->ComponentCount(); ++j)
                    if (auto* button = dynamic_cast<TButton*>(box->Components(j)))
                        captions_.push_back(button->Caption());
            }
        };
        return captions_;
    }

    std::unique_ptr<TestInstallation> installation_;
    std::shared_ptr<THostServices> services_;
    std::vector<std::string> captions_;
};

// Counts the mouse releases a control gets.
class TMouseUpCounter : public TObject {
public:
    void Up(TObject*, TMouseButton, TShiftState, int, int) { ++count; }
    int count = 0;
};

// A host whose message table answers one text for every message.
class TFixedTextHost : public TAutoObject {
public:
    explicit TFixedTextHost(std::string text) {
        RegisterMethod(
            "GetMessage", [text = std::move(text)](std::vector<Variant>&) { return Variant(text); },
            2, 2);
    }
};

TEST_F(MessagesTest, NegativeNumberIsRecordedWithItsTextButNotShown) {
    TfrmMessageTest* form = NewForm();
    form->ShowMessageCode("I;-000004;J20240315");
    EXPECT_EQ(form->MessageCodes, "I;-000004;J20240315; ");
    EXPECT_EQ(form->MessageTexts, Format(HostText("I", "000004"), {"J20240315"}) + "; ");
    EXPECT_NE(form->MessageTexts.find("J20240315"), std::string::npos);
    EXPECT_TRUE(Automation().Boxes().empty());
}

TEST_F(MessagesTest, CodedWarningShowsOkOnlyWhereTheIdOffersCancelToo) {
    TfrmMessageTest* form = NewForm();
    form->ShowMessageCode("W;000014");
    ASSERT_EQ(Automation().Boxes().size(), 1u);
    EXPECT_EQ(Automation().LastBox().Type, mtWarning);
    EXPECT_EQ(Automation().LastBox().Buttons, TMsgDlgButtons{mbOK});
    EXPECT_EQ(Automation().LastBox().Text, HostText("W", "000014"));
    EXPECT_EQ(Automation().LastBox().Caption, "Repair orders");

    Automation().AnswerBox(mrCancel);
    EXPECT_EQ(form->ShowMessageId("W", "000014", {}, {}), mrCancel);
    EXPECT_EQ(Automation().LastBox().Buttons, mbOKCancel);
    EXPECT_EQ(form->MessageCodes, "W;000014; ");  // ShowMessageId records nothing
}

TEST_F(MessagesTest, SameMessageTwiceRecordsItsCodeTwiceAndItsTextOnce) {
    TfrmMessageTest* form = NewForm();
    form->ShowMessageCode("E;000038");
    form->ShowMessageCode("E;000038");
    EXPECT_EQ(form->MessageCodes, "E;000038; E;000038; ");
    EXPECT_EQ(form->MessageTexts, HostText("E", "000038") + "; ");
    EXPECT_EQ(Automation().Boxes().size(), 2u);
    form->ShowMessageCode("");
    EXPECT_EQ(form->MessageCodes, "");
    EXPECT_EQ(form->MessageTexts, "");
}

struct KindCase {
    const char* kind;
    TMsgDlgType type;
    TMsgDlgButtons buttons;
};

class MessageKindTest : public MessagesTest, public ::testing::WithParamInterface<KindCase> {};

TEST_P(MessageKindTest, IdShowsTheKindsBoxAndAnswersTheButtonPressed) {
    const KindCase c = GetParam();
    TfrmMessageTest* form = NewForm();
    const TModalResult pressed = c.buttons.Contains(mbNo) ? mrNo : mrOk;
    Automation().AnswerBox(pressed);
    EXPECT_EQ(form->ShowMessageId(c.kind, "000001", {}, {Variant("x")}), pressed);
    EXPECT_EQ(Automation().LastBox().Type, c.type);
    EXPECT_EQ(Automation().LastBox().Buttons, c.buttons);
    // The coded form always offers OK alone.
    form->ShowMessageCode(std::string(c.kind) + ";000001;x");
    EXPECT_EQ(Automation().LastBox().Type, c.type);
    EXPECT_EQ(Automation().LastBox().Buttons, TMsgDlgButtons{mbOK});
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, MessageKindTest,
    ::testing::Values(KindCase{"C", mtWarning, mbOKCancel}, KindCase{"D", mtWarning, mbYesNoCancel},
                      KindCase{"E", mtError, {mbOK}}, KindCase{"I", mtInformation, {mbOK}},
                      KindCase{"Q", mtConfirmation, mbOKCancel},
                      KindCase{"W", mtWarning, mbOKCancel}, KindCase{"R", mtCustom, {mbOK}}));

TEST_F(MessagesTest, CallersButtonsReplaceTheKindsButtons) {
    TfrmMessageTest* form = NewForm();
    Automation().AnswerBox(mrYes);
    EXPECT_EQ(form->ShowMessageId("I", "000004", {mbYes, mbNo}, {Variant("J1")}), mrYes);
    EXPECT_EQ(Automation().LastBox().Buttons, (TMsgDlgButtons{mbYes, mbNo}));
    EXPECT_EQ(Automation().LastBox().Text, Format(HostText("I", "000004"), {"J1"}));
}

TEST_F(MessagesTest, SilentFormShowsErrorsOnly) {
    TfrmMessageTest* form = NewForm();
    form->Silent = true;
    EXPECT_EQ(form->ShowMessageBox("Careful", mtWarning, mbOKCancel), mrNone);
    EXPECT_TRUE(Automation().Boxes().empty());
    form->ShowMessageCode("W;000014");
    EXPECT_TRUE(Automation().Boxes().empty());
    EXPECT_EQ(form->MessageCodes, "W;000014; ");  // recorded all the same
    form->ShowMessageCode("E;000006");
    ASSERT_EQ(Automation().Boxes().size(), 1u);
    EXPECT_EQ(Automation().LastBox().Type, mtError);
}

struct CaptionCase {
    const char* sysCodePage;
    const char* uiCodePage;
    std::vector<std::string> captions;
};

class MessageCaptionTest : public MessagesTest,
                           public ::testing::WithParamInterface<CaptionCase> {};

TEST_P(MessageCaptionTest, ButtonsAreCaptionedForTheCodePage) {
    const CaptionCase& c = GetParam();
    TfrmMessageTest* form = NewForm({c.sysCodePage, c.uiCodePage, "936"});
    std::vector<std::string>& captions = WatchButtonCaptions();
    form->ShowMessageBox("Save?", mtConfirmation, {mbYes, mbNo, mbCancel});
    EXPECT_EQ(captions, c.captions);
}

INSTANTIATE_TEST_SUITE_P(CodePages, MessageCaptionTest,
                         ::testing::Values(CaptionCase{"936", "936", {"是(&Y)", "否(&N)", "取消"}},
                                           CaptionCase{"437",
                                                       "437",
                                                       {MsgDlgButtonCaption(mbYes),
                                                        MsgDlgButtonCaption(mbNo),
                                                        MsgDlgButtonCaption(mbCancel)}}));

TEST_F(MessagesTest, LeavingForCancelKeepsEverythingQuiet) {
    TfrmMessageTest* form = NewForm();
    form->ShowMessageCode("E;000005");
    ASSERT_NE(form->btnCancel, nullptr);
    form->SetActiveControl(form->btnCancel);
    form->ShowMessageCode("E;000037");
    form->RecordError("lost connection");
    form->ShowMessageCode("");
    form->RecordError("");
    EXPECT_EQ(form->MessageCodes, "E;000005; ");
    EXPECT_EQ(Automation().Boxes().size(), 1u);
}

TEST_F(MessagesTest, RecordErrorKeepsTrimmedTextsOnceAndBlanksClear) {
    TfrmMessageTest* form = NewForm();
    form->RecordError("  Socket closed \r\n");
    form->RecordError("Socket closed");
    EXPECT_EQ(form->MessageCodes, "E;-1; E;-1; ");
    EXPECT_EQ(form->MessageTexts, "Socket closed; ");
    EXPECT_TRUE(Automation().Boxes().empty());
    form->RecordError(" \t ");
    EXPECT_EQ(form->MessageCodes, "");
    EXPECT_EQ(form->MessageTexts, "");
}

TEST_F(MessagesTest, WithoutHostObjectTheTextNamesKindAndNumber) {
    TfrmMessageTest* form = NewForm();
    form->HostObject = Unassigned();
    EXPECT_EQ(form->GetMessageText("E", "000005"), "Can not Get Message\rType= E, ID= 000005 ");
    form->ShowMessageCode("E;-000005;x");
    EXPECT_EQ(form->MessageTexts, "Can not Get Message\rType= E, ID= 000005 ; ");
}

TEST_F(MessagesTest, TextThatDoesNotFitItsArgumentsShowsThemUnformatted) {
    TfrmMessageTest* form = NewForm();
    form->HostObject = Variant(std::make_shared<TFixedTextHost>("%d parts of %s"));
    form->ShowMessageCode("I;000001;many;gears");
    EXPECT_EQ(Automation().LastBox().Text, "%d parts of %s\rmany;gears;;;;;;;;;");
    Automation().AnswerBox(mrOk);
    form->ShowMessageId("I", "000001", {}, {Variant("many")});
    EXPECT_EQ(Automation().LastBox().Text, "%d parts of %s\rmany;");
    form->ShowMessageCode("I;000001;12;gears");  // a number read from the code fits %d
    EXPECT_EQ(Automation().LastBox().Text, "%d parts of %s\r12;gears;;;;;;;;;");
}

TEST_F(MessagesTest, ErrorBoxGivesTheFocusBackToTheLastFocusedControl) {
    TfrmMessageTest* form = NewForm();
    auto* edit = new TEdit(form);
    edit->SetName("edCode");
    edit->SetParent(form->Panel1);
    TMouseUpCounter counter;
    form->Show();
    TWinControl* ok = form->btnOk;
    ok->SetFocus();
    ok->OnMouseUp = TMouseEvent(&counter, &TMouseUpCounter::Up);
    form->LastFocused = edit;

    form->ShowMessageCode("W;000014");
    EXPECT_EQ(form->ActiveControl(), ok);  // only errors move the focus
    form->ShowMessageCode("E;000006");
    EXPECT_EQ(form->ActiveControl(), edit);
    Application().ProcessMessages();
    EXPECT_EQ(counter.count, 2);  // each box ends a capture with a release of the button

    edit->SetEnabled(false);  // a last control that cannot take the focus is left alone
    ok->SetFocus();
    form->ShowMessageCode("E;000006");
    EXPECT_EQ(form->ActiveControl(), ok);
    ok->OnMouseUp = TMouseEvent();
    form->Hide();
}

}  // namespace
}  // namespace kv
