// The prompter: the test script, the default answers, and the message and input boxes over Qt.
#include "platform/controls/Prompter.h"

#include "platform/controls/AnsiText.h"
#include "platform/controls/Application.h"
#include "platform/controls/Forms.h"
#include "platform/controls/PrompterInternal.h"
#include "platform/controls/QtApplication.h"
#include "platform/rtl/Exceptions.h"

#include <QApplication>
#include <QGuiApplication>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>

#include <array>
#include <cstdio>
#include <utility>

namespace {

struct TPrompterState {
    TPromptScript* Script = nullptr;
    bool ShowWindowsUnattended = false;
};

TPrompterState& PrompterState()
{
    static TPrompterState state;
    return state;
}

// The answer given when nobody answers: the most cautious button of a message box, Cancel otherwise.
TModalResult DefaultResult(const TPrompt& prompt)
{
    if (prompt.Kind != TPromptKind::MessageBox) return mrCancel;
    static constexpr std::array<TMsgDlgBtn, 4> kCautious = {mbCancel, mbNo, mbAbort, mbOK};
    for (TMsgDlgBtn b : kCautious)
        if (prompt.Buttons.Contains(b)) return ModalResultOfButton(b);
    for (int b = mbYes; b <= mbHelp; ++b)
        if (prompt.Buttons.Contains(static_cast<TMsgDlgBtn>(b))) return ModalResultOfButton(static_cast<TMsgDlgBtn>(b));
    return mrOk;
}

std::string Describe(const TPrompt& prompt)
{
    std::string text = std::string(PromptKindName(prompt.Kind)) + " \"" + prompt.Caption + "\"";
    if (!prompt.Text.empty()) text += ": \"" + prompt.Text + "\"";
    return text;
}

// Puts a prompt to the script, to nobody (default answer) or to the user through the given window code.
void Ask(TPrompt& prompt, const std::function<void(TPrompt&)>& showWindow)
{
    prompt.Result = DefaultResult(prompt);
    DispatchPrompt(prompt, showWindow);
}

QMessageBox::StandardButton QtButton(TMsgDlgBtn b)
{
    switch (b) {
    case mbYes: return QMessageBox::Yes;
    case mbNo: return QMessageBox::No;
    case mbOK: return QMessageBox::Ok;
    case mbCancel: return QMessageBox::Cancel;
    case mbAbort: return QMessageBox::Abort;
    case mbRetry: return QMessageBox::Retry;
    case mbIgnore: return QMessageBox::Ignore;
    case mbNoToAll: return QMessageBox::NoToAll;
    case mbYesToAll: return QMessageBox::YesToAll;
    case mbHelp: return QMessageBox::Help;
    case mbAll: break;
    }
    return QMessageBox::Ok;
}

QMessageBox::Icon QtIcon(TMsgDlgType type)
{
    switch (type) {
    case mtWarning: return QMessageBox::Warning;
    case mtError: return QMessageBox::Critical;
    case mtInformation: return QMessageBox::Information;
    case mtConfirmation: return QMessageBox::Question;
    case mtCustom: break;
    }
    return QMessageBox::NoIcon;
}

void ShowMessageWindow(TPrompt& prompt, TWinControl* owner, TMsgDlgBtn defaultButton)
{
    QMessageBox box(QtIcon(prompt.DlgType), AnsiToQString(prompt.Caption), AnsiToQString(prompt.Text),
                    QMessageBox::NoButton, DialogParent(owner));
    std::vector<std::pair<QAbstractButton*, TMsgDlgBtn>> buttons;
    for (int b = mbYes; b <= mbHelp; ++b) {
        const auto btn = static_cast<TMsgDlgBtn>(b);
        if (!prompt.Buttons.Contains(btn)) continue;
        // The box has no standard "All" button; it gets one of its own.
        QAbstractButton* qb = btn == mbAll ? box.addButton(QStringLiteral("&All"), QMessageBox::AcceptRole)
                                           : box.addButton(QtButton(btn));
        buttons.emplace_back(qb, btn);
        if (btn == defaultButton) box.setDefaultButton(static_cast<QPushButton*>(qb));
    }
    if (prompt.Positioned) box.move(prompt.Position.x, prompt.Position.y);
    box.exec();
    for (const auto& [qb, btn] : buttons)
        if (box.clickedButton() == qb) prompt.Result = ModalResultOfButton(btn);
}

// Buttons of the platform's message box flags, in the order they appear.
std::vector<TMsgDlgBtn> ButtonsOfFlags(unsigned flags)
{
    switch (flags & 0xF) {
    case MB_OKCANCEL: return {mbOK, mbCancel};
    case MB_ABORTRETRYIGNORE: return {mbAbort, mbRetry, mbIgnore};
    case MB_YESNOCANCEL: return {mbYes, mbNo, mbCancel};
    case MB_YESNO: return {mbYes, mbNo};
    case MB_RETRYCANCEL: return {mbRetry, mbCancel};
    default: return {mbOK};
    }
}

TMsgDlgType TypeOfFlags(unsigned flags)
{
    switch (flags & 0xF0) {
    case MB_ICONSTOP: return mtError;
    case MB_ICONQUESTION: return mtConfirmation;
    case MB_ICONWARNING: return mtWarning;
    case MB_ICONINFORMATION: return mtInformation;
    default: return mtCustom;
    }
}

const char* CaptionOfType(TMsgDlgType type)
{
    switch (type) {
    case mtWarning: return "Warning";
    case mtError: return "Error";
    case mtInformation: return "Information";
    case mtConfirmation: return "Confirm";
    case mtCustom: break;
    }
    return nullptr;
}

} // namespace

// ---- Shared with the other parts of the prompter -----------------------------------------------------

TPromptScript* ActivePromptScript() { return PrompterState().Script; }

bool PromptsUnattended()
{
    if (PrompterState().ShowWindowsUnattended) return false;
    const QString platform = QGuiApplication::platformName();
    return platform == QLatin1String("offscreen") || platform == QLatin1String("minimal");
}

void SetShowWindowsUnattended(bool show) { PrompterState().ShowWindowsUnattended = show; }

void NoteUnattendedPrompt(const TPrompt& prompt)
{
    std::fprintf(stderr, "unanswered %s (no user on this display)\n", Describe(prompt).c_str());
}

void DispatchPrompt(TPrompt& prompt, const std::function<void(TPrompt&)>& showWindow)
{
    EnsureQtApplication();
    if (TPromptScript* script = ActivePromptScript()) {
        script->Answer(prompt);
        script->Record(prompt);
    } else if (PromptsUnattended()) {
        NoteUnattendedPrompt(prompt);
    } else {
        showWindow(prompt);
    }
}

// ---- Script ------------------------------------------------------------------------------------------

const char* PromptKindName(TPromptKind kind)
{
    switch (kind) {
    case TPromptKind::MessageBox: return "message box";
    case TPromptKind::InputBox: return "input box";
    case TPromptKind::OpenDialog: return "open dialog";
    case TPromptKind::SaveDialog: return "save dialog";
    case TPromptKind::ColorDialog: return "colour dialog";
    case TPromptKind::FontDialog: return "font dialog";
    case TPromptKind::PrintDialog: return "print dialog";
    case TPromptKind::PrinterSetupDialog: return "printer setup dialog";
    case TPromptKind::Form: return "form";
    case TPromptKind::PopupMenu: return "pop-up menu";
    }
    return "prompt";
}

TPromptScript::TPromptScript()
{
    if (PrompterState().Script) throw EInvalidOperation("A prompt script is already installed");
    PrompterState().Script = this;
}

TPromptScript::~TPromptScript() { PrompterState().Script = nullptr; }

TPromptScript& TPromptScript::Expect(TPromptKind kind, THandler handler)
{
    FAnswers.push_back({kind, std::move(handler)});
    return *this;
}

TPromptScript& TPromptScript::AnswerMessage(TModalResult result)
{
    return Expect(TPromptKind::MessageBox, [result](TPrompt& p) { p.Result = result; });
}

TPromptScript& TPromptScript::AnswerInput(const std::string& value)
{
    return Expect(TPromptKind::InputBox, [value](TPrompt& p) {
        p.Value = value;
        p.Result = mrOk;
    });
}

TPromptScript& TPromptScript::CancelInput()
{
    return Expect(TPromptKind::InputBox, [](TPrompt& p) { p.Result = mrCancel; });
}

TPromptScript& TPromptScript::DriveForm(std::function<void(TForm&)> script)
{
    return Expect(TPromptKind::Form, [script = std::move(script)](TPrompt& p) { script(*p.Form); });
}

void TPromptScript::Answer(TPrompt& prompt)
{
    if (FAnswers.empty()) {
        NoteFailure("no answer left for " + Describe(prompt));
        return;
    }
    if (FAnswers.front().Kind != prompt.Kind) {
        NoteFailure(std::string("expected ") + PromptKindName(FAnswers.front().Kind) + ", got " +
                    Describe(prompt));
        return;
    }
    THandler handler = std::move(FAnswers.front().Handler);
    FAnswers.pop_front();
    if (handler) handler(prompt);
}

void TPromptScript::Record(const TPrompt& prompt) { FLog.push_back(prompt); }

void TPromptScript::NoteFailure(const std::string& failure) { FFailures.push_back(failure); }

// ---- Message and input boxes -------------------------------------------------------------------------

TModalResult ModalResultOfButton(TMsgDlgBtn button)
{
    static constexpr std::array<TModalResult, 11> kResults = {mrYes, mrNo,  mrOk,       mrCancel,
                                                             mrAbort, mrRetry, mrIgnore, mrAll,
                                                             mrNoToAll, mrYesToAll, mrNone};
    return kResults[static_cast<std::size_t>(button)];
}

int MessageBox(TWinControl* owner, const std::string& text, const std::string& caption, unsigned flags)
{
    TPrompt prompt;
    prompt.Caption = caption;
    prompt.Text = text;
    prompt.DlgType = TypeOfFlags(flags);
    const std::vector<TMsgDlgBtn> buttons = ButtonsOfFlags(flags);
    for (TMsgDlgBtn b : buttons) prompt.Buttons.Include(b);
    const std::size_t defaultIndex = std::min<std::size_t>((flags >> 8) & 0xF, buttons.size() - 1);
    Ask(prompt, [&](TPrompt& p) { ShowMessageWindow(p, owner, buttons[defaultIndex]); });
    // The box's results are the platform's IDOK .. IDNO, which equal the modal results.
    return prompt.Result;
}

TModalResult MessageDlg(const std::string& text, TMsgDlgType type, TMsgDlgButtons buttons)
{
    return MessageDlgPos(text, type, buttons, -1, -1);
}

TModalResult MessageDlgPos(const std::string& text, TMsgDlgType type, TMsgDlgButtons buttons, int x, int y)
{
    TPrompt prompt;
    // The platform's rule: a position of -1, -1 centres the box.
    prompt.Positioned = x >= 0 || y >= 0;
    prompt.Position = {x, y};
    const char* caption = CaptionOfType(type);
    prompt.Caption = caption ? caption : Application->Title();
    prompt.Text = text;
    prompt.DlgType = type;
    prompt.Buttons = buttons.Empty() ? TMsgDlgButtons{mbOK} : buttons;
    TMsgDlgBtn first = mbOK;
    for (int b = mbHelp; b >= mbYes; --b)
        if (prompt.Buttons.Contains(static_cast<TMsgDlgBtn>(b))) first = static_cast<TMsgDlgBtn>(b);
    Ask(prompt, [&](TPrompt& p) { ShowMessageWindow(p, nullptr, first); });
    return prompt.Result;
}

void ShowMessage(const std::string& text)
{
    TPrompt prompt;
    prompt.Caption = Application->Title();
    prompt.Text = text;
    prompt.DlgType = mtCustom;
    prompt.Buttons = {mbOK};
    Ask(prompt, [&](TPrompt& p) { ShowMessageWindow(p, nullptr, mbOK); });
}

bool InputQuery(const std::string& caption, const std::string& promptText, std::string& value)
{
    TPrompt prompt;
    prompt.Kind = TPromptKind::InputBox;
    prompt.Caption = caption;
    prompt.Text = promptText;
    prompt.Value = value;
    Ask(prompt, [](TPrompt& p) {
        bool ok = false;
        const QString answer = QInputDialog::getText(DialogParent(nullptr), AnsiToQString(p.Caption),
                                                     AnsiToQString(p.Text), QLineEdit::Normal,
                                                     AnsiToQString(p.Value), &ok);
        p.Result = ok ? mrOk : mrCancel;
        if (ok) p.Value = QStringToAnsi(answer);
    });
    if (prompt.Result != mrOk) return false;
    value = prompt.Value;
    return true;
}

std::string InputBox(const std::string& caption, const std::string& promptText, const std::string& value)
{
    std::string result = value;
    InputQuery(caption, promptText, result);
    return result;
}
