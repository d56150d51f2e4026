// A thin wrapper over one open registry key. Failures of reads and writes are thrown as
// ERegistryException with the message the application's error box shows.
#pragma once
#include <windows.h>
#include <cstdint>
#include <stdexcept>
#include <string>

namespace forms {

class ERegistryException : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class TRegistry {
public:
    explicit TRegistry(HKEY root = HKEY_CURRENT_USER, REGSAM access = KEY_ALL_ACCESS);
    ~TRegistry();
    TRegistry(const TRegistry&) = delete;
    TRegistry& operator=(const TRegistry&) = delete;

    HKEY RootKey;   // the hive paths starting with '\' are taken from
    REGSAM Access;  // the rights OpenKey asks for
    HKEY CurrentKey() const { return current_; }

    // A path starting with '\' is relative to RootKey, any other to the open key (or to
    // RootKey when none is open). On success the new key replaces the open one.
    bool OpenKey(const std::string& key, bool canCreate);
    bool OpenKeyReadOnly(const std::string& key);
    // Opens the key for query only and closes it again; never creates it.
    bool KeyExists(const std::string& key);
    void CreateKey(const std::string& key);
    // Deletes the key with all its subkeys.
    bool DeleteKey(const std::string& key);
    bool DeleteValue(const std::string& name);
    bool ValueExists(const std::string& name);
    void CloseKey();

    int32_t ReadInteger(const std::string& name);
    void WriteInteger(const std::string& name, int32_t value);
    // A missing value reads as "".
    std::string ReadString(const std::string& name);
    void WriteString(const std::string& name, const std::string& value);

private:
    // The key a path is taken from, and the path without its leading '\'.
    HKEY BaseKey(const std::string& key) const;
    static std::string SubPath(const std::string& key);
    void SetData(const std::string& name, DWORD type, const void* data, DWORD size);

    HKEY current_ = nullptr;
};

}  // namespace forms
