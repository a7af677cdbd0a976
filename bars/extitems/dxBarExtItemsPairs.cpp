// The extended (item class, item-control class) pairs, in the order start-up registers them
// after the standard pairs. Each kind has its place here under its comment; a kind's row goes
// in under its own comment (not at the end), so that the registry lists the kinds in this
// order whichever of them are built.
#include "dxBarExtItems.h"

#include "dxBarColorCombo.h"
#include "dxBarControlContainer.h"
#include "dxBarDateCombo.h"
#include "dxBarFontNameCombo.h"
#include "dxBarImageCombo.h"
#include "dxBarInPlaceSubItem.h"
#include "dxBarLargeButton.h"
#include "dxBarMRUListItem.h"
#include "dxBarTreeViewCombo.h"
#include "dxBarProgress.h"
#include "dxBarSpinEditControl.h"
#include "dxBarToolbarsListItem.h"

#include <vector>

std::span<const TdxBarExtItemPair> dxBarExtItemPairs()
{
    static const std::vector<TdxBarExtItemPair> pairs = {
        // Static text: TdxBarStatic, TdxBarStaticControl.
        {&TdxBarStatic::staticMetaObject, &TdxBarStaticControlClass},

        // Large button: TdxBarLargeButton, TdxBarLargeButtonControl.
        {&TdxBarLargeButton::staticMetaObject, &TdxBarLargeButtonControlClass},

        // Colour combo: TdxBarColorCombo, TdxBarColorComboControl.
        {&TdxBarColorCombo::staticMetaObject, &TdxBarColorComboControlClass},

        // Font-name combo: TdxBarFontNameCombo, shown by the plain TdxBarComboControlClass.
        {&TdxBarFontNameCombo::staticMetaObject, &TdxBarComboControlClass},

        // Date combo: TdxBarDateCombo, TdxBarDateComboControl.
        {&TdxBarDateCombo::staticMetaObject, &TdxBarDateComboControlClass},

        // Tree-view combo: TdxBarTreeViewCombo, TdxBarTreeViewComboControl.
        {&TdxBarTreeViewCombo::staticMetaObject, &TdxBarTreeViewComboControlClass},

        // Image combo: TdxBarImageCombo, TdxBarImageComboControl.
        {&TdxBarImageCombo::staticMetaObject, &TdxBarImageComboControlClass},

        // Toolbars list: TdxBarToolbarsListItem, TdxBarToolbarsListItemControl.
        {&TdxBarToolbarsListItem::staticMetaObject, &TdxBarToolbarsListItemControlClass},

        // Spin edit: TdxBarSpinEdit, TdxBarSpinEditControl.
        {&TdxBarSpinEdit::staticMetaObject, &TdxBarSpinEditControlClass},

        // Control container: TdxBarControlContainerItem, TdxBarControlContainerControl.
        {&TdxBarControlContainerItem::staticMetaObject, &TdxBarControlContainerControlClass},

        // Progress: TdxBarProgressItem, TdxBarProgressControl.
        {&TdxBarProgressItem::staticMetaObject, &TdxBarProgressControlClass},

        // Recent-items list: TdxBarMRUListItem, shown by TdxBarContainerItemControlClass.
        {&TdxBarMRUListItem::staticMetaObject, &TdxBarContainerItemControlClass},

        // In-place sub item: TdxBarInPlaceSubItem, TdxBarInPlaceSubItemControl.
        {&TdxBarInPlaceSubItem::staticMetaObject, &TdxBarInPlaceSubItemControlClass},
    };
    return pairs;
}
