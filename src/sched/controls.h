#pragma once
// The two controls the schedule windows need beyond the shared set: the spinner beside a number
// field and the date or time picker. Created by a form with Form::add like any other control.
#include <windows.h>

#include <commctrl.h>

#include <functional>

#include "platform/window.h"

namespace sched {

// An up-down control bound to its number field: the field shows the position, and a click on an
// arrow steps it by the increment within the range.
class UpDown : public platform::Control {
public:
    static constexpr DWORD kStyle = UDS_SETBUDDYINT | UDS_ALIGNRIGHT | UDS_ARROWKEYS | UDS_NOTHOUSANDS;
    void setBuddy(platform::Edit& field);
    void setRange(int lo, int hi);
    int minimum() const;
    int maximum() const;
    void setIncrement(int step);
    int increment() const;
    int position() const;
    void setPosition(int pos); // also shows it in the field
    // A click on the up or down arrow, as a user makes it; false when the control is disabled.
    bool click(bool up);
};

// A date picker (short date) or a time picker (time with an up-down), holding a date-time.
class DateTimePicker : public platform::Control {
public:
    static constexpr DWORD kDateStyle = DTS_SHORTDATEFORMAT | WS_TABSTOP;
    static constexpr DWORD kTimeStyle = DTS_TIMEFORMAT | DTS_UPDOWN | WS_TABSTOP;
    std::function<void()> onChange;
    double value() const; // days since 1899-12-30, fraction = time of day
    void setValue(double dateTime);
    double date() const;      // the whole days only
    double timeOfDay() const; // the fraction only
    bool onNotify(NMHDR* hdr, LRESULT& result) override;
};

} // namespace sched
