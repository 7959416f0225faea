// Windowed controls over Qt widgets: the event filter that feeds a control's virtual methods, the
// back buffer of custom-drawn controls, and the panel's frame.
#include "platform/controls/Controls.h"

#include "platform/controls/AnsiText.h"
#include "platform/controls/Application.h"
#include "platform/controls/ControlWidget.h"
#include "platform/controls/QtApplication.h"
#include "platform/controls/Screen.h"
#include "platform/controls/TopLevel.h"
#include "platform/graphics/Canvas.h"
#include "platform/graphics/ImageBackend.h"
#include "platform/graphics/Region.h"
#include "platform/rtl/AnsiText.h"
#include "platform/rtl/SystemColors.h"

#include <QApplication>
#include <QEnterEvent>
#include <QFocusEvent>
#include <QHelpEvent>
#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QRegion>
#include <QWheelEvent>
#include <QWidget>

#include <algorithm>

// ---- Conversions -------------------------------------------------------------------------------------

TShiftState ShiftStateOf(Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons)
{
    TShiftState s;
    if (modifiers & Qt::ShiftModifier) s.Include(ssShift);
    if (modifiers & Qt::AltModifier) s.Include(ssAlt);
    if (modifiers & Qt::ControlModifier) s.Include(ssCtrl);
    if (buttons & Qt::LeftButton) s.Include(ssLeft);
    if (buttons & Qt::RightButton) s.Include(ssRight);
    if (buttons & Qt::MiddleButton) s.Include(ssMiddle);
    return s;
}

bool MouseButtonOf(Qt::MouseButton button, TMouseButton& out)
{
    switch (button) {
    case Qt::LeftButton: out = mbLeft; return true;
    case Qt::RightButton: out = mbRight; return true;
    case Qt::MiddleButton: out = mbMiddle; return true;
    default: return false;
    }
}

std::uint16_t VirtualKeyOf(const QKeyEvent& event)
{
    struct TKeyPair {
        int Qt;
        std::uint16_t Vk;
    };
    static constexpr TKeyPair kKeys[] = {
        {Qt::Key_Backspace, VK_BACK}, {Qt::Key_Tab, VK_TAB},         {Qt::Key_Backtab, VK_TAB},
        {Qt::Key_Return, VK_RETURN},  {Qt::Key_Enter, VK_RETURN},    {Qt::Key_Shift, VK_SHIFT},
        {Qt::Key_Control, VK_CONTROL}, {Qt::Key_Alt, VK_MENU},       {Qt::Key_Pause, VK_PAUSE},
        {Qt::Key_CapsLock, VK_CAPITAL}, {Qt::Key_Escape, VK_ESCAPE}, {Qt::Key_Space, VK_SPACE},
        {Qt::Key_PageUp, VK_PRIOR},   {Qt::Key_PageDown, VK_NEXT},   {Qt::Key_End, VK_END},
        {Qt::Key_Home, VK_HOME},      {Qt::Key_Left, VK_LEFT},       {Qt::Key_Up, VK_UP},
        {Qt::Key_Right, VK_RIGHT},    {Qt::Key_Down, VK_DOWN},       {Qt::Key_Insert, VK_INSERT},
        {Qt::Key_Delete, VK_DELETE},
    };
    const int key = event.key();
    const bool keypad = event.modifiers() & Qt::KeypadModifier;
    if (keypad) {
        if (key >= Qt::Key_0 && key <= Qt::Key_9) return static_cast<std::uint16_t>(VK_NUMPAD0 + (key - Qt::Key_0));
        switch (key) {
        case Qt::Key_Asterisk: return VK_MULTIPLY;
        case Qt::Key_Plus: return VK_ADD;
        case Qt::Key_Minus: return VK_SUBTRACT;
        case Qt::Key_Period: return VK_DECIMAL;
        case Qt::Key_Slash: return VK_DIVIDE;
        default: break;
        }
    }
    if ((key >= Qt::Key_0 && key <= Qt::Key_9) || (key >= Qt::Key_A && key <= Qt::Key_Z))
        return static_cast<std::uint16_t>(key);  // Qt's codes of these keys are their ASCII capitals
    if (key >= Qt::Key_F1 && key <= Qt::Key_F12) return static_cast<std::uint16_t>(VK_F1 + (key - Qt::Key_F1));
    for (const TKeyPair& k : kKeys)
        if (k.Qt == key) return k.Vk;
    return 0;
}

QColor QtColorOf(TColor color)
{
    const TColor rgb = ColorToRGB(color);
    return QColor(rgb & 0xFF, (rgb >> 8) & 0xFF, (rgb >> 16) & 0xFF);
}

TColor ProgramColorOf(const QColor& color) { return color.red() | (color.green() << 8) | (color.blue() << 16); }

TImageMemory ImageMemoryOf(QImage& image)
{
    TImageMemory m;
    m.Bits = image.bits();
    m.Width = image.width();
    m.Height = image.height();
    m.Stride = static_cast<int>(image.bytesPerLine());
    m.BytesPerPixel = image.depth() / 8;
    return m;
}

void TWinControl::PostChar(char16_t Ch)
{
    QCoreApplication::postEvent(Widget(), new QKeyEvent(QEvent::KeyPress, 0, Qt::NoModifier, QString(QChar(Ch))));
}

void TWinControl::SelectNext(bool Forward)
{
    QWidget* self = Widget();
    QWidget* w = self;
    for (int guard = 0; guard < 10000; ++guard) {
        w = Forward ? w->nextInFocusChain() : w->previousInFocusChain();
        if (!w || w == self) return;
        if (w->window() == self->window() && (w->focusPolicy() & Qt::TabFocus) && w->isVisible() && w->isEnabled()) {
            w->setFocus(Forward ? Qt::TabFocusReason : Qt::BacktabFocusReason);
            return;
        }
    }
}

void TWinControl::WMCharWide(char16_t& Key)
{
    const std::string ansi = WideToAnsi(std::u16string(1, Key));
    char ch = ansi.empty() ? '?' : ansi[0];
    WMChar(ch);
    if (ch == 0) Key = 0;
}

// ---- The control's window and its event filter -------------------------------------------------------

namespace {

TPoint& LastMouse()
{
    static TPoint pos;
    return pos;
}

void NoteMouseEvent(const QEvent& event)
{
    switch (event.type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseMove: {
        const QPoint g = static_cast<const QMouseEvent&>(event).globalPosition().toPoint();
        LastMouse() = {g.x(), g.y()};
        break;
    }
    default: break;
    }
}

// Focus moves that the program does not see as leaving or entering a control (a popup, another window).
bool IsProgramFocusReason(Qt::FocusReason reason)
{
    return reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason;
}

} // namespace

struct TWinControl::Dispatch : QObject {
    explicit Dispatch(TWinControl& control) : Control(control) {}

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched != Control.Widget()) return false;
        bool eat = false;
        NoteMouseEvent(*event);
        Application->Guarded([&] { eat = Deliver(event); });
        return eat;
    }

    bool Deliver(QEvent* event)
    {
        switch (event->type()) {
        case QEvent::MouseButtonPress: return MousePress(static_cast<QMouseEvent&>(*event), false);
        case QEvent::MouseButtonDblClick: return MousePress(static_cast<QMouseEvent&>(*event), true);
        case QEvent::MouseButtonRelease: return MouseRelease(static_cast<QMouseEvent&>(*event));
        case QEvent::MouseMove: {
            const auto& e = static_cast<QMouseEvent&>(*event);
            const QPoint p = e.position().toPoint();
            Control.MouseMove(ShiftStateOf(e.modifiers(), e.buttons()), p.x(), p.y());
            return false;
        }
        case QEvent::Enter: Control.MouseEnter(); return false;
        case QEvent::Leave: Control.MouseLeave(); return false;
        case QEvent::Wheel: return Wheel(static_cast<QWheelEvent&>(*event));
        case QEvent::KeyPress: return KeyPress(static_cast<QKeyEvent&>(*event));
        case QEvent::KeyRelease: {
            auto& e = static_cast<QKeyEvent&>(*event);
            std::uint16_t key = VirtualKeyOf(e);
            if (key == 0) return false;
            Control.KeyUp(key, ShiftStateOf(e.modifiers(), {}));
            return key == 0;
        }
        case QEvent::FocusIn: {
            TWinControl* old = LastFocusOut;
            LastFocusOut = nullptr;
            Control.WMSetFocus(old);
            if (IsProgramFocusReason(static_cast<QFocusEvent&>(*event).reason())) Control.DoEnter();
            return false;
        }
        case QEvent::FocusOut: {
            // Qt has already moved the focus: the focus widget is the new one (none for another window).
            // A pop-up of the control's own (a combo box's list) keeps the focus with the control.
            for (QWidget* w = QApplication::focusWidget(); w; w = w->parentWidget())
                if (w == Control.Widget()) return false;
            LastFocusOut = &Control;
            Control.WMKillFocus(TWinControl::ControlOf(QApplication::focusWidget()));
            if (IsProgramFocusReason(static_cast<QFocusEvent&>(*event).reason())) Control.DoExit();
            return false;
        }
        case QEvent::Resize: Control.NoteSize(); return false;
        case QEvent::DragEnter:
        case QEvent::DragMove:
        case QEvent::DragLeave:
        case QEvent::Drop: return DeliverDragEvent(Control, event);
        case QEvent::ToolTip: {
            const QPoint p = static_cast<QHelpEvent&>(*event).pos();
            Application->ShowControlHint(&Control, {p.x(), p.y()});
            return true;
        }
        default: return false;
        }
    }

    // A second press in quick succession is a double click: DblClick, then the press with ssDouble.
    bool MousePress(QMouseEvent& e, bool doubleClick)
    {
        TMouseButton button;
        if (!MouseButtonOf(e.button(), button)) return false;
        TShiftState shift = ShiftStateOf(e.modifiers(), e.buttons());
        if (doubleClick) {
            shift.Include(ssDouble);
            Control.DblClick();
        }
        if (button == mbLeft) PressedLeft = true;
        const QPoint p = e.position().toPoint();
        Control.WMMouseDown(button, shift, p.x(), p.y());
        return false;
    }

    bool MouseRelease(QMouseEvent& e)
    {
        TMouseButton button;
        if (!MouseButtonOf(e.button(), button)) return false;
        const QPoint p = e.position().toPoint();
        const bool click = button == mbLeft && PressedLeft && Control.ClickOnRelease() &&
                           Control.Widget()->rect().contains(p);
        if (button == mbLeft) PressedLeft = false;
        if (click) Control.Click();
        Control.WMMouseUp(button, ShiftStateOf(e.modifiers(), e.buttons()), p.x(), p.y());
        return false;
    }

    bool Wheel(QWheelEvent& e)
    {
        const int delta = e.angleDelta().y();
        if (delta == 0) return false;
        const QPoint g = e.globalPosition().toPoint();
        const bool handled = Control.DoMouseWheel(ShiftStateOf(e.modifiers(), e.buttons()), delta, {g.x(), g.y()});
        if (handled) e.accept();
        return handled;
    }

    // KeyDown may clear the key to swallow it; the characters of the key then go to KeyPress.
    bool KeyPress(QKeyEvent& e)
    {
        std::uint16_t key = VirtualKeyOf(e);
        const TShiftState shift = ShiftStateOf(e.modifiers(), {});
        if (key != 0) {
            Control.WMKeyDown(key, shift);
            if (key == 0) return true;
        }
        const std::u16string chars = e.text().toStdU16String();
        bool swallowed = false;
        Control.FCharFromKeypad = e.modifiers().testFlag(Qt::KeypadModifier);
        for (char16_t c : chars) {
            char16_t ch = c;
            Control.WMCharWide(ch);
            swallowed = swallowed || ch == 0;
        }
        Control.FCharFromKeypad = false;
        return swallowed;
    }

    TWinControl& Control;
    bool PressedLeft = false;
    // The control that lost the focus last, told to the one that gets it.
    static inline TWinControl* LastFocusOut = nullptr;
};

struct TWinControl::Impl {
    QPointer<QWidget> Widget;
    std::unique_ptr<TWinControl::Dispatch> Filter;
    QSize NotifiedSize{0, 0};
};

const TClassInfo& TWinControl::StaticClassInfo()
{
    using P = TProps<TWinControl>;
    static const TClassInfo info({
        .Name = "TWinControl",
        .Parent = &TComponent::StaticClassInfo(),
        .Properties = {P::Integer("Left", &TWinControl::Left, &TWinControl::SetLeft),
                       P::Integer("Top", &TWinControl::Top, &TWinControl::SetTop),
                       P::Integer("Width", &TWinControl::Width, &TWinControl::SetWidth),
                       P::Integer("Height", &TWinControl::Height, &TWinControl::SetHeight),
                       P::Colour("Color", &TWinControl::Color, &TWinControl::SetColor).Default(clWindow),
                       P::Integer("Cursor", &TWinControl::Cursor, &TWinControl::SetCursor).Default(crDefault),
                       P::Boolean("Enabled", &TWinControl::Enabled, &TWinControl::SetEnabled).Default(true),
                       P::Text("Hint", &TWinControl::Hint, &TWinControl::SetHint).Default(""),
                       P::Boolean("TabStop", &TWinControl::TabStop, &TWinControl::SetTabStop).Default(false),
                       P::Boolean("Visible", &TWinControl::Visible, &TWinControl::SetVisible).Default(true)},
    });
    return info;
}

TWinControl::TWinControl(TComponent* AOwner) : TWinControl(AOwner, nullptr) {}

TWinControl::TWinControl(TComponent* AOwner, QWidget* widget)
    : TComponent(AOwner), FImpl(std::make_unique<Impl>()), FColor(clWindow)
{
    QWidget* w = widget ? widget : NewControlWidget<QWidget>();
    w->setMouseTracking(true);
    w->setFocusPolicy(Qt::ClickFocus);
    w->setGeometry(0, 0, 0, 0);
    FImpl->Widget = w;
    FImpl->Filter = std::make_unique<Dispatch>(*this);
    w->installEventFilter(FImpl->Filter.get());
    w->setProperty("vspControl", QVariant::fromValue(static_cast<void*>(this)));
}

TWinControl* TWinControl::ControlOf(const QWidget* widget)
{
    for (const QWidget* w = widget; w; w = w->parentWidget()) {
        const QVariant v = w->property("vspControl");
        if (v.isValid()) return static_cast<TWinControl*>(v.value<void*>());
    }
    return nullptr;
}

TWinControl::~TWinControl()
{
    if (Dispatch::LastFocusOut == this) Dispatch::LastFocusOut = nullptr;
    Application->ForgetHintControl(this);
    if (FImpl->Widget) FImpl->Widget->setProperty("vspControl", QVariant());
    while (!FControls.empty()) FControls.back()->SetParent(nullptr);
    if (FParent) FParent->DetachChild(this);
    if (FImpl->Widget) {
        FImpl->Widget->removeEventFilter(FImpl->Filter.get());
        delete FImpl->Widget.data();
    }
}

QWidget* TWinControl::Widget() const { return FImpl->Widget.data(); }

TWinControl* TWinControl::Controls(int index) const
{
    if (index < 0 || index >= ControlCount())
        throw EListError("List index out of bounds (" + std::to_string(index) + ")");
    return FControls[static_cast<std::size_t>(index)];
}

void TWinControl::AttachChild(TWinControl* child) { FControls.push_back(child); }

void TWinControl::DetachChild(TWinControl* child)
{
    FControls.erase(std::remove(FControls.begin(), FControls.end(), child), FControls.end());
}

void TWinControl::SetParent(TWinControl* parent)
{
    if (parent == FParent) return;
    for (TWinControl* p = parent; p; p = p->FParent)
        if (p == this) throw EInvalidOperation("A control cannot be its own parent");
    if (FParent) FParent->DetachChild(this);
    FParent = parent;
    if (FParent) FParent->AttachChild(this);
    SetParentWidget(FParent ? FParent->Widget() : nullptr);
}

void TWinControl::SetParentWidget(QWidget* parent)
{
    QWidget* w = Widget();
    if (!w || w->parentWidget() == parent) return;
    if (FParent && parent != FParent->Widget()) {
        FParent->DetachChild(this);
        FParent = nullptr;
    }
    const QRect geometry = w->geometry();
    w->setParent(parent);
    w->setGeometry(geometry);
    // A window without a parent would become a top-level window: it stays hidden instead.
    w->setVisible(parent && FVisible);
}

bool TWinControl::HasParent() const { return Widget() && Widget()->parentWidget(); }

int TWinControl::Left() const { return Widget()->x(); }
int TWinControl::Top() const { return Widget()->y(); }
int TWinControl::Width() const { return Widget()->width(); }
int TWinControl::Height() const { return Widget()->height(); }
void TWinControl::SetLeft(int v) { SetBounds(v, Top(), Width(), Height()); }
void TWinControl::SetTop(int v) { SetBounds(Left(), v, Width(), Height()); }
void TWinControl::SetWidth(int v) { SetBounds(Left(), Top(), v, Height()); }
void TWinControl::SetHeight(int v) { SetBounds(Left(), Top(), Width(), v); }

void TWinControl::SetBounds(int left, int top, int width, int height)
{
    Widget()->setGeometry(left, top, std::max(0, width), std::max(0, height));
    // A hidden window hears of its new size only when shown; the program hears of it now.
    NoteSize();
}

void TWinControl::NoteSize()
{
    const QSize size = Widget()->size();
    if (size == FImpl->NotifiedSize) return;
    FImpl->NotifiedSize = size;
    SizeChanged();
    Application->Guarded([this] { Resize(); });
}

TPoint TWinControl::ClientToScreen(TPoint p) const
{
    const QPoint g = Widget()->mapToGlobal(QPoint(p.x, p.y));
    return {g.x(), g.y()};
}

TPoint TWinControl::ScreenToClient(TPoint p) const
{
    const QPoint c = Widget()->mapFromGlobal(QPoint(p.x, p.y));
    return {c.x(), c.y()};
}

void TWinControl::SetVisible(bool v)
{
    FVisible = v;
    if (Widget()) Widget()->setVisible(v && HasParent());
}

bool TWinControl::Showing() const { return Widget() && Widget()->isVisible(); }

void TWinControl::SetEnabled(bool v)
{
    if (FEnabled == v) return;
    FEnabled = v;
    Widget()->setEnabled(v);
    EnabledChanged();
}

void TWinControl::SetColor(TColor v)
{
    if (FColor == v) return;
    FColor = v;
    Invalidate();
}

void TWinControl::SetCursor(TCursor v)
{
    FCursor = v;
    ApplyCursor();
}

void TWinControl::ApplyCursor()
{
    if (FCursor == crDefault)
        Widget()->unsetCursor();
    else
        Widget()->setCursor(QtCursorOf(FCursor));
}

// The hint shows through the application's hint flow (the window's tool-tip request), not by Qt itself.
void TWinControl::SetHint(const std::string& v) { FHint = v; }

std::string TWinControl::Text() const { return QStringToAnsi(Widget()->windowTitle()); }

void TWinControl::SetText(const std::string& v)
{
    if (Text() == v) return;
    Widget()->setWindowTitle(AnsiToQString(v));
    TextChanged();
}

void TWinControl::SetTabStop(bool v)
{
    FTabStop = v;
    Widget()->setFocusPolicy(v ? Qt::StrongFocus : Qt::ClickFocus);
}

bool TWinControl::Focused() const { return Widget()->hasFocus(); }

bool TWinControl::CanFocus() const { return Showing() && FEnabled; }

void TWinControl::SetFocus()
{
    if (!CanFocus()) throw EInvalidOperation("Cannot focus a disabled or invisible window");
    Widget()->setFocus(Qt::OtherFocusReason);
}

void TWinControl::SetDropTarget(TDropTarget* Target) { FDropTarget = Target; }

void TWinControl::SetMouseCapture(bool Capture)
{
    if (Capture) Widget()->grabMouse();
    else if (QWidget::mouseGrabber() == Widget()) Widget()->releaseMouse();
}

bool TWinControl::MouseCaptured() const { return QWidget::mouseGrabber() == const_cast<TWinControl*>(this)->Widget(); }

void TWinControl::Invalidate() { UpdateWindow(); }

void TWinControl::UpdateWindow()
{
    if (Widget()) Widget()->update();
}

void TWinControl::Update()
{
    if (Widget() && Widget()->isVisible()) Widget()->repaint();
}

void TWinControl::Repaint()
{
    Invalidate();
    Update();
}

void TWinControl::SetWindowRegion(const TRegion* region) { ::SetWindowRegion(Widget(), region); }

bool TWinControl::HasWindowRegion() const { return WindowHasRegion(Widget()); }

void TWinControl::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (OnMouseDown) OnMouseDown(this, Button, Shift, X, Y);
}

void TWinControl::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (OnMouseUp) OnMouseUp(this, Button, Shift, X, Y);
}

void TWinControl::MouseMove(TShiftState Shift, int X, int Y)
{
    if (OnMouseMove) OnMouseMove(this, Shift, X, Y);
}

void TWinControl::Click()
{
    if (OnClick) OnClick(this);
}

void TWinControl::DblClick()
{
    if (OnDblClick) OnDblClick(this);
}

void TWinControl::MouseEnter()
{
    if (OnMouseEnter) OnMouseEnter(this);
}

void TWinControl::MouseLeave()
{
    if (OnMouseLeave) OnMouseLeave(this);
}

void TWinControl::KeyDown(std::uint16_t& Key, TShiftState Shift)
{
    if (OnKeyDown) OnKeyDown(this, Key, Shift);
}

void TWinControl::KeyUp(std::uint16_t& Key, TShiftState Shift)
{
    if (OnKeyUp) OnKeyUp(this, Key, Shift);
}

void TWinControl::KeyPress(char& Key)
{
    if (OnKeyPress) OnKeyPress(this, Key);
}

bool TWinControl::DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos)
{
    bool handled = false;
    if (OnMouseWheel) OnMouseWheel(this, Shift, WheelDelta, MousePos, handled);
    if (!handled) handled = WheelDelta < 0 ? DoMouseWheelDown(Shift, MousePos) : DoMouseWheelUp(Shift, MousePos);
    return handled;
}

bool TWinControl::DoMouseWheelDown(TShiftState Shift, TPoint MousePos)
{
    bool handled = false;
    if (OnMouseWheelDown) OnMouseWheelDown(this, Shift, MousePos, handled);
    return handled;
}

bool TWinControl::DoMouseWheelUp(TShiftState Shift, TPoint MousePos)
{
    bool handled = false;
    if (OnMouseWheelUp) OnMouseWheelUp(this, Shift, MousePos, handled);
    return handled;
}

void TWinControl::DoEnter()
{
    if (OnEnter) OnEnter(this);
}

void TWinControl::DoExit()
{
    if (OnExit) OnExit(this);
}

void TWinControl::Resize()
{
    if (OnResize) OnResize(this);
}

// ---- TCustomControl: back buffer ---------------------------------------------------------------------

namespace {

// The back buffer's device: draws into the control's image and has the window show every change, unless
// the change comes from Paint, after which the window shows the whole buffer anyway.
class TBufferBackend : public TImageBackend {
public:
    TBufferBackend(QImage& image, std::function<void()> changed) : FImage(image), FChanged(std::move(changed))
    {
        SetKeepTextPainter(true);
    }
    bool Quiet = false;
    unsigned long long Changes = 0;

protected:
    TImageMemory Memory() const override { return ImageMemoryOf(FImage); }
    void PixelsChanged() override
    {
        ++Changes;
        if (!Quiet) FChanged();
    }

private:
    QImage& FImage;
    std::function<void()> FChanged;
};

// The window of a custom-drawn control: shows the back buffer, running the control's Paint first when
// a repaint was asked for.
class TBufferWidget : public QWidget {
public:
    explicit TBufferWidget(std::function<void(QPainter&, const QRect&)> paint) : FPaint(std::move(paint))
    {
        setAttribute(Qt::WA_OpaquePaintEvent);
        setAttribute(Qt::WA_NoSystemBackground);
    }

protected:
    void paintEvent(QPaintEvent* event) override
    {
        QPainter painter(this);
        FPaint(painter, event->rect());
    }

private:
    std::function<void(QPainter&, const QRect&)> FPaint;
};

} // namespace

struct TCustomControl::Buffer {
    QImage Image;
    std::shared_ptr<TBufferBackend> Backend;
    std::unique_ptr<TCanvas> Canvas;
    // The canvas may outlive the image; its text painter must not.
    ~Buffer()
    {
        if (Backend) Backend->ReleaseTextPainter();
    }
};

struct TCustomControl::PaintDispatch {
    static void Paint(TCustomControl& control, QPainter& painter, const QRect& rect)
    {
        Buffer& b = *control.FBuffer;
        if (control.FPaintPending) {
            control.FPaintPending = false;
            b.Backend->Quiet = true;
            Application->Guarded([&] { control.Paint(); });
            b.Backend->ReleaseTextPainter();
            b.Backend->Quiet = false;
        }
        painter.drawImage(rect, b.Image, rect);
    }
};

const TClassInfo& TCustomControl::StaticClassInfo()
{
    static const TClassInfo info({.Name = "TCustomControl", .Parent = &TWinControl::StaticClassInfo()});
    return info;
}

TCustomControl::TCustomControl(TComponent* AOwner)
    : TWinControl(AOwner, NewControlWidget<TBufferWidget>([this](QPainter& p, const QRect& r) { PaintDispatch::Paint(*this, p, r); })),
      FBuffer(std::make_unique<Buffer>())
{
    FBuffer->Backend = std::make_shared<TBufferBackend>(FBuffer->Image, [this] { UpdateWindow(); });
    FBuffer->Canvas = std::make_unique<TCanvas>(FBuffer->Backend);
    SizeChanged();
}

TCustomControl::~TCustomControl() = default;

TCanvas& TCustomControl::Canvas() { return *FBuffer->Canvas; }

unsigned long long TCustomControl::CanvasChanges() const { return FBuffer->Backend->Changes; }

void TCustomControl::UseThreeByteBuffer()
{
    QImage& image = FBuffer->Image;
    FBuffer->Backend->ReleaseTextPainter();
    if (image.format() != QImage::Format_BGR888) image.convertTo(QImage::Format_BGR888);
}

void TCustomControl::Invalidate()
{
    // A shown window with a repaint still to come needs no second request (a series adding a million
    // points asks once per point); a hidden one paints when it is shown.
    if (FPaintPending && Widget() && Widget()->isVisible()) return;
    FPaintPending = true;
    UpdateWindow();
}

// The buffer follows the window's size, keeping what the common part held; the next paint redraws.
void TCustomControl::SizeChanged()
{
    QImage& image = FBuffer->Image;
    const QSize size(std::max(1, Width()), std::max(1, Height()));
    if (image.size() == size) return;
    QImage next(size, image.format() == QImage::Format_BGR888 ? QImage::Format_BGR888 : QImage::Format_RGB32);
    // A control of no colour shows its parent's colour until it paints.
    const TColor face = Color() != clNone && Color() != clDefault ? Color()
                        : Parent()                                 ? Parent()->Color()
                                                                   : clBtnFace;
    next.fill(QtColorOf(face));
    if (!image.isNull()) {
        QPainter p(&next);
        p.drawImage(0, 0, image);
    }
    FBuffer->Backend->ReleaseTextPainter();
    image = std::move(next);
    ++FBuffer->Backend->Changes;
    Invalidate();
}

void TCustomControl::Paint()
{
    TCanvas& c = Canvas();
    c.Brush().SetStyle(bsSolid);
    c.Brush().SetColor(Color());
    c.FillRect(ClientRect());
}

// ---- TCustomPanel ------------------------------------------------------------------------------------

const TClassInfo& TCustomPanel::StaticClassInfo()
{
    using P = TProps<TCustomPanel>;
    static const TClassInfo info({
        .Name = "TCustomPanel",
        .Parent = &TCustomControl::StaticClassInfo(),
        .Properties = {P::Enumeration("BevelInner", BevelCutNames, &TCustomPanel::BevelInner, &TCustomPanel::SetBevelInner)
                           .Default(bvNone),
                       P::Enumeration("BevelOuter", BevelCutNames, &TCustomPanel::BevelOuter, &TCustomPanel::SetBevelOuter)
                           .Default(bvRaised),
                       P::Integer("BevelWidth", &TCustomPanel::BevelWidth, &TCustomPanel::SetBevelWidth).Default(1),
                       P::Integer("BorderWidth", &TCustomPanel::BorderWidth, &TCustomPanel::SetBorderWidth).Default(0)},
        .Defaults = {{"Color", clBtnFace}},
    });
    return info;
}

TCustomPanel::TCustomPanel(TComponent* AOwner) : TCustomControl(AOwner) { SetColor(clBtnFace); }

void TCustomPanel::SetBorderWidth(int v)
{
    if (v < 0) throw ERangeError();
    if (FBorderWidth == v) return;
    FBorderWidth = v;
    Invalidate();
}

void TCustomPanel::SetBevelInner(TBevelCut v)
{
    if (FBevelInner == v) return;
    FBevelInner = v;
    Invalidate();
}

void TCustomPanel::SetBevelOuter(TBevelCut v)
{
    if (FBevelOuter == v) return;
    FBevelOuter = v;
    Invalidate();
}

void TCustomPanel::SetBevelWidth(int v)
{
    if (v < 1) throw ERangeError();
    if (FBevelWidth == v) return;
    FBevelWidth = v;
    Invalidate();
}

namespace {

void DrawBevel(TCanvas& c, TRect& r, TBevelCut bevel, int width)
{
    switch (bevel) {
    case bvLowered: Frame3D(c, r, clBtnShadow, clBtnHighlight, width); break;
    case bvRaised: Frame3D(c, r, clBtnHighlight, clBtnShadow, width); break;
    case bvSpace: Frame3D(c, r, clBtnFace, clBtnFace, width); break;
    case bvNone: break;
    }
}

} // namespace

void TCustomPanel::Paint()
{
    TCustomControl::Paint();
    TRect r = ClientRect();
    TCanvas& c = Canvas();
    DrawBevel(c, r, FBevelOuter, FBevelWidth);
    Frame3D(c, r, Color(), Color(), FBorderWidth);
    DrawBevel(c, r, FBevelInner, FBevelWidth);
}

TPoint LastMousePos() { return LastMouse(); }
