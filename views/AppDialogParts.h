// Pieces the application's dialogs share: their command buttons (recessed picture buttons with Arial
// 10-point captions), their framing labels (single-border labels with the text centred vertically), and
// typing as the user's own edits (the change handlers act on typing only, never on texts a form sets).
// Form code: Qt Widgets.
#pragma once

#include <memory>
#include <string>

class QLineEdit;
class QWidget;
class TuiPicBtn;
class TuiSuperLabel;

std::unique_ptr<TuiPicBtn> NewCommandButton(QWidget* parent, const char* name, const char* caption);
// A framing label; the form keeps it, so that it goes before the form's widgets.
std::unique_ptr<TuiSuperLabel> NewFrameLabel(QWidget* parent, const std::string& caption, int width = 100,
                                             int height = 21);
// A single-line edit of 8-bit text.
QLineEdit* NewValueEdit(QWidget* parent);
std::string EditText(const QLineEdit& edit);
void SetEditText(QLineEdit& edit, const std::string& text);
