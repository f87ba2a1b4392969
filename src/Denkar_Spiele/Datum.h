// Datum: one date of the Gregorian calendar with its day of the week, and the
// calendar arithmetic of the date game (days, months and years forward and
// back, month and year lengths, leap years, the weekday by table).
#pragma once

class Datum {
 public:
  // Every changing operation takes `withWeekday`: when set, the weekday is
  // recomputed after the change.

  // Today's date in UTC.
  void Today(bool withWeekday);
  // Today, then, when `random` is set, rand() mod 73000 - 36500 days from it
  // (with the 15-bit generator that is 10 to 100 years back).
  void TodayOrRandom(bool random, bool withWeekday);
  // Moves n days. Runs over month ends in the direction of travel, one month
  // at a time, with the unclamped AddMonths.
  void AddDays(int n, bool withWeekday);
  // Moves n months. The day number stays as it is, even where the new month
  // is shorter (31 March - 1 month = 31 February); see ClampDay.
  void AddMonths(int n, bool withWeekday);
  // Moves n years; day and month stay as they are (29 February stays).
  void AddYears(int n, bool withWeekday);
  // Cuts a day beyond the end of its month to the month's last day.
  void ClampDay(bool withWeekday);
  void UpdateWeekday() { weekday = Weekday(day, month, year); }

  int MonthLength() const { return MonthLength(month, year); }
  int YearLength() const { return YearLength(year); }
  int DayOfYear() const;
  bool SameDate(const Datum& other) const {
    return day == other.day && month == other.month && year == other.year;
  }

  static bool IsLeapYear(int year);
  // 28 ... 31; 0 for a month outside 1 ... 12.
  static int MonthLength(int month, int year);
  static int YearLength(int year);
  // 0 = Sunday ... 6 = Saturday by the century, month and year table, its
  // century codes repeating every 400 years so that it holds for every
  // Gregorian year; -1 for a day outside 1 ... 31 or a month outside 1 ... 12.
  static int Weekday(int day, int month, int year);

  int day = 1;
  int month = 1;  // 1 ... 12
  int year = 2000;
  int weekday = 6;  // 0 = Sunday ... 6 = Saturday
};
