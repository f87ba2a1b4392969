// Time sources: the high-resolution counter, the millisecond tick count and
// the calendar date. In headless runs a virtual clock replaces the real one:
// it advances exactly 1/60 s per frame, so scripted runs repeat exactly.
#pragma once
#include <cstdint>

// Like QueryPerformanceFrequency / QueryPerformanceCounter. Counter values
// are 64-bit and never step back.
bool QueryPerformanceFrequency(int64_t* frequency);
bool QueryPerformanceCounter(int64_t* counter);

// The high-resolution counter in seconds (virtual in headless runs).
double CounterSeconds();

// Milliseconds since start-up plus the start offset (--seed), wrapping at 2^32.
uint32_t GetTickCount();

void Sleep(uint32_t milliseconds);

struct SYSTEMTIME {
  uint16_t wYear, wMonth, wDayOfWeek, wDay, wHour, wMinute, wSecond, wMilliseconds;
};
void GetSystemTime(SYSTEMTIME* utc);  // today's date and time in UTC
void GetLocalTime(SYSTEMTIME* local);

struct CalendarDate {
  int year = 0, month = 0, day = 0;  // month 1 ... 12, day 1 ... 31
};
// Today's date in UTC.
CalendarDate TodayUtc();

// Clock control for the shell.
void ClockSetTickStart(uint32_t startTicks);  // the tick count starts at this value
void ClockUseVirtual(bool useVirtual);        // headless: 1/60 s per frame
bool ClockIsVirtual();
void ClockAdvanceFrame();                     // one frame of the virtual clock
// Fixes the calendar date that GetSystemTime, GetLocalTime and TodayUtc
// report (the time of day stays real), so runs that depend on the date
// repeat. The caller passes a valid date; ClockClearFixedDate returns to
// the real date.
void ClockFixDate(int year, int month, int day);
void ClockClearFixedDate();
bool ClockDateIsFixed();
