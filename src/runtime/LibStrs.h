// LibStrs: the stateless string, number and date helpers every form of the plug-in rests on:
// field records, the five date forms, ymd texts, code-page conversion of variant arrays, and a
// few small helpers. Text is UTF-8 in std::string.
//
// None of these functions raises for bad input: parse and check functions answer 0, false or
// the empty text; the variant converters log their failures to the alert log "libstrs" and hand
// back their input unchanged.
#pragma once

#include <string>
#include <string_view>

#include "platform/core/SysUtils.h"

namespace kv {

class Variant;
class TComponent;

// The separator of the field records exchanged with the host and the application server.
inline constexpr std::string_view kFieldSep = "\x03";

// ---------------------------------------------------------------------------------------------
// Splitting and joining

// Field n (1-based) of text split at every occurrence of separator (case-sensitive, searched
// from the left without overlap; the separator may be longer than one character). Stops as
// soon as field n is cut, so asking for an early field of a long record is cheap. Empty when
// the text has fewer than n fields, n < 1 or the separator is empty (then the whole text is
// field 1).
std::string GetField(std::string_view text, std::string_view separator, int n);

// 0 for the empty text, else the number of separator occurrences (without overlap) plus 1.
// An empty separator counts as never occurring.
int FieldCount(std::string_view text, std::string_view separator);

// Cuts the first field off text: answers the part before the first occurrence of separator and
// leaves the part after it in text; without an occurrence answers the whole text and empties
// text.
std::string CutField(std::string& text, std::string_view separator);

// The wide text prefix, #3, the count n held in array[0], #3, then array[1..n] each followed by
// #3. Elements are read as text; a missing element or a value that is no text raises nothing:
// the join stops at the array's end and null/empty elements give "".
std::string JoinVarArray(std::string_view prefix, const Variant& array);

// text filled with fill up to width characters (code points); longer texts stay as they are.
std::string PadRight(std::string_view text, int width, char32_t fill = U' ');

// Replaces every occurrence of oldText with newText, searching again from the start after each
// replacement (so occurrences formed by a replacement are replaced too). Unchanged when the two
// are equal ignoring letter case or oldText is empty. When newText contains oldText a second
// round could never end, so then each occurrence of the original text is replaced once. With
// trim the result is stripped of blanks and control characters at both ends.
std::string ReplaceAll(std::string_view text, std::string_view oldText, std::string_view newText,
                       bool trim);

// text typed under the edit mask mask, re-formatted to newMask and read back as the edit's
// text. An empty newMask gives the typed characters without the literals of mask.
std::string ReformatByMask(std::string_view text, std::string_view mask, std::string_view newMask);

// ---------------------------------------------------------------------------------------------
// Dates. A date form is 1 yyyy/mm/dd, 2 mm/dd/yyyy, 3 dd/mm/yyyy, 4 yy/mm/dd and 5 yyy/mm/dd
// with Republic-of-China years (year - 1911; widths are minimums).

// The date in the given form, the first character of separator between the parts. Empty for
// date 0 and for a form outside 1..5.
std::string FormatDateStr(int form, std::string_view separator, TDateTime date);
// The same for year and month only.
std::string FormatYearMonthStr(int form, std::string_view separator, TDateTime date);

// The inverse of FormatDateStr with the whole separator text. 0 for an empty text, fewer than
// three positive numbers, a form outside 1..5, or an impossible year or month. A day past the
// month's end runs on into the next month (the 30th of February is 1 or 2 March).
TDateTime ParseDateStr(std::string_view text, int form, std::string_view separator);

// "yyyymmdd" read as a date; 0 unless exactly eight characters of a calendar date.
TDateTime YmdToDate(std::string_view ymd);

// True for the empty text and for a calendar date from "17530101" to "99991231".
bool IsValidYmd(std::string_view ymd);

// value (a ymd text, 8-bit or wide, or a date) moved by n units: "Y" years (29 February to 28
// February in a common year), "M" months (the day lowered to the new month's last day when
// needed), "D" days; the unit in any case. Answers "yyyymmdd", or "" for another unit, another
// kind of value, date 0 or a text that is no date.
std::string ShiftDate(const Variant& value, std::string_view unit, int n);

// 28..31 by the Gregorian rule; 0 for a month outside 1..12.
int DaysOfMonth(int year, int month);

// ---------------------------------------------------------------------------------------------
// Variants and numbers

Variant VarIIf(bool flag, const Variant& a, const Variant& b);
// True when the variant is empty (unassigned) or null.
bool VarIsBlank(const Variant& v);
// text read as a decimal floating-point number (the platform's decimal separator, blanks
// around it allowed), or defaultValue.
double StrToFloatOr(std::string_view text, double defaultValue);

// ---------------------------------------------------------------------------------------------
// Code-page conversion. Both kinds of string hold Unicode (UTF-8) text, so a valid text passes
// unchanged; a text that is not valid UTF-8 holds bytes of the given code page (936, 950, 437,
// 1252 ...) and is decoded from it, falling back to the system's code page and finally to one
// character per byte. The result is always valid UTF-8.

std::string AnsiToWideCP(std::string_view text, int codePage);
std::string WideToAnsiCP(std::string_view wide, int codePage);

// A copy of value whose strings are all made wide (VarToWideCP) or all made 8-bit (VarToAnsiCP),
// each passed through AnsiToWideCP or WideToAnsiCP: a single string, the elements of a
// one-dimensional array (nested arrays recursively, up to 64 levels) and of a two-dimensional
// array (no recursion there). Empty, null, other kinds and arrays of more dimensions stay as
// they are. A failure is written to the alert log "libstrs" ("LINE[115] " or "LINE[2735] " and
// the error's message) and the unchanged copy is answered.
Variant VarToWideCP(const Variant& value, int codePage);
Variant VarToAnsiCP(const Variant& value, int codePage);

// ---------------------------------------------------------------------------------------------
// Miscellaneous

// The user's folder for temporary files in its plain form (no "." or ".." parts, no doubled
// "/"), ending in "/" so that a file name can follow directly.
std::string GetTempDir();
// True only for exactly "127.0.0.1".
bool IsLocalAddress(std::string_view address);
// The Chinese caption of a message-box button by its name ("Yes", "NoToAll" ...), compared
// exactly; any other name is answered unchanged.
std::string ButtonCaption(std::string_view name);

// Sets the published property propName of component as a string; does nothing when the
// component is null, the name empty, or the class has no such property or it is no writable
// string property.
void SetStrPropByName(TComponent* component, std::string_view propName, std::string_view value);
// True when component is present, propName not empty and its class publishes that property.
bool HasPropByName(const TComponent* component, std::string_view propName);

}  // namespace kv
