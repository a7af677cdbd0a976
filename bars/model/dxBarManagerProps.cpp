// The manager's published look and options: setters and their effects.
#include "Forms.h"
#include "ImgList.h"
#include "Scope.h"
#include "Strings.h"
#include "dxBarBar.h"
#include "dxBarCategories.h"
#include "dxBarDockControls.h"
#include "dxBarItem.h"
#include "dxBarManager.h"
#include "dxBarPopupMenuLinks.h"
#include "SysParams.h"
#include "dxBarServices.h"

namespace {

// Gives font the system's menu font: its face and height, regular and of default pitch.
void AssignSystemMenuFont(TFont& font)
{
    font.SetName(SystemMenuFontName());
    font.SetHeight(SystemMenuFontHeight());
    font.SetStyle({});
    font.SetPitch(fpDefault);
}

// Changes font without its change handler seeing it.
void ChangeQuietly(TFont* font, const std::function<void()>& change)
{
    const TNotifyEvent handler = font->OnChange();
    font->SetOnChange(TNotifyEvent());
    TScopeExit reconnect([font, handler] { font->SetOnChange(handler); });
    change();
}

}  // namespace

void TdxBarManager::OptionChanged()
{
    Changed();
    dxBarCustomizingForm().OptionsChanged();
}

void TdxBarManager::LockUpdate(bool value)
{
    if (value == updateLocked_) return;
    updateLocked_ = value;
    // Every dock draws again at the end, also one hidden meanwhile.
    for (TdxDockControl* dock : QList<TdxDockControl*>(dockControls_))
        if (dock->Visible() || !value) dock->SetRedraw(!value);
    dxBarWindowServices().ManagerWindowsChanged(this, value ? TdxBarWindowChange::Lock : TdxBarWindowChange::Unlock);
    if (value) return;
    for (TdxDockControl* dock : QList<TdxDockControl*>(dockControls_))
        if (dock->Visible()) dock->LayoutRows();
}

void TdxBarManager::SetStyle(TdxBarManagerStyle value)
{
    if (value == style_) return;
    TRestore changing(changingStyle_, true);
    style_ = value;
    UpdateMetrics();
    dxBarWindowServices().ManagerWindowsChanged(this, TdxBarWindowChange::Style);
    dxBarCustomizingForm().StyleChanged();
}

void TdxBarManager::SetMenuAnimations(TdxBarMenuAnimations value)
{
    if (value == menuAnimations_) return;
    menuAnimations_ = value;
    OptionChanged();
}

void TdxBarManager::SetShowFullMenusAfterDelay(bool value)
{
    if (value == showFullMenusAfterDelay_) return;
    showFullMenusAfterDelay_ = value;
    OptionChanged();
}

void TdxBarManager::SetShowHint(bool value)
{
    if (value == showHint_) return;
    showHint_ = value;
    OptionChanged();
}

void TdxBarManager::SetShowShortCutInHint(bool value)
{
    if (value == showShortCutInHint_) return;
    showShortCutInHint_ = value;
    OptionChanged();
}

void TdxBarManager::SetLargeIcons(bool value)
{
    if (value == largeIcons_) return;
    largeIcons_ = value;
    UpdateMetrics();
    OptionChanged();
    dxBarWindowServices().ManagerWindowsChanged(this, TdxBarWindowChange::Layout);
}

void TdxBarManager::SetButtonArrowWidth(int value)
{
    if (value < 2 || value == buttonArrowWidth_) return;
    buttonArrowWidth_ = value;
    UpdateMetrics();
    dxBarWindowServices().ManagerWindowsChanged(this, TdxBarWindowChange::Layout);
}

void TdxBarManager::SetLargeButtonArrowWidth(int value)
{
    if (value < 2 || value == largeButtonArrowWidth_) return;
    largeButtonArrowWidth_ = value;
    dxBarWindowServices().ManagerWindowsChanged(this, TdxBarWindowChange::Layout);
}

void TdxBarManager::SetWaitForDockingTime(int value)
{
    if (value >= 0) waitForDockingTime_ = value;
}

void TdxBarManager::SetAutoDockColor(bool value)
{
    if (value == autoDockColor_) return;
    autoDockColor_ = value;
    UpdateDockColors();
}

TColor TdxBarManager::DockColor() const
{
    if (autoDockColor_) {
        if (auto* form = OwnerFormAsForm()) return form->Color();
    }
    return dockColor_;
}

void TdxBarManager::SetDockColor(TColor value)
{
    autoDockColor_ = false;
    dockColor_ = value;
    UpdateDockColors();
}

void TdxBarManager::UpdateDockColors()
{
    for (TdxDockControl* dock : QList<TdxDockControl*>(dockControls_)) dock->UpdateColor();
}

void TdxBarManager::SetAutoHideEmptyBars(bool value)
{
    if (value == autoHideEmptyBars_) return;
    autoHideEmptyBars_ = value;
    if (value || !bars_) return;
    for (int i = 0; i < bars_->Count(); ++i) bars_->Items(i)->SetAutoHidden(false);
}

void TdxBarManager::SetSunkenBorder(bool value)
{
    if (value == sunkenBorder_) return;
    sunkenBorder_ = value;
    for (TdxDockControl* dock : QList<TdxDockControl*>(dockControls_)) dock->RecalcBars();
}

void TdxBarManager::SetImageListBkColor(TColor value)
{
    if (value == imageListBkColor_) return;
    imageListBkColor_ = value;
    dxBarWindowServices().ManagerWindowsChanged(this, TdxBarWindowChange::Brushes);
}

void TdxBarManager::SetShowCloseButton(bool value)
{
    if (value == showCloseButton_) return;
    showCloseButton_ = value;
    CloseButtonsChanged();
}

void TdxBarManager::SetFlatCloseButton(bool value)
{
    if (value == flatCloseButton_) return;
    flatCloseButton_ = value;
    CloseButtonsChanged();
}

void TdxBarManager::CloseButtonsChanged()
{
    if (!mainMenuBar_) return;
    customizing_.SetSelectedControl(nullptr);
    dxBarWindowServices().BarWindowChanged(mainMenuBar_, TdxBarWindowChange::CloseButton);
}

void TdxBarManager::SetShowHelpButton(bool value)
{
    if (value == showHelpButton_) return;
    showHelpButton_ = value;
    dxBarCustomizingForm().HelpButtonChanged();
}

void TdxBarManager::SetHelpButtonGlyph(TBitmap* value)
{
    if (value)
        helpButtonGlyph_->Assign(value);
    else
        helpButtonGlyph_->SetImage(QImage());
}

void TdxBarManager::HelpButtonGlyphChanged(TObject*)
{
    dxBarCustomizingForm().HelpButtonChanged();
}

void TdxBarManager::SetBars(TdxBars* value)
{
    if (value && value != bars_) bars_->Assign(value);
}

void TdxBarManager::SetPopupMenuLinks(TdxBarPopupMenuLinks* value)
{
    if (value && value != popupMenuLinks_ && popupMenuLinks_) popupMenuLinks_->Assign(value);
}

void TdxBarManager::SetCategories(TStrings* value)
{
    if (value && value != categories_) categories_->Assign(value);
}

// ---------------------------------------------------------------- fonts

void TdxBarManager::SetFont(TFont* value)
{
    if (value && value != font_) font_->Assign(value);
}

void TdxBarManager::SetScaled(bool value)
{
    if (value == scaled_) return;
    scaled_ = value;
    if (value && !useSystemFont_) SystemFontStep();
}

void TdxBarManager::SetUseSystemFont(bool value)
{
    if (value == useSystemFont_) return;
    useSystemFont_ = value;
    if (value) SystemFontStep();
}

void TdxBarManager::SystemFontStep()
{
    // The step changes Font without counting as a user change of it.
    ChangeQuietly(font_, [this] {
        if (useSystemFont_)
            AssignSystemMenuFont(*font_);
        else if (scaled_)
            font_->SetHeight(SystemMenuFontHeight());
    });
    FontChanged(nullptr);
}

void TdxBarManager::FontChanged(TObject* sender)
{
    // A change made by the user (sender set) drops the system font.
    if (sender) {
        useSystemFont_ = false;
        if (scaled_) {
            ChangeQuietly(font_, [this] { font_->SetHeight(SystemMenuFontHeight()); });
        }
    }
    if (!bars_) return;
    for (int i = 0; i < bars_->Count(); ++i) bars_->Items(i)->ManagerFontChanged();
}

// ---------------------------------------------------------------- image lists

int TdxBarManager::ImageCount() const
{
    return images_ ? images_->Count() : imageCount_;
}

void TdxBarManager::SetImageList(TCustomImageList*& field, TChangeLink* link, TCustomImageList* value)
{
    if (field == value) return;
    // A list being freed (its removal notice) has let go of the link already, and its own
    // parts are gone: it is only forgotten.
    if (field && link->Sender() == field) {
        field->UnRegisterChanges(link);
        field->RemoveFreeNotification(this);
    }
    field = value;
    if (value) {
        value->RegisterChanges(link);
        value->FreeNotification(this);
    }
}

void TdxBarManager::UpdateItems(const std::function<bool(TdxBarItem*)>& concerned, void (TdxBarItem::*notify)())
{
    if (IsLoading() || IsDestroying()) return;
    TdxBarUpdateLockScope lock(this);
    for (TdxBarItem* item : QList<TdxBarItem*>(items_))
        if (items_.contains(item) && concerned(item)) (item->*notify)();
}

void TdxBarManager::SetImages(TCustomImageList* value)
{
    if (value == images_) return;
    SetImageList(images_, imagesLink_, value);
    UpdateItems([](TdxBarItem* item) { return item->ImageIndex() >= 0; }, &TdxBarItem::GlyphChanged);
}

void TdxBarManager::SetLargeImages(TCustomImageList* value)
{
    if (value == largeImages_) return;
    SetImageList(largeImages_, largeImagesLink_, value);
    UpdateItems([](TdxBarItem* item) { return item->UseLargeImages(); }, &TdxBarItem::LargeGlyphChanged);
}

void TdxBarManager::SetHotImages(TCustomImageList* value)
{
    if (value == hotImages_) return;
    SetImageList(hotImages_, hotImagesLink_, value);
    UpdateItems([](TdxBarItem* item) { return item->UseHotImages(); }, &TdxBarItem::HotGlyphChanged);
}

void TdxBarManager::ImagesChanged(TObject*)
{
    if (IsLoading()) return;
    UpdateItems([](TdxBarItem* item) { return item->ImageIndex() >= 0; }, &TdxBarItem::GlyphChanged);
}
