// Cell graphics: the control look's writers and its check box and radio group, the ways to give a cell a
// graphic, the graphic's layout, needed size and placement in the cell, and the drawing of each type.
#include "grid/ExtGrid.h"

#include "grid/GridResources.h"
#include "platform/graphics/Canvas.h"
#include "platform/graphics/Icon.h"
#include "platform/graphics/ImageList.h"
#include "platform/rtl/StringList.h"

#include <algorithm>
#include <cmath>

// ---- Control look --------------------------------------------------------------------------------------

void TControlLook::SetCheckSize(int v) { Store(FCheckSize, v); }
void TControlLook::SetUnCheckedGlyph(const TBitmap& v) { Store(FUnCheckedGlyph, v); }
void TControlLook::SetCheckedGlyph(const TBitmap& v) { Store(FCheckedGlyph, v); }
void TControlLook::SetControlStyle(TControlStyle v) { Store(FControlStyle, v); }
void TControlLook::SetColor(TColor v) { Store(FColor, v); }
void TControlLook::SetRadioSize(int v) { Store(FRadioSize, v); }
void TControlLook::SetRadioOffGlyph(const TBitmap& v) { Store(FRadioOffGlyph, v); }
void TControlLook::SetRadioOnGlyph(const TBitmap& v) { Store(FRadioOnGlyph, v); }
void TControlLook::SetFlatButton(bool v) { Store(FFlatButton, v); }
void TControlLook::SetProgressMarginY(int v) { Store(FProgressMarginY, v); }
void TControlLook::SetProgressMarginX(int v) { Store(FProgressMarginX, v); }
void TControlLook::SetProgressXP(bool v) { Store(FProgressXP, v); }
void TControlLook::SetDropDownAlwaysVisible(bool v) { Store(FDropDownAlwaysVisible, v); }

namespace {

// A resource or glyph drawn with its automatic transparent colour at (x, y).
void DrawGlyph(TCanvas& C, const TBitmap& b, int x, int y)
{
    if (b.Empty()) return;
    TBitmap t;
    t.Assign(b);
    t.SetTransparent(true);
    t.SetTransparentMode(tmAuto);
    C.Draw(x, y, t);
}

void DrawResource(TCanvas& C, const char* name, int x, int y)
{
    TBitmap b;
    if (LoadGridBitmap(name, b)) DrawGlyph(C, b, x, y);
}

// Draws a bitmap with its top-left pixel's colour transparent over a background colour.
void DrawOverBackground(TCanvas& C, const TBitmap& b, TColor back, int x, int y)
{
    if (b.Empty()) return;
    DrawTransparentBitmap(C, b, back, {x, y, x + b.Width(), y + b.Height()});
}

} // namespace

void TExtStringGrid::DrawCheckBox(TCanvas& C, const TRect& R, bool Checked, bool Enabled, TControlStyle Style)
{
    const int s = ControlLook.CheckSize();
    switch (Style) {
    case csClassic:
    case csFlat: {
        const int x = R.Left + (R.Width() - s) / 2, y = R.Top + (R.Height() - s) / 2;
        unsigned state = DFCS_BUTTONCHECK;
        if (Checked) state |= DFCS_CHECKED;
        if (Style == csFlat) state |= DFCS_FLAT;
        if (!Enabled) state |= DFCS_INACTIVE;
        C.DrawFrameControl({x, y, x + s, y + s}, DFC_BUTTON, state);
        break;
    }
    case csWinXP: DrawResource(C, Checked ? (Enabled ? "ESGCHK05" : "ESGCHK07") : (Enabled ? "ESGCHK06" : "ESGCHK08"), R.Left, R.Top); break;
    case csQuarn: DrawResource(C, Checked ? (Enabled ? "ESGCHK01" : "ESGCHK03") : (Enabled ? "ESGCHK02" : "ESGCHK04"), R.Left, R.Top); break;
    case csGlyph: DrawGlyph(C, Checked ? ControlLook.CheckedGlyph() : ControlLook.UnCheckedGlyph(), R.Left, R.Top); break;
    case csTheme: break;   // no visual styles on this desktop: nothing
    case csKestrom: {
        const int L = R.Left, T = R.Top, Rr = R.Right, B = R.Bottom;
        const TColor savedBrush = C.Brush().Color();
        C.Brush().SetStyle(bsSolid);
        C.Brush().SetColor(Enabled ? clBtnFace : clBtnShadow);
        C.Pen().SetColor(clBtnFace);
        C.Pen().SetWidth(1);
        C.Rectangle(R);
        C.Pen().SetColor(clBtnHighlight);
        const TPoint light[] = {{L, B}, {L, T}, {Rr, T}};
        C.Polyline(light, 3);
        C.Pen().SetColor(clBtnShadow);
        const TPoint dark[] = {{Rr, T}, {Rr, B}, {L, B}};
        C.Polyline(dark, 3);
        if (Checked) {
            C.Pen().SetColor(Enabled ? ControlLook.Color() : 0x808080);
            const int h = s / 2;
            C.MoveTo(L + 2, T + h);
            C.LineTo(L + 2, B - 2);
            C.MoveTo(L + 3, T - 1 + h);
            C.LineTo(L + 3, B - 3);
            C.MoveTo(L + 2, B - 2);
            C.LineTo(Rr - 2, T + 2);
            C.MoveTo(L + 3, B - 2);
            C.LineTo(Rr - 1, T + 2);
        }
        C.Brush().SetColor(savedBrush);
        break;
    }
    }
}

void TExtStringGrid::DrawRadioGroup(TCanvas& C, const TRect& R, int Count, int Index, const TStringList* Captions, bool Disabled,
                                    bool Horizontal, const std::string& CellText)
{
    const TControlStyle style = ControlLook.ControlStyle();
    const bool classic = style == csClassic || style == csFlat;
    const int s = classic ? ControlLook.RadioSize() : 16;
    const int oldMode = C.SetBkMode(TRANSPARENT);
    const int lineH = classic ? C.TextHeight("gh") : std::max(16, C.TextHeight("gh"));
    int captionsSoFar = 0;
    for (int i = 1; i <= Count; ++i) {
        const bool hasCaption = Captions && Captions->Count() >= i;
        const std::string caption = hasCaption ? (*Captions)[i - 1] : std::string();
        const bool selected = i == Index + 1 || (Index == -1 && hasCaption && caption == CellText);
        int x, y;
        if (Horizontal) {
            x = R.Left + captionsSoFar + (i - 1) * s + 2;
            y = R.Top + (R.Height() - s) / 2;
            if (hasCaption) {
                C.TextOut(x + s, y - 2, caption);
                captionsSoFar += C.TextWidth(caption);
            }
        } else if (hasCaption) {
            x = R.Left + 2;
            y = R.Top + (i - 1) * lineH + 2;
            C.TextOut(x + s + (classic ? 4 : 2), R.Top + (i - 1) * lineH, caption);
        } else {
            x = R.Left + (R.Width() - s) / 2;
            y = R.Top + (i - 1) * lineH + 2;
        }
        switch (style) {
        case csClassic:
        case csFlat: {
            unsigned state = DFCS_BUTTONRADIO;
            if (style == csFlat) state |= DFCS_FLAT;
            if (Disabled) state |= DFCS_INACTIVE;
            if (selected) state |= DFCS_CHECKED;
            const int extra = style == csFlat ? 2 : 0;
            C.DrawFrameControl({x, y, x + s + extra, y + s + extra}, DFC_BUTTON, state);
            break;
        }
        case csKestrom: {
            const TColor savedBrush = C.Brush().Color();
            C.Brush().SetStyle(bsSolid);
            C.Brush().SetColor(clBtnFace);
            C.Pen().SetColor(clBtnFace);
            const TPoint diamond[] = {{x + 2, y + 8}, {x + 8, y + 2}, {x + 14, y + 8}, {x + 8, y + 14}};
            C.Polygon(diamond, 4);
            C.Pen().SetColor(selected ? 0x808080 : 0xFFFFFF);
            const TPoint upper[] = {{x + 8, y + 14}, {x + 2, y + 8}, {x + 8, y + 2}};
            C.Polyline(upper, 3);
            C.Pen().SetColor(selected ? 0xFFFFFF : 0x808080);
            const TPoint lower[] = {{x + 8, y + 2}, {x + 14, y + 8}, {x + 8, y + 14}};
            C.Polyline(lower, 3);
            if (selected) {
                C.Pen().SetColor(ControlLook.Color());
                C.Brush().SetColor(ControlLook.Color());
                const TPoint inner[] = {{x + 6, y + 8}, {x + 8, y + 6}, {x + 10, y + 8}, {x + 8, y + 10}};
                C.Polygon(inner, 4);
            }
            C.Brush().SetColor(savedBrush);
            break;
        }
        case csTheme: break;
        case csWinXP: DrawResource(C, selected ? (Disabled ? "ESGRAD07" : "ESGRAD05") : (Disabled ? "ESGRAD08" : "ESGRAD06"), x, y); break;
        case csQuarn: DrawResource(C, selected ? (Disabled ? "ESGRAD03" : "ESGRAD01") : (Disabled ? "ESGRAD04" : "ESGRAD02"), x, y); break;
        case csGlyph: DrawGlyph(C, selected ? ControlLook.RadioOnGlyph() : ControlLook.RadioOffGlyph(), x, y); break;
        }
    }
    C.SetBkMode(oldMode);
}

// ---- Giving cells a graphic ----------------------------------------------------------------------------

void TExtStringGrid::SetPictureContainer(TPictureContainer* v)
{
    if (FPictureContainer) FPictureContainer->RemoveFreeNotification(this);
    FPictureContainer = v;
    if (v) v->FreeNotification(this);
    Invalidate();
}

THTMLPaintParams TExtStringGrid::MarkupParams(TColor URLColor)
{
    THTMLPaintParams p;
    p.Images = FGridImages;
    p.PictureContainer = FPictureContainer;
    p.PictureCache = FPictureCache.get();
    p.URLColor = URLColor;
    return p;
}

void TExtStringGrid::SetGridImages(TCustomImageList* v)
{
    if (FGridImages) FGridImages->RemoveFreeNotification(this);
    FGridImages = v;
    if (v) v->FreeNotification(this);
    Invalidate();
}

namespace {

TCellGraphic& Fresh(TExtStringGrid& g, int c, int r, TCellType type)
{
    TCellGraphic& gr = g.CreateCellGraphic(c, r);
    gr.CellType = type;
    return gr;
}

// The same, placed in the cell by the alignments.
TCellGraphic& Fresh(TExtStringGrid& g, int c, int r, TCellType type, TCellHAlign HAlign, TCellVAlign VAlign)
{
    TCellGraphic& gr = Fresh(g, c, r, type);
    gr.CellHAlign = HAlign;
    gr.CellVAlign = VAlign;
    return gr;
}

} // namespace

void TExtStringGrid::AddCheckBox(int ACol, int ARow, bool State, bool Data)
{
    TCellGraphic& g = Fresh(*this, ACol, ARow, Data ? ctDataCheckBox : ctCheckBox);
    g.CellBoolean = State;
    g.CellVAlign = vaCenter;
    if (Data) SetCheckBoxState(ACol, ARow, State);
    RefreshCell(RealToDisplayCol(ACol), ARow);
}

void TExtStringGrid::AddDataCheckBox(int ACol, int ARow, bool Virtual)
{
    TCellGraphic& g = Fresh(*this, ACol, ARow, Virtual ? ctVirtCheckBox : ctDataCheckBox);
    g.CellVAlign = vaCenter;
    RefreshCell(RealToDisplayCol(ACol), ARow);
}

void TExtStringGrid::AddRadio(int ACol, int ARow, bool Horizontal, const std::vector<std::string>& Captions, int Index)
{
    TCellGraphic& g = Fresh(*this, ACol, ARow, ctRadio);
    auto* list = new TStringList;
    for (const std::string& c : Captions) list->Add(c);
    g.CellObject = list;
    g.CellCreated = true;
    g.CellBoolean = Horizontal;
    g.CellIndex = Index;
    RefreshCell(RealToDisplayCol(ACol), ARow);
}

void TExtStringGrid::AddBitmap(int ACol, int ARow, TBitmap* ABitmap, bool Created, TCellHAlign HAlign, TCellVAlign VAlign,
                               bool Transparent)
{
    TCellGraphic& g = Fresh(*this, ACol, ARow, ctBitmap, HAlign, VAlign);
    g.CellObject = ABitmap;
    g.CellCreated = Created;
    g.CellTransparent = Transparent;
    RefreshCell(RealToDisplayCol(ACol), ARow);
}

void TExtStringGrid::AddIcon(int ACol, int ARow, TIcon* AIcon, bool Created, TCellHAlign HAlign, TCellVAlign VAlign)
{
    TCellGraphic& g = Fresh(*this, ACol, ARow, ctIcon, HAlign, VAlign);
    g.CellIcon = AIcon;
    g.CellCreated = Created;
    RefreshCell(RealToDisplayCol(ACol), ARow);
}

void TExtStringGrid::AddImageIdx(int ACol, int ARow, int Index, TCellHAlign HAlign, TCellVAlign VAlign)
{
    TCellGraphic& g = Fresh(*this, ACol, ARow, ctImageList, HAlign, VAlign);
    g.CellIndex = Index;
    RefreshCell(RealToDisplayCol(ACol), ARow);
}

void TExtStringGrid::AddDataImage(int ACol, int ARow, int Offset, TCellHAlign HAlign, TCellVAlign VAlign)
{
    TCellGraphic& g = Fresh(*this, ACol, ARow, ctDataImage, HAlign, VAlign);
    g.CellIndex = Offset;
    RefreshCell(RealToDisplayCol(ACol), ARow);
}

void TExtStringGrid::AddMultiImage(int ACol, int ARow, const std::vector<int>& Indexes, bool Horizontal, TCellHAlign HAlign,
                                   TCellVAlign VAlign)
{
    TCellGraphic& g = Fresh(*this, ACol, ARow, ctImages, HAlign, VAlign);
    auto* list = new TIntList(ACol, ARow);
    for (int i : Indexes) list->AddValue(i);
    list->OnValuesChange = [this](TIntList*, int c, int r) { RefreshCell(RealToDisplayCol(c), r); };
    g.CellObject = list;
    g.CellCreated = true;
    g.CellBoolean = Horizontal;
    RefreshCell(RealToDisplayCol(ACol), ARow);
}

void TExtStringGrid::AddPicture(int ACol, int ARow, TPicture* APicture, bool Created, int Mode, int Inset, TCellHAlign HAlign,
                                TCellVAlign VAlign)
{
    TCellGraphic& g = Fresh(*this, ACol, ARow, ctPicture, HAlign, VAlign);
    g.CellObject = APicture;
    g.CellCreated = Created;
    g.CellAngle = Mode;
    g.CellIndex = Inset;
    RefreshCell(RealToDisplayCol(ACol), ARow);
}

void TExtStringGrid::AddFilePicture(int ACol, int ARow, const std::string& FileName, int Mode, int Inset, TCellHAlign HAlign,
                                    TCellVAlign VAlign)
{
    auto picture = std::make_unique<TFilePicture>();
    picture->SetFilename(FileName);
    TCellGraphic& g = Fresh(*this, ACol, ARow, ctFilePicture, HAlign, VAlign);
    g.CellObject = picture.release();
    g.CellCreated = true;
    g.CellAngle = Mode;
    g.CellIndex = Inset;
    RefreshCell(RealToDisplayCol(ACol), ARow);
}

void TExtStringGrid::AddProgress(int ACol, int ARow, TColor BarColor, TColor BackColor)
{
    TCellGraphic& g = Fresh(*this, ACol, ARow, ctProgress);
    g.CellObject = TCellSlot::Colour(BarColor);
    g.CellIcon = TCellSlot::Colour(BackColor);
    RefreshCell(RealToDisplayCol(ACol), ARow);
}

void TExtStringGrid::AddProgressEx(int ACol, int ARow, TColor BarColor, TColor BackColor, TColor BarTextColor, TColor BackTextColor)
{
    AddProgress(ACol, ARow, BarColor, BackColor);
    TCellGraphic& g = *CellGraphicOf(ACol, ARow);
    g.CellBoolean = true;
    g.CellIndex = static_cast<int>(BarTextColor);
    g.CellAngle = static_cast<int>(BackTextColor);
}

void TExtStringGrid::AddProgressPie(int ACol, int ARow, TColor Color, int Percent)
{
    TCellGraphic& g = Fresh(*this, ACol, ARow, ctProgressPie);
    g.CellObject = TCellSlot::Colour(Color);
    g.CellAngle = Percent;
    g.CellVAlign = vaCenter;
    RefreshCell(RealToDisplayCol(ACol), ARow);
}

void TExtStringGrid::AddComment(int ACol, int ARow, const std::string& Comment)
{
    TCellGraphic& g = Fresh(*this, ACol, ARow, ctComment);
    g.CellText = Comment;
    RefreshCell(RealToDisplayCol(ACol), ARow);
}

void TExtStringGrid::AddButton(int ACol, int ARow, int AWidth, int AHeight, const std::string& Caption, TCellHAlign HAlign,
                               TCellVAlign VAlign)
{
    TCellGraphic& g = Fresh(*this, ACol, ARow, ctButton, HAlign, VAlign);
    g.CellIndex = (AWidth & 0xFFFF) | (AHeight << 16);
    g.CellText = Caption;
    RefreshCell(RealToDisplayCol(ACol), ARow);
}

void TExtStringGrid::AddBitButton(int ACol, int ARow, int AWidth, int AHeight, const std::string& Caption, const TBitmap& Glyph,
                                  TCellHAlign HAlign, TCellVAlign VAlign)
{
    AddButton(ACol, ARow, AWidth, AHeight, Caption, HAlign, VAlign);
    TCellGraphic& g = *CellGraphicOf(ACol, ARow);
    g.CellType = ctBitButton;
    auto* glyph = new TBitmap;
    glyph->Assign(Glyph);
    g.CellObject = glyph;
    g.CellCreated = true;
}

void TExtStringGrid::AddRotated(int ACol, int ARow, int Angle, const std::string& Text)
{
    TCellGraphic& g = Fresh(*this, ACol, ARow, ctRotated);
    g.CellAngle = Angle;
    SetCellValue(ACol, ARow, Text);
    RefreshCell(RealToDisplayCol(ACol), ARow);
}

void TExtStringGrid::SetErrorRange(int ACol, int ARow, int From, int Length)
{
    TCellGraphic* g = CellGraphicOf(ACol, ARow);
    if (!g) g = &CreateCellGraphic(ACol, ARow);
    g->CellErrFrom = static_cast<short>(From);
    g->CellErrLen = static_cast<short>(Length);
    RefreshCell(RealToDisplayCol(ACol), ARow);
}

// ---- Queries -------------------------------------------------------------------------------------------

std::intptr_t TExtStringGrid::CellImageKey(int ACol, int ARow)
{
    const TCellGraphic* g = CellGraphicOf(ACol, ARow);
    if (!g) return -1;
    switch (g->CellType) {
    case ctImageList: return g->CellIndex;
    case ctBitmap: return reinterpret_cast<std::intptr_t>(g->CellObject.Identity());
    case ctIcon: return reinterpret_cast<std::intptr_t>(g->CellIcon.Identity());
    default: return -1;
    }
}

TStringList* TExtStringGrid::RadioItemsOf(int ACol, int ARow)
{
    const TPoint b = BaseCellOf(ACol, ARow);
    const TCellGraphic* g = CellGraphicOf(b.x, b.y);
    return g && g->CellType == ctRadio ? g->CellObject.As<TStringList>() : nullptr;
}

TIntList* TExtStringGrid::ImageListOf(int ACol, int ARow)
{
    const TCellGraphic* g = CellGraphicOf(ACol, ARow);
    return g && g->CellType == ctImages ? g->CellObject.As<TIntList>() : nullptr;
}

bool TExtStringGrid::IsRotatedCell(int ACol, int ARow, int& AAngle)
{
    const TCellGraphic* g = CellGraphicOf(ACol, ARow);
    if (!g || g->CellType != ctRotated) return false;
    AAngle = g->CellAngle;
    return true;
}

// ---- Layout, size and placement -----------------------------------------------------------------------

namespace {

// The integer a progress or data-image cell shows; a text that is no integer counts as 0.
int CellInteger(TExtStringGrid& g, int c, int r)
{
    try {
        return g.CellAsInteger(c, r);
    } catch (const Exception&) {
        return 0;
    }
}

// A picture's drawn size by display mode in the available box.
TSize PictureSize(int pw, int ph, int mode, int bw, int bh)
{
    auto scaled = [&](double f) { return TSize{static_cast<int>(std::nearbyint(pw * f)), static_cast<int>(std::nearbyint(ph * f))}; };
    const double fx = pw == 0 ? 1.0 : static_cast<double>(bw) / pw, fy = ph == 0 ? 1.0 : static_cast<double>(bh) / ph;
    const bool fits = pw <= bw && ph <= bh;
    switch (mode) {
    case 1: return {bw, bh};
    case 2: return scaled(std::min(fx, fy));
    case 3: return fits ? TSize{pw, ph} : TSize{bw, bh};
    case 4: return fits ? TSize{pw, ph} : scaled(std::min({fx, fy, 1.0}));
    default: return {pw, ph};
    }
}

} // namespace

TExtStringGrid::TGraphicLayout TExtStringGrid::CellGraphicLayout(int ACol, int ARow, const TRect& R)
{
    TGraphicLayout l;
    const TCellGraphic* g = CellGraphicOf(ACol, ARow);
    if (!g) return l;
    l.VAlign = g->CellVAlign;
    l.HAlign = g->CellHAlign;
    l.DrawsText = !(IsCheckType(g->CellType) && g->CellType != ctCheckBox) && g->CellType != ctRotated &&
                  g->CellType != ctDataImage && g->CellType != ctRadio && g->CellType != ctProgress;
    auto size = [&](int w, int h) {
        l.Width = w;
        l.Height = h;
    };
    switch (g->CellType) {
    case ctBitmap:
        if (const TBitmap* b = g->CellObject.As<TBitmap>()) size(b->Width(), b->Height());
        break;
    case ctIcon:
        if (const TIcon* i = g->CellIcon.As<TIcon>()) size(i->Width(), i->Height());
        break;
    case ctImageList:
    case ctDataImage:
        if (FGridImages) size(FGridImages->Width(), FGridImages->Height());
        break;
    case ctCheckBox:
    case ctDataCheckBox:
    case ctVirtCheckBox: size(ControlLook.CheckSize(), ControlLook.CheckSize()); break;
    case ctImages:
        if (const TIntList* list = g->CellObject.As<TIntList>(); list && FGridImages) {
            if (g->CellBoolean) size(list->Count() * FGridImages->Width(), FGridImages->Height());
            else size(FGridImages->Width(), list->Count() * FGridImages->Height());
        }
        break;
    case ctPicture:
    case ctFilePicture: {
        int pw = 0, ph = 0;
        if (const TPicture* p = g->CellObject.As<TPicture>()) pw = p->Width(), ph = p->Height();
        if (const TFilePicture* f = g->CellObject.As<TFilePicture>()) pw = f->Width(), ph = f->Height();
        const TSize s = PictureSize(pw, ph, g->CellAngle, R.Width() - g->CellIndex, R.Height() - g->CellIndex);
        size(s.cx, s.cy);
        break;
    }
    case ctButton:
    case ctBitButton: size(g->CellIndex & 0xFFFF, (g->CellIndex >> 16) & 0xFFFF); break;
    case ctProgressPie: size(20, 20); break;
    default: break;
    }
    return l;
}

void TExtStringGrid::GetCellGraphicSize(int ACol, int ARow, TPoint& Size)
{
    Size = {0, 0};
    const TCellGraphic* g = CellGraphicOf(ACol, ARow);
    if (!g) return;
    const TRect cell = CellRect(RealToDisplayCol(ACol), ARow);
    const TGraphicLayout l = CellGraphicLayout(ACol, ARow, cell);
    Size = {l.Width, l.Height};
    switch (g->CellType) {
    case ctBitmap:
    case ctIcon:
    case ctImageList:
        // A picture shares the text's width unless it stands beside the text or the text is empty.
        if (!(g->CellHAlign == haBeforeText || g->CellHAlign == haAfterText || GetCellValue(ACol, ARow).empty())) Size.x = 0;
        break;
    case ctRadio: {
        const TStringList* items = g->CellObject.As<TStringList>();
        TCanvas& c = Canvas();
        const int line = c.TextHeight("gh");
        int w = 0;
        const int n = items ? items->Count() : 0;
        for (int i = 0; i < n; ++i) {
            const int cw = c.TextWidth((*items)[i]) + 12;
            w = g->CellBoolean ? w + cw : std::max(w, cw);
        }
        Size = g->CellBoolean ? TPoint{w, line} : TPoint{std::max(12, w), line * n};
        break;
    }
    default: break;
    }
    if (g->CellVAlign == vaFull) Size.y = cell.Height();
    if (g->CellHAlign == haFull) Size.x = cell.Width();
}

TRect TExtStringGrid::GraphicPlacement(int ACol, int ARow, const TGraphicLayout& L, const TRect& R, TAlignment TextAlign, int TextExtent)
{
    const TCellGraphic* g = CellGraphicOf(ACol, ARow);
    const int w = L.Width, h = L.Height;
    // The text's extent (its width + 2), 2 more for a text that is not empty.
    const int E = TextExtent > 2 ? TextExtent + 2 : TextExtent;
    int x = R.Left + 1, y = R.Top + 1;
    int right = -1, bottom = -1;
    switch (L.HAlign) {
    case haLeft: x = R.Left + 1; break;
    case haRight: x = R.Right - 1 - w; break;
    case haCenter: x = w < R.Width() ? R.Left + (R.Width() - w) / 2 : R.Left + 1; break;
    case haBeforeText: x = TextAlign != taLeftJustify ? std::max(R.Left + 1, R.Right - E - w) : R.Left + 1; break;
    case haAfterText: x = TextAlign == taRightJustify ? R.Right - 1 - w : R.Left + E; break;
    case haFull:
        x = R.Left;
        right = R.Right;
        break;
    }
    switch (L.VAlign) {
    case vaBottom: y = R.Bottom - 1 - h; break;
    case vaCenter: y = h < R.Height() ? R.Top + (R.Height() - h) / 2 : R.Top + 1; break;
    case vaUnderText: y = R.Bottom - h; break;
    case vaFull:
        y = R.Top;
        bottom = R.Bottom;
        break;
    case vaTop:
    case vaAboveText: y = R.Top + 1; break;
    }
    if (g && IsCheckType(g->CellType)) {
        const bool withText = g->CellType == ctCheckBox;
        switch (TextAlign) {
        case taLeftJustify: x = R.Left + 1; break;
        case taRightJustify: x = withText ? R.Right - E - w - 1 : R.Right - w - 1; break;
        case taCenter:
            x = withText && TextExtent > 2 ? R.Left + std::max(0, R.Width() - E) / 2 - w : R.Left + std::max(0, R.Width() - w) / 2;
            break;
        }
        if (x < R.Left) x = R.Left + 1;
        right = -1;
    }
    return {x, y, right >= 0 ? right : x + w, bottom >= 0 ? bottom : y + h};
}

// ---- Drawing ----------------------------------------------------------------------------------------

void TExtStringGrid::DrawNodeGlyph(TCanvas& C, int ARow, const TRect& R, const TCellGraphic& G, bool FixedColumn)
{
    const int indent = CellNode.NodeIndent();
    int left = R.Left + RowNodeIndent(ARow) - indent;
    const bool contracted = G.CellBoolean;
    if (CellNode.ShowTree() && ARow >= FixedRows() && !contracted) {
        if (FixedColumn) --left;
        C.Pen().SetColor(0xC0C0C0);
        C.Pen().SetWidth(1);
        C.MoveTo(left + indent / 2, R.Top + 6);
        C.LineTo(left + indent / 2, R.Bottom);
    }
    const TNodeType type = CellNode.NodeType();
    const TColor back = C.Brush().Color();
    if (type == cn3D) {
        C.Brush().SetColor(CellNode.Color);
        C.FillRect({left, R.Top, left + indent, R.Bottom});
        TRect e{left, R.Top, left + indent, R.Bottom};
        C.Pen().SetColor(0xFFFFFF);
        C.MoveTo(e.Left, e.Bottom - 1);
        C.LineTo(e.Left, e.Top);
        C.LineTo(e.Right - 1, e.Top);
        C.Pen().SetColor(0x808080);
        C.LineTo(e.Right - 1, e.Bottom - 1);
        C.LineTo(e.Left, e.Bottom - 1);
    }
    TBitmap glyph;
    if (type == cnLeaf && LoadGridBitmap(contracted ? "ESGLEAFCLOSE" : "ESGLEAFOPEN", glyph)) {
        DrawOverBackground(C, glyph, back, left, R.Top + 2);
        return;
    }
    if (type == cnXP && LoadGridBitmap(contracted ? "XPNODEC" : "XPNODEO", glyph)) {
        DrawOverBackground(C, glyph, back, left + 4, R.Top + 6);
        return;
    }
    if (type == cnGlyph && !CellNode.ExpandGlyph().Empty() && !CellNode.ContractGlyph().Empty()) {
        DrawOverBackground(C, contracted ? CellNode.ContractGlyph() : CellNode.ExpandGlyph(), back, left, R.Top + 2);
        return;
    }
    const int top = R.Top + std::max(0, R.Height() - 8) / 2;
    const int bl = left + 4;
    C.Brush().SetStyle(bsSolid);
    C.Brush().SetColor(CellNode.Color);
    if (type == cnFlat) {
        C.Pen().SetColor(CellNode.NodeColor);
        C.Rectangle(bl - 1, top - 1, bl + 9, top + 9);
        C.MoveTo(bl + 1, top + 3);
        C.LineTo(bl + 6, top + 3);
        if (contracted) {
            C.MoveTo(bl + 3, top + 1);
            C.LineTo(bl + 3, top + 6);
        }
    } else {
        TRect box{bl, top, bl + 8, top + 8};
        C.FillRect(box);
        C.DrawEdge(box, contracted ? EDGE_RAISED : EDGE_SUNKEN, BF_RECT | BF_SOFT);
    }
    C.Brush().SetColor(back);
}

void TExtStringGrid::DrawCellButton(TCanvas& C, int ACol, int ARow, const TRect& Cell, const TRect& Place, const TCellGraphic& G)
{
    auto& g = const_cast<TCellGraphic&>(G);
    g.CellValue = static_cast<double>(((Place.Left - Cell.Left) & 0xFFFF) | ((Place.Top - Cell.Top) << 16));
    const TColor savedBack = C.Brush().Color();
    C.Brush().SetColor(clBtnFace);
    const bool pressed = G.CellBoolean;
    unsigned state = DFCS_BUTTONPUSH;
    if (ControlLook.FlatButton()) state |= DFCS_FLAT;
    if (pressed) state |= DFCS_PUSHED;
    C.DrawFrameControl(Place, DFC_BUTTON, state);
    const int shrink = pressed ? 3 : 2;
    TRect caption{Place.Left + shrink, Place.Top + shrink, Place.Right - shrink, Place.Bottom - shrink};
    if (G.CellType == ctBitButton) {
        if (const TBitmap* glyph = G.CellObject.As<TBitmap>(); glyph && !glyph->Empty()) {
            DrawOverBackground(C, *glyph, clBtnFace, caption.Left, caption.Top + (caption.Height() - glyph->Height()) / 2);
            caption.Left += glyph->Width() + 2;
        }
    }
    const int mode = C.SetBkMode(TRANSPARENT);
    C.DrawText(G.CellText, caption, DT_CENTER | DT_VCENTER | DT_END_ELLIPSIS | DT_SINGLELINE);
    C.SetBkMode(mode);
    C.Brush().SetColor(savedBack);
    (void)ACol;
    (void)ARow;
}

void TExtStringGrid::DrawCellGraphic(TCanvas& C, int ACol, int ARow, const TRect& R, TGridDrawState AState, const TGraphicLayout& L,
                                     TAlignment TextAlign, int TextExtent)
{
    TCellGraphic* g = CellGraphicOf(ACol, ARow);
    if (!g) return;
    const TRect place = GraphicPlacement(ACol, ARow, L, R, TextAlign, TextExtent);
    const int x = place.Left, y = place.Top;
    auto canEdit = [&] {
        bool can = Options().Contains(goEditing);
        CanEditCell(ACol, ARow, can);
        return can;
    };
    switch (g->CellType) {
    case ctBitmap: {
        const TBitmap* b = g->CellObject.As<TBitmap>();
        if (!b) break;
        if (g->CellTransparent) {
            const bool disjunct = MouseActions.DisjunctRowSelect && Options().Contains(goRowSelect) && ACol >= FixedCols() &&
                                  ARow < static_cast<int>(FRowSelectFlags.size()) && FRowSelectFlags[static_cast<std::size_t>(ARow)];
            const TColor back = !AState.Contains(gdFocused) && (AState.Contains(gdSelected) || disjunct) ? FSelectionColor : C.Brush().Color();
            DrawOverBackground(C, *b, back, x, y);
        } else C.Draw(x, y, *b);
        break;
    }
    case ctIcon:
        if (const TIcon* i = g->CellIcon.As<TIcon>()) C.Draw(x, y, *i);
        break;
    case ctImageList:
        if (FGridImages) FGridImages->Draw(C, x, y, g->CellIndex, true);
        break;
    case ctCheckBox:
    case ctDataCheckBox:
    case ctVirtCheckBox: {
        bool checked = false;
        GetCheckBoxState(ACol, ARow, checked);
        DrawCheckBox(C, place, checked, canEdit(), ControlLook.ControlStyle());
        break;
    }
    case ctRotated: {
        const TFont saved = C.Font();
        C.Font().SetOrientation(g->CellAngle * 10);
        const std::string text = GetCellValue(ACol, ARow);
        TAlignment ha = taLeftJustify;
        TVAlignment va = vtaTop;
        CellAlignmentOf(ACol, ARow, ha, va);
        TRect origin = R;
        RotatedTextOrigin(origin, g->CellAngle, ha, va, text);
        const TRect clip{R.Left + 2, R.Top + 2, R.Right - 2, R.Bottom - 2};
        const unsigned align = C.SetTextAlign(TA_LEFT | TA_TOP);
        const int mode = C.SetBkMode(TRANSPARENT);
        C.TextRect(clip, origin.Left, origin.Top, text);
        C.SetBkMode(mode);
        C.SetTextAlign(align);
        C.SetFont(saved);
        break;
    }
    case ctDataImage:
        if (FGridImages) {
            const int index = CellInteger(*this, ACol, ARow) + g->CellIndex;
            if (index >= 0 && index < FGridImages->Count()) FGridImages->Draw(C, x, y, index, true);
        }
        break;
    case ctNode: DrawNodeGlyph(C, ARow, R, *g, ACol < FixedCols()); break;
    case ctRadio: {
        bool can = true;
        CanEditCell(ACol, ARow, can);
        DrawRadioGroup(C, R, g->CellObject.As<TStringList>() ? g->CellObject.As<TStringList>()->Count() : 0, g->CellIndex,
                       g->CellObject.As<TStringList>(), !can, g->CellBoolean, GetCellValue(ACol, ARow));
        break;
    }
    case ctImages:
        if (const TIntList* list = g->CellObject.As<TIntList>(); list && FGridImages) {
            int px = x, py = y;
            for (int i = 0; i < list->Count(); ++i) {
                FGridImages->Draw(C, px, py, list->ValueAt(i), true);
                if (g->CellBoolean) px += FGridImages->Width();
                else py += FGridImages->Height();
            }
        }
        break;
    case ctPicture:
        if (const TPicture* p = g->CellObject.As<TPicture>(); p && p->Graphic()) {
            if (g->CellAngle != 0) C.StretchDraw(place, *p->Graphic());
            else C.Draw(x, y, *p->Graphic());
        }
        break;
    case ctFilePicture:
        if (const TFilePicture* f = g->CellObject.As<TFilePicture>()) f->DrawPicture(C, place);
        break;
    case ctProgress: {
        const int percent = CellInteger(*this, ACol, ARow);
        const TColor bar = g->CellObject.Color(clBlue), back = g->CellIcon.Color(clWhite);
        const TColor barText = g->CellBoolean ? static_cast<TColor>(g->CellIndex) : ColorToRGB(bar) ^ 0xFFFFFF;
        const TColor backText = g->CellBoolean ? static_cast<TColor>(g->CellAngle) : ColorToRGB(back) ^ 0xFFFFFF;
        DrawProgressBar(C, R, bar, ControlLook.ProgressMarginY(), ControlLook.ProgressMarginX(), percent, backText, back, barText);
        break;
    }
    case ctComment:
        if (CommentColor != clNone) {
            const TColor back = C.Brush().Color();
            C.Brush().SetColor(CommentColor);
            C.Pen().SetColor(CommentColor);
            const TPoint tri[] = {{R.Right - 7, R.Top + 1}, {R.Right - 2, R.Top + 1}, {R.Right - 2, R.Top + 6}};
            C.Polygon(tri, 3);
            C.Brush().SetColor(Color());
            (void)back;
        }
        break;
    case ctButton:
    case ctBitButton: DrawCellButton(C, ACol, ARow, CellSpanRect(RealToDisplayCol(ACol), ARow), place, *g); break;
    case ctProgressPie: DrawProgressPie(C, {x, y, x + 20, y + 20}, g->CellObject.Color(clRed), g->CellAngle); break;
    default: break;
    }
}
