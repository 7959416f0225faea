// The bitmap-to-PNG conversion of a saved file.
#include "chart/control/pngun.h"

#include "platform/graphics/Bitmap.h"
#include "platform/graphics/Canvas.h"

void SaveBitmapAsPng(const TBitmap& Bitmap, const std::string& FileName)
{
    TPngImage png;
    png.CreateBlank(TPngImage::COLOR_RGB, 16, Bitmap.Width(), Bitmap.Height());
    png.Canvas().Draw(0, 0, Bitmap);
    png.SaveToFile(FileName);
}

void ConvertBitmapFileToPng(const std::string& FileName)
{
    TBitmap bitmap;
    bitmap.LoadFromFile(FileName);
    SaveBitmapAsPng(bitmap, FileName);
}
