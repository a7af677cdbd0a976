#pragma once
// Popup-menu links: a window control of the manager's form bound to a popup menu that opens
// on the context key, Shift+F10 or a right-button release over the control. Both ends are
// guarded: a link forgets a control or menu that is freed.
#include "Collections.h"
#include "Controls.h"
#include "Events.h"
#include "WinTypes.h"
#include "dxBarPopupMenu.h"

#include <QPointer>

class TdxBarManager;
class TdxBarPopupMenuLink;

// (link, x, y in the control's coordinates, by mouse, allow popup): the handler may move the
// point or refuse the menu.
using TdxBarPopupMenuLinkActionEvent = TEvent<TdxBarPopupMenuLink*, int&, int&, bool, bool&>;
Q_DECLARE_METATYPE(TdxBarPopupMenuLinkActionEvent)

class TdxBarPopupMenuLink : public TCollectionItem {
    Q_OBJECT
    Q_PROPERTY(TWinControl* Control READ Control WRITE SetControl)
    Q_PROPERTY(TdxBarPopupMenu* PopupMenu READ PopupMenu WRITE SetPopupMenu)
    Q_PROPERTY(TdxBarPopupMenuLinkActionEvent OnAction MEMBER OnAction)
public:
    Q_INVOKABLE explicit TdxBarPopupMenuLink(TCollection* collection = nullptr);

    TdxBarManager* BarManager() const;
    TWinControl* Control() const { return control_; }
    // A control that does not sit on the manager's form is stored as none.
    void SetControl(TWinControl* value);
    TdxBarPopupMenu* PopupMenu() const { return popupMenu_; }
    void SetPopupMenu(TdxBarPopupMenu* value);
    void Assign(TPersistent* source) override;

    TdxBarPopupMenuLinkActionEvent OnAction;

private:
    QPointer<TWinControl> control_;
    QPointer<TdxBarPopupMenu> popupMenu_;
};

class TdxBarPopupMenuLinks : public TCollection {
    Q_OBJECT
public:
    explicit TdxBarPopupMenuLinks(TdxBarManager* manager);
    ~TdxBarPopupMenuLinks() override;

    TdxBarPopupMenuLink* Add();
    TdxBarPopupMenuLink* Items(int index) const;
    TdxBarManager* BarManager() const { return manager_; }

    // A context menu asked for on the window wnd at a screen point, (-1, -1) from the
    // keyboard: the nearest linked control whose window is wnd or holds it tries its links in
    // order until one allows its menu (OnAction), which opens at the point (or the caret)
    // and returns after the menu closed. True when a link allowed it; nothing at design time.
    // The windows library does the work (none headless).
    bool ShowPopupFor(TNativeWindow* wnd, const TPoint& screen);

private:
    TdxBarManager* manager_;
};
