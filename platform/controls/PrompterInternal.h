// What the prompter's parts share: the active test script and the rule for prompts nobody can answer.
#pragma once

#include "platform/controls/Prompter.h"

class QWidget;

// The installed script, or nullptr when the prompter shows real windows.
TPromptScript* ActivePromptScript();

// True when no user can answer a window (the offscreen and minimal platforms): prompts are then answered
// with their default, and a note goes to the error output.
bool PromptsUnattended();
// Shows real windows even on those platforms (tests that drive a platform dialog themselves).
void SetShowWindowsUnattended(bool show);
void NoteUnattendedPrompt(const TPrompt& prompt);

// The window that parents a dialog of the owner control (the active window when there is none).
QWidget* DialogParent(TWinControl* owner);
