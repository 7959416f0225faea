// The application object over Qt's application: pump, title, default exception handler.
#include "platform/controls/Application.h"

#include "platform/controls/Prompter.h"
#include "platform/controls/QtApplication.h"
#include "platform/rtl/CommandLine.h"

#include <QApplication>
#include <QEventLoop>

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
}

std::string DefaultHandlerText(const std::string& message)
{
    if (!message.empty() && static_cast<unsigned char>(message.back()) > static_cast<unsigned char>('.'))
        return message + ".";
    return message;
}
