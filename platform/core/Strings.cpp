// TStrings: what every string list shares, on top of the few operations a list implements.
#include "platform/core/Strings.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/core/SysUtils.h"

namespace kv {

KV_PUBLISHED(TStrings) {}

void TStrings::IndexError(int index) {
    throw EStringListError("List index out of bounds (" + IntToStr(index) + ")");
}

void TStrings::CheckIndex(int index) const {
    if (index < 0 || index >= Count()) IndexError(index);
}

void TStrings::Put(int index, const std::string& s) {
    void* pointer = GetObjectPtr(index);
    BeginUpdate();
    try {
        Delete(index);
        InsertPointer(index, s, pointer);
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

void* TStrings::GetObjectPtr(int index) const {
    CheckIndex(index);
    return nullptr;
}

void TStrings::PutObjectPtr(int index, void* pointer) {
    CheckIndex(index);
    (void)pointer;
}

int TStrings::Add(const std::string& s) {
    const int index = Count();
    Insert(index, s);
    return index;
}

int TStrings::AddPointer(const std::string& s, void* pointer) {
    const int index = Add(s);
    PutObjectPtr(index, pointer);
    return index;
}

void TStrings::InsertPointer(int index, const std::string& s, void* pointer) {
    Insert(index, s);
    PutObjectPtr(index, pointer);
}

void TStrings::AddStrings(const TStrings& strings) {
    // A snapshot first, so that a list can add its own lines.
    std::vector<std::pair<std::string, void*>> lines;
    for (int i = 0; i < strings.Count(); ++i)
        lines.emplace_back(strings.Get(i), strings.GetObjectPtr(i));
    BeginUpdate();
    try {
        for (const auto& [text, pointer] : lines)
            AddPointer(text, pointer);
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

void TStrings::Exchange(int index1, int index2) {
    CheckIndex(index1);
    CheckIndex(index2);
    BeginUpdate();
    try {
        const std::string s1 = Get(index1);
        void* p1 = GetObjectPtr(index1);
        Put(index1, Get(index2));
        PutObjectPtr(index1, GetObjectPtr(index2));
        Put(index2, s1);
        PutObjectPtr(index2, p1);
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

void TStrings::Move(int curIndex, int newIndex) {
    if (curIndex == newIndex) return;
    CheckIndex(curIndex);
    CheckIndex(newIndex);
    BeginUpdate();
    try {
        const std::string s = Get(curIndex);
        void* pointer = GetObjectPtr(curIndex);
        Delete(curIndex);
        InsertPointer(newIndex, s, pointer);
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

int TStrings::IndexOf(std::string_view s) const {
    for (int i = 0; i < Count(); ++i)
        if (CompareStrings(Get(i), s) == 0) return i;
    return -1;
}

int TStrings::IndexOfName(std::string_view name) const {
    for (int i = 0; i < Count(); ++i) {
        const std::string line = Get(i);
        const std::size_t separator = line.find(nameValueSeparator_);
        if (separator != std::string::npos &&
            CompareStrings(std::string_view(line).substr(0, separator), name) == 0)
            return i;
    }
    return -1;
}

int TStrings::IndexOfPointer(const void* pointer) const {
    for (int i = 0; i < Count(); ++i)
        if (GetObjectPtr(i) == pointer) return i;
    return -1;
}

bool TStrings::Equals(const TStrings& other) const {
    if (Count() != other.Count()) return false;
    for (int i = 0; i < Count(); ++i)
        if (Get(i) != other.Get(i)) return false;
    return true;
}

std::string TStrings::Names(int index) const {
    const std::string line = Get(index);
    const std::size_t separator = line.find(nameValueSeparator_);
    return separator == std::string::npos ? std::string() : line.substr(0, separator);
}

std::string TStrings::Values(std::string_view name) const {
    const int index = IndexOfName(name);
    return index < 0 ? std::string() : ValueFromIndex(index);
}

void TStrings::SetValues(std::string_view name, std::string_view value) {
    int index = IndexOfName(name);
    if (value.empty()) {
        if (index >= 0) Delete(index);
        return;
    }
    const std::string line = std::string(name) + nameValueSeparator_ + std::string(value);
    if (index < 0)
        Add(line);
    else
        Put(index, line);
}

std::string TStrings::ValueFromIndex(int index) const {
    const std::string line = Get(index);
    const std::size_t separator = line.find(nameValueSeparator_);
    return separator == std::string::npos ? std::string() : line.substr(separator + 1);
}

void TStrings::SetValueFromIndex(int index, std::string_view value) {
    if (value.empty()) {
        Delete(index);
        return;
    }
    Put(index, Names(index) + nameValueSeparator_ + std::string(value));
}

std::string TStrings::Text() const {
    std::string text;
    for (int i = 0; i < Count(); ++i) {
        text += Get(i);
        text += "\r\n";
    }
    return text;
}

void TStrings::SetText(std::string_view text) {
    BeginUpdate();
    try {
        Clear();
        std::size_t pos = 0;
        while (pos < text.size()) {
            const std::size_t end = text.find_first_of("\r\n", pos);
            if (end == std::string_view::npos) {
                Add(std::string(text.substr(pos)));
                break;
            }
            Add(std::string(text.substr(pos, end - pos)));
            pos = end + 1;
            if (text[end] == '\r' && pos < text.size() && text[pos] == '\n') ++pos;
        }
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

void TStrings::BeginUpdate() {
    if (updateCount_ == 0) SetUpdateState(true);
    ++updateCount_;
}

void TStrings::EndUpdate() {
    if (updateCount_ == 0) return;
    --updateCount_;
    if (updateCount_ == 0) SetUpdateState(false);
}

void TStrings::SetUpdateState(bool updating) {
    (void)updating;
}

int TStrings::CompareStrings(std::string_view a, std::string_view b) const {
    return AnsiCompareText(a, b);
}

void TStrings::Assign(const TPersistent* source) {
    const auto* other = dynamic_cast<const TStrings*>(source);
    if (other == nullptr) return TPersistent::Assign(source);
    if (other == this) return;
    BeginUpdate();
    try {
        Clear();
        delimiter_ = other->delimiter_;
        quoteChar_ = other->quoteChar_;
        nameValueSeparator_ = other->nameValueSeparator_;
        strictDelimiter_ = other->strictDelimiter_;
        AddStrings(*other);
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

void TStrings::LoadFromFile(const std::string& fileName) {
    std::error_code error;
    if (std::filesystem::is_directory(fileName, error))
        throw EFOpenError("Cannot open file \"" + fileName + "\". Is a directory");
    std::ifstream in(fileName, std::ios::binary);
    if (!in) throw EFOpenError("Cannot open file \"" + fileName + "\". " + std::strerror(errno));
    std::ostringstream buffer;
    buffer << in.rdbuf();
    if (in.bad()) throw EReadError("Cannot read file \"" + fileName + "\"");
    std::string_view text = buffer.view();
    if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
    SetText(text);
}

void TStrings::SaveToFile(const std::string& fileName) const {
    std::ofstream out(fileName, std::ios::binary | std::ios::trunc);
    if (!out)
        throw EStreamError("Cannot create file \"" + fileName + "\". " + std::strerror(errno));
    const std::string text = Text();
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    out.close();
    if (!out) throw EStreamError("Cannot write file \"" + fileName + "\"");
}

}  // namespace kv
