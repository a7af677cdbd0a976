#pragma once
// The dialog that chooses new members for a group: the other groups (under "< Groups >", when
// the manager has more than one) and the items of each category (under the category's name),
// many at a time. Headers are drawn on the face colour; an item line shows its name and
// caption in two halves; entries already in the group are greyed.
#include "Forms.h"
#include "ListBoxes.h"
#include "StdCtrls.h"
#include "dxBarDesignRules.h"

#include <QList>
#include <QRect>

class TdxBarGroup;
class TdxBarManager;

class TfrmAddGroupItems : public TForm {
    Q_OBJECT
    Q_PROPERTY(TListBox* lbGroupItems MEMBER lbGroupItems STORED false)
    Q_PROPERTY(TButton* BOK MEMBER BOK STORED false)
    Q_PROPERTY(TButton* BCancel MEMBER BCancel STORED false)
public:
    explicit TfrmAddGroupItems(TComponent* owner);

    TListBox* lbGroupItems = nullptr;
    TButton* BOK = nullptr;
    TButton* BCancel = nullptr;

    void Prepare(TdxBarManager* manager, TdxBarGroup* group);
    const QList<TdxBarGroupItemsLine>& Lines() const { return lines_; }
    // The chosen entries, in list order (headers left out).
    QList<TComponent*> Chosen() const;

private:
    void DrawLine(TWinControl* control, int index, QRect rect, TOwnerDrawState state);

    QList<TdxBarGroupItemsLine> lines_;
};

// Asks for entries to add to group; true on OK with the chosen ones appended to chosen.
bool dxBarShowAddGroupItems(TdxBarManager* manager, TdxBarGroup* group, QList<TComponent*>& chosen,
                            const TFont* font = nullptr, QWidget* owner = nullptr);
