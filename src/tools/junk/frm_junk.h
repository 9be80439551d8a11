#pragma once
// TfrmJunk: "Find and Clean Junk and Obsolete Files". Five pages of criteria and removal options,
// the "&Scan" button that runs the whole scan inside its click, the result list with its toolbar
// and menus, and the removal. The unattended junk run creates it hidden, sets Unattended and
// LogUnattended, presses "&Scan", waits for the caption "&Scan", selects every row, presses
// "Remove" and closes it.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/handles.h"
#include "platform/window.h"
#include "scan/disk_list.h"
#include "scan/file_list.h"
#include "scan/shell_file_op.h"
#include "scan/tree_scanner.h"
#include "tools/junk/file_checks.h"
#include "tools/junk/junk.h"
#include "tools/junk/junk_menus.h"
#include "tools/junk/junk_pictures.h"
#include "tools/junk/pure/criteria.h"
#include "tools/junk/pure/junk_rules.h"

namespace tools::junk {

inline constexpr const char* kJunkKey = "\\Software\\Quorvel\\Vantrel\\Junk";
inline constexpr const char* kJunkStateKey = "software\\Quorvel\\Vantrel\\junk";
inline constexpr const char* kFindFoldersKey = "\\software\\Quorvel\\Vantrel\\junk\\folders";
inline constexpr const char* kExcludedFoldersKey = "\\software\\Quorvel\\Vantrel\\junk\\excluded_folders";
inline constexpr const char* kHelpTopic = "Cleaning_your_system_of_junk_and_obsolete_files";

// The shell file operation the removal uses (files only, no questions, silent, free names on
// collision).
scan::TShellFileOp& ShellFileOp1();

class TfrmJunk : public platform::Form {
public:
    TfrmJunk();
    ~TfrmJunk() override;

    // Set by the unattended run before it presses "&Scan"; both false in interactive use.
    bool Unattended = false;
    bool LogUnattended = false;
    // Whether interactive use is logged ("DoJunk" of the Logs key, read when the window is created).
    bool DoJunk = true;

    // Totals of what this window removed since it was created. 64-bit; only the statistics
    // counters they are added to at closing are 32-bit (and saturate).
    int64_t RemovedBytes = 0;
    int64_t RemovedFiles = 0;

    // ---- controls ----
    platform::PageControl pcJunk;
    // "Drive(s) to Scan"
    platform::Label lblDrives;
    scan::TDiskListView DiskListView1;
    // "Files to Find"
    platform::Label lblScan;
    platform::ListView lvScan;
    platform::Button cmdAddType, cmdEditType, cmdRemoveType;
    // "Folders"
    platform::Label lblFolderFind, lblFolderExclude;
    platform::ListView lvFolderFind, lvFolderExclude;
    platform::Button cmdAddFind, cmdEditFind, cmdRemoveFind;
    platform::Button cmdAddExclude, cmdEditExclude, cmdRemoveExclude;
    // "Other Considerations"
    platform::CheckBox cbDays;
    platform::Edit meDays;
    platform::Control udDays;
    platform::Label lblDaysWord;
    platform::CheckBox cbSkipAttr, cbInUse, cbTemp, cbZeroLength;
    // "Removal"
    platform::GroupBox gbRemoval;
    platform::RadioButton optRecycle, optDelete, optMove;
    ClickPicture imgRecycle, imgDelete, imgMoveTo;
    platform::Edit deMove;
    platform::Button btnMoveBrowse;
    platform::CheckBox cbConfirm;
    // The rest of the window.
    platform::Button cmdGo, cmdExit, cmdHelp;
    SearchAnimation aniSearch;
    ResultToolbar tbResults;
    scan::TFileListView lv;
    platform::StatusBar StatusBar1;
    platform::ProgressBar ProgressBar1;

    // Menus: the file-type list's, the two folder lists', the result list's and the drop-down of
    // the toolbar's "Remove".
    PopupMenu mnuScan, mnuFolderFind, mnuFolderExclude, mnuResults, mnuRemove;

    scan::TTreeScanner ts, tsZero;

    // ---- the scan ----
    void cmdGoClick();
    void ScanStart();
    void ScanEnd(bool logSummary);
    void tsFileFound(scan::TTreeScanner& sender);
    void tsZeroFileFound(scan::TTreeScanner& sender);
    void tsDirectoryFound(scan::TTreeScanner& sender);
    void ShowScanningFolder(ULONGLONG now); // the folder last found, when its time has come
    void tsSearchDone(scan::TTreeScanner& sender);
    bool RestrictedFile(const std::string& path);
    bool IsInListView(const std::string& path) const;
    void AddAssociatedIcon(const std::string& path, int row);
    int64_t NumBytes() const { return m_index.totalBytes(); }
    bool Scanning() const noexcept { return m_scanRunning; }

    // ---- the removal ----
    void cmdDeleteClick();
    void RemoveAllClick();
    void SelectAllClick();
    void QuickViewClick();
    void PropertiesClick();
    void lvDblClick(int row);
    bool Perform_Delete(const std::string& path);
    RemovalMethod SelectedMethod() const;

    // ---- the criteria ----
    void cmdAddTypeClick();
    void cmdEditTypeClick();
    void cmdRemoveTypeClick();
    void AddFolderClick(platform::ListView& list);
    void EditFolderClick(platform::ListView& list);
    void RemoveFolderClick(platform::ListView& list);
    void optClick();
    // The page control's question before the page changes: false keeps the current page.
    bool pcJunkChanging();
    std::vector<FileType> FileTypes() const;
    void LoadCriteria();
    void SaveCriteria();

    void cmdExitClick();
    // Brings the menus, the toolbar and the list buttons in line with the lists.
    void UpdateCommands();

protected:
    void buildWindow(HWND owner) override;
    void FormCreate() override;
    void FormShow() override;
    bool FormCloseQuery() override;
    void FormHelp() override;
    void FormKeyDown(WPARAM key) override;
    LRESULT onMessage(UINT msg, WPARAM wp, LPARAM lp, bool& handled) override;

private:
    void buildPages();
    void buildMenus();
    void Log(std::string_view line) const;
    void SyncDriveSelection();
    std::vector<char> CheckedDriveLetters() const;
    bool Ignored(const std::string& path);
    void PumpNow();
    void FreezeList(bool frozen);
    // Lists the checked files whose answers are ready (or, wait, all that were handed over).
    void TakeChecked(bool wait);
    void WalkEnded(const std::string& initialDirectory, bool zeroWalk); // the totals of a walk
    void AddRow(const Checked& checked);
    void RemoveRowAt(int row);
    void ShowRemovalToolbar(bool on);
    bool RemovalFolderValid() const;
    void RefuseRemovalFolder();
    std::string AskStoredText(std::string_view caption, std::string_view prompt, std::string initial, bool isPattern,
                              bool cancelKeepsInitial, bool& cancelled);
    void ShowListMenu(platform::ListView& list, PopupMenu& menu, LPARAM where);

    ResultIndex m_index;
    // The file-type walk of each drive records its folders and empty files for the zero-length
    // walk of the same drive, so that a scan lists every folder once.
    scan::TListingStore m_listings;
    HIMAGELIST m_fileIcons = nullptr; // ilFileIcons; owned by the result list
    bool m_scanRunning = false;       // the button handler has not returned yet
    bool m_stopped = false;           // a stop (or the closing) ended the running scan
    bool m_syncingDrives = false;
    bool m_quickViewFailed = false;
    ULONGLONG m_lastPump = 0;
    ULONGLONG m_lastPaint = 0;
    ULONGLONG m_lastStatus = 0;
    std::string m_scanningFolder; // the folder last found, for the status bar
    bool m_folderPending = false; // ... and not shown yet
    bool m_listFrozen = false;

    // Taken when a scan starts (the criteria pages are disabled while it runs).
    struct ScanSettings {
        std::vector<std::string> excludedUpper;
        std::string moveToUpper;
        CheckSettings checks;
    } m_scan;
    CandidateChecker m_checker;
};

} // namespace tools::junk
