// What only POSIX systems have (FIFOs, devices such as /dev/zero, permission bits, owners,
// signals, symbolic links any user may make, limits set on a child) cannot mean anything on
// Windows: a test of it is skipped there, saying so, and the code it needs is compiled only
// where it runs.
#pragma once

#include <gtest/gtest.h>

#ifdef _WIN32
#define RQ_POSIX_ONLY(what) GTEST_SKIP() << "POSIX only: " << what
#else
#define RQ_POSIX_ONLY(what) static_cast<void>(0)
#endif
