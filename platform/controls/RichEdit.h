// TRichEdit: the class library's rich edit over a native text editor: styled runs in paragraphs, loaded
// and saved as rich text (RTF) in the subset RichText.h reads and writes, the plain text, the selection
// and its font style, a formatting rectangle, and the size its contents ask for. Qt-free.
#pragma once

#include "platform/controls/Controls.h"
#include "platform/graphics/GraphicsObjects.h"
#include "platform/graphics/RichText.h"

#include <functional>
#include <string>

class TRichEdit : public TWinControl {
    VSP_PERSISTENT_CLASS
public:
    // 185 x 89 pixels.
    explicit TRichEdit(TComponent* AOwner);
    ~TRichEdit() override;

    // The plain text, paragraphs joined by CR LF; writing it replaces the contents in the default look.
    std::string Text() const override;
    void SetText(const std::string& v) override;
    TRichDocument Document() const;
    void SetDocument(const TRichDocument& v);
    // Rich text as RTF; LoadRichText takes text that is no RTF as plain text, and empty text clears.
    std::string RichText() const;
    void LoadRichText(const std::string& v);
    void Clear() { SetText(""); }

    int SelStart() const;
    void SetSelStart(int v);
    int SelLength() const;
    void SetSelLength(int v);
    void SelectAll();
    // The font style of the selection, and writing it on the selection.
    TFontStyles SelStyle() const;
    void SetSelStyle(TFontStyles v);
    // Keep the selection shown while the control has no focus.
    bool HideSelection() const { return FHideSelection; }
    void SetHideSelection(bool v);
    bool BorderVisible() const { return FBorder; }
    void SetBorderVisible(bool v);
    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool v);
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool v);
    // The default look of the text.
    void SetFont(const TFont& font);
    // The area the text is laid out in, in client pixels (the rest is margin).
    void SetFormatRect(const TRect& r);

    TNotifyEvent OnChange, OnSelectionChange;
    // The contents' size changed: the rectangle they ask for (left and top at the format rectangle's).
    std::function<void(TPersistent* Sender, const TRect& Requested)> OnResizeRequest;

    struct Native;

protected:
    virtual void Change();
    virtual void RequestSize(const TRect& Requested);

private:
    bool FHideSelection = true, FBorder = true, FWordWrap = true, FReadOnly = false;
    TRect FFormatRect{0, 0, 0, 0};
};
