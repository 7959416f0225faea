// The electrode editor's grid as the form builds it (its streamed settings, FillGrid's contents) with a
// test host handling the six events as the editor does, and helpers that deliver synthetic input and read
// the window's pixels; plain editable grids for the clipboard, drop and editor tests. Shared by the grid's
// tests and the screenshot run.
#pragma once

#include "grid/ExtGrid.h"
#include "platform/controls/Application.h"
#include "platform/graphics/Canvas.h"

#include <QApplication>
#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>
#include <QWidget>

#include <cmath>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace gridtest {

struct Measurement {
    double P1, P2, dU;
};

// A plain editable grid of Cols x Rows filling a shown window at (X, Y) of Width x Height.
struct EditGridHost {
    EditGridHost(int Cols, int Rows, int X = 40, int Y = 40, int Width = 400, int Height = 300)
    {
        Application->ProcessMessages();
        Window = std::make_unique<QWidget>();
        Window->setGeometry(X, Y, Width, Height);
        Grid = std::make_unique<TExtStringGrid>(nullptr);
        Grid->SetParentWidget(Window.get());
        Grid->SetBounds(0, 0, Width, Height);
        Grid->SetColCount(Cols);
        Grid->SetRowCount(Rows);
        Grid->SetOptions(Grid->Options() + TGridOptions{goEditing});
        Window->show();
        Application->ProcessMessages();
    }
    TExtStringGrid& G() { return *Grid; }
    std::unique_ptr<QWidget> Window;
    std::unique_ptr<TExtStringGrid> Grid;
};

// The editor's handlers: the current row coloured, every cell centred, only column 3 editable, dU
// validated in -100000..100000 with "," read as ".".
struct ElectrodeHost {
    explicit ElectrodeHost(int rows = 10)
    {
        Application->ProcessMessages();
        Window = std::make_unique<QWidget>();
        Window->setGeometry(60, 60, 303, 279);
        Grid = std::make_unique<TExtStringGrid>(nullptr);
        TExtStringGrid& g = *Grid;
        g.SetParentWidget(Window.get());
        g.BeginLoading();
        g.SetBounds(0, 0, 303, 279);
        g.SetBorderStyle(bsNone);
        g.SetColCount(5);
        g.SetRowCount(20);
        g.SetDefaultColWidth(50);
        g.SetDefaultRowHeight(21);
        g.SetDefaultDrawing(false);
        g.Font().SetName("Tahoma");
        g.Font().SetHeight(-11);
        g.SetGridLineWidth(1);
        g.SetGridLineColor(clSilver);
        g.SetOptions({goFixedVertLine, goFixedHorzLine, goVertLine, goEditing});
        g.SetScrollBars(ssVertical);
        g.SetVAlignment(vtaCenter);
        g.SetLook(glXP);
        g.EnableHTML = true;
        g.EnableWheel = true;
        g.IntelliPan = ipVertical;
        g.HintColor = clYellow;
        g.SetSelectionColor(0x90FFFF);
        g.SetSelectionTextColor(clNavy);
        g.SetSelectionRectangle(true);
        g.SelectionRTFKeep = true;
        g.DragDropSettings.OleAcceptFiles = true;
        g.DragDropSettings.OleAcceptText = true;
        g.ControlLook.SetControlStyle(csWinXP);
        g.ControlLook.SetCheckSize(15);
        g.ControlLook.SetRadioSize(10);
        g.SetScrollType(ssFlat);
        g.ScrollColor = clNone;
        g.SetScrollWidth(16);
        g.SetScrollProportional(true);
        g.SetFixedColWidth(34);
        g.SetFixedRowHeight(21);
        g.FixedColAlways = true;
        g.FixedFont().SetName("MS Sans Serif");
        g.FixedFont().SetHeight(-11);
        g.FixedFont().SetStyle({});
        g.SetWordWrap(false);
        g.FloatFormat = "%.2f";
        g.SetColumnHeaders({""});
        g.PrintSettings.Borders = TPrintSettings::pbNoborder;
        g.PrintSettings.Centered = false;
        g.CellNode.SetNodeType(cnFlat);
        const int widths[] = {34, 50, 50, 50, 50};
        for (int c = 0; c < 5; ++c) g.SetColWidths(c, widths[c]);
        g.OnSelectCell = [this](TPersistent*, int c, int r, bool& can) {
            Log.push_back("SelectCell " + std::to_string(c) + "," + std::to_string(r));
            can = true;
        };
        g.OnRowChanging = [this](TPersistent*, int oldRow, int newRow, bool&) {
            Log.push_back("RowChanging " + std::to_string(oldRow) + "->" + std::to_string(newRow));
            Grid->RefreshRow(oldRow);
            Grid->RefreshRow(newRow);
        };
        g.OnGetCellColor = [this](TPersistent*, int r, int c, TGridDrawState, TBrush& brush, TFont& font) {
            if (r < Grid->FixedRows() || c < Grid->FixedCols()) return;
            if (r == Grid->Row()) {
                brush.SetColor(Grid->SelectionColor());
                font.SetColor(Grid->SelectionTextColor());
            } else brush.SetColor(0xFFFFFF);
        };
        g.OnGetAlignment = [](TPersistent*, int, int, TAlignment& h, TVAlignment& v) {
            h = taCenter;
            v = vtaCenter;
        };
        g.OnCanEditCell = [this](TPersistent*, int r, int c, bool& can) {
            EditAsked.push_back({c, r});
            can = DataLoaded && c >= 3;
        };
        g.OnCellValidate = [this](TPersistent*, int c, int r, std::string& value, bool& valid) {
            Log.push_back("Validate " + std::to_string(c) + "," + std::to_string(r) + " " + value);
            std::string t = value;
            if (const auto comma = t.find(','); comma != std::string::npos) t[comma] = '.';
            char* end = nullptr;
            const double v = std::strtod(t.c_str(), &end);
            valid = DataLoaded && !t.empty() && end && *end == 0 && v >= -100000 && v <= 100000;
            if (valid) Stored.push_back(v);
        };
        g.OnClickCell = [this](TPersistent*, int r, int c) {
            Log.push_back("ClickCell " + std::to_string(r) + "," + std::to_string(c));
        };
        g.Loaded();
        Fill(rows);
    }

    // FillGrid: current row 1, one row per measurement, four columns, headers.
    void Fill(int rows)
    {
        TExtStringGrid& g = *Grid;
        g.SetRow(1);
        g.SetRowCount(rows + 1);
        g.SetColCount(4);
        const char* headers[] = {"ID", "P1", "P2", "dU"};
        for (int c = 0; c < 4; ++c) g.SetCellValue(c, 0, headers[c]);
        for (int k = 0; k < rows; ++k) {
            g.SetCellValue(0, k + 1, std::to_string(k + 1));
            g.SetCellValue(1, k + 1, std::to_string(10 * k));
            g.SetCellValue(2, k + 1, std::to_string(10 * k + 5));
            g.SetCellValue(3, k + 1, std::to_string(k) + ".25");
        }
        Log.clear();
    }

    void Show()
    {
        Window->show();
        Window->activateWindow();
        for (int i = 0; i < 5; ++i) Application->ProcessMessages();
    }

    // The back buffer after a full paint.
    TColor Pixel(int x, int y)
    {
        return Grid->Canvas().GetPixel(x, y);
    }
    void Paint()
    {
        Grid->Invalidate();
        Grid->Update();
    }

    // The grid goes first: its handlers write into the members above it.
    std::unique_ptr<QWidget> Window;
    std::vector<std::string> Log;
    std::vector<TPoint> EditAsked;
    std::vector<double> Stored;
    bool DataLoaded = true;
    std::unique_ptr<TExtStringGrid> Grid;
};

inline void Key(QWidget* w, int key, Qt::KeyboardModifiers mods = Qt::NoModifier, const QString& text = {})
{
    QKeyEvent press(QEvent::KeyPress, key, mods, text);
    QApplication::sendEvent(w, &press);
    QKeyEvent release(QEvent::KeyRelease, key, mods, text);
    QApplication::sendEvent(w, &release);
}

inline void Type(QWidget* w, const std::string& text)
{
    for (char ch : text) {
        const int key = ch >= '0' && ch <= '9' ? Qt::Key_0 + (ch - '0') : ch == ',' ? Qt::Key_Comma : ch == '.' ? Qt::Key_Period : Qt::Key_A;
        Key(w, key, Qt::NoModifier, QString(QChar(ch)));
    }
}

// One mouse event at (x, y) for button b (a press, a release or a move), with the buttons held after it.
inline void SendMouse(QWidget* w, QEvent::Type t, int x, int y, Qt::MouseButtons held, Qt::MouseButton b = Qt::LeftButton)
{
    const QPointF p(x, y);
    QMouseEvent e(t, p, w->mapToGlobal(p), b, held, Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}

inline void Click(QWidget* w, int x, int y, Qt::MouseButton b = Qt::LeftButton)
{
    SendMouse(w, QEvent::MouseButtonPress, x, y, b, b);
    SendMouse(w, QEvent::MouseButtonRelease, x, y, Qt::NoButton, b);
}

inline void Wheel(QWidget* w, int x, int y, int delta, Qt::KeyboardModifiers mods = Qt::NoModifier)
{
    const QPointF p(x, y);
    QWheelEvent e(p, w->mapToGlobal(p), QPoint(), QPoint(0, delta), Qt::NoButton, mods, Qt::NoScrollPhase, false);
    QApplication::sendEvent(w, &e);
}

// A 4 x 6 grid of "col:row" texts whose column 1 edits with the editor type under test (the other columns
// plain text), Tab moving between cells, its window shown and active and the grid focused.
struct EditorGridHost {
    explicit EditorGridHost(TEditorType type) : Type(type), Host(4, 6, 40, 40, 520, 260)
    {
        TExtStringGrid& g = G();
        g.SetDefaultColWidth(110);
        g.SetDefaultRowHeight(24);
        g.SetOptions(g.Options() + TGridOptions{goTabs});
        for (int r = 1; r < 6; ++r)
            for (int c = 0; c < 4; ++c) g.SetCells(c, r, std::to_string(c) + ":" + std::to_string(r));
        g.OnGetEditorType = [this](TPersistent*, int c, int, TEditorType& e) {
            if (c == 1) e = Type;
        };
        Host.Window->activateWindow();
        Application->ProcessMessages();
        g.SetFocus();
    }
    // OnCellValidate records every value as "col,row=value" and refuses Refuse.
    void RecordValidation()
    {
        G().OnCellValidate = [this](TPersistent*, int c, int r, std::string& v, bool& valid) {
            Validated.push_back(std::to_string(c) + "," + std::to_string(r) + "=" + v);
            valid = v != Refuse;
        };
    }
    TExtStringGrid& G() { return Host.G(); }
    // Enter on the grid: the current cell's editor opens.
    void Open()
    {
        Key(G().Widget(), Qt::Key_Return, Qt::NoModifier, "\r");
        Application->ProcessMessages();
    }
    std::pair<int, int> Pos() { return {G().Col(), G().Row()}; }

    TEditorType Type;
    std::vector<std::string> Validated;
    std::string Refuse = "refused";
    // Last, so the grid goes first: its handlers write into the members above it.
    EditGridHost Host;
};

inline int Channel(TColor c, int shift) { return static_cast<int>((c >> shift) & 0xFF); }

} // namespace gridtest
