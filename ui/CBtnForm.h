// The colour grid (TColorArrayClass), a streamed two-dimensional grid of colours, and the colour palette
// window (TKITColorButtonPalette) that the colour button drops down: 4 x 5 colour cells, the other-colour
// cell and the "&Other" button that opens the colour dialog, with hot tracking, keys and colour hints.
// The palette is form code (Qt Widgets).
#pragma once

#include "platform/controls/Forms.h"
#include "platform/graphics/GraphicsTypes.h"
#include "platform/rtl/Classes.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

class QPushButton;
class TCanvas;
class TCustomControl;
class TWinControl;
struct THintInfo;

// "Array index out of bounds".
VSP_DECLARE_EXCEPTION(EColorArrayIndexError, Exception);

// Cells (x, y) with 1 <= x <= XSize and 1 <= y <= YSize; linear position (y - 1) * XSize + x. Streams as
// "XSize", "YSize" and "Colors" (the cells column by column: x outer, y inner).
class TColorArrayClass : public TPersistent {
    VSP_PERSISTENT_CLASS
public:
    // New cells are 0.
    TColorArrayClass(int XSize, int YSize);

    int XSize() const { return FXSize; }
    int YSize() const { return FYSize; }
    int Count() const { return FXSize * FYSize; }
    // A new size discards the cells (all 0 again).
    void SetXSize(int v);
    void SetYSize(int v);
    TColor Cell(int x, int y) const;
    void SetCell(int x, int y, TColor c);
    // Linear position 1..Count.
    TColor At(int position) const;

    void Assign(const TPersistent& Source) override;
    bool IsEqual(const TColorArrayClass* Other) const;

    // The "Colors" block of the stream: the cells column by column as 32-bit values; reading fills them
    // in that order until the block ends (a value beyond the last cell raises the index error).
    void WriteColors(TStream& Stream) const;
    void ReadColors(TStream& Stream);

private:
    std::size_t Index(int x, int y) const;

    int FXSize, FYSize;
    std::vector<TColor> FColors;
};

// The default palette of the palette window and the colour button (rows of four, top to bottom).
const TColorArrayClass& DefaultPaletteColors();

// Cell of the palette: column and row; row 0 is the other-colour cell; (-1, -1) none.
struct TPaletteCell {
    int X = -1, Y = -1;
    bool Valid() const { return (X >= 1 && X <= 4 && Y >= 1 && Y <= 5) || Y == 0; }
    bool operator==(const TPaletteCell&) const = default;
};

class TKITColorButtonPalette : public TForm {
public:
    using TColorSelected = std::function<void(TKITColorButtonPalette* Palette, bool IsOther, TColor Color)>;
    using TPaletteClosed = std::function<void(TKITColorButtonPalette* Palette)>;
    using TGetColorHintText = std::function<void(TPersistent* Sender, TColor Color, int X, int Y, std::string& Hint)>;

    // A frameless window of client size 72 x 121; it frees itself when closed.
    explicit TKITColorButtonPalette(QWidget* owner = nullptr);
    ~TKITColorButtonPalette() override;

    // The components.
    TCustomControl* Surface;   // the cells' drawing area, the whole client area
    QPushButton* btnOther;

    // Selects the cell of the colour (compared as RGB); without one the other cell takes the colour.
    void SelectColor(TColor Color);
    TColorArrayClass& ColorGrid() { return *FColorGrid; }
    void SetColorGrid(const TColorArrayClass& v) { FColorGrid->Assign(v); }
    TColorArrayClass& CustomColors() { return *FCustomColors; }
    void SetCustomColors(const TColorArrayClass& v) { FCustomColors->Assign(v); }
    TColor OtherColor() const { return FOtherColor; }
    void SetOtherColor(TColor v) { FOtherColor = v; }
    TColor CurrentColor() const { return FCurrentColor; }
    bool ShowColorHints() const { return FShowColorHints; }
    void SetShowColorHints(bool v);
    TPaletteCell Selected() const { return FSelected; }
    bool InDialog() const { return FInDialog; }
    bool ClosedByKey() const { return FClosedByKey; }

    TColorSelected OnColorSelected;
    TPaletteClosed OnClosed;
    TGetColorHintText OnGetColorHintText;
    // The sender handed to OnGetColorHintText (the colour button).
    TPersistent* HintSender = nullptr;

    // Geometry: a cell's square in client pixels, and the cell under a client point.
    TRect CellRect(TPaletteCell c) const;
    TPaletteCell CellAt(int X, int Y) const;

    // The form's handlers.
    void FormPaint(TCanvas& Canvas);
    void FormClick();
    void FormMouseMove(int X, int Y);
    // Keys as virtual key codes: the arrows move the selection, Enter chooses, Escape closes.
    void FormKeyDown(std::uint16_t Key);
    void FormKeyPress(char Key);
    void FormDeactivate();
    void btnOtherClick();

    virtual void GetColorHintText(TColor Color, int X, int Y, std::string& Hint);
    virtual void DoGetColorHintText(TColor Color, int X, int Y, std::string& Hint);
    // The hint of the cell under the mouse (the drawing area's hint preparation).
    void PrepareCellHint(std::string& HintStr, bool& CanShow, THintInfo& Info);

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void SetSelected(TPaletteCell c);
    void DrawCell(TCanvas& Canvas, TPaletteCell c, bool highlighted);
    TColor CellColour(TPaletteCell c) const;
    void Choose(TPaletteCell c);

    bool FShowColorHints = true;
    bool FClosedByKey = false;
    bool FInDialog = false;
    int FActivationHook = 0;
    std::unique_ptr<TColorArrayClass> FColorGrid;
    std::unique_ptr<TColorArrayClass> FCustomColors;
    TColor FCurrentColor = 0;
    TColor FOtherColor;
    TPaletteCell FSelected;
    std::unique_ptr<TCustomControl> FSurface;
};
