#include "platform/core/IniFiles.h"

#include <charconv>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <optional>
#include <string_view>
#include <system_error>

#include "platform/core/IniFileIO.h"

namespace kv {

namespace {

// Digits of `text` in `base` as an unsigned number, nothing else allowed.
std::optional<std::uint64_t> ParseDigits(std::string_view text, int base) {
    if (text.empty() || text.size() > 20) return std::nullopt;
    std::uint64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

// The platform's integer reading: optional sign, then decimal digits or "$"/"0x" and up to
// eight hexadecimal digits (which wrap into the negative range like a 32-bit pattern).
std::optional<int> ParseInteger(std::string_view text) {
    text = ini::Trim(text);
    const bool negative = !text.empty() && text.front() == '-';
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) text.remove_prefix(1);
    std::optional<std::uint64_t> magnitude;
    if (text.starts_with('$') || text.starts_with("0x") || text.starts_with("0X")) {
        text.remove_prefix(text.front() == '$' ? 1 : 2);
        magnitude = ParseDigits(text, 16);
        if (!magnitude || *magnitude > 0xFFFFFFFFull) return std::nullopt;
        const auto bits = static_cast<std::uint32_t>(*magnitude);
        const auto pattern = static_cast<std::int32_t>(bits);
        return negative ? static_cast<int>(0u - bits) : pattern;
    }
    magnitude = ParseDigits(text, 10);
    constexpr auto kMax = static_cast<std::uint64_t>(std::numeric_limits<int>::max());
    if (!magnitude || *magnitude > kMax + (negative ? 1 : 0)) return std::nullopt;
    const auto signedValue = static_cast<std::int64_t>(*magnitude);
    return static_cast<int>(negative ? -signedValue : signedValue);
}

std::optional<double> ParseFloat(std::string_view text) {
    text = ini::Trim(text);
    if (text.starts_with('+')) text.remove_prefix(1);
    // from_chars also reads "inf", "nan" and hexadecimal forms, which are no numbers here.
    if (text.empty() || text.find_first_not_of("0123456789.eE+-") != std::string_view::npos)
        return std::nullopt;
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

// Fifteen significant digits, exponent written as "E20" / "E-7" without padding.
std::string FormatFloat(double value) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.15G", value);
    std::string text(buffer);
    const std::size_t e = text.find('E');
    if (e == std::string::npos) return text;
    std::string exponent = text.substr(e + 1);
    const bool minus = exponent.front() == '-';
    exponent.erase(0, exponent.find_first_not_of("+-0"));
    return text.substr(0, e + 1) + (minus ? "-" : "") + (exponent.empty() ? "0" : exponent);
}

bool HasLineBreak(std::string_view text) {
    return text.find_first_of("\r\n") != std::string_view::npos;
}

void CheckWritable(const std::string& file, const std::string& section, const std::string& ident,
                   const std::string& value) {
    const std::string_view key = ini::Trim(ident);
    std::string problem;
    if (HasLineBreak(section) || section.find(']') != std::string::npos)
        problem = "invalid section name '" + section + "'";
    else if (key.empty() || HasLineBreak(key) || key.find('=') != std::string_view::npos ||
             key.front() == '[' || key.front() == ';' || key.front() == '#')
        problem = "invalid key name '" + ident + "'";
    else if (HasLineBreak(value))
        problem = "value of '" + ident + "' contains a line break";
    if (!problem.empty()) throw EIniFileException("Unable to write to " + file + ": " + problem);
}

}  // namespace

// --- TCustomIniFile ----------------------------------------------------------------------

std::vector<std::string> TCustomIniFile::ReadSectionValues(const std::string& section) const {
    std::vector<std::string> lines;
    for (const std::string& key : ReadSection(section))
        lines.push_back(key + "=" + ReadString(section, key, ""));
    return lines;
}

bool TCustomIniFile::ValueExists(const std::string& section, const std::string& ident) const {
    const std::string folded = ini::Fold(ini::Trim(ident));
    for (const std::string& key : ReadSection(section))
        if (ini::Fold(key) == folded) return true;
    return false;
}

int TCustomIniFile::ReadInteger(const std::string& section, const std::string& ident,
                                int defaultValue) const {
    return ParseInteger(ReadString(section, ident, "")).value_or(defaultValue);
}

bool TCustomIniFile::ReadBool(const std::string& section, const std::string& ident,
                              bool defaultValue) const {
    return ReadInteger(section, ident, defaultValue ? 1 : 0) != 0;
}

double TCustomIniFile::ReadFloat(const std::string& section, const std::string& ident,
                                 double defaultValue) const {
    return ParseFloat(ReadString(section, ident, "")).value_or(defaultValue);
}

void TCustomIniFile::WriteInteger(const std::string& section, const std::string& ident, int value) {
    WriteString(section, ident, std::to_string(value));
}

void TCustomIniFile::WriteBool(const std::string& section, const std::string& ident, bool value) {
    WriteString(section, ident, value ? "1" : "0");
}

void TCustomIniFile::WriteFloat(const std::string& section, const std::string& ident,
                                double value) {
    WriteString(section, ident, FormatFloat(value));
}

// --- TDocumentIniFile --------------------------------------------------------------------

std::string TDocumentIniFile::ReadString(const std::string& section, const std::string& ident,
                                         const std::string& defaultValue) const {
    Refresh();
    const std::string* value = document_.Find(section, ident);
    return value == nullptr ? defaultValue : Unquote(*value);
}

void TDocumentIniFile::WriteString(const std::string& section, const std::string& ident,
                                   const std::string& value) {
    CheckWritable(FileName(), section, ident, value);
    Refresh();
    document_.Set(section, ident, value);
    Changed();
}

std::vector<std::string> TDocumentIniFile::ReadSection(const std::string& section) const {
    Refresh();
    std::vector<std::string> keys;
    for (auto& [key, value] : document_.Entries(section))
        keys.push_back(std::move(key));
    return keys;
}

std::vector<std::string> TDocumentIniFile::ReadSections() const {
    Refresh();
    return document_.SectionNames();
}

bool TDocumentIniFile::SectionExists(const std::string& section) const {
    Refresh();
    return document_.HasSection(section);
}

void TDocumentIniFile::EraseSection(const std::string& section) {
    Refresh();
    if (document_.EraseSection(section)) Changed();
}

void TDocumentIniFile::DeleteKey(const std::string& section, const std::string& ident) {
    Refresh();
    if (document_.RemoveKey(section, ident)) Changed();
}

void TDocumentIniFile::LoadDocument() const {
    document_.Parse(ReadIniFileText(FileName()).value_or(std::string()));
}

void TDocumentIniFile::SaveDocument() const {
    const std::string error = WriteIniFileAtomically(FileName(), document_.Format());
    if (!error.empty()) throw EIniFileException("Unable to write to " + FileName() + ": " + error);
}

// --- TIniFile ----------------------------------------------------------------------------

TIniFile::TIniFile(std::string fileName) : TDocumentIniFile(std::move(fileName)) {}

void TIniFile::UpdateFile() {}

void TIniFile::Refresh() const {
    const IniFileStamp now = StampOfIniFile(FileName());
    if (loaded_ && *loaded_ == now) return;
    LoadDocument();
    loaded_ = now;
}

void TIniFile::Changed() {
    SaveDocument();
    loaded_ = StampOfIniFile(FileName());
}

std::string TIniFile::Unquote(const std::string& value) const {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front())
        return value.substr(1, value.size() - 2);
    return value;
}

// --- TMemIniFile -------------------------------------------------------------------------

TMemIniFile::TMemIniFile(std::string fileName) : TDocumentIniFile(std::move(fileName)) {
    LoadDocument();
}

void TMemIniFile::UpdateFile() {
    SaveDocument();
}

void TMemIniFile::Clear() {
    document_.Clear();
}

std::vector<std::string> TMemIniFile::GetStrings() const {
    return document_.Lines();
}

void TMemIniFile::SetStrings(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines)
        text += line + "\n";
    document_.Parse(text);
}

void TMemIniFile::Rename(const std::string& fileName, bool reload) {
    SetFileName(fileName);
    if (reload) LoadDocument();
}

}  // namespace kv
