// The prompter: every message box, input box, common dialog (file, colour, font, printer) and modal form
// of the program goes through it. In tests a TPromptScript answers each prompt in turn, so no window has
// to wait for a user; forms are handed live to the script, which sets their controls and presses a button.
#pragma once

#include "platform/graphics/GraphicsTypes.h"

#include <cstdint>
#include <deque>
#include <functional>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

class TWinControl;
class TForm;
class TFont;
class TMenuItem;

// ---- Modal results and message-box vocabulary --------------------------------------------------------

using TModalResult = int;
constexpr TModalResult mrNone = 0, mrOk = 1, mrCancel = 2, mrAbort = 3, mrRetry = 4, mrIgnore = 5,
                       mrYes = 6, mrNo = 7, mrAll = 8, mrNoToAll = 9, mrYesToAll = 10;

enum TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };

enum TMsgDlgBtn { mbYes, mbNo, mbOK, mbCancel, mbAbort, mbRetry, mbIgnore, mbAll, mbNoToAll, mbYesToAll,
                  mbHelp };

// A set of message-dialog buttons, e.g. TMsgDlgButtons{mbYes, mbNo}.
class TMsgDlgButtons {
public:
    constexpr TMsgDlgButtons() = default;
    constexpr TMsgDlgButtons(std::initializer_list<TMsgDlgBtn> buttons)
    {
        for (TMsgDlgBtn b : buttons) FBits |= 1u << b;
    }
    constexpr bool Contains(TMsgDlgBtn b) const { return (FBits >> b) & 1u; }
    constexpr void Include(TMsgDlgBtn b) { FBits |= 1u << b; }
    constexpr bool Empty() const { return FBits == 0; }
    constexpr bool operator==(const TMsgDlgButtons&) const = default;

private:
    unsigned FBits = 0;
};

// The modal result a button of a message dialog gives.
TModalResult ModalResultOfButton(TMsgDlgBtn button);

// Flags and results of the platform's message box.
constexpr unsigned MB_OK = 0x0, MB_OKCANCEL = 0x1, MB_ABORTRETRYIGNORE = 0x2, MB_YESNOCANCEL = 0x3,
                   MB_YESNO = 0x4, MB_RETRYCANCEL = 0x5, MB_ICONHAND = 0x10, MB_ICONSTOP = 0x10,
                   MB_ICONERROR = 0x10, MB_ICONQUESTION = 0x20, MB_ICONEXCLAMATION = 0x30,
                   MB_ICONWARNING = 0x30, MB_ICONASTERISK = 0x40, MB_ICONINFORMATION = 0x40,
                   MB_DEFBUTTON1 = 0x000, MB_DEFBUTTON2 = 0x100, MB_DEFBUTTON3 = 0x200;
constexpr int IDOK = 1, IDCANCEL = 2, IDABORT = 3, IDRETRY = 4, IDIGNORE = 5, IDYES = 6, IDNO = 7;

// ---- Data of the common dialogs ----------------------------------------------------------------------

// Open and save dialogs. Filter is "Description|patterns|Description|patterns"; FilterIndex counts from 1.
enum TOpenOption : unsigned {
    ofOverwritePrompt = 1u << 0,
    ofFileMustExist = 1u << 1,
    ofPathMustExist = 1u << 2,
    ofAllowMultiSelect = 1u << 3,
    ofHideReadOnly = 1u << 4,
    ofNoChangeDir = 1u << 5,
};
struct TFileDialogData {
    std::string Title;
    std::string Filter;
    int FilterIndex = 1;
    std::string InitialDir;
    std::string DefaultExt;   // without the dot; appended to a chosen name that has no extension
    std::string FileName;     // in: the proposed name; out: the chosen one (the first when several)
    std::vector<std::string> Files;  // out: every chosen file
    unsigned Options = 0;     // TOpenOption flags
};

// Colour dialog. CustomColors holds lines "ColorA=HHHHHHHH" .. "ColorP=HHHHHHHH" (hexadecimal colour
// values, A..H the first row, I..P the second); the dialog reads what it is given and, when confirmed,
// writes all sixteen back in that form.
struct TColorDialogData {
    TColor Color = 0;
    std::vector<std::string> CustomColors;
    bool FullOpen = false;
};

// Font dialog: a font as the dialogs show it.
struct TFontDialogData {
    std::string Name = "Arial";
    int Size = 8;          // points
    TFontStyles Style;
    TColor Color = 0;      // kept: the dialog offers no colour
};

// Print dialog: the printer's copies and page range; confirming it applies the choice to the printer.
struct TPrintDialogData {
    int Copies = 1;
    int FromPage = 0, ToPage = 0;  // 0, 0: all pages
};

// ---- Prompts as a script sees them -------------------------------------------------------------------

enum class TPromptKind { MessageBox, InputBox, OpenDialog, SaveDialog, ColorDialog, FontDialog,
                         PrintDialog, PrinterSetupDialog, Form, PopupMenu };

// One question to the user. The prompter fills the question and a default answer; a script sets Result
// (and, for input and the common dialogs, the data) to answer it.
struct TPrompt {
    TPromptKind Kind = TPromptKind::MessageBox;
    std::string Caption;
    std::string Text;                // message, or prompt of an input box
    TMsgDlgType DlgType = mtCustom;  // message boxes
    TMsgDlgButtons Buttons;          // message boxes
    bool Positioned = false;         // message boxes placed by the program: top-left corner at Position
    TPoint Position;                 // (screen pixels)
    std::string Value;               // input boxes: in the default, out the answer
    TFileDialogData* File = nullptr;
    TColorDialogData* Color = nullptr;
    TFontDialogData* Font = nullptr;
    TPrintDialogData* Print = nullptr;
    TForm* Form = nullptr;
    TMenuItem* Menu = nullptr;       // pop-up menus: the item whose sub-items are shown (at Position);
    int MenuIndex = -1;              // the script picks one by index with mrOk, or none
    TModalResult Result = mrCancel;  // mrOk confirms a dialog or input box
};

const char* PromptKindName(TPromptKind kind);

// Answers the prompts of a test in the order they come. Installing a script (constructing it) makes the
// prompter scripted until it is destroyed; one script at a time. A prompt of another kind than the next
// answer, or one that comes when no answer is left, is answered with its default and recorded as a
// failure, so that a test sees it instead of hanging on a window.
class TPromptScript {
public:
    using THandler = std::function<void(TPrompt&)>;

    TPromptScript();
    ~TPromptScript();
    TPromptScript(const TPromptScript&) = delete;
    TPromptScript& operator=(const TPromptScript&) = delete;

    // The next prompt must be of this kind; the handler answers it.
    TPromptScript& Expect(TPromptKind kind, THandler handler);
    // Shortcuts: a message box answered by a result; an input box answered with a text (OK) or cancelled.
    TPromptScript& AnswerMessage(TModalResult result);
    TPromptScript& AnswerInput(const std::string& value);
    TPromptScript& CancelInput();
    // A modal form: the script gets the live form (shown, its show handlers run) and presses a button.
    TPromptScript& DriveForm(std::function<void(TForm&)> script);

    // Every prompt met so far, as answered.
    const std::vector<TPrompt>& Log() const { return FLog; }
    // Prompts answered by default because the script had no fitting answer, and unused answers.
    const std::vector<std::string>& Failures() const { return FFailures; }
    std::size_t Pending() const { return FAnswers.size(); }

    // Called by the prompter: answers a prompt with the next answer, records it in the log, notes a
    // failure (a prompt the script cannot answer, a form left open).
    void Answer(TPrompt& prompt);
    void Record(const TPrompt& prompt);
    void NoteFailure(const std::string& failure);

private:
    struct TAnswer {
        TPromptKind Kind;
        THandler Handler;
    };
    std::deque<TAnswer> FAnswers;
    std::vector<TPrompt> FLog;
    std::vector<std::string> FFailures;
    TPromptScript* FPrevious = nullptr;
};

// ---- The prompts -------------------------------------------------------------------------------------
// The owner control, when given, parents the window; nullptr uses the active window.

// A message box with the platform's flags; returns IDOK, IDCANCEL, IDYES, ...
int MessageBox(TWinControl* owner, const std::string& text, const std::string& caption, unsigned flags);
// A message dialog of a type with buttons; caption "Warning", "Error", "Information", "Confirm" or, for
// mtCustom, the application title. Returns the modal result of the pressed button.
TModalResult MessageDlg(const std::string& text, TMsgDlgType type, TMsgDlgButtons buttons);
// MessageDlg with the box's top-left corner at a screen position.
TModalResult MessageDlgPos(const std::string& text, TMsgDlgType type, TMsgDlgButtons buttons, int x, int y);
// An information box with an OK button, captioned with the application title.
void ShowMessage(const std::string& text);
// An input box: the edited value on OK, the default on Cancel.
std::string InputBox(const std::string& caption, const std::string& prompt, const std::string& value);
// An input box: true and the edited value on OK; false, value unchanged, on Cancel.
bool InputQuery(const std::string& caption, const std::string& prompt, std::string& value);

// Common dialogs: true when confirmed (the data then holds the answer); false leaves it unchanged.
bool ExecuteOpenDialog(TWinControl* owner, TFileDialogData& data);
bool ExecuteSaveDialog(TWinControl* owner, TFileDialogData& data);
bool ExecuteColorDialog(TWinControl* owner, TColorDialogData& data);
bool ExecuteFontDialog(TWinControl* owner, TFontDialogData& data);
// The font dialog on a copy of the font; on OK the font takes name, size and style (its colour and
// other settings stay).
bool ExecuteFontDialog(TWinControl* owner, TFont& font);
// The print dialog for the process's printer (copies, page range); raises EPrinter when there is no
// printer, as the platform's dialog cannot open then.
bool ExecutePrintDialog(TWinControl* owner, TPrintDialogData& data);
// The page setup of the process's printer (orientation); raises EPrinter when there is no printer.
bool ExecutePrinterSetupDialog(TWinControl* owner);

// Parses one custom-colour line "ColorX=hex": slot 0..15 and value; false for a line of another form.
bool ParseCustomColorLine(const std::string& line, int& slot, TColor& value);
// "ColorX=HHHHHHHH" for slot 0..15.
std::string CustomColorLine(int slot, TColor value);
