#pragma once
// The rules of the design editors, apart from their windows: names for new components, the
// public item classes offered, what the design popups and the Groups page's buttons allow,
// how selected group members move, and what the All commands and add-group-items lists hold.
#include "dxBarRegistry.h"

#include <QList>
#include <QString>
#include <functional>

class TComponent;
class TdxBarGroup;
class TdxBarItem;
class TdxBarManager;

// base followed by the smallest number from 1 upward that no component owned by root bears
// as its name (names compared without regard to case).
QString dxBarUniqueComponentName(const TComponent* root, const QString& base);
// The base of a new item's name: its class name without the first letter.
QString dxBarItemNameBase(TdxBarItemClass itemClass);
// The registry's public item classes, in registry order (the library's own kinds are not).
QList<TdxBarItemClass> dxBarPublicItemClasses();

// The categories popup on opening, for the selected category (-1: none).
struct TdxBarCategoryMenuState {
    bool Insert = false, Rename = false, Visible = false, VisibleDown = false;
    bool ItemsVisible = false;
    int ItemsVisibleValue = 0;
    bool Delete = false;
};
TdxBarCategoryMenuState dxBarCategoryMenuState(const TdxBarManager* manager, int category);

// The commands popup on opening: count lines, selected line (-1: none) showing item.
struct TdxBarCommandsMenuState {
    bool Delete = false, Clear = false, MoveUp = false, MoveDown = false, SubMenuEditor = false;
};
TdxBarCommandsMenuState dxBarCommandsMenuState(int count, int selected, const TdxBarItem* item);

// Whether selected (line indexes among count lines) already stands together at the top
// (top) or at the bottom.
bool dxBarSelectionPacked(int count, const QList<int>& selected, bool top);
// The order after moving the selected lines one place up (or down), packed together in
// their order, at the top (or bottom) at most: the old index of each new line.
QList<int> dxBarPackedOrder(int count, const QList<int>& selected, bool up);

// The Groups page's buttons.
struct TdxBarGroupsButtons {
    bool GroupDelete = false, ItemAdd = false, ItemDelete = false, MoveUp = false, MoveDown = false;
};
// groupIndex: the selected group (-1: none) among groupCount; members: its member count, of
// which selectedMembers are selected; membersFocused: the members list has the focus (else
// Move Up and Move Down move the group).
TdxBarGroupsButtons dxBarGroupsButtonStates(int groupCount, int groupIndex, int members,
                                            const QList<int>& selectedMembers, bool membersFocused);

// Whether an item's class publishes a ShortCut property.
bool dxBarPublishesShortCut(const TdxBarItem* item);
// The All commands list: every item of the manager with a category, in the manager's order;
// withShortCut: only those whose class publishes a ShortCut.
QList<TdxBarItem*> dxBarAllCommands(const TdxBarManager* manager, bool withShortCut);

// The All commands list's columns: the widest name, caption and shortcut text.
struct TdxBarAllCommandsColumns {
    int Name = 0, Caption = 0, ShortCut = 0;
    // The list's horizontal extent.
    int Extent() const { return Name + Caption + ShortCut + 30; }
    // Offsets from a line's left: the name, the first separator, the caption, the second
    // separator and the shortcut.
    int NameX() const { return 5; }
    int Separator1() const { return Name + 10; }
    int CaptionX() const { return Name + 15; }
    int Separator2() const { return Name + Caption + 20; }
    int ShortCutX() const { return Separator2() + 5; }
};
// The texts of an item's line: name, caption (without mnemonic marks) and shortcut.
QString dxBarAllCommandsCaption(const TdxBarItem* item);
QString dxBarAllCommandsShortCut(const TdxBarItem* item);
TdxBarAllCommandsColumns dxBarMeasureAllCommands(const QList<TdxBarItem*>& items,
                                                 const std::function<int(const QString&)>& textWidth);

// One line of the add-group-items list: a header (Text begins with "~", no component) or an
// entry (a group or an item).
struct TdxBarGroupItemsLine {
    QString Text;
    TComponent* Component = nullptr;
    bool Member = false;  // already a member of the group
    bool IsHeader() const { return Text.startsWith(QLatin1Char('~')); }
};
// With more than one group, "~< Groups >" and every group but group; then for each category
// with items, "~" and its name followed by its items.
QList<TdxBarGroupItemsLine> dxBarGroupItemsLines(const TdxBarManager* manager, const TdxBarGroup* group);
// The first of components that may not join group (it is the group or contains it); none
// when all may.
TComponent* dxBarFirstRecursiveEntry(const TdxBarGroup* group, const QList<TComponent*>& components);
