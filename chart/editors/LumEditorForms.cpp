// The editor forms' shared pieces: tagged forms, filling embedding and the small widgets.
#include "chart/editors/LumEditorForms.h"

#include "platform/controls/AnsiText.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>

TLumEditorForm::TLumEditorForm(QWidget* Owner) : TForm(Owner) {}

void EmbedFormFilling(TForm& Form, QWidget& Parent)
{
    Form.setParent(&Parent, Qt::Widget); // a borderless child, without border icons
    Form.setAutoFillBackground(false);   // the parent's background shows
    Form.setPalette(Parent.palette());
    Form.setSizeGripEnabled(false);
    QLayout* layout = Parent.layout();
    if (!layout) {
        layout = new QVBoxLayout(&Parent);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->setSpacing(0);
    }
    layout->addWidget(&Form);
    Form.show();
}

void EmbedFormClient(TLumEditorForm& Form, QWidget& Parent, TPersistent* Tag)
{
    Form.SetTag(Tag);
    EmbedFormFilling(Form, Parent);
}

QLabel* NewLabel(const std::string& Caption, QWidget* Buddy)
{
    auto* label = new QLabel(AnsiToQString(Caption));
    if (Buddy) label->setBuddy(Buddy);
    return label;
}

QCheckBox* NewCheckBox(const std::string& Caption) { return new QCheckBox(AnsiToQString(Caption)); }

QSpinBox* NewUpDown(int Min, int Max, int Step)
{
    auto* spin = new QSpinBox;
    spin->setRange(Min, Max);
    spin->setSingleStep(Step);
    return spin;
}

std::string WidgetText(const QWidget& Widget)
{
    if (auto* edit = qobject_cast<const QLineEdit*>(&Widget)) return QStringToAnsi(edit->text());
    if (auto* label = qobject_cast<const QLabel*>(&Widget)) return QStringToAnsi(label->text());
    if (auto* button = qobject_cast<const QAbstractButton*>(&Widget)) return QStringToAnsi(button->text());
    if (auto* spin = qobject_cast<const QAbstractSpinBox*>(&Widget)) return QStringToAnsi(spin->text());
    return QStringToAnsi(Widget.windowTitle());
}

void ShowTabsWhole(QTabWidget& Pages)
{
    Pages.setUsesScrollButtons(false);
    // Some platform styles elide tab texts, which would let the tab bar shrink instead.
    Pages.setElideMode(Qt::ElideNone);
}
