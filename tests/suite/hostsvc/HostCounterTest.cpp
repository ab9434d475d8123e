// The counter service: the company's settings, "SimpleSQL" and its refusals, named counters.
#include <gtest/gtest.h>

#include <map>

#include "platform/core/Exceptions.h"
#include "suite/hostsvc/DemoDatabase.h"
#include "suite/hostsvc/HostCounter.h"
#include "tests/suite/hostsvc/HostSvcFixture.h"

namespace kv {
namespace {

class HostCounter : public HostSvcTest {
protected:
    Variant Scope() const { return VarArrayOf({"DAZudo60", "DAZudo60"}); }
    Variant Sql(const Variant& params) {
        return OleCall(Counter(), "GetCounter", {"SIMPLESQL", params, Scope()});
    }
    std::string Refusal(const std::string& sql) {
        try {
            Sql(Variant(sql));
        } catch (const EOleException& error) {
            return error.what();
        }
        return "(accepted)";
    }
};

TEST_F(HostCounter, SysInfoListsTheCompanysSettingsAsNameValueColumns) {
    Variant company("dazudo60");
    const Variant info = OleCall(Counter(), "GetSysInfo", {VarRef(company)});
    EXPECT_EQ(company.AsString(), "DAZudo60");  // the code as stored comes back
    ASSERT_EQ(info.DimCount(), 2);
    EXPECT_EQ(info.LowBound(1), 0);
    EXPECT_EQ(info.HighBound(1), 1);
    std::map<std::string, std::string> settings;
    for (int i = info.LowBound(2); i <= info.HighBound(2); ++i)
        settings[info.Get(0, i).AsString()] = info.Get(1, i).AsString();
    EXPECT_EQ(settings["Sys001"], "1");
    EXPECT_EQ(settings["Sys002"], "/");
    EXPECT_EQ(settings["KVT002"], "大卓电器");
    EXPECT_EQ(settings["SYS026"], "1");
    EXPECT_EQ(settings["SYS181"], "Y");
    EXPECT_EQ(settings["SYS007"], "产品大类");
    EXPECT_EQ(settings.count("SYS010"), 0u);  // left to the plug-in's default

    Variant other("DAZudo61");
    const Variant second = OleCall(Counter(), "GetSysInfo", {VarRef(other)});
    EXPECT_EQ(second.HighBound(2) - second.LowBound(2) + 1, 5);
    Variant unknown("NOSUCH");
    EXPECT_THROW(OleCall(Counter(), "GetSysInfo", {VarRef(unknown)}), EOleException);
}

TEST_F(HostCounter, SimpleSqlAnswersThePortalSettingsAsThePlugInAsks) {
    const Variant startup =
        Sql(VarArrayOf({"SELECT MA003 FROM KVTINTMA WHERE MA001='StartupPortal' ", "MA003"}));
    EXPECT_EQ(startup, VarArrayOf({VarArrayOf({"N"})}));
    const Variant url =
        Sql(VarArrayOf({"SELECT MA003 FROM KVTINTMA WHERE MA001='Portal WS' ", "MA003"}));
    EXPECT_EQ(url[0][0].AsString(), "http://127.0.0.1:8089/PortalService.asmx");
}

TEST_F(HostCounter, SimpleSqlGivesRowsOfTheNamedFieldsOrOfEveryColumn) {
    const Variant none = Sql(Variant("SELECT MA003 FROM KVTINTMA WHERE MA001 = 'nothing'"));
    EXPECT_TRUE(none.IsArray());
    EXPECT_EQ(none.HighBound(1), -1);
    const Variant all = Sql(Variant("SELECT ME001, ME002 FROM CMSME ORDER BY ME001 LIMIT 2"));
    EXPECT_EQ(all, VarArrayOf(
                       {VarArrayOf({"QA01", "品质检验部"}), VarArrayOf({"RD01", "家电维修一部"})}));
    const Variant picked =
        Sql(VarArrayOf({"SELECT ME001, ME002 FROM CMSME WHERE ME001 = 'RD01'", "me002", "ME001"}));
    EXPECT_EQ(picked, VarArrayOf({VarArrayOf({"家电维修一部", "RD01"})}));
    EXPECT_EQ(Sql(Variant("SELECT count(*), NULL FROM RMATC WHERE TC009 = 3"))[0][0].AsInteger(),
              184);
    EXPECT_THROW(Sql(VarArrayOf({"SELECT ME001 FROM CMSME", "MA003"})), EOleException);
}

TEST_F(HostCounter, SimpleSqlRefusesEverythingButOneReadOnlySelect) {
    const int usersBefore = Sql(Variant("SELECT count(*) FROM KVTMA"))[0][0].AsInteger();
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"INSERT INTO KVTMA(MA001, MA002) VALUES ('X1', 'x')", "read-only SELECT"},
        {"UPDATE KVTMA SET MA002 = 'x'", "read-only SELECT"},
        {"DELETE FROM KVTMA", "read-only SELECT"},
        {"DROP TABLE KVTMA", "read-only SELECT"},
        {"CREATE TABLE evil(a)", "read-only SELECT"},
        {"PRAGMA user_version = 7", "read-only SELECT"},
        {"PRAGMA journal_mode = DELETE", "read-only SELECT"},
        {"PRAGMA table_info(KVTMA)", "read-only SELECT"},
        {"ATTACH DATABASE '/tmp/other.db' AS other", "read-only SELECT"},
        {"BEGIN", "read-only SELECT"},
        {"WITH t AS (SELECT 1) DELETE FROM KVTMA", "read-only SELECT"},
        {"SELECT 1; DELETE FROM KVTMA", "only one statement"},
        {"SELECT 1; SELECT 2", "only one statement"},
        {"SELECT nonsense FROM", "refused"},
        {"   ", "empty"},
        {"-- only a comment", "empty"},
    };
    for (const auto& [sql, reason] : cases) {
        SCOPED_TRACE(sql);
        const std::string refusal = Refusal(sql);
        EXPECT_NE(refusal.find("SimpleSQL"), std::string::npos) << refusal;
        EXPECT_NE(refusal.find(reason), std::string::npos) << refusal;
    }
    EXPECT_EQ(Sql(Variant("SELECT count(*) FROM KVTMA"))[0][0].AsInteger(), usersBefore);
    // Trailing semicolons and comments are no second statement.
    EXPECT_EQ(Sql(Variant("SELECT 1; -- done\n ;")), VarArrayOf({VarArrayOf({1})}));
    EXPECT_EQ(Sql(Variant("/* one */ WITH t(x) AS (VALUES (5)) SELECT x FROM t")),
              VarArrayOf({VarArrayOf({5})}));
}

TEST_F(HostCounter, SimpleSqlStopsARunawayQueryAndRefusesHugeAnswers) {
    THostOptions options = Options();
    options.simpleSqlTimeLimitMs = 100;
    options.simpleSqlRowLimit = 50;
    services_ = THostServices::Create(options);
    host_ = services_->CreateHostObject();
    EXPECT_NE(Refusal("WITH RECURSIVE c(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM c) "
                      "SELECT count(*) FROM c")
                  .find("stopped after 100 ms"),
              std::string::npos);
    EXPECT_NE(Refusal("SELECT * FROM RMATC").find("more than 50 rows"), std::string::npos);
    EXPECT_NE(Refusal("SELECT zeroblob(100000000)").find("SimpleSQL"), std::string::npos);
    // The connection is usable again after a stopped query.
    EXPECT_EQ(Sql(Variant("SELECT 2")), VarArrayOf({VarArrayOf({2})}));
}

TEST_F(HostCounter, NamedCountersHandOutTheNextNumberOnce) {
    const Variant scope = Scope();
    EXPECT_EQ(OleCall(Counter(), "GetCounter", {"rmatc", Variant(), scope}).AsString(), "RM000001");
    EXPECT_EQ(OleCall(Counter(), "GetCounter", {"RMATC", Variant(), scope}).AsString(), "RM000002");
    EXPECT_EQ(OleCall(Counter(), "GetCounter", {"COPMA", Variant(), scope}).AsString(), "C0061");
    // Kept in the file: another host on it goes on from there.
    auto other = THostServices::Create(Options());
    const Variant counter = OleCall(other->CreateHostObject(), "Com_Counter");
    EXPECT_EQ(OleCall(counter, "GetCounter", {"RMATC", Variant(), scope}).AsString(), "RM000003");
    EXPECT_THROW(OleCall(Counter(), "GetCounter", {"NOSUCH", Variant(), scope}), EOleException);
    EXPECT_THROW(
        OleCall(Counter(), "GetCounter", {"RMATC", Variant(), VarArrayOf({"DAZudo60", "OtherDb"})}),
        EOleException);
}

}  // namespace
}  // namespace kv
