// Series style strings: line and point series copied field by field, the lengths of each kind, the type
// check, repeated fields, damaged strings, the horizontal line's description, and the series and axes of
// a chart in the settings file.
#include "chart/series/SeriesStyle.h"

#include "chart/control/Chart.h"
#include "chart/control/LumEngineStyleStrings.h"
#include "chart/series/Series.h"
#include "platform/rtl/ConfigPaths.h"
#include "platform/rtl/IniFiles.h"
#include "platform/rtl/StringList.h"
#include "tests/platform/rtl/TempFolder.h"

#include "tests/chart/control/StyleTestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace {

// A series kind whose class name holds "error", unregistered, so that its description is that name.
class TErrorTestSeries : public TChartSeries {
public:
    static const TClassInfo& StaticClassInfo()
    {
        static const TClassInfo info({.Name = "TErrorTestSeries", .Parent = &TChartSeries::StaticClassInfo()});
        return info;
    }
    const TClassInfo& ClassInfo() const override { return StaticClassInfo(); }
    explicit TErrorTestSeries(TComponent* AOwner) : TChartSeries(AOwner) {}
};

// Settings of the general part that differ from a new series'.
void SetGeneralLook(TChartSeries& S)
{
    S.SetSeriesColor(clTeal);
    S.SetColorEachPoint(true);
    S.Brush().SetStyle(bsCross);
    S.Pen().SetWidth(3);
    S.Pen().SetStyle(psDot);
    S.SetCursor(-21);
    TSeriesMarks& m = S.Marks();
    m.SetAngle(30);
    m.Arrow().SetColor(clMaroon);
    m.SetArrowLength(12);
    TMarksCallout& c = m.Callout();
    c.SetVisible(true);
    c.SetArrowHead(ahSolid);
    c.SetArrowHeadSize(10);
    c.SetDistance(3);
    c.SetStyle(psDiamond);
    c.SetBrushColor(clRed);
    c.Brush().SetStyle(bsFDiagonal);
    c.SetHorizSize(6);
    c.Pen().SetColor(clOlive);
    c.SetVertSize(7);
    c.Gradient().SetVisible(true);
    m.SetBackColor(clCream);
    m.SetBevel(bvRaised);
    m.SetBevelWidth(3);
    m.Brush().SetStyle(bsVertical);
    m.SetClip(true);
    m.Font().SetSize(10);
    m.Font().SetStyle(TFontStyles{fsItalic});
    m.Pen().SetColor(clPurple);
    m.Gradient().SetDirection(gdRadial);
    m.SetMultiLine(true);
    m.SetShapeStyle(fosRoundRectangle);
    m.SetStyle(smsXY);
    m.SetVisible(true);
    m.SetTransparency(40);
    m.Shadow().SetHorizSize(2);
    m.Shadow().SetVertSize(5);
    S.SetSinglePointResults(false);
    m.SetTransparent(true);
    m.SetDrawEvery(3);
}

void SetPointerLook(TCustomSeries& S)
{
    TSeriesPointer& p = S.Pointer();
    p.SetBrushColor(clLime);
    p.Brush().SetStyle(bsHorizontal);
    p.SetDark3D(false);
    p.Gradient().SetVisible(true);
    p.SetHorizSize(5);
    p.Pen().SetColor(clNavy);
    p.SetStyle(psStar);
    p.SetVertSize(6);
    p.SetVisible(false);
}

struct TSeriesStyleFixture : ::testing::Test {
    TTempFolder Folder;
    std::string Path = Folder.File("vornsp2dp.in");
    TChart Chart{nullptr};
    std::vector<std::unique_ptr<TChartSeries>> Series;

    void SetUp() override { SetSettingsFilePath(Path); }
    void TearDown() override
    {
        SetSettingsFilePath("");
        Series.clear();
    }

    template <class T>
    T& Add()
    {
        Series.push_back(std::make_unique<T>(nullptr));
        Series.back()->SetParentChart(&Chart);
        return static_cast<T&>(*Series.back());
    }
};

} // namespace

TEST_F(TSeriesStyleFixture, LineAndPointSeriesCopyEveryCarriedField)
{
    TLineSeries& line = Add<TLineSeries>();
    TPointSeries& point = Add<TPointSeries>();
    for (TCustomSeries* source : {static_cast<TCustomSeries*>(&line), static_cast<TCustomSeries*>(&point)}) {
        SetGeneralLook(*source);
        SetPointerLook(*source);
        const std::string text = WriteSeriesStyle(source);
        const std::vector<std::string> fields = FieldsOf(text);
        ASSERT_EQ(fields.size(), 55u) << text;
        EXPECT_EQ(fields[41], source == &line ? "Line" : "Point");
        EXPECT_EQ(fields[43], "1") << "the pointer block's marker";
        EXPECT_EQ(fields[54], "3") << "DrawEvery";

        TCustomSeries& copy = source == &line ? static_cast<TCustomSeries&>(Add<TLineSeries>())
                                              : static_cast<TCustomSeries&>(Add<TPointSeries>());
        ASSERT_NE(WriteSeriesStyle(&copy), text);
        EXPECT_TRUE(ReadSeriesStyle(&copy, text));
        EXPECT_EQ(WriteSeriesStyle(&copy), text);
        EXPECT_EQ(copy.SeriesColor(), clTeal);
        EXPECT_EQ(copy.Cursor(), -21);
        EXPECT_EQ(copy.Pointer().Style(), psStar);
        EXPECT_EQ(copy.Marks().Callout().ArrowHead(), ahSolid);
        EXPECT_EQ(copy.Marks().DrawEvery(), 3);
        EXPECT_FALSE(copy.SinglePointResults());
    }
}

TEST_F(TSeriesStyleFixture, FontNamesWithTheSeparatorsStillApply)
{
    for (const std::string name : {std::string("Look~Alike ^2"), std::string("~"), std::string("^*%")}) {
        SCOPED_TRACE(name);
        TLineSeries& source = Add<TLineSeries>();
        source.SetSeriesColor(clTeal);
        source.Marks().Font().SetName(name);
        const std::string text = WriteSeriesStyle(&source);
        EXPECT_EQ(FieldsOf(text).size(), 55u) << text;
        TLineSeries& copy = Add<TLineSeries>();
        EXPECT_TRUE(ReadSeriesStyle(&copy, text));
        EXPECT_EQ(copy.SeriesColor(), clTeal);
        EXPECT_EQ(copy.Marks().Font().Name(), name);
    }
}

TEST_F(TSeriesStyleFixture, LengthsAndTypeChecks)
{
    TAreaSeries& area = Add<TAreaSeries>();
    SetGeneralLook(area);
    const std::vector<std::string> areaFields = FieldsOf(WriteSeriesStyle(&area));
    ASSERT_EQ(areaFields.size(), 44u);
    EXPECT_EQ(areaFields[41], "Area");
    EXPECT_EQ(areaFields[42], "0");
    EXPECT_EQ(areaFields[43], "3");
    EXPECT_EQ(WriteSeriesStyle(nullptr), "");

    // A line's string on a point series: neither its description nor part of its class name.
    TLineSeries& line = Add<TLineSeries>();
    SetGeneralLook(line);
    TPointSeries& point = Add<TPointSeries>();
    const std::string before = WriteSeriesStyle(&point);
    EXPECT_FALSE(ReadSeriesStyle(&point, WriteSeriesStyle(&line)));
    EXPECT_FALSE(ReadSeriesStyle(&point, WriteSeriesStyle(&area)));
    EXPECT_EQ(WriteSeriesStyle(&point), before);

    // "Fast Line" takes two fields; "Fast" is found in the class name, the general part applies, and
    // DrawEvery (behind a tail this kind has not) is not read.
    TFastLineSeries& fast = Add<TFastLineSeries>();
    SetGeneralLook(fast);
    const std::string fastText = WriteSeriesStyle(&fast);
    const std::vector<std::string> fastFields = FieldsOf(fastText);
    ASSERT_EQ(fastFields.size(), 44u);
    EXPECT_EQ(fastFields[41], "Fast Line");
    TFastLineSeries& fresh = Add<TFastLineSeries>();
    fresh.Marks().SetDrawEvery(7);
    EXPECT_TRUE(ReadSeriesStyle(&fresh, fastText));
    EXPECT_EQ(fresh.Marks().Style(), smsXY);
    EXPECT_EQ(fresh.Marks().Callout().Style(), psDiamond);
    EXPECT_EQ(fresh.Marks().DrawEvery(), 7);

    // A string of an error kind applies nothing, even to its own kind.
    TErrorTestSeries& error = Add<TErrorTestSeries>();
    std::vector<std::string> errorFields = FieldsOf(WriteSeriesStyle(&line));
    errorFields[41] = "TErrorTestSeries";
    const std::string errorBefore = WriteSeriesStyle(&error);
    EXPECT_FALSE(ReadSeriesStyle(&error, JoinFields(errorFields)));
    EXPECT_EQ(WriteSeriesStyle(&error), errorBefore);
}

TEST_F(TSeriesStyleFixture, RepeatedFieldsTheLaterWins)
{
    TLineSeries& line = Add<TLineSeries>();
    std::vector<std::string> fields = FieldsOf(WriteSeriesStyle(&line));
    fields[19] = "255&0&0&1&0&4&1";
    fields[21] = "65280&0&0&1&0&4&2";
    fields[30] = "255&0&0&1&0&4&1";
    fields[36] = "16711680&0&0&1&0&4&3";
    fields[43 + 6] = "255&0&0&1&0&4&1";
    fields[43 + 10] = "8421504&0&0&1&0&4&4";
    fields[0] = "255";
    fields[1] = "32768";
    TLineSeries& target = Add<TLineSeries>();
    ASSERT_TRUE(ReadSeriesStyle(&target, JoinFields(fields)));
    EXPECT_EQ(target.SeriesColor(), 32768);
    EXPECT_EQ(target.Marks().Callout().Pen().Color(), 65280);
    EXPECT_EQ(target.Marks().Callout().Pen().Width(), 2);
    EXPECT_EQ(target.Marks().Pen().Color(), 16711680);
    EXPECT_EQ(target.Pointer().Pen().Color(), 8421504);
    EXPECT_EQ(target.Pointer().Pen().Width(), 4);
}

TEST_F(TSeriesStyleFixture, DamagedStrings)
{
    TLineSeries& source = Add<TLineSeries>();
    SetGeneralLook(source);
    SetPointerLook(source);
    const std::vector<std::string> good = FieldsOf(WriteSeriesStyle(&source));

    // Fewer than 42 fields: nothing, and no error.
    TLineSeries& target = Add<TLineSeries>();
    const std::string fresh = WriteSeriesStyle(&target);
    EXPECT_FALSE(ReadSeriesStyle(&target, JoinFields({good.begin(), good.begin() + 41})));
    EXPECT_FALSE(ReadSeriesStyle(&target, ""));
    EXPECT_EQ(WriteSeriesStyle(&target), fresh);

    struct Case {
        const char* Name;
        std::vector<std::string> Fields;
        const char* Message;
        int Applied;     // a general field applied before the error
        int NotApplied;  // a general field behind it
    };
    auto with = [&](int index, const char* text) {
        std::vector<std::string> f = good;
        f[static_cast<std::size_t>(index)] = text;
        return f;
    };
    const Case cases[] = {
        {"no integer", with(5, "x"), "'x' is not a valid integer value", 4, 6},
        {"a cursor beyond 16 bits", with(5, "40000"), "Range check error", 4, 6},
        {"an arrow head beyond its styles", with(12, "3"), "Range check error", 11, 13},
        {"a marks style beyond its styles", with(34, "10"), "Range check error", 33, 35},
        {"a transparency beyond 100", with(37, "101"), "Range check error", 36, 38},
        {"the string ends before the line pen", {good.begin(), good.begin() + 42}, "Range check error", 40, -1},
        {"the pointer block breaks off", {good.begin(), good.begin() + 48}, "Range check error", 40, -1},
    };
    for (const Case& c : cases) {
        TLineSeries& s = Add<TLineSeries>();
        const std::vector<std::string> before = FieldsOf(WriteSeriesStyle(&s));
        try {
            ReadSeriesStyle(&s, JoinFields(c.Fields));
            ADD_FAILURE() << c.Name << ": no error";
        } catch (const Exception& e) {
            EXPECT_EQ(e.Message(), c.Message) << c.Name;
        }
        const std::vector<std::string> after = FieldsOf(WriteSeriesStyle(&s));
        EXPECT_EQ(after[0], good[0]) << c.Name;
        EXPECT_EQ(after[static_cast<std::size_t>(c.Applied)], good[static_cast<std::size_t>(c.Applied)]) << c.Name;
        if (c.NotApplied >= 0) {
            EXPECT_EQ(after[static_cast<std::size_t>(c.NotApplied)], before[static_cast<std::size_t>(c.NotApplied)])
                << c.Name;
        }
    }

    // The pointer block without its marker: DrawEvery follows the line pen's place.
    std::vector<std::string> noPointer(good.begin(), good.begin() + 43);
    noPointer.push_back("0");
    noPointer.push_back("9");
    TLineSeries& s = Add<TLineSeries>();
    EXPECT_TRUE(ReadSeriesStyle(&s, JoinFields(noPointer)));
    EXPECT_EQ(s.Marks().DrawEvery(), 9);
    EXPECT_EQ(s.Pointer().Style(), psRectangle);
}

TEST_F(TSeriesStyleFixture, HorizontalLineThroughItsDefaultStyleAndTheSettingsFile)
{
    THorizLineSeries& horizontal = Add<THorizLineSeries>();
    SetGeneralLook(horizontal);
    SetPointerLook(horizontal);
    const std::string look = WriteSeriesStyle(&horizontal);
    EXPECT_EQ(FieldsOf(look)[41], "Horizontal*Line");

    horizontal.StoreDefaultStyle();
    EXPECT_EQ(horizontal.DefaultStyle(), look);
    horizontal.Marks().SetStyle(smsValue);
    horizontal.Pointer().SetStyle(psCircle);
    horizontal.RestoreDefaultStyle();
    EXPECT_EQ(WriteSeriesStyle(&horizontal), look);

    Chart.SaveSeriesToIni("VornSP2dp_wl2", &horizontal);
    EXPECT_EQ(TIniFile(Path).ReadString("VornSP2dp_wl2_serie", "ser_Horizontal*Line", ""), look);
    THorizLineSeries& loaded = Add<THorizLineSeries>();
    Chart.LoadSeriesFromIni("VornSP2dp_wl2", &loaded);
    EXPECT_EQ(WriteSeriesStyle(&loaded), look);
}

TEST_F(TSeriesStyleFixture, TheSettingsFileOfAViewsAxesAndSeries)
{
    TLineSeries& first = Add<TLineSeries>();
    SetGeneralLook(first);
    TLineSeries& second = Add<TLineSeries>();
    second.SetSeriesColor(clFuchsia);
    Chart.LeftAxis().SetLabelsAngle(90);

    Chart.SaveAxesToIni("ps_axi");
    Chart.SaveSeriesToIni("VornSP2dp_wl1", &first);
    const std::string expected = "[ps_axi_axes]\nleft=" + WriteAxisStyle(Chart.LeftAxis())
        + "\nright=" + WriteAxisStyle(Chart.RightAxis()) + "\ntop=" + WriteAxisStyle(Chart.TopAxis())
        + "\nbottom=" + WriteAxisStyle(Chart.BottomAxis()) + "\n[VornSP2dp_wl1_serie]\nser_Line="
        + WriteSeriesStyle(&first) + "\n";
    EXPECT_EQ(FileText(Path), expected);

    // One key per type and name: the second line series replaces the first.
    Chart.SaveSeriesToIni("VornSP2dp_wl1", &second);
    TStringList keys;
    TIniFile(Path).ReadSection("VornSP2dp_wl1_serie", keys);
    EXPECT_EQ(keys.Count(), 1);
    TLineSeries& loaded = Add<TLineSeries>();
    Chart.LoadSeriesFromIni("VornSP2dp_wl1", &loaded);
    EXPECT_EQ(loaded.SeriesColor(), clFuchsia);

    // Nothing without a series; a missing key applies nothing.
    Chart.SaveSeriesToIni("VornSP2dp_wl1", nullptr);
    Chart.LoadSeriesFromIni("VornSP2dp_wl1", nullptr);
    TPointSeries& point = Add<TPointSeries>();
    const std::string pointBefore = WriteSeriesStyle(&point);
    Chart.LoadSeriesFromIni("VornSP2dp_wl1", &point);
    EXPECT_EQ(WriteSeriesStyle(&point), pointBefore);
}

TEST_F(TSeriesStyleFixture, DamagedValuesDoNotStopTheLoad)
{
    TChart saved(nullptr);
    saved.LeftAxis().SetLabelsAngle(45);
    saved.RightAxis().SetLabelsAngle(60);
    saved.SaveAxesToIni("ps_axi");
    TLineSeries& line = Add<TLineSeries>();
    SetGeneralLook(line);
    Chart.SaveSeriesToIni("VornSP2dp_wl1", &line);
    Chart.SaveSeriesToIni("VornSP2dp_wl3", &line);

    TIniFile ini(Path);
    std::vector<std::string> axis = FieldsOf(WriteAxisStyle(saved.LeftAxis()));
    axis[14] = "many";
    ini.WriteString("ps_axi_axes", "left", JoinFields(axis));
    std::vector<std::string> series = FieldsOf(WriteSeriesStyle(&line));
    series[6] = "steep";
    ini.WriteString("VornSP2dp_wl1_serie", "ser_Line", JoinFields(series));

    EXPECT_NO_THROW(Chart.LoadAxesFromIni("ps_axi"));
    EXPECT_EQ(Chart.LeftAxis().LabelsAngle(), 45) << "applied before the damage";
    EXPECT_EQ(Chart.RightAxis().LabelsAngle(), 60);
    EXPECT_TRUE(Chart.LeftAxis().Automatic());

    TLineSeries& damaged = Add<TLineSeries>();
    EXPECT_NO_THROW(Chart.LoadSeriesFromIni("VornSP2dp_wl1", &damaged));
    EXPECT_EQ(damaged.Cursor(), -21) << "applied before the damage";
    EXPECT_NE(damaged.Marks().Style(), smsXY);
    TLineSeries& whole = Add<TLineSeries>();
    Chart.LoadSeriesFromIni("VornSP2dp_wl3", &whole);
    EXPECT_EQ(WriteSeriesStyle(&whole), WriteSeriesStyle(&line));
}
