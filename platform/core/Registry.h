// A read-only registry, kept in a text file.
//
// The file is INI-style (IniDocument.h rules): each section is a full key path with its root
// ("[HKEY_LOCAL_MACHINE\Software\KVT\Velmar]"; HKLM, HKCU, HKCR, HKU, HKCC abbreviate the
// roots), each line a value: `Name=Value`, `@=Value` for the key's default value. A value is a
// string, or an integer written `dword:0000000a` (1 to 8 hexadecimal digits); a string may be
// enclosed in double quotes, inside which \\ and \" stand for \ and " (as in exported
// registry files), and a name may be quoted the same way. Paths and value names are compared
// without regard to case; repeated or empty path parts ("Software\\KVT\") are ignored. A key
// exists when it has a section or a section lies below it.
//
// The file is named by the environment variable KV_REGISTRY_FILE, by default
// /etc/kv/registry.ini, and read when the TRegistry is created; a missing file is an empty
// registry in which no key can be opened.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/core/Exceptions.h"

namespace kv {

KV_DECLARE_EXCEPTION(ERegistryException, Exception);

using HKEY = std::uintptr_t;
inline constexpr HKEY HKEY_CLASSES_ROOT = 0x80000000u;
inline constexpr HKEY HKEY_CURRENT_USER = 0x80000001u;
inline constexpr HKEY HKEY_LOCAL_MACHINE = 0x80000002u;
inline constexpr HKEY HKEY_USERS = 0x80000003u;
inline constexpr HKEY HKEY_CURRENT_CONFIG = 0x80000005u;

enum class TRegDataType { rdUnknown, rdString, rdExpandString, rdInteger, rdBinary };

struct TRegistryData;  // the parsed file

class TRegistry {
public:
    // Reads the file named by KV_REGISTRY_FILE (or the default).
    TRegistry();
    // Reads the given file.
    explicit TRegistry(const std::string& fileName);
    TRegistry(const TRegistry&) = delete;
    TRegistry& operator=(const TRegistry&) = delete;
    ~TRegistry();

    // The file a default-constructed TRegistry reads.
    static std::string DefaultFileName();
    const std::string& FileName() const { return fileName_; }

    // HKEY_CURRENT_USER until set, as on the platform; callers of the machine-wide settings
    // set HKEY_LOCAL_MACHINE. Setting it closes the open key.
    HKEY RootKey() const { return rootKey_; }
    void SetRootKey(HKEY rootKey);

    // Opens a key: a path starting with "\" is taken from the root, any other path from the
    // open key (or the root when none is open). False when the key does not exist; the open
    // key is then unchanged. This registry cannot create keys: canCreate changes nothing.
    bool OpenKey(const std::string& key, bool canCreate = false);
    bool OpenKeyReadOnly(const std::string& key);
    void CloseKey();
    // The open key's path below the root ("Software\KVT\Velmar"), "" when none is open.
    const std::string& CurrentPath() const { return currentPath_; }
    bool HasOpenKey() const { return open_; }

    // Whether the key exists; the path is taken as for OpenKey.
    bool KeyExists(const std::string& key) const;
    bool ValueExists(const std::string& name) const;
    TRegDataType GetDataType(const std::string& name) const;

    // A string value of the open key; "" for a missing value or when no key is open. An
    // integer value raises ERegistryException "Invalid data type for '<name>'".
    std::string ReadString(const std::string& name) const;
    // An integer value; a missing value raises ERegistryException "Failed to get data for
    // '<name>'", a string value "Invalid data type for '<name>'".
    int ReadInteger(const std::string& name) const;
    // ReadInteger(name) != 0.
    bool ReadBool(const std::string& name) const;

    // Value names and sub-key names of the open key, in file order; empty when none is open.
    std::vector<std::string> GetValueNames() const;
    std::vector<std::string> GetKeyNames() const;
    bool HasSubKeys() const;

private:
    // The folded full path (root name included) a key argument designates.
    std::string Resolve(const std::string& key, std::string* display) const;

    std::string fileName_;
    std::unique_ptr<TRegistryData> data_;
    HKEY rootKey_ = HKEY_CURRENT_USER;
    bool open_ = false;
    std::string currentPath_;  // as the caller spelled it, normalised
    std::string currentKey_;   // folded full path of the open key
};

}  // namespace kv
