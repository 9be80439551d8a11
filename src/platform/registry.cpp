#include "platform/registry.h"

#include "platform/error.h"
#include "platform/strings.h"

namespace platform {

std::wstring KeyPath(std::string_view path) {
    while (!path.empty() && path.front() == '\\')
        path.remove_prefix(1);
    return Widen(path);
}

RegTypeError::RegTypeError(const std::string& name, DWORD actualType)
    : std::runtime_error("Invalid registry data type for value \"" + name + "\" (type " + std::to_string(actualType) +
                         ")"),
      m_type(actualType) {}

std::string RegValue::text() const {
    if (type != REG_SZ && type != REG_EXPAND_SZ && type != REG_MULTI_SZ) return {};
    const auto* w = reinterpret_cast<const wchar_t*>(data.data());
    size_t n = data.size() / sizeof(wchar_t);
    size_t len = 0;
    while (len < n && w[len] != L'\0')
        ++len;
    return Narrow(std::wstring_view(w, len));
}

std::optional<RegKey> RegKey::Open(HKEY root, std::string_view path, REGSAM access) {
    HKEY h = nullptr;
    if (RegOpenKeyExW(root, KeyPath(path).c_str(), 0, access, &h) != ERROR_SUCCESS) return std::nullopt;
    return RegKey(h);
}

RegKey RegKey::Create(HKEY root, std::string_view path, REGSAM access) {
    HKEY h = nullptr;
    ThrowIfError(RegCreateKeyExW(root, KeyPath(path).c_str(), 0, nullptr, 0, access, nullptr, &h, nullptr),
                 "RegCreateKeyEx");
    return RegKey(h);
}

std::optional<RegKey> RegKey::TryCreate(HKEY root, std::string_view path, REGSAM access) {
    HKEY h = nullptr;
    if (RegCreateKeyExW(root, KeyPath(path).c_str(), 0, nullptr, 0, access, nullptr, &h, nullptr) != ERROR_SUCCESS)
        return std::nullopt;
    return RegKey(h);
}

std::optional<RegValue> RegKey::readValue(std::string_view name) const {
    std::wstring wname = Widen(name);
    DWORD type = 0, size = 0;
    LONG rc = RegQueryValueExW(get(), wname.c_str(), nullptr, &type, nullptr, &size);
    if (rc == ERROR_FILE_NOT_FOUND) return std::nullopt;
    ThrowIfError(rc, "RegQueryValueEx");
    RegValue v;
    v.name = std::string(name);
    for (;;) {
        v.data.resize(size);
        rc = RegQueryValueExW(get(), wname.c_str(), nullptr, &type, v.data.data(), &size);
        if (rc != ERROR_MORE_DATA) break;
    }
    if (rc == ERROR_FILE_NOT_FOUND) return std::nullopt;
    ThrowIfError(rc, "RegQueryValueEx");
    v.data.resize(size);
    v.type = type;
    return v;
}

bool RegKey::hasValue(std::string_view name) const {
    return RegQueryValueExW(get(), Widen(name).c_str(), nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

std::optional<DWORD> RegKey::valueType(std::string_view name) const {
    DWORD type = 0;
    if (RegQueryValueExW(get(), Widen(name).c_str(), nullptr, &type, nullptr, nullptr) != ERROR_SUCCESS)
        return std::nullopt;
    return type;
}

std::optional<std::string> RegKey::readString(std::string_view name) const {
    auto v = readValue(name);
    if (!v) return std::nullopt;
    if (v->type != REG_SZ && v->type != REG_EXPAND_SZ) throw RegTypeError(std::string(name), v->type);
    return v->text();
}

std::optional<int32_t> RegKey::readInt(std::string_view name) const {
    auto v = readValue(name);
    if (!v) return std::nullopt;
    if (v->type != REG_DWORD || v->data.size() < 4) throw RegTypeError(std::string(name), v->type);
    int32_t out;
    memcpy(&out, v->data.data(), 4);
    return out;
}

std::optional<std::vector<uint8_t>> RegKey::readBinary(std::string_view name) const {
    auto v = readValue(name);
    if (!v) return std::nullopt;
    if (v->type != REG_BINARY) throw RegTypeError(std::string(name), v->type);
    return v->data;
}

void RegKey::writeString(std::string_view name, std::string_view value, DWORD type) {
    std::wstring w = Widen(value);
    ThrowIfError(RegSetValueExW(get(), Widen(name).c_str(), 0, type, reinterpret_cast<const BYTE*>(w.c_str()),
                                static_cast<DWORD>((w.size() + 1) * sizeof(wchar_t))),
                 "RegSetValueEx");
}

void RegKey::writeInt(std::string_view name, int32_t value) {
    ThrowIfError(RegSetValueExW(get(), Widen(name).c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), 4),
                 "RegSetValueEx");
}

void RegKey::writeBinary(std::string_view name, const void* data, size_t size) {
    ThrowIfError(RegSetValueExW(get(), Widen(name).c_str(), 0, REG_BINARY, static_cast<const BYTE*>(data),
                                static_cast<DWORD>(size)),
                 "RegSetValueEx");
}

void RegKey::writeRaw(std::string_view name, DWORD type, const std::vector<uint8_t>& data) {
    ThrowIfError(RegSetValueExW(get(), Widen(name).c_str(), 0, type, data.data(), static_cast<DWORD>(data.size())),
                 "RegSetValueEx");
}

bool RegKey::deleteValue(std::string_view name) {
    LONG rc = RegDeleteValueW(get(), Widen(name).c_str());
    if (rc == ERROR_FILE_NOT_FOUND) return false;
    ThrowIfError(rc, "RegDeleteValue");
    return true;
}

std::vector<std::string> RegKey::valueNames() const {
    std::vector<std::string> names;
    DWORD maxName = 0;
    ThrowIfError(RegQueryInfoKeyW(get(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &maxName,
                                  nullptr, nullptr, nullptr),
                 "RegQueryInfoKey");
    std::wstring buf(maxName + 2, L'\0');
    for (DWORD i = 0;; ++i) {
        DWORD len = static_cast<DWORD>(buf.size());
        LONG rc = RegEnumValueW(get(), i, buf.data(), &len, nullptr, nullptr, nullptr, nullptr);
        if (rc == ERROR_NO_MORE_ITEMS) break;
        if (rc == ERROR_MORE_DATA) {
            buf.resize(buf.size() * 2 + 256);
            --i;
            continue;
        }
        ThrowIfError(rc, "RegEnumValue");
        names.push_back(Narrow(std::wstring_view(buf.data(), len)));
    }
    return names;
}

std::vector<RegValue> RegKey::values() const {
    std::vector<RegValue> out;
    for (auto& name : valueNames()) {
        if (auto v = readValue(name)) out.push_back(std::move(*v));
    }
    return out;
}

std::vector<std::string> RegKey::subkeyNames() const {
    std::vector<std::string> names;
    DWORD maxName = 0;
    ThrowIfError(RegQueryInfoKeyW(get(), nullptr, nullptr, nullptr, nullptr, &maxName, nullptr, nullptr, nullptr,
                                  nullptr, nullptr, nullptr),
                 "RegQueryInfoKey");
    std::wstring buf(maxName + 2, L'\0');
    for (DWORD i = 0;; ++i) {
        DWORD len = static_cast<DWORD>(buf.size());
        LONG rc = RegEnumKeyExW(get(), i, buf.data(), &len, nullptr, nullptr, nullptr, nullptr);
        if (rc == ERROR_NO_MORE_ITEMS) break;
        if (rc == ERROR_MORE_DATA) {
            buf.resize(buf.size() * 2 + 256);
            --i;
            continue;
        }
        ThrowIfError(rc, "RegEnumKeyEx");
        names.push_back(Narrow(std::wstring_view(buf.data(), len)));
    }
    return names;
}

size_t RegKey::subkeyCount() const {
    DWORD n = 0;
    ThrowIfError(RegQueryInfoKeyW(get(), nullptr, nullptr, nullptr, &n, nullptr, nullptr, nullptr, nullptr, nullptr,
                                  nullptr, nullptr),
                 "RegQueryInfoKey");
    return n;
}

size_t RegKey::valueCount() const {
    DWORD n = 0;
    ThrowIfError(RegQueryInfoKeyW(get(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &n, nullptr, nullptr,
                                  nullptr, nullptr),
                 "RegQueryInfoKey");
    return n;
}

FILETIME RegKey::lastWriteTime() const {
    FILETIME ft{};
    ThrowIfError(RegQueryInfoKeyW(get(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                                  nullptr, nullptr, &ft),
                 "RegQueryInfoKey");
    return ft;
}

bool KeyExists(HKEY root, std::string_view path) {
    return RegKey::Open(root, path).has_value();
}

bool DeleteKeyTree(HKEY root, std::string_view path) {
    LONG rc = RegDeleteTreeW(root, KeyPath(path).c_str());
    if (rc == ERROR_FILE_NOT_FOUND) return false;
    ThrowIfError(rc, "RegDeleteTree");
    // RegDeleteTree empties the key; the key itself goes with RegDeleteKey.
    rc = RegDeleteKeyW(root, KeyPath(path).c_str());
    if (rc != ERROR_SUCCESS && rc != ERROR_FILE_NOT_FOUND) ThrowIfError(rc, "RegDeleteKey");
    return true;
}

std::string RootName(HKEY root) {
    if (root == HKEY_CURRENT_USER) return "HKEY_CURRENT_USER";
    if (root == HKEY_LOCAL_MACHINE) return "HKEY_LOCAL_MACHINE";
    if (root == HKEY_USERS) return "HKEY_USERS";
    if (root == HKEY_CLASSES_ROOT) return "HKEY_CLASSES_ROOT";
    if (root == HKEY_CURRENT_CONFIG) return "HKEY_CURRENT_CONFIG";
    return {};
}

std::optional<HKEY> RootFromName(std::string_view name) {
    if (SameText(name, "HKEY_CURRENT_USER") || SameText(name, "HKCU")) return HKEY_CURRENT_USER;
    if (SameText(name, "HKEY_LOCAL_MACHINE") || SameText(name, "HKLM")) return HKEY_LOCAL_MACHINE;
    if (SameText(name, "HKEY_USERS") || SameText(name, "HKU")) return HKEY_USERS;
    if (SameText(name, "HKEY_CLASSES_ROOT") || SameText(name, "HKCR")) return HKEY_CLASSES_ROOT;
    if (SameText(name, "HKEY_CURRENT_CONFIG") || SameText(name, "HKCC")) return HKEY_CURRENT_CONFIG;
    return std::nullopt;
}

} // namespace platform
