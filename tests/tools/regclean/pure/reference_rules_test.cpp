#include "tools/regclean/pure/reference_rules.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <vector>

using namespace tools::regclean;

namespace {
// A file system in memory: drive types by upper-case letter, folders and files by exact path.
struct FakeProbe : PathProbe {
    std::map<char, DriveType> drives{
        {'C', DriveType::Fixed}, {'D', DriveType::CdRom}, {'N', DriveType::Remote}, {'A', DriveType::Removable}};
    std::set<std::string> folders{"C:\\", "C:\\WINDOWS\\", "C:\\WINDOWS\\SYSTEM.X\\", "C:\\OLD\\"};
    std::set<std::string> files{"C:\\WINDOWS\\win.ini"};
    std::vector<std::string> calls;
    std::string current;

    DriveType driveType(std::string_view root) override {
        calls.push_back("drive " + std::string(root));
        char letter = static_cast<char>(toupper(static_cast<unsigned char>(root[0])));
        auto it = drives.find(letter);
        return it == drives.end() ? DriveType::NoRootDir : it->second;
    }
    bool enterFolder(std::string_view folder) override {
        calls.push_back("enter " + std::string(folder));
        if (!folders.count(std::string(folder))) return false;
        current = folder;
        return true;
    }
    bool pathExists(std::string_view path) override {
        calls.push_back("exists " + std::string(path));
        std::string p(path);
        return files.count(p) || folders.count(p) || folders.count(p + "\\");
    }
    bool fileExists(std::string_view path) override {
        calls.push_back("file " + std::string(path));
        return files.count(std::string(path)) > 0;
    }
};
} // namespace

TEST(ReferenceRules, TextsThatCannotBeLocalPathsAreValidWithoutTouchingTheDisk) {
    FakeProbe p;
    for (const char* s : {"", "C:", "%SystemRoot%\\system32\\x.dll", "A:\\SETUP.EXE", "B:\\gone.txt",
                          "\\\\server\\share\\x.exe", "1:\\x.txt", "C:\\Program Files\\App\\app.exe", "C:\\a;b\\x.txt",
                          "C:\\a,b", "C:/gone/x.txt", "Cx\\gone", "hello world", "C:gone.txt"}) {
        EXPECT_TRUE(IsValidReference(s, true, p)) << s;
        EXPECT_TRUE(IsValidReference(s, false, p)) << s;
    }
    for (const auto& c : p.calls)
        EXPECT_EQ(c.rfind("enter", 0), std::string::npos) << c;
}

TEST(ReferenceRules, NonFixedDrivesAreValidWhateverTheExclusion) {
    FakeProbe p;
    EXPECT_TRUE(IsValidReference("D:\\SETUP\\GONE.EXE", true, p));
    EXPECT_TRUE(IsValidReference("D:\\SETUP\\GONE.EXE", false, p));
    EXPECT_TRUE(IsValidReference("n:\\share\\gone", false, p));
    EXPECT_TRUE(IsValidReference("Q:\\no\\such\\drive.txt", false, p));
    for (const auto& c : p.calls)
        EXPECT_EQ(c.rfind("enter", 0), std::string::npos) << c;
}

TEST(ReferenceRules, TheDriveLetterIsUpperCasedForTheRangeButAskedAsWritten) {
    FakeProbe p;
    EXPECT_FALSE(IsValidReference("c:\\gone\\x.txt", false, p));
    ASSERT_FALSE(p.calls.empty());
    EXPECT_EQ(p.calls.front(), "drive c:\\");
}

TEST(ReferenceRules, PathsWithoutExtensionAreFoldersThatMustBeEntered) {
    FakeProbe p;
    EXPECT_FALSE(IsValidReference("C:\\OLD\\GONE", true, p));
    EXPECT_EQ(p.calls.back(), "enter C:\\OLD\\GONE\\");
    EXPECT_TRUE(IsValidReference("C:\\OLD", true, p));
    EXPECT_EQ(p.calls.back(), "enter C:\\OLD\\");
    EXPECT_TRUE(IsValidReference("C:\\OLD\\", true, p));
    EXPECT_EQ(p.calls.back(), "enter C:\\OLD\\");
    // The dot in a folder name is no extension.
    EXPECT_FALSE(IsValidReference("C:\\OLD.DIR\\GONE", true, p));
    EXPECT_EQ(p.calls.back(), "enter C:\\OLD.DIR\\GONE\\");
}

TEST(ReferenceRules, PathsWithExtensionNeedTheirFolderThenTheirOwnEntry) {
    FakeProbe p;
    EXPECT_FALSE(IsValidReference("C:\\GONE\\x.txt", true, p));
    EXPECT_EQ(p.calls.back(), "enter C:\\GONE\\");
    EXPECT_FALSE(IsValidReference("C:\\WINDOWS\\x.txt", true, p));
    EXPECT_EQ(p.calls.back(), "exists C:\\WINDOWS\\x.txt");
    EXPECT_TRUE(IsValidReference("C:\\WINDOWS\\win.ini", true, p));
    // A folder with a dotted name satisfies the existence test.
    EXPECT_TRUE(IsValidReference("C:\\WINDOWS\\SYSTEM.X", true, p));
    EXPECT_TRUE(IsValidReference("C:\\WINDOWS\\", true, p));
}

TEST(ReferenceRules, TheCurrentFolderIsLeftAtTheLastFolderEntered) {
    FakeProbe p;
    IsValidReference("C:\\WINDOWS\\win.ini", true, p);
    IsValidReference("C:\\GONE\\x.txt", true, p);
    EXPECT_EQ(p.current, "C:\\WINDOWS\\");
}

TEST(SharedDllRules, MissingFilesAreReportedWithoutTheTextRules) {
    FakeProbe p;
    EXPECT_TRUE(SharedDllMissing("A:\\GONE.DLL", true, p));
    EXPECT_TRUE(SharedDllMissing("C:\\Program Files\\Gone\\x.dll", true, p));
    EXPECT_TRUE(SharedDllMissing("gone.dll", true, p));
    EXPECT_TRUE(SharedDllMissing("C:\\WINDOWS", true, p)); // a folder is no file
    EXPECT_FALSE(SharedDllMissing("C:\\WINDOWS\\win.ini", true, p));
}

TEST(SharedDllRules, TheExclusionSkipsCdRomAndNetworkPaths) {
    FakeProbe p;
    EXPECT_FALSE(SharedDllMissing("D:\\gone.dll", true, p));
    EXPECT_FALSE(SharedDllMissing("n:\\gone.dll", true, p));
    EXPECT_FALSE(SharedDllMissing("\\\\server\\share\\gone.dll", true, p));
    EXPECT_TRUE(SharedDllMissing("D:\\gone.dll", false, p));
    EXPECT_TRUE(SharedDllMissing("n:\\gone.dll", false, p));
    EXPECT_TRUE(SharedDllMissing("\\\\server\\share\\gone.dll", false, p));
}

TEST(PathPieces, DriveRootExtensionAndFolder) {
    EXPECT_EQ(DriveRootOf("c:\\x"), "c:\\");
    EXPECT_EQ(DriveRootOf("c"), "");
    EXPECT_EQ(DriveRootOf("\\\\server"), "");
    EXPECT_TRUE(HasExtension("C:\\a\\b.c"));
    EXPECT_TRUE(HasExtension("C:\\a\\b."));
    EXPECT_FALSE(HasExtension("C:\\a.b\\c"));
    EXPECT_FALSE(HasExtension("C:\\a.b\\"));
    EXPECT_EQ(FolderPart("C:\\a\\b.c"), "C:\\a\\");
    EXPECT_EQ(FolderPart("b.c"), "");
}
