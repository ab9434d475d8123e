#include "suite/kvhost/RecordingDispatch.h"

#include <exception>
#include <utility>

namespace kv {

TRecordingDispatch::TRecordingDispatch(DispatchPtr inner, TSink sink)
    : inner_(std::move(inner)), sink_(std::move(sink)) {}

Variant TRecordingDispatch::Invoke(std::string_view name, DispatchFlags flags,
                                   std::vector<Variant>& args) {
    TCallRecord record;
    record.member = std::string(name);
    record.flags = flags;
    record.args = args;
    try {
        record.result = inner_->Invoke(name, flags, args);
    } catch (const std::exception& error) {
        record.failed = true;
        record.error = error.what();
        record.argsOut = args;
        if (sink_) sink_(record);
        throw;
    }
    record.argsOut = args;
    if (sink_) sink_(record);
    return record.result;
}

}  // namespace kv
