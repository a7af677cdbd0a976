#pragma once
// The Groups page of design mode: the manager's groups, and the members of the selected one,
// many of which may be selected. Group names, and member lines that are groups, are bold.
// - Add makes a group named by the designer and selects it; Delete frees the selected group
//   and selects the next one (the previous one after the last).
// - Member Add asks for new members (groups and items) and selects them; a choice that would
//   make a group contain itself is refused as a whole. Member Delete removes the selected
//   members and selects the nearest member left.
// - Move Up and Move Down move the selected members one place, packed together, or, while the
//   groups list has the focus, the group within the manager's groups.
// - Insert and Delete press Add and Delete of the focused list.
// The buttons follow every change. At run time the page's tab is hidden.
#include "ControlTypes.h"
#include "Controls.h"
#include "Keys.h"
#include "dxBarCustomizingPage.h"

#include <QList>
#include <QRect>

class TListBox;
class TComponent;

class TdxBarGroupsPage : public TdxBarCustomizingPage {
public:
    explicit TdxBarGroupsPage(TdxBarCustomizingForm& form);

    TTabSheet* Sheet() const override;
    void Build() override;
    void Refresh() override;
    void ItemDestroyed(TdxBarItem* item) override;
    void ItemRenamed(TdxBarItem* item) override;
    void GroupRenamed(TdxBarGroup* group) override;

    TdxBarGroup* SelectedGroup() const;
    TComponent* Member(int line) const;
    // The members list had the focus last (else the groups list).
    bool MembersFocused() const { return membersFocused_; }
    void SetMembersFocused(bool value);
    void UpdateButtons();

    void btnGroupAddClick(TObject* sender);
    void btnGroupDeleteClick(TObject* sender);
    void btnGroupItemAddClick(TObject* sender);
    void btnGroupItemDeleteClick(TObject* sender);
    void btnMoveUpClick(TObject* sender);
    void btnMoveDownClick(TObject* sender);

private:
    TListBox* Groups() const;
    TListBox* Members() const;
    void FillGroups(int line);
    // Lists the selected group's members, selecting those of select.
    void FillMembers(const QList<TComponent*>& select = {});
    QList<int> SelectedMembers() const;
    void Move(int delta);
    void DrawGroup(TWinControl* control, int index, QRect rect, TOwnerDrawState state);
    void DrawMember(TWinControl* control, int index, QRect rect, TOwnerDrawState state);
    void DrawName(TListBox* list, QRect rect, TOwnerDrawState state, const QString& text, bool bold);
    void GroupsClick(TObject* sender);
    void MembersClick(TObject* sender);
    void GroupsEnter(TObject* sender);
    void MembersEnter(TObject* sender);
    void ListKeyDown(TObject* sender, int& key, TShiftState shift);

    bool membersFocused_ = false;
    // Button updates wait while above 0.
    int updating_ = 0;
};
