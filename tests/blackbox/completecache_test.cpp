// Vantrel.exe started with its switches, as the RunOnce entry and the scheduler start it.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "platform/files.h"
#include "platform/process.h"
#include "platform/registry.h"
#include "support/fixtures.h"

namespace {
constexpr const char* kPrivacyPath = "Software\\Quorvel\\Vantrel\\privacy";
constexpr DWORD kTimeoutMs = 30000;

// Runs the program with the arguments and waits (bounded); the exit code, or nothing after a
// time-out (the process is then ended so that the suite goes on).
std::optional<DWORD> RunVantrel(const std::string& arguments) {
    std::string exe = testsupport::BuildFolder() + "Vantrel.exe";
    std::string command = platform::QuoteArgument(exe) + (arguments.empty() ? "" : " " + arguments);
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

struct CompleteCacheRun : testing::Test {
    void SetUp() override { testsupport::ClearProductKey(); }
    void TearDown() override { testsupport::ClearProductKey(); }

    // A browser folder as the eraser leaves it: files, a hidden file and nested subfolders.
    std::string filled(const std::string& name) {
        dir.write(name + "\\index.dat", "index");
        dir.write(name + "\\a.txt", "cookie");
        dir.write(name + "\\Content.IE5\\X1Y2Z3\\page[1].htm", "<html>");
        std::string hidden = dir.write(name + "\\desktop.ini", "[.ShellClassInfo]");
        platform::SetAttributes(hidden, FILE_ATTRIBUTE_HIDDEN);
        return dir.file(name);
    }
    void record(const char* name, const std::string& folder) {
        platform::RegKey::Create(HKEY_CURRENT_USER, kPrivacyPath).writeString(name, folder);
    }
    bool recorded(const char* name) {
        auto key = platform::RegKey::Open(HKEY_CURRENT_USER, kPrivacyPath);
        return key && key->hasValue(name);
    }
    static size_t Entries(const std::string& folder) { return platform::ListFolder(folder).size(); }

    testsupport::TempDir dir;
};
} // namespace

TEST_F(CompleteCacheRun, EmptiesEveryRecordedFolderKeepsTheFoldersAndDeletesTheValuesInAnyLetterCase) {
    for (const char* sw : {"/completecache", "/CompleteCache", "/COMPLETECACHE"}) {
        SCOPED_TRACE(sw);
        std::string cookies = filled("Cookies"), cache = filled("Cache"), history = filled("History");
        record("Cookies", cookies);
        record("Cache", cache);
        record("History", history);
        EXPECT_EQ(RunVantrel(sw), 0u);
        for (auto& folder : {cookies, cache, history}) {
            EXPECT_TRUE(platform::FolderExists(folder)) << folder;
            EXPECT_EQ(Entries(folder), 0u) << folder;
        }
        EXPECT_FALSE(recorded("Cookies"));
        EXPECT_FALSE(recorded("Cache"));
        EXPECT_FALSE(recorded("History"));
        EXPECT_EQ(FindWindowW(nullptr, L"Scheduled Maintenance Progress"), nullptr);
    }
}

TEST_F(CompleteCacheRun, OnlyTheHistoryFolderIsEmptiedWhenOnlyHistoryIsRecorded) {
    std::string cookies = filled("Cookies"), cache = filled("Cache"), history = filled("History");
    record("History", history);
    EXPECT_EQ(RunVantrel("/CompleteCache"), 0u);
    EXPECT_EQ(Entries(history), 0u);
    EXPECT_EQ(Entries(cookies), 4u);
    EXPECT_EQ(Entries(cache), 4u);
    EXPECT_TRUE(platform::FileExists(cache + "\\Content.IE5\\X1Y2Z3\\page[1].htm"));
    EXPECT_FALSE(recorded("History"));
}

TEST_F(CompleteCacheRun, WithNothingRecordedTheProgramEndsWithoutDeletingAnything) {
    std::string cookies = filled("Cookies");
    platform::RegKey::Create(HKEY_CURRENT_USER, kPrivacyPath);
    EXPECT_EQ(RunVantrel("/COMPLETECACHE"), 0u);
    EXPECT_EQ(Entries(cookies), 4u);
    // A missing key is created by the run.
    testsupport::ClearProductKey();
    EXPECT_EQ(RunVantrel("/COMPLETECACHE"), 0u);
    EXPECT_TRUE(platform::KeyExists(HKEY_CURRENT_USER, kPrivacyPath));
    EXPECT_EQ(Entries(cookies), 4u);
}

TEST_F(CompleteCacheRun, AFolderThatCannotBeEmptiedStillLosesItsRecord) {
    std::string history = filled("History");
    record("Cookies", dir.file("Gone"));
    record("History", history);
    EXPECT_EQ(RunVantrel("/CompleteCache"), 0u);
    EXPECT_FALSE(recorded("Cookies"));
    EXPECT_FALSE(recorded("History"));
    EXPECT_EQ(Entries(history), 0u);
    EXPECT_FALSE(platform::PathExists(dir.file("Gone")));
}

TEST_F(CompleteCacheRun, AnUnknownSwitchEndsAtOnceAndTouchesNothing) {
    std::string cache = filled("Cache");
    for (const char* args : {"/BOGUS", "COMPLETECACHE", "/COMPLETECACHEX", "/complete", "/bogus /COMPLETECACHE"}) {
        SCOPED_TRACE(args);
        testsupport::ClearProductKey();
        DWORD start = GetTickCount();
        EXPECT_EQ(RunVantrel(args), 0u);
        EXPECT_LT(GetTickCount() - start, 10000u);
        // The clean-up did not even open its key.
        EXPECT_FALSE(platform::KeyExists(HKEY_CURRENT_USER, kPrivacyPath));
    }
    record("Cache", cache);
    EXPECT_EQ(RunVantrel("/NOTASWITCH"), 0u);
    EXPECT_TRUE(recorded("Cache"));
    EXPECT_EQ(Entries(cache), 4u);
}

TEST_F(CompleteCacheRun, ASecondArgumentAfterTheSwitchHasNoEffect) {
    std::string cookies = filled("Cookies"), cache = filled("Cache");
    record("Cookies", cookies);
    EXPECT_EQ(RunVantrel("/completecache /CLEANJUNK " + platform::QuoteArgument(cache)), 0u);
    EXPECT_EQ(Entries(cookies), 0u);
    EXPECT_FALSE(recorded("Cookies"));
    EXPECT_EQ(Entries(cache), 4u);
}
