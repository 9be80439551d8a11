// Times TTreeScanner walks of a folder tree with the junk cleaner's default masks:
// tree_walk_bench ROOT [RUNS] [LIST-FILE]. Prints one line per run and the best time; with a
// list file, writes the files the last run found, one path a line.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "platform/files.h"
#include "platform/strings.h"
#include "scan/tree_scanner.h"

namespace {
constexpr const char* kJunkMasks = "*.~*,~*.*,*.??~,*.---,*.tmp,*._mp,*.old,*.bak,*.syd,*.chk,*.gid,mscreate.dir,"
                                   "0???????.nch";
} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: tree_walk_bench ROOT [RUNS] [LIST-FILE]\n");
        return 2;
    }
    std::string root = platform::Narrow(argv[1]);
    int runs = argc > 2 ? _wtoi(argv[2]) : 5;
    std::string listFile = argc > 3 ? platform::Narrow(argv[3]) : std::string();
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    double best = 1e300;
    std::vector<std::string> found;
    size_t folders = 0;
    for (int run = 0; run < runs; ++run) {
        scan::TTreeScanner ts;
        ts.InitialDirectory = root;
        ts.SetFileMaskCommaText(kJunkMasks);
        found.clear();
        folders = 0;
        ts.OnFileFound = [&](scan::TTreeScanner& s) { found.push_back(s.FileFound()); };
        ts.OnDirectoryFound = [&](scan::TTreeScanner&) { ++folders; };
        LARGE_INTEGER start, end;
        QueryPerformanceCounter(&start);
        ts.Search();
        QueryPerformanceCounter(&end);
        double ms =
            1000.0 * static_cast<double>(end.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart);
        best = ms < best ? ms : best;
        std::printf("run %d: %zu files, %zu folders, %.1f ms\n", run + 1, found.size(), folders, ms);
    }
    std::printf("best %.1f ms\n", best);
    if (!listFile.empty()) {
        std::string text;
        for (const auto& f : found)
            text += f + "\n";
        if (!platform::WriteFileBytes(listFile, text)) {
            std::fprintf(stderr, "cannot write %s\n", listFile.c_str());
            return 1;
        }
    }
    return 0;
}
