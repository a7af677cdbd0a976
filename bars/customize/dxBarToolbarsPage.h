#pragma once
// The Toolbars page: the manager's bars in the check list (bars marked Hidden are left out
// at run time), and New, Rename, Delete and Reset.
//
// - New asks for a name ("Custom 1", the first number no bar's caption has) and makes a
//   floating bar beside the window.
// - Rename and Delete are for bars the user made (not read with the form); Delete also
//   needs a bar that can be closed, and asks first.
// - Reset is for bars read with the form that allow it; it asks first (the bar's own reset).
#include "dxBarCustomizingPage.h"

class TCheckListBox;
class TdxBar;

class TdxBarToolbarsPage : public TdxBarCustomizingPage {
public:
    explicit TdxBarToolbarsPage(TdxBarCustomizingForm& form);

    TTabSheet* Sheet() const override;
    void Build() override;
    void Refresh() override { UpdateButtons(); }
    // The bar's line takes its caption; its check and the buttons follow.
    void BarChanged(TdxBar* bar) override;

    // The selected line's bar (none without a selection).
    TdxBar* SelectedBar() const;
    // Enables Rename, Delete and Reset for the selected line (the list's OnClick).
    void UpdateButtons();

    void ListClick(TObject* sender);
    void BBarNewClick(TObject* sender);
    void BBarRenameClick(TObject* sender);
    void BBarDeleteClick(TObject* sender);
    void BBarResetClick(TObject* sender);

private:
    TCheckListBox* List() const;
};
