#include "sched/frm_sprops.h"

#include <algorithm>
#include <cmath>
#include <exception>
#include <utility>

#include "app/help.h"
#include "app/pure/format.h"
#include "platform/dialogs.h"
#include "platform/os.h"
#include "platform/registry.h"
#include "sched/clock.h"
#include "sched/pure/schedule_calc.h"
#include "sched/schedule_store.h"

namespace sched {

using platform::RegKey;

namespace {
constexpr double kOneHour = 1.0 / 24.0;

std::string Trimmed(std::string s) {
    size_t first = s.find_first_not_of(" \t");
    if (first == std::string::npos) return {};
    size_t last = s.find_last_not_of(" \t");
    return s.substr(first, last - first + 1);
}

int NumberParam(const std::string& text) {
    int32_t v = 0;
    if (!textfmt::ParseInt(text, v)) throw ParamsError("'" + text + "' is not a valid integer value");
    return v;
}

bool SameSecond(double a, double b) {
    return std::llround(a * 86400.0) == std::llround(b * 86400.0);
}
} // namespace

TfrmSProps::TfrmSProps(std::string scheduleKey, bool taskEnabled)
    : Form("TfrmSProps"), m_key(std::move(scheduleKey)), m_taskEnabled(taskEnabled) {}

std::array<platform::RadioButton*, 7> TfrmSProps::options() {
    return {&optMinutes, &optHours, &optDays, &optWeeks, &optMonths, &optWinStart, &optShutdown};
}

void TfrmSProps::addNumberField(platform::Edit& edit, UpDown& spinner, const std::string& name, int x, int y, int lo,
                                int hi, int step, int initial) {
    addEdit(edit, "ed" + name, std::to_string(initial), {x, y, 56, 22}, nullptr, ES_NUMBER);
    SendMessageW(edit.hwnd(), EM_LIMITTEXT, 2, 0);
    add(spinner, "ud" + name, UPDOWN_CLASSW, "", UpDown::kStyle, {x + 40, y, 16, 22});
    spinner.setBuddy(edit);
    spinner.setRange(lo, hi);
    spinner.setIncrement(step);
    spinner.setPosition(initial);
}

void TfrmSProps::buildWindow(HWND owner) {
    createWindow({"Scheduled Item Properties", 490, 424, WS_POPUP | WS_CAPTION | WS_SYSMENU,
                  WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT},
                 owner);
    addLabel(lblIntro, "lblIntro", "Use the options below to specify when this maintenance is to be performed.",
             {12, 8, 466, 32});

    // Each number field is 56 units wide with its spinner inside its right edge.
    addGroupBox(gbTimed, "gbTimed", "Timed Intervals", {12, 42, 466, 192});
    addRadio(optMinutes, "optMinutes", "&Every...", {24, 63, 76, 20}, true);
    addNumberField(edMinutes, udMinutes, "Minutes", 104, 62, 1, 59, 1, 30);
    addLabel(lblMinutes, "lblMinutes", "Minutes", {166, 65, 80, 16});

    addRadio(optHours, "optHours", "Every...", {24, 95, 76, 20}, false);
    addNumberField(edHours, udHours, "Hours", 104, 94, 1, 99, 1, 5);
    addLabel(lblHoursAt, "lblHoursAt", "Hours at", {166, 97, 54, 16});
    addNumberField(edHourMinutes, udHourMinutes, "HourMinutes", 222, 94, 1, 59, 5, 30);
    addLabel(lblMinutesAfter, "lblMinutesAfter", "minutes after the hour", {284, 97, 180, 16});

    addRadio(optDays, "optDays", "Every...", {24, 127, 76, 20}, false);
    addNumberField(edDays, udDays, "Days", 104, 126, 1, 99, 1, 5);
    addLabel(lblDaysAt, "lblDaysAt", "Days at the following time:", {166, 129, 164, 16});
    add(deDaysTime, "deDaysTime", DATETIMEPICK_CLASSW, "", DateTimePicker::kTimeStyle, {336, 126, 112, 22});
    deDaysTime.setValue(0); // 00:00

    addRadio(optWeeks, "optWeeks", "Every...", {24, 159, 76, 20}, false);
    addNumberField(edWeeks, udWeeks, "Weeks", 104, 158, 1, 99, 1, 1);
    addLabel(lblWeeksOn, "lblWeeksOn", "Weeks starting on ", {166, 161, 114, 16});
    addComboBox(cboWeekday, "cboWeekday", {282, 158, 120, 22});
    for (const char* day : kWeekdayNames)
        cboWeekday.addItem(day);

    addRadio(optMonths, "optMonths", "Every...", {24, 191, 76, 20}, false);
    addNumberField(edMonths, udMonths, "Months", 104, 190, 1, 99, 1, 1);
    addLabel(lblMonthsOn, "lblMonthsOn", "Months starting on day", {166, 193, 150, 16});
    addNumberField(edMonthDay, udMonthDay, "MonthDay", 320, 190, 1, 31, 1, 1);
    addLabel(lblOfMonth, "lblOfMonth", "of the month", {382, 193, 90, 16});

    addGroupBox(gbExternal, "gbExternal", "Externally Triggered Intervals", {12, 242, 466, 76});
    addRadio(optWinStart, "optWinStart", "Each time Windows starts", {24, 263, 300, 20}, false);
    addRadio(optShutdown, "optShutdown", "When you shut down Windows", {24, 289, 300, 20}, false);

    addGroupBox(gbNextRun, "gbNextRun", "Next Run Date and Time", {12, 326, 466, 54});
    addLabel(lblNextOn, "lblNextOn", "On", {24, 350, 24, 16});
    add(deNextDate, "deNextDate", DATETIMEPICK_CLASSW, "", DateTimePicker::kDateStyle, {50, 346, 124, 22});
    addLabel(lblNextAt, "lblNextAt", "at", {184, 350, 18, 16});
    add(deNextTime, "deNextTime", DATETIMEPICK_CLASSW, "", DateTimePicker::kTimeStyle, {204, 346, 112, 22});

    addButton(cmdOK, "cmdOK", "&OK", {226, 390, 80, 25});
    addButton(cmdCancel, "cmdCancel", "&Cancel", {314, 390, 80, 25});
    addButton(cmdHelp, "cmdHelp", "&Help", {402, 390, 76, 25});
    setDefaultButton(&cmdOK);
    setCancelButton(&cmdCancel);
    cmdOK.onClick = [this] { cmdOKClick(); };
    cmdCancel.onClick = [this] { close(); };
    cmdHelp.onClick = [this] { FormHelp(); };

    auto opts = options();
    for (int type = 0; type < static_cast<int>(opts.size()); ++type)
        opts[static_cast<size_t>(type)]->onClick = [this, type] { selectType(type); };
    selectType(kEveryDays);
}

void TfrmSProps::hideShutdownOption() {
    m_shutdownAllowed = false;
    if (isOpen()) {
        optShutdown.setVisible(false);
        if (selectedType() == kAtWindowsShutdown) selectType(kEveryDays);
    }
}

void TfrmSProps::selectType(int type) {
    auto opts = options();
    for (int i = 0; i < static_cast<int>(opts.size()); ++i)
        opts[static_cast<size_t>(i)]->setChecked(i == type);
    bool timed = type >= kEveryMinutes && type <= kEveryMonths;
    deNextDate.setEnabled(timed);
    deNextTime.setEnabled(timed);
}

int TfrmSProps::selectedType() const {
    auto opts = const_cast<TfrmSProps*>(this)->options();
    for (int i = 0; i < static_cast<int>(opts.size()); ++i)
        if (opts[static_cast<size_t>(i)]->checked()) return i;
    return kEveryDays;
}

void TfrmSProps::FormShow() {
    cboWeekday.setItemIndex(0); // Sunday
    try {
        fillFromKey();
    } catch (const std::exception& e) {
        // The dialog still opens with its defaults so that the broken schedule can be replaced.
        platform::ShowErrorBox(e.what(), hwnd());
    }
    if (!m_shutdownAllowed || platform::IsNT()) {
        optShutdown.setVisible(false);
        if (selectedType() == kAtWindowsShutdown) selectType(kEveryDays);
    }
    selectType(selectedType());
    proposeNextRun();
    cmdOK.setFocus();
}

void TfrmSProps::fillFromKey() {
    auto k = RegKey::Create(HKEY_CURRENT_USER, m_key);
    m_storedType = ReadSchedType(k);
    if (!m_storedType || *m_storedType < kEveryMinutes || *m_storedType > kAtWindowsShutdown) return;
    const int type = *m_storedType;
    ScheduleParams p = SplitParams(ReadParams(k).value_or(""));
    switch (type) {
    case kEveryMinutes:
        udMinutes.setPosition(NumberParam(p.first));
        break;
    case kEveryHours:
        udHours.setPosition(NumberParam(p.first));
        udHourMinutes.setPosition(NumberParam(p.second));
        break;
    case kEveryDays: {
        udDays.setPosition(NumberParam(p.first));
        double t = 0;
        if (!textfmt::ParseFloat(p.second, t) || !std::isfinite(t))
            throw ParamsError("'" + p.second + "' is not a valid floating point value");
        deDaysTime.setValue(std::fabs(t - std::trunc(t)));
        break;
    }
    case kEveryWeeks: {
        udWeeks.setPosition(NumberParam(p.first));
        int d = NumberParam(p.second);
        if (d < 0 || d > 6) throw ParamsError("'" + p.second + "' is not a valid day of the week");
        cboWeekday.setItemIndex(d);
        break;
    }
    case kEveryMonths:
        udMonths.setPosition(NumberParam(p.first));
        udMonthDay.setPosition(NumberParam(p.second));
        break;
    default:
        break;
    }
    selectType(type);
}

void TfrmSProps::proposeNextRun() {
    const double now = Now();
    double proposed = now + kOneHour;
    if (m_storedType && (*m_storedType == kAtWindowsStart || *m_storedType == kAtWindowsShutdown)) {
        proposed = now;
    } else if (m_storedType) {
        try {
            if (auto next = NextScanOfKey(m_key, now)) proposed = *next;
        } catch (const std::exception& e) {
            platform::ShowErrorBox(e.what(), hwnd());
        }
    }
    // Date and time both come from the one moment, so an hour from 23:30 is tomorrow's 00:30.
    m_proposed = proposed;
    deNextDate.setValue(proposed);
    deNextTime.setValue(proposed);
}

bool TfrmSProps::takeNumber(const NumberField& field, std::string& out) {
    out = Trimmed(field.edit->text());
    int32_t v = 0;
    if (textfmt::ParseInt(out, v) && v >= field.lo && v <= field.hi) return true;
    platform::ShowMessage("Please enter a whole number from " + std::to_string(field.lo) + " to " +
                              std::to_string(field.hi) + " in this field.",
                          "Scheduled Item Properties", platform::MsgButtons::Ok, platform::MsgIcon::Warning, hwnd());
    field.edit->setFocus();
    field.edit->selectAll();
    return false;
}

void TfrmSProps::cmdOKClick() {
    const int type = selectedType();
    std::string params, a, b;
    switch (type) {
    case kEveryMinutes:
        if (!takeNumber({&edMinutes, &udMinutes, 1, 59}, a)) return;
        params = a;
        break;
    case kEveryHours:
        if (!takeNumber({&edHours, &udHours, 1, 99}, a) || !takeNumber({&edHourMinutes, &udHourMinutes, 1, 59}, b))
            return;
        params = a + "|" + b;
        break;
    case kEveryDays:
        if (!takeNumber({&edDays, &udDays, 1, 99}, a)) return;
        params = a + "|" + textfmt::FloatText(deDaysTime.timeOfDay());
        break;
    case kEveryWeeks:
        if (!takeNumber({&edWeeks, &udWeeks, 1, 99}, a)) return;
        params = a + "|" + std::to_string(std::max(cboWeekday.itemIndex(), 0));
        break;
    case kEveryMonths:
        if (!takeNumber({&edMonths, &udMonths, 1, 99}, a) || !takeNumber({&edMonthDay, &udMonthDay, 1, 31}, b)) return;
        params = a + "|" + b;
        break;
    default:
        break;
    }

    auto k = RegKey::Create(HKEY_CURRENT_USER, m_key);
    k.writeInt("SchedType", type);
    k.writeString("Params", params);
    if (auto task = TaskOfKey(m_key)) {
        if (type == kAtWindowsStart && m_taskEnabled)
            WriteTaskStartup(*task);
        else
            RemoveTaskStartup(*task);
    }
    double next = deNextDate.date() + deNextTime.timeOfDay();
    // The pickers hold whole seconds; an untouched proposal keeps the stored moment exactly.
    if (SameSecond(std::trunc(next), std::trunc(m_proposed)) &&
        SameSecond(next - std::trunc(next), m_proposed - std::trunc(m_proposed)))
        next = m_proposed;
    WriteDateTime(k, "NextRun", next);
    setModalResult(IDOK);
    close();
}

void TfrmSProps::FormHelp() {
    app::OpenHelpTopic(kSPropsHelpTopic);
}

} // namespace sched
