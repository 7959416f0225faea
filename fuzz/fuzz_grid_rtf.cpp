// Fuzz target of the rich-text reader and writer: any bytes read as rich text (never raising); what is
// read writes out as rich text that reads back to the same document, gives a plain text, and lays out
// on a recording canvas measured and drawn, wrapped or not; a grid cell holding it copies as its plain
// text.
#include "fuzz_grid_common.h"

#include "platform/graphics/Canvas.h"
#include "platform/graphics/RecordingBackend.h"
#include "platform/graphics/RichText.h"

#include <cstdint>

using namespace fuzzgrid;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string rtf(reinterpret_cast<const char*>(data), size);
    const TRichDocument doc = ParseRichText(rtf);
    const std::string written = WriteRichText(doc);
    Require(IsRichText(written));
    Require(ParseRichText(written) == doc);
    const std::string plain = doc.PlainText();
    (void)RichTextFromPlain(plain);
    auto backend = std::make_shared<TRecordingBackend>(400, 300);
    TCanvas canvas(backend);
    for (const bool wrap : {false, true}) {
        const TSize measured = DrawRichText(canvas, doc, {2, 3, 120, 80}, wrap, true);
        const TSize drawn = DrawRichText(canvas, doc, {2, 3, 120, 80}, wrap, false, clRed);
        Require(measured.cx == drawn.cx && measured.cy == drawn.cy);
        Require(measured.cx >= 0 && measured.cy >= 0);
        backend->Clear();
    }
    // A rich-text cell copies as its plain text.
    if (IsRichText(rtf) && size < 2048) {
        TExtStringGrid& g = SharedGrid(3, 3);
        g.SetCells(1, 1, rtf);
        g.SetSelection({1, 1, 1, 1});
        (void)g.SelectionAsText();
        g.Invalidate();
        g.Update();
    }
    return 0;
}
