#include <gtest/gtest.h>

#include "platform/ui/Dialogs.h"
#include "tests/platform/ui/UiTestFixture.h"

namespace kv::test {
namespace {

using DialogsTest = UiTest;

TEST_F(DialogsTest, ButtonsCarryTheirNamesCaptionsAndResults) {
    struct Case {
        TMsgDlgBtn button;
        const char* name;
        const char* caption;
        TModalResult result;
    };
    const Case cases[] = {
        {mbYes, "Yes", "&Yes", mrYes},
        {mbNo, "No", "&No", mrNo},
        {mbOK, "OK", "OK", mrOk},
        {mbCancel, "Cancel", "Cancel", mrCancel},
        {mbAbort, "Abort", "&Abort", mrAbort},
        {mbRetry, "Retry", "&Retry", mrRetry},
        {mbIgnore, "Ignore", "&Ignore", mrIgnore},
        {mbAll, "All", "&All", mrAll},
        {mbNoToAll, "NoToAll", "N&o to All", mrNoToAll},
        {mbYesToAll, "YesToAll", "Yes to &All", mrYesToAll},
        {mbHelp, "Help", "&Help", mrNone},
    };
    for (const Case& c : cases) {
        TMessageForm* dialog = CreateMessageDialog("text", mtCustom, {c.button});
        TButton* button = dialog->Button(c.button);
        ASSERT_NE(button, nullptr) << c.name;
        EXPECT_EQ(button->Name(), c.name);
        EXPECT_EQ(button->Caption(), c.caption);
        EXPECT_EQ(button->ModalResult(), c.result);
        dialog->Free();
    }
    EXPECT_EQ(mrOk, 1);
    EXPECT_EQ(mrYesToAll, 10);
}

TEST_F(DialogsTest, TheDialogIsAFormWithTypeCaptionMessageAndDefaultAndCancelButtons) {
    struct Case {
        TMsgDlgType type;
        TMsgDlgButtons buttons;
        const char* caption;
        const char* defaultButton;
        const char* cancelButton;
    };
    const Case cases[] = {
        {mtWarning, mbOKCancel, "Warning", "OK", "Cancel"},
        {mtError, {mbOK}, "Error", "OK", "OK"},
        {mtInformation, {mbOK}, "Information", "OK", "OK"},
        {mtConfirmation, mbYesNoCancel, "Confirm", "Yes", "Cancel"},
        {mtConfirmation, TMsgDlgButtons{mbYes, mbNo}, "Confirm", "Yes", "No"},
        {mtWarning, mbAbortRetryIgnore, "Warning", "Retry", ""},
    };
    for (const Case& c : cases) {
        TMessageForm* dialog = CreateMessageDialog("Save?", c.type, c.buttons);
        EXPECT_EQ(dialog->Caption(), c.caption);
        EXPECT_EQ(dialog->MessageText(), "Save?");
        EXPECT_EQ(dialog->FindComponent("Message")->ClassName(), "TMsgDlgLabel");
        EXPECT_NE(dialog->FindComponent("Image"), nullptr);
        std::string defaults, cancels;
        for (int i = 0; i < dialog->ComponentCount(); ++i) {
            if (auto* b = dynamic_cast<TButton*>(dialog->Components(i))) {
                if (b->Default()) defaults += b->Name();
                if (b->Cancel()) cancels += b->Name();
            }
        }
        EXPECT_EQ(defaults, c.defaultButton);
        EXPECT_EQ(cancels, c.cancelButton);
        EXPECT_EQ(dialog->ActiveControl()->Name(), c.defaultButton);
        dialog->Free();
    }
    TMessageForm* plain = CreateMessageDialog("x", mtCustom, {});
    EXPECT_EQ(plain->FindComponent("Image"), nullptr) << "custom dialogs have no icon";
    EXPECT_NE(plain->Button(mbOK), nullptr) << "no buttons give an OK button";
    plain->Free();
}

TEST_F(DialogsTest, AScriptedAnswerIsReturnedAndRecorded) {
    Automation().AnswerBox(mrNo);
    EXPECT_EQ(MessageDlg("Delete the scheme?", mtConfirmation, mbYesNoCancel), mrNo);
    const TBoxRecord& box = Automation().LastBox();
    EXPECT_EQ(box.Caption, "Confirm");
    EXPECT_EQ(box.Text, "Delete the scheme?");
    EXPECT_EQ(box.Type, mtConfirmation);
    EXPECT_EQ(box.Buttons, mbYesNoCancel);
    EXPECT_EQ(box.Answer, mrNo);
    EXPECT_TRUE(box.Scripted);
    EXPECT_EQ(Screen().FormCount(), 0) << "MessageDlg frees its dialog";
}

TEST_F(DialogsTest, AnUnansweredBoxReturnsCancelWithoutHanging) {
    EXPECT_EQ(MessageDlg("Job submitted", mtInformation, {mbOK}), mrCancel);
    ASSERT_EQ(Automation().Boxes().size(), 1U);
    EXPECT_FALSE(Automation().Boxes()[0].Scripted);
    EXPECT_EQ(Automation().Boxes()[0].Answer, mrCancel);
}

TEST_F(DialogsTest, AnswersGoInOrderToTheBoxesTheyFit) {
    Automation().AnswerBox(mrIgnore, "disk");
    Automation().AnswerBoxWithButton("Retry");
    EXPECT_EQ(MessageDlg("Network down", mtError, mbAbortRetryIgnore), mrRetry);
    EXPECT_EQ(MessageDlg("The disk is full", mtError, mbAbortRetryIgnore), mrIgnore);
    EXPECT_EQ(Automation().PendingAnswers(), 0);
}

TEST_F(DialogsTest, AnAnswerTheBoxCannotGiveIsAScriptError) {
    Automation().AnswerBox(mrYes);
    try {
        MessageDlg("Saved", mtInformation, {mbOK});
        FAIL() << "an OK box cannot answer Yes";
    } catch (const EAutomationError& e) {
        EXPECT_NE(std::string(e.what()).find("[mbOK]"), std::string::npos) << e.what();
    }
    EXPECT_EQ(Screen().FormCount(), 0);
}

// Callers re-caption the named buttons before showing the dialog.
TEST_F(DialogsTest, NamedButtonsCanBeRecaptionedBeforeShowing) {
    TMessageForm* dialog = CreateMessageDialog("继续吗?", mtConfirmation, {mbYes, mbNo});
    SetStrProp(dialog->FindComponent("Yes"), "Caption", "是(&Y)");
    dialog->Button(mbNo)->SetCaption("否(&N)");
    EXPECT_EQ(dialog->Button(mbYes)->Caption(), "是(&Y)");
    Automation().AnswerBoxWithButton("Yes");
    EXPECT_EQ(dialog->ShowModal(), mrYes);
    dialog->Free();
}

TEST_F(DialogsTest, EnterClicksTheDefaultButtonAndEscTheCancelButton) {
    struct Case {
        Word key;
        TModalResult result;
    };
    for (const Case c : {Case{VK_RETURN, mrYes}, Case{VK_ESCAPE, mrCancel}}) {
        TMessageForm* dialog = CreateMessageDialog("Save?", mtConfirmation, mbYesNoCancel);
        dialog->Show();
        EXPECT_TRUE(dialog->Button(mbYes)->Focused());
        TInput::Key(c.key);
        EXPECT_EQ(dialog->ModalResult(), c.result);
        dialog->Free();
    }
    TMessageForm* dialog = CreateMessageDialog("Save?", mtConfirmation, mbYesNoCancel);
    dialog->Show();
    TInput::Key(VK_TAB);
    EXPECT_TRUE(dialog->Button(mbNo)->Focused());
    TInput::Key(VK_RETURN);
    EXPECT_EQ(dialog->ModalResult(), mrNo) << "Enter clicks the focused button";
    dialog->Free();
}

TEST_F(DialogsTest, ApplicationMessageBoxMapsFlagsToTypesButtonsAndResults) {
    Automation().AnswerBox(mrRetry);
    EXPECT_EQ(Application().MessageBox("Retry?", "Copy", MB_RETRYCANCEL | MB_ICONWARNING), IDRETRY);
    const TBoxRecord& box = Automation().LastBox();
    EXPECT_EQ(box.Caption, "Copy");
    EXPECT_EQ(box.Type, mtWarning);
    EXPECT_EQ(box.Buttons, (TMsgDlgButtons{mbRetry, mbCancel}));
}

TEST_F(DialogsTest, EveryRecordedBoxReachesTheListener) {
    std::vector<std::string> transcript;
    Automation().OnBoxRecorded = [&](const TBoxRecord& box) { transcript.push_back(box.Text); };
    ShowMessage("one");
    ShowMessage("two");
    Automation().OnBoxRecorded = nullptr;
    EXPECT_EQ(transcript, (std::vector<std::string>{"one", "two"}));
    EXPECT_EQ(Automation().LastBox().Type, mtCustom);
    Automation().ClearRecords();
    EXPECT_THROW(Automation().LastBox(), EAutomationError);
}

}  // namespace
}  // namespace kv::test
