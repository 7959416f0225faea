// The application object: the message pump, the application title and the default exception handler
// that every exception escaping a user action (an event of a control, a timer, a form) reaches.
#pragma once

#include "platform/rtl/Exceptions.h"

#include <exception>
#include <functional>
#include <string>

class TApplication {
public:
    TApplication();

    // Creates the GUI application with the program's command line. Optional: the platform layer creates
    // one without arguments on first need.
    void Initialize(int& argc, char** argv);
    // Runs the message loop until Terminate.
    void Run();
    void Terminate();
    bool Terminated() const { return FTerminated; }

    // One turn of the message loop: handles every pending event (input, timers, paints), then returns.
    void ProcessMessages();

    // Caption of the application's message boxes; the executable's name until the program sets one.
    const std::string& Title() const { return FTitle; }
    void SetTitle(const std::string& title) { FTitle = title; }

    // The default handler: EAbort ends the action silently; otherwise OnException when set, else
    // ShowException. Call HandleCurrentException inside a catch block.
    void HandleException(const std::exception& e);
    void HandleCurrentException();
    // The message box of an unhandled exception: the application title as caption, the message with
    // DefaultHandlerText's full stop, an OK button.
    void ShowException(const std::exception& e);

    // A message box through the prompter; flags and result as in the platform's MB_ and ID values.
    int MessageBox(const std::string& text, const std::string& caption, unsigned flags);

    // Runs program code called from the platform (an event handler) behind the exception barrier.
    template <class F>
    void Guarded(F&& code)
    {
        try {
            code();
        } catch (...) {
            HandleCurrentException();
        }
    }

    // Replaces the default message box of HandleException.
    std::function<void(TApplication& sender, const std::exception& e)> OnException;

    // Back to the start-up state (tests).
    void Reset();

private:
    std::string FTitle;
    bool FTerminated = false;
};

// The message of the default handler: "." appended only when the last character sorts after ".".
std::string DefaultHandlerText(const std::string& message);

// The process's application object.
extern TApplication* const Application;
