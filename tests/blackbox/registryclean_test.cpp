// Vantrel.exe started with "/REGISTRYCLEAN", as the start-up entry, the agent and "&Run Now" start
// it: the hidden registry cleaner scans, removes what it found, logs, counts and records the run.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "app/pure/format.h"
#include "platform/files.h"
#include "platform/process.h"
#include "platform/registry.h"
#include "platform/strings.h"
#include "sched/schedule_store.h"
#include "support/fixtures.h"

namespace {
constexpr DWORD kTimeoutMs = 60000;
constexpr const char* kScratch = "Software\\VantrelTests\\RegistryRun";
// Folders without blanks, so that the blank rule never passes a missing path as valid.
constexpr const char* kFiles = "C:\\VantrelRegRun\\";
constexpr const char* kAreas = "Software\\Quorvel\\Vantrel\\regclean\\pos";
constexpr const char* kLogsKey = "Software\\Quorvel\\Vantrel\\Logs";
constexpr const char* kTaskKey = "Software\\Quorvel\\Vantrel\\Schedule\\Registry";
const std::string kSep(40, '=');

std::optional<DWORD> RunVantrel(const std::string& arguments) {
    std::string exe = testsupport::BuildFolder() + "Vantrel.exe";
    std::string command = platform::QuoteArgument(exe) + " " + arguments;
    auto process = platform::StartProcess(command, testsupport::BuildFolder());
    if (!process) {
        ADD_FAILURE() << "could not start " << command << " (" << GetLastError() << ")";
        return std::nullopt;
    }
    auto code = platform::WaitForExit(*process, kTimeoutMs);
    if (!code) {
        TerminateProcess(process->process.get(), 99);
        (void)platform::WaitForExit(*process, 5000);
        ADD_FAILURE() << command << " did not end within " << kTimeoutMs << " ms";
    }
    return code;
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> out;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find("\r\n", start);
        if (end == std::string::npos) end = text.size();
        out.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    return out;
}

// Files the program writes into its own folder (the build folder, shared by every run of the
// suite): set aside before a test, and whatever the run made there removed afterwards.
class BuildFolderFiles {
public:
    BuildFolderFiles() {
        for (const char* name : {"RegistryLog.txt", "Manual_Registry_Log.txt", "Registry Backup\\Reg_Backup.reg"}) {
            std::string path = testsupport::BuildFolder() + name;
            if (platform::FileExists(path)) {
                std::string aside = m_aside.file(std::to_string(m_kept.size()));
                if (platform::MoveFileTo(path, aside)) m_kept.push_back({path, aside});
            }
            m_watched.push_back(path);
        }
        m_backupFolderExisted = platform::FolderExists(BackupFolder());
        if (m_backupFolderExisted)
            for (const auto& f : platform::ListFolder(BackupFolder()))
                m_before.insert(f.name);
    }
    ~BuildFolderFiles() {
        for (const auto& path : m_watched)
            platform::DeleteFileAt(path);
        if (platform::FolderExists(BackupFolder()))
            for (const auto& f : platform::ListFolder(BackupFolder()))
                if (!m_before.count(f.name)) platform::DeleteFileAt(BackupFolder() + f.name);
        if (!m_backupFolderExisted) platform::RemoveFolder(BackupFolder());
        for (const auto& [path, aside] : m_kept)
            platform::MoveFileTo(aside, path);
    }
    static std::string BackupFolder() { return testsupport::BuildFolder() + "Registry Backup\\"; }

private:
    testsupport::TempDir m_aside;
    std::vector<std::string> m_watched;
    std::vector<std::pair<std::string, std::string>> m_kept;
    std::set<std::string> m_before;
    bool m_backupFolderExisted = false;
};

class RegistryCleanRun : public testing::Test {
protected:
    void SetUp() override {
        testsupport::ClearProductKey();
        platform::DeleteKeyTree(HKEY_CURRENT_USER, kScratch);
        testsupport::RemoveTree(kFiles);
        platform::ForceFolders(std::string(kFiles) + "here\\");
        m_files = std::make_unique<BuildFolderFiles>();
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
        m_start = platform::Now();
        EXPECT_EQ(RunVantrel(sw), 0u);
        m_end = platform::Now();
    }
    // A date stamp the run wrote: the date and time of one second of the run.
    bool IsStampOfRun(const std::string& line, const std::string& header) const {
        if (line.rfind(header, 0) != 0) return false;
        std::string stamp = line.substr(header.size());
        for (double t = m_start - 2.0 / 86400; t <= m_end + 2.0 / 86400; t += 0.5 / 86400)
            if (stamp == textfmt::DateTimeToStr(t)) return true;
        return false;
    }
    void ExpectLastRanWithinTheRun() const {
        auto key = platform::RegKey::Open(HKEY_CURRENT_USER, kTaskKey);
        ASSERT_TRUE(key);
        auto lastRan = sched::ReadDateTime(*key, "LastRan");
        ASSERT_TRUE(lastRan);
        EXPECT_GE(*lastRan, m_start - 1.0 / 86400);
        EXPECT_LE(*lastRan, m_end + 1.0 / 86400);
    }
    static size_t UndoFiles() {
        size_t n = 0;
        for (const auto& f : platform::ListFolder(BuildFolderFiles::BackupFolder()))
            if (platform::UpperCase(f.name).rfind("UNDO_", 0) == 0) ++n;
        return n;
    }
    static std::vector<std::string> Log() { return Lines(testsupport::ReadText(LogPath())); }
    static std::string LogPath() { return testsupport::BuildFolder() + "RegistryLog.txt"; }
    static int RegRefs() {
        auto key = platform::RegKey::Open(HKEY_CURRENT_USER, kLogsKey);
        return key ? key->readInt("RegRefs").value_or(0) : 0;
    }

    // Compares a log with the expected lines; "*HEADER" stands for the header and a stamp of the run.
    void ExpectLog(const std::vector<std::string>& log, const std::vector<std::string>& expected) const {
        ASSERT_EQ(log.size(), expected.size()) << testsupport::ReadText(LogPath());
        for (size_t i = 0; i < log.size(); ++i) {
            if (!expected[i].empty() && expected[i][0] == '*')
                EXPECT_TRUE(IsStampOfRun(log[i], expected[i].substr(1))) << i << ": " << log[i];
            else
                EXPECT_EQ(log[i], expected[i]) << i;
        }
    }

    std::unique_ptr<BuildFolderFiles> m_files;
    double m_start = 0, m_end = 0;
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
    ExpectLastRanWithinTheRun();
    // Unattended: the interactive log stays untouched.
    EXPECT_FALSE(platform::PathExists(testsupport::BuildFolder() + "Manual_Registry_Log.txt"));

    auto log = Log();
    const std::string undoPrefix = "  Removed values are kept for undo in: ";
    auto undoLine = std::find_if(log.begin(), log.end(), [&](const auto& l) { return l.rfind(undoPrefix, 0) == 0; });
    ASSERT_NE(undoLine, log.end());
    std::string undo = undoLine->substr(undoPrefix.size());
    EXPECT_EQ(platform::UpperCase(platform::ExtractFilePath(undo)),
              platform::UpperCase(BuildFolderFiles::BackupFolder()));
    // The undo file is in the registry editor's format, UTF-16: every removed value is in it.
    std::string undoBytes = testsupport::ReadText(undo);
    std::wstring undoText(reinterpret_cast<const wchar_t*>(undoBytes.data()), undoBytes.size() / sizeof(wchar_t));
    for (const char* name : {"alpha", "beta", "gamma"})
        EXPECT_NE(undoText.find(L"\"" + platform::Widen(name) + L"\"="), std::wstring::npos) << name;
    EXPECT_NE(undoText.find(L"[HKEY_CURRENT_USER\\" + platform::Widen(Sub("Nested\\Deeper")) + L"]"),
              std::wstring::npos);
    // A window that is never shown backs the registry up before it scans.
    EXPECT_GT(platform::FileSize(BuildFolderFiles::BackupFolder() + "Reg_Backup.reg").value_or(0), 0u);

    // Depth first, subkeys in the order the registry lists them: Nested\Deeper before Run.
    const std::string key = "      KEY: HKEY_CURRENT_USER\\";
    ExpectLog(log, {"",
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
    ExpectLastRanWithinTheRun();
    ExpectLog(Log(), {"", kSep, "*OPERATION START: ", kSep, "  Backing up registry files...",
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
    ExpectLastRanWithinTheRun();
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
    ExpectLastRanWithinTheRun();
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
