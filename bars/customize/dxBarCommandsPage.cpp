#include "dxBarCommandsPage.h"

#include "ExtCtrls.h"
#include "ListBoxes.h"
#include "Painting.h"
#include "Scope.h"
#include "StdCtrls.h"
#include "dxBarCategories.h"
#include "dxBarCommandsListBox.h"
#include "dxBarCustomizingForm.h"
#include "dxBarItem.h"
#include "dxBarManager.h"
#include "dxBarStrs.h"

#include <QListWidget>
#include <algorithm>

TdxBarCommandsPage::TdxBarCommandsPage(TdxBarCustomizingForm& form) : TdxBarCustomizingPage(form) {}

TTabSheet* TdxBarCommandsPage::Sheet() const
{
    return Form().TabSheet2;
}

TCommandsListBox* TdxBarCommandsPage::CommandsList() const
{
    return list_;
}

TListBox* TdxBarCommandsPage::Categories() const
{
    return Form().LCategories;
}

void TdxBarCommandsPage::Build()
{
    TdxBarCustomizingForm& form = Form();
    TdxBarManager* manager = Manager();
    form.LabelCategories->SetCaption(dxBarStr(dxSBAR_CATEGORIES));
    form.LabelCommands->SetCaption(dxBarStr(dxSBAR_COMMANDS));
    form.LabelDescription->SetCaption(dxBarStr(dxSBAR_DESCRIPTION));
    form.DescriptionLabel->SetCaption(QString());

    // The commands list takes its placeholder's place.
    TPanel* place = form.LCommandsPlace;
    auto* list = new TCommandsListBox(&form);
    list->SetParent(place->Parent());
    list->SetBounds(place->Left(), place->Top(), place->Width(), place->Height());
    list->SetTabOrder(place->TabOrder());
    list->SetBarManager(manager);
    list->SetOnClick(TNotifyEvent(this, &TdxBarCommandsPage::LCommandsClick));
    list_ = list;
    form.LCommandsPlace = nullptr;
    delete place;
    form.LabelCommands->SetFocusControl(list);
    form.LabelCategories->SetFocusControl(Categories());

    TListBox* categories = Categories();
    categories->SetOnClick(TNotifyEvent(this, &TdxBarCommandsPage::LCategoriesClick));
    categories->SetOnMouseDown(TMouseEvent(this, &TdxBarCommandsPage::CategoriesMouseDown));
    if (!manager) return;
    {
        TUpdateScope update(categories->Items());
        for (int i = 0; i < manager->CategoryCount(); ++i)
            if (manager->IsDesigning() || manager->GetCategoryVisible(i))
                categories->Items()->Add(manager->Categories()->Strings(i));
    }
    categories->SetItemIndex(0);
    FillCommands();
}

int TdxBarCommandsPage::SelectedCategory() const
{
    TdxBarManager* manager = Manager();
    const int line = Categories()->ItemIndex();
    return manager && line >= 0 ? manager->GetCategoryRealIndex(line) : -1;
}

int TdxBarCommandsPage::LineOfCategory(int category) const
{
    TdxBarManager* manager = Manager();
    for (int line = 0; manager && line < Categories()->Items()->Count(); ++line)
        if (manager->GetCategoryRealIndex(line) == category) return line;
    return -1;
}

void TdxBarCommandsPage::FillCommands()
{
    TCommandsListBox* list = list_;
    TdxBarManager* manager = Manager();
    if (!list) return;
    {
        TUpdateScope update(list->Items());
        list->Items()->Clear();
        QList<TdxBarItem*> items;
        if (const int category = SelectedCategory(); category >= 0 && manager)
            manager->GetItemsByCategory(category, items);
        for (TdxBarItem* item : items) list->Items()->AddObject(StripMnemonic(item->Caption()), item);
    }
    Form().DescriptionLabel->SetCaption(QString());
}

void TdxBarCommandsPage::LCategoriesClick(TObject*)
{
    FillCommands();
}

void TdxBarCommandsPage::CategoriesMouseDown(TObject*, TMouseButton button, TShiftState, int x, int y)
{
    if (button != mbRight) return;
    TListBox* categories = Categories();
    categories->SetFocus();
    if (const int line = categories->ItemAtPos(QPoint(x, y), true); line >= 0) categories->SetItemIndex(line);
    FillCommands();
}

void TdxBarCommandsPage::LCommandsClick(TObject*)
{
    TCommandsListBox* list = list_;
    if (!list) return;
    TdxBarManager* manager = Manager();
    if (manager && !refreshing_) manager->SetSelectedControl(nullptr);
    const TdxBarItem* item = list->SelectedItem();
    Form().DescriptionLabel->SetCaption(item ? item->Description() : QString());
    if (refreshing_) return;
    // What changed shows now: the line's selection and its description.
    if (list_ && list_->ListWidget()) list_->ListWidget()->viewport()->repaint();
    if (QWidget* label = Form().DescriptionLabel->Handle()) label->repaint();
}

void TdxBarCommandsPage::ReadDescription()
{
    TRestore refreshing(refreshing_, true);
    LCommandsClick(list_);
}

void TdxBarCommandsPage::ItemsChanged()
{
    TCommandsListBox* list = list_;
    if (!list) return;
    // The lines' texts follow the captions (the list finds lines by typing them).
    for (int i = 0; i < list->Items()->Count(); ++i)
        if (TdxBarItem* item = list->Item(i)) {
            const QString caption = StripMnemonic(item->Caption());
            if (list->Items()->Strings(i) != caption) list->Items()->Put(i, caption);
        }
    if (list->ListWidget()) list->ListWidget()->viewport()->update();
    ReadDescription();
}

void TdxBarCommandsPage::SelectItem(TdxBarItem* item, bool force)
{
    if (!item || !list_) return;
    TRestore refreshing(refreshing_, true);
    if (force || SelectedCategory() != item->Category()) {
        Categories()->SetItemIndex(LineOfCategory(item->Category()));
        FillCommands();
    }
    list_->SetItemIndex(list_->IndexOfItem(item));
    ReadDescription();
}

void TdxBarCommandsPage::ItemDestroyed(TdxBarItem*)
{
    TCommandsListBox* list = list_;
    if (!list) return;
    const int index = list->ItemIndex();
    TRestore refreshing(refreshing_, true);
    FillCommands();
    list->SetItemIndex(std::min(index, list->Items()->Count() - 1));
    ReadDescription();
}

void TdxBarCommandsPage::StyleChanged()
{
    if (list_) list_->StyleChanged();
}
