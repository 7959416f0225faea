// TSpeedButton: the class library's tool-bar button with a glyph and a caption, flat or raised, that can
// stay down alone or as one of a group of buttons of which at most one is down. Qt-free.
#pragma once

#include "platform/controls/Controls.h"

#include <memory>
#include <string>

class TBitmap;

enum TButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };
inline const TEnumNames ButtonLayoutNames{"blGlyphLeft", "blGlyphRight", "blGlyphTop", "blGlyphBottom"};

class TSpeedButton : public TCustomControl {
    VSP_PERSISTENT_CLASS
public:
    explicit TSpeedButton(TComponent* AOwner);
    ~TSpeedButton() override;

    const std::string& Caption() const { return FCaption; }
    void SetCaption(const std::string& v);
    // The picture beside the caption; its bottom-left pixel's colour is transparent.
    TBitmap& Glyph();
    void SetGlyph(const TBitmap& v);
    bool HasGlyph() const;
    TButtonLayout Layout() const { return FLayout; }
    void SetLayout(TButtonLayout v);
    // Flat: the frame shows only under the mouse and while down.
    bool Flat() const { return FFlat; }
    void SetFlat(bool v);

    // Buttons of one parent with the same GroupIndex other than 0 form a group: a button pressed down
    // raises the one that was down. With AllowAllUp a click on the down button raises it; without, a
    // down button stays down when clicked.
    int GroupIndex() const { return FGroupIndex; }
    void SetGroupIndex(int v);
    bool AllowAllUp() const { return FAllowAllUp; }
    void SetAllowAllUp(bool v);
    // Only a button of a group can be down; setting it raises the others of the group.
    bool Down() const { return FDown; }
    void SetDown(bool v);

    // The mouse is over the enabled button (a flat button shows its frame).
    bool MouseInControl() const { return FMouseInControl; }
    // The button shows down: it is down, or held by the left button with the mouse over it.
    bool ShownDown() const { return FDown || (FPressed && FMouseInControl); }
    // The left button went down on the button and has not come up: the button holds the mouse.
    bool Pressed() const { return FPressed; }

    // Fires OnClick, as a release of the left button over the button does after updating Down.
    void Click() override;

protected:
    void Paint() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseEnter() override;
    void MouseLeave() override;
    void EnabledChanged() override;
    // The button makes its click itself, after Down has changed.
    bool ClickOnRelease() const override { return false; }

private:
    void RaiseGroupSiblings();
    void DrawGlyph(int x, int y);

    std::string FCaption;
    std::unique_ptr<TBitmap> FGlyph;
    TButtonLayout FLayout = blGlyphLeft;
    bool FFlat = false;
    int FGroupIndex = 0;
    bool FAllowAllUp = false;
    bool FDown = false;
    bool FPressed = false;
    bool FMouseInControl = false;
};
