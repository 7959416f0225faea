// The numeric format editor ("Numeric Format"): builds a value format (number, date-time, geographic or
// custom) from check boxes and counts, and takes an existing format apart into them, with the separators
// and currency of the format settings in force. Form code: Qt Widgets.
#pragma once

#include "platform/controls/Forms.h"

#include <string>

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QSpinBox;

class TFormatEditor : public TForm {
public:
    explicit TFormatEditor(QWidget* Owner);
    ~TFormatEditor() override;

    // The format being edited; set before showing.
    const std::string& TheFormat() const { return FFormat; }
    void SetTheFormat(const std::string& Value) { FFormat = Value; }
    // The format the controls describe now.
    std::string BuildFormat() const;

    QRadioButton* RBNumber;      // "&Number"
    QCheckBox* CBPercent;        // "&Percent"
    QCheckBox* CBCurrency;       // "C&urrency"
    QCheckBox* CBThousands;      // "&Thousands"
    QLabel* LDecimals;
    QSpinBox* UDDecimals;        // "D&ecimals:"
    QCheckBox* CBFixedDecimals;  // "F&ixed"
    QLabel* LFixed;
    QSpinBox* UDFixed;           // "&Fixed:"
    QRadioButton* RBDate;        // "&Date Time:"
    QComboBox* CBDate;
    QRadioButton* RBGeo;         // "&Geographic:"
    QComboBox* CBGeo;
    QRadioButton* RBCustom;      // "&Custom:"
    QComboBox* CBCustom;
    QPushButton* BOK;
    QPushButton* BCancel;

private:
    void FormShow();
    void ParseNumber();
    void ShowInList(QRadioButton* Choice, QComboBox* List);
    void ChoiceMade();
    void PercentClicked();

    std::string FFormat;
    bool FChanging = false;
    bool FWasDate = false;
    bool FWasGeo = false;
};

// Edits Format in the editor (with or without the date-time choice); the built format when closed with
// OK, else Format unchanged.
std::string ShowFormatEditor(QWidget* Owner, const std::string& Format, bool AllowDateTime);
