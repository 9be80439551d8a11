#include "app/startup.h"

#include <windows.h>

#include <shellapi.h>

#include <exception>
#include <optional>

#include "app/commontools.h"
#include "app/common.h"
#include "app/launcher.h"
#include "app/locale.h"
#include "app/paths.h"
#include "app/progress.h"
#include "app/pure/cache_folder.h"
#include "platform/dialogs.h"
#include "platform/files.h"
#include "platform/handles.h"
#include "platform/messages.h"
#include "platform/registry.h"
#include "platform/strings.h"
#include "platform/window.h"
#include "sched/unattended.h"

namespace app {

namespace {
struct Settings {
    std::string title;
    std::string helpFile;
};
Settings& AppSettings() {
    static Settings settings;
    return settings;
}

struct RecordedFolder {
    const char* valueName;
    const char* status;
};
constexpr RecordedFolder kRecordedFolders[] = {
    {"Cookies", "Cleaning up cookies..."},
    {"Cache", "Cleaning up cache..."},
    {"History", "Cleaning up history..."},
};

// The folder a recorded value names, or nothing when the value is not text.
std::optional<std::string> RecordedPath(const platform::RegValue& value) {
    if (value.type == REG_SZ) return value.text();
    if (value.type == REG_EXPAND_SZ) {
        std::string expanded = platform::ExpandEnvironment(value.text());
        return expanded.empty() ? value.text() : expanded;
    }
    return std::nullopt;
}
std::string Refused(const char* valueName, const std::string& why) {
    return "The folder recorded as \"" + std::string(valueName) +
           "\" under HKEY_CURRENT_USER\\Software\\Quorvel\\Vantrel\\privacy " + why +
           "; the record was removed and nothing was deleted.\n";
}
} // namespace

std::vector<std::string> CommandLineArguments() {
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    std::vector<std::string> args;
    if (!argv) return args;
    for (int i = 1; i < argc; ++i)
        args.push_back(platform::Narrow(argv[i]));
    LocalFree(argv);
    return args;
}

Switch ParseSwitch(const std::vector<std::string>& args) {
    if (args.empty()) return Switch::None;
    std::string first = platform::UpperCase(args.front());
    if (first == "/COMPLETECACHE") return Switch::CompleteCache;
    if (first == "/CLEANJUNK") return Switch::CleanJunk;
    if (first == "/CLEANHISTORY") return Switch::CleanHistory;
    if (first == "/REGISTRYCLEAN") return Switch::RegistryClean;
    if (first == "/SETSCHEDULE") return Switch::SetSchedule;
    return Switch::Unknown;
}

void InitApplication() {
    AppSettings().title = kApplicationTitle;
    AppSettings().helpFile = ProgramFolder() + "Vantrel.hlp";
}

const std::string& ApplicationTitle() {
    return AppSettings().title;
}

const std::string& HelpFile() {
    return AppSettings().helpFile;
}

void CompleteCache(const ProgressObserver& observer) {
    std::string error;
    {
        TfrmProgress frmProgress;
        try {
            frmProgress.create();
            frmProgress.setHeading("Completing Cache Removal");
            frmProgress.setStatus("");
            frmProgress.placeBottomRight();
            // This job cannot be cancelled.
            frmProgress.lblCancel.setVisible(false);
            frmProgress.showInactive();
            platform::ProcessMessages();
            if (observer) observer(frmProgress);

            auto key = platform::RegKey::Create(HKEY_CURRENT_USER, kPrivacyKey);
            for (const auto& recorded : kRecordedFolders) {
                auto value = key.readValue(recorded.valueName);
                if (!value) continue;
                frmProgress.setStatus(recorded.status);
                platform::ProcessMessages();
                if (observer) observer(frmProgress);
                auto folder = RecordedPath(*value);
                if (!folder) {
                    error += Refused(recorded.valueName,
                                     "is not a text value (registry type " + std::to_string(value->type) + ")");
                } else if (!IsEmptiableFolder(*folder)) {
                    error += Refused(recorded.valueName,
                                     "\"" + *folder + "\" is not a full folder path below a drive or share");
                } else {
                    // The result is not examined: the value goes either way, so that a folder that
                    // cannot be emptied does not bring the job back at every start.
                    (void)DeleteFolderContents(platform::ExcludeTrailingBackslash(*folder), false);
                }
                key.deleteValue(recorded.valueName);
            }
        } catch (const std::exception& e) {
            error += e.what();
        }
        frmProgress.close();
    }
    while (!error.empty() && error.back() == '\n')
        error.pop_back();
    if (!error.empty()) platform::ShowErrorBox(error);
}

void EndApplication() {
    platform::ProcessMessages();
    DestroyCommonTools();
    platform::ProcessMessages();
    platform::QuitApplication(0);
}

int RunApplication() {
    platform::ComInit com;
    platform::InitCommonControlsOnce();
    try {
        // Before any window or file list, so logs and labels use the user's formats.
        LoadLocaleFormats();
        InitApplication();
        CommonTools();
        switch (const Switch which = ParseSwitch(CommandLineArguments())) {
        case Switch::CompleteCache:
            CompleteCache();
            break;
        case Switch::CleanJunk:
        case Switch::CleanHistory:
        case Switch::RegistryClean:
        case Switch::SetSchedule:
            sched::RunSwitch(which);
            break;
        case Switch::None:
            RunLauncher();
            break;
        case Switch::Unknown:
            break;
        }
    } catch (const std::exception& e) {
        platform::ShowErrorBox(e.what());
    }
    EndApplication();
    return 0;
}

} // namespace app
