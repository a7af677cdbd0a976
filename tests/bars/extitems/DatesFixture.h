#pragma once
// The dates' fixture: a flat-look form with the extended items started, its font DejaVu Sans
// of height -11, manual timers, today pinned to 10 September 2024, and a locale of the
// test's choice (the start-up runs again, so that it reads the locale's first week day).
#include "../windows/BarWindowFixture.h"
#include "ThreadTimers.h"
#include "dxBarDates.h"
#include "dxBarExtItems.h"

#include <QLocale>

class DatesTest : public BarWindowTest {
protected:
    void SetUp() override
    {
        BarWindowTest::SetUp();
        UseManualTimerClock(true);
        dxBarSetToday(QDate(2024, 9, 10));
        SetLocale("en_US");
        manager->SetUseSystemFont(false);
        manager->Font()->SetName("DejaVu Sans");
        manager->Font()->SetHeight(-11);
    }
    void TearDown() override
    {
        BarWindowTest::TearDown();
        while (dxBarExtItemsInitialized()) dxBarExtItemsFinalize();
        UseManualTimerClock(false);
        dxBarSetToday({});
        QLocale::setDefault(QLocale::c());
    }
    static void SetLocale(const char* name)
    {
        QLocale::setDefault(QLocale(QString::fromLatin1(name)));
        while (dxBarExtItemsInitialized()) dxBarExtItemsFinalize();
        dxBarExtItemsInitialize();
    }
    static double Day(int year, int month, int day) { return dxBarEncodeDate(year, month, day); }
    static QString Iso(double date) { return dxBarDateToQDate(date).toString(Qt::ISODate); }
    QFont TestFont() const { return manager->Font()->ToQFont(); }
};
