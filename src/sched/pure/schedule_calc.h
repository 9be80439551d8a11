#pragma once
// Schedule types and the next-run computation, free of the registry so the rules are tested natively.
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

#include "app/pure/format.h"

namespace sched {

enum SchedType : int {
    kEveryMinutes = 0,
    kEveryHours = 1,
    kEveryDays = 2,
    kEveryWeeks = 3,
    kEveryMonths = 4,
    kAtWindowsStart = 5,
    kAtWindowsShutdown = 6,
};

// Markers that stand for "at start" and "at shut-down" in place of a time; never shown.
inline constexpr double kStartMarker = 0.001;
inline constexpr double kShutdownMarker = 0.002;

// "Params" split at the vertical bar.
struct ScheduleParams {
    std::string first;
    std::string second;
};
ScheduleParams SplitParams(std::string_view params);

// A stored schedule that cannot be used: corrupt "Params", a date out of range.
class ScheduleError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};
// Corrupt "Params" (text that is not a number where one is expected, a count below 1).
class ParamsError : public ScheduleError {
public:
    using ScheduleError::ScheduleError;
};

// A date-time the computations accept: finite and within the years 1 to 9999.
bool ValidDateTime(double dateTime);

// The next run after base for types 0-4; nullopt for other types. Throws ParamsError for corrupt
// parameters (every count must be at least 1, so the result always lies after base) and
// ScheduleError for a base or result outside ValidDateTime.
//  0: base + N minutes
//  1: T = base + H hours, then T's minute := M (seconds and milliseconds of T kept)
//  2: the date of base + D days at the time of day T
//  3: X = base + 7W days, then forward to weekday d; X's date at 00:00
//  4: base moved on by M calendar months (day clamped), then day Q at 00:00; a Q past the end
//     of that month gives the month's last day
std::optional<double> NextRun(int type, std::string_view params, double base);

// The text a task's schedule label shows; empty when the type is unknown. Throws ParamsError when
// a number of "Params" is not a number.
std::string ScheduleText(int type, std::string_view params,
                         const textfmt::FormatSettings& fs = textfmt::ProcessFormats());

// The value a 6-byte real (40-bit significand) holds for x, as the default schedule's third of a
// day was computed: 1/3 becomes 0.333333333333485.
double ToReal48(double x);
// "5|" + the third of a day's float text: the default schedule, every 5 days at 08:00.
std::string DefaultParams(const textfmt::FormatSettings& fs = textfmt::ProcessFormats());

extern const char* const kWeekdayNames[7];

} // namespace sched
