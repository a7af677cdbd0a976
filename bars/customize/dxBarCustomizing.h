#pragma once
// Customizing mode's window: at most one in the program, open while one manager customizes.
// The program installs one TdxBarCustomizing beside the bar windows library; the managers
// reach it as their customizing notifications (dxBarCustomizingForm()).
//
// Opening (a manager's Customizing(true)), unless a window is open already:
// OnShowCustomizingForm fires, the owner forms of every manager are disabled (the ones
// enabled then; TdxBarDisabledForms), and the window is made for the manager and shown.
// Should the event or the making fail, customizing ends again, the forms come back, and the
// failure goes to the application's handler.
//
// Closing, whichever way: by the window's Close button or its window's close button (both
// end customizing), by Customizing(false), or because the manager is freed. The forms are
// enabled again, the window goes, OnHideCustomizingForm fires (once per shown
// OnShowCustomizingForm), and the manager's form is activated with its focus back where it
// was. Freeing the window itself ends customizing too.
//
// While the window is open, a press on a disabled form or on its bar windows brings the
// window to the front (and makes it the active window), and so does activating a form it
// disabled (dxBarFormMessages.h); the window also shows and hides with the served manager's
// form.
#include "dxBarDisabledForms.h"
#include "dxBarServices.h"

#include <QList>
#include <QObject>
#include <QPointer>

class TdxBarCustomizingForm;

// Opens the customizing window for a manager in design mode (its designing flag set): the
// window then also edits categories, commands, groups and sub menus. Nothing for a manager
// that is not designing.
void dxBarShowDesignCustomizing(TdxBarManager* manager);

class TdxBarCustomizing : public TdxBarCustomizingNotifications {
public:
    // Installs itself as the managers' customizing notifications.
    TdxBarCustomizing();
    // Ends customizing of an open window, frees windows still going, uninstalls itself.
    ~TdxBarCustomizing() override;
    TdxBarCustomizing(const TdxBarCustomizing&) = delete;
    TdxBarCustomizing& operator=(const TdxBarCustomizing&) = delete;

    // The installed instance, if the installed notifications are one.
    static TdxBarCustomizing* Instance();
    // The open window (none when none is open).
    TdxBarCustomizingForm* Window() const;
    // The manager the open window serves.
    TdxBarManager* Manager() const { return manager_; }

    bool Exists() const override;
    void Open(TdxBarManager* manager) override;
    void Close(TdxBarManager* manager) override;
    TCustomForm* Form() const override;
    void MousePressed(TNativeWindow* window) override;
    // The window's activation runs the floating-bar update of its manager (its deactivation
    // only towards another program), and the current page refreshes unless a bar's
    // customizing popup is open.
    void WindowActivated(bool active, TNativeWindow* other) override;

    void StyleChanged() override;
    void HelpButtonChanged() override;
    void BarChanged(TdxBar* bar) override;
    void ItemsChanged() override;
    void SelectItem(TdxBarItem* item, bool force) override;
    void ItemDestroyed(TdxBarItem* item) override;
    void OptionsChanged() override;
    void ItemRenamed(TdxBarItem* item) override;
    void GroupRenamed(TdxBarGroup* group) override;
    bool DesignDragOver(TdxBarItem* item, const QPoint& screen, int& cursor) override;
    bool DesignDragEnd(TdxBarItem* item, bool dropped) override;

protected:
    // Makes (does not show) the window for manager.
    virtual TdxBarCustomizingForm* CreateWindow(TdxBarManager* manager);

private:
    // The window went without closing through Close: customizing ends.
    void WindowDestroyed(const QObject* window);
    // Enables the forms again, then activates the manager's form and gives the focus back.
    void EnableForms(TdxBarManager* manager);
    void FireHide(TdxBarManager* manager);

    // The context of the connections to the windows' destruction: none outlives this.
    QObject events_;
    QPointer<TdxBarCustomizingForm> window_;
    // The open window's address while it lives (for its destruction, when window_ is cleared).
    const QObject* openWindow_ = nullptr;
    QPointer<TdxBarManager> manager_;
    TdxBarDisabledForms forms_;
    // Windows closed and still to be freed (after the handler that closed them has returned).
    QList<QPointer<TdxBarCustomizingForm>> closed_;
    // OnShowCustomizingForm fired for this manager and OnHideCustomizingForm is owed.
    QPointer<TdxBarManager> hideOwed_;
    // Set while the open window is freed from outside: closing must not free it again.
    bool closing_ = false;
};
