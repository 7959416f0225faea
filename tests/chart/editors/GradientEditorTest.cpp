// The gradient editor driven through the prompter: the presets, the middle colour, the enabling rules,
// giving the gradient back on every close but OK whatever was edited, and the gradient button.
#include "chart/editors/LumEdiGrad.h"

#include "tests/chart/editors/EditorTestSupport.h"

#include <QApplication>
#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QSlider>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

struct TGradientValues {
    bool Visible;
    TGradientDirection Direction;
    TColor Start, Mid, End;
    bool HasMid;
    int Balance, RadialX, RadialY;
    bool operator==(const TGradientValues&) const = default;
};

TGradientValues ValuesOf(const TCustomLumGradient& g)
{
    return {g.Visible(), g.Direction(), g.StartColor(), g.MidColor(), g.EndColor(), g.HasMidColor(),
            g.Balance(), g.RadialX(), g.RadialY()};
}

// A visible three-colour gradient off every default.
void Prepare(TLumGradient& g)
{
    g.SetVisible(true);
    g.SetDirection(gdLeftRight);
    g.SetStartColor(clRed);
    g.SetMidColor(clGreen);
    g.SetEndColor(clBlue);
    g.SetBalance(30);
    g.SetRadialX(10);
    g.SetRadialY(-10);
}

// Runs the editor as a dialog with the script; returns whether it closed with OK.
bool RunEditor(TLumGradient& g, const std::function<void(TLumGradientEditor&)>& script, bool hideEnd = false)
{
    TPromptScript prompts;
    prompts.DriveForm([&](TForm& form) { script(FormAs<TLumGradientEditor>(form)); });
    const bool ok = ShowGradientEditorWithOptions(nullptr, g, hideEnd, false);
    EXPECT_TRUE(prompts.Failures().empty()) << prompts.Failures().front();
    return ok;
}

} // namespace

TEST(GradientEditor, PresetsListAlphabeticallyAndApplyTheirTable)
{
    TLumGradient g;
    Prepare(g);
    const bool ok = RunEditor(g, [&](TLumGradientEditor& e) {
        ASSERT_EQ(e.Gallery->count(), GradientPresetCount);
        EXPECT_EQ(e.Gallery->item(0)->text(), "Ace");
        EXPECT_EQ(e.Gallery->item(GradientPresetCount - 1)->text(), "Tropical");
        for (const TGradientPreset& p : GradientPresets()) {
            ASSERT_TRUE(ClickItem(*e.Gallery, p.Name)) << p.Name;
            EXPECT_EQ(g.StartColor(), p.Start) << p.Name;
            EXPECT_EQ(g.MidColor(), p.Mid) << p.Name;
            EXPECT_EQ(g.HasMidColor(), p.Mid != clNone) << p.Name;
            EXPECT_EQ(g.EndColor(), p.End) << p.Name;
            EXPECT_EQ(g.Direction(), p.Direction) << p.Name;
            EXPECT_EQ(g.Balance(), p.Balance) << p.Name;
            EXPECT_EQ(e.CBMid->isChecked(), p.Mid == clNone) << p.Name;
            EXPECT_EQ(e.SBBalance->value(), p.Balance) << p.Name;
            EXPECT_EQ(e.LabelBalance->text(), QString::number(p.Balance) + " %") << p.Name;
        }
        ASSERT_TRUE(ClickItem(*e.Gallery, "Hot"));
        e.BOk->click();
    });
    EXPECT_TRUE(ok);
    EXPECT_FALSE(g.HasMidColor()) << "\"Hot\" leaves two colours";
    EXPECT_EQ(g.StartColor(), 0x0000FFu);
    EXPECT_EQ(g.EndColor(), 0x00FFFFu);
}

TEST(GradientEditor, NoMiddleGivesBackTheFormerMiddleOrWhite)
{
    struct Case {
        const char* Name;
        bool HadMiddle;
        TColor Expected;
    };
    for (const Case& c : {Case{"never had a middle", false, clWhite}, Case{"had a red middle", true, clRed}}) {
        TLumGradient g;
        g.SetVisible(true);
        if (c.HadMiddle) {
            g.SetMidColor(clRed);
            g.SetMidColor(clNone);
        }
        ASSERT_FALSE(g.HasMidColor());
        RunEditor(g, [&](TLumGradientEditor& e) {
            EXPECT_TRUE(e.CBMid->isChecked()) << c.Name;
            e.CBMid->click();
            EXPECT_TRUE(g.HasMidColor()) << c.Name;
            EXPECT_EQ(g.MidColor(), c.Expected) << c.Name;
            e.CBMid->click();
            EXPECT_EQ(g.MidColor(), clNone) << c.Name;
            e.CBMid->click();
            e.BOk->click();
        });
        EXPECT_EQ(g.MidColor(), c.Expected) << c.Name;
    }
}

TEST(GradientEditor, EnablingFollowsDirectionVisibilityAndTheHideEndOption)
{
    TLumGradient g;
    Prepare(g);
    RunEditor(g, [&](TLumGradientEditor& e) {
        EXPECT_FALSE(e.TrackBar1->isEnabled()) << "radial offsets belong to the radial direction";
        Choose(e.CBDirection, gdRadial);
        EXPECT_EQ(g.Direction(), gdRadial);
        EXPECT_TRUE(e.TrackBar1->isEnabled());
        EXPECT_TRUE(e.TrackBar2->isEnabled());
        EXPECT_FALSE(e.CBMid->isEnabled());
        EXPECT_FALSE(e.BMid.Enabled());

        ASSERT_TRUE(ClickItem(*e.Gallery, "Sea"));
        EXPECT_EQ(e.Gallery->currentRow(), e.Gallery->row(e.Gallery->findItems("Sea", Qt::MatchExactly).front()));
        Choose(e.CBDirection, gdFromCenter);
        EXPECT_EQ(e.Gallery->currentRow(), -1) << "a centred direction deselects the preset";
        EXPECT_FALSE(e.CBMid->isEnabled());
        EXPECT_FALSE(e.BMid.Enabled());
        EXPECT_FALSE(e.TrackBar1->isEnabled());

        Choose(e.CBDirection, gdLeftRight);
        EXPECT_TRUE(e.CBMid->isEnabled());
        EXPECT_TRUE(e.BMid.Enabled());

        e.CBVisible->click();
        EXPECT_FALSE(g.Visible());
        EXPECT_FALSE(e.BStart.Enabled()) << "an invisible gradient has no colours to edit";
        EXPECT_FALSE(e.Gallery->isEnabled());
        EXPECT_FALSE(e.CBDirection.Enabled());
        EXPECT_TRUE(e.BEnd.Visible());
        e.BOk->click();
    });

    // Without the end colour the colour controls stay on for an invisible gradient.
    g.SetVisible(false);
    g.SetDirection(gdRadial);
    RunEditor(
        g,
        [&](TLumGradientEditor& e) {
            EXPECT_FALSE(e.BEnd.Visible());
            EXPECT_FALSE(e.BSwap->isVisible());
            EXPECT_TRUE(e.BStart.Enabled());
            EXPECT_TRUE(e.Gallery->isEnabled());
            EXPECT_TRUE(e.CBMid->isEnabled());
            EXPECT_TRUE(e.BMid.Enabled());
            e.BOk->click();
        },
        true);
}

TEST(GradientEditor, EveryCloseButOkGivesTheGradientBackAfterAnyEdit)
{
    using TEdit = std::function<void(TLumGradientEditor&)>;
    const std::vector<std::pair<const char*, TEdit>> edits = {
        {"Visible", [](TLumGradientEditor& e) { e.CBVisible->click(); }},
        {"direction list", [](TLumGradientEditor& e) { Choose(e.CBDirection, gdDiagonalUp); }},
        {"preset", [](TLumGradientEditor& e) { ClickItem(*e.Gallery, "Golf"); }},
        {"directions gallery",
         [](TLumGradientEditor& e) { e.Directions.MiniatureClick(&e.Directions.Miniature(gdBottomTop)); }},
        {"balance", [](TLumGradientEditor& e) { e.SBBalance->setValue(80); }},
        {"radial offsets",
         [](TLumGradientEditor& e) {
             e.TrackBar1->setValue(-200);
             e.TrackBar2->setValue(150);
         }},
        {"swap", [](TLumGradientEditor& e) { e.BSwap->click(); }},
        {"no middle", [](TLumGradientEditor& e) { e.CBMid->click(); }},
    };
    using TClose = std::function<void(TLumGradientEditor&)>;
    const std::vector<std::pair<const char*, TClose>> closes = {
        {"Cancel", [](TLumGradientEditor& e) { e.BCancel->click(); }},
        {"Escape",
         [](TLumGradientEditor& e) {
             QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
             QApplication::sendEvent(&e, &escape);
         }},
        {"close box", [](TLumGradientEditor& e) { e.close(); }},
    };
    // Plain names, not structured bindings: the lambdas below capture them.
    for (const auto& editCase : edits) {
        const char* editName = editCase.first;
        const auto& edit = editCase.second;
        for (const auto& closeCase : closes) {
            const char* closeName = closeCase.first;
            const auto& close = closeCase.second;
            TLumGradient g;
            Prepare(g);
            const TGradientValues before = ValuesOf(g);
            int notices = 0;
            g.OnChange = [&](TPersistent*) { ++notices; };
            bool changed = false;
            const bool ok = RunEditor(g, [&](TLumGradientEditor& e) {
                edit(e);
                changed = !(ValuesOf(g) == before);
                notices = 0;
                close(e);
            });
            EXPECT_FALSE(ok) << editName << ", " << closeName;
            EXPECT_TRUE(changed) << editName << " changed nothing";
            EXPECT_TRUE(ValuesOf(g) == before) << editName << ", " << closeName;
            EXPECT_EQ(notices, 1) << editName << ", " << closeName << ": one notice for the restore";
        }
        // OK keeps the edit.
        TLumGradient g;
        Prepare(g);
        const TGradientValues before = ValuesOf(g);
        EXPECT_TRUE(RunEditor(g, [&](TLumGradientEditor& e) {
            edit(e);
            e.BOk->click();
        }));
        EXPECT_FALSE(ValuesOf(g) == before) << editName << " kept by OK";
    }

    // A close without edits notifies nobody.
    TLumGradient g;
    Prepare(g);
    int notices = 0;
    g.OnChange = [&](TPersistent*) { ++notices; };
    RunEditor(g, [](TLumGradientEditor& e) { e.BCancel->click(); });
    EXPECT_EQ(notices, 0);
}

TEST(GradientEditor, DirectionsGalleryFollowsTheGradient)
{
    TLumGradient g;
    Prepare(g);
    RunEditor(g, [&](TLumGradientEditor& e) {
        ASSERT_EQ(e.Directions.MiniatureCount(), 10);
        EXPECT_EQ(e.Directions.NumRows(), 2);
        EXPECT_EQ(e.Directions.NumCols(), 5);
        EXPECT_EQ(e.Directions.FocusedMiniature(), &e.Directions.Miniature(gdLeftRight));
        EXPECT_EQ(e.Directions.Miniature(gdRadial).Hint(), "Radial");
        for (int i = 0; i < 10; ++i) {
            const TLumGradient& wall = e.Directions.Miniature(i).BackWall().Gradient();
            EXPECT_EQ(wall.Direction(), i);
            EXPECT_EQ(wall.StartColor(), clRed) << "miniatures show the edited colours";
            EXPECT_EQ(wall.EndColor(), clBlue);
        }
        e.Directions.MiniatureClick(&e.Directions.Miniature(gdRadial));
        EXPECT_EQ(g.Direction(), gdRadial);
        EXPECT_EQ(e.CBDirection.ItemIndex(), gdRadial);
        EXPECT_TRUE(e.TrackBar1->isEnabled());
        e.BSwap->click();
        EXPECT_EQ(e.Directions.Miniature(0).BackWall().Gradient().StartColor(), clBlue);
        EXPECT_EQ(e.Preview.Gradient().StartColor(), clBlue);
        e.BOk->click();
    });
    EXPECT_EQ(g.Direction(), gdRadial);
}

TEST(GradientEditor, EmbeddedEditorHasNoButtons)
{
    TLumGradient g;
    Prepare(g);
    TLumGradientEditor editor(nullptr, &g);
    EXPECT_EQ(editor.Gradient(), &g);
    EXPECT_EQ(editor.Tag(), &g);
    editor.show();
    EXPECT_FALSE(editor.Panel1->isVisible());
    EXPECT_FALSE(editor.BOk->isVisible());
    editor.TrackBar1->setValue(33);
    EXPECT_EQ(g.RadialX(), 33);
    EXPECT_EQ(editor.LRadialX->text(), "33");
}

TEST(GradientButton, FiresOnClickOnlyOnOk)
{
    TButtonGradient b(nullptr);
    int clicks = 0;
    b.OnClick = [&](TPersistent*) { ++clicks; };
    b.PerformClick();
    EXPECT_EQ(clicks, 1) << "unlinked: a plain button";

    TLumGradient g;
    Prepare(g);
    b.LinkGradient(&g);
    b.SetHideEndColor(true);
    {
        TPromptScript script;
        script.DriveForm([&](TForm& form) {
            auto& e = FormAs<TLumGradientEditor>(form);
            EXPECT_EQ(b.Editor(), &e);
            EXPECT_FALSE(e.BEnd.Visible()) << "the button passes its hide-end option";
            EXPECT_TRUE(e.CBVisible->isVisible());
            e.SBBalance->setValue(90);
            e.BCancel->click();
        });
        script.DriveForm([&](TForm& form) {
            FormAs<TLumGradientEditor>(form).SBBalance->setValue(70);
            FormAs<TLumGradientEditor>(form).BOk->click();
        });
        b.PerformClick();
        EXPECT_EQ(clicks, 1);
        EXPECT_EQ(g.Balance(), 30);
        b.PerformClick();
        EXPECT_EQ(clicks, 2);
        EXPECT_EQ(g.Balance(), 70);
        EXPECT_EQ(b.Editor(), nullptr);
        EXPECT_TRUE(script.Failures().empty());
    }
}

TEST(GradientButton, FaceShowsTheGradientFramed)
{
    TButtonGradient b(nullptr);
    b.SetBounds(0, 0, 100, 40);
    const TRect r = b.SymbolRect();
    TLumGradient g;
    g.SetVisible(true);
    g.SetStartColor(clRed);
    g.SetEndColor(clRed);

    EXPECT_NE(PixelOf(Render(b.Widget()), r.Left + 4, r.Top + 4), clRed) << "unlinked: no face";
    b.LinkGradient(&g);
    QImage image = Render(b.Widget());
    EXPECT_EQ(PixelOf(image, r.Left + 4, r.Top + 4), clRed);
    EXPECT_EQ(PixelOf(image, r.Left, r.Top), clBlack);
    EXPECT_EQ(PixelOf(image, r.Left, r.Top + 5), clBlack);

    g.SetVisible(false);
    image = Render(b.Widget());
    EXPECT_EQ(PixelOf(image, r.Left, r.Top + 5), clGray) << "an invisible gradient has a grey frame";

    b.SetEnabled(false);
    image = Render(b.Widget());
    EXPECT_NE(PixelOf(image, r.Left + 4, r.Top + 4), clRed) << "disabled: no face";
}
