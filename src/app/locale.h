#pragma once
// The process's date, time and number formats from the user's locale.
#include <string_view>

#include "app/pure/format.h"

namespace app {

// The formats of a locale ("de-DE"; empty = the user's own, with the user's customisations):
// short and long date, short and long time, separators, AM/PM texts, month and day names.
// Anything the locale does not report keeps the program's default (United States English).
textfmt::FormatSettings LocaleFormats(std::string_view localeName = {});
// Fills textfmt::ProcessFormats() from the user's locale. Once the file-list formats are in
// force they stay: only the separators, texts and names are refreshed then.
void LoadLocaleFormats();

} // namespace app
