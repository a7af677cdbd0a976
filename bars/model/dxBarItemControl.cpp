// What an item control answers from its link and its item alone. What depends on the bar
// window showing the control is the windows library's (bars/windows/dxBarItemControl.cpp).
#include "dxBarItemControl.h"

#include "ImgList.h"
#include "dxBarItem.h"
#include "dxBarItemLink.h"
#include "dxBarManager.h"

TdxBarItemLink* TdxBarItemControl::ItemLink() const
{
    return static_cast<TdxBarItemLink*>(link_.data());
}

TdxBarItem* TdxBarItemControl::Item() const
{
    return ItemLink() ? ItemLink()->Item() : nullptr;
}

TdxBarManager* TdxBarItemControl::BarManager() const
{
    return ItemLink() ? ItemLink()->BarManager() : nullptr;
}

void TdxBarItemControl::SetPressed(bool value)
{
    if (value == pressed_) return;
    pressed_ = value;
    PressedChanged();
}

bool TdxBarItemControl::HasGlyph() const
{
    TBitmap* glyph = GetGlyph();
    return (glyph && !glyph->Empty()) || HasImage();
}

bool TdxBarItemControl::HasImage() const
{
    TCustomImageList* images = GetImages();
    const int index = GetImageIndex();
    return images && index >= 0 && index < images->Count();
}

TdxBarPaintStyle TdxBarItemControl::RealPaintStyle() const
{
    return ItemLink() ? ItemLink()->PaintStyle() : psStandard;
}

// The manager is this link's, or an inherited (ancestor) component.
bool TdxBarItemControl::CanCustomize() const
{
    TdxBarItem* item = Item();
    TdxBarManager* manager = BarManager();
    if (!item) return false;
    return item->BarManager() == manager || (manager && (manager->ComponentState() & csAncestor));
}

QString TdxBarItemControl::GetCaption() const
{
    return ItemLink() ? ItemLink()->Caption() : QString();
}

bool TdxBarItemControl::GetEnabled() const
{
    return Item() && Item()->Enabled();
}

TBitmap* TdxBarItemControl::GetGlyph() const
{
    return ItemLink() ? ItemLink()->Glyph() : nullptr;
}

int TdxBarItemControl::GetImageIndex() const
{
    return Item() ? Item()->ImageIndex() : -1;
}

TCustomImageList* TdxBarItemControl::GetImages() const
{
    return BarManager() ? BarManager()->Images() : nullptr;
}

QString TdxBarItemControl::GetHint() const
{
    return Item() ? Item()->Hint() : QString();
}

TCustomImageList* TdxBarItemControl::GetHotImages() const
{
    return BarManager() ? BarManager()->HotImages() : nullptr;
}

TCustomImageList* TdxBarItemControl::GetLargeImages() const
{
    return BarManager() ? BarManager()->LargeImages() : nullptr;
}

TShortCut TdxBarItemControl::GetShortCut() const
{
    return Item() ? Item()->ShortCut() : TShortCut(0);
}

bool TdxBarItemControl::HandlesDblClick() const
{
    return (BarManager() && BarManager()->IsDesigning()) || IsExpandable();
}
