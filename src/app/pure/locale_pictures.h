#pragma once
// Windows date and time pictures (GetLocaleInfo LOCALE_SSHORTDATE, LOCALE_STIMEFORMAT …) turned
// into the program's picture language (textfmt), so that the program's "c" form reads as the
// system's own dates and times.
//
// Date pictures: d dd ddd dddd (day, day names), M MM MMM MMMM (month), y yy yyyy (year),
// g gg (era); time pictures: h hh (12-hour), H HH (24-hour), m mm, s ss, t tt (AM/PM).
// 'quoted' text ('' = one quote) and every other character are literal and stay literal.
// Unquoted occurrences of the locale's separator become the "/" or ":" token, so the separator
// follows the locale wherever the program builds its own pictures from these tokens.
//
// What the program's language cannot say, and the nearest form taken instead:
// - y (last digit of the year) is shown as yy;
// - t (first letter of the AM/PM text) is shown as the whole text;
// - a 12-hour clock without an AM/PM marker is shown as a 24-hour clock, and a 24-hour hour
//   together with a marker as a 12-hour clock, since the program's clock follows the marker.
#include <string>
#include <string_view>

namespace textfmt {

// `dateSeparator`: LOCALE_SDATE; `era`: the text for g and gg (dropped when empty).
std::string DatePictureFromWindows(std::string_view picture, std::string_view dateSeparator, std::string_view era = {});
// `timeSeparator`: LOCALE_STIME.
std::string TimePictureFromWindows(std::string_view picture, std::string_view timeSeparator);
// The first unquoted text between two numeric-or-name fields of a picture ("dd.MM.yyyy" -> ".",
// "H:mm:ss" -> ":"); empty when there is none. For locales that report no separator of their own.
std::string SeparatorOfWindowsPicture(std::string_view picture, bool timePicture);

} // namespace textfmt
