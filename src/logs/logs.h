#pragma once
// Tool logs and statistics counters.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace logs {

inline constexpr const char* kLogsKey = "\\Software\\Quorvel\\Vantrel\\Logs";

inline constexpr const char* kManualJunkLog = "Manual_Junk_Log.txt";
inline constexpr const char* kJunkLog = "JunkLog.txt";
inline constexpr const char* kManualPrivacyLog = "Manual_Privacy_Log.txt";
inline constexpr const char* kEraserLog = "EraserLog.txt";
inline constexpr const char* kManualRegistryLog = "Manual_Registry_Log.txt";
inline constexpr const char* kRegistryLog = "RegistryLog.txt";
inline constexpr const char* kManualShortcutsLog = "Manual_Shortcuts_Log.txt";
inline constexpr const char* kManualUninstallersLog = "Manual_Uninstallers_Log.txt";
inline constexpr const char* kManualDupesLog = "Manual_Dupes_Log.txt";

// The full path of a log file (in app::DataFolder()).
std::string LogPath(std::string_view fileName);
// Appends one line (CR LF, ANSI code page): open, append, close. Creates the file when missing.
// Raises platform::Win32Error when the file cannot be opened or written.
void WriteLog(std::string_view fileName, std::string_view line);

// The current local date and time in the process's "c" form.
std::string DateStamp();

// Blocks of the line vocabulary, written line by line through WriteLog.
// Opening (interactive): separator; header + date; separator; empty.
void WriteOpeningBlock(std::string_view fileName, std::string_view header);
// Closing (interactive): empty; separator; header + date; the count and space lines; separator; empty.
void WriteClosingBlock(std::string_view fileName, std::string_view header, const std::vector<std::string>& lines);
// Unattended runs: "OPERATION START: " and "OPERATION COMPLETE: " blocks. The junk log ("JunkLog.txt",
// any letter case) gets its extra empty lines.
void WriteOperationStartBlock(std::string_view fileName);
void WriteOperationEndBlock(std::string_view fileName, const std::vector<std::string>& lines);

// The interactive-log switch of a tool (Logs key, missing = on): "DoJunk", "DoPriv", "DoShort",
// "DoUnin", "DoDupes", "DoReg".
bool InteractiveLogOn(std::string_view switchName);
// Adds to a counter of the Logs key ("JunkFiles", "RegRefs" …); saturates at the 32-bit maximum.
int32_t AddToCounter(std::string_view counterName, int64_t amount);
int32_t ReadCounter(std::string_view counterName);

// One tool window's (or one run's) log. Whether it writes is decided once, when it is made, and
// holds for its life; while off, nothing at all reaches the file. Counters are not its business:
// they grow regardless of the switches.
class SessionLog {
public:
    SessionLog(std::string fileName, bool enabled);
    // An interactive log governed by its switch in the Logs key, read now.
    static SessionLog Interactive(std::string fileName, std::string_view switchName);

    bool enabled() const noexcept { return m_enabled; }
    const std::string& fileName() const noexcept { return m_fileName; }

    void line(std::string_view text) const;   // the text as it is
    void detail(std::string_view text) const; // two blanks, then the text
    void opening(std::string_view header) const;
    void closing(std::string_view header, const std::vector<std::string>& lines) const;
    void operationStart() const;
    void operationEnd(const std::vector<std::string>& lines) const;

private:
    std::string m_fileName;
    bool m_enabled;
};

} // namespace logs
