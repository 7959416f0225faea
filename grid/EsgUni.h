// Unicode text for the grid's editors: TWideStrings, an index-based list of UTF-16 strings with an
// object per entry, update brackets, a text form split at every line break, an 8-bit view and its own
// stream property; the locale's case-insensitive compare; and the Unicode edit and combo box, whose
// key-press step sees character 255 for a character outside the code page. Qt-free.
#pragma once

#include "grid/asgcombo.h"
#include "platform/controls/Edit.h"
#include "platform/controls/StdCtrls.h"
#include "platform/rtl/Classes.h"

#include <memory>
#include <string>

class TAnsiStringsForWideStrings;
class TStringList;
class TStream;

// -1, 0 or 1 comparing two texts by the locale's collation without letter case; -2 when the compare
// fails. The unit's compare, WideTextCompareNative, works on the Unicode texts; WideTextCompareAnsi on
// their forms in the locale's 8-bit code page.
int WideTextCompare(const std::u16string& A, const std::u16string& B, const std::string& Locale);
int WideTextCompareNative(const std::u16string& A, const std::u16string& B, const std::string& Locale);
int WideTextCompareAnsi(const std::u16string& A, const std::u16string& B, const std::string& Locale);
// The 8-bit code page of a locale: the program's 8-bit text is Windows-1252 for every locale.
int AnsiCodePageOfLocale(const std::string& Locale);
// A new zero-terminated copy of a zero-terminated text (nullptr: an empty one).
std::unique_ptr<char16_t[]> WideBufNew(const char16_t* Text);

class TWideStrings : public TPersistent {
    VSP_PERSISTENT_CLASS
public:
    TWideStrings();
    ~TWideStrings() override;
    TWideStrings(const TWideStrings&) = delete;
    TWideStrings& operator=(const TWideStrings&) = delete;

    // --- What a descendant keeps.
    virtual std::u16string Get(int Index) const = 0;
    virtual int GetCapacity() const { return GetCount(); }
    virtual int GetCount() const = 0;
    virtual TPersistent* GetObject(int) const { return nullptr; }
    // Every string followed by CR LF.
    virtual std::u16string GetTextStr() const;
    // Takes the object along: Delete, then InsertObject.
    virtual void Put(int Index, const std::u16string& S);
    virtual void PutObject(int, TPersistent*) {}
    virtual void SetCapacity(int) {}
    // Inside an update: Clear, then one string per piece between line breaks (CR LF, CR, LF, VT, FF,
    // U+2028, U+2029); a break at the very end adds none; the text ends at its first zero.
    virtual void SetTextStr(const std::u16string& Value);
    virtual void SetUpdateState(bool) {}
    virtual void SetLanguage(const std::string& Value) { FLanguage = Value; }
    virtual int Add(const std::u16string& S);
    virtual int AddObject(const std::u16string& S, TPersistent* AObject);
    virtual void AddStrings(const TStringList& Strings);
    virtual void AddStrings(const TWideStrings& Strings);
    virtual void Clear() = 0;
    virtual void Delete(int Index) = 0;
    virtual void Exchange(int Index1, int Index2);
    virtual std::unique_ptr<char16_t[]> GetText() const;
    // The first string equal to S by WideTextCompare under Language; -1 when none.
    virtual int IndexOf(const std::u16string& S) const;
    virtual void Insert(int Index, const std::u16string& S) = 0;
    virtual void Move(int CurIndex, int NewIndex);
    virtual void SetText(const char16_t* Text);

    void BeginUpdate();
    void EndUpdate();
    int UpdateCount() const { return FUpdateCount; }
    // Same count and the same strings, character for character.
    bool Equals(const TWideStrings& Other) const;
    void InsertObject(int Index, const std::u16string& S, TPersistent* AObject);

    int Count() const { return GetCount(); }
    std::u16string Strings(int Index) const { return Get(Index); }
    TPersistent* Objects(int Index) const { return GetObject(Index); }
    std::u16string Text() const { return GetTextStr(); }
    void SetText(const std::u16string& Value) { SetTextStr(Value); }
    // The locale of IndexOf: the user's until set.
    const std::string& Language() const { return FLanguage; }
    // The list seen as 8-bit strings (converted both ways); writing it assigns.
    TAnsiStringsForWideStrings& AnsiStrings() { return *FAnsiStrings; }
    const TAnsiStringsForWideStrings& AnsiStrings() const { return *FAnsiStrings; }
    void SetAnsiStrings(const TStringList& Value);

    // From a TWideStrings (objects kept), from its 8-bit view (objects kept) or from a TStringList.
    void Assign(const TPersistent& Source) override;

    // The stream property "WideStrings" (a list of wide strings; 8-bit strings are read too).
    void WriteStrings(TStream& Stream) const;
    void ReadStrings(TStream& Stream);

protected:
    // To a TStringList (converted to 8-bit text) or a TWideStrings.
    void AssignTo(TPersistent& Dest) const override;

private:
    std::unique_ptr<TAnsiStringsForWideStrings> FAnsiStrings;
    std::string FLanguage;
    int FUpdateCount = 0;
};

// The 8-bit view of a TWideStrings: every operation goes to the list it views, converting the text.
class TAnsiStringsForWideStrings : public TPersistent {
    VSP_PERSISTENT_CLASS
public:
    explicit TAnsiStringsForWideStrings(TWideStrings* Owner) : FOwner(Owner) {}
    TWideStrings* WideStringsOwner() const { return FOwner; }

    int Count() const { return FOwner->GetCount(); }
    std::string Strings(int Index) const;
    TPersistent* Objects(int Index) const { return FOwner->GetObject(Index); }
    int Add(const std::string& S);
    void Insert(int Index, const std::string& S);
    void Delete(int Index) { FOwner->Delete(Index); }
    void Clear() { FOwner->Clear(); }
    int IndexOf(const std::string& S) const;

    void Assign(const TPersistent& Source) override { FOwner->Assign(Source); }

protected:
    void AssignTo(TPersistent& Dest) const override;

private:
    TWideStrings* FOwner;
};

// ---- The Unicode edit --------------------------------------------------------------------------------

class TCustomUNIEdit : public TCustomEdit {
    VSP_PERSISTENT_CLASS
public:
    explicit TCustomUNIEdit(TComponent* AOwner) : TCustomEdit(AOwner) {}
    std::u16string Text16() const { return WideText(); }
    void SetText16(const std::u16string& v) { SetWideText(v); }

protected:
    // The key-press step sees character 255 for a character the code page lacks; clearing the key drops
    // the character, any other answer types the character itself.
    void WMCharWide(char16_t& Key) override;
};

class TEsgUniEdit : public TCustomUNIEdit {
    VSP_PERSISTENT_CLASS
public:
    using TCustomUNIEdit::TCustomUNIEdit;
};

// ---- The Unicode combo box ---------------------------------------------------------------------------

class TCustomUNIComboBox;

// The items of a Unicode combo box: the combo box's own list, in Unicode.
class TComboBoxStrings : public TWideStrings {
    VSP_PERSISTENT_CLASS
public:
    explicit TComboBoxStrings(TCustomUNIComboBox* Combo) : FCombo(Combo) {}
    std::u16string Get(int Index) const override;
    int GetCount() const override;
    TPersistent* GetObject(int Index) const override;
    void PutObject(int Index, TPersistent* AObject) override;
    int Add(const std::u16string& S) override;
    void Insert(int Index, const std::u16string& S) override;
    void Delete(int Index) override;
    // Keeps the combo box's text.
    void Clear() override;
    // The combo box's exact match without letter case.
    int IndexOf(const std::u16string& S) const override;

private:
    TCustomUNIComboBox* FCombo;
};

class TCustomUNIComboBox : public TComboBox {
    VSP_PERSISTENT_CLASS
public:
    explicit TCustomUNIComboBox(TComponent* AOwner);
    ~TCustomUNIComboBox() override;
    TWideStrings& WideItems() { return *FItems; }
    const TWideStrings& WideItems() const { return *FItems; }
    void SetWideItems(const TWideStrings& v) { FItems->Assign(v); }
    std::u16string Text16() const { return TextWide(); }
    void SetText16(const std::u16string& v) { SetTextWide(v); }

protected:
    void WMCharWide(char16_t& Key) override;
    // Backspace only fires OnKeyPress.
    void KeyPress(char& Key) override;
    // A chosen item: its wide text becomes the text, then Click and Change.
    void Select() override;

private:
    std::unique_ptr<TComboBoxStrings> FItems;
};

// The flat Unicode combo box; its drop-down button shows raised only while the mouse is over it or it is
// the active control.
class TESGUniCustomCombo : public TFlatComboLook<TCustomUNIComboBox> {
    VSP_PERSISTENT_CLASS
public:
    explicit TESGUniCustomCombo(TComponent* AOwner) : TFlatComboLook<TCustomUNIComboBox>(AOwner) {}

protected:
    bool ButtonIsRaised() const override { return MouseInControl() || Focused(); }
};

class TESGUniComboBox : public TESGUniCustomCombo {
    VSP_PERSISTENT_CLASS
public:
    using TESGUniCustomCombo::TESGUniCustomCombo;
};
