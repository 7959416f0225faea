// Fuzz target of the markup's pictures: any bytes loaded as a picture (a GIF's frames scanned and each
// frame shown at its offset in the logical screen, never beyond it), drawn, and loaded again from the
// bytes it keeps, to the same frame count and sizes.
#include "fuzz_grid_common.h"

#include "grid/PictureContainer.h"
#include "platform/graphics/Bitmap.h"
#include "platform/graphics/Canvas.h"

#include <cstdint>

using namespace fuzzgrid;

namespace {

// Drawing a picture of millions of pixels finds nothing a small one does not; the size is what was
// decoded, not what the file's header claims.
constexpr long long MostPixelsDrawn = 64 * 64;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    StartApplication();
    THTMLPicture p;
    int changes = 0;
    p.OnFrameChange = [&](THTMLPicture*) { ++changes; };
    try {
        p.LoadFromBytes(data, size);
    } catch (const EInvalidGraphic&) {
        Require(p.Empty());
        return 0;
    }
    const int frames = p.CountFrames();
    const int fullWidth = p.FullWidth(), fullHeight = p.FullHeight();
    if (!p.HasGIFSignature()) Require(frames == -1);
    TBitmap target(24, 24);
    // What was decoded lies on the logical screen, whatever the frame's descriptor says.
    const auto onScreen = [&] {
        return p.Empty() || (p.FrameLeft() >= 0 && p.FrameTop() >= 0 && p.FrameLeft() + p.Width() <= p.FullWidth() &&
                             p.FrameTop() + p.Height() <= p.FullHeight());
    };
    const auto small = [&] { return static_cast<long long>(p.Width()) * p.Height() <= MostPixelsDrawn; };
    Require(onScreen());
    for (int f = 1; f <= std::min(frames, 6); ++f) {
        p.SetFrame(f);
        Require(p.Frame() == f);
        Require(onScreen());
        if (small()) {
            p.DrawInto(target.Canvas(), {1, 1, 20, 20});
            p.Stretch = !p.Stretch;
            p.DrawInto(target.Canvas(), {0, 0, 7, 5});
        }
    }
    if (small() && frames < 1) p.DrawInto(target.Canvas(), {2, 2, 9, 9});
    // Loaded again from what it keeps, and copied, each a second and third decoding of the same bytes: for
    // small pictures only, as a large one would hold every input at the decoder's pace three times over.
    if (static_cast<long long>(fullWidth) * fullHeight > MostPixelsDrawn) return 0;
    THTMLPicture again;
    const std::vector<std::uint8_t> bytes = p.SourceBytes();
    again.LoadFromBytes(bytes.data(), bytes.size());
    Require(again.CountFrames() == frames);
    Require(again.FullWidth() == fullWidth && again.FullHeight() == fullHeight);
    // A copy starts again at the first frame, as the fresh load does.
    std::unique_ptr<TGraphic> copy = p.Clone();
    Require(copy->Width() == again.Width() && copy->Height() == again.Height());
    return 0;
}
