// The reference test on the real file system of the prefix, through the window's own routine.
#include <gtest/gtest.h>

#include "regclean_fixture.h"

using namespace regtest;

namespace {
struct ReferenceTest : RegCleanTest {
    void SetUp() override {
        RegCleanTest::SetUp();
        f = Hidden();
    }
    void TearDown() override {
        f.reset();
        RegCleanTest::TearDown();
    }
    bool Valid(const std::string& s) { return f->IsValidReference(s); }
    std::unique_ptr<TfrmRegClean> f;
};

std::string CurrentFolder() {
    wchar_t buf[MAX_PATH * 2];
    DWORD n = GetCurrentDirectoryW(MAX_PATH * 2, buf);
    return platform::Narrow(std::wstring_view(buf, n));
}
} // namespace

TEST_F(ReferenceTest, BlanksVariablesOtherDrivesAndSharesAreValidWhateverExists) {
    EXPECT_TRUE(Valid("C:\\Program Files\\App\\app.exe"));
    EXPECT_TRUE(Valid("C:\\VantrelRegTest\\no such\\app.exe"));
    EXPECT_TRUE(Valid("%SystemRoot%\\system32\\x.dll"));
    EXPECT_TRUE(Valid("A:\\SETUP.EXE"));
    EXPECT_TRUE(Valid("\\\\server\\share\\x.exe"));
    EXPECT_TRUE(Valid("Q:\\unmapped\\x.exe"));
    EXPECT_TRUE(Valid("C:\\gone;C:\\also\\gone"));
    EXPECT_TRUE(Valid("C:"));
}

TEST_F(ReferenceTest, FoldersWithoutExtensionMustExist) {
    EXPECT_FALSE(Valid("C:\\VantrelRegTest\\OLD\\GONE"));
    platform::ForceFolders("C:\\VantrelRegTest\\OLD\\GONE");
    EXPECT_TRUE(Valid("C:\\VantrelRegTest\\OLD\\GONE"));
    EXPECT_TRUE(Valid("C:\\VantrelRegTest\\OLD\\GONE\\"));
    // The dot belongs to a folder name: still a folder, tested as one.
    EXPECT_FALSE(Valid("C:\\VantrelRegTest\\OLD.DIR\\GONE"));
    platform::ForceFolders("C:\\VantrelRegTest\\OLD.DIR\\GONE");
    EXPECT_TRUE(Valid("C:\\VantrelRegTest\\OLD.DIR\\GONE"));
    // A file is no folder.
    std::string file = Existing("plainfile");
    EXPECT_FALSE(Valid(file));
}

TEST_F(ReferenceTest, FilesNeedTheirFolderAndThenAnEntryOfTheirName) {
    EXPECT_FALSE(Valid("C:\\VantrelRegTest\\GONE\\x.txt"));
    std::string windows = platform::WindowsDirectory();
    EXPECT_FALSE(Valid(windows + "\\vantrel-missing.txt"));
    EXPECT_TRUE(Valid(windows + "\\win.ini"));
    platform::ForceFolders(windows + "\\VANTREL.X");
    EXPECT_TRUE(Valid(windows + "\\VANTREL.X"));
    platform::RemoveFolder(windows + "\\VANTREL.X");
    EXPECT_FALSE(Valid(windows + "\\VANTREL.X"));
    EXPECT_TRUE(Valid(Existing("app.exe")));
    EXPECT_TRUE(Valid("c:\\windows\\WIN.INI"));
}

TEST_F(ReferenceTest, TheCurrentFolderStaysAtTheLastFolderEntered) {
    std::string file = Existing("doc.txt");
    EXPECT_TRUE(Valid(file));
    EXPECT_FALSE(Valid("C:\\VantrelRegTest\\GONE\\x.txt"));
    EXPECT_TRUE(
        platform::SameText(platform::IncludeTrailingBackslash(CurrentFolder()), platform::ExtractFilePath(file)))
        << CurrentFolder();
}

TEST_F(ReferenceTest, CdRomAndNetworkDrivesAreNeverReported) {
    ASSERT_EQ(GetDriveTypeW(L"R:\\"), static_cast<UINT>(DRIVE_CDROM)) << "fixtures.sh sets up R: as a CD-ROM";
    ASSERT_EQ(GetDriveTypeW(L"N:\\"), static_cast<UINT>(DRIVE_REMOTE)) << "fixtures.sh sets up N: as a network drive";
    for (bool exclude : {true, false}) {
        f->cbExclude.setChecked(exclude);
        EXPECT_TRUE(Valid("R:\\SETUP\\GONE.EXE"));
        EXPECT_TRUE(Valid("R:\\GONE"));
        EXPECT_TRUE(Valid("N:\\share\\gone.doc"));
        EXPECT_TRUE(Valid("n:\\gone"));
    }
}

TEST_F(ReferenceTest, PathsLongerThanMaxPathAreJudgedByWhetherTheyExist) {
    std::wstring folder = L"\\\\?\\C:\\VantrelRegTest";
    std::string plain = "C:\\VantrelRegTest";
    for (int i = 0; i < 6; ++i) {
        std::string part = "\\" + std::string(50, static_cast<char>('a' + i));
        folder += platform::Widen(part);
        plain += part;
        ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS);
    }
    ASSERT_GT(plain.size(), static_cast<size_t>(MAX_PATH));
    HANDLE h = CreateFileW((folder + L"\\deep.txt").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    CloseHandle(h);
    EXPECT_TRUE(Valid(plain + "\\deep.txt"));
    EXPECT_TRUE(Valid(plain));
    EXPECT_FALSE(Valid(plain + "\\missing.txt"));
    EXPECT_FALSE(Valid(plain + "\\missing"));
    EXPECT_FALSE(Valid(plain + "\\gone\\deep.txt"));
    // RemoveTree cannot take such paths; remove them here.
    DeleteFileW((folder + L"\\deep.txt").c_str());
    for (int i = 5; i >= 0; --i) {
        RemoveDirectoryW(folder.c_str());
        folder.resize(folder.rfind(L'\\'));
    }
}
