#pragma once
// The junk suite's fixture: a clean settings tree, logs in a folder of their own, drive J: (a
// folder of the suite, see fixtures.sh) emptied and checked as the only drive, dialogs that fail
// the test on any unscripted question, and hint windows recorded and closed.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "app/paths.h"
#include "platform/dialogs.h"
#include "platform/files.h"
#include "platform/handles.h"
#include "platform/registry.h"
#include "platform/strings.h"
#include "platform/window.h"
#include "support/fixtures.h"
#include "support/scripted_dialogs.h"
#include "tools/junk/frm_junk.h"

namespace junktest {

inline constexpr const char* kDrive = "J:\\";
inline constexpr const char* kWorkRoot = "C:\\junktest\\";
inline constexpr const char* kLogsKey = "Software\\Quorvel\\Vantrel\\Logs";

inline std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find("\r\n", start);
        if (end == std::string::npos) {
            lines.push_back(text.substr(start));
            break;
        }
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

// Empties a folder without removing it (the drive root stays).
inline void EmptyFolder(const std::string& folder) {
    for (auto& e : platform::ListFolder(folder)) {
        const std::string child = folder + e.name;
        if (e.isDirectory())
            testsupport::RemoveTree(child);
        else {
            platform::SetAttributes(child, FILE_ATTRIBUTE_NORMAL);
            platform::DeleteFileAt(child);
        }
    }
}

class JunkTest : public testing::Test {
protected:
    void SetUp() override {
        testsupport::ClearProductKey();
        ASSERT_TRUE(platform::FolderExists(kDrive)) << "drive J: is missing: run the suite through wine_suite.sh";
        EmptyFolder(kDrive);
        testsupport::RemoveTree(kWorkRoot);
        logs = std::string(kWorkRoot) + "logs\\";
        temp = std::string(kWorkRoot) + "temp\\";
        ASSERT_TRUE(platform::ForceFolders(logs));
        ASSERT_TRUE(platform::ForceFolders(temp));
        app::SetProgramFolderForTesting(logs);
        UseTempFolder(temp);
        // Only J: is scanned, and the options count as stored (no first-use check of the fixed
        // drives, which include Wine's view of the whole Unix tree as Z:).
        platform::RegKey::Create(HKEY_CURRENT_USER, tools::junk::kJunkKey).writeString("Drives", "J");
        platform::RegKey::Create(HKEY_CURRENT_USER, std::string(tools::junk::kJunkStateKey) + "\\pos");
        m_previousHook = platform::Form::SetModalHook([this](platform::Form& form) {
            if (form.className() == "TfrmHint") {
                auto* text = form.controlAs<platform::Edit>("edHint");
                hints.push_back(text ? text->text() : std::string());
            } else {
                ADD_FAILURE() << "unexpected modal window " << form.className();
            }
            form.setModalResult(IDOK);
        });
    }

    void TearDown() override {
        platform::Form::SetModalHook(m_previousHook);
        for (auto& h : m_held)
            h.reset();
        app::SetProgramFolderForTesting("");
        SetEnvironmentVariableW(L"TMP", m_savedTmp.empty() ? nullptr : platform::Widen(m_savedTmp).c_str());
        SetEnvironmentVariableW(L"TEMP", m_savedTemp.empty() ? nullptr : platform::Widen(m_savedTemp).c_str());
        EmptyFolder(kDrive);
        testsupport::RemoveTree(kWorkRoot);
        testsupport::ClearProductKey();
    }

    // The temporary folder the program sees (GetTempPath reads TMP first).
    void UseTempFolder(const std::string& folder) {
        if (!m_tempSaved) {
            m_savedTmp = platform::EnvironmentVariable("TMP");
            m_savedTemp = platform::EnvironmentVariable("TEMP");
            m_tempSaved = true;
        }
        SetEnvironmentVariableW(L"TMP", platform::Widen(folder).c_str());
        SetEnvironmentVariableW(L"TEMP", platform::Widen(folder).c_str());
    }

    // Writes a file below J:\ (folders made on the way) and returns its path.
    std::string onDrive(const std::string& relative, std::string_view bytes = "junk") {
        return write(std::string(kDrive) + relative, bytes);
    }
    static std::string write(const std::string& path, std::string_view bytes) {
        platform::ForceFolders(platform::ExtractFilePath(path));
        EXPECT_TRUE(platform::WriteFileBytes(path, bytes)) << path;
        return path;
    }
    // Opens a file for writing without sharing, as a program using it would; closed at the end.
    void holdOpen(const std::string& path) {
        platform::UniqueFile f(CreateFileW(platform::Widen(path).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        ASSERT_TRUE(f) << path;
        m_held.push_back(std::make_unique<platform::UniqueFile>(std::move(f)));
    }
    void release() { m_held.clear(); }

    std::unique_ptr<tools::junk::TfrmJunk> open() {
        auto w = std::make_unique<tools::junk::TfrmJunk>();
        w->create();
        return w;
    }
    // Presses "&Scan"; the scan runs inside the click, as the unattended run relies on.
    static void scan(tools::junk::TfrmJunk& w) {
        ASSERT_EQ(w.cmdGo.caption(), "&Scan");
        ASSERT_TRUE(w.cmdGo.click());
        EXPECT_EQ(w.cmdGo.caption(), "&Scan");
    }
    static std::vector<std::string> rows(const tools::junk::TfrmJunk& w) {
        std::vector<std::string> out;
        for (int r = 0; r < w.lv.rowCount(); ++r)
            out.push_back(w.lv.text(r));
        return out;
    }
    static std::string lower(const std::string& s) { return platform::LowerCase(s); }
    std::vector<std::string> logLines(const std::string& file) const {
        return SplitLines(testsupport::ReadText(logs + file));
    }
    bool logExists(const std::string& file) const { return platform::FileExists(logs + file); }
    static int32_t counter(const char* name) {
        auto key = platform::RegKey::Open(HKEY_CURRENT_USER, kLogsKey);
        return key ? key->readInt(name).value_or(-1) : -1;
    }

    std::string logs, temp;
    std::vector<std::string> hints; // texts of the hint windows shown
    testsupport::ScriptedDialogs dialogs;

private:
    platform::Form::ModalHook m_previousHook;
    std::vector<std::unique_ptr<platform::UniqueFile>> m_held;
    std::string m_savedTmp, m_savedTemp;
    bool m_tempSaved = false;
};

} // namespace junktest
