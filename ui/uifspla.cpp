// The splash window's components and handlers: a caption everywhere (drag or close on press), the close
// timer started on activation, and freeing itself when it closes.
#include "ui/uifspla.h"

#include "platform/controls/Application.h"
#include "platform/controls/ExtCtrls.h"
#include "platform/controls/TopLevel.h"
#include "platform/graphics/Canvas.h"
#include "ui/uifact.h"
#include "ui/uishapf.h"

#include <QCloseEvent>
#include <QResizeEvent>
#include <QShowEvent>

TuisfSplash::TuisfSplash(QWidget* owner) : TuiForm(owner)
{
    setAttribute(Qt::WA_DeleteOnClose);
    SetWindowFrameless(this, true);
    SetWindowStayOnTop(this, true);
    resize(581, 401);

    uiShapeForm1 = std::make_unique<TuiShapeForm>(this);
    uiShapeForm1->SetBounds(0, 0, 581, 401);
    uiShapeForm1->SetVisible(false);
    uiShapeForm1->OnClick = [this](TPersistent*) { uiShapeForm1Click(); };

    pnlSplash = std::make_unique<TCustomPanel>(nullptr);
    pnlSplash->SetParentWidget(this);
    pnlSplash->SetBounds(0, 0, 581, 401);
    pnlSplash->SetBevelWidth(3);
    pnlSplash->SetVisible(false);
    imgSplash = std::make_unique<TuiSplashImage>();
    imgSplash->SetParent(pnlSplash.get());
    imgSplash->SetBounds(3, 3, 575, 395);
    imgSplash->OnClick = [this](TPersistent*) { imgSplashClick(); };

    tmrClose = std::make_unique<TTimer>(nullptr);
    tmrClose->SetInterval(100);
    tmrClose->OnTimer = [this](TPersistent*) { tmrCloseTimer(); };

    // Every point of the window is its caption: a press closes it when allowed, or drags it.
    FCaptionHook = HookCaptionHitTest(
        this, [](TPoint) { return true; },
        [this] {
            if (CloseOnClick) close();
        });
}

TuisfSplash::~TuisfSplash()
{
    UnhookCaptionHitTest(this, FCaptionHook);
    tmrClose->SetEnabled(false);
    imgSplash.reset();
    pnlSplash.reset();
    uiShapeForm1.reset();
}

TPicture& TuisfSplash::ImagePicture() { return imgSplash->Picture(); }

void TuisfSplash::SetBevelWidth(int width)
{
    pnlSplash->SetBevelWidth(width);   // raises the range error for 0
    imgSplash->SetBounds(width, width, std::max(0, pnlSplash->Width() - 2 * width), std::max(0, pnlSplash->Height() - 2 * width));
}

void TuisfSplash::resizeEvent(QResizeEvent* event)
{
    TuiForm::resizeEvent(event);
    pnlSplash->SetBounds(0, 0, width(), height());
    SetBevelWidth(pnlSplash->BevelWidth());
}

int TuisfSplash::BevelWidth() const { return pnlSplash->BevelWidth(); }

void TuisfSplash::FormActivate() { tmrClose->SetEnabled(tmrClose->Interval() != 0); }

void TuisfSplash::imgSplashClick()
{
    if (CloseOnClick) close();
}

void TuisfSplash::uiShapeForm1Click()
{
    if (CloseOnClick) close();
}

void TuisfSplash::tmrCloseTimer() { close(); }

// The window shows as it activates: the close timer starts then.
void TuisfSplash::showEvent(QShowEvent* event)
{
    TuiForm::showEvent(event);
    Application->Guarded([this] { FormActivate(); });
}

void TuisfSplash::closeEvent(QCloseEvent* event)
{
    tmrClose->SetEnabled(false);
    Application->Guarded([this] {
        if (OnClosing) OnClosing(this);
    });
    event->accept();
}

void RegisterSplashForm()
{
    if (FormFactory().FindFormClass(TuisfSplash::FormClassName).empty()) FormFactory().RegisterForm<TuisfSplash>();
}
