#pragma once
// The lines of the Commands page's list, as plain values: where each part of a command's
// line goes, from the line's rectangle and a few measures.
#include "WinTypes.h"

#include <QSize>

// How a command's line looks: like an edit field, a combo, or a button of some kind.
enum class TdxBarCommandKind {
    Button,
    DropDownButton,  // a button with its drop-down arrow part
    SubItem,         // a button with the triangle of a sub menu
    Container,       // a button whose caption shows in parentheses
    Edit,
    Combo,
};

// Every line of the list is this high.
constexpr int dxBarCommandLineHeight = 22;

struct TdxBarCommandLineParts {
    // --- edits and combos
    TRect Caption;     // the caption part at the left
    TRect Gap;         // the standard look's gap between caption and field (empty when flat)
    TRect Field;       // the field with its frame
    TRect Interior;    // inside the frame (one pixel flat, two in the standard look)
    TRect DropButton;  // a combo's button at the interior's right end, with its frame
    // --- buttons
    TRect Column;      // the glyph column at the left
    TRect ColumnEdge;  // the standard look's line right of the column (empty when flat)
    TRect Glyph;       // the glyph centred in the column (empty without one)
    TRect GlyphBack;   // filled behind the glyph: the glyph, one pixel larger when flat
    TRect TextArea;    // the standard look's text area right of the column (empty when flat)
    TRect Arrow;       // the drop-down arrow part, or the sub menu triangle's part
    TPoint Triangle;   // the small right-pointing triangle's corner (x, y); (x, y + 6), (x + 3, y + 3)
    // --- both: the caption text's rectangle (drawn from its left, centred vertically)
    TRect Text;
};

// The parts of a line of kind in line; captionWidth is the text width of the caption without
// mnemonic marks (edits and combos), glyph the glyph's size (empty for none).
TdxBarCommandLineParts dxBarCommandLineParts(TdxBarCommandKind kind, const TRect& line, bool flat, int captionWidth,
                                             QSize glyph);
