#include "app/settings.h"

#include <windows.h>

#include <algorithm>
#include <cstring>

#include "app/pure/format.h"
#include "app/pure/placement.h"
#include "platform/registry.h"
#include "platform/window.h"

namespace app {

using platform::RegKey;

int32_t ReadRegInt(std::string_view key, std::string_view name) {
    auto k = RegKey::Create(HKEY_CURRENT_USER, key);
    return k.readInt(name).value_or(0);
}

void WriteRegInt(std::string_view key, std::string_view name, int32_t value) {
    RegKey::Create(HKEY_CURRENT_USER, key).writeInt(name, value);
}

bool ReadRegBool(std::string_view key, std::string_view name) {
    auto k = RegKey::TryCreate(HKEY_CURRENT_USER, key);
    if (!k) return true;
    auto v = k->readInt(name);
    return v ? *v != 0 : true;
}

void WriteRegBool(std::string_view key, std::string_view name, bool value) {
    RegKey::Create(HKEY_CURRENT_USER, key).writeInt(name, value ? 1 : 0);
}

void DeleteRegValue(std::string_view key, std::string_view name) {
    RegKey::Create(HKEY_CURRENT_USER, key).deleteValue(name);
}

int32_t SaturatingAdd(int32_t total, int64_t amount) {
    int64_t sum = static_cast<int64_t>(total) + amount;
    return static_cast<int32_t>(std::clamp<int64_t>(sum, INT32_MIN, INT32_MAX));
}

int32_t AddToCounter(std::string_view key, std::string_view name, int64_t amount) {
    int32_t total = SaturatingAdd(ReadRegInt(key, name), amount);
    WriteRegInt(key, name, total);
    return total;
}

std::optional<double> ReadRegDateTime(std::string_view key, std::string_view name) {
    auto k = RegKey::Create(HKEY_CURRENT_USER, key);
    auto bytes = k.readBinary(name);
    if (!bytes || bytes->size() != sizeof(double)) return std::nullopt;
    double d;
    std::memcpy(&d, bytes->data(), sizeof d);
    return d;
}

void WriteRegDateTime(std::string_view key, std::string_view name, double value) {
    RegKey::Create(HKEY_CURRENT_USER, key).writeBinary(name, &value, sizeof value);
}

// ---- RegIniFile ----

RegIniFile::RegIniFile(std::string keyPath) : m_key(std::move(keyPath)) {
    // "Key\" + "\Section" would make an empty path element, which the registry refuses.
    while (!m_key.empty() && m_key.back() == '\\')
        m_key.pop_back();
}

std::string RegIniFile::sectionPath(std::string_view section) const {
    if (section.empty()) return m_key;
    return m_key + "\\" + std::string(section);
}

std::string RegIniFile::readString(std::string_view section, std::string_view ident,
                                   std::string_view defaultValue) const {
    auto k = RegKey::Open(HKEY_CURRENT_USER, sectionPath(section));
    if (!k) return std::string(defaultValue);
    auto v = k->readValue(ident);
    if (!v) return std::string(defaultValue);
    if (v->type == REG_SZ || v->type == REG_EXPAND_SZ) return v->text();
    if (v->type == REG_DWORD && v->data.size() >= 4) {
        int32_t i;
        std::memcpy(&i, v->data.data(), 4);
        return std::to_string(i);
    }
    throw platform::RegTypeError(std::string(ident), v->type);
}

int32_t RegIniFile::readInteger(std::string_view section, std::string_view ident, int32_t defaultValue) const {
    auto k = RegKey::Open(HKEY_CURRENT_USER, sectionPath(section));
    if (!k) return defaultValue;
    auto v = k->readValue(ident);
    if (!v) return defaultValue;
    if (v->type == REG_DWORD && v->data.size() >= 4) {
        int32_t i;
        std::memcpy(&i, v->data.data(), 4);
        return i;
    }
    int32_t parsed = 0;
    if ((v->type == REG_SZ || v->type == REG_EXPAND_SZ) && textfmt::ParseInt(v->text(), parsed)) return parsed;
    return defaultValue;
}

bool RegIniFile::readBool(std::string_view section, std::string_view ident, bool defaultValue) const {
    return readInteger(section, ident, defaultValue ? 1 : 0) != 0;
}

void RegIniFile::writeString(std::string_view section, std::string_view ident, std::string_view value) {
    RegKey::Create(HKEY_CURRENT_USER, sectionPath(section)).writeString(ident, value);
}

void RegIniFile::writeInteger(std::string_view section, std::string_view ident, int32_t value) {
    writeString(section, ident, std::to_string(value));
}

void RegIniFile::writeBool(std::string_view section, std::string_view ident, bool value) {
    writeString(section, ident, value ? "1" : "0");
}

bool RegIniFile::valueExists(std::string_view section, std::string_view ident) const {
    auto k = RegKey::Open(HKEY_CURRENT_USER, sectionPath(section));
    return k && k->hasValue(ident);
}

bool RegIniFile::sectionExists(std::string_view section) const {
    return platform::KeyExists(HKEY_CURRENT_USER, sectionPath(section));
}

void RegIniFile::deleteKey(std::string_view section, std::string_view ident) {
    if (auto k = RegKey::Open(HKEY_CURRENT_USER, sectionPath(section), KEY_READ | KEY_WRITE)) k->deleteValue(ident);
}

void RegIniFile::eraseSection(std::string_view section) {
    platform::DeleteKeyTree(HKEY_CURRENT_USER, sectionPath(section));
}

std::vector<std::string> RegIniFile::readSection(std::string_view section) const {
    auto k = RegKey::Open(HKEY_CURRENT_USER, sectionPath(section));
    return k ? k->valueNames() : std::vector<std::string>{};
}

std::vector<std::string> RegIniFile::readSections() const {
    auto k = RegKey::Open(HKEY_CURRENT_USER, m_key);
    return k ? k->subkeyNames() : std::vector<std::string>{};
}

// ---- window placement ----

namespace {
BOOL CALLBACK CollectMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM data) {
    MONITORINFO mi{};
    mi.cbSize = sizeof(mi);
    if (GetMonitorInfoW(monitor, &mi)) {
        auto* areas = reinterpret_cast<std::vector<ScreenRect>*>(data);
        ScreenRect r{mi.rcWork.left, mi.rcWork.top, mi.rcWork.right, mi.rcWork.bottom};
        if (mi.dwFlags & MONITORINFOF_PRIMARY)
            areas->insert(areas->begin(), r);
        else
            areas->push_back(r);
    }
    return TRUE;
}

std::vector<ScreenRect> WorkAreas() {
    std::vector<ScreenRect> areas;
    EnumDisplayMonitors(nullptr, nullptr, CollectMonitor, reinterpret_cast<LPARAM>(&areas));
    if (areas.empty()) {
        RECT r;
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &r, 0);
        areas.push_back({r.left, r.top, r.right, r.bottom});
    }
    return areas;
}

std::pair<std::string, std::string> SplitProperty(std::string_view property) {
    size_t dot = property.find('.');
    if (dot == std::string_view::npos) return {std::string(property), {}};
    return {std::string(property.substr(0, dot)), std::string(property.substr(dot + 1))};
}
} // namespace

WindowStateStore::WindowStateStore(std::string keyPath, std::string section)
    : m_ini(std::move(keyPath)), m_section(std::move(section)) {}

std::string WindowStateStore::ValueName(std::string_view property) {
    std::string name(property);
    std::replace(name.begin(), name.end(), '.', '_');
    return name;
}

std::optional<std::string> WindowStateStore::read(std::string_view valueName) const {
    if (!m_ini.valueExists(m_section, valueName)) return std::nullopt;
    return m_ini.readString(m_section, valueName, "");
}

void WindowStateStore::write(std::string_view valueName, std::string_view value) {
    m_ini.writeString(m_section, valueName, value);
}

bool WindowStateStore::hasPosition() const {
    return m_ini.valueExists(m_section, "Left");
}

void WindowStateStore::restore(platform::Form& form, const std::vector<std::string>& properties) const {
    if (hasPosition() && form.isOpen()) {
        const RECT current = form.windowRect();
        const int currentWidth = current.right - current.left, currentHeight = current.bottom - current.top;
        int width = m_ini.readInteger(m_section, "Width", currentWidth);
        int height = m_ini.readInteger(m_section, "Height", currentHeight);
        // A fixed-size window is laid out for the screen it opens on; only a sizable one takes a
        // stored size, and never an empty one.
        const bool sizable = (GetWindowLongPtrW(form.hwnd(), GWL_STYLE) & WS_THICKFRAME) != 0;
        if (!sizable || width <= 0) width = currentWidth;
        if (!sizable || height <= 0) height = currentHeight;
        ScreenRect stored;
        stored.left = m_ini.readInteger(m_section, "Left", current.left);
        stored.top = m_ini.readInteger(m_section, "Top", current.top);
        stored.right = stored.left + width;
        stored.bottom = stored.top + height;
        ScreenRect placed = PlaceOnScreen(stored, WorkAreas());
        form.setWindowRect({placed.left, placed.top, placed.right, placed.bottom});
    }
    for (const auto& p : properties) {
        auto value = read(ValueName(p));
        if (!value) continue;
        auto [controlName, prop] = SplitProperty(p);
        platform::Control* c = form.control(controlName);
        if (!c) continue;
        if (prop == "Checked") {
            auto* cb = dynamic_cast<platform::CheckBox*>(c);
            if (!cb) continue;
            if (*value == "True")
                cb->setChecked(true);
            else if (*value == "False")
                cb->setChecked(false);
        } else if (prop == "Text" || prop == "Caption") {
            c->setCaption(*value);
        } else if (prop == "ItemIndex") {
            int32_t i = 0;
            auto* combo = dynamic_cast<platform::ComboBox*>(c);
            if (combo && textfmt::ParseInt(*value, i) && i >= -1 && i < combo->count()) combo->setItemIndex(i);
        } else if (prop == "Width" || prop == "Height") {
            int32_t v = 0;
            if (textfmt::ParseInt(*value, v) && v > 0) {
                auto b = c->bounds();
                (prop == "Width" ? b.w : b.h) = v;
                c->setBounds(b);
            }
        }
    }
}

namespace {
// The rectangle the window has when it is neither minimised nor maximised, in screen pixels.
// GetWindowRect of a minimised window gives the parking place far off-screen.
RECT NormalRect(const platform::Form& form) {
    RECT r = form.windowRect();
    if (!IsIconic(form.hwnd()) && !IsZoomed(form.hwnd())) return r;
    WINDOWPLACEMENT wp{};
    wp.length = sizeof(wp);
    if (!GetWindowPlacement(form.hwnd(), &wp)) return r;
    r = wp.rcNormalPosition;
    // The normal position is in work-area coordinates, which differ from the screen's when the
    // task bar sits at the top or the left.
    if (!(GetWindowLongPtrW(form.hwnd(), GWL_EXSTYLE) & WS_EX_TOOLWINDOW)) {
        MONITORINFO mi{};
        mi.cbSize = sizeof(mi);
        if (GetMonitorInfoW(MonitorFromWindow(form.hwnd(), MONITOR_DEFAULTTOPRIMARY), &mi))
            OffsetRect(&r, mi.rcWork.left - mi.rcMonitor.left, mi.rcWork.top - mi.rcMonitor.top);
    }
    return r;
}
} // namespace

void WindowStateStore::save(const platform::Form& form, const std::vector<std::string>& properties) {
    if (form.isOpen()) {
        RECT r = NormalRect(form);
        m_ini.writeInteger(m_section, "Left", r.left);
        m_ini.writeInteger(m_section, "Top", r.top);
        m_ini.writeInteger(m_section, "Width", r.right - r.left);
        m_ini.writeInteger(m_section, "Height", r.bottom - r.top);
    }
    for (const auto& p : properties) {
        auto [controlName, prop] = SplitProperty(p);
        platform::Control* c = form.control(controlName);
        if (!c) continue;
        std::string value;
        if (prop == "Checked") {
            auto* cb = dynamic_cast<platform::CheckBox*>(c);
            if (!cb) continue;
            value = cb->checked() ? "True" : "False";
        } else if (prop == "Text" || prop == "Caption") {
            value = c->caption();
        } else if (prop == "ItemIndex") {
            auto* combo = dynamic_cast<platform::ComboBox*>(c);
            if (!combo) continue;
            value = std::to_string(combo->itemIndex());
        } else if (prop == "Width") {
            value = std::to_string(c->bounds().w);
        } else if (prop == "Height") {
            value = std::to_string(c->bounds().h);
        } else {
            continue;
        }
        write(ValueName(p), value);
    }
}

} // namespace app
