// TCustomEdit: the class library's single-line edit control over a native edit window: text, selection,
// caret, length limit, alignment, password character, read-only, border, and the key events of
// TWinControl (a key cleared in KeyDown or KeyPress never reaches the edit). Qt-free.
#pragma once

#include "platform/controls/Controls.h"
#include "platform/graphics/GraphicsObjects.h"

#include <string>

enum TAlignment { taLeftJustify, taRightJustify, taCenter };
inline const TEnumNames AlignmentNames{"taLeftJustify", "taRightJustify", "taCenter"};

class TCustomEdit : public TWinControl {
    VSP_PERSISTENT_CLASS
public:
    // 121 x 21 pixels.
    explicit TCustomEdit(TComponent* AOwner);

    std::string Text() const override;
    void SetText(const std::string& v) override;
    // The text in Unicode (Text gives its 8-bit form).
    std::u16string WideText() const;
    void SetWideText(const std::u16string& v);
    // The room the text keeps from the left and right edges (the edit's formatting rectangle), pixels.
    void SetTextMargins(int Left, int Right);
    // Selection in characters; the caret stands at SelStart + SelLength.
    int SelStart() const;
    void SetSelStart(int v);
    int SelLength() const;
    void SetSelLength(int v);
    std::string SelText() const;
    // Replaces the selection (or inserts at the caret) as typing would, without the key events.
    void SetSelText(const std::string& v);
    void SelectAll();
    // 0: no limit.
    int MaxLength() const { return FMaxLength; }
    void SetMaxLength(int v);
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment v);
    // 0: the text shows as it is.
    char PasswordChar() const { return FPasswordChar; }
    void SetPasswordChar(char v);
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool v);
    bool BorderVisible() const { return FBorder; }
    void SetBorderVisible(bool v);
    bool Modified() const { return FModified; }
    void SetModified(bool v) { FModified = v; }
    // The font the edit shows its text in.
    void SetFont(const TFont& font);
    // Character index under a client point (-1 outside the text), and the client point of a character.
    int CharFromPos(int x, int y) const;
    TPoint PosFromChar(int index) const;

    TNotifyEvent OnChange;

protected:
    // The text changed (typed or set): fires OnChange.
    virtual void Change();

private:
    struct Native;
    int FMaxLength = 0;
    TAlignment FAlignment = taLeftJustify;
    char FPasswordChar = 0;
    bool FReadOnly = false;
    bool FBorder = true;
    bool FModified = false;
};
