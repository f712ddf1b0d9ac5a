// The system's date-time: a 64-bit float counting whole days since 30 December 1899, with the
// time of day as the fraction (for dates before that day the fraction still counts forward).
#pragma once

#include <QDateTime>

#include <cstdint>

namespace zabko {

using TDateTime = double;

struct DateTimeFields {
  int year = 1899, month = 12, day = 30;
  int hour = 0, minute = 0, second = 0, millisecond = 0;
  bool operator==(const DateTimeFields&) const = default;
};

// Splits a date-time into calendar date and time of day, rounding the whole value to the
// millisecond first, so a time just below midnight becomes the next day at 00:00:00.000.
// Values outside the years 1..9999 fail with "Invalid argument to date encode".
DateTimeFields DecodeDateTime(TDateTime value);

// Joins the fields; fails with "Invalid argument to date encode" or "Invalid argument to time
// encode" when they do not form a valid date or time of day.
TDateTime EncodeDateTime(const DateTimeFields& fields);
TDateTime EncodeDate(int year, int month, int day);
TDateTime EncodeTime(int hour, int minute, int second, int millisecond);
bool IsValidDate(int year, int month, int day);

// Conversions to and from Qt's local date-time.
QDateTime ToQDateTime(TDateTime value);
TDateTime FromQDateTime(const QDateTime& value);

}  // namespace zabko
