// Walls and titles: their settings, stored rules and copying, and the layout and drawing of a title
// against the chart rectangle. The walls' drawing belongs to the chart (ChartWallsDraw.cpp).
#include "chart/control/ChartWalls.h"

#include "chart/base/LumHtml.h"
#include "chart/control/ChartControl.h"

#include <algorithm>

// ---- Walls -----------------------------------------------------------------------------------------------

const TClassInfo& TCustomChartWall::StaticClassInfo()
{
    static const TClassInfo info({.Name = "TCustomChartWall", .Parent = &TLumCustomShape::StaticClassInfo()});
    return info;
}

const TClassInfo& TChartWall::StaticClassInfo()
{
    using P = TProps<TChartWall>;
    using W = TChartWall;
    static const TClassInfo info({
        .Name = "TChartWall",
        .Parent = &TCustomChartWall::StaticClassInfo(),
        .Properties = {
            P::Boolean("AutoHide", &W::AutoHide, &W::SetAutoHide).Default(false),
            P::Object("Brush", [](const W& w) -> TPersistent* { return &w.Brush(); }),
            P::Colour("Color", &W::Color, &W::SetColor).StoredWhen(&W::ColorStored),
            P::Boolean("Dark3D", &W::Dark3D, &W::SetDark3D).Default(true),
            P::Object("Gradient", [](const W& w) -> TPersistent* { return &const_cast<W&>(w).Gradient(); })
                .StoredWhen(&W::HasGradient),
            P::Object("Pen", [](const W& w) -> TPersistent* { return &w.Pen(); }),
            P::Integer("Size", &W::Size, &W::SetSize).Default(0),
            P::Integer("Transparency", &W::Transparency, &W::SetTransparency).Default(0),
            P::Boolean("Transparent", &W::Transparent, &W::SetTransparent).StoredWhen(&W::TransparentStored),
            P::Boolean("Visible", &W::Visible, &W::SetVisible).Default(true),
        },
    });
    return info;
}

const TClassInfo& TChartBackWall::StaticClassInfo()
{
    static const TClassInfo info({.Name = "TChartBackWall", .Parent = &TChartWall::StaticClassInfo()});
    return info;
}

const TClassInfo& TChartRightWall::StaticClassInfo()
{
    static const TClassInfo info(
        {.Name = "TChartRightWall", .Parent = &TChartWall::StaticClassInfo(), .Defaults = {{"Visible", false}}});
    return info;
}

TCustomChartWall::TCustomChartWall(TCustomLumPanel* Chart) : TLumCustomShape(Chart) { InitColor(clDefault); }

void TCustomChartWall::Assign(const TPersistent& Source)
{
    if (auto* wall = dynamic_cast<const TCustomChartWall*>(&Source); wall && wall != this) {
        FAutoHide = wall->FAutoHide;
        FDark3D = wall->FDark3D;
        FSize = wall->FSize;
    }
    TLumCustomShape::Assign(Source);
}

namespace {

// Stores through the panel's change routine (a repaint on a change), or plainly without a panel.
template <class T>
void StoreField(TCustomLumPanel* Panel, T& Field, T Value)
{
    if (Panel)
        if constexpr (std::is_same_v<T, bool>)
            Panel->ChangeBoolean(Field, Value);
        else
            Panel->ChangeInteger(Field, Value);
    else
        Field = Value;
}

} // namespace

void TCustomChartWall::SetAutoHide(bool Value) { StoreField(ParentChart(), FAutoHide, Value); }
void TCustomChartWall::SetDark3D(bool Value) { StoreField(ParentChart(), FDark3D, Value); }
void TCustomChartWall::SetSize(int Value) { StoreField(ParentChart(), FSize, Value); }

void TCustomChartWall::InitColor(TColor Value)
{
    FDefaultColor = Value;
    SetColor(Value);
}

bool TCustomChartWall::DarkSides() const
{
    return FDark3D && Brush().Style() != bsClear && !Brush().HasImage();
}

TChartBackWall::TChartBackWall(TCustomLumPanel* Chart) : TChartWall(Chart)
{
    InitColor(clSilver);
    SetTransparent(true);
    SetDefaultTransparent(true);
}

TChartRightWall::TChartRightWall(TCustomLumPanel* Chart) : TChartWall(Chart)
{
    SetVisible(false);
    InitColor(clSilver);
}

// ---- The four walls --------------------------------------------------------------------------------------

const TClassInfo& TChartWalls::StaticClassInfo()
{
    static const TClassInfo info({.Name = "TChartWalls", .Parent = &TPersistent::StaticClassInfo()});
    return info;
}

TChartWalls::TChartWalls(TCustomChart* Chart)
    : FChart(Chart), FBack(std::make_unique<TChartBackWall>(Chart)), FBottom(std::make_unique<TChartWall>(Chart)),
      FLeft(std::make_unique<TChartWall>(Chart)), FRight(std::make_unique<TChartRightWall>(Chart))
{
    FLeft->InitColor(static_cast<TColor>(0x0080FFFF));
    FBottom->InitColor(clWhite);
}

TChartWalls::~TChartWalls() = default;

void TChartWalls::Assign(const TPersistent& Source)
{
    auto* walls = dynamic_cast<const TChartWalls*>(&Source);
    if (!walls) {
        TPersistent::Assign(Source);
        return;
    }
    if (walls == this) return;
    FBack->Assign(*walls->FBack);
    FBottom->Assign(*walls->FBottom);
    FLeft->Assign(*walls->FLeft);
    FRight->Assign(*walls->FRight);
}

void TChartWalls::SetView3D(bool Value)
{
    if (FChart) FChart->SetView3DWalls(Value);
}

void TChartWalls::SetSize(int Value)
{
    FLeft->SetSize(Value);
    FRight->SetSize(Value);
    FBack->SetSize(Value);
    FBottom->SetSize(Value);
}

// ---- Positioned boxes ------------------------------------------------------------------------------------

const TClassInfo& TLumCustomShapePosition::StaticClassInfo()
{
    static const TClassInfo info({.Name = "TLumCustomShapePosition", .Parent = &TLumCustomShape::StaticClassInfo()});
    return info;
}

void TLumCustomShapePosition::Assign(const TPersistent& Source)
{
    if (auto* other = dynamic_cast<const TLumCustomShapePosition*>(&Source); other && other != this) {
        FCustomPosition = other->FCustomPosition;
        if (FCustomPosition) {
            TRect r = ShapeRect();
            r.Left = other->Left();
            r.Top = other->Top();
            SetShapeRect(r);
        }
    }
    TLumCustomShape::Assign(Source);
}

void TLumCustomShapePosition::SetCustomPosition(bool Value) { StoreField(ParentChart(), FCustomPosition, Value); }

void TLumCustomShapePosition::StoreEdge(int TRect::*Edge, int Value)
{
    TRect r = ShapeRect();
    if (r.*Edge == Value) return;
    r.*Edge = Value;
    SetShapeRect(r);
    RepaintParent();
}

void TLumCustomShapePosition::SetLeft(int Value)
{
    FCustomPosition = true;
    StoreEdge(&TRect::Left, Value);
}

void TLumCustomShapePosition::SetTop(int Value)
{
    FCustomPosition = true;
    StoreEdge(&TRect::Top, Value);
}

// ---- Titles ----------------------------------------------------------------------------------------------

std::vector<TPropInfo> PublishedTitleProperties()
{
    using P = TProps<TChartTitle>;
    using T = TChartTitle;
    return {
        P::Boolean("AdjustFrame", &T::AdjustFrame, &T::SetAdjustFrame).Default(true),
        P::Enumeration("Alignment", AlignmentNames, &T::Alignment, &T::SetAlignment).Default(taCenter),
        P::Enumeration("Bevel", BevelCutNames, &T::Bevel, &T::SetBevel).Default(bvNone),
        P::Integer("BevelWidth", &T::BevelWidth, &T::SetBevelWidth).Default(2),
        P::Object("Brush", [](const T& t) -> TPersistent* { return &t.Brush(); }),
        P::Colour("Color", &T::Color, &T::SetColor).Default(clWhite),
        P::Boolean("CustomPosition", &T::CustomPosition, &T::SetCustomPosition).StoredWhen(&T::CustomPositionStored),
        P::Object("Font", [](const T& t) -> TPersistent* { return &t.Font(); }),
        P::Object("Frame", [](const T& t) -> TPersistent* { return &t.Pen(); }),
        P::Object("Gradient", [](const T& t) -> TPersistent* { return &const_cast<T&>(t).Gradient(); })
            .StoredWhen(&T::HasGradient),
        P::Integer("Left", &T::Left, &T::SetLeft).StoredWhen(&T::CustomPosition),
        P::Object("Shadow", [](const T& t) -> TPersistent* { return &const_cast<T&>(t).Shadow(); }),
        P::Enumeration("ShapeStyle", ShapeStyleNames, &T::ShapeStyle, &T::SetShapeStyle).Default(fosRectangle),
        P::Object("Text", [](const T& t) -> TPersistent* { return &t.Text(); }),
        P::Enumeration("TextFormat", TextFormatNames, &T::TextFormat, &T::SetTextFormat).Default(ttfNormal),
        P::Integer("Top", &T::Top, &T::SetTop).StoredWhen(&T::CustomPosition),
        P::Integer("Transparency", &T::Transparency, &T::SetTransparency).Default(0),
        P::Boolean("Transparent", &T::Transparent, &T::SetTransparent).StoredWhen(&T::TransparentStored),
        P::Boolean("Visible", &T::Visible, &T::SetVisible).Default(true),
    };
}

const TClassInfo& TChartTitle::StaticClassInfo()
{
    static const TClassInfo info({.Name = "TChartTitle",
                                  .Parent = &TLumCustomShapePosition::StaticClassInfo(),
                                  .Properties = PublishedTitleProperties()});
    return info;
}

const TClassInfo& TChartFootTitle::StaticClassInfo()
{
    static const TClassInfo info({.Name = "TChartFootTitle", .Parent = &TChartTitle::StaticClassInfo()});
    return info;
}

TChartTitle::TChartTitle(TCustomLumPanel* Chart)
    : TLumCustomShapePosition(Chart), FText(std::make_unique<TStringList>())
{
    FText->OnChange = [this](TPersistent*) { RepaintParent(); };
    SetTransparent(true);
    SetDefaultTransparent(true);
    InitFont(clBlue, {});
}

TChartTitle::~TChartTitle() { FText->OnChange = nullptr; }

void TChartTitle::InitFont(TColor Color, TFontStyles Style)
{
    Font().SetColor(Color);
    Font().SetDefaultColor(Color);
    Font().SetStyle(Style);
    Font().SetDefaultStyle(Style);
}

void TChartTitle::Assign(const TPersistent& Source)
{
    if (auto* title = dynamic_cast<const TChartTitle*>(&Source); title && title != this) {
        FAdjustFrame = title->FAdjustFrame;
        FAlignment = title->FAlignment;
        FText->Assign(*title->FText);
    }
    TLumCustomShapePosition::Assign(Source);
}

void TChartTitle::SetAdjustFrame(bool Value) { StoreField(ParentChart(), FAdjustFrame, Value); }

void TChartTitle::SetAlignment(TAlignment Value)
{
    if (FAlignment == Value) return;
    FAlignment = Value;
    RepaintParent();
}

void TChartTitle::SetTextLine(const std::string* Line)
{
    FText->BeginUpdate();
    FText->Clear();
    if (Line) FText->Add(*Line);
    FText->EndUpdate();
}

bool TChartTitle::HitTest(int X, int Y) const
{
    const TRect& r = ShapeRect();
    return Visible() && X >= std::min(r.Left, r.Right) && X <= std::max(r.Left, r.Right) &&
           Y >= std::min(r.Top, r.Bottom) && Y <= std::max(r.Top, r.Bottom);
}

int TChartTitle::FrameWidth() const
{
    if (Bevel() != bvNone) return BevelWidth();
    return Pen().Visible() && Pen().Color() != clDefault ? Pen().Width() : 0;
}

void TChartTitle::DrawTitle()
{
    TCustomLumPanel* chart = ParentChart();
    const int lines = FText->Count();
    if (!chart || !Visible() || lines == 0) return;
    TCanvas3D& canvas = chart->ChartCanvas();
    const bool custom = CustomPosition();
    const int f = FrameWidth();

    TRect r = ShapeRect();
    if (!custom) {
        r = chart->ChartRect();
        if (FOnTop) r.Top += f;
    }
    canvas.SelectFont(Font());
    canvas.WriteTextAlign(TA_LEFT);
    const int h = canvas.CharHeight();
    if (FOnTop || custom)
        r.Bottom = r.Top + lines * h;
    else
        r.Top = r.Bottom - lines * h;
    if (!custom) r = {r.Left - f, r.Top - f, r.Right + f, r.Bottom + f};

    const int w = canvas.MeasureTextWidth("W");
    // Every line is written through the HTML tag writer, so its width is that of the text it shows,
    // without its tags; an HTML title's tags may span lines, so it is measured whole.
    auto shownWidth = [&canvas](const std::string& text) {
        TSize size{};
        MeasureHtmlText(canvas, text, size);
        return static_cast<int>(size.cx);
    };
    std::string all;
    for (int i = 0; i < lines; ++i) all += (i ? "\r\n" : "") + FText->Strings(i);
    if (FAdjustFrame) {
        int widest = 0;
        if (TextFormat() == ttfHtml)
            widest = shownWidth(all);
        else
            for (const std::string& line : FText->Items()) widest = std::max(widest, shownWidth(line));
        const int width = w + f + widest;
        switch (FAlignment) {
        case taLeftJustify: r.Right = r.Left + width; break;
        case taRightJustify: r.Left = r.Right - width; break;
        case taCenter: {
            if (custom) r.Right = r.Left + width;
            const int c = (r.Left + r.Right) / 2;
            r.Left = c - width / 2;
            r.Right = c + width / 2;
            break;
        }
        }
    }
    SetShapeRect(r);
    DrawShape();
    canvas.WriteBackMode(TRANSPARENT);

    // Line i's top: a top title counts down from its top, a foot title up from its bottom, so a foot
    // title's first line is its lowest.
    auto lineY = [&](int i) { return FOnTop ? r.Top + h * i + f : r.Bottom - h - (h * i + f); };
    if (TextFormat() == ttfHtml) {
        canvas.WriteTextOrHtml(r.Left + w / 2, lineY(0), all, true);
    } else {
        for (int i = 0; i < lines; ++i) {
            const std::string& line = FText->Strings(i);
            int x = r.Left + w / 2;
            if (FAlignment == taRightJustify)
                x = r.Right - shownWidth(line) - w / 2;
            else if (FAlignment == taCenter)
                x = (r.Left + r.Right) / 2 - shownWidth(line) / 2;
            canvas.WriteTextOrHtml(x, lineY(i), line, true);
        }
    }

    if (custom) return;
    int gap = 5 + f;
    if (!Transparent() && ShadowIfAny()) gap += ShadowIfAny()->VertSize();
    TRect cr = chart->ChartRect();
    if (FOnTop)
        cr.Top = r.Bottom + gap;
    else
        cr.Bottom = r.Bottom - gap - lines * h;
    chart->SetChartRect(cr);
    chart->RecalcChartRect();
}

TChartFootTitle::TChartFootTitle(TCustomLumPanel* Chart) : TChartTitle(Chart)
{
    SetOnTop(false);
    InitFont(clRed, {fsItalic});
}
