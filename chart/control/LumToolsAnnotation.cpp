// The annotation (its box from the text, the position and the size, the text lines, the callout and
// clicks) and the rectangle tool (moving the box and resizing it by its edges).
#include "chart/control/LumToolsAnnotation.h"

#include "chart/base/LumCanvasHelpers.h"
#include "chart/base/LumProCo.h"
#include "chart/control/ChartControl.h"
#include "chart/engine/LumEnginePanel.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

std::vector<TPropInfo> ShapePositionProperties()
{
    using P = TProps<TLumShapePosition>;
    using T = TLumShapePosition;
    return {
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
        P::Integer("Top", &T::Top, &T::SetTop).StoredWhen(&T::CustomPosition),
        P::Integer("Transparency", &T::Transparency, &T::SetTransparency).Default(0),
        P::Boolean("Transparent", &T::Transparent, &T::SetTransparent).StoredWhen(&T::TransparentStored),
        P::Boolean("Visible", &T::Visible, &T::SetVisible).Default(true),
    };
}

std::vector<TPropInfo> AnnotationProperties()
{
    using P = TProps<TAnnotationTool>;
    using T = TAnnotationTool;
    return {
        P::Boolean("Active", &T::Active, &T::SetActive).Default(true),
        P::Boolean("AutoSize", &T::AutoSize, &T::SetAutoSize).Default(true),
        P::Object("Callout", [](const T& t) -> TPersistent* { return &t.Callout(); }),
        P::Integer("Cursor", [](const T& t) { return int(t.Cursor); }, [](T& t, int v) { t.Cursor = TCursor(v); }).Default(0),
        P::Integer("Height", &T::Height, &T::SetHeight).StoredWhen([](const T& t) { return !t.AutoSize(); }),
        P::Integer("Left", &T::Left, &T::SetLeft).NotStored(),
        P::Enumeration("Position", AnnotationPositionNames, &T::Position, &T::SetPosition).Default(ppLeftTop),
        P::Enumeration("PositionUnits", LumUnitsNames, &T::PositionUnits, &T::SetPositionUnits).Default(muPixels),
        P::Object("Shape", [](const T& t) -> TPersistent* { return &t.Shape(); }),
        P::Text("Text", &T::Text, &T::SetText).Default(""),
        P::Enumeration("TextAlignment", AlignmentNames, &T::TextAlignment, &T::SetTextAlignment).Default(taLeftJustify),
        P::Integer("Top", &T::Top, &T::SetTop).NotStored(),
        P::Integer("Width", &T::Width, &T::SetWidth).StoredWhen([](const T& t) { return !t.AutoSize(); }),
    };
}

} // namespace

const TClassInfo& TLumShapePosition::StaticClassInfo()
{
    static const TClassInfo info({.Name = "TLumShapePosition",
                                  .Parent = &TLumCustomShapePosition::StaticClassInfo(),
                                  .Properties = ShapePositionProperties()});
    return info;
}

const TClassInfo& TAnnotationCallout::StaticClassInfo()
{
    using P = TProps<TAnnotationCallout>;
    using T = TAnnotationCallout;
    static const TClassInfo info({
        .Name = "TAnnotationCallout",
        .Parent = &TCallout::StaticClassInfo(),
        .Properties =
            {
                P::Integer("XPosition", &T::XPosition, &T::SetXPosition).Default(0),
                P::Integer("YPosition", &T::YPosition, &T::SetYPosition).Default(0),
                P::Integer("ZPosition", &T::ZPosition, &T::SetZPosition).Default(0),
            },
        .Defaults = {{"Visible", false}},
    });
    return info;
}

const TClassInfo& TAnnotationTool::StaticClassInfo()
{
    static const TClassInfo info({
        .Name = "TAnnotationTool",
        .Parent = &TLumCustomTool::StaticClassInfo(),
        .Properties = AnnotationProperties(),
        .Create = &CreateComponentOf<TAnnotationTool>,
    });
    return info;
}

const TClassInfo& TRectangleTool::StaticClassInfo()
{
    static const TClassInfo info({
        .Name = "TRectangleTool",
        .Parent = &TAnnotationTool::StaticClassInfo(),
        .Defaults = {{"AutoSize", false}},
        .Create = &CreateComponentOf<TRectangleTool>,
    });
    return info;
}

// ---- Callout ---------------------------------------------------------------------------------------------

TAnnotationCallout::TAnnotationCallout() : TCallout(nullptr)
{
    Arrow().SetVisible(false);
    SetVisible(false);
}

void TAnnotationCallout::Assign(const TPersistent& Source)
{
    if (const auto* c = dynamic_cast<const TAnnotationCallout*>(&Source)) {
        FXPosition = c->FXPosition;
        FYPosition = c->FYPosition;
        FZPosition = c->FZPosition;
    }
    TCallout::Assign(Source);
}

void TAnnotationCallout::Store(int& Field, int Value)
{
    if (Field == Value) return;
    Field = Value;
    RepaintParent();
}

// ---- Annotation ------------------------------------------------------------------------------------------

TAnnotationTool::TAnnotationTool(TComponent* AOwner)
    : TLumCustomTool(AOwner), FShape(std::make_unique<TLumShapePosition>(nullptr)),
      FCallout(std::make_unique<TAnnotationCallout>())
{
}

TAnnotationTool::~TAnnotationTool() = default;

std::string TAnnotationTool::DescriptionText() const { return LumProCo::AnnotationTool; }

void TAnnotationTool::SetParentChart(TCustomAxisPanel* Value)
{
    TLumCustomTool::SetParentChart(Value);
    if (ComponentState().Contains(csDestroying)) return;
    FShape->SetParentPanel(ParentChart());
    FCallout->SetParentPanel(ParentChart());
    InvalidateChart();
}

void TAnnotationTool::SetPosition(TAnnotationPosition Value)
{
    if (FPosition == Value) return;
    FPosition = Value;
    FShape->SetCustomPosition(false);
    InvalidateChart();
}

void TAnnotationTool::SetPositionUnits(TLumUnits Value)
{
    if (FPositionUnits == Value) return;
    FPositionUnits = Value;
    InvalidateChart();
}

void TAnnotationTool::SetTextAlignment(TAlignment Value)
{
    if (FTextAlignment == Value) return;
    FTextAlignment = Value;
    InvalidateChart();
}

void TAnnotationTool::SetWidth(int Value)
{
    if (Value == Width()) return;
    FAutoSize = false;
    FShape->SetBoundsWidth(Value);
    InvalidateChart();
}

void TAnnotationTool::SetHeight(int Value)
{
    if (Value == Height()) return;
    FAutoSize = false;
    FShape->SetBoundsHeight(Value);
    InvalidateChart();
}

void TAnnotationTool::SetLeft(int Value)
{
    const int w = Width();
    FShape->SetLeft(Value);
    FShape->SetBoundsWidth(w);
}

void TAnnotationTool::SetTop(int Value)
{
    const int h = Height();
    FShape->SetTop(Value);
    FShape->SetBoundsHeight(h);
}

TRect TAnnotationTool::CalcBoxBounds(int& TextX, int& TextY, int& LineHeight)
{
    TCustomAxisPanel* chart = ParentChart();
    if (!chart) return {};
    std::string text = GetAnnotationText();
    if (text.empty()) text = " ";
    TCanvas3D& canvas = chart->ChartCanvas();
    canvas.SelectFont(FShape->Font());
    const bool custom = FShape->CustomPosition();
    int textWidth = 0, textHeight = 0, lines = 0;
    LineHeight = canvas.CharHeight();
    if (!custom || FAutoSize) {
        textWidth = chart->MeasureMultiLineText(text, lines);
        textHeight = lines * LineHeight;
    }
    const int w = chart->Width(), h = chart->Height();
    if (!custom) {
        switch (FPosition) {
        case ppLeftTop: TextX = 10, TextY = 10; break;
        case ppLeftBottom: TextX = 10, TextY = h - textHeight - 8; break;
        case ppRightTop: TextX = w - textWidth - 8, TextY = 10; break;
        case ppRightBottom: TextX = w - textWidth - 8, TextY = h - textHeight - 8; break;
        }
    } else if (FPositionUnits == muPixels) {
        TextX = FShape->Left() + 4;
        TextY = FShape->Top() + 2;
    } else {
        TextX = static_cast<int>(std::lround(FShape->Left() * w * 0.01));
        TextY = static_cast<int>(std::lround(FShape->Top() * h * 0.01));
    }
    const int boxWidth = FAutoSize ? textWidth + 6 : FShape->BoundsWidth();
    const int boxHeight = FAutoSize ? textHeight + 4 : FShape->BoundsHeight();
    return {TextX - 4, TextY - 2, TextX + boxWidth - 4, TextY + boxHeight - 2};
}

TRect TAnnotationTool::CalcBoxBounds()
{
    int x = 0, y = 0, lineHeight = 0;
    return CalcBoxBounds(x, y, lineHeight);
}

TPoint TAnnotationTool::ConnectionPoint(const TRect& Box, TPoint P)
{
    const int x = P.x > Box.Right ? Box.Right : P.x < Box.Left ? Box.Left : (Box.Left + Box.Right) / 2;
    const int y = P.y > Box.Bottom ? Box.Bottom : P.y < Box.Top ? Box.Top : (Box.Top + Box.Bottom) / 2;
    return {x, y};
}

bool TAnnotationTool::HitTest(int X, int Y)
{
    const TRect r = CalcBoxBounds();
    return X >= r.Left && X <= r.Right && Y >= r.Top && Y <= r.Bottom;
}

void TAnnotationTool::Paint()
{
    TCustomAxisPanel* chart = ParentChart();
    const TRect old = FShape->ShapeRect();
    int x = 0, y = 0, lineHeight = 0;
    const TRect box = CalcBoxBounds(x, y, lineHeight);
    FShape->SetShapeRect(box);
    if (FShape->Visible()) FShape->DrawShape();
    TCanvas3D& canvas = chart->ChartCanvas();
    canvas.SelectFont(FShape->Font());
    canvas.WriteBackMode(TRANSPARENT);
    switch (FTextAlignment) {
    case taLeftJustify: canvas.WriteTextAlign(TA_LEFT); break;
    case taCenter:
        canvas.WriteTextAlign(TA_CENTER);
        x = (box.Left + box.Right) / 2 + 2;
        break;
    case taRightJustify:
        canvas.WriteTextAlign(TA_RIGHT);
        x = box.Right - 2;
        break;
    }
    const std::string text = GetAnnotationText();
    std::size_t start = 0;
    for (int line = 0;; ++line) {
        const std::size_t end = text.find('\r', start);
        canvas.WriteText(x, y + line * lineHeight, text.substr(start, end == std::string::npos ? end : end - start));
        if (end == std::string::npos) break;
        start = end + 1;
    }
    canvas.WriteTextAlign(TA_LEFT);
    if (FCallout->Visible() || FCallout->Arrow().Visible()) {
        TPoint p{FCallout->XPosition(), FCallout->YPosition()};
        const TPoint q = ConnectionPoint(box, p);
        if (FCallout->Distance() != 0) p = PullBackLineEnd(q, p, FCallout->Distance());
        FCallout->PaintConnector(clNone, p, FCallout->ZPosition(), q);
    }
    if (FAutoSize) FShape->SetShapeRect({old.Left, old.Top, old.Left + box.Right - box.Left, old.Top + box.Bottom - box.Top});
    else FShape->SetShapeRect(old);
}

void TAnnotationTool::NotifyChartStage(int Stage)
{
    if (Stage == 0 && ParentChart()) Paint();
}

void TAnnotationTool::HandleChartMouse(TChartMouseKind Kind, TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TCustomAxisPanel* chart = ParentChart();
    if (!chart) return;
    if (Kind == TChartMouseKind::Press) {
        if (OnClick && HitTest(X, Y)) OnClick(this, Button, Shift, X, Y);
    } else if (Kind == TChartMouseKind::Move && Cursor != crDefault && HitTest(X, Y)) {
        chart->SetCursor(Cursor);
        chart->SetCancelMouse(true);
    }
}

// ---- Rectangle -------------------------------------------------------------------------------------------

TRectangleTool::TRectangleTool(TComponent* AOwner) : TAnnotationTool(AOwner)
{
    SetAutoSize(false);
    Shape().SetCustomPosition(true);
    Shape().Shadow().SetHorizSize(0);
    Shape().Shadow().SetVertSize(0);
    Shape().SetTransparency(75);
    Shape().SetShapeRect({10, 10, 59, 59});
    Cursor = crHandPoint;
}

std::string TRectangleTool::DescriptionText() const { return LumProCo::Rectangle; }

int TRectangleTool::EdgeAt(int X, int Y) const
{
    const TRect& r = Shape().ShapeRect();
    if (X < r.Left || X > r.Right || Y < r.Top || Y > r.Bottom) return -1;
    if (std::abs(X - r.Left) < 4) return 0;
    if (std::abs(Y - r.Top) < 4) return 1;
    if (std::abs(X - r.Right) < 4) return 2;
    if (std::abs(Y - r.Bottom) < 4) return 3;
    return -1;
}

void TRectangleTool::Moved(int X, int Y)
{
    TCustomAxisPanel* chart = ParentChart();
    TLumShapePosition& shape = Shape();
    if (DraggingBox) {
        const int x = X - GrabOffset.x, y = Y - GrabOffset.y;
        if (x == shape.Left() && y == shape.Top()) return;
        SetLeft(x);
        SetTop(y);
        InvalidateChart();
        if (OnDragging) OnDragging(this);
        return;
    }
    if (ResizeEdge != -1) {
        TRect r = shape.ShapeRect();
        switch (ResizeEdge) {
        case 0: r.Left = std::min(r.Right - 3, X - GrabOffset.x); break;
        case 1: r.Top = std::min(r.Bottom - 3, Y - GrabOffset.y); break;
        case 2: r.Right = std::max(r.Left + 3, X - GrabOffset.x); break;
        case 3: r.Bottom = std::max(r.Top + 3, Y - GrabOffset.y); break;
        }
        shape.SetShapeRect(r);
        InvalidateChart();
        if (OnResizing) OnResizing(this);
        return;
    }
    const int edge = EdgeAt(X, Y);
    const TRect& r = shape.ShapeRect();
    const bool inside = X >= r.Left && X <= r.Right && Y >= r.Top && Y <= r.Bottom;
    if (edge == 0 || edge == 2) chart->SetCursor(crSizeWE);
    else if (edge == 1 || edge == 3) chart->SetCursor(crSizeNS);
    else if (inside && Cursor != crDefault) chart->SetCursor(Cursor);
    chart->SetCancelMouse(edge != -1 || (inside && Cursor != crDefault));
}

void TRectangleTool::HandleChartMouse(TChartMouseKind Kind, TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TAnnotationTool::HandleChartMouse(Kind, Button, Shift, X, Y);
    TCustomAxisPanel* chart = ParentChart();
    if (!chart || !Active()) return;
    const TRect& r = Shape().ShapeRect();
    switch (Kind) {
    case TChartMouseKind::Press: {
        if (Button != mbLeft) return;
        ResizeEdge = EdgeAt(X, Y);
        if (ResizeEdge == -1) {
            if (X < r.Left || X > r.Right || Y < r.Top || Y > r.Bottom) return;
            GrabOffset = {X - r.Left, Y - r.Top};
            DraggingBox = true;
        } else {
            GrabOffset = {ResizeEdge == 2 ? X - r.Right : X - r.Left, ResizeEdge == 3 ? Y - r.Bottom : Y - r.Top};
        }
        chart->SetCancelMouse(true);
        break;
    }
    case TChartMouseKind::Move: Moved(X, Y); break;
    case TChartMouseKind::Release:
        if (DraggingBox) {
            DraggingBox = false;
            if (OnDragged) OnDragged(this);
        }
        if (ResizeEdge != -1) {
            ResizeEdge = -1;
            if (OnResized) OnResized(this);
        }
        InvalidateChart();
        break;
    }
}
