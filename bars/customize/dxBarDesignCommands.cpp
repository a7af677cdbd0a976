#include "dxBarDesignCommands.h"

#include "Dialogs.h"
#include "ExtCtrls.h"
#include "Keys.h"
#include "ListBoxes.h"
#include "StdCtrls.h"
#include "dxBarCategories.h"
#include "dxBarCheckableButton.h"
#include "dxBarCommandsListBox.h"
#include "dxBarCommandsPage.h"
#include "dxBarCustomizingForm.h"
#include "dxBarDesignRules.h"
#include "dxBarDesigner.h"
#include "dxBarItemAddEditor.h"
#include "dxBarItemLink.h"
#include "dxBarItems.h"
#include "dxBarManager.h"
#include "dxBarNameEd.h"
#include "dxBarPopupMenu.h"
#include "dxBarRegistry.h"
#include "dxBarStrs.h"
#include "dxBarSubMenuEditor.h"

#include <QCursor>
#include <QListWidget>
#include <QPointer>

namespace {

// The values of the Items Visible entry, in TdxBarItemVisible order.
const char* const itemsVisibleTexts[] = {"ivNever", "ivInCustomizing", "ivAlways"};

}  // namespace

TdxBarDesignCommands::TdxBarDesignCommands(TdxBarCustomizingForm& form) : TdxBarCustomizingPage(form) {}

TTabSheet* TdxBarDesignCommands::Sheet() const
{
    return Form().TabSheet2;
}

TListBox* TdxBarDesignCommands::Categories() const
{
    return Form().LCategories;
}

void TdxBarDesignCommands::Build()
{
    TdxBarCustomizingForm& form = Form();
    TdxBarManager* manager = Manager();
    if (manager && manager->IsDesigning() && form.BarManager1) {
        MakeMenus();
        MakeButtons();
        Categories()->SetOnKeyDown(TKeyEvent(this, &TdxBarDesignCommands::CategoriesKeyDown));
        Categories()->SetOnMouseDown(TMouseEvent(this, &TdxBarDesignCommands::CategoriesMouseDown));
        Categories()->SetOnMouseUp(TMouseEvent(this, &TdxBarDesignCommands::CategoriesMouseUp));
        if (TCommandsListBox* list = form.CommandsPage()->CommandsList()) {
            list->SetOnKeyDown(TKeyEvent(this, &TdxBarDesignCommands::CommandsKeyDown));
            list->SetOnMouseUp(TMouseEvent(this, &TdxBarDesignCommands::CommandsMouseUp));
        }
    }
    // The placeholders go in any case.
    delete std::exchange(form.CategoriesModifyPlace, nullptr);
    delete std::exchange(form.CommandsModifyPlace, nullptr);
}

void TdxBarDesignCommands::MakeMenus()
{
    TdxBarCustomizingForm& form = Form();
    TdxBarManager* own = form.BarManager1;
    auto menu = [&form, own] {
        auto* popup = new TdxBarPopupMenu(&form);
        popup->SetBarManager(own);
        return popup;
    };
    auto entry = [&form, own](TdxBarPopupMenu* popup, int text, TNotifyEvent click, bool beginGroup = false) {
        auto* button = new TdxBarButton(&form);
        button->SetBarManager(own);
        button->SetCaption(dxBarStr(text));
        button->SetOnClick(click);
        TdxBarItemLink* link = popup->ItemLinks()->Add();
        link->SetItem(button);
        link->SetBeginGroup(beginGroup);
        return button;
    };
    using Self = TdxBarDesignCommands;
    form.CategoriesPopupMenu = menu();
    form.CategoriesPopupMenu->OnPopup = TNotifyEvent(this, &Self::CategoriesPopup);
    categoryEntries_[ceAdd] = entry(form.CategoriesPopupMenu, dxSBAR_ADD, TNotifyEvent(this, &Self::CategoryAdd));
    categoryEntries_[ceInsert] =
        entry(form.CategoriesPopupMenu, dxSBAR_INSERT, TNotifyEvent(this, &Self::CategoryInsert));
    categoryEntries_[ceRename] =
        entry(form.CategoriesPopupMenu, dxSBAR_RENAME, TNotifyEvent(this, &Self::CategoryRename));
    categoryEntries_[ceVisible] =
        entry(form.CategoriesPopupMenu, dxSBAR_VISIBLE, TNotifyEvent(this, &Self::CategoryVisible), true);
    categoryEntries_[ceVisible]->SetButtonStyle(bsChecked);
    itemsVisible_ = new TdxBarCombo(&form);
    itemsVisible_->SetBarManager(own);
    itemsVisible_->SetCaption(QStringLiteral("Items Visible"));
    itemsVisible_->SetShowCaption(true);
    for (const char* text : itemsVisibleTexts) itemsVisible_->Items()->Add(QString::fromLatin1(text));
    itemsVisible_->OnChange = TNotifyEvent(this, &Self::CategoryItemsVisible);
    form.CategoriesPopupMenu->ItemLinks()->Add()->SetItem(itemsVisible_);
    categoryEntries_[ceDelete] =
        entry(form.CategoriesPopupMenu, dxSBAR_DELETE, TNotifyEvent(this, &Self::CategoryDelete), true);

    form.CommandsPopupMenu = menu();
    form.CommandsPopupMenu->OnPopup = TNotifyEvent(this, &Self::CommandsPopup);
    commandEntries_[cmAdd] = entry(form.CommandsPopupMenu, dxSBAR_ADD, TNotifyEvent(this, &Self::CommandAdd));
    commandEntries_[cmDelete] = entry(form.CommandsPopupMenu, dxSBAR_DELETE, TNotifyEvent(this, &Self::CommandDelete));
    commandEntries_[cmClear] = entry(form.CommandsPopupMenu, dxSBAR_CLEAR, TNotifyEvent(this, &Self::CommandClear));
    commandEntries_[cmMoveUp] =
        entry(form.CommandsPopupMenu, dxSBAR_MOVEUP, TNotifyEvent(this, &Self::CommandMoveUp), true);
    commandEntries_[cmMoveDown] =
        entry(form.CommandsPopupMenu, dxSBAR_MOVEDOWN, TNotifyEvent(this, &Self::CommandMoveDown));
    commandEntries_[cmSubMenuEditor] =
        entry(form.CommandsPopupMenu, dxSBAR_SUBMENUEDITOR, TNotifyEvent(this, &Self::CommandSubMenuEditor), true);
}

void TdxBarDesignCommands::MakeButtons()
{
    TdxBarCustomizingForm& form = Form();
    auto make = [&form](TPanel* place, TdxBarPopupMenu* menu) {
        auto* button = new TCheckableButton(&form);
        button->SetParent(place->Parent());
        button->SetBounds(place->Left(), place->Top(), place->Width(), place->Height());
        button->SetCaption(dxBarStr(dxSBAR_MODIFY));
        button->SetPopupMenu(menu);
        return button;
    };
    form.CategoriesModifyButton = make(form.CategoriesModifyPlace, form.CategoriesPopupMenu);
    form.CommandsModifyButton = make(form.CommandsModifyPlace, form.CommandsPopupMenu);
}

void TdxBarDesignCommands::StyleChanged()
{
    TdxBarManager* manager = Manager();
    if (TdxBarManager* own = Form().BarManager1; own && manager) own->SetStyle(manager->Style());
}

// --- categories

void TdxBarDesignCommands::ListCategories(int line)
{
    TdxBarManager* manager = Manager();
    TListBox* categories = Categories();
    if (!manager) return;
    categories->Items()->Assign(manager->Categories());
    categories->SetItemIndex(std::min(line, categories->Items()->Count() - 1));
    Form().CommandsPage()->LCategoriesClick(categories);
    if (categories->CanFocus()) categories->SetFocus();
}

void TdxBarDesignCommands::CategoriesPopup(TObject*)
{
    const TdxBarCategoryMenuState state = dxBarCategoryMenuState(Manager(), Form().CommandsPage()->SelectedCategory());
    categoryEntries_[ceInsert]->SetEnabled(state.Insert);
    categoryEntries_[ceRename]->SetEnabled(state.Rename);
    categoryEntries_[ceVisible]->SetEnabled(state.Visible);
    categoryEntries_[ceVisible]->SetDown(state.VisibleDown);
    itemsVisible_->SetEnabled(state.ItemsVisible);
    itemsVisible_->SetItemIndex(state.ItemsVisible ? state.ItemsVisibleValue : -1);
    categoryEntries_[ceDelete]->SetEnabled(state.Delete);
}

void TdxBarDesignCommands::AskCategoryName(int mode)
{
    TdxBarManager* manager = Manager();
    if (!manager) return;
    const int category = Form().CommandsPage()->SelectedCategory();
    const auto nameMode = TdxBarNameMode(mode);
    if (nameMode != TdxBarNameMode::New && category < 0) return;
    QString name = nameMode == TdxBarNameMode::RenameCategory ? manager->Categories()->Strings(category) : QString();
    QPointer<TdxBarManager> guard(manager);
    if (!dxBarShowNameEditor(name, TdxBarNameKind::Category, nameMode, nullptr, manager, Form().Font(),
                             Form().Handle()) ||
        !guard)
        return;
    int line = category;
    switch (nameMode) {
    case TdxBarNameMode::New:
        manager->Categories()->Add(name);
        line = manager->CategoryCount() - 1;
        break;
    case TdxBarNameMode::Insert: manager->Categories()->Insert(category, name); break;
    default: manager->Categories()->Put(category, name); break;
    }
    ListCategories(line);
}

void TdxBarDesignCommands::CategoryAdd(TObject*)
{
    AskCategoryName(int(TdxBarNameMode::New));
}

void TdxBarDesignCommands::CategoryInsert(TObject*)
{
    AskCategoryName(int(TdxBarNameMode::Insert));
}

void TdxBarDesignCommands::CategoryRename(TObject*)
{
    AskCategoryName(int(TdxBarNameMode::RenameCategory));
}

void TdxBarDesignCommands::CategoryVisible(TObject*)
{
    TdxBarManager* manager = Manager();
    const int category = Form().CommandsPage()->SelectedCategory();
    if (manager && category >= 0) manager->SetCategoryVisible(category, !manager->GetCategoryVisible(category));
}

void TdxBarDesignCommands::CategoryItemsVisible(TObject*)
{
    TdxBarManager* manager = Manager();
    const int category = Form().CommandsPage()->SelectedCategory();
    const int value = itemsVisible_->ItemIndex();
    if (manager && category >= 0 && value >= 0 && value <= int(ivAlways))
        manager->SetCategoryItemsVisible(category, TdxBarItemVisible(value));
}

void TdxBarDesignCommands::CategoryDelete(TObject*)
{
    TdxBarManager* manager = Manager();
    const int category = Form().CommandsPage()->SelectedCategory();
    if (!manager || category < 0 || manager->CategoryCount() < 2) return;
    QPointer<TdxBarManager> guard(manager);
    if (MessageBox(dxBarFormat(dxBarStr(dxSBAR_CONFIRMDELETECATEGORY), manager->Categories()->Strings(category)),
                   QString(), MB_OKCANCEL | MB_ICONEXCLAMATION) != IDOK ||
        !guard)
        return;
    manager->Categories()->Delete(category);
    ListCategories(category);
}

void TdxBarDesignCommands::MoveCategory(int from, int to)
{
    TdxBarManager* manager = Manager();
    if (!manager || from == to || from < 0 || to < 0 || from >= manager->CategoryCount() ||
        to >= manager->CategoryCount())
        return;
    manager->Categories()->Move(from, to);
    ListCategories(to);
}

void TdxBarDesignCommands::CategoriesKeyDown(TObject*, int& key, TShiftState shift)
{
    if (shift & (ssShift | ssCtrl | ssAlt)) return;
    if (key == VK_INSERT) {
        key = 0;
        CategoryInsert(nullptr);
    } else if (key == VK_DELETE) {
        key = 0;
        CategoryDelete(nullptr);
    }
}

void TdxBarDesignCommands::CategoriesMouseDown(TObject* sender, TMouseButton button, TShiftState shift, int x, int y)
{
    Form().CommandsPage()->CategoriesMouseDown(sender, button, shift, x, y);
    dragLine_ = button == mbLeft ? Categories()->ItemAtPos(QPoint(x, y), true) : -1;
}

void TdxBarDesignCommands::CategoriesMouseUp(TObject*, TMouseButton button, TShiftState, int x, int y)
{
    if (button != mbLeft) return;
    const int from = std::exchange(dragLine_, -1);
    const int to = Categories()->ItemAtPos(QPoint(x, y), true);
    if (from >= 0 && to >= 0 && from != to) MoveCategory(from, to);
}

bool TdxBarDesignCommands::DragOver(TdxBarItem* item, const QPoint& screen, int& cursor)
{
    TListBox* categories = Categories();
    QListWidget* widget = categories->ListWidget();
    if (!item || !widget) return false;
    QWidget* viewport = widget->viewport();
    const QPoint local = viewport->mapFromGlobal(screen);
    const bool over = viewport->isVisible() && viewport->rect().contains(local);
    const int own = item->Category();
    if (!over) {
        // Leaving the list: the item's own category is selected again.
        if (std::exchange(dragOver_, false)) categories->SetItemIndex(own);
        return false;
    }
    dragOver_ = true;
    const int line = categories->ItemAtPos(local, true);
    categories->SetItemIndex(line >= 0 ? line : own);
    cursor = line >= 0 ? crdxBarDrag : crdxBarDragNoDrop;
    return true;
}

bool TdxBarDesignCommands::DragEnd(TdxBarItem* item, bool dropped)
{
    TdxBarManager* manager = Manager();
    if (!std::exchange(dragOver_, false) || !item || !manager) return false;
    const int category = Form().CommandsPage()->SelectedCategory();
    if (!dropped || category < 0 || category == item->Category()) {
        Categories()->SetItemIndex(item->Category());
        return dropped;
    }
    // After the category's last item (or at the end of the list).
    int last = -1;
    for (int i = 0; i < manager->ItemCount(); ++i)
        if (manager->GetItem(i)->Category() == category) last = i;
    const int from = item->Index();
    int to = last < 0 ? manager->ItemCount() - 1 : (last < from ? last + 1 : last);
    if (from >= 0 && to != from) manager->MoveItem(from, to);
    item->SetCategory(category);
    return true;
}

// --- commands

void TdxBarDesignCommands::CommandsPopup(TObject*)
{
    TCommandsListBox* list = Form().CommandsPage()->CommandsList();
    if (!list) return;
    const TdxBarCommandsMenuState state =
        dxBarCommandsMenuState(list->Items()->Count(), list->ItemIndex(), list->SelectedItem());
    commandEntries_[cmDelete]->SetEnabled(state.Delete);
    commandEntries_[cmClear]->SetEnabled(state.Clear);
    commandEntries_[cmMoveUp]->SetEnabled(state.MoveUp);
    commandEntries_[cmMoveDown]->SetEnabled(state.MoveDown);
    commandEntries_[cmSubMenuEditor]->SetEnabled(state.SubMenuEditor);
}

void TdxBarDesignCommands::CommandAdd(TObject*)
{
    TdxBarManager* manager = Manager();
    if (!manager) return;
    const QPointer<TdxBarCustomizingForm> form(&Form());
    TdxBarItem* item =
        dxBarShowItemAddEditor(manager, Form().CommandsPage()->SelectedCategory(), Form().Font(), Form().Handle());
    if (item && form) form->SelectItem(item, true);
}

void TdxBarDesignCommands::CommandDelete(TObject*)
{
    TCommandsListBox* list = Form().CommandsPage()->CommandsList();
    if (TdxBarItem* item = list ? list->SelectedItem() : nullptr) dxBarDesigner().DeleteComponent(item);
}

void TdxBarDesignCommands::CommandClear(TObject*)
{
    TdxBarManager* manager = Manager();
    const int category = Form().CommandsPage()->SelectedCategory();
    TCommandsListBox* list = Form().CommandsPage()->CommandsList();
    if (!manager || category < 0 || !list || list->Items()->Count() == 0) return;
    QPointer<TdxBarManager> guard(manager);
    if (MessageBox(dxBarFormat(dxBarStr(dxSBAR_CONFIRMCLEARCATEGORY), manager->Categories()->Strings(category)),
                   QString(), MB_OKCANCEL | MB_ICONEXCLAMATION) != IDOK ||
        !guard)
        return;
    QList<TdxBarItem*> items;
    manager->GetAllItemsByCategory(category, items);
    QList<QPointer<TdxBarItem>> guarded(items.begin(), items.end());
    for (const QPointer<TdxBarItem>& item : guarded)
        if (item) dxBarDesigner().DeleteComponent(item);
}

void TdxBarDesignCommands::MoveCommand(int delta)
{
    TdxBarManager* manager = Manager();
    TCommandsListBox* list = Form().CommandsPage()->CommandsList();
    if (!manager || !list) return;
    const int line = list->ItemIndex(), other = line + delta;
    if (line < 0 || other < 0 || other >= list->Items()->Count()) return;
    TdxBarItem* item = list->Item(line);
    TdxBarItem* neighbour = list->Item(other);
    const int i1 = item ? item->Index() : -1, i2 = neighbour ? neighbour->Index() : -1;
    if (i1 < 0 || i2 < 0) return;
    manager->ExchangeItems(i1, i2);
    list->Items()->Exchange(line, other);
    list->SetItemIndex(other);
}

void TdxBarDesignCommands::CommandMoveUp(TObject*)
{
    MoveCommand(-1);
}

void TdxBarDesignCommands::CommandMoveDown(TObject*)
{
    MoveCommand(1);
}

void TdxBarDesignCommands::CommandSubMenuEditor(TObject*)
{
    TCommandsListBox* list = Form().CommandsPage()->CommandsList();
    auto* sub = qobject_cast<TCustomdxBarSubItem*>(list ? list->SelectedItem() : nullptr);
    if (sub) dxBarShowSubMenuEditor(sub->ItemLinks());
}

void TdxBarDesignCommands::CommandsKeyDown(TObject*, int& key, TShiftState shift)
{
    const bool ctrl = (shift & ssCtrl) && !(shift & (ssShift | ssAlt));
    if (ctrl && (key == VK_UP || key == VK_DOWN)) {
        const int delta = key == VK_UP ? -1 : 1;
        key = 0;
        MoveCommand(delta);
        return;
    }
    if (shift & (ssShift | ssCtrl | ssAlt)) return;
    if (key == VK_INSERT) {
        key = 0;
        CommandAdd(nullptr);
    } else if (key == VK_DELETE) {
        key = 0;
        CommandDelete(nullptr);
    }
}

void TdxBarDesignCommands::CommandsMouseUp(TObject*, TMouseButton button, TShiftState, int, int)
{
    TdxBarPopupMenu* menu = Form().CommandsPopupMenu;
    TCommandsListBox* list = Form().CommandsPage()->CommandsList();
    if (button != mbRight || !menu || !list || list->ItemIndex() < 0) return;
    const QPoint at = QCursor::pos();
    menu->Popup(at.x(), at.y());
}
