#include "platform/core/Exceptions.h"

#include <gtest/gtest.h>

#include <new>
#include <stdexcept>

namespace kv {
namespace {

TEST(Exceptions, ClassChainIsKnownAtRunTime) {
    try {
        throw EOleException("Unknown name");
    } catch (const Exception& e) {
        EXPECT_STREQ(e.ClassName(), "EOleException");
        EXPECT_EQ(e.Message(), "Unknown name");
        EXPECT_TRUE(e.InheritsFrom("EOleError"));
        EXPECT_TRUE(e.InheritsFrom("Exception"));
        EXPECT_FALSE(e.InheritsFrom("EConvertError"));
    }
}

TEST(Exceptions, StandardErrorsMapToPlatformClasses) {
    struct Case {
        std::exception_ptr error;
        const char* expected;
    } cases[] = {
        {std::make_exception_ptr(EConvertError("x")), "EConvertError"},
        {std::make_exception_ptr(std::bad_alloc()), "EOutOfMemory"},
        {std::make_exception_ptr(std::out_of_range("x")), "ERangeError"},
        {std::make_exception_ptr(std::runtime_error("x")), "Exception"},
    };
    for (const auto& c : cases) {
        try {
            std::rethrow_exception(c.error);
        } catch (const std::exception& e) {
            EXPECT_EQ(ExceptionClassName(e), c.expected);
        }
    }
}

}  // namespace
}  // namespace kv
