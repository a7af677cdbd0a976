#pragma once
// The bar library's drawing and small window routines, shared by the bar windows, the
// item controls and the manager: arrows, glyphs, gradients, the checkered pattern, the
// colours of the flat look, fonts, the work area and mouse-leave tracking.
//
// Every painter takes a QPainter in the coordinates of the window part it draws and a
// TRect with exclusive right and bottom edges.
#include "Graphics.h"
#include "Painting.h"
#include "WinTypes.h"

#include <QBrush>
#include <QFont>
#include <QImage>
#include <QString>
#include <functional>

class QPainter;
class TCustomImageList;
class TWindow;

// ---------------------------------------------------------------- colours and brushes

// The system colour with the offsets added to its channels, each clamped to 0..255.
TColor dxBarOffsetSysColor(int sysColorIndex, int dR, int dG, int dB);

// The colours of the flat look, derived from the system colours.
struct TdxBarFlatColors {
    TColor Toolbar;       // face + (10, 10, 10): toolbars and the glyph column of menus
    TColor Down;          // face + (0, 0, 16): a down (checked) button
    TColor DownSelected;  // face - (79, 62, 18): a down button under the mouse, a pressed one
    TColor Selected;      // highlight + (172, 153, 104): the hot item
};
TdxBarFlatColors dxBarFlatColors();
// The grey of disabled parts and of the flat windows' shadow.
constexpr TColor dxBarShadowColor = RGB(128, 128, 128);

// The checkered 8x8 pattern of button highlight and button face (pixels whose row and
// column have the same parity are face); a down button's background in the standard look.
QBrush dxBarPatternBrush();

// ---------------------------------------------------------------- painters

// The size of an arrow that fits r: W is r's width - 8 (down) or height - 6 (right);
// (W - 1) / 2, plus 1 for an odd W; at least 3.
int dxBarArrowSize(const TRect& r, bool down);
void dxBarDrawArrowInRect(QPainter& p, const TRect& r, bool down, bool enabled, bool selected, bool flat);
// A down- or right-pointing filled triangle of the given size centred in r: button text
// colour, highlight text when selected, button shadow when disabled; disabled outside the
// flat look it gets an embossed highlight.
void dxBarDrawArrow(QPainter& p, const TRect& r, bool down, bool enabled, bool selected, bool flat, int size);
// A 1-pixel frame in the highlight colour.
void dxBarFrameHighlight(QPainter& p, const TRect& r);
// 256 horizontal stripes from start (top) to end (bottom), whatever the height.
void dxBarFillGradient(QPainter& p, const TRect& r, TColor start, TColor end);
// Every pixel that is not the transparent colour becomes grey: (R + G + B) / 3.
void dxBarDesaturateImage(QImage& image, TColor transparent);

// How dxBarDrawGlyph draws.
enum TdxBarGlyphFlag : unsigned {
    dgEnabled = 1u << 0,
    dgDesaturate = 1u << 1,  // grey an enabled glyph
    dgHot = 1u << 2,         // the three state flags: hot, shadowed, pressed
    dgShadowed = 1u << 3,
    dgPressed = 1u << 4,
    dgFlat = 1u << 5,  // a disabled glyph without the embossed highlight
};
// Draws a glyph: dest is first filled with background, then the image (the bitmap when it
// is not empty, else image index of images) is stretched into glyphRect (same coordinates
// as dest). An image with alpha is drawn with it. One without is drawn (an image-list one
// on imageListBkColor) with the colour of its bottom-left pixel transparent. Hot, shadowed
// and not pressed: the glyph moves 1 px up and left over its shape in button shadow 1 px
// right and down of the normal place. Disabled: its shape in button highlight 1 px right
// and down (unless flat), then in button shadow in place.
void dxBarDrawGlyph(QPainter& p, const QBrush& background, const TRect& dest, TColor imageListBkColor, unsigned flags,
                    TCustomImageList* images, int imageIndex, const QImage& bitmap, const TRect& glyphRect,
                    TColor bitmapTransparent = clDefault);

// ---------------------------------------------------------------- texts and fonts

// The text without any "&".
QString dxBarRemoveAmpersands(const QString& text);
// The drawing font of a menu: with useSystemFont the font's height becomes the system menu
// font's (made -11 when it is -10 or larger, i.e. smaller); else the font itself.
QFont dxBarCreateMenuFont(const TFont& font, bool useSystemFont, int systemMenuFontHeight = SystemMenuFontHeight());
int dxBarSmallCaptionHeight();
// The font's size in points (a pixel-sized font converted at FontPixelsPerInch).
int dxBarFontPoints(const QFont& font);

// ---------------------------------------------------------------- window routines

// 5 becomes 20 and 900 becomes 600.
void dxBarClampSize(int& value);
// A held button moved from start to point has left the SM_CXDRAG x SM_CYDRAG rectangle
// centred on start: the press becomes a drag.
bool dxBarDragDistancePassed(const TPoint& start, const TPoint& point);
// The available area of the screen nearest the point.
TRect dxBarGetWorkArea(const TPoint& screen);
// The deepest visible widget under a screen point (replaceable, see TWindow).
QWidget* dxBarWindowFromPoint(const TPoint& screen);
// Mouse-leave tracking: one tracked window at a time; it gets MouseLeave when the pointer
// leaves it (Qt's leave event, or a 50 ms poll of the window under the cursor).
bool dxBarIsMouseTracked(TWindow* window);
void dxBarBeginMouseTracking(TWindow* window);
// Sends MouseLeave when the window was tracked.
void dxBarEndMouseTracking(TWindow* window);
// The logical buttons (a swapped mouse is already swapped by the system).
bool dxBarLeftButtonState();
bool dxBarIsRightButtonDown();
// Dispatches the input waiting in the queue (with everything else pending) without waiting.
void dxBarPumpMouseMessages();
// Paints every window's invalid part now.
void dxBarProcessPaintMessages();
// Replaces where the button state comes from (tests hold a button down); an empty
// function restores the real one.
void dxBarSetMouseButtonsFunction(std::function<Qt::MouseButtons()> fn);
// Menu sounds: 0 "MenuPopup", 1 "MenuCommand". There is no sound device; the alias goes
// to a replaceable player (nothing plays by default).
void dxBarPlaySound(int aliasIndex);
void dxBarSetSoundPlayer(std::function<void(const QString& alias)> player);
