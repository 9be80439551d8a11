#pragma once
// Shared arrangements for the registry cleaner's Wine tests: scratch keys and folders, a scratch
// program folder, a registry editor that writes a small file instead of exporting the registry,
// and a way to act from inside the scan's message pump.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/paths.h"
#include "platform/files.h"
#include "platform/os.h"
#include "platform/registry.h"
#include "platform/strings.h"
#include "support/fixtures.h"
#include "support/scripted_dialogs.h"
#include "tools/regclean/frm_regclean.h"
#include "tools/regclean/pure/finding.h"
#include "tools/regclean/registry_editor.h"

namespace regtest {

inline constexpr const char* kScratch = "Software\\VantrelTests\\RegClean";
// Test files live on C: in folders without blanks, so that the blank rule never hides a missing path.
inline constexpr const char* kFiles = "C:\\VantrelRegTest\\";
inline constexpr const char* kSharedDlls = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs";
inline constexpr const char* kOptions = "Software\\Quorvel\\Vantrel\\regclean\\pos";

using tools::regclean::TfrmRegClean;

// Runs functions from inside the next message pump (a scan pumps once per string value).
class Poster {
public:
    Poster() {
        static bool registered = false;
        if (!registered) {
            WNDCLASSW wc{};
            wc.lpfnWndProc = Proc;
            wc.hInstance = GetModuleHandleW(nullptr);
            wc.lpszClassName = L"RegTestPoster";
            RegisterClassW(&wc);
            registered = true;
        }
        m_hwnd = CreateWindowW(L"RegTestPoster", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, GetModuleHandleW(nullptr),
                               nullptr);
        SetWindowLongPtrW(m_hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    }
    ~Poster() { DestroyWindow(m_hwnd); }
    Poster(const Poster&) = delete;
    Poster& operator=(const Poster&) = delete;

    void post(std::function<void()> fn) {
        m_queue.push_back(std::move(fn));
        PostMessageW(m_hwnd, WM_APP, 0, 0);
    }
    // Runs fn at the first pump, 10 ms or more apart, at which ready() holds.
    void whenReady(std::function<bool()> ready, std::function<void()> fn) {
        m_ready = std::move(ready);
        m_whenReady = std::move(fn);
        SetTimer(m_hwnd, 1, USER_TIMER_MINIMUM, nullptr);
    }
    int ran() const noexcept { return m_ran; }

private:
    static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
        auto* self = reinterpret_cast<Poster*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
        if (self && msg == WM_APP && !self->m_queue.empty()) {
            auto fn = std::move(self->m_queue.front());
            self->m_queue.erase(self->m_queue.begin());
            ++self->m_ran;
            fn();
            return 0;
        }
        if (self && msg == WM_TIMER && self->m_ready && self->m_ready()) {
            KillTimer(hwnd, 1);
            self->m_ready = nullptr;
            ++self->m_ran;
            auto fn = std::move(self->m_whenReady);
            fn();
            return 0;
        }
        return DefWindowProcW(hwnd, msg, wp, lp);
    }
    HWND m_hwnd = nullptr;
    std::vector<std::function<void()>> m_queue;
    std::function<bool()> m_ready;
    std::function<void()> m_whenReady;
    int m_ran = 0;
};

inline std::string FileOfParameters(const std::string& parameters) {
    size_t a = parameters.find('"'), b = parameters.rfind('"');
    return a == std::string::npos || b <= a ? std::string() : parameters.substr(a + 1, b - a - 1);
}

inline std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> out;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find("\r\n", start);
        if (end == std::string::npos) end = text.size();
        out.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    return out;
}

class RegCleanTest : public testing::Test {
protected:
    void SetUp() override {
        testsupport::ClearProductKey();
        platform::DeleteKeyTree(HKEY_CURRENT_USER, kScratch);
        platform::DeleteKeyTree(HKEY_LOCAL_MACHINE, kScratch);
        testsupport::RemoveTree(kFiles);
        platform::ForceFolders(kFiles);
        m_folder = std::make_unique<testsupport::TempDir>();
        app::SetProgramFolderForTesting(m_folder->path());
        platform::OverrideOs(platform::OsFacts{platform::OsPlatform::NT, true});
        Areas(true, false, false, false);
        m_previousRunner = tools::regclean::SetRegistryEditorRunner([this](const std::string& p, uint32_t) {
            runs.push_back(p);
            if (editor) return editor(p);
            // A stand-in export: small, quick and in the editor's format.
            platform::WriteFileBytes(FileOfParameters(p), "Windows Registry Editor Version 5.00\r\n");
            return tools::regclean::EditorRun{true, true, 0};
        });
        SetCurrentDirectoryW(L"C:\\");
    }
    void TearDown() override {
        tools::regclean::SetRegistryEditorRunner(m_previousRunner);
        for (const auto& v : m_dllValues)
            if (auto k = platform::RegKey::Open(HKEY_LOCAL_MACHINE, kSharedDlls, KEY_ALL_ACCESS)) k->deleteValue(v);
        platform::DeleteKeyTree(HKEY_CURRENT_USER, kScratch);
        platform::DeleteKeyTree(HKEY_LOCAL_MACHINE, kScratch);
        SetCurrentDirectoryW(L"C:\\");
        testsupport::RemoveTree(kFiles);
        platform::OverrideOs(std::nullopt);
        app::SetProgramFolderForTesting("");
        m_folder.reset();
        testsupport::ClearProductKey();
    }

    std::unique_ptr<TfrmRegClean> Hidden() {
        auto f = std::make_unique<TfrmRegClean>();
        f->create();
        return f;
    }
    std::unique_ptr<TfrmRegClean> Shown() {
        auto f = Hidden();
        f->show();
        return f;
    }
    void Areas(bool cu, bool us, bool lm, bool sd) {
        auto k = platform::RegKey::Create(HKEY_CURRENT_USER, kOptions);
        k.writeInt("CU", cu);
        k.writeInt("US", us);
        k.writeInt("LM", lm);
        k.writeInt("SD", sd);
    }
    static void Scan(TfrmRegClean& f) { ASSERT_TRUE(f.btnStart.click()); }

    std::string Sub(const std::string& relative) const {
        return relative.empty() ? std::string(kScratch) : std::string(kScratch) + "\\" + relative;
    }
    platform::RegKey Key(const std::string& relative = {}, HKEY root = HKEY_CURRENT_USER) {
        return platform::RegKey::Create(root, Sub(relative), KEY_ALL_ACCESS);
    }
    // The "Registry Key" column of a scratch key found through HKEY_CURRENT_USER.
    std::string KeyColumn(const std::string& relative = {}) const { return "HKEY_CURRENT_USER: \\" + Sub(relative); }
    void WriteString(const std::string& relative, const std::string& name, const std::string& data, DWORD type = REG_SZ,
                     HKEY root = HKEY_CURRENT_USER) {
        Key(relative, root).writeString(name, data, type);
    }
    bool ValueExists(const std::string& relative, const std::string& name, HKEY root = HKEY_CURRENT_USER) {
        auto k = platform::RegKey::Open(root, Sub(relative));
        return k && k->hasValue(name);
    }
    std::string Missing(const std::string& name) const { return std::string(kFiles) + "gone\\" + name; }
    std::string Existing(const std::string& name) {
        std::string path = std::string(kFiles) + "here\\" + name;
        platform::ForceFolders(platform::ExtractFilePath(path));
        platform::WriteFileBytes(path, "x");
        return path;
    }
    void AddSharedDll(const std::string& path, int32_t uses = 1) {
        platform::RegKey::Create(HKEY_LOCAL_MACHINE, kSharedDlls, KEY_ALL_ACCESS).writeInt(path, uses);
        m_dllValues.push_back(path);
    }

    static std::vector<std::vector<std::string>> AllRows(TfrmRegClean& f) {
        std::vector<std::vector<std::string>> rows;
        for (int i = 0; i < f.lv.rowCount(); ++i)
            rows.push_back(f.lv.row(i));
        return rows;
    }
    // Rows whose key lies below the scratch key, under any root.
    static std::vector<std::vector<std::string>> ScratchRows(TfrmRegClean& f) {
        std::vector<std::vector<std::string>> rows;
        for (auto& r : AllRows(f))
            if (r[0].find(kScratch) != std::string::npos) rows.push_back(r);
        return rows;
    }
    // The scratch program folder: logs, "Registry Backup".
    std::string DataFolder() const { return m_folder->path(); }
    std::vector<std::string> LogLines(const std::string& file) const {
        return Lines(testsupport::ReadText(m_folder->path() + file));
    }

    std::vector<std::string> runs; // parameters of every registry editor run
    std::function<tools::regclean::EditorRun(const std::string&)> editor;
    std::unique_ptr<testsupport::TempDir> m_folder;
    std::vector<std::string> m_dllValues;

private:
    tools::regclean::EditorRunner m_previousRunner;
};

} // namespace regtest
