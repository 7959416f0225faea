// The move markers (arrow windows and the floating caption box) and the integer lists of the grid.
#include "grid/ExtObj.h"

#include "grid/ExtUtil.h"
#include "platform/controls/TopLevel.h"
#include "platform/graphics/Bitmap.h"
#include "platform/graphics/Canvas.h"
#include "platform/graphics/Region.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/StrUtils.h"

#include <charconv>

namespace {
constexpr std::uint32_t Descending = 0x80000000u;

// The arrow polygons by direction: up, down, right, left.
constexpr TPoint ArrowPoints[4][7] = {
    {{5, 0}, {10, 5}, {7, 5}, {7, 9}, {3, 9}, {3, 5}, {0, 5}},
    {{3, 0}, {7, 0}, {7, 4}, {9, 4}, {5, 8}, {1, 4}, {3, 4}},
    {{0, 3}, {0, 7}, {4, 7}, {4, 10}, {8, 5}, {4, 0}, {4, 3}},
    {{0, 5}, {4, 10}, {4, 7}, {8, 7}, {8, 3}, {4, 3}, {4, 0}},
};
} // namespace

// ---- Move markers ------------------------------------------------------------------------------------

const TClassInfo& TArrowWindow::StaticClassInfo()
{
    static const TClassInfo info({.Name = "TArrowWindow", .Parent = &TCustomPanel::StaticClassInfo()});
    return info;
}

TArrowWindow::TArrowWindow(TComponent* AOwner, int ADirection) : TCustomPanel(AOwner), FDirection(ADirection & 3)
{
    SetColor(0x00FF00);
    SetBevelOuter(bvNone);
    SetVisible(false);
    SetWindowFrameless(Widget(), true);
    SetWindowStayOnTop(Widget(), true);
    SetBounds(0, 0, 11, 11);
    const TRegion arrow = TRegion::FromPolygon(ArrowPoints[FDirection], 7, WINDING);
    TWinControl::SetWindowRegion(&arrow);
}

void TArrowWindow::ShowAt(int ScreenX, int ScreenY, bool Show)
{
    if (!Show) {
        SetVisible(false);
        return;
    }
    SetBounds(ScreenX, ScreenY, 11, 11);
    if (Visible()) return;
    SetVisible(true);   // the flag only: a window without a parent control stays hidden by it
    ShowWindowNoActivate(Widget());
}

const TClassInfo& TPopupButton::StaticClassInfo()
{
    static const TClassInfo info({.Name = "TPopupButton", .Parent = &TCustomControl::StaticClassInfo()});
    return info;
}

TPopupButton::TPopupButton(TComponent* AOwner) : TCustomControl(AOwner)
{
    SetColor(clBtnFace);
    SetVisible(false);
    SetWindowFrameless(Widget(), true);
    SetWindowStayOnTop(Widget(), true);
}

void TPopupButton::ShowAt(const TRect& ScreenRect)
{
    SetBounds(ScreenRect.Left, ScreenRect.Top, ScreenRect.Right - ScreenRect.Left, ScreenRect.Bottom - ScreenRect.Top);
    Invalidate();
    if (Visible()) return;
    SetVisible(true);   // the flag only: a window without a parent control stays hidden by it
    ShowWindowNoActivate(Widget());
}

void TPopupButton::Paint()
{
    TCustomControl::Paint();
    TCanvas& c = Canvas();
    TRect r = ClientRect();
    if (!Flat) Frame3D(c, r, clWhite, 0x808080, 1);
    if (GradFrom != clNone) DrawGradientBands(c, ColorToRGB(GradFrom), ColorToRGB(GradTo), false, r, 64);
    c.SetBkMode(TRANSPARENT);
    c.DrawText(Caption, r, DT_CENTER | DT_END_ELLIPSIS);
}

int TIntList::ValueAt(int index) const
{
    if (index < 0 || index >= Count()) throw EListError("List index out of bounds (" + std::to_string(index) + ")");
    return FItems[static_cast<std::size_t>(index)];
}

void TIntList::Changed()
{
    if (OnValuesChange) OnValuesChange(this, OwnerCol, OwnerRow);
}

void TIntList::PutValue(int index, int value)
{
    (void)ValueAt(index);
    FItems[static_cast<std::size_t>(index)] = value;
    Changed();
}

void TIntList::AddValue(int value)
{
    FItems.push_back(value);
    Changed();
}

void TIntList::DeleteValue(int index)
{
    (void)ValueAt(index);
    FItems.erase(FItems.begin() + index);
    Changed();
}

void TIntList::InsertValue(int index, int value)
{
    if (index < 0 || index > Count()) throw EListError("List index out of bounds (" + std::to_string(index) + ")");
    FItems.insert(FItems.begin() + index, value);
}

std::string TIntList::ValuesText() const
{
    std::string s;
    for (std::size_t i = 0; i < FItems.size(); ++i) {
        if (i) s += ',';
        s += std::to_string(FItems[i]);
    }
    return s;
}

void TIntList::SetValuesText(const std::string& text)
{
    FItems.clear();
    std::size_t start = 0;
    if (Trim(text).empty()) return;
    for (;;) {
        const auto comma = text.find(',', start);
        const std::string item = Trim(text.substr(start, comma == std::string::npos ? std::string::npos : comma - start));
        int v = 0;
        auto [p, ec] = std::from_chars(item.data(), item.data() + item.size(), v);
        if (item.empty() || ec != std::errc() || p != item.data() + item.size())
            throw EConvertError("'" + item + "' is not a valid integer value");
        AddValue(v);
        if (comma == std::string::npos) break;
        start = comma + 1;
    }
}

void TSortIndexList::AddSortColumn(int col, bool ascending)
{
    AddValue(ascending ? col : static_cast<int>(static_cast<std::uint32_t>(col) | Descending));
}

int TSortIndexList::FindSortColumn(int col) const
{
    for (int i = 0; i < Count(); ++i)
        if ((static_cast<std::uint32_t>(ValueAt(i)) & ~Descending) == static_cast<std::uint32_t>(col)) return i;
    return -1;
}

void TSortIndexList::ToggleSortDirection(int col)
{
    const int i = FindSortColumn(col);
    if (i >= 0) PutValue(i, static_cast<int>(static_cast<std::uint32_t>(ValueAt(i)) ^ Descending));
}

// ---- TFilePicture ------------------------------------------------------------------------------------

const TClassInfo& TFilePicture::StaticClassInfo()
{
    using P = TProps<TFilePicture>;
    static const TClassInfo info({
        .Name = "TFilePicture",
        .Parent = &TPersistent::StaticClassInfo(),
        .Properties = {P::Text("Filename", &TFilePicture::Filename, &TFilePicture::SetFilename).Default(std::string())},
    });
    return info;
}

void TFilePicture::SetFilename(const std::string& Name)
{
    FFilename = Name;
    TPicture pic;
    pic.LoadFromFile(Name);
    FWidth = pic.Width();
    FHeight = pic.Height();
}

void TFilePicture::DrawPicture(TCanvas& Canvas, const TRect& R) const
{
    if (FFilename.empty()) return;
    TPicture pic;
    pic.LoadFromFile(FFilename);
    if (pic.Graphic()) Canvas.StretchDraw(R, *pic.Graphic());
}

void TFilePicture::Assign(const TPersistent& Source)
{
    const auto* f = dynamic_cast<const TFilePicture*>(&Source);
    if (!f) {
        TPersistent::Assign(Source);
        return;
    }
    FFilename = f->FFilename;
    FWidth = f->FWidth;
    FHeight = f->FHeight;
}
