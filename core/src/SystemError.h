// The system's own error codes read as the problems messages name.
#pragma once

#include "rq540/FileProblem.h"

namespace RQ540::DiskFile {

// An errno value; NONE for one that says nothing a user could act on.
FileProblem ProblemOfErrno(int error);

#ifdef _WIN32
// A GetLastError value, likewise.
FileProblem ProblemOfWindowsError(unsigned long error);
#endif

}  // namespace RQ540::DiskFile
