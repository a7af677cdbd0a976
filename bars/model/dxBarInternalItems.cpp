#include "dxBarInternalItems.h"

#include "Forms.h"
#include "Keys.h"
#include "SystemMenu.h"
#include "dxBarItemLink.h"
#include "dxBarTempItems.h"

void TdxBarQuickCustItem::Click()
{
    QPointer<TdxBarQuickCustItem> self(this);
    QPointer<TdxBarItemLink> clicked = ClickItemLink();
    TdxBarButton::Click();
    if (!self || !clicked) return;
    if (TdxBarItemLink* target = TargetLink(clicked)) target->SetVisible(!target->Visible());
}

// ---------------------------------------------------------------- the MDI system menu

namespace {

// A button of the menu that a separator starts a group before.
void AddEntry(TdxBarItemLinks* links, TdxBarItem* item, bool beginGroup)
{
    TdxBarItemLink* link = links->Add();
    link->SetItem(item);
    if (beginGroup) link->SetBeginGroup(true);
}

}  // namespace

TCustomForm* TSystemMenuSubItem::Child() const
{
    return qobject_cast<TCustomForm*>(child_.data());
}

void TSystemMenuSubItem::SetChild(TCustomForm* child)
{
    child_ = child;
}

void TSystemMenuSubItem::Popup()
{
    TdxBarItemLinks* links = ItemLinks();
    if (links) {
        TdxBarManager* manager = BarManager();
        links->Clear();
        TCustomForm* child = Child();
        TSystemMenu* menu = child ? child->SystemMenu() : nullptr;
        const std::vector<TSystemMenuEntry> entries = menu ? menu->Entries() : std::vector<TSystemMenuEntry>{};
        bool group = false;
        for (const TSystemMenuEntry& e : entries) {
            if (e.Separator) {
                group = true;
                continue;
            }
            auto* button = dxBarCreateTempItem<TdxBarButton>(manager);
            const qsizetype tab = e.Text.indexOf(QLatin1Char('\t'));
            button->SetCaption(tab < 0 ? e.Text : e.Text.left(tab));
            if (tab >= 0) button->SetShortCut(TextToShortCut(e.Text.mid(tab + 1)));
            button->SetTag(e.Id);
            button->SetEnabled(!e.Grayed);
            if (e.Checked) {
                button->SetButtonStyle(bsChecked);
                button->SetDown(true);
            }
            if (const QImage glyph = StandardMenuBitmap(e.Bitmap); !glyph.isNull()) button->Glyph()->SetImage(glyph);
            button->SetOnClick(TNotifyEvent(this, &TSystemMenuSubItem::EntryClick));
            AddEntry(links, button, group);
            group = false;
        }
    }
    TCustomdxBarSubItem::Popup();
}

void TSystemMenuSubItem::EntryClick(TObject* sender)
{
    if (auto* item = qobject_cast<TComponent*>(sender)) PostCommand(item->Tag());
}

void TSystemMenuSubItem::PostCommand(int id) const
{
    PostSysCommand(Child(), id);
}

void TSystemMenuSubItem::RunDefaultCommand() const
{
    TCustomForm* child = Child();
    if (TSystemMenu* menu = child ? child->SystemMenu() : nullptr) PostCommand(menu->DefaultCommand());
}
