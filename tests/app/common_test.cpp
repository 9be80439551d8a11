#include "app/common.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "app/pure/format.h"
#include "platform/error.h"
#include "platform/files.h"
#include "platform/os.h"
#include "platform/registry.h"
#include "platform/shell.h"
#include "platform/strings.h"
#include "platform/window.h"
#include "support/fixtures.h"
#include "support/scripted_dialogs.h"

using testsupport::ScriptedDialogs;
using testsupport::TempDir;

namespace {

constexpr const char* kShellFolders = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
constexpr const char* kList = "\\Software\\Quorvel\\Vantrel\\junk\\folders";
constexpr const char* kListDesc = "\\Software\\Quorvel\\Vantrel\\junk\\folders\\Desc";

platform::RegKey Key(std::string_view path) {
    auto k = platform::RegKey::Open(HKEY_CURRENT_USER, path);
    if (!k) throw std::runtime_error("missing key " + std::string(path));
    return std::move(*k);
}

FILETIME UtcFileTime(int year, int month, int day, int hour, int minute, int second) {
    SYSTEMTIME st{};
    st.wYear = static_cast<WORD>(year);
    st.wMonth = static_cast<WORD>(month);
    st.wDay = static_cast<WORD>(day);
    st.wHour = static_cast<WORD>(hour);
    st.wMinute = static_cast<WORD>(minute);
    st.wSecond = static_cast<WORD>(second);
    FILETIME ft{};
    SystemTimeToFileTime(&st, &ft);
    return ft;
}

FILETIME AccessTimeOf(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA d{};
    GetFileAttributesExW(platform::Widen(path).c_str(), GetFileExInfoStandard, &d);
    return d.ftLastAccessTime;
}

void SetAccessTime(const std::string& path, const FILETIME& ft) {
    platform::UniqueFile f(CreateFileW(platform::Widen(path).c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, nullptr,
                                       OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(f);
    ASSERT_TRUE(SetFileTime(f.get(), nullptr, &ft, nullptr));
}

uint64_t Ticks(const FILETIME& ft) {
    return (static_cast<uint64_t>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
}

// A Unix path of the environment as the Windows program sees it, through drive Z:.
std::string UnixToWindows(const char* unixPath) {
    std::string p = "Z:";
    for (const char* c = unixPath; *c; ++c)
        p += *c == '/' ? '\\' : *c;
    return p;
}

// A window holding one checked folder list with its description column.
class TfrmListTest : public platform::Form {
public:
    TfrmListTest() : Form("TfrmListTest") {}
    platform::ListView lvFolders;

protected:
    void buildWindow(HWND owner) override {
        createWindow({"List test", 420, 300}, owner);
        addListView(lvFolders, "lvFolders", {5, 5, 410, 290}, nullptr, true);
        lvFolders.addColumn("Folder", 220);
        lvFolders.addColumn("Description", 180);
    }
};

struct FolderListTest : testing::Test {
    void SetUp() override {
        testsupport::ClearProductKey();
        form.create();
    }
    void TearDown() override { testsupport::ClearProductKey(); }
    platform::ListView& list() { return form.lvFolders; }
    int addRow(const std::string& caption, const std::string& desc, bool checked) {
        int row = list().addRow(caption, {desc});
        list().setChecked(row, checked);
        return row;
    }
    TfrmListTest form;
};

} // namespace

// ---- folders and paths ----

TEST(FoldersAndPaths, TempAndWindowsFoldersComeFromTheSystem) {
    const std::string temp = app::GetTempDir();
    EXPECT_EQ(temp, platform::TempPath());
    EXPECT_EQ(temp.back(), '\\');
    EXPECT_TRUE(platform::FolderExists(temp));
    const std::string win = app::GetWinDir();
    EXPECT_NE(win.back(), '\\');
    EXPECT_TRUE(platform::SameText(win, "C:\\windows")) << win;
}

TEST(FoldersAndPaths, StartUpFolderIsReadFromShellFoldersWithoutCreatingIt) {
    auto key = platform::RegKey::Create(HKEY_CURRENT_USER, kShellFolders);
    auto saved = key.readValue("StartUp");
    key.writeString("StartUp", "C:\\Users\\Test\\Start Menu\\Programs\\StartUp");
    EXPECT_EQ(app::GetStartUpDir(), "C:\\Users\\Test\\Start Menu\\Programs\\StartUp");
    key.deleteValue("StartUp");
    EXPECT_EQ(app::GetStartUpDir(), "");

    // Without the key: empty, and the key is not made.
    auto values = key.values();
    platform::DeleteKeyTree(HKEY_CURRENT_USER, kShellFolders);
    EXPECT_EQ(app::GetStartUpDir(), "");
    EXPECT_FALSE(platform::KeyExists(HKEY_CURRENT_USER, kShellFolders));
    auto again = platform::RegKey::Create(HKEY_CURRENT_USER, kShellFolders);
    for (const auto& v : values)
        again.writeRaw(v.name, v.type, v.data);
    if (saved) again.writeRaw("StartUp", saved->type, saved->data);
}

TEST(FoldersAndPaths, EnvironmentVariablesAreExpandedInFull) {
    SetEnvironmentVariableW(L"VT_SHORT", L"abc");
    EXPECT_EQ(app::ExpandEnvVars("x%VT_SHORT%y"), "xabcy");
    EXPECT_EQ(app::ExpandEnvVars("%VT_NO_SUCH_VARIABLE%\\a"), "%VT_NO_SUCH_VARIABLE%\\a");
    EXPECT_EQ(app::ExpandEnvVars(""), "");
    const std::wstring longValue(300, L'q');
    SetEnvironmentVariableW(L"VT_LONG", longValue.c_str());
    const std::string expanded = app::ExpandEnvVars("C:\\%VT_LONG%\\end");
    EXPECT_EQ(expanded.size(), 3u + 300u + 4u);
    EXPECT_EQ(expanded, "C:\\" + std::string(300, 'q') + "\\end");
    SetEnvironmentVariableW(L"VT_SHORT", nullptr);
    SetEnvironmentVariableW(L"VT_LONG", nullptr);
}

TEST(FoldersAndPaths, ShortPathGivesThe83FormOrThePathUnchanged) {
    TempDir dir;
    const std::string file = dir.write("A rather long file name.text", "x");
    const std::string shortName = app::ShortPath(file);
    EXPECT_EQ(shortName.find(' '), std::string::npos) << shortName;
    EXPECT_NE(shortName, file);
    EXPECT_TRUE(platform::FileExists(shortName));
    auto longAgain = platform::LongPathName(shortName);
    ASSERT_TRUE(longAgain);
    EXPECT_TRUE(platform::SameText(*longAgain, file)) << *longAgain;

    const std::string missing = dir.file("No such folder\\nor file.txt");
    EXPECT_EQ(app::ShortPath(missing), missing);
}

TEST(FoldersAndPaths, FixedDrivesFreeCountsTheFixedDrivesCToYOnly) {
    auto freeOf = [](char letter) -> int64_t {
        const std::string root = std::string(1, letter) + ":\\";
        ULARGE_INTEGER avail{}, total{}, freeAll{};
        if (!GetDiskFreeSpaceExW(platform::Widen(root).c_str(), &avail, &total, &freeAll)) return -1;
        return static_cast<int64_t>(freeAll.QuadPart);
    };
    auto sumCToY = [&] {
        int64_t sum = 0;
        for (char c = 'C'; c <= 'Y'; ++c)
            if (GetDriveTypeW(platform::Widen(std::string(1, c) + ":\\").c_str()) == DRIVE_FIXED) sum += freeOf(c);
        return sum;
    };
    ASSERT_EQ(GetDriveTypeW(L"C:\\"), static_cast<UINT>(DRIVE_FIXED));
    // Other programs write to the same disks meanwhile: measure around the call.
    const int64_t before = sumCToY();
    const int64_t result = app::FixedDrivesFree();
    const int64_t after = sumCToY();
    const int64_t slack = 256ll << 20;
    EXPECT_GE(result, std::min(before, after) - slack);
    EXPECT_LE(result, std::max(before, after) + slack);
    // Far beyond the 32-bit range on any disk of today.
    EXPECT_GT(result, 0);

    // Wine's Z: (the Unix root) is a fixed drive too, and is left out.
    if (GetDriveTypeW(L"Z:\\") == DRIVE_FIXED && freeOf('Z') > 4 * slack)
        EXPECT_LT(result, std::min(before, after) + freeOf('Z') - slack);
    else
        ADD_FAILURE() << "this prefix has no fixed drive Z: to leave out";
}

// ---- files and folders ----

TEST(FilesAndFolders, FileInUseWhenHeldWithoutSharingOrReadOnly) {
    TempDir dir;
    const std::string file = dir.write("data.bin", "12345");
    EXPECT_FALSE(app::FileInUse(file));
    {
        platform::UniqueFile held(
            CreateFileW(platform::Widen(file).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(held);
        EXPECT_TRUE(app::FileInUse(file));
    }
    {
        // Readers that share everything still keep a writer without sharing out.
        platform::UniqueFile shared(CreateFileW(platform::Widen(file).c_str(), GENERIC_READ,
                                                FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                                                nullptr));
        ASSERT_TRUE(shared);
        EXPECT_TRUE(app::FileInUse(file));
    }
    EXPECT_FALSE(app::FileInUse(file));
    EXPECT_EQ(platform::ReadFileBytes(file), "12345");

    const std::string readOnly = dir.write("locked.txt", "r");
    ASSERT_TRUE(platform::SetAttributes(readOnly, FILE_ATTRIBUTE_READONLY));
    EXPECT_TRUE(app::FileInUse(readOnly));
    platform::SetAttributes(readOnly, FILE_ATTRIBUTE_NORMAL);
    EXPECT_FALSE(app::FileInUse(readOnly));
    EXPECT_TRUE(app::FileInUse(dir.file("missing.txt")));
}

TEST(FilesAndFolders, FolderIsEmptyOnlyWithNothingButDotEntries) {
    TempDir dir;
    const std::string empty = dir.mkdir("empty");
    EXPECT_TRUE(app::FolderIsEmpty(empty));
    EXPECT_TRUE(app::FolderIsEmpty(platform::ExcludeTrailingBackslash(empty)));

    const std::string oneFile = dir.mkdir("one file");
    dir.write("one file\\a.txt", "a");
    EXPECT_FALSE(app::FolderIsEmpty(oneFile));

    const std::string noDot = dir.mkdir("nodot");
    dir.write("nodot\\README", "");
    EXPECT_FALSE(app::FolderIsEmpty(noDot));

    const std::string sub = dir.mkdir("sub");
    dir.mkdir("sub\\inner");
    EXPECT_FALSE(app::FolderIsEmpty(sub));

    const std::string hidden = dir.mkdir("hidden");
    const std::string h = dir.write("hidden\\h.dat", "");
    platform::SetAttributes(h, FILE_ATTRIBUTE_HIDDEN);
    EXPECT_FALSE(app::FolderIsEmpty(hidden));

    // A drive root has no "." entry; its first entry counts like any other.
    EXPECT_FALSE(app::FolderIsEmpty("C:\\"));
    // Nothing to enumerate counts as empty.
    EXPECT_TRUE(app::FolderIsEmpty(dir.file("missing\\")));
}

TEST(FilesAndFolders, GetLastAccessReadsTheAccessTimeAndLeavesItAsItWas) {
    TempDir dir;
    const std::string file = dir.write("old.log", "content");
    const FILETIME set = UtcFileTime(2001, 2, 3, 4, 5, 6);
    SetAccessTime(file, set);

    FILETIME local{};
    ASSERT_TRUE(FileTimeToLocalFileTime(&set, &local));
    SYSTEMTIME st{};
    ASSERT_TRUE(FileTimeToSystemTime(&local, &st));
    const double expected = textfmt::EncodeDateTime(st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond);

    EXPECT_NEAR(app::GetLastAccess(file), expected, 1.0 / 86400 / 10);
    EXPECT_EQ(Ticks(AccessTimeOf(file)), Ticks(set));
    EXPECT_NEAR(app::GetLastAccess(file), expected, 1.0 / 86400 / 10);
    EXPECT_EQ(Ticks(AccessTimeOf(file)), Ticks(set));

    // A read-only file is looked at as well, rather than reported as never accessed.
    const std::string readOnly = dir.write("ro.log", "x");
    SetAccessTime(readOnly, set);
    platform::SetAttributes(readOnly, FILE_ATTRIBUTE_READONLY);
    EXPECT_NEAR(app::GetLastAccess(readOnly), expected, 1.0 / 86400 / 10);
    EXPECT_EQ(Ticks(AccessTimeOf(readOnly)), Ticks(set));
    platform::SetAttributes(readOnly, FILE_ATTRIBUTE_NORMAL);

    EXPECT_EQ(app::GetLastAccess(dir.file("missing.log")), 0.0);
}

TEST(FilesAndFolders, DeleteFolderContentsEmptiesTheFolderAndKeepsIt) {
    TempDir dir;
    EXPECT_FALSE(app::DeleteFolderContents(dir.file("missing"), false));
    EXPECT_FALSE(app::DeleteFolderContents("", false));

    const std::string cache = dir.mkdir("Cache");
    dir.write("Cache\\index.dat", "1234");
    dir.write("Cache\\noext", "1");
    dir.write("Cache\\deep\\deeper\\page.htm", "<html>");
    const std::string hidden = dir.write("Cache\\desktop.ini", "[x]");
    platform::SetAttributes(hidden, FILE_ATTRIBUTE_HIDDEN);
    dir.write("Sibling.txt", "stays");

    EXPECT_TRUE(app::DeleteFolderContents(platform::ExcludeTrailingBackslash(cache), false));
    EXPECT_TRUE(platform::FolderExists(cache));
    EXPECT_TRUE(platform::ListFolder(cache).empty());
    EXPECT_TRUE(platform::FileExists(dir.file("Sibling.txt")));

    // An empty folder stays, whatever the shell says about finding nothing to delete.
    app::DeleteFolderContents(cache, false);
    EXPECT_TRUE(platform::FolderExists(cache));

    // The same with a trailing backslash.
    dir.write("Cache\\again.txt", "a");
    EXPECT_TRUE(app::DeleteFolderContents(cache, false));
    EXPECT_TRUE(platform::ListFolder(cache).empty());
}

TEST(FilesAndFolders, DeleteFolderContentsCanSendTheContentsToTheRecycleBin) {
    const char* dataHome = std::getenv("XDG_DATA_HOME");
    ASSERT_NE(dataHome, nullptr) << "the suite points XDG_DATA_HOME into its own folder";
    const std::string trash = UnixToWindows(dataHome) + "\\Trash\\files\\";
    TempDir dir;
    const std::string history = dir.mkdir("History");
    dir.write("History\\vt-recycled-visit.dat", "visit");
    dir.write("History\\vt-recycled-day\\today.dat", "today");
    EXPECT_TRUE(app::DeleteFolderContents(history, true));
    EXPECT_TRUE(platform::FolderExists(history));
    EXPECT_TRUE(platform::ListFolder(history).empty());
    EXPECT_EQ(testsupport::ReadText(trash + "vt-recycled-visit.dat"), "visit");
    EXPECT_EQ(testsupport::ReadText(trash + "vt-recycled-day\\today.dat"), "today");
}

TEST(FilesAndFolders, DeleteFolderContentsRefusesAFolderTooLongForItsPattern) {
    TempDir dir;
    // folder + "\*.*" and two closing zeros must fit in 128 characters.
    const size_t fits = 128 - 2 - 4 - dir.path().size();
    const std::string justFits = dir.mkdir(std::string(fits, 'a'));
    dir.write(std::string(fits, 'a') + "\\f.txt", "f");
    const std::string tooLong = dir.mkdir(std::string(fits + 1, 'b'));
    const std::string kept = dir.write(std::string(fits + 1, 'b') + "\\f.txt", "f");
    ASSERT_EQ(platform::ExcludeTrailingBackslash(justFits).size() + 4 + 2, 128u);

    EXPECT_FALSE(app::DeleteFolderContents(tooLong, false));
    EXPECT_TRUE(platform::FileExists(kept));
    EXPECT_TRUE(app::DeleteFolderContents(justFits, false));
    EXPECT_TRUE(platform::ListFolder(justFits).empty());
}

// ---- shortcuts ----

TEST(Shortcuts, WrittenFieldsAreReadBack) {
    TempDir dir;
    const std::string target = dir.write("Program Files\\Tool Suite\\Long Tool Name.exe", "MZ");
    const std::string workDir = dir.mkdir("Work Folder");
    const std::string link = dir.file("Tool.lnk");
    {
        platform::ShellLink fresh;
        fresh.setPath(dir.write("first.txt", "1"));
        fresh.save(link, true);
    }
    app::ShortcutInfo info;
    info.Path = target;
    info.Arguments = "/quiet \"C:\\some file.txt\"";
    info.Description = "Runs the tool";
    info.WorkingDirectory = platform::ExcludeTrailingBackslash(workDir);
    info.IconLocation = target;
    info.IconIndex = 3;
    info.ShowCmd = SW_SHOWMAXIMIZED;
    info.HotKey = MAKEWORD('K', HOTKEYF_CONTROL | HOTKEYF_ALT);
    app::WriteShortcut(link, info);

    const app::ShortcutInfo back = app::ReadShortcut(link);
    // The target comes back in its short form (Wine gives the long one); both name the same file.
    auto longTarget = platform::LongPathName(back.Path);
    ASSERT_TRUE(longTarget) << back.Path;
    EXPECT_TRUE(platform::SameText(*longTarget, target)) << back.Path;
    EXPECT_EQ(back.Arguments, info.Arguments);
    EXPECT_EQ(back.Description, info.Description);
    EXPECT_EQ(back.WorkingDirectory, info.WorkingDirectory);
    EXPECT_EQ(back.IconLocation, info.IconLocation);
    EXPECT_EQ(back.IconIndex, 3);
    EXPECT_EQ(back.HotKey, info.HotKey);
    // Wine's link object reports 1 as the show command of any loaded link, so that field is not compared.
}

TEST(Shortcuts, UnreadableOrMissingShortcutsRaiseErrors) {
    TempDir dir;
    const std::string garbage = dir.write("broken.lnk", "\x01\x02 garbage, not a shell link \xff\xfe");
    EXPECT_THROW(app::ReadShortcut(garbage), platform::Win32Error);
    app::ShortcutInfo info;
    info.Path = "C:\\windows\\notepad.exe";
    EXPECT_THROW(app::WriteShortcut(garbage, info), platform::Win32Error);
    EXPECT_THROW(app::ReadShortcut(dir.file("missing.lnk")), platform::Win32Error);
    EXPECT_THROW(app::WriteShortcut(dir.file("missing.lnk"), info), platform::Win32Error);
    EXPECT_FALSE(platform::FileExists(dir.file("missing.lnk")));
}

// ---- validation and access rights ----

TEST(Validation, NamesWithReservedCharactersAreRefusedWithTheCharacterList) {
    const std::string prefix = "You may not use the following characters in this type of entry's description";
    const std::string expected = prefix + ": \\ / : * ? \" < > |";
    ScriptedDialogs dialogs;
    EXPECT_TRUE(app::ValidChars("Temporary files (old).tmp", prefix));
    for (const char* bad : {"a/b", "say \"hi\"", "c:", "x*y", "what?", "a<b>", "pipe|", "back\\slash"}) {
        dialogs.expectMessage(expected);
        EXPECT_FALSE(app::ValidChars(bad, prefix)) << bad;
        ASSERT_FALSE(dialogs.asked().empty());
        EXPECT_EQ(dialogs.asked().back().text, expected);
    }
    EXPECT_EQ(dialogs.asked().size(), 8u);
}

TEST(AccessRights, IsAdminFollowsThePlatformAndTheToken) {
    struct Restore {
        ~Restore() { platform::OverrideOs(std::nullopt); }
    } restore;
    platform::OverrideOs(platform::OsFacts{platform::OsPlatform::Win9x, false});
    EXPECT_TRUE(app::IsAdmin());
    platform::OverrideOs(platform::OsFacts{platform::OsPlatform::NT, false});
    EXPECT_FALSE(app::IsAdmin());
    platform::OverrideOs(platform::OsFacts{platform::OsPlatform::NT, true});
    EXPECT_TRUE(app::IsAdmin());
    // Without an override: the real token, which holds Administrators under Wine.
    platform::OverrideOs(std::nullopt);
    EXPECT_EQ(app::IsAdmin(), platform::RealTokenIsAdmin());
}

TEST(AccessRights, RegistryErrorMessage) {
    ScriptedDialogs dialogs;
    dialogs.expectMessage("unable to access the System Registry");
    app::ShowRegistryError();
    ASSERT_EQ(dialogs.asked().size(), 1u);
    EXPECT_EQ(
        dialogs.asked()[0].text,
        "Vantrel was unable to access the System Registry.\r\n\r\nIf you are running under Windows NT you must be "
        "logged in as an \"Administrator\" in order to access this function.");
}

// ---- list views ----

TEST_F(FolderListTest, CheckAllAndDeleteSelected) {
    addRow("A\\", "", false);
    addRow("B\\", "", true);
    addRow("C\\", "", false);
    addRow("D\\", "", false);
    app::CheckAllItems(true, list());
    for (int i = 0; i < 4; ++i)
        EXPECT_TRUE(list().checked(i));
    app::CheckAllItems(false, list());
    for (int i = 0; i < 4; ++i)
        EXPECT_FALSE(list().checked(i));

    app::DeleteSelectedItem(list()); // nothing selected: nothing happens
    EXPECT_EQ(list().rowCount(), 4);

    list().setSelected(2, true);
    app::DeleteSelectedItem(list());
    ASSERT_EQ(list().rowCount(), 3);
    EXPECT_EQ(list().text(2), "D\\");
    EXPECT_EQ(list().selectedRows(), std::vector<int>{1});
    EXPECT_EQ(list().focusedIndex(), 1);

    list().setSelected(1, false);
    list().setSelected(0, true);
    app::DeleteSelectedItem(list());
    ASSERT_EQ(list().rowCount(), 2);
    EXPECT_EQ(list().text(0), "B\\");
    EXPECT_EQ(list().selectedRows(), std::vector<int>{0});
    EXPECT_EQ(list().focusedIndex(), 0);

    app::DeleteSelectedItem(list());
    app::DeleteSelectedItem(list());
    EXPECT_EQ(list().rowCount(), 0);
}

TEST_F(FolderListTest, CompareColumnIsOrdinalAndCaseSensitive) {
    addRow("beta", "Xray", true);
    addRow("alpha", "xray", true);
    addRow("alpha", "xray", true);
    EXPECT_EQ(app::CompareColumn(list(), 0, 1, 0), 1);
    EXPECT_EQ(app::CompareColumn(list(), 1, 0, 0), -1);
    EXPECT_EQ(app::CompareColumn(list(), 1, 2, 0), 0);
    EXPECT_EQ(app::CompareColumn(list(), 0, 1, 1), -1); // 'X' before 'x'
    EXPECT_EQ(app::CompareColumn(list(), 1, 0, 1), 1);
    EXPECT_EQ(app::CompareColumn(list(), 0, 1, 5), 0); // no such column
}

TEST_F(FolderListTest, SaveWritesOneFlagAndOneDescriptionPerRow) {
    addRow("C:\\Temp\\", "Temporary files", true);
    addRow("*.bak", "", false);
    app::SaveFolderList(list(), kList);
    auto flags = Key(kList);
    EXPECT_EQ(flags.valueCount(), 2u);
    EXPECT_EQ(flags.valueType("C:\\Temp\\"), static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(flags.readInt("C:\\Temp\\"), 1);
    EXPECT_EQ(flags.readInt("*.bak"), 0);
    auto descs = Key(kListDesc);
    EXPECT_EQ(descs.readString("C:\\Temp\\"), "Temporary files");
    EXPECT_EQ(descs.readString("*.bak"), " ");
    EXPECT_EQ(flags.subkeyNames(), std::vector<std::string>{"Desc"});
}

TEST_F(FolderListTest, ARemovedRowIsGoneFromBothKeys) {
    addRow("C:\\One\\", "first", true);
    addRow("C:\\Two\\", "second", true);
    addRow("C:\\Three\\", "third", false);
    app::SaveFolderList(list(), kList);
    list().setSelected(1, true);
    app::DeleteSelectedItem(list());
    app::SaveFolderList(list(), kList);
    EXPECT_FALSE(Key(kList).hasValue("C:\\Two\\"));
    EXPECT_FALSE(Key(kListDesc).hasValue("C:\\Two\\"));
    EXPECT_EQ(Key(kList).valueCount(), 2u);
    EXPECT_EQ(Key(kListDesc).valueCount(), 2u);
}

TEST_F(FolderListTest, SavingAnEmptyListLeavesEmptyKeys) {
    addRow("C:\\Old\\", "old", true);
    app::SaveFolderList(list(), kList);
    list().clear();
    app::SaveFolderList(list(), kList);
    EXPECT_EQ(Key(kList).valueCount(), 0u);
    EXPECT_EQ(Key(kListDesc).valueCount(), 0u);
    EXPECT_EQ(Key(kList).subkeyCount(), 1u);
}

TEST_F(FolderListTest, LoadWithoutAStoredListKeepsAndChecksThePredefinedRows) {
    addRow("C:\\Windows\\Temp\\", "Windows temporary files", false);
    addRow("*.chk", "", true);
    app::LoadFolderList(list(), kList);
    ASSERT_EQ(list().rowCount(), 2);
    EXPECT_EQ(list().text(0), "C:\\Windows\\Temp\\");
    EXPECT_EQ(list().text(0, 1), "Windows temporary files");
    EXPECT_TRUE(list().checked(0));
    EXPECT_TRUE(list().checked(1));
    EXPECT_FALSE(platform::KeyExists(HKEY_CURRENT_USER, kList));
}

TEST_F(FolderListTest, LoadReplacesTheRowsWithTheStoredOnesAndTheirIcons) {
    addRow("C:\\Predefined\\", "goes away", true);
    {
        auto flags = platform::RegKey::Create(HKEY_CURRENT_USER, kList);
        flags.writeInt("C:\\Data\\Cache\\", 1);
        flags.writeInt("*.old", 0);
        auto descs = platform::RegKey::Create(HKEY_CURRENT_USER, kListDesc);
        descs.writeString("C:\\Data\\Cache\\", "Browser cache");
        descs.writeString("*.old", " ");
    }
    app::LoadFolderList(list(), kList);
    ASSERT_EQ(list().rowCount(), 2);
    int cache = list().text(0) == "*.old" ? 1 : 0, old = 1 - cache;
    EXPECT_EQ(list().text(cache), "C:\\Data\\Cache\\");
    EXPECT_EQ(list().text(cache, 1), "Browser cache");
    EXPECT_TRUE(list().checked(cache));
    EXPECT_EQ(list().text(old), "*.old");
    EXPECT_EQ(list().text(old, 1), " ");
    EXPECT_FALSE(list().checked(old));

    auto folderIcon = platform::GetShellFileInfo("folder", FILE_ATTRIBUTE_DIRECTORY, true);
    auto fileIcon = platform::GetShellFileInfo("file", FILE_ATTRIBUTE_NORMAL, true);
    ASSERT_TRUE(folderIcon && fileIcon);
    EXPECT_NE(folderIcon->iconIndex, fileIcon->iconIndex);
    EXPECT_EQ(list().image(cache), folderIcon->iconIndex);
    EXPECT_EQ(list().image(old), fileIcon->iconIndex);
    EXPECT_EQ(ListView_GetImageList(list().hwnd(), LVSIL_SMALL), platform::SystemSmallImageList());
    // The list shares the shell's image list instead of owning it.
    EXPECT_TRUE(GetWindowLongPtrW(list().hwnd(), GWL_STYLE) & LVS_SHAREIMAGELISTS);

    // Saving what was loaded stores the same rows.
    app::SaveFolderList(list(), kList);
    EXPECT_EQ(Key(kList).readInt("C:\\Data\\Cache\\"), 1);
    EXPECT_EQ(Key(kListDesc).readString("*.old"), " ");
}

TEST_F(FolderListTest, LoadWithoutDescriptionsCreatesTheDescKey) {
    platform::RegKey::Create(HKEY_CURRENT_USER, kList).writeInt("C:\\Only\\", 1);
    app::LoadFolderList(list(), kList);
    ASSERT_EQ(list().rowCount(), 1);
    EXPECT_EQ(list().text(0, 1), "");
    EXPECT_TRUE(platform::KeyExists(HKEY_CURRENT_USER, kListDesc));
}

TEST_F(FolderListTest, AddFolderItemAppendsARowAndAsksForItsDescription) {
    ScriptedDialogs dialogs;
    dialogs.expectInput("Enter a description for this folder", "Old downloads");
    app::AddFolderItem(list(), "C:\\Downloads", false, false);
    ASSERT_EQ(list().rowCount(), 1);
    EXPECT_EQ(list().text(0), "C:\\Downloads\\");
    EXPECT_EQ(list().text(0, 1), "Old downloads");
    EXPECT_FALSE(list().checked(0));
    ASSERT_EQ(dialogs.asked().size(), 1u);
    EXPECT_EQ(dialogs.asked()[0].caption, "Folder Description");
    EXPECT_EQ(dialogs.asked()[0].text, "Enter a description for this folder");
    EXPECT_EQ(dialogs.asked()[0].initial, " ");

    // Cancelled: the prefilled blank stays.
    dialogs.expectInput("Enter a description for this folder", std::nullopt);
    app::AddFolderItem(list(), "D:\\Scratch\\", true, false);
    ASSERT_EQ(list().rowCount(), 2);
    EXPECT_EQ(list().text(1), "D:\\Scratch\\");
    EXPECT_EQ(list().text(1, 1), " ");
    EXPECT_TRUE(list().checked(1));
}

TEST_F(FolderListTest, AddFolderItemInEditModeChangesTheSelectedRow) {
    addRow("C:\\First\\", "one", true);
    addRow("C:\\Second\\", "", false);
    ScriptedDialogs dialogs;
    list().setSelected(0, true);
    dialogs.expectInput("Enter a description for this excluded folder", "renamed");
    app::AddFolderItem(list(), "E:\\Moved", true, true);
    ASSERT_EQ(list().rowCount(), 2);
    EXPECT_EQ(list().text(0), "E:\\Moved\\");
    EXPECT_EQ(list().text(0, 1), "renamed");
    EXPECT_TRUE(list().checked(0));
    EXPECT_EQ(dialogs.asked().back().caption, "Folder Description");
    EXPECT_EQ(dialogs.asked().back().initial, "one");

    // A row without a description is offered a blank; cancelling keeps it.
    list().setSelected(0, false);
    list().setSelected(1, true);
    dialogs.expectInput("Enter a description for this excluded folder", std::nullopt);
    app::AddFolderItem(list(), "F:\\Other\\", true, true);
    EXPECT_EQ(list().text(1), "F:\\Other\\");
    EXPECT_EQ(list().text(1, 1), " ");
    EXPECT_FALSE(list().checked(1)); // the check state of an edited row stays
    EXPECT_EQ(dialogs.asked().back().initial, " ");

    // Nothing selected: the folder is added rather than lost.
    list().setSelected(1, false);
    dialogs.expectInput("Enter a description for this folder", "new");
    app::AddFolderItem(list(), "G:\\New", true, true);
    ASSERT_EQ(list().rowCount(), 3);
    EXPECT_EQ(list().text(2), "G:\\New\\");
    EXPECT_EQ(list().text(2, 1), "new");
}

TEST_F(FolderListTest, BrowseFolderAddsTheChosenFolderChecked) {
    ScriptedDialogs dialogs;
    dialogs.expectFolder("C:\\windows").expectInput("Enter a description for this folder", "System");
    app::BrowseFolder(list(), false);
    ASSERT_EQ(list().rowCount(), 1);
    EXPECT_EQ(list().text(0), "C:\\windows\\");
    EXPECT_EQ(list().text(0, 1), "System");
    EXPECT_TRUE(list().checked(0));

    dialogs.expectFolder(std::nullopt);
    app::BrowseFolder(list(), false);
    EXPECT_EQ(list().rowCount(), 1);

    // Edit mode starts at the selected row's folder and changes that row.
    list().setSelected(0, true);
    dialogs.expectFolder("C:\\users").expectInput("Enter a description for this excluded folder", std::nullopt);
    app::BrowseFolder(list(), true);
    EXPECT_EQ(dialogs.asked()[dialogs.asked().size() - 2].initial, "C:\\windows\\");
    ASSERT_EQ(list().rowCount(), 1);
    EXPECT_EQ(list().text(0), "C:\\users\\");
    EXPECT_EQ(list().text(0, 1), "System");
}
