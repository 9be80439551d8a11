#include "scan/shell_file_op.h"

#include <windows.h>

#include <shellapi.h>

#include "platform/files.h"
#include "platform/shell.h"
#include "platform/strings.h"
#include "scan/locale_text.h"
#include "scan/pure/wildcard.h"

namespace scan {

namespace {
using Compare = int (*)(std::string_view, std::string_view);

bool HasWildcard(std::string_view name) {
    return name.find_first_of("*?") != std::string_view::npos;
}
} // namespace

TShellFileOp::TShellFileOp() : m_paths(static_cast<Compare>(CompareTextLocale)) {}

void TShellFileOp::ConfigureSharedInstance(TShellFileOp& op) {
    op.FilesOnly = true;
    op.NoConfirmation = true;
    op.AutoMakeDir = false;
    op.RenameOnCollision = true;
    op.Animate = false;
    op.ProgressTitle.clear();
    op.ClearOnAdd = false;
}

void TShellFileOp::AddFile(std::string_view path) {
    if (ClearOnAdd) m_paths.clear();
    m_paths.add(path);
}

bool TShellFileOp::Recycle() {
    m_allowUndo = true;
    return Run(ShellOpKind::Delete);
}

bool TShellFileOp::Delete() {
    m_allowUndo = false;
    return Run(ShellOpKind::Delete);
}

bool TShellFileOp::Move(std::string_view destinationFolder) {
    m_destination = std::string(destinationFolder);
    return Run(ShellOpKind::Move);
}

// A move needs one target per source, so a wildcard path is replaced by what it matches (by the
// Windows rules, files only when FilesOnly).
std::vector<std::string> TShellFileOp::MoveSources() const {
    std::vector<std::string> out;
    for (const auto& path : m_paths.items()) {
        std::string name = platform::ExtractFileName(path);
        if (!HasWildcard(name)) {
            out.push_back(path);
            continue;
        }
        std::string folder = platform::ExtractFilePath(path);
        WildcardMask mask(name, SystemUpper);
        for (const auto& e : platform::ListFolder(folder.empty() ? "." : folder)) {
            if (FilesOnly && e.isDirectory()) continue;
            bool hit = mask.matches(FoldUtf8(e.name, SystemUpper)) ||
                       (!e.shortName.empty() && mask.matches(FoldUtf8(e.shortName, SystemUpper)));
            if (hit) out.push_back(folder + e.name);
        }
    }
    return out;
}

bool TShellFileOp::Run(ShellOpKind kind) {
    if (m_paths.empty()) return false;
    try {
        ShellOpOptions options{FilesOnly,         NoConfirmation, AutoMakeDir,
                               RenameOnCollision, Animate,        !ProgressTitle.empty()};
        platform::FileOperation op;
        op.progressTitle = ProgressTitle;
        op.flags = static_cast<FILEOP_FLAGS>(ShellOpFlags(options, kind, kind == ShellOpKind::Delete && m_allowUndo));
        if (kind == ShellOpKind::Delete) {
            op.func = FO_DELETE;
            op.from = m_paths.items();
        } else {
            op.func = FO_MOVE;
            op.flags |= FOF_MULTIDESTFILES;
            std::string dest = platform::IncludeTrailingBackslash(m_destination);
            // The shell would ask before making the folder; "Yes to all" and AutoMakeDir both mean yes.
            if (!platform::FolderExists(dest) && (AutoMakeDir || NoConfirmation)) platform::ForceFolders(dest);
            SortedTextList taken(static_cast<Compare>(CompareTextLocale));
            for (const auto& source : MoveSources()) {
                std::string name = platform::ExtractFileName(platform::ExcludeTrailingBackslash(source));
                std::string target = dest + name;
                if (platform::SameText(platform::FullPathName(source), platform::FullPathName(target))) continue;
                if (RenameOnCollision) {
                    bool folder = platform::FolderExists(source);
                    for (int attempt = 2; platform::PathExists(target) || taken.contains(target); ++attempt)
                        target = dest + CollisionName(name, attempt, folder);
                }
                taken.add(target);
                op.from.push_back(source);
                op.to.push_back(target);
            }
            if (op.from.empty()) {
                m_paths.clear();
                return false;
            }
        }
        platform::FileOperationResult r = platform::ShellFileOperation(op);
        m_lastResult = r.code;
        m_lastFlags = op.flags;
        m_paths.clear();
        return r.aborted;
    } catch (...) {
        // The caller learns only of an abort; the list stays for another try.
        return false;
    }
}

} // namespace scan
