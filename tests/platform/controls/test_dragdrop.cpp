// Drag and drop on the platform: a registered window hands the drag events to its target (the formats as
// 8-bit text, the dropped files as local paths, the keys, the pointer on the screen) and answers Qt with
// the target's effect; a revoked window hears nothing; a drag started by the program runs through the
// drag driver a test sets, with its steps and effect changes.
#include "platform/controls/Application.h"
#include "platform/controls/ControlWidget.h"
#include "platform/controls/Controls.h"
#include "platform/controls/DragDrop.h"
#include "platform/controls/ExtCtrls.h"

#include <QApplication>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>
#include <QWidget>

#include <gtest/gtest.h>

#include <memory>

namespace {

// Records what reaches it and answers the effects it is told to.
class TRecordingTarget : public TDropTarget {
public:
    int EnterAnswer = DROPEFFECT_COPY, OverAnswer = DROPEFFECT_NONE, DropAnswer = DROPEFFECT_MOVE;
    std::vector<std::string> Log;
    std::vector<std::string> Formats, Files;
    std::string Text, Custom;
    TShiftState Keys;
    TPoint Screen{-1, -1};
    int Offered = -1;

    int DragEnter(const TDragData& Data, TShiftState K, TPoint S, int Effect) override
    {
        Log.push_back("enter");
        Formats = Data.Formats();
        Files = Data.Files();
        Text = Data.Data("text/plain");
        Custom = Data.Data("application/x-test");
        Keys = K;
        Screen = S;
        Offered = Effect;
        return EnterAnswer;
    }
    int DragOver(TShiftState K, TPoint S, int) override
    {
        Log.push_back("over");
        Keys = K;
        Screen = S;
        return OverAnswer;
    }
    void DragLeave() override { Log.push_back("leave"); }
    int Drop(const TDragData& Data, TShiftState K, TPoint S, int) override
    {
        Log.push_back("drop");
        Text = Data.Data("text/plain");
        Keys = K;
        Screen = S;
        return DropAnswer;
    }
};

struct DropHost {
    DropHost()
    {
        Application->ProcessMessages();  // the application object exists before any window
        Window = std::make_unique<QWidget>();
        Window->setGeometry(40, 30, 200, 150);
        Panel = std::make_unique<TCustomPanel>(nullptr);
        Panel->SetParentWidget(Window.get());
        Panel->SetBounds(10, 20, 150, 100);
        Window->show();
        for (int i = 0; i < 3; ++i) Application->ProcessMessages();
    }
    std::unique_ptr<QWidget> Window;
    std::unique_ptr<TCustomPanel> Panel;
};

} // namespace

TEST(DragDrop, RegisteredWindowHandsTheDragToItsTarget)
{
    DropHost h;
    QWidget* w = h.Panel->Widget();
    TRecordingTarget target;
    EXPECT_FALSE(w->acceptDrops());
    EXPECT_EQ(h.Panel->DropTarget(), nullptr);
    ASSERT_TRUE(RegisterDragDrop(*h.Panel, &target));
    EXPECT_TRUE(w->acceptDrops());
    EXPECT_EQ(h.Panel->DropTarget(), &target);

    QMimeData data;
    data.setText(QString::fromUtf8("Z\xC3\xBCrich\t2"));
    data.setData("application/x-test", QByteArray("\x01\x00\x02", 3));
    data.setUrls({QUrl::fromLocalFile("/tmp/a b.csv"), QUrl("https://example.org/x.csv")});

    QDragEnterEvent enter(QPoint(5, 7), Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, Qt::ControlModifier);
    QApplication::sendEvent(w, &enter);
    EXPECT_TRUE(enter.isAccepted());
    EXPECT_EQ(enter.dropAction(), Qt::CopyAction);
    const QPoint g = w->mapToGlobal(QPoint(5, 7));
    EXPECT_EQ(target.Screen.x, g.x());
    EXPECT_EQ(target.Screen.y, g.y());
    EXPECT_TRUE(target.Keys.Contains(ssCtrl));
    EXPECT_TRUE(target.Keys.Contains(ssLeft));
    EXPECT_FALSE(target.Keys.Contains(ssShift));
    EXPECT_NE(target.Offered & DROPEFFECT_COPY, 0);
    // The text as the code page's 8-bit text, other formats byte for byte, only local files.
    EXPECT_EQ(target.Text, "Z\xFCrich\t2");
    EXPECT_EQ(target.Custom, std::string("\x01\x00\x02", 3));
    EXPECT_EQ(target.Files, (std::vector<std::string>{"/tmp/a b.csv"}));
    const auto has = [&](const char* f) { return std::find(target.Formats.begin(), target.Formats.end(), f) != target.Formats.end(); };
    EXPECT_TRUE(has("text/plain"));
    EXPECT_TRUE(has("application/x-test"));
    EXPECT_TRUE(has(DropFilesFormat));

    // A move the target refuses is ignored; one it takes gets the target's effect.
    QDragMoveEvent refused(QPoint(20, 30), Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(w, &refused);
    EXPECT_FALSE(refused.isAccepted());
    EXPECT_FALSE(target.Keys.Contains(ssCtrl));
    EXPECT_EQ(target.Screen.x, w->mapToGlobal(QPoint(20, 30)).x());
    target.OverAnswer = DROPEFFECT_MOVE;
    QDragMoveEvent taken(QPoint(21, 30), Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, Qt::ShiftModifier);
    QApplication::sendEvent(w, &taken);
    EXPECT_TRUE(taken.isAccepted());
    EXPECT_EQ(taken.dropAction(), Qt::MoveAction);
    EXPECT_TRUE(target.Keys.Contains(ssShift));

    QDropEvent drop(QPointF(22, 31), Qt::CopyAction | Qt::MoveAction, &data, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(w, &drop);
    EXPECT_TRUE(drop.isAccepted());
    EXPECT_EQ(drop.dropAction(), Qt::MoveAction);
    EXPECT_EQ(target.Text, "Z\xFCrich\t2");

    // Qt hands a leave only to the window its own drag is over; the window's delivery is called directly.
    QDragLeaveEvent leave;
    EXPECT_TRUE(DeliverDragEvent(*h.Panel, &leave));
    EXPECT_EQ(target.Log, (std::vector<std::string>{"enter", "over", "over", "drop", "leave"}));

    // A drop the target refuses is not taken.
    target.DropAnswer = DROPEFFECT_NONE;
    QDropEvent none(QPointF(22, 31), Qt::CopyAction, &data, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(w, &none);
    EXPECT_FALSE(none.isAccepted());

    // Revoked, the window takes no drops and the target hears nothing more.
    RevokeDragDrop(*h.Panel);
    EXPECT_FALSE(w->acceptDrops());
    EXPECT_EQ(h.Panel->DropTarget(), nullptr);
    target.Log.clear();
    QDragEnterEvent again(QPoint(5, 7), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(w, &again);
    EXPECT_TRUE(target.Log.empty());
    EXPECT_FALSE(RegisterDragDrop(*h.Panel, nullptr));
}

TEST(DragDrop, EmptyDataListsNothingAndReadsEmpty)
{
    DropHost h;
    TRecordingTarget target;
    RegisterDragDrop(*h.Panel, &target);
    QMimeData data;
    data.setData("application/x-Grid-Column", QByteArray("\x05\x00\x00\x00", 4));
    QDragEnterEvent enter(QPoint(1, 1), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    target.EnterAnswer = DROPEFFECT_NONE;
    QApplication::sendEvent(h.Panel->Widget(), &enter);
    EXPECT_EQ(target.Formats, (std::vector<std::string>{"application/x-Grid-Column"}));
    EXPECT_EQ(target.Text, "");
    EXPECT_TRUE(target.Files.empty());
    // The enter is taken even when refused, so that the target goes on hearing the moves (its markers
    // follow the pointer); the refusal shows in the moves' answers.
    EXPECT_TRUE(enter.isAccepted());
    RevokeDragDrop(*h.Panel);
}

TEST(DragDrop, ProgramDragRunsThroughTheDriverWithItsSteps)
{
    DropHost h;
    TDragFormats offered;
    offered.Formats = {{"text/plain", "a\tb"}, {"application/x-test", std::string("\0\1", 2)}};
    offered.Files = {"/tmp/x.csv"};
    int steps = 0;
    std::vector<int> feedback;
    TDragSourceEvents events;
    events.Step = [&] { ++steps; };
    events.Feedback = [&](int e) { feedback.push_back(e); };
    TDragFormats seen;
    int allowedSeen = 0;
    TWinControl* sourceSeen = nullptr;
    SetDragDriver([&](TWinControl& Source, const TDragFormats& Data, int Allowed, const TDragSourceEvents& Ev, bool& Cancelled) {
        sourceSeen = &Source;
        seen = Data;
        allowedSeen = Allowed;
        Ev.Step();
        Ev.Feedback(DROPEFFECT_MOVE);
        Ev.Step();
        Ev.Feedback(DROPEFFECT_COPY);
        Cancelled = false;
        return DROPEFFECT_COPY;
    });
    bool cancelled = true;
    EXPECT_EQ(DoDragDrop(*h.Panel, offered, DROPEFFECT_COPY | DROPEFFECT_MOVE, events, cancelled), DROPEFFECT_COPY);
    EXPECT_FALSE(cancelled);
    EXPECT_EQ(sourceSeen, h.Panel.get());
    EXPECT_EQ(seen.Formats, offered.Formats);
    EXPECT_EQ(seen.Files, offered.Files);
    EXPECT_EQ(allowedSeen, DROPEFFECT_COPY | DROPEFFECT_MOVE);
    EXPECT_EQ(steps, 2);
    EXPECT_EQ(feedback, (std::vector<int>{DROPEFFECT_MOVE, DROPEFFECT_COPY}));
    SetDragDriver(nullptr);
}

// Without a driver the desktop's drag runs; the offscreen desktop ends it at once with no target.
TEST(DragDrop, DesktopDragWithNobodyToTakeItIsCancelled)
{
    DropHost h;
    if (QApplication::platformName() != "offscreen") GTEST_SKIP() << "needs the offscreen desktop";
    TDragFormats offered;
    offered.Formats = {{"text/plain", "x"}};
    bool cancelled = false;
    EXPECT_EQ(DoDragDrop(*h.Panel, offered, DROPEFFECT_COPY, {}, cancelled), DROPEFFECT_NONE);
    EXPECT_TRUE(cancelled);
}
