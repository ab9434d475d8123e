#include <gtest/gtest.h>

#include "tests/platform/ui/TestControls.h"
#include "tests/platform/ui/UiTestFixture.h"

namespace kv::test {
namespace {

using Entries = std::vector<std::string>;

// A form that logs its life and lets a test choose its close behaviour.
class TLifeForm : public TForm {
    KV_CLASS(TLifeForm, TForm)
public:
    explicit TLifeForm(TComponent* owner, bool createNew = true) : TForm(owner, createNew) {
        SetName("frmLife");
        OnCreate = TNotifyEvent(this, &TLifeForm::FormCreate);
        OnShow = TNotifyEvent(this, &TLifeForm::FormShow);
        OnHide = TNotifyEvent(this, &TLifeForm::FormHide);
        OnClose = TCloseEvent(this, &TLifeForm::FormClose);
        OnCloseQuery = TCloseQueryEvent(this, &TLifeForm::FormCloseQuery);
        OnActivate = TNotifyEvent(this, &TLifeForm::FormActivate);
        OnDestroy = TNotifyEvent(this, &TLifeForm::FormDestroy);
    }
    void FormCreate(TObject*) { events().push_back("Create"); }
    void FormShow(TObject*) { events().push_back("Show"); }
    void FormHide(TObject*) { events().push_back("Hide"); }
    void FormActivate(TObject*) { events().push_back("Activate"); }
    void FormDestroy(TObject*) { events().push_back("OnDestroy"); }
    void FormClose(TObject*, TCloseAction& action) {
        events().push_back("Close");
        action = closeAction;
    }
    void FormCloseQuery(TObject*, bool& canClose) {
        events().push_back("CloseQuery");
        canClose = canClose_;
    }
    void BeforeDestruction() override {
        events().push_back("Destroy");
        TForm::BeforeDestruction();
    }
    // Survives the form, so a test can read what happened after the form is gone.
    static Entries& events() {
        static Entries log;
        return log;
    }

    TCloseAction closeAction = caHide;
    bool canClose_ = true;
};
KV_PUBLISHED(TLifeForm) {}

class FormsTest : public UiTest {
protected:
    void SetUp() override {
        UiTest::SetUp();
        TLifeForm::events().clear();
    }
    static Entries Take() { return std::exchange(TLifeForm::events(), {}); }
};

TEST_F(FormsTest, LifeEventsComeInThePlatformsOrder) {
    auto* form = NewObject<TLifeForm>(&Application());
    EXPECT_EQ(Take(), Entries{"Create"});
    form->Show();
    EXPECT_EQ(Take(), (Entries{"Show", "Activate"}));
    EXPECT_TRUE(form->Active());
    form->Free();
    EXPECT_EQ(Take(), (Entries{"Destroy", "Hide", "OnDestroy"}))
        << "a shown form is hidden before OnDestroy";
}

TEST_F(FormsTest, CloseAppliesTheCloseAction) {
    struct Case {
        TCloseAction action;
        bool canClose;
        bool visibleAfter, aliveAfter;
        Entries events;
    };
    const Case cases[] = {
        {caHide, true, false, true, {"CloseQuery", "Close", "Hide"}},
        {caNone, true, true, true, {"CloseQuery", "Close"}},
        {caFree, true, false, false, {"CloseQuery", "Close", "Destroy", "Hide", "OnDestroy"}},
        {caMinimize, true, true, true, {"CloseQuery", "Close"}},
        {caHide, false, true, true, {"CloseQuery"}},
    };
    for (const Case& c : cases) {
        auto* form = NewObject<TLifeForm>(&Application());
        form->closeAction = c.action;
        form->canClose_ = c.canClose;
        form->Show();
        const auto life = form->LifeToken();
        Take();
        form->Close();
        Application().ProcessMessages();  // a released form goes here
        EXPECT_EQ(Take(), c.events) << "action " << c.action;
        EXPECT_EQ(!life.expired(), c.aliveAfter);
        if (!life.expired()) {
            EXPECT_EQ(form->Visible(), c.visibleAfter);
            EXPECT_EQ(form->WindowState() == wsMinimized, c.action == caMinimize && c.canClose);
            form->Free();
        }
    }
}

// A posted close request ends the modal loop with mrCancel; a form whose close action is free
// is freed once the loop has ended and the message loop runs.
TEST_F(FormsTest, APostedCloseEndsAModalFormAndFreesItsFreeOnCloseForm) {
    auto* form = NewObject<TLifeForm>(&Application());
    form->closeAction = caFree;
    const auto life = form->LifeToken();
    Automation().AnswerModal("frmLife",
                             [](TCustomForm& f) { PostMessage(f.Handle(), WM_CLOSE, 0, 0); });
    Take();
    EXPECT_EQ(form->ShowModal(), mrCancel);
    EXPECT_EQ(Take(), (Entries{"Show", "Activate", "CloseQuery", "Close", "Hide"}));
    EXPECT_FALSE(life.expired()) << "freed by the message loop, after ShowModal returned";
    Application().ProcessMessages();
    EXPECT_TRUE(life.expired());
    EXPECT_EQ(Take(), (Entries{"Destroy", "OnDestroy"}));
}

TEST_F(FormsTest, AModalFormWithNoScriptedAnswerReturnsCancel) {
    auto* form = NewObject<TLifeForm>(&Application());
    EXPECT_EQ(form->ShowModal(), mrCancel);
    EXPECT_FALSE(form->Visible());
    EXPECT_FALSE(form->FormState().Contains(fsModal));
    // One that refuses to close is abandoned rather than waited for.
    form->canClose_ = false;
    Take();
    EXPECT_EQ(form->ShowModal(), mrCancel);
    EXPECT_EQ(Take(), (Entries{"Show", "Activate", "CloseQuery", "Hide"}));
    ASSERT_EQ(Automation().ModalForms().size(), 2U);
    EXPECT_FALSE(Automation().ModalForms()[1].Scripted);
    form->Free();
}

TEST_F(FormsTest, AButtonWithAModalResultEndsTheModalLoop) {
    auto* form = NewObject<TLifeForm>(&Application());
    auto* ok = Make<TTestButton>(*form, *form, "btnOk");
    ok->ModalResult = mrOk;
    Automation().AnswerModal("TLifeForm",
                             [](TCustomForm&) { Automation().Click("frmLife.btnOk"); });
    EXPECT_EQ(form->ShowModal(), mrOk);
    ASSERT_EQ(Automation().ModalForms().size(), 1U);
    EXPECT_TRUE(Automation().ModalForms()[0].Scripted);
    EXPECT_EQ(Automation().ModalForms()[0].Result, mrOk);
    form->Free();
}

TEST_F(FormsTest, ShowModalRefusesAVisibleForm) {
    auto* form = NewObject<TLifeForm>(&Application());
    form->Show();
    try {
        form->ShowModal();
        FAIL();
    } catch (const EInvalidOperation& e) {
        EXPECT_STREQ(e.what(), "Cannot make a visible window modal");
    }
    form->Free();
}

// Release from a handler while the form is in its modal loop: the loop ends and the form goes
// afterwards, never under the loop's feet.
TEST_F(FormsTest, ReleaseInsideTheModalLoopWaitsForTheLoopToEnd) {
    auto* form = NewObject<TLifeForm>(&Application());
    const auto life = form->LifeToken();
    Automation().AnswerModal("frmLife", [](TCustomForm& f) {
        f.Release();
        Application().ProcessMessages();
    });
    EXPECT_EQ(form->ShowModal(), mrCancel);
    EXPECT_FALSE(life.expired());
    Application().ProcessMessages();
    EXPECT_TRUE(life.expired());
}

TEST_F(FormsTest, OtherFormsTakeNoInputWhileAModalFormIsUp) {
    auto* main = MakeForm("frmMain");
    auto* edit = Make<TTestEdit>(*main, *main, "edMain");
    main->Show();
    auto* dialog = NewObject<TLifeForm>(&Application());
    bool refused = false;
    Automation().AnswerModal("frmLife", [&](TCustomForm&) {
        EXPECT_FALSE(main->AcceptsInput());
        try {
            Automation().TypeText(*edit, "x");
        } catch (const EAutomationError&) {
            refused = true;
        }
    });
    dialog->ShowModal();
    EXPECT_TRUE(refused);
    EXPECT_TRUE(main->AcceptsInput());
    EXPECT_EQ(Screen().ActiveForm(), main) << "the form that was active before gets it back";
    EXPECT_TRUE(edit->Focused());
    dialog->Free();
    main->Free();
}

TEST_F(FormsTest, KeyPreviewGivesTheFormTheKeysFirst) {
    auto* form = MakeForm("frmKeys");
    auto* edit = Make<TTestEdit>(*form, *form, "edName");
    TEventLog log;
    log.WatchKeys(*form);
    log.WatchKeys(*edit);
    form->Show();
    TInput::Key('A');
    EXPECT_EQ(log.entries,
              (Entries{"edName.KeyDown(65)", "edName.KeyPress(a)", "edName.KeyUp(65)"}));
    log.entries.clear();
    form->SetKeyPreview(true);
    TInput::Key('A', {ssShift});
    EXPECT_EQ(log.entries,
              (Entries{"frmKeys.KeyDown(65)", "edName.KeyDown(65)", "frmKeys.KeyPress(A)",
                       "edName.KeyPress(A)", "frmKeys.KeyUp(65)", "edName.KeyUp(65)"}));
    EXPECT_EQ(edit->Text(), "aA");
    form->Free();
}

TEST_F(FormsTest, AKeyPreviewHandlerThatConsumesTheKeyKeepsItFromTheControl) {
    struct Consumer : TObject {
        void KeyPress(TObject*, char& key) {
            if (key == 'x') key = 0;
        }
    } consumer;
    auto* form = MakeForm("frmKeys");
    auto* edit = Make<TTestEdit>(*form, *form, "edName");
    form->SetKeyPreview(true);
    form->OnKeyPress = TKeyPressEvent(&consumer, &Consumer::KeyPress);
    form->Show();
    Automation().TypeText("axb");
    EXPECT_EQ(edit->Text(), "ab");
    form->Free();
}

TEST_F(FormsTest, ScreenCentredFormsArePlacedWhenFirstShown) {
    auto* form = MakeForm("frmCentre");
    form->SetBounds(0, 0, 400, 200);
    form->SetPosition(poScreenCenter);
    form->Show();
    EXPECT_EQ(form->Left(), (Screen().Width() - 400) / 2);
    EXPECT_EQ(form->Top(), (Screen().Height() - 200) / 2);
    form->Free();
}

TEST_F(FormsTest, AnErrorInAHandlerIsReportedAsAnErrorBox) {
    struct Failing : TObject {
        void Click(TObject*) { throw EConvertError("'x' is not a valid integer value"); }
    } failing;
    auto* form = MakeForm("frmErr");
    auto* button = Make<TTestButton>(*form, *form, "btnGo");
    button->OnClick = TNotifyEvent(&failing, &Failing::Click);
    form->Show();
    Automation().Click(*button);
    const TBoxRecord& box = Automation().LastBox();
    EXPECT_EQ(box.Text, "'x' is not a valid integer value.");
    EXPECT_EQ(box.Type, mtError);
    EXPECT_EQ(box.Answer, mrCancel) << "unanswered boxes are closed";

    struct Silent : TObject {
        void Click(TObject*) { throw EAbort("quiet"); }
    } silent;
    button->OnClick = TNotifyEvent(&silent, &Silent::Click);
    Automation().Click(*button);
    EXPECT_EQ(Automation().Boxes().size(), 1U) << "EAbort shows nothing";
    form->Free();
}

TEST_F(FormsTest, TheDescriptionLoaderRunsBeforeOnCreateExceptForCreateNew) {
    static Entries order;
    order.clear();
    const TFormDescriptionLoader previous = GetFormDescriptionLoader();
    SetFormDescriptionLoader([](TCustomForm& form) {
        order.push_back("load " + form.ClassName());
        return true;
    });
    struct Restore {
        TFormDescriptionLoader loader;
        ~Restore() { SetFormDescriptionLoader(loader); }
    } restore{previous};
    auto* loaded = NewObject<TLifeForm>(&Application(), false);
    order.insert(order.end(), TLifeForm::events().begin(), TLifeForm::events().end());
    EXPECT_EQ(order, (Entries{"load TLifeForm", "Create"}));
    loaded->Free();
    order.clear();
    auto* built = NewObject<TLifeForm>(&Application(), true);
    EXPECT_TRUE(order.empty());
    built->Free();
}

// An error of OnCreate leaves the construction: the form is freed again without OnDestroy.
TEST_F(FormsTest, AnErrorInOnCreateFailsTheConstruction) {
    class TFailingForm : public TLifeForm {
    public:
        using TLifeForm::TLifeForm;
        void DoCreate() override {
            TLifeForm::DoCreate();
            throw EInOutError("Language package unreadable");
        }
    };
    EXPECT_THROW(NewObject<TFailingForm>(&Application()), EInOutError);
    EXPECT_EQ(Take(), (Entries{"Create", "Destroy"}));
    EXPECT_EQ(Screen().FormCount(), 0);
}

TEST_F(FormsTest, ClosingTheMainFormEndsTheApplicationsLoop) {
    auto* form = Application().CreateForm<TLifeForm>();
    EXPECT_EQ(Application().MainForm(), form);
    Application().Run();  // headless and nothing to do: returns at once
    EXPECT_TRUE(form->Visible());
    form->Close();
    EXPECT_TRUE(Application().Terminated());
    form->Free();
    EXPECT_EQ(Application().MainForm(), nullptr);
}

}  // namespace
}  // namespace kv::test

namespace kv::test {
namespace {

TEST(UiTestFixtureCheck, FailsATestThatLeavesAFormAliveAndFreesIt) {
    MakeForm("frmForgotten");
    const ::testing::AssertionResult result = NoFormsAlive();
    EXPECT_FALSE(result);
    EXPECT_STREQ(result.message(), "forms left alive: frmForgotten");
    EXPECT_EQ(Screen().FormCount(), 0);
    EXPECT_TRUE(NoFormsAlive());
}

}  // namespace
}  // namespace kv::test
