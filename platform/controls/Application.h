// The application object: the message pump, the application title and the default exception handler
// that every exception escaping a user action (an event of a control, a timer, a form) reaches.
#pragma once

#include "platform/graphics/GraphicsTypes.h"
#include "platform/rtl/Exceptions.h"

#include <exception>
#include <functional>
#include <string>
#include <utility>
#include <vector>

class TWinControl;

// What a hint about to show is made of; the control under the mouse and then the application's
// OnShowHint may change every field.
struct THintInfo {
    TWinControl* HintControl = nullptr;
    TPoint HintPos;             // screen position of the hint's top-left corner
    int HintMaxWidth = 0;
    TColor HintColor = clInfoBk;
    TRect CursorRect;           // HintControl's client pixels: the hint stays while the mouse stays inside
    TPoint CursorPos;           // the mouse in HintControl's client pixels
    std::string HintStr;
};

// A hint as it was last shown or refused (tests read it).
struct THintRecord {
    bool Shown = false;
    std::string Text;
    TPoint Pos;
    TWinControl* Control = nullptr;
    TRect CursorRect;
};

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

    // --- Hints. The mouse resting on a control, or ActivateHint, asks the control under the point to
    // prepare its hint (HintStr its Hint, CursorRect its client area, HintPos 20 pixels below the mouse),
    // then OnShowHint; the hint shows when allowed and not empty, at HintPos, until the mouse leaves
    // CursorRect.
    void ActivateHint(TPoint screenPos);
    void CancelHint();
    const THintRecord& LastHint() const { return FLastHint; }
    // A control that goes away is no longer the one whose hint shows.
    void ForgetHintControl(const TWinControl* control);
    // The application-wide switch: no hint shows while it is off.
    bool ShowHint() const { return FShowHint; }
    void SetShowHint(bool v) { FShowHint = v; }
    std::function<void(std::string& HintStr, bool& CanShow, THintInfo& HintInfo)> OnShowHint;
    // How long, in milliseconds, the mouse rests on a control before its hint shows (500 at start); one
    // pause for every control of the application.
    int HintPause() const { return FHintPause; }
    void SetHintPause(int v) { FHintPause = v < 0 ? 0 : v; }
    // The hint flow for a control and a point in its client pixels (the platform calls it).
    void ShowControlHint(TWinControl* control, TPoint clientPos);

    // --- Activation: whether one of the program's windows is the active window of the desktop.
    bool Active() const { return FActive; }
    // Handlers told of every change (true: activated), as a hook on the application's own window sees
    // its activation messages; returns an id for UnhookActivation.
    int HookActivation(std::function<void(bool active)> handler);
    void UnhookActivation(int id);
    // Called by the platform when the desktop activates or deactivates the program (tests call it too).
    void ActivationChanged(bool active);

    // Runs code at a later turn of the message loop, behind the exception barrier (a posted message).
    void Post(std::function<void()> code);

    // Back to the start-up state (tests).
    void Reset();

private:
    std::string FTitle;
    bool FTerminated = false;
    bool FShowHint = true;
    int FHintPause = 500;
    THintRecord FLastHint;
    bool FActive = true;
    std::vector<std::pair<int, std::function<void(bool)>>> FActivationHooks;
    int FNextHook = 1;
};

// The message of the default handler: "." appended only when the last character sorts after ".".
std::string DefaultHandlerText(const std::string& message);

// The process's application object.
extern TApplication* const Application;
