#pragma once
// TShellFileOp: collects paths and hands them to the shell's file operation to delete them, send
// them to the recycle bin or move them into a folder. The shared instance (ShellFileOp1 of the
// shared form) is set up by ConfigureSharedInstance.
//
// Moves never overwrite: with RenameOnCollision the program picks each free name itself,
// Explorer's "x (2).txt" form, because Wine ignores FOF_RENAMEONCOLLISION and replaces the file.
// Every move names each target file in full (FOF_MULTIDESTFILES), so a destination folder that
// does not exist yet is never taken for a new file name.
#include <string>
#include <string_view>
#include <vector>

#include "scan/pure/scan_rules.h"
#include "scan/pure/sorted_text.h"

namespace scan {

class TShellFileOp {
public:
    TShellFileOp();

    bool FilesOnly = false;         // wildcards in a path take files, not folders
    bool NoConfirmation = false;    // every question of the shell is answered Yes
    bool AutoMakeDir = false;       // a missing destination folder is made without asking
    bool RenameOnCollision = false; // a moved item whose name is taken gets a free one
    bool Animate = false;           // the shell's progress animation; off = silent
    std::string ProgressTitle;      // not empty: a simple progress box with this title
    bool ClearOnAdd = false;        // each AddFile first empties the path list

    // Adds a path to the list (sorted, case-insensitive, no duplicates).
    void AddFile(std::string_view path);
    // Each returns true when the shell reports that some part was aborted, false otherwise (also
    // when the list was empty and nothing ran). The list is empty afterwards, unless an error
    // stopped the operation before the shell ran.
    bool Recycle();
    bool Delete();
    bool Move(std::string_view destinationFolder);

    const std::vector<std::string>& Files() const noexcept { return m_paths.items(); }
    // The shell's return code of the last operation that ran (0 = success), and its flags.
    int LastResult() const noexcept { return m_lastResult; }
    unsigned LastFlags() const noexcept { return m_lastFlags; }

    // Files only, no confirmation, no automatic folders, rename on collision, silent, no
    // clear-on-add: the settings of the one instance the file tools share.
    static void ConfigureSharedInstance(TShellFileOp& op);

private:
    bool Run(ShellOpKind kind);
    std::vector<std::string> MoveSources() const;

    SortedTextList m_paths;
    std::string m_destination;
    bool m_allowUndo = false;
    int m_lastResult = 0;
    unsigned m_lastFlags = 0;
};

} // namespace scan
