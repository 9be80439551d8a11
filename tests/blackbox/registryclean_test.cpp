// Vantrel.exe started with "/REGISTRYCLEAN", as the start-up entry, the agent and "&Run Now" start
// it: the hidden registry cleaner scans, removes what it found, logs, counts and records the run.
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

constexpr const char* kScratch = "Software\\VantrelTests\\RegistryRun";
// Folders without blanks, so that the blank rule never passes a missing path as valid.
constexpr const char* kFiles = "C:\\VantrelRegRun\\";
constexpr const char* kAreas = "Software\\Quorvel\\Vantrel\\regclean\\pos";
constexpr const char* kTaskKey = "Software\\Quorvel\\Vantrel\\Schedule\\Registry";

std::string BackupFolder() {
    return testsupport::BuildFolder() + "Registry Backup\\";
}

class RegistryCleanRun : public testing::Test {
protected:
    void SetUp() override {
        testsupport::ClearProductKey();
        platform::DeleteKeyTree(HKEY_CURRENT_USER, kScratch);
        testsupport::RemoveTree(kFiles);
        platform::ForceFolders(std::string(kFiles) + "here\\");
        m_files = std::make_unique<ProgramFolderFiles>(
            std::vector<std::string>{"RegistryLog.txt", "Manual_Registry_Log.txt", "Registry Backup\\Reg_Backup.reg"},
            "Registry Backup\\");
        // Only the current user's tree: the smallest area that holds ordinary values.
        auto areas = platform::RegKey::Create(HKEY_CURRENT_USER, kAreas);
        areas.writeInt("CU", 1);
        areas.writeInt("US", 0);
        areas.writeInt("LM", 0);
        areas.writeInt("SD", 0);
    }
    void TearDown() override {
        m_files.reset();
        platform::DeleteKeyTree(HKEY_CURRENT_USER, kScratch);
        testsupport::RemoveTree(kFiles);
        testsupport::ClearProductKey();
    }

    static std::string Sub(const std::string& relative) { return std::string(kScratch) + "\\" + relative; }
    static void Write(const std::string& relative, const std::string& name, const std::string& data) {
        platform::RegKey::Create(HKEY_CURRENT_USER, Sub(relative)).writeString(name, data);
    }
    static bool Exists(const std::string& relative, const std::string& name) {
        auto key = platform::RegKey::Open(HKEY_CURRENT_USER, Sub(relative));
        return key && key->hasValue(name);
    }
    static std::string Missing(const std::string& name) { return std::string(kFiles) + "gone\\" + name; }
    static std::string Existing(const std::string& name) {
        std::string path = std::string(kFiles) + "here\\" + name;
        platform::WriteFileBytes(path, "x");
        return path;
    }
    static void SetTaskFlag(const char* name, bool on) {
        platform::RegKey::Create(HKEY_CURRENT_USER, kTaskKey).writeInt(name, on ? 1 : 0);
    }

    // Three invalid references in two keys, and values the rules keep.
    void ArrangeFindings() {
        Write("Run", "alpha", Missing("alpha.exe"));
        Write("Run", "beta", Missing("folder"));
        Write("Nested\\Deeper", "gamma", Missing("gamma.dll"));
        Write("Run", "kept file", Existing("present.exe"));
        Write("Run", "kept folder", std::string(kFiles) + "here");
        Write("Run", "kept blank", Missing("with blank.exe")); // a blank makes a text valid
        Write("Run", "kept words", "not a path at all");
        platform::RegKey::Create(HKEY_CURRENT_USER, Sub("Run")).writeInt("kept number", 7);
    }
    void ExpectKeptValuesStay() {
        for (const char* name : {"kept file", "kept folder", "kept blank", "kept words", "kept number"})
            EXPECT_TRUE(Exists("Run", name)) << name;
    }

    // Runs the switch, noting the clock around it.
    void Run(const std::string& sw) {
        clock.start();
        EXPECT_EQ(RunVantrel(sw), 0u);
        clock.stop();
    }
    static size_t UndoFiles() {
        size_t n = 0;
        for (const auto& f : platform::ListFolder(BackupFolder()))
            if (platform::UpperCase(f.name).rfind("UNDO_", 0) == 0) ++n;
        return n;
    }
    static std::vector<std::string> Log() { return Lines(testsupport::ReadText(LogPath())); }
    static std::string LogPath() { return testsupport::BuildFolder() + "RegistryLog.txt"; }
    static int RegRefs() { return Counter("RegRefs"); }

    std::unique_ptr<ProgramFolderFiles> m_files;
    RunClock clock;
};
} // namespace

TEST_F(RegistryCleanRun, RemovesTheInvalidReferencesLogsEachOneCountsThemAndRecordsTheRun) {
    ArrangeFindings();
    platform::RegKey::Create(HKEY_CURRENT_USER, kLogsKey).writeInt("RegRefs", 5);
    Run("/REGISTRYCLEAN");

    EXPECT_FALSE(Exists("Run", "alpha"));
    EXPECT_FALSE(Exists("Run", "beta"));
    EXPECT_FALSE(Exists("Nested\\Deeper", "gamma"));
    ExpectKeptValuesStay();
    EXPECT_EQ(RegRefs(), 8);
    clock.expectLastRanWithin(kTaskKey);
    // Unattended: the interactive log stays untouched.
    EXPECT_FALSE(platform::PathExists(testsupport::BuildFolder() + "Manual_Registry_Log.txt"));

    auto log = Log();
    const std::string undoPrefix = "  Removed values are kept for undo in: ";
    auto undoLine = std::find_if(log.begin(), log.end(), [&](const auto& l) { return l.rfind(undoPrefix, 0) == 0; });
    ASSERT_NE(undoLine, log.end());
    std::string undo = undoLine->substr(undoPrefix.size());
    EXPECT_EQ(platform::UpperCase(platform::ExtractFilePath(undo)), platform::UpperCase(BackupFolder()));
    // The undo file is in the registry editor's format, UTF-16: every removed value is in it.
    std::string undoBytes = testsupport::ReadText(undo);
    std::wstring undoText(reinterpret_cast<const wchar_t*>(undoBytes.data()), undoBytes.size() / sizeof(wchar_t));
    for (const char* name : {"alpha", "beta", "gamma"})
        EXPECT_NE(undoText.find(L"\"" + platform::Widen(name) + L"\"="), std::wstring::npos) << name;
    EXPECT_NE(undoText.find(L"[HKEY_CURRENT_USER\\" + platform::Widen(Sub("Nested\\Deeper")) + L"]"),
              std::wstring::npos);
    // A window that is never shown backs the registry up before it scans.
    EXPECT_GT(platform::FileSize(BackupFolder() + "Reg_Backup.reg").value_or(0), 0u);

    // Depth first, subkeys in the order the registry lists them: Nested\Deeper before Run.
    const std::string key = "      KEY: HKEY_CURRENT_USER\\";
    clock.expectLog(log, {"",
                          kSep,
                          "*OPERATION START: ",
                          kSep,
                          "  Backing up registry files...",
                          "  Analyzing: HKEY_CURRENT_USER...",
                          "  Scan complete. 3 invalid references found.",
                          *undoLine,
                          "  Start: Removing invalid references",
                          "  Removing invalid reference...",
                          key + Sub("Nested\\Deeper"),
                          "      VALUE: gamma",
                          "  Removing invalid reference...",
                          key + Sub("Run"),
                          "      VALUE: alpha",
                          "  Removing invalid reference...",
                          key + Sub("Run"),
                          "      VALUE: beta",
                          "  Finish: Removing invalid references",
                          kSep,
                          "*OPERATION COMPLETE: ",
                          "NUMBER OF INVALID REFERENCES REMOVED: 3",
                          kSep});

    // A second run finds nothing more and appends a block of its own.
    Run("/registryclean");
    auto second = Log();
    ASSERT_GT(second.size(), log.size());
    EXPECT_TRUE(std::equal(log.begin(), log.end(), second.begin()));
    EXPECT_EQ(std::vector<std::string>(second.begin() + static_cast<long>(log.size()), second.end())[6],
              "  Registry Already Clean: No invalid references detected.");
    EXPECT_EQ(RegRefs(), 8);
    ExpectKeptValuesStay();
}

TEST_F(RegistryCleanRun, ACleanRegistryGetsNoCountLineButTheRunIsRecorded) {
    Write("Run", "kept file", Existing("present.exe"));
    size_t undoFiles = UndoFiles();
    Run("/REGISTRYCLEAN");
    EXPECT_TRUE(Exists("Run", "kept file"));
    EXPECT_EQ(RegRefs(), 0);
    clock.expectLastRanWithin(kTaskKey);
    clock.expectLog(Log(),
                    {"", kSep, "*OPERATION START: ", kSep, "  Backing up registry files...",
                     "  Analyzing: HKEY_CURRENT_USER...", "  Registry Already Clean: No invalid references detected.",
                     kSep, "*OPERATION COMPLETE: ", kSep, "  Scan complete. 0 invalid references found."});
    // Nothing was removed, so no undo file was made.
    EXPECT_EQ(UndoFiles(), undoFiles);
}

TEST_F(RegistryCleanRun, WithLogEventsOffNothingIsLoggedButTheReferencesGoAndAreCounted) {
    ArrangeFindings();
    SetTaskFlag("LogEvents", false);
    Run("/RegistryClean");
    EXPECT_FALSE(Exists("Run", "alpha"));
    EXPECT_FALSE(Exists("Run", "beta"));
    EXPECT_FALSE(Exists("Nested\\Deeper", "gamma"));
    ExpectKeptValuesStay();
    EXPECT_EQ(RegRefs(), 3);
    clock.expectLastRanWithin(kTaskKey);
    EXPECT_FALSE(platform::PathExists(LogPath()));
    EXPECT_FALSE(platform::PathExists(testsupport::BuildFolder() + "Manual_Registry_Log.txt"));
}

TEST_F(RegistryCleanRun, WithShowProgressOffTheRunStillCleansAndLogs) {
    ArrangeFindings();
    SetTaskFlag("ShowProgress", false);
    Run("/RegistryClean");
    EXPECT_FALSE(Exists("Run", "alpha"));
    EXPECT_FALSE(Exists("Nested\\Deeper", "gamma"));
    ExpectKeptValuesStay();
    EXPECT_EQ(RegRefs(), 3);
    clock.expectLastRanWithin(kTaskKey);
    auto log = Log();
    ASSERT_GE(log.size(), 2u);
    EXPECT_EQ(log[log.size() - 2], "NUMBER OF INVALID REFERENCES REMOVED: 3");
}

TEST_F(RegistryCleanRun, TheTraceEraseSwitchEndsAtOnceAndWritesNothing) {
    // The trace eraser is not part of this version: its run has no tool to drive.
    for (const char* sw : {"/CLEANHISTORY", "/CleanHistory"}) {
        SCOPED_TRACE(sw);
        testsupport::ClearProductKey();
        const std::string eraserLog = testsupport::BuildFolder() + "EraserLog.txt";
        const bool hadLog = platform::PathExists(eraserLog);
        DWORD start = GetTickCount();
        Run(sw);
        EXPECT_LT(GetTickCount() - start, 10000u);
        // Not even the schedule key was opened.
        EXPECT_FALSE(platform::KeyExists(HKEY_CURRENT_USER, "Software\\Quorvel\\Vantrel"));
        EXPECT_EQ(platform::PathExists(eraserLog), hadLog);
    }
}
