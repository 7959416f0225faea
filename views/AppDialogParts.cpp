// The application dialogs' shared pieces.
#include "views/AppDialogParts.h"

#include "platform/controls/AnsiText.h"
#include "platform/controls/Spin.h"
#include "ui/uibtn.h"
#include "ui/uiexctl.h"

#include <QGridLayout>
#include <QLineEdit>

std::unique_ptr<TuiPicBtn> NewCommandButton(QWidget* parent, const char* name, const char* caption)
{
    auto button = std::make_unique<TuiPicBtn>(nullptr);
    button->SetName(name);
    button->SetCaption(caption);
    button->SetStyle(absRecessed);
    button->Font().SetName("Arial");
    button->Font().SetSize(10);
    button->SetParentWidget(parent);
    return button;
}

std::unique_ptr<TuiSuperLabel> NewFrameLabel(QWidget* parent, const std::string& caption, int width, int height)
{
    auto label = std::make_unique<TuiSuperLabel>(nullptr);
    label->SetCaption(caption);
    label->SetBorderStyle(bsSingle);
    label->SetVerticalAlignment(vaCenter);
    label->SetTopMargin(2);
    label->SetParentWidget(parent);
    label->SetBounds(0, 0, width, height);
    label->Widget()->setMinimumSize(width, height);
    return label;
}

QLineEdit* NewValueEdit(QWidget* parent) { return new QLineEdit(parent); }

std::string EditText(const QLineEdit& edit) { return QStringToAnsi(edit.text()); }

void SetEditText(QLineEdit& edit, const std::string& text) { edit.setText(AnsiToQString(text)); }

QGridLayout* LayOutMarginSpins(QWidget* box, TSpinEdit& left, TSpinEdit& top, TSpinEdit& right, TSpinEdit& bottom,
                       std::vector<std::unique_ptr<TuiSuperLabel>>& labels, int labelHeight)
{
    auto* margins = new QGridLayout(box);
    const struct {
        const char* Name;
        const char* Caption;
        TSpinEdit* Edit;
    } spins[] = {{"PSLeftval", "  Left margin", &left},
                 {"PStopval", "  Top margin", &top},
                 {"PSRightval", "  Right margin", &right},
                 {"PSBottomval", "  Bottom margin", &bottom}};
    int row = 0;
    for (const auto& s : spins) {
        s.Edit->SetName(s.Name);
        s.Edit->SetMinValue(0);
        s.Edit->SetMaxValue(100);
        s.Edit->SetParentWidget(box);
        s.Edit->Widget()->setFixedWidth(60);
        labels.push_back(NewFrameLabel(box, s.Caption, 110, labelHeight));
        margins->addWidget(labels.back()->Widget(), row, 0);
        margins->addWidget(s.Edit->Widget(), row++, 1);
    }
    margins->setRowStretch(row, 1);
    return margins;
}
