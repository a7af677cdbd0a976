#include "dxBarSystemMenuControl.h"

#include "Forms.h"
#include "SystemMenu.h"
#include "dxBarCustomControl.h"
#include "dxBarInternalItems.h"
#include "dxBarItemLink.h"

#include <QPainter>
#include <QPointer>

namespace {

// The system's small-icon size.
constexpr int SmallIconSize = 16;

}  // namespace

void dxBarRegisterSystemMenuControl()
{
    TSystemMenuSubItemControlClass.factory = [](TdxBarItemLink* link) -> TdxBarItemControl* {
        return new TSystemMenuSubItemControl(link);
    };
}

void dxBarUnregisterSystemMenuControl()
{
    TSystemMenuSubItemControlClass.factory = nullptr;
}

bool TSystemMenuSubItemControl::CanSelect() const
{
    TCustomdxBarControl* parent = Parent();
    return !(parent && parent->IsCustomizing()) && TdxBarSubItemControl::CanSelect();
}

void TSystemMenuSubItemControl::DblClick()
{
    auto* item = qobject_cast<TSystemMenuSubItem*>(SubItem());
    const QPointer<TSystemMenuSubItem> guard(item);
    if (TCustomdxBarControl* parent = Parent()) parent->HideAll();
    if (guard) guard->RunDefaultCommand();
}

int TSystemMenuSubItemControl::GetDefaultWidth()
{
    return SmallIconSize + 6;
}

void TSystemMenuSubItemControl::Draw(TCanvas& p, const TRect& r, int paintType)
{
    if (r.Width() <= 0) return;
    DrawButtonInBar(p, r, paintType, false, false, false, false, true);
    auto* item = qobject_cast<TSystemMenuSubItem*>(SubItem());
    TCustomForm* child = item ? item->Child() : nullptr;
    QImage icon = child ? child->SmallIcon() : QImage();
    // A window without an icon of its own shows a small window.
    if (icon.isNull()) icon = StandardMenuBitmap(HBMMENU_POPUP_MAXIMIZE);
    const int x = r.Left + (r.Width() - SmallIconSize) / 2, y = r.Top + (r.Height() - SmallIconSize) / 2;
    p.drawImage(QRect(x, y, SmallIconSize, SmallIconSize), icon);
}
