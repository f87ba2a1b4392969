// The Windows C runtime's random generator: values 0 ... 32767, the same
// sequence for the same seed. Every game formula relies on that range, so all
// game code draws its numbers here and never from the C library's rand().
#pragma once
#include <cstdint>

constexpr int CRT_RAND_MAX = 0x7FFF;

void CrtSrand(uint32_t seed);
int CrtRand();
