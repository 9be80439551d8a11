#include "tools/junk/file_checks.h"

#include <utility>
#include <vector>

#include "app/common.h"
#include "platform/files.h"
#include "platform/strings.h"
#include "tools/junk/pure/junk_rules.h"

namespace tools::junk {

namespace {
constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

HANDLE OpenShared(const std::wstring& path, DWORD access) {
    return CreateFileW(path.c_str(), access, kShareAll, nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
}
} // namespace

bool MayHoldIcons(const unsigned char* head, DWORD size) {
    if (size >= 2 && head[0] == 'M' && head[1] == 'Z') return true;
    return size >= 4 && head[0] == 0 && head[1] == 0 && head[2] == 1 && head[3] == 0;
}

bool RestrictedBy(const CheckSettings& settings, const std::string& path, std::optional<uint32_t> attributes,
                  platform::UniqueFile& held) {
    if (settings.skipAttr && attributes && (*attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_SYSTEM)))
        return true;
    if (settings.daysOn) {
        // Only an unattended run gets here with an unreadable day count (a window asks first):
        // then no file is known to be old enough, and none is listed.
        if (!settings.days) return true;
        if (DayLimitExcludes(*settings.days, settings.today, app::GetLastAccess(path))) return true;
    }
    if (!settings.inUse) return false;
    // In use unless it opens for writing with no sharing (a read-only file counts as in use, as
    // the app's FileInUse has it). Read access is asked as well, so that the file's first bytes
    // can be read through the same handle.
    if (attributes && (*attributes & FILE_ATTRIBUTE_READONLY)) return true;
    const std::wstring wide = platform::Widen(path);
    held.reset(CreateFileW(wide.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                           nullptr));
    if (held) return false;
    if (GetLastError() != ERROR_ACCESS_DENIED) return true;
    // Writable but not readable: not in use all the same.
    platform::UniqueFile writeOnly(
        CreateFileW(wide.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    return !writeOnly;
}

Checked CheckCandidate(const CheckSettings& settings, const Candidate& candidate) {
    Checked out;
    out.path = candidate.path;
    std::optional<uint32_t> attributes = candidate.attributes;
    if (!attributes) {
        if (auto now = platform::GetAttributes(candidate.path)) attributes = *now;
    }
    platform::UniqueFile file;
    if (RestrictedBy(settings, candidate.path, attributes, file)) return out;
    const std::wstring wide = platform::Widen(candidate.path);
    // A file held open is there, and the walk has just listed its size and times. Otherwise an
    // exact look-up: the file may have gone since the walk saw it.
    if (file && candidate.listed)
        out.data = *candidate.listed;
    else if (!GetFileAttributesExW(wide.c_str(), GetFileExInfoStandard, &out.data))
        return out;
    const bool empty = out.data.nFileSizeHigh == 0 && out.data.nFileSizeLow == 0;
    if (candidate.mustBeEmpty && !empty) return out;
    out.listed = true;
    if (empty) return out; // nothing to read: no icon, no version

    if (!file) file.reset(OpenShared(wide, GENERIC_READ | FILE_WRITE_ATTRIBUTES));
    if (!file) file.reset(OpenShared(wide, FILE_READ_ATTRIBUTES | FILE_WRITE_ATTRIBUTES));
    // The access time from before the read below.
    const FILETIME access = out.data.ftLastAccessTime;
    unsigned char head[4] = {};
    DWORD got = 0;
    if (file && ReadFile(file.get(), head, sizeof head, &got, nullptr)) {
        out.mayHoldIcons = MayHoldIcons(head, got);
        out.executable = got >= 2 && head[0] == 'M' && head[1] == 'Z';
    } else {
        out.mayHoldIcons = true; // unreadable here: the icon look-up decides
    }
    if (!file) return out;
    if (out.mayHoldIcons || out.executable) {
        out.restoreAccess = true; // after the row's own readers
        out.access = access;
    } else {
        SetFileTime(file.get(), nullptr, &access, nullptr);
    }
    return out;
}

void RestoreLastAccess(const std::string& path, const FILETIME& access) {
    platform::UniqueFile f(OpenShared(platform::Widen(path), FILE_READ_ATTRIBUTES | FILE_WRITE_ATTRIBUTES));
    if (f) SetFileTime(f.get(), nullptr, &access, nullptr);
}

// ---- CandidateChecker ----

CandidateChecker::~CandidateChecker() {
    {
        std::lock_guard lock(m_mutex);
        m_quit = true;
    }
    m_work.notify_all(); // unconditionally: the helper may be about to wait
    if (m_thread.joinable()) m_thread.join();
}

void CandidateChecker::Start(const CheckSettings& settings) {
    std::lock_guard lock(m_mutex);
    m_slots.clear();
    m_next = 0;
    ++m_generation;
    m_settings = settings;
}

void CandidateChecker::Submit(Candidate candidate) {
    bool wake = false;
    {
        std::lock_guard lock(m_mutex);
        m_slots.push_back({std::move(candidate), false, {}});
        if (!m_thread.joinable()) m_thread = std::thread([this] { Run(); });
        // Waking a thread is itself a server round trip under Wine: only when it sleeps.
        wake = m_helperWaiting;
    }
    if (wake) m_work.notify_one();
}

void CandidateChecker::Collect(bool wait, const std::function<void(Checked&)>& take) {
    std::vector<Checked> ready;
    for (;;) {
        {
            std::unique_lock lock(m_mutex);
            if (wait) {
                // Rather than sleep while the helper catches up, check the next candidate here
                // as well: the walk is over, so this thread would only be waiting.
                while (!m_slots.empty() && !m_slots.front().done) {
                    if (m_next < m_slots.size()) {
                        CheckNext(lock);
                        continue;
                    }
                    m_takerWaiting = true;
                    m_answered.wait(
                        lock, [this] { return m_slots.empty() || m_slots.front().done || m_next < m_slots.size(); });
                    m_takerWaiting = false;
                }
            }
            while (!m_slots.empty() && m_slots.front().done) {
                ready.push_back(std::move(m_slots.front().result));
                m_slots.pop_front();
                ++m_firstSequence;
                --m_next;
            }
            if (ready.empty()) return; // nothing left, or (not waiting) nothing ready yet
        }
        // Handed over outside the lock: taking an answer may take a while (the row's list work).
        for (auto& r : ready)
            take(r);
        ready.clear();
        if (!wait) return;
    }
}

void CandidateChecker::Discard() {
    std::lock_guard lock(m_mutex);
    m_slots.clear();
    m_next = 0;
    ++m_generation;
    if (m_takerWaiting) m_answered.notify_all();
}

size_t CandidateChecker::Pending() const {
    std::lock_guard lock(m_mutex);
    return m_slots.size();
}

void CandidateChecker::CheckNext(std::unique_lock<std::mutex>& lock) {
    const uint64_t sequence = m_firstSequence + m_next++;
    const uint64_t generation = m_generation;
    Candidate candidate = m_slots[static_cast<size_t>(sequence - m_firstSequence)].candidate;
    const CheckSettings settings = m_settings;
    lock.unlock();
    Checked result;
    try {
        if (candidate.walkEnd) {
            result.path = candidate.path;
            result.walkEnd = true;
            result.zeroWalk = candidate.zeroWalk;
        } else {
            result = CheckCandidate(settings, candidate);
        }
    } catch (...) {
        result = Checked{}; // not listed
        result.path = candidate.path;
    }
    lock.lock();
    if (generation != m_generation) return; // a discarded scan's answer
    // Answers taken meanwhile moved the slot towards the front; it cannot have gone, as it was
    // not done.
    Slot& slot = m_slots[static_cast<size_t>(sequence - m_firstSequence)];
    slot.result = std::move(result);
    slot.done = true;
    if (m_takerWaiting) m_answered.notify_all();
}

void CandidateChecker::Run() {
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_helperWaiting = true;
        m_work.wait(lock, [this] { return m_quit || m_next < m_slots.size(); });
        m_helperWaiting = false;
        if (m_quit) return;
        CheckNext(lock);
    }
}

} // namespace tools::junk
