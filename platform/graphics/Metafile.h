// Metafiles: TMetafile, a picture that holds drawing commands, and TMetafileCanvas, the canvas that
// records into one. A metafile is saved as an enhanced metafile (.emf) by our own record writer, and
// shown (as a graphic drawn on a canvas) by playing its commands on an image. Text is measured with
// the installed fonts, as on an image canvas. Qt-free.
#pragma once

#include "platform/graphics/Bitmap.h"
#include "platform/graphics/Canvas.h"

#include <memory>
#include <vector>

struct TMetafileCommand;

class TMetafile : public TGraphic {
public:
    TMetafile();
    ~TMetafile() override;

    const char* ClassName() const override { return "TMetafile"; }
    // The picture's size in pixels of the reference device (96 dots per inch unless a reference canvas
    // with another resolution was given).
    int Width() const override { return FWidth; }
    int Height() const override { return FHeight; }
    void SetWidth(int w) override;
    void SetHeight(int h) override;
    bool Empty() const override { return FCommands.empty() && (FWidth == 0 || FHeight == 0); }
    // The size in hundredths of a millimetre.
    int MMWidth() const;
    int MMHeight() const;
    int Dpi() const { return FDpi; }

    // The enhanced flag is kept for the code that chooses a file format; saving always writes the
    // enhanced format (a file named ".emf" must hold it).
    bool Enhanced() const { return FEnhanced; }
    void SetEnhanced(bool v) { FEnhanced = v; }

    // Forgets the picture (size and commands).
    void Clear();
    int CommandCount() const { return static_cast<int>(FCommands.size()); }

    // Metafiles are written only: reading raises EInvalidGraphic.
    void LoadFromBytes(const std::uint8_t* data, std::size_t size) override;
    // The bytes of an .emf file.
    void SaveToBytes(std::vector<std::uint8_t>& out) const override;
    void Assign(const TGraphic& source) override;
    std::unique_ptr<TGraphic> Clone() const override;
    // The commands played on a white image of the metafile's size.
    TPixelBuffer ToPixels() const override;

private:
    friend class TMetafileCanvas;
    friend class TMetafileBackend;

    int FWidth = 0, FHeight = 0;
    int FDpi = 96;
    bool FEnhanced = true;
    std::vector<std::shared_ptr<const TMetafileCommand>> FCommands;
};

// A canvas recording into a metafile: the metafile's former picture is replaced by what is drawn. The
// reference canvas, when given, lends its device's resolution and its size to a metafile of no size;
// without one the screen at 96 dots per inch is the reference. Destroying the canvas closes the
// recording; a metafile that still has no size then takes the size of what was drawn.
class TMetafileCanvas : public TCanvas {
public:
    TMetafileCanvas(TMetafile& metafile, const TCanvas* reference);
    ~TMetafileCanvas() override;

private:
    TMetafile& FMetafile;
};
