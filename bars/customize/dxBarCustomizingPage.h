#pragma once
// One page of the customizing window: it fills its sheet when the window is made and follows
// the manager's changes the window is told of. The window keeps its pages in tab order and
// passes every notification to each of them. A QObject, so the page's controls can bind
// their events to it.
#include "Events.h"

#include <QObject>

class TTabSheet;
class TdxBar;
class TdxBarCustomizingForm;
class TdxBarGroup;
class TdxBarItem;
class TdxBarManager;

class TdxBarCustomizingPage : public QObject {
public:
    explicit TdxBarCustomizingPage(TdxBarCustomizingForm& form) : form_(form) {}
    ~TdxBarCustomizingPage() override = default;
    TdxBarCustomizingPage(const TdxBarCustomizingPage&) = delete;
    TdxBarCustomizingPage& operator=(const TdxBarCustomizingPage&) = delete;

    // The sheet of the page control the page fills.
    virtual TTabSheet* Sheet() const = 0;
    // Fills the page for the window's manager (once, when the window is made).
    virtual void Build() {}
    // The page became the current one, or the window became active while it is.
    virtual void Refresh() {}

    // A bar's Caption, Visible, AllowClose or IsMainMenu changed.
    virtual void BarChanged(TdxBar* /*bar*/) {}
    // Items were added or changed.
    virtual void ItemsChanged() {}
    // An item's category changed: its category and its line are selected (force: even when
    // its category is the selected one).
    virtual void SelectItem(TdxBarItem* /*item*/, bool /*force*/) {}
    // An item was freed.
    virtual void ItemDestroyed(TdxBarItem* /*item*/) {}
    // One of the manager's options (large icons, hints, menu animations, recent items) changed.
    virtual void OptionsChanged() {}
    // The manager's Style changed (after the items and options were refreshed).
    virtual void StyleChanged() {}
    // An item's or a group's name changed.
    virtual void ItemRenamed(TdxBarItem* /*item*/) {}
    virtual void GroupRenamed(TdxBarGroup* /*group*/) {}

protected:
    TdxBarCustomizingForm& Form() const { return form_; }
    TdxBarManager* Manager() const;

private:
    TdxBarCustomizingForm& form_;
};
