// The host object: identity, messages, help requests, the file list and its services.
#include <gtest/gtest.h>

#include "platform/core/ComObj.h"
#include "platform/core/Exceptions.h"
#include "platform/core/SysUtils.h"
#include "suite/hostsvc/HostManager.h"
#include "tests/suite/hostsvc/HostSvcFixture.h"

namespace kv {
namespace {

using HostManager = HostSvcTest;

std::string Message(const Variant& host, const char* kind, const char* number) {
    return OleCall(host, "GetMessage", {kind, number}).AsString();
}

TEST_F(HostManager, AnswersItsIdentityAndCreatesEachServiceOnce) {
    EXPECT_EQ(OleGet(host_, "VersionType").AsInteger(), 1);
    EXPECT_EQ(OleGet(host_, "productid").AsInteger(), 1);
    EXPECT_EQ(Counter().AsDispatch(), Counter().AsDispatch());
    EXPECT_NE(Counter().AsDispatch(), Validator().AsDispatch());
    EXPECT_NE(Window().AsDispatch(), nullptr);
}

TEST_F(HostManager, IsCreatableByClassNameOnceRegistered) {
    RegisterHostManagerClass(services_);
    const Variant created = CreateOleObject("PinnoxWorkCenter.Manager");
    EXPECT_EQ(OleCall(created, "GetMessage", {"E", "000038"}).AsString(),
              Message(host_, "E", "000038"));
    EXPECT_TRUE(UnregisterHostManagerClass());
    EXPECT_THROW(CreateOleObject("PinnoxWorkCenter.Manager"), EOleSysError);
}

// Every coded message the plug-in names, with the arguments it passes: each text takes them
// (no format error) and shows them, in both languages.
struct TMessageCase {
    const char* kind;
    const char* number;
    std::vector<std::string> args;
};

TEST_F(HostManager, EveryMessageOfThePlugInExistsInBothLanguagesAndTakesItsArguments) {
    const std::vector<TMessageCase> cases = {{"E", "000001", {"代号不存在"}},
                                             {"E", "000005", {"请检查"}},
                                             {"E", "000006", {}},
                                             {"E", "000013", {"no rights"}},
                                             {"E", "000015", {}},
                                             {"E", "000016", {}},
                                             {"E", "000030", {"print date"}},
                                             {"E", "000036", {}},
                                             {"E", "000037", {}},
                                             {"E", "000038", {}},
                                             {"E", "100082", {"结束日期", "开始日期"}},
                                             {"I", "000003", {""}},
                                             {"I", "000004", {"20240315000001"}},
                                             {"I", "000005", {""}},
                                             {"I", "000008", {}},
                                             {"I", "000009", {}},
                                             {"I", "000010", {}},
                                             {"I", "000011", {}},
                                             {"W", "000002", {"选择条件文字", "13", "12"}},
                                             {"W", "000003", {"选择条件文字", "13", "7"}},
                                             {"W", "000004", {"页脚编号不存在!"}},
                                             {"W", "000014", {}},
                                             {"R", "100235", {}},
                                             {"R", "100236", {}},
                                             {"R", "200235", {}}};
    for (const char* codePage : {"936", "437"}) {
        OlePut(host_, "CodePage", codePage);
        for (const auto& c : cases) {
            SCOPED_TRACE(std::string(codePage) + " " + c.kind + ";" + c.number);
            const std::string text = Message(host_, c.kind, c.number);
            EXPECT_EQ(text.find("not in the message table"), std::string::npos);
            EXPECT_EQ(text.find("讯息表中没有"), std::string::npos);
            // The plug-in formats with ten argument slots, the missing ones empty.
            std::vector<FormatArg> slots(c.args.begin(), c.args.end());
            slots.resize(10, FormatArg(""));
            const std::string shown = Format(text, slots);
            for (const auto& arg : c.args)
                EXPECT_NE(shown.find(arg), std::string::npos) << shown;
        }
    }
}

TEST_F(HostManager, MessagesFollowTheHostsLanguage) {
    EXPECT_EQ(Message(host_, "E", "000037"), "必须输入的栏位尚未输入!");
    services_->SetCodePage("437");
    EXPECT_EQ(Message(host_, "e", "37"), "A required field is empty.");
    EXPECT_EQ(Message(host_, "E", "999999"), "Message E;999999 is not in the message table");
    services_->SetCodePage("950");
    EXPECT_EQ(Message(host_, "E", "999999"), "讯息表中没有讯息 E;999999");
}

TEST_F(HostManager, HelpRequestsAreRecordedNotShown) {
    std::vector<std::string> heard;
    services_->SetRequestListener([&](const THostRequest& r) { heard.push_back(r.service); });
    OleCall(host_, "CallHelp", {VarArrayOf({"KPQ", "12070000"})});
    OleCall(host_, "CallHelp", {"12070000"});
    ASSERT_EQ(services_->Requests().size(), 2u);
    EXPECT_EQ(services_->Requests()[0].request, VarArrayOf({"KPQ", "12070000"}));
    EXPECT_EQ(services_->Requests()[0].note, "");
    EXPECT_NE(services_->Requests()[1].note, "");
    EXPECT_EQ(heard, (std::vector<std::string>{"CallHelp", "CallHelp"}));
}

TEST_F(HostManager, FileListGivesTheRecordOfAFileOnTheUpdateShare) {
    const std::string record =
        OleCall(host_, "GetFileList", {VarArrayOf({"kpqx07s.so"})}).AsString();
    EXPECT_EQ(record,
              "<File><Name>kpqx07s.so</Name><Modify>20240301120000</Modify>"
              "<Path>/srv/kv/update/S_PKG/kpqx07s.so</Path></File>");
    // A name with its folder or in capitals finds the same file; an unknown file has none.
    EXPECT_EQ(OleCall(host_, "GetFileList", {VarArrayOf({"/opt/kv/S_PKG/KPQX07S.so"})}), record);
    EXPECT_EQ(OleCall(host_, "GetFileList", {VarArrayOf({"nosuch.so"})}).AsString(), "");
    EXPECT_THROW(OleCall(host_, "GetFileList", {VarArrayOf({VarArrayOf({1})})}), EOleException);
}

}  // namespace
}  // namespace kv
