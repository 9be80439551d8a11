#pragma once
// The profile (INI) functions. An empty file name means win.ini (GetProfileString and friends).
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

std::string ReadProfileString(std::string_view file, std::string_view section, std::string_view key,
                              std::string_view defaultValue = {});
// nullopt when the key is absent (told apart from an empty value).
std::optional<std::string> ReadProfileValue(std::string_view file, std::string_view section, std::string_view key);
bool WriteProfileValue(std::string_view file, std::string_view section, std::string_view key, std::string_view value);
bool DeleteProfileKey(std::string_view file, std::string_view section, std::string_view key);
bool DeleteProfileSection(std::string_view file, std::string_view section);
std::vector<std::string> ProfileSectionNames(std::string_view file);
std::vector<std::string> ProfileKeyNames(std::string_view file, std::string_view section);
// "key=value" lines of a section as the profile functions return them.
std::vector<std::string> ProfileSection(std::string_view file, std::string_view section);

} // namespace platform
