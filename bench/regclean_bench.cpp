// Registry cleaner benchmark: fills a scratch tree under HKEY_CURRENT_USER with a realistic mix of
// values, scans it with the window exactly as the unattended run drives it, and removes 10 000
// findings with Remove_All. Prints the figures as "name: value" lines.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>

#include "app/paths.h"
#include "app/settings.h"
#include "platform/dialogs.h"
#include "platform/files.h"
#include "platform/handles.h"
#include "platform/messages.h"
#include "platform/registry.h"
#include "platform/strings.h"
#include "platform/window.h"
#include "tools/regclean/frm_regclean.h"

namespace {
constexpr const char* kTree = "Software\\VantrelBench\\RegClean";
constexpr const char* kFiles = "C:\\VantrelBench\\";
constexpr int kKeys = 2000;       // 100 parents with 20 children each
constexpr int kPerKey = 50;       // values per key: 100 000 in all
constexpr int kInvalidEvery = 10; // one value in ten points to a missing file or folder

using Clock = std::chrono::steady_clock;
double Seconds(Clock::time_point since) {
    return std::chrono::duration<double>(Clock::now() - since).count();
}

// The value mix of one key, by position: missing paths (the findings), paths that exist, texts
// that are no local paths, and values of other types.
struct Counts {
    long strings = 0, invalid = 0, other = 0;
};

Counts Fill() {
    Counts c;
    platform::ForceFolders(std::string(kFiles) + "lib\\");
    for (int i = 0; i < 200; ++i)
        platform::WriteFileBytes(std::string(kFiles) + "lib\\file" + std::to_string(i) + ".dll", "x");
    for (int k = 0; k < kKeys; ++k) {
        std::string path = std::string(kTree) + "\\App" + std::to_string(k / 20) + "\\Part" + std::to_string(k % 20);
        auto key = platform::RegKey::Create(HKEY_CURRENT_USER, path, KEY_ALL_ACCESS);
        for (int v = 0; v < kPerKey; ++v) {
            int n = k * kPerKey + v;
            std::string name = "Value" + std::to_string(v);
            if (n % kInvalidEvery == 0) {
                key.writeString(name, std::string(kFiles) + "gone\\app" + std::to_string(n % 500) + ".exe");
                ++c.invalid;
                ++c.strings;
            } else if (n % kInvalidEvery <= 6) {
                key.writeString(name, std::string(kFiles) + "lib\\file" + std::to_string(n % 200) + ".dll");
                ++c.strings;
            } else if (n % kInvalidEvery == 7) {
                key.writeString(name, n % 2 ? "%SystemRoot%\\system32\\x.dll" : "C:\\Program Files\\App\\app.exe");
                ++c.strings;
            } else if (n % kInvalidEvery == 8) {
                key.writeString(name, "Some setting " + std::to_string(n));
                ++c.strings;
            } else {
                key.writeInt(name, n);
                ++c.other;
            }
        }
    }
    return c;
}

// The values Remove_All took away, written again.
void RestoreMissing() {
    for (int k = 0; k < kKeys; ++k) {
        std::string path = std::string(kTree) + "\\App" + std::to_string(k / 20) + "\\Part" + std::to_string(k % 20);
        auto key = platform::RegKey::Create(HKEY_CURRENT_USER, path, KEY_ALL_ACCESS);
        for (int v = 0; v < kPerKey; ++v) {
            int n = k * kPerKey + v;
            if (n % kInvalidEvery == 0)
                key.writeString("Value" + std::to_string(v),
                                std::string(kFiles) + "gone\\app" + std::to_string(n % 500) + ".exe");
        }
    }
}

// Unattended runs ask nothing; neither does the benchmark.
struct Silent : platform::Dialogs {
    platform::MsgResult message(HWND, const platform::MessageRequest& r) override {
        std::printf("unexpected message: %s\n", r.text.c_str());
        return platform::MsgResult::No;
    }
    std::optional<std::string> inputQuery(HWND, std::string_view, std::string_view, std::string_view) override {
        return std::nullopt;
    }
    std::optional<std::string> browseFolder(HWND, std::string_view, std::string_view) override { return std::nullopt; }
    std::optional<std::string> openFile(HWND, const platform::FileOpenRequest&) override { return std::nullopt; }
};
} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc > 1 && std::wstring(argv[1]) == L"--fill") {
        // Only the tree, for timing other tools on the same data.
        platform::DeleteKeyTree(HKEY_CURRENT_USER, kTree);
        Fill();
        return 0;
    }
    platform::ComInit com;
    platform::InitCommonControlsOnce();
    Silent silent;
    platform::SetDialogs(&silent);
    platform::DeleteKeyTree(HKEY_CURRENT_USER, kTree);
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    std::string folder = platform::Narrow(temp) + "VantrelBench\\";
    platform::ForceFolders(folder);
    app::SetProgramFolderForTesting(folder);

    auto t = Clock::now();
    Counts c = Fill();
    std::printf("values: %ld (strings %ld, other types %ld, missing paths %ld)\n", c.strings + c.other, c.strings,
                c.other, c.invalid);
    std::printf("fill_seconds: %.2f\n", Seconds(t));

    // The message pump alone, as the scan calls it once per string value.
    t = Clock::now();
    for (long i = 0; i < c.strings; ++i)
        platform::ProcessMessages();
    double pump = Seconds(t);
    std::printf("pump_microseconds_per_call: %.2f\n", pump * 1e6 / static_cast<double>(c.strings));

    auto areas = platform::RegKey::Create(HKEY_CURRENT_USER, "Software\\Quorvel\\Vantrel\\regclean\\pos");
    areas.writeInt("CU", 1);
    areas.writeInt("US", 0);
    areas.writeInt("LM", 0);
    areas.writeInt("SD", 0);

    // Twice: as the unattended run does it with its log on (three log lines per removal, each
    // line opened, appended and closed), then with the log off.
    for (bool logging : {true, false}) {
        if (!logging) RestoreMissing();
        std::printf("-- unattended log %s\n", logging ? "on" : "off");
        tools::regclean::TfrmRegClean form;
        form.create();
        form.Unattended = true;
        form.LogUnattended = logging;
        form.cbBackup.setChecked(false);
        t = Clock::now();
        form.btnStart.click();
        while (form.StatusBar1.panelText(0) != "Scan successfully completed." &&
               form.StatusBar1.panelText(0) != "Scan interrupted.")
            platform::ProcessMessages();
        double scan = Seconds(t);
        int findings = form.lv.rowCount();
        std::printf("scan_seconds: %.2f\n", scan);
        std::printf("scan_string_values_per_second: %.0f\n", static_cast<double>(c.strings) / scan);
        std::printf("scan_values_per_second: %.0f\n", static_cast<double>(c.strings + c.other) / scan);
        std::printf("findings: %d\n", findings);
        t = Clock::now();
        form.Remove_All();
        double removal = Seconds(t);
        std::printf("remove_all_seconds: %.2f\n", removal);
        std::printf("remove_all_microseconds_per_finding: %.1f\n", removal * 1e6 / std::max(findings, 1));
        std::printf("removed: %d\n", form.removedCount());
        std::printf("rows_left: %d\n", form.lv.rowCount());
        auto undo = platform::FileSize(form.undoFilePath());
        std::printf("undo_file_bytes: %llu\n", static_cast<unsigned long long>(undo ? *undo : 0));
        form.close();
    }
    platform::DeleteKeyTree(HKEY_CURRENT_USER, kTree);
    platform::SetDialogs(nullptr);
    return 0;
}
