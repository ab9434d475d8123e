// The error report and the password scrambling of the platform's configuration files.
//
// The error report appends a formatted description of a caught error to one log file a day,
// <root>/Log/Alert_BRAVNGenerator_YYYYMMDD.log, each line stamped with the date and time in the
// short date and long time format. The scrambling pair stores database passwords as upper-case
// hexadecimal text with a position-dependent bit rotation.
#pragma once

#include <exception>
#include <string>

namespace kv {

// Stands for the empty password before scrambling; recognised again after unscrambling.
inline constexpr const char* kNoPasswordMarker = "KV_Say_NoPassWord_ThePassWordIsEmpty";
// Initial result of scrambling; always replaced by the scrambled text, so never returned.
inline constexpr const char* kNeverHasPasswordMarker = "KV_Say_Never_Has_Password";
// Result of unscrambling a text that is not valid hexadecimal.
inline constexpr const char* kPasswordErrorMarker = "KV_Say_Password_Error";

// Byte i (1-based) of the password rotated right by (i mod 8) bits, as two upper-case hex
// digits each; the empty password is scrambled as kNoPasswordMarker. Never empty.
std::string ScramblePassword(const std::string& password);

// The inverse: pair a (1-based) read as hexadecimal and rotated left by (a mod 8) bits; a
// trailing single character is ignored; kNoPasswordMarker gives the empty text. A pair that is
// not hexadecimal gives kPasswordErrorMarker and writes an error report. Never raises.
std::string UnscramblePassword(const std::string& text);

// Root of the error report: "ClientPath", else "ServerPath" of the registry key
// "Software\KVT\Velmar"; else the user's temporary folder; "/tmp" when that is empty too or
// the registry cannot be read.
std::string ErrorReportRoot();

// Writes the report of error (may be null) caught at `where`, with an optional note of the
// programmer, to the daily file under ErrorReportRoot(). Returns false when a line could not be
// written; never raises.
bool WriteErrorReport(const std::exception* error, const std::string& where,
                      const std::string& programmerMessage);

// The same under an explicit root (tests, callers with their own installation folder).
bool WriteErrorReportIn(const std::string& root, const std::exception* error,
                        const std::string& where, const std::string& programmerMessage);

}  // namespace kv
