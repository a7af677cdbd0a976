#pragma once
// Enumerations of the controls and forms, published as Q_ENUMs of one namespace and
// brought into the global scope under their own names (alClient, crHSplit ...).
#include <QObject>

namespace ControlTypes {
Q_NAMESPACE

enum TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };
Q_ENUM_NS(TAlign)

// Cursor ids; values of the application's own cursors may lie outside the named ones.
enum TCursor : int {
    crDefault = 0,
    crNone = -1,
    crArrow = -2,
    crCross = -3,
    crIBeam = -4,
    crSizeNESW = -6,
    crSizeNS = -7,
    crSizeNWSE = -8,
    crSizeWE = -9,
    crUpArrow = -10,
    crHourGlass = -11,
    crDrag = -12,
    crNoDrop = -13,
    crHSplit = -14,
    crVSplit = -15,
    crMultiDrag = -16,
    crSQLWait = -17,
    crNo = -18,
    crAppStart = -19,
    crHelp = -20,
    crHandPoint = -21,
    crSizeAll = -22,
};
Q_ENUM_NS(TCursor)

enum TBevelCut { bvNone, bvLowered, bvRaised, bvSpace };
Q_ENUM_NS(TBevelCut)

enum TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };
Q_ENUM_NS(TScrollStyle)

enum TFormPosition {
    poDesigned,
    poDefault,
    poDefaultPosOnly,
    poDefaultSizeOnly,
    poScreenCenter,
    poDesktopCenter,
    poMainFormCenter,
    poOwnerFormCenter,
};
Q_ENUM_NS(TFormPosition)

enum TWindowState { wsNormal, wsMinimized, wsMaximized };
Q_ENUM_NS(TWindowState)

enum TCloseAction { caNone, caHide, caFree, caMinimize };
Q_ENUM_NS(TCloseAction)

enum TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
Q_ENUM_NS(TFormBorderStyle)

// fsMDIForm: a frame whose client remainder holds MDI children; fsMDIChild: a form that
// lives inside the main form's client when the main form is an MDI frame.
enum TFormStyle { fsNormal, fsStayOnTop, fsMDIChild, fsMDIForm };
Q_ENUM_NS(TFormStyle)

// The buttons of a form's title bar: without the system menu there are none.
enum TBorderIcon { biSystemMenu = 0x1, biMinimize = 0x2, biMaximize = 0x4, biHelp = 0x8 };
Q_ENUM_NS(TBorderIcon)
Q_DECLARE_FLAGS(TBorderIcons, TBorderIcon)
Q_FLAG_NS(TBorderIcons)

enum TMouseButton { mbLeft, mbRight, mbMiddle };
Q_ENUM_NS(TMouseButton)

enum TListBoxStyle { lbStandard, lbOwnerDrawFixed, lbOwnerDrawVariable };
Q_ENUM_NS(TListBoxStyle)

enum TComboBoxStyle { csDropDown, csDropDownList };
Q_ENUM_NS(TComboBoxStyle)

enum TCheckBoxState { cbUnchecked, cbChecked, cbGrayed };
Q_ENUM_NS(TCheckBoxState)

enum TBevelShape { bsBox, bsFrame, bsTopLine, bsBottomLine, bsLeftLine, bsRightLine, bsSpacer };
Q_ENUM_NS(TBevelShape)

enum TBevelStyle { bsLowered, bsRaised };
Q_ENUM_NS(TBevelStyle)

// How a tree view keeps its nodes in order.
enum TSortType { stNone, stData, stText, stBoth };
Q_ENUM_NS(TSortType)

}  // namespace ControlTypes
Q_DECLARE_OPERATORS_FOR_FLAGS(ControlTypes::TBorderIcons)

// The state of an owner-drawn line: a set of these flags.
enum TOwnerDrawStateFlag : unsigned {
    odSelected = 0x1,
    odGrayed = 0x2,
    odDisabled = 0x4,
    odChecked = 0x8,
    odFocused = 0x10
};
using TOwnerDrawState = unsigned;

using ControlTypes::TAlign;
using ControlTypes::TBevelCut;
using ControlTypes::TBevelShape;
using ControlTypes::TBevelStyle;
using ControlTypes::TBorderIcon;
using ControlTypes::TBorderIcons;
using ControlTypes::TCheckBoxState;
using ControlTypes::TCloseAction;
using ControlTypes::TComboBoxStyle;
using ControlTypes::TCursor;
using ControlTypes::TFormBorderStyle;
using ControlTypes::TFormPosition;
using ControlTypes::TFormStyle;
using ControlTypes::TListBoxStyle;
using ControlTypes::TMouseButton;
using ControlTypes::TScrollStyle;
using ControlTypes::TSortType;
using ControlTypes::TWindowState;
using enum ControlTypes::TAlign;
using enum ControlTypes::TCursor;
using enum ControlTypes::TBevelCut;
using enum ControlTypes::TScrollStyle;
using enum ControlTypes::TFormPosition;
using enum ControlTypes::TWindowState;
using enum ControlTypes::TCloseAction;
using enum ControlTypes::TFormBorderStyle;
using enum ControlTypes::TFormStyle;
using enum ControlTypes::TBorderIcon;
using enum ControlTypes::TMouseButton;
using enum ControlTypes::TListBoxStyle;
using enum ControlTypes::TComboBoxStyle;
using enum ControlTypes::TCheckBoxState;
using enum ControlTypes::TBevelShape;
using enum ControlTypes::TBevelStyle;
using enum ControlTypes::TSortType;
