// The key store's file: a "[ROOT\path]" line per key, then one line per value, "s:name=text" or
// "i:name=number". Bytes below 32, a "%" followed by two hexadecimal digits and the characters that
// would end a field ("=" in names, "]" in paths) are written as "%XX", so any name and value survive.
#include "platform/rtl/Registry.h"

#include "platform/rtl/ConfigPaths.h"
#include "platform/rtl/StrUtils.h"
#include "platform/rtl/TextFile.h"

#include <algorithm>
#include <charconv>
#include <filesystem>
#include <memory>
#include <mutex>
#include <optional>
#include <unordered_map>
#include <vector>

namespace {

struct TRegistryState {
    std::string StorePath; // empty: the default place
};

TRegistryState& State()
{
    static TRegistryState state;
    return state;
}

// ---- escaping -------------------------------------------------------------------------------------

bool IsHexDigit(char c) { return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f'); }

std::string Escape(std::string_view s, std::string_view special)
{
    static const char hex[] = "0123456789ABCDEF";
    std::string r;
    for (std::size_t i = 0; i < s.size(); ++i) {
        const char c = s[i];
        const auto u = static_cast<unsigned char>(c);
        // A "%" is escaped only where it would read as an escape, so "%1" stays as written.
        const bool percentEscape = c == '%' && i + 2 < s.size() && IsHexDigit(s[i + 1]) && IsHexDigit(s[i + 2]);
        if (u < 32 || percentEscape || special.find(c) != std::string_view::npos) {
            r += '%';
            r += hex[u >> 4];
            r += hex[u & 15];
        } else {
            r += c;
        }
    }
    return r;
}

std::string Unescape(std::string_view s)
{
    std::string r;
    for (std::size_t i = 0; i < s.size(); ++i) {
        unsigned value = 0;
        if (s[i] == '%' && i + 2 < s.size() &&
            std::from_chars(s.data() + i + 1, s.data() + i + 3, value, 16).ptr == s.data() + i + 3) {
            r += static_cast<char>(value);
            i += 2;
        } else {
            r += s[i];
        }
    }
    return r;
}

// ---- the store --------------------------------------------------------------------------------------

struct TRegValue {
    std::string Name;
    bool IsInteger = false;
    std::string Text;
    std::int32_t Integer = 0;
};

struct TRegKey {
    std::string Path; // "ROOT\a\b", letter case as first created
    std::vector<TRegValue> Values;
};

bool IsBelow(std::string_view path, std::string_view key)
{
    return path.size() > key.size() && path[key.size()] == '\\' && SameText(path.substr(0, key.size()), key);
}

// The keys of a store file as parsed, found by their upper-cased paths.
struct TStoreKeys {
    std::string Original; // the file's bytes
    std::vector<TRegKey> Keys;
    std::unordered_map<std::string, std::size_t> Index;
};

// The store as last read or saved: a file read again with the same bytes is not parsed again.
struct TStoreCache {
    std::mutex Lock;
    std::string File;
    std::shared_ptr<const TStoreKeys> Keys;
};

TStoreCache& StoreCache()
{
    static TStoreCache cache;
    return cache;
}

class TKeyStore {
public:
    TKeyStore() : FFile(RegistryStorePath())
    {
        std::string bytes;
        LoadFileBytes(FFile, bytes);
        TStoreCache& cache = StoreCache();
        const std::lock_guard<std::mutex> lock(cache.Lock);
        if (!cache.Keys || cache.File != FFile || cache.Keys->Original != bytes) {
            auto parsed = std::make_shared<TStoreKeys>();
            parsed->Original = std::move(bytes);
            FData = parsed; // parsed into, then shared
            Parse(*parsed);
            cache.File = FFile;
            cache.Keys = parsed;
        } else {
            FData = std::const_pointer_cast<TStoreKeys>(cache.Keys);
        }
    }

    const TRegKey* Find(std::string_view path) const
    {
        const auto it = FData->Index.find(UpperCase(path));
        return it == FData->Index.end() ? nullptr : &FData->Keys[it->second];
    }
    bool Exists(std::string_view path) const
    {
        if (path.find('\\') == std::string_view::npos) return true; // a root key always exists
        if (Find(path)) return true;
        for (const TRegKey& k : FData->Keys)
            if (IsBelow(k.Path, path)) return true;
        return false;
    }
    // The key, created with its parents when missing.
    TRegKey& Create(std::string_view path)
    {
        TStoreKeys& data = Own();
        for (std::size_t slash = path.find('\\'); slash != std::string_view::npos; slash = path.find('\\', slash + 1))
            Add(data, path.substr(0, slash));
        return data.Keys[Add(data, path)];
    }
    bool Delete(std::string_view path)
    {
        const auto doomed = [&](const TRegKey& k) { return SameText(k.Path, path) || IsBelow(k.Path, path); };
        if (std::none_of(FData->Keys.begin(), FData->Keys.end(), doomed)) return false;
        TStoreKeys& data = Own();
        std::erase_if(data.Keys, doomed);
        Reindex(data);
        return true;
    }
    bool Save()
    {
        std::string text;
        for (const TRegKey& k : FData->Keys) {
            text += "[" + Escape(k.Path, "]") + "]\n";
            for (const TRegValue& v : k.Values)
                text += (v.IsInteger ? "i:" : "s:") + Escape(v.Name, "=") + "=" +
                        (v.IsInteger ? std::to_string(v.Integer) : Escape(v.Text, "")) + "\n";
        }
        if (text == FData->Original) return true;
        std::error_code ec;
        std::filesystem::create_directories(std::filesystem::path(FFile).parent_path(), ec);
        if (!SaveFileSafely(FFile, text)) return false;
        TStoreKeys& data = Own();
        data.Original = std::move(text);
        TStoreCache& cache = StoreCache();
        const std::lock_guard<std::mutex> lock(cache.Lock);
        cache.File = FFile;
        cache.Keys = FData;
        return true;
    }

private:
    // The keys of this store alone, copied from the shared ones before the first change.
    TStoreKeys& Own()
    {
        if (!FOwn) {
            FData = std::make_shared<TStoreKeys>(*FData);
            FOwn = true;
        }
        return *FData;
    }
    static std::size_t Add(TStoreKeys& data, std::string_view path)
    {
        const auto [it, added] = data.Index.try_emplace(UpperCase(path), data.Keys.size());
        if (added) data.Keys.push_back({std::string(path), {}});
        return it->second;
    }
    static void Reindex(TStoreKeys& data)
    {
        data.Index.clear();
        for (std::size_t i = 0; i < data.Keys.size(); ++i) data.Index.emplace(UpperCase(data.Keys[i].Path), i);
    }
    static void Parse(TStoreKeys& keys)
    {
        TRegKey* current = nullptr;
        for (const std::string& line : SplitTextLines(keys.Original)) {
            if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
                const std::string path = Unescape(std::string_view(line).substr(1, line.size() - 2));
                for (std::size_t slash = path.find('\\'); slash != std::string::npos; slash = path.find('\\', slash + 1))
                    Add(keys, std::string_view(path).substr(0, slash));
                current = &keys.Keys[Add(keys, path)];
                continue;
            }
            const std::size_t eq = line.find('=');
            if (!current || line.size() < 2 || line[1] != ':' || eq == std::string::npos) continue; // not ours: dropped
            TRegValue v;
            v.Name = Unescape(std::string_view(line).substr(2, eq - 2));
            const std::string_view data = std::string_view(line).substr(eq + 1);
            if (line[0] == 'i') {
                v.IsInteger = true;
                if (std::from_chars(data.data(), data.data() + data.size(), v.Integer).ec != std::errc()) continue;
            } else if (line[0] == 's') {
                v.Text = Unescape(data);
            } else {
                continue;
            }
            current->Values.push_back(std::move(v));
        }
    }

    std::string FFile;
    std::shared_ptr<TStoreKeys> FData;
    bool FOwn = false;
};

// TRegValue or const TRegValue, as the key is.
template <typename Key>
auto FindValue(Key* key, std::string_view name) -> decltype(&key->Values[0])
{
    if (!key) return nullptr;
    for (auto& v : key->Values)
        if (SameText(v.Name, name)) return &v;
    return nullptr;
}

std::string RootName(HKEY root)
{
    switch (root) {
    case HKEY_CLASSES_ROOT: return "HKEY_CLASSES_ROOT";
    case HKEY_CURRENT_USER: return "HKEY_CURRENT_USER";
    case HKEY_LOCAL_MACHINE: return "HKEY_LOCAL_MACHINE";
    case HKEY_USERS: return "HKEY_USERS";
    }
    return "HKEY_" + std::to_string(root);
}

// The components of a key path joined by single "\" (empty components dropped).
std::string NormalizeKey(std::string_view key)
{
    std::string r;
    std::size_t start = 0;
    while (start <= key.size()) {
        std::size_t end = key.find('\\', start);
        if (end == std::string_view::npos) end = key.size();
        if (end > start) {
            if (!r.empty()) r += '\\';
            r += key.substr(start, end - start);
        }
        start = end + 1;
    }
    return r;
}

} // namespace

std::string RegistryStorePath()
{
    const std::string& path = State().StorePath;
    return path.empty() ? UserConfigFolder() + "/registry" : path;
}

void SetRegistryStorePath(const std::string& path) { State().StorePath = path; }

void TRegistry::SetRootKey(HKEY root)
{
    CloseKey();
    FRootKey = root;
}

std::string TRegistry::FullPath(std::string_view key) const
{
    const bool absolute = !key.empty() && key.front() == '\\';
    std::string below = NormalizeKey(key);
    if (!absolute && FKeyOpen && !FCurrentPath.empty())
        below = below.empty() ? FCurrentPath : FCurrentPath + "\\" + below;
    return below.empty() ? RootName(FRootKey) : RootName(FRootKey) + "\\" + below;
}

bool TRegistry::OpenKey(std::string_view key, bool canCreate)
{
    const std::string full = FullPath(key);
    TKeyStore store;
    if (!store.Exists(full)) {
        if (!canCreate) return false;
        store.Create(full);
        if (!store.Save()) return false;
    }
    FCurrentPath = full.size() > RootName(FRootKey).size() ? full.substr(RootName(FRootKey).size() + 1) : std::string();
    FKeyOpen = true;
    FReadOnly = false;
    return true;
}

bool TRegistry::OpenKeyReadOnly(std::string_view key)
{
    if (!OpenKey(key, false)) return false;
    FReadOnly = true;
    return true;
}

void TRegistry::CloseKey()
{
    FCurrentPath.clear();
    FKeyOpen = false;
    FReadOnly = false;
}

bool TRegistry::KeyExists(std::string_view key) const { return TKeyStore().Exists(FullPath(key)); }

bool TRegistry::DeleteKey(std::string_view key)
{
    TKeyStore store;
    return store.Delete(FullPath(key)) && store.Save();
}

bool TRegistry::ValueExists(std::string_view name) const
{
    TKeyStore store;
    return FindValue(store.Find(FullPath("")), name) != nullptr;
}

std::string TRegistry::ReadString(std::string_view name) const
{
    TKeyStore store;
    const TRegValue* v = FindValue(store.Find(FullPath("")), name);
    if (!v) return {};
    if (v->IsInteger) throw ERegistryException("Invalid data type for '" + std::string(name) + "'");
    return v->Text;
}

std::int32_t TRegistry::ReadInteger(std::string_view name) const
{
    TKeyStore store;
    const TRegValue* v = FindValue(store.Find(FullPath("")), name);
    if (!v) throw ERegistryException("Failed to get data for '" + std::string(name) + "'");
    if (!v->IsInteger) throw ERegistryException("Invalid data type for '" + std::string(name) + "'");
    return v->Integer;
}

namespace {

void StoreValue(const std::string& keyPath, bool readOnly, std::string_view name, TRegValue value)
{
    const std::string failure = "Failed to set data for '" + std::string(name) + "'";
    if (readOnly) throw ERegistryException(failure);
    TKeyStore store;
    TRegKey& key = store.Create(keyPath);
    value.Name = std::string(name);
    if (TRegValue* old = FindValue(&key, name)) {
        value.Name = old->Name;
        *old = std::move(value);
    } else {
        key.Values.push_back(std::move(value));
    }
    if (!store.Save()) throw ERegistryException(failure);
}

} // namespace

void TRegistry::WriteString(std::string_view name, std::string_view value)
{
    TRegValue v;
    v.Text = std::string(value);
    StoreValue(FullPath(""), FReadOnly, name, std::move(v));
}

void TRegistry::WriteInteger(std::string_view name, std::int32_t value)
{
    TRegValue v;
    v.IsInteger = true;
    v.Integer = value;
    StoreValue(FullPath(""), FReadOnly, name, std::move(v));
}
