// Windowed controls of the platform layer: TWinControl (a component with a window: geometry, parent,
// colour, cursor, window region, and the mouse, key, wheel, focus and size events as virtual methods),
// TCustomControl (custom drawn through a TCanvas on a back buffer) and TCustomPanel (the panel frame
// properties). Qt-free: the Qt widget behind a control is reached only by platform code.
#pragma once

#include "platform/graphics/GraphicsTypes.h"
#include "platform/rtl/Classes.h"
#include "platform/rtl/Sets.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class QWidget;
class TCanvas;
class TRegion;
struct THintInfo;
class TDropTarget;

// ---- Input vocabulary --------------------------------------------------------------------------------

enum TMouseButton { mbLeft, mbRight, mbMiddle };
enum TShiftStateItem { ssShift, ssAlt, ssCtrl, ssLeft, ssRight, ssMiddle, ssDouble };
using TShiftState = TSet<TShiftStateItem>;
inline const TEnumNames ShiftStateNames{"ssShift", "ssAlt", "ssCtrl", "ssLeft", "ssRight", "ssMiddle", "ssDouble"};

// Virtual key codes of KeyDown and KeyUp (letters and digits are their upper-case characters).
enum : std::uint16_t {
    VK_BACK = 0x08, VK_TAB = 0x09, VK_RETURN = 0x0D, VK_SHIFT = 0x10, VK_CONTROL = 0x11, VK_MENU = 0x12,
    VK_PAUSE = 0x13, VK_CAPITAL = 0x14, VK_ESCAPE = 0x1B, VK_SPACE = 0x20, VK_PRIOR = 0x21, VK_NEXT = 0x22,
    VK_END = 0x23, VK_HOME = 0x24, VK_LEFT = 0x25, VK_UP = 0x26, VK_RIGHT = 0x27, VK_DOWN = 0x28,
    VK_INSERT = 0x2D, VK_DELETE = 0x2E, VK_NUMPAD0 = 0x60, VK_MULTIPLY = 0x6A, VK_ADD = 0x6B,
    VK_SUBTRACT = 0x6D, VK_DECIMAL = 0x6E, VK_DIVIDE = 0x6F, VK_F1 = 0x70, VK_F12 = 0x7B
};

// Cursors: the class library's standard cursors are negative; programs register their own under
// positive numbers in the screen's cursor table (Screen.h).
using TCursor = int;
constexpr TCursor crDefault = 0, crNone = -1, crArrow = -2, crCross = -3, crIBeam = -4, crSize = -22,
                  crSizeNESW = -6, crSizeNS = -7, crSizeNWSE = -8, crSizeWE = -9, crUpArrow = -10,
                  crHourGlass = -11, crDrag = -12, crNoDrop = -13, crHSplit = -14, crVSplit = -15,
                  crMultiDrag = -16, crSQLWait = -17, crNo = -18, crAppStart = -19, crHelp = -20,
                  crHandPoint = -21, crSizeAll = -22;

// Panel bevels.
enum TBevelCut { bvNone, bvLowered, bvRaised, bvSpace };
inline const TEnumNames BevelCutNames{"bvNone", "bvLowered", "bvRaised", "bvSpace"};
// Window borders of controls.
enum TBorderStyle { bsNone, bsSingle };
inline const TEnumNames BorderStyleNames{"bsNone", "bsSingle"};

// ---- Events ------------------------------------------------------------------------------------------

using TMouseEvent = std::function<void(TPersistent* Sender, TMouseButton Button, TShiftState Shift, int X, int Y)>;
using TMouseMoveEvent = std::function<void(TPersistent* Sender, TShiftState Shift, int X, int Y)>;
using TKeyEvent = std::function<void(TPersistent* Sender, std::uint16_t& Key, TShiftState Shift)>;
using TKeyPressEvent = std::function<void(TPersistent* Sender, char& Key)>;
// MousePos in screen coordinates; set Handled to stop further handling.
using TMouseWheelEvent =
    std::function<void(TPersistent* Sender, TShiftState Shift, int WheelDelta, TPoint MousePos, bool& Handled)>;
using TMouseWheelUpDownEvent = std::function<void(TPersistent* Sender, TShiftState Shift, TPoint MousePos, bool& Handled)>;

// ---- TWinControl -------------------------------------------------------------------------------------

class TWinControl : public TComponent {
    VSP_PERSISTENT_CLASS
public:
    explicit TWinControl(TComponent* AOwner);
    // Detaches the child controls (they belong to their owners, not to the parent) and destroys the window.
    ~TWinControl() override;

    // --- Parent: another control, or a plain window of form code. Without a parent nothing is shown.
    TWinControl* Parent() const { return FParent; }
    void SetParent(TWinControl* parent);
    void SetParentWidget(QWidget* parent);
    bool HasParent() const;
    int ControlCount() const { return static_cast<int>(FControls.size()); }
    TWinControl* Controls(int index) const;

    // --- Geometry, in the parent's client pixels. The client area is the whole control.
    int Left() const;
    int Top() const;
    int Width() const;
    int Height() const;
    void SetLeft(int v);
    void SetTop(int v);
    void SetWidth(int v);
    void SetHeight(int v);
    void SetBounds(int left, int top, int width, int height);
    TRect ClientRect() const { return {0, 0, Width(), Height()}; }
    int ClientWidth() const { return Width(); }
    int ClientHeight() const { return Height(); }
    TPoint ClientToScreen(TPoint p) const;
    TPoint ScreenToClient(TPoint p) const;

    // --- Appearance and state.
    bool Visible() const { return FVisible; }
    void SetVisible(bool v);
    void Show() { SetVisible(true); }
    void Hide() { SetVisible(false); }
    bool Showing() const;
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool v);
    TColor Color() const { return FColor; }
    void SetColor(TColor v);
    TCursor Cursor() const { return FCursor; }
    void SetCursor(TCursor v);
    const std::string& Hint() const { return FHint; }
    void SetHint(const std::string& v);
    // Whether the control's hint may show (the application's switch must be on too).
    bool ShowHint() const { return FShowHint; }
    void SetShowHint(bool v) { FShowHint = v; }
    // The hint about to show for the control (the application's hint flow calls it): HintShow may
    // change the text, the cursor rectangle and the position, or refuse.
    void PrepareHint(THintInfo& info, bool& canShow) { HintShow(info, canShow); }
    // A control with a hint window of its own shows the prepared hint there and answers true; the
    // application then shows no tool tip. HideOwnHint takes it away again.
    virtual bool ShowOwnHint(const THintInfo& info) { (void)info; return false; }
    virtual void HideOwnHint() {}
    // The control's text (a button's caption, a combo box's edit text).
    virtual std::string Text() const;
    virtual void SetText(const std::string& v);
    bool TabStop() const { return FTabStop; }
    void SetTabStop(bool v);

    // --- Focus.
    bool Focused() const;
    bool CanFocus() const;
    void SetFocus();
    // Moves the focus to the next (previous) control in the tab order of the window, as Tab does.
    void SelectNext(bool Forward);
    // Posts a typed character to the control: it arrives from the message loop as if typed.
    void PostChar(char16_t Ch);
    // Mouse capture: while set, every mouse event of the application comes to this window.
    void SetMouseCapture(bool Capture);
    bool MouseCaptured() const;

    // --- Painting: Invalidate asks for a repaint at the next turn of the message loop; Update paints
    // what is pending now; Repaint does both.
    virtual void Invalidate();
    void Update();
    void Repaint();
    void Refresh() { Repaint(); }

    // The window region: only its pixels belong to the window (nullptr: the whole rectangle).
    void SetWindowRegion(const TRegion* region);
    bool HasWindowRegion() const;

    // The window (platform code).
    QWidget* Widget() const;
    // The control whose window that is (platform code); nullptr for other windows.
    static TWinControl* ControlOf(const QWidget* widget);

    // --- Events (fired by the virtual methods below).
    TNotifyEvent OnClick, OnDblClick, OnEnter, OnExit, OnResize, OnMouseEnter, OnMouseLeave;
    TMouseEvent OnMouseDown, OnMouseUp;
    TMouseMoveEvent OnMouseMove;
    TKeyEvent OnKeyDown, OnKeyUp;
    TKeyPressEvent OnKeyPress;
    TMouseWheelEvent OnMouseWheel;
    TMouseWheelUpDownEvent OnMouseWheelDown, OnMouseWheelUp;

    // The drop target registered for the window (RegisterDragDrop), or none.
    TDropTarget* DropTarget() const { return FDropTarget; }
    void SetDropTarget(TDropTarget* Target);

    // Where the platform delivers its events; program code does not call these.
    struct Dispatch;

protected:
    // A descendant that brings its own window (a native button or combo box) passes it here; the
    // control takes ownership. The one-argument constructor makes a plain window.
    TWinControl(TComponent* AOwner, QWidget* widget);

    // The class library's event methods. Each base version fires its event when set.
    virtual void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y);
    virtual void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y);
    virtual void MouseMove(TShiftState Shift, int X, int Y);
    virtual void Click();
    virtual void DblClick();
    virtual void MouseEnter();
    virtual void MouseLeave();
    virtual void KeyDown(std::uint16_t& Key, TShiftState Shift);
    virtual void KeyUp(std::uint16_t& Key, TShiftState Shift);
    virtual void KeyPress(char& Key);
    // The key-down and character messages as they arrive; the bases call KeyDown and KeyPress. A control
    // that handles the message before (or instead of) the class library's step overrides these.
    virtual void WMKeyDown(std::uint16_t& Key, TShiftState Shift) { KeyDown(Key, Shift); }
    virtual void WMChar(char& Key) { KeyPress(Key); }
    // A typed UTF-16 character as it arrives, before its 8-bit form goes to WMChar (a character the code
    // page lacks arrives there as '?'); clearing it swallows it. Unicode controls override this.
    virtual void WMCharWide(char16_t& Key);
    // Button presses and releases as they arrive (a double click arrives as a press with ssDouble,
    // after DblClick); the bases call MouseDown and MouseUp.
    virtual void WMMouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) { MouseDown(Button, Shift, X, Y); }
    virtual void WMMouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) { MouseUp(Button, Shift, X, Y); }
    // True while the character being delivered comes from the numeric keypad.
    bool CharFromKeypad() const { return FCharFromKeypad; }
    // Every focus change, whatever its cause: the control that gets (loses) the focus, nullptr for a
    // window that is no control of the program, another top-level window among them. Called before
    // DoExit and DoEnter, which only hear the program's own focus moves.
    virtual void WMKillFocus(TWinControl* NewFocus) { (void)NewFocus; }
    virtual void WMSetFocus(TWinControl* OldFocus) { (void)OldFocus; }
    // True when the wheel was handled; the base fires OnMouseWheel, then the up or down variant.
    virtual bool DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos);
    virtual bool DoMouseWheelDown(TShiftState Shift, TPoint MousePos);
    virtual bool DoMouseWheelUp(TShiftState Shift, TPoint MousePos);
    virtual void DoEnter();
    virtual void DoExit();
    virtual void Resize();
    // Enabled or text changed (after the change); the base does nothing.
    virtual void EnabledChanged() {}
    // The hint's preparation (a hint-show message); the base leaves it as it is.
    virtual void HintShow(THintInfo& Info, bool& CanShow) { (void)Info; (void)CanShow; }
    virtual void TextChanged() {}
    // The size of the window changed (before Resize); TCustomControl resizes its back buffer here.
    virtual void SizeChanged() {}
    // Whether a left press and release inside the control make a click (TCustomControl: yes).
    virtual bool ClickOnRelease() const { return false; }

    // Asks the window to show again what it holds, without rerunning any program painting.
    void UpdateWindow();

    // Tells the program of a new window size (SizeChanged, then Resize), once per size.
    void NoteSize();

private:
    void AttachChild(TWinControl* child);
    void DetachChild(TWinControl* child);
    void ApplyCursor();

    struct Impl;
    std::unique_ptr<Impl> FImpl;
    TWinControl* FParent = nullptr;
    std::vector<TWinControl*> FControls;
    bool FVisible = true;
    bool FEnabled = true;
    bool FTabStop = false;
    bool FCharFromKeypad = false;
    TColor FColor;
    TCursor FCursor = crDefault;
    TDropTarget* FDropTarget = nullptr;
    std::string FHint;
    bool FShowHint = true;
};

// ---- TCustomControl ----------------------------------------------------------------------------------

// A control that draws itself. The program draws at any moment through Canvas() into a back buffer the
// size of the control, which the window shows. The window reruns Paint only after Invalidate or a
// resize; any other repaint of the window (uncovering, another window's paint) shows the buffer as it
// is, so drawing done outside Paint (an XOR band, a drag line) stays until it is drawn over.
class TCustomControl : public TWinControl {
    VSP_PERSISTENT_CLASS
public:
    explicit TCustomControl(TComponent* AOwner);
    ~TCustomControl() override;

    // The canvas on the back buffer (readable: GetPixel and block transfers from it work).
    TCanvas& Canvas();
    // The next paint of the window runs Paint.
    void Invalidate() override;
    // True until the pending Paint has run.
    bool PaintPending() const { return FPaintPending; }
    // How many times the back buffer's pixels changed (drawing of any kind, a resize): a control that drew
    // its picture there can tell whether the picture still stands.
    unsigned long long CanvasChanges() const;
    // The back buffer keeps three bytes a pixel from now on (through resizes too), as a bitmap drawn on
    // does after a blend; the pixels stay.
    void UseThreeByteBuffer();

    struct PaintDispatch;

protected:
    // Draws the control on Canvas(); the base fills the client area with Color.
    virtual void Paint();
    void SizeChanged() override;
    bool ClickOnRelease() const override { return true; }

private:
    struct Buffer;
    std::unique_ptr<Buffer> FBuffer;
    bool FPaintPending = true;
};

// ---- TCustomPanel ------------------------------------------------------------------------------------

// A custom-drawn panel with the class library's frame properties; the panel's Paint fills it with
// Color and draws its bevels and border (descendants that paint their own face override Paint).
class TCustomPanel : public TCustomControl {
    VSP_PERSISTENT_CLASS
public:
    explicit TCustomPanel(TComponent* AOwner);

    int BorderWidth() const { return FBorderWidth; }
    void SetBorderWidth(int v);
    TBevelCut BevelInner() const { return FBevelInner; }
    void SetBevelInner(TBevelCut v);
    TBevelCut BevelOuter() const { return FBevelOuter; }
    void SetBevelOuter(TBevelCut v);
    int BevelWidth() const { return FBevelWidth; }
    void SetBevelWidth(int v);

protected:
    void Paint() override;

private:
    int FBorderWidth = 0;
    TBevelCut FBevelInner = bvNone;
    TBevelCut FBevelOuter = bvRaised;
    int FBevelWidth = 1;
};

// Frame3D, which panels draw their bevels with, lives with the canvas (Canvas.h).

// Where the last mouse event that reached a control of the program happened, in screen pixels: the
// position the program reads as "the cursor" when it handles a click or a hint.
TPoint LastMousePos();
