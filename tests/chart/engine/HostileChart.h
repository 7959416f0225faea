// The hostile-settings tests' chart: a pointer series with marks and shadows, the panel with a frame and
// bevels, and a paint that may end only normally or with "Integer overflow".
#pragma once

#include "EngineKit.h"

#include "platform/rtl/Exceptions.h"

#include <gtest/gtest.h>

#include <string>

struct THostileChart : TSeriesChart {
    TPointerSeries* Series;
    explicit THostileChart(bool view3D)
    {
        Series = &Add({3, 7, 5, 9}, {10, 20, 30, 40});
        Series->Marks().SetVisible(true);
        Series->Marks().SetStyle(smsValue);
        Chart.SetView3D(view3D);
        Chart.SetBevelInner(bvLowered);
        Chart.Border().SetVisible(true);
        for (TChartAxis* axis : {&Chart.LeftAxis(), &Chart.BottomAxis()}) {
            axis->Title().SetCaption("Title");
            axis->MinorTicks().SetVisible(true);
            axis->MinorGrid().SetVisible(true);
            axis->TicksInner().SetVisible(true);
        }
    }
};

// Paints the chart; true when it ended normally, false for "Integer overflow"; anything else fails.
inline bool PaintEnds(THostileChart& c, const std::string& what)
{
    try {
        c.Render();
        return true;
    } catch (const EIntOverflow& e) {
        EXPECT_EQ(std::string(e.Message()), "Integer overflow") << what;
        return false;
    } catch (const std::exception& e) {
        ADD_FAILURE() << what << " raised " << e.what();
    } catch (...) {
        ADD_FAILURE() << what << " raised something";
    }
    return false;
}
