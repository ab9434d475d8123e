// The text of an INI file held in memory, as the INI readers and the registry file use it.
// Every line is kept, so writing the document back preserves comments, blank lines and lines
// the reader ignores; only the entries that are looked up are indexed.
//
// Reading rules: a UTF-8 byte-order mark is skipped; lines end in CR LF, LF or CR; blanks
// (every character up to the space) around section names, keys and values are ignored; lines
// whose first non-blank character is ';' or '#' are comments; "[name]" opens a section, and a
// section that appears again continues the first one; "key=value" is an entry of the current
// section (split at the first '='); a line without '=', or an entry before the first section,
// is ignored; of several entries with one key in a section the first counts. Section names
// and keys are compared without regard to ASCII letter case. Any byte sequence is accepted.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

namespace kv {

class TIniDocument {
public:
    using Pair = std::pair<std::string, std::string>;

    // Replaces the content with the parsed text.
    void Parse(std::string_view text);
    // The document as file text, with the line ending and byte-order mark it was read with.
    std::string Format() const;
    void Clear();

    // The value of a key, or nullptr when the section or the key is missing.
    const std::string* Find(std::string_view section, std::string_view key) const;
    bool HasSection(std::string_view section) const;
    // Section names as first written, in file order.
    std::vector<std::string> SectionNames() const;
    // The entries of a section (first of each key only), in file order; empty when missing.
    std::vector<Pair> Entries(std::string_view section) const;
    // Every line as it would be written, without line endings.
    std::vector<std::string> Lines() const;

    // Sets a value: replaces the key's entry, or adds it after the section's last entry, or
    // adds the section at the end. Names and value must already be valid (see IniFiles.h).
    void Set(std::string_view section, std::string_view key, std::string_view value);
    // Removes the section with all its lines; false when it did not exist.
    bool EraseSection(std::string_view section);
    // Removes every entry of the key in the section (later duplicates too, so that reading
    // the file again gives what the document now says); false when there was none.
    bool RemoveKey(std::string_view section, std::string_view key);

private:
    enum class Kind { kOther, kEntry, kShadow };  // kShadow: a later duplicate of a key
    struct Line {
        std::string text;  // as written; rebuilt when an entry's value changes
        Kind kind = Kind::kOther;
        std::string key;  // trimmed, entries and shadows only
        std::string value;
    };
    struct Section {
        std::string name;
        std::string header;
        std::vector<Line> lines;
        std::unordered_map<std::string, std::size_t> index;  // folded key -> line
    };

    Section* FindSection(std::string_view section);
    const Section* FindSection(std::string_view section) const;
    Section& AddSection(std::string_view name, std::string header);
    void AddLine(Section* section, std::string_view raw);
    static void Reindex(Section& section);
    void ReindexSections();

    std::vector<Line> preamble_;  // lines before the first section, kept as written
    std::vector<Section> sections_;
    std::unordered_map<std::string, std::size_t> sectionIndex_;  // folded name -> section
    bool byteOrderMark_ = false;
    std::string newline_ = "\n";
};

}  // namespace kv
