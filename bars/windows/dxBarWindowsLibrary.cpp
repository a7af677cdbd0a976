#include "dxBarWindowsLibrary.h"

#include "FormMessages.h"
#include "dxBarBar.h"
#include "dxBarButtonControl.h"
#include "dxBarCustomControl.h"
#include "dxBarDropDownListBox.h"
#include "dxBarEditControls.h"
#include "dxBarFormMessages.h"
#include "dxBarItems.h"
#include "dxBarControl.h"
#include "dxBarManager.h"
#include "dxBarPopupMenu.h"
#include "dxBarPopupMenuLinks.h"
#include "dxBarQuickControl.h"
#include "dxBarSubMenuControl.h"
#include "dxBarSubItemControl.h"
#include "dxBarToolbarsPopup.h"

#include <QWidget>

TdxBarWindowsLibrary::TdxBarWindowsLibrary()
{
    dxBarRegisterButtonControl();
    dxBarRegisterSubItemControls();
    dxBarRegisterEditControls();
    dxBarRegisterQuickCustControls();
    dxBarSetWindowServices(this);
    dxBarSetPopupMenuLinkHandler([](TdxBarManager* manager, QWidget* window, const TPoint& screen) {
        return manager->PopupMenuLinks() && manager->PopupMenuLinks()->ShowPopupFor(window, screen);
    });
    // Managers made before the library came need the hooks and their forms' messages too.
    TdxBarManagerList* managers = TdxBarManagerList::Instance();
    for (int i = 0; i < managers->Count(); ++i) ManageOwnerForm(managers->Items(i));
    if (managers->Count() > 0) InstallHooks();
}

TdxBarWindowsLibrary* TdxBarWindowsLibrary::Instance()
{
    return dynamic_cast<TdxBarWindowsLibrary*>(&dxBarWindowServices());
}

TdxBarWindowsLibrary::~TdxBarWindowsLibrary()
{
    RemoveHooks();
    dxBarSetPopupMenuLinkHandler({});
    if (&dxBarWindowServices() == this) dxBarSetWindowServices(nullptr);
    TdxBarButtonControlClass.factory = nullptr;
    dxBarUnregisterSubItemControls();
    dxBarUnregisterEditControls();
    dxBarUnregisterQuickCustControls();
    FreeHintWindow();
}

void TdxBarWindowsLibrary::InstallHooks()
{
    SetInputHook(&hooks_);
    dxBarInstallFormMessages(true);
}

void TdxBarWindowsLibrary::ManageOwnerForm(TdxBarManager* manager)
{
    if (manager) ManageForm(manager->OwnerFormAsForm());
}

void TdxBarWindowsLibrary::RemoveHooks()
{
    if (InputHook() == &hooks_) SetInputHook(nullptr);
    dxBarInstallFormMessages(false);
}

void TdxBarWindowsLibrary::ApplyChange(TCustomdxBarControl* window, TdxBarWindowChange change)
{
    switch (change) {
    case TdxBarWindowChange::Layout:
    case TdxBarWindowChange::Caption:
    case TdxBarWindowChange::CloseButton: window->RepaintBar(); break;
    case TdxBarWindowChange::Font:
    case TdxBarWindowChange::Style:
        // Toolbars take double clicks on their grip and caption in every style.
        window->SetDoubleClicks(window->IsToolbar() ||
                                (window->BarManager() && (window->BarManager()->Style() != bmsStandard ||
                                                          window->BarManager()->IsCustomizing())));
        window->UpdateFont();
        window->CalcDrawingConsts();
        window->FrameChanged();
        window->RepaintBar();
        break;
    case TdxBarWindowChange::Frame: window->FrameChanged(); break;
    case TdxBarWindowChange::Repaint:
    case TdxBarWindowChange::Brushes: window->Invalidate(); break;
    case TdxBarWindowChange::DockingStyle:
        if (auto* toolbar = qobject_cast<TdxBarControl*>(window)) toolbar->FollowDockingStyle();
        break;
    case TdxBarWindowChange::Lock:
    case TdxBarWindowChange::Unlock: break;
    }
}

void TdxBarWindowsLibrary::BarWindowChanged(TdxBar* bar, TdxBarWindowChange change)
{
    TCustomdxBarControl* window = bar && bar->ItemLinks() ? bar->ItemLinks()->BarControl() : nullptr;
    if (dxBarIsBarControlAlive(window)) ApplyChange(window, change);
}

void TdxBarWindowsLibrary::ManagerWindowsChanged(TdxBarManager* manager, TdxBarWindowChange change)
{
    // Guarded before any change: a window's change may free others (a sub item's menu goes
    // with its control).
    const QList<TCustomdxBarControl*> live = dxBarLiveBarControls();
    const QList<QPointer<TCustomdxBarControl>> windows(live.cbegin(), live.cend());
    for (const QPointer<TCustomdxBarControl>& window : windows)
        if (window && window->BarManager() == manager) ApplyChange(window, change);
}

void TdxBarWindowsLibrary::CloseActiveMenus(TdxBarManager* manager)
{
    TCustomdxBarControl* head = dxBarActiveBarControl();
    if (head && head->BarManager() == manager) head->HideAll();
}

void TdxBarWindowsLibrary::SelectionLeftWindow(TCustomdxBarControl* left, TCustomdxBarControl* entered)
{
    if (!dxBarIsBarControlAlive(left) || left == entered) return;
    if (dxBarIsBarControlAlive(entered) && left->IsChildOf(entered)) return;
    left->CloseSubMenus();
}

bool TdxBarWindowsLibrary::IsBarWindowLive(TCustomdxBarControl* window) const
{
    return dxBarIsBarControlAlive(window);
}

bool TdxBarWindowsLibrary::IsBarWindowCustomizing(TCustomdxBarControl* window) const
{
    return dxBarIsBarControlAlive(window) && window->IsCustomizing();
}

TdxBarItemControl* TdxBarWindowsLibrary::BarWindowSelectedControl(TCustomdxBarControl* window) const
{
    return dxBarIsBarControlAlive(window) ? window->SelectedControl() : nullptr;
}

void TdxBarWindowsLibrary::DeselectBarWindowControl(TCustomdxBarControl* window)
{
    if (dxBarIsBarControlAlive(window)) window->ClearSelectedControl();
}

void TdxBarWindowsLibrary::RelayoutBarWindow(TCustomdxBarControl* window)
{
    if (dxBarIsBarControlAlive(window)) window->RepaintBar();
}

void TdxBarWindowsLibrary::PostBarWindowRelayout(TCustomdxBarControl* window)
{
    if (dxBarIsBarControlAlive(window)) window->PostRepaintBar();
}

bool TdxBarWindowsLibrary::IsInsideBarWindow(TCustomdxBarControl* window, const TNativeWindow* widget) const
{
    QWidget* own = dxBarIsBarControlAlive(window) ? window->Handle() : nullptr;
    return own && widget && (widget == own || own->isAncestorOf(widget));
}

QRect TdxBarWindowsLibrary::BarWindowClientRect(TCustomdxBarControl* window) const
{
    return dxBarIsBarControlAlive(window) ? window->ClientRect().ToQRect() : QRect();
}

TdxBarItemLinks* TdxBarWindowsLibrary::ParentBarWindowLinks(TCustomdxBarControl* window) const
{
    if (!dxBarIsBarControlAlive(window) || !window->ParentBar()) return nullptr;
    return window->ParentBar()->ItemLinks();
}

bool TdxBarWindowsLibrary::ShowPopupMenu(TdxBarPopupMenu* menu, int x, int y, std::function<void()> closedUp)
{
    TdxBarItemLinks* links = menu ? menu->ItemLinks() : nullptr;
    if (!links || !menu->BarManager() || links->BarControl()) return false;
    QPointer<TdxBarPopupMenu> owner(menu);
    auto* window = new TdxBarSubMenuControl(menu->BarManager());
    QPointer<TdxBarSubMenuControl> guard(window);
    window->SetItemLinks(links);
    window->SetSideStrip(menu->BarSize());
    window->SetOwnerSize(menu->ExcludedWidth(), menu->ExcludedHeight());
    window->SetAnimate(menu->Animate());
    window->SetPosition(x, y);
    window->OnPopup = [owner] {
        if (owner) owner->DoPopup();
    };
    window->OnCloseUp = std::move(closedUp);
    if (menu->BarSize() > 0)
        window->OnPaintBar = [owner](QPainter& p, const TRect& r) {
            if (owner) owner->DoPaintBar(p, r);
        };
    window->Show();
    return guard && !guard->Closing();
}

void TdxBarWindowsLibrary::ClosePopupMenu(TdxBarPopupMenu* menu)
{
    TdxBarItemLinks* links = menu ? menu->ItemLinks() : nullptr;
    auto* window = links ? qobject_cast<TdxBarSubMenuControl*>(links->BarControl()) : nullptr;
    if (dxBarIsBarControlAlive(window)) window->Close();
}

TdxBarItemLinks* TdxBarWindowsLibrary::PopupMenuItemLinks(TdxBarPopupMenu* menu) const
{
    return menu ? menu->ItemLinks() : nullptr;
}

bool TdxBarWindowsLibrary::IsBarWindowActive(TCustomdxBarControl* window) const
{
    return dxBarIsBarControlAlive(window) && window->IsActive();
}

TdxBarItemControl* TdxBarWindowsLibrary::BarWindowControlAt(TCustomdxBarControl* window, const TPoint& screen) const
{
    if (!dxBarIsBarControlAlive(window)) return nullptr;
    const TPoint client = window->ScreenToClient(screen);
    return window->ClientRect().Contains(client) ? window->ItemControlAtPos(client) : nullptr;
}

void TdxBarWindowsLibrary::CreateHintWindow()
{
    if (!hintWindow_) hintWindow_ = new TdxBarHintWindow();
}

void TdxBarWindowsLibrary::FreeHintWindow()
{
    delete hintWindow_.data();
}

void TdxBarWindowsLibrary::ActivateHint(const TPoint& at, const QString& text, TdxBarManager* manager)
{
    CreateHintWindow();
    hintWindow_->ActivateHint(at, text, manager);
}

void TdxBarWindowsLibrary::HideHint()
{
    if (hintWindow_) hintWindow_->Hide();
}

bool TdxBarWindowsLibrary::HintVisible() const
{
    return hintWindow_ && hintWindow_->Visible();
}

TdxBarDropDownList* TdxBarWindowsLibrary::CreateDropDownList(TdxBarCustomCombo* combo)
{
    return combo ? new TdxBarDropDownListBox(combo) : nullptr;
}

QList<TdxBarControl*> TdxBarWindowsLibrary::FloatingZOrder(TdxBarManager* manager) const
{
    QList<TdxBarControl*> order;
    for (const QPointer<TdxBarControl>& window : floating_)
        if (window && window->BarManager() == manager && window->Floating()) order << window;
    return order;
}

void TdxBarWindowsLibrary::BringToFront(TdxBarControl* window)
{
    floating_.removeIf([window](const QPointer<TdxBarControl>& w) { return !w || w == window; });
    if (!window || !window->Floating()) return;
    floating_.append(window);
    if (window->Handle()) window->Handle()->raise();
}

void TdxBarWindowsLibrary::ShowToolbarsPopup(TdxBarManager* manager, const TPoint& screen)
{
    if (manager && !manager->IsCustomizing()) dxBarShowToolbarsPopup(manager, screen);
}

bool TdxBarWindowsLibrary::HandleLinksChanged(TdxBarItemLinks* links)
{
    return dxBarIsLibraryPopupLinks(links);
}
