// Renders the registry cleaner with findings for docs/screenshots/regclean.png: arranges a few
// invalid references, shows the window, scans, and keeps the window up until told to quit.
// Run by bench/regclean_screenshot.sh under Xvfb in a prefix of its own.
#include <windows.h>

#include <cstdio>
#include <string>

#include "app/paths.h"
#include "platform/dialogs.h"
#include "platform/files.h"
#include "platform/handles.h"
#include "platform/messages.h"
#include "platform/registry.h"
#include "platform/strings.h"
#include "platform/window.h"
#include "tools/regclean/frm_regclean.h"

namespace {
constexpr const char* kDlls = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs";

// Only the "no findings" message could come; there are findings.
struct NoQuestions : platform::Dialogs {
    platform::MsgResult message(HWND, const platform::MessageRequest&) override { return platform::MsgResult::Ok; }
    std::optional<std::string> inputQuery(HWND, std::string_view, std::string_view, std::string_view) override {
        return std::nullopt;
    }
    std::optional<std::string> browseFolder(HWND, std::string_view, std::string_view) override { return std::nullopt; }
    std::optional<std::string> openFile(HWND, const platform::FileOpenRequest&) override { return std::nullopt; }
};

void Arrange() {
    auto set = [](const char* key, const char* name, const char* data) {
        platform::RegKey::Create(HKEY_CURRENT_USER, key, KEY_ALL_ACCESS).writeString(name, data);
    };
    set("Software\\Northwind\\PhotoTool\\Recent", "File1", "C:\\Photos\\2001\\HOLIDAY.JPG");
    set("Software\\Northwind\\PhotoTool\\Recent", "File2", "C:\\Photos\\2001\\BEACH.JPG");
    set("Software\\Northwind\\PhotoTool\\Settings", "Plugins", "C:\\PHOTOTL\\PLUGINS");
    set("Software\\Litware\\Editor", "InstallDir", "C:\\LITWARE\\EDITOR");
    set("Software\\Litware\\Editor\\Dictionaries", "C:\\LITWARE\\DICT\\EN_US.DIC", "1");
    set("Software\\Fabrikam\\Player\\Skins", "Current", "C:\\FABPLAY\\SKINS\\CLASSIC.SKN");
    auto dlls = platform::RegKey::Create(HKEY_LOCAL_MACHINE, kDlls, KEY_ALL_ACCESS);
    dlls.writeInt("C:\\windows\\system32\\FABCODEC.DLL", 2);
    dlls.writeInt("C:\\LITWARE\\SPELL32.DLL", 1);
    auto areas = platform::RegKey::Create(HKEY_CURRENT_USER, "Software\\Quorvel\\Vantrel\\regclean\\pos");
    for (const char* v : {"CU", "SD"})
        areas.writeInt(v, 1);
    for (const char* v : {"US", "LM"})
        areas.writeInt(v, 0);
}
} // namespace

int wmain(int argc, wchar_t** argv) {
    std::string ready = argc > 1 ? platform::Narrow(argv[1]) : "C:\\ready.txt";
    std::string quit = argc > 2 ? platform::Narrow(argv[2]) : "C:\\quit.txt";
    platform::ComInit com;
    platform::InitCommonControlsOnce();
    NoQuestions dialogs;
    platform::SetDialogs(&dialogs);
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    app::SetProgramFolderForTesting(platform::Narrow(temp));
    Arrange();
    tools::regclean::TfrmRegClean form;
    form.show();
    RECT r{100, 80, 100 + 760, 80 + 560};
    form.setWindowRect(r);
    platform::ProcessMessages();
    form.btnStart.click();
    form.lv.setSelected(0, false);
    form.lv.setSelected(2, true);
    form.lv.setSelected(3, true);
    form.lv.setFocus();
    for (int i = 0; i < 50; ++i) {
        platform::ProcessMessages();
        Sleep(20);
    }
    RECT w = form.windowRect();
    std::string geometry = std::to_string(w.right - w.left) + "x" + std::to_string(w.bottom - w.top) + "+" +
                           std::to_string(w.left) + "+" + std::to_string(w.top);
    platform::WriteFileBytes(ready, geometry);
    for (int i = 0; i < 1500 && !platform::PathExists(quit); ++i) {
        platform::ProcessMessages();
        Sleep(20);
    }
    form.close();
    return 0;
}
