// The platform's exception classes. Every error the platform raises derives from Exception,
// carries a message, and reports its class name and parent, because error reports and logs
// name the class of the error they caught.
#pragma once

#include <exception>
#include <string>

namespace kv {

class Exception : public std::exception {
public:
    explicit Exception(std::string message) : message_(std::move(message)) {}

    const std::string& Message() const noexcept { return message_; }
    void SetMessage(std::string message) { message_ = std::move(message); }
    const char* what() const noexcept override { return message_.c_str(); }

    virtual const char* ClassName() const noexcept { return "Exception"; }
    // True when this error is of the class with that name or derives from it.
    virtual bool InheritsFrom(const std::string& className) const noexcept {
        return className == "Exception";
    }

private:
    std::string message_;
};

// Declares an exception class `Name` deriving from `Parent`, with its name known at run time.
#define KV_DECLARE_EXCEPTION(Name, Parent)                                          \
    class Name : public Parent {                                                    \
    public:                                                                         \
        using Parent::Parent;                                                       \
        const char* ClassName() const noexcept override { return #Name; }           \
        bool InheritsFrom(const std::string& className) const noexcept override {   \
            return className == #Name || Parent::InheritsFrom(className);           \
        }                                                                           \
    }

// Silent exception: leaves an operation without a message to the user.
KV_DECLARE_EXCEPTION(EAbort, Exception);
// A text that is no number or date, a value out of a type's range.
KV_DECLARE_EXCEPTION(EConvertError, Exception);
// Variant conversion and array errors.
KV_DECLARE_EXCEPTION(EVariantError, Exception);
KV_DECLARE_EXCEPTION(EVariantTypeCastError, EVariantError);
KV_DECLARE_EXCEPTION(EVariantBadIndexError, EVariantError);
KV_DECLARE_EXCEPTION(EVariantInvalidOpError, EVariantError);
// Late-bound automation: unknown name, bad arguments, an error answered by the object.
KV_DECLARE_EXCEPTION(EOleError, Exception);
KV_DECLARE_EXCEPTION(EOleSysError, EOleError);
KV_DECLARE_EXCEPTION(EOleException, EOleSysError);
// Integer and floating-point faults.
KV_DECLARE_EXCEPTION(EExternal, Exception);
KV_DECLARE_EXCEPTION(EIntError, EExternal);
KV_DECLARE_EXCEPTION(EDivByZero, EIntError);
KV_DECLARE_EXCEPTION(ERangeError, EIntError);
KV_DECLARE_EXCEPTION(EMathError, EExternal);
KV_DECLARE_EXCEPTION(EZeroDivide, EMathError);
// Files and streams.
KV_DECLARE_EXCEPTION(EInOutError, Exception);
KV_DECLARE_EXCEPTION(EStreamError, Exception);
KV_DECLARE_EXCEPTION(EFOpenError, EStreamError);
KV_DECLARE_EXCEPTION(EReadError, EStreamError);
KV_DECLARE_EXCEPTION(EParserError, Exception);
// Errors of the class registry and of form descriptions.
KV_DECLARE_EXCEPTION(EFilerError, EStreamError);
// Lists, components, classes and properties.
KV_DECLARE_EXCEPTION(EListError, Exception);
KV_DECLARE_EXCEPTION(EStringListError, Exception);
KV_DECLARE_EXCEPTION(EComponentError, Exception);
KV_DECLARE_EXCEPTION(EClassNotFound, EFOpenError);
KV_DECLARE_EXCEPTION(EPropertyError, Exception);
KV_DECLARE_EXCEPTION(EPropertyConvertError, Exception);
KV_DECLARE_EXCEPTION(EAbstractError, Exception);
// User interface and modules.
KV_DECLARE_EXCEPTION(EInvalidOperation, Exception);
KV_DECLARE_EXCEPTION(EInvalidPointer, Exception);
KV_DECLARE_EXCEPTION(EOSError, Exception);
KV_DECLARE_EXCEPTION(EDatabaseError, Exception);
KV_DECLARE_EXCEPTION(ESocketConnectionError, Exception);

}  // namespace kv

namespace kv {

// The platform class name of any caught error: the class of a platform exception, and the
// class the platform would have raised for a standard library error (out of memory, range).
std::string ExceptionClassName(const std::exception& error);

}  // namespace kv
