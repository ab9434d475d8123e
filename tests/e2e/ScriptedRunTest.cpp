// Whole runs of the plug-in through the host shell's scripted mode, checked on the transcript.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/e2e/HostRun.h"

namespace kv::test {
namespace {

const std::vector<int> kWholeLife{256, 272, 288, 304};

TEST_F(HostRunTest, ASubmittedJobIsTheResult) {
    const THostRun run = Run(R"({"steps": [
        {"do": "answer_date", "date": "20240315"},
        {"do": "page", "control": "pgOption", "page": "系统选项"},
        {"do": "key", "control": "edPrintDate", "key": "F2"},
        {"do": "answer_box", "button": "OK"},
        {"do": "click", "control": "btnOk"}
    ]})");
    ASSERT_EQ(run.exitCode, 0) << run.output;
    EXPECT_EQ(run.Notifications(), kWholeLife);

    const auto dates = run.Events("date");
    ASSERT_EQ(dates.size(), 1u);
    EXPECT_EQ(dates[0]["request"][0], false);
    EXPECT_EQ(dates[0]["request"][2], "DAZudo60");
    EXPECT_EQ(dates[0]["answer"], "20240315");
    EXPECT_TRUE(dates[0]["scripted"].get<bool>());

    const auto calls = run.Events("appserver");
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0]["call"], "Request");
    const auto& job = calls[0]["args"][0];
    EXPECT_EQ(job[0]["items"][0], "KPQX07");
    EXPECT_EQ(job[0]["items"][4], "796");
    EXPECT_EQ(job[2]["items"][0], "20240315");
    const std::string jobNumber = calls[0]["answer"].get<std::string>();
    EXPECT_EQ(jobNumber.size(), 14u);

    const auto boxes = run.Events("box");
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0]["kind"], "mtInformation");
    EXPECT_NE(boxes[0]["text"].get<std::string>().find(jobNumber), std::string::npos);
    EXPECT_EQ(boxes[0]["buttons"], nlohmann::ordered_json::array({"OK"}));
    EXPECT_EQ(boxes[0]["answer"], "OK");

    const auto destroyed = run.Events("notify").back();
    EXPECT_EQ(destroyed["resultCode"], 1);
    EXPECT_EQ(destroyed["resultValue"], jobNumber);
    const auto result = run.Events("result");
    ASSERT_EQ(result.size(), 1u);
    EXPECT_EQ(result[0]["resultCode"], 1);
    EXPECT_EQ(result[0]["resultValue"], jobNumber);
    EXPECT_TRUE(result[0]["formFreed"].get<bool>());
    EXPECT_NE(run.output.find("ResultCode 1"), std::string::npos) << run.output;
}

TEST_F(HostRunTest, ACancelledModelessFormReportsCancel) {
    const THostRun run = Run(R"([
        {"do": "form_info"},
        {"do": "click", "control": "frmKpqx07.btnCancel"}
    ])",
                             "--modeless");
    ASSERT_EQ(run.exitCode, 0) << run.output;
    EXPECT_EQ(run.Notifications(), kWholeLife);
    const auto info = run.Events("formInfo");
    ASSERT_EQ(info.size(), 1u);
    EXPECT_EQ(info[0]["info"],
              nlohmann::ordered_json::parse(R"(["796", "DAZudo60", "KPQX07", "维修单清单"])"));
    EXPECT_TRUE(run.Events("modalResult").empty());
    EXPECT_EQ(run.Events("result")[0]["resultCode"], 2);
    EXPECT_TRUE(run.Events("appserver").empty());
}

TEST_F(HostRunTest, HostCommandsDriveTheForm) {
    // Mode 2 submits without showing the result; kind 7 is not a command kind.
    const THostRun run = Run(R"({"user": "U0101", "steps": [
        {"do": "typed_command", "kind": 7, "command": [1]},
        {"do": "command", "command": ["host", [2, [true, [[["", "edPrintDate"]], [""]]]]]}
    ]})");
    ASSERT_EQ(run.exitCode, 0) << run.output;
    const auto commands = run.Events("command");
    ASSERT_EQ(commands.size(), 2u);
    EXPECT_EQ(commands[0]["result"], -1);
    EXPECT_EQ(commands[1]["result"], 0);
    EXPECT_TRUE(run.Events("box").empty());
    EXPECT_EQ(run.Events("appserver")[0]["args"][0][0]["items"][4], "U0101");
    EXPECT_EQ(run.Events("result")[0]["resultCode"], 1);
    EXPECT_EQ(run.Notifications(), kWholeLife);
}

TEST_F(HostRunTest, WithoutAScriptTheFormIsClosedAsItsUserWould) {
    const THostRun run = Run("");
    ASSERT_EQ(run.exitCode, 0) << run.output;
    EXPECT_EQ(run.Notifications(), kWholeLife);
    EXPECT_EQ(run.Events("result")[0]["resultCode"], 0);
}

TEST_F(HostRunTest, AFailingStepEndsTheRunAndStillFreesTheForm) {
    const THostRun run = Run(R"([
        {"do": "type", "control": "edNowhere", "text": "x"},
        {"do": "click", "control": "btnOk"}
    ])");
    EXPECT_EQ(run.exitCode, 1) << run.output;
    const auto errors = run.Events("error");
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0]["step"], 1);
    EXPECT_NE(errors[0]["message"].get<std::string>().find("edNowhere"), std::string::npos);
    EXPECT_EQ(run.Events("step").size(), 1u);  // the click never ran
    EXPECT_EQ(run.Notifications(), kWholeLife);
    EXPECT_TRUE(run.Events("result")[0]["formFreed"].get<bool>());
}

TEST_F(HostRunTest, AnUnusableScriptOrPlugInRunsNothing) {
    const THostRun badScript = Run(R"([{"do": "jump"}])");
    EXPECT_EQ(badScript.exitCode, 2);
    EXPECT_TRUE(badScript.Events("open").empty());
    EXPECT_NE(badScript.output.find("unknown action"), std::string::npos) << badScript.output;

    const THostRun noPlugIn = Run("", "--plugin /nonexistent/KPQX99C.so");
    EXPECT_EQ(noPlugIn.exitCode, 2);
    EXPECT_TRUE(noPlugIn.Events("notify").empty());
    EXPECT_NE(noPlugIn.output.find("KPQX99C.so"), std::string::npos) << noPlugIn.output;
}

}  // namespace
}  // namespace kv::test
