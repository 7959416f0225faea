// TRegistry: the key store that stands in for the system registry. Keys (paths of names separated by
// "\", letter case ignored) hold named string and integer values; all root keys live in one text file in
// the user's configuration folder. Every call reads the file afresh and every write saves it at once.
#pragma once

#include "platform/rtl/Exceptions.h"

#include <cstdint>
#include <string>
#include <string_view>

VSP_DECLARE_EXCEPTION(ERegistryException, Exception);

using HKEY = std::uint32_t;
inline constexpr HKEY HKEY_CLASSES_ROOT = 0x80000000;
inline constexpr HKEY HKEY_CURRENT_USER = 0x80000001;
inline constexpr HKEY HKEY_LOCAL_MACHINE = 0x80000002;
inline constexpr HKEY HKEY_USERS = 0x80000003;

// The store file: UserConfigFolder()/registry, unless a test has pointed it elsewhere.
std::string RegistryStorePath();
// Points the store at another file; an empty path restores the default.
void SetRegistryStorePath(const std::string& path);

class TRegistry {
public:
    TRegistry() = default;

    HKEY RootKey() const { return FRootKey; }
    // Closes the open key.
    void SetRootKey(HKEY root);
    // The open key's path below the root ("" for the root itself or when none is open).
    const std::string& CurrentPath() const { return FCurrentPath; }

    // A key starting with "\" is taken from the root, others from the open key. Opens it (creating it
    // and its parents when `canCreate`); false when it does not exist or cannot be created.
    bool OpenKey(std::string_view key, bool canCreate);
    // Writes to a key opened so raise ERegistryException.
    bool OpenKeyReadOnly(std::string_view key);
    void CloseKey();
    bool KeyExists(std::string_view key) const;
    // Removes the key with all its sub-keys; false when it did not exist or the store refused.
    bool DeleteKey(std::string_view key);

    // Values of the open key (of the root when none is open); "" names the key's default value.
    bool ValueExists(std::string_view name) const;
    // "" for a missing value; ERegistryException "Invalid data type for '<name>'" for an integer.
    std::string ReadString(std::string_view name) const;
    // ERegistryException "Failed to get data for '<name>'" when missing, "Invalid data type ..." for text.
    std::int32_t ReadInteger(std::string_view name) const;
    bool ReadBool(std::string_view name) const { return ReadInteger(name) != 0; }
    // ERegistryException "Failed to set data for '<name>'" when the key is read-only or the store
    // cannot be written.
    void WriteString(std::string_view name, std::string_view value);
    void WriteInteger(std::string_view name, std::int32_t value);
    void WriteBool(std::string_view name, bool value) { WriteInteger(name, value ? 1 : 0); }

private:
    std::string FullPath(std::string_view key) const;

    HKEY FRootKey = HKEY_CURRENT_USER;
    std::string FCurrentPath;
    bool FKeyOpen = false;
    bool FReadOnly = false;
};
