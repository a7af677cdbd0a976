#pragma once
// TdxBarManager: the non-visual component, one per form, that owns and governs the form's
// bars, items and categories; and TdxBarManagerList, the process-wide list of live managers.
#include "Classes.h"
#include "Graphics.h"
#include "Scope.h"
#include "dxBarCustomizingState.h"
#include "dxBarLayoutStoreOptions.h"
#include "dxBarManagerMetrics.h"
#include "dxBarServices.h"
#include "dxBarTypes.h"

#include <QList>
#include <QPointer>
#include <QString>
#include <functional>

Q_MOC_INCLUDE("Graphics.h")
Q_MOC_INCLUDE("Strings.h")
Q_MOC_INCLUDE("dxBarBar.h")
Q_MOC_INCLUDE("dxBarItem.h")
Q_MOC_INCLUDE("dxBarItemLink.h")
Q_MOC_INCLUDE("dxBarDockControls.h")
Q_MOC_INCLUDE("ImgList.h")
Q_MOC_INCLUDE("dxBarCategories.h")
Q_MOC_INCLUDE("dxBarPopupMenuLinks.h")

class TBitmap;
class TChangeLink;
class TCustomForm;
class TCustomImageList;
class TFont;
class TStrings;
class TdxBar;
class TdxBarGroup;
class TdxBarItem;
class TdxBarItemLink;
class TdxBarItemLinks;
class TdxBarManager;
class TdxBarManagerCategories;
class TdxBarPopupMenuLinks;
class TdxBars;
class TdxDockControl;

using TdxBarClickItemEvent = TEvent<TdxBarManager*, TdxBarItem*>;
Q_DECLARE_METATYPE(TdxBarClickItemEvent)
using TdxBarEvent = TEvent<TdxBarManager*, TdxBar*>;
Q_DECLARE_METATYPE(TdxBarEvent)
using TdxBarVisibleChangeEvent = TdxBarEvent;
using TdxBarItemLinkEvent = TEvent<TdxBarManager*, TdxBarItemLink*>;
Q_DECLARE_METATYPE(TdxBarItemLinkEvent)
using TdxBarCanDockingEvent = TEvent<TdxBar*, TdxBarDockingStyle, TdxDockControl*, bool&>;
Q_DECLARE_METATYPE(TdxBarCanDockingEvent)
using TdxBarMenuMergeEvent = TEvent<TdxBarManager*, TdxBarManager*, bool>;
Q_DECLARE_METATYPE(TdxBarMenuMergeEvent)
using TdxBarShowPopupEvent = TEvent<TdxBarManager*, TdxBarItemLinks*>;
Q_DECLARE_METATYPE(TdxBarShowPopupEvent)

class TdxBarManager : public TComponent {
    Q_OBJECT
    Q_PROPERTY(bool AllowCallFromAnotherForm MEMBER allowCallFromAnotherForm_)
    Q_PROPERTY(bool AllowReset MEMBER allowReset_)
    Q_PROPERTY(bool AlwaysMerge MEMBER alwaysMerge_)
    Q_PROPERTY(bool AlwaysSaveText MEMBER alwaysSaveText_)
    Q_PROPERTY(bool AutoDockColor READ AutoDockColor WRITE SetAutoDockColor)
    Q_PROPERTY(bool AutoHideEmptyBars READ AutoHideEmptyBars WRITE SetAutoHideEmptyBars)
    Q_PROPERTY(bool Scaled READ Scaled WRITE SetScaled)
    Q_PROPERTY(TFont* Font READ Font WRITE SetFont)
    Q_PROPERTY(TdxBars* Bars READ Bars WRITE SetBars)
    Q_PROPERTY(int ButtonArrowWidth READ ButtonArrowWidth WRITE SetButtonArrowWidth)
    Q_PROPERTY(bool CanCustomize MEMBER canCustomize_)
    Q_PROPERTY(TdxBarManagerCategories* Categories READ Categories WRITE SetCategories)
    Q_PROPERTY(TColor DockColor READ DockColor WRITE SetDockColor)
    Q_CLASSINFO("Stored.DockColor", "IsDockColorStored")
    Q_PROPERTY(bool FlatCloseButton READ FlatCloseButton WRITE SetFlatCloseButton)
    Q_PROPERTY(TBitmap* HelpButtonGlyph READ HelpButtonGlyph WRITE SetHelpButtonGlyph)
    Q_PROPERTY(int HelpContext READ HelpContext WRITE SetHelpContext)
    Q_PROPERTY(TCustomImageList* HotImages READ HotImages WRITE SetHotImages)
    Q_PROPERTY(TColor ImageListBkColor READ ImageListBkColor WRITE SetImageListBkColor)
    Q_PROPERTY(TCustomImageList* Images READ Images WRITE SetImages)
    Q_PROPERTY(QString IniFileName READ IniFileName WRITE SetIniFileName)
    Q_PROPERTY(TCustomImageList* LargeImages READ LargeImages WRITE SetLargeImages)
    Q_PROPERTY(int LargeButtonArrowWidth READ LargeButtonArrowWidth WRITE SetLargeButtonArrowWidth)
    Q_PROPERTY(bool LargeIcons READ LargeIcons WRITE SetLargeIcons)
    Q_PROPERTY(dxBarTypes::TdxBarMenuAnimations MenuAnimations READ MenuAnimations WRITE SetMenuAnimations)
    Q_PROPERTY(bool MenusShowRecentItemsFirst READ MenusShowRecentItemsFirst WRITE SetMenusShowRecentItemsFirst)
    Q_PROPERTY(int MostRecentItemsPercents READ MostRecentItemsPercents WRITE SetMostRecentItemsPercents)
    Q_PROPERTY(dxBarDockingStyleSet::TdxBarDockingStyles NotDocking MEMBER notDocking_)
    Q_PROPERTY(TdxBarPopupMenuLinks* PopupMenuLinks READ PopupMenuLinks WRITE SetPopupMenuLinks)
    Q_PROPERTY(QString RegistryPath READ RegistryPath WRITE SetRegistryPath)
    Q_PROPERTY(bool ShowCloseButton READ ShowCloseButton WRITE SetShowCloseButton)
    Q_PROPERTY(bool ShowFullMenusAfterDelay READ ShowFullMenusAfterDelay WRITE SetShowFullMenusAfterDelay)
    Q_PROPERTY(bool ShowHelpButton READ ShowHelpButton WRITE SetShowHelpButton)
    Q_PROPERTY(bool ShowHint READ ShowHint WRITE SetShowHint)
    Q_PROPERTY(bool ShowHintForDisabledItems MEMBER showHintForDisabledItems_)
    Q_PROPERTY(bool ShowShortCutInHint READ ShowShortCutInHint WRITE SetShowShortCutInHint)
    Q_PROPERTY(bool StoreInIniFile READ StoreInIniFile WRITE SetStoreInIniFile)
    Q_PROPERTY(bool StoreInRegistry READ StoreInRegistry WRITE SetStoreInRegistry)
    Q_PROPERTY(bool StretchGlyphs MEMBER stretchGlyphs_)
    Q_PROPERTY(dxBarTypes::TdxBarManagerStyle Style READ Style WRITE SetStyle)
    Q_PROPERTY(bool SunkenBorder READ SunkenBorder WRITE SetSunkenBorder)
    Q_PROPERTY(bool UseF10ForMenu MEMBER useF10ForMenu_)
    Q_PROPERTY(bool UseFullReset MEMBER useFullReset_)
    Q_PROPERTY(bool UseSystemFont READ UseSystemFont WRITE SetUseSystemFont)
    Q_PROPERTY(int WaitForDockingTime READ WaitForDockingTime WRITE SetWaitForDockingTime)
    Q_PROPERTY(TdxBarEvent OnBarAdd MEMBER OnBarAdd)
    Q_PROPERTY(TdxBarEvent OnBarAfterReset MEMBER OnBarAfterReset)
    Q_PROPERTY(TdxBarEvent OnBarBeforeReset MEMBER OnBarBeforeReset)
    Q_PROPERTY(TdxBarEvent OnBarClose MEMBER OnBarClose)
    Q_PROPERTY(TdxBarEvent OnBarDelete MEMBER OnBarDelete)
    Q_PROPERTY(TdxBarEvent OnBarDockingStyleChange MEMBER OnBarDockingStyleChange)
    Q_PROPERTY(TdxBarEvent OnBarVisibleChange MEMBER OnBarVisibleChange)
    Q_PROPERTY(TdxBarItemLinkEvent OnItemLinkAdd MEMBER OnItemLinkAdd)
    Q_PROPERTY(TdxBarItemLinkEvent OnItemLinkChange MEMBER OnItemLinkChange)
    Q_PROPERTY(TdxBarItemLinkEvent OnItemLinkDelete MEMBER OnItemLinkDelete)
    Q_PROPERTY(TNotifyEvent OnCloseButtonClick MEMBER OnCloseButtonClick)
    Q_PROPERTY(TdxBarCanDockingEvent OnDocking MEMBER OnDocking)
    Q_PROPERTY(TNotifyEvent OnHelpButtonClick MEMBER OnHelpButtonClick)
    Q_PROPERTY(TNotifyEvent OnHideCustomizingForm MEMBER OnHideCustomizingForm)
    Q_PROPERTY(TdxBarMenuMergeEvent OnMenuMerge MEMBER OnMenuMerge)
    Q_PROPERTY(TNotifyEvent OnShowCustomizingForm MEMBER OnShowCustomizingForm)
    Q_PROPERTY(TdxBarShowPopupEvent OnShowCustomizingPopup MEMBER OnShowCustomizingPopup)
    Q_PROPERTY(TdxBarShowPopupEvent OnShowToolbarsPopup MEMBER OnShowToolbarsPopup)
    Q_PROPERTY(TdxBarClickItemEvent OnClickItem READ OnClickItem WRITE SetOnClickItem)
    Q_CLASSINFO("Default.AllowCallFromAnotherForm", "False")
    Q_CLASSINFO("Default.AllowReset", "True")
    Q_CLASSINFO("Default.AlwaysMerge", "False")
    Q_CLASSINFO("Default.AlwaysSaveText", "False")
    Q_CLASSINFO("Default.AutoDockColor", "True")
    Q_CLASSINFO("Default.AutoHideEmptyBars", "False")
    Q_CLASSINFO("Default.Scaled", "True")
    Q_CLASSINFO("Default.ButtonArrowWidth", "9")
    Q_CLASSINFO("Default.CanCustomize", "True")
    Q_CLASSINFO("Default.FlatCloseButton", "False")
    Q_CLASSINFO("Default.HelpContext", "0")
    Q_CLASSINFO("Default.ImageListBkColor", "clFuchsia")
    Q_CLASSINFO("Default.IniFileName", "''")
    Q_CLASSINFO("Default.LargeButtonArrowWidth", "14")
    Q_CLASSINFO("Default.LargeIcons", "False")
    Q_CLASSINFO("Default.MenuAnimations", "maNone")
    Q_CLASSINFO("Default.MenusShowRecentItemsFirst", "True")
    Q_CLASSINFO("Default.MostRecentItemsPercents", "95")
    Q_CLASSINFO("Default.NotDocking", "[]")
    Q_CLASSINFO("Default.RegistryPath", "''")
    Q_CLASSINFO("Default.ShowCloseButton", "False")
    Q_CLASSINFO("Default.ShowFullMenusAfterDelay", "True")
    Q_CLASSINFO("Default.ShowHelpButton", "False")
    Q_CLASSINFO("Default.ShowHint", "True")
    Q_CLASSINFO("Default.ShowHintForDisabledItems", "True")
    Q_CLASSINFO("Default.ShowShortCutInHint", "False")
    Q_CLASSINFO("Default.StoreInIniFile", "False")
    Q_CLASSINFO("Default.StoreInRegistry", "False")
    Q_CLASSINFO("Default.StretchGlyphs", "True")
    Q_CLASSINFO("Default.Style", "bmsEnhanced")
    Q_CLASSINFO("Default.SunkenBorder", "False")
    Q_CLASSINFO("Default.UseF10ForMenu", "True")
    Q_CLASSINFO("Default.UseFullReset", "False")
    Q_CLASSINFO("Default.WaitForDockingTime", "21")
public:
    // Raises 39004 when the owner is no form and 39003 when the form has a manager already.
    Q_INVOKABLE explicit TdxBarManager(TComponent* owner);
    ~TdxBarManager() override;

    // The form the manager serves.
    TComponent* OwnerForm() const { return ownerForm_; }

    // --- items
    int ItemCount() const { return int(items_.size()); }
    TdxBarItem* GetItem(int index) const;
    TdxBarItem* ItemByName(const QString& name) const;
    const QList<TdxBarItem*>& ItemList() const { return items_; }
    // Items the manager made for its own use (system menu, quick customization).
    QList<TdxBarItem*>& InternalItems() { return internalItems_; }
    int CategoryCount() const;
    TdxBarManagerCategories* Categories() const;

    // --- category values (see dxBarCategories.cpp)
    // ivNever outside the range; ivAlways for a category without a record.
    TdxBarItemVisible GetCategoryItemsVisible(int index) const;
    // Switches the category's items whose Visible still equals the category's old value.
    // While loading, the value is only remembered; Loaded applies it.
    void SetCategoryItemsVisible(int index, TdxBarItemVisible value);
    // False outside the range; True for a category without a record.
    bool GetCategoryVisible(int index) const;
    void SetCategoryVisible(int index, bool value);
    // Sets an item's category without checks or notifications (the category list renumbers).
    void SetItemCategoryDirect(TdxBarItem* item, int category);

    // --- groups (see dxBarGroups.cpp)
    int GroupCount() const { return int(groups_.size()); }
    // None out of range.
    TdxBarGroup* GetGroup(int index) const { return groups_.value(index); }
    // A new group owned by the owner form, listed by this manager.
    TdxBarGroup* CreateGroup();

    // --- customizing mode, toolbars popup and usage reset (see dxBarManagerCustomizing.cpp)
    // Switches every bar window between normal and customizing mode; nothing while another
    // manager's customizing window is open.
    void Customizing(bool value);
    // Appends to links one checked button per closable, non-hidden bar (down while the bar is
    // visible), lets OnShowToolbarsPopup change the list, then adds "&Customize...".
    void CreateToolbarsListItems(TdxBarItemLinks* links);
    // With CanCustomize and a customizing window installed: a "&Customize..." item made by
    // makeItem (a button by default), enabled while no customizing window is open, linked at
    // the end of links.
    void AddCustomizeItem(TdxBarItemLinks* links, bool beginGroup,
                          const std::function<TdxBarItem*(TdxBarManager*)>& makeItem = {});
    // The click of the toolbars list's items: "&Customize..." starts customizing; a bar's
    // button toggles that bar (found by its guarded reference, not by index).
    void ToolbarsPopupClick(TObject* sender);
    // The caption offered for a new toolbar: "Custom " followed by the smallest number from
    // 1 up that no bar carries as its caption.
    QString NewToolbarCaption() const;
    // Asks (No by default) whether to forget which commands were used; Yes resets.
    void ResetUsageData();
    // Every bar and every sub item takes the recent-use defaults of its namesake in a copy
    // of the form read from its resource; nothing without a resource.
    void ResetUsageDataToDefault();

    // --- state
    // Selection, drag and mode while the bars are customized (see dxBarCustomizingState.h).
    const TdxBarCustomizingState& CustomizingState() const { return customizing_; }
    bool IsCustomizing() const { return customizing_.IsCustomizing(); }
    void SetIsCustomizing(bool value) { customizing_.SetMode(value); }
    bool IsDesigning() const { return customizing_.Designing(); }
    // Test and design-time use: the copy of csDesigning the manager keeps.
    void SetDesigningFlag(bool value) { customizing_.SetDesigning(value); }
    bool IsLoading() const { return Loading(); }
    bool UpdateLocked() const { return updateLocked_; }
    void LockUpdate(bool value);
    bool Modified() const { return modified_; }
    void SetModified(bool value) { modified_ = value; }
    void Changed();
    int InitialUseCount() const { return initialUseCount_; }

    // --- look and options
    TdxBarManagerStyle Style() const { return style_; }
    void SetStyle(TdxBarManagerStyle value);
    bool IsFlat() const { return style_ == bmsFlat; }
    bool MenusShowRecentItemsFirst() const { return menusShowRecentItemsFirst_; }
    void SetMenusShowRecentItemsFirst(bool value);
    int MostRecentItemsPercents() const { return mostRecentItemsPercents_; }
    void SetMostRecentItemsPercents(int value);
    // Number of images in the manager's image list (Images, else the count set directly).
    int ImageCount() const;
    void SetImageCount(int count) { imageCount_ = count; }

    // --- events
    const TdxBarClickItemEvent& OnClickItem() const { return onClickItem_; }
    void SetOnClickItem(const TdxBarClickItemEvent& e) { onClickItem_ = e; }
    virtual void DoClickItem(TdxBarItem* item);

    // Tells the customizing window that an item changed (caption, glyph, shortcut, ...).
    void ItemChanged(TdxBarItem* item);
    void ItemCategoryChanged(TdxBarItem* item);

    TdxBars* Bars() const { return bars_; }
    void SetBars(TdxBars* value);
    // Window controls of the form bound to popup menus (see dxBarPopupMenuLinks.h).
    TdxBarPopupMenuLinks* PopupMenuLinks() const { return popupMenuLinks_; }
    void SetPopupMenuLinks(TdxBarPopupMenuLinks* value);
    void SetCategories(TStrings* value);

    // --- published look and options (see dxBarManagerProps.cpp)
    bool AutoDockColor() const { return autoDockColor_; }
    void SetAutoDockColor(bool value);
    bool AutoHideEmptyBars() const { return autoHideEmptyBars_; }
    void SetAutoHideEmptyBars(bool value);
    bool Scaled() const { return scaled_; }
    // The manager's font follows the system's menu font again: all of it with UseSystemFont,
    // its height when Scaled; then the bars take it (run when the application's font changes).
    void SystemFontStep();
    int HelpContext() const { return helpContext_; }
    void SetHelpContext(int value) { helpContext_ = value; }
    void SetScaled(bool value);
    TFont* Font() const { return font_; }
    void SetFont(TFont* value);
    int ButtonArrowWidth() const { return buttonArrowWidth_; }
    void SetButtonArrowWidth(int value);
    // The owner form's Color while AutoDockColor, else the stored colour.
    TColor DockColor() const;
    void SetDockColor(TColor value);
    Q_INVOKABLE bool IsDockColorStored() const { return !autoDockColor_; }
    bool FlatCloseButton() const { return flatCloseButton_; }
    void SetFlatCloseButton(bool value);
    TBitmap* HelpButtonGlyph() const { return helpButtonGlyph_; }
    void SetHelpButtonGlyph(TBitmap* value);
    TCustomImageList* Images() const { return images_; }
    void SetImages(TCustomImageList* value);
    TCustomImageList* LargeImages() const { return largeImages_; }
    void SetLargeImages(TCustomImageList* value);
    TCustomImageList* HotImages() const { return hotImages_; }
    void SetHotImages(TCustomImageList* value);
    TColor ImageListBkColor() const { return imageListBkColor_; }
    void SetImageListBkColor(TColor value);
    int LargeButtonArrowWidth() const { return largeButtonArrowWidth_; }
    void SetLargeButtonArrowWidth(int value);
    bool LargeIcons() const { return largeIcons_; }
    void SetLargeIcons(bool value);
    TdxBarMenuAnimations MenuAnimations() const { return menuAnimations_; }
    void SetMenuAnimations(TdxBarMenuAnimations value);
    TdxBarDockingStyles NotDocking() const { return notDocking_; }
    void SetNotDocking(TdxBarDockingStyles value) { notDocking_ = value; }
    bool ShowCloseButton() const { return showCloseButton_; }
    void SetShowCloseButton(bool value);
    bool ShowFullMenusAfterDelay() const { return showFullMenusAfterDelay_; }
    void SetShowFullMenusAfterDelay(bool value);
    bool ShowHelpButton() const { return showHelpButton_; }
    void SetShowHelpButton(bool value);
    bool ShowHint() const { return showHint_; }
    void SetShowHint(bool value);
    bool ShowShortCutInHint() const { return showShortCutInHint_; }
    void SetShowShortCutInHint(bool value);
    bool SunkenBorder() const { return sunkenBorder_; }
    void SetSunkenBorder(bool value);
    bool UseSystemFont() const { return useSystemFont_; }
    void SetUseSystemFont(bool value);
    int WaitForDockingTime() const { return waitForDockingTime_; }
    void SetWaitForDockingTime(int value);
    bool AllowReset() const { return allowReset_; }
    bool UseFullReset() const { return useFullReset_; }
    bool CanCustomize() const { return canCustomize_; }
    // Where the layout is kept between runs (see dxBarLayoutStoreOptions.h).
    const TdxBarLayoutStoreOptions& LayoutStoreOptions() const { return storeOptions_; }
    bool StoreInRegistry() const { return storeOptions_.StoreInRegistry(); }
    void SetStoreInRegistry(bool value) { storeOptions_.SetStoreInRegistry(value); }
    bool StoreInIniFile() const { return storeOptions_.StoreInIniFile(); }
    void SetStoreInIniFile(bool value) { storeOptions_.SetStoreInIniFile(value); }
    const QString& RegistryPath() const { return storeOptions_.RegistryPath(); }
    void SetRegistryPath(const QString& value) { storeOptions_.SetRegistryPath(value); }
    const QString& IniFileName() const { return storeOptions_.IniFileName(); }
    void SetIniFileName(const QString& value) { storeOptions_.SetIniFileName(value); }

    // --- metrics (see dxBarManagerMetrics.cpp)
    const TdxBarManagerMetrics& Metrics() const { return metrics_; }
    int GripOffset() const { return metrics_.GripOffset; }
    int GripAreaSize() const { return metrics_.GripAreaSize; }
    int MenuSeparatorIndent() const { return metrics_.MenuSeparatorIndent; }
    int GlyphSize() const { return metrics_.GlyphSize; }
    int DefaultButtonWidth() const { return metrics_.DefaultButtonWidth; }
    int DefaultButtonHeight() const { return metrics_.DefaultButtonHeight; }
    int ArrowWidth() const { return metrics_.ArrowWidth; }
    int RealLargeButtonArrowWidth() const { return largeButtonArrowWidth_ - (IsFlat() ? 1 : 0); }
    // Sizing frame of floating bars.
    int FrameWidth() const { return metrics_.FrameWidth; }
    int FrameHeight() const { return metrics_.FrameHeight; }
    bool MenusShowRecentItemsFirstActive() const { return style_ != bmsStandard && menusShowRecentItemsFirst_; }
    bool ChangingStyle() const { return changingStyle_; }

    // --- dock controls and bars
    int DockControlCount() const { return int(dockControls_.size()); }
    TdxDockControl* GetDockControl(int index) const { return dockControls_.value(index); }
    void AddDockControl(TdxDockControl* dock);
    // Bars let go of the dock (a bar shown there is hidden); a built-in slot becomes nil.
    void RemoveDockControl(TdxDockControl* dock);
    TdxBar* MainMenuBar() const { return mainMenuBar_; }
    void SetMainMenuBar(TdxBar* bar) { mainMenuBar_ = bar; }
    TdxBar* BarByCaption(const QString& caption) const;
    TdxBar* BarByName(const QString& name) const;
    virtual bool CanDock(TdxBar* bar, TdxBarDockingStyle style, TdxDockControl* dock);

    // --- other operations
    // The form the manager serves, as a form (none once it is gone).
    TCustomForm* OwnerFormAsForm() const;
    int LoadedCount() const { return loadedCount_; }
    bool CanReset() const { return loadedCount_ == 1 && allowReset_; }
    // A hidden copy of the owner form holding only this manager's block of the form's own
    // resource, read without event bindings; the caller frees it. None without a resource.
    TCustomForm* CreateTempForm();
    int GetCategoryRealIndex(int index) const;
    void MoveItem(int curIndex, int newIndex);
    void ExchangeItems(int index1, int index2);
    int GetAllItemsByCategory(int category, QList<TdxBarItem*>& list) const;
    int GetItemsByCategory(int category, QList<TdxBarItem*>& list) const;
    void CloseActiveMenus();
    TdxBarItemControl* SelectedControl() const { return customizing_.SelectedControl(); }
    void SetSelectedControl(TdxBarItemControl* control);
    // The link being moved by the customizing drag; a link clears it when it is freed.
    TdxBarItemLink* DraggedLink() const { return customizing_.DraggedLink(); }
    void SetDraggedLink(TdxBarItemLink* link) { customizing_.SetDraggedLink(link); }
    // The item being dragged (none once it is freed).
    TdxBarItem* DraggedItem() const { return customizing_.DraggedItem(); }
    void SetDraggedItem(TdxBarItem* item) { customizing_.SetDraggedItem(item); }
    // True while an item drag runs.
    bool Dragging() const { return customizing_.Dragging(); }
    void SetDragging(bool value) { customizing_.SetDragging(value); }
    // Drags item (moving link, or a new link when link is none) onto the bars and menus
    // until the button goes up; returns when the drag has ended.
    void DragItem(TdxBarItem* item, TdxBarItemLink* link);
    // True while the bars are being read or the read states are being applied.
    bool BarsRestoring() const;

    // --- MDI frames (see dxBarManagerMDI.cpp)
    // On an MDI frame's manager: the active child as last seen, and whether it was maximized.
    TCustomForm* ActiveMDIChild() const;
    bool ChildMaximized() const { return childMaximized_; }
    bool AlwaysMerge() const { return alwaysMerge_; }
    void SetAlwaysMerge(bool value) { alwaysMerge_ = value; }
    // After a change of the frame's active child or of its state: the system menu of a
    // maximized child leads the main menu bar, and the child's main menu merges into it (while
    // maximized, or always with AlwaysMerge); the main menu bar's window is re-laid out when
    // the maximized state changed.
    void MDIUpdate();
    // One child's part of it: on, its system menu and its merge come (skipMerge: the system
    // menu only); off, they go. closing: the child is going, the bar stays locked.
    void ChildChange(TCustomForm* child, bool on, bool skipMerge, bool closing);
    // The main menu bar shows the active child's minimize, restore and close buttons: the
    // child is maximized and has a system menu.
    bool HasMDIButtons() const;

    // --- hints (dxBarHints.cpp)
    // A bar window's hot item changed (text empty) or the pointer rests on a part with a
    // text of its own: shows the hint after the delay, at once while one is shown or just
    // after one was, or hides it.
    void UpdateHint(bool show, const QString& text);
    // Shows the wanted hint now (the show timer's action).
    void ShowItemHint();

    // --- event firers
    void DoBarAfterReset(TdxBar* bar);
    void DoBarBeforeReset(TdxBar* bar);
    void DoBarClose(TdxBar* bar);
    void DoBarDockingStyleChange(TdxBar* bar);
    void DoCloseButtonClick();
    // OnHelpButtonClick with sender (the manager when none is given).
    void DoHelpButtonClick(TObject* sender = nullptr);
    void DoShowCustomizingPopup(TdxBarItemLinks* links);
    void DoShowToolbarsPopup(TdxBarItemLinks* links);

    // --- component
    void SetName(const QString& name) override;
    void GetChildren(const TGetChildProc& proc, TComponent* root) override;
    void Notification(TComponent* component, TOperation operation) override;
    void ReadState(TReader* reader) override;
    void Loaded() override;
    void DefineProperties(TFiler* filer) override;
    // The owner form is about to be destroyed: the moment the bar layout is stored.
    void BeforeFormDestroy() override;
    // Stores the bar layout when the owner form goes: registry first, then ini file, as
    // StoreInRegistry and StoreInIniFile say (not at design time).
    virtual void SaveLayoutOnFormDestroy();
    // Restores the stored layout after loading: registry first, then ini file.
    virtual void LoadLayoutAfterLoading();

    // --- bar layout store (see dxBarLayoutStore.h)
    void SaveToRegistry(const QString& path);
    void LoadFromRegistry(const QString& path);
    void SaveToIniFile(const QString& fileName);
    void LoadFromIniFile(const QString& fileName);

    // Built-in dock sizes: left width, right width, top height, bottom height.
    QList<int> DockControlHeights() const;
    // Sets the sizes in that order; values past the fourth are ignored, nil docks skipped.
    void SetDockControlHeights(const QList<int>& heights);

    TdxBarEvent OnBarAdd;
    TdxBarEvent OnBarAfterReset;
    TdxBarEvent OnBarBeforeReset;
    TdxBarEvent OnBarClose;
    TdxBarEvent OnBarDelete;
    TdxBarEvent OnBarDockingStyleChange;
    TdxBarVisibleChangeEvent OnBarVisibleChange;
    TdxBarItemLinkEvent OnItemLinkAdd;
    TdxBarItemLinkEvent OnItemLinkChange;
    TdxBarItemLinkEvent OnItemLinkDelete;
    TNotifyEvent OnCloseButtonClick;
    TdxBarCanDockingEvent OnDocking;
    TNotifyEvent OnHelpButtonClick;
    TNotifyEvent OnHideCustomizingForm;
    TdxBarMenuMergeEvent OnMenuMerge;
    TNotifyEvent OnShowCustomizingForm;
    TdxBarShowPopupEvent OnShowCustomizingPopup;
    TdxBarShowPopupEvent OnShowToolbarsPopup;

private:
    friend class TdxBarItem;
    friend class TdxBars;
    friend class TdxBarGroup;
    void AddGroup(TdxBarGroup* group);
    void RemoveGroup(TdxBarGroup* group);
    void MoveGroup(TdxBarGroup* group, int newIndex);
    void AutoHideBars(const QList<bool>& hadVisibleLinks, TdxBarItemVisible value);
    void ApplyLoadedCategories();
    void AddItem(TdxBarItem* item);
    void RemoveItem(TdxBarItem* item);
    void CheckOwner(TComponent* owner);
    void SetDefaults();
    void FreeOwned();
    void OwnerFormDestroyed();
    // Customizing(False) whatever it raises: the manager or its form is going.
    void EndCustomizingQuietly();
    void StoreLayoutOnce();
    // Works the metrics out again from the style, icon size and arrow width.
    void UpdateMetrics();
    void FontChanged(TObject* sender);
    void HelpButtonGlyphChanged(TObject* sender);
    void ImagesChanged(TObject* sender);
    void SetImageList(TCustomImageList*& field, TChangeLink* link, TCustomImageList* value);
    void UpdateItems(const std::function<bool(TdxBarItem*)>& concerned, void (TdxBarItem::*notify)());
    void CloseButtonsChanged();
    void OptionChanged();
    void ApplyLoadedBars();
    void UpdateDockColors();

    bool constructionFailed_ = true;
    TComponent* ownerForm_ = nullptr;
    bool updateLocked_ = false;
    bool modified_ = false;
    bool allowCallFromAnotherForm_ = false;
    bool allowReset_ = true;
    bool alwaysMerge_ = false;
    // The active MDI child (a form; kept as an object so the header needs no form).
    QPointer<QObject> activeMDIChild_;
    bool childMaximized_ = false;
    bool mergedMenuVisible_ = false;
    bool alwaysSaveText_ = false;
    bool canCustomize_ = true;
    bool showHint_ = true;
    bool changingStyle_ = false;
    bool autoDockColor_ = true;
    bool autoHideEmptyBars_ = false;
    bool scaled_ = true;
    bool flatCloseButton_ = false;
    bool largeIcons_ = false;
    bool showCloseButton_ = false;
    bool showFullMenusAfterDelay_ = true;
    bool showHelpButton_ = false;
    bool showHintForDisabledItems_ = true;
    bool showShortCutInHint_ = false;
    bool stretchGlyphs_ = true;
    bool sunkenBorder_ = false;
    bool useF10ForMenu_ = true;
    bool useFullReset_ = false;
    bool useSystemFont_ = false;
    bool dockUpdating_ = false;
    bool ownerFormGone_ = false;
    int helpContext_ = 0;
    int loadedCount_ = 0;
    int buttonArrowWidth_ = 9;
    int largeButtonArrowWidth_ = 14;
    int waitForDockingTime_ = 21;
    TdxBarManagerMetrics metrics_;
    TdxBarCustomizingState customizing_;
    TdxBarLayoutStoreOptions storeOptions_;
    TColor dockColor_ = clBtnFace;
    TColor imageListBkColor_ = clFuchsia;
    TdxBarMenuAnimations menuAnimations_ = maNone;
    TdxBarDockingStyles notDocking_;
    TFont* font_ = nullptr;
    TBitmap* helpButtonGlyph_ = nullptr;
    TCustomImageList* images_ = nullptr;
    TCustomImageList* largeImages_ = nullptr;
    TCustomImageList* hotImages_ = nullptr;
    TChangeLink* imagesLink_ = nullptr;
    TChangeLink* largeImagesLink_ = nullptr;
    TChangeLink* hotImagesLink_ = nullptr;
    QList<TdxDockControl*> dockControls_;
    TdxBar* mainMenuBar_ = nullptr;
    bool menusShowRecentItemsFirst_ = true;
    int mostRecentItemsPercents_ = 95;
    int initialUseCount_ = 20;
    int imageCount_ = 0;
    TdxBarManagerStyle style_ = bmsEnhanced;
    QList<TdxBarItem*> items_;
    QList<TdxBarItem*> internalItems_;
    TdxBarManagerCategories* categories_ = nullptr;
    QList<TdxBarGroup*> groups_;
    TdxBars* bars_ = nullptr;
    TdxBarPopupMenuLinks* popupMenuLinks_ = nullptr;
    TdxBarClickItemEvent onClickItem_;
};

// Holds the manager's update lock and restores its previous state when it ends, so
// locks nest. Without a manager it does nothing.
class TdxBarUpdateLockScope {
public:
    explicit TdxBarUpdateLockScope(TdxBarManager* manager) : unlock_(Lock(manager)) {}

private:
    struct TUnlock {
        QPointer<TdxBarManager> manager;
        bool previous;
        void operator()() const
        {
            if (manager) manager->LockUpdate(previous);
        }
    };
    static TUnlock Lock(TdxBarManager* manager)
    {
        const bool previous = manager && manager->UpdateLocked();
        if (manager) manager->LockUpdate(true);
        return {manager, previous};
    }
    TScopeExit<TUnlock> unlock_;
};

// The process-wide list of live managers.
class TdxBarManagerList {
public:
    static TdxBarManagerList* Instance();
    int Count() const { return int(managers_.size()); }
    TdxBarManager* Items(int index) const;
    // The manager serving form; none when the form has none.
    TdxBarManager* FindByForm(const TComponent* form) const;
    // The first registration installs the thread hooks and creates the hint window.
    void Add(TdxBarManager* manager);
    // The last one going removes the hooks (in reverse order) and frees the hint window.
    void Remove(TdxBarManager* manager);

private:
    QList<TdxBarManager*> managers_;
};

// The hint state shared by every manager of the thread.
// The manager whose hint timer runs or whose hint is shown (none once it is gone).
TdxBarManager* dxBarHintManager();
bool dxBarHintShown();
// True for a short while after a hint was hidden by a move to a place without one.
bool dxBarQuickReshow();
// Stops the show/hide timer; KillQuickTimer also ends the quick re-show.
void dxBarKillHintTimer();
void dxBarKillQuickTimer();
// Delays of the hint: show, hide, quick re-show (ms).
enum : int { dxBarHintShowDelay = 1000, dxBarHintHideDelay = 10000, dxBarHintQuickDelay = 400 };

// True while CreateTempForm reads its copy: the copy's manager skips the layout restore.
bool dxBarReadingTempForm();

// The manager of form (else the first live manager), as new items find theirs.
TdxBarManager* dxBarManagerForOwner(const TComponent* owner);

// Makes the manager, the dock control and the library's event types known to form-resource
// streaming. Idempotent; the library's start-up calls it.
void dxBarRegisterManagerClasses();
