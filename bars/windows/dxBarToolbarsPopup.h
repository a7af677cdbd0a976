#pragma once
// The menus the library builds on the fly from temporary items: the toolbars popup (a right
// click on a dock or a bar lists the manager's toolbars, checked while visible, and
// "&Customize...") and the bar customizing popup. Each owns its link collection; it outlives
// the menu window that shows it, so the window's teardown still finds its links.
#include "WinTypes.h"
#include "dxBarSubMenuControl.h"

#include <memory>

class TdxBarItemLinks;
class TdxBarManager;

class TdxBarOwnLinks {
protected:
    explicit TdxBarOwnLinks(TdxBarManager* manager);
    ~TdxBarOwnLinks();
    std::unique_ptr<TdxBarItemLinks> ownLinks_;
};

class TdxBarToolbarsPopup : public TdxBarOwnLinks, public TdxBarSubMenuControl {
public:
    // Frees the temporary items no link uses, then lists the toolbars.
    explicit TdxBarToolbarsPopup(TdxBarManager* manager);
    // A normal menu even while the manager customizes.
    bool IsCustomizing() const override { return false; }
};

// The toolbars popup of manager at a screen point, shown; none when it has nothing to list
// (no closable bar and no customizing allowed). Any open menu chain closes first.
TdxBarToolbarsPopup* dxBarShowToolbarsPopup(TdxBarManager* manager, const TPoint& screen);

// The links of the library's own popups: their changes are not changes of the form.
bool dxBarIsLibraryPopupLinks(const TdxBarItemLinks* links);
