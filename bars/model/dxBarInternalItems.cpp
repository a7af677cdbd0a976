#include "dxBarInternalItems.h"

#include "dxBarItemLink.h"

void TdxBarQuickCustItem::Click()
{
    QPointer<TdxBarQuickCustItem> self(this);
    QPointer<TdxBarItemLink> clicked = ClickItemLink();
    TdxBarButton::Click();
    if (!self || !clicked) return;
    if (TdxBarItemLink* target = TargetLink(clicked)) target->SetVisible(!target->Visible());
}
