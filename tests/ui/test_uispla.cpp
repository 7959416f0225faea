// The splash: its window's place and size, the command-line switch, closing by timer, click or Hide,
// a duration of 0 and the modal show, the picture beside the program, shaped windows with their animation
// rules, the window-animation flags, the form factory, and the missing picture.
#include "ui/uispla.h"

#include "UiTestSupport.h"

#include "platform/controls/ExtCtrls.h"
#include "platform/controls/Prompter.h"
#include "platform/controls/Screen.h"
#include "platform/controls/TopLevel.h"
#include "platform/rtl/CommandLine.h"
#include "ui/uifact.h"
#include "ui/uifspla.h"
#include "ui/uishapf.h"

#include <filesystem>
#include <fstream>

#include <gtest/gtest.h>

namespace {

// A picture with a green key colour round a red body.
std::unique_ptr<TPicture> SplashPicture(int w, int h)
{
    TBitmap b(w, h);
    b.Canvas().Brush().SetColor(clGreen);
    b.Canvas().FillRect({0, 0, w, h});
    b.Canvas().Brush().SetColor(RGB(200, 40, 40));
    b.Canvas().Ellipse(0, 0, w, h);
    auto p = std::make_unique<TPicture>();
    p->SetGraphic(&b);
    return p;
}

struct TSplashTest : ::testing::Test {
    void SetUp() override
    {
        Pump(1);
        SetCommandLine({"/nonexistent/vornsp2dp"});
        Splash.SetPicture(*SplashPicture(300, 200));
        Splash.SetBevelWidth(1);
    }
    void TearDown() override
    {
        if (Splash.Window()) Splash.Hide();
        Pump();
        SetCommandLine({});
    }
    TuiSplash Splash{nullptr};
};

} // namespace

TEST_F(TSplashTest, CentredWithTheBevelRound)
{
    EXPECT_EQ(TuiSplash::WindowBounds(300, 200, 1, 1024, 768), (TRect{361, 283, 663, 485}));
    EXPECT_EQ(TuiSplash::WindowBounds(301, 201, 0, 1024, 768), (TRect{361, 283, 662, 484}));
    Splash.Show();
    TuisfSplash* w = Splash.Window();
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(w->width(), 302);
    EXPECT_EQ(w->height(), 202);
    const TRect expected = TuiSplash::WindowBounds(300, 200, 1, Screen->Width(), Screen->Height());
    EXPECT_EQ(w->x(), expected.Left);
    EXPECT_EQ(w->y(), expected.Top);
    EXPECT_TRUE(w->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_TRUE(w->windowFlags().testFlag(Qt::FramelessWindowHint));
    EXPECT_TRUE(w->pnlSplash->Visible());
    EXPECT_EQ(w->BevelWidth(), 1);
    // Showing again while shown does nothing.
    Splash.Show();
    EXPECT_EQ(Splash.Window(), w);
}

TEST_F(TSplashTest, NoSplashSwitchStopsOnlyTheStartUpShow)
{
    for (const char* sw : {"-ns", "/NS", "/ns", "-Ns"}) {
        SetCommandLine({"/opt/vornsp2dp", "survey.sp2", sw});
        EXPECT_TRUE(TuiSplash::HasNoSplashSwitch()) << sw;
        TComponent form(nullptr);
        form.BeginLoading();
        auto* s = new TuiSplash(&form);
        s->BeginLoading();
        s->SetPicture(*SplashPicture(40, 30));
        s->SetAutoShow(true);
        EXPECT_EQ(s->Window(), nullptr) << sw;
        s->Show();   // the About command
        EXPECT_NE(s->Window(), nullptr) << sw;
        s->Hide();
        Pump();
    }
    SetCommandLine({"/opt/vornsp2dp", "-nsx"});
    EXPECT_FALSE(TuiSplash::HasNoSplashSwitch());
    TComponent form(nullptr);
    form.BeginLoading();
    auto* s = new TuiSplash(&form);
    s->BeginLoading();
    s->SetPicture(*SplashPicture(40, 30));
    s->SetAutoShow(true);
    EXPECT_NE(s->Window(), nullptr) << "read from a form, the splash shows at once";
    s->Hide();
    Pump();
    // Made in code (not loading) nothing shows.
    TuiSplash code(nullptr);
    code.SetPicture(*SplashPicture(40, 30));
    code.SetAutoShow(true);
    EXPECT_EQ(code.Window(), nullptr);
}

TEST_F(TSplashTest, ClosedByItsTimerByAClickOrByHide)
{
    int shown = 0, hidden = 0;
    Splash.OnShow = [&](TPersistent* s) { shown += s == &Splash; };
    Splash.OnHide = [&](TPersistent* s) { hidden += s == &Splash; };
    Splash.SetDuration(20000);
    Splash.Show();
    TuisfSplash* w = Splash.Window();
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(shown, 1);
    EXPECT_EQ(w->tmrClose->Interval(), 20000);
    EXPECT_TRUE(w->tmrClose->Enabled());
    w->tmrClose->OnTimer(w->tmrClose.get());
    Pump();
    EXPECT_EQ(Splash.Window(), nullptr);
    EXPECT_EQ(hidden, 1);
    // A click anywhere closes it.
    Splash.Show();
    w = Splash.Window();
    SendMouse(w->imgSplash->Widget(), QEvent::MouseButtonPress, QPoint(20, 20));
    Pump();
    EXPECT_EQ(Splash.Window(), nullptr);
    // Without HideOnClick a click drags it instead.
    Splash.SetHideOnClick(false);
    Splash.Show();
    w = Splash.Window();
    const QPoint start = w->pos();
    SendMouse(w->imgSplash->Widget(), QEvent::MouseButtonPress, QPoint(20, 20));
    SendMouse(w->imgSplash->Widget(), QEvent::MouseMove, QPoint(25, 28));
    SendMouse(w->imgSplash->Widget(), QEvent::MouseButtonRelease, QPoint(25, 28));
    EXPECT_EQ(Splash.Window(), w);
    EXPECT_EQ(w->pos(), start + QPoint(5, 8));
    Splash.Hide();
    Pump();
    EXPECT_EQ(Splash.Window(), nullptr);
    EXPECT_EQ(hidden, 3);
}

TEST_F(TSplashTest, DurationZeroStaysOpenAndModalClosesAfterFiveSeconds)
{
    Splash.SetDuration(0);
    Splash.Show();
    ASSERT_NE(Splash.Window(), nullptr);
    EXPECT_FALSE(Splash.Window()->tmrClose->Enabled());
    Pump();
    EXPECT_NE(Splash.Window(), nullptr);
    Splash.Hide();
    Pump();
    Splash.SetShowModal(true);
    TPromptScript script;
    int interval = -1;
    script.DriveForm([&](TForm& form) {
        auto& w = dynamic_cast<TuisfSplash&>(form);
        interval = w.tmrClose->Interval();
        w.tmrClose->OnTimer(w.tmrClose.get());
    });
    Splash.Show();
    EXPECT_TRUE(script.Failures().empty());
    EXPECT_EQ(interval, 5000);
    Pump();
    EXPECT_EQ(Splash.Window(), nullptr);
}

TEST_F(TSplashTest, APictureBesideTheProgramReplacesTheStoredOne)
{
    const std::filesystem::path folder = std::filesystem::temp_directory_path() / "vsp-ui-splash";
    std::filesystem::create_directories(folder);
    SetCommandLine({(folder / "vornsp2dp").string()});
    TBitmap local(60, 40);
    local.SaveToFile((folder / "vornsp2dp.bmp").string());
    Splash.Show();
    ASSERT_NE(Splash.Window(), nullptr);
    EXPECT_EQ(Splash.Window()->width(), 62);
    EXPECT_EQ(Splash.Window()->height(), 42);
    Splash.Hide();
    Pump();
    // Not allowed, or unreadable: the stored picture.
    Splash.SetAllowLocalBmp(false);
    Splash.Show();
    EXPECT_EQ(Splash.Window()->width(), 302);
    Splash.Hide();
    Pump();
    Splash.SetAllowLocalBmp(true);
    std::ofstream(folder / "vornsp2dp.bmp", std::ios::binary) << "not a bitmap";
    Splash.Show();
    EXPECT_EQ(Splash.Window()->width(), 302);
    Splash.Hide();
    Pump();
    // Without any picture of its own the local one does not help.
    TuiSplash bare(nullptr);
    try {
        bare.Show();
        FAIL();
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), "Picture required");
    }
    std::filesystem::remove_all(folder);
}

TEST_F(TSplashTest, ShapedWindowAndItsAnimations)
{
    Splash.SetShapeTolerance(clGreen);
    Splash.SetShapeForm(true);
    Splash.AnimateShow().SetEffect(aweBlend);
    Splash.AnimateShow().SetDuration(0);
    Splash.AnimateHide().SetEffect(aweBlend);
    Splash.AnimateHide().SetDuration(0);
    EXPECT_TRUE(Splash.ShapeForm());
    Splash.Show();
    TuisfSplash* w = Splash.Window();
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(w->uiShapeForm1->Visible());
    EXPECT_FALSE(w->pnlSplash->Visible());
    EXPECT_TRUE(WindowHasRegion(w));
    EXPECT_TRUE(w->mask().contains(QPoint(150, 100)));
    EXPECT_FALSE(w->mask().contains(QPoint(1, 1))) << "the green corner is cut away";
    Splash.Hide();
    Pump();

    struct Case {
        const char* name;
        bool shapeBefore;
        TuiAnimEffect show, hide;   // written in this order after the shape switch
        bool shapeWritten;          // then ShapeForm written (when it differs)
        bool shapeAfter;
        TuiAnimEffect showAfter, hideAfter;
    };
    const Case cases[] = {
        {"a slide on a shaped splash turns the shape off", true, aweBlend, aweSlide, true, true, aweBlend, aweBlend},
        {"roll and centre too, and the shape write turns both into blends", true, aweRoll, aweCenter, true, true, aweBlend,
         aweBlend},
        {"blends and none keep the shape", true, aweNone, aweBlend, true, true, aweNone, aweBlend},
        {"without the shape the effects stay", false, aweSlide, aweCenter, false, false, aweSlide, aweCenter},
    };
    for (const Case& c : cases) {
        TuiSplash s(nullptr);
        s.SetShapeForm(c.shapeBefore);
        s.AnimateShow().SetEffect(c.show);
        s.AnimateHide().SetEffect(c.hide);
        if (c.show == aweSlide || c.show == aweRoll || c.show == aweCenter || c.hide == aweSlide || c.hide == aweRoll ||
            c.hide == aweCenter) {
            EXPECT_FALSE(s.ShapeForm()) << c.name;
        }
        s.SetShapeForm(c.shapeWritten);
        EXPECT_EQ(s.ShapeForm(), c.shapeAfter) << c.name;
        EXPECT_EQ(s.AnimateShow().Effect(), c.showAfter) << c.name;
        EXPECT_EQ(s.AnimateHide().Effect(), c.hideAfter) << c.name;
    }
}

TEST(uiAnimateWin, DirectionsAndFlags)
{
    TuiAnimateWin a;
    EXPECT_EQ(a.Duration(), 200);
    a.SetEffect(aweSlide);
    EXPECT_EQ(a.Horz(), awdPositive) << "a slide needs a direction";
    a.SetVert(awdNegative);
    a.SetHorz(awdNone);
    EXPECT_EQ(a.Effect(), aweSlide);
    a.SetVert(awdNone);
    EXPECT_EQ(a.Effect(), aweNone) << "the last direction taken away ends the slide";
    struct Case {
        TuiAnimEffect effect;
        TuiAnimDirection horz, vert;
        std::uint32_t show, hide;
    };
    const Case cases[] = {
        {aweNone, awdNone, awdNone, 0, 0x10000},
        {aweBlend, awdNone, awdNone, 0x80000, 0x90000},
        {aweCenter, awdNone, awdNone, 0x10, 0x10010},
        {aweSlide, awdPositive, awdNegative, 0x40009, 0x50009},
        {aweRoll, awdNegative, awdPositive, 0x6, 0x10006},
    };
    for (const Case& c : cases) {
        TuiAnimateWin w;
        w.SetEffect(c.effect);
        w.SetHorz(c.horz);
        w.SetVert(c.vert);
        EXPECT_EQ(w.Flags(false), c.show) << c.effect;
        EXPECT_EQ(w.Flags(true), c.hide) << c.effect;
    }
    int changes = 0;
    TuiAnimateWin copy;
    copy.OnChange = [&] { ++changes; };
    copy.Assign(a);
    EXPECT_EQ(changes, 1);
    EXPECT_THROW(a.SetDuration(65536), ERangeError);
}

TEST_F(TSplashTest, BevelZeroFailsWhenTheWindowIsBuilt)
{
    Splash.SetBevelWidth(0);
    EXPECT_THROW(Splash.Show(), ERangeError);
    EXPECT_EQ(Splash.Window(), nullptr);
    // Copying takes everything but AllowLocalBmp.
    Splash.SetAllowLocalBmp(false);
    Splash.SetDuration(1234);
    TuiSplash copy(nullptr);
    copy.Assign(Splash);
    EXPECT_EQ(copy.Duration(), 1234);
    EXPECT_TRUE(copy.AllowLocalBmp());
    EXPECT_EQ(copy.Picture().Width(), 300);
}

namespace {

// A program's own splash window, registered in place of the kit's.
struct TOtherSplash : TuisfSplash {
    static constexpr const char* FormClassName = "TOtherSplash";
    using TuisfSplash::TuisfSplash;
};

} // namespace

TEST(uiFormFactory, ReplacementFormsAndTheirNames)
{
    Pump(1);
    TuiFormFactory& f = FormFactory();
    RegisterSplashForm();
    EXPECT_EQ(f.FindFormClass("TuisfSplash"), "TuisfSplash");
    f.RegisterFormClass<TuisfSplash, TOtherSplash>();
    EXPECT_EQ(f.FindFormClass("TuisfSplash"), "TOtherSplash");
    RegisterSplashForm();
    EXPECT_EQ(f.FindFormClass("TuisfSplash"), "TOtherSplash") << "a replacement stays";
    const std::unique_ptr<TForm> made = f.CreateForm("TuisfSplash", nullptr);
    EXPECT_NE(dynamic_cast<TOtherSplash*>(made.get()), nullptr);
    EXPECT_EQ(f.CreateForm("TNothing", nullptr), nullptr);
    f.UnregisterFormClass("TuisfSplash");
    EXPECT_EQ(f.FindFormClass("TuisfSplash"), "");
    FreeFormFactory();
    EXPECT_EQ(FormFactory().FindFormClass("TuisfSplash"), "");
}
