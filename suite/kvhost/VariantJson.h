// Variants as JSON, for the host shell's scripts (host commands) and transcripts (requests,
// answers, server calls).
//
//   variant                        JSON
//   unassigned                     null
//   null                           {"null": true}
//   Boolean, integers, floats      true/false, numbers
//   8-bit or wide string           "text"
//   date-time                      {"date": "2024-03-15 08:30:00"} (milliseconds when not 0)
//   currency                       number
//   error code                     {"error": code}
//   automation object              "(object)" (written only; never read back)
//   array 0..n-1                   [elements]
//   array of other bounds          {"low": 1, "items": [elements]}
//   two-dimensional array          {"rows": [[row 0], [row 1], ...]} (first index outer,
//                                  "low": [l1, l2] when the bounds do not start at 0)
//
// Reading is strict: an object that is none of the forms above, a date that is no date, and
// nesting deeper than 32 levels raise EConvertError naming what was wrong.
#pragma once

#include <nlohmann/json.hpp>

#include "platform/core/Variant.h"

namespace kv {

// JSON whose objects keep their keys in the order written (transcripts read naturally).
using TJson = nlohmann::ordered_json;

TJson VariantToJson(const Variant& value);
Variant JsonToVariant(const TJson& value);

}  // namespace kv
