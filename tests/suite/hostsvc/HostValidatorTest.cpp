// The code-check service: the row each table code answers, in the layout its callers read.
#include <gtest/gtest.h>

#include "platform/core/Exceptions.h"
#include "suite/appserver/AppStore.h"
#include "suite/hostsvc/HostValidator.h"
#include "tests/suite/hostsvc/HostSvcFixture.h"

namespace kv {
namespace {

class HostValidator : public HostSvcTest {
protected:
    bool Ask(const char* method, const char* table, const char* kind, const Variant& params,
             Variant& row) {
        return OleCall(Validator(), method, {table, kind, "DAZudo60", params, VarRef(row)})
            .AsBoolean();
    }
};

struct TCheckCase {
    const char* table;
    const char* kind;
    Variant params;
    int field;          // a field the caller reads
    const char* value;  // and what it holds
};

TEST_F(HostValidator, EveryTableCodeAnswersTheRowItsCallersRead) {
    const std::vector<TCheckCase> cases = {
        {"ADMMB", "01", VarArrayOf({"KPQX07"}), 0, "维修单清单"},  // title
        {"ADMMB", "01", VarArrayOf({"kpqx07"}), 4, "Y"},           // log flag
        {"ADMMB", "01", VarArrayOf({"KPQX07"}), 7, "Repair Order List"},
        {"ADMMB", "11", VarArrayOf({"KPQX05"}), 3, "Y"},  // no direct query
        {"CMSMT", "01", VarArrayOf({"KPQX07"}), 0, "F00001"},
        {"CMSMT", "01", VarArrayOf({"KPQX07"}), 1, "Y"},
        {"CMSMT", "01", VarArrayOf({"KPQX07"}), 5, "客服热线 400-820-0000"},
        {"CMSMT", "01", VarArrayOf({"KPQX07"}), 6, "S00003"},
        {"CMSMT", "01", VarArrayOf({"KPQX07"}), 11, "部门经理:"},
        {"CMSMT", "01", VarArrayOf({"KPQX01"}), 1, "N"},
        {"CMSMS", "01", VarArrayOf({"1", "F00002"}), 1, "感谢您选择大卓电器维修服务。"},
        {"CMSMS", "01", VarArrayOf({"2", "S00001"}), 3, "核准:"},
        {"CMSMA", "02", VarArrayOf({""}), 0, "http://127.0.0.1:8088"},
        {"CMSMA", "01", Variant("DAZudo61"), 1, "大卓电器(北京)服务有限公司"},
        {"CMSME", "01", VarArrayOf({"RD03"}), 1, "空调维修部"},
        {"RMAMA", "01", VarArrayOf({"SH-PD01"}), 1, "上海浦东维修站"},
        {"RMAMB", "01", VarArrayOf({"R0001"}), 2, "CD-WH01"},
        {"COPMA", "01", VarArrayOf({"C0003 "}), 2, "深圳锦江酒店有限公司"},
        {"RMATC", "02", VarArrayOf({"RM01", "20240101001"}), 3, "C0027"},
        {"KVTMA", "04", VarArrayOf({"796"}), 3, "demo796@dazudo.example.com"},
    };
    for (const auto& c : cases) {
        for (const char* method : {"CheckValue", "QueryData"}) {
            SCOPED_TRACE(std::string(method) + " " + c.table + " " + c.kind + " field " +
                         std::to_string(c.field));
            Variant row;
            ASSERT_TRUE(Ask(method, c.table, c.kind, c.params, row));
            ASSERT_TRUE(row.IsArray());
            EXPECT_EQ(row.LowBound(1), 0);
            EXPECT_EQ(VarToStr(row[c.field]), c.value);
        }
    }
}

TEST_F(HostValidator, AnUnknownCodeIsNotFoundAndLeavesNoRow) {
    Variant row("before");
    EXPECT_FALSE(Ask("CheckValue", "RMAMA", "01", VarArrayOf({"NOSUCH"}), row));
    EXPECT_TRUE(row.IsEmpty());
    EXPECT_FALSE(Ask("CheckValue", "CMSMS", "01", VarArrayOf({"1", "S00001"}), row));
    EXPECT_FALSE(Ask("QueryData", "ADMMB", "01", VarArrayOf({"ZZZZ99"}), row));
}

TEST_F(HostValidator, SchemeNamesAreCheckedInTheApplicationServersTable) {
    {
        TAppStore store(services_->Options().databasePath, false);
        ASSERT_EQ(store.InsertScheme({"上月维修单", "796", "KPQX07", "sp01.Text;", "A", "20240301"},
                                     false),
                  "");
    }
    Variant row;
    EXPECT_TRUE(Ask("CheckValue", "GENES", "01", VarArrayOf({"上月维修单", "796", "KPQX07"}), row));
    EXPECT_EQ(row[3].AsString(), "20240301");
    EXPECT_FALSE(
        Ask("CheckValue", "GENES", "01", VarArrayOf({"上月维修单", "ADMIN", "KPQX07"}), row));
    EXPECT_FALSE(
        Ask("CheckValue", "GENES", "01", VarArrayOf({"上月维修单", "796", "KPQX01"}), row));
}

TEST_F(HostValidator, RefusesQuestionsItDoesNotKnow) {
    Variant row;
    EXPECT_THROW(Ask("CheckValue", "RMAMA", "07", VarArrayOf({"X"}), row), EOleException);
    EXPECT_THROW(Ask("CheckValue", "NOSUCH", "01", VarArrayOf({"X"}), row), EOleException);
    EXPECT_THROW(Ask("CheckValue", "RMAMA", "01", VarArrayOf({"A", "B"}), row), EOleException);
    EXPECT_THROW(Ask("CheckValue", "RMAMA", "01", VarArrayCreate({0, 1, 0, 1}), row),
                 EOleException);
    EXPECT_THROW(OleCall(Validator(), "CheckValue",
                         {"RMAMA", "01", "OtherDb", VarArrayOf({"SH-PD01"}), VarRef(row)}),
                 EOleException);
    EXPECT_THROW(OleCall(Validator(), "CheckValue", {"RMAMA", "01"}), EOleSysError);
}

TEST_F(HostValidator, KeepsTheSessionSettingsThePlugInPuts) {
    OlePut(Validator(), "ProductID", 3);
    OlePut(Validator(), "BaseLimited", "RD01,RD02");
    EXPECT_EQ(OleGet(Validator(), "ProductID").AsInteger(), 3);
    EXPECT_EQ(OleGet(Validator(), "BaseLimited").AsString(), "RD01,RD02");
}

}  // namespace
}  // namespace kv
