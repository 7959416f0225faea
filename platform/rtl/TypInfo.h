// Property descriptions of persistent classes: each class declares once, in a static table, the
// properties that streams, style strings and editor forms walk (name, kind, default, when stored, and
// typed read and write access), plus extra stream properties with read and write code of their own.
#pragma once

#include "platform/rtl/Exceptions.h"

#include <concepts>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <variant>
#include <vector>

class TPersistent;
class TComponent;
class TStream;

// Unknown property names, read-only properties and values of the wrong kind.
VSP_DECLARE_EXCEPTION(EPropertyError, Exception);

// Object: an owned sub-object whose properties are walked as "Name.Sub"; Collection: an owned collection
// (TCollection) whose items are walked one by one; Reference: another component, named in streams. None
// of them has a value of its own.
enum class TPropKind { Integer, Real, Boolean, Enumeration, Set, Text, Colour, Object, Collection, Reference };

// A property's value when read or written by name: integers, Booleans (0 or 1), enumeration
// ordinals, set masks (bit i for member i) and colours as int64; reals as double; texts as string.
// Object properties have no value: their sub-object is reached with GetObjectProp.
using TPropValue = std::variant<std::int64_t, double, std::string>;

// The names of an enumeration's ordinals 0..n-1 (or of a set's members), as they stand in streams and
// editors. Declare one per enumeration: `inline const TEnumNames PenEndStyleNames{"esRound", ...};`
class TEnumNames {
public:
    TEnumNames(std::initializer_list<std::string_view> names) : FNames(names) {}
    int Count() const { return static_cast<int>(FNames.size()); }
    // The name of an ordinal; empty when the ordinal has none.
    std::string_view NameOf(std::int64_t ordinal) const;
    // The ordinal of a name (letter case ignored); -1 when none has it.
    int IndexOf(std::string_view name) const;

private:
    std::vector<std::string_view> FNames;
};

// What streams need of a list of items written as a collection: a TCollection, or a list of an owner's
// own (a chart's custom axes).
class TStreamedItems {
public:
    virtual int StreamedCount() const = 0;
    virtual const TPersistent& StreamedItem(int Index) const = 0;
    // Called once before a stream's items are read, and once after (also when the read fails).
    virtual void BeginStreamedRead() = 0;
    virtual void EndStreamedRead() = 0;
    // Before the first item of a stream: the stream's items replace the list's.
    virtual void ClearStreamedItems() = 0;
    virtual TPersistent& AddStreamedItem() = 0;

protected:
    ~TStreamedItems() = default;
};

// One property of a class.
struct TPropInfo {
    std::string Name;
    TPropKind Kind = TPropKind::Integer;
    const TEnumNames* Names = nullptr; // members of an enumeration or set
    // The value a stream leaves out; without one the property is written whenever it is stored.
    std::optional<TPropValue> DefaultValue;
    // Extra condition for writing (for example "differs from the default this instance was built with");
    // empty means always. A property is stored when this holds and its value differs from DefaultValue.
    std::function<bool(const TPersistent&)> StoredWhen;
    std::function<TPropValue(const TPersistent&)> Get;       // value kinds
    std::function<void(TPersistent&, const TPropValue&)> Set; // value kinds; empty: read-only
    std::function<TPersistent*(const TPersistent&)> GetObject; // Object, Collection, Reference: the object
    // Collection kind: the items as streams see them.
    std::function<TStreamedItems*(const TPersistent&)> GetItems;
    // Reference kind: points the property at a component (or none); EPropertyError for one of a wrong class.
    std::function<void(TPersistent&, TComponent*)> SetReference;

    bool HasValue() const
    {
        return Kind != TPropKind::Object && Kind != TPropKind::Collection && Kind != TPropKind::Reference;
    }
    bool IsReadOnly() const { return HasValue() && !Set; }
};

// A stream property with read and write code of its own (the class's point data, or a name that older
// streams used and that is read but never written again). Either a typed value or a binary block.
struct TDefinedProperty {
    std::string Name;
    bool Binary = false;
    // The value's own tagged data, read and written by ReadData and WriteData at the stream's position
    // (a list of strings, for one).
    bool Raw = false;
    TPropKind Kind = TPropKind::Text; // of a value property
    std::function<void(TPersistent&, const TPropValue&)> ReadValue;
    std::function<TPropValue(const TPersistent&)> WriteValue;
    std::function<void(TPersistent&, TStream&)> ReadData;        // binary: reads the block's bytes
    std::function<void(const TPersistent&, TStream&)> WriteData; // binary: writes the block's bytes
    // Whether the instance has something to write; empty for names that are only read.
    std::function<bool(const TPersistent&)> HasData;

    bool IsWritten(const TPersistent& obj) const { return HasData && HasData(obj); }
};

// A descendant's new default for an inherited property; no value means "no default" (always stored).
struct TDefaultOverride {
    std::string Name;
    std::optional<TPropValue> Value;

    template <class T>
    TDefaultOverride(std::string name, T value);
    explicit TDefaultOverride(std::string name) : Name(std::move(name)) {}
};

// What a class declares, as a designated initialiser:
//   static const TClassInfo info({.Name = "TChartPen", .Parent = &TPen::StaticClassInfo(),
//                                  .Properties = {...}, .Defaults = {{"Color", 0x808080}}});
struct TClassDecl {
    std::string Name = {};
    const class TClassInfo* Parent = nullptr;
    std::vector<TPropInfo> Properties = {};      // a name the parent has replaces the parent's entry
    std::vector<TDefaultOverride> Defaults = {}; // changed defaults of inherited properties
    std::vector<TDefinedProperty> Defined = {};
    TComponent* (*Create)(TComponent* owner) = nullptr; // for classes that streams create by name
};

// The run-time description of a class: its name, its parent and its full property table (the
// inherited properties first, in their order, then its own).
class TClassInfo {
public:
    explicit TClassInfo(TClassDecl decl);
    TClassInfo(const TClassInfo&) = delete;
    TClassInfo& operator=(const TClassInfo&) = delete;

    const std::string& Name() const { return FName; }
    const TClassInfo* Parent() const { return FParent; }
    bool InheritsFrom(const TClassInfo& other) const;
    // A new component of this class, or nullptr when the class declares no factory.
    TComponent* CreateComponent(TComponent* owner) const { return FCreate ? FCreate(owner) : nullptr; }

    const std::vector<TPropInfo>& Properties() const { return FProperties; }
    const std::vector<TDefinedProperty>& DefinedProperties() const { return FDefined; }
    // Letter case ignored; nullptr when the class has no such property.
    const TPropInfo* FindProperty(std::string_view name) const;
    const TDefinedProperty* FindDefinedProperty(std::string_view name) const;

private:
    std::string FName;
    const TClassInfo* FParent;
    TComponent* (*FCreate)(TComponent*);
    std::vector<TPropInfo> FProperties;
    std::vector<TDefinedProperty> FDefined;
};

// ---- access by name -----------------------------------------------------------------------------
// A path names a property of the object or, through owned sub-objects, a nested one ("Pen.Color").
// An unknown name, a path through a non-object property or a wrong value kind raises EPropertyError;
// an integer, enumeration or set value out of the property's range raises ERangeError.

// The property a path ends at, and the object that holds it; nullptr when there is none.
const TPropInfo* FindPropInfo(const TPersistent& obj, std::string_view path, TPersistent** holder = nullptr);
TPropValue GetPropValue(const TPersistent& obj, std::string_view path);
void SetPropValue(TPersistent& obj, std::string_view path, const TPropValue& value);
TPersistent* GetObjectProp(const TPersistent& obj, std::string_view path);
// Value as text, and back: integers and colours in decimal, Booleans "True"/"False", enumerations by
// name, sets as "[a,b]", reals in the shortest form that reads back exactly (with "."), texts as they are.
std::string GetPropText(const TPersistent& obj, std::string_view path);
void SetPropText(TPersistent& obj, std::string_view path, std::string_view text);
std::string PropValueToText(const TPropInfo& prop, const TPropValue& value);
// False when the text is no value of the property's kind.
bool TextToPropValue(const TPropInfo& prop, std::string_view text, TPropValue& value);
// Whether a stream writes the property of this object (see TPropInfo::StoredWhen).
bool IsStoredProp(const TPersistent& obj, const TPropInfo& prop);

// ---- declaring properties -------------------------------------------------------------------------
namespace typinfo_detail {

// The argument type of a one-argument setter: a member function, or a callable taking (C&, value).
template <class S>
struct SetterArg : SetterArg<decltype(&S::operator())> {};
template <class R, class K, class A>
struct SetterArg<R (K::*)(A)> { using type = std::remove_cvref_t<A>; };
template <class R, class K, class A>
struct SetterArg<R (K::*)(A) noexcept> { using type = std::remove_cvref_t<A>; };
template <class R, class L, class K, class A>
struct SetterArg<R (L::*)(K, A) const> { using type = std::remove_cvref_t<A>; };
template <class R, class K, class A>
struct SetterArg<R (*)(K, A)> { using type = std::remove_cvref_t<A>; };

template <class T>
concept SetLike = requires(T s) {
    { s.Bits() } -> std::convertible_to<std::uint64_t>;
};

[[noreturn]] void ThrowWrongKind(const std::string& name);
std::int64_t OrdinalOf(const std::string& name, const TPropValue& v);
double RealOf(const std::string& name, const TPropValue& v);
const std::string& TextOf(const std::string& name, const TPropValue& v);

template <class C>
const C& Cast(const TPersistent& obj, const std::string& name)
{
    if (auto* c = dynamic_cast<const C*>(&obj)) return *c;
    throw EPropertyError("Property " + name + " does not belong to this object");
}
template <class C>
C& Cast(TPersistent& obj, const std::string& name)
{
    return const_cast<C&>(Cast<C>(static_cast<const TPersistent&>(obj), name));
}

// A stored value in its declared kind (used for defaults and for reads).
template <class T>
TPropValue ToValue(TPropKind kind, const T& v)
{
    if constexpr (std::is_enum_v<T>) {
        return static_cast<std::int64_t>(v);
    } else if constexpr (SetLike<T>) {
        return static_cast<std::int64_t>(v.Bits());
    } else if constexpr (std::is_convertible_v<T, std::string_view> && !std::is_arithmetic_v<T>) {
        return std::string(std::string_view(v));
    } else if constexpr (std::is_arithmetic_v<T>) {
        if (kind == TPropKind::Real) return static_cast<double>(v);
        return static_cast<std::int64_t>(v);
    } else {
        static_assert(sizeof(T) == 0, "unsupported property value type");
    }
}

// A value converted to a setter's argument type, with its range checked.
template <class A>
A FromValue(const std::string& name, const TEnumNames* names, const TPropValue& v)
{
    if constexpr (std::is_same_v<A, bool>) {
        return OrdinalOf(name, v) != 0;
    } else if constexpr (std::is_enum_v<A>) {
        const std::int64_t o = OrdinalOf(name, v);
        if (o < 0 || (names && o >= names->Count())) throw ERangeError();
        return static_cast<A>(o);
    } else if constexpr (SetLike<A>) {
        const auto bits = static_cast<std::uint64_t>(OrdinalOf(name, v));
        const int members = names ? names->Count() : 64;
        if (members < 64 && (bits >> members) != 0) throw ERangeError();
        return A::FromBits(bits);
    } else if constexpr (std::is_integral_v<A>) {
        const std::int64_t o = OrdinalOf(name, v);
        if (std::cmp_less(o, std::numeric_limits<A>::min()) || std::cmp_greater(o, std::numeric_limits<A>::max()))
            throw ERangeError();
        return static_cast<A>(o);
    } else if constexpr (std::is_floating_point_v<A>) {
        return static_cast<A>(RealOf(name, v));
    } else {
        return A(TextOf(name, v));
    }
}

} // namespace typinfo_detail

template <class T>
TDefaultOverride::TDefaultOverride(std::string name, T value) : Name(std::move(name))
{
    if constexpr (std::is_floating_point_v<T>)
        Value = static_cast<double>(value);
    else
        Value = typinfo_detail::ToValue(TPropKind::Integer, value);
}

// A property being declared for class C; converts to TPropInfo.
template <class C>
class TPropDecl {
public:
    explicit TPropDecl(TPropInfo info) : FInfo(std::move(info)) {}
    operator TPropInfo() && { return std::move(FInfo); }

    // The default a stream leaves out.
    template <class T>
    TPropDecl&& Default(const T& value) &&
    {
        FInfo.DefaultValue = typinfo_detail::ToValue(FInfo.Kind, value);
        return std::move(*this);
    }
    // Stored only when `pred(object)` holds (and the value differs from any default).
    template <class F>
    TPropDecl&& StoredWhen(F pred) &&
    {
        FInfo.StoredWhen = [pred, name = FInfo.Name](const TPersistent& o) {
            return static_cast<bool>(std::invoke(pred, typinfo_detail::Cast<C>(o, name)));
        };
        return std::move(*this);
    }
    // Never written to a stream (editors still see it).
    TPropDecl&& NotStored() &&
    {
        FInfo.StoredWhen = [](const TPersistent&) { return false; };
        return std::move(*this);
    }

private:
    TPropInfo FInfo;
};

// Builders of class C's properties. Getters are callables taking `const C&` (usually `&C::Width`),
// setters take `C&` and one value (usually `&C::SetWidth`); a null setter (nullptr) makes the property
// read-only. Example:
//   using P = TProps<TChartPen>;
//   P::Boolean("Visible", &TChartPen::Visible, &TChartPen::SetVisible).StoredWhen(&TChartPen::VisibleStored)
template <class C>
struct TProps {
    template <class G, class S>
    static TPropDecl<C> Integer(std::string name, G get, S set) { return Value(std::move(name), TPropKind::Integer, nullptr, get, set); }
    template <class G, class S>
    static TPropDecl<C> Real(std::string name, G get, S set) { return Value(std::move(name), TPropKind::Real, nullptr, get, set); }
    template <class G, class S>
    static TPropDecl<C> Boolean(std::string name, G get, S set) { return Value(std::move(name), TPropKind::Boolean, nullptr, get, set); }
    template <class G, class S>
    static TPropDecl<C> Text(std::string name, G get, S set) { return Value(std::move(name), TPropKind::Text, nullptr, get, set); }
    template <class G, class S>
    static TPropDecl<C> Colour(std::string name, G get, S set) { return Value(std::move(name), TPropKind::Colour, nullptr, get, set); }
    template <class G, class S>
    static TPropDecl<C> Enumeration(std::string name, const TEnumNames& names, G get, S set)
    {
        return Value(std::move(name), TPropKind::Enumeration, &names, get, set);
    }
    // A set property; `members` names the member enumeration's ordinals.
    template <class G, class S>
    static TPropDecl<C> Set(std::string name, const TEnumNames& members, G get, S set)
    {
        return Value(std::move(name), TPropKind::Set, &members, get, set);
    }
    // An owned sub-object (a pen, a font, a string list), reached through `get`; its own properties are
    // walked in turn. Writing it means assigning to the sub-object.
    template <class G>
    static TPropDecl<C> Object(std::string name, G get)
    {
        TPropInfo p;
        p.Name = std::move(name);
        p.Kind = TPropKind::Object;
        p.GetObject = [get, n = p.Name](const TPersistent& o) -> TPersistent* {
            return std::invoke(get, typinfo_detail::Cast<C>(o, n));
        };
        return TPropDecl<C>(std::move(p));
    }
    // An owned collection (a TCollection descendant), reached through `get`; streams write its items
    // one after the other. Writing it means assigning to the collection.
    template <class G>
    static TPropDecl<C> Collection(std::string name, G get)
    {
        TPropDecl<C> d = Object(std::move(name), get);
        TPropInfo p = std::move(d);
        p.Kind = TPropKind::Collection;
        // Generic, so that the cast waits for TPersistent to be complete where the class is declared.
        p.GetItems = [getObject = p.GetObject](const auto& o) -> TStreamedItems* {
            return dynamic_cast<TStreamedItems*>(getObject(o));
        };
        return TPropDecl<C>(std::move(p));
    }
    // A list of the object's own that streams write as a collection; `get` returns its TStreamedItems.
    template <class G>
    static TPropDecl<C> ItemList(std::string name, G get)
    {
        TPropInfo p;
        p.Name = std::move(name);
        p.Kind = TPropKind::Collection;
        p.GetObject = [](const TPersistent&) -> TPersistent* { return nullptr; };
        p.GetItems = [get, n = p.Name](const TPersistent& o) -> TStreamedItems* {
            return std::invoke(get, typinfo_detail::Cast<C>(o, n));
        };
        return TPropDecl<C>(std::move(p));
    }

    // A component that the object points at without owning it (a tool's series): `get` returns it (or
    // nullptr), `set` takes a pointer of its own class. Streams write the component's name.
    template <class G, class S>
    static TPropDecl<C> Reference(std::string name, G get, S set)
    {
        TPropDecl<C> d = Object(std::move(name), get);
        TPropInfo p = std::move(d);
        p.Kind = TPropKind::Reference;
        using A = typename typinfo_detail::SetterArg<S>::type;
        p.SetReference = [set, n = p.Name](TPersistent& o, TComponent* v) {
            A target = dynamic_cast<A>(v);
            if (v && !target) throw EPropertyError("Invalid property value for " + n);
            std::invoke(set, typinfo_detail::Cast<C>(o, n), target);
        };
        return TPropDecl<C>(std::move(p));
    }

    // A typed stream value with code of its own; `has` tells whether an instance writes it.
    template <class R, class W, class H>
    static TDefinedProperty DefinedValue(std::string name, TPropKind kind, R read, W write, H has)
    {
        TDefinedProperty d = OldName(std::move(name), kind, read);
        d.WriteValue = [write, n = d.Name](const TPersistent& o) -> TPropValue {
            return std::invoke(write, typinfo_detail::Cast<C>(o, n));
        };
        d.HasData = Predicate(has, d.Name);
        return d;
    }
    // A name that older streams hold: read with `read(C&, const TPropValue&)`, never written.
    template <class R>
    static TDefinedProperty OldName(std::string name, TPropKind kind, R read)
    {
        TDefinedProperty d;
        d.Name = std::move(name);
        d.Kind = kind;
        d.ReadValue = [read, n = d.Name](TPersistent& o, const TPropValue& v) {
            std::invoke(read, typinfo_detail::Cast<C>(o, n), v);
        };
        return d;
    }
    // Tagged data of its own at the stream's position: `read(C&, TStream&)` and `write(const C&, TStream&)`.
    template <class R, class W, class H>
    static TDefinedProperty DefinedRaw(std::string name, R read, W write, H has)
    {
        TDefinedProperty d = DefinedBinary(std::move(name), read, write, has);
        d.Binary = false;
        d.Raw = true;
        return d;
    }
    // A binary block: `read(C&, TStream&)` and `write(const C&, TStream&)`.
    template <class R, class W, class H>
    static TDefinedProperty DefinedBinary(std::string name, R read, W write, H has)
    {
        TDefinedProperty d;
        d.Name = std::move(name);
        d.Binary = true;
        d.ReadData = [read, n = d.Name](TPersistent& o, TStream& s) { std::invoke(read, typinfo_detail::Cast<C>(o, n), s); };
        d.WriteData = [write, n = d.Name](const TPersistent& o, TStream& s) {
            std::invoke(write, typinfo_detail::Cast<C>(o, n), s);
        };
        d.HasData = Predicate(has, d.Name);
        return d;
    }

private:
    template <class H>
    static std::function<bool(const TPersistent&)> Predicate(H has, const std::string& name)
    {
        return [has, name](const TPersistent& o) { return static_cast<bool>(std::invoke(has, typinfo_detail::Cast<C>(o, name))); };
    }

    template <class G, class S>
    static TPropDecl<C> Value(std::string name, TPropKind kind, const TEnumNames* names, G get, S set)
    {
        TPropInfo p;
        p.Name = std::move(name);
        p.Kind = kind;
        p.Names = names;
        p.Get = [get, kind, n = p.Name](const TPersistent& o) {
            return typinfo_detail::ToValue(kind, std::invoke(get, typinfo_detail::Cast<C>(o, n)));
        };
        if constexpr (!std::is_null_pointer_v<S>) {
            using A = typename typinfo_detail::SetterArg<S>::type;
            p.Set = [set, names, n = p.Name](TPersistent& o, const TPropValue& v) {
                std::invoke(set, typinfo_detail::Cast<C>(o, n), typinfo_detail::FromValue<A>(n, names, v));
            };
        }
        return TPropDecl<C>(std::move(p));
    }
};
