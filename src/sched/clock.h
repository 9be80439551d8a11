#pragma once
// "Now" for the schedule: the local clock, which tests may fix to a moment of their choosing.
#include <optional>

namespace sched {

// The local date and time (days since 1899-12-30), or the fixed moment.
double Now();
// Fixes the clock (nullopt returns to the real one).
void SetNowForTesting(std::optional<double> moment);

} // namespace sched
