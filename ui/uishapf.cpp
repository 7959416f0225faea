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

struct TWindow {
    int Low, High;
};

TWindow ChannelWindow(int transparent, int tolerance)
{
    const int low = std::clamp(transparent - tolerance, 0, 255);
    return {low, std::clamp(low + 2 * tolerance, 0, 255)};
}

} // namespace

std::unique_ptr<TRegion> BitmapToRegion(const TBitmap* Bitmap, TColor Tolerance, TPoint Offset, std::vector<int>* Batches)
{
    if (!Bitmap || Bitmap->Empty()) return nullptr;
    const TColor key = Bitmap->Monochrome() ? clWhite : Bitmap->PixelRGB(0, Bitmap->Height() - 1);
    const TColor tol = ColorToRGB(Tolerance);
    const TWindow r = ChannelWindow(GetRValue(key), GetRValue(tol));
    const TWindow g = ChannelWindow(GetGValue(key), GetGValue(tol));
    const TWindow b = ChannelWindow(GetBValue(key), GetBValue(tol));
    // A channel is inside its window when (value - low) <= (high - low) in unsigned arithmetic; the
    // loops below compare whole rows this way, which the compiler can do several pixels at a time.
    const std::uint32_t rl = r.Low, rw = r.High - r.Low, gl = g.Low, gw = g.High - g.Low, bl = b.Low, bw = b.High - b.Low;
    // Batches of runs are merged into the runs gathered so far: the batches follow each other down the
    // picture, so their union is the runs one after the other, turned into a region once at the end.
    std::vector<TRect> merged;
    std::vector<TRect> batch;
    batch.reserve(BatchSize);
    const auto flush = [&] {
        if (batch.empty()) return;
        if (Batches) Batches->push_back(static_cast<int>(batch.size()));
        merged.insert(merged.end(), batch.begin(), batch.end());
        batch.clear();
    };
    const int width = Bitmap->Width();
    std::vector<std::uint8_t> transparentRow(static_cast<std::size_t>(width) + 1);
    const auto runs = [&](int y) {
        const std::uint8_t* t = transparentRow.data();
        int x = 0;
        while (x < width) {
            while (x < width && t[x]) ++x;
            const int x0 = x;
            while (x < width && !t[x]) ++x;
            if (x > x0) {
                batch.push_back({x0 + Offset.x, y + Offset.y, x + Offset.x, y + Offset.y + 1});
                if (batch.size() == BatchSize) flush();
            }
        }
    };
    const auto test = [&](std::uint32_t blue, std::uint32_t green, std::uint32_t red) -> std::uint8_t {
        return static_cast<std::uint8_t>((blue - bl <= bw) & (green - gl <= gw) & (red - rl <= rw));
    };
    // 32- and 24-bit bitmaps are read in place, row by row (blue, green, red bytes); other formats
    // through a 32-bit copy.
    std::uint8_t* t = transparentRow.data();
    const TPixelFormat format = Bitmap->PixelFormat();
    if (format == pf32bit || format == pfDevice) {
        for (int y = 0; y < Bitmap->Height(); ++y) {
            const std::uint8_t* p = Bitmap->ScanLine(y);
            for (int x = 0; x < width; ++x) {
                std::uint32_t v;
                std::memcpy(&v, p + 4 * x, 4);
                t[x] = test(v & 0xFF, (v >> 8) & 0xFF, (v >> 16) & 0xFF);
            }
            runs(y);
        }
    } else if (format == pf24bit) {
        for (int y = 0; y < Bitmap->Height(); ++y) {
            const std::uint8_t* p = Bitmap->ScanLine(y);
            for (int x = 0; x < width; ++x) t[x] = test(p[3 * x], p[3 * x + 1], p[3 * x + 2]);
            runs(y);
        }
    } else {
        const TPixelBuffer copy = Bitmap->ToPixels();
        for (int y = 0; y < copy.Height; ++y) {
            const std::uint32_t* p = copy.Pixels.data() + static_cast<std::size_t>(y) * copy.Width;
            for (int x = 0; x < width; ++x) t[x] = test(p[x] & 0xFF, (p[x] >> 8) & 0xFF, (p[x] >> 16) & 0xFF);
            runs(y);
        }
    }
    flush();
    if (merged.empty()) return nullptr;
    return std::make_unique<TRegion>(TRegion::FromRowRuns(merged));
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
