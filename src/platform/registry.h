#pragma once
// Registry keys: open/create, typed reads that tell a missing value from a wrong type, enumeration.
#include <windows.h>

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "platform/handles.h"

namespace platform {

// Key paths are relative to a root; a leading backslash is ignored, as the program's
// call sites spell paths both ways.
std::wstring KeyPath(std::string_view path);

// A value of another type than the reader expects.
class RegTypeError : public std::runtime_error {
public:
    RegTypeError(const std::string& name, DWORD actualType);
    DWORD actualType() const noexcept { return m_type; }

private:
    DWORD m_type;
};

struct RegValue {
    std::string name;
    DWORD type = REG_NONE;
    std::vector<uint8_t> data;
    // The data as text for REG_SZ, REG_EXPAND_SZ and REG_MULTI_SZ (first string), else empty.
    std::string text() const;
};

class RegKey {
public:
    RegKey() = default;
    explicit RegKey(HKEY owned) : m_key(owned) {}

    // Opens an existing key; nullopt when it does not exist or cannot be opened.
    static std::optional<RegKey> Open(HKEY root, std::string_view path, REGSAM access = KEY_READ);
    // Opens or creates; throws Win32Error on failure.
    static RegKey Create(HKEY root, std::string_view path, REGSAM access = KEY_READ | KEY_WRITE);
    // Opens or creates; nullopt on failure (for callers that handle a missing key themselves).
    static std::optional<RegKey> TryCreate(HKEY root, std::string_view path, REGSAM access = KEY_READ | KEY_WRITE);

    HKEY get() const noexcept { return m_key.get(); }
    explicit operator bool() const noexcept { return static_cast<bool>(m_key); }

    bool hasValue(std::string_view name) const;
    std::optional<DWORD> valueType(std::string_view name) const;
    // nullopt when missing; RegTypeError when present with another type.
    std::optional<std::string> readString(std::string_view name) const;
    std::optional<int32_t> readInt(std::string_view name) const;
    std::optional<std::vector<uint8_t>> readBinary(std::string_view name) const;
    std::optional<RegValue> readValue(std::string_view name) const;

    void writeString(std::string_view name, std::string_view value, DWORD type = REG_SZ);
    void writeInt(std::string_view name, int32_t value);
    void writeBinary(std::string_view name, const void* data, size_t size);
    void writeRaw(std::string_view name, DWORD type, const std::vector<uint8_t>& data);
    // false when the value did not exist; throws on other failures.
    bool deleteValue(std::string_view name);

    std::vector<std::string> valueNames() const;
    std::vector<RegValue> values() const;
    std::vector<std::string> subkeyNames() const;
    size_t subkeyCount() const;
    size_t valueCount() const;
    FILETIME lastWriteTime() const;

private:
    UniqueHKey m_key;
};

bool KeyExists(HKEY root, std::string_view path);
// Deletes a key with all its subkeys; false when it did not exist.
bool DeleteKeyTree(HKEY root, std::string_view path);
// The root's conventional name ("HKEY_CURRENT_USER") and back.
std::string RootName(HKEY root);
std::optional<HKEY> RootFromName(std::string_view name);

} // namespace platform
