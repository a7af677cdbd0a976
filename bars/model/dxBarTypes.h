#pragma once
// Enumerations and sets of the bar library, published through the meta-object system so
// form resources stream them by identifier ("ButtonStyle = bsChecked").
#include <QFlags>
#include <QObject>

namespace dxBarTypes {
Q_NAMESPACE

enum TdxBarDockingStyle { dsNone, dsLeft, dsTop, dsRight, dsBottom };
Q_ENUM_NS(TdxBarDockingStyle)

enum TdxBarItemVisible { ivNever, ivInCustomizing, ivAlways };
Q_ENUM_NS(TdxBarItemVisible)

enum TdxBarManagerStyle { bmsStandard, bmsEnhanced, bmsFlat };
Q_ENUM_NS(TdxBarManagerStyle)

enum TdxBarItemAlign { iaLeft, iaCenter, iaRight, iaClient };
Q_ENUM_NS(TdxBarItemAlign)

enum TdxBarButtonStyle { bsDefault, bsChecked, bsDropDown };
Q_ENUM_NS(TdxBarButtonStyle)

enum TdxBarPaintStyle { psStandard, psCaption, psCaptionInMenu, psCaptionGlyph };
Q_ENUM_NS(TdxBarPaintStyle)

enum TdxBarMenuAnimations { maNone, maRandom, maUnfold, maSlide };
Q_ENUM_NS(TdxBarMenuAnimations)

enum TdxBarBorderStyle { bbsNone, bbsSingle };
Q_ENUM_NS(TdxBarBorderStyle)

// The user overrides of one item link; the values are the set's bits.
enum TdxBarUserDefine { udCaption = 1, udGlyph = 2, udPaintStyle = 4, udWidth = 8 };
Q_DECLARE_FLAGS(TdxBarUserDefines, TdxBarUserDefine)
Q_FLAG_NS(TdxBarUserDefines)
}  // namespace dxBarTypes

// A set of docking styles. The element type repeats the identifiers of TdxBarDockingStyle
// with bit values, so the set streams as "[dsLeft, dsTop]".
namespace dxBarDockingStyleSet {
Q_NAMESPACE
enum Element { dsNone = 1, dsLeft = 2, dsTop = 4, dsRight = 8, dsBottom = 16 };
Q_DECLARE_FLAGS(TdxBarDockingStyles, Element)
Q_FLAG_NS(TdxBarDockingStyles)
}  // namespace dxBarDockingStyleSet

Q_DECLARE_OPERATORS_FOR_FLAGS(dxBarTypes::TdxBarUserDefines)
Q_DECLARE_OPERATORS_FOR_FLAGS(dxBarDockingStyleSet::TdxBarDockingStyles)

using namespace dxBarTypes;
using dxBarDockingStyleSet::TdxBarDockingStyles;

// The set bit of one docking style.
inline dxBarDockingStyleSet::Element dxBarDockingStyleBit(TdxBarDockingStyle style)
{
    return dxBarDockingStyleSet::Element(1 << int(style));
}

inline bool dxBarDockingStyleIn(TdxBarDockingStyle style, TdxBarDockingStyles set)
{
    return set.testFlag(dxBarDockingStyleBit(style));
}
