// Routines the engine's editor forms share that need no window code: confirmations placed at a control,
// the number formats offered by the editors, the arrow bitmaps, moving list items, cursor identifiers and
// the cursor list, the font dialog on a font, and asking for and loading pictures. Qt-free.
#pragma once

#include "platform/controls/Controls.h"

#include <initializer_list>
#include <string>

class TBitmap;
class TComboBox;
class TFont;
class TListBox;
class TPicture;
class TStringList;

// Resource names of the editors' arrow bitmaps.
inline constexpr char ArrowUpResource[] = "LumArrowUp";
inline constexpr char ArrowDownResource[] = "LumArrowDown";

// Shows or hides every control given (nullptr entries skipped).
void SetControlsVisibility(bool Visible, std::initializer_list<TWinControl*> Controls);
// A Yes/No confirmation with the default cursor, its top-left corner 20 pixels right of and 30 below the
// control's client origin (centred without a control); true for Yes.
bool ConfirmAt(const std::string& Text, TWinControl* Control);
// ConfirmAt with "Delete <name> ?".
bool AskDeleteConfirmation(const std::string& Name, TWinControl* Control);
// Appends the number formats the editors offer, the default value format first.
void FillValueFormatList(TStringList& Strings);
// The up and down arrows of the editors (drawn on first use as the resources above).
void LoadArrowBitmaps(TBitmap& Up, TBitmap& Down);
// Appends the selected items of A (texts with their objects) to B, then deletes them from A.
void MoveSelectedItems(TListBox& A, TListBox& B);
// Appends every string of A to B, then clears A.
void MoveAllStrings(TStringList& A, TStringList& B);

// The class library's cursor identifiers plus "crVizIdur" (the engine's hand cursor 2020).
bool CursorFromIdent(const std::string& Ident, TCursor& Cursor);
bool CursorIdentOf(TCursor Cursor, std::string& Ident);
// The cursor named "cr" + Name, or Default when there is none.
TCursor LookupCursorByName(TCursor Default, const std::string& Name);
// The combo lists the cursor identifiers without "cr", then "VizIdur", and selects Cursor's entry (none
// when unknown).
void FillCursorCombo(TComboBox& Combo, TCursor Cursor);

// The font dialog on a copy of Font; on OK the font takes the choice.
bool RunFontDialog(TWinControl* Owner, TFont& Font);
// The open-picture dialog; the chosen file, or empty when cancelled.
std::string AskPictureFileName(TWinControl* Owner);
// A picture that holds a graphic is cleared; otherwise a file is asked for and loaded (a file the loader
// cannot read raises its error and leaves the picture as it was).
void LoadOrClearPicture(TWinControl* Owner, TPicture& Picture);
