// What the prompter's parts share: the active test script and the rule for prompts nobody can answer.
#pragma once

#include "platform/controls/Prompter.h"

#include <functional>

class QWidget;

// The installed script, or nullptr when the prompter shows real windows.
TPromptScript* ActivePromptScript();

// True when no user can answer a window (the offscreen and minimal platforms): prompts are then answered
// with their default, and a note goes to the error output.
bool PromptsUnattended();
// Shows real windows even on those platforms (tests that drive a platform dialog themselves).
void SetShowWindowsUnattended(bool show);
void NoteUnattendedPrompt(const TPrompt& prompt);

// Puts a prompt, its default Result already set, to the script, to nobody (the default stands) or to the
// user through the given window code.
void DispatchPrompt(TPrompt& prompt, const std::function<void(TPrompt&)>& showWindow);

// The window that parents a dialog of the owner control (the active window when there is none).
QWidget* DialogParent(TWinControl* owner);
