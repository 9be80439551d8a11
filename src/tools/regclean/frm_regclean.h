#pragma once
// The registry cleaner window: finds values that point to missing files or folders and orphaned
// shared-DLL records, backs the registry up through the registry editor, and removes findings.
#include <windows.h>

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/dialogs.h"
#include "platform/handles.h"
#include "platform/menu.h"
#include "platform/toolbar.h"
#include "platform/window.h"
#include "tools/regclean/pure/finding.h"
#include "tools/regclean/pure/reference_rules.h"

namespace tools::regclean {

class UndoFile;

// A picture that reacts to a click (STN_CLICKED).
class ClickImage : public platform::Label {
public:
    std::function<void()> onClick;
    bool click();
    bool onCommand(WORD code) override;
};

class TfrmRegClean : public platform::Form {
public:
    TfrmRegClean();
    ~TfrmRegClean() override;

    // Set by the unattended run before it presses btnStart: ask nothing, and log to the unattended
    // log when LogUnattended is on.
    bool Unattended = false;
    bool LogUnattended = false;

    platform::ListView lvScanFor;
    platform::PageControl pcRegistry;
    platform::CheckBox cbExclude, cbRescan, cbBackup;
    ClickImage Image2;
    platform::Button cmdBackup, cmdRestore;
    platform::Toolbar tb;
    platform::Menu pmResults; // the result list's pop-up menu, also the drop-down of cmdRemove
    platform::ListView lv;
    platform::ProgressBar aniSearch;
    platform::Button btnStart, cmdHelp, cmdExit;
    platform::StatusBar StatusBar1;

    void GetOptions();
    void btnStartClick();
    void ScanRegistry();
    bool IsValidReference(std::string_view text);
    bool BackupRegistry(bool silent);
    bool RestoreRegistry(bool silent);
    void Remove_Selected();
    void Remove_All();
    void cmdRemoveClick();

    bool scanning() const noexcept { return m_scanning; }
    int removedCount() const noexcept { return m_removed; }
    // The undo file of this window session; empty until the first removal.
    std::string undoFilePath() const;
    static std::string BackupFolder(); // "Registry Backup\" in the data folder
    static std::string BackupFile();   // ...\Reg_Backup.reg

protected:
    void buildWindow(HWND owner) override;
    void FormCreate() override;
    void FormShow() override;
    bool FormCloseQuery() override;
    void FormClose() override;
    void FormHelp() override;
    void FormResize() override;
    void FormKeyDown(WPARAM key) override;
    LRESULT onMessage(UINT msg, WPARAM wp, LPARAM lp, bool& handled) override;

private:
    // Where a listed value lives, kept exactly as the registry spells it.
    struct RowRef {
        HKEY root = nullptr;
        std::wstring rootName;
        std::wstring keyPath; // as formed by the walk
        std::wstring valueName;
    };
    struct KeyInfo {
        DWORD subkeys = 0;
        DWORD maxValueName = 0;
        DWORD maxValueData = 0;
        FILETIME lastWrite{};
    };

    void WalkKeys(HKEY key, const std::wstring& path);
    void walkDepth(HKEY key, const std::wstring& path, int depth);
    void CheckKeyValues(HKEY key, const std::wstring& keyName, const std::wstring& keyPath, const KeyInfo& info);
    void DoAnalyzeDLLs(HKEY key);
    void AddFinding(const Finding& finding, RowRef ref);
    std::string LastModification(const FILETIME& ft) const;
    bool PumpAndCheckStop();

    void UpdateMenuStates();
    void ShowResultsMenu(POINT screen);
    void SetScanControlsEnabled(bool on);

    bool InteractiveLogging() const noexcept { return !Unattended && m_doReg; }
    bool UnattendedLogging() const noexcept { return Unattended && LogUnattended; }
    void LogInForce(std::string_view line);
    void WriteInteractive(std::string_view line);
    void WriteUnattended(std::string_view line);
    // A message in interactive use; a line in the log in force in the unattended run.
    void Say(std::string_view text, platform::MsgIcon icon);

    // Runs the editor for a backup (checking the file it writes) or a restore; false when it failed.
    bool RunEditor(const std::string& parameters, bool backup, bool silent);
    void FinishScan();
    // Saves the rows' values to the undo file, then deletes them and their rows; the removed rows'
    // indexes (ascending). error names a key that could not be opened; rows after it stay.
    std::vector<int> RemoveWithPlan(const std::vector<int>& rows, bool unattendedBlock,
                                    std::optional<std::string>& error);

    platform::Panel* m_tsOptions = nullptr;
    platform::Panel* m_tsBackup = nullptr;
    platform::UniqueHandleT<platform::detail::HImageListTraits> m_images;
    platform::UniqueHIcon m_bigIcon;
    std::unique_ptr<PathProbe> m_probe;
    std::unique_ptr<UndoFile> m_undo;
    std::vector<RowRef> m_rows; // by the row's data index
    HKEY m_root = nullptr;
    std::string m_rootName;
    bool m_stop = false;
    bool m_exclude = true;
    bool m_scanning = false;
    bool m_busy = false; // waiting for the registry editor
    bool m_closePending = false;
    bool m_shown = false;
    bool m_doReg = false;
    int m_removed = 0;
    unsigned long long m_lastPump = 0;
    unsigned long long m_lastRefresh = 0;
    bool m_unshownRows = false;
};

} // namespace tools::regclean
