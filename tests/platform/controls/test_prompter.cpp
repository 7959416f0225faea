// The prompter's scripted answers, its defaults when nobody answers, and the custom colours of the
// colour dialog.
#include "platform/controls/Application.h"
#include "platform/controls/Prompter.h"
#include "platform/controls/PrompterInternal.h"

#include <QApplication>
#include <QColorDialog>
#include <QComboBox>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include <filesystem>
#include <fstream>

#include <gtest/gtest.h>

namespace {

TEST(Prompter, MessageBoxesGetScriptedAnswersInOrder)
{
    Application->SetTitle("VornSP2Dp");
    TPromptScript script;
    script.AnswerMessage(mrYes).AnswerMessage(mrCancel).AnswerMessage(mrOk);
    EXPECT_EQ(MessageDlg("Correct polygon?", mtConfirmation, {mbYes, mbNo}), mrYes);
    EXPECT_EQ(MessageBox(nullptr, "Load project configuration", "VornSP2Dp", MB_OKCANCEL | MB_ICONQUESTION),
              IDCANCEL);
    ShowMessage("Error in data file!");
    ASSERT_EQ(script.Log().size(), 3u);
    EXPECT_EQ(script.Log()[0].Caption, "Confirm");
    EXPECT_EQ(script.Log()[1].Buttons, (TMsgDlgButtons{mbOK, mbCancel}));
    EXPECT_EQ(script.Log()[1].DlgType, mtConfirmation);
    EXPECT_EQ(script.Log()[2].Caption, "VornSP2Dp");
    EXPECT_EQ(script.Log()[2].Text, "Error in data file!");
    EXPECT_TRUE(script.Failures().empty());
    EXPECT_EQ(script.Pending(), 0u);
}

TEST(Prompter, PlacedMessageBoxKeepsItsPosition)
{
    TPromptScript script;
    script.AnswerMessage(mrYes).AnswerMessage(mrNo);
    EXPECT_EQ(MessageDlgPos("Delete Series1 ?", mtConfirmation, {mbYes, mbNo}, 120, 80), mrYes);
    EXPECT_EQ(MessageDlg("Delete Series2 ?", mtConfirmation, {mbYes, mbNo}), mrNo);
    ASSERT_EQ(script.Log().size(), 2u);
    EXPECT_TRUE(script.Log()[0].Positioned);
    EXPECT_EQ(script.Log()[0].Position, (TPoint{120, 80}));
    EXPECT_FALSE(script.Log()[1].Positioned);
}

TEST(Prompter, InputBoxesOkAndCancel)
{
    TPromptScript script;
    script.AnswerInput("12.5").CancelInput().CancelInput();
    std::string value = "0";
    EXPECT_TRUE(InputQuery("Enter null point", "x:", value));
    EXPECT_EQ(value, "12.5");
    EXPECT_FALSE(InputQuery("Enter null point", "x:", value));
    EXPECT_EQ(value, "12.5");
    EXPECT_EQ(InputBox("Line shift", "dx:", "3"), "3");
    EXPECT_EQ(script.Log()[0].Value, "12.5");
    EXPECT_EQ(script.Log()[1].Text, "x:");
}

TEST(Prompter, UnfittingOrMissingAnswersAreFailuresWithCautiousDefaults)
{
    TPromptScript script;
    script.AnswerInput("5");
    // A message box where an input box was expected: not answered by the input handler.
    EXPECT_EQ(MessageDlg("Delete?", mtConfirmation, {mbYes, mbNo}), mrNo);
    ASSERT_EQ(script.Failures().size(), 1u);
    EXPECT_NE(script.Failures()[0].find("expected input box, got message box"), std::string::npos);
    std::string v = "1";
    EXPECT_TRUE(InputQuery("c", "p", v));
    // Nothing left: the default of an OK/Cancel box is Cancel, of a lone OK box OK.
    EXPECT_EQ(MessageBox(nullptr, "t", "c", MB_OKCANCEL), IDCANCEL);
    EXPECT_EQ(MessageBox(nullptr, "t", "c", MB_OK), IDOK);
    EXPECT_EQ(script.Failures().size(), 3u);
}

TEST(Prompter, WithoutScriptNobodyIsWaitedFor)
{
    // The tests run on the offscreen platform: a prompt without a script is answered by its default.
    std::string v = "7";
    EXPECT_FALSE(InputQuery("c", "p", v));
    EXPECT_EQ(v, "7");
    EXPECT_EQ(MessageDlg("Save changes?", mtConfirmation, {mbYes, mbNo, mbCancel}), mrCancel);
}

TEST(Prompter, OnlyOneScriptAtATime)
{
    TPromptScript script;
    EXPECT_THROW(TPromptScript second, EInvalidOperation);
}

TEST(CustomColorLines, ParseAndFormat)
{
    struct Case {
        const char* line;
        bool ok;
        int slot;
        std::int32_t value;
    };
    const Case cases[] = {
        {"ColorA=00C0C0C1", true, 0, 0xC0C0C1}, {"ColorP=ffffff", true, 15, 0xFFFFFF},
        {"ColorH=1", true, 7, 1},               {"ColorQ=000000", false, 0, 0},
        {"ColorA=", false, 0, 0},               {"ColorA=12345678A", false, 0, 0},
        {"ColorA:00FF00", false, 0, 0},         {"colorA=00FF00", false, 0, 0},
        {"ColorB=00GG00", false, 0, 0},
    };
    for (const Case& c : cases) {
        int slot = -1;
        std::int32_t value = -1;
        EXPECT_EQ(ParseCustomColorLine(c.line, slot, value), c.ok) << c.line;
        if (c.ok) {
            EXPECT_EQ(slot, c.slot) << c.line;
            EXPECT_EQ(value, c.value) << c.line;
        }
    }
    EXPECT_EQ(CustomColorLine(0, 0xC0C0C1), "ColorA=00C0C0C1");
    EXPECT_EQ(CustomColorLine(15, 0x123456), "ColorP=00123456");
}

TEST(ColorDialog, ScriptSeesTheCustomColoursAndAnswers)
{
    TPromptScript script;
    script.Expect(TPromptKind::ColorDialog, [](TPrompt& p) {
        EXPECT_EQ(p.Color->Color, 0x0000FF);
        EXPECT_EQ(p.Color->CustomColors, std::vector<std::string>{"ColorA=00C0C0C1"});
        p.Color->Color = 0x00FF00;
        p.Color->CustomColors.push_back("ColorB=00112233");
        p.Result = mrOk;
    });
    script.Expect(TPromptKind::ColorDialog, [](TPrompt& p) {
        p.Color->Color = 0x123456;  // then cancelled: nothing comes back
        p.Result = mrCancel;
    });
    TColorDialogData data{0x0000FF, {"ColorA=00C0C0C1"}};
    EXPECT_TRUE(ExecuteColorDialog(nullptr, data));
    EXPECT_EQ(data.Color, 0x00FF00);
    EXPECT_EQ(data.CustomColors.size(), 2u);
    TColorDialogData kept = data;
    EXPECT_FALSE(ExecuteColorDialog(nullptr, data));
    EXPECT_EQ(data.Color, kept.Color);
    EXPECT_EQ(data.CustomColors, kept.CustomColors);
}

// The platform's colour window itself, driven as a user would: the custom colours given go in, the
// ones there when the user confirms come out as sixteen lines.
TEST(ColorDialog, PlatformWindowTakesAndGivesBackCustomColours)
{
    SetShowWindowsUnattended(true);
    QColor seenSlot0, seenSlot2;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QColorDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        seenSlot0 = QColorDialog::customColor(0);
        seenSlot2 = QColorDialog::customColor(2);
        QColorDialog::setCustomColor(5, QColor(0x10, 0x20, 0x30));
        dialog->setCurrentColor(QColor(0, 0, 255));
        dialog->accept();
    });
    TColorDialogData data{0x0000FF, {"ColorA=00C0C0C1", "ColorC=00FF0000", "junk"}};
    const bool ok = ExecuteColorDialog(nullptr, data);
    SetShowWindowsUnattended(false);
    ASSERT_TRUE(ok);
    EXPECT_EQ(seenSlot0, QColor(0xC1, 0xC0, 0xC0));
    EXPECT_EQ(seenSlot2, QColor(0, 0, 0xFF));
    EXPECT_EQ(data.Color, 0xFF0000);  // blue as $00BBGGRR
    ASSERT_EQ(data.CustomColors.size(), 16u);
    EXPECT_EQ(data.CustomColors[0], "ColorA=00C0C0C1");
    EXPECT_EQ(data.CustomColors[1], "ColorB=00FFFFFF");  // a slot not given is white
    EXPECT_EQ(data.CustomColors[5], "ColorF=00302010");
}

} // namespace

// ---- The platform's windows, driven as a user would ----------------------------------------------------

namespace {

// Runs `user` on the modal window once it is open, with real windows shown on this display.
template <class W, class F>
void WhenOpen(F user)
{
    QTimer::singleShot(0, [user] {
        auto* w = qobject_cast<W*>(QApplication::activeModalWidget());
        ASSERT_NE(w, nullptr);
        user(*w);
    });
}

struct RealWindows {
    RealWindows() { SetShowWindowsUnattended(true); }
    ~RealWindows() { SetShowWindowsUnattended(false); }
};

TEST(PlatformWindows, MessageBoxShowsTextCaptionAndButtons)
{
    RealWindows real;
    Application->SetTitle("VornSP2Dp");
    WhenOpen<QMessageBox>([](QMessageBox& box) {
        EXPECT_EQ(box.windowTitle(), "Confirm");
        EXPECT_EQ(box.text(), QString::fromUtf8("Delete \u00ABBody 2\u00BB?"));
        EXPECT_EQ(box.buttons().size(), 3);
        EXPECT_EQ(box.defaultButton(), box.button(QMessageBox::Yes));
        box.button(QMessageBox::No)->click();
    });
    EXPECT_EQ(MessageDlg("Delete \xAB" "Body 2\xBB?", mtConfirmation, {mbYes, mbNo, mbCancel}), mrNo);
    WhenOpen<QMessageBox>([](QMessageBox& box) {
        EXPECT_EQ(box.defaultButton(), box.button(QMessageBox::Cancel));  // MB_DEFBUTTON2
        box.button(QMessageBox::Ok)->click();
    });
    EXPECT_EQ(MessageBox(nullptr, "Load project configuration", "VornSP2Dp", MB_OKCANCEL | MB_DEFBUTTON2), IDOK);
}

TEST(PlatformWindows, InputBoxGivesTheEditedText)
{
    RealWindows real;
    WhenOpen<QInputDialog>([](QInputDialog& d) {
        EXPECT_EQ(d.textValue(), "1.5");
        d.setTextValue(QString::fromUtf8("2,5 \u00B0"));
        d.accept();
    });
    std::string v = "1.5";
    EXPECT_TRUE(InputQuery("Enter null point", "x:", v));
    EXPECT_EQ(v, "2,5 \xB0");
}

TEST(PlatformWindows, OpenDialogFiltersAndGivesTheFileAndFilterIndex)
{
    RealWindows real;
    const std::filesystem::path dir = std::filesystem::temp_directory_path() / "vsp_open_dialog";
    std::filesystem::create_directories(dir);
    std::ofstream(dir / "survey.sp2") << "x";
    WhenOpen<QFileDialog>([dir](QFileDialog& d) {
        EXPECT_EQ(d.nameFilters(), (QStringList{"Survey (*.sp2)", "Configuration (*.cfg *.CFG)"}));
        EXPECT_EQ(d.selectedNameFilter(), "Configuration") << "the second filter, named by its text alone";
        d.selectNameFilter("Survey (*.sp2)");
        d.selectFile(QString::fromStdString((dir / "survey.sp2").string()));
        static_cast<QDialog&>(d).accept();  // as the Open button does
    });
    TFileDialogData data;
    data.Filter = "Survey|*.sp2|Configuration|*.cfg;*.CFG";
    data.FilterIndex = 2;
    data.InitialDir = dir.string();
    EXPECT_TRUE(ExecuteOpenDialog(nullptr, data));
    EXPECT_EQ(data.FileName, (dir / "survey.sp2").string());
    EXPECT_EQ(data.Files, std::vector<std::string>{data.FileName});
    EXPECT_EQ(data.FilterIndex, 1);
    std::filesystem::remove_all(dir);
}

TEST(PlatformWindows, FileDialogsShowEachFilterTextOnceAsGiven)
{
    RealWindows real;
    struct TFilterCase {
        const char* Filter;
        QStringList Shown;
    };
    const TFilterCase cases[] = {
        {"Vorn project data [*.sp2]|*.sp2|Configuration [*.cfg]|*.cfg", {"Vorn project data [*.sp2]", "Configuration [*.cfg]"}},
        {"Pictures|*.bmp;*.png|All files (*.*)|*.*", {"Pictures", "All files (*.*)"}},
    };
    for (const TFilterCase& c : cases) {
        for (const bool save : {false, true}) {
            SCOPED_TRACE(std::string(c.Filter) + (save ? ", save" : ", open"));
            QStringList shown;
            WhenOpen<QFileDialog>([&shown](QFileDialog& d) {
                auto* types = d.findChild<QComboBox*>("fileTypeCombo");
                ASSERT_NE(types, nullptr);
                for (int i = 0; i < types->count(); ++i) shown << types->itemText(i);
                d.reject();
            });
            TFileDialogData data;
            data.Filter = c.Filter;
            EXPECT_FALSE(save ? ExecuteSaveDialog(nullptr, data) : ExecuteOpenDialog(nullptr, data));
            EXPECT_EQ(shown, c.Shown);
        }
    }
}

} // namespace
