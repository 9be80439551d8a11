#include "sched/controls.h"

#include <algorithm>
#include <cmath>

#include "app/pure/format.h"

namespace sched {

// ---- UpDown ----

void UpDown::setBuddy(platform::Edit& field) {
    SendMessageW(m_hwnd, UDM_SETBUDDY, reinterpret_cast<WPARAM>(field.hwnd()), 0);
}

void UpDown::setRange(int lo, int hi) {
    SendMessageW(m_hwnd, UDM_SETRANGE32, static_cast<WPARAM>(lo), static_cast<LPARAM>(hi));
}

int UpDown::minimum() const {
    int lo = 0, hi = 0;
    SendMessageW(m_hwnd, UDM_GETRANGE32, reinterpret_cast<WPARAM>(&lo), reinterpret_cast<LPARAM>(&hi));
    return lo;
}

int UpDown::maximum() const {
    int lo = 0, hi = 0;
    SendMessageW(m_hwnd, UDM_GETRANGE32, reinterpret_cast<WPARAM>(&lo), reinterpret_cast<LPARAM>(&hi));
    return hi;
}

void UpDown::setIncrement(int step) {
    UDACCEL accel{0, static_cast<UINT>(step)};
    SendMessageW(m_hwnd, UDM_SETACCEL, 1, reinterpret_cast<LPARAM>(&accel));
}

int UpDown::increment() const {
    UDACCEL accel{0, 1};
    SendMessageW(m_hwnd, UDM_GETACCEL, 1, reinterpret_cast<LPARAM>(&accel));
    return static_cast<int>(accel.nInc);
}

int UpDown::position() const {
    return static_cast<int>(SendMessageW(m_hwnd, UDM_GETPOS32, 0, 0));
}

void UpDown::setPosition(int pos) {
    pos = std::clamp(pos, minimum(), maximum());
    SendMessageW(m_hwnd, UDM_SETPOS32, 0, pos);
    // The control shows the new position in its field only when the user steps it.
    if (HWND buddy = reinterpret_cast<HWND>(SendMessageW(m_hwnd, UDM_GETBUDDY, 0, 0)))
        SetWindowTextW(buddy, std::to_wstring(pos).c_str());
}

bool UpDown::click(bool up) {
    if (!enabled() || !visible()) return false;
    // The same notification a click on an arrow sends first; the parent may refuse the step.
    NMUPDOWN nm{};
    nm.hdr.hwndFrom = m_hwnd;
    nm.hdr.idFrom = static_cast<UINT_PTR>(m_id);
    nm.hdr.code = UDN_DELTAPOS;
    nm.iPos = position();
    nm.iDelta = up ? increment() : -increment();
    if (SendMessageW(GetParent(m_hwnd), WM_NOTIFY, nm.hdr.idFrom, reinterpret_cast<LPARAM>(&nm)) != 0) return true;
    setPosition(nm.iPos + nm.iDelta);
    return true;
}

// ---- DateTimePicker ----

double DateTimePicker::value() const {
    SYSTEMTIME st{};
    if (SendMessageW(m_hwnd, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&st)) != GDT_VALID) return 0;
    return textfmt::EncodeDateTime(st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond, st.wMilliseconds);
}

void DateTimePicker::setValue(double dateTime) {
    auto c = textfmt::DecodeDateTime(dateTime); // the picker keeps whole seconds
    SYSTEMTIME st{};
    st.wYear = static_cast<WORD>(c.year);
    st.wMonth = static_cast<WORD>(c.month);
    st.wDay = static_cast<WORD>(c.day);
    st.wDayOfWeek = static_cast<WORD>(c.dayOfWeek);
    st.wHour = static_cast<WORD>(c.hour);
    st.wMinute = static_cast<WORD>(c.minute);
    st.wSecond = static_cast<WORD>(c.second);
    SendMessageW(m_hwnd, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&st));
}

double DateTimePicker::date() const {
    return std::trunc(value());
}

double DateTimePicker::timeOfDay() const {
    double v = value();
    return std::fabs(v - std::trunc(v));
}

bool DateTimePicker::onNotify(NMHDR* hdr, LRESULT& result) {
    result = 0;
    if (hdr->code != DTN_DATETIMECHANGE) return false;
    if (onChange) onChange();
    return true;
}

} // namespace sched
