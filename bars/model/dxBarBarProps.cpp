// TdxBar: setters, docking, visibility, fonts and the loaded state.
#include "Forms.h"
#include "Scope.h"
#include "dxBarBar.h"
#include "dxBarDockControls.h"
#include "dxBarItemLink.h"
#include "dxBarManager.h"
#include "dxBarServices.h"

namespace {

// The caption height of a floating bar's small caption.
constexpr int dxBarSmallCaptionHeight = 15;

}  // namespace

TdxBars* TdxBar::Bars() const
{
    return static_cast<TdxBars*>(Collection());
}

bool TdxBar::IsLoading() const
{
    return !loaded_;
}

void TdxBar::WindowChanged(int change) const
{
    if (windowShown_) dxBarWindowServices().BarWindowChanged(const_cast<TdxBar*>(this), TdxBarWindowChange(change));
}

void TdxBar::ManagerChanged() const
{
    if (TdxBarManager* manager = BarManager()) manager->Changed();
}

void TdxBar::NotifyBarChanged()
{
    dxBarCustomizingForm().BarChanged(this);
}

QString TdxBar::DisplayName() const
{
    return caption_.isEmpty() ? TCollectionItem::DisplayName() : caption_;
}

// ---------------------------------------------------------------- plain setters

void TdxBar::SetAllowClose(bool value)
{
    if (value == allowClose_) return;
    allowClose_ = value;
    if (dockingStyle_ == dsNone) WindowChanged(int(TdxBarWindowChange::Layout));
    NotifyBarChanged();
}

void TdxBar::SetAllowQuickCustomizing(bool value)
{
    if (value == allowQuickCustomizing_) return;
    allowQuickCustomizing_ = value;
    TdxBarManager* manager = BarManager();
    if (manager && manager->Style() != bmsStandard) WindowChanged(int(TdxBarWindowChange::Layout));
}

void TdxBar::SetBorderStyle(TdxBarBorderStyle value)
{
    if (value == borderStyle_) return;
    borderStyle_ = value;
    WindowChanged(int(TdxBarWindowChange::Frame));
}

void TdxBar::SetDockedLeft(int value)
{
    dockedLeft_ = qMax(0, value);
    ManagerChanged();
}

void TdxBar::SetDockedTop(int value)
{
    dockedTop_ = qMax(0, value);
    ManagerChanged();
}

void TdxBar::SetFloatLeft(int value)
{
    floatLeft_ = value;
    ManagerChanged();
}

void TdxBar::SetFloatTop(int value)
{
    floatTop_ = value;
    ManagerChanged();
}

void TdxBar::SetFloatClientWidth(int value)
{
    floatClientWidth_ = value;
    ManagerChanged();
}

void TdxBar::SetFloatClientHeight(int value)
{
    floatClientHeight_ = value;
    ManagerChanged();
}

void TdxBar::SetHidden(bool value)
{
    hidden_ = value;
    ManagerChanged();
}

void TdxBar::SetRotateWhenVertical(bool value)
{
    if (value == rotateWhenVertical_) return;
    rotateWhenVertical_ = value;
    WindowChanged(int(TdxBarWindowChange::Font));
}

void TdxBar::SetShowMark(bool value)
{
    if (value == showMark_) return;
    showMark_ = value;
    WindowChanged(int(TdxBarWindowChange::Layout));
}

void TdxBar::SetSizeGrip(bool value)
{
    if (value == sizeGrip_) return;
    sizeGrip_ = value;
    if (IsBottomBorderless()) WindowChanged(int(TdxBarWindowChange::Frame));
}

void TdxBar::SetUseRecentItems(bool value)
{
    if (value == useRecentItems_) return;
    useRecentItems_ = value;
    itemLinks_->SetUseRecentItems(value);
    WindowChanged(int(TdxBarWindowChange::Layout));
}

void TdxBar::SetUseRestSpace(bool value)
{
    if (value == useRestSpace_) return;
    useRestSpace_ = value;
    WindowChanged(int(TdxBarWindowChange::Layout));
}

void TdxBar::SetMultiLine(bool value)
{
    if (value == multiLine_ || (!value && isMainMenu_)) return;
    multiLine_ = value;
    if (dockingStyle_ != dsNone) WindowChanged(int(TdxBarWindowChange::Layout));
}

void TdxBar::SetWholeRow(bool value)
{
    if (value == wholeRow_) return;
    wholeRow_ = value;
    if (windowShown_ && DockingStyle() != dsNone && !IsLoading()) {
        HideWindow();
        ShowWindow();
    }
}

void TdxBar::SetItemLinks(TdxBarItemLinks* value)
{
    if (value && value != itemLinks_) itemLinks_->Assign(value);
}

// ---------------------------------------------------------------- caption and main menu

void TdxBar::SetCaption(const QString& value)
{
    if (value == caption_) return;
    TdxBarManager* manager = BarManager();
    if (manager && !value.isEmpty()) {
        TdxBar* other = manager->BarByCaption(value);
        if (other && other != this) return;
    }
    caption_ = value;
    WindowChanged(int(TdxBarWindowChange::Caption));
    if (name_.isEmpty() && !IsLoading() && !(manager && manager->IsLoading()) && Bars())
        name_ = Bars()->GetUniqueBarName(value);
    NotifyBarChanged();
    ManagerChanged();
}

void TdxBar::ReleaseCaption()
{
    if (caption_.isEmpty()) return;
    caption_.clear();
    WindowChanged(int(TdxBarWindowChange::Caption));
}

void TdxBar::SetIsMainMenu(bool value)
{
    if (value == isMainMenu_) return;
    TdxBarManager* manager = BarManager();
    TdxBarUpdateLockScope lock(manager);
    if (value) {
        if (manager && manager->MainMenuBar() && manager->MainMenuBar() != this)
            manager->MainMenuBar()->SetIsMainMenu(false);
        isMainMenu_ = true;
        if (manager) manager->SetMainMenuBar(this);
        SetWholeRow(true);
        SetMultiLine(true);
    } else {
        if (manager && manager->MainMenuBar() == this) manager->SetMainMenuBar(nullptr);
        isMainMenu_ = false;
        SetMultiLine(false);
        SetWholeRow(false);
    }
    if (!IsLoading()) {
        if (DockingStyle() != dsNone) WindowChanged(int(TdxBarWindowChange::Layout));
        NotifyBarChanged();
    }
}

// ---------------------------------------------------------------- docking

TdxBarDockingStyle TdxBar::DockingStyle() const
{
    return dockControl_ ? dockControl_->DockingStyle() : dockingStyle_;
}

TdxBarDockingStyle TdxBar::DockedDockingStyle() const
{
    return dockedDockControl_ ? dockedDockControl_->DockingStyle() : dockedDockingStyle_;
}

void TdxBar::SetDockedDockingStyle(TdxBarDockingStyle value)
{
    dockedDockingStyle_ = value;
    ManagerChanged();
}

void TdxBar::SetDockedDockControl(TdxBarDockControl* value)
{
    if (value && value->BarManager() != BarManager()) return;
    dockedDockControl_ = value;
    ManagerChanged();
}

TdxDockControl* TdxBar::RealDockControl() const
{
    if (dockControl_) return dockControl_;
    return Bars() ? Bars()->BuiltInDock(dockingStyle_) : nullptr;
}

void TdxBar::SetDockControl(TdxBarDockControl* value)
{
    TdxBarManager* manager = BarManager();
    if (value && value->BarManager() != manager) return;
    if (IsLoading()) {
        pendingDockControl_ = value;
        return;
    }
    TdxDockControl* current = windowShown_ ? RealDockControl() : nullptr;
    const bool moves =
        windowShown_ && (value ? value != current : (DockingStyle() != dsNone && current && !current->IsBuiltIn()));
    if (moves) HideWindow();
    dockControl_ = value;
    itemLinks_->SetRecentItemLimit(-1);
    if (!dockReentry_) {
        TRestore reentry(dockReentry_, true);
        SetDockingStyle(value ? value->DockingStyle() : dockingStyle_);
    }
    if (moves) ShowWindow();
    if (!dockReentry_ && manager) manager->DoBarDockingStyleChange(this);
}

void TdxBar::SetDockingStyle(TdxBarDockingStyle value)
{
    if (IsLoading()) {
        pendingDockingStyle_ = value;
        return;
    }
    const bool hide = windowShown_ && windowStyle_ != value;
    if (hide) HideWindow();
    dockingStyle_ = value;
    if (!dockReentry_) {
        dockReentry_ = true;
        dockControl_ = nullptr;
        dockReentry_ = false;
    }
    itemLinks_->SetRecentItemLimit(-1);
    if (hide) ShowWindow();
    if (!dockReentry_)
        if (TdxBarManager* manager = BarManager()) manager->DoBarDockingStyleChange(this);
}

void TdxBar::DockTo(TdxBarDockingStyle style, TdxBarDockControl* dock)
{
    if (dock && dock->IsBuiltIn()) dock = nullptr;
    if (style == DockingStyle() || (dock && dock != dockControl_))
        SetDockControl(dock);
    else
        SetDockingStyle(style);
}

void TdxBar::WindowMoved(TdxBarDockingStyle style, TdxBarDockControl* dock)
{
    if (dock && dock->BarManager() != BarManager()) dock = nullptr;
    const bool changed = style != DockingStyle() || dock != dockControl_;
    windowStyle_ = style;
    if (style != dsNone) everDocked_ = true;
    dockControl_ = dock;
    dockingStyle_ = style;
    itemLinks_->SetRecentItemLimit(-1);
    if (changed)
        if (TdxBarManager* manager = BarManager()) manager->DoBarDockingStyleChange(this);
}

// ---------------------------------------------------------------- visibility

void TdxBar::ShowWindow()
{
    windowShown_ = true;
    // A side whose built-in dock is gone cannot hold the bar: it floats instead.
    windowStyle_ = DockingStyle() != dsNone && !RealDockControl() ? dsNone : DockingStyle();
    if (windowStyle_ != dsNone) everDocked_ = true;
    dxBarWindowServices().ShowBar(this);
}

void TdxBar::HideWindow()
{
    if (!windowShown_) return;
    windowShown_ = false;
    dxBarWindowServices().HideBar(this);
}

void TdxBar::DropWindow()
{
    windowShown_ = false;
}

void TdxBar::SetVisible(bool value)
{
    TdxBarManager* manager = BarManager();
    if (value && manager && manager->IsDestroying()) return;
    if (IsLoading()) {
        pendingVisible_ = value;
        return;
    }
    if (value == visible_) return;
    visible_ = value;
    if (value)
        ShowWindow();
    else
        HideWindow();
    if (!manager) return;
    if (manager->IsCustomizing()) NotifyBarChanged();
    if (!manager->IsDestroying() && manager->OnBarVisibleChange) manager->OnBarVisibleChange(manager, this);
    if (!manager->BarsRestoring()) manager->Changed();
}

void TdxBar::ApplyLoadedState()
{
    loaded_ = true;
    if (pendingDockControl_)
        SetDockControl(pendingDockControl_);
    else
        SetDockingStyle(pendingDockingStyle_);
    SetVisible(pendingVisible_);
}

// ---------------------------------------------------------------- fonts

void TdxBar::SetFont(TFont* value)
{
    if (value && value != font_) font_->Assign(value);
}

void TdxBar::FontChange(TObject*)
{
    if (!settingOwnFont_) useOwnFont_ = true;
    WindowChanged(int(TdxBarWindowChange::Font));
}

void TdxBar::SetUseOwnFont(bool value)
{
    if (value == useOwnFont_) return;
    useOwnFont_ = value;
    if (!value) ManagerFontChanged();
}

void TdxBar::ManagerFontChanged()
{
    TdxBarManager* manager = BarManager();
    if (useOwnFont_ || !manager || !manager->Font()) {
        WindowChanged(int(TdxBarWindowChange::Font));
        return;
    }
    settingOwnFont_ = true;
    font_->Assign(manager->Font());
    settingOwnFont_ = false;
    WindowChanged(int(TdxBarWindowChange::Font));
}

// ---------------------------------------------------------------- metrics

bool TdxBar::ShowsCloseButton() const
{
    return allowClose_ && !isMainMenu_;
}

bool TdxBar::IsBottomBorderless() const
{
    return borderStyle_ == bbsNone && DockingStyle() == dsBottom;
}

int TdxBar::NonClientWidth(TdxBarDockingStyle style) const
{
    TdxBarManager* manager = BarManager();
    if (!manager) return 0;
    if (style == dsNone) return 2 * manager->FrameWidth() + (manager->IsFlat() ? 2 : 8);
    if (borderStyle_ == bbsSingle) return style == dsTop || style == dsBottom ? manager->GripAreaSize() + 4 : 4;
    // The size grip of a bottom bar without border is drawn by the windows library.
    return 0;
}

int TdxBar::NonClientHeight(TdxBarDockingStyle style) const
{
    TdxBarManager* manager = BarManager();
    if (!manager) return 0;
    if (style == dsNone) return dxBarSmallCaptionHeight + 2 * manager->FrameHeight() + (manager->IsFlat() ? 2 : 3);
    if (borderStyle_ == bbsSingle) return style == dsLeft || style == dsRight ? manager->GripAreaSize() + 4 : 4;
    return IsBottomBorderless() ? 2 : 0;
}
