// Geometry of the in-place editors, the drop-down list and the hint window, from numbers.
#include "InPlaceGeometry.h"

#include <gtest/gtest.h>

using namespace inplace;

namespace {
const TRect kScreen{0, 0, 800, 800};
}

TEST(HintPlacement, BesideThePointAndKeptOnTheScreen)
{
    // Room enough: the window starts at the point, 6 px larger than its text.
    EXPECT_EQ(HintBounds({100, 120}, {60, 14}, kScreen), TRect(100, 120, 166, 140));
    // At the right edge it ends exactly at the work area's right edge.
    EXPECT_EQ(HintBounds({780, 120}, {60, 14}, kScreen), TRect(734, 120, 800, 140));
    // At the bottom it goes 50 px above the point.
    EXPECT_EQ(HintBounds({100, 790}, {60, 14}, kScreen), TRect(100, 740, 166, 760));
    // In the bottom-right corner both apply.
    EXPECT_EQ(HintBounds({795, 795}, {60, 14}, kScreen), TRect(734, 745, 800, 765));
    // A work area that does not start at 0: the left and top edges win.
    const TRect area{200, 100, 500, 400};
    EXPECT_EQ(HintBounds({150, 60}, {60, 14}, area), TRect(200, 100, 266, 120));
}

TEST(HintPlacement, AWrappedTextNeverMakesTheWindowWiderThanTheWorkArea)
{
    const int width = HintTextWidth(kScreen);
    const TRect r = HintBounds({300, 300}, {width, 40}, kScreen);
    EXPECT_EQ(r.Width(), kScreen.Width());
    EXPECT_EQ(r.Left, 0);
    EXPECT_GE(HintTextWidth(TRect(0, 0, 3, 3)), 1);
}

TEST(ListBoxSize, TheLinkDecidesTheWidthUnlessAnEntryIsWider)
{
    // 100 px link, 11 px button: 85 + 4 = the link less its button.
    TListBoxSize s = ListBoxSize(0, 100, 11, 16, 8, {30, 40}, {13, 13});
    EXPECT_EQ(s.Width, 89);
    EXPECT_EQ(s.Height, 4 + 26);
    EXPECT_FALSE(s.ScrollBar);
    s = ListBoxSize(0, 100, 11, 16, 8, {30, 150}, {13, 13});
    EXPECT_EQ(s.Width, 154);
    // The combo's own width wins over both.
    s = ListBoxSize(60, 100, 11, 16, 8, {30, 150}, {13, 13});
    EXPECT_EQ(s.Width, 64);
}

TEST(ListBoxSize, MoreEntriesThanDropDownCountGetAScrollBarAndShowOnlyThatMany)
{
    const std::vector<int> widths(10, 20), heights(10, 13);
    TListBoxSize s = ListBoxSize(0, 100, 11, 16, 4, widths, heights);
    EXPECT_TRUE(s.ScrollBar);
    EXPECT_EQ(s.Height, 4 + 4 * 13);
    // The scroll bar comes out of the entries' room and is added back outside it.
    EXPECT_EQ(s.Width, 100 - 11 - 4 - 16 + 4 + 16);
    s = ListBoxSize(0, 100, 11, 16, 4, {}, {});
    EXPECT_EQ(s.Height, 4);
    EXPECT_FALSE(s.ScrollBar);
}

TEST(ListBoxScroll, TheChosenEntryIsScrolledIntoViewWithinTheList)
{
    EXPECT_EQ(ScrollToShow(0, 2, 4, 10), 0);
    EXPECT_EQ(ScrollToShow(0, 7, 4, 10), 4);
    EXPECT_EQ(ScrollToShow(5, 3, 4, 10), 3);
    EXPECT_EQ(ScrollToShow(9, -1, 4, 10), 6);  // never past the last page
    EXPECT_EQ(ScrollToShow(3, 1, 4, 2), 0);
}

TEST(EditParts, CaptionFrameEditorAndButtonShareTheItem)
{
    const TRect r{10, 0, 160, 22};
    // Flat: 1 px frame; the combo's button takes the right end with a 1 px gap before it.
    TEditParts p = EditParts(r, 40, true, true, 11);
    EXPECT_EQ(p.Caption, TRect(10, 0, 50, 22));
    EXPECT_EQ(p.Frame, TRect(50, 0, 160, 22));
    EXPECT_EQ(p.Button, TRect(148, 1, 159, 21));
    EXPECT_EQ(p.Edit, TRect(51, 1, 147, 21));
    // Standard: 2 px frame, no caption, no button.
    p = EditParts(r, 0, false, true, 0);
    EXPECT_TRUE(p.Caption.IsEmpty());
    EXPECT_EQ(p.Edit, TRect(12, 2, 158, 20));
    EXPECT_TRUE(p.Button.IsEmpty());
    // Disabled: no place for an editor.
    EXPECT_TRUE(EditParts(r, 0, true, false, 11).Edit.IsEmpty());
    // A caption wider than the item leaves no text box, never a negative one.
    p = EditParts({0, 0, 30, 22}, 80, true, true, 11);
    EXPECT_EQ(p.Caption.Width(), 30);
    EXPECT_TRUE(p.Edit.IsEmpty());
}

TEST(EditSize, CaptionAddsToTheLinkWidthAndRaisesTheHeight)
{
    EXPECT_EQ(CaptionWidth(50, false, true), 0);
    EXPECT_EQ(CaptionWidth(50, true, true), 61);
    EXPECT_EQ(CaptionWidth(50, true, false), 56);
    TEditSize s = EditSize(61, 357, TextBoxHeight(19), 24);
    EXPECT_EQ(s.Width, 418);
    EXPECT_EQ(s.MinWidth, 81);
    EXPECT_EQ(s.Height, 24);
    s = EditSize(0, 100, TextBoxHeight(19), 24);
    EXPECT_EQ(s.Height, 21);
}

TEST(ComboArrow, AnOddTriangleCentredInTheButton)
{
    const TTriangle t = ComboArrow({100, 0, 111, 20});
    const int w = t.B.x() - t.A.x() + 1;
    EXPECT_EQ(w % 2, 1);
    EXPECT_EQ(w, 5);
    EXPECT_EQ(t.A.y(), t.B.y());
    EXPECT_EQ(t.C.x(), t.A.x() + w / 2);
    EXPECT_EQ(t.A.x() - 100, 111 - 1 - t.B.x());  // as much room left as right
}

TEST(EditWidthDrag, AnEdgeArmsItsSideAndTheWidthFollowsThePointerFromTheOtherEdge)
{
    const TRect item(100, 2, 200, 24);  // a 40 px caption, a 60 px text box
    EXPECT_EQ(WidthDragSide(item, {195, 10}), TWidthSide::Right);
    EXPECT_EQ(WidthDragSide(item, {207, 10}), TWidthSide::Right);
    EXPECT_EQ(WidthDragSide(item, {93, 10}), TWidthSide::Left);
    EXPECT_EQ(WidthDragSide(item, {150, 10}), TWidthSide::None);
    EXPECT_EQ(WidthDragSide(item, {200, 30}), TWidthSide::None);
    // An item narrower than both zones is sized at its right edge.
    EXPECT_EQ(WidthDragSide(TRect(100, 2, 110, 24), {104, 10}), TWidthSide::Right);

    EXPECT_EQ(WidthDragWidth(item, TWidthSide::Right, 250, 40), 110);
    EXPECT_EQ(WidthDragWidth(item, TWidthSide::Left, 50, 40), 110);
    // Never narrower than 20 px nor wider than 600 px, whichever way the pointer goes.
    EXPECT_EQ(WidthDragWidth(item, TWidthSide::Right, 90, 40), 20);
    EXPECT_EQ(WidthDragWidth(item, TWidthSide::Left, -2000, 40), 600);

    EXPECT_EQ(WidthDragRect(item, TWidthSide::Right, 40, 110), TRect(100, 2, 250, 24));
    EXPECT_EQ(WidthDragRect(item, TWidthSide::Left, 40, 110), TRect(50, 2, 200, 24));
}
