#include "Registry.h"

#include <cstring>
#include <vector>

namespace forms {
namespace {

[[noreturn]] void Fail(const char* what, const std::string& name) {
    throw ERegistryException(std::string(what) + " '" + name + "'");
}

bool DeleteTree(HKEY base, const std::string& path) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(base, path.c_str(), 0, KEY_ENUMERATE_SUB_KEYS | KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return false;
    std::vector<std::string> children;
    char name[256];
    for (DWORD i = 0;; ++i) {
        DWORD length = sizeof name;
        if (RegEnumKeyExA(key, i, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        children.emplace_back(name, length);
    }
    for (const std::string& child : children)
        DeleteTree(key, child);
    RegCloseKey(key);
    return RegDeleteKeyA(base, path.c_str()) == ERROR_SUCCESS;
}

}  // namespace

TRegistry::TRegistry(HKEY root, REGSAM access) : RootKey(root), Access(access) {}

TRegistry::~TRegistry() { CloseKey(); }

HKEY TRegistry::BaseKey(const std::string& key) const {
    const bool fromRoot = !key.empty() && key[0] == '\\';
    return fromRoot || !current_ ? RootKey : current_;
}

std::string TRegistry::SubPath(const std::string& key) {
    return !key.empty() && key[0] == '\\' ? key.substr(1) : key;
}

bool TRegistry::OpenKey(const std::string& key, bool canCreate) {
    HKEY opened = nullptr;
    LONG result;
    if (canCreate)
        result = RegCreateKeyExA(BaseKey(key), SubPath(key).c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, Access,
                                 nullptr, &opened, nullptr);
    else
        result = RegOpenKeyExA(BaseKey(key), SubPath(key).c_str(), 0, Access, &opened);
    if (result != ERROR_SUCCESS)
        return false;
    CloseKey();
    current_ = opened;
    return true;
}

bool TRegistry::OpenKeyReadOnly(const std::string& key) {
    HKEY opened = nullptr;
    if (RegOpenKeyExA(BaseKey(key), SubPath(key).c_str(), 0, KEY_READ, &opened) != ERROR_SUCCESS)
        return false;
    CloseKey();
    current_ = opened;
    return true;
}

bool TRegistry::KeyExists(const std::string& key) {
    HKEY probe = nullptr;
    if (RegOpenKeyExA(BaseKey(key), SubPath(key).c_str(), 0, KEY_QUERY_VALUE, &probe) != ERROR_SUCCESS)
        return false;
    RegCloseKey(probe);
    return true;
}

void TRegistry::CreateKey(const std::string& key) {
    HKEY created = nullptr;
    if (RegCreateKeyExA(BaseKey(key), SubPath(key).c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                        nullptr, &created, nullptr) != ERROR_SUCCESS)
        throw ERegistryException("Failed to create key " + key);
    RegCloseKey(created);
}

bool TRegistry::DeleteKey(const std::string& key) {
    const std::string path = SubPath(key);
    // An empty path would name the base key itself.
    return !path.empty() && DeleteTree(BaseKey(key), path);
}

bool TRegistry::DeleteValue(const std::string& name) {
    return current_ && RegDeleteValueA(current_, name.c_str()) == ERROR_SUCCESS;
}

bool TRegistry::ValueExists(const std::string& name) {
    return current_ && RegQueryValueExA(current_, name.c_str(), nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

void TRegistry::CloseKey() {
    if (current_) {
        RegCloseKey(current_);
        current_ = nullptr;
    }
}

int32_t TRegistry::ReadInteger(const std::string& name) {
    // Data wider than the buffer fails with ERROR_MORE_DATA, which is "Failed to get data".
    // A REG_DWORD shorter than 4 bytes reads zero-extended.
    BYTE data[4] = {};
    DWORD size = sizeof data;
    DWORD type = REG_NONE;
    if (!current_ || RegQueryValueExA(current_, name.c_str(), nullptr, &type, data, &size) != ERROR_SUCCESS)
        Fail("Failed to get data for", name);
    if (type != REG_DWORD)
        Fail("Invalid data type for", name);
    const uint32_t value = data[0] | data[1] << 8 | data[2] << 16 | static_cast<uint32_t>(data[3]) << 24;
    return static_cast<int32_t>(value);
}

void TRegistry::WriteInteger(const std::string& name, int32_t value) {
    const uint32_t bits = static_cast<uint32_t>(value);
    const BYTE data[4] = {BYTE(bits), BYTE(bits >> 8), BYTE(bits >> 16), BYTE(bits >> 24)};
    SetData(name, REG_DWORD, data, sizeof data);
}

std::string TRegistry::ReadString(const std::string& name) {
    if (!current_)
        Fail("Failed to get data for", name);
    DWORD type = REG_NONE;
    DWORD size = 0;
    LONG result = RegQueryValueExA(current_, name.c_str(), nullptr, &type, nullptr, &size);
    // The value may change size between the two queries; ask again then.
    std::vector<char> data;
    while (result == ERROR_SUCCESS || result == ERROR_MORE_DATA) {
        if (type != REG_SZ && type != REG_EXPAND_SZ)
            Fail("Invalid data type for", name);
        data.assign(size + 1, '\0');
        DWORD got = size;
        result = RegQueryValueExA(current_, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &got);
        size = got;
        if (result == ERROR_SUCCESS && (type == REG_SZ || type == REG_EXPAND_SZ))
            return std::string(data.data(), strnlen(data.data(), got));
    }
    if (result == ERROR_FILE_NOT_FOUND)
        return std::string();
    Fail("Failed to get data for", name);
}

void TRegistry::WriteString(const std::string& name, const std::string& value) {
    SetData(name, REG_SZ, value.c_str(), static_cast<DWORD>(value.size() + 1));
}

void TRegistry::SetData(const std::string& name, DWORD type, const void* data, DWORD size) {
    if (!current_ ||
        RegSetValueExA(current_, name.c_str(), 0, type, static_cast<const BYTE*>(data), size) != ERROR_SUCCESS)
        Fail("Failed to set data for", name);
}

}  // namespace forms
