// The chart picture: a graphic whose content is a whole chart, so that every picture holder (picture
// properties, open and save dialogs, the image tool) can load a native chart file (".lum") and show it,
// and keep it in a stream in the native form. Qt-free.
#pragma once

#include "platform/graphics/Bitmap.h"

#include <memory>
#include <string>

class TCanvas;
class TCustomChart;

class TChartImage : public TGraphic {
public:
    TChartImage();
    // Frees the chart only when the picture made it.
    ~TChartImage() override;

    const char* ClassName() const override { return "TChartImage"; }

    // The chart shown; a chart without owner and without buffered display is made at the first need.
    TCustomChart& Chart() const;
    // Shows a chart of someone else's (not freed with the picture) and tells the picture's holders.
    void SetChart(TCustomChart* Value);

    // The chart's size (making the chart); setting them resizes the chart.
    int Width() const override;
    int Height() const override;
    void SetWidth(int w) override;
    void SetHeight(int h) override;
    // True until a chart exists.
    bool Empty() const override { return FChart == nullptr; }
    // Whatever the value, the chart's colour becomes clNone.
    void SetTransparent(bool v) override;

    // A native chart stream (with trailing point data), loaded into the chart; the empty-file and
    // wrong-format messages (ChartException) leave the chart as it was.
    void LoadFromBytes(const std::uint8_t* data, std::size_t size) override;
    // The binary native stream with the points.
    void SaveToBytes(std::vector<std::uint8_t>& out) const override;
    // A file name without extension gets ".lum".
    void SaveToFile(const std::string& FileName) const;

    // Another chart picture's chart goes through the native stream with its points (chart assignment
    // copies no series); other graphics are refused as by any graphic.
    void Assign(const TGraphic& source) override;
    std::unique_ptr<TGraphic> Clone() const override;
    // The chart drawn on white at its size.
    TPixelBuffer ToPixels() const override;
    // Fills the rectangle white, then draws the chart into it.
    void Draw(TCanvas& Canvas, const TRect& Rect) const;

private:
    mutable TCustomChart* FChart = nullptr;
    mutable std::unique_ptr<TCustomChart> FOwnedChart;
};

// The picture framework reads "lum" files ("Lumigram") as chart pictures, and forgets them again.
void LumEditProInitialization();
void LumEditProFinalization();
