// The recent-files menu (TFileMenuOpens): a short list of paths kept in the settings file, section
// "FileOpen", keys "1" (newest) to Numbers, mirrored as items of a menu. Every operation reads and writes
// the file directly; the component keeps no copy of the list.
#pragma once

#include "platform/rtl/Classes.h"
#include "platform/rtl/IniFiles.h"

#include <cstdint>
#include <memory>
#include <string>

class TMenuItem;

class TFileMenuOpens : public TComponent {
    VSP_PERSISTENT_CLASS
public:
    // Numbers 4, MenuIndex 0; opens the settings file (SettingsFilePath at this moment).
    explicit TFileMenuOpens(TComponent* AOwner);
    ~TFileMenuOpens() override;

    // Puts a path first unless it is listed already (compared exactly); the oldest entry drops out.
    // A refused write raises EIniFileException "Unable to write to <file>" and leaves the menu alone.
    void AddFile(const std::string& path);

    TNotifyEvent OnAction() const { return FOnAction; }
    void SetOnAction(TNotifyEvent v);
    const std::string& RegPath() const { return FRegPath; }
    void SetRegPath(const std::string& v);
    std::uint32_t Numbers() const { return FNumbers; }
    void SetNumbers(std::uint32_t v);
    TMenuItem* Menus() const { return FMenus; }
    void SetMenus(TMenuItem* v);
    std::uint32_t MenuIndex() const { return FMenuIndex; }
    void SetMenuIndex(std::uint32_t v);
    // The settings file's path.
    const std::string& FileName() const { return FIni->FileName(); }

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    void RebuildMenu();
    std::string Key(std::uint32_t i) const { return std::to_string(i); }

    std::unique_ptr<TIniFile> FIni;
    TMenuItem* FMenus = nullptr;
    std::uint32_t FMenuIndex = 0;
    std::uint32_t FNumbers = 4;
    int FBuiltCount = 0;
    std::uint32_t FBuiltNumbers = 0;   // the key range the last build named its items from
    std::string FRegPath;
    TNotifyEvent FOnAction;
};

// The section of the list.
inline constexpr const char* FileOpenSection = "FileOpen";
