// The bitmap region scan and the shape control that cuts its form to a picture.
#include "ui/uishapf.h"

#include "platform/controls/TopLevel.h"
#include "platform/graphics/Canvas.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>

namespace {

constexpr std::size_t BatchSize = 2000;

// The colour window of one channel: inside when (value - Low) <= Width in unsigned arithmetic.
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

// One row's transparency, a byte a pixel (1: transparent), from 32-bit pixels (blue in the low byte). Kept
// apart and plain so the compiler can compare several pixels at a time.
__attribute__((optimize("O3"))) void TestRow32(const std::uint32_t* __restrict p, std::uint8_t* __restrict out, int n,
                                             TKeyWindows w)
{
    for (int x = 0; x < n; ++x) {
        const std::uint32_t v = p[x];
        out[x] = static_cast<std::uint8_t>(((v & 0xFF) - w.B.Low <= w.B.Width) & (((v >> 8) & 0xFF) - w.G.Low <= w.G.Width) &
                                           (((v >> 16) & 0xFF) - w.R.Low <= w.R.Width));
    }
}

// The same from 24-bit pixels (blue, green, red bytes).
__attribute__((optimize("O3"))) void TestRow24(const std::uint8_t* __restrict p, std::uint8_t* __restrict out, int n,
                                             TKeyWindows w)
{
    for (int x = 0; x < n; ++x)
        out[x] = static_cast<std::uint8_t>((p[3 * x] - w.B.Low <= w.B.Width) & (p[3 * x + 1] - w.G.Low <= w.G.Width) &
                                           (p[3 * x + 2] - w.R.Low <= w.R.Width));
}

// The first index from `x` whose byte is not `value`; 8 bytes at a time where the row allows.
int Skip(const std::uint8_t* t, int x, int n, std::uint8_t value)
{
    const std::uint64_t all = value ? 0x0101010101010101ull : 0;
    while (x + 8 <= n) {
        std::uint64_t word;
        std::memcpy(&word, t + x, 8);
        if (word != all) break;
        x += 8;
    }
    while (x < n && t[x] == value) ++x;
    return x;
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
    thread_local std::vector<std::uint8_t> row;
    row.resize(static_cast<std::size_t>(width));
    std::uint8_t* t = row.data();
    const TPixelFormat format = Bitmap->PixelFormat();
    const TPixelBuffer copy = format == pf32bit || format == pfDevice || format == pf24bit ? TPixelBuffer{} : Bitmap->ToPixels();
    for (int y = 0; y < height; ++y) {
        // 32- and 24-bit bitmaps are read in place; other formats through a 32-bit copy (0x00RRGGBB,
        // which has blue in its low byte as well).
        if (format == pf32bit || format == pfDevice)
            TestRow32(reinterpret_cast<const std::uint32_t*>(Bitmap->ScanLine(y)), t, width, windows);
        else if (format == pf24bit)
            TestRow24(Bitmap->ScanLine(y), t, width, windows);
        else
            TestRow32(copy.Pixels.data() + static_cast<std::size_t>(y) * copy.Width, t, width, windows);
        for (int x = Skip(t, 0, width, 1); x < width;) {
            const int end = Skip(t, x, width, 0);
            runs.push_back({x + Offset.x, y + Offset.y, end + Offset.x, y + Offset.y + 1});
            if (runs.size() - batchStart == BatchSize) endBatch();
            x = Skip(t, end, width, 1);
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
