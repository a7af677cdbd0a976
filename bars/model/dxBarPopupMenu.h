#pragma once
// TdxBarPopupMenu: a context menu built from item links. Popup shows its links in a menu
// window at a point and returns once that window has closed; the wait is a local event
// loop whose state lives on the caller's stack, so a click handler may free the popup
// menu (or its form) while it runs and the loop still ends cleanly.
#include "Classes.h"
#include "Events.h"
#include "Graphics.h"
#include "WinTypes.h"

#include <QPointer>
#include <functional>
#include <memory>

class TdxBarItemLinks;
class TdxBarManager;

class TdxBarPopupMenu : public TComponent {
    Q_OBJECT
    Q_PROPERTY(int BarSize READ BarSize WRITE SetBarSize)
    Q_PROPERTY(TdxBarItemLinks* ItemLinks READ ItemLinks)
    Q_PROPERTY(bool UseOwnFont READ UseOwnFont WRITE SetUseOwnFont)
    Q_PROPERTY(bool UseRecentItems READ UseRecentItems WRITE SetUseRecentItems)
    Q_PROPERTY(TNotifyEvent OnCloseUp MEMBER OnCloseUp)
    Q_PROPERTY(TNotifyEvent OnPopup MEMBER OnPopup)
    Q_CLASSINFO("Default.BarSize", "0")
    Q_CLASSINFO("Default.UseOwnFont", "False")
    Q_CLASSINFO("Default.UseRecentItems", "False")
public:
    // Raises "There are no TdxBarManagers available" when no manager exists.
    Q_INVOKABLE explicit TdxBarPopupMenu(TComponent* owner);
    ~TdxBarPopupMenu() override;

    TdxBarManager* BarManager() const { return manager_; }
    // None is refused outside destruction.
    void SetBarManager(TdxBarManager* manager);
    int BarSize() const { return barSize_; }
    void SetBarSize(int value) { barSize_ = value < 0 ? 0 : value; }
    TFont* Font() const { return font_; }
    TdxBarItemLinks* ItemLinks() const { return itemLinks_; }
    bool UseOwnFont() const { return useOwnFont_; }
    // False: the font becomes the manager's again.
    void SetUseOwnFont(bool value);
    bool UseRecentItems() const;
    void SetUseRecentItems(bool value);

    // Shows the menu at (x, y) and returns after it closed; nothing while it is shown.
    void Popup(int x, int y);
    // The same for one showing with the animation flag and the size of the item the menu
    // must not cover (0, 0 and True are restored afterwards).
    void PopupEx(int x, int y, bool animate, int excludedHeight, int excludedWidth);
    // The menu's window exists.
    bool IsShown() const;
    bool Animate() const { return animate_; }
    int ExcludedWidth() const { return excludedWidth_; }
    int ExcludedHeight() const { return excludedHeight_; }
    // The size of the item the next showing must not cover (a drop-down button's).
    void SetExcludedSize(int width, int height)
    {
        excludedWidth_ = width;
        excludedHeight_ = height;
    }

    // Fired when the menu window is about to show and after it closed.
    void DoPopup();
    void DoCloseUp();
    virtual void DoPaintBar(TCanvas& p, const TRect& r);

    TNotifyEvent OnCloseUp;
    TNotifyEvent OnPopup;
    std::function<void(TdxBarPopupMenu*, TCanvas&, const TRect&)> OnPaintBar;

private:
    QPointer<TdxBarManager> manager_;
    int barSize_ = 0;
    TFont* font_ = nullptr;
    TdxBarItemLinks* itemLinks_ = nullptr;
    bool useOwnFont_ = false;
    bool animate_ = true;
    int excludedWidth_ = 0;
    int excludedHeight_ = 0;
    // The wait of the running Popup: shared with the window's close-up handler.
    std::shared_ptr<struct TPopupWait> wait_;
};
