// Top-level windows (forms, pop-ups) as the UI kit and the grid's pop-ups need them: the window region,
// borderless and stay-on-top showing, dragging the window by any point that a hit test calls its
// caption, and opacity fades. Qt-free: windows are passed as they are (a form's through FormWindow).
#pragma once

#include "platform/graphics/CanvasBackend.h"
#include "platform/graphics/GraphicsTypes.h"

#include <functional>
#include <vector>

class QWidget;
class TForm;
class TRegion;

// The window of a form (nullptr for nullptr).
QWidget* FormWindow(TForm* form);

// The window's client size (without its frame), and setting it.
TSize WindowClientSize(const QWidget* window);
void SetWindowClientSize(QWidget* window, int width, int height);

// Only the region's pixels belong to the window (nullptr: the whole rectangle again); a region of no
// pixels hides every pixel. Controls and forms share this one routine.
void SetWindowRegion(QWidget* window, const TRegion* region);
bool WindowHasRegion(const QWidget* window);
// The region's rectangles as the window holds them (empty without a region).
std::vector<TRect> WindowRegionRects(const QWidget* window);

// Window kinds: without border and caption; above the other windows of the desktop.
void SetWindowFrameless(QWidget* window, bool on);
void SetWindowStayOnTop(QWidget* window, bool on);
// Shows the window without taking the activation from the active one.
void ShowWindowNoActivate(QWidget* window);

// The caption hit test of a window: for a left press on the window or any of its children, the hooks
// are asked in the order they were installed whether the screen point is caption; the first yes gets
// its OnCaptionPress (which may close the window) and, while the window lives, the window then follows
// the mouse until the button goes up. Presses a hook claims reach no control. Returns an id.
using TCaptionHitTest = std::function<bool(TPoint screenPoint)>;
int HookCaptionHitTest(QWidget* window, TCaptionHitTest test, std::function<void()> OnCaptionPress = {});
void UnhookCaptionHitTest(QWidget* window, int id);

// The window's pixels as it shows them now, its child windows included (0x00RRGGBB); false when it has
// none to give.
bool GrabWindowPixels(QWidget* window, TPixelBuffer& out);

// Window opacity, 0 (invisible) to 1.
void SetWindowOpacity(QWidget* window, double opacity);
double WindowOpacity(const QWidget* window);
// Fades the window in (showing it first) or out (hiding it at the end) over `durationMs`, pumping the
// message loop meanwhile, as the desktop's window animation does; false when it cannot animate.
bool FadeWindow(QWidget* window, int durationMs, bool in);
