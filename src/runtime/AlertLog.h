// The general alert log: service routines never show their internal failures to the user, they
// append one line to a plain text file under the "Log" folder of the installation instead.
#pragma once

#include <string>

namespace kv {

// Folder under which alert logs are written: the registry value "ClientPath" of the key
// "Software\KVT\Velmar", else "ServerPath", else the folder of the running program.
// Never ends in "/" unless it is the file-system root.
std::string GetLogRoot();

// Appends "[YYYY/MM/DD hh:nn:ss:zzz] text" + CR LF to <GetLogRoot()>/Log/Alert_<logName>_<stamp>,
// where the stamp is today as "YYYYMMDD" (period "D" and any unknown code), "YYYYMM" ("M") or
// "YYYY" ("Y"); ".log" is appended unless logName contains a ".". Missing folders are created.
// Returns false when the folder cannot be created or the file cannot be opened or written;
// never raises.
bool WriteAlertLog(const std::string& logName, const std::string& text,
                   const std::string& period = "D");

// The same writer with an explicit log root; the file-update routines use the program's folder
// this way, without the registry lookup.
bool WriteAlertLogIn(const std::string& root, const std::string& logName, const std::string& text,
                     const std::string& period = "D");

// File name (without folder) the writer uses for logName and period on the given day.
std::string AlertLogFileName(const std::string& logName, const std::string& period, int year,
                             int month, int day);

}  // namespace kv
