#pragma once
// Text at the Win32 boundary: UTF-8 inside, UTF-16 for the W functions, the ANSI code page for
// the text files the program writes.
#include <string>
#include <string_view>

namespace platform {

std::wstring Widen(std::string_view utf8);
std::string Narrow(std::wstring_view wide);
// UTF-8 to the system's ANSI code page and back (log files, INI files, .reg exports).
std::string ToAnsi(std::string_view utf8);
std::string FromAnsi(std::string_view ansi);
// Upper case by the system's rules (CharUpperBuff), not only ASCII.
std::string UpperCase(std::string_view utf8);
std::string LowerCase(std::string_view utf8);
// Case-insensitive equality by the system's rules (CompareStringOrdinal, ignore case).
bool SameText(std::string_view a, std::string_view b);

} // namespace platform
