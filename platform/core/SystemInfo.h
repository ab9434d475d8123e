// What the program learns about the system it runs on: the ANSI code page, user and computer
// names, the temporary folder, the operating system's version, the machine's addresses, and
// the shell's "open" of a document or address.
#pragma once

#include <string>
#include <vector>

namespace kv {

// The system's ANSI code page. The environment variable KV_ACP, when it holds a number from 1
// to 65535, decides; otherwise the locale (the first set of LC_ALL, LC_CTYPE, LANG): Chinese
// of the mainland or Singapore (zh_CN, zh_SG) 936, of Taiwan, Hong Kong or Macao (zh_TW,
// zh_HK, zh_MO) 950, any other locale 1252.
unsigned int GetACP();

// The name of the user running the program: the environment's USER, else the account name
// of the effective user id; "" when neither is known.
std::string GetUserName();

// The computer's name as the platform reports it: the host name without its domain part, in
// upper case ("build-01.example.org" gives "BUILD-01"); "" when the system gives none.
std::string GetComputerName();

// The folder for temporary files, ending in "/": TMPDIR when set, else "/tmp/".
std::string GetTempPath();

struct TOSVersionInfo {
    unsigned int MajorVersion = 0;
    unsigned int MinorVersion = 0;
    unsigned int BuildNumber = 0;
    std::string SystemName;  // "Linux"
    std::string Release;     // the full release text, "6.1.0-18-amd64"
    std::string Machine;     // "x86_64"
};
// Version numbers from the kernel release (major.minor.patch).
TOSVersionInfo GetVersionEx();
// "<system> <release> <machine>", for example "Linux 6.1.0-18-amd64 x86_64".
std::string GetOSVersionText();

// The IPv4 and IPv6 addresses of the machine's interfaces (loopback included) as texts, each
// once, in the order the system lists them.
std::vector<std::string> GetLocalAddresses();

// Opens a file or an address with the desktop's default program (xdg-open), detached: returns
// at once, true when the opener was started, false when there is none or the target is empty.
bool ShellOpen(const std::string& target);

}  // namespace kv
