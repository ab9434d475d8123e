#include "src/runtime/AlertLog.h"

#include <fstream>

#include "platform/core/SysUtils.h"
#include "src/runtime/LogRoot.h"

namespace kv {

namespace {

// The stamp of a line has a fixed form whatever the user's separators are.
const TFormatSettings& FixedSettings() {
    static const TFormatSettings settings{};
    return settings;
}

// A log name is part of a file name: a separator in it must not lead out of the Log folder.
std::string SafeName(std::string name) {
    for (char& c : name)
        if (c == '/' || c == '\\' || c == '\0') c = '_';
    return name;
}

bool AppendLine(const std::string& file, const std::string& line) {
    std::ofstream out(file, std::ios::binary | std::ios::app);
    if (!out) return false;
    out.write(line.data(), static_cast<std::streamsize>(line.size()));
    out.close();
    return !out.fail();
}

}  // namespace

std::string AlertLogFileName(const std::string& logName, const std::string& period, int year,
                             int month, int day) {
    std::string stamp;
    if (period == "Y")
        stamp = Format("%.4d", {year});
    else if (period == "M")
        stamp = Format("%.4d%.2d", {year, month});
    else
        stamp = Format("%.4d%.2d%.2d", {year, month, day});
    const std::string name = SafeName(logName);
    std::string file = "Alert_" + name + "_" + stamp;
    if (name.find('.') == std::string::npos) file += ".log";
    return file;
}

bool WriteAlertLogIn(const std::string& root, const std::string& logName, const std::string& text,
                     const std::string& period) {
    try {
        const TDateTime now = Now();
        const std::string folder = JoinLogFolder(root);
        if (!ForceDirectories(folder)) return false;
        int year = 0, month = 0, day = 0;
        DecodeDate(now, year, month, day);
        const std::string file = folder + "/" + AlertLogFileName(logName, period, year, month, day);
        const std::string stamp = FormatDateTime("yyyy/mm/dd hh:nn:ss:zzz", now, FixedSettings());
        return AppendLine(file, "[" + stamp + "] " + text + "\r\n");
    } catch (...) {
        return false;
    }
}

bool WriteAlertLog(const std::string& logName, const std::string& text, const std::string& period) {
    return WriteAlertLogIn(GetLogRoot(), logName, text, period);
}

std::string GetLogRoot() {
    const auto fromRegistry = RegistryLogRoot();
    std::string root = fromRegistry && !fromRegistry->empty() ? *fromRegistry : ProgramFolder();
    while (root.size() > 1 && root.back() == '/')
        root.pop_back();
    return root;
}

}  // namespace kv
