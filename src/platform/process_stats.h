// Figures about the running process, for measurements: the resident memory
// and a monotonic clock that other processes on the machine share; and the
// hand-back of freed memory.
#pragma once
#include <cstdint>

// Resident set size in KiB (0 when unknown).
int64_t ResidentKiB();
// Gives the memory that freed blocks still hold back to the system (the
// allocator keeps large freed blocks of every thread for reuse otherwise).
void ReturnFreedMemory();
// Nanoseconds on the system's monotonic clock.
int64_t MonotonicNanoseconds();
// CPU time this thread has used, in nanoseconds.
int64_t ThreadCpuNanoseconds();
