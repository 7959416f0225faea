// The bitmap export format: a chart panel drawn unbuffered into a bitmap of the export size, in a chosen
// colour depth or monochrome, filled with the panel's colour first. Qt-free.
#pragma once

#include "chart/control/LumExport.h"

class TBitmap;

// The colour depths offered, by index: the device's, then 1, 4, 8, 15, 16, 24 and 32 bits.
inline constexpr const char* BmpColorItems[] = {"Default",         "2 (1 bit)",     "16 (4 bit)",
                                                "256 (8 bit)",     "32768 (15 bit)", "65536 (16 bit)",
                                                "16M (24 bit)",    "16M (32 bit)"};

class TBMPExportFormat : public TLumExportFormat {
public:
    static std::unique_ptr<TLumExportFormat> Create() { return std::make_unique<TBMPExportFormat>(); }

    // Index into BmpColorItems (0, the device's depth, by default).
    int Colors = 0;
    // Overrides Colors: a 1-bit black-and-white bitmap.
    bool Monochrome = false;

    void CopyToClipboard() override;
    std::string Description() const override { return "as &Bitmap"; }
    std::string FileExtension() const override { return "bmp"; }
    std::string FileFilter() const override { return "Bitmaps (*.bmp)|*.bmp"; }
    std::unique_ptr<TGraphic> NewGraphic() const override;
    void SaveToStream(TStream& Stream) override;

    // A new bitmap of the export size holding the panel (Width and Height 0 are filled in first). The
    // panel must be set.
    std::unique_ptr<TBitmap> Bitmap();
};

// Registers the bitmap format (the chart control's start-up calls it after the metafile format's).
void LumBmpOptionsInitialization();
void LumBmpOptionsFinalization();
