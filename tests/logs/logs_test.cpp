#include "logs/logs.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <climits>

#include "app/paths.h"
#include "app/pure/format.h"
#include "app/settings.h"
#include "logs/pure/log_lines.h"
#include "platform/error.h"
#include "platform/files.h"
#include "platform/registry.h"
#include "platform/strings.h"
#include "support/fixtures.h"

using namespace logs;

namespace {

std::vector<std::string> SplitCrLf(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    for (;;) {
        size_t end = text.find("\r\n", start);
        if (end == std::string::npos) {
            lines.push_back(text.substr(start));
            return lines;
        }
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
}

struct LogsTest : testing::Test {
    testsupport::TempDir dir;
    textfmt::FormatSettings savedFormats;

    void SetUp() override {
        testsupport::ClearProductKey();
        savedFormats = textfmt::ProcessFormats();
        textfmt::ProcessFormats() = textfmt::FormatSettings{};
        app::SetProgramFolderForTesting(dir.path());
    }
    void TearDown() override {
        app::SetProgramFolderForTesting("");
        textfmt::ProcessFormats() = savedFormats;
        testsupport::ClearProductKey();
    }
    std::string read(std::string_view name) const { return testsupport::ReadText(dir.file(name)); }
};

} // namespace

TEST_F(LogsTest, FirstWriteCreatesTheFileAndLaterWritesAppendWithCrLf) {
    EXPECT_EQ(LogPath(kManualJunkLog), dir.path() + "Manual_Junk_Log.txt");
    ASSERT_FALSE(platform::FileExists(dir.file(kManualJunkLog)));

    WriteLog(kManualJunkLog, "first");
    EXPECT_EQ(read(kManualJunkLog), "first\r\n");

    // A reader that keeps the log open (the logs window, an editor) does not stop the writes.
    HANDLE reader = CreateFileW(platform::Widen(dir.file(kManualJunkLog)).c_str(), GENERIC_READ,
                                FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(reader, INVALID_HANDLE_VALUE);
    WriteLog(kManualJunkLog, "");
    WriteLog(kManualJunkLog, "  third");
    CloseHandle(reader);
    EXPECT_EQ(read(kManualJunkLog), "first\r\n\r\n  third\r\n");
}

TEST_F(LogsTest, CallSiteSpellingsInOtherLetterCaseReachTheSameFile) {
    WriteLog("Manual_ShortCuts_Log.txt", "a");
    WriteLog(kManualShortcutsLog, "b");
    WriteLog("Junklog.txt", "c");
    WriteLog(kJunkLog, "d");
    EXPECT_EQ(read(kManualShortcutsLog), "a\r\nb\r\n");
    EXPECT_EQ(read(kJunkLog), "c\r\nd\r\n");
    EXPECT_EQ(platform::ListFolder(dir.path()).size(), 2u);
}

TEST_F(LogsTest, LinesAreWrittenInTheAnsiCodePage) {
    const std::string line = "Gr\xC3\xB6\xC3\x9F"
                             "e caf\xC3\xA9 \xE2\x80\x93 5 \xE2\x82\xAC"; // Größe café – 5 €
    WriteLog(kManualDupesLog, line);
    std::wstring wide = platform::Widen(line);
    char expected[64];
    int n = WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), expected, sizeof expected,
                                nullptr, nullptr);
    ASSERT_GT(n, 0);
    EXPECT_EQ(read(kManualDupesLog), std::string(expected, static_cast<size_t>(n)) + "\r\n");
    if (GetACP() == 1252) {
        EXPECT_EQ(read(kManualDupesLog), "Gr\xF6\xDF"
                                         "e caf\xE9 \x96 5 \x80\r\n");
        // What the code page cannot hold becomes its default character; the line is still written.
        WriteLog(kManualDupesLog, "\xE6\x97\xA5\xE6\x9C\xAC"); // 日本
        EXPECT_EQ(SplitCrLf(read(kManualDupesLog)).at(1), "??");
    }
}

TEST_F(LogsTest, DateStampFollowsTheProcessFormats) {
    SYSTEMTIME st;
    GetLocalTime(&st);
    textfmt::ProcessFormats().shortDateFormat = "'D'yyyy";
    textfmt::ProcessFormats().longTimeFormat = "'T'";
    std::string stamp = DateStamp();
    EXPECT_TRUE(stamp == "D" + std::to_string(st.wYear) + " T" || stamp == "D" + std::to_string(st.wYear + 1) + " T")
        << stamp;
}

TEST_F(LogsTest, OpeningAndClosingBlocksLineByLine) {
    const std::string sep(40, '=');
    std::string before = DateStamp();
    WriteOpeningBlock(kManualRegistryLog, kSessionStart);
    WriteLog(kManualRegistryLog, DetailLine("KEY: HKEY_CURRENT_USER\\Software\\Gone"));
    WriteClosingBlock(kManualRegistryLog, kCloseSession, {"NUMBER OF INVALID REFERENCES REMOVED: 1"});
    std::string after = DateStamp();

    auto lines = SplitCrLf(read(kManualRegistryLog));
    ASSERT_EQ(lines.size(), 12u) << read(kManualRegistryLog);
    auto stampedAt = [&](size_t i, const std::string& header) {
        EXPECT_TRUE(lines[i] == header + before || lines[i] == header + after) << lines[i];
    };
    EXPECT_EQ(lines[0], sep);
    stampedAt(1, "SESSION START: ");
    EXPECT_EQ(lines[2], sep);
    EXPECT_EQ(lines[3], "");
    EXPECT_EQ(lines[4], "  KEY: HKEY_CURRENT_USER\\Software\\Gone");
    EXPECT_EQ(lines[5], "");
    EXPECT_EQ(lines[6], sep);
    stampedAt(7, "CLOSE SESSION: ");
    EXPECT_EQ(lines[8], "NUMBER OF INVALID REFERENCES REMOVED: 1");
    EXPECT_EQ(lines[9], sep);
    EXPECT_EQ(lines[10], "");
    EXPECT_EQ(lines[11], ""); // after the last CR LF
    const std::string text = read(kManualRegistryLog);
    for (size_t i = text.find('\n'); i != std::string::npos; i = text.find('\n', i + 1))
        EXPECT_TRUE(i > 0 && text[i - 1] == '\r') << "bare line feed at " << i;
}

TEST_F(LogsTest, UnattendedBlocksGiveTheJunkLogItsExtraEmptyLines) {
    const std::string sep(40, '=');
    WriteOperationStartBlock("Junklog.txt");
    WriteOperationEndBlock("Junklog.txt", {SpaceLine(1048576)});
    WriteOperationStartBlock(kRegistryLog);
    WriteOperationEndBlock(kRegistryLog, {});

    auto junk = SplitCrLf(read(kJunkLog));
    ASSERT_EQ(junk.size(), 12u);
    EXPECT_EQ(junk[0], "");
    EXPECT_EQ(junk[1], sep);
    EXPECT_EQ(junk[2].rfind("OPERATION START: ", 0), 0u);
    EXPECT_EQ(junk[3], sep);
    EXPECT_EQ(junk[4], "");
    EXPECT_EQ(junk[5], "");
    EXPECT_EQ(junk[6], sep);
    EXPECT_EQ(junk[7].rfind("OPERATION COMPLETE: ", 0), 0u);
    EXPECT_EQ(junk[8], "TOTAL SPACE RECOVERED: 1,048,576 bytes (1.00 megabytes.)");
    EXPECT_EQ(junk[9], sep);
    EXPECT_EQ(junk[10], "");

    auto reg = SplitCrLf(read(kRegistryLog));
    ASSERT_EQ(reg.size(), 8u);
    EXPECT_EQ(reg[0], "");
    EXPECT_EQ(reg[3], sep);
    EXPECT_EQ(reg[4], sep);
    EXPECT_EQ(reg[5].rfind("OPERATION COMPLETE: ", 0), 0u);
    EXPECT_EQ(reg[6], sep);
}

TEST_F(LogsTest, SwitchOffStopsEveryWriteOfTheLogButCountersStillGrow) {
    EXPECT_TRUE(InteractiveLogOn("DoJunk")); // missing = on
    app::WriteRegBool(kLogsKey, "DoJunk", false);
    EXPECT_FALSE(InteractiveLogOn("DoJunk"));
    EXPECT_TRUE(InteractiveLogOn("DoDupes"));

    auto log = SessionLog::Interactive(kManualJunkLog, "DoJunk");
    EXPECT_FALSE(log.enabled());
    log.opening(kOpenSession);
    log.detail("Deleting: C:\\junk.tmp");
    log.closing(kCloseSession, {SpaceLine(4096)});
    AddToCounter("JunkFiles", 1);
    AddToCounter("JunkBytes", 4096);
    EXPECT_FALSE(platform::FileExists(dir.file(kManualJunkLog)));
    EXPECT_EQ(ReadCounter("JunkFiles"), 1);
    EXPECT_EQ(ReadCounter("JunkBytes"), 4096);

    // The switch is read once and holds for the window's life, either way.
    app::WriteRegBool(kLogsKey, "DoJunk", true);
    log.detail("still nothing");
    EXPECT_FALSE(platform::FileExists(dir.file(kManualJunkLog)));
    auto on = SessionLog::Interactive(kManualJunkLog, "DoJunk");
    app::WriteRegBool(kLogsKey, "DoJunk", false);
    on.opening(kOpenSession);
    on.detail("Deleting: C:\\junk.tmp");
    auto lines = SplitCrLf(read(kManualJunkLog));
    ASSERT_EQ(lines.size(), 6u);
    EXPECT_EQ(lines[4], "  Deleting: C:\\junk.tmp");
}

TEST_F(LogsTest, CountersAccumulateAsDwordsAndSaturate) {
    EXPECT_EQ(ReadCounter("RegRefs"), 0);
    EXPECT_EQ(AddToCounter("RegRefs", 3), 3);
    EXPECT_EQ(AddToCounter("regrefs", 4), 7);
    EXPECT_EQ(ReadCounter("RegRefs"), 7);
    auto key = platform::RegKey::Open(HKEY_CURRENT_USER, kLogsKey);
    ASSERT_TRUE(key);
    EXPECT_EQ(key->readValue("RegRefs")->type, static_cast<DWORD>(REG_DWORD));

    app::WriteRegInt(kLogsKey, "JunkBytes", INT32_MAX - 10);
    EXPECT_EQ(AddToCounter("JunkBytes", 3000000000LL), INT32_MAX);
    EXPECT_EQ(AddToCounter("JunkBytes", 1), INT32_MAX);
    EXPECT_EQ(ReadCounter("JunkBytes"), INT32_MAX);
    // One amount larger than the counter can hold (a 5 GiB duplicate) does not wrap either.
    EXPECT_EQ(AddToCounter("DupeBytes", 5LL * 1024 * 1024 * 1024), INT32_MAX);
    EXPECT_EQ(AddToCounter("DupeFiles", 0), 0);
}

TEST_F(LogsTest, UnwritableProgramFolderSendsTheLogsToLocalAppData) {
    // Wine keeps no read-only flag on folders and the tests run as root, so an unwritable program
    // folder is arranged as a path that cannot hold files: below a plain file, or on a missing drive.
    const std::string fallback = platform::SpecialFolder(CSIDL_LOCAL_APPDATA) + "\\Vantrel\\";
    std::string plainFile = dir.write("Vantrel.exe", "MZ");
    for (const std::string& programFolder : {plainFile + "\\", std::string("Q:\\Programs\\Vantrel\\")}) {
        app::SetProgramFolderForTesting(programFolder);
        EXPECT_EQ(app::ProgramFolder(), programFolder);
        EXPECT_EQ(app::DataFolder(), fallback);
        EXPECT_EQ(LogPath(kEraserLog), fallback + "EraserLog.txt");
        WriteLog(kEraserLog, "OPERATION START: x");
        EXPECT_EQ(testsupport::ReadText(fallback + "EraserLog.txt"), "OPERATION START: x\r\n");
        ASSERT_TRUE(platform::DeleteFileAt(fallback + "EraserLog.txt"));
    }
}

TEST_F(LogsTest, WriteIntoAnUnwritablePlaceRaisesAnErrorNamingTheFile) {
    dir.mkdir(kManualUninstallersLog); // a folder where the log file should be
    try {
        WriteLog(kManualUninstallersLog, "SESSION START: x");
        FAIL() << "no error raised";
    } catch (const platform::Win32Error& e) {
        EXPECT_EQ(e.code(), static_cast<uint32_t>(ERROR_ACCESS_DENIED));
        EXPECT_NE(std::string(e.what()).find(dir.file(kManualUninstallersLog)), std::string::npos) << e.what();
    }
    // Blocks stop at the first line that cannot be written.
    EXPECT_THROW(WriteOpeningBlock(kManualUninstallersLog, kSessionStart), platform::Win32Error);
    EXPECT_THROW(SessionLog(kManualUninstallersLog, true).detail("x"), platform::Win32Error);
    EXPECT_NO_THROW(SessionLog(kManualUninstallersLog, false).detail("x"));
}
