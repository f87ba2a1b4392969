#include "Denkar_Spiele/Datum.h"

#include "platform/clock.h"
#include "platform/crt_rand.h"

namespace {
// Remainder and quotient rounded towards minus infinity, so that years before
// year 0 follow the same cycles.
int FloorMod(int a, int b) { return ((a % b) + b) % b; }
int FloorDiv(int a, int b) { return (a - FloorMod(a, b)) / b; }
}  // namespace

void Datum::Today(bool withWeekday) {
  const CalendarDate today = TodayUtc();
  day = today.day;
  month = today.month;
  year = today.year;
  if (withWeekday) UpdateWeekday();
}

void Datum::TodayOrRandom(bool random, bool withWeekday) {
  Today(withWeekday);
  if (random) AddDays(CrtRand() % 73000 - 36500, withWeekday);
}

void Datum::AddDays(int n, bool withWeekday) {
  day += n;
  if (n <= 0) {
    while (day <= 0) {
      AddMonths(-1, false);
      day += MonthLength();
    }
  } else {
    while (day > MonthLength()) {
      day -= MonthLength();
      AddMonths(1, false);
    }
  }
  if (withWeekday) UpdateWeekday();
}

void Datum::AddMonths(int n, bool withWeekday) {
  if (n <= 0) {
    month += n;
    while (month <= 0) {
      month += 12;
      --year;
    }
  } else {
    const int t = month - 1 + n;
    month = t % 12 + 1;
    year += t / 12;
  }
  if (withWeekday) UpdateWeekday();
}

void Datum::AddYears(int n, bool withWeekday) {
  year += n;
  if (withWeekday) UpdateWeekday();
}

void Datum::ClampDay(bool withWeekday) {
  const int length = MonthLength();
  if (length > 0 && day > length) day = length;
  if (withWeekday) UpdateWeekday();
}

int Datum::DayOfYear() const {
  if (month < 1 || month > 12) return -1;
  int result = day;
  for (int m = 1; m < month; ++m) result += MonthLength(m, year);
  return result;
}

bool Datum::IsLeapYear(int year) {
  return year % 400 == 0 || (year % 4 == 0 && year % 100 != 0);
}

int Datum::MonthLength(int month, int year) {
  static const int kLengths[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month < 1 || month > 12) return 0;
  if (month == 2 && IsLeapYear(year)) return 29;
  return kLengths[month - 1];
}

int Datum::YearLength(int year) { return IsLeapYear(year) ? 366 : 365; }

int Datum::Weekday(int day, int month, int year) {
  if (day <= 0 || day >= 32 || month <= 0 || month > 12) return -1;
  // January and February count with the year before (its leap day lies
  // behind them).
  const int y = month <= 2 ? year - 1 : year;
  // 1600s: 6, 1700s: 4, 1800s: 2, 1900s: 0, and again from 2000 on.
  static const int kCenturyCodes[4] = {6, 4, 2, 0};
  static const int kMonthCodes[12] = {1, 4, 3, 6, 1, 4, 6, 2, 5, 0, 3, 5};
  const int centuryCode = kCenturyCodes[FloorMod(FloorDiv(y, 100), 4)];
  const int yy = FloorMod(y, 100);
  return (day + yy + yy / 4 + kMonthCodes[month - 1] + centuryCode) % 7;
}
