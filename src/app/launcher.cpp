#include "app/launcher.h"

#include "app/frm_nav.h"
#include "platform/messages.h"

namespace app {

int RunLauncherForScreenshot(std::string_view litButton) {
    TfrmNav nav;
    nav.OnTerminate = [] { platform::QuitApplication(0); };
    nav.show();
    if (!litButton.empty()) nav.LightButtonForScreenshot(litButton);
    return platform::RunMessageLoop([&nav] { return nav.terminated(); });
}

int RunLauncher() {
    return RunLauncherForScreenshot({});
}

} // namespace app
