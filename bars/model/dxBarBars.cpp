// TdxBars, and the bar's shortcut search, assignment, reset and drag.
#include "Application.h"
#include "Dialogs.h"
#include "Forms.h"
#include "Scope.h"
#include "dxBarBar.h"
#include "dxBarDockControls.h"
#include "dxBarItemLink.h"
#include "dxBarItems.h"
#include "dxBarManager.h"
#include "dxBarServices.h"
#include "dxBarStrs.h"

#include <QPointer>
#include <QSet>

#include <memory>
#include <optional>

// ---------------------------------------------------------------- TdxBars

TdxBars::TdxBars(TdxBarManager* manager) : TCollection(ItemClass<TdxBar>(), manager), manager_(manager)
{
    TComponent* form = manager ? manager->OwnerForm() : nullptr;
    auto* parent = qobject_cast<TWinControl*>(form);
    for (TdxBarDockingStyle style : {dsLeft, dsTop, dsRight, dsBottom}) {
        TdxDockControl* dock = TdxDockControl::CreateForSide(nullptr, style, manager);
        if (parent) dock->SetParent(parent);
        builtInDocks_[int(style) - 1] = dock;
    }
}

TdxBars::~TdxBars()
{
    // The bars reach back into the collection and the docks while they go.
    Clear();
    for (TdxDockControl*& dock : builtInDocks_) {
        TdxDockControl* d = dock;
        dock = nullptr;
        delete d;
    }
}

TdxBar* TdxBars::Add()
{
    return static_cast<TdxBar*>(TCollection::Add());
}

TdxBar* TdxBars::Items(int index) const
{
    return static_cast<TdxBar*>(TCollection::Items(index));
}

TdxDockControl* TdxBars::BuiltInDock(TdxBarDockingStyle style) const
{
    return style >= dsLeft && style <= dsBottom ? builtInDocks_[int(style) - 1] : nullptr;
}

QString TdxBars::GetUniqueBarName(const QString& caption) const
{
    auto taken = [this](const QString& name) {
        for (int i = 0; i < Count(); ++i)
            if (Items(i)->Name() == name) return true;
        return false;
    };
    if (!taken(caption)) return caption;
    for (int n = 1;; ++n)
        if (!taken(caption + QString::number(n))) return caption + QString::number(n);
}

void TdxBars::DockControlRemoved(TdxDockControl* dock)
{
    for (int i = 0; i < Count(); ++i) {
        TdxBar* bar = Items(i);
        const bool shownThere = bar->Visible() && bar->RealDockControl() == dock;
        if (shownThere) bar->SetVisible(false);
        if (bar->DockControl() == dock) bar->SetDockControl(nullptr);
        if (bar->DockedDockControl() == dock) bar->SetDockedDockControl(nullptr);
    }
    for (TdxDockControl*& slot : builtInDocks_)
        if (slot == dock) slot = nullptr;
}

// ---------------------------------------------------------------- shortcuts

namespace {

bool FindShortCut(TdxBarItemLinks* links, TShortCut shortCut, QSet<const TdxBarItemLinks*>& visited)
{
    // A menu that holds (directly or deeper) its own opener would otherwise loop forever.
    if (!links || visited.contains(links)) return false;
    visited.insert(links);
    const QList<TdxBarItemLink*> available = links->AvailableItems();
    for (TdxBarItemLink* link : available) {
        QPointer<TdxBarItem> item = link->Item();
        if (!item || !item->Enabled()) continue;
        if (auto* sub = qobject_cast<TCustomdxBarSubItem*>(item.data())) {
            if (FindShortCut(sub->ItemLinks(), shortCut, visited)) return true;
            continue;
        }
        if (item->CanClicked() && item->ShortCut() == shortCut) {
            item->DirectClick();  // may free the bar, the menu or the form: touch nothing after
            return true;
        }
        auto* button = qobject_cast<TdxBarButton*>(item.data());
        if (button && button->ButtonStyle() == bsDropDown && button->DropDownMenu()) {
            TdxBarItemLinks* menuLinks = dxBarWindowServices().PopupMenuItemLinks(button->DropDownMenu());
            if (FindShortCut(menuLinks, shortCut, visited)) return true;
        }
    }
    return false;
}

}  // namespace

bool TdxBar::IsShortCut(TShortCut shortCut)
{
    if (shortCut == 0) return false;
    QPointer<TdxBarItemLinks> links = itemLinks_;
    links->UpdateActions();
    if (!links) return false;
    QSet<const TdxBarItemLinks*> visited;
    return FindShortCut(links, shortCut, visited);
}

// ---------------------------------------------------------------- assignment

void TdxBar::Assign(TPersistent* source)
{
    auto* bar = qobject_cast<TdxBar*>(source);
    if (!bar) {
        TCollectionItem::Assign(source);
        return;
    }
    SetAllowClose(bar->AllowClose());
    SetAllowCustomizing(bar->AllowCustomizing());
    SetAllowQuickCustomizing(bar->AllowQuickCustomizing());
    SetAllowReset(bar->AllowReset());
    SetCaption(bar->Caption());
    SetDockedDockControl(bar->DockedDockControl());
    SetDockedDockingStyle(bar->DockedDockingStyle());
    SetDockedLeft(bar->DockedLeft());
    SetDockedTop(bar->DockedTop());
    SetFloatLeft(bar->FloatLeft());
    SetFloatTop(bar->FloatTop());
    SetFloatClientWidth(bar->FloatClientWidth());
    SetFloatClientHeight(bar->FloatClientHeight());
    SetHidden(bar->Hidden());
    SetIsMainMenu(bar->IsMainMenu());
    SetItemLinks(bar->ItemLinks());
    SetNotDocking(bar->NotDocking());
    SetOneOnRow(bar->OneOnRow());
    SetRotateWhenVertical(bar->RotateWhenVertical());
    SetRow(bar->Row());
    SetWholeRow(bar->WholeRow());
    DockTo(bar->DockingStyle(), bar->DockControl());
    SetUseRecentItems(bar->UseRecentItems());
    SetUseRestSpace(bar->UseRestSpace());
    SetFont(bar->Font());
    SetUseOwnFont(bar->UseOwnFont());
    SetVisible(bar->Visible());
}

// ---------------------------------------------------------------- reset and drag

TdxBarWindowLockScope::TdxBarWindowLockScope(TdxBar* bar) : bar_(bar)
{
    dxBarWindowServices().BarWindowChanged(bar, TdxBarWindowChange::Lock);
}

TdxBarWindowLockScope::~TdxBarWindowLockScope()
{
    if (bar_) dxBarWindowServices().BarWindowChanged(bar_, TdxBarWindowChange::Unlock);
}

void TdxBar::ResetWithConfirmation()
{
    const QString title = Application ? Application->Title() : QString();
    if (MessageBox(dxBarFormat(dxBarStr(dxSBAR_CONFIRMRESETTOOLBAR), caption_), title,
                   MB_OKCANCEL | MB_ICONEXCLAMATION) == IDOK)
        Reset();
}

namespace {

// Takes the links of a sub item from its namesake in the fresh form, then those of the sub
// items they reach; every list is reset once, so sub items that reach each other end.
void ResetSubItemLinks(TdxBarItemLinks* links, TComponent* freshForm, QSet<TdxBarItemLinks*>& done)
{
    for (int i = 0; i < links->Count(); ++i) {
        auto* sub = qobject_cast<TCustomdxBarSubItem*>(links->Items(i)->Item());
        if (!sub || done.contains(sub->ItemLinks())) continue;
        done.insert(sub->ItemLinks());
        auto* fresh = qobject_cast<TCustomdxBarSubItem*>(freshForm->FindComponent(sub->Name()));
        if (!fresh) continue;
        sub->ItemLinks()->Assign(fresh->ItemLinks());
        sub->ItemLinks()->AssignRecentState(fresh->ItemLinks());
        ResetSubItemLinks(sub->ItemLinks(), freshForm, done);
    }
}

}  // namespace

void TdxBar::Reset()
{
    TdxBarManager* manager = BarManager();
    if (!manager) return;
    std::unique_ptr<TCustomForm> freshForm(manager->CreateTempForm());
    if (!freshForm) return;
    auto* freshManager = qobject_cast<TdxBarManager*>(freshForm->FindComponent(manager->Name()));
    if (!freshManager || Index() < 0 || Index() >= freshManager->Bars()->Count()) return;
    TdxBar* fresh = freshManager->Bars()->Items(Index());

    manager->DoBarBeforeReset(this);
    {
        // A full reset hides the bar under the manager's update lock and shows it as it was;
        // a reset of the links only keeps the bar's window from updating.
        const bool full = manager->UseFullReset();
        std::optional<TdxBarUpdateLockScope> lock;
        std::optional<TdxBarWindowLockScope> linksOnly;
        if (full)
            lock.emplace(manager);
        else
            linksOnly.emplace(this);
        QPointer<TdxBar> self(this);
        const bool visible = Visible();
        TScopeExit showAgain([&] {
            if (full && self) self->SetVisible(visible);
        });
        if (full) SetVisible(false);
        TdxBarAssignLinksByNameScope byName;
        if (full)
            Assign(fresh);
        else
            SetItemLinks(fresh->ItemLinks());
        itemLinks_->AssignRecentState(fresh->ItemLinks());
        QSet<TdxBarItemLinks*> done;
        ResetSubItemLinks(itemLinks_, freshForm.get(), done);
    }
    manager->DoBarAfterReset(this);
}

void TdxBar::StartDrag()
{
    const TdxBarDockingStyles all = TdxBarDockingStyles(dxBarDockingStyleSet::dsNone) | dxBarDockingStyleSet::dsLeft |
                                    dxBarDockingStyleSet::dsTop | dxBarDockingStyleSet::dsRight |
                                    dxBarDockingStyleSet::dsBottom;
    if ((notDocking_ & all) == all) return;
    dxBarWindowServices().DragBar(this);
}
