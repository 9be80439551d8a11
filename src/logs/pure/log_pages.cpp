#include "logs/pure/log_pages.h"

#include <cctype>

#include "logs/logs.h"

namespace logs {

namespace {
bool SameAscii(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

LogsPageInfo TwoViewPage(std::string key, std::string caption, std::string manualFile, std::string scheduledFile) {
    LogsPageInfo p;
    p.name = "ts" + key;
    p.caption = std::move(caption);
    p.views = {{"mem" + key + "Manual", kManualOperations, std::move(manualFile)},
               {"mem" + key + "Scheduled", kScheduledOperations, std::move(scheduledFile)}};
    p.clearButton = "cmdClear" + key;
    p.viewButton = "cmdView" + key;
    p.pane = "pnl" + key + "Manual";
    p.splitter = "spl" + key;
    return p;
}

LogsPageInfo OneViewPage(std::string key, std::string caption, std::string file) {
    LogsPageInfo p;
    p.name = "ts" + key;
    p.caption = std::move(caption);
    p.views = {{"mem" + key, "", std::move(file)}};
    p.clearButton = "cmdClear" + key;
    p.viewButton = "cmdView" + key;
    return p;
}

LogsPageInfo OtherPage(std::string key, std::string caption, PageKind kind) {
    LogsPageInfo p;
    p.name = "ts" + key;
    p.caption = std::move(caption);
    p.kind = kind;
    return p;
}
} // namespace

const std::vector<LogsPageInfo>& LogsPages() {
    static const std::vector<LogsPageInfo> pages{
        TwoViewPage("Junk", "Junk Files", kManualJunkLog, kJunkLog),
        TwoViewPage("Privacy", "Privacy", kManualPrivacyLog, kEraserLog),
        OneViewPage("Shortcuts", "Shortcuts", kManualShortcutsLog),
        OneViewPage("Uninstallers", "Uninstallers", kManualUninstallersLog),
        OneViewPage("Dupes", "Duplicate Files", kManualDupesLog),
        TwoViewPage("Registry", "Registry", kManualRegistryLog, kRegistryLog),
        OtherPage("Statistics", "Statistics", PageKind::Statistics),
        OtherPage("Settings", "Settings", PageKind::Settings),
    };
    return pages;
}

const LogsPageInfo* FindPage(std::string_view caption) {
    for (const auto& p : LogsPages())
        if (p.caption == caption) return &p;
    return nullptr;
}

std::optional<ViewRef> FindViewOfFile(std::string_view fileName) {
    const auto& pages = LogsPages();
    for (size_t i = 0; i < pages.size(); ++i)
        for (size_t v = 0; v < pages[i].views.size(); ++v)
            if (SameAscii(pages[i].views[v].file, fileName)) return ViewRef{i, v};
    return std::nullopt;
}

std::optional<std::string> FileForItem(const LogsPageInfo& page, std::string_view item) {
    if (page.views.size() == 1) return page.views[0].file;
    for (const auto& v : page.views)
        if (v.caption == item) return v.file;
    return std::nullopt;
}

std::vector<std::string> AllLogFiles() {
    std::vector<std::string> out;
    for (const auto& p : LogsPages())
        for (const auto& v : p.views)
            out.push_back(v.file);
    return out;
}

} // namespace logs
