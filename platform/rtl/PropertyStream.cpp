// The binary property list: writing the stored properties of an object with their value tags, reading
// them back by name, and the 80-bit extended reals of the stream.
#include "platform/rtl/PropertyStream.h"

#include "platform/rtl/AnsiText.h"
#include "platform/rtl/Collections.h"
#include "platform/rtl/StrUtils.h"
#include "platform/rtl/Streams.h"

#include <cmath>
#include <algorithm>
#include <limits>
#include <string>
#include <vector>

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

} // namespace

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

namespace {

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
    case TPropKind::Collection:
    case TPropKind::Reference: break;
    }
}

void WriteProperties(TStream& Stream, const TPersistent& Object, const std::string& Prefix, const TComponentRecordCodec* Codec = nullptr);

// vaCollection, each item as a property list of its own, vaNull.
void WriteCollection(TStream& Stream, const TStreamedItems* Items, const TComponentRecordCodec* Codec)
{
    Stream.WriteByte(vaCollection);
    for (int i = 0; Items && i < Items->StreamedCount(); ++i) {
        Stream.WriteByte(vaList);
        WriteProperties(Stream, Items->StreamedItem(i), "", Codec);
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
            WriteCollection(Stream, p.GetItems ? p.GetItems(Object) : nullptr, Codec);
            continue;
        }
        if (p.Kind == TPropKind::Reference) {
            // A component without a name cannot be found again, so it is not written.
            const auto* target = dynamic_cast<const TComponent*>(p.GetObject(Object));
            if (!target || target->Name().empty()) continue;
            WriteShortString(Stream, Prefix + p.Name);
            Stream.WriteByte(vaIdent);
            WriteShortString(Stream, target->Name());
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

// Lists, collections and components nest no deeper than this; a stream that does is damaged (and would
// otherwise run the reader out of stack).
constexpr int MaxNesting = 64;

std::string ErrorText(const std::string& Name, const std::string& Why) { return "Error reading " + Name + ": " + Why; }

// A fault of the stream's structure: the position is lost, so nothing can go on.
[[noreturn]] void Fail(const std::string& Name, const std::string& Why) { throw EReadError(ErrorText(Name, Why)); }

// A value the property refuses; the value itself has been read whole.
struct TRefusal {
    std::string Why;
};

// What a read needs besides the stream: the text codec, what to do with faults that can be passed over
// (nothing set: raise them), and where references go.
struct TReadContext {
    const TComponentRecordCodec* Codec = nullptr;
    const std::function<void(const std::string& Message)>* PassOver = nullptr;
    // A reference property read inside a component (nullptr: references are refused). Defer is false in
    // a collection's items, which a later read of the collection may free before the root is read.
    std::function<void(TPersistent& Holder, const TPropInfo& Prop, const std::string& Target, bool Defer)> Reference;
    int Depth = 0;
    bool InItem = false;
};

void PassOver(const TReadContext& Context, const std::string& Message)
{
    if (Context.PassOver && *Context.PassOver) (*Context.PassOver)(Message);
    else throw EReadError(Message);
}

std::string ReadShortString(TStream& Stream) { return Stream.ReadBytes(Stream.ReadByte()); }

void SkipBytes(TStream& Stream, std::int64_t Count)
{
    if (Count < 0 || Count > Stream.Size() - Stream.Position()) throw EReadError("Stream read error");
    Stream.Seek(Count, soCurrent);
}

// A tagged value read whole, before it is given a property's kind.
struct TTagged {
    TValueType Tag = vaNull;
    std::int64_t Int = 0;
    double Real = 0;
    std::string Text;
    std::vector<std::string> Members;
};

TTagged ReadTagged(TStream& Stream, const std::string& Name, const TComponentRecordCodec* Codec)
{
    TTagged v;
    v.Tag = static_cast<TValueType>(Stream.ReadByte());
    switch (v.Tag) {
    case vaInt8: v.Int = static_cast<std::int8_t>(Stream.ReadByte()); break;
    case vaInt16: v.Int = Stream.ReadInt16(); break;
    case vaInt32: v.Int = Stream.ReadInt32(); break;
    case vaInt64: v.Int = Stream.ReadInt64(); break;
    case vaFalse: v.Int = 0; break;
    case vaTrue: v.Int = 1; break;
    case vaExtended: v.Real = ReadExtended(Stream); break;
    case vaDouble: v.Real = Stream.ReadDouble(); break;
    case vaSingle: v.Real = Stream.ReadSingle(); break;
    case vaString: v.Text = ReadShortString(Stream); break;
    case vaLString:
    case vaUTF8String: {
        const std::int32_t n = Stream.ReadInt32();
        if (n < 0) Fail(Name, "negative text length");
        v.Text = Stream.ReadBytes(n);
        if (v.Tag == vaUTF8String && Codec && Codec->Utf8Texts) v.Text = Utf8ToAnsi(v.Text);
        break;
    }
    case vaIdent: v.Text = ReadShortString(Stream); break;
    case vaSet:
        for (std::string member = ReadShortString(Stream); !member.empty(); member = ReadShortString(Stream))
            v.Members.push_back(member);
        break;
    case vaNil: break;
    default: Fail(Name, "invalid property value (tag " + std::to_string(static_cast<int>(v.Tag)) + ")");
    }
    return v;
}

bool IsIntegerTag(TValueType Tag) { return Tag == vaInt8 || Tag == vaInt16 || Tag == vaInt32 || Tag == vaInt64; }

// The value in the property's kind; TRefusal when it is none.
TPropValue Convert(const TTagged& V, TPropKind Kind, const TEnumNames* Names, const TComponentRecordCodec* Codec)
{
    switch (V.Tag) {
    case vaInt8: case vaInt16: case vaInt32: case vaInt64: case vaFalse: case vaTrue: return V.Int;
    case vaExtended: case vaDouble: case vaSingle: return V.Real;
    case vaString: case vaLString: case vaUTF8String: return V.Text;
    case vaIdent: {
        if (Kind == TPropKind::Colour && Codec && Codec->IdentColour) {
            std::int64_t colour = 0;
            if (!Codec->IdentColour(V.Text, colour)) throw TRefusal{"invalid colour " + V.Text};
            return colour;
        }
        const int ordinal = Names ? Names->IndexOf(V.Text) : -1;
        if (Kind != TPropKind::Enumeration || ordinal < 0) throw TRefusal{"invalid identifier " + V.Text};
        return std::int64_t{ordinal};
    }
    case vaSet: {
        std::uint64_t bits = 0;
        for (const std::string& member : V.Members) {
            const int ordinal = Names ? Names->IndexOf(member) : -1;
            if (Kind != TPropKind::Set || ordinal < 0 || ordinal >= 64) throw TRefusal{"invalid set member " + member};
            bits |= std::uint64_t{1} << ordinal;
        }
        return static_cast<std::int64_t>(bits);
    }
    default: throw TRefusal{"invalid property value"};
    }
}

void SkipValue(TStream& Stream, const std::string& Name, int Depth);

// Property names and values up to the empty name that ends them.
void SkipProperties(TStream& Stream, int Depth)
{
    for (std::string prop = ReadShortString(Stream); !prop.empty(); prop = ReadShortString(Stream))
        SkipValue(Stream, prop, Depth);
}

// Passes over one value of any tag the stream knows.
void SkipValue(TStream& Stream, const std::string& Name, int Depth)
{
    if (Depth > MaxNesting) Fail(Name, "values nest too deeply");
    const auto tag = static_cast<TValueType>(Stream.ReadByte());
    switch (tag) {
    case vaList:
        while (Stream.ReadByte() != vaNull) {
            Stream.Seek(-1, soCurrent);
            SkipValue(Stream, Name, Depth + 1);
        }
        return;
    case vaCollection:
        for (auto item = static_cast<TValueType>(Stream.ReadByte()); item != vaNull;
             item = static_cast<TValueType>(Stream.ReadByte())) {
            if (IsIntegerTag(item)) {
                Stream.Seek(-1, soCurrent);
                SkipValue(Stream, Name, Depth + 1);
                item = static_cast<TValueType>(Stream.ReadByte());
            }
            if (item != vaList) Fail(Name, "collection item expected");
            SkipProperties(Stream, Depth + 1);
        }
        return;
    case vaBinary: SkipBytes(Stream, Stream.ReadInt32()); return;
    case vaCurrency: case vaDate: SkipBytes(Stream, 8); return;
    case vaWString: SkipBytes(Stream, std::int64_t{Stream.ReadInt32()} * 2); return;
    default:
        Stream.Seek(-1, soCurrent);
        (void)ReadTagged(Stream, Name, nullptr);
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

void ReadDefined(TStream& Stream, TPersistent& Holder, const TDefinedProperty& D, const std::string& Name,
                 const TReadContext& Context)
{
    if (D.Raw) {
        if (!D.ReadData) {
            SkipValue(Stream, Name, Context.Depth);
            PassOver(Context, ErrorText(Name, "property cannot be read"));
            return;
        }
        // Its own code reads the stream, so any fault of it leaves the position unknown.
        try {
            D.ReadData(Holder, Stream);
        } catch (const EReadError&) {
            throw;
        } catch (const Exception& e) {
            Fail(Name, e.Message());
        }
        return;
    }
    if (!D.Binary) {
        const TTagged v = ReadTagged(Stream, Name, Context.Codec);
        try {
            if (!D.ReadValue) throw TRefusal{"property cannot be read"};
            D.ReadValue(Holder, Convert(v, D.Kind, nullptr, Context.Codec));
        } catch (const TRefusal& r) {
            PassOver(Context, ErrorText(Name, r.Why));
        } catch (const Exception& e) {
            PassOver(Context, ErrorText(Name, e.Message()));
        }
        return;
    }
    if (Stream.ReadByte() != vaBinary) {
        Stream.Seek(-1, soCurrent);
        SkipValue(Stream, Name, Context.Depth);
        PassOver(Context, ErrorText(Name, "binary data expected"));
        return;
    }
    const std::int32_t size = Stream.ReadInt32();
    if (size < 0) Fail(Name, "negative block size");
    TMemoryStream block;
    block.WriteBytes(Stream.ReadBytes(size));
    block.SetPosition(0);
    try {
        if (D.ReadData) D.ReadData(Holder, block);
    } catch (const Exception& e) {
        PassOver(Context, ErrorText(Name, e.Message()));
    }
}

void ReadProperty(TStream& Stream, TPersistent& Object, const std::string& Name, const TReadContext& Context);

// The items replace the collection's: each read into a new item of the collection's item class.
void ReadCollection(TStream& Stream, TStreamedItems& Items, const std::string& Name, const TReadContext& Context)
{
    if (Stream.ReadByte() != vaCollection) {
        Stream.Seek(-1, soCurrent);
        SkipValue(Stream, Name, Context.Depth);
        PassOver(Context, ErrorText(Name, "collection expected"));
        return;
    }
    if (Context.Depth > MaxNesting) Fail(Name, "values nest too deeply");
    TReadContext inner = Context;
    inner.Depth = Context.Depth + 1;
    inner.InItem = true;
    Items.BeginStreamedRead();
    try {
        Items.ClearStreamedItems();
        for (auto tag = static_cast<TValueType>(Stream.ReadByte()); tag != vaNull;
             tag = static_cast<TValueType>(Stream.ReadByte())) {
            // An item may be preceded by its order number, which the position already says.
            if (IsIntegerTag(tag)) {
                Stream.Seek(-1, soCurrent);
                (void)ReadTagged(Stream, Name, nullptr);
                tag = static_cast<TValueType>(Stream.ReadByte());
            }
            if (tag != vaList) Fail(Name, "collection item expected");
            TPersistent& item = Items.AddStreamedItem();
            for (std::string prop = ReadShortString(Stream); !prop.empty(); prop = ReadShortString(Stream))
                ReadProperty(Stream, item, prop, inner);
        }
    } catch (...) {
        Items.EndStreamedRead();
        throw;
    }
    Items.EndStreamedRead();
}

void ReadReference(TStream& Stream, TPersistent& Holder, const TPropInfo& Prop, const std::string& Name,
                   const TReadContext& Context)
{
    const TTagged v = ReadTagged(Stream, Name, Context.Codec);
    try {
        if (v.Tag == vaNil) Prop.SetReference(Holder, nullptr);
        else if (v.Tag != vaIdent) throw TRefusal{"invalid property value"};
        else if (!Context.Reference) throw TRefusal{"unresolved reference to " + v.Text};
        else Context.Reference(Holder, Prop, v.Text, !Context.InItem);
    } catch (const TRefusal& r) {
        PassOver(Context, ErrorText(Name, r.Why));
    } catch (const EReadError&) {
        throw;
    } catch (const Exception& e) {
        PassOver(Context, ErrorText(Name, e.Message()));
    }
}

void ReadProperty(TStream& Stream, TPersistent& Object, const std::string& Name, const TReadContext& Context)
{
    TPersistent* holder = nullptr;
    const TPropInfo* p = FindPropInfo(Object, Name, &holder);
    if (p && p->Kind == TPropKind::Collection) {
        if (TStreamedItems* items = p->GetItems ? p->GetItems(*holder) : nullptr) {
            ReadCollection(Stream, *items, Name, Context);
            return;
        }
        SkipValue(Stream, Name, Context.Depth);
        PassOver(Context, ErrorText(Name, "property is no collection"));
        return;
    }
    if (p && p->Kind == TPropKind::Reference) {
        ReadReference(Stream, *holder, *p, Name, Context);
        return;
    }
    if (p && p->HasValue()) {
        const TTagged v = ReadTagged(Stream, Name, Context.Codec);
        try {
            if (!p->Set) throw TRefusal{"property is read-only"};
            p->Set(*holder, Convert(v, p->Kind, p->Names, Context.Codec));
        } catch (const TRefusal& r) {
            PassOver(Context, ErrorText(Name, r.Why));
        } catch (const EReadError&) {
            throw;
        } catch (const Exception& e) {
            // A setter's own refusal (an axis increment below 0, say): the value was read whole.
            PassOver(Context, ErrorText(Name, e.Message()));
        }
        return;
    }
    std::string last;
    TPersistent* definedHolder = HolderOf(Object, Name, last);
    const TDefinedProperty* d = definedHolder ? definedHolder->ClassInfo().FindDefinedProperty(last) : nullptr;
    if (!d) {
        SkipValue(Stream, Name, Context.Depth);
        PassOver(Context, ErrorText(Name, "property does not exist"));
        return;
    }
    ReadDefined(Stream, *definedHolder, *d, Name, Context);
}

// Stream faults (a cut stream, a length past its end) as read errors that name the object.
template <class F>
auto ReadingAs(const std::string& What, F&& Body)
{
    try {
        return Body();
    } catch (const EReadError&) {
        throw;
    } catch (const EStreamError& e) {
        throw EReadError(ErrorText(What, e.Message()));
    }
}

} // namespace

void ReadPropertyList(TStream& Stream, TPersistent& Object)
{
    ReadingAs(Object.ClassName(), [&] {
        if (Stream.ReadByte() != vaList) throw EReadError(ErrorText(Object.ClassName(), "list expected"));
        const TReadContext context;
        for (std::string name = ReadShortString(Stream); !name.empty(); name = ReadShortString(Stream))
            ReadProperty(Stream, Object, name, context);
    });
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
    return ReadingAs(Object.ClassName(), [&] {
        if (Stream.ReadBytes(4) != "TPF0") throw EReadError("Invalid stream format");
        const std::string className = ReadShortString(Stream);
        (void)ReadShortString(Stream);
        TReadContext context;
        context.Codec = &Codec;
        for (std::string name = ReadShortString(Stream); !name.empty(); name = ReadShortString(Stream))
            ReadProperty(Stream, Object, name, context);
        if (Stream.ReadByte() != vaNull) throw EReadError(ErrorText(className, "owned components are not read"));
        return className;
    });
}

void WriteStreamInteger(TStream& Stream, std::int64_t Value) { WriteInteger(Stream, Value); }

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
    const TTagged v = ReadTagged(Stream, "text", &codec);
    if (v.Tag != vaString && v.Tag != vaLString && v.Tag != vaUTF8String) throw EReadError(ErrorText("text", "text expected"));
    return v.Text;
}

// ---- The component stream --------------------------------------------------------------------------------

TWriter::TWriter(TStream& Stream, TComponentRecordCodec Codec) : FStream(Stream), FCodec(std::move(Codec)) {}

void TWriter::WriteRootComponent(const TComponent& Root)
{
    FRoot = &Root;
    FStream.WriteBytes("TPF0");
    WriteComponent(Root);
}

void TWriter::WriteComponent(const TComponent& Component)
{
    WriteShortString(FStream, Component.ClassName());
    WriteShortString(FStream, Component.Name());
    WriteProperties(FStream, Component, "", &FCodec);
    FStream.WriteByte(vaNull);
    Component.GetChildren([this](TComponent* child) { if (child) WriteComponent(*child); },
                          const_cast<TComponent*>(FRoot));
    FStream.WriteByte(vaNull);
}

TReader::TReader(TStream& Stream, TComponentRecordCodec Codec) : FStream(Stream), FCodec(std::move(Codec)) {}

void TReader::PassOver(const std::string& Message) const
{
    if (!OnError || !OnError(Message)) throw EReadError(Message);
}

namespace {

// Properties up to the empty name, then the components inside up to a 0 byte, all passed over.
void SkipComponentBody(TStream& Stream, const std::string& ClassName, int Depth)
{
    if (Depth > MaxNesting) Fail(ClassName, "components nest too deeply");
    SkipProperties(Stream, Depth);
    for (std::string child = ReadShortString(Stream); !child.empty(); child = ReadShortString(Stream)) {
        (void)ReadShortString(Stream);
        SkipComponentBody(Stream, child, Depth + 1);
    }
}

} // namespace

std::string TReader::ReadRootComponent(TComponent& Root)
{
    FRoot = &Root;
    FLoaded.clear();
    FFixups.clear();
    std::string className;
    try {
        ReadingAs("stream", [&] {
            if (FStream.ReadBytes(4) != "TPF0") throw EReadError("Invalid stream format");
            className = ReadShortString(FStream);
            const std::string name = ReadShortString(FStream);
            if (!name.empty()) NameComponent(Root, name);
            ReadComponentBody(Root, 0);
        });
        ResolveReferences();
    } catch (...) {
        (void)EndLoading();
        throw;
    }
    // A component that refuses what it was given when loading ends is a fault the load may pass over.
    if (const std::string refusal = EndLoading(); !refusal.empty()) PassOver(refusal);
    return className;
}

void TReader::NameComponent(TComponent& Component, const std::string& Name)
{
    try {
        Component.SetName(Name);
    } catch (const Exception& e) {
        PassOver(e.Message());
    }
}

void TReader::ReadComponentBody(TComponent& Component, int Depth)
{
    if (Depth > MaxNesting) Fail(Component.ClassName(), "components nest too deeply");
    Component.BeginLoading();
    FLoaded.push_back(&Component);
    const std::function<void(const std::string&)> passOver = [this](const std::string& m) { PassOver(m); };
    TReadContext context;
    context.Codec = &FCodec;
    context.PassOver = &passOver;
    context.Reference = [this, &Component](TPersistent& Holder, const TPropInfo& Prop, const std::string& Target,
                                           bool Defer) {
        // A component named later in the stream is found once the root is read; a collection item's
        // reference can only name one read before it.
        if (Defer) FFixups.push_back({&Component, &Holder, &Prop, Target});
        else ResolveReference(Holder, Prop, Target);
    };
    for (std::string name = ReadShortString(FStream); !name.empty(); name = ReadShortString(FStream))
        ReadProperty(FStream, Component, name, context);
    for (std::string className = ReadShortString(FStream); !className.empty(); className = ReadShortString(FStream))
        ReadChild(Component, className, Depth + 1);
}

void TReader::ReadChild(TComponent& Parent, const std::string& ClassName, int Depth)
{
    const std::string name = ReadShortString(FStream);
    const TClassInfo* info = FindClassInfo(ClassName);
    TComponent* child = info ? info->CreateComponent(FRoot) : nullptr;
    if (!child) {
        PassOver("Class " + ClassName + " not found");
        SkipComponentBody(FStream, ClassName, Depth);
        return;
    }
    try {
        if (!name.empty()) NameComponent(*child, name);
        child->SetParentComponent(&Parent);
        ReadComponentBody(*child, Depth);
    } catch (...) {
        // A component cut short is not kept.
        std::erase(FLoaded, child);
        std::erase_if(FFixups, [child](const TFixup& f) { return f.Owner == child; });
        child->Free();
        throw;
    }
}

void TReader::ResolveReference(TPersistent& Holder, const TPropInfo& Prop, const std::string& Target) const
{
    TComponent* found = FRoot->FindComponent(Target);
    if (!found && SameText(FRoot->Name(), Target)) found = FRoot;
    if (!found) {
        PassOver(ErrorText(Prop.Name, "unresolved reference to " + Target));
        return;
    }
    try {
        Prop.SetReference(Holder, found);
    } catch (const EReadError&) {
        throw;
    } catch (const Exception& e) {
        PassOver(ErrorText(Prop.Name, e.Message()));
    }
}

void TReader::ResolveReferences()
{
    const std::vector<TFixup> fixups = std::move(FFixups);
    FFixups.clear();
    for (const TFixup& f : fixups) ResolveReference(*f.Holder, *f.Prop, f.Target);
}

std::string TReader::EndLoading()
{
    const std::vector<TComponent*> loaded = std::move(FLoaded);
    FLoaded.clear();
    FFixups.clear();
    std::string first;
    for (TComponent* c : loaded) {
        try {
            c->Loaded();
        } catch (const Exception& e) {
            if (first.empty()) first = "Error loading " + c->ClassName() + ": " + e.Message();
        }
    }
    return first;
}
