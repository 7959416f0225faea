// The about box: the two gradient colours after a number of timer ticks with the turn at black, the
// texts, the picture, and the hook that shows the box once.
#include "chart/editors/LumAbout.h"

#include "chart/control/ChartMouse.h"
#include "platform/controls/Controls.h"
#include "platform/controls/Prompter.h"
#include "tests/chart/editors/EditorTestSupport.h"

#include <QLabel>
#include <QPushButton>

#include <gtest/gtest.h>

TEST(AboutBox, ColoursSweepAndTurnAtBlack)
{
    struct TCase {
        int Ticks;
        TColor Start, End;
        int Step;  // after the ticks
    };
    const TCase cases[] = {
        {0, 0xE0E0E0, 0x808080, 4},   {1, 0xDCDCDC, 0x848484, 4},
        {32, 0x606060, 0xFFFFFF, 4},  // the end colour stops at white
        {55, 0x040404, 0xFFFFFF, 4},  {56, 0x000000, 0xFFFFFF, -4},  // black: the step turns
        {57, 0x040404, 0xFBFBFB, -4}, {120, 0xFFFFFF, 0x000000, 4},  // the end colour black: back again
        {121, 0xFBFBFB, 0x040404, 4},
    };
    for (const TCase& t : cases) {
        TLumAboutForm form(nullptr);
        for (int i = 0; i < t.Ticks; ++i) form.Timer1Timer();
        EXPECT_EQ(form.StartColor(), t.Start) << t.Ticks << " ticks";
        EXPECT_EQ(form.EndColor(), t.End) << t.Ticks << " ticks";
        EXPECT_EQ(form.Step(), t.Step) << t.Ticks << " ticks";
    }
}

TEST(AboutBox, HookShowsTheBoxOnceWithItsOwnTexts)
{
    ASSERT_TRUE(ChartEditorHooks().ShowAboutBox) << "installed by the editors' start-up";
    {
        TPromptScript script;
        script.DriveForm([](TForm& Form) {
            auto& about = FormAs<TLumAboutForm>(Form);
            EXPECT_EQ(about.Caption(), "About Lumigram Pro 1.0");
            EXPECT_EQ(about.LabelVersion->text(), "Lumigram Pro 1.0");
            EXPECT_EQ(about.Label1->text(), "All rights reserved.");
            EXPECT_FALSE(about.Labelwww->isVisible()) << "no web address";
            EXPECT_EQ(about.width(), 363);
            EXPECT_EQ(about.height(), 232);
            // The gradient runs from the start colour at the bottom left to the end colour at the top right.
            const QImage picture = Render(&Form);
            const TColor bottomLeft = PixelOf(picture, 1, picture.height() - 2);
            const TColor topRight = PixelOf(picture, picture.width() - 2, 1);
            EXPECT_GT(GetRValue(bottomLeft), GetRValue(topRight) + 60);
            about.BClose->click();
        });
        ChartEditorHooks().ShowAboutBox();
        EXPECT_FALSE(ChartEditorHooks().ShowAboutBox) << "the hook clears itself";
        EXPECT_TRUE(script.Failures().empty()) << (script.Failures().empty() ? "" : script.Failures().front());
    }
    {
        TPromptScript script;
        script.DriveForm([](TForm& Form) {
            EXPECT_EQ(Form.Caption(), "Engine");
            EXPECT_EQ(FormAs<TLumAboutForm>(Form).LabelVersion->text(), "Version 2");
            Form.done(mrCancel);
        });
        ShowAboutBox("Engine", "Version 2");
        EXPECT_TRUE(script.Failures().empty());
    }
    LumAboutInitialization();
}
