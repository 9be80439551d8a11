#include "sched/pure/schedule_calc.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace sched {

const char* const kWeekdayNames[7] = {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};

namespace {
// 0001-01-01 and 10000-01-01 as date-times.
constexpr double kFirstDay = -693593.0;
constexpr double kPastLastDay = 2958466.0;

int IntParam(const std::string& text) {
    int32_t v = 0;
    if (!textfmt::ParseInt(text, v)) throw ParamsError("'" + text + "' is not a valid integer value");
    return v;
}

// A repeat count: a schedule of zero or fewer units would be due again at once, for ever.
int CountParam(const std::string& text) {
    int v = IntParam(text);
    if (v < 1) throw ParamsError("'" + text + "' is not a valid number of units for a schedule");
    return v;
}

int RangedParam(const std::string& text, int lo, int hi, const char* what) {
    int v = IntParam(text);
    if (v < lo || v > hi) throw ParamsError("'" + text + "' is not a valid " + what);
    return v;
}

double FloatParam(const std::string& text) {
    double v = 0;
    if (!textfmt::ParseFloat(text, v) || !std::isfinite(v))
        throw ParamsError("'" + text + "' is not a valid floating point value");
    return v;
}

double DatePart(double dt) {
    return std::trunc(dt);
}

double Compose(double date, double time) {
    return date >= 0 ? date + time : date - time;
}

double Checked(double dt) {
    if (!ValidDateTime(dt)) throw ScheduleError("The next run lies outside the range of valid dates");
    return dt;
}
} // namespace

bool ValidDateTime(double dateTime) {
    return std::isfinite(dateTime) && dateTime >= kFirstDay && dateTime < kPastLastDay;
}

ScheduleParams SplitParams(std::string_view params) {
    size_t bar = params.find('|');
    if (bar == std::string_view::npos) return {std::string(params), {}};
    return {std::string(params.substr(0, bar)), std::string(params.substr(bar + 1))};
}

std::optional<double> NextRun(int type, std::string_view params, double base) {
    if (type < kEveryMinutes || type > kEveryMonths) return std::nullopt;
    if (!ValidDateTime(base)) throw ScheduleError("The schedule's base time is not a valid date and time");
    ScheduleParams p = SplitParams(params);
    switch (type) {
    case kEveryMinutes:
        return Checked(base + CountParam(p.first) / 1440.0);
    case kEveryHours: {
        double t = Checked(base + CountParam(p.first) / 24.0);
        int minute = RangedParam(p.second, 0, 59, "minute");
        auto c = textfmt::DecodeDateTime(t);
        return Compose(DatePart(t), textfmt::EncodeTime(c.hour, minute, c.second, c.millisecond));
    }
    case kEveryDays: {
        double day = DatePart(Checked(base + CountParam(p.first)));
        auto c = textfmt::DecodeDateTime(FloatParam(p.second));
        return Checked(Compose(day, textfmt::EncodeTime(c.hour, c.minute, c.second, c.millisecond)));
    }
    case kEveryWeeks: {
        int weekday = RangedParam(p.second, 0, 6, "day of the week");
        double x = Checked(base + 7.0 * CountParam(p.first));
        while (textfmt::DecodeDateTime(x).dayOfWeek != weekday)
            x += 1;
        return Checked(DatePart(x));
    }
    default: { // kEveryMonths
        int months = CountParam(p.first), q = RangedParam(p.second, 1, 31, "day of the month");
        auto c = textfmt::DecodeDateTime(base);
        int64_t index = int64_t{c.year} * 12 + (c.month - 1) + months;
        if (index / 12 > 9999) throw ScheduleError("The next run lies outside the range of valid dates");
        int year = static_cast<int>(index / 12), month = static_cast<int>(index % 12) + 1;
        // A day past the end of the month (31 in a 30-day month) runs on the month's last day.
        int day = std::min(q, textfmt::DaysInMonth(year, month));
        return textfmt::EncodeDate(year, month, day);
    }
    }
}

std::string ScheduleText(int type, std::string_view params, const textfmt::FormatSettings& fs) {
    // The numbers are shown as stored, once they are known to be numbers.
    ScheduleParams p = SplitParams(params);
    switch (type) {
    case kEveryMinutes:
        IntParam(p.first);
        return "Every " + p.first + " Minutes";
    case kEveryHours:
        IntParam(p.first);
        IntParam(p.second);
        return "Every " + p.first + " Hours at " + p.second + " minutes after the hour";
    case kEveryDays:
        IntParam(p.first);
        return "Every " + p.first + " Days at " + textfmt::FormatDateTime(fs.shortTimeFormat, FloatParam(p.second), fs);
    case kEveryWeeks: {
        IntParam(p.first);
        int d = RangedParam(p.second, 0, 6, "day of the week");
        return "Every " + p.first + " Weeks at starting on " + kWeekdayNames[d];
    }
    case kEveryMonths:
        IntParam(p.first);
        IntParam(p.second);
        return "Every " + p.first + " Months starting on day " + p.second;
    case kAtWindowsStart:
        return "When Windows is Started";
    case kAtWindowsShutdown:
        return "When Windows is Shut Down";
    default:
        return {};
    }
}

double ToReal48(double x) {
    if (x == 0 || !std::isfinite(x)) return x;
    int exponent = 0;
    double mantissa = std::frexp(x, &exponent); // 0.5 <= |m| < 1
    double scaled = std::ldexp(mantissa, 40);
    return std::ldexp(std::nearbyint(scaled), exponent - 40);
}

std::string DefaultParams(const textfmt::FormatSettings& fs) {
    return "5|" + textfmt::FloatText(ToReal48(1.0 / 3.0), fs);
}

} // namespace sched
