#include "platform/core/IniFileIO.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>
#include <vector>

namespace kv {

namespace {

std::string ErrnoText() {
    return std::strerror(errno);
}

// Closes a descriptor when it leaves scope.
class TFileDescriptor {
public:
    explicit TFileDescriptor(int fd) : fd_(fd) {}
    TFileDescriptor(const TFileDescriptor&) = delete;
    TFileDescriptor& operator=(const TFileDescriptor&) = delete;
    ~TFileDescriptor() { Close(); }
    int Get() const { return fd_; }
    bool Close() {
        const int fd = fd_;
        fd_ = -1;
        return fd < 0 || ::close(fd) == 0;
    }

private:
    int fd_;
};

bool WriteAll(int fd, std::string_view text) {
    while (!text.empty()) {
        const ssize_t written = ::write(fd, text.data(), text.size());
        if (written < 0 && errno == EINTR) continue;
        if (written == 0) errno = EIO;
        if (written <= 0) return false;
        text.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

// The file that is really written: the target of a link, when the name is one.
std::string ResolveTarget(const std::string& fileName) {
    std::error_code error;
    if (!std::filesystem::is_symlink(fileName, error)) return fileName;
    const auto target = std::filesystem::weakly_canonical(fileName, error);
    return error ? fileName : target.string();
}

void SyncFolder(const std::string& fileName) {
    std::string folder = std::filesystem::path(fileName).parent_path().string();
    if (folder.empty()) folder = ".";
    TFileDescriptor fd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (fd.Get() >= 0) ::fsync(fd.Get());  // durability only; the rename already happened
}

}  // namespace

IniFileStamp StampOfIniFile(const std::string& fileName) {
    struct stat info {};
    if (::stat(fileName.c_str(), &info) != 0) return {};
    return {true,
            static_cast<unsigned long long>(info.st_dev),
            static_cast<unsigned long long>(info.st_ino),
            static_cast<long long>(info.st_size),
            static_cast<long long>(info.st_mtim.tv_sec),
            static_cast<long long>(info.st_mtim.tv_nsec)};
}

std::optional<std::string> ReadIniFileText(const std::string& fileName) {
    TFileDescriptor fd(::open(fileName.c_str(), O_RDONLY | O_CLOEXEC));
    struct stat info {};
    if (fd.Get() < 0 || ::fstat(fd.Get(), &info) != 0 || !S_ISREG(info.st_mode))
        return std::nullopt;
    std::string text;
    std::vector<char> buffer(64 * 1024);
    for (;;) {
        const ssize_t got = ::read(fd.Get(), buffer.data(), buffer.size());
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) return std::nullopt;
        if (got == 0) break;
        text.append(buffer.data(), static_cast<std::size_t>(got));
    }
    return text;
}

std::string WriteIniFileAtomically(const std::string& fileName, std::string_view text) {
    const std::string target = ResolveTarget(fileName);
    std::string temporary = target + ".XXXXXX";
    TFileDescriptor fd(::mkostemp(temporary.data(), O_CLOEXEC));
    if (fd.Get() < 0) return ErrnoText();
    struct stat existing {};
    const mode_t mode = ::stat(target.c_str(), &existing) == 0 ? (existing.st_mode & 07777) : 0644;
    std::string error;
    if (!WriteAll(fd.Get(), text) || ::fchmod(fd.Get(), mode) != 0 || ::fsync(fd.Get()) != 0 ||
        !fd.Close() || ::rename(temporary.c_str(), target.c_str()) != 0)
        error = ErrnoText();
    if (!error.empty()) {
        ::unlink(temporary.c_str());
        return error;
    }
    SyncFolder(target);
    return {};
}

}  // namespace kv
