// Arbitrary bytes as the text, comma text and delimited text of string lists, and as the text
// of a set: every reading ends, what a list writes it reads back the same, and a sorted list
// stays ordered and finds every line it holds.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/core/Classes.h"
#include "platform/core/SysUtils.h"

namespace {

void Check(bool condition) {
    if (!condition) __builtin_trap();
}

bool HasNul(const kv::TStrings& list) {
    for (int i = 0; i < list.Count(); ++i)
        if (list[i].find('\0') != std::string::npos) return true;
    return false;
}

void CheckRoundTrips(const kv::TStringList& list) {
    kv::TStringList copy;
    copy.SetCommaText(list.CommaText());
    // A NUL ends a delimited text, as it ends the platform's strings.
    Check(HasNul(list) || copy.Equals(list));
    kv::TStringList strict;
    strict.Assign(&list);  // takes the delimiter settings too: set them afterwards
    strict.SetStrictDelimiter(true);
    strict.SetDelimiter(';');
    copy.SetStrictDelimiter(true);
    copy.SetDelimiter(';');
    copy.SetDelimitedText(strict.DelimitedText());
    Check(HasNul(list) || copy.Equals(list));
}

void CheckSorted(const kv::TStringList& source) {
    kv::TStringList sorted;
    sorted.SetSorted(true);
    sorted.SetDuplicates(kv::dupAccept);
    sorted.AddStrings(source);
    Check(sorted.Count() == source.Count());
    for (int i = 1; i < sorted.Count(); ++i)
        Check(kv::AnsiCompareText(sorted[i - 1], sorted[i]) <= 0);
    for (int i = 0; i < source.Count(); ++i) {
        int index = -1;
        Check(sorted.Find(source[i], index));
        Check(kv::AnsiCompareText(sorted[index], source[i]) == 0);
    }
}

void CheckValues(kv::TStringList& list) {
    for (int i = 0; i < list.Count(); ++i) {
        const std::string name = list.Names(i);
        if (name.empty()) continue;
        const int first = list.IndexOfName(name);
        Check(first >= 0 && first <= i);
        Check(list.Values(name) == list.ValueFromIndex(first));
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    kv::TStringList list;
    list.SetText(input);
    Check(list.Count() <= static_cast<int>(size));
    CheckRoundTrips(list);
    CheckValues(list);
    CheckSorted(list);
    if (!HasNul(list)) {
        kv::TStringList again;
        again.SetText(list.Text());
        Check(again.Equals(list));
    }

    list.SetCommaText(input);
    CheckRoundTrips(list);
    list.SetDelimiter(input.empty() ? ';' : input[0]);
    list.SetQuoteChar(size > 1 ? input[1] : '\'');
    list.SetDelimitedText(input);
    list.SetStrictDelimiter(true);
    list.SetDelimitedText(input);

    try {
        const int bits = kv::StringToSet(kv::TypeInfo<kv::TShiftState>(), input);
        Check(kv::StringToSet(kv::TypeInfo<kv::TShiftState>(),
                              kv::SetToString(kv::TypeInfo<kv::TShiftState>(), bits)) == bits);
    } catch (const kv::EPropertyConvertError&) {
    }
    return 0;
}
