#pragma once
// A small tool window for the unattended-run tests: a "&Scan" button relabelled "&Stop" while it
// scans, a result list and a status bar, driven through the same adapter as the real tools.
#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/messages.h"
#include "platform/window.h"
#include "sched/unattended.h"

namespace schedtest {

struct FakeToolLog {
    bool unattended = false;
    bool logUnattended = false;
    int scansStarted = 0;
    std::vector<std::string> removed;
    bool closed = false;
    std::string captionWhenShown;
};

class TfrmFake : public platform::Form {
public:
    enum class Mode { Timer, InsideClick, StopsEarly };

    TfrmFake(FakeToolLog& log, Mode mode, int rowsToFind)
        : Form("TfrmFake"), m_log(log), m_mode(mode), m_rows(rowsToFind) {}

    platform::Button cmdGo, cmdRemove;
    platform::ListView lvScan;
    platform::StatusBar StatusBar1;
    bool Unattended = false;
    bool LogUnattended = false;
    // Called with the row count each time the scan finds a row (tests press "Cancel" from here).
    std::function<void(int)> onRowFound;

    void removeAll() {
        lvScan.selectAll();
        cmdRemove.click();
    }

protected:
    void buildWindow(HWND owner) override {
        createWindow({"Fake Tool", 300, 200}, owner);
        addButton(cmdGo, "cmdGo", "&Scan", {8, 8, 80, 25});
        addButton(cmdRemove, "cmdRemove", "Remove", {96, 8, 80, 25});
        addListView(lvScan, "lvScan", {8, 40, 284, 120}, nullptr, false, true);
        lvScan.addColumn("File", 200);
        addStatusBar(StatusBar1, "StatusBar1", {-1});
        cmdGo.onClick = [this] { cmdGoClick(); };
        cmdRemove.onClick = [this] {
            for (int row : lvScan.selectedRows())
                m_log.removed.push_back(lvScan.text(row));
        };
    }
    void FormShow() override { m_log.captionWhenShown = caption(); }
    void FormClose() override { m_log.closed = true; }
    LRESULT onMessage(UINT msg, WPARAM wp, LPARAM lp, bool& handled) override {
        if (msg == WM_TIMER && wp == 1) {
            handled = true;
            if (cmdGo.caption() == "&Stop") findOne();
            return 0;
        }
        return Form::onMessage(msg, wp, lp, handled);
    }

private:
    void cmdGoClick() {
        if (cmdGo.caption() == "&Stop") {
            m_stop = true;
            if (m_mode == Mode::Timer) finish("Scan interrupted.");
            return;
        }
        m_log.unattended = Unattended;
        m_log.logUnattended = LogUnattended;
        ++m_log.scansStarted;
        m_stop = false;
        lvScan.clear();
        if (m_mode == Mode::StopsEarly) {
            StatusBar1.setPanelText(0, "Stopped: the source could not be read.");
            return;
        }
        cmdGo.setCaption("&Stop");
        StatusBar1.setPanelText(0, "Scanning...");
        if (m_mode == Mode::Timer) {
            SetTimer(hwnd(), 1, 20, nullptr);
            return;
        }
        // As the real tools do: the whole scan inside the click, letting messages run per item.
        while (!m_stop && lvScan.rowCount() < m_rows) {
            findOne();
            platform::ProcessMessages();
            Sleep(5);
        }
        finish(m_stop ? "Scan interrupted." : "Scan successfully completed.");
    }
    void findOne() {
        if (lvScan.rowCount() >= m_rows) {
            if (m_mode == Mode::Timer) finish("Scan successfully completed.");
            return;
        }
        int n = lvScan.addRow("file" + std::to_string(lvScan.rowCount() + 1) + ".tmp") + 1;
        if (onRowFound) onRowFound(n);
    }
    void finish(const char* status) {
        KillTimer(hwnd(), 1);
        cmdGo.setCaption("&Scan");
        StatusBar1.setPanelText(0, status);
    }

    FakeToolLog& m_log;
    Mode m_mode;
    int m_rows;
    bool m_stop = false;
};

// The adapter, as the program has one per tool.
class FakeTool : public sched::ButtonDrivenTool {
public:
    FakeTool(std::unique_ptr<TfrmFake> form, sched::DriveSpec spec)
        : ButtonDrivenTool(std::move(form), std::move(spec)) {}
    TfrmFake& fake() { return static_cast<TfrmFake&>(window()); }
    void setUnattended(bool unattended, bool logUnattended) override {
        fake().Unattended = unattended;
        fake().LogUnattended = logUnattended;
    }
    void removeAll() override {
        if (beforeRemove) beforeRemove();
        fake().removeAll();
    }
    std::function<void()> beforeRemove;
};

// Junk-style: finished when "&Scan" reads "&Scan" again. Registry-style: by the status text.
inline sched::DriveSpec CaptionSpec() {
    return {"cmdGo", "&Scan", "", {}, "lvScan"};
}
inline sched::DriveSpec StatusSpec(std::vector<std::string> doneTexts) {
    return {"cmdGo", "&Scan", "StatusBar1", std::move(doneTexts), "lvScan"};
}

} // namespace schedtest
