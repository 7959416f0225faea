// The main window's application dialogs: the program setup, the electrode editor and the picture
// settings made with the window, the section setup and the body parameters of the model view, and the
// hooks by which the views reach them.
#include "views/ResMainForm.h"

#include "platform/controls/Forms.h"
#include "views/EditUnit.h"
#include "views/PrSetupUn.h"
#include "views/bsetupun.h"
#include "views/polysetup.h"
#include "views/printsettings.h"

void TMainForm::CreateDialogs()
{
    QWidget* owner = ControlWidget(this);
    SetupForm = std::make_unique<TSetupForm>(owner, *this);
    EditForm = std::make_unique<TEditForm>(owner, *this);
    prntset = std::make_unique<Tprntset>(owner);
    ElectrodeEditorVisible = [this] { return EditForm && EditForm->isVisible(); };
    SelectElectrodeEditorRow = [this](int row) { EditForm->SelectRow(row); };
    PolygonChart1->ShowBodyDialog = [this, owner](int shape, int body, int sub) {
        ShowBodyParameters(Bsetup, owner, *PolygonChart1, shape, body, sub);
    };
}

void TMainForm::SpeedButton4Click()
{
    if (FBusy) return;
    SetupForm->LoadValues();
    SetupForm->hide();
    SetupForm->ShowModal();
}

void TMainForm::SpeedButton5Click()
{
    if (FBusy || !(Survey.DataLoaded || Survey.ModelReady)) return;
    EditForm->FillGrid();
    EditForm->show();
}

void TMainForm::Outputsettings1Click()
{
    if (FBusy) return;
    prntset->ShowModal();
}

void TMainForm::Setup1Click()
{
    if (FBusy) return;
    TPolysetupForm dialog(ControlWidget(this));
    dialog.LoadFromChart(*PolygonChart1);
    dialog.ShowModal();
}

void TMainForm::RefillElectrodeEditor()
{
    // Else row k would edit measurement k of the new survey while showing the old one.
    if (EditForm && EditForm->isVisible()) EditForm->FillGrid();
}
