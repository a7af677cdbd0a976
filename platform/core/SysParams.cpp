#include "SysParams.h"

#include <climits>
#include <cstdlib>
#include <iterator>

namespace {

// The classic look, index order (COLOR_SCROLLBAR = 0 ... COLOR_INFOBK = 24).
constexpr TColor kSysColors[] = {
    RGB(0xD4, 0xD0, 0xC8),  // scroll bar
    RGB(0x3A, 0x6E, 0xA5),  // desktop
    RGB(0x0A, 0x24, 0x6A),  // active caption
    RGB(0x80, 0x80, 0x80),  // inactive caption
    RGB(0xD4, 0xD0, 0xC8),  // menu
    RGB(0xFF, 0xFF, 0xFF),  // window
    RGB(0x00, 0x00, 0x00),  // window frame
    RGB(0x00, 0x00, 0x00),  // menu text
    RGB(0x00, 0x00, 0x00),  // window text
    RGB(0xFF, 0xFF, 0xFF),  // caption text
    RGB(0xD4, 0xD0, 0xC8),  // active border
    RGB(0xD4, 0xD0, 0xC8),  // inactive border
    RGB(0x80, 0x80, 0x80),  // application workspace
    RGB(0x0A, 0x24, 0x6A),  // highlight
    RGB(0xFF, 0xFF, 0xFF),  // highlight text
    RGB(0xD4, 0xD0, 0xC8),  // button face
    RGB(0x80, 0x80, 0x80),  // button shadow
    RGB(0x80, 0x80, 0x80),  // gray text
    RGB(0x00, 0x00, 0x00),  // button text
    RGB(0xD4, 0xD0, 0xC8),  // inactive caption text
    RGB(0xFF, 0xFF, 0xFF),  // button highlight
    RGB(0x40, 0x40, 0x40),  // 3-D dark shadow
    RGB(0xD4, 0xD0, 0xC8),  // 3-D light
    RGB(0x00, 0x00, 0x00),  // tooltip text
    RGB(0xFF, 0xFF, 0xE1),  // tooltip background
};

struct Metric {
    int index;
    int value;
};

// 96 dpi, classic frames.
constexpr Metric kMetrics[] = {
    {SM_CXSCREEN, 1024},  {SM_CYSCREEN, 768},  {SM_CXVSCROLL, 16},  {SM_CYHSCROLL, 16}, {SM_CYCAPTION, 19},
    {SM_CXBORDER, 1},     {SM_CYBORDER, 1},    {SM_CXDLGFRAME, 3},  {SM_CYDLGFRAME, 3}, {SM_CXFRAME, 4},
    {SM_CYFRAME, 4},      {SM_CXDOUBLECLK, 4}, {SM_CYDOUBLECLK, 4}, {SM_CXEDGE, 2},     {SM_CYEDGE, 2},
    {SM_CYSMCAPTION, 15}, {SM_CXSMSIZE, 12},   {SM_CYSMSIZE, 15},   {SM_CXDRAG, 4},     {SM_CYDRAG, 4},
    {SM_SWAPBUTTON, 0},   {SM_CXSIZE, 18},     {SM_CYSIZE, 18},
};

}  // namespace

TColor GetSysColor(int index)
{
    if (index < 0 || index >= int(std::size(kSysColors))) return clBlack;
    return kSysColors[index];
}

int GetSystemMetrics(int index)
{
    for (const Metric& m : kMetrics)
        if (m.index == index) return m.value;
    return 0;
}

QString SystemMenuFontName()
{
    return QStringLiteral("Sans Serif");
}

int SystemMenuFontHeight()
{
    return -11;
}

int GetDoubleClickTime()
{
    return 500;
}

int MulDiv(int a, int b, int c)
{
    if (c == 0) return -1;
    const long long product = static_cast<long long>(a) * b;
    long long quotient = product / c;
    const long long remainder = product % c;
    // Half away from zero: twice the remainder reaching the divisor rounds the quotient out.
    if (2 * std::llabs(remainder) >= std::llabs(static_cast<long long>(c)))
        quotient += ((product < 0) == (c < 0)) ? 1 : -1;
    if (quotient > INT_MAX || quotient < INT_MIN) return -1;
    return static_cast<int>(quotient);
}
