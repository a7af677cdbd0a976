#include "dxBarPopupMenu.h"

#include "dxBarItemLink.h"
#include "dxBarManager.h"
#include "dxBarServices.h"
#include "dxBarStrs.h"
#include "SysUtils.h"

// The state of one running Popup, shared by the waiting loop and the close-up handler.
struct TPopupWait {
    TdxBarModalWait* loop = nullptr;
    bool closed = false;
};

TdxBarPopupMenu::TdxBarPopupMenu(TComponent* owner) : TComponent(owner)
{
    TdxBarManager* manager = dxBarManagerForOwner(owner);
    if (!manager) throw Exception(dxBarStr(dxSBAR_NOMANAGERSAVAILABLE));
    manager_ = manager;
    font_ = new TFont;
    if (manager->Font()) font_->Assign(manager->Font());
    itemLinks_ = new TdxBarItemLinks(manager, this);
    itemLinks_->SetUseRecentItems(false);
}

TdxBarPopupMenu::~TdxBarPopupMenu()
{
    Destroying();
    // An open menu closes first; its close-up ends a waiting Popup.
    dxBarWindowServices().ClosePopupMenu(this);
    if (wait_) {
        wait_->closed = true;
        if (wait_->loop) wait_->loop->Stop();
    }
    delete itemLinks_;
    itemLinks_ = nullptr;
    delete font_;
    font_ = nullptr;
}

void TdxBarPopupMenu::SetBarManager(TdxBarManager* manager)
{
    if (!manager && !IsDestroying()) return;
    if (manager == manager_) return;
    manager_ = manager;
    if (itemLinks_) itemLinks_->SetBarManager(manager);
}

void TdxBarPopupMenu::SetUseOwnFont(bool value)
{
    useOwnFont_ = value;
    if (!value && manager_ && manager_->Font() && font_) font_->Assign(manager_->Font());
}

bool TdxBarPopupMenu::UseRecentItems() const
{
    return itemLinks_ && itemLinks_->UseRecentItems();
}

void TdxBarPopupMenu::SetUseRecentItems(bool value)
{
    if (itemLinks_) itemLinks_->SetUseRecentItems(value);
}

bool TdxBarPopupMenu::IsShown() const
{
    return itemLinks_ && itemLinks_->BarControl();
}

void TdxBarPopupMenu::DoPopup()
{
    if (OnPopup) OnPopup(this);
}

void TdxBarPopupMenu::DoCloseUp()
{
    if (OnCloseUp) OnCloseUp(this);
}

void TdxBarPopupMenu::DoPaintBar(TCanvas& p, const TRect& r)
{
    if (OnPaintBar) OnPaintBar(this, p, r);
}

void TdxBarPopupMenu::PopupEx(int x, int y, bool animate, int excludedHeight, int excludedWidth)
{
    animate_ = animate;
    excludedHeight_ = excludedHeight;
    excludedWidth_ = excludedWidth;
    QPointer<TdxBarPopupMenu> self(this);
    Popup(x, y);
    if (!self) return;
    animate_ = true;
    excludedHeight_ = excludedWidth_ = 0;
}

void TdxBarPopupMenu::Popup(int x, int y)
{
    if (IsShown() || !manager_) return;
    // Whoever holds the mouse lets it go: the menu takes the input now.
    TdxBarWindowServices& services = dxBarWindowServices();
    services.ReleaseMouseCapture();
    auto wait = std::make_shared<TPopupWait>();
    QPointer<TdxBarPopupMenu> self(this);
    const bool shown = services.ShowPopupMenu(this, x, y, [self, wait] {
        wait->closed = true;
        if (wait->loop) wait->loop->Stop();
        if (self) {
            self->wait_.reset();
            self->DoCloseUp();
        }
    });
    if (!shown || wait->closed || !self) return;
    const std::unique_ptr<TdxBarModalWait> loop = services.CreateModalWait();
    if (!loop) return;
    wait_ = wait;
    wait->loop = loop.get();
    // Ends when the window closes, when this menu is freed, or when the application quits.
    loop->Run();
    wait->loop = nullptr;
    if (self) wait_.reset();
}
