#include "rq540/PendingRemoval.h"

#include <atomic>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <string>

#ifndef _WIN32
#include <unistd.h>
#endif

namespace RQ540 {

namespace {

constexpr std::size_t kPathBufferSize = 4096;

char g_paths[CPendingRemoval::SLOT_COUNT][kPathBufferSize];
volatile std::sig_atomic_t g_recorded[CPendingRemoval::SLOT_COUNT];

void RemoveAndEnd(int signal)
{
    for (int slot = 0; slot < CPendingRemoval::SLOT_COUNT; ++slot) {
        if (g_recorded[slot]) {
#ifdef _WIN32
            std::remove(g_paths[slot]);
#else
            unlink(g_paths[slot]);
#endif
        }
    }
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

}  // namespace

void CPendingRemoval::Set(Slot slot, const std::filesystem::path& path)
{
    Clear(slot);
    const std::string text = path.string();
    if (text.size() >= kPathBufferSize)
        return;
    std::memcpy(g_paths[slot], text.c_str(), text.size() + 1);
    // The handler must never see the flag before the whole path.
    std::atomic_signal_fence(std::memory_order_seq_cst);
    g_recorded[slot] = 1;
}

void CPendingRemoval::Clear(Slot slot)
{
    g_recorded[slot] = 0;
    std::atomic_signal_fence(std::memory_order_seq_cst);
}

void CPendingRemoval::RemoveOnTermination()
{
    HandleUnlessIgnored(SIGINT);
    HandleUnlessIgnored(SIGTERM);
#ifdef SIGHUP
    HandleUnlessIgnored(SIGHUP);
#endif
}

}  // namespace RQ540
