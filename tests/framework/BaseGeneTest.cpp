// The generic condition form against the suite's host services and the in-process application
// server, on the headless widgetset: the host parameters, the initialisation and its failures,
// the module names, the caption, the system page, the messages of the form's window.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/core/Dispatch.h"
#include "platform/net/SocketConnection.h"
#include "platform/ui/Buttons.h"
#include "platform/ui/ComCtrls.h"
#include "platform/ui/DB.h"
#include "platform/ui/Grids.h"
#include "platform/ui/ListView.h"
#include "platform/ui/Mask.h"
#include "platform/ui/StdCtrls.h"
#include "platform/widgetset/nogui/NoGuiWidgetset.h"
#include "src/framework/BaseGene.h"
#include "suite/appserver/ReportCounter.h"
#include "suite/hostsvc/HostServices.h"
#include "tests/framework/FrameworkTestSupport.h"
#include "tests/platform/ui/UiTestFixture.h"

namespace kv {

// A condition form of the program KPQX07 (its name "frmKpqTest" carries the program's first
// letters) that names the application server, as the job-option level does.
class TfrmGeneTest : public TfrmBaseGene {
    KV_CLASS(TfrmGeneTest, TfrmBaseGene)
public:
    explicit TfrmGeneTest(TComponent* owner) : TfrmBaseGene(owner) {}

    void SetServerName(TSocketConnection& connection) override {
        if (namesServer) connection.SetServerName(kReportCounterProgId);
    }
    void SetDefaults() override {
        inherited::SetDefaults();
        LookupOptions |= lookupBits;
    }
    void edDateEnter(TObject*) { ++dateEnters; }
    void edDateExit(TObject*) { ++dateExits; }
    void OkCounted(TObject*) { ++okClicks; }
    void cdsTestMEMOGetText(TField*, std::string& Text, bool) { Text = "own"; }

    bool namesServer = true;
    std::uint8_t lookupBits = 0;
    int dateEnters = 0;
    int dateExits = 0;
    int okClicks = 0;
    TMaskEdit* edDate = nullptr;
    TEdit* edName = nullptr;
    TMemo* meNote = nullptr;
    TStringGrid* grdLines = nullptr;
};
KV_PUBLISHED(TfrmGeneTest) {
    b.Method("edDateEnter", &T::edDateEnter);
    b.Method("edDateExit", &T::edDateExit);
    b.Method("OkCounted", &T::OkCounted);
    b.Method("cdsTestMEMOGetText", &T::cdsTestMEMOGetText);
    b.Field("edDate", &T::edDate);
    b.Field("edName", &T::edName);
    b.Field("meNote", &T::meNote);
    b.Field("grdLines", &T::grdLines);
}
KV_REGISTER_CLASS(TfrmGeneTest);

namespace {

using test::TClientSettings;
using test::TestInstallation;

constexpr const char* kModule = "/opt/kv/bin/KPQX07C.so";

Variant Params(std::initializer_list<Variant> values) {
    return VarArrayOf(values);
}

Variant FiveParams(HWND hostWindow = 0) {
    return Params({"u01", "DAZudo60", "DAZudo60", Variant(static_cast<int>(hostWindow)), "kept"});
}

class BaseGeneTest : public test::UiTest {
protected:
    void SetUp() override {
        UiTest::SetUp();
        Install();
    }
    void TearDown() override {
        UiTest::TearDown();
        UnregisterHostManagerClass();
    }

    // The client installation, the company database, the host's class and the server's.
    void Install(const TClientSettings& settings = {}) {
        installation_.reset();
        installation_ = std::make_unique<TestInstallation>(settings);
        THostOptions host;
        host.databasePath = installation_->Root() + "/company.db";
        services_ = THostServices::Create(host);
        RegisterHostManagerClass(services_);
        TAppServerOptions server;
        server.databasePath = host.databasePath;
        RegisterReportCounterClass(server);
    }

    // A form as the controller makes it: no owner, the library's name, the host object.
    TfrmGeneTest* NewForm(const std::string& module = kModule) {
        auto* form = NewObject<TfrmGeneTest>(nullptr);
        form->SetModulePath(module);
        if (form->IsLibrary()) form->HostObject = services_->CreateHostObject();
        return form;
    }

    static bool Alive(const std::weak_ptr<const bool>& life) { return !life.expired(); }

    static std::vector<std::string> BoxTexts() {
        std::vector<std::string> texts;
        for (const TBoxRecord& box : Automation().Boxes())
            texts.push_back(box.Text);
        return texts;
    }

    std::unique_ptr<TestInstallation> installation_;
    std::shared_ptr<THostServices> services_;
};

// ---- host parameters and initialisation

TEST_F(BaseGeneTest, FiveParametersConnectToHostAndServer) {
    TfrmGeneTest* form = NewForm();
    ASSERT_TRUE(form->InitWithParams(FiveParams()));
    EXPECT_EQ(form->UserId, "u01");
    EXPECT_EQ(form->CompanyId, "DAZudo60");
    EXPECT_EQ(form->DatabaseName, "DAZudo60");
    EXPECT_EQ(form->HostWindow, 0);
    EXPECT_EQ(form->HostParam4, Variant("kept"));
    EXPECT_EQ(form->CompanyCaption, "大卓电器");
    EXPECT_EQ(form->ProgramCode, "KPQX07");
    EXPECT_EQ(form->ProgramServerClass, "KPQX07S.Class1");
    EXPECT_EQ(form->ProgramName, "维修单清单");
    EXPECT_EQ(form->Title, "维修单清单");
    EXPECT_EQ(form->ProductId, services_->Options().productId);
    EXPECT_EQ(form->ConditionCount, 1);
    EXPECT_EQ(form->EnvCount, 9);
    EXPECT_EQ(form->JobKind, "R");
    EXPECT_EQ(form->DateFieldList, "edPrintDate");
    EXPECT_TRUE(form->LastHostCommand.IsNull());
    EXPECT_FALSE(form->Counter.IsEmpty());
    EXPECT_FALSE(form->Validator.IsEmpty());
    EXPECT_TRUE(form->LookupWindow.IsEmpty()) << "only with the lookup option bit";
    EXPECT_FALSE(form->AppServer.IsEmpty());
    EXPECT_TRUE(form->LocalServer);
    EXPECT_FALSE(form->Visible());
    EXPECT_TRUE(Automation().Boxes().empty());
    EXPECT_EQ(form->MessageCodes, "");

    const auto life = form->LifeToken();
    Application().ProcessMessages();
    EXPECT_TRUE(Alive(life)) << "a successful start posts no close request";
    form->Free();
}

TEST_F(BaseGeneTest, SecondInitialisationIsRefusedAndChangesNothing) {
    TfrmGeneTest* form = NewForm();
    ASSERT_TRUE(form->InitWithParams(FiveParams()));
    const Variant server = form->AppServer;
    EXPECT_FALSE(form->InitWithParams(Params({"u99", "DAZudo61", "DAZudo61", 7, "other"})));
    EXPECT_EQ(form->UserId, "u01");
    EXPECT_EQ(form->CompanyId, "DAZudo60");
    EXPECT_EQ(form->HostParam4, Variant("kept"));
    EXPECT_EQ(form->AppServer, server);
    EXPECT_TRUE(Automation().Boxes().empty());
    form->Free();
}

TEST_F(BaseGeneTest, FourParametersReportTooFewAndCloseAfterTheRest) {
    TfrmGeneTest* form = NewForm();
    const auto life = form->LifeToken();
    EXPECT_FALSE(form->InitWithParams(Params({"u01", "DAZudo60", "DAZudo60", 0})));
    // The rest of the initialisation ran: host services and program are there.
    EXPECT_EQ(form->UserId, "u01");
    EXPECT_EQ(form->CompanyCaption, "大卓电器");
    EXPECT_EQ(form->ProgramName, "维修单清单");
    EXPECT_NE(form->MessageCodes.find("E;000038; "), std::string::npos);
    EXPECT_NE(form->MessageCodes.find("E;000006; "), std::string::npos);
    ASSERT_FALSE(Automation().Boxes().empty());
    EXPECT_EQ(Automation().Boxes().front().Text, "主程序传入的参数不足, 无法执行!");
    EXPECT_EQ(Automation().Boxes().front().Type, mtError);
    EXPECT_TRUE(Alive(life));
    Application().ProcessMessages();
    EXPECT_FALSE(Alive(life)) << "the posted close request frees the form";
}

TEST_F(BaseGeneTest, TwoParametersLeaveTheDatabaseEmptyWithoutAnError) {
    TfrmGeneTest* form = NewForm();
    const auto life = form->LifeToken();
    form->InitWithParams(Params({"u01", "DAZudo60"}));
    EXPECT_EQ(form->UserId, "u01");
    EXPECT_EQ(form->CompanyId, "DAZudo60");
    EXPECT_EQ(form->DatabaseName, "");
    EXPECT_EQ(form->HostWindow, 0);
    EXPECT_EQ(form->MessageCodes.find("E;-1"), std::string::npos) << "nothing recorded as error";
    EXPECT_EQ(Automation().Boxes().front().Text, "主程序传入的参数不足, 无法执行!");
    Application().ProcessMessages();
    EXPECT_FALSE(Alive(life));
}

TEST_F(BaseGeneTest, ParametersThatAreNoArrayStartNothing) {
    TfrmGeneTest* form = NewForm();
    const auto life = form->LifeToken();
    EXPECT_FALSE(form->InitWithParams(Variant("u01")));
    EXPECT_EQ(form->UserId, "");
    EXPECT_EQ(form->CompanyId, "");
    Application().ProcessMessages();
    EXPECT_FALSE(Alive(life));
}

TEST_F(BaseGeneTest, FormOfAnotherProgramClosesWhileTheStartAnswersTrue) {
    TfrmGeneTest* form = NewForm("/opt/kv/bin/ABCD01C.so");
    const auto life = form->LifeToken();
    EXPECT_TRUE(form->InitWithParams(FiveParams()));
    EXPECT_EQ(form->ProgramCode, "ABCD01");
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{"此报表模块不属于所给的程序代号, 无法执行!"});
    EXPECT_TRUE(form->AppServer.IsEmpty()) << "no connection for a foreign program";
    Application().ProcessMessages();
    EXPECT_FALSE(Alive(life));
}

TEST_F(BaseGeneTest, NoServerNameMeansNoServer) {
    TfrmGeneTest* form = NewForm();
    form->namesServer = false;
    const auto life = form->LifeToken();
    EXPECT_FALSE(form->InitWithParams(FiveParams()));
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{
                              "无法连接应用服务器, 请检查客户端配置(VelmarC.ini)的服务器设置!"});
    Application().ProcessMessages();
    EXPECT_FALSE(Alive(life));
}

TEST_F(BaseGeneTest, UnreachableServerShowsE000006AndRecordsTheReason) {
    TClientSettings settings;
    settings.computerName = "127.0.0.2";
    settings.serverPort = 9;  // discard: nothing listens there
    Install(settings);
    TfrmGeneTest* form = NewForm();
    form->MainMidas->SetTimeout(2000);
    const auto life = form->LifeToken();
    EXPECT_FALSE(form->InitWithParams(FiveParams()));
    EXPECT_FALSE(form->LocalServer);
    EXPECT_NE(form->MessageCodes.find("E;-1; E;000006; "), std::string::npos) << form->MessageCodes;
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{
                              "无法连接应用服务器, 请检查客户端配置(VelmarC.ini)的服务器设置!"});
    Application().ProcessMessages();
    EXPECT_FALSE(Alive(life));
}

TEST_F(BaseGeneTest, HostObjectThatCannotAnswerFailsQuietly) {
    auto* form = NewObject<TfrmGeneTest>(nullptr);
    form->SetModulePath(kModule);
    form->HostObject = Variant(std::make_shared<TAutoObject>());
    EXPECT_FALSE(form->InitWithParams(FiveParams()));
    EXPECT_TRUE(Automation().Boxes().empty()) << "the platform's error is recorded, not shown";
    EXPECT_NE(form->MessageTexts.find("VersionType"), std::string::npos) << form->MessageTexts;
    EXPECT_TRUE(form->Counter.IsEmpty());
    EXPECT_TRUE(form->Validator.IsEmpty());
    form->Free();
}

TEST_F(BaseGeneTest, StandAloneTestCreatesItsHostAndEndsOnTooFewParameters) {
    TfrmGeneTest* form = NewForm("/opt/kv/bin/KPQX07C");
    const auto life = form->LifeToken();
    EXPECT_FALSE(form->IsLibrary());
    EXPECT_EQ(form->UserId, "796");
    EXPECT_EQ(form->CompanyId, "DAZudo60");
    EXPECT_FALSE(form->HostObject.IsEmpty()) << "PinnoxWorkCenter.Manager was created";
    EXPECT_EQ(form->CompanyCaption, "大卓电器");
    // The parameters are counted before the host object exists: the first box cannot name
    // the message's text; the connection step shows the recorded code again, with its text.
    EXPECT_EQ(BoxTexts(),
              (std::vector<std::string>{
                  "Can not Get Message\rType= E, ID= 000038 ", "主程序传入的参数不足, 无法执行!",
                  "无法连接应用服务器, 请检查客户端配置(VelmarC.ini)的服务器设置!"}));
    Application().ProcessMessages();
    EXPECT_FALSE(Alive(life));
}

// ---- module names and counts

TEST(BaseGeneModuleTest, ProgramCodeAndLibraryFromTheModuleName) {
    struct Case {
        const char* path;
        bool library;
        const char* code;
    };
    const Case cases[] = {
        {"/opt/kv/KPQX07C.so", true, "KPQX07"},
        {"KPQX07C.dll", true, "KPQX07"},
        {"/x/kpqx07c.SO", true, "kpqx07"},
        {"C:\\kv\\KPQX07C.Dll", true, "KPQX07"},
        {"AB.dll", true, "AB.dll"},
        {"/opt/kv/KPQX07C", false, "KPQX07"},
        {"/opt/kv/KPQX07T.exe", false, "KPQX07"},
        {"", false, ""},
        {"/opt/kv/KPQX07C.so.1", false, "KPQX07C."},
    };
    for (const Case& c : cases) {
        auto* form = new TfrmBaseGene(nullptr, true);
        form->ModulePath = c.path;
        EXPECT_EQ(form->IsLibrary(), c.library) << c.path;
        EXPECT_EQ(form->ModuleProgramCode(), c.code) << c.path;
        form->Free();
    }
}

TEST(BaseGeneModuleTest, ConditionCountAddsTheFrameworkElementsOnce) {
    struct Case {
        int base, before, n, after;
    };
    const Case cases[] = {{1, 0, 0, 1}, {4, 1, 0, 4}, {4, 4, 9, 13}, {4, 13, 12, 12}, {1, 1, 5, 6}};
    for (const Case& c : cases) {
        auto* form = new TfrmBaseGene(nullptr, true);
        form->BaseElementCount = c.base;
        form->ConditionCount = c.before;
        form->SetConditionCount(c.n);
        EXPECT_EQ(form->ConditionCount, c.after) << c.base << " " << c.before << " " << c.n;
        form->Free();
    }
}

// ---- showing, arranging, closing

TEST_F(BaseGeneTest, ShownFormCaptionsTitleAndCompanyAndEscCloses) {
    TfrmGeneTest* form = NewForm();
    ASSERT_TRUE(form->InitWithParams(FiveParams()));
    const auto life = form->LifeToken();
    form->Show();
    EXPECT_EQ(form->Caption(), "维修单清单[大卓电器]");
    EXPECT_EQ(form->pgOption->ActivePage(), form->tsOption1);
    EXPECT_EQ(form->ActiveControl(), form->edDate) << "the first page's first control";
    EXPECT_TRUE(form->FormConverted);
    ASSERT_EQ(form->lstCondition->Columns()->Count(), 2);
    EXPECT_EQ(form->lstCondition->Column(0)->Caption(), "方案名称");
    EXPECT_EQ(form->lstCondition->Column(1)->Caption(), "创建时间");
    form->Hide();
    form->Show();
    EXPECT_EQ(form->lstCondition->Columns()->Count(), 2) << "made again, not added to";
    Automation().PressKey("frmKpqTest.edName", VK_ESCAPE);
    Application().ProcessMessages();
    EXPECT_FALSE(Alive(life));
}

TEST_F(BaseGeneTest, StandAloneTitleCarriesTheExeNote) {
    auto* form = NewObject<TfrmGeneTest>(nullptr);
    form->CompanyCaption = "大卓电器";
    form->SetTitle("维修单清单");
    EXPECT_EQ(form->Caption(), "维修单清单[您现在运行的是Exe版本!][大卓电器]");
    form->ModulePath = kModule;
    form->SetTitle("维修单清单");
    EXPECT_EQ(form->Caption(), "维修单清单[大卓电器]");
    form->Free();
}

TEST_F(BaseGeneTest, SystemPageIsArrangedTheFirstTimeOnly) {
    TfrmGeneTest* form = NewForm();
    ASSERT_TRUE(form->InitWithParams(FiveParams()));
    form->SetBounds(0, 0, 200, 80);
    form->Show();
    EXPECT_FALSE(form->SystemPageArranged);
    Automation().Select("frmKpqTest.pgOption", "系统选项");
    EXPECT_TRUE(form->SystemPageArranged);
    EXPECT_EQ(form->Width(), 315);
    EXPECT_EQ(form->Height(), 110);
    EXPECT_EQ(form->tsOption2->Font()->Size(), 9);
    EXPECT_EQ(form->lblToday->BoundsRect(),
              Bounds(8, 12, form->lblToday->Width(), form->lblToday->Height()));
    EXPECT_EQ(form->edPrintDate->BoundsRect(), Bounds(60, 8, 85, form->edPrintDate->Height()));
    EXPECT_EQ(form->btnPrintDate->Left(), 147);
    form->edPrintDate->SetLeft(100);
    Automation().Select("frmKpqTest.pgOption", "基本选项");
    Automation().Select("frmKpqTest.pgOption", "系统选项");
    EXPECT_EQ(form->edPrintDate->Left(), 100) << "arranged once";
    Automation().Click("frmKpqTest.btnCancel");
    Application().ProcessMessages();
}

TEST_F(BaseGeneTest, PackDataSetsShowTheirTextFieldsInTheUsersCodePage) {
    TfrmGeneTest* form = NewForm();
    auto* name = dynamic_cast<TField*>(form->FindComponent("cdsTestNAME"));
    auto* memo = dynamic_cast<TField*>(form->FindComponent("cdsTestMEMO"));
    auto* quantity = dynamic_cast<TField*>(form->FindComponent("cdsTestQTY"));
    ASSERT_TRUE(name != nullptr && memo != nullptr && quantity != nullptr);
    EXPECT_EQ(name->DisplayLabel(), "名称");
    EXPECT_TRUE(name->OnGetText.Assigned());
    EXPECT_TRUE(name->OnSetText.Assigned());
    EXPECT_EQ(name->OnGetText.Method().Data, static_cast<TObject*>(form));
    EXPECT_EQ(form->MethodName(memo->OnGetText.Method().Code), "cdsTestMEMOGetText")
        << "a field's own handler stays";
    EXPECT_TRUE(memo->OnSetText.Assigned());
    EXPECT_FALSE(quantity->OnGetText.Assigned()) << "numbers are not texts";
    form->Free();
}

TEST_F(BaseGeneTest, MovingOrResizingRepaintsTheHostWindow) {
    auto* host = NewObject<TForm>(nullptr);
    host->SetName("frmHost");
    const HWND hostWindow = host->Handle();
    auto& nogui = dynamic_cast<TNoGuiWidgetset&>(Widgetset());
    TfrmGeneTest* form = NewForm();
    ASSERT_TRUE(form->InitWithParams(FiveParams(hostWindow)));
    EXPECT_EQ(form->HostWindow, hostWindow);
    form->HandleNeeded();
    const int before = nogui.Peer(hostWindow)->Updates;
    form->SetBounds(form->Left() + 10, form->Top(), form->Width(), form->Height());
    const int afterMove = nogui.Peer(hostWindow)->Updates;
    EXPECT_GT(afterMove, before);
    form->SetBounds(form->Left(), form->Top(), form->Width() + 20, form->Height());
    EXPECT_GT(nogui.Peer(hostWindow)->Updates, afterMove);
    form->Free();
    host->Free();
}

// ---- the form's window messages

TEST_F(BaseGeneTest, LookupRequestOpensTheQuickDateForThePrintDate) {
    TfrmGeneTest* form = NewForm();
    form->lookupBits = 4;
    ASSERT_TRUE(form->InitWithParams(FiveParams()));
    EXPECT_FALSE(form->LookupWindow.IsEmpty());
    form->Show();
    Automation().Select("frmKpqTest.pgOption", "系统选项");
    services_->Script().AddDate(TDateAnswer::On("20240315"));
    SendMessage(form->Handle(), WM_F2OPEN, 0, reinterpret_cast<LPARAM>(form->edPrintDate));
    EXPECT_EQ(form->edPrintDate->Text(), "2024/03/15");
    EXPECT_EQ(form->ActiveControl(), form->edPrintDate);
    // An address that is none of the form's controls is never followed.
    int stranger = 0;
    SendMessage(form->Handle(), WM_F2OPEN, 0, reinterpret_cast<LPARAM>(&stranger));
    EXPECT_EQ(form->edPrintDate->Text(), "2024/03/15");
    form->Free();
}

TEST_F(BaseGeneTest, LookupWithoutLookupWindowKeepsTheTypedDate) {
    TfrmGeneTest* form = NewForm();
    ASSERT_TRUE(form->InitWithParams(FiveParams()));
    form->edPrintDate->SetText("2024/01/02");
    form->LookupKey(VK_F2, form->edPrintDate);
    EXPECT_EQ(form->edPrintDate->Text(), "2024/01/02");
    form->Free();
}

TEST_F(BaseGeneTest, LastFocusedFollowsTheFocusAndForgetsFreedControls) {
    TfrmGeneTest* form = NewForm();
    ASSERT_TRUE(form->InitWithParams(FiveParams()));
    EXPECT_EQ(form->LastFocused, form);
    form->Show();
    Automation().Focus("frmKpqTest.edName");
    EXPECT_EQ(form->LastFocused, form->edName);
    form->edName->Free();
    EXPECT_EQ(form->LastFocused, nullptr);
    form->Free();
}

// ---- date fields, required fields, host commands and the job array

class BaseGeneFieldsTest : public BaseGeneTest {
protected:
    void SetUp() override {
        BaseGeneTest::SetUp();
        form_ = NewForm();
        formLife_ = form_->LifeToken();
        ASSERT_TRUE(form_->InitWithParams(FiveParams()));
        form_->btnOk->OnClick = TNotifyEvent(form_, &TfrmGeneTest::OkCounted);
        form_->Show();
    }
    void TearDown() override {
        // The token is taken while the form lives: a test may have closed and freed it.
        if (!formLife_.expired()) form_->Free();
        BaseGeneTest::TearDown();
    }

    TfrmGeneTest* form_ = nullptr;
    std::weak_ptr<const bool> formLife_;
};

TEST_F(BaseGeneFieldsTest, DateFieldsAddToTheListOnce) {
    form_->SetDateFields("edDate");
    EXPECT_EQ(form_->DateFieldList, "edDate,edPrintDate");
    const TMethod hooked = GetMethodProp(form_->edDate, "OnEnter");
    form_->SetDateFields("edDate,edPrintDate");
    EXPECT_EQ(form_->DateFieldList, "edDate,edPrintDate");
    EXPECT_EQ(GetMethodProp(form_->edDate, "OnEnter"), hooked);
    EXPECT_EQ(hooked, form_->GetOnDateFieldEnter().Method());
}

TEST_F(BaseGeneFieldsTest, DateFieldChecksBeforeItsOwnHandlers) {
    form_->SetDateFields("edDate");
    Automation().Focus("frmKpqTest.edName");
    const int enters = form_->dateEnters;
    Automation().Focus("frmKpqTest.edDate");
    EXPECT_EQ(form_->edDate->EditMask(), "9999/99/99;1; ");
    EXPECT_EQ(form_->dateEnters, enters + 1) << "the field's own enter handler still runs";
    const int exits = form_->dateExits;
    Automation().TypeText("frmKpqTest.edDate", "20241301");
    EXPECT_THROW(Automation().Focus("frmKpqTest.edName"), EAutomationError);
    ASSERT_EQ(Automation().Boxes().size(), 1u);
    EXPECT_EQ(Automation().Boxes()[0].Type, mtError);
    EXPECT_NE(form_->MessageCodes.find("E;000005; "), std::string::npos);
    EXPECT_EQ(form_->ActiveControl(), form_->edDate) << "the focus goes back to the bad date";
    EXPECT_EQ(form_->dateExits, exits);
    EXPECT_TRUE(form_->ValidationFailed);
    form_->edDate->SetText("2024/12/01");
    Automation().Focus("frmKpqTest.edName");
    EXPECT_EQ(form_->dateExits, exits + 1);
    EXPECT_EQ(Automation().Boxes().size(), 1u);
}

TEST_F(BaseGeneFieldsTest, LeavingForCancelChecksNothing) {
    form_->SetDateFields("edDate");
    Automation().Focus("frmKpqTest.edDate");
    Automation().TypeText("frmKpqTest.edDate", "20240231");
    const auto life = form_->LifeToken();
    Automation().Click("frmKpqTest.btnCancel");
    Application().ProcessMessages();
    EXPECT_TRUE(Automation().Boxes().empty());
    EXPECT_TRUE(life.expired()) << "Cancel closes the form";
}

TEST_F(BaseGeneFieldsTest, DatesInTheCompanysFormBecomeYmdTexts) {
    form_->SysSettings->SetValues("Sys001", "3");
    form_->SysSettings->SetValues("Sys002", ".");
    EXPECT_EQ(form_->DateToStorage(" 31.01.2024 "), "20240131");
    EXPECT_EQ(form_->DateToStorage("31.xx.2024"), "31.xx.2024");
    EXPECT_EQ(form_->DateToStorage("  .  .    "), "");
    EXPECT_EQ(form_->GetDateMask(), "99.99.9999;1; ");
    form_->SysSettings->SetValues("Sys001", "4");
    EXPECT_EQ(form_->DateToStorage("113.01.31"), "20240131");
    EXPECT_EQ(form_->GetBlankDate(), "  .  .  ");
    form_->SysSettings->SetValues("Sys001", "x");
    EXPECT_EQ(form_->GetDateForm(), 1);
    EXPECT_EQ(form_->YearMonthToStorage("2024.03"), "202403");
}

TEST_F(BaseGeneFieldsTest, RequiredFieldIsColouredAndCheckedBeforeOk) {
    const TColor designed = form_->edName->Color();
    form_->SetRequiredFields("edName, edDate;N");
    EXPECT_EQ(form_->edName->Color(), kRequiredColour);
    EXPECT_EQ(form_->edDate->Color(), kRequiredColour);
    Automation().Focus("frmKpqTest.edDate");
    Automation().Click("frmKpqTest.btnOk");
    EXPECT_EQ(form_->okClicks, 0);
    ASSERT_EQ(Automation().Boxes().size(), 1u);
    EXPECT_NE(form_->MessageCodes.find("E;000037; "), std::string::npos);
    EXPECT_EQ(form_->ActiveControl(), form_->edName);
    Automation().TypeText("frmKpqTest.edName", "x");
    Automation().Click("frmKpqTest.btnOk");
    EXPECT_EQ(form_->okClicks, 1) << "edDate (N) is never checked";
    form_->SetRequiredFields("");
    EXPECT_EQ(form_->edName->Color(), designed);
    Automation().Click("frmKpqTest.btnOk");
    EXPECT_EQ(form_->okClicks, 2);
}

TEST_F(BaseGeneFieldsTest, HostCommandRunsTheSubmissionForNamesThatTakeValues) {
    const Variant values = VarArrayOf({VarArrayOf({"x"})});
    auto command = [&](int mode, const char* name) {
        const Variant entries = VarArrayOf({VarArrayOf({0, name})});
        return VarArrayOf(
            {true, VarArrayOf({mode, VarArrayOf({true, VarArrayOf({entries, values})})})});
    };
    form_->HandleHostCommand(command(0, "edName"));
    EXPECT_EQ(form_->okClicks, 0) << "mode 0 only checks";
    EXPECT_TRUE(form_->ShowResultMessage);
    EXPECT_FALSE(form_->AutoRun);
    form_->HandleHostCommand(command(2, "edName"));
    EXPECT_EQ(form_->okClicks, 1);
    EXPECT_FALSE(form_->ShowResultMessage);
    EXPECT_TRUE(form_->AutoRun);
    form_->HandleHostCommand(command(1, "edNowhere"));
    EXPECT_EQ(form_->okClicks, 1);
    EXPECT_NE(form_->MessageCodes.find("W;000014; "), std::string::npos);
    ASSERT_EQ(Automation().Boxes().size(), 1u);
    EXPECT_EQ(Automation().Boxes()[0].Buttons, TMsgDlgButtons{mbOK});
    form_->HandleHostCommand(VarArrayOf({true, "no command"}));
    EXPECT_EQ(form_->LastHostCommand, Variant("no command"));
}

TEST_F(BaseGeneFieldsTest, JobArrayCarriesEnvironmentAndPrintDate) {
    form_->edPrintDate->SetText("2024/03/15");
    ASSERT_TRUE(form_->BuildJob());
    const Variant& job = form_->JobArray;
    ASSERT_EQ(job.HighBound(1), 2);
    const Variant& env = job[0];
    EXPECT_EQ(env.LowBound(1), 1);
    EXPECT_EQ(env.HighBound(1), 9);
    EXPECT_EQ(env[1], Variant("KPQX07"));
    EXPECT_EQ(env[2], Variant(9));
    EXPECT_EQ(env[3], Variant(1));
    EXPECT_EQ(env[4], Variant("DAZudo60"));
    EXPECT_EQ(env[5], Variant("u01"));
    EXPECT_EQ(env[8], Variant("KPQX07S.Class1"));
    EXPECT_EQ(env[9], Variant("R"));
    EXPECT_EQ(job[1][1], VarArrayOf({"制表日期", "edPrintDate"}));
    EXPECT_EQ(job[2][1], Variant("20240315"));
    form_->edPrintDate->SetText("");
    ASSERT_TRUE(form_->BuildJob());
    EXPECT_EQ(form_->JobArray[2][1], Variant(""));
}

TEST_F(BaseGeneFieldsTest, CtrlPageKeysTurnThePagesRound) {
    Automation().PressKey("frmKpqTest.edName", VK_NEXT, {ssCtrl});
    EXPECT_EQ(form_->pgOption->ActivePage(), form_->tsOption2);
    Automation().PressKey("frmKpqTest.edPrintDate", VK_NEXT, {ssCtrl});
    EXPECT_EQ(form_->pgOption->ActivePage(), form_->tsOption1) << "wraps to the first page";
    Automation().PressKey("frmKpqTest.edDate", VK_PRIOR, {ssCtrl});
    EXPECT_EQ(form_->pgOption->ActivePage(), form_->tsOption2);
}

TEST_F(BaseGeneFieldsTest, EnterOnAPageTurnControlShowsTheNextPage) {
    Automation().PressKey("frmKpqTest.edDate", VK_RETURN);
    EXPECT_EQ(form_->ActiveControl(), form_->edName) << "Enter moves to the next control";
    form_->PageTurnControls->Add(form_->edName);
    Automation().PressKey("frmKpqTest.edName", VK_RETURN);
    EXPECT_EQ(form_->pgOption->ActivePage(), form_->tsOption2);
    Automation().PressKey("frmKpqTest.edPrintDate", VK_RETURN);
    EXPECT_EQ(form_->pgOption->ActivePage(), form_->tsOption2) << "the last page stays";
}

TEST_F(BaseGeneFieldsTest, EnterMakesNewLinesOnlyOnAMemosFirstTwoLines) {
    Automation().Focus("frmKpqTest.meNote");
    Automation().PressKey("frmKpqTest.meNote", VK_RETURN);
    Automation().PressKey("frmKpqTest.meNote", VK_RETURN);
    EXPECT_EQ(form_->meNote->CaretPos().Y, 2);
    EXPECT_EQ(form_->ActiveControl(), form_->meNote);
    const std::string text = form_->meNote->Text();
    Automation().PressKey("frmKpqTest.meNote", VK_RETURN);
    EXPECT_EQ(form_->meNote->Text(), text) << "the third line's Enter moves on";
    EXPECT_EQ(form_->ActiveControl(), form_->grdLines);
}

TEST_F(BaseGeneFieldsTest, EnterWalksAGridsCellsAndAddsRows) {
    Automation().Focus("frmKpqTest.grdLines");
    form_->grdLines->SetCol(1);
    Automation().PressKey("frmKpqTest.grdLines", VK_RETURN);
    EXPECT_EQ(form_->grdLines->Col(), 2);
    Automation().PressKey("frmKpqTest.grdLines", VK_RETURN);
    EXPECT_EQ(form_->grdLines->RowCount(), 3);
    EXPECT_EQ(form_->grdLines->Row(), 2);
    EXPECT_EQ(form_->grdLines->Col(), 1) << "the first column that is not fixed";
    EXPECT_EQ(form_->ActiveControl(), form_->grdLines);
}

}  // namespace
}  // namespace kv
