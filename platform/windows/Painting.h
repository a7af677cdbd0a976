#pragma once
// Drawing with the desktop platform's rules on a QPainter. Rectangles and lines leave out
// their right and bottom edges (a line drawn to a point leaves that point out; QPainter's
// drawLine would include it), frames are filled strips, and nothing is antialiased.
// Colours of edges and text come from the fixed system table (SysParams.h).
#include "Graphics.h"
#include "SysParams.h"
#include "TextMetrics.h"
#include "WinTypes.h"

#include <QBrush>
#include <QColor>
#include <QFont>
#include <QList>
#include <QString>
#include <optional>

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
// Draws one line of text in the painter's font and pen colour into r with the DT_* flags
// (left, centre, right; vertical centre or bottom; no clip; no prefix). Unless DT_NOPREFIX,
// "&x" underlines x. DT_CALCRECT only sets r's right and bottom to the text's extent.
// Returns the text height.
int DrawText(QPainter& p, const QString& text, TRect& r, unsigned flags);
// One line of text turned a quarter turn clockwise (it runs from top to bottom, the tops
// of the letters face right): the text cell starts at origin and extends downward and
// to the left, as text in a font of escapement -900 does. No mnemonic processing.
void DrawRotatedText(QPainter& p, const QString& text, const TPoint& origin);

// Colours a caller puts in place of the classic ones, to draw a frame control on a face of its
// own (a flat bar's selected close button).
struct TFrameControlColors {
    std::optional<QBrush> Face;   // the button face, or the inside of a check box
    std::optional<QColor> Glyph;  // the cross or the check mark
};

// The standard parts of window frames and buttons, drawn into r in the classic colours.
// - DFC_CAPTION, DFCS_CAPTIONCLOSE: a caption button with its cross, two strokes two pixels
//   wide on the largest even square 4 pixels narrower and 6 pixels lower than r, centred.
//   DFCS_CAPTIONMIN and DFCS_CAPTIONRESTORE: the same button with the minimize bar along the
//   square's bottom, or the two windows of restore.
//   A raised edge, or a sunken one with the mark a pixel down and right when DFCS_PUSHED;
//   DFCS_FLAT: no edge and no offset. DFCS_INACTIVE: the cross embossed in the shadow colour.
// - DFC_SCROLL, DFCS_SCROLLSIZEGRIP: three diagonal ridges (light, shadow, shadow) in the
//   bottom-right corner; DFCS_FLAT leaves out the light lines.
// - DFC_BUTTON, DFCS_BUTTONCHECK: a check box on the largest square centred in r: a sunken
//   edge (DFCS_FLAT: a shadow frame) round the window colour, the button face when pushed or
//   inactive; DFCS_CHECKED adds the check mark, in the shadow colour when inactive.
// DFCS_TRANSPARENT leaves the face unfilled. Returns false for a part it does not draw.
bool DrawFrameControl(QPainter& p, const TRect& r, unsigned type, unsigned state,
                      const TFrameControlColors& colors = {});
