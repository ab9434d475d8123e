// Every call of "ReportCounterS.dmReportCounter", refusals included, once in-process and once
// through the daemon on a loopback port.
#include <gtest/gtest.h>

#include "platform/net/ProviderRows.h"
#include "platform/net/SocketConnection.h"
#include "platform/net/VariantCodec.h"
#include "platform/ui/DBClient.h"
#include "suite/appserver/AppStore.h"
#include "suite/appserver/ReportCounter.h"
#include "tests/suite/appserver/AppServerFixture.h"

namespace kv {
namespace {

enum class Transport { InProcess, Daemon };

class ReportCounterTest : public ::testing::TestWithParam<Transport> {
protected:
    void SetUp() override {
        if (GetParam() == Transport::InProcess) {
            RegisterReportCounterClass({database_, false, nullptr});
        } else {
            daemon_ = std::make_unique<TDaemonProcess>(database_, dir_.File("server.log"),
                                                       dir_.File("port"));
        }
    }
    void TearDown() override { UnregisterOleClass(kReportCounterProgId); }

    // A new session: a new object in-process, a new connection to the daemon.
    Variant Session() {
        if (GetParam() == Transport::InProcess) return CreateOleObject(kReportCounterProgId);
        remotes_.push_back(ConnectRemote(daemon_->Port()));
        return remotes_.back().server;
    }

    static Variant Key(std::initializer_list<Variant> items) { return VarArrayOf(items); }
    static Variant Scheme(const std::string& name, const std::string& user, bool replace = false,
                          const std::string& values = "2\r\n") {
        return VarArrayOf({Variant(name), Variant(user), Variant("20240305"), Variant("KPQX07"),
                           Variant("cbo08.itemindex;"), Variant(values), Variant(replace)});
    }
    static std::string Call(const Variant& server, const char* name, Variant arg) {
        return VarToStr(OleCall(server, name, {VarRef(arg)}));
    }
    std::vector<std::string> Names(const Variant& server, const std::string& user) {
        OleCall(server, "LoadTable", {Key({Variant(user), Variant("KPQX07")})});
        const auto rows = FetchProviderRows(server, kSchemeProvider);
        std::vector<std::string> names;
        for (const auto& row : rows.rows)
            names.push_back(VarToStr(row[0]));
        return names;
    }

    TTempDir dir_;
    std::string database_ = dir_.File("company.db");
    std::unique_ptr<TDaemonProcess> daemon_;
    std::vector<TRemoteSession> remotes_;
};

TEST_P(ReportCounterTest, GetPowerAnswersTheRightsRowOrTheDefault) {
    {
        TAppStore store(database_, false);
        TRightsRecord rights;
        rights.rightsCode = "5";
        rights.field4 = "YYYYYYNY";
        rights.limitPrefix = "LIM";
        rights.limits = {"A", "B"};
        store.PutRights("U1", "KPQX07", rights);
    }
    const Variant server = Session();
    const Variant answer =
        OleCall(server, "GetPower",
                {Key({Variant("DEMO"), Variant("U1"), Variant("KPQX07"), Variant("")})});
    ASSERT_EQ(answer.HighBound(1), 5);
    EXPECT_EQ(answer[1].AsString(), "5,Y,Y,YYYYYYNY,,");
    EXPECT_EQ(answer[4].AsString(), "LIM");
    EXPECT_EQ(answer[5][0].AsInteger(), 2);
    EXPECT_EQ(answer[5][2].AsString(), "B");
    const Variant fallback =
        OleCall(server, "GetPower",
                {Key({Variant("DEMO"), Variant("U9"), Variant("KPQX07"), Variant("")})});
    EXPECT_EQ(fallback[1].AsString().substr(0, 6), "1,Y,Y,");
    EXPECT_EQ(fallback[5][0].AsInteger(), 0);
    EXPECT_TRUE(VarIsOrdinal(OleGet(server, "SQLType")));
    EXPECT_THROW(OleCall(server, "GetPower", {Variant("not an array")}), EOleException);
}

TEST_P(ReportCounterTest, RequestStoresTheJobAndAnswersOrderedDayNumbers) {
    const Variant server = Session();
    const Variant job = MakeJob("U1");
    const std::string first = VarToStr(OleCall(server, "Request", {job}));
    const std::string second = VarToStr(OleCall(server, "Request", {MakePeriodicJob("U1")}));
    ASSERT_EQ(first.size(), 14u) << first << " " << VarToStr(OleGet(server, "ErrorDescript"));
    EXPECT_EQ(first.substr(0, 8), FormatDateTime("yyyymmdd", Now()));
    EXPECT_LT(first, second);
    TAppStore store(database_, false);
    const auto stored = store.FindJob(first);
    ASSERT_TRUE(stored.has_value());
    EXPECT_EQ(VarToDebugText(DecodeVariant(stored->record.encodedArray)), VarToDebugText(job));
    EXPECT_EQ(stored->record.generation, 0);
    EXPECT_DOUBLE_EQ(stored->record.generationTime, EncodeDateTime(2024, 3, 5, 8, 7, 0, 0));
    EXPECT_TRUE(store.FindJob(second)->record.periodic);
}

TEST_P(ReportCounterTest, RequestRefusesMalformedJobsWithAReason) {
    auto withEnv = [](int entry, Variant value) {
        Variant job = MakeJob("U1");
        job[0][entry] = std::move(value);
        return job;
    };
    Variant shortTexts = MakeJob("U1");
    shortTexts[1] = VarArrayCreate({1, 1});
    Variant upperPeriodic = MakePeriodicJob("U1");
    upperPeriodic[0][9] = Variant("R");
    Variant badCycle = MakePeriodicJob("U1");
    badCycle[3][2][0] = Variant(7);
    const Variant cases[] = {Variant("job"),
                             VarArrayOf({Variant(1)}),
                             withEnv(2, Variant(13)),        // count differs from the array
                             withEnv(3, Variant(5)),         // more conditions than values
                             withEnv(5, Variant::Wide("")),  // no user
                             withEnv(10, Variant(3)),        // unknown generation mode
                             withEnv(11, Variant("not a date")),
                             withEnv(9, Variant("r")),  // periodic without a period
                             shortTexts,
                             upperPeriodic,
                             badCycle};
    const Variant server = Session();
    for (const auto& job : cases) {
        EXPECT_EQ(VarToStr(OleCall(server, "Request", {job})), "ERROR") << job;
        EXPECT_NE(VarToStr(OleGet(server, "ErrorDescript")), "") << job;
    }
    EXPECT_TRUE(TAppStore(database_, false).JobNumbers().empty());
    // An accepted job clears the session's error.
    EXPECT_NE(VarToStr(OleCall(server, "Request", {MakeJob("U1")})), "ERROR");
    EXPECT_EQ(VarToStr(OleGet(server, "ErrorDescript")), "");
}

TEST_P(ReportCounterTest, Request1RegistersALocalRunThatUpdateStatus1Ends) {
    const Variant server = Session();
    const std::string number =
        VarToStr(OleCall(server, "Request1", {MakeJob("U1"), Variant("PC-07")}));
    ASSERT_NE(number, "ERROR");
    EXPECT_EQ(number.substr(0, 8) + "0001", FormatDateTime("yyyymmdd", Now()) + "0001");
    OleCall(server, "UpdateStatus1", {Variant(number), Variant("I;000001;"), Variant::Date(Now())});
    EXPECT_THROW(OleCall(server, "UpdateStatus1",
                         {Variant("19990101000001"), Variant(""), Variant::Date(Now())}),
                 EOleException);
    EXPECT_EQ(VarToStr(OleCall(server, "Request1", {Variant(), Variant("PC")})), "ERROR");
    TAppStore store(database_, false);
    EXPECT_EQ(store.RunCount(number), 1);
    EXPECT_EQ(store.FindJob(number)->record.computer, "PC-07");
    EXPECT_EQ(store.FindJob(number)->status, "done");
}

TEST_P(ReportCounterTest, SchemesRoundTripThroughTheProvider) {
    const Variant server = Session();
    const std::string values =
        "sp_Discrete\x03"
        "A01\x01X\x04\r\n";
    EXPECT_EQ(Call(server, "InsertConTable", Scheme("月报", "U1", false, values)), "");
    EXPECT_NE(Call(server, "InsertConTable", Scheme("月报", "U1")), "");
    EXPECT_EQ(Call(server, "InsertConTable", Scheme("月报", "U1", true, values)), "");
    OleCall(server, "LoadTable", {Key({Variant("U1"), Variant("KPQX07")})});
    const auto rows = FetchProviderRows(server, "pvdConSave");
    ASSERT_EQ(rows.rows.size(), 1u);
    EXPECT_EQ(VarToStr(rows.Value(0, "NCONDITION")), "月报");
    EXPECT_EQ(VarToStr(rows.Value(0, "CREATOR")), "U1");
    EXPECT_EQ(VarToStr(rows.Value(0, "PROGRAMME")), "KPQX07");
    EXPECT_EQ(VarToStr(rows.Value(0, "SCONDITION")), "cbo08.itemindex;");
    EXPECT_EQ(VarToStr(rows.Value(0, "VCONDITION")), values);
    EXPECT_EQ(VarToStr(rows.Value(0, "CREATE_DATE")), "20240305");
    EXPECT_THROW(FetchProviderRows(server, "pvdOther"), EOleException);
}

TEST_P(ReportCounterTest, RenameAndDeleteRefuseMissingTakenAndForeignSchemes) {
    const Variant server = Session();
    ASSERT_EQ(Call(server, "InsertConTable", Scheme("A", "U1")), "");
    ASSERT_EQ(Call(server, "InsertConTable", Scheme("B", "U1")), "");
    ASSERT_EQ(Call(server, "InsertConTable", Scheme("A", "U2")), "");
    auto rename = [&](const char* from, const char* fromUser, const char* to, const char* toUser) {
        return VarToStr(OleCall(server, "ChangeConName",
                                {Key({Variant(from), Variant(fromUser), Variant("KPQX07")}),
                                 Key({Variant(to), Variant(toUser), Variant("KPQX07")})}));
    };
    EXPECT_NE(rename("X", "U1", "Y", "U1"), "");  // missing
    EXPECT_NE(rename("A", "U1", "B", "U1"), "");  // taken
    EXPECT_NE(rename("A", "U1", "C", "U2"), "");  // would move it to another user
    EXPECT_EQ(rename("A", "U1", "C", "U1"), "");
    auto erase = [&](const char* name, const char* user) {
        return Call(server, "DeleteConTable",
                    Key({Variant(name), Variant(user), Variant("KPQX07")}));
    };
    EXPECT_NE(erase("A", "U1"), "");
    EXPECT_EQ(erase("B", "U1"), "");
    EXPECT_EQ(Names(server, "U1"), std::vector<std::string>{"C"});
    EXPECT_EQ(Names(server, "U2"), std::vector<std::string>{"A"});
}

TEST_P(ReportCounterTest, SelectionsBelongToTheirSession) {
    const Variant first = Session();
    const Variant second = Session();
    ASSERT_EQ(Call(first, "InsertConTable", Scheme("A", "U1")), "");
    OleCall(first, "LoadTable", {Key({Variant("U1"), Variant("KPQX07")})});
    OleCall(second, "LoadTable", {Key({Variant("U2"), Variant("KPQX07")})});
    EXPECT_EQ(FetchProviderRows(first, kSchemeProvider).rows.size(), 1u);
    EXPECT_TRUE(FetchProviderRows(second, kSchemeProvider).rows.empty());
}

TEST_P(ReportCounterTest, TheFormsClientDataSetFindsASchemeByItsKey) {
    // As the condition form does it: MainMidas, ClientDataSet1 on "pvdConSave", Index1.
    TComponent form(nullptr);
    auto* connection = new TSocketConnection(&form);
    connection->SetServerName(kReportCounterProgId);
    if (GetParam() == Transport::InProcess) {
        connection->SetAppServer(CreateOleObject(connection->ServerName()));
    } else {
        connection->SetAddress("127.0.0.1");
        connection->SetPort(daemon_->Port());
    }
    const Variant server = connection->AppServer();
    ASSERT_EQ(Call(server, "InsertConTable", Scheme("A", "U1", false, "1\r\n")), "");
    ASSERT_EQ(Call(server, "InsertConTable", Scheme("B", "U1", false, "2\r\n")), "");
    OleCall(server, "LoadTable", {Key({Variant("U1"), Variant("KPQX07")})});
    auto* schemes = new TClientDataSet(&form);
    schemes->SetProviderName(kSchemeProvider);
    schemes->SetRemoteServer(connection);
    schemes->SetIndexFieldNames("NCONDITION;CREATOR;PROGRAMME");
    schemes->Open();
    EXPECT_EQ(schemes->RecordCount(), 2);
    ASSERT_TRUE(schemes->FindKey({Variant("B"), Variant("U1"), Variant("KPQX07")}));
    EXPECT_EQ(schemes->FieldByName("VCONDITION")->AsString(), "2\r\n");
    EXPECT_FALSE(schemes->FindKey({Variant("B"), Variant("U2"), Variant("KPQX07")}));
}

INSTANTIATE_TEST_SUITE_P(Transports, ReportCounterTest,
                         ::testing::Values(Transport::InProcess, Transport::Daemon),
                         [](const auto& param) {
                             return param.param == Transport::InProcess ? "InProcess" : "Daemon";
                         });

}  // namespace
}  // namespace kv
