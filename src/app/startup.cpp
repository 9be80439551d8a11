#include "app/startup.h"

#include <windows.h>

#include <shellapi.h>

#include "platform/handles.h"
#include "platform/messages.h"
#include "platform/strings.h"
#include "platform/window.h"

namespace app {

std::vector<std::string> CommandLineArguments() {
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    std::vector<std::string> args;
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

void CompleteCache() {}

int RunApplication() {
    platform::ComInit com;
    platform::InitCommonControlsOnce();
    switch (ParseSwitch(CommandLineArguments())) {
    case Switch::CompleteCache:
        CompleteCache();
        break;
    default:
        break;
    }
    platform::ProcessMessages();
    return 0;
}

} // namespace app
