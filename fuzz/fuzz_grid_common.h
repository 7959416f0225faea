// What the grid's fuzz targets share: the application on the offscreen desktop (made at the first input,
// exceptions that reach it swallowed instead of shown), a grid shown in a window, and a file of the
// process's own for inputs that must be read from disk.
#pragma once

#include "grid/ExtGrid.h"
#include "platform/controls/Application.h"

#include <QWidget>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>
#include <unistd.h>

// The desktop's font configuration keeps a few blocks for the process's life that the leak checker
// cannot see; the program's own leaks are still reported.
// (Each target is one translation unit, so the definition stands once.)
extern "C" __attribute__((used)) const char* __lsan_default_suppressions() { return "leak:libfontconfig\n"; }

namespace fuzzgrid {

inline void StartApplication()
{
    static const bool started = [] {
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
        Application->ProcessMessages();
        Application->OnException = [](TApplication&, const std::exception&) {};
        return true;
    }();
    (void)started;
}

// A broken promise: the line is told before the abort.
#define Require(condition) ((condition) ? (void)0 : fuzzgrid::Broken(#condition, __LINE__))
[[noreturn]] inline void Broken(const char* what, int line)
{
    std::fprintf(stderr, "broken at line %d: %s\n", line, what);
    std::abort();
}

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

// A temporary file of this process with the given bytes and extension; its path. It lies in memory where
// the system offers a folder for that: truncating a file on disk for every input costs more than reading it.
inline std::string WriteTempFile(const std::string& Bytes, const std::string& Extension)
{
    static const std::string folder = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
    const std::string path = folder + "/vsp_fuzz_grid_" + std::to_string(getpid()) + Extension;
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << Bytes;
    return path;
}

} // namespace fuzzgrid
