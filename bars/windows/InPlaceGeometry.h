#pragma once
// Geometry of the in-place editors, their drop-down lists and the hint window, computed
// from plain numbers so it can be checked without any window.
#include "WinTypes.h"

#include <QSize>
#include <vector>

namespace inplace {

// ---------------------------------------------------------------- edit and combo items

// The room an edit item's caption takes before its text box: none unless it shows; else
// the caption's text width and 11 px in the flat look (6 px: 2 after the text, a 4 px gap).
int CaptionWidth(int textWidth, bool shows, bool flat);
// The height of the text box of a bar window whose item height is itemHeight.
int TextBoxHeight(int itemHeight);
// The width of a combo's drop-down button.
int DropDownButtonWidth(bool flat);

struct TEditSize {
    int Width = 0;     // caption + the link's width
    int MinWidth = 0;  // caption + 20
    int Height = 0;    // the text box, at least the item height when the caption shows
};
TEditSize EditSize(int captionWidth, int linkWidth, int textBoxHeight, int itemHeight);

// The parts of an edit or combo item drawn into r.
struct TEditParts {
    TRect Caption;  // empty without a caption
    TRect Frame;    // the text box with its frame
    TRect Edit;     // where the editor window goes (empty when disabled)
    TRect Button;   // the drop-down button of a combo (empty for an edit)
};
// buttonWidth 0: an edit item. The standard look has a 2 px frame, the flat look 1 px.
TEditParts EditParts(const TRect& r, int captionWidth, bool flat, bool enabled, int buttonWidth);

// ---------------------------------------------------------------- the width drag (customizing)

// Which edge of an edit item a point arms for the width drag: the one within WidthDragZone
// px of it (the right edge when both are), else none.
enum class TWidthSide { None, Left, Right };
constexpr int WidthDragZone = 7;
TWidthSide WidthDragSide(const TRect& item, const TPoint& at);
// The link width a drag of side to x gives an item whose caption takes fixedPart: from the
// edge that stays to x, less the caption, within the widths a link may have (20..600).
int WidthDragWidth(const TRect& item, TWidthSide side, int x, int fixedPart);
// The item as it would stand with that width, grown or shrunk from the edge that stays.
TRect WidthDragRect(const TRect& item, TWidthSide side, int fixedPart, int width);
// The frame showing it: 2 px bars along its top, bottom, left and right.
std::vector<TRect> WidthDragFrame(const TRect& r);

// The drop-down arrow of a combo's button: a triangle of odd width W (half the button,
// made odd) pointing down, centred in the button.
struct TTriangle {
    TPoint A, B, C;
};
TTriangle ComboArrow(const TRect& button);

// ---------------------------------------------------------------- the drop-down list

struct TListBoxSize {
    int Width = 0;
    int Height = 0;
    bool ScrollBar = false;
};
// dropDownWidth: the combo's own width for its list (below 1: from the link and entries);
// linkWidth: the width of the link showing the combo; itemWidths and itemHeights: every
// entry's text width + 2 and height.
TListBoxSize ListBoxSize(int dropDownWidth, int linkWidth, int buttonWidth, int scrollBarWidth, int dropDownCount,
                         const std::vector<int>& itemWidths, const std::vector<int>& itemHeights);

// The first entry to show so that index is visible in a list of visibleCount rows whose
// first shown entry is top.
int ScrollToShow(int top, int index, int visibleCount, int count);

// ---------------------------------------------------------------- the hint window

// How wide a hint's text may wrap: the work area less the window's 6 px.
int HintTextWidth(const TRect& workArea);
// The hint window for a text of size text at the requested point (the cursor moved 20 px
// down): 6 px larger than the text, its left end moved in at the right edge, 50 px above
// the point at the bottom edge, and never starting outside the work area.
TRect HintBounds(const TPoint& at, const QSize& text, const TRect& workArea);

}  // namespace inplace
