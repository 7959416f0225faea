// The bitmap region scan and the shape control that cuts its form to a picture.
#include "ui/uishapf.h"

#include "platform/controls/TopLevel.h"
#include "platform/graphics/Canvas.h"

#include <algorithm>
#include <bit>
#include <cstdint>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

constexpr std::size_t BatchSize = 2000;

// The colour window of one channel: inside when (value - Low) <= Width in unsigned byte arithmetic (Low +
// Width never passes 255, so values below Low wrap round beyond Width).
struct TWindow {
    std::uint32_t Low, Width;
};

TWindow ChannelWindow(int transparent, int tolerance)
{
    const int low = std::clamp(transparent - tolerance, 0, 255);
    return {static_cast<std::uint32_t>(low), static_cast<std::uint32_t>(std::clamp(low + 2 * tolerance, 0, 255) - low)};
}

struct TKeyWindows {
    TWindow R, G, B;
};

bool Transparent(std::uint32_t b, std::uint32_t g, std::uint32_t r, const TKeyWindows& w)
{
    return ((b - w.B.Low) & 0xFF) <= w.B.Width && ((g - w.G.Low) & 0xFF) <= w.G.Width && ((r - w.R.Low) & 0xFF) <= w.R.Width;
}

// A row's transparency is kept as bits, bit x % 64 of word x / 64 set for a transparent pixel, so runs are
// found a word at a time.
using TRowBits = std::vector<std::uint64_t>;

// From 32-bit pixels (blue in the low byte, the top byte ignored). The picture is far larger than the
// region, so the test is kept to a few byte operations per four pixels: subtract the windows' low ends
// byte by byte and compare with their widths.
void TestRow32(const std::uint32_t* p, int n, const TKeyWindows& w, std::uint64_t* bits)
{
    int x = 0;
#if defined(__SSE2__)
    const __m128i low = _mm_set1_epi32(static_cast<int>(w.B.Low | w.G.Low << 8 | w.R.Low << 16));
    const __m128i width = _mm_set1_epi32(static_cast<int>(w.B.Width | w.G.Width << 8 | w.R.Width << 16 | 0xFF000000u));
    const __m128i ones = _mm_set1_epi32(-1);
    const auto four = [&](const std::uint32_t* q) {
        const __m128i d = _mm_sub_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(q)), low);
        return _mm_cmpeq_epi32(_mm_cmpeq_epi8(_mm_min_epu8(d, width), d), ones);
    };
    for (; x + 16 <= n; x += 16) {
        const __m128i lo = _mm_packs_epi32(four(p + x), four(p + x + 4));
        const __m128i hi = _mm_packs_epi32(four(p + x + 8), four(p + x + 12));
        const auto m = static_cast<std::uint64_t>(static_cast<std::uint16_t>(_mm_movemask_epi8(_mm_packs_epi16(lo, hi))));
        bits[x >> 6] |= m << (x & 63);
    }
#endif
    for (; x < n; ++x) {
        const std::uint32_t v = p[x];
        bits[x >> 6] |= static_cast<std::uint64_t>(Transparent(v & 0xFF, (v >> 8) & 0xFF, (v >> 16) & 0xFF, w)) << (x & 63);
    }
}

// From 24-bit pixels (blue, green, red bytes).
void TestRow24(const std::uint8_t* p, int n, const TKeyWindows& w, std::uint64_t* bits)
{
    for (int x = 0; x < n; ++x)
        bits[x >> 6] |= static_cast<std::uint64_t>(Transparent(p[3 * x], p[3 * x + 1], p[3 * x + 2], w)) << (x & 63);
}

// The first pixel from x that is transparent (or, with `transparent` false, opaque); n when none is.
int Next(const std::uint64_t* bits, int x, int n, bool transparent)
{
    while (x < n) {
        const std::uint64_t word = (transparent ? bits[x >> 6] : ~bits[x >> 6]) >> (x & 63);
        if (word) return std::min(n, x + std::countr_zero(word));
        x = (x | 63) + 1;
    }
    return n;
}

} // namespace

std::unique_ptr<TRegion> BitmapToRegion(const TBitmap* Bitmap, TColor Tolerance, TPoint Offset, std::vector<int>* Batches)
{
    if (!Bitmap || Bitmap->Empty()) return nullptr;
    const TColor key = Bitmap->Monochrome() ? clWhite : Bitmap->PixelRGB(0, Bitmap->Height() - 1);
    const TColor tol = ColorToRGB(Tolerance);
    const TKeyWindows windows{ChannelWindow(GetRValue(key), GetRValue(tol)), ChannelWindow(GetGValue(key), GetGValue(tol)),
                              ChannelWindow(GetBValue(key), GetBValue(tol))};
    // The runs go into one list; every 2000 of them make a batch that is merged into the region so far.
    // The batches follow each other down the picture, so their union is the runs one after the other,
    // turned into a region once at the end.
    // The list is kept between calls: a fresh one would cost page faults as it grows.
    thread_local std::vector<TRect> runs;
    runs.clear();
    std::size_t batchStart = 0;
    const auto endBatch = [&] {
        if (runs.size() == batchStart) return;
        if (Batches) Batches->push_back(static_cast<int>(runs.size() - batchStart));
        batchStart = runs.size();
    };
    const int width = Bitmap->Width(), height = Bitmap->Height();
    thread_local TRowBits row;
    row.resize((static_cast<std::size_t>(width) + 63) / 64);
    std::uint64_t* bits = row.data();
    const TPixelFormat format = Bitmap->PixelFormat();
    const TPixelBuffer copy = format == pf32bit || format == pfDevice || format == pf24bit ? TPixelBuffer{} : Bitmap->ToPixels();
    for (int y = 0; y < height; ++y) {
        // 32- and 24-bit bitmaps are read in place; other formats through a 32-bit copy (0x00RRGGBB,
        // which has blue in its low byte as well).
        std::fill(row.begin(), row.end(), 0);
        if (format == pf32bit || format == pfDevice)
            TestRow32(reinterpret_cast<const std::uint32_t*>(Bitmap->ScanLine(y)), width, windows, bits);
        else if (format == pf24bit)
            TestRow24(Bitmap->ScanLine(y), width, windows, bits);
        else
            TestRow32(copy.Pixels.data() + static_cast<std::size_t>(y) * copy.Width, width, windows, bits);
        for (int x = Next(bits, 0, width, false); x < width;) {
            const int end = Next(bits, x, width, true);
            runs.push_back({x + Offset.x, y + Offset.y, end + Offset.x, y + Offset.y + 1});
            if (runs.size() - batchStart == BatchSize) endBatch();
            x = Next(bits, end, width, false);
        }
    }
    endBatch();
    if (runs.empty()) return nullptr;
    return std::make_unique<TRegion>(TRegion::FromRowRuns(runs));
}

// ---- TuiShapeForm --------------------------------------------------------------------------------------

const TClassInfo& TuiShapeForm::StaticClassInfo()
{
    using P = TProps<TuiShapeForm>;
    using S = TuiShapeForm;
    static const TClassInfo info({
        .Name = "TuiShapeForm",
        .Parent = &TCustomControl::StaticClassInfo(),
        .Properties = {P::Boolean("DragAnywhere", &S::DragAnywhere, &S::SetDragAnywhere).Default(false),
                       P::Colour("Tolerance", &S::Tolerance, &S::SetTolerance).Default(0x101010)},
    });
    return info;
}

TuiShapeForm::TuiShapeForm(TForm* Form) : TCustomControl(nullptr), FForm(Form)
{
    if (!Form) throw EComponentError("This component must be owned by a TForm");
    FPicture = std::make_unique<TPicture>();
    FPicture->OnChange = [this](TPicture*) { PictureChanged(); };
    QWidget* window = FormWindow(FForm);
    SetParentWidget(window);
    const TSize client = WindowClientSize(window);
    SetBounds(0, 0, client.cx, client.cy);
}

TuiShapeForm::~TuiShapeForm()
{
    FDestroying = true;
    if (FHook) UnhookCaptionHitTest(FormWindow(FForm), FHook);
    FPicture->OnChange = nullptr;
}

void TuiShapeForm::Loaded()
{
    TCustomControl::Loaded();
    if (FHook) return;
    HookForm();
    if (Enabled()) ApplyRegion(true);
}

void TuiShapeForm::SetDragControl(TWinControl* v)
{
    FDragControl = v;
    if (v) FDragAnywhere = false;
}

void TuiShapeForm::Assign(const TPersistent& Source)
{
    const auto* s = dynamic_cast<const TuiShapeForm*>(&Source);
    if (!s) {
        TCustomControl::Assign(Source);
        return;
    }
    FDragAnywhere = s->FDragAnywhere;
    FTolerance = s->FTolerance;
    FPicture->Assign(*s->FPicture);
}

void TuiShapeForm::HookForm()
{
    FHook = HookCaptionHitTest(FormWindow(FForm), [this](TPoint p) { return IsCaption(p); });
}

// The whole form, or the drag control's bounds, act as the caption.
bool TuiShapeForm::IsCaption(TPoint screenPoint) const
{
    if (FDragAnywhere) return true;
    if (!FDragControl) return false;
    const TPoint origin = ClientToScreen({0, 0});
    const TPoint p{screenPoint.x - origin.x, screenPoint.y - origin.y};
    const TWinControl* c = FDragControl;
    return p.x >= c->Left() && p.x < c->Left() + c->Width() && p.y >= c->Top() && p.y < c->Top() + c->Height();
}

void TuiShapeForm::PictureChanged()
{
    FShape.SetSize(0, 0);
    FShape.SetSize(FPicture->Width(), FPicture->Height());
    if (const TGraphic* g = FPicture->Graphic(); g && !g->Empty()) FShape.Canvas().Draw(0, 0, *g);
    FShape.SetTransparentMode(tmAuto);
    if (FDestroying) return;
    FitFormToPicture();
    if (Enabled())
        ApplyRegion(true);
    else if (!FPainting)
        Invalidate();
}

void TuiShapeForm::FitFormToPicture()
{
    if (!FPicture->HasGraphic() || FPicture->Width() == 0 || FPicture->Height() == 0) return;
    QWidget* window = FormWindow(FForm);
    const TSize client = WindowClientSize(window);
    if (client.cx != FPicture->Width() || client.cy != FPicture->Height())
        SetWindowClientSize(window, FPicture->Width(), FPicture->Height());
    SetBounds(0, 0, FPicture->Width(), FPicture->Height());
}

std::unique_ptr<TRegion> TuiShapeForm::BuildRegion() const { return BitmapToRegion(&FShape, FTolerance, {0, 0}); }

void TuiShapeForm::ApplyRegion(bool on)
{
    if (ComponentState().Contains(csLoading)) return;
    const std::unique_ptr<TRegion> region = on ? BuildRegion() : nullptr;
    // Without a region (an empty picture, or no opaque pixel) the form keeps its rectangle.
    ::SetWindowRegion(FormWindow(FForm), region.get());
}

void TuiShapeForm::EnabledChanged()
{
    TCustomControl::EnabledChanged();
    ApplyRegion(Enabled());
}

void TuiShapeForm::Paint()
{
    FPainting = true;
    TCanvas& c = Canvas();
    c.Brush().SetColor(clBtnFace);
    c.FillRect(ClientRect());
    if (!FShape.Empty()) c.Draw(0, 0, FShape);
    FPainting = false;
}
