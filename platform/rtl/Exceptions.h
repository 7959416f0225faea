// The run time's exception classes. Every failure that reaches the application's default handler is an
// Exception carrying its message as 8-bit (Windows-1252) text.
#pragma once

#include <exception>
#include <string>
#include <utility>

class Exception : public std::exception {
public:
    explicit Exception(std::string message) : FMessage(std::move(message)) {}
    const std::string& Message() const noexcept { return FMessage; }
    void SetMessage(std::string message) { FMessage = std::move(message); }
    const char* what() const noexcept override { return FMessage.c_str(); }

private:
    std::string FMessage;
};

// Declares `class Name : public Base` with the base's constructor.
#define VSP_DECLARE_EXCEPTION(Name, Base) \
    class Name : public Base {            \
    public:                               \
        using Base::Base;                 \
    }

VSP_DECLARE_EXCEPTION(EConvertError, Exception);
VSP_DECLARE_EXCEPTION(EAbort, Exception);
VSP_DECLARE_EXCEPTION(EAssertionFailed, Exception);
VSP_DECLARE_EXCEPTION(EInOutError, Exception);
VSP_DECLARE_EXCEPTION(EStreamError, Exception);
VSP_DECLARE_EXCEPTION(EReadError, EStreamError);
VSP_DECLARE_EXCEPTION(EWriteError, EStreamError);
VSP_DECLARE_EXCEPTION(EInvalidOperation, Exception);
VSP_DECLARE_EXCEPTION(EInvalidCast, Exception);
VSP_DECLARE_EXCEPTION(EOutOfResources, Exception);
VSP_DECLARE_EXCEPTION(EListError, Exception);
VSP_DECLARE_EXCEPTION(EComponentError, Exception);
VSP_DECLARE_EXCEPTION(EOSError, Exception);

// Array indexing outside the array: "Range check error".
class ERangeError : public Exception {
public:
    ERangeError() : Exception("Range check error") {}
    using Exception::Exception;
};

// Integer arithmetic that overflows: "Integer overflow".
class EIntOverflow : public Exception {
public:
    EIntOverflow() : Exception("Integer overflow") {}
    using Exception::Exception;
};

// Raises EAbort, the silent exception that ends an action without a message.
[[noreturn]] inline void Abort() { throw EAbort("Operation aborted"); }
