#include "dxBarServices.h"
#include "dxBarRegistry.h"

#include "ClassRegistry.h"
#include "dxBarInternalItems.h"
#include "dxBarTempItems.h"
#include "dxBarItems.h"

#include <QHash>
#include <QPixmap>

#include <algorithm>

namespace {

struct RegistryEntry {
    TdxBarItemClass itemClass;
    TdxBarItemControlClass* controlClass;
    bool isPublic;
};

QList<RegistryEntry>& Registry()
{
    static QList<RegistryEntry> entries;
    return entries;
}

QHash<int, QCursor>& CursorTable()
{
    static QHash<int, QCursor> cursors;
    return cursors;
}

int startUpCount = 0;

TComponent* CreateItemOfClass(TdxBarItemClass itemClass, TComponent* owner)
{
    QObject* object = itemClass->newInstance(Q_ARG(TComponent*, owner));
    auto* component = qobject_cast<TComponent*>(object);
    if (!component) {
        delete object;
        throw EClassNotFound(QStringLiteral("Cannot create %1").arg(QLatin1String(itemClass->className())));
    }
    component->AfterConstruction();
    return component;
}

struct StandardPair {
    TdxBarItemClass itemClass;
    TdxBarItemControlClass* controlClass;
    bool isPublic;
};

QList<StandardPair> StandardPairs()
{
    return {
        {&TdxBarButton::staticMetaObject, &TdxBarButtonControlClass, true},
        {&TdxBarEdit::staticMetaObject, &TdxBarEditControlClass, true},
        {&TCustomdxBarCombo::staticMetaObject, &TCustomdxBarComboControlClass, true},
        {&TdxBarCombo::staticMetaObject, &TdxBarComboControlClass, true},
        {&TdxBarSubItem::staticMetaObject, &TdxBarSubItemControlClass, true},
        {&TdxBarListItem::staticMetaObject, &TdxBarContainerItemControlClass, true},
        {&TdxBarContainerItem::staticMetaObject, &TdxBarContainerItemControlClass, true},
        {&TdxBarQuickCustExtButton::staticMetaObject, &TdxBarQuickCustExtButtonControlClass, false},
        {&TdxBarQuickCustItem::staticMetaObject, &TdxBarQuickCustItemControlClass, false},
        {&TSystemMenuSubItem::staticMetaObject, &TSystemMenuSubItemControlClass, false},
    };
}

// The library's cursors: Qt's own shapes stand in for the drag and sizing cursors.
void LoadCursors()
{
    QHash<int, QCursor>& table = CursorTable();
    table.insert(crdxBarDrag, QCursor(Qt::DragMoveCursor));
    table.insert(crdxBarDragCopy, QCursor(Qt::DragCopyCursor));
    table.insert(crdxBarDragNoDrop, QCursor(Qt::ForbiddenCursor));
    table.insert(crdxBarEditSizing, QCursor(Qt::SizeHorCursor));
}

}  // namespace

void dxBarRegisterItem(TdxBarItemClass itemClass, TdxBarItemControlClass* controlClass, bool isPublic)
{
    if (!itemClass) return;
    Registry().append({itemClass, controlClass, isPublic});
    RegisterComponentClass(itemClass, [itemClass](TComponent* owner) { return CreateItemOfClass(itemClass, owner); });
}

void dxBarUnregisterItem(TdxBarItemClass itemClass)
{
    QList<RegistryEntry>& entries = Registry();
    for (int i = 0; i < entries.size(); ++i) {
        if (entries[i].itemClass != itemClass) continue;
        entries.removeAt(i);
        // A second entry of the class keeps it creatable from form resources.
        if (std::none_of(entries.begin(), entries.end(),
                         [itemClass](const RegistryEntry& e) { return e.itemClass == itemClass; }))
            UnregisterClass(QString::fromLatin1(itemClass->className()));
        return;
    }
}

int dxBarGetVisibleItemClassCount()
{
    return int(std::count_if(Registry().begin(), Registry().end(), [](const RegistryEntry& e) { return e.isPublic; }));
}

TdxBarItemClass dxBarGetVisibleItemClass(int index)
{
    if (index < 0) return nullptr;
    for (const RegistryEntry& e : Registry())
        if (e.isPublic && index-- == 0) return e.itemClass;
    return nullptr;
}

TdxBarItemControlClass* dxBarGetItemControlClass(TdxBarItemClass itemClass)
{
    for (const RegistryEntry& e : Registry())
        if (e.itemClass == itemClass) return e.controlClass;
    return nullptr;
}

int dxBarRegisteredItemCount()
{
    return int(Registry().size());
}

void dxBarInitialize()
{
    if (startUpCount++ > 0) return;
    for (const StandardPair& p : StandardPairs()) dxBarRegisterItem(p.itemClass, p.controlClass, p.isPublic);
    LoadCursors();
}

void dxBarFinalize()
{
    if (startUpCount == 0 || --startUpCount > 0) return;
    dxBarFreeTempItems();
    const QList<StandardPair> pairs = StandardPairs();
    for (auto it = pairs.rbegin(); it != pairs.rend(); ++it) dxBarUnregisterItem(it->itemClass);
    Registry().clear();
    CursorTable().clear();
}

bool dxBarInitialized()
{
    return startUpCount > 0;
}

QCursor dxBarCursor(int id)
{
    return CursorTable().value(id, QCursor(Qt::ArrowCursor));
}

bool dxBarHasCursor(int id)
{
    return CursorTable().contains(id);
}
