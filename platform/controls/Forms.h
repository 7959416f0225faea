// Forms: the base class of the program's dialogs (Qt Widgets code, one class per form with the form's own
// name), modal showing through the prompter, and the registry that finds form classes by class name.
#pragma once

#include "platform/controls/Application.h"
#include "platform/controls/Prompter.h"

#include <QDialog>

#include <functional>
#include <memory>
#include <string>

class QAbstractButton;
class TWinControl;

class TForm : public QDialog {
public:
    // The owner's window parents the form (nullptr: a top-level form).
    explicit TForm(QWidget* owner = nullptr);
    ~TForm() override;

    // Shows the form modally through the prompter and returns its modal result (mrCancel when closed
    // otherwise than by a button with a result).
    TModalResult ShowModal();

    // Setting a result other than mrNone while the form is modal closes it with that result.
    TModalResult ModalResult() const { return FModalResult; }
    void SetModalResult(TModalResult result);
    // Runs code during which a result set does not close the form yet; afterwards the form closes when
    // its result is still set (a button's click handler may so clear the result its button set).
    void DeferClose(const std::function<void()>& code);
    // The button closes the modal form with the result when clicked; connect its own click handlers
    // first, so that they run before the form closes.
    void SetButtonModalResult(QAbstractButton* button, TModalResult result);

    // The form's caption as 8-bit text.
    std::string Caption() const;
    void SetCaption(const std::string& caption);

    // Handlers of the form's life: show (before it appears), close (result known), destroy.
    std::function<void(TForm* sender)> OnShow, OnClose, OnDestroy;
    // The form stopped being the active window (another window, or none, took the activation).
    std::function<void(TForm* sender)> OnDeactivate;

    // Closes the form with a result (Escape and the window's close button give mrCancel).
    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;
    bool event(QEvent* event) override;

private:
    TModalResult FModalResult = mrNone;
    int FCloseDeferred = 0;
};

// The widget of a control, to parent a form on a control of the program (nullptr for nullptr).
QWidget* ControlWidget(TWinControl* control);

// The form a control stands on (through its parents); nullptr when it is on none.
TForm* ParentForm(TWinControl* control);

// Runs a form modally through the prompter (TForm::ShowModal calls it).
TModalResult RunModalForm(TForm& form);

// Connects a signal of a form's widget to program code behind the exception barrier: an exception the
// code raises ends the action at the application's default handler, as for the program's own events.
template <class Sender, class Signal, class Code>
QMetaObject::Connection ConnectGuarded(Sender* sender, Signal signal, QObject* context, Code code)
{
    return QObject::connect(sender, signal, context, [code](auto&&... args) {
        Application->Guarded([&] { code(std::forward<decltype(args)>(args)...); });
    });
}

// ---- Form registry -----------------------------------------------------------------------------------

using TFormFactory = std::function<std::unique_ptr<TForm>(QWidget* owner)>;

// Registers a form class under its class name (case-insensitive, as class names are found).
void RegisterFormClass(const std::string& className, TFormFactory factory);
template <class T>
void RegisterFormClass(const std::string& className)
{
    RegisterFormClass(className, [](QWidget* owner) { return std::make_unique<T>(owner); });
}
void UnregisterFormClass(const std::string& className);
// The factory of a registered class, or an empty function.
TFormFactory FindFormClass(const std::string& className);
// A new form of a registered class, or nullptr for an unknown name.
std::unique_ptr<TForm> CreateFormByClassName(const std::string& className, QWidget* owner = nullptr);
// Forgets every registration (tests).
void ResetFormRegistry();
