#include "platform/crt_rand.h"

namespace {
uint32_t g_randState = 1;  // the runtime starts as if seeded with 1
}

void CrtSrand(uint32_t seed) { g_randState = seed; }

int CrtRand() {
  g_randState = g_randState * 214013u + 2531011u;
  return static_cast<int>((g_randState >> 16) & 0x7FFF);
}
