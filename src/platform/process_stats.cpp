#include "platform/process_stats.h"

#if defined(__GLIBC__)
#include <malloc.h>
#endif

#include <cstdio>
#include <cstring>
#include <ctime>

void ReturnFreedMemory() {
#if defined(__GLIBC__)
  malloc_trim(0);
#endif
}

int64_t ResidentKiB() {
  FILE* file = std::fopen("/proc/self/status", "r");
  if (!file) return 0;
  char line[256];
  long long kib = 0;
  while (std::fgets(line, sizeof line, file)) {
    if (std::strncmp(line, "VmRSS:", 6) == 0) {
      std::sscanf(line + 6, "%lld", &kib);
      break;
    }
  }
  std::fclose(file);
  return kib;
}

namespace {
int64_t Read(clockid_t clock) {
  timespec ts{};
  clock_gettime(clock, &ts);
  return static_cast<int64_t>(ts.tv_sec) * 1000000000 + ts.tv_nsec;
}
}  // namespace

int64_t MonotonicNanoseconds() { return Read(CLOCK_MONOTONIC); }

int64_t ThreadCpuNanoseconds() { return Read(CLOCK_THREAD_CPUTIME_ID); }
