#include "scan/shell_file_op.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include "platform/files.h"
#include "platform/shell.h"
#include "support/fixtures.h"

using scan::TShellFileOp;
using testsupport::ReadText;
using testsupport::TempDir;
using Lines = std::vector<std::string>;

namespace {
// The freedesktop recycle bin that Wine uses, as a Windows path; the harness points
// XDG_DATA_HOME into the suite's folder.
std::string TrashFiles() {
    const char* unix = std::getenv("XDG_DATA_HOME");
    if (!unix || !*unix) return {};
    std::string p = std::string("Z:") + unix + "/Trash/files/";
    std::replace(p.begin(), p.end(), '/', '\\');
    return p;
}

Lines Names(const std::string& folder) {
    Lines out;
    for (const auto& e : platform::ListFolder(folder))
        out.push_back(e.name);
    std::sort(out.begin(), out.end());
    return out;
}

TShellFileOp Shared() {
    TShellFileOp op;
    TShellFileOp::ConfigureSharedInstance(op);
    return op;
}
} // namespace

TEST(ShellFileOp, PathListIsSortedAndIgnoresCaseDuplicates) {
    TShellFileOp op;
    op.AddFile("C:\\b\\File.txt");
    op.AddFile("C:\\A\\x.txt");
    op.AddFile("c:\\B\\FILE.TXT");
    EXPECT_EQ(op.Files(), (Lines{"C:\\A\\x.txt", "C:\\b\\File.txt"}));
    op.ClearOnAdd = true;
    op.AddFile("C:\\z.txt");
    EXPECT_EQ(op.Files(), Lines{"C:\\z.txt"});
}

TEST(ShellFileOp, EmptyListRunsNothing) {
    TShellFileOp op = Shared();
    EXPECT_FALSE(op.Recycle());
    EXPECT_FALSE(op.Delete());
    EXPECT_FALSE(op.Move("C:\\nowhere"));
    EXPECT_EQ(op.LastFlags(), 0u);
    EXPECT_FALSE(platform::FolderExists("C:\\nowhere"));
}

TEST(ShellFileOp, RecycleSendsTheFileToTheRecycleBin) {
    std::string trash = TrashFiles();
    ASSERT_FALSE(trash.empty()) << "XDG_DATA_HOME is not set: run through tests/wine_suite.sh";
    TempDir dir;
    std::string file = dir.write("recycled-once.tmp", "keep me");
    TShellFileOp op = Shared();
    op.AddFile(file);
    EXPECT_FALSE(op.Recycle());
    EXPECT_EQ(op.LastFlags(), 0xD4u);
    EXPECT_EQ(op.LastResult(), 0);
    EXPECT_TRUE(op.Files().empty());
    EXPECT_FALSE(platform::PathExists(file));
    EXPECT_EQ(ReadText(trash + "recycled-once.tmp"), "keep me");
}

TEST(ShellFileOp, DeleteRemovesPermanently) {
    TempDir dir;
    std::string a = dir.write("gone-for-good.tmp", "x"), b = dir.write("also.tmp", "y");
    std::string keep = dir.write("keep.tmp", "z");
    TShellFileOp op = Shared();
    op.AddFile(a);
    op.AddFile(b);
    EXPECT_FALSE(op.Delete());
    EXPECT_EQ(op.LastFlags(), 0x94u);
    EXPECT_EQ(Names(dir.path()), Lines{"keep.tmp"});
    std::string trash = TrashFiles();
    EXPECT_FALSE(platform::PathExists(trash + "gone-for-good.tmp"));
}

TEST(ShellFileOp, MoveNeverOverwritesAndNamesCopiesLikeExplorer) {
    TempDir dir;
    std::string dest = dir.mkdir("dest");
    dir.write("dest\\x.txt", "already there");
    dir.write("dest\\y (2).txt", "taken too");
    dir.write("dest\\y.txt", "old y");
    std::string x = dir.write("a\\x.txt", "moved x");
    std::string y = dir.write("a\\y.txt", "moved y");
    std::string otherX = dir.write("b\\X.TXT", "second x");
    std::string z = dir.write("a\\z", "no extension");
    dir.write("dest\\z", "old z");
    TShellFileOp op = Shared();
    for (const auto& p : {x, y, otherX, z})
        op.AddFile(p);
    EXPECT_FALSE(op.Move(platform::ExcludeTrailingBackslash(dest)));
    EXPECT_EQ(op.LastResult(), 0);
    EXPECT_EQ(op.LastFlags(), 0x9Cu | FOF_MULTIDESTFILES); // each target named in full
    EXPECT_TRUE(op.Files().empty());
    EXPECT_EQ(ReadText(dest + "x.txt"), "already there");
    EXPECT_EQ(ReadText(dest + "y.txt"), "old y");
    EXPECT_EQ(ReadText(dest + "y (2).txt"), "taken too");
    EXPECT_EQ(ReadText(dest + "y (3).txt"), "moved y");
    EXPECT_EQ(ReadText(dest + "z"), "old z");
    EXPECT_EQ(ReadText(dest + "z (2)"), "no extension");
    // The two x files arrive in path order: a\x.txt first, then b\X.TXT.
    EXPECT_EQ(ReadText(dest + "x (2).txt"), "moved x");
    EXPECT_EQ(ReadText(dest + "X (3).TXT"), "second x");
    EXPECT_TRUE(Names(dir.path() + "a").empty());
    EXPECT_TRUE(Names(dir.path() + "b").empty());
}

TEST(ShellFileOp, MoveIntoAMissingFolderMakesTheFolder) {
    TempDir dir;
    std::string file = dir.write("only.tmp", "one file");
    TShellFileOp op = Shared(); // no AutoMakeDir, but every question is answered Yes
    op.AddFile(file);
    EXPECT_FALSE(op.Move(dir.path() + "new\\deeper"));
    EXPECT_TRUE(platform::FolderExists(dir.path() + "new\\deeper"));
    EXPECT_EQ(ReadText(dir.path() + "new\\deeper\\only.tmp"), "one file");
    EXPECT_FALSE(platform::PathExists(file));
}

TEST(ShellFileOp, MoveOfAWildcardTakesFilesOnlyWhenAsked) {
    TempDir dir;
    dir.write("src\\one.log", "1");
    dir.write("src\\two.log", "2");
    dir.write("src\\three.txt", "3");
    dir.write("src\\sub.log\\inner.txt", "i");
    std::string dest = dir.mkdir("dest");
    dir.write("dest\\one.log", "old");
    TShellFileOp op = Shared();
    op.AddFile(dir.path() + "src\\*.log");
    EXPECT_FALSE(op.Move(dest));
    EXPECT_EQ(Names(dest), (Lines{"one (2).log", "one.log", "two.log"}));
    EXPECT_EQ(Names(dir.path() + "src"), (Lines{"sub.log", "three.txt"}));
}

TEST(ShellFileOp, MovingAFileIntoItsOwnFolderLeavesIt) {
    TempDir dir;
    std::string file = dir.write("stay.txt", "here");
    TShellFileOp op = Shared();
    op.AddFile(file);
    EXPECT_FALSE(op.Move(dir.path()));
    EXPECT_EQ(Names(dir.path()), Lines{"stay.txt"});
}

TEST(ShellFileOp, PathsThatDifferInMoreThanCaseAreDifferentFiles) {
    TShellFileOp op;
    op.AddFile("C:\\x\\strasse.txt");
    op.AddFile("C:\\x\\stra\xC3\x9F"
               "e.txt");
    op.AddFile("C:\\X\\STRASSE.TXT");
    EXPECT_EQ(op.Files().size(), 2u);
}
