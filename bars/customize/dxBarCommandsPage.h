#pragma once
// The Commands page: the manager's categories (at run time the visible ones) and the
// commands of the selected category (TCommandsListBox), with the selected command's
// description under them. A command is dragged from the list onto a bar or a menu.
//
// The page follows the manager: a changed item repaints the list and its description is
// read again; a freed item leaves the list (the selected line index stays, within the
// lines left); the style recolours the list.
#include "Controls.h"
#include "dxBarCustomizingPage.h"

#include <QPointer>

class TCommandsListBox;
class TListBox;

class TdxBarCommandsPage : public TdxBarCustomizingPage {
public:
    explicit TdxBarCommandsPage(TdxBarCustomizingForm& form);

    TTabSheet* Sheet() const override;
    // Makes the commands list in the placeholder's place and lists the categories; the first
    // one is selected and its commands listed.
    void Build() override;
    void ItemsChanged() override;
    void SelectItem(TdxBarItem* item, bool force) override;
    void ItemDestroyed(TdxBarItem* item) override;
    void StyleChanged() override;

    TCommandsListBox* CommandsList() const;
    // The manager's category of the selected category line (-1 without a selection).
    int SelectedCategory() const;

    // Lists the selected category's commands (the category list's OnClick).
    void LCategoriesClick(TObject* sender);
    // The selected command's description shows; the bars' selected control is cleared (the
    // commands list's OnClick).
    void LCommandsClick(TObject* sender);

    // A right press focuses the categories, selects the line under the mouse and lists it.
    void CategoriesMouseDown(TObject* sender, TMouseButton button, TShiftState shift, int x, int y);

private:
    TListBox* Categories() const;
    void FillCommands();
    // The description of the selected command is read again, the page driving the list.
    void ReadDescription();
    // The category line showing category, or -1.
    int LineOfCategory(int category) const;

    QPointer<TCommandsListBox> list_;
    // Set while the page itself drives the commands list: its clicks leave the bars alone.
    bool refreshing_ = false;
};
