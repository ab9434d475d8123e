// The recording proxy passes calls on unchanged and reports each one, failures included.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <memory>
#include <sstream>
#include <vector>

#include "platform/core/Dispatch.h"
#include "platform/core/Exceptions.h"
#include "suite/kvhost/RecordingDispatch.h"
#include "suite/kvhost/Transcript.h"

namespace kv {
namespace {

class RecordingDispatchTest : public ::testing::Test {
protected:
    RecordingDispatchTest() {
        auto inner = std::make_shared<TAutoObject>();
        inner->RegisterMethod(
            "LoadTable",
            [](std::vector<Variant>& args) {
                args[0] = VarArrayOf({"796", "KPQX07"});
                return Variant();
            },
            1, 1);
        inner->RegisterMethod("Request", [](std::vector<Variant>&) -> Variant {
            throw EOleException("作业数组不正确");
        });
        server = Variant(std::make_shared<TRecordingDispatch>(
            inner, [this](const TCallRecord& call) { calls.push_back(call); }));
    }
    Variant server;
    std::vector<TCallRecord> calls;
};

TEST_F(RecordingDispatchTest, ByReferenceAnswersReachTheCallerAndTheRecord) {
    Variant key = "before";
    OleCall(server, "LoadTable", {VarRef(key)});
    EXPECT_EQ(key, VarArrayOf({"796", "KPQX07"}));
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].member, "LoadTable");
    EXPECT_EQ(calls[0].args[0].AsString(), "before");
    EXPECT_EQ(calls[0].argsOut[0], key);
    EXPECT_FALSE(calls[0].failed);
}

TEST_F(RecordingDispatchTest, FailuresAreRecordedAndPassedOn) {
    EXPECT_THROW(OleCall(server, "Request", {1}), EOleException);
    EXPECT_THROW(OleCall(server, "NoSuchCall"), EOleSysError);
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_TRUE(calls[0].failed);
    EXPECT_NE(calls[0].error.find("作业数组不正确"), std::string::npos);
    EXPECT_NE(calls[1].error.find("NoSuchCall"), std::string::npos);
}

TEST(Transcript, LinesStartWithTheEventAndSurviveBadText) {
    std::ostringstream out;
    TTranscript transcript(out);
    transcript.Write("box", {{"text", std::string("ok \xff\xfe")}, {"answer", "OK"}});
    EXPECT_EQ(out.str().substr(0, 15), R"({"event":"box",)");
    EXPECT_NE(out.str().find("\"answer\":\"OK\"}\n"), std::string::npos);
    EXPECT_EQ(transcript.Lines().size(), 1u);
    // A folder that cannot be made: a file stands in its place.
    const std::string file = ::testing::TempDir() + "transcript-blocker";
    std::ofstream(file) << "x";
    EXPECT_THROW(TTranscript(file + "/t.jsonl"), EInOutError);
    std::remove(file.c_str());
}

}  // namespace
}  // namespace kv
