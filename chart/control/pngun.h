// Turns a saved bitmap file into a PNG file in place (RGB, 16 bits per sample), for the print preview's
// "Save" as PNG. Qt-free.
#pragma once

#include <string>

class TBitmap;

// Writes the bitmap's pixels as a PNG file (RGB, 16 bits per sample), replacing the file only once the
// picture is complete.
void SaveBitmapAsPng(const TBitmap& Bitmap, const std::string& FileName);

// Reads the bitmap file FileName and replaces it by a PNG picture of the same pixels; the file is only
// replaced once the PNG is complete. A file that is no bitmap raises EInvalidGraphic and stays as it is.
void ConvertBitmapFileToPng(const std::string& FileName);
