// The bitmap-to-PNG conversion of a saved file.
#include "chart/control/pngun.h"

#include "platform/graphics/Bitmap.h"
#include "platform/graphics/Canvas.h"

void ConvertBitmapFileToPng(const std::string& FileName)
{
    TBitmap bitmap;
    bitmap.LoadFromFile(FileName);
    TPngImage png;
    png.CreateBlank(TPngImage::COLOR_RGB, 16, bitmap.Width(), bitmap.Height());
    png.Canvas().Draw(0, 0, bitmap);
    png.SaveToFile(FileName);
}
