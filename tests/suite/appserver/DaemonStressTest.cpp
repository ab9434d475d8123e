// The daemon under stress: killed with SIGKILL at random moments while clients write, and
// sixteen clients working at once. Loops are bounded so each test takes a few seconds.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <atomic>
#include <mutex>
#include <random>
#include <set>
#include <thread>

#include "platform/net/ProviderRows.h"
#include "platform/net/VariantCodec.h"
#include "suite/appserver/AppStore.h"
#include "tests/suite/appserver/AppServerFixture.h"

namespace kv {
namespace {

Variant SchemeRecord(const std::string& name, const std::string& user, const std::string& values) {
    return VarArrayOf({Variant(name), Variant(user), Variant("20240305"), Variant("KPQX07"),
                       Variant("sp01.style;"), Variant(values), Variant(false)});
}

Variant Key(const std::string& name, const std::string& user) {
    return VarArrayOf({Variant(name), Variant(user), Variant("KPQX07")});
}

std::string IntegrityCheck(const std::string& path) {
    sqlite3* db = nullptr;
    sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt* stmt = nullptr;
    sqlite3_prepare_v2(db, "PRAGMA integrity_check", -1, &stmt, nullptr);
    std::string result = "no answer";
    if (sqlite3_step(stmt) == SQLITE_ROW)
        result = reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0));
    sqlite3_finalize(stmt);
    sqlite3_close(db);
    return result;
}

struct TAcknowledged {
    std::mutex mutex;
    std::vector<std::pair<std::string, std::string>> jobs;     // number, encoded array
    std::vector<std::pair<std::string, std::string>> schemes;  // name, values
};

// Writes jobs and schemes until the daemon dies, recording what it acknowledged.
void WriteUntilKilled(int port, int client, int round, TAcknowledged& acknowledged) {
    try {
        auto session = ConnectRemote(port);
        for (int i = 0; i < 100000; ++i) {
            const std::string user = "K" + std::to_string(client);
            Variant job = MakeJob(user, 1 + i % 3);
            job[2][1] =
                Variant::Wide("round " + std::to_string(round) + " item " + std::to_string(i));
            const std::string number = VarToStr(OleCall(session.server, "Request", {job}));
            ASSERT_NE(number, "ERROR");
            {
                std::lock_guard lock(acknowledged.mutex);
                acknowledged.jobs.emplace_back(number, EncodeVariant(job));
            }
            const std::string name = "R" + std::to_string(round) + "-" + std::to_string(i);
            const std::string values = "sp_Range\x03" + std::to_string(i) + "\x03" + "Z\r\n";
            Variant record = SchemeRecord(name, user, values);
            if (VarToStr(OleCall(session.server, "InsertConTable", {VarRef(record)})).empty()) {
                std::lock_guard lock(acknowledged.mutex);
                acknowledged.schemes.emplace_back(user + "/" + name, values);
            }
        }
    } catch (const Exception&) {
        // The daemon was killed in the middle of a call: that call was never acknowledged.
    }
}

TEST(DaemonDurabilityTest, AcknowledgedWritesSurviveSigkillAndNothingIsDamaged) {
    TTempDir dir;
    const std::string database = dir.File("company.db");
    TAcknowledged acknowledged;
    std::mt19937 random(20261211);
    std::uniform_int_distribution<int> delayMs(30, 300);
    for (int round = 0; round < 6; ++round) {
        TDaemonProcess daemon(database, dir.File("server.log"), dir.File("port"));
        std::size_t before = 0;
        {
            std::lock_guard lock(acknowledged.mutex);
            before = acknowledged.jobs.size();
        }
        std::vector<std::thread> clients;
        for (int client = 0; client < 3; ++client)
            clients.emplace_back(WriteUntilKilled, daemon.Port(), client, round,
                                 std::ref(acknowledged));
        // Kill only once this round has had writes acknowledged, however slow the machine.
        for (int wait = 0; wait < 500; ++wait) {
            {
                std::lock_guard lock(acknowledged.mutex);
                if (acknowledged.jobs.size() > before) break;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(delayMs(random)));
        const int status = daemon.Signal(SIGKILL);
        EXPECT_TRUE(WIFSIGNALED(status));
        for (auto& thread : clients)
            thread.join();
    }
    ASSERT_EQ(IntegrityCheck(database), "ok");
    ASSERT_FALSE(acknowledged.jobs.empty());
    TAppStore store(database, false);
    for (const auto& [number, encoded] : acknowledged.jobs) {
        const auto job = store.FindJob(number);
        ASSERT_TRUE(job.has_value()) << number;
        EXPECT_EQ(job->record.encodedArray, encoded) << number;
    }
    // Every stored job decodes: nothing half-written was kept.
    for (const auto& number : store.JobNumbers())
        EXPECT_NO_THROW(DecodeVariant(store.FindJob(number)->record.encodedArray)) << number;
    std::map<std::string, std::string> stored;
    for (int client = 0; client < 3; ++client) {
        const std::string user = "K" + std::to_string(client);
        for (const auto& s : store.LoadSchemes(user, "KPQX07"))
            stored[user + "/" + s.name] = s.values;
    }
    for (const auto& [key, values] : acknowledged.schemes) {
        ASSERT_TRUE(stored.count(key)) << key;
        EXPECT_EQ(stored[key], values) << key;
    }
}

// One client's round of scheme work and jobs; every surprise is counted and reported.
void WorkAsUser(int port, int client, std::atomic<int>& failures, std::atomic<int>& jobs) {
    auto fail = [&](const std::string& what) {
        ++failures;
        ADD_FAILURE() << "client " << client << ": " << what;
    };
    try {
        auto session = ConnectRemote(port);
        const std::string user = "C" + std::to_string(client);
        std::set<std::string> expected;
        for (int i = 0; i < 15; ++i) {
            std::string name = "S" + std::to_string(i);
            Variant record = SchemeRecord(name, user, user + "\r\n");
            if (!VarToStr(OleCall(session.server, "InsertConTable", {VarRef(record)})).empty())
                fail("insert " + name);
            if (i % 3 == 1) {
                Variant from = Key(name, user);
                Variant to = Key(name + "r", user);
                if (!VarToStr(OleCall(session.server, "ChangeConName", {VarRef(from), VarRef(to)}))
                         .empty())
                    fail("rename " + name);
                name += "r";
            }
            expected.insert(name);
            if (i % 5 == 4) {
                Variant key = Key(name, user);
                if (!VarToStr(OleCall(session.server, "DeleteConTable", {VarRef(key)})).empty())
                    fail("delete " + name);
                expected.erase(name);
            }
            if (VarToStr(OleCall(session.server, "Request", {MakeJob(user)})) == "ERROR")
                fail("request");
            else
                ++jobs;
        }
        OleCall(session.server, "LoadTable", {VarArrayOf({Variant(user), Variant("KPQX07")})});
        const auto rows = FetchProviderRows(session.server, kSchemeProvider);
        std::set<std::string> seen;
        for (std::size_t r = 0; r < rows.rows.size(); ++r) {
            if (VarToStr(rows.Value(r, "CREATOR")) != user ||
                VarToStr(rows.Value(r, "VCONDITION")) != user + "\r\n")
                fail("another user's scheme");
            seen.insert(VarToStr(rows.Value(r, "NCONDITION")));
        }
        if (seen != expected) fail("the selection differs from what was saved");
    } catch (const std::exception& error) {
        fail(error.what());
    }
}

TEST(DaemonConcurrencyTest, SixteenClientsLoseNothingAndSeeOnlyTheirOwnSchemes) {
    TTempDir dir;
    TDaemonProcess daemon(dir.File("company.db"), dir.File("server.log"), dir.File("port"));
    std::atomic<int> failures{0};
    std::atomic<int> jobs{0};
    std::vector<std::thread> clients;
    for (int client = 0; client < 16; ++client)
        clients.emplace_back(WorkAsUser, daemon.Port(), client, std::ref(failures), std::ref(jobs));
    for (auto& thread : clients)
        thread.join();
    EXPECT_EQ(failures, 0);
    EXPECT_EQ(daemon.Signal(SIGTERM), 0) << "a clean shutdown exits with 0";
    TAppStore store(dir.File("company.db"), false);
    const auto numbers = store.JobNumbers();
    EXPECT_EQ(static_cast<int>(numbers.size()), jobs.load());
    EXPECT_EQ(std::set<std::string>(numbers.begin(), numbers.end()).size(), numbers.size());
}

TEST(DaemonLifecycleTest, MalformedFramesAreLoggedAndVanishedClientsFreeTheirSession) {
    TTempDir dir;
    TDaemonProcess daemon(dir.File("company.db"), dir.File("server.log"), dir.File("port"));
    {
        TTcpSocket raw = TTcpSocket::Connect("127.0.0.1", daemon.Port(), 2000);
        const char oversized[] = "\xff\xff\xff\x7f";
        raw.SendAll(oversized, 4);
        raw.SetTimeout(2000);
        char byte;
        EXPECT_FALSE(raw.ReceiveAll(&byte, 1));
    }
    {
        auto vanished = ConnectRemote(daemon.Port());  // closes without a word at scope end
    }
    auto session = ConnectRemote(daemon.Port());
    EXPECT_EQ(VarToStr(OleCall(session.server, "ErrorDescript")), "");
    session.connection->Close();
    EXPECT_EQ(daemon.Signal(SIGTERM), 0);
    std::ifstream logFile(dir.File("server.log"));
    const std::string log((std::istreambuf_iterator<char>(logFile)), {});
    EXPECT_NE(log.find("malformed frame: Announced frame of"), std::string::npos) << log;
    EXPECT_NE(log.find("closed by the client"), std::string::npos) << log;
    EXPECT_NE(log.find("kvappserver stopped"), std::string::npos) << log;
}

}  // namespace
}  // namespace kv
