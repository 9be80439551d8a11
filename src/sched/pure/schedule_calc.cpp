#include "sched/pure/schedule_calc.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace sched {

const char* const kWeekdayNames[7] = {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};

namespace {
int IntParam(const std::string& text) {
    int32_t v = 0;
    if (!textfmt::ParseInt(text, v)) throw ParamsError("'" + text + "' is not a valid integer value");
    return v;
}

double FloatParam(const std::string& text) {
    double v = 0;
    if (!textfmt::ParseFloat(text, v)) throw ParamsError("'" + text + "' is not a valid floating point value");
    return v;
}

double DatePart(double dt) {
    return std::trunc(dt);
}

double Compose(double date, double time) {
    return date >= 0 ? date + time : date - time;
}
} // namespace

ScheduleParams SplitParams(std::string_view params) {
    size_t bar = params.find('|');
    if (bar == std::string_view::npos) return {std::string(params), {}};
    return {std::string(params.substr(0, bar)), std::string(params.substr(bar + 1))};
}

std::optional<double> NextRun(int type, std::string_view params, double base) {
    ScheduleParams p = SplitParams(params);
    switch (type) {
    case kEveryMinutes:
        return base + IntParam(p.first) / 1440.0;
    case kEveryHours: {
        double t = base + IntParam(p.first) / 24.0;
        int minute = IntParam(p.second);
        auto c = textfmt::DecodeDateTime(t);
        return Compose(DatePart(t), textfmt::EncodeTime(c.hour, minute, c.second, c.millisecond));
    }
    case kEveryDays: {
        double day = DatePart(base + IntParam(p.first));
        auto c = textfmt::DecodeDateTime(FloatParam(p.second));
        return Compose(day, textfmt::EncodeTime(c.hour, c.minute, c.second, c.millisecond));
    }
    case kEveryWeeks: {
        int weekday = IntParam(p.second);
        if (weekday < 0 || weekday > 6) throw ParamsError("'" + p.second + "' is not a day of the week");
        double x = base + 7.0 * IntParam(p.first);
        while (textfmt::DecodeDateTime(x).dayOfWeek != weekday)
            x += 1;
        return DatePart(x);
    }
    case kEveryMonths: {
        int months = IntParam(p.first), q = IntParam(p.second);
        auto c = textfmt::DecodeDateTime(base);
        int index = c.year * 12 + (c.month - 1) + months;
        int year = index / 12, month = index % 12 + 1;
        int day = std::clamp(q, 1, textfmt::DaysInMonth(year, month));
        return textfmt::EncodeDate(year, month, day);
    }
    default:
        return std::nullopt;
    }
}

std::string ScheduleText(int type, std::string_view params, const textfmt::FormatSettings& fs) {
    ScheduleParams p = SplitParams(params);
    switch (type) {
    case kEveryMinutes:
        return "Every " + p.first + " Minutes";
    case kEveryHours:
        return "Every " + p.first + " Hours at " + p.second + " minutes after the hour";
    case kEveryDays:
        return "Every " + p.first + " Days at " + textfmt::FormatDateTime(fs.shortTimeFormat, FloatParam(p.second), fs);
    case kEveryWeeks: {
        int d = IntParam(p.second);
        if (d < 0 || d > 6) throw ParamsError("'" + p.second + "' is not a day of the week");
        return "Every " + p.first + " Weeks at starting on " + kWeekdayNames[d];
    }
    case kEveryMonths:
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
