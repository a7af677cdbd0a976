// The manager's metrics, its dock controls and bar lookups.
#include "dxBarBar.h"
#include "dxBarDockControls.h"
#include "dxBarItem.h"
#include "dxBarManager.h"
#include "dxBarManagerMetrics.h"
#include "dxBarServices.h"

namespace {

// The system's sizing-frame width and height of a floating window.
constexpr int SystemSizingFrame = 4;

}  // namespace

TdxBarManagerMetrics TdxBarManagerMetrics::For(TdxBarManagerStyle style, bool largeIcons, int buttonArrowWidth)
{
    const bool standard = style == bmsStandard;
    const bool flat = style == bmsFlat;
    TdxBarManagerMetrics m;
    m.GripOffset = standard ? 2 : 1;
    m.GripAreaSize = standard ? 9 : 6;
    m.MenuSeparatorIndent = standard ? 2 : (flat ? 8 : 12);
    const int l = largeIcons ? 2 : 1;
    m.GlyphSize = 16 * l;
    m.DefaultButtonWidth = 16 * l + 7;
    m.DefaultButtonHeight = 16 * l + 6;
    int arrow = l * buttonArrowWidth;
    if (arrow % 2 == 0) ++arrow;
    m.ArrowWidth = arrow - (flat ? 1 : 0);
    m.FrameWidth = m.FrameHeight = flat ? 3 : SystemSizingFrame;
    return m;
}

void TdxBarManager::UpdateMetrics()
{
    metrics_ = TdxBarManagerMetrics::For(style_, largeIcons_, buttonArrowWidth_);
}

// ---------------------------------------------------------------- dock controls

void TdxBarManager::AddDockControl(TdxDockControl* dock)
{
    if (!dock || dockControls_.contains(dock)) return;
    dockControls_.append(dock);
    dock->FreeNotification(this);
}

void TdxBarManager::RemoveDockControl(TdxDockControl* dock)
{
    if (!dock) return;
    if (bars_) bars_->DockControlRemoved(dock);
    dockControls_.removeAll(dock);
    if (!dock->IsDestroying()) dock->SetParentColor(true);
}

bool TdxBarManager::CanDock(TdxBar* bar, TdxBarDockingStyle style, TdxDockControl* dock)
{
    bool result;
    if (bar && dxBarDockingStyleIn(style, bar->NotDocking())) {
        result = false;
    } else if (!dock || dock->IsBuiltIn()) {
        // A side whose built-in dock is gone cannot take bars.
        const bool sideMissing = style != dsNone && !dock && (!bars_ || !bars_->BuiltInDock(style));
        result = !sideMissing && !dxBarDockingStyleIn(style, notDocking_);
    } else {
        result = dock->CanDock(bar);
    }
    if (OnDocking) OnDocking(bar, style, dock, result);
    return result;
}

TdxBar* TdxBarManager::BarByCaption(const QString& caption) const
{
    for (int i = 0; bars_ && i < bars_->Count(); ++i)
        if (bars_->Items(i)->Caption() == caption) return bars_->Items(i);
    return nullptr;
}

TdxBar* TdxBarManager::BarByName(const QString& name) const
{
    for (int i = 0; bars_ && i < bars_->Count(); ++i)
        if (bars_->Items(i)->Name() == name) return bars_->Items(i);
    return nullptr;
}

// ---------------------------------------------------------------- items and categories

void TdxBarManager::MoveItem(int curIndex, int newIndex)
{
    if (curIndex < 0 || curIndex >= items_.size() || newIndex < 0 || newIndex >= items_.size()) return;
    items_.move(curIndex, newIndex);
    Changed();
}

void TdxBarManager::ExchangeItems(int index1, int index2)
{
    if (index1 < 0 || index1 >= items_.size() || index2 < 0 || index2 >= items_.size()) return;
    items_.swapItemsAt(index1, index2);
    Changed();
}

int TdxBarManager::GetAllItemsByCategory(int category, QList<TdxBarItem*>& list) const
{
    list.clear();
    if (category < 0 || category >= CategoryCount()) return 0;
    for (TdxBarItem* item : items_)
        if (item->Category() == category) list.append(item);
    return int(list.size());
}

int TdxBarManager::GetItemsByCategory(int category, QList<TdxBarItem*>& list) const
{
    GetAllItemsByCategory(category, list);
    if (IsDesigning()) return int(list.size());
    list.removeIf([](TdxBarItem* item) { return item->Visible() == ivNever || item->IsHiddenInCategory(); });
    return int(list.size());
}

void TdxBarManager::CloseActiveMenus()
{
    dxBarWindowServices().CloseActiveMenus(this);
}

void TdxBarManager::SetSelectedControl(TdxBarItemControl* control)
{
    QPointer<TdxBarItemControl> previous = customizing_.SelectedControl();
    if (control == previous) return;
    // While customizing, menus opened by hovering do not outlive the selection that opened
    // them.
    if (previous && IsCustomizing() && (!control || control->Parent() != previous->Parent())) {
        QPointer<TdxBarItemControl> next = control;
        dxBarWindowServices().SelectionLeftWindow(previous->Parent(), control ? control->Parent() : nullptr);
        if (!next) control = nullptr;
    }
    customizing_.SetSelectedControl(control);
    // The previous control repaints when its window still exists.
    if (previous) previous->Repaint();
}

// ---------------------------------------------------------------- event firers

void TdxBarManager::DoBarAfterReset(TdxBar* bar)
{
    if (OnBarAfterReset) OnBarAfterReset(this, bar);
}

void TdxBarManager::DoBarBeforeReset(TdxBar* bar)
{
    if (OnBarBeforeReset) OnBarBeforeReset(this, bar);
}

void TdxBarManager::DoBarClose(TdxBar* bar)
{
    if (OnBarClose) OnBarClose(this, bar);
}

void TdxBarManager::DoBarDockingStyleChange(TdxBar* bar)
{
    if (bars_ && bars_->Loading()) return;
    if (OnBarDockingStyleChange) OnBarDockingStyleChange(this, bar);
    Changed();
}

void TdxBarManager::DoCloseButtonClick()
{
    if (OnCloseButtonClick) OnCloseButtonClick(this);
}

void TdxBarManager::DoHelpButtonClick(TObject* sender)
{
    if (OnHelpButtonClick) OnHelpButtonClick(sender ? sender : this);
}

void TdxBarManager::DoShowCustomizingPopup(TdxBarItemLinks* links)
{
    if (OnShowCustomizingPopup) OnShowCustomizingPopup(this, links);
}

void TdxBarManager::DoShowToolbarsPopup(TdxBarItemLinks* links)
{
    if (OnShowToolbarsPopup) OnShowToolbarsPopup(this, links);
}
