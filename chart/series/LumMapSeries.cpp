// The map series: the vertex series of a polygon, the polygon with its properties and drawing, the polygon
// list that keeps polygons and points paired, and the series' drawing, marks, click test, extents and
// sample shapes.
#include "chart/series/LumMapSeries.h"

#include "chart/series/SeriesLine.h"

#include "chart/base/LumConst.h"
#include "chart/base/RadErareUtils.h"
#include "platform/rtl/PixelMath.h"
#include "platform/rtl/Streams.h"

#include <algorithm>
#include <cstdlib>

// ---- Class descriptions ------------------------------------------------------------------------------------

namespace {

std::vector<TPropInfo> PolygonProperties()
{
    using P = TProps<TLumPolygon>;
    return {
        P::Object("Brush", [](const TLumPolygon& p) -> TPersistent* { return &p.Brush(); }),
        P::Boolean("Closed", &TLumPolygon::Closed, &TLumPolygon::SetClosed).Default(true),
        P::Colour("Color", &TLumPolygon::Color, &TLumPolygon::SetColor).Default(clWhite),
        P::Object("Gradient", [](const TLumPolygon& p) -> TPersistent* { return &p.Gradient(); }),
        // The constructor's False is the default, so True is what a stream must carry.
        P::Boolean("ParentBrush", &TLumPolygon::ParentBrush, &TLumPolygon::SetParentBrush).Default(false),
        P::Boolean("ParentPen", &TLumPolygon::ParentPen, &TLumPolygon::SetParentPen).Default(false),
        P::Object("Pen", [](const TLumPolygon& p) -> TPersistent* { return &p.Pen(); }),
        P::Text("Text", &TLumPolygon::Text, &TLumPolygon::SetText).Default(""),
        P::Integer("Transparency", &TLumPolygon::Transparency, &TLumPolygon::SetTransparency).Default(0),
        P::Real("Z", &TLumPolygon::Z, &TLumPolygon::SetZ),
    };
}

// The polygon's vertices travel as the point data block of its vertex series, when the map would store
// point data at all.
std::vector<TDefinedProperty> PolygonDefinedProperties()
{
    using P = TProps<TLumPolygon>;
    return {P::DefinedBinary(
        "Data", [](TLumPolygon& p, TStream& s) { p.VertexSeries().LoadPointData(s); },
        [](const TLumPolygon& p, TStream& s) { p.VertexSeries().WritePointData(s); },
        [](const TLumPolygon& p) {
            const TMapSeries* map = p.ParentSeries();
            return map && (map->ForceStoreData() || !map->NeverStoreData());
        })};
}

std::vector<TPropInfo> MapProperties()
{
    using P = TProps<TMapSeries>;
    std::vector<TPropInfo> own;
    own.push_back(P::Object("Brush", [](const TMapSeries& s) -> TPersistent* { return &s.Brush(); }));
    for (TPropInfo& p : TCustom3DPaletteSeries::PaletteProperties(false)) {
        if (p.Name == "ZValues") continue;
        if (p.Name == "PaletteMin") own.push_back(P::Object("Pen", [](const TMapSeries& s) -> TPersistent* { return &s.Pen(); }));
        if (p.Name == "StartColor") own.push_back(P::Collection("Shapes", [](const TMapSeries& s) -> TPersistent* { return &s.Shapes(); }));
        own.push_back(std::move(p));
    }
    std::vector<TPropInfo> props = SeriesKindProperties(std::move(own), {"Depth", "ColorEachPoint"});
    props.push_back(P::Object("ZValues", [](const TMapSeries& s) -> TPersistent* { return &s.ZValues(); }));
    return props;
}

TComponent* MakeMap(TComponent* Owner) { return new TMapSeries(Owner); }

} // namespace

const TClassInfo& TPolygonSeries::StaticClassInfo()
{
    static const TClassInfo info({.Name = "TPolygonSeries", .Parent = &TChartSeries::StaticClassInfo()});
    return info;
}

const TClassInfo& TLumPolygon::StaticClassInfo()
{
    static const TClassInfo info({.Name = "TLumPolygon",
                                  .Parent = &TCollectionItem::StaticClassInfo(),
                                  .Properties = PolygonProperties(),
                                  .Defined = PolygonDefinedProperties()});
    return info;
}

const TClassInfo& TLumPolygonList::StaticClassInfo()
{
    static const TClassInfo info({.Name = "TLumPolygonList", .Parent = &TCollection::StaticClassInfo()});
    return info;
}

const TClassInfo& TMapSeries::StaticClassInfo()
{
    using P = TProps<TMapSeries>;
    static const TClassInfo info({
        .Name = "TMapSeries",
        .Parent = &TCustom3DPaletteSeries::StaticClassInfo(),
        .Properties = MapProperties(),
        // The points travel with the polygons; the series' own block is read but never written.
        .Defined = {P::DefinedBinary(
            "Data", [](TMapSeries& s, TStream& stream) { s.LoadPointData(stream); },
            [](const TMapSeries& s, TStream& stream) { const_cast<TMapSeries&>(s).WritePointData(stream); },
            [](const TMapSeries&) { return false; })},
        .Create = &MakeMap,
    });
    return info;
}

// ---- TPolygonSeries ----------------------------------------------------------------------------------------

TPolygonSeries::TPolygonSeries(TComponent* AOwner) : TChartSeries(AOwner) {}

void TPolygonSeries::SetActive(bool Value)
{
    TChartSeries::SetActive(Value);
    if (FPolygon && FPolygon->ParentSeries()) FPolygon->ParentSeries()->InvalidateChart();
}

void TPolygonSeries::PaintLegendShape(int Index, const TRect& Rect)
{
    if (FPolygon && FPolygon->HasGradient() && FPolygon->Gradient().Visible() && ParentChart()) {
        FPolygon->Gradient().DrawRect(ParentChart()->ChartCanvas(), Rect);
        return;
    }
    TChartSeries::PaintLegendShape(Index, Rect);
}

void TPolygonSeries::NotifyDependents(int Kind, int Index)
{
    TChartSeries::NotifyDependents(Kind, Index);
    if (FPolygon && FPolygon->ParentSeries()) FPolygon->ParentSeries()->InvalidateChart();
}

void TPolygonSeries::LegendSymbolStyle(int Index, TColor& BackColor, TBrushStyle& Style)
{
    TChartSeries::LegendSymbolStyle(Index, BackColor, Style);
    if (!FPolygon || !FPolygon->ParentSeries()) return;
    FPolygon->ParentSeries()->PrepareForDraw();
    if (FPolygon->HasGradient() && FPolygon->Gradient().Visible()) return;
    if (ParentChart()) ParentChart()->ChartCanvas().Brush().SetColor(FPolygon->Color());
}

void TPolygonSeries::SetSeriesColor(TColor Value)
{
    TChartSeries::SetSeriesColor(Value);
    if (!ParentChart() && FPolygon && FPolygon->ParentSeries()) {
        FPolygon->ParentSeries()->StorePointColor(FPolygon->Index(), Value);
        FPolygon->ParentSeries()->InvalidateChart();
    }
}

// ---- TLumPolygon: life and properties ----------------------------------------------------------------------

TLumPolygon::TLumPolygon(TCollection* Collection) : TCollectionItem(Collection)
{
    if (auto* list = dynamic_cast<TLumPolygonList*>(Collection)) FParentSeries = list->Series();
    FVertexSeries = std::make_unique<TPolygonSeries>(nullptr);
    FVertexSeries->FPolygon = this;
    FVertexSeries->XValues().SetOrder(loNone);
    FVertexSeries->SetShowInLegend(false);
    if (FParentSeries && !FParentSeries->FAdoptPoints) FParentSeries->InsertPoint(0, 0, {}, clDefault);
}

TLumPolygon::~TLumPolygon()
{
    FVertexSeries->FPolygon = nullptr;
    FVertexSeries.reset();
    FGradient.reset();
}

std::string TLumPolygon::DisplayName() const
{
    const std::string text = Text();
    return text.empty() ? TCollectionItem::DisplayName() : text;
}

void TLumPolygon::InvalidateMap() const
{
    if (FParentSeries) FParentSeries->InvalidateChart();
}

int TLumPolygon::AddVertex(double X, double Y) { return FVertexSeries->InsertPoint(X, Y, {}, clDefault); }

void TLumPolygon::SetClosed(bool Value)
{
    if (Value == FClosed) return;
    FClosed = Value;
    InvalidateMap();
}

TColor TLumPolygon::Color() const { return FParentSeries ? FParentSeries->PointColor(Index()) : clDefault; }

void TLumPolygon::SetColor(TColor Value) { FVertexSeries->SetSeriesColor(Value); }

TLumGradient& TLumPolygon::Gradient() const
{
    if (!FGradient) {
        TMapSeries* map = FParentSeries;
        FGradient = std::make_unique<TLumGradient>([map](TPersistent* Sender) {
            if (map) map->StyleChanged(Sender);
        });
    }
    return *FGradient;
}

void TLumPolygon::SetGradient(const TLumGradient* Value)
{
    if (!Value)
        FGradient.reset();
    else
        Gradient().Assign(*Value);
    InvalidateMap();
}

void TLumPolygon::SetParentBrush(bool Value)
{
    if (Value == FParentBrush) return;
    FParentBrush = Value;
    InvalidateMap();
}

void TLumPolygon::SetParentPen(bool Value)
{
    if (Value == FParentPen) return;
    FParentPen = Value;
    InvalidateMap();
}

std::string TLumPolygon::Text() const { return FParentSeries ? FParentSeries->PointLabel(Index()) : std::string(); }

void TLumPolygon::SetText(const std::string& Value)
{
    if (!FParentSeries) return;
    FParentSeries->SetPointLabel(Index(), Value);
    InvalidateMap();
}

void TLumPolygon::SetTransparency(int Value)
{
    const auto v = static_cast<TLumTransparency>(std::clamp(Value, 0, 100));
    if (v == FTransparency) return;
    FTransparency = v;
    InvalidateMap();
}

double TLumPolygon::Z() const { return FParentSeries ? FParentSeries->ZValues().ValueAt(Index()) : 0; }

void TLumPolygon::SetZ(double Value)
{
    if (!FParentSeries) return;
    TChartValueList& z = FParentSeries->ZValues();
    z.StoreValueAt(Index(), Value);
    z.MarkModified();
    InvalidateMap();
}

// ---- TLumPolygon: geometry and drawing ---------------------------------------------------------------------

const TPointArray& TLumPolygon::CalcScreenPoints()
{
    const int n = FVertexSeries->PointCount();
    FScreenPoints.resize(static_cast<std::size_t>(n));
    const TChartAxis* h = FParentSeries ? FParentSeries->GetHorizAxis() : nullptr;
    const TChartAxis* v = FParentSeries ? FParentSeries->GetVertAxis() : nullptr;
    const double* xs = FVertexSeries->XValues().Values();
    const double* ys = FVertexSeries->YValues().Values();
    for (int i = 0; i < n; ++i)
        FScreenPoints[static_cast<std::size_t>(i)] = {h ? h->CalcXPosValue(xs[i]) : 0, v ? v->CalcYPosValue(ys[i]) : 0};
    return FScreenPoints;
}

TRect TLumPolygon::ScreenBounds() { return PointsBoundingRect(CalcScreenPoints()); }

bool TLumPolygon::IsInChartRect() const
{
    const TCustomAxisPanel* chart = FParentSeries ? FParentSeries->ParentChart() : nullptr;
    if (!chart || !chart->ClipPoints()) return true;
    const TChartAxis* h = FParentSeries->GetHorizAxis();
    const TChartAxis* v = FParentSeries->GetVertAxis();
    if (!h || !v) return true;
    TChartValueList& xs = FVertexSeries->XValues();
    TChartValueList& ys = FVertexSeries->YValues();
    int x0 = h->CalcXPosValue(xs.LowestValue()), x1 = h->CalcXPosValue(xs.HighestValue());
    if (h->Inverted()) std::swap(x0, x1);
    int y0 = v->CalcYPosValue(ys.HighestValue()), y1 = v->CalcYPosValue(ys.LowestValue());
    if (v->Inverted()) std::swap(y0, y1);
    const TRect& r = chart->ChartRect();
    return std::max(x0, r.Left) <= std::min(x1, r.Right) && std::max(y0, r.Top) <= std::min(y1, r.Bottom);
}

void TLumPolygon::Draw(TCanvas3D& Canvas, int ValueIndex)
{
    TCustomAxisPanel* chart = FParentSeries ? FParentSeries->ParentChart() : nullptr;
    if (!chart || !FVertexSeries->Active() || FVertexSeries->PointCount() == 0 || !IsInChartRect()) return;
    Canvas.SelectPen(FParentPen ? FParentSeries->Pen() : Pen());
    Canvas.SelectBrush(FParentBrush ? FParentSeries->Brush() : Brush(), FParentSeries->PointColor(ValueIndex));
    CalcScreenPoints();
    const bool is3D = chart->View3D();
    const int z = is3D ? FParentSeries->ZScreenPosition(Index()) : 0;
    std::unique_ptr<TLumBlend> blend;
    if (FTransparency > 0) {
        const TRect r = PointsBoundingRect(FScreenPoints);
        blend = Canvas.BeginTransparency(Canvas.ProjectedRectBounds({r.Left, r.Top, r.Right + 1, r.Bottom + 1}, z),
                                         FTransparency);
    }
    if (FGradient && FGradient->Visible() && chart->ClippingAllowed()) {
        FGradient->FillPolygon(Canvas, FScreenPoints, is3D, z);
        Canvas.Brush().SetStyle(bsClear);
    }
    if (is3D) {
        if (FClosed)
            Canvas.DrawPolygonAtZ(FScreenPoints, z);
        else
            Canvas.DrawPolylineAtZ(FScreenPoints, z);
    } else if (FClosed && FScreenPoints.size() == 1) {
        Canvas.WritePixel(FScreenPoints[0].x, FScreenPoints[0].y, clBlack);
    } else if (FClosed) {
        Canvas.DrawPolygonPoints(FScreenPoints);
    } else {
        Canvas.DrawPolylinePoints(FScreenPoints);
    }
    if (blend) Canvas.EndTransparency(std::move(blend));
}

// ---- TLumPolygonList ---------------------------------------------------------------------------------------

TLumPolygonList::TLumPolygonList(TMapSeries* Owner)
    : TCollection(Owner, TLumPolygon::StaticClassInfo(), &CreateItemOf<TLumPolygon>), FSeries(Owner)
{
}

TLumPolygon* TLumPolygonList::AddPolygon() { return static_cast<TLumPolygon*>(Add()); }

void TLumPolygonList::DeleteRange(int Start, int Count)
{
    for (int k = 0; k < Count; ++k) Delete(Start);
}

void TLumPolygonList::Notify(TCollectionItem* Item, TCollectionNotification Action)
{
    TCollection::Notify(Item, Action);
    if (Action != cnExtracting || !FSeries || FSeries->FPairing > 0 || FSeries->FDestroying) return;
    const int index = Item->Index();
    if (index >= 0 && index < FSeries->PointCount()) FSeries->TCustom3DPaletteSeries::DeletePoint(index);
}

void TLumPolygonList::ItemMoved(TCollectionItem* Item, int FromIndex, int ToIndex)
{
    TCollection::ItemMoved(Item, FromIndex, ToIndex);
    if (!FSeries || FSeries->FPairing > 0) return;
    const int last = FSeries->PointCount() - 1;
    if (FromIndex > last || ToIndex > last) return;
    // The point walks to its polygon's new place, shifting the points between.
    for (int k = FromIndex; k < ToIndex; ++k) FSeries->TCustom3DPaletteSeries::SwapValueIndex(k, k + 1);
    for (int k = FromIndex; k > ToIndex; --k) FSeries->TCustom3DPaletteSeries::SwapValueIndex(k, k - 1);
    FSeries->InvalidateChart();
}

void TLumPolygonList::ItemsExchanged(int Index1, int Index2)
{
    TCollection::ItemsExchanged(Index1, Index2);
    if (!FSeries || FSeries->FPairing > 0) return;
    const int last = FSeries->PointCount() - 1;
    if (Index1 > last || Index2 > last) return;
    FSeries->TCustom3DPaletteSeries::SwapValueIndex(Index1, Index2);
    FSeries->InvalidateChart();
}

// ---- TMapSeries: life and pairing --------------------------------------------------------------------------

namespace {
// Counts a nesting level up for the time of a scope.
class TNested {
public:
    explicit TNested(int& Level) : FLevel(Level) { ++FLevel; }
    ~TNested() { --FLevel; }
    TNested(const TNested&) = delete;
    TNested& operator=(const TNested&) = delete;

private:
    int& FLevel;
};
} // namespace

TMapSeries::TMapSeries(TComponent* AOwner) : TCustom3DPaletteSeries(AOwner)
{
    FShapes = std::make_unique<TLumPolygonList>(this);
    SetOrderedRange(false);
    MakeMandatory(ZValues());
}

TMapSeries::~TMapSeries()
{
    FDestroying = true;
    FShapes.reset();
}

void TMapSeries::Assign(const TPersistent& Source)
{
    TCustom3DPaletteSeries::Assign(Source);
    const auto* source = dynamic_cast<const TMapSeries*>(&Source);
    if (!source || source == this) return;
    for (int i = 0; i < source->Shapes().Count(); ++i) {
        const TLumPolygon& from = *source->Shapes().GetPolygon(i);
        FAdoptPoints = i < PointCount();
        TLumPolygon* to = nullptr;
        try {
            to = FShapes->AddPolygon();
        } catch (...) {
            FAdoptPoints = false;
            throw;
        }
        FAdoptPoints = false;
        to->VertexSeries().Assign(from.VertexSeries());
        to->SetClosed(from.Closed());
        to->SetTransparency(from.Transparency());
        to->SetParentBrush(from.ParentBrush());
        to->SetParentPen(from.ParentPen());
        to->SetGradient(from.HasGradient() ? &from.Gradient() : nullptr);
    }
}

void TMapSeries::ClearPoints()
{
    TCustom3DPaletteSeries::ClearPoints();
    if (!FShapes) return;
    const TNested pairing(FPairing);
    FShapes->Clear();
}

void TMapSeries::DeletePoint(int Index)
{
    TCustom3DPaletteSeries::DeletePoint(Index);
    if (Index >= FShapes->Count()) return;
    const TNested pairing(FPairing);
    FShapes->Delete(Index);
}

void TMapSeries::DeletePointRange(int Start, int Quantity, bool Renumber)
{
    TCustom3DPaletteSeries::DeletePointRange(Start, Quantity, Renumber);
    const int count = std::min(Quantity, FShapes->Count() - Start);
    if (count <= 0) return;
    const TNested pairing(FPairing);
    FShapes->DeleteRange(Start, count);
}

void TMapSeries::SwapValueIndex(int I, int J)
{
    TCustom3DPaletteSeries::SwapValueIndex(I, J);
    if (I != J && I < FShapes->Count() && J < FShapes->Count()) {
        const TNested pairing(FPairing);
        FShapes->Exchange(I, J);
    }
    InvalidateChart();
}

// ---- TMapSeries: extents, margins and gallery --------------------------------------------------------------

double TMapSeries::VertexExtreme(double (TChartSeries::*Of)())
{
    double result = 0;
    for (int i = 0; i < FShapes->Count(); ++i) {
        TPolygonSeries& v = FShapes->GetPolygon(i)->VertexSeries();
        const double value = (v.*Of)();
        const bool high = Of == &TChartSeries::HighestX || Of == &TChartSeries::HighestY;
        result = i == 0 ? value : high ? std::max(result, value) : std::min(result, value);
    }
    return result;
}

double TMapSeries::HighestX() { return VertexExtreme(&TChartSeries::HighestX); }
double TMapSeries::HighestY() { return VertexExtreme(&TChartSeries::HighestY); }
double TMapSeries::LowestX() { return VertexExtreme(&TChartSeries::LowestX); }
double TMapSeries::LowestY() { return VertexExtreme(&TChartSeries::LowestY); }

void TMapSeries::HorizMargins(int& Left, int& Right)
{
    TCustom3DPaletteSeries::HorizMargins(Left, Right);
    if (!Pen().Visible()) return;
    Left += Pen().Width();
    Right += Pen().Width();
}

void TMapSeries::VertMargins(int& Top, int& Bottom)
{
    TCustom3DPaletteSeries::VertMargins(Top, Bottom);
    ++Bottom;
    if (!Pen().Visible()) return;
    Top += Pen().Width();
    Bottom += Pen().Width();
}

void TMapSeries::ListGalleryStyles(const TGalleryStyleCallback& Callback) const
{
    TCustom3DPaletteSeries::ListGalleryStyles(Callback);
    Callback(LumConst::Colors);
}

void TMapSeries::ApplyGalleryStyle(TChartSeries* Series, int Index)
{
    if (Index == 2) {
        Series->SetColorEachPoint(true);
        return;
    }
    TCustom3DPaletteSeries::ApplyGalleryStyle(Series, Index);
}

void TMapSeries::SetParentView3D(bool Value)
{
    if (Value) {
        TCustom3DPaletteSeries::SetParentView3D(Value);
    } else if (TCustomAxisPanel* chart = ParentChart()) {
        chart->SetView3D(false);
    }
}

void TMapSeries::PrepareForGallery(bool Enabled)
{
    TCustom3DPaletteSeries::PrepareForGallery(Enabled);
    if (Enabled) return;
    for (int i = 0; i < FShapes->Count(); ++i) FShapes->GetPolygon(i)->SetColor(clSilver);
}

// ---- TMapSeries: drawing -----------------------------------------------------------------------------------

void TMapSeries::PaintPoint(int Index)
{
    TCustomAxisPanel* chart = ParentChart();
    if (!chart || Index < 0 || Index >= FShapes->Count()) return;
    FShapes->GetPolygon(Index)->Draw(chart->ChartCanvas(), Index);
}

void TMapSeries::PaintAllPoints()
{
    TCustomAxisPanel* chart = ParentChart();
    if (chart && chart->View3D())
        PaintSortedByZ();
    else
        TCustom3DPaletteSeries::PaintAllPoints();
}

void TMapSeries::PaintSortedByZ()
{
    const int n = FShapes->Count();
    if (n == 0) return;
    struct TEmptied {
        std::vector<TLumPolygon*>& List;
        ~TEmptied() { List.clear(); }
    } emptied{FSortedShapes};
    FSortedShapes.clear();
    for (int i = 0; i < n; ++i) FSortedShapes.push_back(FShapes->GetPolygon(i));
    SortByCallbacks(
        0, n - 1,
        [this](int A, int B) {
            const double za = FSortedShapes[static_cast<std::size_t>(A)]->Z(), zb = FSortedShapes[static_cast<std::size_t>(B)]->Z();
            return za > zb ? 1 : za < zb ? -1 : 0;
        },
        [this](int A, int B) { std::swap(FSortedShapes[static_cast<std::size_t>(A)], FSortedShapes[static_cast<std::size_t>(B)]); });
    TCanvas3D& canvas = ParentChart()->ChartCanvas();
    for (int i = n - 1; i >= 0; --i) {
        TLumPolygon* p = FSortedShapes[static_cast<std::size_t>(i)];
        p->Draw(canvas, p->Index());
    }
}

namespace {
// Where the line through (a1, b1) and (a2, b2) has a = v.
double EdgeCrossingAt(double V, double A1, double A2, double B1, double B2)
{
    return A1 == A2 ? B1 : B1 + (V - A1) / (A2 - A1) * (B2 - B1);
}
} // namespace

void TMapSeries::PaintMark(int Index, const std::string& Text, TSeriesMarkPosition& Position)
{
    if (Index >= 0 && Index < FShapes->Count()) {
        TLumPolygon& polygon = *FShapes->GetPolygon(Index);
        const TRect r = polygon.ScreenBounds();
        const TPointArray& pts = polygon.ScreenPoints();
        const int n = static_cast<int>(pts.size());
        TPoint c{(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2};
        if (!PolygonContainsPoint(c, pts, n - 1)) {
            // A concave polygon whose box centre lies outside it: average the edge crossings of the lines
            // through the current point, three times.
            double px = c.x, py = c.y;
            for (int pass = 0; pass < 3; ++pass) {
                double sumX = 0, sumY = 0;
                int countX = 0, countY = 0;
                for (int i = 0; i < n; ++i) {
                    const TPoint a = pts[static_cast<std::size_t>(i)], b = pts[static_cast<std::size_t>((i + 1) % n)];
                    if (std::min(a.x, b.x) <= px && px <= std::max(a.x, b.x)) {
                        sumY += EdgeCrossingAt(px, a.x, b.x, a.y, b.y);
                        ++countY;
                    }
                    if (std::min(a.y, b.y) <= py && py <= std::max(a.y, b.y)) {
                        sumX += EdgeCrossingAt(py, a.y, b.y, a.x, b.x);
                        ++countX;
                    }
                }
                px = countX ? RoundHalfEven(sumX / countX) : px;
                py = countY ? RoundHalfEven(sumY / countY) : py;
            }
            c = {static_cast<int>(px), static_cast<int>(py)};
        }
        Position.LeftTop = {c.x - Position.Width / 2, c.y - Position.Height / 2};
        // The mark belongs to the polygon, not to the series' unused point values.
        Position.ArrowTo = Position.ArrowFrom = c;
    }
    TCustom3DPaletteSeries::PaintMark(Index, Text, Position);
}

int TMapSeries::PointAtPixel(int X, int Y) const
{
    TCustomAxisPanel* chart = ParentChart();
    if (!chart) return -1;
    for (int i = FShapes->Count() - 1; i >= 0; --i) {
        TLumPolygon& polygon = *FShapes->GetPolygon(i);
        if (!polygon.IsInChartRect()) continue;
        int x = X, y = Y;
        if (chart->View3D()) chart->ChartCanvas().UnprojectPoint(x, y, ZScreenPosition(i));
        const TPointArray& pts = polygon.CalcScreenPoints();
        if (PolygonContainsPoint({x, y}, pts, static_cast<int>(pts.size()) - 1)) return i;
    }
    return -1;
}

// ---- TMapSeries: sample shapes -----------------------------------------------------------------------------

namespace {

struct TSampleShape {
    const char* Label;
    std::vector<TPoint> Outline;
};

// Twelve outlines in a 4 x 3 arrangement, labelled "A" to "L".
const std::vector<TSampleShape>& SampleShapes()
{
    static const std::vector<TSampleShape> shapes{
        {"A", {{11, 6}, {9, 7}, {9, 10}, {7, 9}, {5, 11}, {4, 8}, {1, 8}, {3, 6}, {1, 4}, {4, 4}, {5, 1}, {7, 3}, {9, 2}, {9, 5}}},
        {"B", {{23, 7}, {20, 9}, {17, 11}, {15, 9}, {13, 6}, {15, 4}, {17, 1}, {20, 2}, {23, 4}}},
        {"C", {{34, 9}, {32, 9}, {31, 11}, {29, 10}, {27, 10}, {27, 8}, {25, 7}, {26, 5}, {26, 3}, {28, 3}, {29, 1}, {31, 2},
               {33, 2}, {33, 4}, {35, 5}, {34, 7}}},
        {"D", {{45, 10}, {42, 9}, {38, 9}, {39, 6}, {39, 2}, {42, 3}, {46, 3}, {45, 6}}},
        {"E", {{8, 23}, {5, 22}, {3, 22}, {2, 19}, {1, 16}, {4, 15}, {6, 13}, {8, 14}, {10, 16}, {10, 18}, {10, 21}}},
        {"F", {{18, 23}, {16, 22}, {14, 21}, {14, 18}, {14, 16}, {16, 15}, {18, 13}, {20, 14}, {22, 15}, {22, 18}, {22, 20}, {20, 21}}},
        {"G", {{29, 23}, {28, 20}, {25, 19}, {27, 17}, {26, 15}, {29, 15}, {31, 13}, {32, 16}, {35, 17}, {33, 19}, {34, 21}, {31, 21}}},
        {"H", {{39, 22}, {38, 20}, {37, 17}, {39, 15}, {42, 13}, {44, 15}, {47, 16}, {46, 19}, {45, 22}, {42, 22}}},
        {"I", {{2, 33}, {2, 31}, {1, 30}, {3, 28}, {3, 26}, {5, 26}, {7, 25}, {8, 27}, {10, 27}, {10, 30}, {11, 32}, {9, 33},
               {8, 35}, {6, 34}, {4, 35}}},
        {"J", {{13, 32}, {15, 30}, {14, 27}, {17, 27}, {18, 25}, {20, 28}, {23, 28}, {21, 30}, {22, 33}, {19, 33}, {18, 35}, {16, 32}}},
        {"K", {{25, 31}, {26, 28}, {28, 26}, {31, 26}, {34, 27}, {34, 29}, {34, 32}, {32, 34}, {29, 35}, {27, 33}}},
        {"L", {{37, 29}, {40, 27}, {44, 25}, {46, 29}, {46, 33}, {42, 34}, {38, 33}}},
    };
    return shapes;
}

} // namespace

void TMapSeries::AddSampleShape(int Shape)
{
    const TSampleShape& sample = SampleShapes()[static_cast<std::size_t>(Shape)];
    int dx = 0, dy = 0;
    if (PointCount() > 12) {
        dx = RandomBelow(12);
        dy = RandomBelow(12);
    }
    TLumPolygon* polygon = FShapes->AddPolygon();
    TPolygonSeries& vertices = polygon->VertexSeries();
    vertices.BeginDataUpdate();
    try {
        for (const TPoint& p : sample.Outline) polygon->AddVertex(p.x + dx, p.y + dy);
    } catch (...) {
        vertices.EndDataUpdate();
        throw;
    }
    vertices.EndDataUpdate();
    polygon->SetText(sample.Label);
    polygon->SetZ(RandomBelow(1000) / 1000.0);
}

void TMapSeries::AddRandomSampleValues(int Count, bool)
{
    const int kinds = static_cast<int>(SampleShapes().size());
    for (int k = 0; k < Count; ++k) AddSampleShape(k % kinds);
}
