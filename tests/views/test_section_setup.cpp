// The model view's own settings text (its defaults, the round trip also through the settings file, damaged
// texts that change nothing) and the "Section setup" dialog: Apply, Close, Default and the close box, and
// the work series' and the label font's editors it opens.
#include "MainWindowFixture.h"
#include "tests/views/DialogTestSupport.h"

#include "chart/control/LumEngineStyleStrings.h"
#include "chart/editors/LumEdiFont.h"
#include "chart/editors/LumEdiSeri.h"
#include "chart/editors/LumEditCha.h"
#include "chart/series/LumMapSeries.h"
#include "chart/series/SeriesLine.h"
#include "platform/rtl/IniFiles.h"
#include "ui/KITClrBn.h"
#include "ui/uibtn.h"
#include "core/SurveyData.h"
#include "views/Dearsetup.h"
#include "views/PolygonChart.h"
#include "views/polysetup.h"
#include "views/printsettings.h"

#include <QPushButton>
#include <QSpinBox>

namespace {

std::string TextOf(const TPolygonChart& c)
{
    std::string text;
    c.SettingsToText(text);
    return text;
}

// Every setting off its default: colours, margins, and a label font named with blanks, bold italic.
void ChangeAll(TPolygonChart& c)
{
    c.ExternalNodeColor = clRed;
    c.FixedNodeColor = clNavy;
    c.InternalNodeColor = clYellow;
    c.BorderNodeColor = clBtnFace;
    c.SetMarginLeft(3);
    c.SetMarginRight(44);
    c.SetMarginTop(9);
    c.SetMarginBottom(100);
    TLumFont& f = c.ShapeSeries().Marks().Font();
    f.SetName("Times New Roman");
    f.SetStyle(TFontStyles{fsBold, fsItalic});
    f.SetSize(11);
    f.SetColor(clMaroon);
}

} // namespace

TEST(PolygonChartSettings, DefaultsAndTheRoundTrip)
{
    TPolygonChart a(nullptr);
    const std::string defaults = TextOf(a);
    EXPECT_EQ(a.DefaultSettingsText, defaults);
    EXPECT_EQ(defaults.rfind(" 16711680 0 32768 8421504 25 70 1 10 ", 0), 0u) << defaults;
    EXPECT_EQ(SplitToStrings(defaults).Length(), 9) << "the font's style text holds no blank";

    ChangeAll(a);
    const std::string changed = TextOf(a);
    TPolygonChart b(nullptr);
    EXPECT_TRUE(b.TextToSettings(changed));
    EXPECT_EQ(TextOf(b), changed);
    EXPECT_EQ(b.ExternalNodeColor, clRed);
    EXPECT_EQ(b.BorderNodeColor, clBtnFace) << "a system colour travels as its negative number";
    EXPECT_EQ(b.MarginRight(), 44);
    const TLumFont& f = b.ShapeSeries().Marks().Font();
    EXPECT_EQ(f.Name(), "Times New Roman");
    EXPECT_EQ(f.Style(), (TFontStyles{fsBold, fsItalic}));
    EXPECT_EQ(f.Size(), 11);

    b.RestoreDefaultSettings();
    EXPECT_EQ(TextOf(b), defaults);
    EXPECT_EQ(b.ExternalNodeColor, clBlue);
    EXPECT_EQ(b.FixedNodeColor, clBlack);
    EXPECT_EQ(b.InternalNodeColor, clGreen);
    EXPECT_EQ(b.BorderNodeColor, clGray);
}

TEST(PolygonChartSettings, TheSettingsFileKeepsThemAndDamagedTextsChangeNothing)
{
    TTempFolder temp;
    const std::string path = temp.File("settings.in");
    TPolygonChart a(nullptr);
    ChangeAll(a);
    {
        TIniFile ini(path);
        a.SaveSettings(ini);
    }
    EXPECT_NE(FileText(path).find("[paramspolychart]"), std::string::npos);
    TPolygonChart b(nullptr);
    b.LoadSettings(TIniFile(path));
    EXPECT_EQ(TextOf(b), TextOf(a));

    // No section: nothing changes. A damaged text: nothing changes, not even its sound first fields.
    TPolygonChart c(nullptr);
    const std::string defaults = TextOf(c);
    c.LoadSettings(TIniFile(temp.File("empty.in")));
    EXPECT_EQ(TextOf(c), defaults);
    const std::string sound = TextOf(a);
    const arofstrM tokens = SplitToStrings(sound);
    std::string eight;
    for (int i = 0; i < 8; ++i) eight += " " + tokens[i];
    const std::string badColour = " abc" + sound.substr(sound.find(' ', 1));
    for (const std::string& damaged : {std::string(), eight, badColour, std::string(" 1 2 3 4 5 6 7 8.5 x")}) {
        EXPECT_FALSE(c.TextToSettings(damaged)) << damaged;
        EXPECT_EQ(TextOf(c), defaults) << damaged;
    }
    {
        TIniFile ini(path);
        ini.WriteString(PolygonChartSection, PolygonChartKey, eight);
    }
    c.LoadSettings(TIniFile(path));
    EXPECT_EQ(TextOf(c), defaults) << "a damaged line in the file changes nothing";
}

class SectionSetup : public MainWindow {
protected:
    TPolygonChart& Chart() { return *Form->PolygonChart1; }
    // The dialog made for the model view as the pop-up's "Setup" makes it, run with the script.
    TModalResult Run(const std::function<void(TPolysetupForm&)>& Step)
    {
        TPolysetupForm dialog(nullptr);
        dialog.LoadFromChart(Chart());
        Script->DriveForm([&](TForm& form) { Step(dynamic_cast<TPolysetupForm&>(form)); });
        return dialog.ShowModal();
    }
};

TEST_F(SectionSetup, ApplyCloseDefaultAndTheCloseBox)
{
    Start();
    TPolygonChart& c = Chart();
    const std::string defaults = c.DefaultSettingsText;
    // Escape and the close box apply nothing.
    for (const TDialogExit& exit : DialogExits) {
        Run([&](TPolysetupForm& d) {
            EXPECT_EQ(d.Caption(), "Section setup");
            EXPECT_EQ(d.PSLeftval.Value(), 25);
            EXPECT_EQ(d.PStopval.Value(), 1);
            EXPECT_EQ(d.PSRightval.Value(), 70);
            EXPECT_EQ(d.PSBottomval.Value(), 10);
            EXPECT_EQ(d.PSMinContour->Color(), clGreen);
            EXPECT_EQ(d.kitColorButton1->Color(), clBlue);
            d.PSLeftval.SetValue(40);
            d.kitColorButton3->SetColor(clRed);
            exit.Leave(d);
        });
        EXPECT_EQ(TextOf(c), defaults) << exit.Name;
    }

    // Apply writes and keeps the dialog open; Close writes too.
    EXPECT_EQ(Run([&](TPolysetupForm& d) {
                  d.PSLeftval.SetValue(40);
                  d.PSBottomval.SetValue(0);
                  d.kitColorButton3->SetColor(clRed);
                  d.uiPicBtn3->PerformClick();
                  EXPECT_EQ(c.MarginLeft(), 40);
                  EXPECT_EQ(c.MarginBottom(), 0);
                  EXPECT_EQ(c.BorderNodeColor, clRed);
                  EXPECT_TRUE(d.isVisible());
                  d.kitColorButton2->SetColor(clLime);
                  d.PSRightval.SetValue(100);
                  d.uiPicBtn4->PerformClick();
              }),
              mrOk);
    EXPECT_EQ(c.FixedNodeColor, clLime);
    EXPECT_EQ(c.MarginRight(), 100);

    // Default: the construction's settings and the work series' stored looks, shown in the dialog.
    c.WorkLine1().LinePen().SetColor(clFuchsia);
    c.NodeSeries().Pointer().SetHorizSize(9);
    c.ShapeSeries().Marks().Font().SetSize(20);
    Run([&](TPolysetupForm& d) {
        d.uiPicBtn1->PerformClick();
        EXPECT_EQ(TextOf(c), defaults);
        EXPECT_EQ(d.PSRightval.Value(), 70);
        EXPECT_EQ(d.kitColorButton2->Color(), clBlack);
        EXPECT_NE(c.WorkLine1().LinePen().Color(), clFuchsia);
        EXPECT_EQ(c.NodeSeries().Pointer().HorizSize(), 2);
        d.close();
    });
    EXPECT_EQ(TextOf(c), defaults) << "the close box after Default keeps what Default did";
}

TEST_F(SectionSetup, EveryDialogsSpinEditStepsByItsArrows)
{
    Start();
    TPolysetupForm section(nullptr);
    section.LoadFromChart(Chart());
    Tprntset picture(nullptr);
    TSurveyState survey;
    TDefarray create(nullptr, survey);
    // Shown as the user sees them, each edit laid out at its size.
    for (TForm* form : std::initializer_list<TForm*>{&section, &picture, &create}) form->show();
    PumpEvents();
    struct TSpinCase {
        const char* Name;
        TSpinEdit& Spin;
    };
    const TSpinCase cases[] = {{"Left margin", section.PSLeftval},     {"Top margin", section.PStopval},
                               {"Right margin", section.PSRightval},   {"Bottom margin", section.PSBottomval},
                               {"Font size", picture.SpinEdit1},      {"Point number", create.SpinEdit3}};
    for (const TSpinCase& c : cases) {
        SCOPED_TRACE(c.Name);
        c.Spin.SetValue(50);
        ClickSpinArrow(c.Spin, true);
        EXPECT_EQ(c.Spin.Value(), 51);
        ClickSpinArrow(c.Spin, false);
        ClickSpinArrow(c.Spin, false);
        EXPECT_EQ(c.Spin.Value(), 49);
    }
}

TEST_F(SectionSetup, SeriesButtonsOpenTheGraphicEditorAndTheFontEditorLive)
{
    Start();
    TPolygonChart& c = Chart();
    Run([&](TPolysetupForm& d) {
        const struct {
            QPushButton* Button;
            TChartSeries* Series;
        } cases[] = {{d.SpeedButton1, &c.WorkLine1()}, {d.SpeedButton2, &c.WorkLine2()}, {d.SpeedButton3, &c.NodeSeries()}};
        for (const auto& k : cases) {
            Script->DriveForm([&](TForm& form) {
                auto& editor = dynamic_cast<TChartEditForm&>(form);
                EXPECT_EQ(editor.Caption(), "Graphic editor");
                EXPECT_EQ(editor.SeriesHost()->EditedSeries, k.Series);
                form.done(mrCancel);
            });
            k.Button->click();
        }
        Script->DriveForm([&](TForm& form) {
            auto& font = dynamic_cast<TLumFontEditor&>(form);
            EXPECT_EQ(font.Font(), &c.ShapeSeries().Marks().Font());
            font.UDInter->setValue(4);
            form.done(mrCancel);
        });
        d.SpeedButton4->click();
        d.close();
    });
    EXPECT_EQ(c.ShapeSeries().Marks().Font().InterCharSize(), 4) << "the font editor edits in place";
}

TEST_F(SectionSetup, TheMainWindowKeepsTheSettingsAcrossARun)
{
    Start();
    ChangeAll(Chart());
    const std::string changed = TextOf(Chart());
    bool canClose = true;
    Form->FormCloseQuery(canClose);
    // The file keeps the value without the text's leading blank, as ini files do.
    EXPECT_NE(Settings().find("[paramspolychart]\ncommon=" + changed.substr(1) + "\n"), std::string::npos);
    Form.reset();
    Start();
    EXPECT_EQ(TextOf(Chart()), changed) << "read at start-up";
}
