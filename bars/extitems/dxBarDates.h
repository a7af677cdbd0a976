#pragma once
// The dates of the extended items: day numbers, month arithmetic and the locale's date text.
//
// A date is a day number held as a double: whole days since 30 December 1899, the time of
// day as the fraction. dxBarNullDate means "no date" and has the empty text.
//
// Text: dates are written in the default locale's short format with a four-digit year (a
// lone "yy" of the format is widened) and the month as a number, and read back leniently from their three digit
// groups in the order of that format, whatever separates them (see dxBarStrToDate).
// "Today" comes from the clock unless a test has pinned it.
#include <QDate>
#include <QString>

constexpr double dxBarNullDate = -700000.0;

// --- day numbers
// The whole day of a date (truncated toward zero, guarded against representation error).
double dxBarTruncDate(double date);
// The calendar day of a day number; an invalid date for the null date.
QDate dxBarDateToQDate(double date);
// The day number of a calendar day; the null date for an invalid one.
double dxBarQDateToDate(const QDate& date);
// The day number of (year, month, day); the null date when that is no date.
double dxBarEncodeDate(int year, int month, int day);

// Today's day number: the clock's, or the pinned day.
double dxBarToday();
// Pins "today" to a day (tests); an invalid date goes back to the clock.
void dxBarSetToday(const QDate& day);

// --- months
void DecMonth(int& year, int& month);
void IncMonth(int& year, int& month);
// Adds delta months (negative allowed).
void dxBarChangeMonth(int& year, int& month, int delta);
bool dxBarIsLeapYear(int year);
int dxBarDaysPerMonth(int year, int month);
// 1 for a day below 1, the month's length for a day past it, else the day.
int dxBarCheckDay(int year, int month, int day);
// Year (part 1), month (2) or day (3) of a date; -1 for any other part.
int dxBarDatePart(double date, int part);
// The first day of the date's month.
double dxBarFirstOfMonth(double date);
// The same day moved by delta months, clamped to that month's length.
double dxBarAddMonths(double date, int delta);

// --- text
// The locale's short date format with a lone "yy" widened to "yyyy", and a month's name
// ("MMM", "MMMM") given as its number.
QString dxBarShortDateFormat();
// The short date text; empty for the null date.
QString dxBarDateToStr(double date);
// The date in a text: its three digit groups (split on anything else) read in the order of
// the short format (day-month-year, month-day-year or year-month-day; a leading group of four
// digits is always a year first). Days and months have 1 or 2 digits, years 2 or 4; two
// digits give the year within 80 years before and 19 after today's. Anything else, or no
// valid day, gives the null date.
double dxBarStrToDate(const QString& text);
// The date as a date item shows it: the short weekday name, a blank and the short date;
// empty for the null date.
QString dxBarDateToText(double date);
// The date of such a text: a leading word without a digit (the weekday) is dropped, the rest
// is read by dxBarStrToDate.
double dxBarTextToDate(const QString& text);
