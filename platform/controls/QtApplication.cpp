// Creation of the process's QApplication and its exception barrier.
#include "platform/controls/QtApplication.h"

#include "platform/controls/Application.h"
#include "platform/graphics/QtSupport.h"

#include <QApplication>
#include <QKeyEvent>
#include <QProxyStyle>

namespace {

// Exceptions must not unwind through Qt's event dispatch: every event delivered by this application
// runs inside a barrier that reports the exception to the default handler and marks the event handled.
class TQtApplication : public QApplication {
public:
    using QApplication::QApplication;

    bool notify(QObject* receiver, QEvent* event) override
    {
        try {
            // Key events reach a widget once here; their way up through the parents happens inside.
            const QEvent::Type type = event->type();
            if ((type == QEvent::KeyPress || type == QEvent::KeyRelease) && receiver->isWidgetType())
                NoteKeyEvent(static_cast<const QKeyEvent&>(*event));
            return QApplication::notify(receiver, event);
        } catch (...) {
            Application->HandleCurrentException();
            return true;
        }
    }
};

// The application's style with one change: the mouse rests for the application's hint pause before a
// hint shows.
class THintPauseStyle : public QProxyStyle {
public:
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget, QStyleHintReturn* data) const override
    {
        if (hint == SH_ToolTip_WakeUpDelay) return Application->HintPause();
        return QProxyStyle::styleHint(hint, option, widget, data);
    }
};

struct TQtAppState {
    int argc = 1;
    char name[16] = "vornsp2dp";
    char* argv[2] = {name, nullptr};
};

TQtAppState& QtAppState()
{
    static TQtAppState state;
    return state;
}

} // namespace

QApplication& CreateQtApplication(int& argc, char** argv)
{
    if (auto* existing = qobject_cast<QApplication*>(QCoreApplication::instance())) return *existing;
    if (QCoreApplication::instance())
        throw EInvalidOperation("A non-widget Qt application already exists");
    KeepLargeBlocksInHeap();
    // QApplication keeps the references it is given for the whole process.
    static TQtApplication* app = new TQtApplication(argc, argv);
    QApplication::setStyle(new THintPauseStyle);
    return *app;
}

QApplication& EnsureQtApplication()
{
    if (auto* existing = qobject_cast<QApplication*>(QCoreApplication::instance())) return *existing;
    TQtAppState& state = QtAppState();
    return CreateQtApplication(state.argc, state.argv);
}
