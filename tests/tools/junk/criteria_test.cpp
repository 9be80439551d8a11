// The junk cleaner's criteria as the window loads, edits and stores them.
#include "junk_fixture.h"

#include "tools/junk/pure/criteria.h"

using namespace junktest;
using platform::MsgResult;
using tools::junk::TfrmJunk;

namespace {

std::string StoredString(const std::string& key, const std::string& name) {
    auto k = platform::RegKey::Open(HKEY_CURRENT_USER, key);
    if (!k) return "<no key>";
    return k->readString(name).value_or("<missing>");
}

std::vector<std::string> CheckedCaptions(const platform::ListView& list) {
    std::vector<std::string> out;
    for (int r = 0; r < list.rowCount(); ++r)
        if (list.checked(r)) out.push_back(list.text(r));
    return out;
}

int RowOfLetter(const TfrmJunk& w, char letter) {
    for (int r = 0; r < w.DiskListView1.rowCount(); ++r)
        if (w.DiskListView1.text(r).find(std::string("(") + letter + ":)") != std::string::npos) return r;
    return -1;
}

// A tab click as the tab control reports it: the form may refuse the change.
bool TryLeavePage(platform::Form& form, platform::PageControl& pc) {
    NMHDR hdr{pc.hwnd(), static_cast<UINT_PTR>(pc.id()), static_cast<UINT>(TCN_SELCHANGING)};
    return SendMessageW(form.hwnd(), WM_NOTIFY, hdr.idFrom, reinterpret_cast<LPARAM>(&hdr)) == FALSE;
}

constexpr const char* kJunkKeyPath = "Software\\Quorvel\\Vantrel\\Junk";

} // namespace

class JunkCriteria : public JunkTest {};

TEST_F(JunkCriteria, WithNothingStoredTheWindowShowsItsDefaults) {
    testsupport::ClearProductKey();
    auto w = open();
    EXPECT_EQ(w->caption(), "Find and Clean Junk and Obsolete Files");
    EXPECT_EQ(w->pcJunk.visiblePageCaptions(), (std::vector<std::string>{"Drive(s) to Scan", "Files to Find", "Folders",
                                                                         "Other Considerations", "Removal"}));
    ASSERT_EQ(w->lvScan.rowCount(), 13);
    const auto& defaults = tools::junk::DefaultFileTypes();
    for (int r = 0; r < 13; ++r) {
        EXPECT_EQ(w->lvScan.text(r, 0), defaults[static_cast<size_t>(r)].pattern);
        EXPECT_EQ(w->lvScan.text(r, 1), defaults[static_cast<size_t>(r)].description);
        EXPECT_TRUE(w->lvScan.checked(r));
    }
    EXPECT_EQ(w->lvScan.columnCaption(0), "File type");
    EXPECT_EQ(w->lvFolderFind.columnCaption(0), "Folder Location");
    EXPECT_EQ(w->lvFolderExclude.columnCaption(1), "Description");
    EXPECT_EQ(w->DiskListView1.columnCaption(0), "Drives to scan");
    EXPECT_EQ(w->lvFolderFind.rowCount(), 0);
    EXPECT_EQ(w->lvFolderExclude.rowCount(), 0);
    // "Drives" is missing: "---" checks nothing until the window is shown.
    EXPECT_TRUE(CheckedCaptions(w->DiskListView1).empty());
    EXPECT_TRUE(w->cbSkipAttr.checked());
    EXPECT_TRUE(w->cbInUse.checked());
    EXPECT_FALSE(w->cbDays.checked());
    EXPECT_EQ(w->meDays.text(), "30");
    EXPECT_FALSE(w->cbTemp.checked());
    EXPECT_FALSE(w->cbZeroLength.checked());
    EXPECT_TRUE(w->optRecycle.checked());
    EXPECT_FALSE(w->deMove.enabled());
    EXPECT_TRUE(w->cbConfirm.checked());
    EXPECT_EQ(w->cmdGo.hint(), "Begin scanning for files");
    EXPECT_EQ(w->cmdExit.hint(), "Exit the Junk and Obsolete File tool");
    EXPECT_FALSE(w->tbResults.visible());
    // The Junk key is made when the window is created.
    EXPECT_TRUE(platform::KeyExists(HKEY_CURRENT_USER, kJunkKeyPath));
    w->close();
    EXPECT_EQ(StoredString(kJunkKeyPath, "ScanFor"), tools::junk::DefaultScanFor());
    EXPECT_EQ(StoredString(kJunkKeyPath, "ScanDesc"), tools::junk::DefaultScanDesc());
    EXPECT_EQ(StoredString(kJunkKeyPath, "Drives"), "");
}

TEST_F(JunkCriteria, TheFirstShowingChecksTheFixedDrivesAndLaterOnesKeepTheStoredLetters) {
    platform::DeleteKeyTree(HKEY_CURRENT_USER, std::string(tools::junk::kJunkStateKey) + "\\pos");
    platform::RegKey::Create(HKEY_CURRENT_USER, kJunkKeyPath).writeString("Drives", "---");
    {
        auto w = open();
        EXPECT_TRUE(CheckedCaptions(w->DiskListView1).empty());
        w->show();
        const int j = RowOfLetter(*w, 'J'), c = RowOfLetter(*w, 'C');
        ASSERT_GE(j, 0);
        ASSERT_GE(c, 0);
        EXPECT_TRUE(w->DiskListView1.checked(c));
        EXPECT_TRUE(w->DiskListView1.checked(j));
        // Selection follows the check marks, so the stored letters are the checked drives.
        w->DiskListView1.setChecked(c, false);
        EXPECT_FALSE(w->DiskListView1.selected(c));
        w->close();
    }
    const std::string stored = StoredString(kJunkKeyPath, "Drives");
    EXPECT_EQ(stored.find('C'), std::string::npos) << stored;
    EXPECT_NE(stored.find('J'), std::string::npos) << stored;
    EXPECT_TRUE(platform::KeyExists(HKEY_CURRENT_USER, std::string(tools::junk::kJunkStateKey) + "\\pos"));

    // Options stored now: a value "D" checks only D:, shown or not; letters of no drive check nothing.
    platform::RegKey::Create(HKEY_CURRENT_USER, kJunkKeyPath).writeString("Drives", "J");
    {
        auto w = open();
        w->show();
        EXPECT_EQ(CheckedCaptions(w->DiskListView1).size(), 1u);
        EXPECT_TRUE(w->DiskListView1.checked(RowOfLetter(*w, 'J')));
        EXPECT_EQ(w->DiskListView1.GetSelectedDrives(), "J");
        w->close();
    }
}

TEST_F(JunkCriteria, EditedTypesFoldersAndOptionsComeBackAsTheyWereLeft) {
    const std::string findFolder = platform::IncludeTrailingBackslash(std::string(kDrive) + "find");
    const std::string skipFolder = platform::IncludeTrailingBackslash(std::string(kDrive) + "skip");
    platform::ForceFolders(findFolder);
    platform::ForceFolders(skipFolder);
    {
        auto w = open();
        // Row 1 unchecked, row 2 edited to an empty pattern, one type added.
        w->lvScan.setChecked(1, false);
        w->lvScan.setSelected(2, true);
        dialogs.expectInput("Extension or name of the file you wish to scan for:", "")
            .expectInput("Enter a short description for this file type:", "Nothing at all");
        EXPECT_TRUE(w->cmdEditType.click());
        dialogs.expectInput("Extension or name of the file you wish to scan for:", "*.dmp")
            .expectInput("Enter a short description for this new file type:", "Crash dumps");
        EXPECT_TRUE(w->cmdAddType.click());
        ASSERT_EQ(hints.size(), 1u);
        EXPECT_EQ(hints[0], "Use this option to add specific files or file extensions to look for when scanning your "
                            "drives.  Wildcards such as \"*\" and \"?\" are supported.");
        ASSERT_EQ(w->lvScan.rowCount(), 14);
        EXPECT_TRUE(w->lvScan.checked(13));

        // A folder in each list; each list is stored at once.
        dialogs.expectFolder(findFolder).expectInput("Enter a description for this folder", "Downloads");
        EXPECT_TRUE(w->cmdAddFind.click());
        dialogs.expectFolder(skipFolder).expectInput("Enter a description for this folder", "Keep");
        EXPECT_TRUE(w->cmdAddExclude.click());
        ASSERT_EQ(hints.size(), 3u);
        EXPECT_EQ(hints[1].substr(0, 80),
                  "Using this option you may add specific folders to look within when scanning for ");
        EXPECT_EQ(hints[2], "Using this option you may exclude specific folders from the file search.  Any files "
                            "within the folders in this list will be ignored.");
        auto stored = platform::RegKey::Open(HKEY_CURRENT_USER, "Software\\Quorvel\\Vantrel\\junk\\folders");
        ASSERT_TRUE(stored);
        EXPECT_EQ(stored->readInt(findFolder), 1);

        w->cbDays.setChecked(true);
        w->meDays.setText("45");
        w->cbSkipAttr.setChecked(false);
        w->cbZeroLength.setChecked(true);
        w->deMove.setText("C:\\moved");
        w->cbConfirm.setChecked(false);
        w->optDelete.click();
        w->close();
    }
    EXPECT_EQ(StoredString(kJunkKeyPath, "ScanFor"),
              "*.~*,1,~*.*,0,,1,*.---,1,*.tmp,1,*._mp,1,*.old,1,*.bak,1,*.syd,1,*.chk,1,*.gid,1,mscreate.dir,1,"
              "0???????.nch,1,*.dmp,1,");
    EXPECT_EQ(StoredString(kJunkKeyPath, "ScanDesc").substr(0, 58),
              "Temporary Files,1,Temporary Files,0,Nothing at all,1,Tempo");
    EXPECT_EQ(StoredString(std::string(tools::junk::kJunkStateKey) + "\\pos", "meDays_Text"), "45");
    EXPECT_EQ(StoredString(std::string(tools::junk::kJunkStateKey) + "\\pos", "cbDays_Checked"), "True");

    auto w = open();
    ASSERT_EQ(w->lvScan.rowCount(), 14);
    EXPECT_FALSE(w->lvScan.checked(1));
    EXPECT_EQ(w->lvScan.text(1, 1), "Temporary Files");
    EXPECT_EQ(w->lvScan.text(2, 0), "");
    EXPECT_EQ(w->lvScan.text(2, 1), "Nothing at all");
    EXPECT_EQ(w->lvScan.text(13, 0), "*.dmp");
    EXPECT_EQ(w->lvScan.text(13, 1), "Crash dumps");
    ASSERT_EQ(w->lvFolderFind.rowCount(), 1);
    EXPECT_TRUE(platform::SameText(w->lvFolderFind.text(0), findFolder));
    EXPECT_EQ(w->lvFolderFind.text(0, 1), "Downloads");
    ASSERT_EQ(w->lvFolderExclude.rowCount(), 1);
    EXPECT_TRUE(w->lvFolderExclude.checked(0));
    EXPECT_TRUE(w->cbDays.checked());
    EXPECT_EQ(w->meDays.text(), "45");
    EXPECT_FALSE(w->cbSkipAttr.checked());
    EXPECT_TRUE(w->cbZeroLength.checked());
    EXPECT_EQ(w->deMove.text(), "C:\\moved");
    EXPECT_FALSE(w->cbConfirm.checked());
    // The removal method is not kept: every opening starts with the recycle bin.
    EXPECT_TRUE(w->optRecycle.checked());
    EXPECT_FALSE(w->optDelete.checked());
    w->close();
}

TEST_F(JunkCriteria, HandEditedOrCutValuesLoadWithoutLoopingOrLosingRows) {
    auto key = platform::RegKey::Create(HKEY_CURRENT_USER, kJunkKeyPath);
    key.writeString("ScanFor", "*.tmp,1,*.bak,0,*.old,1");
    key.writeString("ScanDesc", "Temp,1,Backup");
    key.writeString("Drives", "---");
    auto w = open();
    ASSERT_EQ(w->lvScan.rowCount(), 3);
    EXPECT_EQ(w->lvScan.text(2, 0), "*.old");
    EXPECT_TRUE(w->lvScan.checked(2));
    EXPECT_FALSE(w->lvScan.checked(1));
    EXPECT_EQ(w->lvScan.text(0, 1), "Temp");
    EXPECT_EQ(w->lvScan.text(1, 1), "");
    EXPECT_TRUE(CheckedCaptions(w->DiskListView1).empty());

    // An empty stored list is no types at all, not the defaults.
    key.writeString("ScanFor", "");
    auto empty = open();
    EXPECT_EQ(empty->lvScan.rowCount(), 0);
    EXPECT_FALSE(empty->mnuScan.enabled("mnuCheckAllTypes"));
    EXPECT_TRUE(empty->mnuScan.enabled("mnuAddType"));
}

TEST_F(JunkCriteria, TypedCommasAreRefusedAndAskedAgain) {
    auto w = open();
    dialogs.expectInput("Extension or name of the file you wish to scan for:", "*.a,*.b")
        .expectMessage("cannot contain a comma")
        .expectInput("Extension or name of the file you wish to scan for:", std::nullopt);
    EXPECT_TRUE(w->cmdAddType.click());
    EXPECT_EQ(w->lvScan.rowCount(), 13);
    // The second question starts from what was typed, so nothing has to be typed again.
    ASSERT_GE(dialogs.asked().size(), 3u);
    EXPECT_EQ(dialogs.asked()[2].initial, "*.a,*.b");

    dialogs.expectInput("Extension or name", "*.dmp")
        .expectInput("Enter a short description", "Dumps, crashes")
        .expectMessage("cannot contain a comma")
        .expectInput("Enter a short description", "Dumps");
    EXPECT_TRUE(w->cmdAddType.click());
    ASSERT_EQ(w->lvScan.rowCount(), 14);
    EXPECT_EQ(w->lvScan.text(13, 1), "Dumps");

    // Cancelling the description keeps its single blank.
    dialogs.expectInput("Extension or name", "*.x").expectInput("Enter a short description", std::nullopt);
    EXPECT_TRUE(w->cmdAddType.click());
    EXPECT_EQ(w->lvScan.text(14, 1), " ");
    // An empty answer adds nothing.
    dialogs.expectInput("Extension or name", "");
    EXPECT_TRUE(w->cmdAddType.click());
    EXPECT_EQ(w->lvScan.rowCount(), 15);
}

TEST_F(JunkCriteria, RemovingARowAsksFirstAndSelectsTheRowBefore) {
    auto w = open();
    EXPECT_FALSE(w->cmdRemoveType.enabled());
    EXPECT_FALSE(w->cmdEditType.enabled());
    EXPECT_FALSE(w->mnuScan.enabled("mnuRemoveType"));
    w->lvScan.setSelected(4, true);
    EXPECT_TRUE(w->cmdRemoveType.enabled());
    EXPECT_TRUE(w->mnuScan.enabled("mnuEditType"));

    dialogs.expectMessage("Are you sure you wish to permanently remove the selected item?", MsgResult::No);
    EXPECT_TRUE(w->cmdRemoveType.click());
    EXPECT_EQ(w->lvScan.rowCount(), 13);
    ASSERT_EQ(dialogs.asked().size(), 1u);
    EXPECT_EQ(dialogs.asked()[0].caption, "Please Confirm");
    EXPECT_NE(dialogs.asked()[0].text.find("This procedure cannot be reversed.\r\n\r\nIf you would merely like to "
                                           "exclude this item you may do so by \"unchecking\" its corresponding box."),
              std::string::npos);

    dialogs.expectMessage("permanently remove the selected item", MsgResult::Yes);
    EXPECT_TRUE(w->mnuScan.click("mnuRemoveType"));
    ASSERT_EQ(w->lvScan.rowCount(), 12);
    EXPECT_EQ(w->lvScan.text(4, 0), "*._mp");
    EXPECT_EQ(w->lvScan.selectedIndex(), 3);

    EXPECT_TRUE(w->mnuScan.click("mnuUncheckAllTypes"));
    EXPECT_TRUE(CheckedCaptions(w->lvScan).empty());
    EXPECT_TRUE(w->mnuScan.click("mnuCheckAllTypes"));
    EXPECT_EQ(CheckedCaptions(w->lvScan).size(), 12u);
    // The folder lists are empty: nothing to edit, remove or check.
    EXPECT_FALSE(w->mnuFolderFind.enabled("mnuEditFind"));
    EXPECT_FALSE(w->mnuFolderExclude.enabled("mnuCheckAllExclude"));
    EXPECT_FALSE(w->cmdRemoveExclude.enabled());
    EXPECT_EQ(w->mnuFolderFind.caption("mnuUncheckAllFind"), "&Uncheck all items");
    EXPECT_EQ(w->mnuScan.caption("mnuUncheckAllTypes"), "U&ncheck all items");
}

TEST_F(JunkCriteria, TheRemovalPageCannotBeLeftWithoutAValidMoveFolder) {
    auto w = open();
    w->pcJunk.setActivePage(4);
    // Choosing "move" with no folder yet opens the folder browser; cancelling leaves it empty.
    dialogs.expectFolder(std::nullopt);
    EXPECT_TRUE(w->optMove.click());
    EXPECT_TRUE(w->deMove.enabled());
    dialogs.expectMessage(
        "You must specify a valid folder to move files to if you are going to use this removal option.");
    EXPECT_FALSE(TryLeavePage(*w, w->pcJunk));

    w->deMove.setText(std::string(kWorkRoot) + "gone");
    dialogs.expectMessage("You must specify a valid folder");
    EXPECT_FALSE(TryLeavePage(*w, w->pcJunk));

    w->deMove.setText(temp);
    EXPECT_TRUE(TryLeavePage(*w, w->pcJunk));
    // Back to the recycle bin: the field is disabled and the page can be left whatever it holds.
    w->imgRecycle.click();
    EXPECT_TRUE(w->optRecycle.checked());
    EXPECT_FALSE(w->deMove.enabled());
    w->deMove.setText("nowhere");
    EXPECT_TRUE(TryLeavePage(*w, w->pcJunk));
    // Other pages are always left freely.
    w->pcJunk.setActivePage(1);
    EXPECT_TRUE(TryLeavePage(*w, w->pcJunk));
}
