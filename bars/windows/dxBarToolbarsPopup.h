#pragma once
// The menus the library builds on the fly from temporary items: the toolbars popup (a right
// click on a dock or a bar lists the manager's toolbars, checked while visible, and
// "&Customize...") and the bar customizing popup (a right click on an item while
// customizing edits that item's link). Each owns its link collection; it outlives
// the menu window that shows it, so the window's teardown still finds its links.
#include "WinTypes.h"
#include "dxBarSubMenuControl.h"

#include <memory>

class TdxBarItem;
class TdxBarItemControl;
class TdxBarItemLink;
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

// The popup of a link while customizing: reset, delete, rename, paint style, group start,
// visibility and recent use of the link. One is open at a time; the link it edits is held
// library-wide through a guarded reference, so a link freed meanwhile is left alone.
class TdxBarCustomizingPopup : public TdxBarOwnLinks, public TdxBarSubMenuControl {
public:
    // The entries' Tags.
    enum : int {
        Reset,
        Delete,
        Name,
        DefaultStyle,
        TextOnlyAlways,
        TextOnlyInMenus,
        ImageAndText,
        BeginGroup,
        Visible,
        MostRecentlyUsed
    };
    // Frees the temporary items no link uses, then builds the entries; OnShowCustomizingPopup
    // may change them.
    explicit TdxBarCustomizingPopup(TdxBarManager* manager);
    // A normal menu even while the manager customizes.
    bool IsCustomizing() const override { return false; }
    // The link the popup edits: the entries take its state. The entries' commands act on
    // it after the popup has closed (a click closes the menu first).
    void SetItemLink(TdxBarItemLink* link);
    TdxBarItemLink* ItemLink() const;

private:
    TdxBarItem* Entry(int tag) const;
};

// The open customizing popup, if any.
TdxBarCustomizingPopup* dxBarCustomizingPopup();
// Opens the customizing popup of control's link at a screen point.
TdxBarCustomizingPopup* dxBarShowCustomizingPopup(TdxBarManager* manager, TdxBarItemControl* control,
                                                  const TPoint& screen);

// The links of the library's own popups: their changes are not changes of the form.
bool dxBarIsLibraryPopupLinks(const TdxBarItemLinks* links);
