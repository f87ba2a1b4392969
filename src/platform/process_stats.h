// Figures about the running process, for measurements: the resident memory
// and a monotonic clock that other processes on the machine share.
#pragma once
#include <cstdint>

// Resident set size in KiB (0 when unknown).
int64_t ResidentKiB();
// Nanoseconds on the system's monotonic clock.
int64_t MonotonicNanoseconds();
// CPU time this thread has used, in nanoseconds.
int64_t ThreadCpuNanoseconds();
