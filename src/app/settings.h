#pragma once
// The settings store: everything the program keeps lives under HKEY_CURRENT_USER\Software\Quorvel\Vantrel.
// Key paths are full paths below HKEY_CURRENT_USER ("\Software\Quorvel\Vantrel\Logs"); letter case
// and a leading backslash do not matter.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/pure/placement.h"

namespace platform {
class Form;
}

namespace app {

inline constexpr const char* kProductKey = "\\Software\\Quorvel\\Vantrel";

// Opens the key (creating it when missing); the value, or 0 when it does not exist.
// A value of another type raises platform::RegTypeError.
int32_t ReadRegInt(std::string_view key, std::string_view name);
void WriteRegInt(std::string_view key, std::string_view name, int32_t value);
// Opens the key (creating it when missing); the stored flag, or true when the key cannot be
// opened or the value does not exist.
bool ReadRegBool(std::string_view key, std::string_view name);
void WriteRegBool(std::string_view key, std::string_view name, bool value);
// Opens or creates the key and deletes the value if it exists.
void DeleteRegValue(std::string_view key, std::string_view name);

// A 32-bit running total plus an amount. The sum saturates at 2 147 483 647 instead of wrapping
// to a negative total (and at the bottom of the range for negative amounts). Returns the new total.
int32_t SaturatingAdd(int32_t total, int64_t amount);
// ReadRegInt, add, WriteRegInt.
int32_t AddToCounter(std::string_view key, std::string_view name, int64_t amount);

// Date-times as 8-byte REG_BINARY doubles.
std::optional<double> ReadRegDateTime(std::string_view key, std::string_view name);
void WriteRegDateTime(std::string_view key, std::string_view name, double value);

// The INI emulation: "file" = key path, sections = subkeys (empty section = the key itself),
// strings are REG_SZ and numbers and flags decimal text.
class RegIniFile {
public:
    explicit RegIniFile(std::string keyPath);
    const std::string& keyPath() const noexcept { return m_key; }

    std::string readString(std::string_view section, std::string_view ident, std::string_view defaultValue) const;
    // A missing value or one that is not a number gives the default.
    int32_t readInteger(std::string_view section, std::string_view ident, int32_t defaultValue) const;
    bool readBool(std::string_view section, std::string_view ident, bool defaultValue) const;
    void writeString(std::string_view section, std::string_view ident, std::string_view value);
    void writeInteger(std::string_view section, std::string_view ident, int32_t value);
    void writeBool(std::string_view section, std::string_view ident, bool value);
    bool valueExists(std::string_view section, std::string_view ident) const;
    bool sectionExists(std::string_view section) const;
    void deleteKey(std::string_view section, std::string_view ident);
    void eraseSection(std::string_view section);
    std::vector<std::string> readSection(std::string_view section) const; // value names
    std::vector<std::string> readSections() const;                        // subkey names

private:
    std::string sectionPath(std::string_view section) const;
    std::string m_key;
};

// The window-state store: a window's position and a fixed list of control properties, kept as
// string values under a key and section. Properties are named "control.Property" and stored as
// "control_Property"; flags as "True"/"False". Supported properties: Checked (check boxes and
// option buttons), Text and Caption (any control), ItemIndex (combo boxes), Width and Height.
// Missing values, and values that do not fit the property, leave the control as designed.
// The position is kept as "Left", "Top", "Width" and "Height" (decimal text, screen pixels; a
// minimised or maximised window stores its normal position). A window without a sizing border
// keeps its designed size and only takes the stored place.
class WindowStateStore {
public:
    WindowStateStore(std::string keyPath, std::string section = {});
    // Restores position (kept on screen, see PlaceOnScreen) and properties.
    void restore(platform::Form& form, const std::vector<std::string>& properties) const;
    void save(const platform::Form& form, const std::vector<std::string>& properties);
    bool hasPosition() const;
    // Direct access for values a window stores itself.
    std::optional<std::string> read(std::string_view valueName) const;
    void write(std::string_view valueName, std::string_view value);
    static std::string ValueName(std::string_view property); // "cbConfirm.Checked" -> "cbConfirm_Checked"

private:
    RegIniFile m_ini;
    std::string m_section;
};

} // namespace app
