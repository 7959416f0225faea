// The splash component: building, placing and showing its window, the local picture beside the program,
// the animation settings that go with a shaped window, and the command-line switch. Form code.
#include "ui/uispla.h"

#include "platform/controls/Application.h"
#include "platform/controls/ExtCtrls.h"
#include "platform/controls/Screen.h"
#include "platform/controls/TopLevel.h"
#include "platform/rtl/CommandLine.h"
#include "platform/rtl/ConfigPaths.h"
#include "platform/rtl/StrUtils.h"
#include "ui/uiexctl.h"
#include "ui/uifact.h"
#include "ui/uifspla.h"
#include "ui/uishapf.h"

#include <QThread>

#include <filesystem>

namespace {

bool Undirected(TuiAnimEffect e) { return e == aweRoll || e == aweSlide || e == aweCenter; }

bool HoldsGraphic(const TPicture& p) { return p.Graphic() && !p.Graphic()->Empty(); }

} // namespace

const TClassInfo& TuiSplash::StaticClassInfo()
{
    using P = TProps<TuiSplash>;
    using S = TuiSplash;
    static const TClassInfo info({
        .Name = "TuiSplash",
        .Parent = &TComponent::StaticClassInfo(),
        .Properties = {P::Boolean("AllowLocalBmp", &S::AllowLocalBmp, &S::SetAllowLocalBmp).Default(true),
                       P::Object("AnimateShow", [](const S& s) { return s.FAnimateShow.get(); }),
                       P::Object("AnimateHide", [](const S& s) { return s.FAnimateHide.get(); }),
                       P::Integer("BevelWidth", &S::BevelWidth, &S::SetBevelWidth).Default(5),
                       P::Integer("Duration", &S::Duration, &S::SetDuration).Default(5000),
                       P::Boolean("HideOnClick", &S::HideOnClick, &S::SetHideOnClick).Default(true),
                       P::Boolean("ShapeForm", &S::ShapeForm, &S::SetShapeForm).Default(false),
                       P::Colour("ShapeTolerance", &S::ShapeTolerance, &S::SetShapeTolerance).Default(0x101010),
                       P::Boolean("ShowModal", &S::ShowModal, &S::SetShowModal).Default(false),
                       P::Boolean("StayOnTop", &S::StayOnTop, &S::SetStayOnTop).Default(true),
                       P::Boolean("AutoShow", &S::AutoShow, &S::SetAutoShow),
                       P::Boolean("AutoShowOnDestroy", &S::AutoShowOnDestroy, &S::SetAutoShowOnDestroy).Default(false)},
        .Create = &CreateComponentOf<TuiSplash>,
    });
    return info;
}

TuiSplash::TuiSplash(TComponent* AOwner)
    : TComponent(AOwner), FPicture(std::make_unique<TPicture>()), FPictureVGA(std::make_unique<TPicture>()),
      FAnimateHide(std::make_unique<TuiAnimateWin>()), FAnimateShow(std::make_unique<TuiAnimateWin>())
{
    FAnimateHide->OnChange = [this] { AnimationChanged(); };
    FAnimateShow->OnChange = [this] { AnimationChanged(); };
}

TuiSplash::~TuiSplash()
{
    if (!ComponentState().Contains(csDesigning) && FAutoShowOnDestroy && FDuration != 0 && !HasNoSplashSwitch()) {
        Application->Guarded([this] { Show(); });
        while (FWindow) {
            Application->ProcessMessages();
            QThread::msleep(5);
        }
    }
    // A window still shown lives on by itself and closes by its timer or a click.
    FAlive.reset();
    if (FWindow) {
        FWindow->OnShow = nullptr;
        FWindow->OnClosing = nullptr;
    }
}

// -- properties

void TuiSplash::SetBevelWidth(int v)
{
    if (v < 0 || v > 65535) throw ERangeError();
    FBevelWidth = v;
}

void TuiSplash::SetDuration(int v)
{
    if (v < 0 || v > 65535) throw ERangeError();
    FDuration = v;
}

void TuiSplash::SetPicture(const TPicture& v)
{
    if (&v != FPicture.get()) FPicture->Assign(v);
}

void TuiSplash::SetPictureVGA(const TPicture& v)
{
    if (&v != FPictureVGA.get()) FPictureVGA->Assign(v);
}

// Both effects are made blends before the value is stored: with the two converted one after the other,
// the first conversion's notice would see the other still undirected and turn the shape off again.
void TuiSplash::SetShapeForm(bool v)
{
    if (v == FShapeForm) return;
    if (v) {
        const auto notice = FAnimateShow->OnChange;
        FAnimateShow->OnChange = nullptr;
        FAnimateHide->OnChange = nullptr;
        if (Undirected(FAnimateShow->Effect())) FAnimateShow->SetEffect(aweBlend);
        if (Undirected(FAnimateHide->Effect())) FAnimateHide->SetEffect(aweBlend);
        FAnimateShow->OnChange = notice;
        FAnimateHide->OnChange = notice;
    }
    FShapeForm = v;
}

void TuiSplash::AnimationChanged()
{
    if (Undirected(FAnimateShow->Effect()) || Undirected(FAnimateHide->Effect())) FShapeForm = false;
}

void TuiSplash::SetAutoShow(bool v)
{
    FAutoShow = v;
    const TComponentState state = ComponentState();
    if (v && state.Contains(csLoading) && !state.Contains(csDesigning) && !HasNoSplashSwitch()) Show();
}

bool TuiSplash::HasNoSplashSwitch()
{
    for (int i = 1; i <= ParamCount(); ++i) {
        const std::string p = LowerCase(ParamStr(i));
        if (p == "-ns" || p == "/ns") return true;
    }
    return false;
}

TRect TuiSplash::WindowBounds(int pictureWidth, int pictureHeight, int bevel, int screenWidth, int screenHeight)
{
    const int w = pictureWidth + 2 * bevel, h = pictureHeight + 2 * bevel;
    const int left = (screenWidth - w) / 2, top = (screenHeight - h) / 2;
    return {left, top, left + w, top + h};
}

void TuiSplash::Assign(const TPersistent& Source)
{
    const auto* s = dynamic_cast<const TuiSplash*>(&Source);
    if (!s) {
        TComponent::Assign(Source);
        return;
    }
    FBevelWidth = s->FBevelWidth;
    FDuration = s->FDuration;
    FHideOnClick = s->FHideOnClick;
    SetPicture(*s->FPicture);
    SetPictureVGA(*s->FPictureVGA);
    FShapeForm = s->FShapeForm;
    FShapeTolerance = s->FShapeTolerance;
    FShowModal = s->FShowModal;
    FStayOnTop = s->FStayOnTop;
    OnHide = s->OnHide;
    OnShow = s->OnShow;
    SetAutoShow(s->FAutoShow);
    FAnimateShow->Assign(*s->FAnimateShow);
    FAnimateHide->Assign(*s->FAnimateHide);
    FAutoShowOnDestroy = s->FAutoShowOnDestroy;
}

// -- showing and hiding

void TuiSplash::Show()
{
    if (!HoldsGraphic(*FPicture) && !HoldsGraphic(*FPictureVGA)) throw Exception("Picture required");
    if (FWindow) return;
    RegisterSplashForm();
    // Until it is shown the window belongs to `form`, so a failure below frees it.
    std::unique_ptr<TForm> form = FormFactory().CreateForm(TuisfSplash::FormClassName, nullptr);
    auto* w = dynamic_cast<TuisfSplash*>(form.get());
    if (!w) return;
    {
        SetWindowStayOnTop(w, FStayOnTop);
        w->tmrClose->SetInterval(FDuration);
        w->CloseOnClick = FHideOnClick;
        w->SetBevelWidth(FBevelWidth);
        if (FAllowLocalBmp) {
            const std::string local = ChangeFileExt(ParamStr(0), ".bmp");
            std::error_code ec;
            if (std::filesystem::is_regular_file(local, ec)) {
                // An unreadable file beside the program leaves the stored picture.
                try {
                    w->ImagePicture().LoadFromFile(local);
                } catch (const Exception&) {
                }
            }
        }
        if (!HoldsGraphic(w->ImagePicture())) {
            if (IsLowColorDisplay() && HoldsGraphic(*FPictureVGA))
                w->ImagePicture().Assign(*FPictureVGA);
            else if (HoldsGraphic(*FPicture))
                w->ImagePicture().Assign(*FPicture);
            else
                w->ImagePicture().Assign(*FPictureVGA);
        }
        if (FShapeForm) {
            w->uiShapeForm1->SetTolerance(FShapeTolerance);
            w->uiShapeForm1->SetPicture(w->ImagePicture());
            w->uiShapeForm1->SetVisible(true);
            w->pnlSplash->SetVisible(false);
        } else {
            w->pnlSplash->SetVisible(true);
        }
        const TRect r = WindowBounds(w->ImagePicture().Width(), w->ImagePicture().Height(), FBevelWidth, Screen->Width(),
                                     Screen->Height());
        w->setGeometry(r.Left, r.Top, r.Width(), r.Height());
    }
    form.release();   // from here on the window frees itself when it closes
    FWindow = w;
    QObject::connect(w, &QObject::destroyed, [this, w, alive = std::weak_ptr<bool>(FAlive)] {
        if (!alive.expired() && FWindow == w) FWindow = nullptr;
    });
    w->OnShow = [this](TForm*) { FormShown(); };
    w->OnClosing = [this](TuisfSplash*) { FormHidden(); };
    if (FShowModal) {
        if (FDuration == 0) w->tmrClose->SetInterval(5000);
        // A modal run must not free the window under the modal loop: it goes once the run is over.
        w->setAttribute(Qt::WA_DeleteOnClose, false);
        w->TForm::ShowModal();
        if (FWindow == w) w->close();
        w->deleteLater();
    } else {
        w->show();
    }
    Application->ProcessMessages();
}

void TuiSplash::Hide()
{
    if (FWindow) FWindow->close();
}

void TuiSplash::FormShown()
{
    FAnimateShow->ShowForm(FWindow);
    if (OnShow) OnShow(this);
}

void TuiSplash::FormHidden()
{
    TuisfSplash* w = FWindow;
    FAnimateHide->HideForm(w);
    if (OnHide) OnHide(this);
    FWindow = nullptr;
}
