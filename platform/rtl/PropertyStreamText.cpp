// The text form of the component stream: the binary stream written out as indented "object ... end"
// blocks, and such text parsed back into the binary stream.
#include "platform/rtl/PropertyStream.h"

#include "platform/rtl/AnsiText.h"
#include "platform/rtl/StrUtils.h"
#include "platform/rtl/Streams.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>
#include <string>
#include <vector>

namespace {

// Lists, collections and objects nest no deeper than this (as in the binary reader).
constexpr int TextNesting = 64;
// Bytes of binary data per text line.
constexpr int HexBytesPerLine = 32;

[[noreturn]] void Damaged(const std::string& Why) { throw EReadError("Invalid stream format: " + Why); }

// ---- Binary to text --------------------------------------------------------------------------------------

class TBinaryToText {
public:
    TBinaryToText(TStream& In, TStream& Out) : FIn(In), FOut(Out) {}

    void Convert()
    {
        if (FIn.ReadBytes(4) != "TPF0") Damaged("no signature");
        ConvertObject(0);
    }

private:
    std::string ShortString() { return FIn.ReadBytes(FIn.ReadByte()); }
    void Emit(const std::string& Text) { FOut.WriteBytes(Text); }
    void NewLine(int Indent) { Emit("\r\n" + std::string(static_cast<std::size_t>(Indent), ' ')); }

    void ConvertObject(int Depth)
    {
        if (Depth > TextNesting) Damaged("objects nest too deeply");
        const int indent = Depth * 2;
        const std::string className = ShortString();
        const std::string name = ShortString();
        Emit(std::string(static_cast<std::size_t>(indent), ' ') + "object " + (name.empty() ? className : name + ": " + className));
        ConvertProperties(indent + 2, Depth);
        for (std::uint8_t next = FIn.ReadByte(); next != 0; next = FIn.ReadByte()) {
            FIn.Seek(-1, soCurrent);
            Emit("\r\n");
            ConvertObject(Depth + 1);
        }
        NewLine(indent);
        Emit("end");
        if (Depth == 0) Emit("\r\n");
    }

    void ConvertProperties(int Indent, int Depth)
    {
        for (std::string name = ShortString(); !name.empty(); name = ShortString()) {
            NewLine(Indent);
            Emit(name + " = ");
            ConvertValue(Indent, Depth);
        }
    }

    void ConvertValue(int Indent, int Depth)
    {
        if (Depth > TextNesting) Damaged("values nest too deeply");
        const auto tag = static_cast<TValueType>(FIn.ReadByte());
        switch (tag) {
        case vaInt8: Emit(std::to_string(static_cast<std::int8_t>(FIn.ReadByte()))); break;
        case vaInt16: Emit(std::to_string(FIn.ReadInt16())); break;
        case vaInt32: Emit(std::to_string(FIn.ReadInt32())); break;
        case vaInt64: Emit(std::to_string(FIn.ReadInt64())); break;
        case vaExtended: Emit(RealText(ReadExtended(FIn))); break;
        case vaDouble: Emit(RealText(FIn.ReadDouble())); break;
        case vaSingle: Emit(RealText(FIn.ReadSingle())); break;
        case vaFalse: Emit("False"); break;
        case vaTrue: Emit("True"); break;
        case vaNil: Emit("nil"); break;
        case vaIdent: Emit(ShortString()); break;
        case vaString: Emit(QuotedBytes(ShortString())); break;
        case vaLString: Emit(QuotedBytes(FIn.ReadBytes(Length()))); break;
        case vaUTF8String: Emit(QuotedUtf8(FIn.ReadBytes(Length()))); break;
        case vaSet: {
            Emit("[");
            bool first = true;
            for (std::string member = ShortString(); !member.empty(); member = ShortString()) {
                Emit(first ? member : ", " + member);
                first = false;
            }
            Emit("]");
            break;
        }
        case vaList:
            Emit("(");
            for (std::uint8_t next = FIn.ReadByte(); next != vaNull; next = FIn.ReadByte()) {
                FIn.Seek(-1, soCurrent);
                NewLine(Indent + 2);
                ConvertValue(Indent + 2, Depth + 1);
            }
            Emit(")");
            break;
        case vaBinary: ConvertBinary(Indent); break;
        case vaCollection: ConvertCollection(Indent, Depth); break;
        default: Damaged("unknown value tag " + std::to_string(static_cast<int>(tag)));
        }
    }

    std::int32_t Length()
    {
        const std::int32_t n = FIn.ReadInt32();
        if (n < 0) Damaged("negative length");
        return n;
    }

    void ConvertBinary(int Indent)
    {
        const std::string bytes = FIn.ReadBytes(Length());
        static const char digits[] = "0123456789ABCDEF";
        Emit("{");
        for (std::size_t i = 0; i < bytes.size(); ++i) {
            if (i % HexBytesPerLine == 0) NewLine(Indent + 2);
            const auto b = static_cast<unsigned char>(bytes[i]);
            Emit(std::string{digits[b >> 4], digits[b & 15]});
        }
        Emit("}");
    }

    // The items' order numbers are dropped: the position says the same.
    void ConvertCollection(int Indent, int Depth)
    {
        Emit("<");
        for (auto tag = static_cast<TValueType>(FIn.ReadByte()); tag != vaNull; tag = static_cast<TValueType>(FIn.ReadByte())) {
            if (tag == vaInt8 || tag == vaInt16 || tag == vaInt32) {
                FIn.ReadBytes(tag == vaInt8 ? 1 : tag == vaInt16 ? 2 : 4);
                tag = static_cast<TValueType>(FIn.ReadByte());
            }
            if (tag != vaList) Damaged("collection item expected");
            NewLine(Indent + 2);
            Emit("item");
            if (Depth + 1 > TextNesting) Damaged("values nest too deeply");
            ConvertProperties(Indent + 4, Depth + 1);
            NewLine(Indent + 2);
            Emit("end");
        }
        Emit(">");
    }

    // Shortest text that reads back to the same double, always with a point or an exponent so that it
    // reads back as a real.
    static std::string RealText(double V)
    {
        if (std::isnan(V)) return "0.0";
        if (std::isinf(V)) return V > 0 ? "1E5000" : "-1E5000";
        char buffer[64];
        const auto r = std::to_chars(buffer, buffer + sizeof buffer, V);
        std::string text(buffer, r.ptr);
        if (text.find_first_of(".eE") == std::string::npos) text += ".0";
        return text;
    }

    // A piece of text: printable characters inside quotes (a quote doubled), the others as #n.
    static std::string Quoted(const std::vector<std::uint32_t>& Codes, bool CodePoints)
    {
        std::string out;
        bool open = false;
        for (std::uint32_t c : Codes) {
            const bool plain = c >= 32 && c != 127 && (c < 128 || !CodePoints);
            if (plain != open) {
                out += '\'';
                open = plain;
            }
            if (!plain) out += '#' + std::to_string(c);
            else if (c == '\'') out += "''";
            else out += static_cast<char>(c);
        }
        if (open) out += '\'';
        return out.empty() ? "''" : out;
    }

    // 8-bit text keeps its bytes (characters above 127 stand in the quotes as they are).
    static std::string QuotedBytes(const std::string& Bytes)
    {
        std::vector<std::uint32_t> codes;
        for (unsigned char c : Bytes) codes.push_back(c);
        return Quoted(codes, false);
    }

    // UTF-8 text: characters above 127 as their code points.
    static std::string QuotedUtf8(const std::string& Bytes)
    {
        std::vector<std::uint32_t> codes;
        for (std::size_t i = 0; i < Bytes.size();) {
            const auto c = static_cast<unsigned char>(Bytes[i]);
            int extra = c >= 0xF0 ? 3 : c >= 0xE0 ? 2 : c >= 0xC0 ? 1 : 0;
            std::uint32_t code = extra == 3 ? c & 7u : extra == 2 ? c & 15u : extra == 1 ? c & 31u : c;
            if (c >= 0x80 && extra == 0) code = '?';
            ++i;
            for (; extra > 0 && i < Bytes.size(); --extra, ++i) code = code << 6 | (Bytes[i] & 0x3Fu);
            codes.push_back(code);
        }
        return Quoted(codes, true);
    }

    TStream& FIn;
    TStream& FOut;
};

// ---- Text to binary --------------------------------------------------------------------------------------

enum class TTextToken { End, Ident, Integer, Real, Text, Symbol };

class TTextToBinary {
public:
    TTextToBinary(std::string Text, TStream& Out) : FText(std::move(Text)), FOut(Out) { Next(); }

    void Convert()
    {
        FOut.WriteBytes("TPF0");
        ConvertObject(0);
    }

private:
    [[noreturn]] void Expected(const std::string& What) const
    {
        throw EReadError("Line " + std::to_string(FLine) + ": " + What + " expected");
    }

    bool IsSymbol(char C) const { return FToken == TTextToken::Symbol && FValue.size() == 1 && FValue[0] == C; }
    bool IsWord(std::string_view Word) const { return FToken == TTextToken::Ident && SameText(FValue, Word); }
    void Need(char C)
    {
        if (!IsSymbol(C)) Expected(std::string("'") + C + "'");
        Next();
    }

    void SkipBlanks()
    {
        while (FPos < FText.size() && std::isspace(static_cast<unsigned char>(FText[FPos]))) {
            if (FText[FPos] == '\n') ++FLine;
            ++FPos;
        }
    }

    // Reads the next token into FToken and FValue (for texts FCodes and FUnicode).
    void Next()
    {
        SkipBlanks();
        FValue.clear();
        if (FPos >= FText.size()) {
            FToken = TTextToken::End;
            return;
        }
        const char c = FText[FPos];
        const auto isIdent = [](char x) { return std::isalnum(static_cast<unsigned char>(x)) || x == '_' || x == '.'; };
        if (std::isalpha(static_cast<unsigned char>(c)) || c == '_') {
            while (FPos < FText.size() && isIdent(FText[FPos])) FValue += FText[FPos++];
            FToken = TTextToken::Ident;
        } else if (std::isdigit(static_cast<unsigned char>(c)) || ((c == '-' || c == '+') && FPos + 1 < FText.size() && std::isdigit(static_cast<unsigned char>(FText[FPos + 1])))) {
            FValue += FText[FPos++];
            FToken = TTextToken::Integer;
            while (FPos < FText.size()) {
                const char d = FText[FPos];
                if (std::isdigit(static_cast<unsigned char>(d))) FValue += d;
                else if (d == '.' || d == 'e' || d == 'E' || ((d == '-' || d == '+') && (FValue.back() == 'e' || FValue.back() == 'E'))) {
                    FValue += d;
                    FToken = TTextToken::Real;
                } else break;
                ++FPos;
            }
        } else if (c == '\'' || c == '#') {
            ReadText();
        } else {
            FValue = std::string(1, c);
            ++FPos;
            FToken = TTextToken::Symbol;
        }
    }

    // Quoted pieces and #n characters written side by side form one text.
    void ReadText()
    {
        FCodes.clear();
        FUnicode = false;
        while (FPos < FText.size() && (FText[FPos] == '\'' || FText[FPos] == '#')) {
            if (FText[FPos] == '#') {
                ++FPos;
                std::uint64_t n = 0;
                const std::size_t start = FPos;
                while (FPos < FText.size() && std::isdigit(static_cast<unsigned char>(FText[FPos])) && n <= 0x10FFFF)
                    n = n * 10 + static_cast<unsigned>(FText[FPos++] - '0');
                if (FPos == start || n > 0x10FFFF) Expected("character number");
                if (n > 127) FUnicode = true;
                FCodes.push_back({static_cast<std::uint32_t>(n), true});
                continue;
            }
            for (++FPos;; ++FPos) {
                if (FPos >= FText.size() || FText[FPos] == '\n') Expected("closing quote");
                if (FText[FPos] == '\'') {
                    if (FPos + 1 < FText.size() && FText[FPos + 1] == '\'') ++FPos;
                    else break;
                }
                FCodes.push_back({static_cast<unsigned char>(FText[FPos]), false});
            }
            ++FPos;
        }
        FToken = TTextToken::Text;
    }

    void WriteShort(const std::string& Text)
    {
        if (Text.size() > 255) Expected("name of at most 255 characters");
        FOut.WriteByte(static_cast<std::uint8_t>(Text.size()));
        FOut.WriteBytes(Text);
    }

    std::string Ident(const char* What)
    {
        if (FToken != TTextToken::Ident) Expected(What);
        std::string v = FValue;
        Next();
        return v;
    }

    void ConvertObject(int Depth)
    {
        if (Depth > TextNesting) Expected("end of deeply nested objects");
        if (!IsWord("object")) Expected("'object'");
        Next();
        std::string name;
        std::string className = Ident("class name");
        if (IsSymbol(':')) {
            Next();
            name = className;
            className = Ident("class name");
        }
        WriteShort(className);
        WriteShort(name);
        ConvertProperties(Depth, "object");
        while (IsWord("object")) ConvertObject(Depth + 1);
        FOut.WriteByte(0);
        if (!IsWord("end")) Expected("'end'");
        Next();
    }

    // "Name = value" lines up to "end" (or, in an object, up to its first child): then the 0 byte.
    void ConvertProperties(int Depth, std::string_view Stop)
    {
        while (!IsWord("end") && !IsWord(Stop)) {
            WriteShort(Ident("property name"));
            Need('=');
            ConvertValue(Depth);
        }
        FOut.WriteByte(0);
    }

    void ConvertValue(int Depth)
    {
        if (Depth > TextNesting) Expected("end of deeply nested values");
        switch (FToken) {
        case TTextToken::Integer: WriteIntegerValue(); break;
        case TTextToken::Real: WriteRealValue(); break;
        case TTextToken::Text: WriteTextValue(); break;
        case TTextToken::Ident:
            if (SameText(FValue, "False")) FOut.WriteByte(vaFalse);
            else if (SameText(FValue, "True")) FOut.WriteByte(vaTrue);
            else if (SameText(FValue, "nil")) FOut.WriteByte(vaNil);
            else {
                FOut.WriteByte(vaIdent);
                WriteShort(FValue);
            }
            Next();
            break;
        case TTextToken::Symbol:
            if (IsSymbol('[')) ConvertSet();
            else if (IsSymbol('(')) ConvertList(Depth);
            else if (IsSymbol('{')) ConvertBinary();
            else if (IsSymbol('<')) ConvertCollection(Depth);
            else Expected("value");
            break;
        case TTextToken::End: Expected("value");
        }
    }

    void WriteIntegerValue()
    {
        std::int64_t v = 0;
        const char* first = FValue.data() + (FValue[0] == '+' ? 1 : 0);
        const auto r = std::from_chars(first, FValue.data() + FValue.size(), v);
        if (r.ec != std::errc() || r.ptr != FValue.data() + FValue.size()) Expected("integer");
        WriteStreamInteger(FOut, v);
        Next();
    }

    void WriteRealValue()
    {
        double v = 0;
        const char* first = FValue.data() + (FValue[0] == '+' ? 1 : 0);
        const auto r = std::from_chars(first, FValue.data() + FValue.size(), v);
        if (r.ptr != FValue.data() + FValue.size()) Expected("number");
        if (r.ec == std::errc::result_out_of_range)
            v = FValue.find_first_of("eE") != std::string::npos && FValue.find("e-") == std::string::npos &&
                        FValue.find("E-") == std::string::npos
                    ? (FValue[0] == '-' ? -1 : 1) * std::numeric_limits<double>::infinity()
                    : 0.0;
        else if (r.ec != std::errc()) Expected("number");
        FOut.WriteByte(vaExtended);
        WriteExtended(FOut, v);
        Next();
    }

    // A text joined from pieces ("'a' + 'b'" across lines too). With a character above 127 given by its
    // number it is UTF-8; otherwise its bytes stand as they are.
    void WriteTextValue()
    {
        std::vector<TCode> codes;
        bool unicode = false;
        for (;;) {
            codes.insert(codes.end(), FCodes.begin(), FCodes.end());
            unicode = unicode || FUnicode;
            Next();
            if (!IsSymbol('+')) break;
            Next();
            if (FToken != TTextToken::Text) Expected("text");
        }
        std::string bytes;
        if (unicode) {
            for (const TCode& c : codes) AppendUtf8(bytes, c.Number ? c.Value : AnsiCharToWide(static_cast<unsigned char>(c.Value)));
            FOut.WriteByte(vaUTF8String);
            FOut.WriteInt32(static_cast<std::int32_t>(bytes.size()));
        } else {
            for (const TCode& c : codes) bytes += static_cast<char>(c.Value);
            if (bytes.size() <= 255) {
                FOut.WriteByte(vaString);
                FOut.WriteByte(static_cast<std::uint8_t>(bytes.size()));
            } else {
                FOut.WriteByte(vaLString);
                FOut.WriteInt32(static_cast<std::int32_t>(bytes.size()));
            }
        }
        FOut.WriteBytes(bytes);
    }

    static void AppendUtf8(std::string& Out, std::uint32_t U)
    {
        if (U < 0x80) {
            Out += static_cast<char>(U);
        } else if (U < 0x800) {
            Out += static_cast<char>(0xC0 | U >> 6);
            Out += static_cast<char>(0x80 | (U & 0x3F));
        } else if (U < 0x10000) {
            Out += static_cast<char>(0xE0 | U >> 12);
            Out += static_cast<char>(0x80 | ((U >> 6) & 0x3F));
            Out += static_cast<char>(0x80 | (U & 0x3F));
        } else {
            Out += static_cast<char>(0xF0 | U >> 18);
            Out += static_cast<char>(0x80 | ((U >> 12) & 0x3F));
            Out += static_cast<char>(0x80 | ((U >> 6) & 0x3F));
            Out += static_cast<char>(0x80 | (U & 0x3F));
        }
    }

    void ConvertSet()
    {
        Next();
        FOut.WriteByte(vaSet);
        while (!IsSymbol(']')) {
            WriteShort(Ident("set member"));
            if (IsSymbol(',')) Next();
            else if (!IsSymbol(']')) Expected("']'");
        }
        Next();
        FOut.WriteByte(0);
    }

    void ConvertList(int Depth)
    {
        Next();
        FOut.WriteByte(vaList);
        while (!IsSymbol(')')) ConvertValue(Depth + 1);
        Next();
        FOut.WriteByte(vaNull);
    }

    // Hexadecimal digits up to "}", blanks and line breaks between them ignored.
    void ConvertBinary()
    {
        std::string bytes;
        int high = -1;
        for (;; ++FPos) {
            if (FPos >= FText.size()) Expected("'}'");
            const char c = FText[FPos];
            if (c == '}') break;
            if (c == '\n') ++FLine;
            if (std::isspace(static_cast<unsigned char>(c))) continue;
            if (!std::isxdigit(static_cast<unsigned char>(c))) Expected("hexadecimal digit");
            const int d = std::isdigit(static_cast<unsigned char>(c)) ? c - '0' : (std::toupper(c) - 'A' + 10);
            if (high < 0) high = d;
            else {
                bytes += static_cast<char>(high << 4 | d);
                high = -1;
            }
        }
        if (high >= 0) Expected("even number of hexadecimal digits");
        ++FPos;
        FOut.WriteByte(vaBinary);
        FOut.WriteInt32(static_cast<std::int32_t>(bytes.size()));
        FOut.WriteBytes(bytes);
        Next();
    }

    void ConvertCollection(int Depth)
    {
        Next();
        FOut.WriteByte(vaCollection);
        while (!IsSymbol('>')) {
            if (!IsWord("item")) Expected("'item'");
            Next();
            FOut.WriteByte(vaList);
            ConvertProperties(Depth + 1, "end");
            Next();
        }
        Next();
        FOut.WriteByte(vaNull);
    }

    struct TCode {
        std::uint32_t Value;
        bool Number; // given as #n
    };

    std::string FText;
    TStream& FOut;
    std::size_t FPos = 0;
    int FLine = 1;
    TTextToken FToken = TTextToken::End;
    std::string FValue;
    std::vector<TCode> FCodes;
    bool FUnicode = false;
};

} // namespace

void ObjectBinaryToText(TStream& Input, TStream& Output)
{
    try {
        TBinaryToText(Input, Output).Convert();
    } catch (const EReadError&) {
        throw;
    } catch (const EStreamError& e) {
        throw EReadError("Invalid stream format: " + e.Message());
    }
}

void ObjectTextToBinary(TStream& Input, TStream& Output)
{
    TTextToBinary(Input.ReadBytes(Input.Size() - Input.Position()), Output).Convert();
}
