// Engine utilities of the chart panel unit that reach the platform: the editor options kept in the
// registry store, the form-translation hook, resource bitmaps and series icons, the hand cursor, the
// system check box, device aspect, mouse position and enabling of controls, the base of the data
// exporters, and the unit's start-up and shut-down. Qt-free.
#pragma once

#include "chart/base/RadErareUtils.h"
#include "platform/controls/Controls.h"
#include "platform/graphics/GraphicsTypes.h"

#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

class TBitmap;
class TCanvas;
class TForm;
class TStream;

// The engine's hand cursor: screen cursor number and identifier.
inline constexpr TCursor crVizIdur = 2020;
inline constexpr char VizIdurCursorIdent[] = "crVizIdur";

// Registers the hand cursor, sets the default palette and the field separator. The program calls it once
// at start-up, before the chart engine draws.
void InitializeRadErare();
// Removes the hand cursor and clears the palette and the separator.
void FinalizeRadErare();

// ---- Editor options -----------------------------------------------------------------------------------

// The current user's key that holds the chart editor's options.
inline constexpr char EditorOptionsKey[] = "SOFTWARE\\Darnix Software\\Lumigram Pro\\Editor";

// Value Name of the key, opened read-only; Default when the key or the value is missing or of another type.
bool ReadEditorOptionBool(const std::string& Name, bool Default);
int ReadEditorOptionInteger(const std::string& Name, int Default);
// Writes the value, creating the key when missing.
void WriteEditorOptionBool(const std::string& Name, bool Value);
void WriteEditorOptionInteger(const std::string& Name, int Value);

// ---- Translation hook -----------------------------------------------------------------------------------

// Installs the procedure (an empty one uninstalls it); the program installs none, so texts stay English.
void SetTranslationHook(TTranslationHook Hook);
// Calls the installed procedure, when there is one.
void ApplyTranslationHook(const TTranslationTarget& Target, std::initializer_list<TComponent*> Exclusions);
void TranslateFormControls(TComponent* Control);
void TranslateFormControls(TForm* Form);

// ---- Resources --------------------------------------------------------------------------------------------

// A bitmap resource lookup: resource name, fallback name and target bitmap.
struct TLumBitmap {
    std::string Name;
    std::string FallbackName;
    TBitmap* Target = nullptr;
};

// Loads the bitmap resource Name, else FallbackName, into Bitmap; false (bitmap unchanged) when
// neither exists or loading fails.
bool LoadResourceBitmap(TBitmap& Bitmap, const std::string& Name, const std::string& FallbackName);
bool LoadResourceBitmap(const TLumBitmap& Lookup);
// The gallery icon of a series class: the resource named after the class, else after its parent class.
bool LoadSeriesIcon(const TPersistent& Series, TBitmap& Bitmap);

// ---- Controls and devices ---------------------------------------------------------------------------------

// A 13 x 13 system check box (or radio button) at X, Y, checked or not.
void DrawCheckOrRadio(int X, int Y, TCanvas& Canvas, bool CheckBox, bool Checked);
// Physical width / height of the canvas' device in millimetres; 0 when the height is 0.
double DeviceAspectRatio(const TCanvas& Canvas);
// Where the mouse cursor is, in the control's client pixels.
TPoint MouseClientPos(const TWinControl& Control);
// Enables or disables every control given; nullptr entries are skipped.
void SetControlsEnabled(bool Enabled, std::initializer_list<TWinControl*> Controls);

// ---- Data exporters -----------------------------------------------------------------------------------------

// Base of the series data exporters: a text made by AsString, put on the clipboard or written out.
class TLumExportData {
public:
    virtual ~TLumExportData() = default;

    // The exported text; empty here.
    virtual std::string AsString();
    // The clipboard's text becomes AsString.
    virtual void CopyToClipboard();
    // A new file (replacing one of that name) holding SaveToStream's bytes.
    virtual void SaveToFile(const std::string& FileName);
    // The characters of AsString, without terminator.
    virtual void SaveToStream(TStream& Stream);
};
