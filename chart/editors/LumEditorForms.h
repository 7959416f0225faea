// What the chart editor forms share: the edited object a form carries (its Tag), embedding a form so
// that it fills a page or panel, and the small widgets every form lays out (labels with hot keys, edits
// with up-down buttons, check boxes). Form code: Qt Widgets.
#pragma once

#include "platform/controls/Forms.h"

#include <string>

class QCheckBox;
class QLabel;
class QSpinBox;
class QTabWidget;
class TPersistent;

class TLumEditorForm : public TForm {
public:
    explicit TLumEditorForm(QWidget* Owner);

    // The object the form edits, given by its caller or by the page that embeds it.
    TPersistent* Tag() const { return FTag; }
    void SetTag(TPersistent* Value) { FTag = Value; }

private:
    TPersistent* FTag = nullptr;
};

// Makes the form a borderless child that fills Parent (without margins; a layout is given to a parent
// that has none), with Tag as its edited object, and shows it.
void EmbedFormClient(TLumEditorForm& Form, QWidget& Parent, TPersistent* Tag);
// The same for any form: no tag.
void EmbedFormFilling(TForm& Form, QWidget& Parent);

// Every tab of the page control shows whole, never elided or behind scroll buttons: its dialog
// widens for them instead.
void ShowTabsWhole(QTabWidget& Pages);
// A label of 8-bit text; "&" marks its hot key, which focuses Buddy.
QLabel* NewLabel(const std::string& Caption, QWidget* Buddy = nullptr);
QCheckBox* NewCheckBox(const std::string& Caption);
// An edit with up-down buttons over Min..Max.
QSpinBox* NewUpDown(int Min, int Max, int Step = 1);
// The text of a widget as 8-bit text, and back.
std::string WidgetText(const QWidget& Widget);
