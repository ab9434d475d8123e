// Storage of the application server on a fresh database file per test.
#include <gtest/gtest.h>

#include <filesystem>

#include "suite/appserver/AppSchema.h"
#include "suite/appserver/AppStore.h"
#include "tests/suite/appserver/TempDir.h"

namespace kv {
namespace {

class AppStoreTest : public ::testing::Test {
protected:
    TTempDir dir_;
    TAppStore store_{dir_.File("company.db"), false};

    TSchemeRecord Scheme(const std::string& name, const std::string& user = "U1",
                         const std::string& program = "KPQX07") {
        return {name, user, program, "cbo08.itemindex;", "2\r\n", "20240305"};
    }
};

TEST_F(AppStoreTest, SchemesAreSeparatedByUserAndProgram) {
    ASSERT_EQ(store_.InsertScheme(Scheme("A"), false), "");
    ASSERT_EQ(store_.InsertScheme(Scheme("A", "U2"), false), "");
    ASSERT_EQ(store_.InsertScheme(Scheme("B", "U1", "KPQX08"), false), "");
    const auto rows = store_.LoadSchemes("U1", "KPQX07");
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].name, "A");
    EXPECT_EQ(rows[0].values, "2\r\n");
    EXPECT_EQ(rows[0].createDate, "20240305");
    // Another user's scheme of the same name is out of reach of U1's delete and rename.
    EXPECT_NE(store_.DeleteScheme("B", "U1", "KPQX07"), "");
    EXPECT_EQ(store_.DeleteScheme("A", "U1", "KPQX07"), "");
    EXPECT_EQ(store_.LoadSchemes("U2", "KPQX07").size(), 1u);
}

TEST_F(AppStoreTest, InsertRefusesAnExistingNameUnlessReplacing) {
    ASSERT_EQ(store_.InsertScheme(Scheme("A"), false), "");
    auto changed = Scheme("A");
    changed.values = "3\r\n";
    EXPECT_NE(store_.InsertScheme(changed, false), "");
    EXPECT_EQ(store_.LoadSchemes("U1", "KPQX07")[0].values, "2\r\n");
    EXPECT_EQ(store_.InsertScheme(changed, true), "");
    EXPECT_EQ(store_.LoadSchemes("U1", "KPQX07")[0].values, "3\r\n");
}

TEST_F(AppStoreTest, SchemeNamesAreCheckedByWidth) {
    struct Case {
        std::string name;
        bool accepted;
    } cases[] = {{"", false},
                 {"   ", false},
                 {std::string(20, 'x'), true},
                 {std::string(21, 'x'), false},
                 {"方案方案方案方案方案", true},  // ten characters count twenty
                 {"方案方案方案方案方案x", false}};
    for (const auto& c : cases)
        EXPECT_EQ(store_.InsertScheme(Scheme(c.name), false).empty(), c.accepted) << c.name;
}

TEST_F(AppStoreTest, RenameRefusesMissingAndTakenNames) {
    ASSERT_EQ(store_.InsertScheme(Scheme("A"), false), "");
    ASSERT_EQ(store_.InsertScheme(Scheme("B"), false), "");
    EXPECT_NE(store_.RenameScheme("X", "Y", "U1", "KPQX07"), "");
    EXPECT_NE(store_.RenameScheme("A", "B", "U1", "KPQX07"), "");
    EXPECT_NE(store_.RenameScheme("A", "B", "U2", "KPQX07"), "");
    EXPECT_EQ(store_.RenameScheme("A", "a", "U1", "KPQX07"), "");  // names are case-sensitive
    const auto rows = store_.LoadSchemes("U1", "KPQX07");
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].name, "B");
    EXPECT_EQ(rows[1].name, "a");
}

TEST_F(AppStoreTest, JobNumbersAreOrderedPerDayAndKeepTheArray) {
    TJobRecord job;
    job.program = "KPQX07";
    job.encodedArray = std::string("\0\x01\xff", 3);
    const auto first = store_.AddJob(job, "20240305");
    const auto second = store_.AddJob(job, "20240305");
    const auto nextDay = store_.AddJob(job, "20240306");
    EXPECT_EQ(first, "20240305000001");
    EXPECT_EQ(second, "20240305000002");
    EXPECT_EQ(nextDay, "20240306000001");
    const auto stored = store_.FindJob(second);
    ASSERT_TRUE(stored.has_value());
    EXPECT_EQ(stored->record.encodedArray, job.encodedArray);
    EXPECT_EQ(stored->status, "waiting");
    EXPECT_FALSE(store_.FindJob("20240305000009").has_value());
}

TEST_F(AppStoreTest, RunsAreRecordedOnlyForKnownJobs) {
    TJobRecord job;
    job.localRun = true;
    const auto number = store_.AddJob(job, "20240305");
    EXPECT_TRUE(store_.RecordRun(number, "I;000001;", 45356.5));
    EXPECT_FALSE(store_.RecordRun("20240305999999", "", 45356.5));
    EXPECT_EQ(store_.RunCount(number), 1);
    EXPECT_EQ(store_.FindJob(number)->status, "done");
}

TEST_F(AppStoreTest, RightsFallBackFromExactRowToDefault) {
    TRightsRecord everybody;
    everybody.rightsCode = "7";
    TRightsRecord exact;
    exact.rightsCode = "9";
    exact.limits = {"A01", "A02"};
    store_.PutRights("*", "*", everybody);
    store_.PutRights("U1", "KPQX07", exact);
    EXPECT_EQ(store_.FindRights("U1", "KPQX07").rightsCode, "9");
    EXPECT_EQ(store_.FindRights("U1", "KPQX07").limits, exact.limits);
    EXPECT_EQ(store_.FindRights("U1", "KPQX08").rightsCode, "7");
    EXPECT_EQ(store_.FindRights("U2", "KPQX07").rightsCode, "7");
}

TEST(AppSchemaTest, ReopeningKeepsDataAndNewerFilesAreRefused) {
    TTempDir dir;
    const auto path = dir.File("company.db");
    {
        TAppStore store(path, false);
        ASSERT_EQ(store.InsertScheme({"A", "U1", "P", "", "", "20240101"}, false), "");
    }
    TAppStore reopened(path, false);
    EXPECT_EQ(reopened.LoadSchemes("U1", "P").size(), 1u);
    EXPECT_EQ(SchemaVersion(reopened.Db(), "appserver"), 1);
    const char* const none[] = {"SELECT 1;"};
    EXPECT_THROW(ApplyMigrations(reopened.Db(), "appserver", std::span(none, 0)), EDatabaseError);
    // A component of its own upgrades beside the server's tables.
    const char* const demo[] = {"CREATE TABLE demo(x);", "ALTER TABLE demo ADD COLUMN y;"};
    ApplyMigrations(reopened.Db(), "demo", demo);
    ApplyMigrations(reopened.Db(), "demo", demo);
    EXPECT_EQ(SchemaVersion(reopened.Db(), "demo"), 2);
}

TEST(AppSchemaTest, UnopenableFileRaisesDatabaseError) {
    EXPECT_THROW(TAppStore("/nonexistent-dir/x/company.db", false), EDatabaseError);
}

}  // namespace
}  // namespace kv
