// The registry of automation servers and the conversions of automation values.
#include "platform/controls/Automation.h"

#include <cctype>
#include <cmath>
#include <cstdio>
#include <map>

namespace {

std::map<std::string, TAutomationServer>& Servers()
{
    static std::map<std::string, TAutomationServer> servers;
    return servers;
}

std::string Key(std::string s)
{
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

} // namespace

std::string TAutoValue::AsText() const
{
    switch (Kind) {
    case TKind::Integer: return std::to_string(Integer);
    case TKind::Real: {
        if (std::isfinite(Real) && Real == std::floor(Real) && std::fabs(Real) < 1e15) return std::to_string(static_cast<long long>(Real));
        char buf[40];
        std::snprintf(buf, sizeof buf, "%.15g", Real);
        return buf;
    }
    case TKind::Text: return Text;
    case TKind::Boolean: return Boolean ? "True" : "False";
    default: return "";
    }
}

std::int64_t TAutoValue::AsInteger() const
{
    switch (Kind) {
    case TKind::Integer: return Integer;
    case TKind::Real: return static_cast<std::int64_t>(std::nearbyint(Real));
    case TKind::Boolean: return Boolean ? -1 : 0;
    case TKind::Text: return std::stoll(Text);
    default: return 0;
    }
}

std::shared_ptr<TAutomationObject> TAutomationObject::Get(const std::string& Name, const TAutoArgs& Args)
{
    TAutoValue v = Invoke(Name, Args);
    if (v.Kind != TAutoValue::TKind::Object || !v.Object) throw EOleSysError("Method '" + Name + "' not supported by automation object");
    return v.Object;
}

void RegisterAutomationServer(const std::string& ProgID, TAutomationServer Server) { Servers()[Key(ProgID)] = std::move(Server); }

void UnregisterAutomationServer(const std::string& ProgID) { Servers().erase(Key(ProgID)); }

std::shared_ptr<TAutomationObject> CreateOleObject(const std::string& ProgID)
{
    const auto it = Servers().find(Key(ProgID));
    if (it == Servers().end() || !it->second) throw EOleSysError("Invalid class string");
    auto object = it->second();
    if (!object) throw EOleSysError("Invalid class string");
    return object;
}
