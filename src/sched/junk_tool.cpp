#include <memory>
#include <stdexcept>

#include "sched/tool_adapters.h"
#include "tools/junk/frm_junk.h"

namespace sched {

namespace {
using tools::junk::TfrmJunk;

class JunkCleanerTool : public ButtonDrivenTool {
public:
    // The scan runs while "&Scan" reads "&Stop"; the junk cleaner has no status text for its end.
    JunkCleanerTool() : ButtonDrivenTool(std::make_unique<TfrmJunk>(), DriveSpec{"cmdGo", "&Scan", "", {}, "lv"}) {}

    void setUnattended(bool unattended, bool logUnattended) override {
        form().Unattended = unattended;
        form().LogUnattended = logUnattended;
    }
    // Every row selected, then the toolbar's "Remove", as the user would.
    void removeAll() override {
        form().lv.selectAll();
        if (!form().tbResults.click("cmdDelete"))
            throw std::runtime_error("The junk cleaner's \"Remove\" could not be pressed");
    }

private:
    TfrmJunk& form() { return static_cast<TfrmJunk&>(window()); }
};
} // namespace

std::unique_ptr<UnattendedTool> MakeJunkCleanerTool() {
    return std::make_unique<JunkCleanerTool>();
}

} // namespace sched
