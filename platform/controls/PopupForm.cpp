// The pop-up window: a frameless tool window that reports its deactivation; freed from the message loop
// when released, so that a handler of its own may release it.
#include "platform/controls/PopupForm.h"

#include "platform/controls/Application.h"
#include "platform/controls/ControlWidget.h"

#include <QEvent>
#include <QWidget>

struct TPopupForm::Native : QWidget {
    explicit Native(TPopupForm* owner) : QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint), Owner(owner) {}
    bool event(QEvent* e) override
    {
        if (e->type() == QEvent::WindowDeactivate && Owner) Application->Guarded([this] { Owner->Deactivate(); });
        return QWidget::event(e);
    }
    TPopupForm* Owner;
};

const TClassInfo& TPopupForm::StaticClassInfo()
{
    static const TClassInfo info({.Name = "TPopupForm", .Parent = &TWinControl::StaticClassInfo()});
    return info;
}

TPopupForm::TPopupForm(TComponent* AOwner) : TWinControl(AOwner, NewControlWidget<Native>(this)) {}

TPopupForm::~TPopupForm() { static_cast<Native*>(Widget())->Owner = nullptr; }

void TPopupForm::ShowPopup()
{
    QWidget* w = Widget();
    w->show();
    w->raise();
    w->activateWindow();
}

bool TPopupForm::IsShown() const { return Widget()->isVisible(); }

void TPopupForm::Release()
{
    if (FReleased) return;
    FReleased = true;
    Widget()->hide();
    Application->Post([this] { Free(); });
}

void TPopupForm::Deactivate()
{
    if (!FReleased && OnDeactivate) OnDeactivate(this);
}
