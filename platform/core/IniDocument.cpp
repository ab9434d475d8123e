#include "platform/core/IniDocument.h"

#include <algorithm>

#include "platform/core/SysUtils.h"

namespace kv {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

bool IsComment(std::string_view trimmed) {
    return !trimmed.empty() && (trimmed.front() == ';' || trimmed.front() == '#');
}

// Calls `take` with every line of `text` (without its ending) and returns the first ending met.
template <typename Take>
std::string SplitLines(std::string_view text, Take take) {
    std::string firstEnding;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos) {
            take(text.substr(start));
            break;
        }
        take(text.substr(start, end - start));
        const bool crlf = text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n';
        if (firstEnding.empty()) firstEnding = crlf ? "\r\n" : std::string(1, text[end]);
        start = end + (crlf ? 2 : 1);
    }
    return firstEnding;
}

}  // namespace

void TIniDocument::Clear() {
    preamble_.clear();
    sections_.clear();
    sectionIndex_.clear();
    byteOrderMark_ = false;
    newline_ = "\n";
}

void TIniDocument::Parse(std::string_view text) {
    Clear();
    if (text.substr(0, kByteOrderMark.size()) == kByteOrderMark) {
        byteOrderMark_ = true;
        text.remove_prefix(kByteOrderMark.size());
    }
    Section* current = nullptr;
    const std::string ending = SplitLines(text, [&](std::string_view raw) {
        const std::string trimmed = Trim(raw);
        const std::size_t close = trimmed.rfind(']');
        if (!trimmed.empty() && trimmed.front() == '[' && close != std::string_view::npos) {
            const std::string name = Trim(std::string_view(trimmed).substr(1, close - 1));
            current = FindSection(name);
            if (current == nullptr) current = &AddSection(name, std::string(raw));
            return;
        }
        AddLine(current, raw);
    });
    if (ending == "\r\n") newline_ = ending;
}

void TIniDocument::AddLine(Section* section, std::string_view raw) {
    Line line{std::string(raw), Kind::kOther, {}, {}};
    if (section == nullptr) {
        preamble_.push_back(std::move(line));
        return;
    }
    const std::string trimmed = Trim(raw);
    const std::size_t equals = trimmed.find('=');
    if (equals != std::string_view::npos && !IsComment(trimmed) && trimmed.front() != '[') {
        const std::string key = Trim(std::string_view(trimmed).substr(0, equals));
        if (!key.empty()) {
            line.key = key;
            line.value = Trim(std::string_view(trimmed).substr(equals + 1));
            const bool added = section->index.emplace(LowerCase(key), section->lines.size()).second;
            line.kind = added ? Kind::kEntry : Kind::kShadow;
        }
    }
    section->lines.push_back(std::move(line));
}

TIniDocument::Section& TIniDocument::AddSection(std::string_view name, std::string header) {
    sectionIndex_.emplace(LowerCase(name), sections_.size());
    sections_.push_back(Section{std::string(name), std::move(header), {}, {}});
    return sections_.back();
}

std::string TIniDocument::Format() const {
    std::string text = byteOrderMark_ ? std::string(kByteOrderMark) : std::string();
    for (const std::string& line : Lines()) {
        text += line;
        text += newline_;
    }
    return text;
}

std::vector<std::string> TIniDocument::Lines() const {
    std::vector<std::string> lines;
    for (const Line& line : preamble_)
        lines.push_back(line.text);
    for (const Section& section : sections_) {
        lines.push_back(section.header);
        for (const Line& line : section.lines)
            lines.push_back(line.text);
    }
    return lines;
}

TIniDocument::Section* TIniDocument::FindSection(std::string_view section) {
    const auto found = sectionIndex_.find(LowerCase(Trim(section)));
    return found == sectionIndex_.end() ? nullptr : &sections_[found->second];
}

const TIniDocument::Section* TIniDocument::FindSection(std::string_view section) const {
    const auto found = sectionIndex_.find(LowerCase(Trim(section)));
    return found == sectionIndex_.end() ? nullptr : &sections_[found->second];
}

const std::string* TIniDocument::Find(std::string_view section, std::string_view key) const {
    const Section* found = FindSection(section);
    if (found == nullptr) return nullptr;
    const auto line = found->index.find(LowerCase(Trim(key)));
    return line == found->index.end() ? nullptr : &found->lines[line->second].value;
}

bool TIniDocument::HasSection(std::string_view section) const {
    return FindSection(section) != nullptr;
}

std::vector<std::string> TIniDocument::SectionNames() const {
    std::vector<std::string> names;
    names.reserve(sections_.size());
    for (const Section& section : sections_)
        names.push_back(section.name);
    return names;
}

std::vector<TIniDocument::Pair> TIniDocument::Entries(std::string_view section) const {
    std::vector<Pair> entries;
    if (const Section* found = FindSection(section))
        for (const Line& line : found->lines)
            if (line.kind == Kind::kEntry) entries.emplace_back(line.key, line.value);
    return entries;
}

void TIniDocument::Set(std::string_view section, std::string_view key, std::string_view value) {
    const std::string name = Trim(section);
    Section* target = FindSection(name);
    if (target == nullptr) target = &AddSection(name, "[" + std::string(name) + "]");
    const std::string trimmedKey = Trim(key);
    const auto existing = target->index.find(LowerCase(trimmedKey));
    if (existing != target->index.end()) {
        Line& line = target->lines[existing->second];
        line.value = value;
        line.text = line.key + "=" + line.value;
        return;
    }
    // New keys go after the section's last entry, ahead of the blank lines and comments that
    // usually separate it from the next section. Only unindexed lines follow that place, so
    // no index entry moves.
    const auto last = std::find_if(target->lines.rbegin(), target->lines.rend(),
                                   [](const Line& line) { return line.kind != Kind::kOther; });
    const auto at = static_cast<std::size_t>(target->lines.rend() - last);
    target->lines.insert(
        target->lines.begin() + static_cast<std::ptrdiff_t>(at),
        Line{trimmedKey + "=" + std::string(value), Kind::kEntry, trimmedKey, std::string(value)});
    target->index.emplace(LowerCase(trimmedKey), at);
}

bool TIniDocument::EraseSection(std::string_view section) {
    const Section* found = FindSection(section);
    if (found == nullptr) return false;
    sections_.erase(sections_.begin() + (found - sections_.data()));
    ReindexSections();
    return true;
}

bool TIniDocument::RemoveKey(std::string_view section, std::string_view key) {
    Section* found = FindSection(section);
    if (found == nullptr) return false;
    const std::string trimmed = Trim(key);
    const auto removed = std::erase_if(found->lines, [&](const Line& line) {
        return line.kind != Kind::kOther && SameText(line.key, trimmed);
    });
    Reindex(*found);
    return removed > 0;
}

void TIniDocument::Reindex(Section& section) {
    section.index.clear();
    for (std::size_t i = 0; i < section.lines.size(); ++i) {
        Line& line = section.lines[i];
        if (line.kind == Kind::kOther) continue;
        const bool added = section.index.emplace(LowerCase(line.key), i).second;
        line.kind = added ? Kind::kEntry : Kind::kShadow;
    }
}

void TIniDocument::ReindexSections() {
    sectionIndex_.clear();
    for (std::size_t i = 0; i < sections_.size(); ++i)
        sectionIndex_.emplace(LowerCase(sections_[i].name), i);
}

}  // namespace kv
