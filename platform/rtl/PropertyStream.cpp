// The binary property list: writing the stored properties of an object with their value tags, reading
// them back by name, and the 80-bit extended reals of the stream.
#include "platform/rtl/PropertyStream.h"

#include "platform/rtl/AnsiText.h"
#include "platform/rtl/Collections.h"
#include "platform/rtl/Streams.h"

#include <cmath>
#include <algorithm>
#include <limits>
#include <string>

// ---- Extended reals --------------------------------------------------------------------------------------

// Sign and 15-bit exponent (bias 16383) in the top two bytes, a 64-bit mantissa with an explicit leading
// bit below them.
void WriteExtended(TStream& Stream, double Value)
{
    std::uint64_t mantissa = 0;
    std::uint16_t exponent = 0;
    const bool negative = std::signbit(Value);
    const double a = std::fabs(Value);
    if (std::isnan(Value)) {
        exponent = 0x7FFF;
        mantissa = 0xC000000000000000ULL;
    } else if (std::isinf(Value)) {
        exponent = 0x7FFF;
        mantissa = 0x8000000000000000ULL;
    } else if (a != 0) {
        int e = 0;
        const double m = std::frexp(a, &e); // a = m * 2^e, 0.5 <= m < 1
        mantissa = static_cast<std::uint64_t>(std::ldexp(m, 64));
        exponent = static_cast<std::uint16_t>(e - 1 + 16383);
    }
    if (negative) exponent |= 0x8000;
    Stream.WriteInt64(static_cast<std::int64_t>(mantissa));
    Stream.WriteWord(exponent);
}

double ReadExtended(TStream& Stream)
{
    const auto mantissa = static_cast<std::uint64_t>(Stream.ReadInt64());
    const std::uint16_t top = Stream.ReadWord();
    const bool negative = (top & 0x8000) != 0;
    const int exponent = top & 0x7FFF;
    double value;
    if (exponent == 0x7FFF)
        value = (mantissa << 1) == 0 ? std::numeric_limits<double>::infinity() : std::numeric_limits<double>::quiet_NaN();
    else
        value = std::ldexp(static_cast<double>(mantissa), exponent - 16383 - 63);
    return negative ? -value : value;
}

// ---- Writing ---------------------------------------------------------------------------------------------

namespace {

void WriteShortString(TStream& Stream, const std::string& Text)
{
    const std::size_t n = std::min<std::size_t>(Text.size(), 255);
    Stream.WriteByte(static_cast<std::uint8_t>(n));
    Stream.WriteBytes(std::string_view(Text).substr(0, n));
}

void WriteInteger(TStream& Stream, std::int64_t V)
{
    if (V >= -128 && V <= 127) {
        Stream.WriteByte(vaInt8);
        Stream.WriteByte(static_cast<std::uint8_t>(V));
    } else if (V >= -32768 && V <= 32767) {
        Stream.WriteByte(vaInt16);
        Stream.WriteInt16(static_cast<std::int16_t>(V));
    } else if (V >= std::numeric_limits<std::int32_t>::min() && V <= std::numeric_limits<std::int32_t>::max()) {
        Stream.WriteByte(vaInt32);
        Stream.WriteInt32(static_cast<std::int32_t>(V));
    } else {
        Stream.WriteByte(vaInt64);
        Stream.WriteInt64(V);
    }
}

// Windows-1252 as UTF-8.
std::string AnsiToUtf8(const std::string& Text)
{
    std::string out;
    for (unsigned char c : Text) {
        const unsigned u = AnsiCharToWide(c);
        if (u < 0x80) out += static_cast<char>(u);
        else if (u < 0x800) {
            out += static_cast<char>(0xC0 | u >> 6);
            out += static_cast<char>(0x80 | (u & 0x3F));
        } else {
            out += static_cast<char>(0xE0 | u >> 12);
            out += static_cast<char>(0x80 | ((u >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (u & 0x3F));
        }
    }
    return out;
}

// UTF-8 as Windows-1252; characters the code page lacks (and malformed bytes) become '?'.
std::string Utf8ToAnsi(const std::string& Text)
{
    std::string out;
    for (std::size_t i = 0; i < Text.size();) {
        const unsigned char c = static_cast<unsigned char>(Text[i]);
        unsigned u = '?';
        std::size_t n = 1;
        if (c < 0x80) u = c;
        else if ((c & 0xE0) == 0xC0 && i + 1 < Text.size()) {
            u = (c & 0x1F) << 6 | (Text[i + 1] & 0x3F);
            n = 2;
        } else if ((c & 0xF0) == 0xE0 && i + 2 < Text.size()) {
            u = (c & 0x0F) << 12 | (Text[i + 1] & 0x3F) << 6 | (Text[i + 2] & 0x3F);
            n = 3;
        } else if ((c & 0xF8) == 0xF0 && i + 3 < Text.size()) n = 4;
        i += n;
        out += WideCharToAnsi(u);
    }
    return out;
}

void WriteText(TStream& Stream, const std::string& Text, const TComponentRecordCodec* Codec = nullptr)
{
    if (Codec && Codec->Utf8Texts && std::any_of(Text.begin(), Text.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; })) {
        const std::string utf8 = AnsiToUtf8(Text);
        Stream.WriteByte(vaUTF8String);
        Stream.WriteInt32(static_cast<std::int32_t>(utf8.size()));
        Stream.WriteBytes(utf8);
        return;
    }
    if (Text.size() <= 255) {
        Stream.WriteByte(vaString);
        WriteShortString(Stream, Text);
    } else {
        Stream.WriteByte(vaLString);
        Stream.WriteInt32(static_cast<std::int32_t>(Text.size()));
        Stream.WriteBytes(Text);
    }
}

void WriteValue(TStream& Stream, TPropKind Kind, const TEnumNames* Names, const TPropValue& V, const TComponentRecordCodec* Codec = nullptr)
{
    switch (Kind) {
    case TPropKind::Colour:
        if (Codec && Codec->ColourIdent) {
            const std::string ident = Codec->ColourIdent(std::get<std::int64_t>(V));
            if (!ident.empty()) {
                Stream.WriteByte(vaIdent);
                WriteShortString(Stream, ident);
                break;
            }
        }
        WriteInteger(Stream, std::get<std::int64_t>(V));
        break;
    case TPropKind::Integer: WriteInteger(Stream, std::get<std::int64_t>(V)); break;
    case TPropKind::Boolean: Stream.WriteByte(std::get<std::int64_t>(V) ? vaTrue : vaFalse); break;
    case TPropKind::Real:
        Stream.WriteByte(vaExtended);
        WriteExtended(Stream, std::holds_alternative<double>(V) ? std::get<double>(V)
                                                               : static_cast<double>(std::get<std::int64_t>(V)));
        break;
    case TPropKind::Text: WriteText(Stream, std::get<std::string>(V), Codec); break;
    case TPropKind::Enumeration:
        Stream.WriteByte(vaIdent);
        WriteShortString(Stream, Names ? std::string(Names->NameOf(std::get<std::int64_t>(V))) : std::string());
        break;
    case TPropKind::Set: {
        Stream.WriteByte(vaSet);
        const auto bits = static_cast<std::uint64_t>(std::get<std::int64_t>(V));
        for (int i = 0; i < 64; ++i)
            if ((bits >> i & 1) && Names) WriteShortString(Stream, std::string(Names->NameOf(i)));
        Stream.WriteByte(0);
        break;
    }
    case TPropKind::Object:
    case TPropKind::Collection: break;
    }
}

void WriteProperties(TStream& Stream, const TPersistent& Object, const std::string& Prefix, const TComponentRecordCodec* Codec = nullptr);

// vaCollection, each item as a property list of its own, vaNull.
void WriteCollection(TStream& Stream, const TCollection* Items, const TComponentRecordCodec* Codec)
{
    Stream.WriteByte(vaCollection);
    for (int i = 0; Items && i < Items->Count(); ++i) {
        Stream.WriteByte(vaList);
        WriteProperties(Stream, *Items->Items(i), "", Codec);
        Stream.WriteByte(vaNull);
    }
    Stream.WriteByte(vaNull);
}

void WriteProperties(TStream& Stream, const TPersistent& Object, const std::string& Prefix, const TComponentRecordCodec* Codec)
{
    for (const TPropInfo& p : Object.ClassInfo().Properties()) {
        if (!IsStoredProp(Object, p)) continue;
        if (p.Kind == TPropKind::Object) {
            if (const TPersistent* sub = p.GetObject(Object)) WriteProperties(Stream, *sub, Prefix + p.Name + ".", Codec);
            continue;
        }
        if (p.Kind == TPropKind::Collection) {
            WriteShortString(Stream, Prefix + p.Name);
            WriteCollection(Stream, dynamic_cast<const TCollection*>(p.GetObject(Object)), Codec);
            continue;
        }
        WriteShortString(Stream, Prefix + p.Name);
        WriteValue(Stream, p.Kind, p.Names, p.Get(Object), Codec);
    }
    for (const TDefinedProperty& d : Object.ClassInfo().DefinedProperties()) {
        if (!d.IsWritten(Object)) continue;
        WriteShortString(Stream, Prefix + d.Name);
        if (d.Raw) {
            d.WriteData(Object, Stream);
        } else if (d.Binary) {
            TMemoryStream block;
            d.WriteData(Object, block);
            Stream.WriteByte(vaBinary);
            Stream.WriteInt32(static_cast<std::int32_t>(block.Size()));
            Stream.WriteBytes(std::string_view(reinterpret_cast<const char*>(block.Memory()),
                                               static_cast<std::size_t>(block.Size())));
        } else {
            WriteValue(Stream, d.Kind, nullptr, d.WriteValue(Object), Codec);
        }
    }
}

} // namespace

void WritePropertyList(TStream& Stream, const TPersistent& Object)
{
    Stream.WriteByte(vaList);
    WriteProperties(Stream, Object, "");
    Stream.WriteByte(vaNull);
}

// ---- Reading ---------------------------------------------------------------------------------------------

namespace {

[[noreturn]] void Fail(const std::string& Name, const std::string& Why)
{
    throw EReadError("Error reading " + Name + ": " + Why);
}

std::string ReadShortString(TStream& Stream) { return Stream.ReadBytes(Stream.ReadByte()); }

// A tagged value as the stream holds it, converted to the property's kind.
TPropValue ReadValue(TStream& Stream, TPropKind Kind, const TEnumNames* Names, const std::string& Name,
                     const TComponentRecordCodec* Codec = nullptr)
{
    const auto tag = static_cast<TValueType>(Stream.ReadByte());
    switch (tag) {
    case vaInt8: return std::int64_t{static_cast<std::int8_t>(Stream.ReadByte())};
    case vaInt16: return std::int64_t{Stream.ReadInt16()};
    case vaInt32: return std::int64_t{Stream.ReadInt32()};
    case vaInt64: return Stream.ReadInt64();
    case vaFalse: return std::int64_t{0};
    case vaTrue: return std::int64_t{1};
    case vaExtended: return ReadExtended(Stream);
    case vaDouble: return Stream.ReadDouble();
    case vaSingle: return static_cast<double>(Stream.ReadSingle());
    case vaString: return ReadShortString(Stream);
    case vaLString:
    case vaUTF8String: {
        const std::int32_t n = Stream.ReadInt32();
        if (n < 0) Fail(Name, "negative text length");
        const std::string bytes = Stream.ReadBytes(n);
        return tag == vaUTF8String && Codec && Codec->Utf8Texts ? Utf8ToAnsi(bytes) : bytes;
    }
    case vaIdent: {
        const std::string ident = ReadShortString(Stream);
        if (Kind == TPropKind::Colour && Codec && Codec->IdentColour) {
            std::int64_t colour = 0;
            if (!Codec->IdentColour(ident, colour)) Fail(Name, "invalid colour " + ident);
            return colour;
        }
        const int ordinal = Names ? Names->IndexOf(ident) : -1;
        if (Kind != TPropKind::Enumeration || ordinal < 0) Fail(Name, "invalid identifier " + ident);
        return std::int64_t{ordinal};
    }
    case vaSet: {
        std::uint64_t bits = 0;
        for (std::string member = ReadShortString(Stream); !member.empty(); member = ReadShortString(Stream)) {
            const int ordinal = Names ? Names->IndexOf(member) : -1;
            if (Kind != TPropKind::Set || ordinal < 0 || ordinal >= 64) Fail(Name, "invalid set member " + member);
            bits |= std::uint64_t{1} << ordinal;
        }
        return static_cast<std::int64_t>(bits);
    }
    default: Fail(Name, "invalid property value (tag " + std::to_string(static_cast<int>(tag)) + ")");
    }
}

// The object that holds the last part of a dotted name, and that part.
TPersistent* HolderOf(TPersistent& Object, const std::string& Path, std::string& Last)
{
    const std::size_t dot = Path.rfind('.');
    if (dot == std::string::npos) {
        Last = Path;
        return &Object;
    }
    Last = Path.substr(dot + 1);
    const TPropInfo* p = FindPropInfo(Object, std::string_view(Path).substr(0, dot));
    if (!p || p->Kind != TPropKind::Object) return nullptr;
    return GetObjectProp(Object, std::string_view(Path).substr(0, dot));
}

void ReadDefined(TStream& Stream, TPersistent& Holder, const TDefinedProperty& D, const std::string& Name)
{
    if (D.Raw) {
        if (!D.ReadData) Fail(Name, "property cannot be read");
        D.ReadData(Holder, Stream);
        return;
    }
    if (!D.Binary) {
        if (!D.ReadValue) Fail(Name, "property cannot be read");
        D.ReadValue(Holder, ReadValue(Stream, D.Kind, nullptr, Name));
        return;
    }
    if (Stream.ReadByte() != vaBinary) Fail(Name, "binary data expected");
    const std::int32_t size = Stream.ReadInt32();
    if (size < 0) Fail(Name, "negative block size");
    const std::string bytes = Stream.ReadBytes(size);
    TMemoryStream block;
    block.WriteBytes(bytes);
    block.SetPosition(0);
    if (D.ReadData) D.ReadData(Holder, block);
}

void ReadProperty(TStream& Stream, TPersistent& Object, const std::string& Name, const TComponentRecordCodec* Codec = nullptr);

// The items replace the collection's: each read into a new item of the collection's item class.
void ReadCollection(TStream& Stream, TCollection& Items, const std::string& Name, const TComponentRecordCodec* Codec)
{
    if (Stream.ReadByte() != vaCollection) Fail(Name, "collection expected");
    Items.BeginUpdate();
    try {
        Items.Clear();
        for (auto tag = static_cast<TValueType>(Stream.ReadByte()); tag != vaNull;
             tag = static_cast<TValueType>(Stream.ReadByte())) {
            // An item may be preceded by its order number, which the position already says.
            if (tag == vaInt8 || tag == vaInt16 || tag == vaInt32) {
                Stream.ReadBytes(tag == vaInt8 ? 1 : tag == vaInt16 ? 2 : 4);
                tag = static_cast<TValueType>(Stream.ReadByte());
            }
            if (tag != vaList) Fail(Name, "collection item expected");
            TCollectionItem* item = Items.Add();
            for (std::string prop = ReadShortString(Stream); !prop.empty(); prop = ReadShortString(Stream))
                ReadProperty(Stream, *item, prop, Codec);
        }
    } catch (...) {
        Items.EndUpdate();
        throw;
    }
    Items.EndUpdate();
}

void ReadProperty(TStream& Stream, TPersistent& Object, const std::string& Name, const TComponentRecordCodec* Codec)
{
    TPersistent* holder = nullptr;
    if (const TPropInfo* p = FindPropInfo(Object, Name, &holder); p && p->Kind == TPropKind::Collection) {
        auto* items = dynamic_cast<TCollection*>(p->GetObject(*holder));
        if (!items) Fail(Name, "property is no collection");
        ReadCollection(Stream, *items, Name, Codec);
        return;
    }
    if (const TPropInfo* p = FindPropInfo(Object, Name, &holder); p && p->HasValue()) {
        if (!p->Set) Fail(Name, "property is read-only");
        const TPropValue v = ReadValue(Stream, p->Kind, p->Names, Name, Codec);
        try {
            p->Set(*holder, v);
        } catch (const EPropertyError& e) {
            Fail(Name, e.Message());
        } catch (const ERangeError& e) {
            Fail(Name, e.Message());
        }
        return;
    }
    std::string last;
    TPersistent* definedHolder = HolderOf(Object, Name, last);
    const TDefinedProperty* d = definedHolder ? definedHolder->ClassInfo().FindDefinedProperty(last) : nullptr;
    if (!d) Fail(Name, "property does not exist");
    ReadDefined(Stream, *definedHolder, *d, Name);
}

} // namespace

void ReadPropertyList(TStream& Stream, TPersistent& Object)
{
    try {
        if (Stream.ReadByte() != vaList) throw EReadError("Error reading " + Object.ClassName() + ": list expected");
        for (std::string name = ReadShortString(Stream); !name.empty(); name = ReadShortString(Stream))
            ReadProperty(Stream, Object, name);
    } catch (const EReadError&) {
        throw;
    } catch (const EStreamError& e) {
        throw EReadError("Error reading " + Object.ClassName() + ": " + e.Message());
    }
}

// ---- Component records -----------------------------------------------------------------------------------

void WriteComponentRecord(TStream& Stream, const std::string& ClassName, const TPersistent& Object, const TComponentRecordCodec& Codec)
{
    Stream.WriteBytes("TPF0");
    WriteShortString(Stream, ClassName);
    WriteShortString(Stream, "");
    WriteProperties(Stream, Object, "", &Codec);
    Stream.WriteByte(vaNull);
    Stream.WriteByte(vaNull);
}

std::string ReadComponentRecord(TStream& Stream, TPersistent& Object, const TComponentRecordCodec& Codec)
{
    try {
        if (Stream.ReadBytes(4) != "TPF0") throw EReadError("Invalid stream format");
        const std::string className = ReadShortString(Stream);
        (void)ReadShortString(Stream);
        for (std::string name = ReadShortString(Stream); !name.empty(); name = ReadShortString(Stream))
            ReadProperty(Stream, Object, name, &Codec);
        if (Stream.ReadByte() != vaNull) throw EReadError("Error reading " + className + ": owned components are not read");
        return className;
    } catch (const EReadError&) {
        throw;
    } catch (const EStreamError& e) {
        throw EReadError("Error reading " + Object.ClassName() + ": " + e.Message());
    }
}

void WriteStreamText(TStream& Stream, const std::string& Text, bool Utf8)
{
    TComponentRecordCodec codec;
    codec.Utf8Texts = Utf8;
    WriteText(Stream, Text, &codec);
}

std::string ReadStreamText(TStream& Stream, bool Utf8)
{
    TComponentRecordCodec codec;
    codec.Utf8Texts = Utf8;
    const TPropValue v = ReadValue(Stream, TPropKind::Text, nullptr, "text", &codec);
    if (!std::holds_alternative<std::string>(v)) throw EReadError("Error reading text: text expected");
    return std::get<std::string>(v);
}
