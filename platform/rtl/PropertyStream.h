// The property list of the class library's binary component stream: a list marker, then each stored
// property as its (dotted) name and a tagged value, then an end marker. Objects that stream lists of
// their own items (series marks, for one) write each item this way; the reader sets the properties
// back through the class descriptions.
#pragma once

#include "platform/rtl/Classes.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class TStream;

// The value tags of the stream, in the class library's numbering.
enum TValueType : std::uint8_t {
    vaNull = 0, vaList = 1, vaInt8 = 2, vaInt16 = 3, vaInt32 = 4, vaExtended = 5, vaString = 6, vaIdent = 7,
    vaFalse = 8, vaTrue = 9, vaBinary = 10, vaSet = 11, vaLString = 12, vaNil = 13, vaCollection = 14,
    vaSingle = 15, vaCurrency = 16, vaDate = 17, vaWString = 18, vaInt64 = 19, vaUTF8String = 20, vaDouble = 21
};

// vaList, every stored property of the object (sub-objects' properties under "Object.Name", defined
// properties after the published ones of the same object), vaNull. Integers take the smallest integer
// tag, reals an 80-bit extended, enumerations their name, sets their member names, colours their number;
// a collection is vaCollection, each item's own list (vaList ... vaNull), vaNull.
void WritePropertyList(TStream& Stream, const TPersistent& Object);
// Reads a list written by WritePropertyList (or by the class library) into the object; a collection's
// items replace the ones it held, each read into a new item. A wrong tag, an
// unknown property, a value of the wrong kind or a list that runs past the stream's end raises EReadError
// with the property's name.
void ReadPropertyList(TStream& Stream, TPersistent& Object);

// How a component record encodes what a plain property list writes as numbers and raw bytes: colours
// with a name as identifiers (clNone, clRed), and texts with characters above 127 as UTF-8.
struct TComponentRecordCodec {
    // A colour's name, or "" to write the number.
    std::function<std::string(std::int64_t Colour)> ColourIdent;
    // The colour a name stands for; false when it is none.
    std::function<bool(const std::string& Ident, std::int64_t& Colour)> IdentColour;
    // Texts whose UTF-8 form differs from their 8-bit form go out as vaUTF8String, and come back as 8-bit.
    bool Utf8Texts = true;
};

// One component record of the class library's component stream: "TPF0", the class name, an empty
// component name, the stored properties (no list tag around them), the end of the properties and the end
// of the (empty) list of owned components.
void WriteComponentRecord(TStream& Stream, const std::string& ClassName, const TPersistent& Object,
                          const TComponentRecordCodec& Codec = {});
// Reads one record into Object (whatever class it names) and returns the class name. A record that is
// not whole or holds what Object does not know raises EReadError.
std::string ReadComponentRecord(TStream& Stream, TPersistent& Object, const TComponentRecordCodec& Codec = {});

// One text value of the stream (vaString, vaLString, or vaUTF8String for 8-bit text with characters
// above 127 when Utf8 is set), and back; EReadError for another tag.
void WriteStreamText(TStream& Stream, const std::string& Text, bool Utf8);
std::string ReadStreamText(TStream& Stream, bool Utf8);

// The class library's component stream: "TPF0", then the root component: its class name and its name
// (a length byte and the text each), its stored properties as above ended by a 0 byte, then the components
// it writes inside itself (GetChildren), each likewise, ended by a 0 byte. A reference property is
// vaIdent with the component's name.
class TWriter {
public:
    explicit TWriter(TStream& Stream, TComponentRecordCodec Codec = {});
    void WriteRootComponent(const TComponent& Root);

private:
    void WriteComponent(const TComponent& Component);

    TStream& FStream;
    TComponentRecordCodec FCodec;
    const TComponent* FRoot = nullptr;
};

class TReader {
public:
    explicit TReader(TStream& Stream, TComponentRecordCodec Codec = {});

    // Asked about what a load can pass over: a property the class lacks or refuses (its value is skipped
    // by its tag), a component of a class not registered (skipped whole), a name that cannot be given,
    // a reference to no component. True goes on; false, or no callback, stops with EReadError.
    std::function<bool(const std::string& Message)> OnError;

    // Reads the stream's root into Root (its class name is returned, not checked). The components inside
    // are created by their registered classes, owned by Root and joined to the component they were
    // written in by SetParentComponent. References are resolved once the root is read; then every
    // component read has its Loaded called, also when the read fails. A fault of the structure (an
    // unknown tag, a length past the end, a cut stream) raises EReadError; the component it cut short
    // is freed, the ones read before stay.
    std::string ReadRootComponent(TComponent& Root);

private:
    struct TFixup {
        TComponent* Owner;
        TPersistent* Holder;
        const TPropInfo* Prop;
        std::string Target;
    };

    void PassOver(const std::string& Message) const;
    void NameComponent(TComponent& Component, const std::string& Name);
    void ReadComponentBody(TComponent& Component, int Depth);
    void ReadChild(TComponent& Parent, const std::string& ClassName, int Depth);
    void ResolveReference(TPersistent& Holder, const TPropInfo& Prop, const std::string& Target) const;
    void ResolveReferences();
    // Ends every component's loading; the first refusal of a Loaded, or empty.
    std::string EndLoading();

    TStream& FStream;
    TComponentRecordCodec FCodec;
    TComponent* FRoot = nullptr;
    std::vector<TComponent*> FLoaded;
    std::vector<TFixup> FFixups;
};

// The text form of a binary component stream ("TPF0" and one root), and back: "object Name: TClass"
// (or "object TClass" without a name), "Name = value" lines, numbers with ".", texts in quotes with
// #n for other characters (n a code point where the stream held UTF-8), identifiers, [set members],
// (lists), {hexadecimal binary}, <collections of "item ... end">, nested objects and "end". Both read
// from the source's position; a damaged source raises EReadError and the destination may hold a part.
void ObjectBinaryToText(TStream& Input, TStream& Output);
void ObjectTextToBinary(TStream& Input, TStream& Output);

// An integer value in the smallest integer tag that holds it.
void WriteStreamInteger(TStream& Stream, std::int64_t Value);

// Windows-1252 text as UTF-8, and back (characters the code page lacks and malformed bytes become '?').
std::string AnsiToUtf8(const std::string& Text);
std::string Utf8ToAnsi(const std::string& Text);

// The 10-byte extended real of the stream, and back (values beyond a double's range become infinities).
void WriteExtended(TStream& Stream, double Value);
double ReadExtended(TStream& Stream);
