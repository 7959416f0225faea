// Titles on the recording backend's fixed metrics: the bands the four titles take in their order, the
// foot title's lines counted from the bottom, custom positions, and the frame widths and text places of
// the three alignments.
#include "ChartTestSupport.h"

#include <gtest/gtest.h>

namespace {

// A title with one line and a visible frame of width F.
void SetUpTitle(TChartTitle& Title, const std::string& Line, int F)
{
    Title.SetTextLine(&Line);
    Title.Pen().SetVisible(true);
    Title.Pen().SetColor(clBlack);
    Title.Pen().SetWidth(F);
}

} // namespace

TEST(ChartTitles, EachTitleTakesItsBandInOrder)
{
    TRecordedChart rc;
    TProbeChart& chart = rc.Chart;
    chart.Legend().SetVisible(false);
    SetUpTitle(chart.Title(), "Top", 3);
    SetUpTitle(chart.SubTitle(), "Sub", 1);
    chart.SubTitle().SetTransparent(false);
    chart.SubTitle().Shadow().SetVertSize(4);
    SetUpTitle(chart.Foot(), "Foot", 2);
    chart.Foot().Text().Add("Foot2");
    SetUpTitle(chart.SubFoot(), "SubFoot", 1);
    rc.Draw();

    const int h = rc.CharHeight(chart.Title().Font());
    ASSERT_EQ(h, rc.CharHeight(chart.Foot().Font())) << "same size, so one line height serves";
    const TRect before = chart.Before;
    // A top title with frame width f cuts lines x h + 3f + 5 (plus the shadow of an opaque one); a foot
    // title lines x h + 5 whatever its frame.
    const int titleCut = h + 3 * 3 + 5;
    const int subCut = h + 3 * 1 + 5 + 4;
    const int footCut = 2 * h + 5;
    const int subFootCut = h + 5;
    EXPECT_EQ(chart.After.Top, before.Top + titleCut + subCut);
    EXPECT_EQ(chart.After.Bottom, before.Bottom - footCut - subFootCut);
    EXPECT_EQ(chart.After.Left, before.Left);
    EXPECT_EQ(chart.After.Right, before.Right);

    // The first title lies outermost; each line is written below its frame.
    EXPECT_EQ(rc.Find("Top").Y, before.Top + 3);
    EXPECT_EQ(rc.Find("Sub").Y, before.Top + titleCut + 1);
    // A foot title's first line is its lowest one.
    EXPECT_EQ(rc.Find("Foot").Y, before.Bottom - h);
    EXPECT_EQ(rc.Find("Foot2").Y, before.Bottom - 2 * h);
    EXPECT_EQ(rc.Find("SubFoot").Y, before.Bottom - footCut - h);
    EXPECT_EQ(chart.SubFoot().GetTitleRect().Bottom, before.Bottom - footCut + 1);
}

TEST(ChartTitles, HiddenOrEmptyTitlesTakeNothing)
{
    TRecordedChart rc;
    TProbeChart& chart = rc.Chart;
    chart.Legend().SetVisible(false);
    SetUpTitle(chart.Title(), "Hidden", 1);
    chart.Title().SetVisible(false);
    chart.Foot().ClearText();
    rc.Draw();
    EXPECT_EQ(chart.After, chart.Before);
    EXPECT_FALSE(rc.Has("Hidden"));
}

TEST(ChartTitles, CustomPositionKeepsLeftAndTopAndTakesNoSpace)
{
    TRecordedChart rc;
    TProbeChart& chart = rc.Chart;
    chart.Legend().SetVisible(false);
    TChartTitle& title = chart.Title();
    SetUpTitle(title, "Here", 2);
    title.Text().Add("and here");
    EXPECT_FALSE(title.CustomPosition());
    title.SetLeft(40);
    EXPECT_TRUE(title.CustomPosition()) << "setting Left switches the custom position on";
    title.SetTop(30);
    rc.Draw();

    const int h = rc.CharHeight(title.Font());
    EXPECT_EQ(chart.After, chart.Before) << "no band is taken";
    EXPECT_EQ(title.Left(), 40);
    EXPECT_EQ(title.Top(), 30);
    EXPECT_EQ(title.GetTitleRect().Bottom, 30 + 2 * h) << "the bottom follows from the line count";
    EXPECT_EQ(rc.Find("Here").Y, 30 + 2);
    EXPECT_EQ(rc.Find("and here").Y, 30 + h + 2);

    // Top alone switches it on too, and the title drawn in the second pass still takes nothing.
    TRecordedChart other;
    other.Chart.Legend().SetVisible(false);
    SetUpTitle(other.Chart.Foot(), "Low", 1);
    other.Chart.Foot().SetTop(300);
    EXPECT_TRUE(other.Chart.Foot().CustomPosition());
    other.Draw();
    EXPECT_EQ(other.Chart.After, other.Chart.Before);
    const int footH = other.CharHeight(other.Chart.Foot().Font());
    EXPECT_EQ(other.Find("Low").Y, 300 + footH - footH - 1) << "a foot title counts its lines up from its bottom";
}

TEST(ChartTitles, AdjustFrameAndAlignmentsGiveWidthsAndTextPlaces)
{
    struct Case {
        TAlignment Alignment;
        bool AdjustFrame;
    };
    const Case cases[] = {{taLeftJustify, true}, {taRightJustify, true}, {taCenter, true},
                          {taLeftJustify, false}, {taRightJustify, false}, {taCenter, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(AlignmentNames.NameOf(c.Alignment)) + (c.AdjustFrame ? " adjusted" : " full"));
        TRecordedChart rc;
        TProbeChart& chart = rc.Chart;
        chart.Legend().SetVisible(false);
        TChartTitle& title = chart.Title();
        const int f = 2;
        SetUpTitle(title, "A longer line", f);
        title.Text().Add("short");
        title.SetAlignment(c.Alignment);
        title.SetAdjustFrame(c.AdjustFrame);
        rc.Draw();

        const TRect b = chart.Before;
        const int w = rc.TextWidth(title.Font(), "W");
        const int longWidth = rc.TextWidth(title.Font(), "A longer line");
        const int shortWidth = rc.TextWidth(title.Font(), "short");
        const int width = w + f + longWidth;
        // Unadjusted, the frame spans the chart rectangle grown by the frame width.
        TRect expected{b.Left - f, 0, b.Right + f, 0};
        if (c.AdjustFrame) {
            if (c.Alignment == taLeftJustify) expected.Right = expected.Left + width;
            if (c.Alignment == taRightJustify) expected.Left = expected.Right - width;
            if (c.Alignment == taCenter) {
                const int centre = (b.Left + b.Right) / 2;
                expected = {centre - width / 2, 0, centre + width / 2, 0};
            }
        }
        const TRect r = title.GetTitleRect();
        EXPECT_EQ(r.Left, expected.Left);
        EXPECT_EQ(r.Right, expected.Right);
        auto textX = [&](int lineWidth) {
            switch (c.Alignment) {
            case taLeftJustify: return r.Left + w / 2;
            case taRightJustify: return r.Right - lineWidth - w / 2;
            default: return (r.Left + r.Right) / 2 - lineWidth / 2;
            }
        };
        EXPECT_EQ(rc.Find("A longer line").X, textX(longWidth));
        EXPECT_EQ(rc.Find("short").X, textX(shortWidth));
    }
}

TEST(ChartTitles, HtmlTitleIsWrittenOnceFromItsFirstLine)
{
    TRecordedChart rc;
    rc.Chart.Legend().SetVisible(false);
    TChartTitle& title = rc.Chart.Title();
    SetUpTitle(title, "<b>bold</b>", 1);
    title.SetTextFormat(ttfHtml);
    title.SetAlignment(taLeftJustify);
    rc.Draw();
    const auto texts = rc.Texts();
    EXPECT_FALSE(rc.Has("<b>bold</b>")) << "tags are not shown";
    EXPECT_EQ(rc.Find("bold").Y, rc.Chart.Before.Top + 1);
    EXPECT_EQ(rc.Find("bold").X, title.GetTitleRect().Left + rc.TextWidth(title.Font(), "W") / 2);
}

TEST(ChartTitles, TagsTakeNoRoomInTheFrameOrThePlaceOfALine)
{
    // Lines are written through the HTML tag writer, so a line with tags stands, and is framed, as the
    // same text without them would be.
    struct Case {
        TAlignment Alignment;
        TTextFormat Format;
        bool AdjustFrame;
    };
    const Case cases[] = {{taCenter, ttfNormal, true},       {taCenter, ttfNormal, false}, {taRightJustify, ttfNormal, true},
                          {taRightJustify, ttfNormal, false}, {taCenter, ttfHtml, true},    {taLeftJustify, ttfNormal, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(AlignmentNames.NameOf(c.Alignment)) + (c.Format == ttfHtml ? " html" : " normal") +
                     (c.AdjustFrame ? " adjusted" : " full"));
        auto draw = [&c](TRecordedChart& rc, const std::string& First, const std::string& Second) {
            rc.Chart.Legend().SetVisible(false);
            TChartTitle& title = rc.Chart.Title();
            SetUpTitle(title, First, 1);
            if (!Second.empty()) title.Text().Add(Second);
            title.SetAlignment(c.Alignment);
            title.SetAdjustFrame(c.AdjustFrame);
            title.SetTextFormat(c.Format);
            rc.Draw();
        };
        // An HTML title is one text for the tag writer: one line here.
        const bool twoLines = c.Format == ttfNormal;
        TRecordedChart tagged, plain;
        draw(tagged, "<u>Section</u>", twoLines ? "<i>Depth</i>, m" : "");
        draw(plain, "Section", twoLines ? "Depth, m" : "");
        EXPECT_EQ(tagged.Chart.Title().GetTitleRect(), plain.Chart.Title().GetTitleRect());
        ASSERT_TRUE(tagged.Has("Section"));
        EXPECT_EQ(tagged.Find("Section").X, plain.Find("Section").X);
        if (twoLines) {
            EXPECT_EQ(tagged.Find("Depth").X, plain.Find("Depth, m").X);
        }
    }
}

TEST(ChartTitles, HitTestAndCopying)
{
    TChart chart(nullptr);
    TChartTitle& title = chart.Title();
    title.SetLeft(10);
    title.SetTop(20);
    title.SetShapeRect({10, 20, 50, 40});
    EXPECT_TRUE(title.HitTest(10, 20)) << "edges included";
    EXPECT_TRUE(title.HitTest(50, 40));
    EXPECT_FALSE(title.HitTest(51, 30));
    title.SetVisible(false);
    EXPECT_FALSE(title.HitTest(30, 30));

    TChart other(nullptr);
    const std::string line = "copied";
    title.SetTextLine(&line);
    title.SetAlignment(taRightJustify);
    title.SetAdjustFrame(false);
    other.SetTitle(title);
    EXPECT_EQ(other.Title().Text().Text(), "copied\n");
    EXPECT_EQ(other.Title().Alignment(), taRightJustify);
    EXPECT_FALSE(other.Title().AdjustFrame());
    EXPECT_TRUE(other.Title().CustomPosition());
    EXPECT_EQ(other.Title().Left(), 10);
    EXPECT_EQ(other.Title().Top(), 20);
    EXPECT_TRUE(other.Title().OnTop()) << "the title's kind is its own";
    other.SetFoot(title);
    EXPECT_FALSE(other.Foot().OnTop());
}
