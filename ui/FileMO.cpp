// The recent-files list: shifting the keys of the settings file's section and rebuilding the menu items.
#include "ui/FileMO.h"

#include "platform/controls/Menus.h"
#include "platform/rtl/ConfigPaths.h"

const TClassInfo& TFileMenuOpens::StaticClassInfo()
{
    using P = TProps<TFileMenuOpens>;
    using F = TFileMenuOpens;
    static const TClassInfo info({
        .Name = "TFileMenuOpens",
        .Parent = &TComponent::StaticClassInfo(),
        .Properties = {P::Text("RegPath", &F::RegPath, &F::SetRegPath),
                       P::Integer("Numbers", &F::Numbers, &F::SetNumbers),
                       P::Integer("MenuIndex", &F::MenuIndex, &F::SetMenuIndex)},
        .Create = &CreateComponentOf<TFileMenuOpens>,
    });
    return info;
}

TFileMenuOpens::TFileMenuOpens(TComponent* AOwner) : TComponent(AOwner), FIni(std::make_unique<TIniFile>(SettingsFilePath())) {}

TFileMenuOpens::~TFileMenuOpens()
{
    if (FMenus) FMenus->RemoveFreeNotification(this);
}

void TFileMenuOpens::Notification(TComponent* AComponent, TOperation Operation)
{
    TComponent::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FMenus) FMenus = nullptr;
}

void TFileMenuOpens::AddFile(const std::string& path)
{
    for (std::uint32_t i = FNumbers; i >= 1; --i)
        if (FIni->ReadString(FileOpenSection, Key(i), "") == path) return;
    FIni->BeginUpdate();
    for (std::uint32_t i = FNumbers; i >= 2; --i)
        FIni->WriteString(FileOpenSection, Key(i), FIni->ReadString(FileOpenSection, Key(i - 1), ""));
    FIni->WriteString(FileOpenSection, "1", path);
    FIni->UpdateFile();
    RebuildMenu();
}

void TFileMenuOpens::SetOnAction(TNotifyEvent v)
{
    FOnAction = std::move(v);
    RebuildMenu();
}

void TFileMenuOpens::SetRegPath(const std::string& v)
{
    if (v == FRegPath) return;
    FRegPath = v;
    FIni->BeginUpdate();
    for (std::uint32_t i = 1; i <= FNumbers; ++i)
        if (!FIni->ValueExists(FileOpenSection, Key(i))) FIni->WriteString(FileOpenSection, Key(i), "");
    FIni->UpdateFile();
    RebuildMenu();
}

void TFileMenuOpens::SetNumbers(std::uint32_t v)
{
    if (v == FNumbers) return;
    const std::uint32_t old = FNumbers;
    FNumbers = v;
    FIni->BeginUpdate();
    if (v > old) {
        for (std::uint32_t i = old + 1; i <= v; ++i)
            if (!FIni->ValueExists(FileOpenSection, Key(i))) FIni->WriteString(FileOpenSection, Key(i), "");
    } else {
        for (std::uint32_t i = v + 1; i <= old; ++i) FIni->DeleteKey(FileOpenSection, Key(i));
    }
    FIni->UpdateFile();
    RebuildMenu();
}

void TFileMenuOpens::SetMenus(TMenuItem* v)
{
    if (FMenus && FMenus != v) FMenus->RemoveFreeNotification(this);
    FMenus = v;
    if (FMenus) FMenus->FreeNotification(this);
    RebuildMenu();
}

void TFileMenuOpens::SetMenuIndex(std::uint32_t v)
{
    FMenuIndex = v;
    RebuildMenu();
}

// Items are placed by key number, so with contiguous entries the newest stands at MenuIndex; an entry
// whose place lies beyond the menu's items is left out.
void TFileMenuOpens::RebuildMenu()
{
    if (!FMenus) return;
    for (std::uint32_t i = 1; i <= FBuiltNumbers; ++i)
        if (auto* old = dynamic_cast<TMenuItem*>(FMenus->FindComponent("FileOpen" + Key(i)))) {
            if (old->Parent() == FMenus) FMenus->Remove(old);
            old->Free();
        }
    FBuiltCount = 0;
    FBuiltNumbers = FNumbers;
    for (std::uint32_t i = 1; i <= FNumbers; ++i) {
        const std::string path = FIni->ReadString(FileOpenSection, Key(i), "");
        if (path.empty()) continue;
        auto* item = new TMenuItem(FMenus);
        item->SetName("FileOpen" + Key(i));
        item->SetCaption(path);
        item->OnClick = FOnAction;
        const std::uint64_t at = static_cast<std::uint64_t>(FMenuIndex) + i - 1;
        if (at <= static_cast<std::uint64_t>(FMenus->Count())) FMenus->Insert(static_cast<int>(at), item);
        ++FBuiltCount;
    }
}
