#pragma once
// "Scheduled Item Properties": the timing of one task (schedule type, its numbers, the next run).
#include <windows.h>

#include <array>
#include <optional>
#include <string>

#include "platform/window.h"
#include "sched/controls.h"

namespace sched {

inline constexpr const char* kSPropsHelpTopic =
    "Scheduled_Maintenance_Enabling_scheduled_maintenance_for_a_specific_action";

class TfrmSProps : public platform::Form {
public:
    // The task's schedule key, and whether its "&Enabled?" box was on when the dialog was opened.
    TfrmSProps(std::string scheduleKey, bool taskEnabled);

    platform::Label lblIntro;
    platform::GroupBox gbTimed, gbExternal, gbNextRun;
    platform::RadioButton optMinutes, optHours, optDays, optWeeks, optMonths, optWinStart, optShutdown;
    platform::Edit edMinutes, edHours, edHourMinutes, edDays, edWeeks, edMonths, edMonthDay;
    UpDown udMinutes, udHours, udHourMinutes, udDays, udWeeks, udMonths, udMonthDay;
    platform::Label lblMinutes, lblHoursAt, lblMinutesAfter, lblDaysAt, lblWeeksOn, lblMonthsOn, lblOfMonth;
    DateTimePicker deDaysTime;
    platform::ComboBox cboWeekday;
    platform::Label lblNextOn, lblNextAt;
    DateTimePicker deNextDate, deNextTime;
    platform::Button cmdOK, cmdCancel, cmdHelp;

    // Only the trace erase can run at shut-down; the other tasks' dialogs hide that option.
    void hideShutdownOption();
    // Selects the option of a type (0-6) as a click on it would.
    void selectType(int type);
    // The type of the option selected now.
    int selectedType() const;

protected:
    void buildWindow(HWND owner) override;
    void FormShow() override;
    void FormHelp() override;

private:
    struct NumberField {
        platform::Edit* edit;
        UpDown* spinner;
        int lo, hi;
    };
    void addNumberField(platform::Edit& edit, UpDown& spinner, const std::string& name, int x, int y, int lo, int hi,
                        int step, int initial);
    std::array<platform::RadioButton*, 7> options();
    void fillFromKey();
    void proposeNextRun();
    // The field's trimmed text when it holds a number of its range; otherwise tells the user.
    bool takeNumber(const NumberField& field, std::string& out);
    void cmdOKClick();

    std::string m_key;
    bool m_taskEnabled;
    bool m_shutdownAllowed = true;
    std::optional<int> m_storedType;
    double m_proposed = 0;
};

} // namespace sched
