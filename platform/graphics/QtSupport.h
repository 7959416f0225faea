// Qt helpers for the backends that paint through Qt (the image backend's text, a printer page, a
// control's back buffer). Internal to the platform layer: includes Qt.
#pragma once

#include "platform/graphics/CanvasBackend.h"
#include "platform/graphics/Region.h"

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPainterPath>
#include <QRawFont>
#include <QRegion>
#include <QString>

// Creates the one GUI application object (offscreen when no display is set) when none exists yet, so
// fonts and images work in tests and tools. A program that makes its own application object first
// keeps it.
void EnsureGuiApplication();

// Keeps freed blocks of up to 32 MB in the process heap (up to 64 MB of them) instead of handing each
// back to the system. Painting a long text makes several temporary arrays of a megabyte or more; taken
// from the system afresh on every paint, each of their pages is faulted in again, which costs more
// than the painting itself. Called once, when the application object is made.
void KeepLargeBlocksInHeap();

// The Qt font that draws a device font: its face at its pixel size, hinting and antialiasing as asked,
// kerning off (the device places characters by their own advances).
QFont QtFontFor(const TDeviceFont& font);
// The raw font that paints the glyphs of a device font (without underline and strike-out), kept with it.
QRawFont QtRawFontFor(const TDeviceFont& font);

// A region as a Qt region (device pixels); nullptr gives an empty region.
QRegion QtRegion(const TRegion* region);

// A colour (0x00BBGGRR) as a Qt colour.
inline QColor QtColor(TColor c) { return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF); }

// Device figures as a Qt path in continuous coordinates (pixel centres moved by +0.5).
QPainterPath QtPath(const TDevicePath& path, bool closeAll);

// Paints a text command with a Qt painter already set up on the device (clip included): the opaque
// cell, the glyphs at their offsets, underline and strike-out.
class QPainter;
void QtPaintText(QPainter& p, const TTextCommand& cmd);
