// Pieces the application's dialogs share: their command buttons (recessed picture buttons with Arial
// 10-point captions), their framing labels (single-border labels with the text centred vertically), and
// typing as the user's own edits (the change handlers act on typing only, never on texts a form sets).
// Form code: Qt Widgets.
#pragma once

#include <memory>
#include <string>
#include <vector>

class QGridLayout;
class QLineEdit;
class QWidget;
class TSpinEdit;
class TuiPicBtn;
class TuiSuperLabel;

std::unique_ptr<TuiPicBtn> NewCommandButton(QWidget* parent, const char* name, const char* caption);
// A framing label; the form keeps it, so that it goes before the form's widgets.
std::unique_ptr<TuiSuperLabel> NewFrameLabel(QWidget* parent, const std::string& caption, int width = 100,
                                             int height = 21);
// The box margins of the setup dialogs: left, top, right and bottom spin edits (0 to 100 pixels) under their
// framing labels, in a grid on the box (returned); the labels join the form's list.
QGridLayout* LayOutMarginSpins(QWidget* box, TSpinEdit& left, TSpinEdit& top, TSpinEdit& right, TSpinEdit& bottom,
                       std::vector<std::unique_ptr<TuiSuperLabel>>& labels, int labelHeight);
// A single-line edit of 8-bit text.
QLineEdit* NewValueEdit(QWidget* parent);
std::string EditText(const QLineEdit& edit);
void SetEditText(QLineEdit& edit, const std::string& text);
