// Fuzz target of the delimited-text reader: the input after its first byte is a file loaded into a grid,
// the first byte choosing the delimiter (found from the file, ',', ';' or tab), OEM text and appending.
// The reader may refuse the file with its own error; it must not crash, and the delimiter and the row
// count come back as the reader leaves them on every exit.
#include "fuzz_grid_common.h"

#include <cstdint>

using namespace fuzzgrid;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1) return 0;
    const std::uint8_t how = data[0];
    const std::string file = fuzzapp::WriteTempFile(std::string(reinterpret_cast<const char*>(data) + 1, size - 1), "grid.csv");
    TExtStringGrid& g = SharedGrid(3, 3);
    StopPainting(g);
    const char delimiters[] = {'\0', ',', ';', '\t'};
    g.FieldDelimiter = delimiters[how & 3];
    g.OemConvert = (how & 4) != 0;
    if (how & 8) g.SetFixedFooters(1);
    try {
        if (how & 16) g.ReadDelimitedFile(file, true);
        else g.LoadDelimitedFile(file);
    } catch (const Exception&) {
    }
    Require(g.FieldDelimiter == delimiters[how & 3]);
    Require(g.RowCount() >= 1 && g.ColCount() >= 1);
    // What was read copies out as text.
    (void)g.CopyRangeAsText({0, 0, g.ColCount() - 1, g.RowCount() - 1}, false);
    SettleGrid(3, 3);
    return 0;
}
