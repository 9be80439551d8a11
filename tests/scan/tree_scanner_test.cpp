#include "scan/tree_scanner.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <stdexcept>

#include "platform/files.h"
#include "platform/handles.h"
#include "platform/strings.h"
#include "platform/window.h"
#include "support/fixtures.h"

using scan::TTreeScanner;
using testsupport::TempDir;
using Lines = std::vector<std::string>;

namespace {

// Records every event as one line: kind, FileFound relative to the tree (".\" is the root) and
// FileSize; the search-done line also tells SearchInProgress.
struct Recorder {
    std::string base;
    Lines events;
    std::string rel(const std::string& p) const {
        return p.compare(0, base.size(), base) == 0 ? ".\\" + p.substr(base.size()) : p;
    }
    void attach(TTreeScanner& ts) {
        ts.OnDirectoryFound = [this](TTreeScanner& s) { add("DF", s); };
        ts.OnFileFound = [this](TTreeScanner& s) { add("FF", s); };
        ts.OnDirectoryDone = [this](TTreeScanner& s) { add("DD", s); };
        ts.OnSearchDone = [this](TTreeScanner& s) {
            add("SD", s);
            events.back() += s.SearchInProgress() ? " busy" : " idle";
        };
    }
    void add(const char* kind, TTreeScanner& s) {
        events.push_back(std::string(kind) + " " + rel(s.FileFound()) + " " + std::to_string(s.FileSize()));
    }
    Lines files() const {
        Lines out;
        for (const auto& e : events)
            if (e.rfind("FF ", 0) == 0) out.push_back(e.substr(3, e.rfind(' ') - 3));
        return out;
    }
};

struct Scan {
    TTreeScanner ts;
    Recorder rec;
    explicit Scan(const TempDir& dir, std::string_view masks = "*.*") {
        rec.base = dir.path();
        rec.attach(ts);
        ts.InitialDirectory = dir.path();
        ts.SetFileMaskCommaText(masks);
    }
    Lines run() {
        ts.Search();
        return rec.events;
    }
};

// A form whose button a test can "click" by posting the notification, as a user's click arrives.
class ProbeForm : public platform::Form {
public:
    ProbeForm() : Form("TProbeForm") {}
    platform::Button cmdStop;
    void postClick() {
        PostMessageW(hwnd(), WM_COMMAND, MAKEWPARAM(cmdStop.id(), BN_CLICKED),
                     reinterpret_cast<LPARAM>(cmdStop.hwnd()));
    }

protected:
    void buildWindow(HWND owner) override {
        createWindow({"Probe", 200, 80}, owner);
        addButton(cmdStop, "cmdStop", "&Stop", {10, 10, 80, 25});
    }
};

// The suite's folder as a Windows path (the harness gives its Unix path).
std::string SuiteFolder() {
    const char* unix = std::getenv("VANTREL_SUITE_DIR");
    if (!unix || !*unix) return {};
    std::string p = std::string("Z:") + unix;
    std::replace(p.begin(), p.end(), '/', '\\');
    return platform::IncludeTrailingBackslash(p);
}

} // namespace

TEST(TreeScanner, ReportsFoldersAndFilesInOrderWithTheirValues) {
    TempDir dir;
    dir.write("b.tmp", "bbb");
    dir.write("A.tmp", "a");
    dir.write("skip.txt", "no");
    dir.write("sub1\\x.tmp", "xxxxx");
    dir.mkdir("Sub0");
    Scan s(dir, "*.tmp");
    EXPECT_EQ(s.run(),
              (Lines{"DF .\\ 0", "FF .\\A.tmp 1", "FF .\\b.tmp 3", "DF .\\Sub0\\ 0", "DD .\\Sub0\\ 0", "DF .\\sub1\\ 0",
                     "FF .\\sub1\\x.tmp 5", "DD .\\sub1\\x.tmp 0", "DD .\\sub1\\x.tmp 0", "SD .\\sub1\\x.tmp 0 idle"}));
    EXPECT_FALSE(s.ts.SearchInProgress());
    EXPECT_TRUE(s.ts.ContinueSearch);
    EXPECT_EQ(s.ts.FileSize(), 0);
}

TEST(TreeScanner, MaskListIsSortedCaseInsensitiveAndWithoutDuplicates) {
    TTreeScanner ts;
    EXPECT_EQ(ts.FileMask(), "");
    EXPECT_EQ(ts.FileMaskCommaText(), "");
    ts.SetFileMaskCommaText("*.TMP,~*.*, *.tmp,*.bak");
    EXPECT_EQ(ts.Masks(), (Lines{"*.bak", "*.TMP", "~*.*"}));
    EXPECT_EQ(ts.FileMask(), "*.bak");
    ts.SetFileMaskCommaText("*.TMP,*.tmp");
    EXPECT_EQ(ts.FileMask(), "*.TMP");
    EXPECT_EQ(ts.FileMaskCommaText(), "*.TMP");
    ts.SetFileMaskCommaText("\"my file.txt\",a");
    EXPECT_EQ(ts.FileMaskCommaText(), "a,\"my file.txt\"");
    ts.SetFileMask("");
    EXPECT_EQ(ts.Masks(), Lines{""});
    EXPECT_EQ(ts.FileMaskCommaText(), "\"\"");
    ts.SetFileMaskCommaText("");
    EXPECT_TRUE(ts.Masks().empty());
}

TEST(TreeScanner, NoMaskOrAnEmptyMaskReportsNoFilesButStillWalksFolders) {
    TempDir dir;
    dir.write("a.tmp");
    dir.write("sub\\b.tmp");
    for (const char* masks : {"", "\"\"", "a,,b"}) {
        Scan s(dir, masks);
        EXPECT_EQ(s.run(), (Lines{"DF .\\ 0", "DF .\\sub\\ 0", "DD .\\sub\\ 0", "DD .\\sub\\ 0", "SD .\\sub\\ 0 idle"}))
            << masks;
    }
}

TEST(TreeScanner, AFileMatchingTwoMasksIsReportedOnceInNameOrder) {
    TempDir dir;
    for (const char* n : {"~a.tmp", "b.tmp", "C.TMP", "a2.tmp", "A.tmp", "~z.doc"})
        dir.write(n);
    Scan s(dir, "~*.*,*.tmp");
    s.run();
    EXPECT_EQ(s.rec.files(), (Lines{".\\~a.tmp", ".\\~z.doc", ".\\A.tmp", ".\\a2.tmp", ".\\b.tmp", ".\\C.TMP"}));
    Scan reversed(dir, "*.tmp,~*.*");
    reversed.run();
    EXPECT_EQ(reversed.rec.files(), s.rec.files());
}

TEST(TreeScanner, WindowsWildcardRulesIncludingShortNames) {
    TempDir dir;
    for (const char* n : {"0abc.nch", "0abcdefg.nch", "0abcdefgh.nch", "readme", "abc.tmp", "Tab.TMP",
                          "verylongfilename.tmpx", "a.b.tmp", "~x", "x.ab~", "x.b~", "mscreate.dir", "setup.~mp"})
        dir.write(n);
    auto found = [&](const char* masks) {
        Scan s(dir, masks);
        s.ts.Recursive = false;
        s.run();
        return s.rec.files();
    };
    // 0abcdefgh.nch comes in through its alias (0ABC~XYZ.NCH here, 0ABCDE~1.NCH on Windows).
    EXPECT_EQ(found("0???????.nch"), (Lines{".\\0abc.nch", ".\\0abcdefg.nch", ".\\0abcdefgh.nch"}));
    EXPECT_EQ(found("*."), (Lines{".\\~x", ".\\readme"}));
    EXPECT_EQ(found("*.*").size(), 13u);
    // The 8.3 alias of verylongfilename.tmpx ends in .TMP, so Windows lists it for *.tmp.
    EXPECT_EQ(found("*.tmp"), (Lines{".\\a.b.tmp", ".\\abc.tmp", ".\\Tab.TMP", ".\\verylongfilename.tmpx"}));
    EXPECT_EQ(found("~*.*"), Lines{".\\~x"});
    EXPECT_EQ(found("*.??~"), Lines{".\\x.ab~"});
    EXPECT_EQ(found("MSCREATE.DIR"), Lines{".\\mscreate.dir"});
    EXPECT_EQ(found("*.~*"), Lines{".\\setup.~mp"});
}

TEST(TreeScanner, AgreesWithOnePlatformSearchPerMaskWhereWineMatchesLikeWindows) {
    TempDir dir;
    for (const char* n : {"a.tmp", "B.TMP", "c.tmp.bak", "d.bak", "~e", "~f.doc", "g.do~", "h.chk", "mscreate.dir",
                          "longer name with blanks.gid", "verylongfilename.tmpx", "i.---", "j._mp"})
        dir.write(n);
    for (const char* mask :
         {"*.tmp", "*.bak", "~*.*", "*.??~", "*.chk", "mscreate.dir", "*.gid", "*.---", "*._mp", "*.*", "?.tmp"}) {
        Scan s(dir, "");
        s.ts.SetFileMask(mask);
        s.ts.Recursive = false;
        s.run();
        Lines platform;
        for (const auto& e : platform::FindAll(dir.path() + mask))
            if (!e.isDirectory()) platform.push_back(".\\" + e.name);
        Lines mine = s.rec.files();
        std::sort(platform.begin(), platform.end());
        std::sort(mine.begin(), mine.end());
        EXPECT_EQ(mine, platform) << mask;
    }
}

TEST(TreeScanner, LetterCaseIsIgnoredForNonAsciiLettersToo) {
    TempDir dir;
    dir.write("\xC3\x84rger.tmp"); // Ärger.tmp
    dir.write("\xC3\xB6l.tmp");    // öl.tmp
    Scan s(dir, "\xC3\xA4*.TMP");  // ä*.TMP
    s.run();
    EXPECT_EQ(s.rec.files(), Lines{".\\\xC3\x84rger.tmp"});
}

TEST(TreeScanner, NonRecursiveReportsSubfoldersWithoutEnteringThem) {
    TempDir dir;
    dir.write("a.tmp");
    dir.write("one\\b.tmp");
    dir.mkdir("two\\deeper");
    Scan s(dir, "*.tmp");
    s.ts.Recursive = false;
    EXPECT_EQ(s.run(), (Lines{"DF .\\ 0", "FF .\\a.tmp 0", "DF .\\one\\ 0", "DF .\\two\\ 0", "DD .\\two\\ 0",
                              "SD .\\two\\ 0 idle"}));
}

TEST(TreeScanner, HiddenAndSystemRules) {
    TempDir dir;
    dir.write("plain.tmp");
    platform::SetAttributes(dir.write("hidden.tmp"), FILE_ATTRIBUTE_HIDDEN);
    platform::SetAttributes(dir.write("system.tmp"), FILE_ATTRIBUTE_SYSTEM);
    platform::SetAttributes(dir.write("readonly.tmp"), FILE_ATTRIBUTE_READONLY);
    dir.write("hid\\in-hidden.tmp");
    platform::SetAttributes(dir.path() + "hid", FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN);
    dir.write("sys\\in-system.tmp");
    platform::SetAttributes(dir.path() + "sys", FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_SYSTEM);
    dir.write("both\\in-both.tmp");
    platform::SetAttributes(dir.path() + "both",
                            FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_HIDDEN);

    Scan plain(dir, "*.tmp");
    plain.run();
    EXPECT_EQ(plain.rec.files(), (Lines{".\\plain.tmp", ".\\readonly.tmp", ".\\system.tmp"}));

    Scan hidden(dir, "*.tmp");
    hidden.ts.FindHiddenFiles = true;
    hidden.ts.FindHiddenFolders = true;
    hidden.run();
    EXPECT_EQ(hidden.rec.files(),
              (Lines{".\\hidden.tmp", ".\\plain.tmp", ".\\readonly.tmp", ".\\system.tmp", ".\\hid\\in-hidden.tmp"}));

    Scan foldersOnly(dir, "*.tmp");
    foldersOnly.ts.FindHiddenFolders = true;
    foldersOnly.run();
    EXPECT_EQ(foldersOnly.rec.files(),
              (Lines{".\\plain.tmp", ".\\readonly.tmp", ".\\system.tmp", ".\\hid\\in-hidden.tmp"}));
}

TEST(TreeScanner, InitialDirectoryIsNormalisedAndEmptyMeansTheCurrentDirectory) {
    TempDir dir;
    dir.write("a.tmp");
    std::string noSlash = platform::ExcludeTrailingBackslash(dir.path());
    Scan s(dir, "*.tmp");
    s.ts.InitialDirectory = noSlash;
    s.run();
    EXPECT_EQ(s.ts.InitialDirectory, dir.path());
    EXPECT_EQ(s.rec.files(), Lines{".\\a.tmp"});

    wchar_t saved[MAX_PATH];
    GetCurrentDirectoryW(MAX_PATH, saved);
    ASSERT_TRUE(SetCurrentDirectoryW(platform::Widen(noSlash).c_str()));
    Scan cwd(dir, "*.tmp");
    cwd.ts.InitialDirectory.clear();
    cwd.run();
    SetCurrentDirectoryW(saved);
    EXPECT_TRUE(platform::SameText(cwd.ts.InitialDirectory, dir.path())) << cwd.ts.InitialDirectory;
    EXPECT_EQ(cwd.rec.files().size(), 1u);
}

TEST(TreeScanner, AMissingFolderGivesItsOwnEventsAndNoError) {
    TempDir dir;
    Scan s(dir, "*.*");
    s.ts.InitialDirectory = dir.path() + "missing";
    EXPECT_EQ(s.run(), (Lines{"DF .\\missing\\ 0", "DD .\\missing\\ 0", "SD .\\missing\\ 0 idle"}));
}

TEST(TreeScanner, StopInsideAFileEventFinishesThatFolderAndEntersNothingMore) {
    TempDir dir;
    dir.write("s1\\a.tmp");
    dir.write("s1\\b.tmp");
    dir.write("s1\\deep\\c.tmp");
    dir.write("s2\\d.tmp");
    Scan s(dir, "*.tmp");
    auto record = s.ts.OnFileFound;
    s.ts.OnFileFound = [&](TTreeScanner& t) {
        record(t);
        t.ContinueSearch = false;
    };
    EXPECT_EQ(s.run(), (Lines{"DF .\\ 0", "DF .\\s1\\ 0", "FF .\\s1\\a.tmp 0", "FF .\\s1\\b.tmp 0", "DD .\\s1\\b.tmp 0",
                              "DD .\\s1\\b.tmp 0", "SD .\\s1\\b.tmp 0 idle"}));
    EXPECT_FALSE(s.ts.ContinueSearch);
    // The next search starts afresh.
    s.ts.OnFileFound = record;
    s.rec.events.clear();
    s.run();
    EXPECT_EQ(s.rec.files().size(), 4u);
}

TEST(TreeScanner, QueuedClicksRunOncePerFolderBeforeItIsEntered) {
    TempDir dir;
    dir.write("a.tmp");
    dir.write("b.tmp");
    dir.write("sub\\c.tmp");
    ProbeForm form;
    form.create();
    Scan s(dir, "*.tmp");
    form.cmdStop.onClick = [&] { s.ts.ContinueSearch = false; };
    auto record = s.ts.OnFileFound;
    s.ts.OnFileFound = [&](TTreeScanner& t) {
        record(t);
        if (t.FileFound() == dir.path() + "a.tmp") form.postClick();
    };
    // The click queued at a.tmp is handled when the walk reaches sub, so b.tmp is still reported.
    EXPECT_EQ(s.run(), (Lines{"DF .\\ 0", "FF .\\a.tmp 0", "FF .\\b.tmp 0", "DD .\\b.tmp 0", "SD .\\b.tmp 0 idle"}));

    // A click queued before the search stops it before the start folder is entered.
    Scan root(dir, "*.tmp");
    form.cmdStop.onClick = [&] { root.ts.ContinueSearch = false; };
    root.ts.InitialDirectory = "C:";
    form.postClick();
    EXPECT_EQ(root.run(), Lines{"SD  0 idle"});
    EXPECT_EQ(root.ts.InitialDirectory, "C:\\");
    form.close();
}

TEST(TreeScanner, MaskChangesDuringASearchAreIgnored) {
    TempDir dir;
    dir.write("a.tmp");
    dir.write("sub\\b.tmp");
    Scan s(dir, "*.tmp");
    std::string during;
    s.ts.OnFileFound = [&](TTreeScanner& t) {
        t.SetFileMask("*.xyz");
        t.SetFileMaskCommaText("*.abc,*.def");
        during = t.FileMaskCommaText();
    };
    s.run();
    EXPECT_EQ(during, "*.tmp");
    EXPECT_EQ(s.ts.FileMask(), "*.tmp");
    s.ts.SetFileMask("*.xyz");
    EXPECT_EQ(s.ts.FileMask(), "*.xyz");
}

TEST(TreeScanner, AHandlerErrorPropagatesWithoutSearchDoneAndLeavesTheScannerUsable) {
    TempDir dir;
    dir.write("a.tmp");
    dir.write("b.tmp");
    Scan s(dir, "*.tmp");
    s.ts.OnFileFound = [](TTreeScanner&) { throw std::runtime_error("handler failed"); };
    EXPECT_THROW(s.ts.Search(), std::runtime_error);
    EXPECT_EQ(s.rec.events, Lines{"DF .\\ 0"});
    EXPECT_FALSE(s.ts.SearchInProgress());
    s.ts.SetFileMask("b.tmp");
    EXPECT_EQ(s.ts.FileMask(), "b.tmp");
    int files = 0;
    s.ts.OnFileFound = [&](TTreeScanner&) { ++files; };
    s.ts.Search();
    EXPECT_EQ(files, 1);
}

TEST(TreeScanner, StartingASearchFromInsideItsOwnSearchIsRefused) {
    TempDir dir;
    dir.write("a.tmp");
    Scan s(dir, "*.tmp");
    bool refused = false;
    s.ts.OnFileFound = [&](TTreeScanner& t) {
        try {
            t.Search();
        } catch (const std::logic_error&) {
            refused = true;
        }
    };
    s.run();
    EXPECT_TRUE(refused);
    EXPECT_EQ(s.rec.events.back(), "SD .\\a.tmp 0 idle");
}

TEST(TreeScanner, FileSizeCarriesAll64Bits) {
    TempDir dir;
    std::string big = dir.write("big.bin");
    {
        platform::UniqueFile f(CreateFileW(platform::Widen(big).c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                           FILE_ATTRIBUTE_NORMAL, nullptr));
        ASSERT_TRUE(f);
        DWORD ignored = 0;
        DeviceIoControl(f.get(), FSCTL_SET_SPARSE, nullptr, 0, nullptr, 0, &ignored, nullptr);
        LARGE_INTEGER at;
        at.QuadPart = 4294967297LL;
        ASSERT_TRUE(SetFilePointerEx(f.get(), at, nullptr, FILE_BEGIN));
        ASSERT_TRUE(SetEndOfFile(f.get()));
    }
    Scan s(dir, "*.bin");
    EXPECT_EQ(s.run()[1], "FF .\\big.bin 4294967297");
}

TEST(TreeScanner, NeverFollowsSymbolicLinksNorLoopsThroughThem) {
    // tests/scan/fixtures.sh made loop/a/b/f.tmp, links b/up -> .., b/top -> ../.., b/self -> .,
    // loop/ext -> outside (holding o.tmp) and a dangling link.
    std::string suite = SuiteFolder();
    ASSERT_FALSE(suite.empty()) << "VANTREL_SUITE_DIR is not set: run through tests/wine_suite.sh";
    ASSERT_TRUE(platform::FolderExists(suite + "loop\\a\\b\\top\\a")) << "the link fixture is missing";
    TTreeScanner ts;
    Recorder rec;
    rec.base = suite + "loop\\";
    rec.attach(ts);
    ts.InitialDirectory = suite + "loop";
    ts.SetFileMask("*.tmp");
    ts.FindHiddenFiles = true;
    ts.FindHiddenFolders = true;
    ts.Search();
    EXPECT_EQ(rec.events,
              (Lines{"DF .\\ 0", "DF .\\a\\ 0", "DF .\\a\\b\\ 0", "FF .\\a\\b\\f.tmp 2", "DD .\\a\\b\\f.tmp 0",
                     "DD .\\a\\b\\f.tmp 0", "DD .\\a\\b\\f.tmp 0", "SD .\\a\\b\\f.tmp 0 idle"}));

    // Started below a link, the walk still enters each real folder once.
    TTreeScanner through;
    Recorder rec2;
    rec2.base = suite + "loop\\a\\b\\top\\";
    rec2.attach(through);
    through.InitialDirectory = suite + "loop\\a\\b\\top\\";
    through.SetFileMask("*.tmp");
    through.Search();
    EXPECT_EQ(rec2.files(), Lines{".\\a\\b\\f.tmp"});
}

TEST(TreeScanner, MasksThatTheLocaleHoldsEqualButDifferInMoreThanCaseAreBothKept) {
    TempDir dir;
    dir.write("strasse.tmp");
    dir.write("stra\xC3\x9F"
              "e.tmp"); // straße.tmp
    Scan s(dir, "stra\xC3\x9F"
                "e.*,strasse.*,STRASSE.*");
    EXPECT_EQ(s.ts.Masks().size(), 2u);
    s.run();
    EXPECT_EQ(s.rec.files().size(), 2u);
}

// A second scanner replaying a recorded walk reports exactly what its own walk would have, over
// the files the recording kept, without listing the folders again.
TEST(TreeScanner, AReplayedWalkReportsWhatAFreshWalkWouldOverTheKeptFiles) {
    TempDir dir;
    dir.write("a.tmp", "full");
    dir.write("empty.txt");
    dir.write("Sub\\b.tmp");
    dir.write("Sub\\c.doc", "c");
    dir.write("sub2\\deep\\d.txt");
    dir.write("sub2\\deep\\e.txt", "e");
    scan::TListingStore store;
    store.KeepFile = [](const scan::TListingStore::Entry& e) { return e.size == 0; };

    Scan first(dir, "*.tmp");
    first.ts.Listings = &store;
    first.run();
    EXPECT_EQ(first.rec.files(), (Lines{".\\a.tmp", ".\\Sub\\b.tmp"})); // recording changes nothing

    // The folders entered and the files reported, in order (what follows a folder's last file
    // names that file, which differs when fewer files are kept).
    auto enteredAndFound = [](const Lines& events, bool onlyEmpty) {
        Lines out;
        for (const auto& e : events)
            if (e.rfind("DF ", 0) == 0 || (e.rfind("FF ", 0) == 0 && (!onlyEmpty || e.substr(e.rfind(' ')) == " 0")))
                out.push_back(e);
        return out;
    };
    Scan fresh(dir, "*.*");
    const Lines expected = enteredAndFound(fresh.run(), true);

    // A file added after the recording is not seen by the replay: no folder is listed twice.
    dir.write("late.txt");
    store.Recording = false;
    Scan replay(dir, "*.*");
    replay.ts.Listings = &store;
    EXPECT_EQ(enteredAndFound(replay.run(), false), expected);
    EXPECT_EQ(replay.rec.events.back().rfind("SD ", 0), 0u);
    EXPECT_EQ(replay.rec.files(), (Lines{".\\empty.txt", ".\\Sub\\b.tmp", ".\\sub2\\deep\\d.txt"}));

    // The replaying scanner's own masks and hidden rules still decide.
    ASSERT_TRUE(SetFileAttributesW(platform::Widen(dir.path() + "empty.txt").c_str(), FILE_ATTRIBUTE_HIDDEN));
    store.Clear();
    store.Recording = true;
    first.ts.Search();
    store.Recording = false;
    Scan masked(dir, "*.txt");
    masked.ts.Listings = &store;
    masked.run();
    EXPECT_EQ(masked.rec.files(), (Lines{".\\late.txt", ".\\sub2\\deep\\d.txt"}));
}

TEST(TreeScanner, FilesComeWithTheirOwnTimesFreshOrReplayed) {
    TempDir dir;
    const std::string path = dir.write("a.tmp", "a");
    dir.write("b.tmp");
    // Three different times, so that a mix-up shows.
    FILETIME created{0x10000000, 0x01C00000}, accessed{0x20000000, 0x01D00000}, written{0x30000000, 0x01B00000};
    {
        platform::UniqueFile f(CreateFileW(platform::Widen(path).c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ,
                                           nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(f);
        ASSERT_TRUE(SetFileTime(f.get(), &created, &accessed, &written));
    }
    WIN32_FILE_ATTRIBUTE_DATA want{};
    ASSERT_TRUE(GetFileAttributesExW(platform::Widen(path).c_str(), GetFileExInfoStandard, &want));
    auto value = [](const FILETIME& t) { return (uint64_t{t.dwHighDateTime} << 32) | t.dwLowDateTime; };

    scan::TListingStore store;
    Lines seen;
    auto record = [&](TTreeScanner& s) {
        if (platform::ExtractFileName(s.FileFound()) != "a.tmp") return;
        seen.push_back(std::to_string(s.FileCreationTime() == value(want.ftCreationTime)) +
                       std::to_string(s.FileLastAccessTime() == value(want.ftLastAccessTime)) +
                       std::to_string(s.FileLastWriteTime() == value(want.ftLastWriteTime)));
    };
    Scan first(dir, "*.tmp");
    first.ts.Listings = &store;
    first.ts.OnFileFound = record;
    first.run();
    EXPECT_EQ(first.ts.FileLastWriteTime(), 0u); // outside a file's report
    store.Recording = false;
    Scan replay(dir, "*.*");
    replay.ts.Listings = &store;
    replay.ts.OnFileFound = record;
    replay.run();
    EXPECT_EQ(seen, (Lines{"111", "111"}));
    EXPECT_EQ(replay.ts.FileCreationTime(), 0u);
}

TEST(TreeScanner, AReplayListsAfreshWhatTheRecordingNeverReachedAndSkipsWhatItSkipped) {
    TempDir dir;
    dir.write("s1\\a.tmp");
    dir.write("s2\\b.tmp");
    dir.write("s2\\deeper\\c.tmp");
    scan::TListingStore store;
    Scan first(dir, "*.tmp");
    first.ts.Listings = &store;
    // Stopped in s1: s2 is never listed by the recording.
    first.ts.OnFileFound = [](TTreeScanner& t) { t.ContinueSearch = false; };
    first.run();
    EXPECT_FALSE(store.Empty());
    store.Recording = false;
    Scan replay(dir, "*.tmp");
    replay.ts.Listings = &store;
    replay.run();
    EXPECT_EQ(replay.rec.files(), (Lines{".\\s1\\a.tmp", ".\\s2\\b.tmp", ".\\s2\\deeper\\c.tmp"}));

    // Folders reached again through links were skipped by the recording and stay skipped.
    std::string suite = SuiteFolder();
    ASSERT_FALSE(suite.empty()) << "VANTREL_SUITE_DIR is not set: run through tests/wine_suite.sh";
    scan::TListingStore loops;
    TTreeScanner through, again;
    Recorder rec1, rec2;
    rec1.base = rec2.base = suite + "loop\\a\\b\\top\\";
    rec1.attach(through);
    rec2.attach(again);
    for (TTreeScanner* t : {&through, &again}) {
        t->InitialDirectory = rec1.base;
        t->SetFileMask("*.tmp");
        t->Listings = &loops;
    }
    through.Search();
    loops.Recording = false;
    again.Search();
    EXPECT_EQ(rec2.events, rec1.events);
    EXPECT_EQ(rec2.files(), Lines{".\\a\\b\\f.tmp"});
}
