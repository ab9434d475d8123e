#include "src/runtime/BRAVNGeneratorU.h"

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <ios>
#include <system_error>
#include <vector>

#include "platform/core/Exceptions.h"
#include "platform/core/SysUtils.h"
#include "platform/core/SystemInfo.h"
#include "src/runtime/LogRoot.h"

namespace kv {

namespace {

std::uint8_t RotateRight(std::uint8_t value, unsigned bits) {
    bits %= 8;
    if (bits == 0) return value;
    return static_cast<std::uint8_t>((value >> bits) | (value << (8 - bits)));
}

std::uint8_t RotateLeft(std::uint8_t value, unsigned bits) {
    return RotateRight(value, (8 - bits % 8) % 8);
}

int HexDigitValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

// The pair as the platform's integer reader takes "$" + pair, with its error for a bad one.
std::uint8_t ReadHexPair(char high, char low) {
    const int h = HexDigitValue(high);
    const int l = HexDigitValue(low);
    if (h < 0 || l < 0)
        throw EConvertError("'$" + std::string{high, low} + "' is not a valid integer value");
    return static_cast<std::uint8_t>(h * 16 + l);
}

// Lines of the report for one error, by the platform class it maps to (see docs/runtime.md).
std::vector<std::string> ErrorLines(const std::exception& error) {
    const std::string message = error.what();
    const std::string className = ExceptionClassName(error);
    const auto* platform = dynamic_cast<const Exception*>(&error);
    const auto* system = dynamic_cast<const std::system_error*>(&error);
    const auto* stream = dynamic_cast<const std::ios_base::failure*>(&error);
    const bool inOut = (platform != nullptr && platform->InheritsFrom("EInOutError")) ||
                       dynamic_cast<const std::filesystem::filesystem_error*>(&error) != nullptr ||
                       stream != nullptr;
    const bool os = (platform != nullptr && platform->InheritsFrom("EOSError")) ||
                    (system != nullptr && !inOut);
    const int code = system != nullptr ? system->code().value() : 0;
    if (inOut) return {Format("EInOutError Error %.2d: Code: %d, Message: %s", {1, code, message})};
    if (os) return {Format("EWin32Error Error %.2d: Code: %d, Message: %s", {1, code, message})};
    return {Format("Exception is %s\r\nMessage %.2d: ", {className, 1}) + message};
}

std::vector<std::string> ReportLines(const std::exception* error, const std::string& where,
                                     const std::string& programmerMessage) {
    const std::string dashes = "----------------------------------";
    const std::string middle = Trim(where).empty() ? std::string() : " on " + where + " ";
    std::vector<std::string> lines{dashes + middle + dashes};
    if (error != nullptr) {
        lines.emplace_back("讯息信息:");
        const auto errorLines = ErrorLines(*error);
        lines.insert(lines.end(), errorLines.begin(), errorLines.end());
        lines.push_back(Format("ErrorMessage Count: %d", {static_cast<int>(errorLines.size())}));
    }
    if (!Trim(programmerMessage).empty())
        lines.push_back("Programer Message: " + programmerMessage);
    return lines;
}

bool AppendStampedLine(const std::string& file, const std::string& text) {
    try {
        const std::string stamp = FormatDateTime(
            FormatSettings.ShortDateFormat + " " + FormatSettings.LongTimeFormat, Now());
        const std::string line = "[" + stamp + "] " + text + "\r\n";
        std::ofstream out(file, std::ios::binary | std::ios::app);
        if (!out) return false;
        out.write(line.data(), static_cast<std::streamsize>(line.size()));
        out.close();
        return !out.fail();
    } catch (...) {
        return false;
    }
}

}  // namespace

std::string ScramblePassword(const std::string& password) {
    const std::string plain = password.empty() ? std::string(kNoPasswordMarker) : password;
    std::string scrambled;
    scrambled.reserve(plain.size() * 2);
    for (std::size_t i = 1; i <= plain.size(); ++i) {
        const auto byte = static_cast<std::uint8_t>(plain[i - 1]);
        scrambled += HexDigits(RotateRight(byte, static_cast<unsigned>(i % 8)), 2);
    }
    return scrambled;
}

std::string UnscramblePassword(const std::string& text) {
    try {
        std::string work;
        work.reserve(text.size() / 2);
        for (std::size_t a = 1; 2 * a <= text.size(); ++a) {
            const std::uint8_t byte = ReadHexPair(text[2 * a - 2], text[2 * a - 1]);
            work += static_cast<char>(RotateLeft(byte, static_cast<unsigned>(a % 8)));
        }
        return work == kNoPasswordMarker ? std::string() : work;
    } catch (const std::exception& error) {
        WriteErrorReport(&error, ScramblePassword("DecodeSQLSa"), "解析 Sa 时发生错误!");
        return kPasswordErrorMarker;
    }
}

std::string ErrorReportRoot() {
    const auto fromRegistry = RegistryLogRoot();
    if (!fromRegistry) return "/tmp";
    if (!fromRegistry->empty()) return *fromRegistry;
    std::string temp = GetTempPath();
    if (temp.size() > 255) temp.resize(255);
    return temp.empty() ? std::string("/tmp") : temp;
}

bool WriteErrorReportIn(const std::string& root, const std::exception* error,
                        const std::string& where, const std::string& programmerMessage) {
    try {
        const std::string folder = JoinLogFolder(root);
        if (!ForceDirectories(folder)) return false;
        const std::string file =
            folder + "/Alert_BRAVNGenerator_" + FormatDateTime("yyyymmdd", Now()) + ".log";
        bool written = true;
        for (const auto& line : ReportLines(error, where, programmerMessage))
            written = AppendStampedLine(file, line) && written;
        return written;
    } catch (...) {
        return false;
    }
}

bool WriteErrorReport(const std::exception* error, const std::string& where,
                      const std::string& programmerMessage) {
    return WriteErrorReportIn(ErrorReportRoot(), error, where, programmerMessage);
}

}  // namespace kv
