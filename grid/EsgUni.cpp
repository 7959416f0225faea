// Unicode text for the grid's editors: the wide string list and its 8-bit view, the locale compare, the
// list's stream property, and the Unicode edit and combo box.
#include "grid/EsgUni.h"

#include "platform/controls/Collation.h"
#include "platform/rtl/AnsiText.h"
#include "platform/rtl/PropertyStream.h"
#include "platform/rtl/StringList.h"
#include "platform/rtl/Streams.h"

#include <algorithm>
#include <cstring>
#include <functional>

// ---- Comparing ---------------------------------------------------------------------------------------

int WideTextCompareNative(const std::u16string& A, const std::u16string& B, const std::string& Locale)
{
    return LocaleCompare(A, B, true, Locale);
}

int WideTextCompareAnsi(const std::u16string& A, const std::u16string& B, const std::string& Locale)
{
    // Through the locale's 8-bit code page and back: characters it lacks compare as '?'.
    return LocaleCompare(AnsiToWide(WideToAnsi(A)), AnsiToWide(WideToAnsi(B)), true, Locale);
}

int WideTextCompare(const std::u16string& A, const std::u16string& B, const std::string& Locale)
{
    return WideTextCompareNative(A, B, Locale);
}

int AnsiCodePageOfLocale(const std::string&) { return 1252; }

std::unique_ptr<char16_t[]> WideBufNew(const char16_t* Text)
{
    std::size_t n = 0;
    if (Text)
        while (Text[n]) ++n;
    auto buf = std::make_unique<char16_t[]>(n + 1);
    if (n) std::memcpy(buf.get(), Text, n * sizeof(char16_t));
    buf[n] = 0;
    return buf;
}

// ---- TWideStrings ------------------------------------------------------------------------------------

const TClassInfo& TWideStrings::StaticClassInfo()
{
    using P = TProps<TWideStrings>;
    static const TClassInfo info({
        .Name = "TWideStrings",
        .Parent = &TPersistent::StaticClassInfo(),
        .Defined = {P::DefinedRaw("WideStrings", &TWideStrings::ReadStrings, &TWideStrings::WriteStrings,
                                  [](const TWideStrings& s) { return s.GetCount() > 0; })},
    });
    return info;
}

TWideStrings::TWideStrings() : FAnsiStrings(std::make_unique<TAnsiStringsForWideStrings>(this)), FLanguage(UserDefaultLocale()) {}

TWideStrings::~TWideStrings() = default;

std::u16string TWideStrings::GetTextStr() const
{
    std::u16string out;
    for (int i = 0; i < GetCount(); ++i) out += Get(i) + u"\r\n";
    return out;
}

void TWideStrings::Put(int Index, const std::u16string& S)
{
    TPersistent* o = GetObject(Index);
    Delete(Index);
    InsertObject(Index, S, o);
}

void TWideStrings::SetTextStr(const std::u16string& Value)
{
    BeginUpdate();
    try {
        Clear();
        const std::u16string text = Value.substr(0, Value.find(u'\0'));
        std::size_t start = 0, i = 0;
        while (i < text.size()) {
            const char16_t c = text[i];
            const bool br = c == u'\r' || c == u'\n' || c == 11 || c == 12 || c == 0x2028 || c == 0x2029;
            if (!br) {
                ++i;
                continue;
            }
            Add(text.substr(start, i - start));
            i += c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n' ? 2 : 1;
            start = i;
        }
        if (start < text.size()) Add(text.substr(start));
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

int TWideStrings::Add(const std::u16string& S)
{
    const int at = GetCount();
    Insert(at, S);
    return at;
}

int TWideStrings::AddObject(const std::u16string& S, TPersistent* AObject)
{
    const int at = Add(S);
    PutObject(at, AObject);
    return at;
}

void TWideStrings::AddStrings(const TStringList& Strings)
{
    BeginUpdate();
    try {
        for (int i = 0; i < Strings.Count(); ++i) Add(AnsiToWide(Strings[i]));
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

void TWideStrings::AddStrings(const TWideStrings& Strings)
{
    BeginUpdate();
    try {
        for (int i = 0; i < Strings.GetCount(); ++i) AddObject(Strings.Get(i), Strings.GetObject(i));
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

void TWideStrings::Exchange(int Index1, int Index2)
{
    BeginUpdate();
    try {
        const std::u16string s = Get(Index1);
        TPersistent* o = GetObject(Index1);
        Put(Index1, Get(Index2));
        PutObject(Index1, GetObject(Index2));
        Put(Index2, s);
        PutObject(Index2, o);
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

std::unique_ptr<char16_t[]> TWideStrings::GetText() const { return WideBufNew(GetTextStr().c_str()); }

int TWideStrings::IndexOf(const std::u16string& S) const
{
    for (int i = 0; i < GetCount(); ++i)
        if (WideTextCompare(Get(i), S, FLanguage) == 0) return i;
    return -1;
}

void TWideStrings::Move(int CurIndex, int NewIndex)
{
    if (CurIndex == NewIndex) return;
    BeginUpdate();
    try {
        const std::u16string s = Get(CurIndex);
        TPersistent* o = GetObject(CurIndex);
        Delete(CurIndex);
        InsertObject(NewIndex, s, o);
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

void TWideStrings::SetText(const char16_t* Text) { SetTextStr(Text ? std::u16string(Text) : std::u16string()); }

void TWideStrings::BeginUpdate()
{
    if (FUpdateCount == 0) SetUpdateState(true);
    ++FUpdateCount;
}

void TWideStrings::EndUpdate()
{
    --FUpdateCount;
    if (FUpdateCount == 0) SetUpdateState(false);
}

bool TWideStrings::Equals(const TWideStrings& Other) const
{
    if (GetCount() != Other.GetCount()) return false;
    for (int i = 0; i < GetCount(); ++i)
        if (Get(i) != Other.Get(i)) return false;
    return true;
}

void TWideStrings::InsertObject(int Index, const std::u16string& S, TPersistent* AObject)
{
    Insert(Index, S);
    PutObject(Index, AObject);
}

void TWideStrings::SetAnsiStrings(const TStringList& Value) { Assign(Value); }

void TWideStrings::Assign(const TPersistent& Source)
{
    auto bracket = [this](const std::function<void()>& fill) {
        BeginUpdate();
        try {
            Clear();
            fill();
        } catch (...) {
            EndUpdate();
            throw;
        }
        EndUpdate();
    };
    if (const auto* w = dynamic_cast<const TWideStrings*>(&Source)) {
        if (w == this) return;
        bracket([&] { AddStrings(*w); });
    } else if (const auto* view = dynamic_cast<const TAnsiStringsForWideStrings*>(&Source)) {
        if (view->WideStringsOwner() == this) return;
        bracket([&] {
            for (int i = 0; i < view->Count(); ++i) AddObject(AnsiToWide(view->Strings(i)), view->Objects(i));
        });
    } else if (const auto* list = dynamic_cast<const TStringList*>(&Source)) {
        bracket([&] { AddStrings(*list); });
    } else TPersistent::Assign(Source);
}

void TWideStrings::AssignTo(TPersistent& Dest) const
{
    if (auto* list = dynamic_cast<TStringList*>(&Dest)) {
        list->BeginUpdate();
        list->Clear();
        for (int i = 0; i < GetCount(); ++i) list->Add(WideToAnsi(Get(i)));
        list->EndUpdate();
    } else if (auto* w = dynamic_cast<TWideStrings*>(&Dest)) {
        w->Assign(*this);
    } else TPersistent::AssignTo(Dest);
}

// The list as the stream holds it: vaList, one vaWString per string (a 32-bit count of UTF-16 units,
// little-endian units), vaNull. Reading also takes 8-bit strings (vaString, vaLString) and UTF-8 ones.
void TWideStrings::WriteStrings(TStream& Stream) const
{
    Stream.WriteByte(vaList);
    for (int i = 0; i < GetCount(); ++i) {
        const std::u16string s = Get(i);
        Stream.WriteByte(vaWString);
        Stream.WriteInt32(static_cast<std::int32_t>(s.size()));
        for (char16_t c : s) Stream.WriteWord(static_cast<std::uint16_t>(c));
    }
    Stream.WriteByte(vaNull);
}

void TWideStrings::ReadStrings(TStream& Stream)
{
    if (Stream.ReadByte() != vaList) throw EReadError("WideStrings: list expected");
    auto length = [&](std::int64_t unit) {
        const std::int32_t n = Stream.ReadInt32();
        if (n < 0 || n * unit > Stream.Size() - Stream.Position()) throw EReadError("WideStrings: bad string length");
        return n;
    };
    std::vector<std::u16string> items;
    for (;;) {
        const std::uint8_t tag = Stream.ReadByte();
        if (tag == vaNull) break;
        if (tag == vaString) {
            items.push_back(AnsiToWide(Stream.ReadBytes(Stream.ReadByte())));
        } else if (tag == vaLString) {
            items.push_back(AnsiToWide(Stream.ReadBytes(length(1))));
        } else if (tag == vaWString) {
            std::u16string s(static_cast<std::size_t>(length(2)), u'\0');
            for (char16_t& c : s) c = static_cast<char16_t>(Stream.ReadWord());
            items.push_back(std::move(s));
        } else if (tag == vaUTF8String) {
            const std::string bytes = Stream.ReadBytes(length(1));
            std::u16string s;
            for (std::size_t i = 0; i < bytes.size();) {
                const auto b = static_cast<unsigned char>(bytes[i]);
                const int extra = b >= 0xF0 ? 3 : b >= 0xE0 ? 2 : b >= 0xC0 ? 1 : 0;
                char32_t cp = extra == 0 ? b : b & (0x3F >> extra);
                for (int k = 1; k <= extra && i + static_cast<std::size_t>(k) < bytes.size(); ++k)
                    cp = (cp << 6) | (static_cast<unsigned char>(bytes[i + static_cast<std::size_t>(k)]) & 0x3F);
                i += static_cast<std::size_t>(extra) + 1;
                if (cp >= 0x10000) {
                    cp -= 0x10000;
                    s += static_cast<char16_t>(0xD800 + (cp >> 10));
                    s += static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
                } else s += static_cast<char16_t>(cp);
            }
            items.push_back(std::move(s));
        } else throw EReadError("WideStrings: string expected");
    }
    BeginUpdate();
    try {
        Clear();
        for (const std::u16string& s : items) Add(s);
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

// ---- The 8-bit view ----------------------------------------------------------------------------------

const TClassInfo& TAnsiStringsForWideStrings::StaticClassInfo()
{
    static const TClassInfo info({.Name = "TAnsiStringsForWideStrings", .Parent = &TPersistent::StaticClassInfo()});
    return info;
}

std::string TAnsiStringsForWideStrings::Strings(int Index) const { return WideToAnsi(FOwner->Get(Index)); }

int TAnsiStringsForWideStrings::Add(const std::string& S) { return FOwner->Add(AnsiToWide(S)); }

void TAnsiStringsForWideStrings::Insert(int Index, const std::string& S) { FOwner->Insert(Index, AnsiToWide(S)); }

int TAnsiStringsForWideStrings::IndexOf(const std::string& S) const { return FOwner->IndexOf(AnsiToWide(S)); }

void TAnsiStringsForWideStrings::AssignTo(TPersistent& Dest) const
{
    if (dynamic_cast<TStringList*>(&Dest) || dynamic_cast<TWideStrings*>(&Dest)) {
        Dest.Assign(*FOwner);
        return;
    }
    TPersistent::AssignTo(Dest);
}

// ---- The Unicode edit --------------------------------------------------------------------------------

const TClassInfo& TCustomUNIEdit::StaticClassInfo()
{
    static const TClassInfo info({.Name = "TCustomUNIEdit", .Parent = &TCustomEdit::StaticClassInfo()});
    return info;
}

const TClassInfo& TEsgUniEdit::StaticClassInfo()
{
    static const TClassInfo info({.Name = "TEsgUniEdit", .Parent = &TCustomUNIEdit::StaticClassInfo(),
                                  .Create = &CreateComponentOf<TEsgUniEdit>});
    return info;
}

namespace {

// The key-press step of a Unicode control: character 255 stands for one the code page lacks. Returns
// the 8-bit character the step left (0: dropped) and whether the step changed it.
char WideKeyPress(char16_t Key, bool& Changed, const std::function<void(char&)>& keyPress)
{
    const std::string ansi = WideToAnsi(std::u16string(1, Key));
    const bool outside = ansi == "?" && Key != u'?';
    char ch = outside ? '\xFF' : ansi[0];
    const char before = ch;
    keyPress(ch);
    Changed = ch != before;
    return ch;
}

} // namespace

void TCustomUNIEdit::WMCharWide(char16_t& Key)
{
    bool changed = false;
    const char ch = WideKeyPress(Key, changed, [this](char& c) { WMChar(c); });
    if (!changed) return;
    // A changed character is typed in place of the one that arrived (the wide one is dropped).
    Key = 0;
    if (ch != 0) SetSelText(std::string(1, ch));
}

// ---- The Unicode combo box ---------------------------------------------------------------------------

const TClassInfo& TComboBoxStrings::StaticClassInfo()
{
    static const TClassInfo info({.Name = "TComboBoxStrings", .Parent = &TWideStrings::StaticClassInfo()});
    return info;
}

std::u16string TComboBoxStrings::Get(int Index) const
{
    if (Index < 0 || Index >= FCombo->ItemCount()) return {};
    return FCombo->ItemWide(Index);
}

int TComboBoxStrings::GetCount() const { return FCombo->ItemCount(); }

TPersistent* TComboBoxStrings::GetObject(int Index) const { return FCombo->ItemObject(Index); }

void TComboBoxStrings::PutObject(int Index, TPersistent* AObject) { FCombo->SetItemObject(Index, AObject); }

int TComboBoxStrings::Add(const std::u16string& S) { return FCombo->AddItemWide(S); }

void TComboBoxStrings::Insert(int Index, const std::u16string& S) { FCombo->InsertItemWide(Index, S); }

void TComboBoxStrings::Delete(int Index) { FCombo->DeleteItem(Index); }

void TComboBoxStrings::Clear()
{
    const std::u16string text = FCombo->TextWide();
    FCombo->ClearItems();
    FCombo->SetTextWide(text);
    FCombo->Update();
}

int TComboBoxStrings::IndexOf(const std::u16string& S) const { return FCombo->FindItemExact(S); }

const TClassInfo& TCustomUNIComboBox::StaticClassInfo()
{
    static const TClassInfo info({.Name = "TCustomUNIComboBox", .Parent = &TComboBox::StaticClassInfo()});
    return info;
}

TCustomUNIComboBox::TCustomUNIComboBox(TComponent* AOwner) : TComboBox(AOwner), FItems(std::make_unique<TComboBoxStrings>(this)) {}

TCustomUNIComboBox::~TCustomUNIComboBox() = default;

void TCustomUNIComboBox::WMCharWide(char16_t& Key)
{
    bool changed = false;
    if (WideKeyPress(Key, changed, [this](char& c) { WMChar(c); }) == 0) Key = 0;
}

void TCustomUNIComboBox::KeyPress(char& Key) { TComboBox::KeyPress(Key); }

void TCustomUNIComboBox::Select()
{
    if (ItemIndex() >= 0) SetTextWide(ItemWide(ItemIndex()));
    Click();
    TComboBox::Select();
}

const TClassInfo& TESGUniCustomCombo::StaticClassInfo()
{
    static const TClassInfo info({.Name = "TESGUniCustomCombo", .Parent = &TCustomUNIComboBox::StaticClassInfo()});
    return info;
}

const TClassInfo& TESGUniComboBox::StaticClassInfo()
{
    static const TClassInfo info({.Name = "TESGUniComboBox", .Parent = &TESGUniCustomCombo::StaticClassInfo(),
                                  .Create = &CreateComponentOf<TESGUniComboBox>});
    return info;
}
