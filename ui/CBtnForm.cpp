// The colour grid with its stream form, and the palette window: cell geometry and drawing, hot tracking,
// keys, clicks, the other-colour dialog with the custom colours, colour hints, and closing.
#include "ui/CBtnForm.h"

#include "platform/controls/Application.h"
#include "platform/controls/Controls.h"
#include "platform/controls/Prompter.h"
#include "platform/controls/TopLevel.h"
#include "platform/graphics/Canvas.h"
#include "platform/rtl/Streams.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QPushButton>

#include <cstdio>

// ---- TColorArrayClass ----------------------------------------------------------------------------------

const TClassInfo& TColorArrayClass::StaticClassInfo()
{
    using P = TProps<TColorArrayClass>;
    using G = TColorArrayClass;
    const auto always = [](const G&) { return true; };
    static const TClassInfo info({
        .Name = "TColorArrayClass",
        .Parent = &TPersistent::StaticClassInfo(),
        .Defined = {P::DefinedValue(
                        "XSize", TPropKind::Integer, [](G& g, const TPropValue& v) { g.SetXSize(static_cast<int>(std::get<std::int64_t>(v))); },
                        [](const G& g) { return TPropValue(static_cast<std::int64_t>(g.XSize())); }, always),
                    P::DefinedValue(
                        "YSize", TPropKind::Integer, [](G& g, const TPropValue& v) { g.SetYSize(static_cast<int>(std::get<std::int64_t>(v))); },
                        [](const G& g) { return TPropValue(static_cast<std::int64_t>(g.YSize())); }, always),
                    P::DefinedBinary("Colors", &G::ReadColors, &G::WriteColors, always)},
    });
    return info;
}

TColorArrayClass::TColorArrayClass(int XSize, int YSize)
    : FXSize(std::max(0, XSize)), FYSize(std::max(0, YSize)), FColors(static_cast<std::size_t>(FXSize) * FYSize, 0)
{
}

void TColorArrayClass::SetXSize(int v)
{
    if (v == FXSize) return;
    FXSize = std::max(0, v);
    FColors.assign(static_cast<std::size_t>(FXSize) * FYSize, 0);
}

void TColorArrayClass::SetYSize(int v)
{
    if (v == FYSize) return;
    FYSize = std::max(0, v);
    FColors.assign(static_cast<std::size_t>(FXSize) * FYSize, 0);
}

std::size_t TColorArrayClass::Index(int x, int y) const
{
    if (x < 1 || x > FXSize || y < 1 || y > FYSize) throw EColorArrayIndexError("Array index out of bounds");
    return static_cast<std::size_t>(y - 1) * FXSize + (x - 1);
}

TColor TColorArrayClass::Cell(int x, int y) const { return FColors[Index(x, y)]; }

void TColorArrayClass::SetCell(int x, int y, TColor c) { FColors[Index(x, y)] = c; }

TColor TColorArrayClass::At(int position) const
{
    if (position < 1 || position > Count()) throw EColorArrayIndexError("Array index out of bounds");
    return FColors[static_cast<std::size_t>(position - 1)];
}

void TColorArrayClass::Assign(const TPersistent& Source)
{
    const auto* g = dynamic_cast<const TColorArrayClass*>(&Source);
    if (!g) {
        TPersistent::Assign(Source);
        return;
    }
    FXSize = g->FXSize;
    FYSize = g->FYSize;
    FColors = g->FColors;
}

bool TColorArrayClass::IsEqual(const TColorArrayClass* Other) const
{
    if (Other == this) return true;
    if (!Other || Other->FXSize != FXSize || Other->FYSize != FYSize) return false;
    return Other->FColors == FColors;
}

void TColorArrayClass::WriteColors(TStream& Stream) const
{
    for (int x = 1; x <= FXSize; ++x)
        for (int y = 1; y <= FYSize; ++y) Stream.WriteInt32(Cell(x, y));
}

void TColorArrayClass::ReadColors(TStream& Stream)
{
    int x = 1, y = 1;
    while (Stream.Position() + 4 <= Stream.Size()) {
        SetCell(x, y, Stream.ReadInt32());
        if (++y > FYSize) {
            y = 1;
            ++x;
        }
    }
}

const TColorArrayClass& DefaultPaletteColors()
{
    static const TColorArrayClass grid = [] {
        const TColor rows[5][4] = {
            {RGB(255, 255, 255), RGB(0, 0, 0), RGB(191, 191, 191), RGB(127, 127, 127)},
            {RGB(255, 0, 0), RGB(127, 0, 0), RGB(255, 255, 0), RGB(127, 127, 0)},
            {RGB(0, 255, 0), RGB(0, 127, 0), RGB(0, 255, 255), RGB(0, 127, 127)},
            {RGB(0, 0, 255), RGB(0, 0, 127), RGB(255, 0, 255), RGB(127, 0, 127)},
            {RGB(191, 215, 191), RGB(159, 191, 239), RGB(255, 247, 239), RGB(159, 159, 159)},
        };
        TColorArrayClass g(4, 5);
        for (int y = 1; y <= 5; ++y)
            for (int x = 1; x <= 4; ++x) g.SetCell(x, y, rows[y - 1][x - 1]);
        return g;
    }();
    return grid;
}

// ---- The palette's drawing area --------------------------------------------------------------------------

namespace {

constexpr int CellSize = 18;
constexpr int ClientWidth = 72;
constexpr int OtherTop = 98, OtherHeight = 21;

class TPaletteSurface : public TCustomControl {
public:
    explicit TPaletteSurface(TKITColorButtonPalette& palette) : TCustomControl(nullptr), FPalette(palette) {}

protected:
    void Paint() override { FPalette.FormPaint(Canvas()); }
    void MouseMove(TShiftState Shift, int X, int Y) override
    {
        TCustomControl::MouseMove(Shift, X, Y);
        FPalette.FormMouseMove(X, Y);
    }
    void Click() override { FPalette.FormClick(); }
    // The cells' hints are prepared here, before the application's own hint handler runs.
    void HintShow(THintInfo& Info, bool& CanShow) override { FPalette.PrepareCellHint(Info.HintStr, CanShow, Info); }

private:
    TKITColorButtonPalette& FPalette;
};

// The custom colours' cell of a dialog line's letter: A..H the first row, I..P the second.
bool CustomCell(char letter, int& x, int& y)
{
    const int n = letter - 'A' + 1;
    if (n < 1 || n > 16) return false;
    x = (n - 1) % 8 + 1;
    y = (n - 1) / 8 + 1;
    return true;
}

TColor HexOrWhite(const std::string& text)
{
    if (text.empty()) return 0xFFFFFF;
    unsigned long v = 0;
    for (char c : text) {
        const int d = c >= '0' && c <= '9' ? c - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10 : c >= 'A' && c <= 'F' ? c - 'A' + 10 : -1;
        if (d < 0) return 0xFFFFFF;
        v = v * 16 + static_cast<unsigned long>(d);
    }
    return static_cast<TColor>(v & 0xFFFFFFFFul);
}

} // namespace

// ---- TKITColorButtonPalette ----------------------------------------------------------------------------------

TKITColorButtonPalette::TKITColorButtonPalette(QWidget* owner)
    : TForm(owner), FColorGrid(std::make_unique<TColorArrayClass>(4, 5)),
      FCustomColors(std::make_unique<TColorArrayClass>(8, 2)), FOtherColor(clBtnFace)
{
    setAttribute(Qt::WA_DeleteOnClose);
    SetWindowFrameless(this, true);
    setWindowFlag(Qt::Tool, true);
    QFont font("MS Sans Serif");
    font.setPixelSize(11);
    setFont(font);
    FColorGrid->Assign(DefaultPaletteColors());
    for (int x = 1; x <= 8; ++x)
        for (int y = 1; y <= 2; ++y) FCustomColors->SetCell(x, y, 0xFFFFFF);
    setFixedSize(ClientWidth, OtherTop + OtherHeight + 2);

    FSurface = std::make_unique<TPaletteSurface>(*this);
    Surface = FSurface.get();
    Surface->SetParentWidget(this);
    Surface->SetBounds(0, 0, ClientWidth, OtherTop + OtherHeight + 2);
    Surface->SetHint("-");
    btnOther = new QPushButton("&Other", this);
    btnOther->setGeometry(1, OtherTop, ClientWidth - 22, OtherHeight);
    btnOther->setFocusPolicy(Qt::NoFocus);
    ConnectGuarded(btnOther, &QPushButton::clicked, this, [this](bool) { btnOtherClick(); });

    // The application's deactivation closes the palette (not while the colour dialog is open).
    FActivationHook = Application->HookActivation([this](bool active) {
        if (!active && !FInDialog) close();
    });
}

TKITColorButtonPalette::~TKITColorButtonPalette()
{
    Application->UnhookActivation(FActivationHook);
    FSurface.reset();
}

void TKITColorButtonPalette::SetShowColorHints(bool v)
{
    FShowColorHints = v;
    Surface->SetShowHint(v);
}

// -- geometry

TRect TKITColorButtonPalette::CellRect(TPaletteCell c) const
{
    if (c.Y == 0) {
        const int top = OtherTop + (OtherHeight - 16) / 2 - 1;
        return {ClientWidth - 19, top, ClientWidth - 19 + CellSize, top + CellSize};
    }
    return {(c.X - 1) * CellSize, (c.Y - 1) * CellSize, c.X * CellSize, c.Y * CellSize};
}

TPaletteCell TKITColorButtonPalette::CellAt(int X, int Y) const
{
    TPaletteCell c{X / CellSize + 1, Y / CellSize + 1};
    if (X >= ClientWidth - 19 && X <= ClientWidth - 1 && Y >= 96 && Y <= 113) c.Y = 0;
    if (X < 0 || Y < 0 || !c.Valid()) return {};
    return c;
}

TColor TKITColorButtonPalette::CellColour(TPaletteCell c) const
{
    return c.Y == 0 ? FOtherColor : FColorGrid->Cell(c.X, c.Y);
}

// -- drawing

void TKITColorButtonPalette::DrawCell(TCanvas& cv, TPaletteCell c, bool highlighted)
{
    TRect r = CellRect(c);
    if (highlighted) {
        Frame3D(cv, r, cl3DDkShadow, cl3DDkShadow, 1);
        Frame3D(cv, r, clBtnHighlight, clBtnHighlight, 1);
        Frame3D(cv, r, cl3DDkShadow, cl3DDkShadow, 1);
    } else {
        Frame3D(cv, r, clBtnFace, clBtnFace, 1);
        Frame3D(cv, r, clBtnShadow, clBtnHighlight, 1);
        Frame3D(cv, r, cl3DDkShadow, cl3DLight, 1);
    }
    cv.Brush().SetStyle(bsSolid);
    cv.Brush().SetColor(CellColour(c));
    cv.FillRect(r);
}

void TKITColorButtonPalette::FormPaint(TCanvas& cv)
{
    cv.Brush().SetStyle(bsSolid);
    cv.Brush().SetColor(clBtnFace);
    cv.FillRect({0, 0, ClientWidth, OtherTop + OtherHeight + 2});
    for (int x = 1; x <= 4; ++x)
        for (int y = 1; y <= 5; ++y) DrawCell(cv, {x, y}, false);
    cv.Pen().SetWidth(1);
    cv.Pen().SetColor(clBtnShadow);
    cv.MoveTo(2, 93);
    cv.LineTo(ClientWidth - 2, 93);
    cv.Pen().SetColor(clBtnHighlight);
    cv.MoveTo(2, 94);
    cv.LineTo(ClientWidth - 2, 94);
    DrawCell(cv, {0, 0}, false);
    // The selection stays visible through a repaint; then the cell under the mouse is tracked.
    if (FSelected.Valid()) DrawCell(cv, FSelected, true);
    const TPoint p = Surface->ScreenToClient(LastMousePos());
    SetSelected(CellAt(p.x, p.y));
}

void TKITColorButtonPalette::SetSelected(TPaletteCell c)
{
    if (c == FSelected || !c.Valid()) return;
    TCanvas& cv = Surface->Canvas();
    if (FSelected.Valid()) DrawCell(cv, FSelected, false);
    DrawCell(cv, c, true);
    FSelected = c;
}

void TKITColorButtonPalette::SelectColor(TColor Color)
{
    FCurrentColor = Color;
    const TColor rgb = ColorToRGB(Color);
    for (int x = 1; x <= 4; ++x)
        for (int y = 1; y <= 5; ++y)
            if (ColorToRGB(FColorGrid->Cell(x, y)) == rgb) {
                SetSelected({x, y});
                return;
            }
    FOtherColor = Color;
}

// -- input

void TKITColorButtonPalette::FormMouseMove(int X, int Y) { SetSelected(CellAt(X, Y)); }

void TKITColorButtonPalette::Choose(TPaletteCell c)
{
    if (OnColorSelected && c.Valid()) OnColorSelected(this, c.Y == 0, CellColour(c));
}

void TKITColorButtonPalette::FormClick()
{
    const TPoint p = Surface->ScreenToClient(LastMousePos());
    Choose(CellAt(p.x, p.y));
    close();
}

void TKITColorButtonPalette::FormKeyDown(std::uint16_t Key)
{
    TPaletteCell c = FSelected;
    if (!c.Valid()) {
        c = {1, 1};
    } else {
        switch (Key) {
        case VK_LEFT:
            if (c.Y == 0) return;
            c.X = c.X - 1 == 0 ? 4 : c.X - 1;
            break;
        case VK_RIGHT:
            if (c.Y == 0) return;
            c.X = c.X + 1 == 5 ? 1 : c.X + 1;
            break;
        case VK_UP: c.Y = c.Y - 1 == -1 ? 5 : c.Y - 1; break;
        case VK_DOWN: c.Y = c.Y + 1 == 6 ? 0 : c.Y + 1; break;
        default: return;
        }
    }
    SetSelected(c);
}

void TKITColorButtonPalette::FormKeyPress(char Key)
{
    if (Key != '\r' && Key != 27) return;
    if (Key == '\r') Choose(FSelected);
    FClosedByKey = true;
    close();
}

void TKITColorButtonPalette::keyPressEvent(QKeyEvent* event)
{
    Application->Guarded([&] {
        switch (event->key()) {
        case Qt::Key_Left: FormKeyDown(VK_LEFT); break;
        case Qt::Key_Right: FormKeyDown(VK_RIGHT); break;
        case Qt::Key_Up: FormKeyDown(VK_UP); break;
        case Qt::Key_Down: FormKeyDown(VK_DOWN); break;
        case Qt::Key_Return:
        case Qt::Key_Enter: FormKeyPress('\r'); break;
        case Qt::Key_Escape: FormKeyPress(27); break;
        default: FormKeyDown(0); break;
        }
    });
}

void TKITColorButtonPalette::FormDeactivate() { close(); }

void TKITColorButtonPalette::changeEvent(QEvent* event)
{
    TForm::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && !isActiveWindow() && isVisible())
        Application->Guarded([this] { FormDeactivate(); });
}

void TKITColorButtonPalette::closeEvent(QCloseEvent* event)
{
    // Refused while the colour dialog is open; otherwise the window goes and tells the button.
    if (FInDialog) {
        event->ignore();
        return;
    }
    event->accept();
    Application->Guarded([this] {
        if (OnClosed) OnClosed(this);
    });
}

// -- the other colour

void TKITColorButtonPalette::btnOtherClick()
{
    TColorDialogData data;
    data.Color = FOtherColor;
    data.FullOpen = true;
    for (int y = 1; y <= 2; ++y)
        for (int x = 1; x <= 8; ++x) {
            char line[32];
            std::snprintf(line, sizeof line, "Color%c=%08X", 'A' + (y - 1) * 8 + (x - 1),
                          static_cast<unsigned>(FCustomColors->Cell(x, y)));
            data.CustomColors.push_back(line);
        }
    bool confirmed = false;
    FInDialog = true;
    try {
        confirmed = ExecuteColorDialog(nullptr, data);
    } catch (...) {
        FInDialog = false;
        throw;
    }
    FInDialog = false;
    if (!confirmed) return;
    FOtherColor = data.Color;
    for (const std::string& line : data.CustomColors) {
        const std::size_t eq = line.find('=');
        int x, y;
        if (eq == std::string::npos || eq == 0 || !CustomCell(line[eq - 1], x, y)) continue;
        FCustomColors->SetCell(x, y, HexOrWhite(line.substr(eq + 1, 9)));
    }
    if (OnColorSelected) OnColorSelected(this, true, FOtherColor);
    close();
}

// -- hints

void TKITColorButtonPalette::GetColorHintText(TColor Color, int X, int Y, std::string& Hint)
{
    const TColor rgb = ColorToRGB(Color);
    char text[64];
    std::snprintf(text, sizeof text, "RGB = %.3d %.3d %.3d", GetRValue(rgb), GetGValue(rgb), GetBValue(rgb));
    Hint = text;
    DoGetColorHintText(Color, X, Y, Hint);
}

void TKITColorButtonPalette::DoGetColorHintText(TColor Color, int X, int Y, std::string& Hint)
{
    if (OnGetColorHintText) OnGetColorHintText(HintSender, Color, X, Y, Hint);
}

// Over a cell the hint is the cell's colour, shown below the cell while the mouse stays in it; elsewhere
// on the palette there is none. The application's own hint handler still runs afterwards.
void TKITColorButtonPalette::PrepareCellHint(std::string& HintStr, bool& CanShow, THintInfo& Info)
{
    const TPaletteCell c = CellAt(Info.CursorPos.x, Info.CursorPos.y);
    if (!c.Valid()) {
        CanShow = false;
        return;
    }
    const TRect r = CellRect(c);
    Info.CursorRect = r;
    std::string text;
    GetColorHintText(CellColour(c), c.X, c.Y, text);
    HintStr = text;
    CanShow = CanShow && !text.empty();
    if (CanShow) Info.HintPos = Surface->ClientToScreen({r.Left, r.Bottom + 8});
}
