#include "platform/core/IniFiles.h"

#include <string_view>

#include "platform/core/IniFileIO.h"
#include "platform/core/Strings.h"
#include "platform/core/SysUtils.h"

namespace kv {

namespace {

void Fill(TStrings& strings, const std::vector<std::string>& lines) {
    strings.BeginUpdate();
    try {
        strings.Clear();
        for (const std::string& line : lines)
            strings.Add(line);
    } catch (...) {
        strings.EndUpdate();
        throw;
    }
    strings.EndUpdate();
}

std::vector<std::string> LinesOf(const TStrings& strings) {
    std::vector<std::string> lines;
    lines.reserve(static_cast<std::size_t>(strings.Count()));
    for (int i = 0; i < strings.Count(); ++i)
        lines.push_back(strings[i]);
    return lines;
}

bool HasLineBreak(std::string_view text) {
    return text.find_first_of("\r\n") != std::string_view::npos;
}

void CheckWritable(const std::string& file, const std::string& section, const std::string& ident,
                   const std::string& value) {
    const std::string key = Trim(ident);
    std::string problem;
    if (HasLineBreak(section) || section.find(']') != std::string::npos)
        problem = "invalid section name '" + section + "'";
    else if (key.empty() || HasLineBreak(key) || key.find('=') != std::string::npos ||
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

void TCustomIniFile::ReadSection(const std::string& section, TStrings& strings) const {
    Fill(strings, ReadSection(section));
}

void TCustomIniFile::ReadSections(TStrings& strings) const {
    Fill(strings, ReadSections());
}

void TCustomIniFile::ReadSectionValues(const std::string& section, TStrings& strings) const {
    Fill(strings, ReadSectionValues(section));
}

bool TCustomIniFile::ValueExists(const std::string& section, const std::string& ident) const {
    const std::string folded = LowerCase(Trim(ident));
    for (const std::string& key : ReadSection(section))
        if (LowerCase(key) == folded) return true;
    return false;
}

int TCustomIniFile::ReadInteger(const std::string& section, const std::string& ident,
                                int defaultValue) const {
    int value = 0;
    return TryStrToInt(Trim(ReadString(section, ident, "")), value) ? value : defaultValue;
}

bool TCustomIniFile::ReadBool(const std::string& section, const std::string& ident,
                              bool defaultValue) const {
    return ReadInteger(section, ident, defaultValue ? 1 : 0) != 0;
}

double TCustomIniFile::ReadFloat(const std::string& section, const std::string& ident,
                                 double defaultValue) const {
    double value = 0;
    return TryStrToFloat(ReadString(section, ident, ""), value) ? value : defaultValue;
}

void TCustomIniFile::WriteInteger(const std::string& section, const std::string& ident, int value) {
    WriteString(section, ident, IntToStr(value));
}

void TCustomIniFile::WriteBool(const std::string& section, const std::string& ident, bool value) {
    WriteString(section, ident, value ? "1" : "0");
}

void TCustomIniFile::WriteFloat(const std::string& section, const std::string& ident,
                                double value) {
    WriteString(section, ident, FloatToStr(value));
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

void TMemIniFile::GetStrings(TStrings& strings) const {
    Fill(strings, GetStrings());
}

void TMemIniFile::SetStrings(const TStrings& strings) {
    SetStrings(LinesOf(strings));
}

void TMemIniFile::Rename(const std::string& fileName, bool reload) {
    SetFileName(fileName);
    if (reload) LoadDocument();
}

}  // namespace kv
