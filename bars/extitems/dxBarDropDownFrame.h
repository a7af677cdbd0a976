#pragma once
// The frame routines of the sizable drop-down windows: the client rectangle a window's frame
// leaves (its NCCalcSize), and the frame's painting (its NCPaint) with the size grip and the
// close button. The geometry is a TdxDropDownFrameLayout; these routines read it.
#include "dxBarDropDownFrameLayout.h"

class QPainter;
class TWindow;
class TdxBarItem;

// The grip in its box in r's corner: the box's two outer 2-pixel bands in the button face,
// the ridges in the rest, turned to face the corner.
void DrawSizeGrip(QPainter& p, const TRect& r, TdxCorner corner);
// The close button in r (see dxCloseButtonBounds): framed and not flat, a raised edge, or a
// sunken one when pressed; otherwise a face-coloured frame, so the flat look never shows an
// edge.
void DrawDropDownCloseButton(QPainter& p, const TRect& r, bool framed, TdxCorner corner, bool flat, bool pressed);

// The client rectangle of a drop-down window: rect (the window in its own coordinates) less
// the border and, when showStrip, the strip. The corner comes from where the window lies
// beside the editor of item's live link, taken in the bar window that shows it; without a
// live link it is the bottom-right corner.
void CalcDropDownNCSize(const TWindow& window, TRect& rect, TdxCorner& corner, bool showStrip, TdxBarItem* item);
// Paints the frame of a window laid out as frame: the border (the button shadow in the flat
// look, else the window frame colour) and, with the strip, its line, the grip and the close
// button (framed while hot or pressed, drawn pressed while both). Answers the close button's
// and the grip's rectangles, both empty without the strip.
void PaintDropDownNC(QPainter& p, const TdxDropDownFrameLayout& frame, bool flat, bool hot, bool pressed,
                     TRect& closeRect, TRect& gripRect);
