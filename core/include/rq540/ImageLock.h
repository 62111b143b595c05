// Serialises the programs that change one image, from loading it to replacing it, so that
// none of them overwrites the others' changes. The lock is an advisory lock on a file
// beside the real image (links followed) named after it with ".lock" added (the name cut
// to fit the name limit); the image itself cannot carry it, since every save replaces the
// image's file with a new one. Releasing the lock removes its file, and so does a signal
// once CPendingRemoval handles them; a file left by a killed process holds no lock and is
// simply taken over. Whoever takes the lock removes what saves of the image left behind in
// processes that were killed (their temporary files, which hold the image's passwords).
// On Windows the lock's file is opened without sharing, and the system deletes it when
// its holder closes it or ends.
#pragma once

#include "rq540/DiskFile.h"

#include <chrono>
#include <filesystem>

namespace RQ540 {

class CImageLock {
public:
    enum Outcome { ACQUIRED, TIMED_OUT, FAILED };

    CImageLock() = default;
    // Releases the lock if it is held.
    ~CImageLock();
    CImageLock(const CImageLock&) = delete;
    CImageLock& operator=(const CImageLock&) = delete;

    // Takes the lock of image, waiting up to timeout while another holder has it. FAILED
    // when the lock file cannot be opened or created; problem, when given, then says why
    // when known (FOLDER_NOT_WRITABLE, NOT_REGULAR, LINK_LOOP).
    Outcome Acquire(const std::filesystem::path& image, std::chrono::milliseconds timeout,
                    DiskFile::FileProblem* problem = nullptr);
    void Release();
    // The lock file of the last Acquire; empty when the image's links led nowhere.
    const std::filesystem::path& GetPath() const { return m_path; }

private:
    std::filesystem::path m_path;
    int m_descriptor = -1;
};

}  // namespace RQ540
