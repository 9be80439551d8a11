#include "app/hint.h"

#include "app/frm_hint.h"
#include "app/settings.h"

namespace app {

bool HintEnabled(std::string_view name) {
    // Both reads open the Hints key, creating it when missing.
    bool subject = ReadRegBool(kHintsKey, name);
    bool all = ReadRegBool(kHintsKey, "All");
    return subject && all;
}

void ShowHint(std::string_view name, std::string_view text) {
    if (!HintEnabled(name)) return;
    TfrmHint frmHint;
    frmHint.create();
    frmHint.setHintName(name);
    frmHint.setHintText(text);
    frmHint.showModal();
}

} // namespace app
