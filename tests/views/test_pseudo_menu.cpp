// The data view's pop-up menu on a fed section: where a double-click opens it, its check marks, each of
// its eight commands followed by OnViewCommand, the picture and XYZ exports; and the "Contour-section
// setup" dialog driven through prompter scripts.
#include "tests/views/DialogTestSupport.h"

#include "chart/control/LumTools.h"
#include "chart/editors/LumEdiFont.h"
#include "chart/series/Series.h"
#include "core/SectionContour.h"
#include "platform/controls/Menus.h"
#include "platform/controls/Prompter.h"
#include "platform/graphics/RecordingBackend.h"
#include "platform/rtl/NumberText.h"
#include "platform/rtl/TextFile.h"
#include "tests/platform/graphics/EmfReader.h"
#include "tests/platform/rtl/TempFolder.h"
#include "ui/KITClrBn.h"
#include "views/PseudoSection2d.h"
#include "views/PseudoSetup.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

namespace {

arofdoubleM GridSteps(int n, double start, double step)
{
    arofdoubleM v(n);
    for (int i = 0; i < n; ++i) v[i] = start + i * step;
    return v;
}

// A view fed with a 5 x 4 grid of values from `low` up with x, the mouse last in the right margin.
struct TMenuView {
    explicit TMenuView(double low = 1)
    {
        View.SetBounds(0, 0, 790, 339);
        ararofdoubleM v(5);
        for (int j = 0; j < 5; ++j) {
            v[j].SetLength(4);
            for (int k = 0; k < 4; ++k) v[j][k] = low + 5.0 * j + k;
        }
        View.SetSectionGrid(GridSteps(5, 0, 25), GridSteps(4, 0, 10), v, arofdoubleM{}, 0);
        View.RenderToBitmap(clWhite, View.ChartBounds(), pf24bit);
        View.OnViewCommand = [this](TPersistent*) { ++Commands; };
        MoveTo(View.ChartRect().Right + 20, (View.ChartRect().Top + View.ChartRect().Bottom) / 2);
    }
    void MoveTo(int x, int y) { View.ShowCursorValues({}, x, y); }
    // Opens the menu by a double-click and picks item `index`; the captions with their check marks.
    // `then` adds the answers to the prompts the command itself raises.
    std::vector<std::string> Pick(TPromptScript& script, int index, const std::function<void()>& then = {})
    {
        std::vector<std::string> seen;
        script.Expect(TPromptKind::PopupMenu, [&seen, index](TPrompt& p) {
            for (int i = 0; i < p.Menu->Count(); ++i)
                seen.push_back(p.Menu->Items(i)->Caption() + (p.Menu->Items(i)->Checked() ? "*" : ""));
            p.MenuIndex = index;
            p.Result = mrOk;
        });
        if (then) then();
        View.OnDblClick(&View);
        return seen;
    }
    TPseudoSection2d View{nullptr};
    int Commands = 0;
};

std::string SavedBytes(const std::string& path)
{
    std::string bytes;
    LoadFileBytes(path, bytes);
    return bytes;
}

} // namespace

TEST(PseudoMenu, OpensOnlyOutsideThePictureWithItsCheckMarks)
{
    TMenuView m;
    {
        TPromptScript script;
        m.MoveTo((m.View.ImageTool->ImageRect.Left + m.View.ImageTool->ImageRect.Right) / 2,
                 (m.View.ChartRect().Top + m.View.ChartRect().Bottom) / 2);
        ASSERT_EQ(m.View.FMouseZone, 0);
        m.View.OnDblClick(&m.View);
        EXPECT_TRUE(script.Log().empty()) << "no menu over the picture";
    }
    TPromptScript script;
    m.MoveTo(m.View.ChartRect().Right + 20, m.View.ChartRect().Top + 10);
    m.View.FShowColorBar = false;
    const auto seen = m.Pick(script, -1);
    EXPECT_EQ(seen, (std::vector<std::string>{"Log data scale", "Display grid point*", "Display ColorBar", "Setup",
                                              "Print preview", "Save picture", "Save XYZ file", "Default"}));
    EXPECT_EQ(m.View.MenuChart, &m.View);
    EXPECT_TRUE(m.View.CancelMouse());
    EXPECT_TRUE(script.Failures().empty());
}

TEST(PseudoMenu, LogDataScale)
{
    // A range reaching below 0: the flag stays off and nothing is recomputed.
    TMenuView negative(-5);
    TPromptScript script;
    const arofdoubleM levels = negative.View.FLevels;
    negative.View.FLevels.SetLength(0); // a recomputation would fill it again
    negative.Pick(script, smLogScale);
    EXPECT_FALSE(negative.View.FLogScale);
    EXPECT_EQ(negative.View.FLevels.Length(), 0);
    EXPECT_EQ(negative.Commands, 1);
    // A positive range: on, with logarithmic levels, then off again.
    TMenuView positive(1);
    positive.Pick(script, smLogScale);
    EXPECT_TRUE(positive.View.FLogScale);
    const auto seen = positive.Pick(script, smLogScale);
    EXPECT_EQ(seen[0], "Log data scale*");
    EXPECT_FALSE(positive.View.FLogScale);
    EXPECT_EQ(positive.Commands, 2);
    EXPECT_TRUE(script.Failures().empty());
}

TEST(PseudoMenu, GridPointsColourBarAndDefault)
{
    TMenuView m;
    TPromptScript script;
    m.Pick(script, smGridPoints);
    EXPECT_FALSE(m.View.GridSeries->Active());
    m.Pick(script, smColorBar);
    EXPECT_FALSE(m.View.FShowColorBar);
    // "Default" without settings changes nothing; with them it applies them.
    m.View.FLevelCount = 7;
    m.Pick(script, smDefault);
    EXPECT_EQ(m.View.FLevelCount, 7);
    m.View.DefaultSettings = "255 16711680 16711680 255 65535 32768 9 25 70 1 20 0 1 0 1 1 123456789 123456789";
    m.Pick(script, smDefault);
    EXPECT_EQ(m.View.FLevelCount, 9);
    EXPECT_TRUE(m.View.FShowColorBar);
    EXPECT_EQ(m.View.FLevels.Length(), 9);
    EXPECT_EQ(m.Commands, 4);
    EXPECT_TRUE(script.Failures().empty());
}

TEST(PseudoMenu, SaveXYZFile)
{
    TTempFolder temp;
    TMenuView m;
    TPromptScript script;
    m.Pick(script, smSaveXYZ, [&] {
        script.Expect(TPromptKind::SaveDialog, [&](TPrompt& p) {
            EXPECT_EQ(p.File->Filter, "XYZ files [*.dat]|*.dat");
            p.File->FileName = temp.File("x.txt");
            p.Result = mrOk;
        });
    });
    EXPECT_FALSE(std::filesystem::exists(temp.File("x.txt")));
    const std::string text = SavedBytes(temp.File("x.dat"));
    std::vector<std::string> lines;
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t end = text.find('\n', at);
        ASSERT_NE(end, std::string::npos) << "every line ends in LF";
        lines.push_back(text.substr(at, end - at));
        at = end + 1;
    }
    ASSERT_EQ(lines.size(), 21u);
    EXPECT_EQ(lines[0], "X -Y  Z");
    for (int i = 1; i <= 20; ++i) {
        const dVertex3d& n = m.View.FNodes[i];
        EXPECT_EQ(lines[i], FormatReal23(n.X) + " " + FormatReal23(-n.Y) + " " + FormatReal23(n.Z)) << i;
        EXPECT_EQ(lines[i].size(), 3 * 23 + 2u);
    }
    EXPECT_EQ(lines[6].substr(0, 23), FormatReal23(25)); // node 6: column 1, level 1
    EXPECT_EQ(lines[6].substr(24, 23), FormatReal23(-10));
    EXPECT_EQ(m.Commands, 1);

    // A folder in the way: the message, nothing written, the folder left as it was.
    std::filesystem::create_directory(temp.File("busy.dat"));
    m.Pick(script, smSaveXYZ, [&] {
        script.Expect(TPromptKind::SaveDialog, [&](TPrompt& p) {
            p.File->FileName = temp.File("busy.dat");
            p.Result = mrOk;
        });
        script.AnswerMessage(mrOk);
    });
    EXPECT_EQ(script.Log().back().Text, "Cannot write file " + temp.File("busy.dat"));
    EXPECT_TRUE(std::filesystem::is_directory(temp.File("busy.dat")));
    // A cancelled dialog writes nothing.
    m.Pick(script, smSaveXYZ, [&] { script.Expect(TPromptKind::SaveDialog, [](TPrompt& p) { p.Result = mrCancel; }); });
    EXPECT_EQ(m.Commands, 3);
    EXPECT_TRUE(script.Failures().empty());
}

TEST(PseudoMenu, SavePicture)
{
    TTempFolder temp;
    TMenuView m;
    TPromptScript script;
    m.Pick(script, smSavePicture, [&] {
        script.Expect(TPromptKind::SaveDialog, [&](TPrompt& p) {
            EXPECT_EQ(p.File->Filter, "Meta files [*.emf]|*.emf");
            p.File->FileName = temp.File("section.png");
            p.Result = mrOk;
        });
    });
    const Emf emf = Emf::FromFile(temp.File("section.emf"));
    ASSERT_TRUE(emf.Faults.empty());
    ASSERT_GE(emf.Records.size(), 3u);
    EXPECT_EQ(emf.Records.front().Type, kHeader);
    EXPECT_EQ(U32(emf.Bytes, 40), EmfSignature);
    EXPECT_EQ(emf.Records.back().Type, kEof);
    // The section's picture, and the colour bar's top label among the texts.
    EXPECT_FALSE(emf.OfType(kStretchDib).empty());
    const int N = m.View.FLevels.Length();
    const std::string top = FormatFixed(m.View.FLevels[N - 1], LevelDecimals(m.View, N - 1));
    bool label = false;
    for (const EmfRecord& r : emf.OfType(kTextW)) label = label || emf.Text(r) == top;
    EXPECT_TRUE(label) << top;
    EXPECT_EQ(m.Commands, 1);
    EXPECT_TRUE(script.Failures().empty());
}

TEST(PseudoMenu, PrintPreviewOfTheView)
{
    TMenuView m;
    TPromptScript script;
    m.Pick(script, smPrintPreview, [&] { script.DriveForm([](TForm& form) { form.done(mrCancel); }); });
    EXPECT_EQ(m.Commands, 1);
    EXPECT_TRUE(script.Failures().empty());
}

// ---- The setup dialog ----

namespace {

// Opens "Setup" from the menu and runs the script on the live dialog.
void RunSetup(TMenuView& m, TPromptScript& script, const std::function<void(TPseudosetupForm&)>& body)
{
    m.Pick(script, smSetup, [&] {
        script.DriveForm([&](TForm& form) {
            auto& dialog = dynamic_cast<TPseudosetupForm&>(form);
            EXPECT_EQ(dialog.View(), &m.View);
            body(dialog);
            if (dialog.isVisible()) dialog.uiPicBtn4->PerformClick();
        });
    });
}

} // namespace

TEST(PseudoSetup, ShowsTheViewAndAppliesInto)
{
    TMenuView m; // values 1 ... 24
    TPromptScript script;
    RunSetup(m, script, [&](TPseudosetupForm& d) {
        EXPECT_EQ(d.Caption(), "Contour-section setup");
        EXPECT_EQ(d.PSLeftval.Value(), 25);
        EXPECT_EQ(d.PSRightval.Value(), 70);
        EXPECT_EQ(d.PSLevNum.Value(), 15);
        EXPECT_EQ(d.PSLevNum.MinValue(), 2);
        EXPECT_EQ(d.PSLevNum.MaxValue(), 100);
        EXPECT_TRUE(d.PSLinesVisible->isChecked());
        EXPECT_EQ(d.PSMinContour->Color(), clRed);
        EXPECT_EQ(d.PScontour1_3->Color(), clYellow);
        EXPECT_EQ(d.PScontour2_3->Color(), clGreen);
        EXPECT_EQ(d.PSMaxContour->Color(), clBlue);
        EXPECT_EQ(d.PSMinIsoline->Color(), clBlue);
        EXPECT_EQ(d.PSMaxIsoline->Color(), clRed);
        EXPECT_FALSE(d.PSuseExternal->isChecked());
        EXPECT_FALSE(d.PSExtMin->isEnabled());
        EXPECT_EQ(EditText(*d.PSExtMin), "1");
        EXPECT_EQ(EditText(*d.PSExtMax), "24");
        // The palette's 20 colours, column by column, and white custom colours.
        const TColor palette[20] = {0xFFFFFF, 0x0000FF, 0x00FF00, 0xFF0000, 0xBFD7BF, 0x000000, 0x00007F,
                                    0x007F00, 0x7F0000, 0xEFBF9F, 0xBFBFBF, 0x00FFFF, 0xFFFF00, 0xFF00FF,
                                    0xEFF7FF, 0x7F7F7F, 0x007F7F, 0x7F7F00, 0x7F007F, 0x9F9F9F};
        for (TkitColorButton* b : {d.PSMinContour.get(), d.PScontour1_3.get(), d.PScontour2_3.get(),
                                   d.PSMaxContour.get(), d.PSMinIsoline.get(), d.PSMaxIsoline.get()}) {
            for (int i = 0; i < 20; ++i) EXPECT_EQ(b->PaletteColors().Cell(i / 5 + 1, i % 5 + 1), palette[i]) << i;
            EXPECT_EQ(b->CustomColors().Cell(8, 2), 0xFFFFFF);
            EXPECT_EQ(b->OtherBtnCaption(), "&Other");
        }

        d.PSLevNum.SetValue(5);
        d.PSLinesVisible->setChecked(false);
        d.PSLeftval.SetValue(40);
        d.PSMaxContour->SetColor(clPurple);
        d.uiPicBtn3->PerformClick();
        EXPECT_TRUE(d.isVisible()) << "Apply keeps the dialog open";
    });
    EXPECT_EQ(m.View.FLevelCount, 5);
    EXPECT_EQ(m.View.FLevels.Length(), 5);
    EXPECT_FALSE(m.View.FShowIsolines);
    EXPECT_EQ(m.View.MarginLeft(), 40);
    EXPECT_EQ(m.View.FBandColors[5], clPurple);
    // The picture is drawn again on the mesh it had: the band under the plot's middle shows.
    m.View.GridSeries->SetActive(false);
    const auto picture = m.View.RenderToBitmap(clWhite, m.View.ChartBounds(), pf24bit);
    const TRect plot = m.View.ChartRect();
    const TColor middle = picture->Canvas().GetPixel((plot.Left + plot.Right) / 2, (plot.Top + plot.Bottom) / 2 + 3);
    bool band = false;
    for (TColor c : m.View.FBandColors) band = band || c == middle;
    EXPECT_TRUE(band) << std::hex << middle;
    EXPECT_TRUE(script.Failures().empty());
}

TEST(PseudoSetup, UserLimitsEdgeCases)
{
    TMenuView m; // data 1 ... 24
    TPromptScript script;
    RunSetup(m, script, [&](TPseudosetupForm& d) {
        // Limits in use.
        d.PSuseExternal->click();
        EXPECT_TRUE(d.PSExtMin->isEnabled());
        SetEditText(*d.PSExtMin, "2");
        SetEditText(*d.PSExtMax, "8");
        d.uiPicBtn3->PerformClick();
        EXPECT_EQ(m.View.FRangeMin, 2);
        EXPECT_EQ(m.View.FRangeMax, 8);
        // Minimum 10 over maximum 5: ignored, the data range shows afterwards.
        SetEditText(*d.PSExtMin, "10");
        SetEditText(*d.PSExtMax, "5");
        d.uiPicBtn3->PerformClick();
        EXPECT_EQ(m.View.FRangeMin, 1);
        EXPECT_EQ(EditText(*d.PSExtMin), "1");
        EXPECT_EQ(EditText(*d.PSExtMax), "24");
        // Text that is no number falls back to the data range too.
        SetEditText(*d.PSExtMin, "abc");
        d.uiPicBtn3->PerformClick();
        EXPECT_EQ(EditText(*d.PSExtMin), "1");
        // Unchecked: the data range in the two disabled edits.
        SetEditText(*d.PSExtMin, "3");
        d.PSuseExternal->click();
        EXPECT_FALSE(d.PSExtMin->isEnabled());
        d.uiPicBtn3->PerformClick();
        EXPECT_EQ(EditText(*d.PSExtMin), "1");
        EXPECT_EQ(EditText(*d.PSExtMax), "24");
        EXPECT_FALSE(d.PSExtMax->isEnabled());
        // Cancel after Apply keeps what was applied.
        d.PSLevNum.SetValue(4);
        d.uiPicBtn3->PerformClick();
        d.PSLevNum.SetValue(9);
        d.uiPicBtn4->PerformClick();
    });
    EXPECT_EQ(m.View.FLevelCount, 4);
    EXPECT_TRUE(script.Failures().empty());
}

TEST(PseudoSetup, ApplyOnAnEmptySectionStoresTheValues)
{
    TMenuView m;
    TPromptScript script;
    const double rangeMin = m.View.FRangeMin, userMax = m.View.FUserMax;
    m.Pick(script, smSetup, [&] {
        script.DriveForm([&](TForm& form) {
            auto& d = dynamic_cast<TPseudosetupForm&>(form);
            m.View.ClearSection();
            m.View.RebuildSection(true);
            d.PStopval.SetValue(12);
            d.PSLevNum.SetValue(6);
            d.uiPicBtn3->PerformClick();
            EXPECT_EQ(EditText(*d.PSExtMax), FormatValue(userMax)) << "the limits shown stay";
            d.uiPicBtn4->PerformClick();
        });
    });
    EXPECT_EQ(m.View.MarginTop(), 12);
    EXPECT_EQ(m.View.FLevelCount, 6);
    EXPECT_EQ(m.View.FRangeMin, rangeMin);
    EXPECT_TRUE(script.Failures().empty());
}

TEST(PseudoSetup, FontEditsTheBarFontThatTheNextRepaintUses)
{
    TMenuView m;
    TPromptScript script;
    RunSetup(m, script, [&](TPseudosetupForm& d) {
        script.DriveForm([&](TForm& form) {
            auto& font = dynamic_cast<TLumFontEditor&>(form);
            EXPECT_EQ(font.Font(), &m.View.BarFont());
            font.UDInter->setValue(3);
            form.done(mrCancel);
        });
        d.Button1->click();
    });
    EXPECT_EQ(m.View.BarFont().InterCharSize(), 3);
    m.View.BarFont().SetSize(11);
    // The labels of the next drawing are measured in the edited font: their rows spread further apart.
    auto recorder = std::make_shared<TRecordingBackend>(790, 339);
    TCanvas canvas(recorder);
    m.View.DrawUnbuffered(canvas, TRect{0, 0, 790, 339});
    bool large = false;
    for (const auto* r : recorder->OfKind("TextOut"))
        if (r->Args[0] == m.View.ChartRect().Right + 10 + 15 + 6) large = large || r->TextCmd.Font.PixelHeight >= 14;
    EXPECT_TRUE(large) << "a bar label in the 11-point font";
    EXPECT_TRUE(script.Failures().empty());
}
