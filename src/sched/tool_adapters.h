#pragma once
// The program's own tools as the unattended runs drive them.
#include <memory>

#include "sched/unattended.h"

namespace sched {

// The junk cleaner: "&Scan" pressed, finished when its caption reads "&Scan" again, then every
// row selected and "Remove" pressed.
std::unique_ptr<UnattendedTool> MakeJunkCleanerTool();
// The registry cleaner: "Scan &Registry" pressed, finished when the first status panel says the
// scan completed or was interrupted, then Remove_All.
std::unique_ptr<UnattendedTool> MakeRegistryCleanerTool();

} // namespace sched
