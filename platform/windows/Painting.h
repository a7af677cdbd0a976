#pragma once
// Drawing with the desktop platform's rules on a QPainter. Rectangles and lines leave out
// their right and bottom edges (a line drawn to a point leaves that point out; QPainter's
// drawLine would include it), frames are filled strips, and nothing is antialiased.
// Colours of edges and text come from the fixed system table (SysParams.h).
#include "Graphics.h"
#include "SysParams.h"
#include "WinTypes.h"

#include <QBrush>
#include <QColor>
#include <QFont>
#include <QList>
#include <QString>

class QPainter;

// The QColor of a system colour index.
QColor SysColor(int index);
// A solid brush of a system colour index.
QBrush SysBrush(int index);

void FillRect(QPainter& p, const TRect& r, const QBrush& brush);
// A 1-pixel frame just inside r.
void FrameRect(QPainter& p, const TRect& r, const QBrush& brush);
// Raised and sunken edges (BDR_*, EDGE_*) along the given sides (BF_*), outer edge on r,
// inner edge one pixel inside. The top and left lines stop one pixel short of the far
// corner, which belongs to the bottom and right lines. r is not changed.
void DrawEdge(QPainter& p, const TRect& r, unsigned edge, unsigned sides);
// The focus frame: every other pixel of a 1-pixel frame just inside r inverted, so that
// drawing it twice erases it.
void DrawFocusRect(QPainter& p, const TRect& r);
// A 1-pixel line from `from` to `to`, leaving `to` out.
void DrawLine(QPainter& p, const TPoint& from, const TPoint& to, const QColor& color);
// A filled convex polygon with its outline in the same colour (the outline pixels count).
void FillPolygon(QPainter& p, const QList<TPoint>& points, const QColor& color);

// A caption without its mnemonic marks: every single "&" is dropped and "&&" becomes "&".
// accelIndex gets the 0-based index in the result of the character that followed the
// last single "&", or -1.
QString StripMnemonic(const QString& text, int* accelIndex = nullptr);
// Width and height of text in font, one line.
QSize TextExtent(const QFont& font, const QString& text);
// Draws one line of text in the painter's font and pen colour into r with the DT_* flags
// (left, centre, right; vertical centre or bottom; no clip; no prefix). Unless DT_NOPREFIX,
// "&x" underlines x. DT_CALCRECT only sets r's right and bottom to the text's extent.
// Returns the text height.
int DrawText(QPainter& p, const QString& text, TRect& r, unsigned flags);
// One line of text turned a quarter turn clockwise (it runs from top to bottom, the tops
// of the letters face right): the text cell starts at origin and extends downward and
// to the left, as text in a font of escapement -900 does. No mnemonic processing.
void DrawRotatedText(QPainter& p, const QString& text, const TPoint& origin);
