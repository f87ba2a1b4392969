// Time sources: the real high-resolution counter (SDL's monotonic counter),
// the millisecond tick count derived from it, the calendar date, and the
// virtual clock of headless runs.
#include "platform/clock.h"

#include <SDL.h>
#include <ctime>

namespace {

// The virtual clock runs at 600000 counts per second, so one frame of 1/60 s
// is exactly 10000 counts and one millisecond exactly 600 counts.
constexpr int64_t VIRTUAL_FREQUENCY = 600000;
constexpr int64_t VIRTUAL_COUNTS_PER_FRAME = VIRTUAL_FREQUENCY / 60;
constexpr int64_t VIRTUAL_COUNTS_PER_MS = VIRTUAL_FREQUENCY / 1000;

bool g_virtual = false;
int64_t g_virtualCounter = 0;
uint32_t g_tickStart = 0;
bool g_dateFixed = false;
int g_fixedYear = 0, g_fixedMonth = 0, g_fixedDay = 0;

// The real counter's value when the process first asked for the time: the
// tick count counts milliseconds from there.
uint64_t RealStart() {
  static const uint64_t start = SDL_GetPerformanceCounter();
  return start;
}

void FillSystemTime(std::tm t, long nanoseconds, SYSTEMTIME* out) {
  if (g_dateFixed) {
    // The fixed date at noon, only for its day of the week.
    std::tm day{};
    day.tm_year = g_fixedYear - 1900;
    day.tm_mon = g_fixedMonth - 1;
    day.tm_mday = g_fixedDay;
    day.tm_hour = 12;
    const time_t noon = timegm(&day);
    gmtime_r(&noon, &day);
    t.tm_year = day.tm_year;
    t.tm_mon = day.tm_mon;
    t.tm_mday = day.tm_mday;
    t.tm_wday = day.tm_wday;
  }
  out->wYear = static_cast<uint16_t>(t.tm_year + 1900);
  out->wMonth = static_cast<uint16_t>(t.tm_mon + 1);
  out->wDayOfWeek = static_cast<uint16_t>(t.tm_wday);
  out->wDay = static_cast<uint16_t>(t.tm_mday);
  out->wHour = static_cast<uint16_t>(t.tm_hour);
  out->wMinute = static_cast<uint16_t>(t.tm_min);
  out->wSecond = static_cast<uint16_t>(t.tm_sec > 59 ? 59 : t.tm_sec);  // no leap second
  out->wMilliseconds = static_cast<uint16_t>(nanoseconds / 1000000);
}

}  // namespace

bool QueryPerformanceFrequency(int64_t* frequency) {
  if (!frequency) return false;
  *frequency = g_virtual ? VIRTUAL_FREQUENCY : static_cast<int64_t>(SDL_GetPerformanceFrequency());
  return *frequency > 0;
}

bool QueryPerformanceCounter(int64_t* counter) {
  if (!counter) return false;
  *counter = g_virtual ? g_virtualCounter : static_cast<int64_t>(SDL_GetPerformanceCounter());
  return true;
}

double CounterSeconds() {
  int64_t frequency = 0, counter = 0;
  if (!QueryPerformanceFrequency(&frequency) || frequency <= 0) return 0;
  QueryPerformanceCounter(&counter);
  return static_cast<double>(counter) / static_cast<double>(frequency);
}

uint32_t GetTickCount() {
  if (g_virtual) return g_tickStart + static_cast<uint32_t>(g_virtualCounter / VIRTUAL_COUNTS_PER_MS);
  const uint64_t elapsed = SDL_GetPerformanceCounter() - RealStart();
  const uint64_t frequency = SDL_GetPerformanceFrequency();
  // Whole seconds and the remainder separately, so the product cannot overflow.
  const uint64_t ms = elapsed / frequency * 1000 + elapsed % frequency * 1000 / frequency;
  return g_tickStart + static_cast<uint32_t>(ms);  // wraps at 2^32 like the Windows count
}

void Sleep(uint32_t milliseconds) { SDL_Delay(milliseconds); }

void GetSystemTime(SYSTEMTIME* utc) {
  if (!utc) return;
  timespec now{};
  clock_gettime(CLOCK_REALTIME, &now);
  std::tm t{};
  gmtime_r(&now.tv_sec, &t);
  FillSystemTime(t, now.tv_nsec, utc);
}

void GetLocalTime(SYSTEMTIME* local) {
  if (!local) return;
  timespec now{};
  clock_gettime(CLOCK_REALTIME, &now);
  std::tm t{};
  localtime_r(&now.tv_sec, &t);
  FillSystemTime(t, now.tv_nsec, local);
}

CalendarDate TodayUtc() {
  SYSTEMTIME now{};
  GetSystemTime(&now);
  CalendarDate today;
  today.year = now.wYear;
  today.month = now.wMonth;
  today.day = now.wDay;
  return today;
}

void ClockSetTickStart(uint32_t startTicks) {
  RealStart();  // the real tick count counts from now
  g_tickStart = startTicks;
}

void ClockUseVirtual(bool useVirtual) { g_virtual = useVirtual; }

bool ClockIsVirtual() { return g_virtual; }

void ClockAdvanceFrame() { g_virtualCounter += VIRTUAL_COUNTS_PER_FRAME; }

void ClockFixDate(int year, int month, int day) {
  g_dateFixed = true;
  g_fixedYear = year;
  g_fixedMonth = month;
  g_fixedDay = day;
}

void ClockClearFixedDate() { g_dateFixed = false; }

bool ClockDateIsFixed() { return g_dateFixed; }
