#pragma once
// The Commands page's editing in design mode: a "... modify" button over each list opens its
// popup menu (categories: Add, Insert, Rename, Visible, Items Visible, Delete; commands: Add,
// Delete, Clear, Move Up, Move Down, SubMenu Editor), whose entries are enabled for what they
// act on when the menu opens. The keys Insert and Delete add and delete in either list;
// Ctrl+Up and Ctrl+Down move a command; a right click on a command opens its menu at the
// mouse; a left drag inside the categories list moves the category to the line under the
// mouse (its items keep their category). At run time the page only frees the buttons'
// placeholders.
#include "ControlTypes.h"
#include "Controls.h"
#include "Keys.h"
#include "dxBarCustomizingPage.h"

#include <QPointer>

class TdxBarButton;
class TdxBarCombo;
class TListBox;

class TdxBarDesignCommands : public TdxBarCustomizingPage {
public:
    explicit TdxBarDesignCommands(TdxBarCustomizingForm& form);

    TTabSheet* Sheet() const override;
    void Build() override;
    void StyleChanged() override;

    // --- the categories popup
    void CategoriesPopup(TObject* sender);
    void CategoryAdd(TObject* sender);
    void CategoryInsert(TObject* sender);
    void CategoryRename(TObject* sender);
    void CategoryVisible(TObject* sender);
    void CategoryItemsVisible(TObject* sender);
    void CategoryDelete(TObject* sender);
    // Moves the category of line from to line to (its items follow it).
    void MoveCategory(int from, int to);

    // --- the commands popup
    void CommandsPopup(TObject* sender);
    void CommandAdd(TObject* sender);
    void CommandDelete(TObject* sender);
    void CommandClear(TObject* sender);
    void CommandMoveUp(TObject* sender);
    void CommandMoveDown(TObject* sender);
    void CommandSubMenuEditor(TObject* sender);

    // A new item dragged to screen (design time): over the categories list the selection
    // follows the line under the pointer (cursor crdxBarDrag), or returns to the item's
    // category below the lines (crdxBarDragNoDrop); true there. Leaving the list selects the
    // item's category again.
    bool DragOver(TdxBarItem* item, const QPoint& screen, int& cursor);
    // The drag ended: dropped over the list on another category, the item moves after that
    // category's last item and takes the category. True when the drop was the list's.
    bool DragEnd(TdxBarItem* item, bool dropped);

    // The popups' entries, for what shows them enabled.
    TdxBarButton* CategoryEntry(int index) const { return categoryEntries_[index]; }
    TdxBarCombo* ItemsVisibleEntry() const { return itemsVisible_; }
    TdxBarButton* CommandEntry(int index) const { return commandEntries_[index]; }
    enum { ceAdd, ceInsert, ceRename, ceVisible, ceDelete, ceCount };
    enum { cmAdd, cmDelete, cmClear, cmMoveUp, cmMoveDown, cmSubMenuEditor, cmCount };

private:
    TListBox* Categories() const;
    void MakeMenus();
    void MakeButtons();
    // The categories list shows the manager's categories again, line line selected.
    void ListCategories(int line);
    void AskCategoryName(int mode);
    void MoveCommand(int delta);
    void CategoriesKeyDown(TObject* sender, int& key, TShiftState shift);
    void CategoriesMouseDown(TObject* sender, TMouseButton button, TShiftState shift, int x, int y);
    void CategoriesMouseUp(TObject* sender, TMouseButton button, TShiftState shift, int x, int y);
    void CommandsKeyDown(TObject* sender, int& key, TShiftState shift);
    void CommandsMouseUp(TObject* sender, TMouseButton button, TShiftState shift, int x, int y);

    TdxBarButton* categoryEntries_[ceCount] = {};
    TdxBarCombo* itemsVisible_ = nullptr;
    TdxBarButton* commandEntries_[cmCount] = {};
    // The category line a left press went down on (-1: none).
    int dragLine_ = -1;
    // A dragged item is over the categories list.
    bool dragOver_ = false;
};
