// Hosts and input for the grid's tests: plain editable grids in shown windows (for the clipboard, drop and
// editor tests, and a grid whose column 1 edits with the editor type under test), synthetic keys, typing,
// mouse presses and wheel turns, and a colour channel reader. The views' tests drive their grids with the
// same input helpers.
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

#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace gridtest {

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
