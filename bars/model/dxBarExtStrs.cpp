// The extended items' texts. Kept in a translation unit of their own so that
// only a program whose start-up registers the extended items links them.
#include "dxBarStrs.h"

namespace {

constexpr dxBarTextEntry kExtendedTexts[] = {
    {39400, "Black"},
    {39401, "Maroon"},
    {39402, "Green"},
    {39403, "Olive"},
    {39404, "Navy"},
    {39405, "Purple"},
    {39406, "Teal"},
    {39407, "Gray"},
    {39408, "Silver"},
    {39409, "Red"},
    {39410, "Lime"},
    {39411, "Yellow"},
    {39412, "Blue"},
    {39413, "Fuchsia"},
    {39414, "Aqua"},
    {39415, "White"},
    {39416, "(automatic)"},
    {39417, "(custom)"},
    {39450, "Today"},
    {39451, "Clear"},
    {39452, "Select the date"},
    {39453, "OK"},
    {39454, "Cancel"},
    {39455, "Select item"},
    {39456, "Image Index"},
    {39457, "Text"},
    {39458, "Select item"},
    {39459, "The place for the "},
    {65266, "You cannot assign the same control to more than one TdxBarControlContainerItem."},
};

}  // namespace

void dxBarRegisterExtendedTexts()
{
    dxBarRegisterTexts(kExtendedTexts);
}
