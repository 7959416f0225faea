// Axis labels stand on the chart's own background: a render of a chart with its axes behind and in front
// of the series, probed around the left and bottom labels, and the text commands on the recorder. A
// label frame is drawn only for a format that is not transparent, and PaintAxis gives the caller its
// background mode back.
#include "EngineKit.h"

#include "platform/graphics/RecordingBackend.h"

#include <gtest/gtest.h>

namespace {

const TColor Face = static_cast<TColor>(0xC8F0FA); // the panel colour behind the labels

// A chart of two filled series whose brushes leave the canvas opaque, drawn on a bitmap.
struct TLabelChart : TSeriesChart {
    explicit TLabelChart(bool axesInFront)
    {
        Chart.SetColor(Face);
        Chart.SetAxisBehind(!axesInFront);
        for (TColor colour : {clRed, clNavy}) {
            TPointerSeries& s = Add({120, 870, 450, 990});
            s.SetSeriesColor(colour);
            s.Pointer.Brush().SetStyle(bsSolid);
        }
    }
};

// The share of pixels of `r` in the panel colour.
double FaceShare(const TBitmap& b, const TRect& r)
{
    int face = 0, all = 0;
    for (int y = r.Top; y < r.Bottom; ++y)
        for (int x = r.Left; x < r.Right; ++x, ++all)
            if (b.PixelRGB(x, y) == Face) ++face;
    return all == 0 ? 0 : static_cast<double>(face) / all;
}

} // namespace

TEST(AxisLabelBackground, LabelsOfEveryAxisStandOnThePanelColour)
{
    for (bool axesInFront : {false, true}) {
        SCOPED_TRACE(axesInFront ? "axes in front" : "axes behind");
        TLabelChart c(axesInFront);
        const auto bitmap = c.Render();
        const int charHeight = c.Chart.ChartCanvas().CharHeight();
        // Bottom labels hang centred below LabelsPosition; left labels end at LabelsPosition, centred on
        // their pixel. The cells around them are mostly panel colour, with the glyphs' ink in between; an
        // opaque box would leave none of it.
        const TChartAxis& bottom = c.Chart.BottomAxis();
        ASSERT_GE(bottom.TickPositions.size(), 3u);
        for (int p : bottom.TickPositions)
            EXPECT_GT(FaceShare(*bitmap, {p - 8, bottom.LabelsPosition + 1, p + 8, bottom.LabelsPosition + charHeight}), 0.4)
                << "bottom label at " << p;
        const TChartAxis& left = c.Chart.LeftAxis();
        ASSERT_GE(left.TickPositions.size(), 3u);
        for (int p : left.TickPositions)
            EXPECT_GT(FaceShare(*bitmap, {left.LabelsPosition - 16, p - charHeight / 2 + 1, left.LabelsPosition, p + charHeight / 2}), 0.4)
                << "left label at " << p;
    }
}

TEST(AxisLabelBackground, TextCommandsAreTransparentAndTheCallerKeepsItsMode)
{
    for (bool axesInFront : {false, true}) {
        SCOPED_TRACE(axesInFront ? "axes in front" : "axes behind");
        TLabelChart c(axesInFront);
        c.Chart.SetBufferedDisplay(false); // straight onto the recorder
        auto recorder = std::make_shared<TRecordingBackend>(c.Chart.Width(), c.Chart.Height());
        TCanvas device(recorder);
        c.Chart.DrawOnCanvas(device, c.Chart.ChartBounds());
        int labels = 0;
        for (const auto* r : recorder->OfKind("TextOut")) {
            EXPECT_FALSE(r->TextCmd.Opaque) << '"' << r->Text << '"';
            ++labels;
        }
        EXPECT_GE(labels, 6);

        // PaintAxis alone: the mode the caller set comes back, whichever it was.
        for (int mode : {OPAQUE, TRANSPARENT}) {
            c.Chart.ChartCanvas().WriteBackMode(mode);
            c.Chart.LeftAxis().PaintAxis(false);
            EXPECT_EQ(c.Chart.ChartCanvas().ReadBackMode(), mode);
        }
    }
}

TEST(AxisLabelBackground, AFrameOnlyForAFormatThatIsNotTransparent)
{
    TLabelChart c(false);
    c.Chart.SetBufferedDisplay(false);
    auto recorder = std::make_shared<TRecordingBackend>(c.Chart.Width(), c.Chart.Height());
    TCanvas device(recorder);
    const auto framesOf = [&] {
        recorder->Clear();
        c.Chart.DrawOnCanvas(device, c.Chart.ChartBounds());
        return recorder->OfKind("Rectangle").size();
    };
    const std::size_t plain = framesOf();
    TChartAxis& left = c.Chart.LeftAxis();
    left.Items().Format().SetTransparent(false);
    left.Items().Format().Brush().SetColor(clYellow);
    const std::size_t framed = framesOf();
    EXPECT_GE(framed, plain + left.TickPositions.size()) << "one frame per left label";
    for (const auto* r : recorder->OfKind("TextOut")) EXPECT_FALSE(r->TextCmd.Opaque) << '"' << r->Text << '"';
}
