#pragma once
// Every question the program asks the user goes through this seam: a message box, an input box,
// the folder browser and the file-open dialog. The Win32 implementation asks the user; tests
// install a scripted one; unattended runs install one that refuses.
#include <windows.h>

#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace platform {

enum class MsgButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class MsgIcon { None, Information, Warning, Error, Question };
enum class MsgResult { Ok, Cancel, Yes, No };

struct MessageRequest {
    std::string text;
    std::string caption;
    MsgButtons buttons = MsgButtons::Ok;
    MsgIcon icon = MsgIcon::None;
};

struct FileOpenRequest {
    std::string title;
    std::string filter; // "Text files|*.txt|All files|*.*"
    std::string initialDir;
    std::string defaultExt;
};

class Dialogs {
public:
    virtual ~Dialogs() = default;
    virtual MsgResult message(HWND owner, const MessageRequest& request) = 0;
    // nullopt when cancelled.
    virtual std::optional<std::string> inputQuery(HWND owner, std::string_view caption, std::string_view prompt,
                                                  std::string_view initial) = 0;
    virtual std::optional<std::string> browseFolder(HWND owner, std::string_view title, std::string_view start) = 0;
    virtual std::optional<std::string> openFile(HWND owner, const FileOpenRequest& request) = 0;
};

// The dialogs in force (the Win32 ones unless replaced).
Dialogs& CurrentDialogs();
// Installs a replacement (not owned); nullptr restores the Win32 dialogs. Returns the previous one.
Dialogs* SetDialogs(Dialogs* dialogs);
Dialogs& Win32Dialogs();

// Conveniences over CurrentDialogs().
MsgResult ShowMessage(std::string_view text, std::string_view caption = "Vantrel", MsgButtons buttons = MsgButtons::Ok,
                      MsgIcon icon = MsgIcon::None, HWND owner = nullptr);
bool Confirm(std::string_view text, std::string_view caption = "Please Confirm", HWND owner = nullptr);
// Cancelling keeps the prefilled text (the input box's documented behaviour).
std::string InputBox(std::string_view caption, std::string_view prompt, std::string_view initial, HWND owner = nullptr);

// The application's standard error box, where storage failures end up.
void ShowErrorBox(std::string_view text, HWND owner = nullptr);

} // namespace platform
