// The manager's customizing mode, the toolbars list of the toolbars popup and the usage reset.
#include "Application.h"
#include "Dialogs.h"
#include "Forms.h"
#include "dxBarBar.h"
#include "dxBarItemLink.h"
#include "dxBarItems.h"
#include "dxBarManager.h"
#include "dxBarPopupMenu.h"
#include "dxBarServices.h"
#include "dxBarStrs.h"
#include "dxBarTempItems.h"

#include <QHash>
#include <QPointer>
#include <QSet>
#include <memory>

namespace {

constexpr int CustomizeItemTag = 1000;

// The bar each toolbars-list button stands for. The button's Tag is the bar's index as
// handlers of OnShowToolbarsPopup know it; the click goes by this guarded reference, so a bar
// freed or moved while the popup is open is never mistaken for another.
QHash<const QObject*, QPointer<TdxBar>>& ToolbarOfButton()
{
    static QHash<const QObject*, QPointer<TdxBar>> map;
    return map;
}

void RememberToolbar(TdxBarItem* button, TdxBar* bar)
{
    ToolbarOfButton().insert(button, bar);
    QObject::connect(button, &QObject::destroyed, [button] { ToolbarOfButton().remove(button); });
}

// Every link list of the manager: its bars', its sub items' and its form's popup menus'.
QList<TdxBarItemLinks*> AllLinkLists(TdxBarManager* manager)
{
    QList<TdxBarItemLinks*> lists;
    TdxBars* bars = manager->Bars();
    for (int i = 0; bars && i < bars->Count(); ++i)
        if (TdxBarItemLinks* links = bars->Items(i)->ItemLinks()) lists << links;
    for (TdxBarItem* item : manager->ItemList())
        if (auto* sub = qobject_cast<TCustomdxBarSubItem*>(item); sub && sub->ItemLinks()) lists << sub->ItemLinks();
    if (TComponent* form = manager->OwnerForm())
        for (int i = 0; i < form->ComponentCount(); ++i)
            if (auto* popup = qobject_cast<TdxBarPopupMenu*>(form->Components(i)); popup && popup->ItemLinks())
                lists << popup->ItemLinks();
    return lists;
}

}  // namespace

void TdxBarManager::Customizing(bool value)
{
    if (value == customizing_.Mode()) return;
    if (value && dxBarCustomizingForm().Exists()) return;
    QPointer<TdxBarManager> self(this);
    TdxBarWindowServices& windows = dxBarWindowServices();
    windows.CloseActiveMenus(this);
    if (!self) return;
    customizing_.SetMode(value);
    // While customizing every link is available: the lists change with the mode.
    for (TdxBarItemLinks* links : AllLinkLists(this)) links->RebuildLists();
    if (value)
        dxBarCustomizingForm().Open(this);
    else
        dxBarCustomizingForm().Close(this);
    if (self) windows.ManagerWindowsChanged(this, TdxBarWindowChange::Style);
}

void TdxBarManager::DragItem(TdxBarItem* item, TdxBarItemLink* link)
{
    if (!customizing_.CanStartDrag(item)) return;
    dxBarWindowServices().DragItem(this, item, link);
}

void TdxBarManager::CreateToolbarsListItems(TdxBarItemLinks* links)
{
    if (!links || !bars_) return;
    for (int i = 0; i < bars_->Count(); ++i) {
        TdxBar* bar = bars_->Items(i);
        if (!bar->AllowClose() || bar->IsMainMenu() || bar->Hidden()) continue;
        auto* button = dxBarCreateTempItem<TdxBarButton>(this);
        button->SetCaption(bar->Caption());
        button->SetTag(i);
        button->SetButtonStyle(bsChecked);
        button->SetDown(bar->Visible());
        button->SetOnClick(TNotifyEvent(this, &TdxBarManager::ToolbarsPopupClick));
        RememberToolbar(button, bar);
        links->Add()->SetItem(button);
    }
    DoShowToolbarsPopup(links);
    AddCustomizeItem(links, true);
}

void TdxBarManager::AddCustomizeItem(TdxBarItemLinks* links, bool beginGroup,
                                     const std::function<TdxBarItem*(TdxBarManager*)>& makeItem)
{
    // Without a customizing window nothing could end the mode the entry starts.
    if (!links || !canCustomize_ || !dxBarCustomizingFormInstalled()) return;
    TdxBarItem* item = makeItem ? makeItem(this) : nullptr;
    if (item)
        dxBarAddTempItem(item);
    else
        item = dxBarCreateTempItem<TdxBarButton>(this);
    item->SetCaption(dxBarStr(dxSBAR_CUSTOMIZEMENU));
    item->SetEnabled(!dxBarCustomizingForm().Exists());
    item->SetTag(CustomizeItemTag);
    item->SetOnClick(TNotifyEvent(this, &TdxBarManager::ToolbarsPopupClick));
    TdxBarItemLink* link = links->Add();
    link->SetItem(item);
    link->SetBeginGroup(beginGroup);
}

void TdxBarManager::ToolbarsPopupClick(TObject* sender)
{
    auto* item = qobject_cast<TdxBarItem*>(sender);
    if (!item) return;
    if (item->Tag() == CustomizeItemTag && !ToolbarOfButton().contains(item)) {
        Customizing(true);
        return;
    }
    TdxBar* bar = ToolbarOfButton().value(item);
    if (bar && bar->Collection() == bars_) bar->SetVisible(!bar->Visible());
}

QString TdxBarManager::NewToolbarCaption() const
{
    const QString base = dxBarStr(dxSBAR_CUSTOMTOOLBARNAME);
    QSet<QString> taken;
    for (int i = 0; bars_ && i < bars_->Count(); ++i) taken.insert(bars_->Items(i)->Caption());
    for (int n = 1;; ++n)
        if (!taken.contains(base + QString::number(n))) return base + QString::number(n);
}

void TdxBarManager::ResetUsageData()
{
    const QString title = Application ? Application->Title() : QString();
    if (MessageBox(dxBarStr(dxSBAR_CONFIRMRESETUSAGEDATA), title, MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2) == IDYES)
        ResetUsageDataToDefault();
}

void TdxBarManager::ResetUsageDataToDefault()
{
    TdxBarUpdateLockScope lock(this);
    const std::unique_ptr<TCustomForm> copy(CreateTempForm());
    auto* fresh = copy ? qobject_cast<TdxBarManager*>(copy->FindComponent(Name())) : nullptr;
    if (!fresh) return;
    const QList<TdxBarItem*> items = items_;
    for (TdxBarItem* item : items) {
        auto* sub = qobject_cast<TCustomdxBarSubItem*>(item);
        if (!sub || !sub->ItemLinks() || sub->Name().isEmpty()) continue;
        auto* freshSub = qobject_cast<TCustomdxBarSubItem*>(copy->FindComponent(sub->Name()));
        if (freshSub && freshSub->ItemLinks()) sub->ItemLinks()->AssignRecentState(freshSub->ItemLinks());
    }
    for (int i = 0; bars_ && fresh->Bars() && i < bars_->Count() && i < fresh->Bars()->Count(); ++i)
        bars_->Items(i)->ItemLinks()->AssignRecentState(fresh->Bars()->Items(i)->ItemLinks());
}
