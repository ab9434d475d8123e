// Small helpers the host services share for reading the arguments they are handed.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/core/Variant.h"

namespace kv {

// A day written "yyyymmdd" from 17530101 to 99991231.
bool IsYmdDay(std::string_view ymd);

// The elements of a parameter argument as trimmed texts: an array gives its elements (low to
// high), an unassigned or null value none, anything else itself. Raises EOleException naming
// `what` for a multi-dimensional array or an element that is no text or number.
std::vector<std::string> ParamTexts(const Variant& params, std::string_view what);

// The element `index` of a one-dimensional array counted from its low bound, or unassigned.
Variant ElementOrEmpty(const Variant& array, int index);

// Reads a text or number argument; raises EOleException naming `what` for anything else
// (arrays, objects).
std::string ArgText(const Variant& value, std::string_view what);

// A copy of value with every automation object replaced by the text "(object)", so that a
// recorded request neither keeps an object alive nor needs one to be written out.
Variant WithoutObjects(const Variant& value);

}  // namespace kv
