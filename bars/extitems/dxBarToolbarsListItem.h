#pragma once
// TdxBarToolbarsListItem: a sub item whose menu lists its manager's toolbars each time it
// opens: one checked button per toolbar that is not hidden, checked while the toolbar shows,
// then "&Customize...". While the bars are customized it shows its designed links instead,
// and they stay as they are.
#include "dxBarItems.h"
#include "dxBarSubItemControl.h"

class TdxBarToolbarsListItem : public TdxBarSubItem {
    Q_OBJECT
public:
    Q_INVOKABLE explicit TdxBarToolbarsListItem(TComponent* owner) : TdxBarSubItem(owner) {}
};

class TdxBarToolbarsListItemControl : public TdxBarSubItemControl {
public:
    using TdxBarSubItemControl::TdxBarSubItemControl;
    void CreateSubMenuControl() override;
};

extern TdxBarItemControlClass TdxBarToolbarsListItemControlClass;
