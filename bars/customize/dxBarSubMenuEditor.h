#pragma once
// The sub-menu editor of design mode: one caption-only window for the links of a sub item (or
// a popup menu), with the links' menu shown directly below it; the window is as wide as the
// menu and the menu moves with it. Closing the window closes the menu. The editor goes when
// the links' owner is freed and when customizing ends.
#include "Forms.h"

#include <QMetaObject>
#include <QPointer>

class TCustomdxBarControl;
class TdxBarItemLinks;

class TdxBarSubMenuEditor : public TForm {
    Q_OBJECT
public:
    explicit TdxBarSubMenuEditor(TComponent* owner);
    ~TdxBarSubMenuEditor() override;

    TdxBarItemLinks* ItemLinks() const { return links_; }
    // Edits links (its menu shows below the window).
    void SetItemLinks(TdxBarItemLinks* links);
    // The links' menu window, when it shows.
    TCustomdxBarControl* Menu() const;
    // Shows the links' menu below the window (again, when it was closed).
    void ShowMenu();
    // The menu goes to the window's place again (after the window moved).
    void PlaceMenu();

protected:
    bool WidgetEvent(QEvent* event) override;

private:
    void CloseMenu();

    QPointer<TdxBarItemLinks> links_;
    QPointer<TCustomdxBarControl> menu_;
    QMetaObject::Connection ownerGone_;
};

// The one editor (none when none is open).
TdxBarSubMenuEditor* dxBarSubMenuEditor();
// Opens the editor for links (switching the customizing window to its Commands page), or
// turns the open one to them.
TdxBarSubMenuEditor* dxBarShowSubMenuEditor(TdxBarItemLinks* links);
// Frees the editor, if one is open.
void dxBarFreeSubMenuEditor();
