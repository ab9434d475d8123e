// INI file readers and writers: TIniFile works on the file itself, TMemIniFile on a copy in
// memory that UpdateFile writes back.
//
// Both follow the platform's INI rules (see IniDocument.h for the line syntax): sections and
// keys without regard to case, a missing file reads as an empty one so every read gives its
// default, bad bytes are kept as they are. Writing replaces the file atomically (a temporary
// file beside it, then a rename), so a crash never leaves half a file; comments and lines the
// reader ignores are kept. A write that cannot be done raises EIniFileException.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/core/Exceptions.h"
#include "platform/core/IniDocument.h"
#include "platform/core/IniFileIO.h"

namespace kv {

KV_DECLARE_EXCEPTION(EIniFileException, Exception);

class TStrings;

class TCustomIniFile {
public:
    explicit TCustomIniFile(std::string fileName) : fileName_(std::move(fileName)) {}
    TCustomIniFile(const TCustomIniFile&) = delete;
    TCustomIniFile& operator=(const TCustomIniFile&) = delete;
    virtual ~TCustomIniFile() = default;

    const std::string& FileName() const { return fileName_; }

    virtual std::string ReadString(const std::string& section, const std::string& ident,
                                   const std::string& defaultValue) const = 0;
    // Raises EIniFileException for a name or value the file cannot hold (line breaks, a key
    // with '=' or starting with '[', ';' or '#', an empty key, a section name with ']').
    virtual void WriteString(const std::string& section, const std::string& ident,
                             const std::string& value) = 0;
    // The keys of a section in file order; empty when the section is missing.
    virtual std::vector<std::string> ReadSection(const std::string& section) const = 0;
    // The section names in file order.
    virtual std::vector<std::string> ReadSections() const = 0;
    // "name=value" for every key of the section, in file order, values as ReadString gives them.
    std::vector<std::string> ReadSectionValues(const std::string& section) const;
    // The same three into a string list, which is cleared first (one change notification).
    void ReadSection(const std::string& section, TStrings& strings) const;
    void ReadSections(TStrings& strings) const;
    void ReadSectionValues(const std::string& section, TStrings& strings) const;
    virtual bool SectionExists(const std::string& section) const = 0;
    bool ValueExists(const std::string& section, const std::string& ident) const;
    virtual void EraseSection(const std::string& section) = 0;
    virtual void DeleteKey(const std::string& section, const std::string& ident) = 0;
    virtual void UpdateFile() = 0;

    // A decimal number, or hexadecimal after "$" or "0x", with an optional sign; anything else
    // (or a value outside the range of int) gives the default.
    int ReadInteger(const std::string& section, const std::string& ident, int defaultValue) const;
    // Read as an integer: non-zero is true; a value that is no integer gives the default.
    bool ReadBool(const std::string& section, const std::string& ident, bool defaultValue) const;
    // A decimal number (the decimal separator of FormatSettings, optional exponent); else the
    // default.
    double ReadFloat(const std::string& section, const std::string& ident,
                     double defaultValue) const;
    void WriteInteger(const std::string& section, const std::string& ident, int value);
    // Writes "1" or "0".
    void WriteBool(const std::string& section, const std::string& ident, bool value);
    // Writes the number as FloatToStr gives it ("0.1", "1.5E20").
    void WriteFloat(const std::string& section, const std::string& ident, double value);

protected:
    void SetFileName(std::string fileName) { fileName_ = std::move(fileName); }

private:
    std::string fileName_;
};

// The shared part of the two file classes: reads and edits go to a parsed document; the two
// hooks decide when the document follows the file and when the file follows the document.
class TDocumentIniFile : public TCustomIniFile {
public:
    std::string ReadString(const std::string& section, const std::string& ident,
                           const std::string& defaultValue) const override;
    void WriteString(const std::string& section, const std::string& ident,
                     const std::string& value) override;
    using TCustomIniFile::ReadSection;
    using TCustomIniFile::ReadSections;
    std::vector<std::string> ReadSection(const std::string& section) const override;
    std::vector<std::string> ReadSections() const override;
    bool SectionExists(const std::string& section) const override;
    void EraseSection(const std::string& section) override;
    void DeleteKey(const std::string& section, const std::string& ident) override;

protected:
    using TCustomIniFile::TCustomIniFile;

    // Called before every read; brings the document up to date.
    virtual void Refresh() const = 0;
    // Called after every change of the document.
    virtual void Changed() = 0;
    // Reads the file into the document; a missing or unreadable file gives an empty document.
    void LoadDocument() const;
    // Writes the document to the file atomically; raises EIniFileException on failure.
    void SaveDocument() const;
    // The value as ReadString gives it, before the default applies.
    virtual std::string Unquote(const std::string& value) const { return value; }

    mutable TIniDocument document_;
};

// Works on the file: every read sees the file as it is now (it is read again when it changed
// on disk), every write goes to the file at once. A value enclosed in one pair of matching
// quotes ("..." or '...') reads without them.
class TIniFile : public TDocumentIniFile {
public:
    explicit TIniFile(std::string fileName);
    // Writes nothing: every change is already in the file.
    void UpdateFile() override;

protected:
    void Refresh() const override;
    void Changed() override;
    std::string Unquote(const std::string& value) const override;

private:
    // The file's identity and time when it was last read; empty before the first read.
    mutable std::optional<IniFileStamp> loaded_;
};

// Reads the file once, into memory; changes stay in memory until UpdateFile writes them.
// Destroying it writes nothing, as on the platform.
class TMemIniFile : public TDocumentIniFile {
public:
    explicit TMemIniFile(std::string fileName);
    void UpdateFile() override;

    void Clear();
    // Every line of the file as it would be written.
    std::vector<std::string> GetStrings() const;
    // Replaces the content with these lines, parsed as a file.
    void SetStrings(const std::vector<std::string>& lines);
    void GetStrings(TStrings& strings) const;
    void SetStrings(const TStrings& strings);
    // Changes the file name; with reload, the content is read from the new file.
    void Rename(const std::string& fileName, bool reload);

protected:
    void Refresh() const override {}
    void Changed() override {}
};

}  // namespace kv
