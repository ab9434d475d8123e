// An automation object that passes every call on to another one and reports it: how the host
// shell records the plug-in's calls to the application server for the transcript.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/core/Dispatch.h"

namespace kv {

// One call as it went through.
struct TCallRecord {
    std::string member;
    DispatchFlags flags = 0;
    std::vector<Variant> args;     // as the caller passed them
    std::vector<Variant> argsOut;  // as the callee left them (by-reference answers)
    Variant result;
    bool failed = false;
    std::string error;  // the message of the error passed on to the caller
};

class TRecordingDispatch : public Dispatch {
public:
    using TSink = std::function<void(const TCallRecord&)>;

    // Every call on this object goes to inner; sink hears of it once it returned or failed.
    TRecordingDispatch(DispatchPtr inner, TSink sink);

    Variant Invoke(std::string_view name, DispatchFlags flags, std::vector<Variant>& args) override;

private:
    DispatchPtr inner_;
    TSink sink_;
};

}  // namespace kv
