// Late-bound automation: objects that answer property reads and method calls by name, made by servers
// registered under a programmatic identifier ("excel.application"). This desktop has no automation
// servers of its own; the program (or a test) registers those it has. Qt-free.
#pragma once

#include "platform/rtl/Exceptions.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

// No server for a programmatic identifier, or a failed call.
VSP_DECLARE_EXCEPTION(EOleSysError, Exception);

class TAutomationObject;

// A value passed to or returned by an automation call.
struct TAutoValue {
    enum class TKind { Empty, Integer, Real, Text, Boolean, Object, Error, Array };
    TKind Kind = TKind::Empty;
    std::int64_t Integer = 0;
    double Real = 0;
    std::string Text;
    bool Boolean = false;
    std::shared_ptr<TAutomationObject> Object;
    // A two-dimensional array, rows of columns.
    std::vector<std::vector<TAutoValue>> Rows;

    TAutoValue() = default;
    TAutoValue(std::int64_t v) : Kind(TKind::Integer), Integer(v) {}
    TAutoValue(int v) : Kind(TKind::Integer), Integer(v) {}
    TAutoValue(double v) : Kind(TKind::Real), Real(v) {}
    TAutoValue(std::string v) : Kind(TKind::Text), Text(std::move(v)) {}
    TAutoValue(const char* v) : Kind(TKind::Text), Text(v) {}
    TAutoValue(bool v) : Kind(TKind::Boolean), Boolean(v) {}
    TAutoValue(std::shared_ptr<TAutomationObject> v) : Kind(TKind::Object), Object(std::move(v)) {}
    static TAutoValue Error()
    {
        TAutoValue v;
        v.Kind = TKind::Error;
        return v;
    }

    // The value as text, as a variant converts to a string (a real with "." and at most 15 digits).
    std::string AsText() const;
    std::int64_t AsInteger() const;
};

using TAutoArgs = std::vector<TAutoValue>;
using TAutoNamedArgs = std::vector<std::pair<std::string, TAutoValue>>;

class TAutomationObject {
public:
    virtual ~TAutomationObject() = default;
    // A property read or a method call by name, with positional and named arguments.
    virtual TAutoValue Invoke(const std::string& Name, const TAutoArgs& Args = {}, const TAutoNamedArgs& Named = {}) = 0;
    // The object a call returns; EOleSysError when it returns none.
    std::shared_ptr<TAutomationObject> Get(const std::string& Name, const TAutoArgs& Args = {});
};

using TAutomationServer = std::function<std::shared_ptr<TAutomationObject>()>;

// Registers (or replaces) the server of a programmatic identifier (letter case ignored).
void RegisterAutomationServer(const std::string& ProgID, TAutomationServer Server);
void UnregisterAutomationServer(const std::string& ProgID);
// A new object of the server; EOleSysError "Invalid class string" when none is registered.
std::shared_ptr<TAutomationObject> CreateOleObject(const std::string& ProgID);
