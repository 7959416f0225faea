// Every integer setting a stored chart carries, at INT_MAX, INT_MIN, half of INT_MAX and plus or minus a
// million, painted in 2-D and 3-D: sums of stored sizes and offsets are clamped to the pixel range or raise
// "Integer overflow", and never wrap around (which the sanitizer build reports).
#include "HostileChart.h"

#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <string>
#include <vector>

namespace {

struct TSetting {
    std::string Name;
    std::function<void(THostileChart&, int)> Apply; // given INT_MAX, INT_MIN or another hostile value
};

template <class F>
TSetting OnAxes(const std::string& name, F set)
{
    return {name, [set](THostileChart& c, int v) {
                for (TChartAxis* axis : {&c.Chart.LeftAxis(), &c.Chart.BottomAxis()}) set(*axis, v);
            }};
}

// The integer settings stored charts carry, each taking any value a file may hold.
std::vector<TSetting> IntegerSettings()
{
    return {
        {"pointer width", [](THostileChart& c, int v) { c.Series->Pointer.SetHorizSize(v); }},
        {"pointer height", [](THostileChart& c, int v) { c.Series->Pointer.SetVertSize(v); }},
        OnAxes("tick length", [](TChartAxis& a, int v) { a.SetTickLength(v); }),
        OnAxes("inner tick length", [](TChartAxis& a, int v) { a.SetTickInnerLength(v); }),
        OnAxes("minor tick length", [](TChartAxis& a, int v) { a.SetMinorTickLength(v); }),
        OnAxes("minor tick count", [](TChartAxis& a, int v) { a.SetMinorTickCount(v); }),
        OnAxes("labels size", [](TChartAxis& a, int v) { a.SetLabelsSize(v); }),
        OnAxes("title size", [](TChartAxis& a, int v) { a.SetTitleSize(v); }),
        OnAxes("labels angle", [](TChartAxis& a, int v) { a.SetLabelsAngle(v); }),
        OnAxes("labels separation", [](TChartAxis& a, int v) { if (v >= 0) a.SetLabelsSeparation(v); }),
        OnAxes("minimum offset", [](TChartAxis& a, int v) { a.SetMinimumOffset(v); }),
        OnAxes("maximum offset", [](TChartAxis& a, int v) { a.SetMaximumOffset(v); }),
        OnAxes("axis pen width", [](TChartAxis& a, int v) { a.Axis().SetWidth(v); }),
        OnAxes("grid pen width", [](TChartAxis& a, int v) { a.Grid().SetWidth(v); }),
        OnAxes("tick pen width", [](TChartAxis& a, int v) { a.Ticks().SetWidth(v); }),
        OnAxes("position in pixels",
               [](TChartAxis& a, int v) {
                   a.SetPositionUnits(muPixels);
                   a.SetPositionPercent(v);
               }),
        OnAxes("title angle", [](TChartAxis& a, int v) { a.Title().SetAngle(v); }),
        {"marks arrow length", [](THostileChart& c, int v) { c.Series->Marks().SetArrowLength(v); }},
        {"marks angle", [](THostileChart& c, int v) { c.Series->Marks().SetAngle(v); }},
        {"marks shadow", [](THostileChart& c, int v) { c.Series->Marks().Shadow().SetUniformSize(v); }},
        {"marks bevel", [](THostileChart& c, int v) {
             c.Series->Marks().SetBevel(bvRaised);
             c.Series->Marks().SetBevelWidth(v);
         }},
        {"marks HTML picture size", [](THostileChart& c, int v) {
             c.Series->Marks().SetTextFormat(ttfHtml);
             c.Series->OnGetMarkText = [v](TChartSeries*, int, std::string& text) {
                 text = "<img src=\"missing.bmp\" width=" + std::to_string(v) + " height=" + std::to_string(v) + ">x<br>y";
             };
         }},
        {"series depth", [](THostileChart& c, int v) { c.Series->SetDepth(v); }},
        {"chart 3-D percent", [](THostileChart& c, int v) { c.Chart.SetChart3DPercent(v); }},
        {"panel margins", [](THostileChart& c, int v) {
             c.Chart.SetMarginLeft(v);
             c.Chart.SetMarginBottom(v);
         }},
        {"panel margins in pixels", [](THostileChart& c, int v) {
             c.Chart.SetMarginUnits(muPixels);
             c.Chart.SetMarginTop(v);
             c.Chart.SetMarginRight(v);
         }},
        {"panel shadow", [](THostileChart& c, int v) { c.Chart.Shadow().SetUniformSize(v); }},
        {"panel bevel width", [](THostileChart& c, int v) { c.Chart.SetBevelWidth(v); }},
        {"panel border width", [](THostileChart& c, int v) { c.Chart.SetBorderWidth(v); }},
        {"panel border round", [](THostileChart& c, int v) { c.Chart.SetBorderRound(v); }},
        {"panel frame pen width", [](THostileChart& c, int v) { c.Chart.Border().SetWidth(v); }},
        {"3-D zoom", [](THostileChart& c, int v) { c.Chart.View3DOptions().SetZoom(v); }},
        {"3-D horizontal offset", [](THostileChart& c, int v) { c.Chart.View3DOptions().SetHorizOffset(v); }},
        {"3-D vertical offset", [](THostileChart& c, int v) { c.Chart.View3DOptions().SetVertOffset(v); }},
        {"3-D perspective", [](THostileChart& c, int v) { c.Chart.View3DOptions().SetPerspective(v); }},
        {"3-D rotation", [](THostileChart& c, int v) {
             c.Chart.View3DOptions().SetOrthogonal(false);
             c.Chart.View3DOptions().SetRotation(v);
         }},
        {"3-D elevation", [](THostileChart& c, int v) {
             c.Chart.View3DOptions().SetOrthogonal(false);
             c.Chart.View3DOptions().SetElevation(v);
         }},
        {"3-D ortho angle", [](THostileChart& c, int v) { c.Chart.View3DOptions().SetOrthoAngle(v); }},
        {"labels font size", [](THostileChart& c, int v) { c.Chart.LeftAxis().LabelsFont().SetSize(v); }},
        {"labels character spacing", [](THostileChart& c, int v) { c.Chart.BottomAxis().LabelsFont().SetInterCharSize(v); }},
    };
}

} // namespace

TEST(HostileSettings, EveryIntegerSettingAtItsLimitsPaintsOrOverflows)
{
    for (const TSetting& s : IntegerSettings())
        for (int value : {INT_MAX, INT_MIN, INT_MAX / 2 + 1, 1000000, -1000000})
            for (bool view3D : {false, true}) {
                const std::string what = s.Name + " = " + std::to_string(value) + (view3D ? " in 3-D" : "");
                THostileChart c(view3D);
                try {
                    s.Apply(c, value);
                } catch (const Exception&) {
                    continue; // a setter that refuses the value keeps it out of every paint
                }
                const bool painted = PaintEnds(c, what);
                // A million pixels is absurd but fits every sum: such a chart paints.
                if (value == 1000000 || value == -1000000) {
                    EXPECT_TRUE(painted) << what;
                }
            }
}

