#include "platform/core/Registry.h"

#include <charconv>
#include <cstdlib>
#include <string_view>
#include <system_error>
#include <unordered_map>
#include <utility>

#include "platform/core/IniDocument.h"
#include "platform/core/IniFileIO.h"
#include "platform/core/SysUtils.h"

namespace kv {

namespace {

struct RegValue {
    std::string name;
    TRegDataType type = TRegDataType::rdString;
    std::string text;
    int number = 0;
};

struct RegKey {
    std::vector<RegValue> values;
    std::unordered_map<std::string, std::size_t> valueIndex;  // folded name -> value
    std::vector<std::string> subKeys;                         // as first spelled
};

struct RootName {
    HKEY key;
    std::string_view name;
    std::string_view abbreviation;
};

constexpr RootName kRoots[] = {
    {HKEY_CLASSES_ROOT, "HKEY_CLASSES_ROOT", "HKCR"},
    {HKEY_CURRENT_USER, "HKEY_CURRENT_USER", "HKCU"},
    {HKEY_LOCAL_MACHINE, "HKEY_LOCAL_MACHINE", "HKLM"},
    {HKEY_USERS, "HKEY_USERS", "HKU"},
    {HKEY_CURRENT_CONFIG, "HKEY_CURRENT_CONFIG", "HKCC"},
};

// The folded root name of a key handle, "" for a root this registry does not know.
std::string RootOf(HKEY key) {
    for (const RootName& root : kRoots)
        if (root.key == key) return LowerCase(root.name);
    return {};
}

std::string RootNamed(std::string_view text) {
    const std::string folded = LowerCase(text);
    for (const RootName& root : kRoots)
        if (folded == LowerCase(root.name) || folded == LowerCase(root.abbreviation))
            return LowerCase(root.name);
    return {};
}

std::vector<std::string_view> SplitPath(std::string_view path) {
    std::vector<std::string_view> parts;
    std::size_t start = 0;
    while (start <= path.size()) {
        const std::size_t end = std::min(path.find('\\', start), path.size());
        if (end > start) parts.push_back(path.substr(start, end - start));
        start = end + 1;
    }
    return parts;
}

// Inside double quotes, \\ and \" stand for \ and "; unquoted text is taken as written.
std::string Unquote(std::string_view text) {
    if (text.size() < 2 || text.front() != '"' || text.back() != '"') return std::string(text);
    text = text.substr(1, text.size() - 2);
    std::string plain;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 1 < text.size() && (text[i + 1] == '\\' || text[i + 1] == '"'))
            ++i;
        plain += text[i];
    }
    return plain;
}

RegValue ParseValue(std::string_view name, std::string_view text) {
    RegValue value{name == "@" ? std::string() : Unquote(name), TRegDataType::rdString,
                   Unquote(text), 0};
    if (LowerCase(text.substr(0, 6)) != "dword:") return value;
    const std::string_view digits = text.substr(6);
    unsigned int bits = 0;
    const auto [end, error] =
        std::from_chars(digits.data(), digits.data() + digits.size(), bits, 16);
    if (digits.empty() || digits.size() > 8 || error != std::errc() ||
        end != digits.data() + digits.size())
        return value;  // not a valid integer: kept as the string it is
    value.type = TRegDataType::rdInteger;
    value.text = std::string(text);
    value.number = static_cast<int>(bits);
    return value;
}

}  // namespace

struct TRegistryData {
    std::unordered_map<std::string, RegKey> keys;  // folded full path -> key

    // Adds the key of a section and every key above it; the key itself, or nullptr when the
    // section names no known root.
    RegKey* AddPath(std::string_view sectionName) {
        const std::vector<std::string_view> parts = SplitPath(sectionName);
        if (parts.empty()) return nullptr;
        std::string path = RootNamed(parts.front());
        if (path.empty()) return nullptr;
        RegKey* key = &keys[path];
        for (std::size_t i = 1; i < parts.size(); ++i) {
            std::string child = path + "\\" + LowerCase(parts[i]);
            const auto [found, added] = keys.try_emplace(child);
            if (added) key->subKeys.emplace_back(parts[i]);
            key = &found->second;
            path = std::move(child);
        }
        return key;
    }

    void Load(const TIniDocument& document) {
        for (const std::string& section : document.SectionNames()) {
            RegKey* key = AddPath(section);
            if (key == nullptr) continue;
            for (const auto& [name, text] : document.Entries(section)) {
                RegValue value = ParseValue(name, text);
                // The first spelling of a value counts, also across sections naming one key.
                if (key->valueIndex.emplace(LowerCase(value.name), key->values.size()).second)
                    key->values.push_back(std::move(value));
            }
        }
    }

    const RegKey* Find(const std::string& path) const {
        const auto found = keys.find(path);
        return found == keys.end() ? nullptr : &found->second;
    }
};

TRegistry::TRegistry() : TRegistry(DefaultFileName()) {}

TRegistry::TRegistry(const std::string& fileName)
    : fileName_(fileName), data_(std::make_unique<TRegistryData>()) {
    TIniDocument document;
    document.Parse(ReadIniFileText(fileName).value_or(std::string()));
    data_->Load(document);
}

TRegistry::~TRegistry() = default;

std::string TRegistry::DefaultFileName() {
    const char* fromEnvironment = std::getenv("KV_REGISTRY_FILE");
    if (fromEnvironment != nullptr && *fromEnvironment != '\0') return fromEnvironment;
    return "/etc/kv/registry.ini";
}

void TRegistry::SetRootKey(HKEY rootKey) {
    CloseKey();
    rootKey_ = rootKey;
}

std::string TRegistry::Resolve(const std::string& key, std::string* display) const {
    const bool relative = open_ && !key.starts_with('\\');
    std::string path = relative ? currentKey_ : RootOf(rootKey_);
    std::string shown = relative ? currentPath_ : std::string();
    if (path.empty()) return {};
    for (const std::string_view part : SplitPath(key)) {
        path += "\\" + LowerCase(part);
        shown += (shown.empty() ? "" : "\\") + std::string(part);
    }
    if (display != nullptr) *display = std::move(shown);
    return path;
}

bool TRegistry::OpenKey(const std::string& key, bool /*canCreate*/) {
    std::string shown;
    const std::string path = Resolve(key, &shown);
    if (data_->Find(path) == nullptr) return false;
    open_ = true;
    currentKey_ = path;
    currentPath_ = std::move(shown);
    return true;
}

bool TRegistry::OpenKeyReadOnly(const std::string& key) {
    return OpenKey(key, false);
}

void TRegistry::CloseKey() {
    open_ = false;
    currentKey_.clear();
    currentPath_.clear();
}

bool TRegistry::KeyExists(const std::string& key) const {
    return data_->Find(Resolve(key, nullptr)) != nullptr;
}

namespace {

const RegValue* FindValue(const TRegistryData& data, bool open, const std::string& keyPath,
                          const std::string& name) {
    const RegKey* key = open ? data.Find(keyPath) : nullptr;
    if (key == nullptr) return nullptr;
    const auto found = key->valueIndex.find(LowerCase(name));
    return found == key->valueIndex.end() ? nullptr : &key->values[found->second];
}

}  // namespace

bool TRegistry::ValueExists(const std::string& name) const {
    return FindValue(*data_, open_, currentKey_, name) != nullptr;
}

TRegDataType TRegistry::GetDataType(const std::string& name) const {
    const RegValue* value = FindValue(*data_, open_, currentKey_, name);
    return value == nullptr ? TRegDataType::rdUnknown : value->type;
}

std::string TRegistry::ReadString(const std::string& name) const {
    const RegValue* value = FindValue(*data_, open_, currentKey_, name);
    if (value == nullptr) return {};
    if (value->type != TRegDataType::rdString)
        throw ERegistryException("Invalid data type for '" + name + "'");
    return value->text;
}

int TRegistry::ReadInteger(const std::string& name) const {
    const RegValue* value = FindValue(*data_, open_, currentKey_, name);
    if (value == nullptr) throw ERegistryException("Failed to get data for '" + name + "'");
    if (value->type != TRegDataType::rdInteger)
        throw ERegistryException("Invalid data type for '" + name + "'");
    return value->number;
}

bool TRegistry::ReadBool(const std::string& name) const {
    return ReadInteger(name) != 0;
}

std::vector<std::string> TRegistry::GetValueNames() const {
    std::vector<std::string> names;
    if (const RegKey* key = open_ ? data_->Find(currentKey_) : nullptr)
        for (const RegValue& value : key->values)
            names.push_back(value.name);
    return names;
}

std::vector<std::string> TRegistry::GetKeyNames() const {
    const RegKey* key = open_ ? data_->Find(currentKey_) : nullptr;
    return key == nullptr ? std::vector<std::string>() : key->subKeys;
}

bool TRegistry::HasSubKeys() const {
    return !GetKeyNames().empty();
}

}  // namespace kv
