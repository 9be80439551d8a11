#pragma once
// The program's own tools as the unattended runs drive them.
#include <memory>

#include "sched/unattended.h"

namespace sched {

// The registry cleaner: "Scan &Registry" pressed, finished when the first status panel says the
// scan completed or was interrupted, then Remove_All.
std::unique_ptr<UnattendedTool> MakeRegistryCleanerTool();

} // namespace sched
