// Axis style strings: every field in its place, the read order (placement, logarithmic switch, fixed
// limits), what is never read, the errors with what they leave applied, and reals under both locales.
#include "chart/control/LumEngineStyleStrings.h"

#include "chart/control/ChartRegistry.h"

#include "chart/engine/LumEngine.h"
#include "platform/rtl/FormatSettings.h"

#include "tests/chart/control/StyleTestSupport.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

// The least axis panel that holds axes and series.
class TAxisTestPanel : public TCustomAxisPanel {
public:
    TAxisTestPanel() : TCustomAxisPanel(nullptr) {}
    void FitChartRectTo3D() override { ComputeDepthSizes(); }
    int WallSizeForAxis(const TChartAxis&) const override { return 0; }
    void PaintLegendAndTitles(bool) override {}
    void PaintWalls() override {}
    bool IsColorFree(TColor, bool, const TChartSeries*) const override { return true; }
};

// An axis whose fields all differ from a new axis' (where a field has two values, the other one), set
// so that reading its string back reproduces it: not automatic, a positive range, no label switching.
void SetDistinctLook(TChartAxis& A)
{
    A.SetAutomatic(false);
    A.Axis().SetColor(clRed);
    A.Axis().SetWidth(3);
    A.Grid().SetStyle(psDashDot);
    A.Grid().SetColor(clBtnFace);
    A.SetGridCentered(true);
    A.SetInverted(true);
    A.SetHorizontal(true);
    A.SetOtherSide(true);
    A.SetLabels(false);
    A.SetLabelsAlign(alOpposite);
    A.SetLabelsAngle(90);
    A.SetLabelsExponent(true);
    A.LabelsFont().SetSize(11);
    A.LabelsFont().SetName("Times New Roman");
    A.SetLabelsMultiLine(true);
    A.SetLabelsOnAxis(false);
    A.SetLabelsSeparation(23);
    A.SetLabelsSize(31);
    A.SetLabelStyle(talText);
    A.SetMaximumOffset(4);
    A.SetMinimumOffset(-6);
    A.MinorGrid().SetVisible(true);
    A.MinorGrid().SetColor(clNavy);
    A.SetMinorTickCount(5);
    A.SetMinorTickLength(7);
    A.MinorTicks().SetWidth(2);
    A.SetStartPosition(10.5);
    A.SetEndPosition(91.5);
    A.SetPositionPercent(12);
    A.SetPositionUnits(muPixels);
    A.SetRoundFirstLabel(false);
    A.SetTickInnerLength(3);
    A.SetTickLength(9);
    A.Ticks().SetMode(pmXor);
    A.TicksInner().SetEndStyle(esSquare);
    A.SetTickOnLabelsOnly(false);
    A.Title().SetAngle(270);
    A.Title().Font().SetStyle(TFontStyles{fsItalic});
    A.Title().SetVisible(false);
    A.SetTitleSize(17);
    A.SetVisible(false);
    A.DecShift = 5;
    A.RoundedLimits = false;
    A.MinDecOn = true;
    A.MinDec = 0.25;
    A.SetAutomaticMinimum(true);
    A.SetLogarithmicBase(2);
    A.SetIncrement(0.5);
    A.FixedAutoMinimum = -1.5;
    A.FixedAutoMaximum = 1e20;
    A.StoreMinimum(0.125);
    A.StoreMaximum(7.25);
    A.AutoLogFormat = false;
    A.FixedAutoLimits = true;
    A.Title().SetCaption("Depth in m");
}

struct TAxisFixture : ::testing::Test {
    TAxisTestPanel Panel;
    TChartAxis& A = Panel.LeftAxis();
    TChartAxis& B = Panel.RightAxis();
};

} // namespace

TEST_F(TAxisFixture, EveryFieldInItsPlace)
{
    SetDistinctLook(A);
    A.SetLogarithmic(true);
    A.StoreMinimum(0.125); // the switch computed the automatic minimum
    const std::vector<std::string> expected = {
        "0",
        "255&0&0&1&0&4&3",
        WritePenStyle(A.Grid()),
        "1", "1", "1", "1", "0", "1", "90", "1",
        WriteFontStyle(A.LabelsFont()),
        "1", "0", "23", "31", "4", "1", "4", "-6",
        WritePenStyle(A.MinorGrid()),
        "5", "7",
        WritePenStyle(A.MinorTicks()),
        "10", "92", "12", "1", "0", "3", "9",
        WritePenStyle(A.Ticks()),
        WritePenStyle(A.TicksInner()),
        "0", "270",
        WriteFontStyle(A.Title().Font()),
        "0", "17", "0", "5", "0", "1", "0.25", "1", "0", "2", "0.5", "-1.5", "1E20", "0.125", "7.25", "0", "1",
        "Depth*in*m",
    };
    // The nested strings above are the writers' own; their encodings are fixed by the object tests.
    EXPECT_EQ(FieldsOf(WriteAxisStyle(A)), expected);
    EXPECT_NE(expected[2].find("&3&"), std::string::npos) << "the grid's dash-dot style";
    EXPECT_EQ(ReadPenStyle(expected[20])->Color(), clNavy);

    // A caption of two lines keeps to one line of the settings file.
    A.Title().SetCaption("Depth\r\nin m");
    EXPECT_EQ(FieldsOf(WriteAxisStyle(A)).back(), "Depth**in*m");
}

TEST_F(TAxisFixture, ReadBackWithAndWithoutPlacement)
{
    SetDistinctLook(A);
    A.SetOtherSide(false); // B, the right axis, is on the other side
    const std::string text = WriteAxisStyle(A);
    B.Title().SetCaption("Kept");
    const std::string before = WriteAxisStyle(B);

    ReadAxisStyle(B, text, false);
    EXPECT_FALSE(B.Horizontal());
    EXPECT_TRUE(B.OtherSide());
    EXPECT_TRUE(B.Visible());
    EXPECT_EQ(B.Title().Caption(), "Kept");

    ReadAxisStyle(B, text, true);
    EXPECT_TRUE(B.Horizontal());
    EXPECT_FALSE(B.OtherSide());
    EXPECT_TRUE(B.Visible()) << "never read";
    EXPECT_EQ(B.Title().Caption(), "Kept") << "never read";

    // Everything else comes back; 47 and 48 (the fixed automatic ends) are not read.
    std::vector<std::string> want = FieldsOf(text);
    const std::vector<std::string> old = FieldsOf(before);
    for (int kept : {38, 47, 48, 53}) want[kept] = old[kept];
    EXPECT_EQ(FieldsOf(WriteAxisStyle(B)), want);
}

// Every printable character of the 8-bit code page, blank and the separators of every style string among
// them.
std::string EveryPrintableCharacter()
{
    std::string text;
    for (int c = 32; c < 256; ++c)
        if (c != 127 && c != 129 && c != 141 && c != 143 && c != 144 && c != 157) text += static_cast<char>(c);
    return text;
}

TEST_F(TAxisFixture, FontNamesAndTheCaptionKeepEveryPrintableCharacter)
{
    const std::string all = EveryPrintableCharacter();
    struct TNameCase {
        const char* Name;
        std::string Text;
    };
    const TNameCase cases[] = {{"every character", all},
                               {"separators", "~^$&#@*%"},
                               {"escapes written by hand", "%7E%5e%2A%25"},
                               {"a blank at each end", " Arial Narrow "},
                               {"a lone escape at the end", "Arial 100%"}};
    for (const TNameCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TLumFont font;
        font.SetName(c.Text);
        EXPECT_EQ(ReadFontStyle(WriteFontStyle(font))->Name(), c.Text);

        A.LabelsFont().SetName(c.Text);
        A.Title().Font().SetName(c.Text);
        A.Title().SetCaption(c.Text);
        const std::string text = WriteAxisStyle(A);
        const std::vector<std::string> fields = FieldsOf(text);
        ASSERT_EQ(fields.size(), 54u) << "one field each, whatever the names hold";
        EXPECT_EQ(NameFromStyleField(fields[53]), c.Text) << "the caption";
        ASSERT_NO_THROW(ReadAxisStyle(B, text, false));
        EXPECT_EQ(B.LabelsFont().Name(), c.Text);
        EXPECT_EQ(B.Title().Font().Name(), c.Text);
    }
    // Strings written before the escapes read as they did: "*" is a blank, a "%" without two digits
    // stays.
    EXPECT_EQ(NameFromStyleField("Courier*New"), "Courier New");
    EXPECT_EQ(NameFromStyleField("50%*off"), "50% off");
    EXPECT_EQ(NameFromStyleField("%4"), "%4");
}

TEST_F(TAxisFixture, EmptyTextLeavesTheAxisAlone)
{
    SetDistinctLook(A);
    const std::string before = WriteAxisStyle(A);
    ReadAxisStyle(A, "", true);
    ReadAxisStyle(A, " \t ", true);
    EXPECT_EQ(WriteAxisStyle(A), before);
}

TEST_F(TAxisFixture, AutomaticLogLabelsOverrideTheirFields)
{
    SetDistinctLook(A);
    A.AutoLogFormat = true;
    std::vector<std::string> fields = FieldsOf(WriteAxisStyle(A));
    ASSERT_EQ(fields[51], "1");
    ASSERT_EQ(fields[10], "1");

    // Logarithmic off: the switch turns exponents off and one minor tick on, the increment stays.
    fields[17] = "0";
    ReadAxisStyle(B, JoinFields(fields), true);
    EXPECT_FALSE(B.LabelsExponent());
    EXPECT_EQ(B.MinorTickCount(), 1);
    EXPECT_EQ(B.Increment(), 0.5);
    EXPECT_EQ(B.AxisValuesFormat(), "##0.###");

    // Logarithmic on: exponents, eight minor ticks, the increment back to 0.
    fields[10] = "0";
    fields[17] = "1";
    ReadAxisStyle(B, JoinFields(fields), true);
    EXPECT_TRUE(B.Logarithmic());
    EXPECT_TRUE(B.LabelsExponent());
    EXPECT_EQ(B.MinorTickCount(), 8);
    EXPECT_EQ(B.Increment(), 0);
}

TEST_F(TAxisFixture, FixedLimitsActOnlyAfterTheLogarithmicSwitch)
{
    TChartSeries series(nullptr);
    for (double y : {1.0, 40.0, 100.0}) series.InsertPoint(series.PointCount(), y);
    series.SetParentChart(&Panel);
    A.FixedAutoMinimum = 5;
    A.FixedAutoMaximum = 50;

    TChartAxis& source = Panel.TopAxis();
    source.FixedAutoLimits = true;
    source.SetAutomatic(true);
    std::vector<std::string> fields = FieldsOf(WriteAxisStyle(source));
    fields[17] = "1";
    ReadAxisStyle(A, JoinFields(fields), false);
    EXPECT_TRUE(A.FixedAutoLimits);
    EXPECT_EQ(A.Minimum(), 1) << "the switch computed the range from the series";
    EXPECT_EQ(A.Maximum(), 100);
    A.ComputeAutoRange();
    EXPECT_EQ(A.Minimum(), 5) << "the next computation takes the fixed ends";
    EXPECT_EQ(A.Maximum(), 50);
    series.SetParentChart(nullptr);
}

TEST_F(TAxisFixture, ErrorsEndTheReadingAndKeepWhatWasApplied)
{
    SetDistinctLook(A);
    const std::vector<std::string> good = FieldsOf(WriteAxisStyle(A));
    const std::vector<std::string> fresh = FieldsOf(WriteAxisStyle(TAxisTestPanel().LeftAxis()));
    // The fields read just before and just after the damaged one.
    struct Case {
        int Field;
        const char* Text;
        const char* Message;
        int Before;
        int After;
    };
    const Case cases[] = {
        {9, "x", "'x' is not a valid integer value", 8, 10},
        {9, "1.5", "'1.5' is not a valid integer value", 8, 10},
        {8, "2", "Range check error", 7, 9},
        {16, "-1", "Range check error", 15, 18},
        {27, "2", "Range check error", 26, 28},
        {46, "abc", "'abc' is not a valid floating point value", 45, 49},
    };
    for (const Case& c : cases) {
        TAxisTestPanel panel;
        TChartAxis& axis = panel.LeftAxis();
        std::vector<std::string> fields = good;
        fields[static_cast<std::size_t>(c.Field)] = c.Text;
        try {
            ReadAxisStyle(axis, JoinFields(fields), true);
            ADD_FAILURE() << "no error for " << c.Text;
        } catch (const Exception& e) {
            EXPECT_EQ(e.Message(), c.Message);
        }
        const std::vector<std::string> after = FieldsOf(WriteAxisStyle(axis));
        EXPECT_EQ(after[1], good[1]) << "the first pen was applied before field " << c.Field;
        EXPECT_EQ(after[static_cast<std::size_t>(c.Before)], good[static_cast<std::size_t>(c.Before)]) << c.Field;
        EXPECT_EQ(after[static_cast<std::size_t>(c.After)], fresh[static_cast<std::size_t>(c.After)]) << c.Field;
        ASSERT_NE(good[static_cast<std::size_t>(c.After)], fresh[static_cast<std::size_t>(c.After)]);
    }

    // A string that ends before a field the reading needs.
    std::vector<std::string> shortFields(good.begin(), good.begin() + 12);
    TAxisTestPanel panel;
    try {
        ReadAxisStyle(panel.LeftAxis(), JoinFields(shortFields), true);
        ADD_FAILURE() << "no error for a short string";
    } catch (const ERangeError& e) {
        EXPECT_EQ(e.Message(), "Range check error");
    }
    EXPECT_TRUE(panel.LeftAxis().LabelsExponent()) << "field 10 was applied";
    EXPECT_EQ(panel.LeftAxis().LabelsFont().Size(), 11) << "field 11 was applied";

    // Lenient reals: text that is no number gives the missing value.
    std::vector<std::string> lenient = good;
    lenient[49] = "zz";
    ReadAxisStyle(B, JoinFields(lenient), true);
    EXPECT_EQ(B.Minimum(), 123456789.0);
}

TEST_F(TAxisFixture, RealsTravelBetweenLocales)
{
    SetDistinctLook(A);
    A.SetIncrement(1.75);
    for (char point : {',', '.'}) {
        FormatSettings().DecimalSeparator = point;
        const std::vector<std::string> fields = FieldsOf(WriteAxisStyle(A));
        EXPECT_EQ(fields[42], "0.25");
        EXPECT_EQ(fields[46], "1.75");
        EXPECT_EQ(fields[50], "7.25");
    }
    ResetFormatSettings();

    // Strings written where "," was the point still read.
    std::vector<std::string> fields = FieldsOf(WriteAxisStyle(A));
    fields[42] = "0,5";
    fields[45] = "2,5";
    fields[46] = "0,25";
    fields[49] = "-1,5";
    fields[50] = "3,75";
    ReadAxisStyle(B, JoinFields(fields), true);
    EXPECT_EQ(B.MinDec, 0.5);
    EXPECT_EQ(B.LogarithmicBase(), 2.5);
    EXPECT_EQ(B.Increment(), 0.25);
    EXPECT_EQ(B.Minimum(), -1.5);
    EXPECT_EQ(B.Maximum(), 3.75);
}

TEST_F(TAxisFixture, TheControlsStartUpInstallsTheCodecIntoTheEngine)
{
    ChartInitialization();
    SetDistinctLook(A);
    A.StoreDefaultStyle();
    EXPECT_EQ(A.DefaultStyle, WriteAxisStyle(A));

    const std::string look = WriteAxisStyle(A);
    A.SetLabelsAngle(45);
    A.SetInverted(false);
    LumEngineModule().Style.ReadAxisStyle(A, A.DefaultStyle, true);
    EXPECT_EQ(WriteAxisStyle(A), look);
}
