// The class library's grids on a custom-drawn control: geometry walks only the visible columns and rows,
// painting redraws only the cells inside the areas asked for, and the scroll bars are native bars laid
// over the control's right and bottom edges that speak in the class library's scroll messages.
#include "platform/controls/Grids.h"

#include "platform/controls/Application.h"
#include "platform/controls/ControlWidget.h"
#include "platform/graphics/Canvas.h"
#include "platform/graphics/Region.h"
#include "platform/rtl/SystemColors.h"

#include <QApplication>
#include <QPointer>
#include <QScrollBar>
#include <QWidget>

#include <algorithm>
#include <climits>

namespace {

[[noreturn]] void IndexOutOfRange() { throw EInvalidGridOperation("Grid index out of range"); }

bool Intersects(const TRect& a, const TRect& b)
{
    return a.Left < b.Right && b.Left < a.Right && a.Top < b.Bottom && b.Top < a.Bottom;
}

TRect Union(const TRect& a, const TRect& b)
{
    if (a.Right <= a.Left || a.Bottom <= a.Top) return b;
    if (b.Right <= b.Left || b.Bottom <= b.Top) return a;
    return {std::min(a.Left, b.Left), std::min(a.Top, b.Top), std::max(a.Right, b.Right), std::max(a.Bottom, b.Bottom)};
}

int MulDivInt(int a, int b, int c)
{
    if (c == 0) return 0;
    const long long v = static_cast<long long>(a) * b;
    // Rounded like the system's MulDiv: halves away from zero.
    const long long q = (v >= 0 ? v + c / 2 : v - c / 2) / c;
    return static_cast<int>(std::clamp<long long>(q, INT_MIN, INT_MAX));
}

} // namespace

// ---- Scroll bars -------------------------------------------------------------------------------------

struct TCustomGrid::Bars {
    QScrollBar* Bar[2] = {nullptr, nullptr};
    TScrollInfo Info[2];
    bool Shown[2] = {false, false};
    bool Setting = false;
};

namespace {

QScrollBar* MakeBar(TCustomGrid& grid, Qt::Orientation o, int bar)
{
    auto* sb = new QScrollBar(o, grid.Widget());
    sb->setFocusPolicy(Qt::NoFocus);
    sb->hide();
    QObject::connect(sb, &QAbstractSlider::actionTriggered, [&grid, sb, bar](int action) {
        int code = -1;
        switch (action) {
        case QAbstractSlider::SliderSingleStepAdd: code = SB_LINEDOWN; break;
        case QAbstractSlider::SliderSingleStepSub: code = SB_LINEUP; break;
        case QAbstractSlider::SliderPageStepAdd: code = SB_PAGEDOWN; break;
        case QAbstractSlider::SliderPageStepSub: code = SB_PAGEUP; break;
        case QAbstractSlider::SliderToMinimum: code = SB_TOP; break;
        case QAbstractSlider::SliderToMaximum: code = SB_BOTTOM; break;
        case QAbstractSlider::SliderMove: code = SB_THUMBTRACK; break;
        default: return;
        }
        const int pos = sb->sliderPosition();
        Application->Guarded([&] { grid.Scroll(bar, code, pos); });
    });
    QObject::connect(sb, &QAbstractSlider::sliderReleased, [&grid, sb, bar] {
        const int pos = sb->sliderPosition();
        Application->Guarded([&] {
            grid.Scroll(bar, SB_THUMBPOSITION, pos);
            grid.Scroll(bar, SB_ENDSCROLL, 0);
        });
    });
    return sb;
}

} // namespace

// ---- Following the form's size ----------------------------------------------------------------------

struct TCustomGrid::FormFilter : QObject {
    FormFilter(TCustomGrid& grid, QWidget* form) : Grid(grid), Form(form) { form->installEventFilter(this); }
    ~FormFilter() override
    {
        if (Form) Form->removeEventFilter(this);
    }
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == Form && event->type() == QEvent::Resize)
            Application->Guarded([&] { Grid.FormResized(Form->width(), Form->height()); });
        return false;
    }
    TCustomGrid& Grid;
    QPointer<QWidget> Form;
};

void TCustomGrid::SetFollowFormSize(bool v)
{
    FFollowForm.reset();
    if (v && Widget()->window() && Widget()->window() != Widget())
        FFollowForm = std::make_unique<FormFilter>(*this, Widget()->window());
}

TPoint TCustomGrid::FormSize() const
{
    const QWidget* form = Widget()->window();
    if (!form || form == Widget()) return {0, 0};
    return {form->width(), form->height()};
}

bool TCustomGrid::WindowAt(TPoint Screen) const
{
    const QWidget* w = QApplication::widgetAt(QPoint(Screen.x, Screen.y));
    for (; w; w = w->parentWidget())
        if (w == Widget()) return true;
    return false;
}

// ---- TInplaceEdit ------------------------------------------------------------------------------------

const TClassInfo& TInplaceEdit::StaticClassInfo()
{
    static const TClassInfo info({.Name = "TInplaceEdit", .Parent = &TCustomEdit::StaticClassInfo()});
    return info;
}

TInplaceEdit::TInplaceEdit(TComponent* AOwner) : TCustomEdit(AOwner)
{
    SetBorderVisible(false);
    SetTabStop(false);
    SetVisible(false);
    FGrid = dynamic_cast<TCustomGrid*>(AOwner);
}

void TInplaceEdit::UpdateContents()
{
    if (!FGrid) return;
    FGrid->FUpdatingEditor = true;
    SetText(FGrid->GetEditText(FGrid->Col(), FGrid->Row()));
    SetMaxLength(FGrid->GetEditLimit());
    FGrid->FUpdatingEditor = false;
}

void TInplaceEdit::BoundsChanged()
{
    if (!FGrid) return;
    const TRect r = FGrid->CellRect(FGrid->Col(), FGrid->Row());
    SetBounds(r.Left, r.Top, r.Right - r.Left, r.Bottom - r.Top);
}

void TInplaceEdit::PostChar(char Ch)
{
    WMChar(Ch);
    if (Ch == 0) return;
    if (Ch == 8) {
        if (SelLength() == 0 && SelStart() > 0) {
            const int s = SelStart();
            SetSelStart(s - 1);
            SetSelLength(1);
        }
        SetSelText("");
    } else if (static_cast<unsigned char>(Ch) >= 32) {
        if (MaxLength() > 0 && static_cast<int>(Text().size()) - SelLength() >= MaxLength()) return;
        SetSelText(std::string(1, Ch));
    }
}

void TInplaceEdit::SendToParent(std::uint16_t& Key, TShiftState Shift)
{
    if (FGrid) FGrid->KeyDown(Key, Shift);
    Key = 0;
}

void TInplaceEdit::KeyDown(std::uint16_t& Key, TShiftState Shift)
{
    TWinControl::KeyDown(Key, Shift);
    if (Key == 0) return;
    const int len = static_cast<int>(Text().size());
    const bool atStart = SelStart() == 0 && SelLength() == 0;
    const bool atEnd = SelStart() == len && SelLength() == 0;
    const bool all = SelStart() == 0 && SelLength() == len;
    switch (Key) {
    case VK_UP: case VK_DOWN: case VK_PRIOR: case VK_NEXT: case VK_ESCAPE: SendToParent(Key, Shift); break;
    case VK_INSERT:
        if (Shift.Empty()) SendToParent(Key, Shift);
        break;
    case VK_LEFT: case VK_HOME:
        if (Shift.Contains(ssCtrl) || ((atStart || all) && !Shift.Contains(ssShift))) SendToParent(Key, Shift);
        break;
    case VK_RIGHT: case VK_END:
        if (Shift.Contains(ssCtrl) || ((atEnd || all) && !Shift.Contains(ssShift))) SendToParent(Key, Shift);
        break;
    case VK_DELETE:
        if (Shift.Contains(ssCtrl)) SendToParent(Key, Shift);
        break;
    case VK_TAB:
        if (FGrid && FGrid->Options().Contains(goTabs) && !Shift.Contains(ssAlt)) SendToParent(Key, Shift);
        break;
    default: break;
    }
}

void TInplaceEdit::KeyPress(char& Key)
{
    if (FGrid) FGrid->KeyPress(Key);
    switch (Key) {
    case 9: case 27: Key = 0; break;
    case 13:
        if (SelStart() == 0 && SelLength() == static_cast<int>(Text().size())) SetSelStart(SelLength());
        else SelectAll();
        Key = 0;
        break;
    default:
        if (FGrid && !FGrid->CanEditModify()) Key = 0;
        break;
    }
    if (Key != 0) TWinControl::KeyPress(Key);
}

void TInplaceEdit::DoExit()
{
    TCustomEdit::DoExit();
}

void TInplaceEdit::Change()
{
    TCustomEdit::Change();
    // The class library hands every change of the editor's text to the grid at once.
    if (FGrid && !FGrid->FUpdatingEditor && Visible()) FGrid->SetEditText(FGrid->Col(), FGrid->Row(), Text());
}

// ---- TCustomGrid: construction and dimensions --------------------------------------------------------

const TClassInfo& TCustomGrid::StaticClassInfo()
{
    using P = TProps<TCustomGrid>;
    static const TClassInfo info({
        .Name = "TCustomGrid",
        .Parent = &TCustomControl::StaticClassInfo(),
        .Properties = {P::Integer("ColCount", &TCustomGrid::ColCount, &TCustomGrid::SetColCount).Default(5),
                       P::Integer("RowCount", &TCustomGrid::RowCount, &TCustomGrid::SetRowCount).Default(5),
                       P::Integer("FixedCols", &TCustomGrid::FixedCols, &TCustomGrid::SetFixedCols).Default(1),
                       P::Integer("FixedRows", &TCustomGrid::FixedRows, &TCustomGrid::SetFixedRows).Default(1),
                       P::Integer("DefaultColWidth", &TCustomGrid::DefaultColWidth, &TCustomGrid::SetDefaultColWidth).Default(64),
                       P::Integer("DefaultRowHeight", &TCustomGrid::DefaultRowHeight, &TCustomGrid::SetDefaultRowHeight).Default(24),
                       P::Colour("FixedColor", &TCustomGrid::FixedColor, &TCustomGrid::SetFixedColor).Default(clBtnFace)},
    });
    return info;
}

TCustomGrid::TCustomGrid(TComponent* AOwner) : TCustomControl(AOwner), FFixedColor(clBtnFace), FBars(std::make_unique<Bars>())
{
    FColWidths.assign(static_cast<std::size_t>(FColCount), FDefaultColWidth);
    FRowHeights.assign(static_cast<std::size_t>(FRowCount), FDefaultRowHeight);
    FFont.SetName("MS Sans Serif");
    FFont.SetHeight(-11);
    FFont.OnChange = [this](TPersistent*) { Invalidate(); };
    SetTabStop(true);
    Widget()->setFocusPolicy(Qt::StrongFocus);
    FBars->Bar[SB_HORZ] = MakeBar(*this, Qt::Horizontal, SB_HORZ);
    FBars->Bar[SB_VERT] = MakeBar(*this, Qt::Vertical, SB_VERT);
    SetBounds(0, 0, 320, 120);
}

TCustomGrid::~TCustomGrid() { FFollowForm.reset(); }

void TCustomGrid::ChangeSize(int newColCount, int newRowCount)
{
    if (newColCount < 1 || newRowCount < 1) throw EInvalidGridOperation("Grid index out of range");
    const int oldCols = FColCount, oldRows = FRowCount;
    if (oldCols == newColCount && oldRows == newRowCount) return;
    HideEdit();
    FColCount = newColCount;
    FRowCount = newRowCount;
    FColWidths.resize(static_cast<std::size_t>(newColCount), FDefaultColWidth);
    FRowHeights.resize(static_cast<std::size_t>(newRowCount), FDefaultRowHeight);
    FFixedCols = std::min(FFixedCols, newColCount - 1);
    FFixedRows = std::min(FFixedRows, newRowCount - 1);
    FCurrent.X = std::clamp(FCurrent.X, std::min(FFixedCols, newColCount - 1), newColCount - 1);
    FCurrent.Y = std::clamp(FCurrent.Y, std::min(FFixedRows, newRowCount - 1), newRowCount - 1);
    FAnchor.X = std::clamp(FAnchor.X, 0, newColCount - 1);
    FAnchor.Y = std::clamp(FAnchor.Y, 0, newRowCount - 1);
    if (FOptions.Contains(goRowSelect)) FAnchor.X = newColCount - 1;
    FTopLeft.X = std::clamp(FTopLeft.X, FFixedCols, std::max(FFixedCols, MaxLeftCol()));
    FTopLeft.Y = std::clamp(FTopLeft.Y, FFixedRows, std::max(FFixedRows, MaxTopRow()));
    SizeChanged(oldCols, oldRows);
    UpdateScrollRange();
    Invalidate();
}

void TCustomGrid::SetColCount(int v)
{
    if (v == FColCount) return;
    if (v <= FFixedCols && v > 0) FFixedCols = v - 1;
    ChangeSize(v, FRowCount);
}

void TCustomGrid::SetRowCount(int v)
{
    if (v == FRowCount) return;
    if (v <= FFixedRows && v > 0) FFixedRows = v - 1;
    ChangeSize(FColCount, v);
}

void TCustomGrid::SetFixedCols(int v)
{
    if (v < 0) IndexOutOfRange();
    if (v >= FColCount) throw EInvalidGridOperation("Fixed column count must be less than column count");
    if (v == FFixedCols) return;
    FFixedCols = v;
    FTopLeft.X = std::max(FTopLeft.X, v);
    FCurrent.X = std::max(FCurrent.X, v);
    FAnchor.X = std::max(FAnchor.X, v);
    UpdateScrollRange();
    Invalidate();
}

void TCustomGrid::SetFixedRows(int v)
{
    if (v < 0) IndexOutOfRange();
    if (v >= FRowCount) throw EInvalidGridOperation("Fixed row count must be less than row count");
    if (v == FFixedRows) return;
    FFixedRows = v;
    FTopLeft.Y = std::max(FTopLeft.Y, v);
    FCurrent.Y = std::max(FCurrent.Y, v);
    FAnchor.Y = std::max(FAnchor.Y, v);
    UpdateScrollRange();
    Invalidate();
}

void TCustomGrid::SetDefaultColWidth(int v)
{
    FDefaultColWidth = v;
    std::fill(FColWidths.begin(), FColWidths.end(), v);
    ColWidthsChanged();
    UpdateScrollRange();
    Invalidate();
}

void TCustomGrid::SetDefaultRowHeight(int v)
{
    FDefaultRowHeight = v;
    std::fill(FRowHeights.begin(), FRowHeights.end(), v);
    RowHeightsChanged();
    UpdateScrollRange();
    Invalidate();
}

int TCustomGrid::ColWidths(int col) const
{
    if (col < 0) IndexOutOfRange();
    return col < FColCount ? FColWidths[static_cast<std::size_t>(col)] : FDefaultColWidth;
}

void TCustomGrid::SetColWidths(int col, int w)
{
    if (col < 0 || col >= FColCount) IndexOutOfRange();
    int& slot = FColWidths[static_cast<std::size_t>(col)];
    if (slot == w) return;
    slot = w;
    ColWidthsChanged();
    UpdateScrollRange();
    if (FEditorMode && FInplaceEdit) FInplaceEdit->BoundsChanged();
    Invalidate();
}

int TCustomGrid::RowHeights(int row) const
{
    if (row < 0) IndexOutOfRange();
    return row < FRowCount ? FRowHeights[static_cast<std::size_t>(row)] : FDefaultRowHeight;
}

void TCustomGrid::SetRowHeights(int row, int h)
{
    if (row < 0 || row >= FRowCount) IndexOutOfRange();
    int& slot = FRowHeights[static_cast<std::size_t>(row)];
    if (slot == h) return;
    slot = h;
    RowHeightsChanged();
    UpdateScrollRange();
    if (FEditorMode && FInplaceEdit) FInplaceEdit->BoundsChanged();
    Invalidate();
}

void TCustomGrid::SetGridLineWidth(int v)
{
    if (v == FGridLineWidth) return;
    FGridLineWidth = std::max(0, v);
    Invalidate();
}

void TCustomGrid::SetOptions(TGridOptions v)
{
    if (v == FOptions) return;
    if (v.Contains(goRowSelect)) v.Exclude(goAlwaysShowEditor);
    const bool hadRowSelect = FOptions.Contains(goRowSelect);
    FOptions = v;
    if (!FEditorMode) {
        if (v.Contains(goAlwaysShowEditor)) ShowEditor();
        else HideEditor();
    }
    if (v.Contains(goRowSelect) && !hadRowSelect) {
        FAnchor = {FColCount - 1, FCurrent.Y};
        FCurrent.X = FFixedCols;
    }
    Invalidate();
}

void TCustomGrid::SetFixedColor(TColor v)
{
    if (v == FFixedColor) return;
    FFixedColor = v;
    Invalidate();
}

void TCustomGrid::SetScrollBars(TScrollStyle v)
{
    if (v == FScrollBars) return;
    FScrollBars = v;
    UpdateScrollRange();
    Invalidate();
}

// ---- Geometry ----------------------------------------------------------------------------------------

int TCustomGrid::SumWidths(int from, int to) const
{
    int s = 0;
    for (int c = std::max(0, from); c < to && c < FColCount; ++c) s += FColWidths[static_cast<std::size_t>(c)];
    return s;
}

int TCustomGrid::SumHeights(int from, int to) const
{
    int s = 0;
    for (int r = std::max(0, from); r < to && r < FRowCount; ++r) s += FRowHeights[static_cast<std::size_t>(r)];
    return s;
}

int TCustomGrid::ClientWidth() const
{
    return std::max(0, Width() - (FBars->Shown[SB_VERT] ? FScrollBarWidth : 0));
}

int TCustomGrid::ClientHeight() const
{
    return std::max(0, Height() - (FBars->Shown[SB_HORZ] ? FScrollBarWidth : 0));
}

int TCustomGrid::VisibleColCount() const
{
    if (FTopLeft.X >= FColCount) return 0;
    const int limit = ClientWidth();
    int x = SumWidths(0, FFixedCols), n = 0;
    for (int c = FTopLeft.X; c < FColCount; ++c) {
        x += FColWidths[static_cast<std::size_t>(c)];
        if (x > limit) break;
        ++n;
    }
    return std::max(1, n);
}

int TCustomGrid::VisibleRowCount() const
{
    if (FTopLeft.Y >= FRowCount) return 0;
    const int limit = ClientHeight();
    int y = SumHeights(0, FFixedRows), n = 0;
    for (int r = FTopLeft.Y; r < FRowCount; ++r) {
        y += FRowHeights[static_cast<std::size_t>(r)];
        if (y > limit) break;
        ++n;
    }
    return std::max(1, n);
}

int TCustomGrid::MaxTopRow() const
{
    const int room = ClientHeight() - SumHeights(0, FFixedRows);
    int used = 0, r = FRowCount - 1;
    while (r >= FFixedRows && used + FRowHeights[static_cast<std::size_t>(r)] <= room) {
        used += FRowHeights[static_cast<std::size_t>(r)];
        --r;
    }
    return std::clamp(r + 1, FFixedRows, std::max(FFixedRows, FRowCount - 1));
}

int TCustomGrid::MaxLeftCol() const
{
    const int room = ClientWidth() - SumWidths(0, FFixedCols);
    int used = 0, c = FColCount - 1;
    while (c >= FFixedCols && used + FColWidths[static_cast<std::size_t>(c)] <= room) {
        used += FColWidths[static_cast<std::size_t>(c)];
        --c;
    }
    return std::clamp(c + 1, FFixedCols, std::max(FFixedCols, FColCount - 1));
}

TRect TCustomGrid::CellRect(int col, int row) const
{
    if (col < 0 || row < 0 || col >= FColCount || row >= FRowCount) return {0, 0, 0, 0};
    // The row first: most cells asked for while a grid is filled lie below the view.
    int y;
    if (row < FFixedRows) y = SumHeights(0, row);
    else if (row >= FTopLeft.Y) {
        y = SumHeights(0, FFixedRows);
        const int limit = ClientHeight();
        for (int r = FTopLeft.Y; r < row; ++r) {
            y += FRowHeights[static_cast<std::size_t>(r)];
            if (y >= limit) return {0, 0, 0, 0};
        }
    } else return {0, 0, 0, 0};
    if (y >= ClientHeight() && row >= FFixedRows) return {0, 0, 0, 0};
    int x;
    if (col < FFixedCols) x = SumWidths(0, col);
    else if (col >= FTopLeft.X) {
        x = SumWidths(0, FFixedCols);
        const int limit = ClientWidth();
        for (int c = FTopLeft.X; c < col; ++c) {
            x += FColWidths[static_cast<std::size_t>(c)];
            if (x >= limit) return {0, 0, 0, 0};
        }
    } else return {0, 0, 0, 0};
    if (x >= ClientWidth() && col >= FFixedCols) return {0, 0, 0, 0};
    return {x, y, x + FColWidths[static_cast<std::size_t>(col)], y + FRowHeights[static_cast<std::size_t>(row)]};
}

TGridCoord TCustomGrid::MouseCoord(int x, int y) const
{
    TGridCoord c{-1, -1};
    if (x < 0 || y < 0 || x >= ClientWidth() || y >= ClientHeight()) return c;
    int pos = 0;
    for (int i = 0; i < FFixedCols; ++i) {
        pos += FColWidths[static_cast<std::size_t>(i)];
        if (x < pos) { c.X = i; break; }
    }
    if (c.X < 0)
        for (int i = FTopLeft.X; i < FColCount; ++i) {
            pos += FColWidths[static_cast<std::size_t>(i)];
            if (x < pos) { c.X = i; break; }
        }
    pos = 0;
    for (int i = 0; i < FFixedRows; ++i) {
        pos += FRowHeights[static_cast<std::size_t>(i)];
        if (y < pos) { c.Y = i; break; }
    }
    if (c.Y < 0)
        for (int i = FTopLeft.Y; i < FRowCount; ++i) {
            pos += FRowHeights[static_cast<std::size_t>(i)];
            if (y < pos) { c.Y = i; break; }
            if (pos > y) break;
        }
    if (c.X < 0 || c.Y < 0) return {-1, -1};
    return c;
}

void TCustomGrid::MouseToCell(int x, int y, int& col, int& row) const
{
    const TGridCoord c = MouseCoord(x, y);
    col = c.X;
    row = c.Y;
}

// ---- Selection and moving ----------------------------------------------------------------------------

TGridRect TCustomGrid::Selection() const
{
    return {std::min(FAnchor.X, FCurrent.X), std::min(FAnchor.Y, FCurrent.Y), std::max(FAnchor.X, FCurrent.X),
            std::max(FAnchor.Y, FCurrent.Y)};
}

void TCustomGrid::SetSelection(const TGridRect& r)
{
    const TGridRect old = Selection();
    FAnchor = {r.Right, r.Bottom};
    FCurrent = {r.Left, r.Top};
    if (FOptions.Contains(goRowSelect)) FAnchor.X = FColCount - 1;
    ClampInView();
    InvalidateSelectionChange(old);
}

void TCustomGrid::InvalidateSelectionChange(const TGridRect& old)
{
    auto area = [this](const TGridRect& g) {
        const int top = std::max(g.Top, FTopLeft.Y), left = std::max(g.Left, 0);
        TRect r = CellRect(left, std::min(top, FRowCount - 1));
        TRect a = CellRect(std::min(g.Right, FColCount - 1), std::min(g.Bottom, FRowCount - 1));
        // A corner out of view: the rows or columns in view between the corners.
        if (a.Right <= a.Left) a = {ClientWidth(), ClientHeight(), ClientWidth(), ClientHeight()};
        if (r.Right <= r.Left) r = {0, 0, 0, 0};
        return TRect{0, std::min(r.Top, a.Top), ClientWidth(), std::max(r.Bottom, a.Bottom)};
    };
    const TGridRect now = Selection();
    if (old == now) {
        InvalidateCell(FCurrent.X, FCurrent.Y);
        return;
    }
    if (old.Left == old.Right && old.Top == old.Bottom) InvalidateRect(CellRect(old.Left, old.Top));
    else InvalidateRect(area(old));
    if (now.Left == now.Right && now.Top == now.Bottom) InvalidateRect(CellRect(now.Left, now.Top));
    else InvalidateRect(area(now));
}

void TCustomGrid::MoveCurrent(int col, int row, bool moveAnchor, bool show)
{
    if (col < 0 || row < 0 || col >= FColCount || row >= FRowCount) IndexOutOfRange();
    if (!SelectCell(col, row)) return;
    const TGridRect old = Selection();
    FCurrent = {col, row};
    if (!FOptions.Contains(goAlwaysShowEditor)) HideEditor();
    if (moveAnchor || !FOptions.Contains(goRangeSelect)) {
        FAnchor = FCurrent;
        if (FOptions.Contains(goRowSelect)) FAnchor.X = FColCount - 1;
    }
    if (FOptions.Contains(goRowSelect)) FCurrent.X = FFixedCols;
    if (show) ClampInView();
    InvalidateSelectionChange(old);
}

void TCustomGrid::FocusCell(int col, int row, bool moveAnchor)
{
    MoveCurrent(col, row, moveAnchor, true);
    UpdateEdit();
    Click();
}

void TCustomGrid::MoveColRow(int col, int row, bool moveAnchor, bool show)
{
    MoveCurrent(col, row, moveAnchor, show);
    UpdateEdit();
    Click();
}

void TCustomGrid::SetCol(int v)
{
    if (v != FCurrent.X) FocusCell(v, FCurrent.Y, true);
}

void TCustomGrid::SetRow(int v)
{
    if (v != FCurrent.Y) FocusCell(FCurrent.X, v, true);
}

void TCustomGrid::MoveTopLeft(int col, int row)
{
    col = std::clamp(col, FFixedCols, std::max(FFixedCols, MaxLeftCol()));
    row = std::clamp(row, FFixedRows, std::max(FFixedRows, MaxTopRow()));
    if (col == FTopLeft.X && row == FTopLeft.Y) return;
    FTopLeft = {col, row};
    UpdateScrollRange();
    if (FEditorMode && FInplaceEdit) {
        const TRect r = CellRect(FCurrent.X, FCurrent.Y);
        if (r.Right > r.Left) FInplaceEdit->BoundsChanged();
        else FInplaceEdit->SetBounds(0, 0, 0, 0);
    }
    Invalidate();
    TopLeftChanged();
}

void TCustomGrid::SetLeftCol(int v)
{
    if (v != FTopLeft.X) MoveTopLeft(v, FTopLeft.Y);
}

void TCustomGrid::SetTopRow(int v)
{
    if (v != FTopLeft.Y) MoveTopLeft(FTopLeft.X, v);
}

void TCustomGrid::ClampInView()
{
    if (FCurrent.X < 0 || FCurrent.Y < 0 || FCurrent.X >= FColCount || FCurrent.Y >= FRowCount) return;
    int left = FTopLeft.X, top = FTopLeft.Y;
    if (FCurrent.X >= FFixedCols) {
        if (FCurrent.X < left) left = FCurrent.X;
        else {
            // The smallest left column that shows the current column whole.
            const int room = ClientWidth() - SumWidths(0, FFixedCols);
            int used = FColWidths[static_cast<std::size_t>(FCurrent.X)], c = FCurrent.X;
            while (c > FFixedCols && used + FColWidths[static_cast<std::size_t>(c - 1)] <= room) used += FColWidths[static_cast<std::size_t>(--c)];
            left = std::max(left, c);
        }
    }
    if (FCurrent.Y >= FFixedRows) {
        if (FCurrent.Y < top) top = FCurrent.Y;
        else {
            const int room = ClientHeight() - SumHeights(0, FFixedRows);
            int used = FRowHeights[static_cast<std::size_t>(FCurrent.Y)], r = FCurrent.Y;
            while (r > FFixedRows && used + FRowHeights[static_cast<std::size_t>(r - 1)] <= room) used += FRowHeights[static_cast<std::size_t>(--r)];
            top = std::max(top, r);
        }
    }
    MoveTopLeft(left, top);
}

void TCustomGrid::MoveColumn(int fromIndex, int toIndex)
{
    if (fromIndex == toIndex) return;
    ColumnMoved(fromIndex, toIndex);
    Invalidate();
}

void TCustomGrid::MoveRow(int fromIndex, int toIndex)
{
    if (fromIndex == toIndex) return;
    RowMoved(fromIndex, toIndex);
    Invalidate();
}

// ---- Class-library virtual steps ---------------------------------------------------------------------

bool TCustomGrid::SelectCell(int, int) { return true; }

bool TCustomGrid::CanEditShow()
{
    const bool focused = Focused() || (FInplaceEdit && FInplaceEdit->Focused());
    return FOptions.Contains(goEditing) && !FOptions.Contains(goRowSelect) && FEditorMode &&
           !ComponentState().Contains(csDesigning) && (FOptions.Contains(goAlwaysShowEditor) || focused);
}

TInplaceEdit* TCustomGrid::CreateEditor() { return new TInplaceEdit(this); }

std::string TCustomGrid::GetEditText(int, int) { return ""; }
void TCustomGrid::SetEditText(int, int, const std::string&) {}

void TCustomGrid::TopLeftChanged()
{
    if (OnTopLeftChanged) OnTopLeftChanged(this);
}

void TCustomGrid::ColumnMoved(int, int) {}
void TCustomGrid::RowMoved(int, int) {}
void TCustomGrid::ColWidthsChanged() {}
void TCustomGrid::RowHeightsChanged() {}
void TCustomGrid::SizeChanged(int, int) {}

void TCustomGrid::CalcSizingState(int X, int Y, TGridState& State, int& Index, int& SizingPos, int& SizingOfs)
{
    State = gsNormal;
    Index = -1;
    const int fixedW = SumWidths(0, FFixedCols), fixedH = SumHeights(0, FFixedRows);
    if (FOptions.Contains(goColSizing) && Y < fixedH) {
        // Within 3 pixels of a column's right edge.
        int x = 0;
        auto test = [&](int c) {
            x += FColWidths[static_cast<std::size_t>(c)];
            if (std::abs(X - x) <= 2) {
                State = gsColSizing;
                Index = c;
                SizingPos = x;
                SizingOfs = x - X;
                return true;
            }
            return x > X + 2;
        };
        for (int c = 0; c < FFixedCols; ++c)
            if (test(c)) return;
        for (int c = FTopLeft.X; c < FColCount && x <= ClientWidth(); ++c)
            if (test(c)) return;
    }
    if (FOptions.Contains(goRowSizing) && X < fixedW) {
        int y = 0;
        auto test = [&](int r) {
            y += FRowHeights[static_cast<std::size_t>(r)];
            if (std::abs(Y - y) <= 2) {
                State = gsRowSizing;
                Index = r;
                SizingPos = y;
                SizingOfs = y - Y;
                return true;
            }
            return y > Y + 2;
        };
        for (int r = 0; r < FFixedRows; ++r)
            if (test(r)) return;
        for (int r = FTopLeft.Y; r < FRowCount && y <= ClientHeight(); ++r)
            if (test(r)) return;
    }
}

void TCustomGrid::UpdateText()
{
    if (FInplaceEdit && FInplaceEdit->Visible()) SetEditText(FCurrent.X, FCurrent.Y, FInplaceEdit->Text());
}

// ---- The in-place editor -----------------------------------------------------------------------------

void TCustomGrid::UpdateEdit()
{
    if (!CanEditShow()) return;
    if (!FInplaceEdit) {
        FInplaceEdit = CreateEditor();
        FInplaceEdit->FGrid = this;
        FInplaceEdit->SetParent(this);
    }
    FInplaceEdit->UpdateContents();
    FInplaceEdit->SelectAll();
    if (!CanEditShow()) return;
    FInplaceEdit->BoundsChanged();
    FInplaceEdit->SetVisible(true);
    if (Focused()) FInplaceEdit->SetFocus();
}

void TCustomGrid::HideEdit()
{
    if (!FInplaceEdit || !FInplaceEdit->Visible()) return;
    UpdateText();
    const bool hadFocus = FInplaceEdit->Focused();
    FInplaceEdit->SetVisible(false);
    if (hadFocus && CanFocus()) SetFocus();
    InvalidateCell(FCurrent.X, FCurrent.Y);
}

void TCustomGrid::SetEditorMode(bool v)
{
    if (v) ShowEditor();
    else HideEditor();
}

void TCustomGrid::ShowEditor()
{
    FEditorMode = true;
    UpdateEdit();
}

void TCustomGrid::HideEditor()
{
    FEditorMode = false;
    HideEdit();
}

void TCustomGrid::ShowEditorChar(char Ch)
{
    ShowEditor();
    if (FInplaceEdit && FInplaceEdit->Visible()) FInplaceEdit->PostChar(Ch);
}

void TCustomGrid::InvalidateEditor()
{
    if (!FInplaceEdit || !FInplaceEdit->Visible()) return;
    FInplaceEdit->UpdateContents();
    FInplaceEdit->BoundsChanged();
}

// ---- Painting ----------------------------------------------------------------------------------------

void TCustomGrid::Invalidate()
{
    FDirtyAll = true;
    TCustomControl::Invalidate();
}

void TCustomGrid::InvalidateRect(const TRect& r)
{
    if (r.Right <= r.Left || r.Bottom <= r.Top) return;
    FDirty = Union(FDirty, r);
    TCustomControl::Invalidate();
}

void TCustomGrid::InvalidateCell(int col, int row) { InvalidateRect(CellRect(col, row)); }

void TCustomGrid::InvalidateRow(int row)
{
    if (row < 0 || row >= FRowCount) return;
    const TRect r = CellRect(FFixedCols > 0 ? 0 : FTopLeft.X, row);
    if (r.Bottom > r.Top) InvalidateRect({0, r.Top, ClientWidth(), r.Bottom});
}

void TCustomGrid::InvalidateCol(int col)
{
    if (col < 0 || col >= FColCount) return;
    const TRect r = CellRect(col, FFixedRows > 0 ? 0 : FTopLeft.Y);
    if (r.Right > r.Left) InvalidateRect({r.Left, 0, r.Right, ClientHeight()});
}

void TCustomGrid::Paint()
{
    TCanvas& canvas = Canvas();
    const TRect client{0, 0, Width(), Height()};
    FUpdateRect = FDirtyAll ? client : FDirty;
    FDirtyAll = false;
    FDirty = {0, 0, 0, 0};
    FCellsPainted = 0;
    const TRect area = FUpdateRect;
    const TRegion clip = TRegion::FromRect(area);
    canvas.SelectClipRgn(&clip);
    const TGridRect sel = Selection();
    const bool focused = Focused() || (FInplaceEdit && FInplaceEdit->Focused());
    const int cw = ClientWidth(), ch = ClientHeight();
    // Rows: the fixed ones, then the scrollable ones from TopRow until the client area ends.
    auto paintRow = [&](int row, int y) {
        const int h = FRowHeights[static_cast<std::size_t>(row)];
        if (y + h <= area.Top || y >= area.Bottom) return;
        auto paintCell = [&](int col, int x) {
            const int w = FColWidths[static_cast<std::size_t>(col)];
            const TRect r{x, y, x + w, y + h};
            if (!Intersects(r, area)) return;
            TGridDrawState state;
            if (col < FFixedCols || row < FFixedRows) state.Include(gdFixed);
            else {
                if (col >= sel.Left && col <= sel.Right && row >= sel.Top && row <= sel.Bottom) state.Include(gdSelected);
                if (col == FCurrent.X && row == FCurrent.Y && focused) state.Include(gdFocused);
                if (FOptions.Contains(goRowSelect) && row == FCurrent.Y && focused) state.Include(gdFocused);
            }
            ++FCellsPainted;
            DrawCell(col, row, r, state);
        };
        int x = 0;
        for (int c = 0; c < FFixedCols; ++c) {
            paintCell(c, x);
            x += FColWidths[static_cast<std::size_t>(c)];
        }
        for (int c = FTopLeft.X; c < FColCount && x < cw; ++c) {
            paintCell(c, x);
            x += FColWidths[static_cast<std::size_t>(c)];
        }
        // Past the last column: the control's colour.
        if (x < cw) {
            canvas.Brush().SetStyle(bsSolid);
            canvas.Brush().SetColor(Color());
            canvas.FillRect({x, y, cw, y + h});
        }
    };
    int y = 0;
    for (int r = 0; r < FFixedRows; ++r) {
        paintRow(r, y);
        y += FRowHeights[static_cast<std::size_t>(r)];
    }
    for (int r = FTopLeft.Y; r < FRowCount && y < ch; ++r) {
        paintRow(r, y);
        y += FRowHeights[static_cast<std::size_t>(r)];
    }
    if (y < ch) {
        canvas.Brush().SetStyle(bsSolid);
        canvas.Brush().SetColor(Color());
        canvas.FillRect({0, y, cw, ch});
    }
    // The corner between two shown scroll bars.
    if (FBars->Shown[SB_HORZ] && FBars->Shown[SB_VERT]) {
        canvas.Brush().SetColor(clBtnFace);
        canvas.FillRect({cw, ch, Width(), Height()});
    }
    canvas.SelectClipRgn(nullptr);
}

// ---- Scroll bars -------------------------------------------------------------------------------------

TScrollInfo TCustomGrid::GetScrollInfo(int bar) const { return FBars->Info[bar]; }

void TCustomGrid::SetScrollInfo(int bar, const TScrollInfo& info)
{
    FBars->Info[bar] = info;
    QScrollBar* sb = FBars->Bar[bar];
    FBars->Setting = true;
    const QSignalBlocker block(sb);
    const int page = std::max(0, info.Page);
    sb->setMinimum(info.Min);
    sb->setMaximum(std::max(info.Min, info.Max - std::max(page - 1, 0)));
    sb->setPageStep(std::max(1, page));
    sb->setSingleStep(1);
    sb->setValue(info.Pos);
    FBars->Setting = false;
}

bool TCustomGrid::ScrollBarVisible(int bar) const { return FBars->Shown[bar]; }

void TCustomGrid::ShowScrollBar(int bar, bool show)
{
    if (FBars->Shown[bar] == show) return;
    FBars->Shown[bar] = show;
    SizeChanged();
    Invalidate();
}

void TCustomGrid::SetScrollBarFlat(bool flat)
{
    for (QScrollBar* sb : FBars->Bar)
        sb->setStyleSheet(flat ? "QScrollBar { border: none; background: #f0f0f0; }"
                                 "QScrollBar::handle { background: #c8c8c8; border: none; }"
                               : "");
}

void TCustomGrid::SetScrollBarWidth(int w)
{
    FScrollBarWidth = std::max(1, w);
    SizeChanged();
    Invalidate();
}

// Lays the shown bars over the right and bottom edges.
void TCustomGrid::SizeChanged()
{
    TCustomControl::SizeChanged();
    if (!FBars) return;
    const bool h = FBars->Shown[SB_HORZ], v = FBars->Shown[SB_VERT];
    QScrollBar* hb = FBars->Bar[SB_HORZ];
    QScrollBar* vb = FBars->Bar[SB_VERT];
    hb->setGeometry(0, Height() - FScrollBarWidth, Width() - (v ? FScrollBarWidth : 0), FScrollBarWidth);
    vb->setGeometry(Width() - FScrollBarWidth, 0, FScrollBarWidth, Height() - (h ? FScrollBarWidth : 0));
    hb->setVisible(h);
    vb->setVisible(v);
    if (FColCount > 0 && !FColWidths.empty()) {
        FTopLeft.X = std::clamp(FTopLeft.X, FFixedCols, std::max(FFixedCols, MaxLeftCol()));
        FTopLeft.Y = std::clamp(FTopLeft.Y, FFixedRows, std::max(FFixedRows, MaxTopRow()));
    }
}

// The class library's thumb: positions 0..127 spread over the scrollable top-left cells.
void TCustomGrid::UpdateScrollRange()
{
    if (!FBars || FColWidths.empty()) return;
    auto update = [this](int bar, bool wanted, int first, int maxFirst, int current) {
        const bool show = wanted && maxFirst > first;
        if (FBars->Shown[bar] != show) {
            FBars->Shown[bar] = show;
            SizeChanged();
        }
        if (!show) return;
        TScrollInfo info = FBars->Info[bar];
        info.Min = 0;
        if (info.Page == 0) info.Max = 127;
        info.Pos = MulDivInt(current - first, 127, maxFirst - first);
        SetScrollInfo(bar, info);
    };
    // Showing one bar narrows the room of the other: two passes settle it.
    for (int pass = 0; pass < 2; ++pass) {
        update(SB_VERT, FScrollBars == ssVertical || FScrollBars == ssBoth, FFixedRows, MaxTopRow(), FTopLeft.Y);
        update(SB_HORZ, FScrollBars == ssHorizontal || FScrollBars == ssBoth, FFixedCols, MaxLeftCol(), FTopLeft.X);
    }
}

void TCustomGrid::Scroll(int bar, int code, int pos) { WMScroll(bar, code, pos); }

void TCustomGrid::WMScroll(int Bar, int Code, int Pos)
{
    const bool vert = Bar == SB_VERT;
    const int first = vert ? FFixedRows : FFixedCols;
    const int maxFirst = vert ? MaxTopRow() : MaxLeftCol();
    const int cur = vert ? FTopLeft.Y : FTopLeft.X;
    const int page = vert ? VisibleRowCount() : VisibleColCount();
    int next = cur;
    switch (Code) {
    case SB_LINEUP: next = cur - 1; break;
    case SB_LINEDOWN: next = cur + 1; break;
    case SB_PAGEUP: next = cur - page; break;
    case SB_PAGEDOWN: next = cur + page; break;
    case SB_TOP: next = first; break;
    case SB_BOTTOM: next = maxFirst; break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK:
        if (Code == SB_THUMBTRACK && !FOptions.Contains(goThumbTracking)) return;
        next = first + MulDivInt(std::clamp(Pos, 0, 127), maxFirst - first, 127);
        break;
    default: return;
    }
    if (vert) MoveTopLeft(FTopLeft.X, next);
    else MoveTopLeft(next, FTopLeft.Y);
    UpdateScrollRange();
}

// ---- Keys --------------------------------------------------------------------------------------------

void TCustomGrid::WMKeyDown(std::uint16_t& Key, TShiftState Shift)
{
    if (OnKeyDown) OnKeyDown(this, Key, Shift);
    if (Key != 0) KeyDown(Key, Shift);
}

bool TCustomGrid::DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos)
{
    bool handled = false;
    if (OnMouseWheel) OnMouseWheel(this, Shift, WheelDelta, MousePos, handled);
    if (handled) return true;
    FWheelDelta += WheelDelta;
    while (FWheelDelta >= 120 || FWheelDelta <= -120) {
        if (FWheelDelta > 0) {
            FWheelDelta -= 120;
            handled = DoMouseWheelUp(Shift, MousePos) || handled;
        } else {
            FWheelDelta += 120;
            handled = DoMouseWheelDown(Shift, MousePos) || handled;
        }
    }
    return true;
}

void TCustomGrid::WMChar(char& Key)
{
    if (FOptions.Contains(goEditing) && (Key == 8 || static_cast<unsigned char>(Key) >= 32)) {
        ShowEditorChar(Key);
        Key = 0;
        return;
    }
    TWinControl::KeyPress(Key);   // OnKeyPress
    if (Key != 0) KeyPress(Key);
}

void TCustomGrid::KeyPress(char& Key)
{
    if (!FOptions.Contains(goAlwaysShowEditor) && Key == 13) {
        if (FEditorMode) HideEditor();
        else ShowEditor();
        Key = 0;
    }
}

void TCustomGrid::KeyDown(std::uint16_t& Key, TShiftState Shift)
{
    const bool rowSelect = FOptions.Contains(goRowSelect);
    if (Key == VK_TAB && (!FOptions.Contains(goTabs) || Shift.Contains(ssAlt))) return;
    TGridCoord cur = FCurrent, tl = FTopLeft;
    const int pageH = std::max(1, VisibleRowCount()), pageW = std::max(1, VisibleColCount());
    bool handled = true;
    if (Shift.Contains(ssCtrl)) {
        switch (Key) {
        case VK_UP: --tl.Y; break;
        case VK_DOWN: ++tl.Y; break;
        case VK_LEFT:
            if (!rowSelect) { cur.X -= pageW; tl.X -= pageW; }
            break;
        case VK_RIGHT:
            if (!rowSelect) { cur.X += pageW; tl.X += pageW; }
            break;
        case VK_PRIOR: cur.Y = FTopLeft.Y; break;
        case VK_NEXT: cur.Y = FTopLeft.Y + pageH - 1; break;
        case VK_HOME: cur = {FFixedCols, FFixedRows}; break;
        case VK_END: cur = {FColCount - 1, FRowCount - 1}; break;
        default: handled = false; break;
        }
    } else {
        switch (Key) {
        case VK_UP: --cur.Y; break;
        case VK_DOWN: ++cur.Y; break;
        case VK_LEFT:
            if (rowSelect) --tl.X;
            else --cur.X;
            break;
        case VK_RIGHT:
            if (rowSelect) ++tl.X;
            else ++cur.X;
            break;
        case VK_NEXT: cur.Y += pageH; tl.Y += pageH; break;
        case VK_PRIOR: cur.Y -= pageH; tl.Y -= pageH; break;
        case VK_HOME:
            if (rowSelect) cur.Y = FFixedRows;
            else cur.X = FFixedCols;
            break;
        case VK_END:
            if (rowSelect) cur.Y = FRowCount - 1;
            else cur.X = FColCount - 1;
            break;
        case VK_TAB:
            if (Shift.Contains(ssShift)) {
                if (--cur.X < FFixedCols) {
                    cur.X = FColCount - 1;
                    if (--cur.Y < FFixedRows) cur.Y = FRowCount - 1;
                }
            } else if (++cur.X >= FColCount) {
                cur.X = FFixedCols;
                if (++cur.Y >= FRowCount) cur.Y = FFixedRows;
            }
            Shift.Exclude(ssShift);
            break;
        case VK_F1 + 1: SetEditorMode(true); break;   // F2
        default: handled = false; break;
        }
    }
    if (!handled) return;
    tl.X = std::clamp(tl.X, FFixedCols, std::max(FFixedCols, MaxLeftCol()));
    tl.Y = std::clamp(tl.Y, FFixedRows, std::max(FFixedRows, MaxTopRow()));
    if (tl.X != FTopLeft.X || tl.Y != FTopLeft.Y) MoveTopLeft(tl.X, tl.Y);
    cur.X = std::clamp(cur.X, FFixedCols, FColCount - 1);
    cur.Y = std::clamp(cur.Y, FFixedRows, FRowCount - 1);
    if (cur.X != FCurrent.X || cur.Y != FCurrent.Y)
        FocusCell(cur.X, cur.Y, !(Shift.Contains(ssShift) && FOptions.Contains(goRangeSelect)));
    if (Key == VK_TAB) Key = 0;
}

// ---- Mouse -------------------------------------------------------------------------------------------

void TCustomGrid::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (CanFocus() && !Focused()) SetFocus();
    if (Button == mbLeft && !Shift.Contains(ssDouble)) {
        CalcSizingState(X, Y, FGridState, FSizingIndex, FSizingPos, FSizingOfs);
        if (FGridState != gsNormal) {
            SetMouseCapture(true);
            TWinControl::MouseDown(Button, Shift, X, Y);
            return;
        }
        const TGridCoord cell = MouseCoord(X, Y);
        if (cell.X >= FFixedCols && cell.Y >= FFixedRows) {
            if (FOptions.Contains(goEditing)) {
                if (cell.X == FCurrent.X && cell.Y == FCurrent.Y) ShowEditor();
                else {
                    MoveCurrent(cell.X, cell.Y, true, true);
                    UpdateEdit();
                }
                Click();
            } else {
                FGridState = gsSelecting;
                SetMouseCapture(true);
                if (Shift.Contains(ssShift) && FOptions.Contains(goRangeSelect)) {
                    const TGridRect old = Selection();
                    FAnchor = cell;
                    InvalidateSelectionChange(old);
                } else MoveCurrent(cell.X, cell.Y, true, true);
            }
        } else if (FOptions.Contains(goRowMoving) && cell.X >= 0 && cell.X < FFixedCols && cell.Y >= FFixedRows) {
            FMoveIndex = FMovePos = cell.Y;
            FGridState = gsRowMoving;
            SetMouseCapture(true);
        } else if (FOptions.Contains(goColMoving) && cell.Y >= 0 && cell.Y < FFixedRows && cell.X >= FFixedCols) {
            FMoveIndex = FMovePos = cell.X;
            FGridState = gsColMoving;
            SetMouseCapture(true);
        }
    }
    TWinControl::MouseDown(Button, Shift, X, Y);
}

void TCustomGrid::MouseMove(TShiftState Shift, int X, int Y)
{
    switch (FGridState) {
    case gsSelecting: {
        const TGridCoord cell = MouseCoord(X, Y);
        if (cell.X >= FFixedCols && cell.Y >= FFixedRows && FOptions.Contains(goRangeSelect) &&
            (cell.X != FAnchor.X || cell.Y != FAnchor.Y)) {
            const TGridRect old = Selection();
            FAnchor = cell;
            if (FOptions.Contains(goRowSelect)) FAnchor.X = FColCount - 1;
            InvalidateSelectionChange(old);
        }
        break;
    }
    case gsColSizing:
    case gsRowSizing: FSizingPos = (FGridState == gsColSizing ? X : Y) + FSizingOfs; break;
    case gsColMoving:
    case gsRowMoving: {
        const TGridCoord cell = MouseCoord(X, Y);
        const int idx = FGridState == gsColMoving ? cell.X : cell.Y;
        const int first = FGridState == gsColMoving ? FFixedCols : FFixedRows;
        if (idx >= first) FMovePos = idx;
        break;
    }
    default: break;
    }
    TWinControl::MouseMove(Shift, X, Y);
}

void TCustomGrid::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    switch (FGridState) {
    case gsColSizing: {
        const int start = FSizingIndex < FFixedCols ? SumWidths(0, FSizingIndex)
                                                    : SumWidths(0, FFixedCols) + SumWidths(FTopLeft.X, FSizingIndex);
        const int w = std::max(1, X + FSizingOfs - start);
        FGridState = gsNormal;
        SetColWidths(FSizingIndex, w);
        break;
    }
    case gsRowSizing: {
        const int start = FSizingIndex < FFixedRows ? SumHeights(0, FSizingIndex)
                                                    : SumHeights(0, FFixedRows) + SumHeights(FTopLeft.Y, FSizingIndex);
        const int h = std::max(1, Y + FSizingOfs - start);
        FGridState = gsNormal;
        SetRowHeights(FSizingIndex, h);
        break;
    }
    case gsColMoving:
    case gsRowMoving: {
        const bool cols = FGridState == gsColMoving;
        FGridState = gsNormal;
        if (FMoveIndex >= 0 && FMovePos >= 0 && FMovePos != FMoveIndex) {
            if (cols) MoveColumn(FMoveIndex, FMovePos);
            else MoveRow(FMoveIndex, FMovePos);
        }
        break;
    }
    default: FGridState = gsNormal; break;
    }
    FMoveIndex = FMovePos = -1;
    SetMouseCapture(false);
    TWinControl::MouseUp(Button, Shift, X, Y);
}

// One notch moves the current row by one.
bool TCustomGrid::DoMouseWheelDown(TShiftState Shift, TPoint MousePos)
{
    bool handled = TWinControl::DoMouseWheelDown(Shift, MousePos);
    if (!handled) {
        if (FCurrent.Y < FRowCount - 1) SetRow(FCurrent.Y + 1);
        handled = true;
    }
    return handled;
}

bool TCustomGrid::DoMouseWheelUp(TShiftState Shift, TPoint MousePos)
{
    bool handled = TWinControl::DoMouseWheelUp(Shift, MousePos);
    if (!handled) {
        if (FCurrent.Y > FFixedRows) SetRow(FCurrent.Y - 1);
        handled = true;
    }
    return handled;
}

void TCustomGrid::WMSetFocus(TWinControl* OldFocus)
{
    FFocusWithin = OldFocus && OldFocus == FInplaceEdit;
}

void TCustomGrid::WMKillFocus(TWinControl* NewFocus)
{
    FFocusWithin = NewFocus && NewFocus == FInplaceEdit;
}

void TCustomGrid::DoEnter()
{
    if (!FFocusWithin) TWinControl::DoEnter();
}

void TCustomGrid::DoExit()
{
    if (FFocusWithin) return;
    TWinControl::DoExit();
    if (!FOptions.Contains(goAlwaysShowEditor) && !(FInplaceEdit && FInplaceEdit->Focused())) HideEditor();
}

void TCustomGrid::SetMouseCapture(bool v)
{
    if (v == FCapture) return;
    FCapture = v;
    if (v) Widget()->grabMouse();
    else Widget()->releaseMouse();
}

// ---- TCustomDrawGrid ---------------------------------------------------------------------------------

const TClassInfo& TCustomDrawGrid::StaticClassInfo()
{
    static const TClassInfo info({.Name = "TCustomDrawGrid", .Parent = &TCustomGrid::StaticClassInfo()});
    return info;
}

void TCustomDrawGrid::DrawCell(int ACol, int ARow, TRect ARect, TGridDrawState AState)
{
    if (DefaultDrawing()) {
        TCanvas& c = Canvas();
        c.Brush().SetStyle(bsSolid);
        c.Brush().SetColor(AState.Contains(gdFixed) ? FixedColor() : AState.Contains(gdSelected) ? clHighlight : Color());
        c.FillRect(ARect);
    }
    if (OnDrawCell) OnDrawCell(this, ACol, ARow, ARect, AState);
}

bool TCustomDrawGrid::SelectCell(int ACol, int ARow)
{
    bool can = true;
    if (OnSelectCell) OnSelectCell(this, ACol, ARow, can);
    return can;
}

std::string TCustomDrawGrid::GetEditText(int ACol, int ARow)
{
    std::string v;
    if (OnGetEditText) OnGetEditText(this, ACol, ARow, v);
    return v;
}

void TCustomDrawGrid::SetEditText(int ACol, int ARow, const std::string& Value)
{
    if (OnSetEditText) OnSetEditText(this, ACol, ARow, Value);
}

void TCustomDrawGrid::ColumnMoved(int FromIndex, int ToIndex)
{
    if (OnColumnMoved) OnColumnMoved(this, FromIndex, ToIndex);
}

void TCustomDrawGrid::RowMoved(int FromIndex, int ToIndex)
{
    if (OnRowMoved) OnRowMoved(this, FromIndex, ToIndex);
}

// ---- TStringGrid -------------------------------------------------------------------------------------

const TClassInfo& TStringGrid::StaticClassInfo()
{
    static const TClassInfo info({.Name = "TStringGrid", .Parent = &TCustomDrawGrid::StaticClassInfo()});
    return info;
}

TStringGrid::TStringGrid(TComponent* AOwner) : TCustomDrawGrid(AOwner)
{
    FRows.resize(static_cast<std::size_t>(RowCount()));
}

TStringGrid::~TStringGrid() = default;

namespace {
const std::string EmptyText;
}

TGridCells& TStringGrid::RowStore(int row)
{
    auto& slot = FRows[static_cast<std::size_t>(row)];
    if (!slot) slot = std::make_unique<TGridCells>(static_cast<std::size_t>(ColCount()));
    return *slot;
}

const std::string& TStringGrid::Cells(int col, int row) const
{
    if (row < 0 || col < 0 || row >= static_cast<int>(FRows.size()) || !FRows[static_cast<std::size_t>(row)]) return EmptyText;
    const TGridCells& r = *FRows[static_cast<std::size_t>(row)];
    return col < static_cast<int>(r.size()) ? r[static_cast<std::size_t>(col)].Text : EmptyText;
}

void TStringGrid::SetCells(int col, int row, const std::string& text)
{
    if (col < 0 || row < 0 || col >= ColCount() || row >= RowCount()) IndexOutOfRange();
    TGridCells& r = RowStore(row);
    if (r[static_cast<std::size_t>(col)].Text == text) return;
    r[static_cast<std::size_t>(col)].Text = text;
    InvalidateCell(col, row);
}

TPersistent* TStringGrid::Objects(int col, int row) const
{
    if (row < 0 || col < 0 || row >= static_cast<int>(FRows.size()) || !FRows[static_cast<std::size_t>(row)]) return nullptr;
    const TGridCells& r = *FRows[static_cast<std::size_t>(row)];
    return col < static_cast<int>(r.size()) ? r[static_cast<std::size_t>(col)].Object : nullptr;
}

void TStringGrid::SetObjects(int col, int row, TPersistent* obj)
{
    if (col < 0 || row < 0 || col >= ColCount() || row >= RowCount()) IndexOutOfRange();
    RowStore(row)[static_cast<std::size_t>(col)].Object = obj;
}

TGridCells TStringGrid::Rows(int row) const
{
    if (row < 0 || row >= RowCount()) IndexOutOfRange();
    const auto& slot = FRows[static_cast<std::size_t>(row)];
    return slot ? *slot : TGridCells(static_cast<std::size_t>(ColCount()));
}

void TStringGrid::SetRows(int row, const TGridCells& cells)
{
    if (row < 0 || row >= RowCount()) IndexOutOfRange();
    TGridCells& r = RowStore(row);
    for (std::size_t c = 0; c < r.size(); ++c) r[c] = c < cells.size() ? cells[c] : TGridCell{};
    InvalidateRow(row);
}

TGridCells TStringGrid::Cols(int col) const
{
    if (col < 0 || col >= ColCount()) IndexOutOfRange();
    TGridCells out(static_cast<std::size_t>(RowCount()));
    for (int r = 0; r < RowCount(); ++r) out[static_cast<std::size_t>(r)] = {Cells(col, r), Objects(col, r)};
    return out;
}

void TStringGrid::SetCols(int col, const TGridCells& cells)
{
    if (col < 0 || col >= ColCount()) IndexOutOfRange();
    for (int r = 0; r < RowCount(); ++r) {
        const bool have = r < static_cast<int>(cells.size());
        if (!have && !FRows[static_cast<std::size_t>(r)]) continue;
        RowStore(r)[static_cast<std::size_t>(col)] = have ? cells[static_cast<std::size_t>(r)] : TGridCell{};
    }
    InvalidateCol(col);
}

void TStringGrid::ExchangeRows(int row1, int row2)
{
    if (row1 < 0 || row2 < 0 || row1 >= RowCount() || row2 >= RowCount()) IndexOutOfRange();
    std::swap(FRows[static_cast<std::size_t>(row1)], FRows[static_cast<std::size_t>(row2)]);
    InvalidateRow(row1);
    InvalidateRow(row2);
}

void TStringGrid::DeleteRow(int row)
{
    if (row < 0 || row >= RowCount()) IndexOutOfRange();
    if (RowCount() - 1 <= FixedRows() && RowCount() > 1 && FixedRows() > 0) {
        // The class library keeps FixedRows below RowCount.
        SetFixedRows(RowCount() - 2);
    }
    MoveRow(row, RowCount() - 1);
    SetRowCount(RowCount() - 1);
}

void TStringGrid::SizeChanged(int OldColCount, int OldRowCount)
{
    (void)OldRowCount;
    FRows.resize(static_cast<std::size_t>(RowCount()));
    if (OldColCount != ColCount())
        for (auto& r : FRows)
            if (r) r->resize(static_cast<std::size_t>(ColCount()));
}

void TStringGrid::ColumnMoved(int FromIndex, int ToIndex)
{
    for (auto& r : FRows) {
        if (!r) continue;
        auto& v = *r;
        const TGridCell cell = v[static_cast<std::size_t>(FromIndex)];
        v.erase(v.begin() + FromIndex);
        v.insert(v.begin() + ToIndex, cell);
    }
    TCustomDrawGrid::ColumnMoved(FromIndex, ToIndex);
}

void TStringGrid::RowMoved(int FromIndex, int ToIndex)
{
    auto moved = std::move(FRows[static_cast<std::size_t>(FromIndex)]);
    FRows.erase(FRows.begin() + FromIndex);
    FRows.insert(FRows.begin() + ToIndex, std::move(moved));
    // Heights travel with their rows.
    const int h = RowHeights(FromIndex);
    if (FromIndex < ToIndex)
        for (int r = FromIndex; r < ToIndex; ++r) SetRowHeights(r, RowHeights(r + 1));
    else
        for (int r = FromIndex; r > ToIndex; --r) SetRowHeights(r, RowHeights(r - 1));
    SetRowHeights(ToIndex, h);
    TCustomDrawGrid::RowMoved(FromIndex, ToIndex);
}

void TStringGrid::DrawCell(int ACol, int ARow, TRect ARect, TGridDrawState AState)
{
    if (DefaultDrawing()) {
        TCanvas& c = Canvas();
        TCustomDrawGrid::DrawCell(ACol, ARow, ARect, {});
        c.Brush().SetStyle(bsSolid);
        c.Brush().SetColor(AState.Contains(gdFixed) ? FixedColor() : AState.Contains(gdSelected) ? clHighlight : Color());
        c.Font().Assign(Font());
        c.TextRect(ARect, ARect.Left + 2, ARect.Top + 2, Cells(ACol, ARow));
        if (OnDrawCell) return;
    } else TCustomDrawGrid::DrawCell(ACol, ARow, ARect, AState);
}

std::string TStringGrid::GetEditText(int ACol, int ARow)
{
    std::string v = Cells(ACol, ARow);
    if (OnGetEditText) OnGetEditText(this, ACol, ARow, v);
    return v;
}

void TStringGrid::SetEditText(int ACol, int ARow, const std::string& Value)
{
    // The class library hands every change of the editor's text to the cell at once.
    SetCells(ACol, ARow, Value);
    TCustomDrawGrid::SetEditText(ACol, ARow, Value);
}
