// String lists: TStrings (the abstract list every control's lines and items share) and
// TStringList (the list in memory). Each line carries an attached pointer besides its text: an
// object (Objects) or any address (Pointers), for instance the Code of an event handler.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/core/Persistent.h"

namespace kv {

KV_ENUM(TDuplicates, dupIgnore, dupAccept, dupError);

// Index errors raise EStringListError "List index out of bounds (n)". Comparisons of lines
// (IndexOf, IndexOfName, Values, sorting) ignore letter case unless the list is case-sensitive.
class TStrings : public TPersistent {
    KV_CLASS(TStrings, TPersistent)
public:
    TStrings() = default;

    virtual int Count() const = 0;
    std::string Strings(int index) const { return Get(index); }
    void SetStrings(int index, const std::string& s) { Put(index, s); }
    std::string operator[](int index) const { return Get(index); }
    TObject* Objects(int index) const { return static_cast<TObject*>(GetObjectPtr(index)); }
    void SetObjects(int index, TObject* object) { PutObjectPtr(index, object); }
    void* Pointers(int index) const { return GetObjectPtr(index); }
    void SetPointers(int index, void* pointer) { PutObjectPtr(index, pointer); }

    // The index of the new line (in a sorted list, where it went; for an ignored duplicate,
    // the existing line's).
    virtual int Add(const std::string& s);
    int AddObject(const std::string& s, TObject* object) { return AddPointer(s, object); }
    virtual int AddPointer(const std::string& s, void* pointer);
    void Append(const std::string& s) { Add(s); }
    void AddStrings(const TStrings& strings);
    virtual void Insert(int index, const std::string& s) = 0;
    void InsertObject(int index, const std::string& s, TObject* object) {
        InsertPointer(index, s, object);
    }
    virtual void InsertPointer(int index, const std::string& s, void* pointer);
    virtual void Delete(int index) = 0;
    virtual void Clear() = 0;
    virtual void Exchange(int index1, int index2);
    virtual void Move(int curIndex, int newIndex);

    virtual int IndexOf(std::string_view s) const;
    int IndexOfName(std::string_view name) const;
    int IndexOfObject(const TObject* object) const { return IndexOfPointer(object); }
    int IndexOfPointer(const void* pointer) const;
    bool Equals(const TStrings& other) const;

    // name=value lines. Names(i) is the part before the separator ("" without one); Values of
    // a missing name is ""; setting a value "" deletes the line, another value replaces the
    // line's value or adds "name=value". When a name occurs twice, the first line counts.
    std::string Names(int index) const;
    std::string Values(std::string_view name) const;
    void SetValues(std::string_view name, std::string_view value);
    // The part after the separator ("" for a line without one).
    std::string ValueFromIndex(int index) const;
    void SetValueFromIndex(int index, std::string_view value);
    char NameValueSeparator() const { return nameValueSeparator_; }
    void SetNameValueSeparator(char c) { nameValueSeparator_ = c; }

    // Every line followed by CR LF. Setting splits at CR LF, LF or CR; a final line break
    // adds no empty line.
    virtual std::string Text() const;
    virtual void SetText(std::string_view text);
    // Lines joined by Delimiter; a line with blanks, control characters, the quote or the
    // delimiter is quoted with QuoteChar (quotes doubled). With StrictDelimiter only the quote
    // and the delimiter cause quoting, and only the delimiter separates when reading.
    std::string DelimitedText() const;
    void SetDelimitedText(std::string_view text);
    // DelimitedText with ',' and '"' and without StrictDelimiter.
    std::string CommaText() const;
    void SetCommaText(std::string_view text);
    char Delimiter() const { return delimiter_; }
    void SetDelimiter(char c) { delimiter_ = c; }
    char QuoteChar() const { return quoteChar_; }
    void SetQuoteChar(char c) { quoteChar_ = c; }
    bool StrictDelimiter() const { return strictDelimiter_; }
    void SetStrictDelimiter(bool strict) { strictDelimiter_ = strict; }

    // Nested; OnChanging fires at the first BeginUpdate, OnChange at the last EndUpdate.
    void BeginUpdate();
    void EndUpdate();
    int UpdateCount() const { return updateCount_; }

    // From another TStrings: its lines, pointers and delimiter settings.
    void Assign(const TPersistent* source) override;
    // UTF-8 text files; a leading byte-order mark is skipped. Open failures raise EFOpenError,
    // write failures EStreamError; a failed load leaves the list as it was.
    void LoadFromFile(const std::string& fileName);
    void SaveToFile(const std::string& fileName) const;

protected:
    virtual std::string Get(int index) const = 0;
    virtual void Put(int index, const std::string& s);
    virtual void* GetObjectPtr(int index) const;
    virtual void PutObjectPtr(int index, void* pointer);
    virtual void SetUpdateState(bool updating);
    // < 0, 0, > 0; letter case ignored in the base.
    virtual int CompareStrings(std::string_view a, std::string_view b) const;
    [[noreturn]] static void IndexError(int index);
    void CheckIndex(int index) const;

private:
    int updateCount_ = 0;
    char delimiter_ = ',';
    char quoteChar_ = '"';
    char nameValueSeparator_ = '=';
    bool strictDelimiter_ = false;
};

class TStringList;
using TStringListSortCompare = std::function<int(TStringList& list, int index1, int index2)>;

class TStringList : public TStrings {
    KV_CLASS(TStringList, TStrings)
public:
    TStringList() = default;
    ~TStringList() override;

    int Count() const override { return static_cast<int>(items_.size()); }
    int Add(const std::string& s) override;
    int AddPointer(const std::string& s, void* pointer) override;
    // Insert, Exchange, Move and SetStrings raise EStringListError "Operation not allowed on
    // sorted string list" while Sorted.
    void Insert(int index, const std::string& s) override;
    void InsertPointer(int index, const std::string& s, void* pointer) override;
    void Delete(int index) override;
    void Clear() override;
    void Exchange(int index1, int index2) override;
    void Move(int curIndex, int newIndex) override;
    int IndexOf(std::string_view s) const override;

    // Binary search of a sorted list: true when found; index is the first match or where s
    // would go.
    bool Find(std::string_view s, int& index) const;
    void Sort();
    void CustomSort(const TStringListSortCompare& compare);

    bool Sorted() const { return sorted_; }
    void SetSorted(bool sorted);
    // Applies to adding to a sorted list: dupIgnore keeps the existing line, dupError raises
    // EStringListError "String list does not allow duplicates", dupAccept adds.
    TDuplicates Duplicates() const { return duplicates_; }
    void SetDuplicates(TDuplicates duplicates) { duplicates_ = duplicates; }
    bool CaseSensitive() const { return caseSensitive_; }
    void SetCaseSensitive(bool caseSensitive);

    TNotifyEvent OnChange;
    TNotifyEvent OnChanging;

protected:
    std::string Get(int index) const override;
    void Put(int index, const std::string& s) override;
    void* GetObjectPtr(int index) const override;
    void PutObjectPtr(int index, void* pointer) override;
    void SetUpdateState(bool updating) override;
    int CompareStrings(std::string_view a, std::string_view b) const override;
    virtual void Changed();
    virtual void Changing();

private:
    struct Item {
        std::string text;
        void* pointer = nullptr;
    };
    int AddSorted(const std::string& s, void* pointer);
    void InsertItem(int index, const std::string& s, void* pointer);
    void CheckNotSorted() const;
    void QuickSort(int lo, int hi, const TStringListSortCompare& compare);
    void ExchangeItems(int index1, int index2);

    std::vector<Item> items_;
    bool sorted_ = false;
    bool caseSensitive_ = false;
    TDuplicates duplicates_ = dupIgnore;
};

}  // namespace kv
