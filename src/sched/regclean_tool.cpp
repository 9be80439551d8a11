#include <memory>

#include "sched/tool_adapters.h"
#include "tools/regclean/frm_regclean.h"
#include "tools/regclean/pure/finding.h"

namespace sched {

namespace {
using tools::regclean::TfrmRegClean;

class RegistryCleanerTool : public ButtonDrivenTool {
public:
    RegistryCleanerTool()
        : ButtonDrivenTool(std::make_unique<TfrmRegClean>(),
                           DriveSpec{"btnStart",
                                     "Scan &Registry",
                                     "StatusBar1",
                                     {tools::regclean::kScanCompleted, tools::regclean::kScanInterrupted},
                                     "lv"}) {}

    void setUnattended(bool unattended, bool logUnattended) override {
        form().Unattended = unattended;
        form().LogUnattended = logUnattended;
    }
    void removeAll() override { form().Remove_All(); }

private:
    TfrmRegClean& form() { return static_cast<TfrmRegClean&>(window()); }
};
} // namespace

std::unique_ptr<UnattendedTool> MakeRegistryCleanerTool() {
    return std::make_unique<RegistryCleanerTool>();
}

} // namespace sched
