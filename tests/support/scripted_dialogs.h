#pragma once
// Dialogs for tests: each expected question is scripted with its answer; any other question
// fails the test (and is answered No/Cancel so the code under test goes on).
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "platform/dialogs.h"

namespace testsupport {

struct AskedQuestion {
    std::string kind; // "message", "input", "folder", "file"
    std::string caption;
    std::string text;
    std::string initial;
};

class ScriptedDialogs : public platform::Dialogs {
public:
    ScriptedDialogs();
    ~ScriptedDialogs() override;
    ScriptedDialogs(const ScriptedDialogs&) = delete;
    ScriptedDialogs& operator=(const ScriptedDialogs&) = delete;

    // A message whose text contains textPart (empty: any message) is answered with answer.
    ScriptedDialogs& expectMessage(std::string textPart, platform::MsgResult answer = platform::MsgResult::Ok);
    // An input box with this prompt part; nullopt answers Cancel.
    ScriptedDialogs& expectInput(std::string promptPart, std::optional<std::string> answer);
    ScriptedDialogs& expectFolder(std::optional<std::string> answer);
    ScriptedDialogs& expectFile(std::optional<std::string> answer);

    const std::vector<AskedQuestion>& asked() const noexcept { return m_asked; }
    size_t pending() const noexcept { return m_script.size(); }
    // Fails the test when scripted questions were never asked.
    void verifyAllAsked();

    platform::MsgResult message(HWND owner, const platform::MessageRequest& request) override;
    std::optional<std::string> inputQuery(HWND owner, std::string_view caption, std::string_view prompt,
                                          std::string_view initial) override;
    std::optional<std::string> browseFolder(HWND owner, std::string_view title, std::string_view start) override;
    std::optional<std::string> openFile(HWND owner, const platform::FileOpenRequest& request) override;

private:
    struct Step {
        std::string kind;
        std::string textPart;
        platform::MsgResult answer = platform::MsgResult::Ok;
        std::optional<std::string> text;
    };
    std::optional<Step> take(const std::string& kind, const std::string& text);
    std::deque<Step> m_script;
    std::vector<AskedQuestion> m_asked;
    platform::Dialogs* m_previous = nullptr;
    bool m_verified = false;
};

} // namespace testsupport
