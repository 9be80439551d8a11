#include "app/settings.h"

#include <gtest/gtest.h>

#include <cstring>

#include "platform/registry.h"
#include "platform/window.h"
#include "support/fixtures.h"

using platform::RegKey;

namespace {

constexpr const char* kLogs = "\\Software\\Quorvel\\Vantrel\\Logs";
constexpr const char* kScratch = "\\Software\\Quorvel\\Vantrel\\SettingsTest";

struct SettingsTest : testing::Test {
    void SetUp() override { testsupport::ClearProductKey(); }
    void TearDown() override { testsupport::ClearProductKey(); }
};

RegKey Key(std::string_view path) {
    auto k = RegKey::Open(HKEY_CURRENT_USER, path);
    if (!k) throw std::runtime_error("missing key " + std::string(path));
    return std::move(*k);
}

DWORD TypeOf(std::string_view key, std::string_view name) {
    return Key(key).valueType(name).value_or(REG_NONE);
}

std::string RawString(std::string_view key, std::string_view name) {
    return Key(key).readString(name).value_or("<missing>");
}

// A small window with the kinds of controls whose states the store keeps.
class TfrmStateTest : public platform::Form {
public:
    explicit TfrmStateTest(bool sizable = false) : Form("TfrmStateTest"), m_sizable(sizable) {}
    platform::CheckBox cbConfirm;
    platform::Edit edDays;
    platform::ComboBox cboMode;

protected:
    void buildWindow(HWND owner) override {
        DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | (m_sizable ? WS_THICKFRAME : 0);
        createWindow({"State test", 320, 200, style}, owner);
        addCheckBox(cbConfirm, "cbConfirm", "&Confirm", {10, 10, 120, 20});
        addEdit(edDays, "edDays", "30", {10, 40, 60, 22});
        addComboBox(cboMode, "cboMode", {10, 70, 120, 22});
        cboMode.addItem("One");
        cboMode.addItem("Two");
        cboMode.addItem("Three");
        cboMode.setItemIndex(0);
    }

private:
    bool m_sizable;
};

const std::vector<std::string> kProps{"cbConfirm.Checked", "edDays.Text", "cboMode.ItemIndex"};

RECT PrimaryWorkArea() {
    MONITORINFO mi{};
    mi.cbSize = sizeof(mi);
    GetMonitorInfoW(MonitorFromPoint({0, 0}, MONITOR_DEFAULTTOPRIMARY), &mi);
    return mi.rcWork;
}

} // namespace

// ---- the plain routines ----

TEST_F(SettingsTest, NeverWrittenValuesGiveTheDefaultsAndLeaveTheKeyBehind) {
    EXPECT_TRUE(app::ReadRegBool(kLogs, "DoJunk"));
    EXPECT_EQ(app::ReadRegInt("\\Software\\Quorvel\\Vantrel\\Hints", "JunkBytes"), 0);
    // Reading created the keys, empty.
    EXPECT_EQ(Key(kLogs).valueCount(), 0u);
    EXPECT_EQ(Key("\\Software\\Quorvel\\Vantrel\\Hints").valueCount(), 0u);
}

TEST_F(SettingsTest, IntegersAndFlagsAreStoredAsDwords) {
    app::WriteRegInt(kLogs, "JunkFiles", -5);
    app::WriteRegBool(kLogs, "DoJunk", false);
    app::WriteRegBool(kLogs, "DoReg", true);
    EXPECT_EQ(TypeOf(kLogs, "JunkFiles"), static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(TypeOf(kLogs, "DoJunk"), static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(Key(kLogs).readInt("DoJunk"), 0);
    EXPECT_EQ(Key(kLogs).readInt("DoReg"), 1);
    EXPECT_EQ(app::ReadRegInt(kLogs, "JunkFiles"), -5);
    EXPECT_FALSE(app::ReadRegBool(kLogs, "DoJunk"));
    EXPECT_TRUE(app::ReadRegBool(kLogs, "DoReg"));
    // Any non-zero number is a set flag.
    app::WriteRegInt(kLogs, "DoDupes", 7);
    EXPECT_TRUE(app::ReadRegBool(kLogs, "DoDupes"));
}

TEST_F(SettingsTest, AValueOfAnotherTypeIsAnError) {
    RegKey::Create(HKEY_CURRENT_USER, kLogs).writeString("JunkBytes", "12");
    EXPECT_THROW(app::ReadRegInt(kLogs, "JunkBytes"), platform::RegTypeError);
    EXPECT_THROW(app::ReadRegBool(kLogs, "JunkBytes"), platform::RegTypeError);
    EXPECT_THROW(app::AddToCounter(kLogs, "JunkBytes", 1), platform::RegTypeError);
    EXPECT_EQ(RawString(kLogs, "JunkBytes"), "12");
}

TEST_F(SettingsTest, BothSpellingsOfTheLogsKeyReachTheSameValues) {
    app::WriteRegInt("\\software\\Quorvel\\Vantrel\\logs", "JunkFiles", 42);
    EXPECT_EQ(app::ReadRegInt("\\Software\\Quorvel\\Vantrel\\Logs", "JunkFiles"), 42);
    EXPECT_EQ(app::ReadRegInt("Software\\Quorvel\\Vantrel\\Logs", "junkfiles"), 42);
    app::WriteRegBool("\\Software\\Quorvel\\Vantrel\\Logs", "DoJunk", false);
    EXPECT_FALSE(app::ReadRegBool("\\software\\quorvel\\vantrel\\LOGS", "dojunk"));
    app::DeleteRegValue("\\software\\Quorvel\\Vantrel\\logs", "JUNKFILES");
    EXPECT_FALSE(Key(kLogs).hasValue("JunkFiles"));
    EXPECT_EQ(Key("\\Software\\Quorvel\\Vantrel").subkeyNames().size(), 1u);
}

TEST_F(SettingsTest, DeleteRegValueRemovesOneValueAndToleratesAMissingOne) {
    app::WriteRegInt(kScratch, "A", 1);
    app::WriteRegInt(kScratch, "B", 2);
    app::DeleteRegValue(kScratch, "A");
    app::DeleteRegValue(kScratch, "A");
    EXPECT_EQ(Key(kScratch).valueNames(), std::vector<std::string>{"B"});
    app::DeleteRegValue("\\Software\\Quorvel\\Vantrel\\Fresh", "A");
    EXPECT_TRUE(platform::KeyExists(HKEY_CURRENT_USER, "\\Software\\Quorvel\\Vantrel\\Fresh"));
}

TEST_F(SettingsTest, CountersAddUpAndSaturateAtTheTopOfTheRange) {
    EXPECT_EQ(app::AddToCounter(kLogs, "JunkFiles", 100), 100);
    EXPECT_EQ(app::AddToCounter(kLogs, "JunkFiles", 50), 150);
    EXPECT_EQ(app::ReadRegInt(kLogs, "JunkFiles"), 150);

    app::WriteRegInt(kLogs, "JunkBytes", 2147483000);
    EXPECT_EQ(app::AddToCounter(kLogs, "JunkBytes", 1000), 2147483647);
    EXPECT_EQ(app::ReadRegInt(kLogs, "JunkBytes"), 2147483647);
    EXPECT_EQ(app::AddToCounter(kLogs, "JunkBytes", 5000000000LL), 2147483647);
    EXPECT_EQ(app::ReadRegInt(kLogs, "JunkBytes"), 2147483647);

    EXPECT_EQ(app::AddToCounter(kLogs, "RegRefs", -5000000000LL), INT32_MIN);
    EXPECT_EQ(app::SaturatingAdd(10, -3), 7);
}

TEST_F(SettingsTest, DateTimesAreEightByteBinaries) {
    const double when = 36556.75;
    app::WriteRegDateTime("\\Software\\Quorvel\\Vantrel\\Schedule\\Junk", "NextRun", when);
    EXPECT_EQ(TypeOf("\\Software\\Quorvel\\Vantrel\\Schedule\\Junk", "NextRun"), static_cast<DWORD>(REG_BINARY));
    auto bytes = Key("\\Software\\Quorvel\\Vantrel\\Schedule\\Junk").readBinary("NextRun");
    ASSERT_TRUE(bytes);
    ASSERT_EQ(bytes->size(), 8u);
    double stored = 0;
    std::memcpy(&stored, bytes->data(), 8);
    EXPECT_EQ(stored, when);
    EXPECT_EQ(app::ReadRegDateTime("\\software\\quorvel\\vantrel\\schedule\\junk", "nextrun"), when);
    EXPECT_FALSE(app::ReadRegDateTime("\\Software\\Quorvel\\Vantrel\\Schedule\\Junk", "LastRan").has_value());
}

// ---- the INI emulation ----

TEST_F(SettingsTest, IniEmptySectionIsTheKeyAndNamedSectionsAreSubkeys) {
    app::RegIniFile ini("\\Software\\Quorvel\\Vantrel\\Junk");
    ini.writeString("", "ScanFor", "*.tmp;*.bak");
    EXPECT_EQ(RawString("\\Software\\Quorvel\\Vantrel\\Junk", "ScanFor"), "*.tmp;*.bak");
    EXPECT_EQ(ini.readString("", "scanfor", "x"), "*.tmp;*.bak");

    // Reading a missing section gives the default and creates nothing.
    EXPECT_EQ(ini.readString("Settings", "Name", "dflt"), "dflt");
    EXPECT_FALSE(ini.sectionExists("Settings"));
    ini.writeString("Settings", "Name", "value");
    EXPECT_TRUE(ini.sectionExists("settings"));
    EXPECT_EQ(RawString("\\Software\\Quorvel\\Vantrel\\Junk\\Settings", "Name"), "value");
    EXPECT_EQ(ini.readSections(), std::vector<std::string>{"Settings"});
    EXPECT_EQ(ini.readSection("Settings"), std::vector<std::string>{"Name"});

    // A key path given with a trailing backslash names the same key.
    app::RegIniFile slash("\\Software\\Quorvel\\Vantrel\\Junk\\");
    EXPECT_EQ(slash.readString("Settings", "Name", ""), "value");
}

TEST_F(SettingsTest, IniNumbersAreDecimalTextAndNonNumbersGiveTheDefault) {
    app::RegIniFile ini("\\Software\\Quorvel\\Vantrel\\DupeList");
    ini.writeInteger("", "Count", -42);
    ini.writeBool("", "CheckFileTime", true);
    ini.writeBool("", "CheckFileName", false);
    const char* key = "\\Software\\Quorvel\\Vantrel\\DupeList";
    EXPECT_EQ(TypeOf(key, "Count"), static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(RawString(key, "Count"), "-42");
    EXPECT_EQ(RawString(key, "CheckFileTime"), "1");
    EXPECT_EQ(RawString(key, "CheckFileName"), "0");
    EXPECT_EQ(ini.readInteger("", "Count", 7), -42);
    EXPECT_TRUE(ini.readBool("", "CheckFileTime", false));
    EXPECT_FALSE(ini.readBool("", "CheckFileName", true));

    ini.writeString("", "Count", "twelve");
    EXPECT_EQ(ini.readInteger("", "Count", 7), 7);
    EXPECT_TRUE(ini.readBool("", "Count", true));
    ini.writeString("", "Count", "99999999999");
    EXPECT_EQ(ini.readInteger("", "Count", 7), 7);
    EXPECT_EQ(ini.readInteger("", "Missing", 3), 3);
    EXPECT_FALSE(ini.readBool("", "Missing", false));
}

TEST_F(SettingsTest, IniValuesAndSectionsCanBeRemoved) {
    app::RegIniFile ini("\\Software\\Quorvel\\Vantrel\\Setupwatch");
    ini.writeBool("WatchDrive", "C", true);
    ini.writeBool("WatchDrive", "D", false);
    EXPECT_TRUE(ini.valueExists("WatchDrive", "C"));
    ini.deleteKey("WatchDrive", "C");
    EXPECT_FALSE(ini.valueExists("WatchDrive", "C"));
    EXPECT_TRUE(ini.valueExists("WatchDrive", "D"));
    ini.deleteKey("NoSuchSection", "C"); // nothing to do, and nothing created
    EXPECT_FALSE(ini.sectionExists("NoSuchSection"));
    ini.eraseSection("WatchDrive");
    EXPECT_FALSE(ini.sectionExists("WatchDrive"));
    EXPECT_TRUE(ini.readSection("WatchDrive").empty());
}

// ---- the window-state store ----

TEST_F(SettingsTest, CheckBoxStatesRoundTripAsTrueAndFalse) {
    app::WindowStateStore store("\\Software\\Quorvel\\Vantrel\\junk\\pos");
    {
        TfrmStateTest form;
        form.create();
        form.cbConfirm.setChecked(true);
        form.edDays.setText("45");
        form.cboMode.setItemIndex(2);
        store.save(form, kProps);
    }
    const char* key = "\\Software\\Quorvel\\Vantrel\\junk\\pos";
    EXPECT_EQ(RawString(key, "cbConfirm_Checked"), "True");
    EXPECT_EQ(RawString(key, "edDays_Text"), "45");
    EXPECT_EQ(RawString(key, "cboMode_ItemIndex"), "2");
    {
        TfrmStateTest form;
        form.create();
        EXPECT_FALSE(form.cbConfirm.checked());
        store.restore(form, kProps);
        EXPECT_TRUE(form.cbConfirm.checked());
        EXPECT_EQ(form.edDays.text(), "45");
        EXPECT_EQ(form.cboMode.itemIndex(), 2);
        form.cbConfirm.setChecked(false);
        store.save(form, kProps);
    }
    EXPECT_EQ(RawString(key, "cbConfirm_Checked"), "False");
    {
        TfrmStateTest form;
        form.create();
        form.cbConfirm.setChecked(true);
        store.restore(form, kProps);
        EXPECT_FALSE(form.cbConfirm.checked());
    }
}

TEST_F(SettingsTest, MissingOrUnfittingValuesLeaveTheControlsAsDesigned) {
    app::WindowStateStore store("\\Software\\Quorvel\\Vantrel\\regclean\\pos");
    TfrmStateTest form;
    form.create();
    store.restore(form, kProps); // nothing stored yet
    EXPECT_FALSE(form.cbConfirm.checked());
    EXPECT_EQ(form.edDays.text(), "30");
    EXPECT_EQ(form.cboMode.itemIndex(), 0);

    store.write("cbConfirm_Checked", "maybe");
    store.write("cboMode_ItemIndex", "9");
    form.cbConfirm.setChecked(true);
    store.restore(form, kProps);
    EXPECT_TRUE(form.cbConfirm.checked());
    EXPECT_EQ(form.cboMode.itemIndex(), 0);
    EXPECT_EQ(store.read("cbConfirm_Checked"), "maybe");
    EXPECT_FALSE(store.read("edDays_Text").has_value());
}

TEST_F(SettingsTest, WindowPositionIsKeptInASection) {
    const RECT work = PrimaryWorkArea();
    app::WindowStateStore store("\\Software\\Quorvel\\Vantrel\\findupes", "dupelist");
    EXPECT_FALSE(store.hasPosition());
    RECT saved{};
    {
        TfrmStateTest form;
        form.create();
        RECT r = form.windowRect();
        saved = {work.left + 50, work.top + 60, work.left + 50 + (r.right - r.left),
                 work.top + 60 + (r.bottom - r.top)};
        form.setWindowRect(saved);
        store.save(form, {});
    }
    EXPECT_TRUE(store.hasPosition());
    EXPECT_EQ(RawString("\\Software\\Quorvel\\Vantrel\\findupes\\dupelist", "Left"), std::to_string(work.left + 50));
    TfrmStateTest form;
    form.create();
    store.restore(form, {});
    RECT r = form.windowRect();
    EXPECT_EQ(r.left, saved.left);
    EXPECT_EQ(r.top, saved.top);
    EXPECT_EQ(r.right - r.left, saved.right - saved.left);
}

TEST_F(SettingsTest, AnOffScreenPositionIsCentredOnThePrimaryWorkArea) {
    const RECT work = PrimaryWorkArea();
    ASSERT_GT(work.right - work.left, 0);
    app::WindowStateStore store("\\Software\\Quorvel\\Vantrel\\StartUp\\pos");
    store.write("Left", "-5000");
    store.write("Top", "-4000");
    store.write("Width", "100000");
    store.write("Height", "100000");
    TfrmStateTest form;
    form.create();
    const RECT designed = form.windowRect();
    store.restore(form, {});
    const RECT r = form.windowRect();
    // A fixed-size window keeps its designed size.
    EXPECT_EQ(r.right - r.left, designed.right - designed.left);
    EXPECT_EQ(r.bottom - r.top, designed.bottom - designed.top);
    EXPECT_NEAR((r.left + r.right) / 2, (work.left + work.right) / 2, 1);
    EXPECT_NEAR((r.top + r.bottom) / 2, (work.top + work.bottom) / 2, 1);
}

TEST_F(SettingsTest, ASizableWindowTakesItsStoredSizeWithinTheScreen) {
    const RECT work = PrimaryWorkArea();
    app::WindowStateStore store("\\Software\\Quorvel\\Vantrel\\addremove\\pos");
    store.write("Left", std::to_string(work.left + 10));
    store.write("Top", std::to_string(work.top + 20));
    store.write("Width", "500");
    store.write("Height", "100000");
    TfrmStateTest form(true);
    form.create();
    store.restore(form, {});
    const RECT r = form.windowRect();
    EXPECT_EQ(r.left, work.left + 10);
    EXPECT_EQ(r.right - r.left, 500);
    // Taller than the screen: shrunk to the work area.
    EXPECT_EQ(r.top, work.top);
    EXPECT_EQ(r.bottom, work.bottom);
}

TEST_F(SettingsTest, AMinimisedWindowStoresItsNormalPlace) {
    const RECT work = PrimaryWorkArea();
    app::WindowStateStore store("\\Software\\Quorvel\\Vantrel\\shortcuts\\pos");
    TfrmStateTest form(true);
    form.create();
    const RECT r = form.windowRect();
    const RECT normal{work.left + 30, work.top + 40, work.left + 30 + (r.right - r.left),
                      work.top + 40 + (r.bottom - r.top)};
    form.setWindowRect(normal);
    ShowWindow(form.hwnd(), SW_SHOWMINNOACTIVE);
    ASSERT_TRUE(IsIconic(form.hwnd()));
    store.save(form, {});
    const char* key = "\\Software\\Quorvel\\Vantrel\\shortcuts\\pos";
    EXPECT_EQ(RawString(key, "Left"), std::to_string(normal.left));
    EXPECT_EQ(RawString(key, "Top"), std::to_string(normal.top));
    EXPECT_EQ(RawString(key, "Width"), std::to_string(normal.right - normal.left));
}
