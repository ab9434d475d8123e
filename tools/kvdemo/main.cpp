// Shows the platform core at work until the host shell takes over as the main job.
#include <cstdio>

#include "platform/core/Exceptions.h"

int main() {
    try {
        throw kv::EConvertError("'abc' is not a valid integer value");
    } catch (const kv::Exception& e) {
        std::printf("%s: %s\n", e.ClassName(), e.Message().c_str());
    }
    return 0;
}
