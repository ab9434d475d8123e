// The demo company database: created once, in the application server's file, beside its
// tables.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "platform/core/Exceptions.h"
#include "suite/appserver/AppSchema.h"
#include "suite/appserver/AppStore.h"
#include "suite/hostsvc/DemoDatabase.h"
#include "tests/suite/hostsvc/HostSvcFixture.h"

namespace kv {
namespace {

int Count(TDemoDatabase& db, const std::string& table) {
    return db.Query("SELECT count(*) FROM " + table, {})[0][0].AsInteger();
}

TEST(DemoDatabase, FirstOpeningBringsTheDemoDataAndLaterOnesKeepIt) {
    TTempFolder folder;
    const std::string path = folder.File("company.db");
    {
        TDemoDatabase db(path);
        EXPECT_EQ(Count(db, "RMATC"), 320);
        EXPECT_EQ(db.Query("SELECT MA002 FROM COPMA WHERE MA001 = 'C0003'", {})[0][0].AsString(),
                  "深圳锦江酒店");
        db.Query("UPDATE KVTMA SET MA002 = '改过的名字' WHERE MA001 = '796'", {});
    }
    TDemoDatabase again(path);
    EXPECT_EQ(Count(again, "RMATC"), 320);
    // Nothing was seeded twice, and what the company changed stays changed.
    EXPECT_EQ(again.Query("SELECT MA002 FROM KVTMA WHERE MA001 = '796'", {})[0][0].AsString(),
              "改过的名字");
    EXPECT_EQ(SchemaVersion(again.Db(), "hostsvc"), 2);
}

TEST(DemoDatabase, HostsOpeningANewFileAtOnceSeedItOnce) {
    TTempFolder folder;
    const std::string path = folder.File("company.db");
    std::vector<std::thread> hosts;
    std::atomic<int> failures = 0;
    for (int i = 0; i < 4; ++i)
        hosts.emplace_back([&] {
            try {
                TDemoDatabase db(path);
            } catch (const Exception&) {
                ++failures;
            }
        });
    for (auto& host : hosts)
        host.join();
    EXPECT_EQ(failures, 0);
    TDemoDatabase db(path);
    EXPECT_EQ(Count(db, "RMATC"), 320);
    EXPECT_EQ(Count(db, "KVTMS"), 25);
}

TEST(DemoDatabase, EveryRepairOrderReferencesExistingMasterRows) {
    TTempFolder folder;
    TDemoDatabase db(folder.File("company.db"));
    EXPECT_TRUE(db.Query("PRAGMA foreign_key_check", {}).empty());
    const auto orphans = db.Query(
        "SELECT count(*) FROM RMATC WHERE length(TC001) <> 4 OR length(TC002) <> 11 "
        "OR TC003 NOT BETWEEN '17530101' AND '99991231'",
        {});
    EXPECT_EQ(orphans[0][0].AsInteger(), 0);
}

TEST(DemoDatabase, SharesTheFileWithTheApplicationServer) {
    TTempFolder folder;
    const std::string path = folder.File("company.db");
    {
        TAppStore store(path, false);  // the server created the file first
        EXPECT_EQ(
            store.InsertScheme({"月报", "796", "KPQX07", "sp01.Text;", "A", "20240301"}, false),
            "");
    }
    TDemoDatabase db(path);
    EXPECT_EQ(SchemaVersion(db.Db(), "appserver"), 1);
    EXPECT_EQ(db.Query("SELECT count(*) FROM schemes", {})[0][0].AsInteger(), 1);
    TAppStore later(path, false);  // and opens it again after the demo data arrived
    EXPECT_EQ(later.LoadSchemes("796", "KPQX07").size(), 1u);
}

TEST(DemoDatabase, RefusesAFileOfANewerProgram) {
    TTempFolder folder;
    const std::string path = folder.File("company.db");
    { TDemoDatabase db(path); }
    {
        TSqliteDb raw(path, false);
        raw.ExecScript("UPDATE kv_schema SET version = 9 WHERE component = 'hostsvc';");
    }
    EXPECT_THROW(TDemoDatabase{path}, EDatabaseError);
}

TEST(DemoDatabase, AFileThatCannotBeOpenedIsAClearError) {
    try {
        THostOptions options;
        options.databasePath = "/nonexistent-folder/company.db";
        THostServices::Create(options);
        FAIL() << "no error";
    } catch (const EDatabaseError& error) {
        EXPECT_NE(std::string(error.what()).find("/nonexistent-folder/company.db"),
                  std::string::npos);
    }
    EXPECT_THROW(THostServices::Create(THostOptions{}), EDatabaseError);
}

}  // namespace
}  // namespace kv
