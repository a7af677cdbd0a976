#include "dxBarStrs.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

constexpr int kBaseTextCount = 77;      // 39001-39352 as listed for both programs
constexpr int kExtendedTextCount = 29;  // 39400-39417, 39450-39459, 65266

bool InListedRanges(int id)
{
    return (id >= 39001 && id <= 39012) || id == 39101 || (id >= 39150 && id <= 39159) ||
           (id >= 39202 && id <= 39231) || (id >= 39300 && id <= 39352) || (id >= 39400 && id <= 39417) ||
           (id >= 39450 && id <= 39459) || id == 65266;
}

}  // namespace

TEST(dxBarStrs, TextsKeepBlanksAmpersandsAndQuotes)
{
    EXPECT_EQ(dxBarStr(dxSBAR_TABSHEET1), " Toolbars ");
    EXPECT_EQ(dxBarStr(dxSBAR_TABSHEET2), " Commands ");
    EXPECT_EQ(dxBarStr(dxSBAR_DESCRIPTION), "Description  ");
    EXPECT_EQ(dxBarStr(dxSBAR_PERSONALIZEDMENUS), "Personalized Menus and Toolbars  ");
    EXPECT_EQ(dxBarStr(dxSBAR_CUSTOMTOOLBARNAME), "Custom ");
    EXPECT_EQ(dxBarStr(dxSBAR_CP_DEFAULTSTYLE), "Defa&ult style");
    EXPECT_EQ(dxBarStr(dxSBAR_SHOWTOOLTIPS), "Show Tool&Tips on toolbars");
    EXPECT_EQ(dxBarStr(dxSBAR_MODIFY), "... modify");
    EXPECT_EQ(dxBarStr(dxSBAR_ANIMATIONNONE), "(None)");
    EXPECT_EQ(dxBarStr(dxSBAR_MANAGERNEEDSFORMOWNER), "TdxBarManager should have as its Owner - TForm (TCustomForm)");
    EXPECT_EQ(dxBarStr(dxSBAR_CONFIRMCLEARCATEGORY),
              "Are you sure you want to delete all commands in the '%s' category?");
    EXPECT_EQ(dxBarStr(dxSBAR_CONFIRMRESETUSAGEDATA),
              "This will delete the record of the commands you've used in this application and "
              "restore the default set of visible commands to the menus and toolbars. It will not "
              "undo any explicit customizations.   Are you sure you want to proceed?");
    EXPECT_FALSE(dxBarStr(dxSBAR_SUBMENUEDITORCAPTION).isEmpty());
}

TEST(dxBarStrs, UnknownIdsGiveEmptyText)
{
    for (int id : {0, -1, INT_MIN, INT_MAX, 39000, 39013, 39102, 39203, 39212, 39306, 39353, 39399, 39418, 39449, 39460,
                   65265, 65267})
        EXPECT_TRUE(dxBarStr(id).isEmpty()) << id;
}

// Registration is process-wide, so the whole sequence lives in one test.
TEST(dxBarStrs, ExtendedTextsAppearOnlyOnceRegistered)
{
    EXPECT_EQ(dxBarTextIds().size(), kBaseTextCount);
    EXPECT_TRUE(dxBarStr(dxSBAR_COLOR_BLACK).isEmpty());
    EXPECT_TRUE(dxBarStr(dxSBAR_CONTAINERSAMECONTROL).isEmpty());

    dxBarRegisterExtendedTexts();
    dxBarRegisterExtendedTexts();

    const QList<int> ids = dxBarTextIds();
    ASSERT_EQ(ids.size(), kBaseTextCount + kExtendedTextCount);
    for (int id : ids) {
        EXPECT_TRUE(InListedRanges(id)) << id;
        EXPECT_FALSE(dxBarStr(id).isEmpty()) << id;
    }
    EXPECT_EQ(dxBarStr(dxSBAR_PLACEFORCONTROL), "The place for the ");
    EXPECT_EQ(dxBarStr(dxSBAR_COLOR_CUSTOM), "(custom)");
    EXPECT_EQ(dxBarStr(dxSBAR_IMAGEDIALOGCAPTION), "Select item");
    EXPECT_EQ(dxBarStr(dxSBAR_CONTAINERSAMECONTROL),
              "You cannot assign the same control to more than one TdxBarControlContainerItem.");

    // A later table adds new ids but cannot replace a text already known.
    static constexpr dxBarTextEntry extra[] = {{dxSBAR_OK, "Okay"}, {70000, "Added"}};
    dxBarRegisterTexts(extra);
    EXPECT_EQ(dxBarStr(dxSBAR_OK), "OK");
    EXPECT_EQ(dxBarStr(70000), "Added");
}

TEST(dxBarStrs, FormatFillsLibraryTexts)
{
    EXPECT_EQ(dxBarFormat(dxBarStr(dxSBAR_CONFIRMDELETETOOLBAR), QStringLiteral("Standard")),
              "Are you sure you want to delete the 'Standard' toolbar?");
    EXPECT_EQ(dxBarFormat(dxBarStr(dxSBAR_TOOLBARNAMEEXISTS), "Custom 1"),
              "A toolbar named 'Custom 1' already exists. Type another name.");
    // A name that itself looks like a specifier is inserted, not expanded again.
    EXPECT_EQ(dxBarFormat(dxBarStr(dxSBAR_CONFIRMDELETECATEGORY), "%s %d"),
              "Are you sure you want to delete the '%s %d' category?");
}

TEST(dxBarStrs, FormatNeverReadsPastItsArguments)
{
    EXPECT_EQ(dxBarFormat("%s and %s"), "%s and %s");
    EXPECT_EQ(dxBarFormat("%s and %s", "one"), "one and %s");
    EXPECT_EQ(dxBarFormat("%s", "one", "two"), "one");
    EXPECT_EQ(dxBarFormat("%s: %d of %d", "Row", 3, -7L), "Row: 3 of -7");
    EXPECT_EQ(dxBarFormat("100%% %x %", "unused"), "100% %x %");
    EXPECT_EQ(dxBarFormat(""), "");
}
