// The chart panel unit's platform services: registry options, translation hook, resources, cursor,
// controls and the data exporter base.
#include "chart/base/RadErareServices.h"

#include "chart/base/RadErareUtils.h"
#include "platform/controls/Clipbrd.h"
#include "platform/controls/Screen.h"
#include "platform/graphics/Bitmap.h"
#include "platform/graphics/Canvas.h"
#include "platform/graphics/ResourceStore.h"
#include "platform/rtl/Registry.h"
#include "platform/rtl/Streams.h"

namespace {

// The editor options key opened read-only; false when it is missing.
bool OpenEditorOptions(TRegistry& reg, const std::string& name)
{
    reg.SetRootKey(HKEY_CURRENT_USER);
    return reg.OpenKeyReadOnly(EditorOptionsKey) && reg.ValueExists(name);
}

} // namespace

void InitializeRadErare()
{
    ResetRadErareUtilsModule();
    if (const TCursorImage* hand = FindCursorResource("LUM_CURSOR_HAND")) Screen->SetCursorImage(crVizIdur, *hand);
}

void FinalizeRadErare()
{
    ClearRadErareUtilsModule();
    Screen->RemoveCursor(crVizIdur);
}

// ---- Editor options -----------------------------------------------------------------------------------

bool ReadEditorOptionBool(const std::string& Name, bool Default) { return ReadEditorOptionInteger(Name, Default) != 0; }

int ReadEditorOptionInteger(const std::string& Name, int Default)
{
    TRegistry reg;
    if (!OpenEditorOptions(reg, Name)) return Default;
    try {
        return reg.ReadInteger(Name);
    } catch (const ERegistryException&) { // a text value where a number was kept
        return Default;
    }
}

void WriteEditorOptionBool(const std::string& Name, bool Value)
{
    TRegistry reg;
    reg.SetRootKey(HKEY_CURRENT_USER);
    if (reg.OpenKey(EditorOptionsKey, true)) reg.WriteBool(Name, Value);
}

void WriteEditorOptionInteger(const std::string& Name, int Value)
{
    TRegistry reg;
    reg.SetRootKey(HKEY_CURRENT_USER);
    if (reg.OpenKey(EditorOptionsKey, true)) reg.WriteInteger(Name, Value);
}

// ---- Translation hook -----------------------------------------------------------------------------------

void SetTranslationHook(TTranslationHook Hook) { RadErareUtilsModule().TranslationHook = std::move(Hook); }

void ApplyTranslationHook(const TTranslationTarget& Target, std::initializer_list<TComponent*> Exclusions)
{
    if (const TTranslationHook& hook = RadErareUtilsModule().TranslationHook) hook(Target, std::vector<TComponent*>(Exclusions));
}

void TranslateFormControls(TComponent* Control) { ApplyTranslationHook({Control, nullptr}, {}); }

void TranslateFormControls(TForm* Form) { ApplyTranslationHook({nullptr, Form}, {}); }

// ---- Resources --------------------------------------------------------------------------------------------

bool LoadResourceBitmap(TBitmap& Bitmap, const std::string& Name, const std::string& FallbackName)
{
    for (const std::string* name : {&Name, &FallbackName}) {
        try {
            if (!name->empty() && LoadBitmapResource(*name, Bitmap)) return true;
        } catch (const std::exception&) { // a broken resource: try the next name
        }
    }
    return false;
}

bool LoadResourceBitmap(const TLumBitmap& Lookup)
{
    return Lookup.Target && LoadResourceBitmap(*Lookup.Target, Lookup.Name, Lookup.FallbackName);
}

bool LoadSeriesIcon(const TPersistent& Series, TBitmap& Bitmap)
{
    const TClassInfo& info = Series.ClassInfo();
    const std::string parent = info.Parent() ? info.Parent()->Name() : std::string();
    return LoadResourceBitmap(Bitmap, info.Name(), parent);
}

// ---- Controls and devices ---------------------------------------------------------------------------------

void DrawCheckOrRadio(int X, int Y, TCanvas& Canvas, bool CheckBox, bool Checked)
{
    const unsigned kind = CheckBox ? unsigned{DFCS_BUTTONCHECK} : unsigned{DFCS_BUTTONRADIO};
    Canvas.DrawFrameControl({X, Y, X + 13, Y + 13}, DFC_BUTTON, kind | (Checked ? unsigned{DFCS_CHECKED} : 0u));
}

double DeviceAspectRatio(const TCanvas& Canvas)
{
    const int height = Canvas.GetDeviceCaps(VERTSIZE);
    if (height == 0) return 0;
    return static_cast<double>(Canvas.GetDeviceCaps(HORZSIZE)) / height;
}

TPoint MouseClientPos(const TWinControl& Control) { return Control.ScreenToClient(Screen->CursorPos()); }

void SetControlsEnabled(bool Enabled, std::initializer_list<TWinControl*> Controls)
{
    for (TWinControl* control : Controls)
        if (control) control->SetEnabled(Enabled);
}

// ---- Data exporters -----------------------------------------------------------------------------------------

std::string TLumExportData::AsString() { return {}; }

void TLumExportData::CopyToClipboard() { Clipboard().SetAsText(AsString()); }

void TLumExportData::SaveToFile(const std::string& FileName)
{
    TFileStream stream(FileName, fmCreate);
    SaveToStream(stream);
}

void TLumExportData::SaveToStream(TStream& Stream)
{
    const std::string text = AsString();
    Stream.WriteBytes(text);
}
