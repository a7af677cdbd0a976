#include "dxBarDates.h"

#include <QLocale>
#include <QStringList>
#include <algorithm>
#include <cmath>
#include <vector>

namespace {

const QDate kDayZero(1899, 12, 30);

QDate& PinnedToday()
{
    static QDate day;
    return day;
}

QDate TodayDate()
{
    const QDate pinned = PinnedToday();
    return pinned.isValid() ? pinned : QDate::currentDate();
}

// The order of day, month and year in a date format: "dmy", "mdy" or "ymd".
QString FieldOrder(const QString& format)
{
    QString order;
    bool quoted = false;
    for (QChar c : format) {
        if (c == u'\'') quoted = !quoted;
        if (quoted) continue;
        const QChar field = c == u'd' ? u'd' : c == u'M' ? u'm' : c == u'y' ? u'y' : QChar();
        if (!field.isNull() && !order.contains(field)) order += field;
    }
    return order.size() == 3 ? order : QStringLiteral("mdy");
}

struct TDigitGroup {
    int value = 0;
    int digits = 0;
};

std::vector<TDigitGroup> DigitGroups(const QString& text)
{
    std::vector<TDigitGroup> groups;
    bool inGroup = false;
    for (QChar c : text) {
        const int digit = c.digitValue();
        if (digit < 0) {
            inGroup = false;
            continue;
        }
        if (!inGroup) groups.push_back({});
        inGroup = true;
        TDigitGroup& group = groups.back();
        // Longer groups are refused below; keep the value from overflowing meanwhile.
        if (group.digits < 5) group.value = group.value * 10 + digit;
        ++group.digits;
    }
    return groups;
}

// A two-digit year within 80 years before and 19 after today's.
int WidenYear(int twoDigits)
{
    const int low = TodayDate().year() - 80;
    int year = low - low % 100 + twoDigits;
    if (year < low) year += 100;
    return year;
}

}  // namespace

double dxBarTruncDate(double date)
{
    return std::trunc(date + 1E-11);
}

QDate dxBarDateToQDate(double date)
{
    if (date == dxBarNullDate || !std::isfinite(date)) return {};
    return kDayZero.addDays(qint64(dxBarTruncDate(date)));
}

double dxBarQDateToDate(const QDate& date)
{
    return date.isValid() ? double(kDayZero.daysTo(date)) : dxBarNullDate;
}

double dxBarEncodeDate(int year, int month, int day)
{
    return dxBarQDateToDate(QDate(year, month, day));
}

double dxBarToday()
{
    return dxBarQDateToDate(TodayDate());
}

void dxBarSetToday(const QDate& day)
{
    PinnedToday() = day;
}

void DecMonth(int& year, int& month)
{
    if (--month < 1) {
        month = 12;
        --year;
    }
}

void IncMonth(int& year, int& month)
{
    if (++month > 12) {
        month = 1;
        ++year;
    }
}

void dxBarChangeMonth(int& year, int& month, int delta)
{
    year += delta / 12;
    month += delta % 12;
    if (month < 1) {
        month += 12;
        --year;
    } else if (month > 12) {
        month -= 12;
        ++year;
    }
}

bool dxBarIsLeapYear(int year)
{
    return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
}

int dxBarDaysPerMonth(int year, int month)
{
    static const int days[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12) return 0;
    return days[month - 1] + (month == 2 && dxBarIsLeapYear(year) ? 1 : 0);
}

int dxBarCheckDay(int year, int month, int day)
{
    if (day < 1) return 1;
    return std::min(day, dxBarDaysPerMonth(year, month));
}

int dxBarDatePart(double date, int part)
{
    const QDate d = dxBarDateToQDate(date);
    switch (part) {
    case 1: return d.year();
    case 2: return d.month();
    case 3: return d.day();
    default: return -1;
    }
}

double dxBarFirstOfMonth(double date)
{
    const QDate d = dxBarDateToQDate(date);
    return d.isValid() ? dxBarEncodeDate(d.year(), d.month(), 1) : dxBarNullDate;
}

double dxBarAddMonths(double date, int delta)
{
    const QDate d = dxBarDateToQDate(date);
    if (!d.isValid()) return dxBarNullDate;
    int year = d.year(), month = d.month();
    dxBarChangeMonth(year, month, delta);
    return dxBarEncodeDate(year, month, dxBarCheckDay(year, month, d.day()));
}

QString dxBarShortDateFormat()
{
    const QString format = QLocale().dateFormat(QLocale::ShortFormat);
    QString widened;
    bool quoted = false;
    for (int i = 0; i < format.size();) {
        const QChar c = format[i];
        if (c == u'\'') quoted = !quoted;
        if (quoted || (c != u'y' && c != u'M')) {
            widened += c;
            ++i;
            continue;
        }
        int run = 0;
        while (i + run < format.size() && format[i + run] == c) ++run;
        if (c == u'y')
            widened += run == 2 ? QStringLiteral("yyyy") : QString(run, u'y');
        else  // a month's name could not be read back: its number stands in
            widened += run > 2 ? QStringLiteral("MM") : QString(run, u'M');
        i += run;
    }
    return widened;
}

QString dxBarDateToStr(double date)
{
    const QDate d = dxBarDateToQDate(date);
    return d.isValid() ? QLocale().toString(d, dxBarShortDateFormat()) : QString();
}

double dxBarStrToDate(const QString& text)
{
    const std::vector<TDigitGroup> groups = DigitGroups(text);
    if (groups.size() != 3) return dxBarNullDate;
    const QString order = groups[0].digits == 4 ? QStringLiteral("ymd") : FieldOrder(dxBarShortDateFormat());
    int year = 0, month = 0, day = 0;
    for (int i = 0; i < 3; ++i) {
        const TDigitGroup& g = groups[i];
        switch (order[i].unicode()) {
        case u'y':
            if (g.digits != 2 && g.digits != 4) return dxBarNullDate;
            year = g.digits == 2 ? WidenYear(g.value) : g.value;
            break;
        case u'm':
            if (g.digits > 2) return dxBarNullDate;
            month = g.value;
            break;
        default:
            if (g.digits > 2) return dxBarNullDate;
            day = g.value;
            break;
        }
    }
    return dxBarEncodeDate(year, month, day);
}

QString dxBarDateToText(double date)
{
    const QDate d = dxBarDateToQDate(date);
    if (!d.isValid()) return {};
    return QLocale().toString(d, QStringLiteral("ddd")) + u' ' + dxBarDateToStr(date);
}

double dxBarTextToDate(const QString& text)
{
    QString rest = text;
    const int blank = text.indexOf(u' ');
    if (blank >= 0) {
        const QStringView word = QStringView(text).left(blank);
        bool digit = false;
        for (QChar c : word) digit = digit || c.digitValue() >= 0;
        if (!digit) rest = text.mid(blank + 1);
    }
    return dxBarStrToDate(rest);
}
