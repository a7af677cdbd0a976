#pragma once
// The item/control class registry and the bar library's start-up and shut-down.
//
// One process-wide list pairs each item class with the control class that shows its links;
// lookups compare the item's exact class, so a descendant needs an entry of its own.
// Start-up (outermost call only) creates the global lists, registers the standard pairs and
// enters the library's cursors in the cursor table; shut-down undoes it in reverse.
#include <QCursor>
#include <QList>
#include <QMetaObject>

struct TdxBarItemControlClass;
class TdxBarItem;

// An item class is its meta-object; identity is the pointer.
using TdxBarItemClass = const QMetaObject*;

// Appends an entry and makes the item class known to form-resource streaming.
void dxBarRegisterItem(TdxBarItemClass itemClass, TdxBarItemControlClass* controlClass, bool isPublic);
// Removes the first entry of itemClass; an unregistered class is ignored.
void dxBarUnregisterItem(TdxBarItemClass itemClass);
// Number of public entries, and the n-th public item class (none out of range).
int dxBarGetVisibleItemClassCount();
TdxBarItemClass dxBarGetVisibleItemClass(int index);
// The control class of an item's exact class; none when the class has no entry.
TdxBarItemControlClass* dxBarGetItemControlClass(TdxBarItemClass itemClass);
int dxBarRegisteredItemCount();

// Library start-up and shut-down; nested calls count, only the outermost acts.
void dxBarInitialize();
void dxBarFinalize();
bool dxBarInitialized();

// The library's cursors in the application's cursor table.
constexpr int crdxBarDrag = 1041;
constexpr int crdxBarDragCopy = 1042;
constexpr int crdxBarDragNoDrop = 1043;
constexpr int crdxBarEditSizing = 1044;
// The cursor of id from the cursor table; the arrow for an id the table lacks.
QCursor dxBarCursor(int id);
bool dxBarHasCursor(int id);
