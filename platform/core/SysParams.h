#pragma once
// The system colours and metrics of the classic desktop look, as one fixed table. Every
// machine draws the same pixels: nothing here reads the desktop's theme or palette.
#include "Graphics.h"

// System colour indexes (the low byte of the clXxx system colours).
enum : int {
    COLOR_SCROLLBAR = 0,
    COLOR_BACKGROUND = 1,
    COLOR_ACTIVECAPTION = 2,
    COLOR_INACTIVECAPTION = 3,
    COLOR_MENU = 4,
    COLOR_WINDOW = 5,
    COLOR_WINDOWFRAME = 6,
    COLOR_MENUTEXT = 7,
    COLOR_WINDOWTEXT = 8,
    COLOR_CAPTIONTEXT = 9,
    COLOR_ACTIVEBORDER = 10,
    COLOR_INACTIVEBORDER = 11,
    COLOR_APPWORKSPACE = 12,
    COLOR_HIGHLIGHT = 13,
    COLOR_HIGHLIGHTTEXT = 14,
    COLOR_BTNFACE = 15,
    COLOR_BTNSHADOW = 16,
    COLOR_GRAYTEXT = 17,
    COLOR_BTNTEXT = 18,
    COLOR_INACTIVECAPTIONTEXT = 19,
    COLOR_BTNHIGHLIGHT = 20,
    COLOR_3DDKSHADOW = 21,
    COLOR_3DLIGHT = 22,
    COLOR_INFOTEXT = 23,
    COLOR_INFOBK = 24,
};

// System metric indexes.
enum : int {
    SM_CXSCREEN = 0,
    SM_CYSCREEN = 1,
    SM_CXVSCROLL = 2,
    SM_CYHSCROLL = 3,
    SM_CYCAPTION = 4,
    SM_CXBORDER = 5,
    SM_CYBORDER = 6,
    SM_CXDLGFRAME = 7,
    SM_CYDLGFRAME = 8,
    SM_CXSIZE = 30,
    SM_CYSIZE = 31,
    SM_CXFRAME = 32,
    SM_CYFRAME = 33,
    SM_CXDOUBLECLK = 36,
    SM_CYDOUBLECLK = 37,
    SM_CXEDGE = 45,
    SM_CYEDGE = 46,
    SM_CXSMSIZE = 52,
    SM_CYSMSIZE = 53,
    SM_CYSMCAPTION = 51,
    SM_CXDRAG = 68,
    SM_CYDRAG = 69,
    SM_SWAPBUTTON = 23,
};

// The colour of a system colour index, $00BBGGRR; black for an unknown index.
TColor GetSysColor(int index);
// The value of a system metric at 96 dpi; 0 for an unknown index.
int GetSystemMetrics(int index);
// The system menu font's face name and height (a negative pixel height, as a font's Height).
QString SystemMenuFontName();
int SystemMenuFontHeight();
// The double-click time in milliseconds.
int GetDoubleClickTime();

// a * b / c in 64 bits, rounded half away from zero; -1 when c is 0 or the result does
// not fit.
int MulDiv(int a, int b, int c);
