#include "support/scripted_dialogs.h"

#include <gtest/gtest.h>

namespace testsupport {

ScriptedDialogs::ScriptedDialogs() {
    m_previous = platform::SetDialogs(this);
}

ScriptedDialogs::~ScriptedDialogs() {
    platform::SetDialogs(m_previous);
    if (!m_verified) verifyAllAsked();
}

ScriptedDialogs& ScriptedDialogs::expectMessage(std::string textPart, platform::MsgResult answer) {
    m_script.push_back({"message", std::move(textPart), answer, std::nullopt});
    return *this;
}
ScriptedDialogs& ScriptedDialogs::expectInput(std::string promptPart, std::optional<std::string> answer) {
    m_script.push_back({"input", std::move(promptPart), platform::MsgResult::Ok, std::move(answer)});
    return *this;
}
ScriptedDialogs& ScriptedDialogs::expectFolder(std::optional<std::string> answer) {
    m_script.push_back({"folder", "", platform::MsgResult::Ok, std::move(answer)});
    return *this;
}
ScriptedDialogs& ScriptedDialogs::expectFile(std::optional<std::string> answer) {
    m_script.push_back({"file", "", platform::MsgResult::Ok, std::move(answer)});
    return *this;
}

void ScriptedDialogs::verifyAllAsked() {
    m_verified = true;
    for (auto& s : m_script)
        ADD_FAILURE() << "scripted " << s.kind << " was never asked: \"" << s.textPart << "\"";
    m_script.clear();
}

std::optional<ScriptedDialogs::Step> ScriptedDialogs::take(const std::string& kind, const std::string& text) {
    if (m_script.empty() || m_script.front().kind != kind ||
        (!m_script.front().textPart.empty() && text.find(m_script.front().textPart) == std::string::npos)) {
        ADD_FAILURE() << "unexpected " << kind << ": \"" << text << "\""
                      << (m_script.empty()
                              ? std::string(" (nothing scripted)")
                              : " (expected " + m_script.front().kind + " \"" + m_script.front().textPart + "\")");
        return std::nullopt;
    }
    Step s = m_script.front();
    m_script.pop_front();
    return s;
}

platform::MsgResult ScriptedDialogs::message(HWND, const platform::MessageRequest& r) {
    m_asked.push_back({"message", r.caption, r.text, ""});
    auto s = take("message", r.text);
    if (!s) return r.buttons == platform::MsgButtons::Ok ? platform::MsgResult::Ok : platform::MsgResult::No;
    return s->answer;
}

std::optional<std::string> ScriptedDialogs::inputQuery(HWND, std::string_view caption, std::string_view prompt,
                                                       std::string_view initial) {
    m_asked.push_back({"input", std::string(caption), std::string(prompt), std::string(initial)});
    auto s = take("input", std::string(prompt));
    if (!s) return std::nullopt;
    return s->text;
}

std::optional<std::string> ScriptedDialogs::browseFolder(HWND, std::string_view title, std::string_view start) {
    m_asked.push_back({"folder", std::string(title), "", std::string(start)});
    auto s = take("folder", std::string(title));
    if (!s) return std::nullopt;
    return s->text;
}

std::optional<std::string> ScriptedDialogs::openFile(HWND, const platform::FileOpenRequest& r) {
    m_asked.push_back({"file", r.title, r.filter, r.initialDir});
    auto s = take("file", r.title);
    if (!s) return std::nullopt;
    return s->text;
}

} // namespace testsupport
