// The published properties of the series kinds with their defaults and stored rules: each row names a
// property, whether a fresh object stores it, a change, and whether it is stored afterwards; and which
// base properties each kind leaves out.
#include "SeriesTestSupport.h"

#include "chart/series/ErrorBar.h"

#include "chart/series/LumSpline.h"
#include "chart/series/LumSurfaColorGrid.h"
#include "chart/series/LumSurfaContour.h"
#include "chart/series/LumSurfaSurface.h"
#include "chart/series/LumSurfaTower.h"
#include "chart/series/LumTriSurface.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

bool Stored(const TPersistent& Obj, const std::string& Path)
{
    TPersistent* holder = nullptr;
    const TPropInfo* prop = FindPropInfo(Obj, Path, &holder);
    if (!prop || !holder) throw Exception("no property " + Path);
    return IsStoredProp(*holder, *prop);
}

struct TRow {
    const char* kind;
    std::function<std::unique_ptr<TPersistent>(TMapSeries&)> make;
    const char* path;
    bool storedAtFirst;
    std::function<void(TPersistent&)> change;
    bool storedAfter;
};

template <class T>
std::function<std::unique_ptr<TPersistent>(TMapSeries&)> Kind()
{
    return [](TMapSeries&) { return std::unique_ptr<TPersistent>(new T(nullptr)); };
}

template <class T>
std::function<void(TPersistent&)> On(std::function<void(T&)> f)
{
    return [f](TPersistent& o) { f(dynamic_cast<T&>(o)); };
}

} // namespace

TEST(SeriesStoredRules, PublishedPropertiesCarryTheirDefaults)
{
    using L = TLineSeries;
    using Pt = TPointSeries;
    using A = TAreaSeries;
    using F = TFastLineSeries;
    using M = TMapSeries;
    using B = TBarSeries;
    using HB = THorizBarSeries;
    using C = TContourSeries;
    using G = TColorGridSeries;
    using S = TSmoothingFunction;
    using Su = TSurfaceSeries;
    using W = TWaterFallSeries;
    using V = TVector3DSeries;
    using T = TTowerSeries;
    using TS = TTriSurfaceSeries;
    using Pie = TPieSeries;
    using E = TErrorSeries;
    using EB = TErrorBarSeries;
    using HL = THighLowSeries;
    const TRow rows[] = {
        {"line", Kind<L>(), "ClickableLine", false, On<L>([](L& s) { s.SetClickableLine(false); }), true},
        {"line", Kind<L>(), "ColorEachLine", false, On<L>([](L& s) { s.SetColorEachLine(false); }), true},
        {"line", Kind<L>(), "Dark3D", false, On<L>([](L& s) { s.SetDark3D(false); }), true},
        {"line", Kind<L>(), "InvertedStairs", false, On<L>([](L& s) { s.SetInvertedStairs(true); }), true},
        {"line", Kind<L>(), "LineBrush", false, On<L>([](L& s) { s.SetLineBrush(bsClear); }), true},
        {"line", Kind<L>(), "LineHeight", false, On<L>([](L& s) { s.SetLineHeight(3); }), true},
        {"line", Kind<L>(), "Stacked", false, On<L>([](L& s) { s.SetStacked(cssStack); }), true},
        {"line", Kind<L>(), "Stairs", false, On<L>([](L& s) { s.SetStairs(true); }), true},
        {"line", Kind<L>(), "OutLine.Visible", false, On<L>([](L& s) { s.OutLine().SetVisible(true); }), true},
        {"line", Kind<L>(), "LinePen.Width", false, On<L>([](L& s) { s.LinePen().SetWidth(2); }), true},
        {"line", Kind<L>(), "Shadow.HorizSize", false, On<L>([](L& s) { s.Shadow().SetHorizSize(3); }), true},
        {"line", Kind<L>(), "Brush.Style", false, On<L>([](L& s) { s.SetLineBrush(bsCross); }), true},
        // A pointer's Visible has no default: hidden or shown, it is always written.
        {"line: the pointer", Kind<L>(), "Pointer.Visible", true, On<L>([](L& s) { s.Pointer().SetVisible(true); }), true},
        {"line", Kind<L>(), "Pointer.HorizSize", false, On<L>([](L& s) { s.Pointer().SetHorizSize(6); }), true},
        {"horizontal line", Kind<THorizLineSeries>(), "Stairs", false, nullptr, false},
        {"point: ClickableLine is off", Kind<Pt>(), "ClickableLine", true, nullptr, true},
        {"point", Kind<Pt>(), "Transparency", false, On<Pt>([](Pt& s) { s.SetTransparency(30); }), true},
        {"point: the pointer's transparency", Kind<Pt>(), "Pointer.Transparency", false,
         On<Pt>([](Pt& s) { s.SetTransparency(30); }), true},
        {"point", Kind<Pt>(), "Stacked", false, On<Pt>([](Pt& s) { s.SetStacked(cssOverlap); }), true},
        {"area: DrawArea is on", Kind<A>(), "DrawArea", true, nullptr, true},
        {"area", Kind<A>(), "AreaColor", false, On<A>([](A& s) { s.SetAreaColor(clRed); }), true},
        {"area", Kind<A>(), "AreaBrush", false, On<A>([](A& s) { s.SetAreaBrush(bsCross); }), true},
        {"area", Kind<A>(), "MultiArea", false, On<A>([](A& s) { s.SetMultiArea(maStacked); }), true},
        {"area", Kind<A>(), "UseYOrigin", false, On<A>([](A& s) { s.SetUseYOrigin(true); }), true},
        {"area: YOrigin has no default", Kind<A>(), "YOrigin", true, nullptr, true},
        {"area", Kind<A>(), "Transparency", false, On<A>([](A& s) { s.SetTransparency(50); }), true},
        {"area", Kind<A>(), "Gradient.Visible", false, On<A>([](A& s) { s.Gradient().SetVisible(true); }), true},
        {"area", Kind<A>(), "AreaLinesPen.Visible", false, On<A>([](A& s) { s.AreaLinesPen().SetVisible(false); }), true},
        {"area", Kind<A>(), "AreaChartBrush.Color", false, On<A>([](A& s) { s.AreaChartBrush().SetColor(clRed); }), true},
        {"area", Kind<A>(), "Pointer.Visible", true, On<A>([](A& s) { s.Pointer().SetVisible(true); }), true},
        {"area", Kind<A>(), "ClickableLine", false, On<A>([](A& s) { s.SetClickableLine(false); }), true},
        {"area", Kind<A>(), "ColorEachLine", false, On<A>([](A& s) { s.SetColorEachLine(false); }), true},
        {"area", Kind<A>(), "Dark3D", false, On<A>([](A& s) { s.SetDark3D(false); }), true},
        {"area", Kind<A>(), "Stairs", false, On<A>([](A& s) { s.SetStairs(true); }), true},
        {"area", Kind<A>(), "InvertedStairs", false, On<A>([](A& s) { s.SetInvertedStairs(true); }), true},
        {"area", Kind<A>(), "LinePen.Width", false, On<A>([](A& s) { s.LinePen().SetWidth(2); }), true},
        {"point: the pointer is shown", Kind<Pt>(), "Pointer.Visible", true, On<Pt>([](Pt& s) { s.Pointer().SetVisible(false); }), true},
        {"horizontal area", Kind<THorizAreaSeries>(), "DrawArea", true, nullptr, true},
        {"fast line", Kind<F>(), "AutoRepaint", false, On<F>([](F& s) { s.SetAutoRepaint(false); }), true},
        {"fast line", Kind<F>(), "DrawAllPoints", false, On<F>([](F& s) { s.SetDrawAllPoints(false); }), true},
        {"fast line", Kind<F>(), "IgnoreNulls", false, On<F>([](F& s) { s.SetIgnoreNulls(false); }), true},
        {"fast line", Kind<F>(), "InvertedStairs", false, On<F>([](F& s) { s.SetInvertedStairs(true); }), true},
        {"fast line", Kind<F>(), "Stairs", false, On<F>([](F& s) { s.SetStairs(true); }), true},
        {"fast line", Kind<F>(), "LinePen.Style", false, On<F>([](F& s) { s.LinePen().SetStyle(psDot); }), true},
        {"map", Kind<M>(), "EndColor", false, On<M>([](M& s) { s.SetEndColor(clRed); }), true},
        {"map", Kind<M>(), "MidColor", false, On<M>([](M& s) { s.SetMidColor(clRed); }), true},
        {"map", Kind<M>(), "StartColor", false, On<M>([](M& s) { s.SetStartColor(clRed); }), true},
        {"map", Kind<M>(), "LegendEvery", false, On<M>([](M& s) { s.SetLegendEvery(2); }), true},
        {"map: PaletteMin has no default", Kind<M>(), "PaletteMin", true, nullptr, true},
        {"map: PaletteStep has no default", Kind<M>(), "PaletteStep", true, nullptr, true},
        {"map", Kind<M>(), "PaletteSteps", false, On<M>([](M& s) { s.SetPaletteSteps(8); }), true},
        {"map", Kind<M>(), "UseColorRange", false, On<M>([](M& s) { s.SetUseColorRange(false); }), true},
        {"map", Kind<M>(), "UsePalette", false, On<M>([](M& s) { s.SetUsePalette(true); }), true},
        {"map", Kind<M>(), "UsePaletteMin", false, On<M>([](M& s) { s.SetUsePaletteMin(true); }), true},
        {"map", Kind<M>(), "TimesZOrder", false, On<M>([](M& s) { s.SetTimesZOrder(1); }), true},
        {"map: the polygons are always written", Kind<M>(), "Shapes", true, nullptr, true},
        {"map", Kind<M>(), "Pen.Width", false, On<M>([](M& s) { s.Pen().SetWidth(2); }), true},
        {"map", Kind<M>(), "Brush.Style", false, On<M>([](M& s) { s.Brush().SetStyle(bsCross); }), true},
        {"map", Kind<M>(), "Active", false, On<M>([](M& s) { s.SetActive(false); }), true},
        {"bar", Kind<B>(), "AutoBarSize", false, On<B>([](B& s) { s.SetAutoBarSize(true); }), true},
        {"bar", Kind<B>(), "AutoMarkPosition", false, On<B>([](B& s) { s.SetAutoMarkPosition(false); }), true},
        {"bar", Kind<B>(), "BarStyle", false, On<B>([](B& s) { s.SetBarStyle(bsCone); }), true},
        {"bar", Kind<B>(), "BarWidthPercent", false, On<B>([](B& s) { s.SetBarWidthPercent(80); }), true},
        {"bar", Kind<B>(), "BevelSize", false, On<B>([](B& s) { s.SetBevelSize(3); }), true},
        {"bar", Kind<B>(), "CustomBarWidth", false, On<B>([](B& s) { s.SetCustomBarWidth(9); }), true},
        {"bar", Kind<B>(), "Dark3D", false, On<B>([](B& s) { s.SetDark3D(false); }), true},
        {"bar", Kind<B>(), "DepthPercent", false, On<B>([](B& s) { s.SetDepthPercent(50); }), true},
        {"bar", Kind<B>(), "MultiBar", false, On<B>([](B& s) { s.SetMultiBar(mbStacked); }), true},
        {"bar", Kind<B>(), "OffsetPercent", false, On<B>([](B& s) { s.SetOffsetPercent(10); }), true},
        {"bar", Kind<B>(), "SideMargins", false, On<B>([](B& s) { s.SetSideMargins(false); }), true},
        {"bar", Kind<B>(), "StackGroup", false, On<B>([](B& s) { s.SetStackGroup(1); }), true},
        {"bar", Kind<B>(), "UseYOrigin", false, On<B>([](B& s) { s.SetUseYOrigin(false); }), true},
        {"bar", Kind<B>(), "YOrigin", false, On<B>([](B& s) { s.SetYOrigin(2); }), true},
        {"bar", Kind<B>(), "TickLines.Visible", false, On<B>([](B& s) { s.TickLines().SetVisible(true); }), true},
        {"bar", Kind<B>(), "BarPen.Width", false, On<B>([](B& s) { s.BarPen().SetWidth(2); }), true},
        {"bar", Kind<B>(), "BarBrush.Style", false, On<B>([](B& s) { s.BarBrush().SetStyle(bsCross); }), true},
        {"bar: the gradient shows", Kind<B>(), "Gradient.Visible", false, On<B>([](B& s) { s.Gradient().SetVisible(false); }), true},
        {"bar", Kind<B>(), "Gradient.Relative", false, On<B>([](B& s) { s.Gradient().SetRelative(true); }), true},
        {"bar: top to bottom by default", Kind<B>(), "Gradient.Direction", false,
         On<B>([](B& s) { s.Gradient().SetDirection(gdLeftRight); }), true},
        {"horizontal bar: left to right by default", Kind<HB>(), "Gradient.Direction", false,
         On<HB>([](HB& s) { s.Gradient().SetDirection(gdTopBottom); }), true},
        {"horizontal bar", Kind<HB>(), "CustomBarHeight", false, On<HB>([](HB& s) { s.SetCustomBarWidth(9); }), true},
        {"bar: the callout's length 20 is the default", Kind<B>(), "Marks.Callout.Length", false,
         On<B>([](B& s) { s.Marks().Callout().SetLength(8); }), true},
        {"contour: ColorEachPoint is on", Kind<C>(), "ColorEachPoint", false, On<C>([](C& s) { s.SetColorEachPoint(false); }), true},
        {"contour", Kind<C>(), "AutomaticLevels", false, On<C>([](C& s) { s.SetAutomaticLevels(false); }), true},
        {"contour: hand-made levels", Kind<C>(), "Levels", false, On<C>([](C& s) { s.Levels().AddLevel(); }), true},
        {"contour", Kind<C>(), "NumLevels", false, On<C>([](C& s) { s.SetNumLevels(4); }), true},
        {"contour", Kind<C>(), "YPosition", false, On<C>([](C& s) { s.SetYPosition(2.5); }), true},
        {"contour", Kind<C>(), "YPositionLevel", false, On<C>([](C& s) { s.SetYPositionLevel(true); }), true},
        {"contour", Kind<C>(), "Smoothing.Active", false, On<C>([](C& s) { s.Smoothing().SetActive(true); }), true},
        {"contour", Kind<C>(), "Smoothing.Interpolate", false, On<C>([](C& s) { s.Smoothing().SetInterpolate(true); }), true},
        {"contour", Kind<C>(), "NumXValues", false, On<C>([](C& s) { s.SetNumXValues(4); }), true},
        {"contour", Kind<C>(), "NumZValues", false, On<C>([](C& s) { s.SetNumZValues(4); }), true},
        {"contour", Kind<C>(), "PaletteStyle", false, On<C>([](C& s) { s.SetPaletteStyle(psRainbow); }), true},
        {"contour", Kind<C>(), "TimesZOrder", false, On<C>([](C& s) { s.SetTimesZOrder(1); }), true},
        {"colour grid", Kind<G>(), "CenteredPoints", false, On<G>([](G& s) { s.SetCenteredPoints(true); }), true},
        {"colour grid", Kind<G>(), "IrregularGrid", false, On<G>([](G& s) { s.SetIrregularGrid(true); }), true},
        {"colour grid", Kind<G>(), "SmoothBitmap", false, On<G>([](G& s) { s.SetSmoothBitmap(true); }), true},
        {"colour grid", Kind<G>(), "XGridEvery", false, On<G>([](G& s) { s.SetXGridEvery(2); }), true},
        {"colour grid", Kind<G>(), "ZGridEvery", false, On<G>([](G& s) { s.SetZGridEvery(3); }), true},
        {"colour grid", Kind<G>(), "Frame.Visible", false, On<G>([](G& s) { s.Frame().SetVisible(true); }), true},
        {"colour grid", Kind<G>(), "NumXValues", false, On<G>([](G& s) { s.SetNumXValues(3); }), true},
        {"colour grid", Kind<G>(), "Brush.Style", false, On<G>([](G& s) { s.Brush().SetStyle(bsClear); }), true},
        {"surface", Kind<Su>(), "DotFrame", false, On<Su>([](Su& s) { s.SetDotFrame(true); }), true},
        {"surface", Kind<Su>(), "FastBrush", false, On<Su>([](Su& s) { s.SetFastBrush(true); }), true},
        {"surface", Kind<Su>(), "IrregularGrid", false, On<Su>([](Su& s) { s.SetIrregularGrid(true); }), true},
        {"surface", Kind<Su>(), "NumZValues", false, On<Su>([](Su& s) { s.SetNumZValues(4); }), true},
        // The side brush starts clear against a brush's solid default, so its style is written.
        {"surface: the side brush starts clear", Kind<Su>(), "SideBrush.Style", true,
         On<Su>([](Su& s) { s.SideBrush().SetStyle(bsSolid); }), false},
        {"surface", Kind<Su>(), "SideLines.Visible", false, On<Su>([](Su& s) { s.SideLines().SetVisible(true); }), true},
        {"surface", Kind<Su>(), "SmoothPalette", false, On<Su>([](Su& s) { s.SetSmoothPalette(true); }), true},
        {"surface", Kind<Su>(), "Transparency", false, On<Su>([](Su& s) { s.SetTransparency(40); }), true},
        {"surface", Kind<Su>(), "WireFrame", false, On<Su>([](Su& s) { s.SetWireFrame(true); }), true},
        {"surface", Kind<Su>(), "UsePalette", false, On<Su>([](Su& s) { s.SetUsePalette(true); }), true},
        {"water fall: on by default", Kind<W>(), "WaterFall", false, On<W>([](W& s) { s.SetWaterFall(false); }), true},
        {"water fall", Kind<W>(), "WaterLines.Visible", false, On<W>([](W& s) { s.WaterLines().SetVisible(false); }), true},
        {"water fall", Kind<W>(), "WireFrame", false, On<W>([](W& s) { s.SetWireFrame(true); }), true},
        {"vector", Kind<V>(), "ArrowHeight", false, On<V>([](V& s) { s.SetArrowHeight(6); }), true},
        {"vector", Kind<V>(), "ArrowWidth", false, On<V>([](V& s) { s.SetArrowWidth(6); }), true},
        {"vector", Kind<V>(), "StartArrow.Visible", false, On<V>([](V& s) { s.StartArrow().SetVisible(true); }), true},
        {"vector", Kind<V>(), "EndArrow.Visible", false, On<V>([](V& s) { s.EndArrow().SetVisible(false); }), true},
        {"vector: the point colour", Kind<V>(), "EndArrow.Color", true, On<V>([](V& s) { s.EndArrow().SetColor(clBlack); }), false},
        {"tower", Kind<T>(), "Dark3D", false, On<T>([](T& s) { s.SetDark3D(false); }), true},
        {"tower", Kind<T>(), "Origin", false, On<T>([](T& s) { s.SetOrigin(2.5); }), true},
        {"tower", Kind<T>(), "PercentDepth", false, On<T>([](T& s) { s.SetPercentDepth(50); }), true},
        {"tower", Kind<T>(), "PercentWidth", false, On<T>([](T& s) { s.SetPercentWidth(50); }), true},
        {"tower", Kind<T>(), "TowerStyle", false, On<T>([](T& s) { s.SetTowerStyle(tsCone); }), true},
        {"tower", Kind<T>(), "Transparency", false, On<T>([](T& s) { s.SetTransparency(20); }), true},
        {"tower", Kind<T>(), "UseOrigin", false, On<T>([](T& s) { s.SetUseOrigin(true); }), true},
        {"tower", Kind<T>(), "IrregularGrid", false, On<T>([](T& s) { s.SetIrregularGrid(true); }), true},
        {"triangle surface", Kind<TS>(), "Border.Visible", false, On<TS>([](TS& s) { s.Border().SetVisible(true); }), true},
        // White against a pen's black default, so the border's colour is written.
        {"triangle surface: a white border", Kind<TS>(), "Border.Color", true, On<TS>([](TS& s) { s.Border().SetColor(clBlack); }), false},
        {"triangle surface", Kind<TS>(), "FastBrush", false, On<TS>([](TS& s) { s.SetFastBrush(true); }), true},
        {"triangle surface: on by default", Kind<TS>(), "HideTriangles", false, On<TS>([](TS& s) { s.SetHideTriangles(false); }), true},
        {"triangle surface", Kind<TS>(), "Transparency", false, On<TS>([](TS& s) { s.SetTransparency(30); }), true},
        {"triangle surface", Kind<TS>(), "TimesZOrder", false, On<TS>([](TS& s) { s.SetTimesZOrder(2); }), true},
        {"pie", Kind<Pie>(), "AngleSize", false, On<Pie>([](Pie& s) { s.SetAngleSize(180); }), true},
        {"pie", Kind<Pie>(), "AutoMarkPosition", false, On<Pie>([](Pie& s) { s.SetAutoMarkPosition(false); }), true},
        {"pie", Kind<Pie>(), "CircleBackColor", false, On<Pie>([](Pie& s) { s.SetCircleBackColor(clRed); }), true},
        {"pie", Kind<Pie>(), "Circled", false, On<Pie>([](Pie& s) { s.SetCircled(true); }), true},
        {"pie: ColorEachPoint is on", Kind<Pie>(), "ColorEachPoint", false, On<Pie>([](Pie& s) { s.SetColorEachPoint(false); }), true},
        {"pie", Kind<Pie>(), "CustomXRadius", false, On<Pie>([](Pie& s) { s.SetCustomXRadius(40); }), true},
        {"pie", Kind<Pie>(), "CustomYRadius", false, On<Pie>([](Pie& s) { s.SetCustomYRadius(40); }), true},
        {"pie", Kind<Pie>(), "Dark3D", false, On<Pie>([](Pie& s) { s.SetDark3D(false); }), true},
        {"pie", Kind<Pie>(), "DarkPen", false, On<Pie>([](Pie& s) { s.SetDarkPen(32); }), true},
        {"pie", Kind<Pie>(), "ExplodeBiggest", false, On<Pie>([](Pie& s) { s.SetExplodeBiggest(30); }), true},
        {"pie", Kind<Pie>(), "MultiPie", false, On<Pie>([](Pie& s) { s.SetMultiPie(mpDisabled); }), true},
        {"pie: kept modulo 360", Kind<Pie>(), "RotationAngle", false, On<Pie>([](Pie& s) { s.SetRotationAngle(360); }), false},
        {"pie", Kind<Pie>(), "RotationAngle", false, On<Pie>([](Pie& s) { s.SetRotationAngle(30); }), true},
        {"pie", Kind<Pie>(), "UsePatterns", false, On<Pie>([](Pie& s) { s.SetUsePatterns(true); }), true},
        {"pie", Kind<Pie>(), "PiePen.Width", false, On<Pie>([](Pie& s) { s.PiePen().SetWidth(2); }), true},
        {"pie: silver-grey by default", Kind<Pie>(), "Shadow.Color", false, On<Pie>([](Pie& s) { s.Shadow().SetColor(clRed); }), true},
        {"pie", Kind<Pie>(), "Shadow.HorizSize", false, On<Pie>([](Pie& s) { s.Shadow().SetHorizSize(10); }), true},
        {"pie: the callout's length 8 is the default", Kind<Pie>(), "Marks.Callout.Length", false,
         On<Pie>([](Pie& s) { s.Marks().Callout().SetLength(20); }), true},
        // The pie's gradient is radial against the gradient's own default, so its direction is written.
        {"pie: a radial gradient", Kind<Pie>(), "Gradient.Direction", true, nullptr, true},
        {"pie", Kind<Pie>(), "Gradient.Visible", false, On<Pie>([](Pie& s) { s.Gradient().SetVisible(true); }), true},
        {"pie", Kind<Pie>(), "OtherSlice.Style", false, On<Pie>([](Pie& s) { s.OtherSlice().SetStyle(poBelowPercent); }), true},
        {"pie", Kind<Pie>(), "OtherSlice.Value", false, On<Pie>([](Pie& s) { s.OtherSlice().SetValue(10); }), true},
        {"pie", Kind<Pie>(), "OtherSlice.Color", false, On<Pie>([](Pie& s) { s.OtherSlice().SetColor(clRed); }), true},
        {"pie: \"Other\" while empty", Kind<Pie>(), "OtherSlice.Text", false, On<Pie>([](Pie& s) { s.OtherSlice().SetText("Rest"); }), true},
        {"pie: the legend once made", Kind<Pie>(), "OtherSlice.Legend", false, On<Pie>([](Pie& s) { s.OtherSlice().Legend(); }), true},
        {"error", Kind<E>(), "ErrorStyle", false, On<E>([](E& s) { s.SetErrorStyle(essLeft); }), true},
        {"error", Kind<E>(), "ErrorWidth", false, On<E>([](E& s) { s.SetErrorWidth(50); }), true},
        {"error", Kind<E>(), "ErrorWidthUnits", false, On<E>([](E& s) { s.SetErrorWidthUnits(ewuPixels); }), true},
        {"error", Kind<E>(), "ErrorPen.Width", false, On<E>([](E& s) { s.ErrorPen().SetWidth(2); }), true},
        {"error bar", Kind<EB>(), "ErrorWidth", false, On<EB>([](EB& s) { s.SetErrorWidth(50); }), true},
        {"error bar", Kind<EB>(), "BarWidthPercent", false, On<EB>([](EB& s) { s.SetBarWidthPercent(50); }), true},
        {"high-low", Kind<HL>(), "Transparency", false, On<HL>([](HL& s) { s.SetTransparency(30); }), true},
        {"high-low", Kind<HL>(), "HighPen.Width", false, On<HL>([](HL& s) { s.HighPen().SetWidth(2); }), true},
        // Both band brushes start clear against a brush's solid default, so their style is written.
        {"high-low: the low brush starts clear", Kind<HL>(), "LowBrush.Style", true,
         On<HL>([](HL& s) { s.LowBrush().SetStyle(bsSolid); }), false},
        {"smoothing", Kind<S>(), "Factor", false, On<S>([](S& f) { f.SetFactor(2); }), true},
        {"smoothing", Kind<S>(), "Interpolate", false, On<S>([](S& f) { f.SetInterpolate(false); }), true},
    };
    for (const TRow& row : rows) {
        SCOPED_TRACE(std::string(row.kind) + " " + row.path);
        TMapSeries scratch(nullptr);
        auto obj = row.make(scratch);
        EXPECT_EQ(Stored(*obj, row.path), row.storedAtFirst);
        if (row.change) row.change(*obj);
        EXPECT_EQ(Stored(*obj, row.path), row.storedAfter);
    }
}

TEST(SeriesStoredRules, PolygonProperties)
{
    struct Row {
        const char* path;
        bool storedAtFirst;
        std::function<void(TLumPolygon&)> change;
        bool storedAfter;
    };
    const Row rows[] = {
        {"Closed", false, [](TLumPolygon& p) { p.SetClosed(false); }, true},
        // Alone, the polygon's Z is the whole range: the range's end colour, white.
        {"Color", false, [](TLumPolygon& p) { p.SetColor(clRed); }, true},
        // False is the stream default, so True is written and read back.
        {"ParentPen", false, [](TLumPolygon& p) { p.SetParentPen(true); }, true},
        {"ParentBrush", false, [](TLumPolygon& p) { p.SetParentBrush(true); }, true},
        {"Text", false, [](TLumPolygon& p) { p.SetText("A"); }, true},
        {"Transparency", false, [](TLumPolygon& p) { p.SetTransparency(10); }, true},
        {"Z", true, nullptr, true},
        {"Pen.Width", false, [](TLumPolygon& p) { p.Pen().SetWidth(3); }, true},
        {"Brush.Style", false, [](TLumPolygon& p) { p.Brush().SetStyle(bsCross); }, true},
        {"Gradient.Visible", false, [](TLumPolygon& p) { p.Gradient().SetVisible(true); }, true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.path);
        TMapSeries map(nullptr);
        TLumPolygon& p = *map.Shapes().AddPolygon();
        EXPECT_EQ(Stored(p, row.path), row.storedAtFirst);
        if (row.change) row.change(p);
        EXPECT_EQ(Stored(p, row.path), row.storedAfter);
    }
}

TEST(SeriesStoredRules, WhatEachKindPublishes)
{
    auto names = [](const TClassInfo& info) {
        std::vector<std::string> n;
        for (const TPropInfo& p : info.Properties()) n.push_back(p.Name);
        return n;
    };
    auto has = [&](const TClassInfo& info, const std::string& name) {
        const auto n = names(info);
        return std::find(n.begin(), n.end(), name) != n.end();
    };
    struct Row {
        const TClassInfo& info;
        const char* name;
        bool published;
    };
    const Row rows[] = {
        {TLineSeries::StaticClassInfo(), "OutLine", true},        {TLineSeries::StaticClassInfo(), "AreaColor", false},
        {TLineSeries::StaticClassInfo(), "MultiArea", false},     {TLineSeries::StaticClassInfo(), "Transparency", false},
        {TPointSeries::StaticClassInfo(), "Transparency", true},  {TPointSeries::StaticClassInfo(), "LinePen", false},
        {TPointSeries::StaticClassInfo(), "Stairs", false},       {TAreaSeries::StaticClassInfo(), "UseYOrigin", true},
        {TAreaSeries::StaticClassInfo(), "Stacked", false},       {TAreaSeries::StaticClassInfo(), "LineHeight", false},
        {TAreaSeries::StaticClassInfo(), "OutLine", false},       {THorizAreaSeries::StaticClassInfo(), "YOrigin", true},
        {THorizLineSeries::StaticClassInfo(), "LineHeight", true}, {TFastLineSeries::StaticClassInfo(), "ColorEachPoint", false},
        {TFastLineSeries::StaticClassInfo(), "ColorSource", false}, {TFastLineSeries::StaticClassInfo(), "Depth", true},
        {TMapSeries::StaticClassInfo(), "PaletteStyle", false},   {TMapSeries::StaticClassInfo(), "Depth", false},
        {TMapSeries::StaticClassInfo(), "ColorEachPoint", false}, {TMapSeries::StaticClassInfo(), "ColorSource", true},
        {TMapSeries::StaticClassInfo(), "Shapes", true},          {TMapSeries::StaticClassInfo(), "ZValues", true},
        {TContourSeries::StaticClassInfo(), "IrregularGrid", false}, {TContourSeries::StaticClassInfo(), "Levels", true},
        {TContourSeries::StaticClassInfo(), "PaletteStyle", true}, {TColorGridSeries::StaticClassInfo(), "IrregularGrid", true},
        {TColorGridSeries::StaticClassInfo(), "Frame", true},     {TColorGridSeries::StaticClassInfo(), "Brush", true},
        {TPieSeries::StaticClassInfo(), "PieValues", true},       {TPieSeries::StaticClassInfo(), "YValues", false},
        {TPieSeries::StaticClassInfo(), "XValues", false},        {TPieSeries::StaticClassInfo(), "Depth", false},
        {TPieSeries::StaticClassInfo(), "HorizAxis", false},      {TPieSeries::StaticClassInfo(), "OtherSlice", true},
        {TPieSeries::StaticClassInfo(), "Circled", true},         {TPieSeries::StaticClassInfo(), "ColorSource", true},
        {TSurfaceSeries::StaticClassInfo(), "WaterFall", false}, {TWaterFallSeries::StaticClassInfo(), "WaterFall", true},
        {TSurfaceSeries::StaticClassInfo(), "WaterLines", false}, {TWaterFallSeries::StaticClassInfo(), "WaterLines", true},
        {TSurfaceSeries::StaticClassInfo(), "IrregularGrid", true}, {TTowerSeries::StaticClassInfo(), "TowerStyle", true},
        {TVector3DSeries::StaticClassInfo(), "EndZValues", true}, {TVector3DSeries::StaticClassInfo(), "NumXValues", false},
        {TTriSurfaceSeries::StaticClassInfo(), "Border", true}, {TTriSurfaceSeries::StaticClassInfo(), "NumXValues", false},
        {TErrorSeries::StaticClassInfo(), "ErrorStyle", true},    {TErrorBarSeries::StaticClassInfo(), "ErrorStyle", false},
        {TErrorBarSeries::StaticClassInfo(), "ErrorValues", true}, {THighLowSeries::StaticClassInfo(), "HighValues", true},
    };
    for (const Row& row : rows) EXPECT_EQ(has(row.info, row.name), row.published) << row.info.Name() << " " << row.name;
    // The value lists come last.
    const auto fast = names(TFastLineSeries::StaticClassInfo());
    EXPECT_EQ(fast[fast.size() - 2], "XValues");
    EXPECT_EQ(fast.back(), "YValues");
    const auto map = names(TMapSeries::StaticClassInfo());
    EXPECT_EQ(map.back(), "ZValues");
    for (const TClassInfo* grid : {&TContourSeries::StaticClassInfo(), &TColorGridSeries::StaticClassInfo(),
                                   &TSurfaceSeries::StaticClassInfo(),
                                   &TVector3DSeries::StaticClassInfo(), &TTowerSeries::StaticClassInfo(),
                                   &TTriSurfaceSeries::StaticClassInfo()}) {
        const auto n = names(*grid);
        EXPECT_EQ(n.back(), "ZValues") << grid->Name();
        EXPECT_EQ(n[n.size() - 2], "YValues") << grid->Name();
    }
    const auto fall = names(TWaterFallSeries::StaticClassInfo());
    EXPECT_EQ(fall.back(), "WaterLines") << "the water fall's own after the surface's";
    EXPECT_EQ(TMapSeries::StaticClassInfo().FindProperty("Shapes")->Kind, TPropKind::Collection);
}
