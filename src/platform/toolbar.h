#pragma once
// A toolbar of named text buttons, some with a drop-down arrow. The control a form adds is a small
// host window holding the common-controls toolbar: the toolbar reports its buttons to its parent by
// command id, and the host hands each one to the button's own handler.
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/window.h"

namespace platform {

class Toolbar : public Control {
public:
    // The window class to pass to Form::add for a toolbar.
    static const wchar_t* HostClassName();

    void addButton(std::string_view name, std::string_view caption, std::string_view hint = {}, bool dropDown = false);
    void setOnClick(std::string_view name, std::function<void()> onClick);
    // The arrow part of a drop-down button; the handler usually shows a menu below the button.
    void setOnDropDown(std::string_view name, std::function<void()> onDropDown);

    bool hasButton(std::string_view name) const;
    std::vector<std::string> buttonNames() const;
    std::string buttonCaption(std::string_view name) const;
    std::string buttonHint(std::string_view name) const;
    bool buttonEnabled(std::string_view name) const;
    void setButtonEnabled(std::string_view name, bool on);
    bool isDropDown(std::string_view name) const;
    // The button's rectangle in screen pixels (for placing a drop-down menu).
    RECT buttonRect(std::string_view name) const;

    // Press the button (or its arrow) as a user would: nothing happens when the button or the
    // toolbar is disabled or hidden. True when the handler ran.
    bool click(std::string_view name);
    bool dropDown(std::string_view name);

    HWND barHwnd() const noexcept { return m_bar; }

private:
    struct Item {
        std::string name, caption, hint;
        std::wstring wideHint;
        int id = 0;
        bool dropDown = false;
        std::function<void()> onClick, onDropDown;
    };
    void afterCreate() override;
    const Item* find(std::string_view name) const;
    Item* find(std::string_view name);
    Item* findById(int id);
    bool usable(const Item* item) const;
    static LRESULT CALLBACK HostProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) noexcept;
    LRESULT handle(UINT msg, WPARAM wp, LPARAM lp);

    HWND m_bar = nullptr;
    std::vector<Item> m_items;
    int m_nextId = 1;
};

} // namespace platform
