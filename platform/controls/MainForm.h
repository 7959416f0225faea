// TMainFormBase: the program's top-level window. It carries a menu bar of TMenuItems, lays its child
// controls out by alignment (top, bottom, client), sees every key before the focused control when asked
// (key preview), asks before closing and ends the message loop when closed. It can report the screen
// rectangles of its named controls and menu entries to a file for harnesses that drive it with real
// input. Qt-free.
#pragma once

#include "platform/controls/Controls.h"

#include <functional>
#include <iosfwd>
#include <memory>
#include <string>

class TMenuItem;

enum TAlign { alNone, alTop, alBottom, alClient };
enum TPosition { poDesigned, poDesktopCenter, poScreenCenter };
enum TCloseAction { caNone, caHide, caFree, caMinimize };

using TCloseQueryEvent = std::function<void(TPersistent* Sender, bool& CanClose)>;
using TCloseEvent = std::function<void(TPersistent* Sender, TCloseAction& Action)>;

class TMainFormBase : public TWinControl {
    VSP_PERSISTENT_CLASS
public:
    explicit TMainFormBase(TComponent* AOwner);
    ~TMainFormBase() override;

    std::string Caption() const { return Text(); }
    void SetCaption(const std::string& v) { SetText(v); }

    // The menu bar: the root's sub-items are the bar's menus, their sub-items the entries.
    TMenuItem& Menu() const { return *FMenu; }

    // --- Layout. Top controls stack down from below the menu bar in the order aligned, bottom controls
    // up from the bottom edge (the first aligned lowest), the client control takes what is left; hidden
    // controls take no room. A control must be a child of the form.
    void SetAlign(TWinControl* control, TAlign align);
    TAlign AlignOf(const TWinControl* control) const;
    void Realign();
    // The area below the menu bar, in the window's pixels.
    TRect ClientArea() const;
    // Sizes the window so that the area below the menu bar is w x h.
    void SetClientSize(int w, int h);

    TPosition Position() const { return FPosition; }
    void SetPosition(TPosition v) { FPosition = v; }
    // Height limits of the window (0: none).
    void SetHeightConstraints(int minHeight, int maxHeight);
    // The least size of the area below the menu bar: the window cannot be made smaller.
    void SetMinimumClientSize(int w, int h);
    TSize MinimumClientSize() const;

    // With KeyPreview the form's KeyDown, KeyUp and KeyPress (and their events) see the keys of every
    // control on it first; a key cleared there goes no further.
    bool KeyPreview() const { return FKeyPreview; }
    void SetKeyPreview(bool v);

    // Shows the window (centred the first time, by Position) and activates it.
    void Show();
    // Asks to close: CloseQuery, then OnClose; when the window closes, the message loop ends.
    void Close();
    // OnCloseQuery; true when every handler allowed it.
    virtual bool CloseQuery();

    TCloseQueryEvent OnCloseQuery;
    TCloseEvent OnClose;
    // Once, after the window's first paint has reached the screen.
    TNotifyEvent OnFirstPaint;
    bool FirstPainted() const;

    // --- The layout report: while a file is set, it is rewritten (whole, through a temporary file)
    // whenever the window shows, moves, resizes, is enabled or disabled, or a menu opens or closes. Lines:
    //   window <x> <y> <w> <h> <enabled 0|1> <times disabled>
    //   control <name> <x> <y> <w> <h> <enabled 0|1>   (named, showing controls owned by the form)
    //   menu <name> <x> <y> <w> <h> <enabled 0|1>      (the menus of the menu bar)
    //   item <name> <x> <y> <w> <h> <enabled 0|1>      (the entries of an open menu)
    //   button <caption> <x> <y> <w> <h> <enabled 0|1> (the buttons of an open message box, the
    //                                                   caption without its "&" and blanks)
    // in screen pixels, then the form's own lines (AddToLayoutReport). A message box showing or hiding
    // rewrites it too.
    void SetLayoutReportFile(const std::string& path);
    std::string LayoutReport() const;
    void WriteLayoutReport() const;
    int DisabledCount() const { return FDisabledCount; }

    struct Impl;

protected:
    void EnabledChanged() override;
    // Lines of the form's own for the layout report, after the rest.
    virtual void AddToLayoutReport(std::ostream&) const {}
    // The first paint has reached the screen: fires OnFirstPaint. Forms override it for work that must
    // not hold the first paint back.
    virtual void DoFirstPaint();

private:
    friend struct Impl;
    std::unique_ptr<Impl> FImpl;
    std::unique_ptr<TMenuItem> FMenu;
    TPosition FPosition = poDesigned;
    bool FKeyPreview = false;
    int FDisabledCount = 0;
};
