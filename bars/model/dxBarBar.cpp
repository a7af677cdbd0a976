#include "dxBarServices.h"
#include "dxBarBar.h"

#include "ExceptionBarrier.h"
#include "dxBarItem.h"
#include "dxBarItemLink.h"
#include "dxBarManager.h"

TdxBar::TdxBar(TCollection* collection) : TCollectionItem(collection)
{
    TdxBarManager* manager = BarManager();
    loaded_ = !(manager && (manager->IsLoading() || manager->BarsRestoring()));
    font_ = new TFont;
    if (manager && manager->Font()) font_->Assign(manager->Font());
    font_->SetOnChange(TNotifyEvent(this, &TdxBar::FontChange));
    itemLinks_ = new TdxBarItemLinks(manager, this);
    itemLinks_->OnChange = [this] {
        if (TdxBarManager* m = BarManager()) m->Changed();
    };
    if (manager && !manager->IsLoading()) {
        if (manager->OnBarAdd) manager->OnBarAdd(manager, this);
        manager->Changed();
    }
}

TdxBar::~TdxBar()
{
    TdxBarManager* manager = BarManager();
    if (manager && !manager->IsDestroying()) {
        manager->Changed();
        if (manager->OnBarDelete) RunGuarded(nullptr, [manager, this] { manager->OnBarDelete(manager, this); });
    }
    if (windowShown_) HideWindow();
    visible_ = false;
    if (manager) {
        for (TdxBarItem* item : QList<TdxBarItem*>(manager->ItemList()))
            if (manager->ItemList().contains(item)) item->BarNotification(opRemove, this);
        if (manager->MainMenuBar() == this) manager->SetMainMenuBar(nullptr);
    }
    if (itemLinks_) itemLinks_->OnChange = nullptr;
    FreeAndNil(itemLinks_);
    FreeAndNil(font_);
}

TdxBarManager* TdxBar::BarManager() const
{
    auto* bars = static_cast<TdxBars*>(Collection());
    return bars ? bars->BarManager() : nullptr;
}

// TdxBars: see dxBarBars.cpp.
