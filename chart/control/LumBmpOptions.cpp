// The bitmap export format: making the bitmap, the clipboard, the stream, and its registration.
#include "chart/control/LumBmpOptions.h"

#include "chart/base/RadErarePanel.h"
#include "platform/controls/Clipbrd.h"
#include "platform/graphics/Bitmap.h"
#include "platform/graphics/Canvas.h"

#include <algorithm>

namespace {

TPixelFormat FormatOfItem(int Item)
{
    static constexpr TPixelFormat formats[] = {pfDevice, pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit};
    return formats[std::clamp(Item, 0, int(std::size(formats)) - 1)];
}

} // namespace

std::unique_ptr<TGraphic> TBMPExportFormat::NewGraphic() const { return std::make_unique<TBitmap>(); }

std::unique_ptr<TBitmap> TBMPExportFormat::Bitmap()
{
    CheckPanel();
    auto bitmap = std::make_unique<TBitmap>();
    CheckSize();
    bitmap->SetSize(Width, Height);
    if (Monochrome)
        bitmap->SetMonochrome(true);
    else
        bitmap->SetPixelFormat(FormatOfItem(Colors));
    if (Panel->ChartCanvas().HasOwnRenderer()) bitmap->SetPixelFormat(pf24bit);
    TCanvas& canvas = bitmap->Canvas();
    canvas.Brush().SetStyle(bsSolid);
    canvas.Brush().SetColor(Panel->Color());
    canvas.FillRect({0, 0, Width, Height});
    Panel->DrawUnbuffered(canvas, {0, 0, Width, Height});
    return bitmap;
}

void TBMPExportFormat::CopyToClipboard()
{
    const std::unique_ptr<TBitmap> bitmap = Bitmap();
    Clipboard().Assign(*bitmap);
}

void TBMPExportFormat::SaveToStream(TStream& Stream)
{
    const std::unique_ptr<TBitmap> bitmap = Bitmap();
    bitmap->SaveToStream(Stream);
}

void LumBmpOptionsInitialization() { RegisterExportFormat(&TBMPExportFormat::Create); }

void LumBmpOptionsFinalization() { UnregisterExportFormat(&TBMPExportFormat::Create); }
