// The application object over Qt's application: pump, title, default exception handler.
#include "platform/controls/Application.h"

#include "platform/controls/AnsiText.h"
#include "platform/controls/Controls.h"
#include "platform/controls/Prompter.h"
#include "platform/controls/QtApplication.h"
#include "platform/rtl/CommandLine.h"

#include <QApplication>
#include <QEventLoop>
#include <QHelpEvent>
#include <QToolTip>
#include <QWidget>

#include <algorithm>

#include <filesystem>
#include <system_error>
#include <vector>

namespace {

std::string ExecutableTitle()
{
    std::error_code ec;
    const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::string("vornsp2dp") : exe.stem().string();
}

TApplication& TheApplication()
{
    static TApplication app;
    return app;
}

} // namespace

TApplication* const Application = &TheApplication();

TApplication::TApplication() : FTitle(ExecutableTitle()) {}

void TApplication::Initialize(int& argc, char** argv)
{
    // Qt takes its own options out of the arguments; the program sees the rest.
    CreateQtApplication(argc, argv);
    SetCommandLine(std::vector<std::string>(argv, argv + argc));
}

void TApplication::Run()
{
    QApplication& app = EnsureQtApplication();
    FTerminated = false;
    app.exec();
    FTerminated = true;
}

void TApplication::Terminate()
{
    FTerminated = true;
    if (QCoreApplication::instance()) QCoreApplication::quit();
}

void TApplication::ProcessMessages()
{
    EnsureQtApplication();
    // Posted deletions and paint requests are events like any other; one pass handles what is queued.
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void TApplication::HandleException(const std::exception& e)
{
    if (dynamic_cast<const EAbort*>(&e)) return;
    if (OnException)
        OnException(*this, e);
    else
        ShowException(e);
}

void TApplication::HandleCurrentException()
{
    try {
        throw;
    } catch (const std::exception& e) {
        HandleException(e);
    } catch (...) {
        HandleException(Exception("Unknown exception"));
    }
}

void TApplication::ShowException(const std::exception& e)
{
    const auto* own = dynamic_cast<const Exception*>(&e);
    const std::string message = own ? own->Message() : std::string(e.what());
    MessageBox(DefaultHandlerText(message), FTitle, MB_OK | MB_ICONSTOP);
}

int TApplication::MessageBox(const std::string& text, const std::string& caption, unsigned flags)
{
    return ::MessageBox(nullptr, text, caption, flags);
}

void TApplication::Reset()
{
    FTitle = ExecutableTitle();
    FTerminated = false;
    OnException = nullptr;
    OnShowHint = nullptr;
    FShowHint = true;
    FHintPause = 500;
    FLastHint = {};
    FActive = true;
    FActivationHooks.clear();
}

// ---- Hints -------------------------------------------------------------------------------------------

void TApplication::ActivateHint(TPoint screenPos)
{
    EnsureQtApplication();
    // The control under the point hears the same request as when the mouse rests there.
    QWidget* w = QApplication::widgetAt(screenPos.x, screenPos.y);
    if (!w) {
        CancelHint();
        return;
    }
    const QPoint global(screenPos.x, screenPos.y);
    QHelpEvent request(QEvent::ToolTip, w->mapFromGlobal(global), global);
    QApplication::sendEvent(w, &request);
}

void TApplication::CancelHint()
{
    if (QCoreApplication::instance()) QToolTip::hideText();
    if (FLastHint.Shown && FLastHint.Control) FLastHint.Control->HideOwnHint();
    FLastHint.Shown = false;
}

void TApplication::ForgetHintControl(const TWinControl* control)
{
    if (FLastHint.Control != control) return;
    FLastHint.Control = nullptr;
    FLastHint.Shown = false;
}

void TApplication::ShowControlHint(TWinControl* control, TPoint clientPos)
{
    THintInfo info;
    info.HintControl = control;
    info.CursorPos = clientPos;
    info.CursorRect = control->ClientRect();
    info.HintStr = control->Hint();
    const TPoint screen = control->ClientToScreen(clientPos);
    info.HintPos = {screen.x, screen.y + 20};
    bool canShow = FShowHint && control->ShowHint();
    control->PrepareHint(info, canShow);
    if (OnShowHint) OnShowHint(info.HintStr, canShow, info);
    const bool show = canShow && !info.HintStr.empty();
    FLastHint = {show, info.HintStr, info.HintPos, info.HintControl, info.CursorRect};
    if (!show) {
        QToolTip::hideText();
        if (info.HintControl) info.HintControl->HideOwnHint();
        return;
    }
    if (info.HintControl && info.HintControl->ShowOwnHint(info)) return;
    const TRect& r = info.CursorRect;
    QWidget* w = info.HintControl ? info.HintControl->Widget() : nullptr;
    QToolTip::showText(QPoint(info.HintPos.x, info.HintPos.y), AnsiToQString(info.HintStr), w,
                       QRect(r.Left, r.Top, r.Width(), r.Height()));
}

// ---- Activation and posted work ----------------------------------------------------------------------

int TApplication::HookActivation(std::function<void(bool active)> handler)
{
    QApplication& app = EnsureQtApplication();
    static bool connected = false;
    if (!connected) {
        connected = true;
        QObject::connect(&app, &QGuiApplication::applicationStateChanged, &app, [this](Qt::ApplicationState state) {
            Guarded([&] { ActivationChanged(state == Qt::ApplicationActive); });
        });
    }
    FActivationHooks.emplace_back(FNextHook, std::move(handler));
    return FNextHook++;
}

void TApplication::UnhookActivation(int id)
{
    std::erase_if(FActivationHooks, [id](const auto& h) { return h.first == id; });
}

void TApplication::ActivationChanged(bool active)
{
    if (FActive == active) return;
    FActive = active;
    const auto hooks = FActivationHooks;
    for (const auto& h : hooks) h.second(active);
}

void TApplication::Post(std::function<void()> code)
{
    QApplication& app = EnsureQtApplication();
    QMetaObject::invokeMethod(&app, [this, code = std::move(code)] { Guarded(code); }, Qt::QueuedConnection);
}

std::string DefaultHandlerText(const std::string& message)
{
    if (!message.empty() && static_cast<unsigned char>(message.back()) > static_cast<unsigned char>('.'))
        return message + ".";
    return message;
}
