#include "dxBarGroupsPage.h"

#include "ComCtrls.h"
#include "Dialogs.h"
#include "Keys.h"
#include "ListBoxes.h"
#include "Painting.h"
#include "Scope.h"
#include "StdCtrls.h"
#include "TextMetrics.h"
#include "dxBarAddGroupItems.h"
#include "dxBarCustomizingForm.h"
#include "dxBarDesignRules.h"
#include "dxBarDesigner.h"
#include "dxBarGroups.h"
#include "dxBarManager.h"
#include "dxBarStrs.h"

#include <QPainter>
#include <QPointer>

TdxBarGroupsPage::TdxBarGroupsPage(TdxBarCustomizingForm& form) : TdxBarCustomizingPage(form) {}

TTabSheet* TdxBarGroupsPage::Sheet() const
{
    return Form().TabSheet5;
}

TListBox* TdxBarGroupsPage::Groups() const
{
    return Form().lbGroups;
}

TListBox* TdxBarGroupsPage::Members() const
{
    return Form().lbGroupItems;
}

void TdxBarGroupsPage::Build()
{
    TdxBarManager* manager = Manager();
    if (!manager || !manager->IsDesigning()) {
        Sheet()->SetTabVisible(false);
        return;
    }
    TdxBarCustomizingForm& form = Form();
    form.btnGroupAdd->SetCaption(dxBarStr(dxSBAR_ADD));
    form.btnGroupDelete->SetCaption(dxBarStr(dxSBAR_DELETE));
    form.btnGroupItemAdd->SetCaption(dxBarStr(dxSBAR_ADD));
    form.btnGroupItemDelete->SetCaption(dxBarStr(dxSBAR_DELETE));
    form.btnMoveUp->SetCaption(dxBarStr(dxSBAR_MOVEUP));
    form.btnMoveDown->SetCaption(dxBarStr(dxSBAR_MOVEDOWN));
    for (TListBox* list : {Groups(), Members()}) {
        list->SetItemHeight(TextExtent(list->Font()->ToQFont(), QStringLiteral("Qq")).height() + 2);
        list->SetOnKeyDown(TKeyEvent(this, &TdxBarGroupsPage::ListKeyDown));
    }
    Groups()->SetOnDrawItem(TDrawItemEvent(this, &TdxBarGroupsPage::DrawGroup));
    Members()->SetOnDrawItem(TDrawItemEvent(this, &TdxBarGroupsPage::DrawMember));
    Groups()->SetOnClick(TNotifyEvent(this, &TdxBarGroupsPage::GroupsClick));
    Members()->SetOnClick(TNotifyEvent(this, &TdxBarGroupsPage::MembersClick));
    Groups()->SetOnEnter(TNotifyEvent(this, &TdxBarGroupsPage::GroupsEnter));
    Members()->SetOnEnter(TNotifyEvent(this, &TdxBarGroupsPage::MembersEnter));
    form.btnGroupAdd->SetOnClick(TNotifyEvent(this, &TdxBarGroupsPage::btnGroupAddClick));
    form.btnGroupDelete->SetOnClick(TNotifyEvent(this, &TdxBarGroupsPage::btnGroupDeleteClick));
    form.btnGroupItemAdd->SetOnClick(TNotifyEvent(this, &TdxBarGroupsPage::btnGroupItemAddClick));
    form.btnGroupItemDelete->SetOnClick(TNotifyEvent(this, &TdxBarGroupsPage::btnGroupItemDeleteClick));
    form.btnMoveUp->SetOnClick(TNotifyEvent(this, &TdxBarGroupsPage::btnMoveUpClick));
    form.btnMoveDown->SetOnClick(TNotifyEvent(this, &TdxBarGroupsPage::btnMoveDownClick));
    FillGroups(0);
}

void TdxBarGroupsPage::Refresh()
{
    if (Manager() && Manager()->IsDesigning()) FillGroups(Groups()->ItemIndex());
}

void TdxBarGroupsPage::ItemDestroyed(TdxBarItem*)
{
    Refresh();
}

void TdxBarGroupsPage::ItemRenamed(TdxBarItem*)
{
    if (Manager() && Manager()->IsDesigning()) Members()->Invalidate();
}

void TdxBarGroupsPage::GroupRenamed(TdxBarGroup*)
{
    Refresh();
}

TdxBarGroup* TdxBarGroupsPage::SelectedGroup() const
{
    TdxBarManager* manager = Manager();
    return manager ? manager->GetGroup(Groups()->ItemIndex()) : nullptr;
}

TComponent* TdxBarGroupsPage::Member(int line) const
{
    TdxBarGroup* group = SelectedGroup();
    return group ? group->Items(line) : nullptr;
}

void TdxBarGroupsPage::SetMembersFocused(bool value)
{
    membersFocused_ = value;
    UpdateButtons();
}

QList<int> TdxBarGroupsPage::SelectedMembers() const
{
    QList<int> selected;
    for (int i = 0; i < Members()->Items()->Count(); ++i)
        if (Members()->Selected(i)) selected << i;
    return selected;
}

void TdxBarGroupsPage::FillGroups(int line)
{
    TdxBarManager* manager = Manager();
    if (!manager) return;
    {
        TRestore updating(updating_, updating_ + 1);
        TListBox* groups = Groups();
        groups->Items()->BeginUpdate();
        groups->Items()->Clear();
        for (int i = 0; i < manager->GroupCount(); ++i) groups->Items()->Add(manager->GetGroup(i)->Name());
        groups->Items()->EndUpdate();
        groups->SetItemIndex(std::min(std::max(line, 0), groups->Items()->Count() - 1));
        FillMembers();
    }
    UpdateButtons();
}

void TdxBarGroupsPage::FillMembers(const QList<TComponent*>& select)
{
    TdxBarGroup* group = SelectedGroup();
    TListBox* members = Members();
    {
        TRestore updating(updating_, updating_ + 1);
        members->Items()->BeginUpdate();
        members->Items()->Clear();
        for (int i = 0; group && i < group->Count(); ++i) members->Items()->Add(group->Items(i)->Name());
        members->Items()->EndUpdate();
        for (int i = 0; group && i < group->Count(); ++i)
            if (select.contains(group->Items(i))) members->SetSelected(i, true);
    }
    UpdateButtons();
}

void TdxBarGroupsPage::UpdateButtons()
{
    if (updating_ > 0) return;
    TdxBarManager* manager = Manager();
    TdxBarGroup* group = SelectedGroup();
    const TdxBarGroupsButtons b =
        dxBarGroupsButtonStates(manager ? manager->GroupCount() : 0, Groups()->ItemIndex(), group ? group->Count() : 0,
                                SelectedMembers(), membersFocused_);
    TdxBarCustomizingForm& form = Form();
    form.btnGroupDelete->SetEnabled(b.GroupDelete);
    form.btnGroupItemAdd->SetEnabled(b.ItemAdd);
    form.btnGroupItemDelete->SetEnabled(b.ItemDelete);
    form.btnMoveUp->SetEnabled(b.MoveUp);
    form.btnMoveDown->SetEnabled(b.MoveDown);
}

void TdxBarGroupsPage::GroupsClick(TObject*)
{
    FillMembers();
}

void TdxBarGroupsPage::MembersClick(TObject*)
{
    UpdateButtons();
}

void TdxBarGroupsPage::GroupsEnter(TObject*)
{
    SetMembersFocused(false);
}

void TdxBarGroupsPage::MembersEnter(TObject*)
{
    SetMembersFocused(true);
}

void TdxBarGroupsPage::btnGroupAddClick(TObject*)
{
    TdxBarManager* manager = Manager();
    if (!manager) return;
    const QString name = dxBarDesigner().UniqueName(manager->OwnerForm(), QStringLiteral("dxBarGroup"));
    TdxBarGroup* group = manager->CreateGroup();
    group->SetName(name);
    dxBarDesigner().Modified();
    FillGroups(group->IndexInManager());
    dxBarDesigner().SelectComponent(group);
}

void TdxBarGroupsPage::btnGroupDeleteClick(TObject*)
{
    TdxBarGroup* group = SelectedGroup();
    if (!group) return;
    const int line = Groups()->ItemIndex();
    dxBarDesigner().DeleteComponent(group);
    // The next group takes the line; after the last, the previous one.
    FillGroups(line);
}

void TdxBarGroupsPage::btnGroupItemAddClick(TObject*)
{
    TdxBarManager* manager = Manager();
    QPointer<TdxBarGroup> group = SelectedGroup();
    if (!manager || !group) return;
    QList<TComponent*> chosen;
    if (!dxBarShowAddGroupItems(manager, group, chosen, Form().Font(), Form().Handle()) || !group) return;
    // All or nothing: a choice that would make a recursive group appends none.
    if (dxBarFirstRecursiveEntry(group, chosen)) {
        MessageBox(dxBarStr(dxSBAR_RECURSIVEGROUPS), QString(), MB_ICONERROR);
        return;
    }
    for (TComponent* component : chosen) group->Add(component);
    dxBarDesigner().Modified();
    FillMembers(chosen);
}

void TdxBarGroupsPage::btnGroupItemDeleteClick(TObject*)
{
    TdxBarGroup* group = SelectedGroup();
    if (!group) return;
    const QList<int> selected = SelectedMembers();
    if (selected.isEmpty()) return;
    // The nearest member left: the first unselected one after the first selected, else before.
    TComponent* next = nullptr;
    for (int i = selected.first(); i < group->Count() && !next; ++i)
        if (!selected.contains(i)) next = group->Items(i);
    for (int i = selected.first() - 1; i >= 0 && !next; --i) next = group->Items(i);
    QList<TComponent*> removed;
    for (int i : selected) removed << group->Items(i);
    for (TComponent* component : removed) group->Remove(component);
    dxBarDesigner().Modified();
    FillMembers(next ? QList<TComponent*>{next} : QList<TComponent*>{});
}

void TdxBarGroupsPage::Move(int delta)
{
    TdxBarManager* manager = Manager();
    TdxBarGroup* group = SelectedGroup();
    if (!manager || !group) return;
    if (!membersFocused_) {
        const int index = group->IndexInManager() + delta;
        if (index < 0 || index >= manager->GroupCount()) return;
        group->SetIndexInManager(index);
        dxBarDesigner().Modified();
        FillGroups(index);
        return;
    }
    const QList<int> selected = SelectedMembers();
    if (selected.isEmpty()) return;
    QList<TComponent*> before, moved;
    for (int i = 0; i < group->Count(); ++i) before << group->Items(i);
    for (int i : selected) moved << before[i];
    const QList<int> order = dxBarPackedOrder(group->Count(), selected, delta < 0);
    for (int i = 0; i < order.size(); ++i) group->Move(group->IndexOf(before[order[i]]), i);
    dxBarDesigner().Modified();
    FillMembers(moved);
}

void TdxBarGroupsPage::btnMoveUpClick(TObject*)
{
    Move(-1);
}

void TdxBarGroupsPage::btnMoveDownClick(TObject*)
{
    Move(1);
}

void TdxBarGroupsPage::ListKeyDown(TObject* sender, int& key, TShiftState shift)
{
    if (shift & (ssShift | ssCtrl | ssAlt)) return;
    const bool members = sender == Members();
    TButton* add = members ? Form().btnGroupItemAdd : Form().btnGroupAdd;
    TButton* remove = members ? Form().btnGroupItemDelete : Form().btnGroupDelete;
    TButton* button = key == VK_INSERT ? add : key == VK_DELETE ? remove : nullptr;
    if (!button) return;
    key = 0;
    if (button->Enabled()) button->Click();
}

void TdxBarGroupsPage::DrawName(TListBox* list, QRect rect, TOwnerDrawState state, const QString& text, bool bold)
{
    QPainter* p = list->Canvas();
    if (!p) return;
    const bool selected = state & odSelected;
    p->fillRect(rect, SysColor(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    p->setPen(SysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    QFont font = list->Font()->ToQFont();
    font.setBold(bold);
    p->setFont(font);
    TRect r = TRect::FromQRect(rect);
    r.Left += 2;
    DrawText(*p, text, r, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
}

void TdxBarGroupsPage::DrawGroup(TWinControl*, int index, QRect rect, TOwnerDrawState state)
{
    DrawName(Groups(), rect, state, Groups()->Items()->Strings(index), true);
}

void TdxBarGroupsPage::DrawMember(TWinControl*, int index, QRect rect, TOwnerDrawState state)
{
    DrawName(Members(), rect, state, Members()->Items()->Strings(index),
             qobject_cast<TdxBarGroup*>(Member(index)) != nullptr);
}
