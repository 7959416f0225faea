// The chart engine's about box (TLumAboutForm): the engine's product name and version and its notices
// over a grey gradient whose two colours sweep between white and black in opposite directions; and the
// engine's about-box hook, which shows it once. Form code: Qt Widgets.
#pragma once

#include "platform/controls/Forms.h"
#include "platform/graphics/GraphicsTypes.h"

#include <memory>
#include <string>

class QLabel;
class QPushButton;
class TCustomControl;
class TTimer;

class TLumAboutForm : public TForm {
public:
    explicit TLumAboutForm(QWidget* Owner);
    ~TLumAboutForm() override;

    TColor StartColor() const { return FStartColor; }
    TColor EndColor() const { return FEndColor; }
    int Step() const { return FStep; }
    // One tick of the animation: the start colour darker and the end colour lighter by the step, each
    // component within 0..255; the step turns round when either colour has become black.
    void Timer1Timer();

    QLabel* LabelVersion;   // the product name and version
    QLabel* LabelCopy;      // the engine's notice
    QLabel* Label1;         // "All rights reserved."
    QLabel* Labelwww;       // a web address: none here, hidden
    QPushButton* BClose;    // "Close"
    TTimer* Timer1() const { return FTimer.get(); }
    TCustomControl* Background() const { return FBack.get(); }

private:
    std::unique_ptr<TCustomControl> FBack;
    std::unique_ptr<TTimer> FTimer;
    TColor FStartColor = 0x00E0E0E0;
    TColor FEndColor = 0x00808080;
    int FStep = 4;
};

// The product name and version the about box shows.
std::string LumAboutProductVersion();
// The about box, modal; a given caption replaces its own, a given version text the product line.
void ShowAboutBox(const std::string& Caption, const std::string& Version);
// Installs the about-box hook (it shows the box with its own texts once, then clears itself), and
// clears it.
void LumAboutInitialization();
void LumAboutFinalization();
