// Fuzz target of the mini-markup engine: the input after its first four bytes is a markup text laid out
// on a recording canvas in a rectangle and at a hit point the first bytes choose, measured, drawn and
// hit-tested with word wrap on or off; the text is also stripped to plain text, and its first line names
// a CONTROL whose value is rewritten (the text is unchanged when no control has that ID).
#include "fuzz_grid_common.h"

#include "grid/EsgHTMLE.h"
#include "grid/PictureContainer.h"
#include "platform/graphics/Bitmap.h"
#include "platform/graphics/Canvas.h"
#include "platform/graphics/ImageList.h"
#include "platform/graphics/RecordingBackend.h"

#include <cstdint>

using namespace fuzzgrid;

namespace {

struct Pictures {
    Pictures()
    {
        StartApplication();
        Images.SetSize(8, 8);
        TBitmap b(8, 8);
        b.Canvas().Brush().SetColor(clRed);
        b.Canvas().FillRect({0, 0, 8, 8});
        Images.Add(b);
        Images.Add(b);
        std::vector<std::uint8_t> bytes;
        TBitmap(5, 3).SaveToBytes(bytes);
        Container.AddPicture("pic").Picture().LoadFromBytes(bytes.data(), bytes.size());
    }
    TCustomImageList Images{nullptr};
    TPictureContainer Container{nullptr};
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 4) return 0;
    static Pictures pictures;
    const std::string text(reinterpret_cast<const char*>(data) + 4, size - 4);
    const TRect r{data[0] % 16, data[1] % 16, 20 + data[0], 12 + data[1]};
    THTMLPaintParams p;
    p.Images = &pictures.Images;
    p.PictureContainer = &pictures.Container;
    p.WordWrap = (data[2] & 1) != 0;
    p.BlinkOn = (data[2] & 2) != 0;
    p.ControlDown = (data[2] & 4) != 0;
    p.XPos = r.Left + data[3] % 200;
    p.YPos = r.Top + (data[3] >> 1) % 60;
    auto backend = std::make_shared<TRecordingBackend>(400, 300);
    TCanvas canvas(backend);
    for (int pass = 0; pass < 3; ++pass) {
        THTMLPaintParams q = p;
        q.MeasureOnly = pass == 0;
        q.HitTestOnly = pass == 2;
        THTMLResult res;
        (void)PaintHTMLText(canvas, text, r, q, res);
        Require(res.XSize >= 0 && res.YSize >= 0);
        backend->Clear();
    }
    Require(HTMLToPlainText(text).size() <= 2 * text.size());
    // The first line is "ID=VALUE" for a control's value.
    const auto nl = text.find('\n');
    const std::string head = text.substr(0, nl);
    const auto eq = head.find('=');
    const std::string id = head.substr(0, eq), value = eq == std::string::npos ? std::string() : head.substr(eq + 1);
    std::string rewritten = text;
    if (!SetHTMLControlValue(rewritten, id, value)) Require(rewritten == text);
    else {
        THTMLResult res;
        PaintHTMLText(canvas, rewritten, r, p, res);
    }
    std::string type, width, cid, cvalue;
    ParseControlTag(text, type, width, cid, cvalue);
    (void)HTMLColor(head);
    return 0;
}
