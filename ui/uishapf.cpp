// The bitmap region scan and the shape control that cuts its form to a picture.
#include "ui/uishapf.h"

#include "platform/controls/TopLevel.h"
#include "platform/graphics/Canvas.h"

#include <algorithm>

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
    // The pixels as 0x00RRGGBB, read row by row.
    const TPixelBuffer px = Bitmap->ToPixels();
    const auto transparent = [&](std::uint32_t p) {
        const int pr = (p >> 16) & 0xFF, pg = (p >> 8) & 0xFF, pb = p & 0xFF;
        return pr >= r.Low && pr <= r.High && pg >= g.Low && pg <= g.High && pb >= b.Low && pb <= b.High;
    };
    std::unique_ptr<TRegion> result;
    std::vector<TRect> batch;
    batch.reserve(BatchSize);
    const auto flush = [&] {
        if (batch.empty()) return;
        if (Batches) Batches->push_back(static_cast<int>(batch.size()));
        TRegion part = TRegion::FromRowRuns(batch);
        if (result)
            result->Combine(part, RGN_OR);
        else
            result = std::make_unique<TRegion>(std::move(part));
        batch.clear();
    };
    for (int y = 0; y < px.Height; ++y) {
        const std::uint32_t* row = px.Pixels.data() + static_cast<std::size_t>(y) * px.Width;
        int x = 0;
        while (x < px.Width) {
            while (x < px.Width && transparent(row[x])) ++x;
            const int x0 = x;
            while (x < px.Width && !transparent(row[x])) ++x;
            if (x > x0) {
                batch.push_back({x0 + Offset.x, y + Offset.y, x + Offset.x, y + Offset.y + 1});
                if (batch.size() == BatchSize) flush();
            }
        }
    }
    flush();
    return result;
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
