#pragma once
// The per-file tests of the junk scan (attributes, day limit, in use, still there) and the first
// look at a file that its row needs, run on a helper thread while the walk goes on.
//
// Under Wine every open and close of a file is a round trip to the server, which is most of what
// a listed file costs; done on the walking thread they would add up to several times the walk.
// The walk hands each candidate over and takes the answers back in the order it handed them,
// so rows appear in walk order and nothing the user sees changes.
#include <windows.h>

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "platform/handles.h"

namespace tools::junk {

// What the "Other Considerations" page asked for, taken when a scan starts.
struct CheckSettings {
    bool skipAttr = false, daysOn = false, inUse = false;
    std::optional<int> days; // the day count; nullopt when the field holds no number
    double today = 0;        // today at midnight, local time
};

struct Candidate {
    std::string path;
    std::optional<uint32_t> attributes; // as the walk saw them; nullopt: look them up
    bool mustBeEmpty = false;           // the zero-length walk's: listed only while still empty
    // Not a file but the end of a walk (path: the walk's starting folder), handed back in its
    // place among the answers so that the walk's totals come after all of its files.
    bool walkEnd = false;
    bool zeroWalk = false; // of the end: the zero-length walk's
    // Size, times and attributes as the walk has just listed them; nullopt: look them up. (Not
    // for a replayed listing, which may be far older than the check.)
    std::optional<WIN32_FILE_ATTRIBUTE_DATA> listed;
};

struct Checked {
    std::string path;
    bool walkEnd = false, zeroWalk = false; // as the candidate had them
    bool listed = false;                    // passed every test and is still there
    WIN32_FILE_ATTRIBUTE_DATA data{};
    bool mayHoldIcons = false; // an executable or icon file by its first bytes (or unreadable)
    bool executable = false;   // starts with "MZ": may carry version strings
    // The row's readers (version, icon) will read the file again: put this access time back
    // after them.
    bool restoreAccess = false;
    FILETIME access{};
};

// ExtractIcon finds icons only in executables (they start with "MZ") and icon files.
bool MayHoldIcons(const unsigned char* head, DWORD size);

// The restriction tests, in their order: read-only or system attribute, the day limit, in use. A
// file that passes the in-use test is left open (read and write, no sharing) in held.
bool RestrictedBy(const CheckSettings& settings, const std::string& path, std::optional<uint32_t> attributes,
                  platform::UniqueFile& held);

// All of a candidate's tests and the look at its first bytes, on the calling thread. Reading
// the file would count as an access; the access time is put back (or handed on in restoreAccess).
Checked CheckCandidate(const CheckSettings& settings, const Candidate& candidate);

// Puts a file's last access time back after it was read.
void RestoreLastAccess(const std::string& path, const FILETIME& access);

class CandidateChecker {
public:
    CandidateChecker() = default;
    ~CandidateChecker();
    CandidateChecker(const CandidateChecker&) = delete;
    CandidateChecker& operator=(const CandidateChecker&) = delete;

    // The settings of the scan that starts; nothing may be pending.
    void Start(const CheckSettings& settings);
    void Submit(Candidate candidate);
    // Hands the answers over in submission order: those ready now, or (wait) all submitted,
    // checking candidates on the calling thread too while the helper is behind.
    void Collect(bool wait, const std::function<void(Checked&)>& take);
    // Forgets every answer and every candidate not yet checked.
    void Discard();
    size_t Pending() const;

private:
    struct Slot {
        Candidate candidate;
        bool done = false;
        Checked result;
    };
    void Run();
    // Checks the first candidate no one has taken; called and returns with the lock held.
    void CheckNext(std::unique_lock<std::mutex>& lock);

    CheckSettings m_settings;
    mutable std::mutex m_mutex;
    std::condition_variable m_work, m_answered;
    std::deque<Slot> m_slots;
    size_t m_next = 0;            // the first slot not yet taken by the helper
    uint64_t m_firstSequence = 0; // the number of the front slot in the order of submission
    uint64_t m_generation = 0;    // one per scan, so that a discarded scan's answer is dropped
    bool m_quit = false;
    bool m_helperWaiting = false; // the helper sleeps until a candidate comes
    bool m_takerWaiting = false;  // Collect sleeps until the front answer is done
    std::thread m_thread;
};

} // namespace tools::junk
