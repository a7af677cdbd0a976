#include "dxBarCommandsLayout.h"

namespace {

constexpr int kButtonColumn = 23;  // the standard look's glyph column
constexpr int kArrowPart = 13;
constexpr int kComboButton = 12;

void EditParts(TdxBarCommandLineParts& parts, TdxBarCommandKind kind, const TRect& line, bool flat, int captionWidth)
{
    parts.Caption = TRect(line.Left, line.Top, line.Left + captionWidth + (flat ? 11 : 3), line.Bottom);
    parts.Text = TRect(line.Left + (flat ? 5 : 2), line.Top, parts.Caption.Right, line.Bottom);
    int fieldLeft = parts.Caption.Right;
    if (!flat) {
        parts.Gap = TRect(fieldLeft, line.Top, fieldLeft + 4, line.Bottom);
        fieldLeft = parts.Gap.Right;
    }
    parts.Field = TRect(fieldLeft, line.Top, line.Right, line.Bottom);
    parts.Interior = parts.Field.Inflated(flat ? -1 : -2, flat ? -1 : -2);
    if (kind == TdxBarCommandKind::Combo)
        parts.DropButton =
            TRect(parts.Interior.Right - kComboButton, parts.Interior.Top, parts.Interior.Right, parts.Interior.Bottom);
}

void ButtonParts(TdxBarCommandLineParts& parts, TdxBarCommandKind kind, const TRect& line, bool flat, QSize glyph)
{
    const int column = flat ? line.Height() : kButtonColumn;
    parts.Column = TRect(line.Left, line.Top, line.Left + column, line.Bottom);
    int textLeft = line.Left + line.Height() + 10;
    if (!flat) {
        parts.ColumnEdge = TRect(parts.Column.Right, line.Top, parts.Column.Right + 1, line.Bottom);
        parts.TextArea = TRect(line.Left + kButtonColumn + 1, line.Top, line.Right, line.Bottom);
        textLeft = parts.TextArea.Left + 2;
    }
    if (!glyph.isEmpty()) {
        parts.Glyph = TRect::Bounds(parts.Column.Left + (parts.Column.Width() - glyph.width()) / 2,
                                    parts.Column.Top + (parts.Column.Height() - glyph.height()) / 2, glyph.width(),
                                    glyph.height());
        parts.GlyphBack = flat ? parts.Glyph.Inflated(1, 1) : parts.Glyph;
    }
    int textRight = line.Right;
    if (kind == TdxBarCommandKind::DropDownButton || kind == TdxBarCommandKind::SubItem) {
        parts.Arrow = TRect(line.Right - kArrowPart, line.Top, line.Right, line.Bottom);
        parts.Triangle = TPoint(parts.Arrow.Left + (kArrowPart - 4) / 2, line.Top + (line.Height() - 7) / 2);
        textRight = parts.Arrow.Left;
    }
    parts.Text = TRect(textLeft, line.Top, textRight, line.Bottom);
}

}  // namespace

TdxBarCommandLineParts dxBarCommandLineParts(TdxBarCommandKind kind, const TRect& line, bool flat, int captionWidth,
                                             QSize glyph)
{
    TdxBarCommandLineParts parts;
    if (kind == TdxBarCommandKind::Edit || kind == TdxBarCommandKind::Combo)
        EditParts(parts, kind, line, flat, captionWidth);
    else
        ButtonParts(parts, kind, line, flat, glyph);
    return parts;
}
