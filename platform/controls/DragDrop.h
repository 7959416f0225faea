// Drag and drop with other windows and programs: a window registers a drop target that hears a drag
// enter, move over it, leave and drop; a control starts a drag of data in several formats (mime types)
// that runs until the button comes up or Escape. Dropped files arrive as the desktop's list of local
// paths. Qt-free.
#pragma once

#include "platform/controls/Controls.h"

#include <functional>
#include <string>
#include <utility>
#include <vector>

enum : int { DROPEFFECT_NONE = 0, DROPEFFECT_COPY = 1, DROPEFFECT_MOVE = 2, DROPEFFECT_LINK = 4 };

// The mime type under which dropped files are listed.
inline constexpr const char* DropFilesFormat = "text/uri-list";

// What a drag carries, as a drop target reads it.
class TDragData {
public:
    virtual ~TDragData() = default;
    // The formats it lists, in order.
    virtual std::vector<std::string> Formats() const = 0;
    // A format's bytes ("text/plain" as 8-bit text); empty when it is not served.
    virtual std::string Data(const std::string& Mime) const = 0;
    // The local paths of dropped files.
    virtual std::vector<std::string> Files() const = 0;
    bool Has(const std::string& Mime) const;
};

// What a drag offers: formats and their bytes (text/plain as 8-bit text), and local file paths.
struct TDragFormats {
    std::vector<std::pair<std::string, std::string>> Formats;
    std::vector<std::string> Files;
};

// The drop side of a window. Every call answers the effect the drop would have (DROPEFFECT_...); Keys
// are the modifier keys and buttons held, Screen the pointer in screen pixels.
class TDropTarget {
public:
    virtual ~TDropTarget() = default;
    virtual int DragEnter(const TDragData& Data, TShiftState Keys, TPoint Screen, int Effect) = 0;
    virtual int DragOver(TShiftState Keys, TPoint Screen, int Effect) = 0;
    virtual void DragLeave() = 0;
    virtual int Drop(const TDragData& Data, TShiftState Keys, TPoint Screen, int Effect) = 0;
};

// The control's window takes drops for the target (which the caller keeps); false when it cannot.
bool RegisterDragDrop(TWinControl& Control, TDropTarget* Target);
void RevokeDragDrop(TWinControl& Control);

// The drag source's callbacks: Step at every move of the pointer during the drag, Feedback when the
// effect a target answers changes.
struct TDragSourceEvents {
    std::function<void()> Step;
    std::function<void(int Effect)> Feedback;
};

// Runs a drag from the control's window until the button is released (the effect the target took) or
// Escape or a drop nobody takes (DROPEFFECT_NONE, Cancelled set).
int DoDragDrop(TWinControl& Source, const TDragFormats& Data, int AllowedEffects, const TDragSourceEvents& Events, bool& Cancelled);

// Tests run the drag steps themselves: when set, DoDragDrop calls this instead of the desktop's drag.
using TDragDriver = std::function<int(TWinControl& Source, const TDragFormats& Data, int AllowedEffects, const TDragSourceEvents& Events, bool& Cancelled)>;
void SetDragDriver(TDragDriver Driver);
