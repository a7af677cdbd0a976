// The MDI frame's side of the manager: the maximized child's system menu at the start of the
// main menu bar, and the merge of the child's main menu into the frame's.
#include "Forms.h"
#include "SystemMenu.h"
#include "dxBarBar.h"
#include "dxBarInternalItems.h"
#include "dxBarItemLink.h"
#include "dxBarManager.h"
#include "dxBarTempItems.h"

#include <QPointer>

namespace {

TdxBarManager* LiveManagerOf(const TCustomForm* form)
{
    if (!form || form->IsDestroying()) return nullptr;
    TdxBarManager* manager = TdxBarManagerList::Instance()->FindByForm(form);
    return manager && !manager->IsDestroying() ? manager : nullptr;
}

TSystemMenuSubItem* SystemMenuItemAt0(TdxBarItemLinks* links)
{
    return links && links->Count() > 0 ? qobject_cast<TSystemMenuSubItem*>(links->Items(0)->Item()) : nullptr;
}

// Hides or shows a bar while the form's bounds stay as they were.
void SetVisibleKeepingBounds(TdxBar* bar, bool visible, TCustomForm* form)
{
    const QRect bounds = form ? form->BoundsRect() : QRect();
    bar->SetVisible(visible);
    if (form && !form->IsDestroying() && form->BoundsRect() != bounds)
        form->SetBounds(bounds.x(), bounds.y(), bounds.width(), bounds.height());
}

}  // namespace

TCustomForm* TdxBarManager::ActiveMDIChild() const
{
    return qobject_cast<TCustomForm*>(activeMDIChild_.data());
}

bool TdxBarManager::HasMDIButtons() const
{
    TCustomForm* child = ActiveMDIChild();
    return childMaximized_ && child && !child->IsDestroying() && child->SystemMenu();
}

void TdxBarManager::MDIUpdate()
{
    TCustomForm* frame = OwnerFormAsForm();
    if (!frame || IsDestroying()) return;
    QPointer<TCustomForm> child = frame->ActiveMDIChild();
    const bool maximized = child && child->IsZoomed();
    const QPointer<TCustomForm> old = ActiveMDIChild();
    const bool hadOld = !activeMDIChild_.isNull();
    const bool maximizedChanged = maximized != childMaximized_;
    QPointer<TdxBarManager> self(this);
    {
        TdxBarWindowLockScope lock(mainMenuBar_);
        if (child == old && hadOld == bool(child)) {
            if (maximizedChanged) ChildChange(child, maximized, alwaysMerge_, false);
        } else {
            ChildChange(old, false, false, !old || old->IsDestroying() || !old->Visible());
            if (self && child) ChildChange(child, true, false, false);
        }
        if (!self) return;
        activeMDIChild_ = child.data();
        childMaximized_ = maximized;
    }
    if (self && maximizedChanged && mainMenuBar_)
        dxBarWindowServices().BarWindowChanged(mainMenuBar_, TdxBarWindowChange::Layout);
}

void TdxBarManager::ChildChange(TCustomForm* child, bool on, bool skipMerge, bool closing)
{
    TdxBar* bar = mainMenuBar_;
    TdxBarItemLinks* links = bar ? bar->ItemLinks() : nullptr;
    if (!links) return;
    QPointer<TdxBarManager> self(this);
    // The system menu: a maximized child's leads the bar; off, it goes (also when the child
    // is already gone).
    if (on && child && child->IsZoomed()) {
        if (child->SystemMenu() && !SystemMenuItemAt0(links)) {
            auto* item = dxBarCreateTempItem<TSystemMenuSubItem>(this);
            item->SetChild(child);
            TdxBarItemLink* link = links->Add();
            link->SetItem(item);
            link->SetIndex(0);
        }
    } else if (!on) {
        if (TSystemMenuSubItem* item = SystemMenuItemAt0(links)) {
            delete links->Items(0);
            delete item;
        }
    }
    if (skipMerge || !self) return;
    TdxBarManager* childManager = LiveManagerOf(child);
    TdxBar* childBar = childManager ? childManager->MainMenuBar() : nullptr;
    if (!childBar || !childBar->ItemLinks()) return;
    QPointer<TdxBar> childGuard(childBar);
    if (on) {
        if (!alwaysMerge_ && !child->IsZoomed()) return;
        mergedMenuVisible_ = childBar->Visible();
        if (OnMenuMerge) {
            OnMenuMerge(this, childManager, true);
        } else {
            TdxBarItemLinks* source = childBar->ItemLinks();
            for (int i = 0; i < source->Count(); ++i) {
                TdxBarItemLink* copy = links->Add();
                copy->Assign(source->Items(i));
            }
        }
        if (self && childGuard) SetVisibleKeepingBounds(childGuard, false, child);
        return;
    }
    // Off: the links of the child's items leave the frame's bar.
    for (int i = links->Count() - 1; i >= 0; --i) {
        TdxBarItem* item = links->Items(i)->Item();
        if (item && item->BarManager() == childManager) delete links->Items(i);
    }
    if (!closing) dxBarWindowServices().BarWindowChanged(bar, TdxBarWindowChange::Layout);
    if (OnMenuMerge) OnMenuMerge(this, childManager, false);
    if (self && childGuard && !alwaysMerge_ && !childGuard->Visible() && mergedMenuVisible_)
        SetVisibleKeepingBounds(childGuard, true, child);
}
