// The screen object over Qt: override cursor, the cursor table and the screen's geometry.
#include "platform/controls/Screen.h"

#include "platform/controls/ControlWidget.h"
#include "platform/controls/QtApplication.h"

#include <QApplication>
#include <QBitmap>
#include <QCursor>
#include <QScreen>

#include <algorithm>

namespace {

TScreen& TheScreen()
{
    static TScreen screen;
    return screen;
}

// The chart engine's pointing hand, hot spot on the tip of the index finger.
const TCursorImage kHandCursor{
    {
        "     XX         ",
        "    X..X        ",
        "    X..X        ",
        "    X..X        ",
        "    X..XXX      ",
        "    X..X..XXX   ",
        "    X..X..X..XX ",
        " XX X..X..X..X.X",
        "X..XX........X.X",
        "X...X..........X",
        " X.............X",
        "  X............X",
        "  X...........X ",
        "   X..........X ",
        "    X........X  ",
        "    XXXXXXXXXX  ",
    },
    5,
    0};

Qt::CursorShape StandardShape(TCursor cursor)
{
    switch (cursor) {
    case crNone: return Qt::BlankCursor;
    case crCross: return Qt::CrossCursor;
    case crIBeam: return Qt::IBeamCursor;
    case crSizeNESW: return Qt::SizeBDiagCursor;
    case crSizeNS: return Qt::SizeVerCursor;
    case crSizeNWSE: return Qt::SizeFDiagCursor;
    case crSizeWE: return Qt::SizeHorCursor;
    case crUpArrow: return Qt::UpArrowCursor;
    case crHourGlass: return Qt::WaitCursor;
    case crSQLWait: return Qt::WaitCursor;
    case crDrag: return Qt::DragCopyCursor;
    case crMultiDrag: return Qt::DragCopyCursor;
    case crNoDrop: return Qt::ForbiddenCursor;
    case crNo: return Qt::ForbiddenCursor;
    case crHSplit: return Qt::SplitHCursor;
    case crVSplit: return Qt::SplitVCursor;
    case crAppStart: return Qt::BusyCursor;
    case crHelp: return Qt::WhatsThisCursor;
    case crHandPoint: return Qt::PointingHandCursor;
    case crSizeAll: return Qt::SizeAllCursor;
    default: return Qt::ArrowCursor;
    }
}

QCursor QtCursorOfImage(const TCursorImage& image)
{
    const int h = static_cast<int>(image.Rows.size());
    int w = 0;
    for (const std::string& row : image.Rows) w = std::max(w, static_cast<int>(row.size()));
    if (w == 0 || h == 0) return QCursor(Qt::ArrowCursor);
    // Qt's two-bitmap cursors: bitmap bit set = black, mask bit set = opaque.
    QImage bits(w, h, QImage::Format_Mono), mask(w, h, QImage::Format_Mono);
    bits.fill(0);
    mask.fill(0);
    for (int y = 0; y < h; ++y) {
        const std::string& row = image.Rows[static_cast<std::size_t>(y)];
        for (int x = 0; x < static_cast<int>(row.size()); ++x) {
            if (row[static_cast<std::size_t>(x)] == 'X') bits.setPixel(x, y, 1);
            if (row[static_cast<std::size_t>(x)] == 'X' || row[static_cast<std::size_t>(x)] == '.') mask.setPixel(x, y, 1);
        }
    }
    return QCursor(QBitmap::fromImage(bits), QBitmap::fromImage(mask), image.HotSpotX, image.HotSpotY);
}

} // namespace

TScreen* const Screen = &TheScreen();

const TCursorImage* FindCursorResource(const std::string& name)
{
    return name == "LUM_CURSOR_HAND" ? &kHandCursor : nullptr;
}

QCursor QtCursorOf(TCursor cursor)
{
    if (const TCursorImage* image = Screen->CursorImage(cursor)) return QtCursorOfImage(*image);
    return QCursor(StandardShape(cursor));
}

void TScreen::SetCursor(TCursor cursor)
{
    if (cursor == FCursor) return;
    EnsureQtApplication();
    if (FCursor != crDefault) QApplication::restoreOverrideCursor();
    FCursor = cursor;
    if (FCursor != crDefault) QApplication::setOverrideCursor(QtCursorOf(FCursor));
}

void TScreen::SetCursorImage(TCursor index, const TCursorImage& image)
{
    for (TEntry& e : FCursors)
        if (e.Index == index) {
            e.Image = image;
            return;
        }
    FCursors.push_back({index, image});
}

void TScreen::RemoveCursor(TCursor index)
{
    FCursors.erase(std::remove_if(FCursors.begin(), FCursors.end(), [index](const TEntry& e) { return e.Index == index; }),
                   FCursors.end());
}

bool TScreen::HasCursor(TCursor index) const
{
    return (index <= crDefault && index >= crSizeAll) || CursorImage(index) != nullptr;
}

const TCursorImage* TScreen::CursorImage(TCursor index) const
{
    for (const TEntry& e : FCursors)
        if (e.Index == index) return &e.Image;
    return nullptr;
}

TPoint TScreen::CursorPos() const
{
    EnsureQtApplication();
    const QPoint p = QCursor::pos();
    return {p.x(), p.y()};
}

int TScreen::Width() const
{
    EnsureQtApplication();
    const QScreen* s = QGuiApplication::primaryScreen();
    return s ? s->geometry().width() : 0;
}

int TScreen::Height() const
{
    EnsureQtApplication();
    const QScreen* s = QGuiApplication::primaryScreen();
    return s ? s->geometry().height() : 0;
}

int TScreen::PixelsPerInch() const
{
    EnsureQtApplication();
    const QScreen* s = QGuiApplication::primaryScreen();
    return s ? static_cast<int>(s->logicalDotsPerInch() + 0.5) : 96;
}

int TScreen::BitsPerPixel() const
{
    EnsureQtApplication();
    const QScreen* s = QGuiApplication::primaryScreen();
    return s ? s->depth() : 32;
}

TRect TScreen::WorkAreaRect() const
{
    EnsureQtApplication();
    const QScreen* s = QGuiApplication::primaryScreen();
    if (!s) return {};
    const QRect r = s->availableGeometry();
    return {r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
}

void TScreen::Reset()
{
    SetCursor(crDefault);
    FCursors.clear();
}

const std::vector<TCursorIdent>& CursorIdents()
{
    static const std::vector<TCursorIdent> idents = {
        {crDefault, "crDefault"},     {crArrow, "crArrow"},         {crCross, "crCross"},
        {crIBeam, "crIBeam"},         {crSizeNESW, "crSizeNESW"},   {crSizeNS, "crSizeNS"},
        {crSizeNWSE, "crSizeNWSE"},   {crSizeWE, "crSizeWE"},       {crUpArrow, "crUpArrow"},
        {crHourGlass, "crHourGlass"}, {crDrag, "crDrag"},           {crNoDrop, "crNoDrop"},
        {crHSplit, "crHSplit"},       {crVSplit, "crVSplit"},       {crMultiDrag, "crMultiDrag"},
        {crSQLWait, "crSQLWait"},     {crNo, "crNo"},               {crAppStart, "crAppStart"},
        {crHelp, "crHelp"},           {crHandPoint, "crHandPoint"}, {crSize, "crSize"},
        {crSizeAll, "crSizeAll"},     {crNone, "crNone"},
    };
    return idents;
}
