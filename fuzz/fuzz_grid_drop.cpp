// Fuzz target of the grid as a drop target: the input after its first four bytes is a block offered by a
// foreign drag (plain text, rich text, a grid column or a list of dropped files, by the first byte),
// entering, moving over and dropping on the cell and with the keys the other bytes choose, through the
// desktop's drag events. Dropped files are refused before they load (the loaders have their own target).
#include "fuzz_grid_common.h"

#include "grid/EsgDD.h"

#include <QApplication>
#include <QDropEvent>
#include <QMimeData>

#include <cstdint>

using namespace fuzzgrid;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 4) return 0;
    const std::uint8_t kind = data[0], flags = data[1];
    const QByteArray block(reinterpret_cast<const char*>(data) + 4, static_cast<qsizetype>(size - 4));
    TExtStringGrid& g = SharedGrid(5, 6);
    StopPainting(g);
    if (!g.DropTargetRegistered()) g.DragDropSettings.SetOleDropTarget(true);
    g.DragDropSettings.OleInsertRows = flags & 1;
    g.DragDropSettings.OleEntireRows = flags & 2;
    g.DragDropSettings.OleRemoveRows = flags & 4;
    g.DragDropSettings.SetOleDropRTF(flags & 8);
    g.FixedRowAlways = flags & 16;
    if (flags & 32) g.SetOptions(g.Options() + TGridOptions{goRowSelect});
    if (flags & 64) g.SetRowCount(1);
    g.OnOleDrop = [](TPersistent*, int ARow, int ACol, const std::string&, bool& Allow) {
        if (ARow == -1 && ACol == -1) Allow = false;
    };
    int columns = 0;
    g.OnOleDropCol = [&](TPersistent*, int, int, int) { ++columns; };

    QMimeData mime;
    switch (kind % 5) {
    case 0: mime.setData("text/plain", block); break;
    case 1: mime.setData("text/rtf", block); mime.setData("text/plain", block.left(8)); break;
    case 2: mime.setData("application/x-Grid-Column", block); mime.setData("text/plain", QByteArray()); break;
    case 3: mime.setData("text/uri-list", block); break;
    default: mime.setData("text/plain", block); mime.setData("text/uri-list", block); break;
    }
    QWidget* w = g.Widget();
    const QPoint at(data[2] % 330, data[3] % 210);
    const Qt::KeyboardModifiers keys = (kind & 8) ? Qt::ControlModifier : Qt::NoModifier;
    const Qt::DropActions offered = (kind & 16) ? Qt::CopyAction : Qt::CopyAction | Qt::MoveAction;
    QDragEnterEvent enter(at, offered, &mime, Qt::LeftButton, keys);
    QApplication::sendEvent(w, &enter);
    QDragMoveEvent move(at, offered, &mime, Qt::LeftButton, keys);
    QApplication::sendEvent(w, &move);
    QDropEvent drop(QPointF(at), offered, &mime, Qt::NoButton, keys);
    QApplication::sendEvent(w, &drop);
    Require(g.RowCount() >= 1 && g.ColCount() >= 1);
    const TGridRect s = g.Selection();
    Require(s.Left <= s.Right && s.Top <= s.Bottom && s.Right < g.ColCount() && s.Bottom < g.RowCount());
    Require(columns <= 1);
    g.DragDropSettings.SetOleDropRTF(false);
    SettleGrid(5, 6);
    return 0;
}
