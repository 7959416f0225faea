// The form base class, modal forms through the prompter, and the form registry.
#include "platform/controls/Forms.h"

#include "platform/controls/AnsiText.h"
#include "platform/controls/Controls.h"
#include "platform/controls/PrompterInternal.h"
#include "platform/controls/QtApplication.h"
#include "platform/rtl/Exceptions.h"

#include <QAbstractButton>
#include <QShowEvent>
#include <QTimer>

#include <algorithm>
#include <cctype>
#include <map>

TForm::TForm(QWidget* owner) : QDialog((EnsureQtApplication(), owner)) {}

TForm::~TForm()
{
    if (OnDestroy) OnDestroy(this);
}

TModalResult TForm::ShowModal()
{
    FModalResult = mrNone;
    return RunModalForm(*this);
}

void TForm::SetModalResult(TModalResult result)
{
    FModalResult = result;
    if (result != mrNone && FCloseDeferred == 0 && isModal() && isVisible()) done(result);
}

void TForm::DeferClose(const std::function<void()>& code)
{
    ++FCloseDeferred;
    try {
        code();
    } catch (...) {
        --FCloseDeferred;
        throw;
    }
    --FCloseDeferred;
    SetModalResult(FModalResult);
}

void TForm::SetButtonModalResult(QAbstractButton* button, TModalResult result)
{
    // A button's result applies after its own click handlers: connect those first.
    QObject::connect(button, &QAbstractButton::clicked, this, [this, result] { SetModalResult(result); });
}

std::string TForm::Caption() const { return QStringToAnsi(windowTitle()); }

void TForm::SetCaption(const std::string& caption) { setWindowTitle(AnsiToQString(caption)); }

void TForm::showEvent(QShowEvent* event)
{
    if (!event->spontaneous() && OnShow) OnShow(this);
    QDialog::showEvent(event);
}

bool TForm::event(QEvent* event)
{
    if (event->type() == QEvent::WindowDeactivate && OnDeactivate) Application->Guarded([this] { OnDeactivate(this); });
    return QDialog::event(event);
}

void TForm::done(int result)
{
    // Closing the window or pressing Escape rejects with 0, which is a Cancel for the program.
    FModalResult = result == QDialog::Rejected ? mrCancel : result;
    if (OnClose) OnClose(this);
    QDialog::done(FModalResult);
}

QWidget* ControlWidget(TWinControl* control) { return control ? control->Widget() : nullptr; }

TForm* ParentForm(TWinControl* control)
{
    for (QWidget* w = ControlWidget(control); w; w = w->parentWidget())
        if (auto* form = dynamic_cast<TForm*>(w)) return form;
    return nullptr;
}

namespace {

// Runs the script on the live form from inside its modal loop, so that show handlers have run and the
// form's buttons close it as they would for a user.
void DriveModalForm(TForm& form, TPromptScript& script, TPrompt& prompt)
{
    QTimer::singleShot(0, &form, [&form, &script, &prompt] {
        try {
            script.Answer(prompt);
        } catch (const std::exception& e) {
            script.NoteFailure(std::string("form script raised: ") + e.what());
        }
        if (form.isVisible()) {
            script.NoteFailure("form \"" + form.Caption() + "\" left open by its script");
            form.done(mrCancel);
        }
    });
    form.exec();
}

} // namespace

TModalResult RunModalForm(TForm& form)
{
    EnsureQtApplication();
    TPrompt prompt;
    prompt.Kind = TPromptKind::Form;
    prompt.Caption = form.Caption();
    prompt.Form = &form;
    if (TPromptScript* script = ActivePromptScript()) {
        DriveModalForm(form, *script, prompt);
    } else if (PromptsUnattended()) {
        NoteUnattendedPrompt(prompt);
        return mrCancel;
    } else {
        form.exec();
    }
    const TModalResult result = form.ModalResult() == mrNone ? mrCancel : form.ModalResult();
    prompt.Result = result;
    prompt.Form = nullptr;  // the log outlives the form
    if (TPromptScript* script = ActivePromptScript()) script->Record(prompt);
    return result;
}

// ---- Form registry -----------------------------------------------------------------------------------

namespace {

std::string LowerName(const std::string& name)
{
    std::string lower = name;
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return lower;
}

struct TFormRegistryState {
    std::map<std::string, TFormFactory> Classes;  // by lower-case class name
};

TFormRegistryState& FormRegistry()
{
    static TFormRegistryState state;
    return state;
}

} // namespace

void RegisterFormClass(const std::string& className, TFormFactory factory)
{
    if (className.empty() || !factory) throw EInvalidOperation("Form class registered without name or factory");
    FormRegistry().Classes[LowerName(className)] = std::move(factory);
}

void UnregisterFormClass(const std::string& className) { FormRegistry().Classes.erase(LowerName(className)); }

TFormFactory FindFormClass(const std::string& className)
{
    const auto& classes = FormRegistry().Classes;
    const auto it = classes.find(LowerName(className));
    return it == classes.end() ? TFormFactory() : it->second;
}

std::unique_ptr<TForm> CreateFormByClassName(const std::string& className, QWidget* owner)
{
    const TFormFactory factory = FindFormClass(className);
    return factory ? factory(owner) : nullptr;
}

void ResetFormRegistry() { FormRegistry() = TFormRegistryState(); }
