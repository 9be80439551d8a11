// Times full junk scans as the window runs them: junk_scan_bench DRIVE [RUNS] [LIST-FILE].
// The junk cleaner window is created hidden with the default file types, "Find zero length files"
// on and only DRIVE checked, and "&Scan" is pressed; the time from the press until the scan
// returns is measured (no process start-up). With a list file, the rows of the last run are
// written to it, one path a line.
#include <windows.h>

#include <cstdio>
#include <string>

#include "app/paths.h"
#include "platform/files.h"
#include "platform/handles.h"
#include "platform/registry.h"
#include "platform/strings.h"
#include "platform/window.h"
#include "scan/tree_scanner.h"
#include "tools/junk/frm_junk.h"
#include "tools/junk/pure/criteria.h"

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: junk_scan_bench DRIVE [RUNS] [LIST-FILE]\n");
        return 2;
    }
    const std::string drive = platform::Narrow(argv[1]).substr(0, 1);
    const int runs = argc > 2 ? _wtoi(argv[2]) : 3;
    const std::string listFile = argc > 3 ? platform::Narrow(argv[3]) : std::string();
    platform::ComInit com;
    platform::InitCommonControlsOnce();
    // Logs and counters go to a scratch folder and key of the benchmark's own prefix.
    const std::string logs = platform::TempPath() + "junk_bench_logs\\";
    platform::ForceFolders(logs);
    app::SetProgramFolderForTesting(logs);
    platform::RegKey::Create(HKEY_CURRENT_USER, tools::junk::kJunkKey).writeString("Drives", drive);
    platform::RegKey::Create(HKEY_CURRENT_USER, std::string(tools::junk::kJunkStateKey) + "\\pos")
        .writeString("cbZeroLength_Checked", "True");

    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    auto elapsed = [&](const LARGE_INTEGER& start, const LARGE_INTEGER& end) {
        return 1000.0 * static_cast<double>(end.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart);
    };

    // The two walks alone, as the window sets them up (the zero-length walk replaying what the
    // file-type walk recorded), with handlers that only count: what the scan costs before any
    // file is looked at or listed. The first walk alone is the cost of listing the drive once.
    {
        scan::TTreeScanner ts, tsZero;
        scan::TListingStore store;
        store.KeepFile = [](const scan::TListingStore::Entry& e) { return e.size == 0; };
        ts.FindHiddenFiles = ts.FindHiddenFolders = true;
        tsZero.FindHiddenFiles = tsZero.FindHiddenFolders = true;
        ts.SetFileMaskCommaText(tools::junk::BuildMaskText(tools::junk::DefaultFileTypes()));
        tsZero.SetFileMask("*.*");
        ts.Listings = tsZero.Listings = &store;
        size_t typed = 0, empty = 0;
        ts.OnFileFound = [&](scan::TTreeScanner&) { ++typed; };
        tsZero.OnFileFound = [&](scan::TTreeScanner& s) { empty += s.FileSize() == 0; };
        ts.InitialDirectory = tsZero.InitialDirectory = drive + ":\\";
        LARGE_INTEGER start, middle, end;
        QueryPerformanceCounter(&start);
        ts.Search();
        QueryPerformanceCounter(&middle);
        store.Recording = false;
        tsZero.Search();
        QueryPerformanceCounter(&end);
        std::printf("walks %.1f ms (first %.1f ms; %zu typed, %zu zero length)\n", elapsed(start, end),
                    elapsed(start, middle), typed, empty);
    }

    double best = 1e300;
    std::string rows;
    for (int run = 0; run < runs; ++run) {
        tools::junk::TfrmJunk window;
        window.create();
        LARGE_INTEGER start, end;
        QueryPerformanceCounter(&start);
        window.cmdGo.click();
        QueryPerformanceCounter(&end);
        const double ms = elapsed(start, end);
        best = ms < best ? ms : best;
        std::printf("run %d: %d rows, %.1f ms\n", run + 1, window.lv.rowCount(), ms);
        if (run + 1 == runs && !listFile.empty()) {
            for (int r = 0; r < window.lv.rowCount(); ++r)
                rows += window.lv.text(r) + "\n";
        }
        window.close();
    }
    std::printf("best %.1f ms\n", best);
    if (!listFile.empty() && !platform::WriteFileBytes(listFile, rows)) {
        std::fprintf(stderr, "cannot write %s\n", listFile.c_str());
        return 1;
    }
    return 0;
}
