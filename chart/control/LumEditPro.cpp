// The chart picture: its chart (made on demand or given), its size, drawing on white, and its bytes as the
// native chart stream.
#include "chart/control/LumEditPro.h"

#include "chart/control/ChartControl.h"
#include "chart/control/LumStore.h"
#include "platform/graphics/Canvas.h"
#include "platform/rtl/Streams.h"

TChartImage::TChartImage() = default;

TChartImage::~TChartImage() = default;

TCustomChart& TChartImage::Chart() const
{
    if (!FChart) {
        FOwnedChart = std::make_unique<TChart>(nullptr);
        FOwnedChart->SetBufferedDisplay(false);
        FChart = FOwnedChart.get();
    }
    return *FChart;
}

void TChartImage::SetChart(TCustomChart* Value)
{
    if (Value == FChart) return;
    FChart = Value;
    FOwnedChart.reset();
    Changed();
}

int TChartImage::Width() const { return Chart().Width(); }
int TChartImage::Height() const { return Chart().Height(); }
void TChartImage::SetWidth(int w) { Chart().SetWidth(w); }
void TChartImage::SetHeight(int h) { Chart().SetHeight(h); }

void TChartImage::SetTransparent(bool v)
{
    TGraphic::SetTransparent(v);
    Chart().SetColor(clNone);
}

void TChartImage::LoadFromBytes(const std::uint8_t* data, std::size_t size)
{
    TMemoryStream stream;
    stream.Write(data, static_cast<std::int64_t>(size));
    stream.SetPosition(0);
    TCustomChart* chart = &Chart();
    LoadChartStreamWithData(chart, stream);
    chart->SetBufferedDisplay(false);
    Changed();
}

void TChartImage::SaveToBytes(std::vector<std::uint8_t>& out) const
{
    TMemoryStream stream;
    SaveChartStream(Chart(), stream, true, false);
    out.assign(stream.Memory(), stream.Memory() + stream.Size());
}

void TChartImage::SaveToFile(const std::string& FileName) const { SaveChartFile(Chart(), FileName, true, false); }

void TChartImage::Assign(const TGraphic& source)
{
    const auto* other = dynamic_cast<const TChartImage*>(&source);
    if (!other) throw EInvalidGraphicOperation(std::string("Cannot assign a ") + source.ClassName() + " to a TChartImage");
    if (other == this || !other->FChart) return;
    TMemoryStream stream;
    SaveChartStream(*other->FChart, stream, true, false);
    stream.SetPosition(0);
    TCustomChart* chart = &Chart();
    LoadChartStream(chart, stream, true);
    chart->SetBounds(0, 0, other->FChart->Width(), other->FChart->Height());
    Changed();
}

std::unique_ptr<TGraphic> TChartImage::Clone() const
{
    auto copy = std::make_unique<TChartImage>();
    copy->Assign(*this);
    return copy;
}

void TChartImage::Draw(TCanvas& Canvas, const TRect& Rect) const
{
    Canvas.Brush().SetStyle(bsSolid);
    Canvas.Brush().SetColor(clWhite);
    Canvas.FillRect(Rect);
    Chart().DrawOnCanvas(Canvas, Rect);
}

TPixelBuffer TChartImage::ToPixels() const
{
    if (!FChart || FChart->Width() <= 0 || FChart->Height() <= 0) return {};
    TBitmap bitmap(FChart->Width(), FChart->Height());
    Draw(bitmap.Canvas(), {0, 0, FChart->Width(), FChart->Height()});
    return bitmap.ToPixels();
}

void LumEditProInitialization()
{
    TPicture::RegisterFileFormat(LumNativeExtension, "Lumigram", [] { return std::make_unique<TChartImage>(); });
}

void LumEditProFinalization() { TPicture::UnregisterFileFormat(LumNativeExtension); }
