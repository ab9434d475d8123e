#include "platform/core/Exceptions.h"

#include <new>
#include <stdexcept>

namespace kv {

std::string ExceptionClassName(const std::exception& error) {
    if (const auto* platform = dynamic_cast<const Exception*>(&error)) return platform->ClassName();
    if (dynamic_cast<const std::bad_alloc*>(&error)) return "EOutOfMemory";
    if (dynamic_cast<const std::out_of_range*>(&error)) return "ERangeError";
    if (dynamic_cast<const std::invalid_argument*>(&error)) return "EConvertError";
    return "Exception";
}

}  // namespace kv
