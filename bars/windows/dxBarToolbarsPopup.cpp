#include "dxBarToolbarsPopup.h"

#include "dxBarItemLink.h"
#include "dxBarManager.h"
#include "dxBarTempItems.h"

TdxBarOwnLinks::TdxBarOwnLinks(TdxBarManager* manager) : ownLinks_(std::make_unique<TdxBarItemLinks>(manager, nullptr))
{
    dxBarFreeUnusedTempItems();
}

TdxBarOwnLinks::~TdxBarOwnLinks() = default;

TdxBarToolbarsPopup::TdxBarToolbarsPopup(TdxBarManager* manager) : TdxBarOwnLinks(manager), TdxBarSubMenuControl(manager)
{
    SetItemLinks(ownLinks_.get());
    manager->CreateToolbarsListItems(ownLinks_.get());
}

TdxBarToolbarsPopup* dxBarShowToolbarsPopup(TdxBarManager* manager, const TPoint& screen)
{
    if (!manager) return nullptr;
    QPointer<TdxBarToolbarsPopup> popup = new TdxBarToolbarsPopup(manager);
    if (!popup->ItemLinks() || popup->ItemLinks()->Count() == 0) {
        popup->Close();
        return nullptr;
    }
    if (TCustomdxBarControl* active = dxBarActiveBarControl(); active && active != popup) active->HideAll();
    if (!popup) return nullptr;
    popup->SetPosition(screen.x(), screen.y());
    popup->SetAnimate(true);
    popup->Show();
    return popup;
}

bool dxBarIsLibraryPopupLinks(const TdxBarItemLinks* links)
{
    return links && dynamic_cast<const TdxBarOwnLinks*>(links->BarControl()) != nullptr;
}
