#include "core/date_time.h"

#include "platform/exception.h"

#include <cmath>

namespace zabko {
namespace {

constexpr qint64 kMsPerDay = 86400000;
// Day number of 30 December 1899 counted from 1 March of year 0 (civil calendar arithmetic).
constexpr qint64 kEpochShift = 693899;

qint64 DaysFromCivil(qint64 y, unsigned m, unsigned d) {
  y -= m <= 2;
  const qint64 era = (y >= 0 ? y : y - 399) / 400;
  const unsigned yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<qint64>(doe);
}

void CivilFromDays(qint64 z, int& year, int& month, int& day) {
  const qint64 era = (z >= 0 ? z : z - 146096) / 146097;
  const unsigned doe = static_cast<unsigned>(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const qint64 y = static_cast<qint64>(yoe) + era * 400;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  year = static_cast<int>(y + (month <= 2));
}

}  // namespace

bool IsValidDate(int year, int month, int day) {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1) return false;
  const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  const int last = kDays[month - 1] + (month == 2 && leap ? 1 : 0);
  return day <= last;
}

TDateTime EncodeDate(int year, int month, int day) {
  if (!IsValidDate(year, month, day)) throw Exception("Invalid argument to date encode");
  return static_cast<double>(DaysFromCivil(year, static_cast<unsigned>(month),
                                           static_cast<unsigned>(day)) -
                             kEpochShift);
}

TDateTime EncodeTime(int hour, int minute, int second, int millisecond) {
  if (hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59 ||
      millisecond < 0 || millisecond > 999)
    throw Exception("Invalid argument to time encode");
  const qint64 ms = ((hour * 60 + minute) * 60 + second) * 1000LL + millisecond;
  return static_cast<double>(ms) / kMsPerDay;
}

TDateTime EncodeDateTime(const DateTimeFields& f) {
  const TDateTime date = EncodeDate(f.year, f.month, f.day);
  const TDateTime time = EncodeTime(f.hour, f.minute, f.second, f.millisecond);
  return date < 0 ? date - time : date + time;
}

DateTimeFields DecodeDateTime(TDateTime value) {
  // Years 1..9999 span these day numbers.
  if (!std::isfinite(value) || value <= -693594.0 || value >= 2958466.0)
    throw Exception("Invalid argument to date encode");
  double whole = std::trunc(value);
  qint64 ms = std::llround(std::fabs(value - whole) * kMsPerDay);
  // Rounded up to midnight: the next day. Before day 0 the day is the whole part too (-1.25 is
  // 29 Dec 1899 06:00), so the next day is one up on either side.
  if (ms >= kMsPerDay) {
    ms -= kMsPerDay;
    whole += 1;
  }
  if (whole >= 2958466.0 || whole < -693593.0) throw Exception("Invalid argument to date encode");
  DateTimeFields f;
  CivilFromDays(static_cast<qint64>(whole) + kEpochShift, f.year, f.month, f.day);
  f.millisecond = static_cast<int>(ms % 1000);
  f.second = static_cast<int>(ms / 1000 % 60);
  f.minute = static_cast<int>(ms / 60000 % 60);
  f.hour = static_cast<int>(ms / 3600000);
  return f;
}

QDateTime ToQDateTime(TDateTime value) {
  const DateTimeFields f = DecodeDateTime(value);
  return QDateTime(QDate(f.year, f.month, f.day), QTime(f.hour, f.minute, f.second, f.millisecond));
}

TDateTime FromQDateTime(const QDateTime& value) {
  const QDate d = value.date();
  const QTime t = value.time();
  return EncodeDateTime({d.year(), d.month(), d.day(), t.hour(), t.minute(), t.second(), t.msec()});
}

}  // namespace zabko
