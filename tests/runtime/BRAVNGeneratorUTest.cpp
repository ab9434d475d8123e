#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <random>
#include <system_error>

#include "platform/core/Exceptions.h"
#include "platform/core/SysUtils.h"
#include "src/runtime/BRAVNGeneratorU.h"
#include "tests/runtime/RuntimeTestSupport.h"

namespace kv {
namespace {

using test::ReadWholeFile;
using test::ScopedEnv;
using test::ScratchDir;

// ---------------------------------------------------------------------------------------------
// Scrambling

TEST(ScramblePasswordTest, KnownTexts) {
    EXPECT_EQ(ScramblePassword("A"), "A0");  // 0x41 rotated right by one bit
    // Position 8 rotates by 0 bits, position 9 by 1 bit again.
    EXPECT_EQ(ScramblePassword("AAAAAAAAA"), "A05028140A058241A0");
    EXPECT_EQ(ScramblePassword(""), ScramblePassword(kNoPasswordMarker));
    EXPECT_EQ(ScramblePassword("\xff\x01").size(), 4u);
    EXPECT_THAT(ScramblePassword("any text 中文"), ::testing::MatchesRegex("[0-9A-F]+"));
}

TEST(ScramblePasswordTest, RoundTripsEveryByteStringUpTo64Bytes) {
    std::mt19937 rng(7);
    std::uniform_int_distribution<int> byte(0, 255);
    for (std::size_t length = 0; length <= 64; ++length) {
        for (int sample = 0; sample < 40; ++sample) {
            std::string password(length, '\0');
            for (char& c : password)
                c = static_cast<char>(byte(rng));
            ASSERT_EQ(UnscramblePassword(ScramblePassword(password)), password)
                << "length " << length;
        }
    }
    // Every byte value at every rotation amount.
    for (int value = 0; value < 256; ++value) {
        const std::string password(8, static_cast<char>(value));
        ASSERT_EQ(UnscramblePassword(ScramblePassword(password)), password) << value;
    }
}

TEST(UnscramblePasswordTest, EdgeTexts) {
    EXPECT_EQ(UnscramblePassword(""), "");
    EXPECT_EQ(UnscramblePassword("A"), "");                   // a single trailing character
    EXPECT_EQ(UnscramblePassword("A0F"), "A");                // the odd last character is ignored
    EXPECT_EQ(UnscramblePassword("a0"), "A");                 // lower-case digits read as well
    EXPECT_EQ(UnscramblePassword(ScramblePassword("")), "");  // the empty-password marker
}

class UnscrambleErrorTest : public ::testing::Test {
protected:
    ScratchDir registryDir_;
    ScratchDir tempDir_;
    // No registry key: the report goes under the user's temporary folder.
    ScopedEnv registry_{"KV_REGISTRY_FILE", registryDir_ / "missing.reg"};
    ScopedEnv temp_{"TMPDIR", tempDir_.Path()};

    std::string ReportText() const {
        const std::string file = tempDir_.Path() + "/Log/Alert_BRAVNGenerator_" +
                                 FormatDateTime("yyyymmdd", Now()) + ".log";
        return ReadWholeFile(file);
    }
};

TEST_F(UnscrambleErrorTest, BadPairGivesTheErrorMarkerAndAReport) {
    EXPECT_EQ(UnscramblePassword("A0ZZ"), kPasswordErrorMarker);
    EXPECT_EQ(UnscramblePassword("A0 1"), kPasswordErrorMarker);
    EXPECT_EQ(UnscramblePassword("-1"), kPasswordErrorMarker);
    const std::string report = ReportText();
    EXPECT_THAT(report, ::testing::HasSubstr(" on " + ScramblePassword("DecodeSQLSa") + " "));
    EXPECT_THAT(report, ::testing::HasSubstr(
                            "] Exception is EConvertError\r\nMessage 01: '$ZZ' is not a valid "
                            "integer value\r\n"));
    EXPECT_THAT(report, ::testing::HasSubstr("] Programer Message: 解析 Sa 时发生错误!\r\n"));
}

// ---------------------------------------------------------------------------------------------
// Error report

// The report's lines without their time stamps.
std::string Unstamped(const std::string& text) {
    std::string out;
    std::size_t at = 0;
    while (at < text.size()) {
        std::size_t end = text.find("\r\n", at);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(at, end - at);
        if (!line.empty() && line[0] == '[') line = line.substr(line.find("] ") + 2);
        out += line + "\n";
        at = end + 2;
    }
    return out;
}

struct ReportCase {
    const char* name;
    std::function<std::exception_ptr()> error;  // null error when it answers nullptr
    const char* where;
    const char* note;
    const char* expected;
};

const std::string kDashes = "----------------------------------";

template <typename E>
std::exception_ptr Make(E error) {
    return std::make_exception_ptr(std::move(error));
}

TEST(WriteErrorReportTest, LinesByErrorClass) {
    const ReportCase cases[] = {
        {"no error, blank where and note", [] { return std::exception_ptr(); }, "  ", " ",
         "--------------------------------------------------------------------\n"},
        {"in-out error", [] { return Make(EInOutError("disk full")); }, "Save", "",
         "---------------------------------- on Save ----------------------------------\n"
         "讯息信息:\nEInOutError Error 01: Code: 0, Message: disk full\n"
         "ErrorMessage Count: 1\n"},
        {"operating-system error", [] { return Make(EOSError("denied")); }, "", "",
         "--------------------------------------------------------------------\n"
         "讯息信息:\nEWin32Error Error 01: Code: 0, Message: denied\nErrorMessage Count: 1\n"},
        {"system error keeps its code",
         [] { return Make(std::system_error(13, std::generic_category(), "open")); }, "", "",
         nullptr},
        {"percent sign unchanged", [] { return Make(EConvertError("100% %s %d")); }, "x", "note %d",
         "---------------------------------- on x ----------------------------------\n"
         "讯息信息:\nException is EConvertError\nMessage 01: 100% %s %d\n"
         "ErrorMessage Count: 1\nProgramer Message: note %d\n"},
        {"standard error maps to its platform class",
         [] { return Make(std::out_of_range("index 9")); }, "", "",
         "--------------------------------------------------------------------\n"
         "讯息信息:\nException is ERangeError\nMessage 01: index 9\nErrorMessage Count: 1\n"},
    };
    for (const auto& c : cases) {
        ScratchDir dir;
        std::exception_ptr thrown = c.error();
        bool written = false;
        if (!thrown) {
            written = WriteErrorReportIn(dir.Path(), nullptr, c.where, c.note);
        } else {
            try {
                std::rethrow_exception(thrown);
            } catch (const std::exception& e) {
                written = WriteErrorReportIn(dir.Path(), &e, c.where, c.note);
            }
        }
        ASSERT_TRUE(written) << c.name;
        const std::string text = ReadWholeFile(dir.Path() + "/Log/Alert_BRAVNGenerator_" +
                                               FormatDateTime("yyyymmdd", Now()) + ".log");
        if (c.expected != nullptr)
            EXPECT_EQ(Unstamped(text), c.expected) << c.name;
        else
            EXPECT_THAT(text, ::testing::HasSubstr("EWin32Error Error 01: Code: 13, Message: open"))
                << c.name;
    }
}

TEST(WriteErrorReportTest, StampsEachLineWithShortDateAndLongTime) {
    ScratchDir dir;
    const TFormatSettings saved = FormatSettings;
    FormatSettings.ShortDateFormat = "dd.mm.yyyy";
    FormatSettings.DateSeparator = '.';
    const bool written = WriteErrorReportIn(dir.Path(), nullptr, "", "hello");
    FormatSettings = saved;
    ASSERT_TRUE(written);
    const std::string text = ReadWholeFile(dir.Path() + "/Log/Alert_BRAVNGenerator_" +
                                           FormatDateTime("yyyymmdd", Now()) + ".log");
    EXPECT_THAT(text, ::testing::MatchesRegex(
                          R"((\[[0-9]{2}\.[0-9]{2}\.[0-9]{4} [0-9]{2}:[0-9]{2}:[0-9]{2}\] [^)"
                          "\r\n]*\r\n){2}"));
}

TEST(WriteErrorReportTest, UnwritableRootAnswersFalse) {
    ScratchDir dir;
    test::WriteWholeFile(dir / "file", "x");
    EXPECT_FALSE(WriteErrorReportIn(dir / "file", nullptr, "w", "n"));
}

}  // namespace
}  // namespace kv

namespace kv {
namespace {

TEST(ErrorReportRootTest, RegistryThenTemporaryFolderThenTmp) {
    ScratchDir dir;
    test::ScopedEnv registryFile{"KV_REGISTRY_FILE", dir / "registry.ini"};
    test::ScopedEnv temp{"TMPDIR", dir / "tmp"};
    std::filesystem::create_directories(dir / "tmp");
    const std::string key = "[HKEY_LOCAL_MACHINE\\Software\\KVT\\Velmar]\n";
    const std::pair<std::string, std::string> cases[] = {
        {key + "ClientPath=/c\nServerPath=/s\n", "/c"},
        {key + "ServerPath=/s\n", "/s"},
        {key, dir / "tmp/"},
        {"", dir / "tmp/"},
        {key + "ClientPath=dword:7\n", "/tmp"},  // the registry cannot be read
    };
    for (const auto& [registry, expected] : cases) {
        test::WriteWholeFile(dir / "registry.ini", registry);
        EXPECT_EQ(ErrorReportRoot(), expected) << registry;
    }
}

}  // namespace
}  // namespace kv
