// The "Picture settings" dialog and the writer of the scaled model picture: a ".bmp" of a chart whose plot
// has a true scale (1:N on each axis at R dots per inch, R written into the bitmap header), with fonts
// enlarged for the picture only, or the chart at screen size when "Automatic" is on. Form code: Qt Widgets.
#pragma once

#include "platform/controls/Forms.h"
#include "platform/controls/Spin.h"

#include <memory>
#include <string>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class TCustomChart;

// Pictures larger than the picture readers take are refused.
inline constexpr long long MaxPictureSide = 32768;
inline constexpr long long MaxPicturePixels = 1LL << 25;

class Tprntset : public TForm {
public:
    explicit Tprntset(QWidget* owner);
    ~Tprntset() override;

    // Saves the chart's picture under `file` with the extension ".bmp". False when the file could not be
    // written; a picture the settings would make too large, or settings that are no scale, are refused
    // with their own message (true: nothing more to say).
    bool SaveModelPicture(const std::string& file, TCustomChart& chart);
    // Writes the print resolution into the header of a bitmap file (pixels per metre at offsets 38 and
    // 42, for a 40-byte information header); other files stay as they are. False when it cannot be read
    // or written.
    bool SetBitmapResolution(const std::string& file);

    QLabel* Label1;
    QLineEdit* Edit1;     // vertical scale 1:N
    QLabel* Label2;
    QLineEdit* Edit2;     // horizontal scale 1:N
    QLabel* Label3;
    QLineEdit* Edit3;     // print resolution, dots per inch
    QLabel* Label4;
    TSpinEdit SpinEdit1;  // font increment, points
    QCheckBox* CheckBox1; // "Automatic"
    QPushButton* BitBtn1; // "Ok"

private:
    // "Ok": closes only when the scales and the resolution are numbers above 0.
    void BitBtn1Click();
    // The message for settings that make no picture; empty when they do.
    std::string SettingsFault() const;
    void PatchResolution(std::string& bytes) const;
    void FormShow();
    void FormClose();

    // The texts and the check when the dialog was shown: Escape and the close box give them back.
    std::string FShownTexts[4];
    bool FShownAutomatic = true;
};
