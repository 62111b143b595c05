#include "rq540/PendingRemoval.h"

#include <algorithm>
#include <atomic>
#include <csignal>

#ifdef _WIN32
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace RQ540 {

namespace {

constexpr std::size_t kPathBufferSize = 4096;

// Paths in the system's own characters, so that the handler converts nothing. A lock-free
// flag may be read in a signal handler and, on Windows, in the console's handler thread.
std::filesystem::path::value_type g_paths[CPendingRemoval::SLOT_COUNT][kPathBufferSize];
std::atomic<bool> g_recorded[CPendingRemoval::SLOT_COUNT];
static_assert(std::atomic<bool>::is_always_lock_free);

#ifdef _WIN32
// Called for Ctrl+C, Ctrl+Break, the console window's closing, logging off and shutting
// down, each of which ends a console program that does not handle it: the handler removes
// the files and lets the system's own handler end the process.
BOOL WINAPI RemoveAndEnd(DWORD)
{
    CPendingRemoval::RemoveRecordedFiles();
    return FALSE;
}
#else
void RemoveAndEnd(int signal)
{
    CPendingRemoval::RemoveRecordedFiles();
    // The signal is blocked while its handler runs, so it ends the process, with the
    // default action, as soon as the handler returns.
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

void HandleUnlessIgnored(int signal)
{
    if (std::signal(signal, RemoveAndEnd) == SIG_IGN)
        std::signal(signal, SIG_IGN);
}
#endif

}  // namespace

void CPendingRemoval::Set(Slot slot, const std::filesystem::path& path)
{
    Clear(slot);
    const std::filesystem::path::string_type& text = path.native();
    if (text.size() >= kPathBufferSize)
        return;
    std::copy(text.begin(), text.end(), g_paths[slot]);
    g_paths[slot][text.size()] = 0;
    // Stored after the whole path, so the handler never sees the flag before it.
    g_recorded[slot].store(true);
}

void CPendingRemoval::Clear(Slot slot) { g_recorded[slot].store(false); }

void CPendingRemoval::RemoveRecordedFiles()
{
    for (int slot = 0; slot < SLOT_COUNT; ++slot) {
        if (g_recorded[slot].load()) {
#ifdef _WIN32
            // A file still open goes once the last handle on it closes, which for a save's
            // temporary file is as the process ends.
            DeleteFileW(g_paths[slot]);
#else
            unlink(g_paths[slot]);
#endif
        }
    }
}

void CPendingRemoval::RemoveOnTermination()
{
#ifdef _WIN32
    SetConsoleCtrlHandler(RemoveAndEnd, TRUE);
#else
    HandleUnlessIgnored(SIGINT);
    HandleUnlessIgnored(SIGTERM);
    HandleUnlessIgnored(SIGHUP);
#endif
}

}  // namespace RQ540
