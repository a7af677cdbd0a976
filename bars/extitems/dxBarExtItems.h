#pragma once
// The extended item kinds' start-up and shut-down, and what they share while started.
//
// Start-up runs once the bar library has started (dxBarInitialize) and the extended texts
// are known; the program runs it from its library hook, tests and benchmarks before they
// read a form that holds extended items. Nested calls count: only the first start-up and
// the last shut-down act. Shut-down comes before the bar windows library goes.
//
// While started, the unit keeps:
// - the two markers of the font-name list (outline fonts and the others) and the glyphs of
//   the item kinds, read from the PNG resources under ":/extitems/";
// - one colour dialog and one font dialog without an owner, shared by every item;
// - the first day of the week (0 Sunday ... 6 Saturday), read from the locale once;
// - the texts of the date navigator's "Today" and "Clear" buttons, read once.
// Start-up registers the extended (item class, item-control class) pairs with the bar
// library's registry after its standard pairs (dxBarExtItemsPairs.cpp lists them in order);
// shut-down unregisters them in reverse order.
#include "dxBarRegistry.h"

#include <QString>
#include <span>

class TBitmap;
class TColorDialog;
class TFontDialog;
struct TdxBarItemControlClass;

// One row of the extended pairs table.
struct TdxBarExtItemPair {
    TdxBarItemClass itemClass;
    TdxBarItemControlClass* controlClass;
};

// The extended pairs in registration order.
std::span<const TdxBarExtItemPair> dxBarExtItemPairs();

void dxBarExtItemsInitialize();
void dxBarExtItemsFinalize();
bool dxBarExtItemsInitialized();

// Start-up on construction and shut-down on destruction.
class TdxBarExtItemsScope {
public:
    TdxBarExtItemsScope() { dxBarExtItemsInitialize(); }
    ~TdxBarExtItemsScope() { dxBarExtItemsFinalize(); }
    TdxBarExtItemsScope(const TdxBarExtItemsScope&) = delete;
    TdxBarExtItemsScope& operator=(const TdxBarExtItemsScope&) = delete;
};

// --- what the started unit keeps (none, 0 or empty before start-up and after shut-down)
TBitmap* dxBarTrueTypeFontBitmap();
TBitmap* dxBarNonTrueTypeFontBitmap();
// The glyph of an item kind by its resource name ("COLORCOMBO", "DATECOMBO", ...); none for
// a name without a glyph.
TBitmap* dxBarItemKindGlyph(const QString& name);
TColorDialog* dxBarColorDialog();
TFontDialog* dxBarFontDialog();
// 0 Sunday, 1 Monday ... 6 Saturday.
int dxBarFirstWeekDay();
QString dxBarTodayText();
QString dxBarClearText();
