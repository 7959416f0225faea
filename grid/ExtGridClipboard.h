// The grid's private clipboard format "TExtStringGrid Cells": component records of holder objects (the
// range's counts and sizes, then per cell its text, properties, graphic and picture), their reading into a
// checked block before anything is pasted, and the sources a paste reads from (the desktop's clipboard or
// a buffer of the grid). Qt-free.
#pragma once

#include "grid/BaseGrid.h"
#include "grid/CellGraphic.h"
#include "platform/graphics/Bitmap.h"
#include "platform/rtl/Classes.h"

#include <memory>
#include <string>
#include <utility>
#include <vector>

class TStream;
class TIcon;
class TStringList;

// The mime types of the grid's clipboard formats.
inline constexpr const char* GridTextFormat = "text/plain";
inline constexpr const char* GridRichTextFormat = "text/rtf";
inline constexpr const char* GridCellsFormat = "application/x-TExtStringGrid-Cells";

// Formats by mime type with their bytes (text/plain as 8-bit text).
using TGridClipData = std::vector<std::pair<std::string, std::string>>;

// Where a paste reads: the desktop's clipboard or a buffer.
class TGridClipSource {
public:
    virtual ~TGridClipSource() = default;
    virtual bool Has(const std::string& Mime) const = 0;
    virtual std::string Get(const std::string& Mime) const = 0;
};

class TDesktopClipSource : public TGridClipSource {
public:
    bool Has(const std::string& Mime) const override;
    std::string Get(const std::string& Mime) const override;
};

class TBufferClipSource : public TGridClipSource {
public:
    explicit TBufferClipSource(const TGridClipData& Data) : FData(Data) {}
    bool Has(const std::string& Mime) const override;
    std::string Get(const std::string& Mime) const override;

private:
    const TGridClipData& FData;
};

// ---- Holders: what one record carries ------------------------------------------------------------------

class TGridPropIO : public TPersistent {
    VSP_PERSISTENT_CLASS
public:
    int ColCount = 0, RowCount = 0;
    std::string ColWidths, RowHeights;
    bool FullGrid = false;
    int ID = 0;
};

class TGridCellIO : public TPersistent {
    VSP_PERSISTENT_CLASS
public:
    int Col = 0, Row = 0;
    std::string Cell;
    bool HasProp = false;
};

class TGridCellPropIO : public TPersistent {
    VSP_PERSISTENT_CLASS
public:
    TCellProperties CellProperties{nullptr, 0, 0};
    bool HasGraphic = false;
};

class TGridGraphicIO : public TPersistent {
    VSP_PERSISTENT_CLASS
public:
    TCellGraphic CellGraphic;
};

// The picture carriers: a bitmap as a BMP file after its length, an icon as an icon file, a picture as
// its graphic's class name and data, a file picture as its name, a string list as a list of texts.
class TGridBitmapData : public TPersistent {
    VSP_PERSISTENT_CLASS
public:
    TBitmap Bitmap;
};

class TGridBMPIO : public TPersistent {
    VSP_PERSISTENT_CLASS
public:
    TGridBitmapData Bitmap;
};

class TGridIconData : public TPersistent {
    VSP_PERSISTENT_CLASS
public:
    TGridIconData();
    ~TGridIconData() override;
    std::unique_ptr<TIcon> Icon;
};

class TGridIconIO : public TPersistent {
    VSP_PERSISTENT_CLASS
public:
    TGridIconData Icon;
};

class TGridPictureData : public TPersistent {
    VSP_PERSISTENT_CLASS
public:
    TPicture Picture;
};

class TGridPicIO : public TPersistent {
    VSP_PERSISTENT_CLASS
public:
    TGridPictureData Picture;
};

class TGridFilePictureData : public TPersistent {
    VSP_PERSISTENT_CLASS
public:
    std::string Filename;
};

class TGridFilePicIO : public TPersistent {
    VSP_PERSISTENT_CLASS
public:
    TGridFilePictureData Picture;
};

class TGridStringsData : public TPersistent {
    VSP_PERSISTENT_CLASS
public:
    std::vector<std::string> Strings;
};

class TGridSLIO : public TPersistent {
    VSP_PERSISTENT_CLASS
public:
    TGridStringsData Strings;
};

// ---- A private block read whole -------------------------------------------------------------------------

struct TPastedCell {
    int Col = 0, Row = 0;
    std::string Text;
    std::unique_ptr<TCellProperties> Props;
    std::unique_ptr<TCellGraphic> Graphic;
};

struct TPastedBlock {
    TGridPropIO Range;
    std::vector<int> Widths, Heights;
    std::vector<TPastedCell> Cells;
    TPoint Base{0, 0};
};

// Reads and checks a whole private block (record kinds, counts within the format's limits and matching
// the size lists, cells within the range); raises EReadError for anything else and leaves Block empty.
void ReadPastedBlock(TStream& Stream, TPastedBlock& Block);

// Writes one record of a holder under its class name (colours by name, texts as the format writes them).
void WriteGridRecord(TStream& Stream, const TPersistent& Holder);
