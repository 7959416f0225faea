// The "Body parameters" dialog of one sub-polygon of the model view: its resistivity, whether it is an
// electronic (source) body, its label and the look of its shape (colour, pen, brush, gradient, edited on
// the shape at once); "Apply" stores them into the sub-polygon's properties and copies the ticked
// attributes to every other polygon, "As default" also makes them the row new polygons copy. Form code:
// Qt Widgets.
#pragma once

#include "platform/controls/Forms.h"

#include <memory>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class TPolygonChart;

class TBsetup : public TForm {
public:
    explicit TBsetup(QWidget* owner);
    ~TBsetup() override;

    // The sub-polygon the dialog edits and the position of its shape.
    void SetTarget(TPolygonChart& Chart, int Body, int Sub, int Shape);
    // The controls from the sub-polygon; the copy boxes cleared.
    void LoadControls();
    // The fields into the sub-polygon, then the ticked attributes into every sub-polygon but the host.
    void ApplyValues();

    QLabel* Label1;         // the Greek rho
    QLineEdit* Edit1;       // resistivity
    QLabel* Label2;         // "om m"
    QCheckBox* CheckBox6;   // "Electronic"
    QPushButton* Button7;   // "Color"
    QCheckBox* CheckBox1;   // copy the colour
    QPushButton* Button5;   // "Pen"
    QCheckBox* CheckBox2;   // copy the pen
    QPushButton* Button1;   // "Brush"
    QCheckBox* CheckBox3;   // copy the brush
    QPushButton* Button2;   // "Gradient"
    QCheckBox* CheckBox4;   // copy the gradient
    QComboBox* ComboBox1;   // label mode
    QCheckBox* CheckBox5;   // copy the label mode
    QLineEdit* Edit5;       // label text
    QPushButton* Button3;   // "Apply"
    QPushButton* Button8;   // "As default"
    QPushButton* Button4;   // "Close"

    int Body() const { return FBody; }
    int Sub() const { return FSub; }
    int Shape() const { return FShape; }

private:
    void Button7Click();
    void Button5Click();
    void Button1Click();
    void Button2Click();
    void Button3Click();
    void Button8Click();
    void FormClose();
    // The shape's look changed: the chart repaints.
    void ShapeChanged();

    TPolygonChart* FChart = nullptr;
    int FBody = -1, FSub = -1, FShape = -1;
    // The resistivity edit was typed into since it was filled: an untouched text (rounded for showing)
    // must not replace the exact value.
    bool FResistivityTyped = false;
    bool FStored = false;
};

// The dialog (made on first use and kept in `Dialog`) for one sub-polygon of the chart, shown modally.
void ShowBodyParameters(std::unique_ptr<TBsetup>& Dialog, QWidget* Owner, TPolygonChart& Chart, int Shape, int Body,
                        int Sub);
