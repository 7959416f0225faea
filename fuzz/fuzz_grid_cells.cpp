// Fuzz target of the grid's private clipboard format: the input after its first two bytes is a block of
// component records read whole and checked, then pasted into a grid at the cell the first two bytes
// name. A bad block raises the stream error and changes no cell; a good one pastes, copies out again in
// the same format and pastes back into a second grid.
#include "fuzz_grid_common.h"

#include "grid/ExtGridClipboard.h"
#include "platform/rtl/Streams.h"

#include <cstdint>

using namespace fuzzgrid;

namespace {

std::string Snapshot(TExtStringGrid& g)
{
    std::string s = std::to_string(g.ColCount()) + "x" + std::to_string(g.RowCount());
    for (int r = 0; r < g.RowCount(); ++r)
        for (int c = 0; c < g.ColCount(); ++c) s += "|" + g.Cells(c, r);
    return s;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 2) return 0;
    const TPoint origin{data[0] % 8, data[1] % 8};
    TMemoryStream block;
    block.Write(data + 2, static_cast<std::int64_t>(size - 2));
    // A whole grid of more cells than a screen holds finds nothing a small one does not.
    try {
        block.Seek(0, soBeginning);
        TPastedBlock b;
        ReadPastedBlock(block, b);
        if (static_cast<long long>(b.Range.ColCount) * b.Range.RowCount > 4096) return 0;
    } catch (const EReadError&) {
    }
    TExtStringGrid& g = SharedGrid(6, 6);
    g.SetCells(1, 1, "kept");
    g.AddCheckBox(2, 2, true, false);
    const std::string before = Snapshot(g);
    block.Seek(0, soBeginning);
    try {
        g.PasteCellsStream(origin, block);
    } catch (const EReadError&) {
        Require(Snapshot(g) == before);
        return 0;
    }
    // What was pasted copies out and pastes into another grid as the same texts.
    TMemoryStream again;
    const TGridRect all{0, 0, g.ColCount() - 1, g.RowCount() - 1};
    g.WriteCellsStream(all, again);
    TExtStringGrid& other = SharedGrid(g.ColCount(), g.RowCount(), 1);
    again.Seek(0, soBeginning);
    other.PasteCellsStream({0, 0}, again);
    for (int r = 0; r < g.RowCount(); ++r)
        for (int c = 0; c < g.ColCount(); ++c) Require(other.Cells(c, r) == g.Cells(c, r));
    // And it paints.
    g.Invalidate();
    g.Update();
    return 0;
}
