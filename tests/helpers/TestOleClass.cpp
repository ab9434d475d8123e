// A class library for the tests of creation by class name: it exports one factory that
// serves "KvTest.Counter" and answers no object for any other class.
#include <string>
#include <vector>

#include "platform/core/ComObj.h"
#include "platform/core/Dispatch.h"
#include "platform/core/SysUtils.h"

namespace {

class TTestCounter : public kv::TAutoObject {
public:
    TTestCounter() {
        using kv::Variant;
        RegisterProperty(
            "Count", [this] { return Variant(count_); },
            [this](const Variant& value) { count_ = value.AsInteger(); });
        RegisterMethod(
            "Increment",
            [this](std::vector<Variant>& args) {
                count_ += args.empty() ? 1 : args[0].AsInteger();
                return Variant(count_);
            },
            0, 1);
        // Hands the count out through its by-reference argument and starts again from 0.
        RegisterMethod(
            "TakeCount",
            [this](std::vector<Variant>& args) {
                args[0] = count_;
                count_ = 0;
                return Variant(true);
            },
            1, 1);
    }

private:
    int count_ = 0;
};

}  // namespace

extern "C" __attribute__((visibility("default"))) kv::Dispatch* KvTestCreateObject(
    const char* progId) {
    if (progId != nullptr && kv::SameText(progId, "KvTest.Counter")) return new TTestCounter();
    return nullptr;
}
