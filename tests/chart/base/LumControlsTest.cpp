// Small controls: the sample rectangle, colour buttons with their own, linked and computed colours, the
// colour dialog answered through the prompter, and the flat combo box's frame and streamed width.
#include "chart/base/LumControls.h"

#include "chart/base/RadErareShapes.h"
#include "platform/controls/Prompter.h"

#include <QApplication>
#include <QEvent>
#include <QImage>
#include <QWidget>

#include <gtest/gtest.h>

namespace {

QImage Render(QWidget* w)
{
    QImage image(w->size(), QImage::Format_RGB32);
    w->render(&image);
    return image;
}

TColor PixelOf(const QImage& image, int x, int y)
{
    const QRgb p = image.pixel(x, y);
    return RGB(qRed(p), qGreen(p), qBlue(p));
}

} // namespace

TEST(LumControls, SampleRectangleAndColourSources)
{
    TButtonColor b(nullptr);
    EXPECT_EQ(b.SymbolRect(), (TRect{56, 7, 69, 19}));
    b.SetBounds(0, 0, 100, 40);
    EXPECT_EQ(b.SymbolRect(), (TRect{81, 10, 94, 30}));
    b.SetBounds(0, 0, 75, 25);

    b.SetColor(clRed);
    EXPECT_EQ(b.GetColor(), clRed);
    QImage image = Render(b.Widget());
    EXPECT_EQ(PixelOf(image, 60, 12), clRed);
    EXPECT_EQ(PixelOf(image, 56, 7), clBlack) << "outlined with the canvas pen";

    b.SetEnabled(false);
    image = Render(b.Widget());
    EXPECT_EQ(PixelOf(image, 56, 7), clRed) << "a disabled button draws no outline";
    b.SetEnabled(true);

    b.SetColor(clNone);
    image = Render(b.Widget());
    EXPECT_NE(PixelOf(image, 60, 12), clRed);
    EXPECT_NE(PixelOf(image, 56, 7), clBlack) << "clNone draws no sample";

    // A linked property is read as RGB and written in place of the own colour.
    TLumShape shape(nullptr);
    shape.SetColor(clBtnFace);
    b.LinkProperty(&shape, "Color");
    EXPECT_EQ(b.GetColor(), ColorToRGB(clBtnFace));
    b.SetColor(clBlue);
    EXPECT_EQ(shape.Color(), clBlue);
    EXPECT_EQ(b.OwnColor(), clNone);

    b.OnGetColor = [] { return clLime; };
    EXPECT_EQ(b.GetColor(), clLime) << "the getter overrides everything";
    EXPECT_EQ(PixelOf(Render(b.Widget()), 60, 12), clLime);

    TLumButton plain(nullptr);
    plain.LinkProperty(nullptr, "Color");
    EXPECT_EQ(plain.LinkedObject(), nullptr);
    plain.LinkProperty(&shape, "");
    EXPECT_EQ(plain.LinkedProperty(), nullptr);
    plain.LinkProperty(&shape, "NoSuchProperty");
    EXPECT_EQ(plain.LinkedProperty(), nullptr) << "an unknown name links no property";
}

TEST(LumControls, ColourButtonClickEditsThroughTheDialog)
{
    TButtonColor b(nullptr);
    TLumShape shape(nullptr);
    b.LinkProperty(&shape, "Color");
    int clicks = 0;
    b.OnClick = [&](TPersistent*) { ++clicks; };
    {
        TPromptScript script;
        script.Expect(TPromptKind::ColorDialog, [](TPrompt& p) {
            EXPECT_EQ(p.Color->Color, clWhite);
            p.Color->Color = clRed;
            p.Result = mrOk;
        });
        script.Expect(TPromptKind::ColorDialog, [](TPrompt& p) {
            p.Color->Color = clGreen;
            p.Result = mrCancel;
        });
        b.PerformClick();
        EXPECT_EQ(shape.Color(), clRed) << "the chosen colour goes into the linked property";
        EXPECT_EQ(clicks, 1);
        b.PerformClick();
        EXPECT_EQ(shape.Color(), clRed) << "cancelling changes nothing";
        EXPECT_EQ(clicks, 1) << "and fires no click";
        EXPECT_TRUE(script.Failures().empty());
    }
}

TEST(LumControls, FlatComboFrameAndStreamedWidth)
{
    TComboFlat combo(nullptr);
    EXPECT_EQ(combo.Height(), 21);
    EXPECT_EQ(combo.ItemHeight(), 13);
    EXPECT_EQ(combo.Style(), csDropDownList);
    EXPECT_EQ(combo.ItemIndex(), -1);
    combo.SetItems({"Solid", "Dash"});
    combo.SetItemIndex(0);

    const QImage flat = Render(combo.Widget());
    EXPECT_EQ(PixelOf(flat, 0, 0), ColorToRGB(clBtnFace)) << "flat outer frame";
    EXPECT_EQ(PixelOf(flat, 1, 10), ColorToRGB(clBtnFace)) << "and the second frame inside it";
    // The button area ends at the inner frame's right edge, Width - 1; its line runs at Right - 2.
    EXPECT_EQ(PixelOf(flat, combo.Width() - 3, 10), ColorToRGB(clWindow));
    EXPECT_EQ(PixelOf(flat, combo.Width() - 2, 10), ColorToRGB(clWindow)) << "the button area's frame";

    QEvent enter(QEvent::Enter);
    QApplication::sendEvent(combo.Widget(), &enter);
    EXPECT_TRUE(combo.MouseInside());
    const QImage inside = Render(combo.Widget());
    EXPECT_NE(inside, flat) << "with the mouse over it the native frame shows";
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(combo.Widget(), &leave);
    EXPECT_FALSE(combo.MouseInside());
    EXPECT_EQ(Render(combo.Widget()), flat);

    const TPropInfo& width = *combo.ClassInfo().FindProperty("DropDownWidth");
    EXPECT_FALSE(IsStoredProp(combo, width)) << "equal to Width: not streamed";
    combo.SetDropDownWidth(combo.Width());
    EXPECT_FALSE(IsStoredProp(combo, width));
    combo.SetDropDownWidth(300);
    EXPECT_TRUE(IsStoredProp(combo, width));
}
