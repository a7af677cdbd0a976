#pragma once
// The All commands page of design mode: every item of the manager that has a category, in
// the manager's order, as a line of three columns (name, caption, shortcut) split by
// vertical lines; with "Show commands that may have a shortcut" checked only items whose
// class has a shortcut. Choosing a line selects its item in the designer. The list is filled
// again when the page shows and when items go or are renamed, keeping its top line and
// selected line; it scrolls sideways over the columns' width. At run time the page's tab is
// hidden.
#include "ControlTypes.h"
#include "Controls.h"
#include "Keys.h"
#include "dxBarCustomizingPage.h"
#include "dxBarDesignRules.h"

#include <QRect>

class TListBox;

class TdxBarAllCommandsPage : public TdxBarCustomizingPage {
public:
    explicit TdxBarAllCommandsPage(TdxBarCustomizingForm& form);

    TTabSheet* Sheet() const override;
    void Build() override;
    void Refresh() override;
    void ItemsChanged() override;
    void ItemDestroyed(TdxBarItem* item) override;
    void ItemRenamed(TdxBarItem* item) override;

    TListBox* List() const;
    TdxBarItem* Item(int line) const;
    const TdxBarAllCommandsColumns& Columns() const { return columns_; }
    // Fills the list again, keeping its top line and selected line.
    void Fill();

private:
    void Measure();
    void DrawLine(TWinControl* control, int index, QRect rect, TOwnerDrawState state);
    void ListClick(TObject* sender);
    void ShowWithShortCutClick(TObject* sender);

    QList<TdxBarItem*> items_;
    TdxBarAllCommandsColumns columns_;
};
