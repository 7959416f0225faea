// Class descriptions, property lookup by name and path, and the text form of property values.
#include "platform/rtl/TypInfo.h"

#include "platform/rtl/Classes.h"
#include "platform/rtl/NumberText.h"
#include "platform/rtl/StrUtils.h"

#include <charconv>
#include <cmath>

std::string_view TEnumNames::NameOf(std::int64_t ordinal) const
{
    if (ordinal < 0 || ordinal >= Count()) return {};
    return FNames[static_cast<std::size_t>(ordinal)];
}

int TEnumNames::IndexOf(std::string_view name) const
{
    for (int i = 0; i < Count(); ++i)
        if (SameText(FNames[static_cast<std::size_t>(i)], name)) return i;
    return -1;
}

namespace typinfo_detail {

void ThrowWrongKind(const std::string& name) { throw EPropertyError("Invalid property value for " + name); }

std::int64_t OrdinalOf(const std::string& name, const TPropValue& v)
{
    if (auto* i = std::get_if<std::int64_t>(&v)) return *i;
    ThrowWrongKind(name);
}

double RealOf(const std::string& name, const TPropValue& v)
{
    if (auto* d = std::get_if<double>(&v)) return *d;
    if (auto* i = std::get_if<std::int64_t>(&v)) return static_cast<double>(*i);
    ThrowWrongKind(name);
}

const std::string& TextOf(const std::string& name, const TPropValue& v)
{
    if (auto* s = std::get_if<std::string>(&v)) return *s;
    ThrowWrongKind(name);
}

} // namespace typinfo_detail

// ---- class descriptions ---------------------------------------------------------------------------

namespace {

template <class T>
T* FindByName(std::vector<T>& list, std::string_view name)
{
    for (T& item : list)
        if (SameText(item.Name, name)) return &item;
    return nullptr;
}

} // namespace

TClassInfo::TClassInfo(TClassDecl decl)
    : FName(std::move(decl.Name)), FParent(decl.Parent), FCreate(decl.Create)
{
    if (FParent) {
        FProperties = FParent->FProperties;
        FDefined = FParent->FDefined;
    }
    for (TPropInfo& p : decl.Properties) {
        if (TPropInfo* inherited = FindByName(FProperties, p.Name))
            *inherited = std::move(p); // redeclared: keeps the inherited position
        else
            FProperties.push_back(std::move(p));
    }
    for (TDefaultOverride& d : decl.Defaults) {
        TPropInfo* p = FindByName(FProperties, d.Name);
        if (!p) throw EPropertyError("Property " + d.Name + " does not exist");
        if (d.Value && p->Kind == TPropKind::Real && std::holds_alternative<std::int64_t>(*d.Value))
            d.Value = static_cast<double>(std::get<std::int64_t>(*d.Value));
        p->DefaultValue = std::move(d.Value);
    }
    for (TDefinedProperty& d : decl.Defined) {
        if (TDefinedProperty* inherited = FindByName(FDefined, d.Name))
            *inherited = std::move(d);
        else
            FDefined.push_back(std::move(d));
    }
}

bool TClassInfo::InheritsFrom(const TClassInfo& other) const
{
    for (const TClassInfo* c = this; c; c = c->FParent)
        if (c == &other) return true;
    return false;
}

const TPropInfo* TClassInfo::FindProperty(std::string_view name) const
{
    for (const TPropInfo& p : FProperties)
        if (SameText(p.Name, name)) return &p;
    return nullptr;
}

const TDefinedProperty* TClassInfo::FindDefinedProperty(std::string_view name) const
{
    for (const TDefinedProperty& d : FDefined)
        if (SameText(d.Name, name)) return &d;
    return nullptr;
}

// ---- access by name -------------------------------------------------------------------------------

const TPropInfo* FindPropInfo(const TPersistent& obj, std::string_view path, TPersistent** holder)
{
    const TPersistent* current = &obj;
    for (;;) {
        const std::size_t dot = path.find('.');
        const TPropInfo* p = current->ClassInfo().FindProperty(path.substr(0, dot));
        if (!p || dot == std::string_view::npos) {
            if (holder) *holder = const_cast<TPersistent*>(current);
            return p;
        }
        if (p->Kind != TPropKind::Object) return nullptr;
        current = p->GetObject(*current);
        if (!current) return nullptr;
        path.remove_prefix(dot + 1);
    }
}

namespace {

const TPropInfo& RequireProp(const TPersistent& obj, std::string_view path, TPersistent*& holder)
{
    const TPropInfo* p = FindPropInfo(obj, path, &holder);
    if (!p) throw EPropertyError("Property " + std::string(path) + " does not exist");
    return *p;
}

const TPropInfo& RequireValueProp(const TPersistent& obj, std::string_view path, TPersistent*& holder)
{
    const TPropInfo& p = RequireProp(obj, path, holder);
    if (!p.HasValue()) throw EPropertyError("Property " + p.Name + " is an object");
    return p;
}

std::string RealToText(double v)
{
    char buf[64];
    const auto r = std::to_chars(buf, buf + sizeof buf, v);
    return std::string(buf, r.ptr);
}

std::string SetToText(const TEnumNames* names, std::uint64_t bits)
{
    std::string text = "[";
    for (int i = 0; i < 64; ++i) {
        if (!(bits >> i & 1)) continue;
        if (text.size() > 1) text += ',';
        const std::string_view n = names ? names->NameOf(i) : std::string_view{};
        text += n.empty() ? std::to_string(i) : std::string(n);
    }
    return text + "]";
}

bool TextToInt64(std::string_view text, std::int64_t& v)
{
    text = TrimView(text);
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    const auto r = std::from_chars(text.data(), text.data() + text.size(), v);
    return r.ec == std::errc() && r.ptr == text.data() + text.size() && !text.empty();
}

bool TextToOrdinal(const TEnumNames* names, std::string_view text, std::int64_t& v)
{
    if (names) {
        const int i = names->IndexOf(TrimView(text));
        if (i >= 0) {
            v = i;
            return true;
        }
    }
    return TextToInt64(text, v) && v >= 0 && (!names || v < names->Count());
}

bool TextToSet(const TEnumNames* names, std::string_view text, std::int64_t& v)
{
    text = TrimView(text);
    if (text.size() < 2 || text.front() != '[' || text.back() != ']') return false;
    text = TrimView(text.substr(1, text.size() - 2));
    std::uint64_t bits = 0;
    while (!text.empty()) {
        const std::size_t comma = text.find(',');
        std::int64_t member = 0;
        if (!TextToOrdinal(names, text.substr(0, comma), member) || member >= 64) return false;
        bits |= std::uint64_t{1} << member;
        if (comma == std::string_view::npos) break;
        text.remove_prefix(comma + 1);
    }
    v = static_cast<std::int64_t>(bits);
    return true;
}

} // namespace

TPropValue GetPropValue(const TPersistent& obj, std::string_view path)
{
    TPersistent* holder = nullptr;
    const TPropInfo& p = RequireValueProp(obj, path, holder);
    return p.Get(*holder);
}

void SetPropValue(TPersistent& obj, std::string_view path, const TPropValue& value)
{
    TPersistent* holder = nullptr;
    const TPropInfo& p = RequireValueProp(obj, path, holder);
    if (!p.Set) throw EPropertyError("Property " + p.Name + " is read-only");
    p.Set(*holder, value);
}

TPersistent* GetObjectProp(const TPersistent& obj, std::string_view path)
{
    TPersistent* holder = nullptr;
    const TPropInfo& p = RequireProp(obj, path, holder);
    if (p.HasValue()) throw EPropertyError("Property " + p.Name + " is no object");
    return p.GetObject(*holder);
}

std::string PropValueToText(const TPropInfo& prop, const TPropValue& value)
{
    using namespace typinfo_detail;
    switch (prop.Kind) {
    case TPropKind::Integer:
    case TPropKind::Colour: return std::to_string(OrdinalOf(prop.Name, value));
    case TPropKind::Boolean: return OrdinalOf(prop.Name, value) ? "True" : "False";
    case TPropKind::Enumeration: {
        const std::int64_t o = OrdinalOf(prop.Name, value);
        const std::string_view n = prop.Names ? prop.Names->NameOf(o) : std::string_view{};
        return n.empty() ? std::to_string(o) : std::string(n);
    }
    case TPropKind::Set: return SetToText(prop.Names, static_cast<std::uint64_t>(OrdinalOf(prop.Name, value)));
    case TPropKind::Real: return RealToText(RealOf(prop.Name, value));
    case TPropKind::Text: return TextOf(prop.Name, value);
    case TPropKind::Object:
    case TPropKind::Collection:
    case TPropKind::Reference: break;
    }
    throw EPropertyError("Property " + prop.Name + " is an object");
}

bool TextToPropValue(const TPropInfo& prop, std::string_view text, TPropValue& value)
{
    std::int64_t o = 0;
    switch (prop.Kind) {
    case TPropKind::Integer:
    case TPropKind::Colour:
        if (!TextToInt64(text, o)) return false;
        break;
    case TPropKind::Boolean: {
        const std::string_view t = TrimView(text);
        if (SameText(t, "True") || t == "1") o = 1;
        else if (SameText(t, "False") || t == "0") o = 0;
        else return false;
        break;
    }
    case TPropKind::Enumeration:
        if (!TextToOrdinal(prop.Names, text, o)) return false;
        break;
    case TPropKind::Set:
        if (!TextToSet(prop.Names, text, o)) return false;
        break;
    case TPropKind::Real: {
        double d = 0;
        if (!TryParseNumber(TrimView(text), d) || !std::isfinite(d)) return false;
        value = d;
        return true;
    }
    case TPropKind::Text: value = std::string(text); return true;
    case TPropKind::Object:
    case TPropKind::Collection:
    case TPropKind::Reference: return false;
    }
    value = o;
    return true;
}

std::string GetPropText(const TPersistent& obj, std::string_view path)
{
    TPersistent* holder = nullptr;
    const TPropInfo& p = RequireValueProp(obj, path, holder);
    return PropValueToText(p, p.Get(*holder));
}

void SetPropText(TPersistent& obj, std::string_view path, std::string_view text)
{
    TPersistent* holder = nullptr;
    const TPropInfo& p = RequireValueProp(obj, path, holder);
    TPropValue v;
    if (!TextToPropValue(p, text, v))
        throw EPropertyError("Invalid property value for " + p.Name + ": " + std::string(text));
    if (!p.Set) throw EPropertyError("Property " + p.Name + " is read-only");
    p.Set(*holder, v);
}

bool IsStoredProp(const TPersistent& obj, const TPropInfo& prop)
{
    if (prop.StoredWhen && !prop.StoredWhen(obj)) return false;
    if (!prop.HasValue() || !prop.DefaultValue) return true;
    return !(prop.Get(obj) == *prop.DefaultValue);
}
