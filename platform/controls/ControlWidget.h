// Platform side of the controls: converting Qt's input to the program's vocabulary, and the event filter
// that delivers a window's input to its control's virtual methods. Included by the platform's .cpp files
// only.
#pragma once

#include "platform/controls/Controls.h"

#include <QObject>
#include <Qt>

#include <utility>

class QApplication;

class QEvent;
class QImage;
class QKeyEvent;

// A new window for a control, made after the process's Qt application exists (a control's window is
// built before the control's own constructor runs).
QApplication& EnsureQtApplication();
template <class W, class... Args>
W* NewControlWidget(Args&&... args)
{
    EnsureQtApplication();
    return new W(std::forward<Args>(args)...);
}

// Shift state of a modifier and button combination.
TShiftState ShiftStateOf(Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons);
// The control's mouse button of a Qt button; false for buttons the program does not know.
bool MouseButtonOf(Qt::MouseButton button, TMouseButton& out);
// The virtual key code of a key event (0 for keys without one).
std::uint16_t VirtualKeyOf(const QKeyEvent& event);
// A cursor number as a Qt cursor (through the screen's cursor table).
class QCursor;
QCursor QtCursorOf(TCursor cursor);
// The program's colour as Qt colour (system colours resolved).
class QColor;
QColor QtColorOf(TColor color);
// A Qt colour as the program's $00BBGGRR (alpha dropped).
TColor ProgramColorOf(const QColor& color);

// The drawing memory of an RGB32 image, for an image backend.
struct TImageMemory;
TImageMemory ImageMemoryOf(QImage& image);

// Drag events of a window with a registered drop target, handed to that target (DragDrop.cpp); true when
// the event was taken.
bool DeliverDragEvent(TWinControl& Control, QEvent* Event);
