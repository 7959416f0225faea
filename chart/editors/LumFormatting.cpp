// The numeric format editor: its lists, taking a format apart, building it back, and the rules between
// its choices.
#include "chart/editors/LumFormatting.h"

#include "chart/base/RadErareServices.h"
#include "chart/editors/LumEditorForms.h"
#include "platform/controls/AnsiText.h"
#include "platform/rtl/FormatSettings.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>

#include <algorithm>

namespace {

QComboBox* NewList()
{
    auto* c = new QComboBox;
    c->setEditable(true);
    c->setMinimumWidth(150);
    return c;
}

void SetList(QComboBox& List, const std::vector<std::string>& Items)
{
    List.clear();
    for (const std::string& s : Items) List.addItem(AnsiToQString(s));
}

bool ListHas(const QComboBox& List, const std::string& Text) { return List.findText(AnsiToQString(Text)) >= 0; }

std::string ListText(const QComboBox& List) { return QStringToAnsi(List.currentText()); }

// Removes the first occurrence of What; true when there was one.
bool RemoveFirst(std::string& Text, const std::string& What)
{
    if (What.empty()) return false;
    const auto at = Text.find(What);
    if (at == std::string::npos) return false;
    Text.erase(at, What.size());
    return true;
}

std::vector<std::string> GeographicFormats()
{
    const std::string deg = "\xB0";
    return {"ddd" + deg + " mm' ss\".zzz", "ddd mm' ss\".zzz", "ddd deg mm' ss\".zzz", "ddd mm ss.zzz",
            "ddd mm ss", "ddd mm", "ddd" + deg, "ddd"};
}

} // namespace

TFormatEditor::TFormatEditor(QWidget* Owner)
    : TForm(Owner), RBNumber(new QRadioButton(AnsiToQString("&Number"))), CBPercent(NewCheckBox("&Percent")),
      CBCurrency(NewCheckBox("C&urrency")), CBThousands(NewCheckBox("&Thousands")), UDDecimals(NewUpDown(0, 20)),
      CBFixedDecimals(NewCheckBox("F&ixed")), UDFixed(NewUpDown(0, 20)),
      RBDate(new QRadioButton(AnsiToQString("&Date Time:"))), CBDate(NewList()),
      RBGeo(new QRadioButton(AnsiToQString("&Geographic:"))), CBGeo(NewList()),
      RBCustom(new QRadioButton(AnsiToQString("&Custom:"))), CBCustom(NewList()), BOK(new QPushButton("OK")),
      BCancel(new QPushButton("Cancel"))
{
    SetCaption("Numeric Format");
    LDecimals = NewLabel("D&ecimals:", UDDecimals);
    LFixed = NewLabel("&Fixed:", UDFixed);
    SetList(*CBDate, {"mm-yyyy", "mm-dd-yy", "dd-mm-yyyy", "mmm", "ddd", "MM"});
    for (const std::string& f : {FormatSettings().ShortDateFormat, FormatSettings().ShortTimeFormat})
        if (!ListHas(*CBDate, f)) CBDate->addItem(AnsiToQString(f));

    auto* grid = new QGridLayout(this);
    grid->addWidget(RBNumber, 0, 0);
    grid->addWidget(CBPercent, 1, 0);
    grid->addWidget(CBCurrency, 2, 0);
    grid->addWidget(CBThousands, 3, 0);
    grid->addWidget(LFixed, 1, 1);
    grid->addWidget(UDFixed, 1, 2);
    grid->addWidget(LDecimals, 2, 1);
    grid->addWidget(UDDecimals, 2, 2);
    grid->addWidget(CBFixedDecimals, 3, 2);
    grid->addWidget(RBDate, 4, 0);
    grid->addWidget(CBDate, 4, 1, 1, 2);
    grid->addWidget(RBGeo, 5, 0);
    grid->addWidget(CBGeo, 5, 1, 1, 2);
    grid->addWidget(RBCustom, 6, 0);
    grid->addWidget(CBCustom, 6, 1, 1, 2);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(BOK);
    buttons->addWidget(BCancel);
    grid->addLayout(buttons, 7, 0, 1, 3);
    grid->setRowStretch(8, 1);
    BOK->setDefault(true);

    for (QRadioButton* r : {RBNumber, RBDate, RBGeo, RBCustom})
        ConnectGuarded(r, &QRadioButton::toggled, this, [this](bool on) {
            if (on) ChoiceMade();
        });
    ConnectGuarded(CBThousands, &QCheckBox::clicked, this, [this](bool) { ChoiceMade(); });
    ConnectGuarded(CBCurrency, &QCheckBox::clicked, this, [this](bool) { ChoiceMade(); });
    ConnectGuarded(CBPercent, &QCheckBox::toggled, this, [this](bool) { PercentClicked(); });
    for (QComboBox* list : {CBDate, CBGeo, CBCustom})
        ConnectGuarded(list, &QComboBox::currentTextChanged, this, [this, list](const QString& text) {
            if (list->isEnabled()) FFormat = QStringToAnsi(text);
        });
    SetButtonModalResult(BOK, mrOk);
    SetButtonModalResult(BCancel, mrCancel);
    OnShow = [this](TForm*) { FormShow(); };
}

TFormatEditor::~TFormatEditor() = default;

void TFormatEditor::FormShow()
{
    const std::string incoming = FFormat;
    // The lists edit the format only once a choice enables them.
    for (QComboBox* l : {CBDate, CBGeo, CBCustom}) l->setEnabled(false);
    SetList(*CBCustom, {"#.#", "0.0%"});
    SetList(*CBGeo, GeographicFormats());
    if (FWasDate || ListHas(*CBDate, incoming)) {
        ShowInList(RBDate, CBDate);
    } else if (FWasGeo || ListHas(*CBGeo, incoming)) {
        ShowInList(RBGeo, CBGeo);
    } else {
        ParseNumber();
    }
    FFormat = incoming;
    TranslateFormControls(this);
}

void TFormatEditor::ShowInList(QRadioButton* Choice, QComboBox* List)
{
    if (!FFormat.empty() && !ListHas(*List, FFormat)) List->addItem(AnsiToQString(FFormat));
    FChanging = true;
    Choice->setChecked(true);
    FChanging = false;
    for (QComboBox* l : {CBDate, CBGeo, CBCustom}) l->setEnabled(l == List);
    List->setCurrentText(AnsiToQString(FFormat));
    List->setFocus();
}

void TFormatEditor::ParseNumber()
{
    const TFormatSettings& fs = FormatSettings();
    std::string work = FFormat;
    CBPercent->setChecked(work.find('%') != std::string::npos);
    RemoveFirst(work, "%");
    CBCurrency->setChecked(RemoveFirst(work, fs.CurrencyString));
    CBThousands->setChecked(RemoveFirst(work, std::string(1, fs.ThousandSeparator)));
    const auto point = work.find(fs.DecimalSeparator);
    if (point != std::string::npos) {
        FChanging = true;
        RBNumber->setChecked(true);
        FChanging = false;
        std::size_t n = 0;
        while (point + 1 + n < work.size() && (work[point + 1 + n] == '#' || work[point + 1 + n] == '0')) ++n;
        UDDecimals->setValue(static_cast<int>(n));
        CBFixedDecimals->setChecked(n >= 1 && work[point + 1] == '0');
        work.erase(point, n + 1);
    }
    if (std::any_of(work.begin(), work.end(), [](char c) { return c != '#' && c != '0'; })) {
        ShowInList(RBCustom, CBCustom);
        return;
    }
    FChanging = true;
    RBNumber->setChecked(true);
    FChanging = false;
    for (QComboBox* l : {CBDate, CBGeo, CBCustom}) l->setEnabled(false);
    CBPercent->setEnabled(true);
    UDFixed->setValue(static_cast<int>(std::count(work.begin(), work.end(), '0')));
}

void TFormatEditor::ChoiceMade()
{
    if (FChanging) return;
    CBDate->setEnabled(RBDate->isChecked());
    CBGeo->setEnabled(RBGeo->isChecked());
    CBCustom->setEnabled(RBCustom->isChecked());
    CBPercent->setEnabled(!RBCustom->isChecked());
    FWasDate = RBDate->isChecked();
    FWasGeo = RBGeo->isChecked();
    if (CBDate->currentText().isEmpty()) CBDate->setCurrentText(AnsiToQString(FormatSettings().ShortDateFormat));
    if (CBGeo->currentText().isEmpty() && CBGeo->count() > 0) CBGeo->setCurrentIndex(0);
    for (QComboBox* l : {CBDate, CBGeo, CBCustom})
        if (l->isEnabled()) l->setFocus();
}

void TFormatEditor::PercentClicked()
{
    const bool percent = CBPercent->isChecked();
    if (percent) {
        CBThousands->setChecked(false);
        CBCurrency->setChecked(false);
    }
    CBThousands->setEnabled(!percent);
    CBCurrency->setEnabled(!percent);
}

std::string TFormatEditor::BuildFormat() const
{
    if (RBCustom->isChecked()) return ListText(*CBCustom);
    if (RBDate->isChecked()) return ListText(*CBDate);
    if (RBGeo->isChecked()) return ListText(*CBGeo);
    if (!RBNumber->isChecked()) return {};
    const TFormatSettings& fs = FormatSettings();
    const std::string thousands(1, fs.ThousandSeparator);
    std::string result = CBCurrency->isChecked() ? fs.CurrencyString : std::string();
    const int f = UDFixed->value();
    const bool grouped = CBThousands->isChecked();
    if (f == 0) {
        result += grouped ? "#" + thousands + "###" : "#";
    } else if (!grouped) {
        result += std::string(static_cast<std::size_t>(f), '0');
    } else if (f <= 3) {
        result += "#" + thousands + std::string(static_cast<std::size_t>(3 - f), '#') +
                  std::string(static_cast<std::size_t>(f), '0');
    } else {
        result += std::string(static_cast<std::size_t>(f - 3), '0') + thousands + "000";
    }
    const int d = UDDecimals->value();
    if (d > 0)
        result += fs.DecimalSeparator + std::string(static_cast<std::size_t>(d), CBFixedDecimals->isChecked() ? '0' : '#');
    if (CBPercent->isChecked()) result += "%";
    return result;
}

std::string ShowFormatEditor(QWidget* Owner, const std::string& Format, bool AllowDateTime)
{
    TFormatEditor editor(Owner ? Owner->window() : nullptr);
    editor.SetTheFormat(Format);
    editor.RBDate->setVisible(AllowDateTime);
    editor.CBDate->setVisible(AllowDateTime);
    if (editor.ShowModal() != mrOk) return Format;
    return editor.BuildFormat();
}
