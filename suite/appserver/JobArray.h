// Checks of the job arrays that clients submit: the environment entries, the condition texts
// and values of the announced count, and for a periodic job the period record and the
// dynamic-field list. A job that fails a check is refused with the reason; nothing of it is
// stored.
#pragma once

#include <string>

#include "platform/core/Exceptions.h"
#include "platform/core/Variant.h"

namespace kv {

KV_DECLARE_EXCEPTION(EJobRefused, Exception);

// What the server reads from a checked job array.
struct TJobSummary {
    std::string program;
    std::string company;
    std::string user;
    std::string database;
    std::string kind;
    bool periodic = false;
    int generation = 0;         // entry 10: 0 work queue, 1 at once, 2 at a set time
    double generationTime = 0;  // entry 11, or the moment of acceptance without one
};

// Raises EJobRefused with the reason when the array is not a well-formed job; `now` stands in
// for a generation time the job does not carry.
TJobSummary CheckJobArray(const Variant& job, double now);

}  // namespace kv
