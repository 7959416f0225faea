// The draw-line tool: its lines in axis values, their shapes and handles, the hit tests, the rubber line
// drawn in not-xor mode while the mouse draws or drags, and the press, move and release.
#include "chart/control/LumToolsDrawLine.h"

#include "chart/base/LumProCo.h"
#include "chart/base/RadErareUtils.h"
#include "chart/base/RadErareZoom.h"
#include "chart/control/LumToolsDraw.h"
#include "chart/engine/LumEngineAxis.h"
#include "chart/engine/LumEnginePanel.h"
#include "platform/rtl/SystemColors.h"

#include <array>

const TClassInfo& TDrawLine::StaticClassInfo()
{
    using P = TProps<TDrawLine>;
    using T = TDrawLine;
    static const TClassInfo info({
        .Name = "TDrawLine",
        .Parent = &TCollectionItem::StaticClassInfo(),
        .Properties =
            {
                P::Object("Pen", [](const T& l) -> TPersistent* { return &l.Pen(); })
                    .StoredWhen([](const T& l) { return l.HasOwnPen(); }),
                P::Enumeration("Style", DrawLineStyleNames, &T::Style, &T::SetStyle).Default(dlLine),
                P::Real("X0", &T::X0, &T::SetX0),
                P::Real("Y0", &T::Y0, &T::SetY0),
                P::Real("X1", &T::X1, &T::SetX1),
                P::Real("Y1", &T::Y1, &T::SetY1),
            },
    });
    return info;
}

const TClassInfo& TDrawLines::StaticClassInfo()
{
    static const TClassInfo info({.Name = "TDrawLines", .Parent = &TCollection::StaticClassInfo()});
    return info;
}

const TClassInfo& TDrawLineTool::StaticClassInfo()
{
    using P = TProps<TDrawLineTool>;
    using T = TDrawLineTool;
    static const TClassInfo info({
        .Name = "TDrawLineTool",
        .Parent = &TLumCustomToolSeries::StaticClassInfo(),
        .Properties =
            {
                P::Boolean("Active", &T::Active, &T::SetActive).Default(true),
                P::Enumeration("Button", ZoomMouseButtonNames, [](const T& t) { return t.Button; },
                               [](T& t, TMouseButton v) { t.Button = v; })
                    .Default(mbLeft),
                P::Integer("ClickTolerance", [](const T& t) { return t.ClickTolerance; },
                           [](T& t, int v) { t.ClickTolerance = v; })
                    .Default(0),
                P::Boolean("EnableDraw", [](const T& t) { return t.EnableDraw; }, [](T& t, bool v) { t.EnableDraw = v; })
                    .Default(true),
                P::Boolean("EnableSelect", &T::EnableSelect, &T::SetEnableSelect).Default(true),
                P::Collection("Lines", [](const T& t) -> TPersistent* { return &t.Lines(); }),
                P::Object("Pen", [](const T& t) -> TPersistent* { return &t.Pen(); }),
                P::Boolean("SelectNewLines", [](const T& t) { return t.SelectNewLines; },
                           [](T& t, bool v) { t.SelectNewLines = v; })
                    .Default(true),
            },
        .Create = &CreateComponentOf<TDrawLineTool>,
    });
    return info;
}

// ---- TDrawLine -------------------------------------------------------------------------------------------

TDrawLine::TDrawLine(TCollection* Collection) : TCollectionItem(Collection) {}

TDrawLineTool* TDrawLine::Tool() const
{
    const auto* lines = static_cast<const TDrawLines*>(Collection());
    return lines ? lines->Tool() : nullptr;
}

TChartPen& TDrawLine::Pen() const
{
    if (!FPen) {
        TDrawLineTool* tool = Tool();
        FPen = tool ? tool->CreateChartPen() : std::make_unique<TChartPen>();
        if (tool) FPen->Assign(tool->Pen());
    }
    return *FPen;
}

void TDrawLine::SetPen(const TChartPen* Value)
{
    if (Value) {
        Pen().Assign(*Value);
        return;
    }
    FPen.reset();
    if (TDrawLineTool* tool = Tool()) tool->InvalidateChart();
}

const TChartPen& TDrawLine::DrawingPen() const
{
    return FPen || !Tool() ? Pen() : Tool()->Pen();
}

void TDrawLine::SetStyle(TDrawLineStyle Value)
{
    if (FStyle == Value) return;
    FStyle = Value;
    if (TDrawLineTool* tool = Tool()) tool->InvalidateChart();
}

void TDrawLine::SetPointField(double& Field, double Value)
{
    if (TDrawLineTool* tool = Tool()) tool->SetFloatField(Field, Value);
    else Field = Value;
}

void TDrawLine::PlaceSilently(double AX0, double AY0, double AX1, double AY1)
{
    FX0 = AX0;
    FY0 = AY0;
    FX1 = AX1;
    FY1 = AY1;
}

void TDrawLine::Assign(const TPersistent& Source)
{
    const auto* line = dynamic_cast<const TDrawLine*>(&Source);
    if (!line) {
        TCollectionItem::Assign(Source);
        return;
    }
    FX0 = line->FX0;
    FY0 = line->FY0;
    FX1 = line->FX1;
    FY1 = line->FY1;
    FStyle = line->FStyle;
    SetPen(line->FPen.get());
}

TDrawLines::TDrawLines(TDrawLineTool* Tool)
    : TCollection(Tool, TDrawLine::StaticClassInfo(), &CreateItemOf<TDrawLine>), FTool(Tool)
{
}

void TDrawLines::Notify(TCollectionItem* Item, TCollectionNotification Action)
{
    TCollection::Notify(Item, Action);
    if (Action != cnAdded && FTool && FTool->Selected() == Item) FTool->SetSelected(nullptr);
}

// ---- The tool --------------------------------------------------------------------------------------------

TDrawLineTool::TDrawLineTool(TComponent* AOwner) : TLumCustomToolSeries(AOwner), FLines(std::make_unique<TDrawLines>(this)) {}

TDrawLineTool::~TDrawLineTool()
{
    FSelected = nullptr;
    FLines.reset();
}

std::string TDrawLineTool::DescriptionText() const { return LumProCo::DrawLineTool; }

void TDrawLineTool::SetEnableSelect(bool Value)
{
    if (FEnableSelect == Value) return;
    FEnableSelect = Value;
    if (!Value && FSelected) {
        FSelected = nullptr;
        InvalidateChart();
    }
}

void TDrawLineTool::DeleteSelected()
{
    if (!FSelected) return;
    FSelected->Free();
    InvalidateChart();
}

TPoint TDrawLineTool::AxisPoint(double X, double Y) const
{
    const TChartAxis* h = GetHorizAxis();
    const TChartAxis* v = GetVertAxis();
    return {h ? h->CalcXPosValue(X) : 0, v ? v->CalcYPosValue(Y) : 0};
}

void TDrawLineTool::PixelToValues(TPoint P, double& X, double& Y) const
{
    const TChartAxis* h = GetHorizAxis();
    const TChartAxis* v = GetVertAxis();
    X = h ? h->PixelToValue(P.x) : 0;
    Y = v ? v->PixelToValue(P.y) : 0;
}

void TDrawLineTool::CapturePixels(const TDrawLine& Line)
{
    StartPixel = AxisPoint(Line.X0(), Line.Y0());
    EndPixel = AxisPoint(Line.X1(), Line.Y1());
}

// ---- Hit tests -------------------------------------------------------------------------------------------

namespace {

bool InHandle(TPoint P, TPoint Handle)
{
    return P.x >= Handle.x - 3 && P.x <= Handle.x + 3 && P.y >= Handle.y - 3 && P.y <= Handle.y + 3;
}

} // namespace

bool TDrawLineTool::ClickedLine(const TDrawLine& Line, int Part, TPoint P) const
{
    const TPoint p0 = AxisPoint(Line.X0(), Line.Y0());
    const TPoint p1 = AxisPoint(Line.X1(), Line.Y1());
    if (Part == 1) return InHandle(P, p0);
    if (Part == 2) return InHandle(P, p1);
    switch (Line.Style()) {
    case dlHorizParallel:
        return IsPointNearLinePts(P, p0, {p1.x, p0.y}, ClickTolerance) ||
               IsPointNearLinePts(P, {p0.x, p1.y}, p1, ClickTolerance);
    case dlVertParallel:
        return IsPointNearLinePts(P, p0, {p0.x, p1.y}, ClickTolerance) ||
               IsPointNearLinePts(P, {p1.x, p0.y}, p1, ClickTolerance);
    case dlLine: break;
    }
    return IsPointNearLinePts(P, p0, p1, ClickTolerance);
}

TDrawLine* TDrawLineTool::LineAtPart(int X, int Y, int Part) const
{
    TCustomAxisPanel* chart = ParentChart();
    if (chart) chart->ChartCanvas().UnprojectPoint(X, Y, 0);
    const TPoint p{X, Y};
    if (FSelected && ClickedLine(*FSelected, Part, p)) return FSelected;
    for (int i = 0; i < FLines->Count(); ++i)
        if (ClickedLine(*FLines->Line(i), Part, p)) return FLines->Line(i);
    return nullptr;
}

TDrawLine* TDrawLineTool::LineAt(int X, int Y) const
{
    for (int part : {0, 1, 2})
        if (TDrawLine* line = LineAtPart(X, Y, part)) return line;
    return nullptr;
}

// ---- Drawing ---------------------------------------------------------------------------------------------

void TDrawLineTool::DrawShape(TDrawLineStyle Style, TPoint P0, TPoint P1)
{
    TCanvas3D& canvas = ParentChart()->ChartCanvas();
    const bool view3D = ParentChart()->View3D();
    auto segment = [&](TPoint A, TPoint B) {
        if (view3D) canvas.DrawLineAtZ(A.x, A.y, B.x, B.y, 0);
        else canvas.DrawLineXY(A.x, A.y, B.x, B.y);
    };
    switch (Style) {
    case dlLine: segment(P0, P1); break;
    case dlHorizParallel:
        segment(P0, {P1.x, P0.y});
        segment({P0.x, P1.y}, P1);
        break;
    case dlVertParallel:
        segment(P0, {P0.x, P1.y});
        segment({P1.x, P0.y}, P1);
        break;
    }
}

void TDrawLineTool::DrawHandles(const TDrawLine& Line)
{
    TCustomAxisPanel* chart = ParentChart();
    TCanvas3D& canvas = chart->ChartCanvas();
    canvas.Pen().SetStyle(psClear);
    canvas.Brush().SetStyle(bsSolid);
    canvas.Brush().SetColor(chart->Color() == clBlack ? TColor(0xC0C0C0) : clBlack);
    for (const TPoint p : {AxisPoint(Line.X0(), Line.Y0()), AxisPoint(Line.X1(), Line.Y1())}) {
        const TRect r{p.x - 3, p.y - 3, p.x + 3, p.y + 3};
        if (chart->View3D()) canvas.DrawRectAtDepth(r, 0);
        else canvas.DrawRect(r);
    }
}

void TDrawLineTool::ClipLines()
{
    TCustomAxisPanel* chart = ParentChart();
    TRect r = chart->ChartRect();
    if (Series()) {
        const TChartAxis* h = GetHorizAxis();
        const TChartAxis* v = GetVertAxis();
        if (h && v) r = {h->StartPixel, v->StartPixel, h->EndPixel, v->EndPixel};
    }
    if (chart->ClippingAllowed()) chart->ChartCanvas().ClipToBox(r, 0, chart->Width3D());
}

void TDrawLineTool::NotifyChartStage(int Stage)
{
    TCustomAxisPanel* chart = ParentChart();
    if (Stage != 0 || !chart || FLines->Count() == 0) return;
    TCanvas3D& canvas = chart->ChartCanvas();
    canvas.WriteBackMode(TRANSPARENT);
    ClipLines();
    for (int i = 0; i < FLines->Count(); ++i) {
        const TDrawLine& line = *FLines->Line(i);
        canvas.SelectPen(line.DrawingPen());
        DrawShape(line.Style(), AxisPoint(line.X0(), line.Y0()), AxisPoint(line.X1(), line.Y1()));
    }
    if (FSelected) DrawHandles(*FSelected);
    canvas.RemoveClip();
}

void TDrawLineTool::DrawRubberLine()
{
    TCustomAxisPanel* chart = ParentChart();
    if (!chart) return;
    TToolRasterDrawing notXor(*chart, pmNotXor);
    const TChartPen& pen = FSelected ? FSelected->DrawingPen() : Pen();
    notXor.SelectPen(pen, ColorToRGB(pen.Color()) ^ (0xFFFFFF - ColorToRGB(chart->GetBackColor())));
    DrawShape(FSelected ? FSelected->Style() : dlLine, StartPixel, EndPixel);
}

// ---- Mouse -----------------------------------------------------------------------------------------------

void TDrawLineTool::Press(int X, int Y)
{
    TCustomAxisPanel* chart = ParentChart();
    TDrawLine* line = FEnableSelect ? LineAt(X, Y) : nullptr;
    if (line) {
        CapturePixels(*line);
        LastDragPoint = {X, Y};
        DragPart = 3;
        if (line == FSelected) {
            int x = X, y = Y;
            chart->ChartCanvas().UnprojectPoint(x, y, 0);
            if (ClickedLine(*line, 1, {x, y})) DragPart = 1;
            else if (ClickedLine(*line, 2, {x, y})) DragPart = 2;
        } else {
            bool allow = true;
            if (OnSelecting) OnSelecting(this, line, allow);
            if (!allow) {
                // A refused selection takes the press but drags nothing: the release would move the
                // line that is still selected.
                DragPart = 0;
            } else {
                const bool hadSelection = FSelected != nullptr;
                FSelected = line;
                if (hadSelection) {
                    InvalidateChart();
                } else {
                    DrawHandles(*line);
                    chart->ChartCanvas().MarkChanged();
                }
                if (OnSelect) OnSelect(this);
            }
        }
    } else {
        FSelected = nullptr;
        if (!EnableDraw) return;
        Drawing = true;
        StartPixel = EndPixel = {X, Y};
        DrawRubberLine();
    }
    chart->SetCancelMouse(true);
}

void TDrawLineTool::Moved(int X, int Y)
{
    TCustomAxisPanel* chart = ParentChart();
    if (Drawing || DragPart != 0) {
        DrawRubberLine();
        if (Drawing) {
            EndPixel = {X, Y};
        } else if (DragPart == 1) {
            StartPixel = {X, Y};
        } else if (DragPart == 2) {
            EndPixel = {X, Y};
        } else {
            const TPoint d{X - LastDragPoint.x, Y - LastDragPoint.y};
            StartPixel = {StartPixel.x + d.x, StartPixel.y + d.y};
            EndPixel = {EndPixel.x + d.x, EndPixel.y + d.y};
            LastDragPoint = {X, Y};
        }
        DrawRubberLine();
        chart->SetCancelMouse(true);
        Dragged = true;
        if (OnDragLine) OnDragLine(this);
        return;
    }
    if (!FEnableSelect) return;
    bool over = false;
    if (FSelected && (LineAtPart(X, Y, 1) == FSelected || LineAtPart(X, Y, 2) == FSelected)) {
        chart->SetCursor(crCross);
        over = true;
    } else if (LineAt(X, Y)) {
        chart->SetCursor(crHandPoint);
        over = true;
    }
    chart->SetCancelMouse(over);
}

void TDrawLineTool::Released()
{
    if (DragPart != 0 && FSelected) {
        double x0 = FSelected->X0(), y0 = FSelected->Y0(), x1 = FSelected->X1(), y1 = FSelected->Y1();
        if (DragPart == 1 || DragPart == 3) PixelToValues(StartPixel, x0, y0);
        if (DragPart == 2 || DragPart == 3) PixelToValues(EndPixel, x1, y1);
        FSelected->PlaceSilently(x0, y0, x1, y1);
        DragPart = 0;
        InvalidateChart();
        if (Dragged) {
            Dragged = false;
            if (OnDraggedLine) OnDraggedLine(this);
        }
        return;
    }
    DragPart = 0;
    if (Drawing) {
        if (StartPixel != EndPixel) {
            auto* line = static_cast<TDrawLine*>(FLines->Add());
            double x0, y0, x1, y1;
            PixelToValues(StartPixel, x0, y0);
            PixelToValues(EndPixel, x1, y1);
            line->PlaceSilently(x0, y0, x1, y1);
            if (SelectNewLines) {
                FSelected = line;
                CapturePixels(*line);
            }
            InvalidateChart();
            if (OnNewLine) OnNewLine(this);
        }
    }
    Drawing = false;
    Dragged = false;
}

void TDrawLineTool::HandleChartMouse(TChartMouseKind Kind, TMouseButton AButton, TShiftState, int X, int Y)
{
    if (!ParentChart()) return;
    switch (Kind) {
    case TChartMouseKind::Press:
        if (AButton == Button) Press(X, Y);
        break;
    case TChartMouseKind::Move: Moved(X, Y); break;
    case TChartMouseKind::Release:
        if (AButton == Button) Released();
        break;
    }
}
