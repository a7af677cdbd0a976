// The manager's life: owner checks, defaults, destruction, streaming and loading.
#include "Application.h"
#include "Forms.h"
#include "ImgList.h"
#include "Scope.h"
#include "Streaming.h"
#include "Strings.h"
#include "dxBarServices.h"
#include "dxBarBar.h"
#include "dxBarCategories.h"
#include "dxBarDockControls.h"
#include "dxBarGroups.h"
#include "dxBarItemLink.h"
#include "dxBarItems.h"
#include "dxBarPopupMenuLinks.h"
#include "dxBarManager.h"
#include "dxBarStrs.h"

#include <stdexcept>

namespace {

void FinishLinksLoading(TdxBarItemLinks* links)
{
    if (!links) return;
    for (TCollectionItem* ci : links->ItemList()) {
        auto* link = static_cast<TdxBarItemLink*>(ci);
        link->SetVisible(link->PendingVisible());
    }
}

}  // namespace

void TdxBarManager::CheckOwner(TComponent* owner)
{
    // Without an owner the manager serves the main form; its component owner stays nil.
    TComponent* formOwner = owner;
    if (!formOwner && Application) formOwner = Application->MainForm();
    auto* form = qobject_cast<TCustomForm*>(formOwner);
    if (!form) throw Exception(dxBarStr(dxSBAR_MANAGERNEEDSFORMOWNER));
    if (TdxBarManagerList::Instance()->FindByForm(form)) throw Exception(dxBarStr(dxSBAR_ONEMANAGERPERFORM));
    ownerForm_ = form;
    // A form that does not own the manager would free its docks and die unseen: follow it.
    if (!owner) form->FreeNotification(this);
}

void TdxBarManager::SetDefaults()
{
    auto* categories = new TdxBarManagerCategories(this);
    if (!Loading()) categories->Add(dxBarStr(dxSBAR_DEFAULTCATEGORYNAME));
    categories_ = categories;
    bars_ = new TdxBars(this);
    popupMenuLinks_ = new TdxBarPopupMenuLinks(this);
    font_ = new TFont;
    font_->SetOnChange(TNotifyEvent(this, &TdxBarManager::FontChanged));
    helpButtonGlyph_ = new TBitmap;
    helpButtonGlyph_->SetOnChange(TNotifyEvent(this, &TdxBarManager::HelpButtonGlyphChanged));
    imagesLink_ = new TChangeLink;
    imagesLink_->OnChange = TNotifyEvent(this, &TdxBarManager::ImagesChanged);
    largeImagesLink_ = new TChangeLink;
    hotImagesLink_ = new TChangeLink;
    SetMostRecentItemsPercents(95);
    UpdateMetrics();
    style_ = bmsStandard;  // so the setter runs the style step
    SetStyle(bmsEnhanced);
    SetUseSystemFont(true);
}

void TdxBarManager::FreeOwned()
{
    Destroying();
    // What the manager owns (its bar windows among them) still calls back into it while it
    // goes, so it goes while the manager is whole.
    DestroyComponents();
    customizing_.SetMode(false);
    FreeAndNil(popupMenuLinks_);
    // Groups unlist themselves as they go.
    while (!groups_.isEmpty()) delete groups_.takeLast();
    FreeAndNil(bars_);
    // Placed docks outlive the manager: let them go.
    const QList<TdxDockControl*> docks = std::exchange(dockControls_, {});
    for (TdxDockControl* dock : docks) dock->SetBarManager(nullptr);
    // Items unlist themselves as they go.
    while (!items_.isEmpty()) delete items_.takeLast();
    TdxBarManagerList::Instance()->Remove(this);
    SetImageList(images_, imagesLink_, nullptr);
    SetImageList(largeImages_, largeImagesLink_, nullptr);
    SetImageList(hotImages_, hotImagesLink_, nullptr);
    FreeAndNil(imagesLink_);
    FreeAndNil(largeImagesLink_);
    FreeAndNil(hotImagesLink_);
    FreeAndNil(helpButtonGlyph_);
    FreeAndNil(font_);
    FreeAndNil(categories_);
}

TCustomForm* TdxBarManager::OwnerFormAsForm() const
{
    return qobject_cast<TCustomForm*>(ownerForm_);
}

void TdxBarManager::BeforeFormDestroy()
{
    StoreLayoutOnce();
}

// Customizing ends before the layout is stored, so the store sees the bars as the user
// left them. A store that cannot be written is passed over silently, as one that cannot be
// opened: the program's own settings tell the user about an unwritable store.
void TdxBarManager::StoreLayoutOnce()
{
    if (ownerFormGone_) return;
    ownerFormGone_ = true;
    EndCustomizingQuietly();
    try {
        SaveLayoutOnFormDestroy();
    } catch (const std::exception&) {}
}

void TdxBarManager::EndCustomizingQuietly()
{
    // The customizing window must close while the manager is whole: it holds the manager.
    try {
        Customizing(false);
    } catch (const std::exception&) {}
    customizing_.SetMode(false);
}

void TdxBarManager::OwnerFormDestroyed()
{
    StoreLayoutOnce();
    // The form's windows are gone: hide the bars without touching them and forget the form.
    if (bars_)
        for (int i = 0; i < bars_->Count(); ++i) bars_->Items(i)->DropWindow();
    ownerForm_ = nullptr;
}

void TdxBarManager::Notification(TComponent* component, TOperation operation)
{
    TComponent::Notification(component, operation);
    if (operation != opRemove || !component || constructionFailed_) return;
    if (component == ownerForm_) OwnerFormDestroyed();
    if (component == images_) SetImages(nullptr);
    if (component == largeImages_) SetLargeImages(nullptr);
    if (component == hotImages_) SetHotImages(nullptr);
}

void TdxBarManager::ReadState(TReader* reader)
{
    ++loadedCount_;
    TComponent::ReadState(reader);
}

void TdxBarManager::Loaded()
{
    TComponent::Loaded();
    if (updateLocked_ || !bars_) return;
    {
        bars_->SetLoading(true);
        TScopeExit loaded([this] { bars_->SetLoading(false); });
        for (TdxBarItem* item : QList<TdxBarItem*>(items_)) {
            if (auto* sub = qobject_cast<TCustomdxBarSubItem*>(item)) FinishLinksLoading(sub->ItemLinks());
            dxBarRunAsLoaded(item, [item] { item->ApplyPendingVisible(); });
        }
        ApplyLoadedBars();
        if (!IsDesigning() && !dxBarReadingTempForm()) LoadLayoutAfterLoading();
    }
    ApplyLoadedCategories();
    dockUpdating_ = true;
    for (TdxDockControl* dock : QList<TdxDockControl*>(dockControls_)) dock->UpdateDock();
    dockUpdating_ = false;
}

void TdxBarManager::ApplyLoadedBars()
{
    for (int i = 0; i < bars_->Count(); ++i) {
        TdxBar* bar = bars_->Items(i);
        FinishLinksLoading(bar->ItemLinks());
        bar->SetLoadedWithForm(true);
        bar->ApplyLoadedState();
    }
}

bool TdxBarManager::BarsRestoring() const
{
    return bars_ && bars_->Restoring();
}

void TdxBarManager::DefineProperties(TFiler* filer)
{
    TComponent::DefineProperties(filer);
    filer->DefineProperty(
        QStringLiteral("DockControlHeights"),
        [this](TReader* reader) {
            QList<int> heights;
            reader->ReadListBegin();
            while (!reader->EndOfList()) heights.append(reader->ReadInteger());
            reader->ReadListEnd();
            SetDockControlHeights(heights);
        },
        [this](TWriter* writer) {
            writer->WriteListBegin();
            for (int height : DockControlHeights()) writer->WriteInteger(height);
            writer->WriteListEnd();
        },
        true);
}

QList<int> TdxBarManager::DockControlHeights() const
{
    QList<int> heights;
    for (TdxBarDockingStyle style : {dsLeft, dsRight, dsTop, dsBottom}) {
        TdxDockControl* dock = bars_ ? bars_->BuiltInDock(style) : nullptr;
        heights.append(dock ? dock->Thickness() : 0);
    }
    return heights;
}

void TdxBarManager::SetDockControlHeights(const QList<int>& heights)
{
    if (!bars_) return;
    const TdxBarDockingStyle order[] = {dsLeft, dsRight, dsTop, dsBottom};
    for (int i = 0; i < 4 && i < heights.size(); ++i)
        if (TdxDockControl* dock = bars_->BuiltInDock(order[i])) dock->SetThickness(qMax(0, heights[i]));
}

void TdxBarManager::GetChildren(const TGetChildProc& proc, TComponent* root)
{
    for (TdxBarGroup* group : groups_)
        if (group->Owner() == root) proc(group);
    // Items with a negative category are the library's own and are never streamed.
    for (TdxBarItem* item : items_)
        if (item->Owner() == root && item->Category() >= 0) proc(item);
}

void TdxBarManager::SetName(const QString& name)
{
    const QString oldName = Name();
    TComponent::SetName(name);
    if (!IsDesigning() || oldName == name || oldName.isEmpty()) return;
    for (TdxBarItem* item : QList<TdxBarItem*>(items_)) {
        const QString itemName = item->Name();
        if (item->Owner() != Owner() || itemName.size() <= oldName.size() ||
            !itemName.startsWith(oldName, Qt::CaseInsensitive))
            continue;
        try {
            item->SetName(name + itemName.mid(oldName.size()));
        } catch (const EComponentError&) {
            // An invalid or taken name: the item keeps its old one.
        }
    }
}
