// What the grid's fuzz targets share besides the application (fuzz_app.h): a grid shown in a window,
// made once and brought back to a plain grid for every input, and the end of an input that frees what it
// made.
#pragma once

#include "fuzz/fuzz_app.h"
#include "grid/ExtGrid.h"

#include <QWidget>

#include <memory>

namespace fuzzgrid {

using fuzzapp::StartApplication;

// A grid of Cols x Rows with one fixed row and column in a shown window.
struct GridHost {
    GridHost(int Cols, int Rows)
    {
        StartApplication();
        Window = std::make_unique<QWidget>();
        Window->setGeometry(10, 10, 320, 200);
        Grid = std::make_unique<TExtStringGrid>(nullptr);
        Grid->SetParentWidget(Window.get());
        Grid->SetBounds(0, 0, 320, 200);
        Grid->SetColCount(Cols);
        Grid->SetRowCount(Rows);
        Grid->SetOptions(Grid->Options() + TGridOptions{goEditing});
        Window->show();
    }
    TExtStringGrid& G() { return *Grid; }
    std::unique_ptr<QWidget> Window;
    std::unique_ptr<TExtStringGrid> Grid;
};

// The grid of a target, made once (a grid with its editor controls takes long to make under the
// sanitizers) and brought back to a plain Cols x Rows editable grid for every input.
inline TExtStringGrid& SharedGrid(int Cols, int Rows, int Which = 0)
{
    // Kept for the process's life: at exit the application has gone before static objects would.
    static GridHost* hosts[2] = {nullptr, nullptr};
    GridHost*& h = hosts[Which & 1];
    if (!h) h = new GridHost(Cols, Rows);
    TExtStringGrid& g = h->G();
    g.ClearAllCells();
    g.FixedRowAlways = false;
    g.SetColCount(Cols);
    g.SetRowCount(Rows);
    g.SetFixedCols(Cols > 1 ? 1 : 0);
    g.SetFixedRows(Rows > 1 ? 1 : 0);
    g.SetFixedFooters(0);
    g.SetOptions(TGridOptions{goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine, goRangeSelect, goEditing});
    g.SetDefaultColWidth(64);
    g.SetDefaultRowHeight(24);
    g.SetTopRow(1);
    g.SetLeftCol(1);
    g.SetSelection({1, 1, 1, 1});
    g.FieldDelimiter = '\0';
    g.OemConvert = false;
    return g;
}

// For targets whose work is not drawing: the grid's window takes no paint events, which would otherwise
// be most of each input's time once queued events are delivered.
inline void StopPainting(TExtStringGrid& g) { g.Widget()->window()->setUpdatesEnabled(false); }

// Ends an input as it began: the shared grid brought back to Cols x Rows and every queued event (repaints,
// scroll bars shown or hidden, posted deletions) delivered, so that what the input made is freed within
// it. The fuzzer then sees as many frees as allocations per input and keeps checking for leaks.
inline void SettleGrid(int Cols, int Rows, int Which = 0)
{
    SharedGrid(Cols, Rows, Which);
    Application->ProcessMessages();
}

} // namespace fuzzgrid
