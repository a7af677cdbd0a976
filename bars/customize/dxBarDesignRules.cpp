#include "dxBarDesignRules.h"

#include "Classes.h"
#include "Keys.h"
#include "Painting.h"
#include "dxBarCategories.h"
#include "dxBarGroups.h"
#include "dxBarItem.h"
#include "dxBarItems.h"
#include "dxBarManager.h"

#include <QMetaObject>
#include <QSet>
#include <algorithm>

QString dxBarUniqueComponentName(const TComponent* root, const QString& base)
{
    QSet<QString> taken;
    for (int i = 0; root && i < root->ComponentCount(); ++i)
        if (const TComponent* component = root->Components(i)) taken.insert(component->Name().toLower());
    for (int n = 1;; ++n) {
        const QString name = base + QString::number(n);
        if (!taken.contains(name.toLower())) return name;
    }
}

QString dxBarItemNameBase(TdxBarItemClass itemClass)
{
    return itemClass ? QString::fromLatin1(itemClass->className()).mid(1) : QString();
}

QList<TdxBarItemClass> dxBarPublicItemClasses()
{
    QList<TdxBarItemClass> classes;
    for (int i = 0; i < dxBarGetVisibleItemClassCount(); ++i)
        if (TdxBarItemClass itemClass = dxBarGetVisibleItemClass(i)) classes << itemClass;
    return classes;
}

TdxBarCategoryMenuState dxBarCategoryMenuState(const TdxBarManager* manager, int category)
{
    TdxBarCategoryMenuState state;
    if (!manager || category < 0 || category >= manager->CategoryCount()) return state;
    state.Insert = state.Rename = state.Visible = state.ItemsVisible = true;
    state.VisibleDown = manager->GetCategoryVisible(category);
    state.ItemsVisibleValue = int(manager->GetCategoryItemsVisible(category));
    state.Delete = manager->CategoryCount() >= 2;
    return state;
}

TdxBarCommandsMenuState dxBarCommandsMenuState(int count, int selected, const TdxBarItem* item)
{
    TdxBarCommandsMenuState state;
    const bool chosen = selected >= 0 && selected < count;
    state.Delete = chosen;
    state.Clear = count > 0;
    state.MoveUp = chosen && selected > 0;
    state.MoveDown = chosen && selected < count - 1;
    state.SubMenuEditor = chosen && (qobject_cast<const TdxBarSubItem*>(item) != nullptr ||
                                     qobject_cast<const TdxBarContainerItem*>(item) != nullptr);
    return state;
}

namespace {
QList<int> SortedSelection(int count, const QList<int>& selected)
{
    QList<int> sorted;
    for (int index : selected)
        if (index >= 0 && index < count && !sorted.contains(index)) sorted << index;
    std::sort(sorted.begin(), sorted.end());
    return sorted;
}
}  // namespace

bool dxBarSelectionPacked(int count, const QList<int>& selected, bool top)
{
    const QList<int> sorted = SortedSelection(count, selected);
    const int first = top ? 0 : count - int(sorted.size());
    for (int i = 0; i < sorted.size(); ++i)
        if (sorted[i] != first + i) return false;
    return true;
}

QList<int> dxBarPackedOrder(int count, const QList<int>& selected, bool up)
{
    const QList<int> sorted = SortedSelection(count, selected);
    QList<int> order;
    for (int i = 0; i < count; ++i)
        if (!sorted.contains(i)) order << i;
    if (sorted.isEmpty()) return order;
    const int k = int(sorted.size());
    // Every line before the block's place is one the selection leaves behind.
    const int start = up ? std::max(sorted.first() - 1, 0) : std::min(sorted.last() + 1, count - 1) - k + 1;
    for (int i = 0; i < k; ++i) order.insert(start + i, sorted[i]);
    return order;
}

TdxBarGroupsButtons dxBarGroupsButtonStates(int groupCount, int groupIndex, int members,
                                            const QList<int>& selectedMembers, bool membersFocused)
{
    TdxBarGroupsButtons buttons;
    const bool group = groupIndex >= 0 && groupIndex < groupCount;
    buttons.GroupDelete = buttons.ItemAdd = group;
    const QList<int> sorted = SortedSelection(members, selectedMembers);
    buttons.ItemDelete = group && !sorted.isEmpty();
    if (membersFocused) {
        buttons.MoveUp = buttons.ItemDelete && !dxBarSelectionPacked(members, sorted, true);
        buttons.MoveDown = buttons.ItemDelete && !dxBarSelectionPacked(members, sorted, false);
    } else {
        buttons.MoveUp = group && groupIndex > 0;
        buttons.MoveDown = group && groupIndex < groupCount - 1;
    }
    return buttons;
}

bool dxBarPublishesShortCut(const TdxBarItem* item)
{
    return item && item->metaObject()->indexOfProperty("ShortCut") >= 0;
}

QList<TdxBarItem*> dxBarAllCommands(const TdxBarManager* manager, bool withShortCut)
{
    QList<TdxBarItem*> items;
    for (int i = 0; manager && i < manager->ItemCount(); ++i) {
        TdxBarItem* item = manager->GetItem(i);
        if (item && item->Category() >= 0 && (!withShortCut || dxBarPublishesShortCut(item))) items << item;
    }
    return items;
}

QString dxBarAllCommandsCaption(const TdxBarItem* item)
{
    return item ? StripMnemonic(item->Caption()) : QString();
}

QString dxBarAllCommandsShortCut(const TdxBarItem* item)
{
    return item ? ShortCutToText(item->ShortCut()) : QString();
}

TdxBarAllCommandsColumns dxBarMeasureAllCommands(const QList<TdxBarItem*>& items,
                                                 const std::function<int(const QString&)>& textWidth)
{
    TdxBarAllCommandsColumns columns;
    for (const TdxBarItem* item : items) {
        columns.Name = std::max(columns.Name, textWidth(item->Name()));
        columns.Caption = std::max(columns.Caption, textWidth(dxBarAllCommandsCaption(item)));
        columns.ShortCut = std::max(columns.ShortCut, textWidth(dxBarAllCommandsShortCut(item)));
    }
    return columns;
}

QList<TdxBarGroupItemsLine> dxBarGroupItemsLines(const TdxBarManager* manager, const TdxBarGroup* group)
{
    QList<TdxBarGroupItemsLine> lines;
    if (!manager) return lines;
    auto entry = [group](TComponent* component) {
        return TdxBarGroupItemsLine{component->Name(), component, group && group->IndexOf(component) >= 0};
    };
    if (manager->GroupCount() > 1) {
        lines << TdxBarGroupItemsLine{QStringLiteral("~< Groups >")};
        for (int i = 0; i < manager->GroupCount(); ++i)
            if (TdxBarGroup* other = manager->GetGroup(i); other && other != group) lines << entry(other);
    }
    for (int category = 0; category < manager->CategoryCount(); ++category) {
        QList<TdxBarItem*> items;
        if (manager->GetAllItemsByCategory(category, items) == 0) continue;
        lines << TdxBarGroupItemsLine{QLatin1Char('~') + manager->Categories()->Strings(category)};
        for (TdxBarItem* item : items) lines << entry(item);
    }
    return lines;
}

TComponent* dxBarFirstRecursiveEntry(const TdxBarGroup* group, const QList<TComponent*>& components)
{
    for (TComponent* component : components) {
        auto* other = qobject_cast<TdxBarGroup*>(component);
        if (other && (other == group || other->ContainsGroup(group))) return component;
    }
    return nullptr;
}
