// The "Picture settings" dialog and the scaled picture: "Ok" refuses what is no scale or resolution,
// Escape and the close box give the fields back, the resolution written into the bitmap header, the
// screen-size picture of "Automatic", the true scale of the plot measured in the file read back, fonts
// enlarged for the picture only (also when the save fails or is refused), and pictures too large.
#include "MainWindowFixture.h"
#include "tests/views/DialogTestSupport.h"

#include "chart/control/ChartControl.h"
#include "chart/control/ChartLegend.h"
#include "chart/engine/LumEngineAxis.h"
#include "chart/engine/LumEngineMarks.h"
#include "chart/series/SeriesLine.h"
#include "platform/graphics/Bitmap.h"
#include "platform/graphics/Canvas.h"
#include "views/AppDialogParts.h"
#include "views/printsettings.h"

#include <QCheckBox>
#include <QPushButton>

#include <cstdint>
#include <filesystem>

namespace {

std::int32_t HeaderInt(const std::string& bytes, std::size_t at)
{
    std::uint32_t v = 0;
    for (int i = 0; i < 4; ++i) v |= std::uint32_t(static_cast<unsigned char>(bytes.at(at + i))) << (8 * i);
    return static_cast<std::int32_t>(v);
}

// A 2-D chart of 400 x 300 pixels on screen with margins in pixels, a line series, bottom axis 0..1000
// drawn red and left axis 0..100, and the dialog with its settings as the test sets them.
struct TPictureChart {
    std::unique_ptr<QWidget> Window = std::make_unique<QWidget>();
    TChart Chart{nullptr};
    Tprntset Dialog{nullptr};
    TTempFolder Temp;

    TPictureChart()
    {
        Window->setGeometry(40, 40, 420, 320);
        Chart.SetParentWidget(Window.get());
        Chart.SetBounds(0, 0, 400, 300);
        Chart.SetView3D(false);
        Chart.Legend().SetVisible(false);
        // Margins in pixels, as the model view has them: only the plot grows with the scale.
        Chart.SetMarginUnits(muPixels);
        auto* line = new TLineSeries(&Chart);
        for (int i = 0; i <= 10; ++i) line->InsertPoint(100.0 * i, 10.0 * i);
        line->SetSeriesColor(clBlue);
        line->SetParentChart(&Chart);
        Chart.BottomAxis().SetFixedRange(0, 1000);
        Chart.LeftAxis().SetFixedRange(0, 100);
        Chart.BottomAxis().Axis().SetColor(clRed);
        Chart.BottomAxis().Axis().SetWidth(1);
        Window->show();
        Chart.Repaint();
        PumpEvents();
    }
    void Set(const char* vertical, const char* horizontal, const char* dpi, int fonts, bool automatic)
    {
        SetEditText(*Dialog.Edit1, vertical);
        SetEditText(*Dialog.Edit2, horizontal);
        SetEditText(*Dialog.Edit3, dpi);
        Dialog.SpinEdit1.SetValue(fonts);
        Dialog.CheckBox1->setChecked(automatic);
    }
    std::string Save(const std::string& name)
    {
        EXPECT_TRUE(Dialog.SaveModelPicture(Temp.File(name), Chart));
        return FileText(Temp.File(std::filesystem::path(name).replace_extension(".bmp").string()));
    }
};

// The prompter script of the main window's tests answers the dialog's messages.
class PictureDialog : public MainWindow {};

} // namespace

TEST_F(PictureDialog, OkTakesOnlyScalesAndResolutionsAboveZero)
{
    Tprntset d(nullptr);
    EXPECT_EQ(d.Caption(), "Picture settings");
    EXPECT_EQ(EditText(*d.Edit1), "20");
    EXPECT_EQ(EditText(*d.Edit2), "50");
    EXPECT_EQ(EditText(*d.Edit3), "100");
    EXPECT_EQ(d.SpinEdit1.Value(), 0);
    EXPECT_TRUE(d.CheckBox1->isChecked());
    struct Case {
        int Field; // 1, 2: the scales; 3: the resolution
        const char* Typed;
        const char* Message;
    };
    const char* scale = "The scale must be a number greater than 0.";
    const char* resolution = "The print resolution must be a number greater than 0.";
    const Case cases[] = {{1, "0", scale}, {1, "", scale}, {1, "abc", scale}, {2, "-5", scale},
                          {3, "0", resolution}, {3, "", resolution}, {3, "abc", resolution}};
    for (const Case& c : cases) {
        QLineEdit* field = c.Field == 1 ? d.Edit1 : c.Field == 2 ? d.Edit2 : d.Edit3;
        std::vector<std::string> messages;
        Script->DriveForm([&](TForm& form) {
            TypeInto(*field, c.Typed);
            Script->Expect(TPromptKind::MessageBox, [&](TPrompt& p) {
                messages.push_back(p.Text);
                p.Result = mrOk;
            });
            d.BitBtn1->click();
            EXPECT_TRUE(form.isVisible()) << c.Typed << ": the dialog stays open";
            TypeInto(*field, "7,5");
            d.BitBtn1->click();
        });
        EXPECT_EQ(d.ShowModal(), mrOk) << c.Typed;
        EXPECT_EQ(messages, std::vector<std::string>{c.Message}) << c.Typed;
    }
    // Escape and the close box give back what the fields held when the dialog opened.
    for (const TDialogExit& exit : DialogExits) {
        Script->DriveForm([&](TForm& form) {
            TypeInto(*d.Edit1, "3");
            TypeInto(*d.Edit3, "600");
            d.SpinEdit1.SetValue(-4);
            d.CheckBox1->click();
            exit.Leave(form);
        });
        EXPECT_EQ(d.ShowModal(), mrCancel);
        EXPECT_EQ(EditText(*d.Edit1), "7,5") << exit.Name;
        EXPECT_EQ(EditText(*d.Edit3), "7,5") << exit.Name;
        EXPECT_EQ(d.SpinEdit1.Value(), 0) << exit.Name;
        EXPECT_TRUE(d.CheckBox1->isChecked()) << exit.Name;
    }
}

TEST_F(PictureDialog, OpensWithTheFocusInItsFirstFieldAndTabsDownTheFields)
{
    Tprntset d(nullptr);
    for (int opening = 0; opening < 2; ++opening) {
        SCOPED_TRACE(opening);
        Script->DriveForm([&](TForm& form) {
            EXPECT_EQ(form.focusWidget(), d.Edit1);
            EXPECT_EQ(d.Edit1->selectedText(), d.Edit1->text()) << "ready to be typed over";
            const QWidget* order[] = {d.Edit2, d.Edit3, d.SpinEdit1.Widget(), d.CheckBox1};
            const QWidget* w = d.Edit1;
            for (const QWidget* next : order) {
                w = w->nextInFocusChain();
                while (w->focusPolicy() == Qt::NoFocus) w = w->nextInFocusChain();
                EXPECT_EQ(w, next);
            }
            // Left in another field, the next opening still starts in the first one.
            d.SpinEdit1.Widget()->setFocus();
            form.done(mrCancel);
        });
        EXPECT_EQ(d.ShowModal(), mrCancel);
    }
}

TEST(PictureSettings, ResolutionInTheHeaderAndTheAutomaticScreenPicture)
{
    TPictureChart p;
    for (const auto& [dpi, ppm] : {std::pair{"100", 3937}, std::pair{"300", 11811}}) {
        p.Set("20", "50", dpi, 0, false);
        const std::string bytes = p.Save(std::string("scaled") + dpi + ".sp2");
        ASSERT_GT(bytes.size(), 54u);
        EXPECT_EQ(HeaderInt(bytes, 14), 40);
        EXPECT_EQ(HeaderInt(bytes, 38), ppm) << dpi;
        EXPECT_EQ(HeaderInt(bytes, 42), ppm) << dpi;
    }
    p.Set("20", "50", "300", 3, true);
    const std::string bytes = p.Save("screen.bmp");
    EXPECT_EQ(HeaderInt(bytes, 18), 400) << "the chart's screen size";
    EXPECT_EQ(std::abs(HeaderInt(bytes, 22)), 300);
    EXPECT_EQ(HeaderInt(bytes, 38), 3780) << "the writer's own resolution stays";
    EXPECT_EQ(HeaderInt(bytes, 42), 3780);
}

TEST(PictureSettings, ThePlotHasItsTrueScaleAndTheRestItsScreenSize)
{
    TPictureChart p;
    const TChartAxis& bottom = p.Chart.BottomAxis();
    const int screenPlot = std::abs(bottom.CalcPosValue(1000) - bottom.CalcPosValue(0));
    const int screenRest = p.Chart.Width() - screenPlot;
    const TChartAxis& left = p.Chart.LeftAxis();
    const int leftPlot = std::abs(left.CalcPosValue(100) - left.CalcPosValue(0));
    p.Set("20", "50", "100", 0, false);
    p.Save("true-scale.bmp");
    TBitmap picture;
    picture.LoadFromFile(p.Temp.File("true-scale.bmp"));
    // 1000 / 50 cm at 100 dots per inch: 787.4 pixels of plot, the rest as on screen.
    EXPECT_EQ(picture.Width(), static_cast<int>(std::nearbyint(1000.0 / 50 * 100 / 2.54 + screenRest)));
    // The red bottom axis line runs along the plot: its length measured in the picture, on the row that
    // holds the most red.
    int first = -1, last = -1, most = 0;
    for (int y = 0; y < picture.Height(); ++y) {
        int count = 0, rowFirst = -1, rowLast = -1;
        for (int x = 0; x < picture.Width(); ++x)
            if (picture.Canvas().Pixels(x, y) == clRed) {
                if (rowFirst < 0) rowFirst = x;
                rowLast = x;
                ++count;
            }
        if (count > most) {
            most = count;
            first = rowFirst;
            last = rowLast;
        }
    }
    ASSERT_GE(first, 0) << "the axis line is in the picture";
    EXPECT_EQ(most, last - first + 1) << "one unbroken line";
    EXPECT_NEAR(last - first + 1, 787, 1);
    // The vertical scale: 100 / 20 cm.
    EXPECT_EQ(picture.Height(), static_cast<int>(std::nearbyint(100.0 / 20 * 100 / 2.54 + p.Chart.Height() - leftPlot)));
}

TEST_F(PictureDialog, FontsAreEnlargedForThePictureOnlyWhateverTheOutcome)
{
    TPictureChart p;
    TChart& c = p.Chart;
    c.Legend().SetVisible(true);
    const std::vector<TLumFont*> listed = {&c.LeftAxis().LabelsFont(),  &c.TopAxis().LabelsFont(),
                                           &c.BottomAxis().LabelsFont(), &c.RightAxis().LabelsFont(),
                                           &c.LeftAxis().Title().Font(), &c.TopAxis().Title().Font(),
                                           &c.BottomAxis().Title().Font(), &c.RightAxis().Title().Font(),
                                           &c.Title().Font(),           &c.Legend().Font(),
                                           &c.SeriesAt(0)->Marks().Font()};
    std::vector<int> before;
    for (const TLumFont* f : listed) before.push_back(f->Size());
    std::vector<int> drawn;
    c.OnAfterDraw = [&](TPersistent*) {
        drawn.clear();
        for (const TLumFont* f : listed) drawn.push_back(f->Size());
    };
    p.Set("20", "50", "100", 2, false);
    EXPECT_TRUE(c.OnAfterDraw != nullptr);
    p.Save("fonts.bmp");
    std::vector<int> enlarged;
    for (int size : before) enlarged.push_back(size + 2);
    EXPECT_EQ(drawn, enlarged) << "every listed font 2 points larger in the picture";
    std::vector<int> after;
    for (const TLumFont* f : listed) after.push_back(f->Size());
    EXPECT_EQ(after, before);

    // A save that fails, and one refused as too large: the fonts as they were, no file.
    EXPECT_FALSE(p.Dialog.SaveModelPicture(p.Temp.File("no/such/folder/fonts.bmp"), c));
    Script->AnswerMessage(mrOk);
    p.Set("20", "0,0001", "300", -20, false);
    EXPECT_TRUE(p.Dialog.SaveModelPicture(p.Temp.File("huge.bmp"), c));
    EXPECT_FALSE(std::filesystem::exists(p.Temp.File("huge.bmp")));
    ASSERT_EQ(Script->Log().size(), 1u);
    EXPECT_EQ(Script->Log()[0].Text.rfind("The picture would be too large (", 0), 0u) << Script->Log()[0].Text;
    after.clear();
    for (const TLumFont* f : listed) after.push_back(f->Size());
    EXPECT_EQ(after, before);
}
