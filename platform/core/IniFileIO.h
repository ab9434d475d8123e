// File access of the INI readers: whole-file reads, a stamp that tells whether a file changed
// on disk, and atomic replacement (a temporary file beside the target, then a rename), which
// any writer of configuration files can use so that a crash never leaves half a file.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kv {

struct IniFileStamp {
    bool exists = false;
    unsigned long long device = 0;
    unsigned long long inode = 0;
    long long size = 0;
    long long seconds = 0;
    long long nanoseconds = 0;
    bool operator==(const IniFileStamp&) const = default;
};

// Identity, size and modification time of the file (following links); `exists` false when
// there is no such file.
IniFileStamp StampOfIniFile(const std::string& fileName);

// The bytes of a regular file; nothing when it is missing, not a regular file or unreadable.
std::optional<std::string> ReadIniFileText(const std::string& fileName);

// Replaces the file's content with `text` atomically; a link is followed, so its target is
// replaced. An existing file keeps its permissions; a new one gets rw-r--r--. Returns "" on
// success, otherwise the reason (the file is then unchanged).
std::string WriteIniFileAtomically(const std::string& fileName, std::string_view text);

}  // namespace kv
