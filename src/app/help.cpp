#include "app/help.h"

#include "app/paths.h"
#include "platform/dialogs.h"
#include "platform/files.h"
#include "platform/shell.h"

namespace app {

std::string HelpPage(std::string_view topic) {
    return ProgramFolder() + "Help\\" + std::string(topic) + ".html";
}

void OpenHelpTopic(std::string_view topic) {
    std::string page = HelpPage(topic);
    if (!platform::FileExists(page)) {
        platform::ShowMessage("The help page \"" + page + "\" could not be found.", "Vantrel", platform::MsgButtons::Ok,
                              platform::MsgIcon::Warning);
        return;
    }
    if (!platform::ShellOpen({"open", page, "", "", SW_SHOWNORMAL}))
        platform::ShowMessage("The help page \"" + page + "\" could not be opened.", "Vantrel",
                              platform::MsgButtons::Ok, platform::MsgIcon::Warning);
}

} // namespace app
