#pragma once
// What the black-box tests of the unattended runs share: starting Vantrel.exe with a switch and a
// bounded wait, the files the program leaves in its own folder, and the date stamps of its logs.
#include <gtest/gtest.h>

#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "app/pure/format.h"
#include "platform/files.h"
#include "platform/process.h"
#include "platform/registry.h"
#include "sched/schedule_store.h"
#include "support/fixtures.h"

namespace bbtest {

inline const std::string kSep(40, '=');
inline constexpr const char* kLogsKey = "Software\\Quorvel\\Vantrel\\Logs";

// Runs the program with the arguments and waits (bounded); the exit code, or nothing after a
// time-out (the process is then ended so that the suite goes on).
inline std::optional<DWORD> RunVantrel(const std::string& arguments, DWORD timeoutMs = 60000) {
    std::string exe = testsupport::BuildFolder() + "Vantrel.exe";
    std::string command = platform::QuoteArgument(exe) + " " + arguments;
    auto process = platform::StartProcess(command, testsupport::BuildFolder());
    if (!process) {
        ADD_FAILURE() << "could not start " << command << " (" << GetLastError() << ")";
        return std::nullopt;
    }
    auto code = platform::WaitForExit(*process, timeoutMs);
    if (!code) {
        TerminateProcess(process->process.get(), 99);
        (void)platform::WaitForExit(*process, 5000);
        ADD_FAILURE() << command << " did not end within " << timeoutMs << " ms";
    }
    return code;
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

// Files the program writes into its own folder (the build folder, which every run of the suite
// shares): those named are set aside for the test and put back afterwards; in the folder named,
// whatever the test made is removed, and the folder itself when it was not there before.
class ProgramFolderFiles {
public:
    ProgramFolderFiles(const std::vector<std::string>& files, std::string folder = {}) {
        for (const auto& name : files) {
            std::string path = testsupport::BuildFolder() + name;
            if (platform::FileExists(path)) {
                std::string aside = m_aside.file(std::to_string(m_kept.size()));
                if (platform::MoveFileTo(path, aside)) m_kept.emplace_back(path, aside);
            }
            m_watched.push_back(path);
        }
        if (!folder.empty()) {
            m_folder = testsupport::BuildFolder() + folder;
            m_folderExisted = platform::FolderExists(m_folder);
            if (m_folderExisted)
                for (const auto& f : platform::ListFolder(m_folder))
                    m_before.insert(f.name);
        }
    }
    ~ProgramFolderFiles() {
        for (const auto& path : m_watched)
            platform::DeleteFileAt(path);
        if (!m_folder.empty() && platform::FolderExists(m_folder)) {
            for (const auto& f : platform::ListFolder(m_folder))
                if (!m_before.count(f.name)) platform::DeleteFileAt(m_folder + f.name);
            if (!m_folderExisted) platform::RemoveFolder(m_folder);
        }
        for (const auto& [path, aside] : m_kept)
            platform::MoveFileTo(aside, path);
    }
    ProgramFolderFiles(const ProgramFolderFiles&) = delete;
    ProgramFolderFiles& operator=(const ProgramFolderFiles&) = delete;

private:
    testsupport::TempDir m_aside;
    std::vector<std::string> m_watched;
    std::vector<std::pair<std::string, std::string>> m_kept;
    std::string m_folder;
    std::set<std::string> m_before;
    bool m_folderExisted = false;
};

// The clock around one run of the program: its log stamps and its "LastRan" must fall inside.
class RunClock {
public:
    // A tool window that holds a file list writes its dates as "yyyy/mm/dd hh:nn" from then on.
    void expectFileListFormats() {
        m_formats.shortDateFormat = "yyyy/mm/dd";
        m_formats.longTimeFormat = "hh:nn";
    }
    void start() { m_start = platform::Now(); }
    void stop() { m_end = platform::Now(); }
    // "header" followed by the date and time of a moment of the run, as the logs write it.
    bool isStampOfRun(const std::string& line, const std::string& header) const {
        if (line.rfind(header, 0) != 0) return false;
        std::string stamp = line.substr(header.size());
        for (double t = m_start - 2.0 / 86400; t <= m_end + 2.0 / 86400; t += 0.5 / 86400)
            if (stamp == textfmt::DateTimeToStr(t, m_formats)) return true;
        return false;
    }
    void expectLastRanWithin(const char* taskKey) const {
        auto key = platform::RegKey::Open(HKEY_CURRENT_USER, taskKey);
        ASSERT_TRUE(key) << taskKey;
        auto lastRan = sched::ReadDateTime(*key, "LastRan");
        ASSERT_TRUE(lastRan) << taskKey;
        EXPECT_GE(*lastRan, m_start - 1.0 / 86400);
        EXPECT_LE(*lastRan, m_end + 1.0 / 86400);
    }
    // Compares a log with the expected lines; "*HEADER" stands for the header and a stamp of the run.
    void expectLog(const std::vector<std::string>& log, const std::vector<std::string>& expected) const {
        std::string whole;
        for (const auto& l : log)
            whole += l + "\n";
        ASSERT_EQ(log.size(), expected.size()) << whole;
        for (size_t i = 0; i < log.size(); ++i) {
            if (!expected[i].empty() && expected[i][0] == '*')
                EXPECT_TRUE(isStampOfRun(log[i], expected[i].substr(1))) << i << ": " << log[i];
            else
                EXPECT_EQ(log[i], expected[i]) << i;
        }
    }

private:
    textfmt::FormatSettings m_formats = textfmt::ProcessFormats();
    double m_start = 0, m_end = 0;
};

inline int32_t Counter(const char* name) {
    auto key = platform::RegKey::Open(HKEY_CURRENT_USER, kLogsKey);
    return key ? key->readInt(name).value_or(0) : 0;
}

} // namespace bbtest
