// The electrode editor: a tool window listing the survey's measurements (running number, P1 and P2 x and
// the observed dU) in a string grid, whose chosen row marks the measurement's electrodes on both views and
// whose dU cells take the user's corrections. Form code: Qt Widgets.
#pragma once

#include "platform/controls/Forms.h"

#include <memory>
#include <string>

class QTabWidget;
class TExtStringGrid;
class TMainForm;

class TEditForm : public TForm {
public:
    // The editor of the main window's survey.
    TEditForm(QWidget* owner, TMainForm& main);
    ~TEditForm() override;

    // One row per measurement through the data sets in order, row 1 current.
    void FillGrid();
    // Makes the row current (as a pick on the data graphs does), which marks its measurement.
    void SelectRow(int Row);

    QTabWidget* PageControl1;
    QWidget* TabTable; // "Table"
    std::unique_ptr<TExtStringGrid> ExtStringGrid1;

private:
    void BuildGrid();
    // The measurement of a grid row; false for a row without one.
    bool LocateGridRow(int Row, int& Set, int& Index) const;
    void SelectCell(int Col, int Row);
    bool CanEditCell(int Col, int Row) const;
    bool ValidateCell(int Col, int Row, const std::string& Value);
    void FormClose();

    TMainForm& FMain;
};
