// Writes a deterministic folder tree for the benchmarks: make_tree ROOT [FILES] [SEED] [EMPTY].
// EMPTY: one file in EMPTY is left empty (without it three in four are, which only the tree walk,
// that never looks at a file, can afford; on a real drive few files are empty).
// Four levels of folders; about one name in eight looks like junk (temporary, backup, scandisk
// and newsgroup-cache names). Names avoid the few forms where the Windows rules and GNU find's
// -iname can disagree (8.3 aliases whose extension differs from the name's, names ending in a
// dot, dot files), so that both walks must find the same files.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {
uint32_t g_seed = 20260101;
uint32_t Next(uint32_t n) {
    g_seed = g_seed * 1664525u + 1013904223u;
    return (g_seed >> 8) % n;
}

const char* const kStems[] = {"report", "image",   "data",        "notes", "setup",   "readme", "index",
                              "photo",  "invoice", "backup copy", "draft", "Summary", "letter", "budget"};
const char* const kExts[] = {".txt", ".doc", ".jpg",  ".png", ".html", ".dll", ".exe", ".ini", ".log",
                             ".dat", ".xml", ".docx", ".pdf", "",      ".cfg", ".h",   ".cpp", ".md"};
const char* const kJunkExts[] = {".tmp", ".TMP", ".bak", ".old", ".chk", ".gid",
                                 ".syd", "._mp", ".---", ".~mp", ".do~", ".Tmp"};

std::string Name(int index, std::set<std::string>& used) {
    std::string stem = kStems[Next(sizeof kStems / sizeof *kStems)];
    std::string number = std::to_string(index);
    std::string name;
    switch (Next(8) == 0 ? Next(5) : 9) {
    case 0:
        name = stem + "_" + number + kJunkExts[Next(sizeof kJunkExts / sizeof *kJunkExts)];
        break;
    case 1:
        name = "~" + stem + number + (Next(2) ? ".doc" : "");
        break;
    case 2: {
        std::string letters;
        for (uint32_t i = 0, n = Next(8); i < n; ++i)
            letters.push_back(static_cast<char>('a' + Next(26)));
        name = "0" + letters + ".nch";
        break;
    }
    case 3:
        name = used.count("mscreate.dir") ? "x" + number + ".bak" : "mscreate.dir";
        break;
    case 4:
        name = number + ".TMP";
        break;
    default:
        name = stem + "_" + number + kExts[Next(sizeof kExts / sizeof *kExts)];
        break;
    }
    while (used.count(name))
        name = "d" + number + "_" + name;
    used.insert(name);
    return name;
}
} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: make_tree ROOT [FILES] [SEED]\n");
        return 2;
    }
    fs::path root = argv[1];
    int files = argc > 2 ? std::atoi(argv[2]) : 50000;
    if (argc > 3) g_seed = static_cast<uint32_t>(std::strtoul(argv[3], nullptr, 10));
    const uint32_t emptyOneIn = argc > 4 ? static_cast<uint32_t>(std::strtoul(argv[4], nullptr, 10)) : 0;
    std::vector<fs::path> folders{root};
    for (int a = 0; a < 16; ++a) {
        fs::path l1 = root / ("Area " + std::to_string(a));
        folders.push_back(l1);
        for (int b = 0; b < 8; ++b) {
            fs::path l2 = l1 / ("dir" + std::to_string(b));
            folders.push_back(l2);
            for (int c = 0; c < 6; ++c)
                folders.push_back(l2 / ("Level3_" + std::to_string(c)));
        }
    }
    for (const auto& f : folders)
        fs::create_directories(f);
    std::vector<std::set<std::string>> used(folders.size());
    for (int i = 0; i < files; ++i) {
        size_t at = Next(static_cast<uint32_t>(folders.size()));
        std::string name = Name(i, used[at]);
        std::FILE* f = std::fopen((folders[at] / name).c_str(), "wb");
        if (!f) {
            std::perror(name.c_str());
            return 1;
        }
        const bool empty = emptyOneIn > 0 ? Next(emptyOneIn) == 0 : Next(4) != 0;
        if (!empty) std::fputs("some content\n", f);
        std::fclose(f);
    }
    std::printf("%zu folders, %d files under %s\n", folders.size(), files, root.c_str());
    return 0;
}
