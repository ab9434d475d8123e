#include "platform/core/SystemInfo.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <ifaddrs.h>
#include <netinet/in.h>
#include <pwd.h>
#include <sys/stat.h>
#include <sys/utsname.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <charconv>
#include <cstdlib>
#include <string_view>
#include <system_error>

namespace kv {

namespace {

std::string Environment(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

std::string AsciiUpper(std::string text) {
    for (char& c : text)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return text;
}

unsigned int CodePageOfLocale(const std::string& locale) {
    // "zh_TW.Big5@euro" -> "ZH_TW"; "zh-tw" is taken as well.
    std::string region = AsciiUpper(locale.substr(0, locale.find_first_of(".@")));
    std::replace(region.begin(), region.end(), '-', '_');
    if (region == "ZH_CN" || region == "ZH_SG") return 936;
    if (region == "ZH_TW" || region == "ZH_HK" || region == "ZH_MO") return 950;
    return 1252;
}

unsigned int ReadVersionNumber(std::string_view& text) {
    unsigned int number = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
    if (error != std::errc()) return 0;
    text.remove_prefix(static_cast<std::size_t>(end - text.data()));
    if (text.starts_with('.')) text.remove_prefix(1);
    return number;
}

// The first executable file of that name along PATH, or "".
std::string FindInPath(const std::string& program) {
    const std::string path = Environment("PATH");
    std::size_t start = 0;
    while (start <= path.size()) {
        const std::size_t end = std::min(path.find(':', start), path.size());
        const std::string folder = path.substr(start, end - start);
        const std::string candidate = (folder.empty() ? "." : folder) + "/" + program;
        struct stat info {};
        if (::stat(candidate.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
            ::access(candidate.c_str(), X_OK) == 0)
            return candidate;
        start = end + 1;
    }
    return {};
}

// Starts the program in a grandchild of its own session, so that it outlives nothing of
// ours and leaves no zombie; only async-signal-safe calls happen after fork.
bool SpawnDetached(const std::string& program, const std::string& argument) {
    std::array<char*, 3> argv{const_cast<char*>(program.c_str()),
                              const_cast<char*>(argument.c_str()), nullptr};
    const pid_t child = ::fork();
    if (child < 0) return false;
    if (child == 0) {
        ::setsid();
        const pid_t grandchild = ::fork();
        if (grandchild != 0) ::_exit(grandchild < 0 ? 1 : 0);
        const int null = ::open("/dev/null", O_RDWR);
        if (null >= 0) {
            ::dup2(null, 0);
            ::dup2(null, 1);
            ::dup2(null, 2);
        }
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    int status = 0;
    while (::waitpid(child, &status, 0) < 0)
        if (errno != EINTR) return false;
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

}  // namespace

unsigned int GetACP() {
    const std::string setting = Environment("KV_ACP");
    unsigned int codePage = 0;
    const auto [end, error] =
        std::from_chars(setting.data(), setting.data() + setting.size(), codePage);
    if (!setting.empty() && error == std::errc() && end == setting.data() + setting.size() &&
        codePage >= 1 && codePage <= 65535)
        return codePage;
    for (const char* name : {"LC_ALL", "LC_CTYPE", "LANG"}) {
        const std::string locale = Environment(name);
        if (!locale.empty()) return CodePageOfLocale(locale);
    }
    return 1252;
}

std::string GetUserName() {
    const std::string user = Environment("USER");
    if (!user.empty()) return user;
    std::array<char, 4096> buffer{};
    passwd entry{};
    passwd* found = nullptr;
    if (::getpwuid_r(::geteuid(), &entry, buffer.data(), buffer.size(), &found) == 0 &&
        found != nullptr && found->pw_name != nullptr)
        return found->pw_name;
    return {};
}

std::string GetComputerName() {
    std::array<char, 256> buffer{};
    if (::gethostname(buffer.data(), buffer.size() - 1) != 0) return {};
    const std::string host(buffer.data());
    return AsciiUpper(host.substr(0, host.find('.')));
}

std::string GetTempPath() {
    std::string folder = Environment("TMPDIR");
    if (folder.empty()) return "/tmp/";
    if (folder.back() != '/') folder += '/';
    return folder;
}

TOSVersionInfo GetVersionEx() {
    TOSVersionInfo info;
    utsname names{};
    if (::uname(&names) != 0) return info;
    info.SystemName = names.sysname;
    info.Release = names.release;
    info.Machine = names.machine;
    std::string_view release = info.Release;
    info.MajorVersion = ReadVersionNumber(release);
    info.MinorVersion = ReadVersionNumber(release);
    info.BuildNumber = ReadVersionNumber(release);
    return info;
}

std::string GetOSVersionText() {
    const TOSVersionInfo info = GetVersionEx();
    return info.SystemName + " " + info.Release + " " + info.Machine;
}

std::vector<std::string> GetLocalAddresses() {
    std::vector<std::string> addresses;
    ifaddrs* list = nullptr;
    if (::getifaddrs(&list) != 0) return addresses;
    for (const ifaddrs* entry = list; entry != nullptr; entry = entry->ifa_next) {
        if (entry->ifa_addr == nullptr) continue;
        const int family = entry->ifa_addr->sa_family;
        const void* raw = nullptr;
        if (family == AF_INET)
            raw = &reinterpret_cast<const sockaddr_in*>(entry->ifa_addr)->sin_addr;
        else if (family == AF_INET6)
            raw = &reinterpret_cast<const sockaddr_in6*>(entry->ifa_addr)->sin6_addr;
        else
            continue;
        std::array<char, INET6_ADDRSTRLEN> text{};
        if (::inet_ntop(family, raw, text.data(), text.size()) == nullptr) continue;
        std::string address(text.data());
        if (std::find(addresses.begin(), addresses.end(), address) == addresses.end())
            addresses.push_back(std::move(address));
    }
    ::freeifaddrs(list);
    return addresses;
}

bool ShellOpen(const std::string& target) {
    if (target.empty()) return false;
    const std::string opener = FindInPath("xdg-open");
    // A target starting with '-' would read as an option of the opener: it is a file name.
    return !opener.empty() && SpawnDetached(opener, target.front() == '-' ? "./" + target : target);
}

}  // namespace kv
