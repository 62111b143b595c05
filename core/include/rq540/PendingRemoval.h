// Files that must not outlive the process when it is ended by SIGINT, SIGTERM or SIGHUP,
// or on Windows by a console's Ctrl+C, Ctrl+Break or closing: the temporary file of a save
// in progress and the file of a held image lock. A signal handler may only make
// async-signal-safe calls, so the paths wait in fixed buffers and the handler does no more
// than remove them and end the process by the same signal (on Windows, by the system's
// own handler of the event).
#pragma once

#include <filesystem>

namespace RQ540 {

class CPendingRemoval {
public:
    enum Slot { TEMPORARY_FILE = 0, LOCK_FILE = 1, SLOT_COUNT = 2 };

    // Records path in slot, replacing what was there. A path too long for the slot's
    // buffer is not recorded; only a kill can then leave its file behind.
    static void Set(Slot slot, const std::filesystem::path& path);
    static void Clear(Slot slot);
    // Removes the recorded files, as a handler does before the process ends. Safe in a
    // signal handler; a file still open, as a save's temporary file is while it is written,
    // goes too (on Windows once its last handle closes).
    static void RemoveRecordedFiles();

    // Installs the handler for each of the three signals that the process does not ignore
    // (so a program started with nohup keeps ignoring SIGHUP), or on Windows for the
    // console's events. Until then a signal ends the process without removing anything.
    static void RemoveOnTermination();
};

}  // namespace RQ540
