// Fuzz target of the picture loader: the bytes go to our bitmap reader, the PNG reader and the JPEG
// reader; a picture that loads is drawn onto a canvas, written again and read back when it is small.
#include "platform/graphics/Bitmap.h"
#include "platform/graphics/Canvas.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <vector>

namespace {

// Drawing and rewriting a picture of millions of pixels finds nothing a small one does not, and would
// hold the fuzzer at a few inputs a second; the readers still see every input whole.
constexpr std::int64_t MostPixelsExercised = 64 * 64;

void Exercise(TGraphic& g)
{
    if (static_cast<std::int64_t>(g.Width()) * g.Height() > MostPixelsExercised) return;
    const TPixelBuffer px = g.ToPixels();
    if (px.Pixels.size() != static_cast<std::size_t>(g.Width()) * g.Height()) std::abort();
    TBitmap target(16, 16);
    target.Canvas().Draw(-3, -3, g);
    target.Canvas().StretchDraw({0, 0, 9, 7}, g);
    std::vector<std::uint8_t> again;
    g.SaveToBytes(again);
    std::unique_ptr<TGraphic> copy = g.Clone();
    copy->LoadFromBytes(again.data(), again.size());   // what we write, we read
    if (copy->Width() != g.Width() || copy->Height() != g.Height()) std::abort();
}

template <class T>
void Try(const std::uint8_t* data, std::size_t size)
{
    T g;
    try {
        g.LoadFromBytes(data, size);
    } catch (const EInvalidGraphic&) {
        return;
    }
    Exercise(g);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Try<TBitmap>(data, size);
    Try<TPngImage>(data, size);
    Try<TJPEGImage>(data, size);
    return 0;
}
