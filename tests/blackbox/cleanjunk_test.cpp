// Vantrel.exe started with "/CLEANJUNK": the hidden junk cleaner scans drive K: (a folder of the
// suite, see fixtures.sh) and a folder to empty, removes what it found, logs, counts and records
// the run.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "platform/files.h"
#include "platform/registry.h"
#include "platform/strings.h"
#include "support/fixtures.h"
#include "unattended_run.h"

namespace {
using namespace bbtest;

constexpr const char* kDrive = "K:\\";
constexpr const char* kWork = "C:\\VantrelJunkRun\\";
constexpr const char* kJunkKey = "Software\\Quorvel\\Vantrel\\Junk";
constexpr const char* kFoldersKey = "Software\\Quorvel\\Vantrel\\junk\\folders";
constexpr const char* kStateKey = "Software\\Quorvel\\Vantrel\\junk\\pos";
constexpr const char* kTaskKey = "Software\\Quorvel\\Vantrel\\Schedule\\Junk";

void EmptyFolder(const std::string& folder) {
    for (const auto& e : platform::ListFolder(folder)) {
        const std::string child = folder + e.name;
        if (e.isDirectory()) {
            testsupport::RemoveTree(child);
        } else {
            platform::SetAttributes(child, FILE_ATTRIBUTE_NORMAL);
            platform::DeleteFileAt(child);
        }
    }
}

class CleanJunkRun : public testing::Test {
protected:
    void SetUp() override {
        testsupport::ClearProductKey();
        ASSERT_TRUE(platform::FolderExists(kDrive)) << "drive K: is missing: run the suite through wine_suite.sh";
        EmptyFolder(kDrive);
        testsupport::RemoveTree(kWork);
        m_files = std::make_unique<ProgramFolderFiles>(std::vector<std::string>{"JunkLog.txt", "Manual_Junk_Log.txt"});
        // What the run looks for: *.tmp on K: only (*.old is listed but not checked), and
        // everything in one folder.
        auto junk = platform::RegKey::Create(HKEY_CURRENT_USER, kJunkKey);
        junk.writeString("Drives", "K");
        junk.writeString("ScanFor", "*.tmp,1,*.old,0,");
        junk.writeString("ScanDesc", "Temporary files,1,Old files,0,");
        platform::RegKey::Create(HKEY_CURRENT_USER, kFoldersKey).writeInt(Cache(), 1);
        platform::RegKey::Create(HKEY_CURRENT_USER, kStateKey);
        clock.expectFileListFormats();
    }
    void TearDown() override {
        m_files.reset();
        EmptyFolder(kDrive);
        testsupport::RemoveTree(kWork);
        testsupport::ClearProductKey();
    }

    static std::string Cache() { return std::string(kWork) + "cache\\"; }
    static std::string Write(const std::string& path, std::string_view bytes) {
        platform::ForceFolders(platform::ExtractFilePath(path));
        EXPECT_TRUE(platform::WriteFileBytes(path, bytes)) << path;
        return path;
    }
    // Three junk files (22 bytes) and three files the criteria keep.
    void ArrangeJunk() {
        m_junk = {Write(std::string(kDrive) + "a.tmp", "junk"), Write(std::string(kDrive) + "sub\\b.tmp", "junkjunk"),
                  Write(Cache() + "page.htm", "0123456789")};
        ArrangeKept();
    }
    void ArrangeKept() {
        m_kept = {Write(std::string(kDrive) + "keep.txt", "keep"), Write(std::string(kDrive) + "sub\\c.old", "old"),
                  Write(std::string(kWork) + "elsewhere.tmp", "not scanned")};
    }
    void ExpectJunkGoneAndTheRestKept() {
        for (const auto& f : m_junk)
            EXPECT_FALSE(platform::FileExists(f)) << f;
        for (const auto& f : m_kept)
            EXPECT_TRUE(platform::FileExists(f)) << f;
    }
    static void SetTaskFlag(const char* name, bool on) {
        platform::RegKey::Create(HKEY_CURRENT_USER, kTaskKey).writeInt(name, on ? 1 : 0);
    }
    void Run(const std::string& sw) {
        clock.start();
        EXPECT_EQ(RunVantrel(sw), 0u);
        clock.stop();
    }
    static std::string LogPath() { return testsupport::BuildFolder() + "JunkLog.txt"; }
    static std::vector<std::string> Log() { return Lines(testsupport::ReadText(LogPath())); }

    std::unique_ptr<ProgramFolderFiles> m_files;
    std::vector<std::string> m_junk, m_kept;
    RunClock clock;
};
} // namespace

TEST_F(CleanJunkRun, RemovesTheJunkFoundLogsEachFileCountsThemAndRecordsTheRun) {
    ArrangeJunk();
    auto logs = platform::RegKey::Create(HKEY_CURRENT_USER, kLogsKey);
    logs.writeInt("JunkFiles", 2);
    logs.writeInt("JunkBytes", 100);
    Run("/CLEANJUNK");

    ExpectJunkGoneAndTheRestKept();
    EXPECT_TRUE(platform::FolderExists(Cache())); // only files are removed
    EXPECT_EQ(Counter("JunkFiles"), 5);
    EXPECT_EQ(Counter("JunkBytes"), 122);
    clock.expectLastRanWithin(kTaskKey);
    EXPECT_FALSE(platform::PathExists(testsupport::BuildFolder() + "Manual_Junk_Log.txt"));

    auto log = Log();
    ASSERT_EQ(log.size(), 20u) << testsupport::ReadText(LogPath());
    // The removal lines follow the rows, whose order is the walk's; the set is what counts.
    std::vector<std::string> removals(log.begin() + 11, log.begin() + 14);
    std::sort(removals.begin(), removals.end());
    std::vector<std::string> expectedRemovals;
    for (const auto& f : m_junk)
        expectedRemovals.push_back("  Moving to recycle bin: " + platform::LowerCase(f));
    std::sort(expectedRemovals.begin(), expectedRemovals.end());
    EXPECT_EQ(removals, expectedRemovals);
    for (size_t i = 11; i < 14; ++i)
        log[i] = "(removal)";
    clock.expectLog(log, {"",
                          kSep,
                          "*OPERATION START: ",
                          kSep,
                          "",
                          "  Start Scan...",
                          "  Successfully scanned " + Cache() + " for specified file types.",
                          "  Successfully scanned K:\\ for specified file types.",
                          "  Scan End.",
                          "",
                          "  22 bytes (0.00 megabytes) found in 3 files.",
                          "(removal)",
                          "(removal)",
                          "(removal)",
                          "",
                          kSep,
                          "*OPERATION COMPLETE: ",
                          "TOTAL SPACE RECOVERED: 22 bytes (0.00 megabytes.)",
                          kSep,
                          ""});
}

TEST_F(CleanJunkRun, ARunThatFindsNothingSaysTheDrivesAreCleanAndStillRecordsTheRun) {
    ArrangeKept();
    Run("/CleanJunk");
    ExpectJunkGoneAndTheRestKept();
    EXPECT_EQ(Counter("JunkFiles"), 0);
    EXPECT_EQ(Counter("JunkBytes"), 0);
    clock.expectLastRanWithin(kTaskKey);
    clock.expectLog(Log(),
                    {"", kSep, "*OPERATION START: ", kSep, "", "  Start Scan...", "  Scan End.", "",
                     "  0 bytes (0.00 megabytes) found in 0 files.", "  Drives Already Clean: No junk files found", "",
                     kSep, "*OPERATION COMPLETE: ", "TOTAL SPACE RECOVERED: 0 bytes (0.00 megabytes.)", kSep, ""});
}

TEST_F(CleanJunkRun, WithLogEventsOffNothingIsLoggedButTheJunkGoesAndIsCounted) {
    ArrangeJunk();
    SetTaskFlag("LogEvents", false);
    Run("/cleanjunk");
    ExpectJunkGoneAndTheRestKept();
    EXPECT_EQ(Counter("JunkFiles"), 3);
    EXPECT_EQ(Counter("JunkBytes"), 22);
    clock.expectLastRanWithin(kTaskKey);
    EXPECT_FALSE(platform::PathExists(LogPath()));
    EXPECT_FALSE(platform::PathExists(testsupport::BuildFolder() + "Manual_Junk_Log.txt"));

    // Nor does a run that finds nothing say so.
    ArrangeKept();
    Run("/CLEANJUNK");
    EXPECT_FALSE(platform::PathExists(LogPath()));
}

TEST_F(CleanJunkRun, WithShowProgressOffTheRunStillCleansAndLogs) {
    ArrangeJunk();
    SetTaskFlag("ShowProgress", false);
    Run("/CLEANJUNK");
    ExpectJunkGoneAndTheRestKept();
    EXPECT_EQ(Counter("JunkFiles"), 3);
    clock.expectLastRanWithin(kTaskKey);
    auto log = Log();
    ASSERT_GE(log.size(), 4u);
    EXPECT_EQ(log[log.size() - 3], "TOTAL SPACE RECOVERED: 22 bytes (0.00 megabytes.)");
}
