// The headless lookup window, date quick entry and phrase window: scripted answers against
// the demo data, and the record of every request.
#include <gtest/gtest.h>

#include "platform/core/Exceptions.h"
#include "suite/hostsvc/HostText.h"
#include "suite/hostsvc/LookupWindow.h"
#include "tests/suite/hostsvc/HostSvcFixture.h"

namespace kv {
namespace {

class LookupWindow : public HostSvcTest {
protected:
    // The request array the plug-in sends.
    Variant Request(const char* table, const char* kind, const Variant& params, bool multi,
                    const char* start = "") {
        return VarArrayOf({table, kind, params, multi, start, "DAZudo60", "DAZudo60", 1234, 1,
                           false, 1, "", "", "", "", true, true, host_, "796"});
    }
    Variant Lookup(const Variant& request) { return OleCall(Window(), "F2GetData", {request}); }
    const THostRequest& Last() const { return services_->Requests().back(); }
    THostScript& Script() { return services_->Script(); }
};

std::vector<std::string> Column0(const Variant& rows) {
    std::vector<std::string> codes;
    for (int i = rows.LowBound(1); i <= rows.HighBound(1); ++i)
        codes.push_back(rows[i][0].AsString());
    return codes;
}

TEST_F(LookupWindow, ChoosesRowsByCodeFromTheRealList) {
    Script().AddLookup(TLookupAnswer::ByCodes({"RD03"}));
    const Variant one = Lookup(Request("CMSME", "01", Variant(), false));
    EXPECT_EQ(one,
              VarArrayOf({VarArrayOf({"RD03", "空调维修部", "Air Conditioner Repair", "U0103"})}));

    Script().AddLookup(TLookupAnswer::ByCodes({"R0002", "R0001"}));
    EXPECT_EQ(Column0(Lookup(Request("RMAMB", "01", Variant(), true))),
              (std::vector<std::string>{"R0002", "R0001"}));
    EXPECT_TRUE(Last().scripted);
    EXPECT_EQ(Last().note, "");
}

TEST_F(LookupWindow, PicksSeveralByPositionAndTakesOneForASingleChoice) {
    Script().AddLookup(TLookupAnswer::ByPositions({0, 2}));
    EXPECT_EQ(Column0(Lookup(Request("RMAMA", "01", VarArrayOf({""}), true, "SH"))),
              (std::vector<std::string>{"BJ-CY01", "CD-WH01"}));
    Script().AddLookup(TLookupAnswer::ByPositions({1, 2}));
    EXPECT_EQ(Column0(Lookup(Request("RMAMA", "01", VarArrayOf({""}), false))),
              (std::vector<std::string>{"BJ-HD01"}));
    EXPECT_NE(Last().note.find("single choice"), std::string::npos);
}

TEST_F(LookupWindow, RepairOrdersAreNarrowedByTheTypedPartsAndNamedTypeDashNumber) {
    Script().AddLookup(TLookupAnswer::ByPositions({0}));
    const Variant first = Lookup(Request("RMATC", "02", VarArrayOf({"RM02", "202403"}), false));
    EXPECT_EQ(first[0][0].AsString(), "RM02");
    EXPECT_EQ(first[0][1].AsString().substr(0, 6), "202403");
    Script().AddLookup(TLookupAnswer::ByCodes({"RM01-20240101002"}));
    const Variant named = Lookup(Request("RMATC", "02", VarArrayOf({"", ""}), true));
    EXPECT_EQ(named[0][1].AsString(), "20240101002");
    // A "%" typed by the user is a plain character, not a pattern.
    Script().AddLookup(TLookupAnswer::ByPositions({0}));
    EXPECT_TRUE(Lookup(Request("RMATC", "02", VarArrayOf({"%", ""}), false)).IsEmpty());
}

TEST_F(LookupWindow, CancelsForACancelAnAnswerForAnotherTableOrNoAnswer) {
    Script().AddLookup(TLookupAnswer::Cancel());
    EXPECT_TRUE(Lookup(Request("COPMA", "01", VarArrayOf({""}), false)).IsEmpty());
    EXPECT_TRUE(Last().scripted);

    Script().AddLookup(TLookupAnswer::ByCodes({"C0001"}, "COPMA"));
    EXPECT_TRUE(Lookup(Request("CMSME", "01", Variant(), false)).IsEmpty());
    EXPECT_NE(Last().note.find("COPMA"), std::string::npos);
    EXPECT_EQ(Script().PendingLookups(), 1u);  // still waiting for its table
    EXPECT_EQ(Column0(Lookup(Request("copma", "01", VarArrayOf({""}), false))),
              (std::vector<std::string>{"C0001"}));

    EXPECT_TRUE(Lookup(Request("COPMA", "01", VarArrayOf({""}), false)).IsEmpty());
    EXPECT_FALSE(Last().scripted);
    EXPECT_EQ(Last().note, "no scripted answer: cancelled");

    Script().AddLookup(TLookupAnswer::ByCodes({"C9999"}));
    EXPECT_TRUE(Lookup(Request("COPMA", "01", VarArrayOf({""}), false)).IsEmpty());
    EXPECT_NE(Last().note.find("C9999"), std::string::npos);

    Script().AddLookup(TLookupAnswer::Typed(Variant("C0042")));
    EXPECT_EQ(Lookup(Request("COPMA", "01", VarArrayOf({""}), false)), Variant("C0042"));
}

TEST_F(LookupWindow, RecordsEachRequestWithoutTheObjectsInIt) {
    std::vector<THostRequest> heard;
    services_->SetRequestListener([&](const THostRequest& r) { heard.push_back(r); });
    Script().AddLookup(TLookupAnswer::ByCodes({"KPQX07"}));
    Lookup(Request("ADMMB", "01", VarArrayOf({""}), false));
    ASSERT_EQ(heard.size(), 1u);
    EXPECT_EQ(heard[0].service, "F2GetData");
    EXPECT_EQ(heard[0].request[17], Variant("(object)"));
    EXPECT_EQ(heard[0].request[0], Variant("ADMMB"));
    EXPECT_EQ(heard[0].answer[0][1], Variant("维修单清单"));
}

TEST_F(LookupWindow, RefusesMalformedRequestsAndRecordsWhy) {
    const std::vector<Variant> bad = {
        Variant("CMSME"),
        VarArrayOf({"CMSME", "01"}),
        Request("NOSUCH", "01", Variant(), false),
        Request("CMSME", "09", Variant(), false),
        Request("CMSME", "01", VarArrayOf({VarArrayOf({1})}), false),
        Request("CMSME", "01", Variant(), false),
    };
    Variant otherDb = bad.back();
    otherDb[6] = Variant("OtherDb");
    for (const Variant& request : {bad[0], bad[1], bad[2], bad[3], bad[4], otherDb}) {
        SCOPED_TRACE(VarToDebugText(WithoutObjects(request)));
        const std::size_t before = services_->Requests().size();
        EXPECT_THROW(Lookup(request), EOleException);
        ASSERT_EQ(services_->Requests().size(), before + 1);
        EXPECT_NE(Last().note, "");
    }
}

TEST_F(LookupWindow, DateQuickEntryAnswersTheScriptedDay) {
    const Variant request = VarArrayOf({false, "20240315", "DAZudo60"});
    Script().AddDate(TDateAnswer::On("20240401"));
    Script().AddDate(TDateAnswer::Start());
    Script().AddDate(TDateAnswer::Cancel());
    EXPECT_EQ(OleCall(Window(), "ShowInputDay", {request}), Variant("20240401"));
    EXPECT_EQ(OleCall(Window(), "ShowInputDay", {request}), Variant("20240315"));
    EXPECT_EQ(OleCall(Window(), "ShowInputDay", {request}), Variant(""));
    EXPECT_EQ(OleCall(Window(), "ShowInputDay", {request}), Variant(""));
    EXPECT_EQ(Last().note, "no scripted answer: cancelled");
    // Opened on a text that is no day, the window starts on today.
    Script().AddDate(TDateAnswer::Start());
    const std::string today =
        OleCall(Window(), "ShowInputDay", {VarArrayOf({true, "2024/3/1", "DAZudo60"})}).AsString();
    EXPECT_EQ(today.size(), 8u);
    EXPECT_NE(today, "2024/3/1");
    EXPECT_THROW(TDateAnswer::On("20240230"), EConvertError);
    EXPECT_THROW(TDateAnswer::On("17521231"), EConvertError);
    EXPECT_THROW(OleCall(Window(), "ShowInputDay", {Variant("20240315")}), EOleException);
}

TEST_F(LookupWindow, PhraseWindowAnswersTheUsersOrEverybodysPhrase) {
    Script().AddPhrase(TPhraseAnswer::ByCode("101"));
    Script().AddPhrase(TPhraseAnswer::ByCode("004"));
    Script().AddPhrase(TPhraseAnswer::ByCode("101"));
    Script().AddPhrase(TPhraseAnswer::Typed("自己输入的文字"));
    const auto phrase = [&](const char* user) {
        return OleCall(Window(), "GetPhrase", {user, "DAZudo60", 1234}).AsString();
    };
    EXPECT_EQ(phrase("796"), "本月维修单请于月底前审核。");
    EXPECT_EQ(phrase("796"), "保修期内, 免费维修。");
    EXPECT_EQ(phrase("ADMIN"), "");  // another user's phrase
    EXPECT_NE(Last().note, "");
    EXPECT_EQ(phrase("ADMIN"), "自己输入的文字");
    EXPECT_EQ(phrase("ADMIN"), "");
}

}  // namespace
}  // namespace kv
