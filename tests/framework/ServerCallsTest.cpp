// The framework's server calls of the generic condition form: system settings with their
// defaults, the program table, check queries, counters, and the connection to the application
// server in this process, through the daemon, and to a server that cannot be reached.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/core/Dispatch.h"
#include "platform/core/SysUtils.h"
#include "platform/net/SocketConnection.h"
#include "src/framework/BaseGene.h"
#include "suite/appserver/ReportCounter.h"
#include "suite/hostsvc/HostServices.h"
#include "tests/framework/FrameworkTestSupport.h"
#include "tests/platform/ui/UiTestFixture.h"
#include "tests/suite/appserver/AppServerFixture.h"

namespace kv {

// A condition form of KPQX07 that names the application server, as the job-option level does.
class TfrmKpqServerTest : public TfrmBaseGene {
    KV_CLASS(TfrmKpqServerTest, TfrmBaseGene)
public:
    explicit TfrmKpqServerTest(TComponent* owner) : TfrmBaseGene(owner) {}
    void SetServerName(TSocketConnection& connection) override {
        connection.SetServerName(kReportCounterProgId);
    }
};
KV_PUBLISHED(TfrmKpqServerTest) {}

namespace {

using test::TClientSettings;
using test::TestInstallation;

// A check-query object that records what it was given and answers as told.
class TRecordingValidator : public TAutoObject {
public:
    TRecordingValidator() {
        RegisterProperty(
            "ProductID", [this] { return productId; }, [this](const Variant& v) { productId = v; });
        RegisterProperty(
            "BaseLimited", [this] { return baseLimited; },
            [this](const Variant& v) { baseLimited = v; });
        for (const char* name : {"QueryData", "CheckValue"}) {
            RegisterMethod(
                name,
                [this, name](std::vector<Variant>& args) {
                    calls.push_back(std::string(name));
                    arguments = args;
                    if (fail) throw EOleException("the query failed");
                    args[4] = answer;
                    return Variant(found);
                },
                5, 5);
        }
    }

    Variant productId;
    Variant baseLimited;
    std::vector<std::string> calls;
    std::vector<Variant> arguments;
    Variant answer;
    bool found = true;
    bool fail = false;
};

// A counter object that records its requests.
class TRecordingCounter : public TAutoObject {
public:
    TRecordingCounter() {
        RegisterMethod(
            "GetCounter",
            [this](std::vector<Variant>& args) {
                arguments = args;
                return Variant("N0001");
            },
            3, 3);
    }
    std::vector<Variant> arguments;
};

constexpr const char* kModule = "/opt/kv/bin/KPQX07C.so";

class ServerCallsTest : public test::UiTest {
protected:
    void TearDown() override {
        UiTest::TearDown();
        UnregisterHostManagerClass();
        UnregisterOleClass(kReportCounterProgId);
    }

    void Install(const TClientSettings& settings = {}) {
        installation_ = std::make_unique<TestInstallation>(settings);
        THostOptions host;
        host.databasePath = Database();
        host.codePage = settings.uiCodePage;
        services_ = THostServices::Create(host);
        RegisterHostManagerClass(services_);
        TAppServerOptions server;
        server.databasePath = Database();
        RegisterReportCounterClass(server);
    }

    std::string Database() const { return installation_->Root() + "/company.db"; }

    // A form not initialised yet: no host object, no settings.
    TfrmKpqServerTest* NewForm(const TClientSettings& settings = {}) {
        Install(settings);
        return CreateForm();
    }

    TfrmKpqServerTest* CreateForm() {
        auto* form = FixtureForm(NewObject<TfrmKpqServerTest>(nullptr));
        form->SetName("frmKpqServer");  // the form of the program KPQX07
        return form;
    }

    // A form initialised as the controller does it.
    TfrmKpqServerTest* InitialisedForm(const TClientSettings& settings = {}) {
        TfrmKpqServerTest* form = NewForm(settings);
        form->SetModulePath(kModule);
        form->HostObject = services_->CreateHostObject();
        EXPECT_TRUE(form->InitWithParams(VarArrayOf(
            {Variant("u01"), Variant("DAZudo60"), Variant("DAZudo60"), Variant(0), Variant("")})))
            << form->MessageTexts;
        return form;
    }

    std::unique_ptr<TestInstallation> installation_;
    std::shared_ptr<THostServices> services_;
};

// ---- system settings

TEST_F(ServerCallsTest, SettingsComeFromTheCompanyWithDefaultsForUnnamedCategories) {
    TfrmKpqServerTest* form = InitialisedForm();
    EXPECT_EQ(form->GetSysSetting("Sys001"), "1");
    EXPECT_EQ(form->GetSysSetting("SYS002"), "/");
    EXPECT_EQ(form->GetSysSetting("KVT002"), "大卓电器");
    EXPECT_EQ(form->CompanyCaption, "大卓电器");
    EXPECT_EQ(form->GetSysSetting("sys007"), "产品大类");
    EXPECT_EQ(form->GetSysSetting("sys010"), "商品分类方式四");
    EXPECT_EQ(form->GetSysSetting("NoSuchSetting"), "");
}

struct CategoryCase {
    const char* uiCodePage;
    std::vector<std::string> names;
};

class CategoryDefaultTest : public ServerCallsTest,
                            public ::testing::WithParamInterface<CategoryCase> {};

TEST_P(CategoryDefaultTest, UnsetCategoriesHaveTheirCodePagesDefault) {
    const CategoryCase& c = GetParam();
    TfrmKpqServerTest* form = NewForm({c.uiCodePage, c.uiCodePage, "936"});
    EXPECT_EQ(form->GetSysSetting(""), "");  // no counter: nothing to load
    const char* settings[] = {"sys007", "SYS008", "Sys009", "SYS010"};
    for (std::size_t i = 0; i < 4; ++i)
        EXPECT_EQ(form->GetSysSetting(settings[i]), c.names[i]) << settings[i];
    EXPECT_EQ(form->GetSysSetting("SYS011"), "");
    EXPECT_EQ(form->GetSysSetting("Sys001"), "");  // the caller then takes date form 1
}

INSTANTIATE_TEST_SUITE_P(CodePages, CategoryDefaultTest,
                         ::testing::Values(CategoryCase{"936",
                                                        {"商品分类方式一", "商品分类方式二",
                                                         "商品分类方式三", "商品分类方式四"}},
                                           CategoryCase{"437",
                                                        {"Inv.Cate.1", "Inv.Cate.2", "Inv.Cate.3",
                                                         "Inv.Cate.4"}}));

// ---- program table and check queries

TEST_F(ServerCallsTest, ProgramRowGivesTitleAndLogFlag) {
    TfrmKpqServerTest* form = InitialisedForm();
    EXPECT_EQ(form->ProgramCode, "KPQX07");
    EXPECT_EQ(form->ProgramName, "维修单清单");
    EXPECT_EQ(form->Title, "维修单清单");
    EXPECT_TRUE(form->WantLog);
    form->ProgramCode = "KPQX99";
    EXPECT_EQ(form->LoadProgramInfo(), "");
    EXPECT_EQ(form->ProgramName, "");
}

TEST_F(ServerCallsTest, ProgramRowOnTheEnglishCodePageGivesTheEnglishTitle) {
    TfrmKpqServerTest* form = InitialisedForm({"437", "437", "936"});
    EXPECT_EQ(form->ProgramName, "Repair Order List");
}

TEST_F(ServerCallsTest, ProgramRowThatIsNoRowNamesTheProgramByItsCode) {
    TfrmKpqServerTest* form = NewForm();
    auto validator = std::make_shared<TRecordingValidator>();
    validator->answer = "not a row";
    form->Validator = Variant(validator);
    form->ProgramCode = "KPQX07";
    form->WantLog = true;
    EXPECT_EQ(form->LoadProgramInfo(), "KPQX07");
    EXPECT_FALSE(form->WantLog);
    validator->found = false;
    EXPECT_EQ(form->LoadProgramInfo(), "");
}

TEST_F(ServerCallsTest, QueryPutsProductAndLimitsOnTheValidatorAndPassesEverything) {
    TfrmKpqServerTest* form = NewForm();
    auto validator = std::make_shared<TRecordingValidator>();
    validator->answer = VarArrayOf({Variant("D01"), Variant("维修一部")});
    form->Validator = Variant(validator);
    form->ProductId = 7;
    form->BaseLimits =
        "L\x03"
        "1\x03"
        "D01\x03";
    form->DatabaseName = "DAZudo60";
    Variant result;
    EXPECT_TRUE(form->QueryTable("CMSME", "01", true, result, VarArrayOf({Variant("D01")})));
    EXPECT_EQ(validator->calls, std::vector<std::string>{"QueryData"});
    EXPECT_EQ(validator->productId, Variant(7));
    EXPECT_EQ(VarType(validator->baseLimited), varOleStr);
    EXPECT_EQ(VarToStr(validator->baseLimited), form->BaseLimits);
    ASSERT_EQ(validator->arguments.size(), 5u);
    EXPECT_EQ(validator->arguments[0], Variant("CMSME"));
    EXPECT_EQ(validator->arguments[1], Variant("01"));
    EXPECT_EQ(validator->arguments[2], Variant("DAZudo60"));
    EXPECT_EQ(validator->arguments[3], VarArrayOf({Variant("D01")}));
    EXPECT_EQ(result, validator->answer);

    EXPECT_TRUE(form->QueryTable("CMSME", "01", false, result, Variant("D01")));
    EXPECT_EQ(validator->calls.back(), "CheckValue");
    validator->fail = true;
    EXPECT_FALSE(form->QueryTable("CMSME", "01", false, result, Variant("D01")));
    form->Validator = Unassigned();
    EXPECT_FALSE(form->QueryTable("CMSME", "01", false, result, Variant("D01")));
}

TEST_F(ServerCallsTest, QueryOfTheHostsValidatorFindsAndMisses) {
    TfrmKpqServerTest* form = InitialisedForm();
    Variant row;
    ASSERT_TRUE(form->QueryTable("ADMMB", "01", false, row, VarArrayOf({Variant("KPQX07")})));
    EXPECT_EQ(VarToStr(row[0]), "维修单清单");
    EXPECT_FALSE(form->QueryTable("ADMMB", "01", false, row, VarArrayOf({Variant("NONE")})));
}

// ---- counters

TEST_F(ServerCallsTest, CounterGetsTheUpperCaseNameAndTheCompany) {
    TfrmKpqServerTest* form = NewForm();
    Variant result = "stale";
    form->GetCounter("simplesql", Variant("SELECT 1"), result);
    EXPECT_TRUE(VarIsEmpty(result));  // no counter object
    auto counter = std::make_shared<TRecordingCounter>();
    form->Counter = Variant(counter);
    form->CompanyId = "DAZudo60";
    form->DatabaseName = "DAZudo60db";
    form->GetCounter("jobno", Variant("x"), result);
    EXPECT_EQ(result, Variant("N0001"));
    ASSERT_EQ(counter->arguments.size(), 3u);
    EXPECT_EQ(counter->arguments[0], Variant("JOBNO"));
    EXPECT_EQ(counter->arguments[1], Variant("x"));
    EXPECT_EQ(counter->arguments[2], VarArrayOf({Variant("DAZudo60"), Variant("DAZudo60db")}));
}

TEST_F(ServerCallsTest, HostCounterAnswersAReadOnlyQuery) {
    TfrmKpqServerTest* form = InitialisedForm();
    Variant result;
    form->GetCounter("SimpleSQL", Variant("SELECT MB001 FROM ADMMB WHERE MB001 = 'KPQX07'"),
                     result);
    EXPECT_NE(VarToDebugText(result).find("KPQX07"), std::string::npos) << result;
}

// ---- the application server

TEST_F(ServerCallsTest, ConfigurationPointsTheConnectionAtTheFirstServer) {
    TfrmKpqServerTest* form = NewForm({"936", "936", "936", "apps1;apps2", 8211});
    EXPECT_TRUE(form->ConfigureConnection());
    EXPECT_EQ(form->MainMidas->Address(), "apps1");
    EXPECT_EQ(form->MainMidas->Port(), 8211);
    EXPECT_EQ(form->MainMidas->ObjectBroker(), nullptr);
}

TEST_F(ServerCallsTest, ConfigurationAfterAnErrorReportsItAgainAndFails) {
    TfrmKpqServerTest* form = NewForm({"936", "936", "936", "apps1", 8211});
    form->MainMidas->SetAddress("before");
    form->ShowMessageCode("E;-000038");
    EXPECT_FALSE(form->ConfigureConnection());
    EXPECT_EQ(form->MainMidas->Address(), "before");
    EXPECT_EQ(form->MessageCodes, "E;-000038; E;-000038; ; ");
    EXPECT_TRUE(Automation().Boxes().empty());  // the recorded-only code stays unshown
}

TEST_F(ServerCallsTest, LocalAddressCreatesTheServerInThisProcess) {
    TfrmKpqServerTest* form = InitialisedForm();
    EXPECT_TRUE(form->LocalServer);
    ASSERT_FALSE(VarIsClear(form->AppServer));
    EXPECT_FALSE(form->MainMidas->Connected());
    EXPECT_EQ(OleCall(form->AppServer, "SQLType").AsInteger(), 0);
    EXPECT_EQ(form->MainMidas->AppServer().AsDispatch(), form->AppServer.AsDispatch());
    EXPECT_TRUE(form->ConnectAppServer());  // again: a fresh server object
    EXPECT_FALSE(VarIsClear(form->AppServer));
}

TEST_F(ServerCallsTest, OtherAddressReachesTheDaemon) {
    Install();
    const TTempDir scratch;
    TDaemonProcess daemon(Database(), scratch.File("daemon.log"), scratch.File("port"));
    TestInstallation::Write(installation_->ClientPath() + "VelmarC.ini",
                            "[Server Information]\nComputerName=localhost\nServerPort=" +
                                std::to_string(daemon.Port()) + "\n");
    TfrmKpqServerTest* form = CreateForm();
    form->SetModulePath(kModule);
    form->HostObject = services_->CreateHostObject();
    ASSERT_TRUE(form->InitWithParams(VarArrayOf(
        {Variant("u01"), Variant("DAZudo60"), Variant("DAZudo60"), Variant(0), Variant("")})))
        << form->MessageTexts;
    EXPECT_FALSE(form->LocalServer);
    EXPECT_TRUE(form->MainMidas->Connected());
    EXPECT_EQ(OleCall(form->AppServer, "SQLType").AsInteger(), 0);
    EXPECT_TRUE(Automation().Boxes().empty());
}

TEST_F(ServerCallsTest, UnreachableServerIsRecordedAndAnswersFalse) {
    TfrmKpqServerTest* form = NewForm();
    form->MainMidas->SetAddress("localhost");
    form->MainMidas->SetPort(1);  // nothing listens there
    form->MainMidas->SetServerName(kReportCounterProgId);
    form->MainMidas->SetTimeout(5000);
    EXPECT_FALSE(form->ConnectAppServer());
    EXPECT_TRUE(VarIsClear(form->AppServer));
    EXPECT_FALSE(form->LocalServer);
    EXPECT_EQ(form->MessageCodes, "E;-1; ");
    EXPECT_FALSE(form->MessageTexts.empty());
    EXPECT_TRUE(Automation().Boxes().empty());
}

TEST_F(ServerCallsTest, UnknownLocalServerClassIsRecorded) {
    TfrmKpqServerTest* form = NewForm();
    form->MainMidas->SetAddress("127.0.0.1");
    form->MainMidas->SetServerName("NoSuch.Server");
    EXPECT_FALSE(form->ConnectAppServer());
    EXPECT_TRUE(form->LocalServer);
    EXPECT_NE(form->MessageTexts.find("NoSuch.Server"), std::string::npos) << form->MessageTexts;
}

}  // namespace
}  // namespace kv
