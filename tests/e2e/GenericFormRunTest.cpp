// The generic condition form in whole runs of the host shell: the caption from the program's
// title and the company, Esc, and a client configuration whose application server cannot be
// reached.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "tests/e2e/HostRun.h"

namespace kv::test {
namespace {

constexpr const char* kNoServerText =
    "无法连接应用服务器, 请检查客户端配置(VelmarC.ini)的服务器设置!";

// Each run gets a configuration folder of its own, prepared before kvhost fills in the rest.
class GenericFormRunTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = std::filesystem::path(::testing::TempDir()) /
               ("kvhost-generic-" + std::to_string(::getpid()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(dir_ / "config");
    }
    void TearDown() override {
        std::error_code ignored;
        std::filesystem::remove_all(dir_, ignored);
    }

    void ClientConfiguration(const std::string& text) {
        std::ofstream(dir_ / "config" / "VelmarC.ini") << text;
    }

    THostRun Run(const std::string& script) {
        const std::string stem = (dir_ / "run").string();
        std::ofstream(stem + ".json") << script;
        const std::string command =
            "'" KV_BIN_DIR "/kvhost' --config '" + (dir_ / "config").string() + "' --transcript '" +
            stem + ".jsonl' --script '" + stem + ".json' > '" + stem + ".out' 2>&1";
        THostRun run;
        const int status = std::system(command.c_str());
        run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        std::ifstream transcript(stem + ".jsonl");
        for (std::string line; std::getline(transcript, line);)
            run.lines.push_back(nlohmann::ordered_json::parse(line));
        std::ifstream output(stem + ".out");
        run.output.assign(std::istreambuf_iterator<char>(output), {});
        return run;
    }

    std::filesystem::path dir_;
};

TEST_F(GenericFormRunTest, CaptionNamesProgramAndCompanyAndEscCloses) {
    // A check-only host command naming no control makes the form warn in a box that carries
    // the form's caption.
    const THostRun run = Run(R"({"steps": [
        {"do": "answer_box", "button": "OK"},
        {"do": "command", "command": ["host", [0, [true, [[["", "edNowhere"]], [["x"]]]]]]},
        {"do": "key", "key": "Esc"}
    ]})");
    ASSERT_EQ(run.exitCode, 0) << run.output;
    const auto boxes = run.Events("box");
    ASSERT_EQ(boxes.size(), 1u) << run.output;
    EXPECT_EQ(boxes[0]["caption"], "维修单清单[大卓电器]");
    EXPECT_EQ(boxes[0]["kind"], "mtWarning");
    EXPECT_EQ(boxes[0]["buttons"], nlohmann::ordered_json::array({"OK"}));
    EXPECT_TRUE(run.Events("closing").empty()) << "Esc closed the form, not the host";
    const auto result = run.Events("result");
    ASSERT_EQ(result.size(), 1u);
    EXPECT_EQ(result[0]["resultCode"], 2);
    EXPECT_TRUE(result[0]["formFreed"].get<bool>());
    EXPECT_EQ(run.Notifications(), (std::vector<int>{256, 272, 288, 304}));
}

TEST_F(GenericFormRunTest, UnreachableServerShowsE000006AndTheFormCloses) {
    ClientConfiguration(
        "[CodePage]\nUICodePage=936\nDBCodePage=936\n"
        "[Server Information]\nComputerName=127.0.0.2\nServerPort=9\n");
    // The form is never shown, so no step runs: the box ends for want of an answer.
    const THostRun run = Run(R"({"steps": []})");
    const auto created = run.Events("createForm");
    ASSERT_EQ(created.size(), 1u) << run.output;
    EXPECT_EQ(created[0]["result"], -1);
    const auto boxes = run.Events("box");
    ASSERT_EQ(boxes.size(), 1u) << run.output;
    EXPECT_EQ(boxes[0]["text"], kNoServerText);
    EXPECT_EQ(boxes[0]["kind"], "mtError");
    EXPECT_TRUE(run.Events("appserver").empty());
    const auto result = run.Events("result");
    ASSERT_EQ(result.size(), 1u) << run.output;
    EXPECT_TRUE(result[0]["formFreed"].get<bool>());
    EXPECT_EQ(run.Notifications(), (std::vector<int>{256, 304})) << "never shown";
}

}  // namespace
}  // namespace kv::test
