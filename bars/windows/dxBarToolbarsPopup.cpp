#include "dxBarToolbarsPopup.h"

#include "Application.h"
#include "Dialogs.h"
#include "dxBarItemLink.h"
#include "dxBarItems.h"
#include "dxBarManager.h"
#include "dxBarStrs.h"
#include "dxBarTempItems.h"

TdxBarOwnLinks::TdxBarOwnLinks(TdxBarManager* manager) : ownLinks_(std::make_unique<TdxBarItemLinks>(manager, nullptr))
{
    dxBarFreeUnusedTempItems();
}

TdxBarOwnLinks::~TdxBarOwnLinks() = default;

TdxBarToolbarsPopup::TdxBarToolbarsPopup(TdxBarManager* manager)
    : TdxBarOwnLinks(manager), TdxBarSubMenuControl(manager)
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

// ---------------------------------------------------------------- the customizing popup

namespace {

QPointer<TdxBarCustomizingPopup> openCustomizingPopup;
// The link the customizing popup edits; it outlives the popup, which a click closes before
// the command runs.
QPointer<TdxBarItemLink> customizingItemLink;

// The entries' commands: an entry's click (by its Tag) and the name edit's change.
class TCustomizingPopupCommands : public QObject {
public:
    void EntryClick(TObject* sender);
    void NameChange(TObject* sender);
};

TCustomizingPopupCommands& Commands()
{
    static TCustomizingPopupCommands commands;
    return commands;
}

struct TEntry {
    int textId;
    bool edit;
    bool checked;
    bool paintStyle;
    bool beginsGroup;
};

constexpr TEntry kEntries[] = {
    {dxSBAR_CP_RESET, false, false, false, false},        {dxSBAR_CP_DELETE, false, false, false, false},
    {dxSBAR_CP_NAME, true, false, false, true},           {dxSBAR_CP_DEFAULTSTYLE, false, true, true, true},
    {dxSBAR_CP_TEXTONLYALWAYS, false, true, true, false}, {dxSBAR_CP_TEXTONLYINMENUS, false, true, true, false},
    {dxSBAR_CP_IMAGEANDTEXT, false, true, true, false},   {dxSBAR_CP_BEGINAGROUP, false, true, false, true},
    {dxSBAR_CP_VISIBLE, false, true, false, false},       {dxSBAR_CP_MOSTRECENTLYUSED, false, true, false, false},
};

}  // namespace

TdxBarCustomizingPopup::TdxBarCustomizingPopup(TdxBarManager* manager)
    : TdxBarOwnLinks(manager), TdxBarSubMenuControl(manager)
{
    SetAnimate(false);
    SetItemLinks(ownLinks_.get());
    // Design time adds the visibility, and recent use where menus show recent items.
    int count = Visible;
    if (manager->IsDesigning()) count = manager->Style() == bmsStandard ? Visible + 1 : MostRecentlyUsed + 1;
    for (int tag = 0; tag < count; ++tag) {
        const TEntry& entry = kEntries[tag];
        TdxBarItem* item = nullptr;
        if (entry.edit) {
            item = dxBarCreateTempItem<TdxBarEdit>(manager);
        } else {
            auto* button = dxBarCreateTempItem<TdxBarButton>(manager);
            if (entry.checked) button->SetButtonStyle(bsChecked);
            if (entry.paintStyle) button->SetGroupIndex(-1000);
            item = button;
        }
        item->SetCaption(dxBarStr(entry.textId));
        item->SetTag(tag);
        if (!entry.edit) item->SetOnClick(TNotifyEvent(&Commands(), &TCustomizingPopupCommands::EntryClick));
        TdxBarItemLink* link = ownLinks_->Add();
        link->SetItem(item);
        link->SetBeginGroup(entry.beginsGroup);
    }
    manager->DoShowCustomizingPopup(ownLinks_.get());
}

TdxBarItem* TdxBarCustomizingPopup::Entry(int tag) const
{
    for (int i = 0; i < ownLinks_->Count(); ++i)
        if (TdxBarItem* item = ownLinks_->Items(i)->Item(); item && item->Tag() == tag) return item;
    return nullptr;
}

TdxBarItemLink* TdxBarCustomizingPopup::ItemLink() const
{
    return customizingItemLink;
}

void TdxBarCustomizingPopup::SetItemLink(TdxBarItemLink* link)
{
    customizingItemLink = link;
    if (!link) return;
    if (auto* name = qobject_cast<TdxBarEdit*>(Entry(Name))) {
        name->OnChange = {};
        name->SetText(link->UserDefine().testFlag(udCaption) ? link->UserCaption()
                                                             : (link->Item() ? link->Item()->Caption() : QString()));
        name->OnChange = TNotifyEvent(&Commands(), &TCustomizingPopupCommands::NameChange);
    }
    const bool styles = qobject_cast<TdxBarButton*>(link->Item()) != nullptr;
    const int checkedStyle = styles ? DefaultStyle + int(link->PaintStyle()) : DefaultStyle;
    for (int tag = DefaultStyle; tag <= ImageAndText; ++tag)
        if (auto* entry = qobject_cast<TdxBarButton*>(Entry(tag))) {
            entry->SetEnabled(styles);
            entry->SetDown(tag == checkedStyle);
        }
    if (auto* group = qobject_cast<TdxBarButton*>(Entry(BeginGroup))) {
        group->SetEnabled(link->Index() > 0);
        group->SetDown(link->BeginGroup());
    }
    if (auto* visible = qobject_cast<TdxBarButton*>(Entry(Visible))) visible->SetDown(link->Visible());
    if (auto* recent = qobject_cast<TdxBarButton*>(Entry(MostRecentlyUsed))) recent->SetDown(link->MostRecentlyUsed());
}

void TCustomizingPopupCommands::EntryClick(TObject* sender)
{
    auto* item = qobject_cast<TdxBarItem*>(sender);
    TdxBarItemLink* link = customizingItemLink;
    if (!item || !link) return;
    switch (item->Tag()) {
    case TdxBarCustomizingPopup::Reset: link->SetUserDefine({}); break;
    case TdxBarCustomizingPopup::Delete:
        customizingItemLink = nullptr;
        delete link;
        break;
    case TdxBarCustomizingPopup::DefaultStyle:
    case TdxBarCustomizingPopup::TextOnlyAlways:
    case TdxBarCustomizingPopup::TextOnlyInMenus:
    case TdxBarCustomizingPopup::ImageAndText:
        link->SetUserPaintStyle(TdxBarPaintStyle(item->Tag() - TdxBarCustomizingPopup::DefaultStyle));
        break;
    case TdxBarCustomizingPopup::BeginGroup: link->SetBeginGroup(!link->BeginGroup()); break;
    case TdxBarCustomizingPopup::Visible: link->SetVisible(!link->Visible()); break;
    case TdxBarCustomizingPopup::MostRecentlyUsed: link->SetMostRecentlyUsed(!link->MostRecentlyUsed()); break;
    default: break;
    }
}

void TCustomizingPopupCommands::NameChange(TObject* sender)
{
    auto* edit = qobject_cast<TdxBarEdit*>(sender);
    TdxBarItemLink* link = customizingItemLink;
    if (!edit || !link) return;
    if (!edit->Text().isEmpty()) {
        link->SetUserCaption(edit->Text());
        return;
    }
    // A command needs a name: the popup closes and the old caption stays.
    if (openCustomizingPopup) openCustomizingPopup->Close();
    const QString title = Application ? Application->Title() : QString();
    MessageBox(dxBarStr(dxSBAR_COMMANDNAMEBLANK), title, MB_ICONERROR);
}

TdxBarCustomizingPopup* dxBarCustomizingPopup()
{
    return openCustomizingPopup;
}

TdxBarCustomizingPopup* dxBarShowCustomizingPopup(TdxBarManager* manager, TdxBarItemControl* control,
                                                  const TPoint& screen)
{
    if (!manager || !control || !control->ItemLink()) return nullptr;
    if (openCustomizingPopup) openCustomizingPopup->Close();
    QPointer<TdxBarItemControl> guard(control);
    QPointer<TdxBarCustomizingPopup> popup = new TdxBarCustomizingPopup(manager);
    openCustomizingPopup = popup;
    if (!guard) {
        popup->Close();
        return nullptr;
    }
    popup->SetItemLink(control->ItemLink());
    popup->SetPosition(screen.x(), screen.y());
    popup->Show();
    return popup;
}

bool dxBarIsLibraryPopupLinks(const TdxBarItemLinks* links)
{
    return links && dynamic_cast<const TdxBarOwnLinks*>(links->BarControl()) != nullptr;
}
