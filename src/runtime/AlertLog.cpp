#include "src/runtime/AlertLog.h"

#include <chrono>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "src/runtime/LogRoot.h"

namespace kv {

namespace {

struct Stamp {
    int year, month, day, hour, minute, second, millisecond;
};

Stamp CurrentStamp() {
    const auto now = std::chrono::system_clock::now();
    const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
    const auto ms =
        std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()) % 1000;
    std::tm local{};
    localtime_r(&seconds, &local);
    return {local.tm_year + 1900,
            local.tm_mon + 1,
            local.tm_mday,
            local.tm_hour,
            local.tm_min,
            local.tm_sec,
            static_cast<int>(ms.count())};
}

std::string LineOf(const Stamp& s, const std::string& text) {
    char head[40];
    std::snprintf(head, sizeof head, "[%04d/%02d/%02d %02d:%02d:%02d:%03d] ", s.year, s.month,
                  s.day, s.hour, s.minute, s.second, s.millisecond);
    return head + text + "\r\n";
}

// A log name is part of a file name: a separator in it must not lead out of the Log folder.
std::string SafeName(std::string name) {
    for (char& c : name)
        if (c == '/' || c == '\\' || c == '\0') c = '_';
    return name;
}

}  // namespace

std::string AlertLogFileName(const std::string& logName, const std::string& period, int year,
                             int month, int day) {
    char stamp[16];
    if (period == "Y")
        std::snprintf(stamp, sizeof stamp, "%04d", year);
    else if (period == "M")
        std::snprintf(stamp, sizeof stamp, "%04d%02d", year, month);
    else
        std::snprintf(stamp, sizeof stamp, "%04d%02d%02d", year, month, day);
    const std::string name = SafeName(logName);
    std::string file = "Alert_" + name + "_" + stamp;
    if (name.find('.') == std::string::npos) file += ".log";
    return file;
}

bool WriteAlertLogIn(const std::string& root, const std::string& logName, const std::string& text,
                     const std::string& period) {
    try {
        const Stamp now = CurrentStamp();
        const std::filesystem::path folder = JoinLogFolder(root);
        std::error_code ec;
        std::filesystem::create_directories(folder, ec);
        if (ec) return false;
        const auto file = folder / AlertLogFileName(logName, period, now.year, now.month, now.day);
        std::ofstream out(file, std::ios::binary | std::ios::app);
        if (!out) return false;
        const std::string line = LineOf(now, text);
        out.write(line.data(), static_cast<std::streamsize>(line.size()));
        out.close();
        return !out.fail();
    } catch (...) {
        return false;
    }
}

bool WriteAlertLog(const std::string& logName, const std::string& text, const std::string& period) {
    return WriteAlertLogIn(GetLogRoot(), logName, text, period);
}

}  // namespace kv

namespace kv {

std::string GetLogRoot() {
    const auto fromRegistry = RegistryLogRoot();
    if (fromRegistry && !fromRegistry->empty()) return *fromRegistry;
    return ProgramFolder();
}

}  // namespace kv
