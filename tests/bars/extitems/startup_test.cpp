// The extended items' start-up and shut-down: what they register and what they keep.
#include "ClassRegistry.h"
#include "Dialogs.h"
#include "Graphics.h"
#include "dxBarExtItems.h"
#include "dxBarRegistry.h"
#include "dxBarServices.h"

#include <gtest/gtest.h>

#include <QLocale>

namespace {

QStringList VisibleKinds()
{
    QStringList names;
    for (int i = 0; i < dxBarGetVisibleItemClassCount(); ++i)
        names << QString::fromLatin1(dxBarGetVisibleItemClass(i)->className());
    return names;
}

// The bar library started around each test, the extended kinds not.
class ExtItemsStartUpTest : public ::testing::Test {
protected:
    void SetUp() override { dxBarInitialize(); }
    void TearDown() override
    {
        while (dxBarExtItemsInitialized()) dxBarExtItemsFinalize();
        dxBarFinalize();
        QLocale::setDefault(QLocale::c());
    }
};

TEST_F(ExtItemsStartUpTest, NestedStartUpsAddNothingAndTheLastShutDownRestoresTheStandardList)
{
    const QStringList standard = VisibleKinds();
    const int registered = dxBarRegisteredItemCount();

    dxBarExtItemsInitialize();
    const QStringList started = VisibleKinds();
    // The extended kinds come after every standard one, each once, and can be read from forms.
    ASSERT_EQ(started.mid(0, standard.size()), standard);
    const QStringList extended = started.mid(standard.size());
    EXPECT_EQ(extended.size(), int(dxBarExtItemPairs().size()));
    for (const QString& kind : extended) {
        EXPECT_EQ(started.count(kind), 1) << kind.toStdString();
        EXPECT_TRUE(GetClass(kind).has_value()) << kind.toStdString();
    }

    dxBarExtItemsInitialize();
    EXPECT_EQ(VisibleKinds(), started);
    dxBarExtItemsFinalize();
    EXPECT_TRUE(dxBarExtItemsInitialized());
    EXPECT_EQ(VisibleKinds(), started);
    EXPECT_NE(dxBarColorDialog(), nullptr);

    dxBarExtItemsFinalize();
    EXPECT_FALSE(dxBarExtItemsInitialized());
    EXPECT_EQ(VisibleKinds(), standard);
    EXPECT_EQ(dxBarRegisteredItemCount(), registered);
    for (const QString& kind : extended) EXPECT_FALSE(GetClass(kind).has_value()) << kind.toStdString();
    EXPECT_EQ(dxBarColorDialog(), nullptr);
    EXPECT_EQ(dxBarTrueTypeFontBitmap(), nullptr);
    EXPECT_TRUE(dxBarTodayText().isEmpty());

    dxBarExtItemsFinalize();  // unbalanced: ignored
    EXPECT_EQ(VisibleKinds(), standard);
}

TEST_F(ExtItemsStartUpTest, KeepsTheMarkersGlyphsDialogsAndDateTexts)
{
    dxBarExtItemsInitialize();
    for (TBitmap* marker : {dxBarTrueTypeFontBitmap(), dxBarNonTrueTypeFontBitmap()}) {
        ASSERT_NE(marker, nullptr);
        EXPECT_FALSE(marker->Empty());
        EXPECT_LE(marker->Height(), 16);
    }
    EXPECT_NE(dxBarTrueTypeFontBitmap()->Image(), dxBarNonTrueTypeFontBitmap()->Image());
    for (const char* kind : {"COLORCOMBO", "DATECOMBO", "FONTNAMECOMBO", "IMAGECOMBO", "TREEVIEWCOMBO"}) {
        TBitmap* glyph = dxBarItemKindGlyph(QString::fromLatin1(kind));
        ASSERT_NE(glyph, nullptr) << kind;
        EXPECT_EQ(glyph->Image().size(), QSize(16, 16)) << kind;
    }
    EXPECT_EQ(dxBarItemKindGlyph(QStringLiteral("TRUETYPEFONT")), nullptr);
    EXPECT_EQ(dxBarItemKindGlyph(QStringLiteral("NOSUCHKIND")), nullptr);

    ASSERT_NE(dxBarColorDialog(), nullptr);
    ASSERT_NE(dxBarFontDialog(), nullptr);
    EXPECT_EQ(dxBarColorDialog()->Owner(), nullptr);
    EXPECT_EQ(dxBarFontDialog()->Owner(), nullptr);

    EXPECT_EQ(dxBarTodayText(), "Today");
    EXPECT_EQ(dxBarClearText(), "Clear");
}

TEST_F(ExtItemsStartUpTest, TheFirstDayOfTheWeekComesFromTheLocaleOnceAtStartUp)
{
    const struct {
        const char* locale;
        int firstDay;
    } cases[] = {
        {"en_US", 0},  // Sunday
        {"de_DE", 1},  // Monday
    };
    for (const auto& c : cases) {
        QLocale::setDefault(QLocale(QString::fromLatin1(c.locale)));
        dxBarExtItemsInitialize();
        EXPECT_EQ(dxBarFirstWeekDay(), c.firstDay) << c.locale;
        // Read once: a later change of the locale waits for the next start-up.
        QLocale::setDefault(QLocale(QStringLiteral("ar_EG")));
        dxBarExtItemsInitialize();
        EXPECT_EQ(dxBarFirstWeekDay(), c.firstDay) << c.locale;
        dxBarExtItemsFinalize();
        dxBarExtItemsFinalize();
    }
}

}  // namespace
