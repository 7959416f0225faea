// The native push button and combo box: the program's painting on top of the native one, a button's
// modal result on a form, owner-drawn items; and the print and font dialogs through the prompter.
#include "platform/controls/Application.h"
#include "platform/controls/ControlWidget.h"
#include "platform/controls/Forms.h"
#include "platform/controls/StdCtrls.h"
#include "platform/graphics/Canvas.h"
#include "platform/graphics/Printers.h"

#include <QApplication>
#include <QImage>
#include <QWidget>

#include <gtest/gtest.h>

namespace {

// A button that draws a sample next to its caption, as the style buttons of the editors do.
class TSampleButton : public TButton {
public:
    using TButton::TButton;
    int Paints = 0;

protected:
    void PaintWindow(TCanvas& c) override
    {
        ++Paints;
        c.Brush().SetColor(clRed);
        c.Pen().SetStyle(psClear);
        c.Rectangle(Width() - 19, Height() - (Height() / 4) * 3, Width() - 6, Height() - Height() / 4);
    }
};

QImage Render(QWidget* w)
{
    QImage image(w->size(), QImage::Format_RGB32);
    w->render(&image);
    return image;
}

TEST(Button, ProgramPaintsOnTopOfTheNativeButton)
{
    TSampleButton button(nullptr);
    EXPECT_EQ(button.Width(), 75);
    EXPECT_EQ(button.Height(), 25);
    button.SetCaption("&Color...");
    EXPECT_EQ(button.Caption(), "&Color...");
    const QImage image = Render(button.Widget());
    EXPECT_GE(button.Paints, 1);
    // The sample: Left = 75 - 19, Top = 25 - 18, Right = 75 - 6, Bottom = 25 - 6.
    EXPECT_EQ(QColor(image.pixel(60, 12)), QColor(Qt::red));
    EXPECT_EQ(QColor(image.pixel(56, 7)), QColor(Qt::red));
    EXPECT_NE(QColor(image.pixel(55, 12)), QColor(Qt::red));
    EXPECT_NE(QColor(image.pixel(69, 12)), QColor(Qt::red));
    // The native painting is under it: the button face is not the white of an empty image.
    int face = 0;
    for (int x = 2; x < 40; ++x) face += QColor(image.pixel(x, 3)) != QColor(Qt::white);
    EXPECT_GT(face, 0);
}

TEST(Button, ResultClosesTheFormAfterTheClickHandler)
{
    TForm form;
    TButton ok(nullptr), cancel(nullptr);
    ok.SetParentWidget(&form);
    cancel.SetParentWidget(&form);
    ok.SetModalResult(mrOk);
    cancel.SetModalResult(mrCancel);
    std::vector<std::string> order;
    ok.OnClick = [&](TPersistent* sender) {
        EXPECT_EQ(sender, &ok);
        order.push_back(form.isVisible() ? "click while open" : "click after close");
    };
    TPromptScript script;
    script.DriveForm([&](TForm&) { ok.PerformClick(); });
    script.DriveForm([&](TForm&) { cancel.PerformClick(); });
    EXPECT_EQ(form.ShowModal(), mrOk);
    EXPECT_EQ(form.ShowModal(), mrCancel);
    EXPECT_EQ(order, std::vector<std::string>{"click while open"});
    // A click handler that clears the result keeps the form open (a check that failed).
    ok.OnClick = [&](TPersistent*) { form.SetModalResult(mrNone); };
    script.DriveForm([&](TForm& f) {
        ok.PerformClick();
        EXPECT_TRUE(f.isVisible());
        cancel.PerformClick();
    });
    EXPECT_EQ(form.ShowModal(), mrCancel);
    EXPECT_TRUE(script.Failures().empty());
}

TEST(ComboBox, ItemsSelectionAndDropDownWidth)
{
    TComboBox combo(nullptr);
    combo.SetStyle(csDropDownList);
    combo.SetItems({"Solid", "Dash", "Dot"});
    EXPECT_EQ(combo.ItemCount(), 3);
    EXPECT_EQ(combo.ItemIndex(), -1);
    combo.SetItemIndex(1);
    EXPECT_EQ(combo.Text(), "Dash");
    combo.SetItemIndex(7);
    EXPECT_EQ(combo.ItemIndex(), -1);
    combo.SetText("Dot");
    EXPECT_EQ(combo.ItemIndex(), 2);
    EXPECT_THROW(combo.Item(3), EListError);
    EXPECT_EQ(combo.AddItem("Dash Dot"), 3);
    EXPECT_EQ(combo.ItemIndex(), 2);  // adding keeps the selection
    // The dropped-down list is as wide as the box until set; program changes fire no OnChange.
    int changes = 0;
    combo.OnChange = [&](TPersistent*) { ++changes; };
    combo.SetWidth(120);
    EXPECT_EQ(combo.DropDownWidth(), 120);
    combo.SetDropDownWidth(200);
    EXPECT_EQ(combo.DropDownWidth(), 200);
    combo.SetItemIndex(0);
    EXPECT_EQ(changes, 0);
}

// An owner-drawn list: the selected item is drawn in the edit area with odComboBoxEdit, then the
// program's own painting runs on the same pixels.
class TFlatCombo : public TComboBox {
public:
    using TComboBox::TComboBox;
    std::vector<std::string> Calls;

protected:
    void DrawItem(int index, TRect rect, TOwnerDrawState state) override
    {
        Calls.push_back("item " + std::to_string(index) + (state.Contains(odComboBoxEdit) ? " edit" : ""));
        Canvas().Brush().SetColor(clBlue);
        Canvas().FillRect(rect);
    }
    void PaintWindow(TCanvas& c) override
    {
        Calls.push_back("paint");
        c.Brush().SetStyle(bsClear);
        c.Pen().SetColor(clLime);
        c.Rectangle(ClientRect());
    }
};

TEST(ComboBox, OwnerDrawnItemThenTheProgramsFrame)
{
    TFlatCombo combo(nullptr);
    combo.SetStyle(csOwnerDrawFixed);
    combo.SetItems({"a", "b"});
    combo.SetItemIndex(1);
    const QImage image = Render(combo.Widget());
    EXPECT_EQ(combo.Calls, (std::vector<std::string>{"item 1 edit", "paint"}));
    EXPECT_EQ(QColor(image.pixel(0, 0)), QColor(Qt::green));                 // the frame, drawn last
    EXPECT_EQ(QColor(image.pixel(combo.Width() / 4, combo.Height() / 2)), QColor(Qt::blue));  // the item
}

TEST(SystemMetrics, FixedSizesOfWindowParts)
{
    EXPECT_EQ(GetSystemMetrics(SM_CXSIZE), 18);
    EXPECT_EQ(GetSystemMetrics(SM_CXVSCROLL), 17);
    EXPECT_EQ(GetSystemMetrics(-5), 0);
    EXPECT_GT(GetSystemMetrics(SM_CXSCREEN), 0);
}

TEST(PrintDialog, NeedsAPrinterAndAppliesTheCopies)
{
    TPrinter::SetPlatformPrintersHidden(true);
    Printer()->Reset();
    TPrintDialogData data;
    EXPECT_THROW(ExecutePrintDialog(nullptr, data), EPrinter);
    EXPECT_THROW(ExecutePrinterSetupDialog(nullptr), EPrinter);
    Printer()->SetOutputFileName("/tmp/vsp_print_dialog_test.pdf");
    {
        TPromptScript script;
        script.Expect(TPromptKind::PrintDialog, [](TPrompt& p) {
            EXPECT_EQ(p.Print->Copies, 1);
            p.Print->Copies = 3;
            p.Result = mrOk;
        });
        script.Expect(TPromptKind::PrintDialog, [](TPrompt& p) { p.Print->Copies = 5; });  // cancelled
        EXPECT_TRUE(ExecutePrintDialog(nullptr, data));
        EXPECT_EQ(Printer()->Copies(), 3);
        EXPECT_FALSE(ExecutePrintDialog(nullptr, data));
        EXPECT_EQ(Printer()->Copies(), 3);
        EXPECT_EQ(data.Copies, 3);
    }
    Printer()->Reset();
    TPrinter::SetPlatformPrintersHidden(false);
}

TEST(FontDialog, OkChangesNameSizeAndStyleOnly)
{
    TFont font;
    font.SetName("Arial");
    font.SetSize(8);
    font.SetColor(clRed);
    TPromptScript script;
    script.Expect(TPromptKind::FontDialog, [](TPrompt& p) {
        EXPECT_EQ(p.Font->Name, "Arial");
        EXPECT_EQ(p.Font->Size, 8);
        p.Font->Name = "Courier New";
        p.Font->Size = 12;
        p.Font->Style = {fsBold};
        p.Result = mrOk;
    });
    script.Expect(TPromptKind::FontDialog, [](TPrompt& p) { p.Font->Size = 30; });
    EXPECT_TRUE(ExecuteFontDialog(nullptr, font));
    EXPECT_EQ(font.Name(), "Courier New");
    EXPECT_EQ(font.Size(), 12);
    EXPECT_EQ(font.Style(), TFontStyles{fsBold});
    EXPECT_EQ(font.Color(), clRed);
    EXPECT_FALSE(ExecuteFontDialog(nullptr, font));
    EXPECT_EQ(font.Size(), 12);
}

} // namespace
