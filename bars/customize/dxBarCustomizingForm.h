#pragma once
// The customizing window of one manager: the pages Toolbars, Commands and Options over the
// Close button (and the manager's help button). It is made and freed by TdxBarCustomizing,
// which passes the manager's changes on; each page follows them (TdxBarCustomizingPage).
//
// The window belongs to the manager's form as its transient window, never as a Qt child, so
// it stays usable while that form is disabled. Its font is the manager's font name in the
// window's own size; the captions are the library's texts.
#include "ComCtrls.h"
#include "ExtCtrls.h"
#include "Forms.h"
#include "ListBoxes.h"
#include "StdCtrls.h"
#include "dxBarCheckListBox.h"

#include <QPointer>
#include <memory>
#include <vector>

class TdxBar;
class TdxBarCustomizingPage;
class TdxBarItem;
class TdxBarManager;
class TdxBarToolbarsPage;
class TdxBarPopupMenu;
class TCheckableButton;
class TdxBarCommandsPage;
class TdxBarDesignCommands;
class TdxBarGroup;

class TdxBarCustomizingForm : public TForm {
    Q_OBJECT
    Q_PROPERTY(TPageControl* PageControl MEMBER PageControl STORED false)
    Q_PROPERTY(TTabSheet* TabSheet1 MEMBER TabSheet1 STORED false)
    Q_PROPERTY(TLabel* LabelToobars MEMBER LabelToobars STORED false)
    Q_PROPERTY(TCheckListBox* BarsListBox MEMBER BarsListBox STORED false)
    Q_PROPERTY(TButton* BBarNew MEMBER BBarNew STORED false)
    Q_PROPERTY(TButton* BBarRename MEMBER BBarRename STORED false)
    Q_PROPERTY(TButton* BBarDelete MEMBER BBarDelete STORED false)
    Q_PROPERTY(TButton* BBarReset MEMBER BBarReset STORED false)
    Q_PROPERTY(TTabSheet* TabSheet2 MEMBER TabSheet2 STORED false)
    Q_PROPERTY(TLabel* LabelCategories MEMBER LabelCategories STORED false)
    Q_PROPERTY(TListBox* LCategories MEMBER LCategories STORED false)
    Q_PROPERTY(TLabel* LabelCommands MEMBER LabelCommands STORED false)
    Q_PROPERTY(TPanel* CategoriesModifyPlace MEMBER CategoriesModifyPlace STORED false)
    Q_PROPERTY(TPanel* CommandsModifyPlace MEMBER CommandsModifyPlace STORED false)
    Q_PROPERTY(TPanel* LCommandsPlace MEMBER LCommandsPlace STORED false)
    Q_PROPERTY(TPanel* DescriptionPanel MEMBER DescriptionPanel STORED false)
    Q_PROPERTY(TBevel* DescriptionBevel MEMBER DescriptionBevel STORED false)
    Q_PROPERTY(TLabel* LabelDescription MEMBER LabelDescription STORED false)
    Q_PROPERTY(TLabel* DescriptionLabel MEMBER DescriptionLabel STORED false)
    Q_PROPERTY(TTabSheet* TabSheet3 MEMBER TabSheet3 STORED false)
    Q_PROPERTY(TPanel* StandardOptionsPanel MEMBER StandardOptionsPanel STORED false)
    Q_PROPERTY(TCheckBox* CBLargeIcons MEMBER CBLargeIcons STORED false)
    Q_PROPERTY(TCheckBox* CBHint1 MEMBER CBHint1 STORED false)
    Q_PROPERTY(TCheckBox* CBHint2 MEMBER CBHint2 STORED false)
    Q_PROPERTY(TLabel* LabelMenuAnimations MEMBER LabelMenuAnimations STORED false)
    Q_PROPERTY(TComboBox* ComboBoxMenuAnimations MEMBER ComboBoxMenuAnimations STORED false)
    Q_PROPERTY(TPanel* EnhancedOptionsPanel MEMBER EnhancedOptionsPanel STORED false)
    Q_PROPERTY(TLabel* Label3 MEMBER Label3 STORED false)
    Q_PROPERTY(TBevel* Bevel3 MEMBER Bevel3 STORED false)
    Q_PROPERTY(TCheckBox* CBMenusShowRecentItemsFirst MEMBER CBMenusShowRecentItemsFirst STORED false)
    Q_PROPERTY(TCheckBox* CBShowFullMenusAfterDelay MEMBER CBShowFullMenusAfterDelay STORED false)
    Q_PROPERTY(TButton* BResetUsageData MEMBER BResetUsageData STORED false)
    Q_PROPERTY(TLabel* Label2 MEMBER Label2 STORED false)
    Q_PROPERTY(TBevel* Bevel2 MEMBER Bevel2 STORED false)
    Q_PROPERTY(TCheckBox* CBLargeIconsEx MEMBER CBLargeIconsEx STORED false)
    Q_PROPERTY(TCheckBox* CBHint1Ex MEMBER CBHint1Ex STORED false)
    Q_PROPERTY(TCheckBox* CBHint2Ex MEMBER CBHint2Ex STORED false)
    Q_PROPERTY(TLabel* Label1 MEMBER Label1 STORED false)
    Q_PROPERTY(TComboBox* ComboBoxMenuAnimationsEx MEMBER ComboBoxMenuAnimationsEx STORED false)
    Q_PROPERTY(TTabSheet* TabSheet4 MEMBER TabSheet4 STORED false)
    Q_PROPERTY(TListBox* LAllCommands MEMBER LAllCommands STORED false)
    Q_PROPERTY(TCheckBox* CBShowCommandsWithShortCut MEMBER CBShowCommandsWithShortCut STORED false)
    Q_PROPERTY(TTabSheet* TabSheet5 MEMBER TabSheet5 STORED false)
    Q_PROPERTY(TLabel* LabelGroups MEMBER LabelGroups STORED false)
    Q_PROPERTY(TListBox* lbGroups MEMBER lbGroups STORED false)
    Q_PROPERTY(TLabel* LabelGroupItems MEMBER LabelGroupItems STORED false)
    Q_PROPERTY(TListBox* lbGroupItems MEMBER lbGroupItems STORED false)
    Q_PROPERTY(TButton* btnMoveUp MEMBER btnMoveUp STORED false)
    Q_PROPERTY(TButton* btnMoveDown MEMBER btnMoveDown STORED false)
    Q_PROPERTY(TButton* btnGroupAdd MEMBER btnGroupAdd STORED false)
    Q_PROPERTY(TButton* btnGroupDelete MEMBER btnGroupDelete STORED false)
    Q_PROPERTY(TButton* btnGroupItemAdd MEMBER btnGroupItemAdd STORED false)
    Q_PROPERTY(TButton* btnGroupItemDelete MEMBER btnGroupItemDelete STORED false)
    Q_PROPERTY(TPanel* BottomPanel MEMBER BottomPanel STORED false)
    Q_PROPERTY(TPanel* RightMarginPanel MEMBER RightMarginPanel STORED false)
    Q_PROPERTY(TButton* BHelp MEMBER BHelp STORED false)
    Q_PROPERTY(TButton* BClose MEMBER BClose STORED false)
public:
    // Made by Create<TdxBarCustomizingForm>(owner, manager): the resource is read, then the
    // window is built for the manager (captions, pages, help button).
    TdxBarCustomizingForm(TComponent* owner, TdxBarManager* manager);
    ~TdxBarCustomizingForm() override;
    void AfterConstruction() override;

    // The manager served (none once it is gone).
    TdxBarManager* BarManager() const { return manager_; }
    // The pages in tab order.
    const std::vector<std::unique_ptr<TdxBarCustomizingPage>>& Pages() const { return pages_; }
    TdxBarToolbarsPage* ToolbarsPage() const { return toolbarsPage_; }
    TdxBarCommandsPage* CommandsPage() const { return commandsPage_; }
    // The Commands page's design-mode editing (none at run time).
    TdxBarDesignCommands* DesignCommands() const { return designCommands_; }

    // --- what the manager tells the window
    // The items were refreshed and the options reloaded first, then each page follows.
    void StyleChanged();
    // BHelp shows the manager's HelpButtonGlyph and is visible per its ShowHelpButton.
    void HelpButtonChanged();
    void BarChanged(TdxBar* bar);
    void ItemsChanged();
    void SelectItem(TdxBarItem* item, bool force);
    void ItemDestroyed(TdxBarItem* item);
    void OptionsChanged();
    void ItemRenamed(TdxBarItem* item);
    void GroupRenamed(TdxBarGroup* group);

    // The current page refreshes itself (the page control's OnChange; also run when the
    // window becomes the active one while no bar's customizing popup is open).
    void PageControlChange(TObject* sender);
    // Closes the window, which ends customizing.
    void BCloseClick(TObject* sender);
    // The manager's OnHelpButtonClick (the button as sender), then the application's help
    // for the manager's HelpContext when it has one. Nothing at design time.
    void BHelpClick(TObject* sender);

    TPageControl* PageControl = nullptr;
    TTabSheet* TabSheet1 = nullptr;
    TLabel* LabelToobars = nullptr;
    TCheckListBox* BarsListBox = nullptr;
    TButton* BBarNew = nullptr;
    TButton* BBarRename = nullptr;
    TButton* BBarDelete = nullptr;
    TButton* BBarReset = nullptr;
    TTabSheet* TabSheet2 = nullptr;
    TLabel* LabelCategories = nullptr;
    TListBox* LCategories = nullptr;
    TLabel* LabelCommands = nullptr;
    TPanel* CategoriesModifyPlace = nullptr;
    TPanel* CommandsModifyPlace = nullptr;
    TPanel* LCommandsPlace = nullptr;
    TPanel* DescriptionPanel = nullptr;
    TBevel* DescriptionBevel = nullptr;
    TLabel* LabelDescription = nullptr;
    TLabel* DescriptionLabel = nullptr;
    TTabSheet* TabSheet3 = nullptr;
    TPanel* StandardOptionsPanel = nullptr;
    TCheckBox* CBLargeIcons = nullptr;
    TCheckBox* CBHint1 = nullptr;
    TCheckBox* CBHint2 = nullptr;
    TLabel* LabelMenuAnimations = nullptr;
    TComboBox* ComboBoxMenuAnimations = nullptr;
    TPanel* EnhancedOptionsPanel = nullptr;
    TLabel* Label3 = nullptr;
    TBevel* Bevel3 = nullptr;
    TCheckBox* CBMenusShowRecentItemsFirst = nullptr;
    TCheckBox* CBShowFullMenusAfterDelay = nullptr;
    TButton* BResetUsageData = nullptr;
    TLabel* Label2 = nullptr;
    TBevel* Bevel2 = nullptr;
    TCheckBox* CBLargeIconsEx = nullptr;
    TCheckBox* CBHint1Ex = nullptr;
    TCheckBox* CBHint2Ex = nullptr;
    TLabel* Label1 = nullptr;
    TComboBox* ComboBoxMenuAnimationsEx = nullptr;
    TTabSheet* TabSheet4 = nullptr;
    TListBox* LAllCommands = nullptr;
    TCheckBox* CBShowCommandsWithShortCut = nullptr;
    TTabSheet* TabSheet5 = nullptr;
    TLabel* LabelGroups = nullptr;
    TListBox* lbGroups = nullptr;
    TLabel* LabelGroupItems = nullptr;
    TListBox* lbGroupItems = nullptr;
    TButton* btnMoveUp = nullptr;
    TButton* btnMoveDown = nullptr;
    TButton* btnGroupAdd = nullptr;
    TButton* btnGroupDelete = nullptr;
    TButton* btnGroupItemAdd = nullptr;
    TButton* btnGroupItemDelete = nullptr;
    TPanel* BottomPanel = nullptr;
    // Design mode only: the window's own manager, which carries its popup menus and follows
    // the served manager's font and style, and the buttons that open them.
    TdxBarManager* BarManager1 = nullptr;
    TdxBarPopupMenu* CategoriesPopupMenu = nullptr;
    TdxBarPopupMenu* CommandsPopupMenu = nullptr;
    TCheckableButton* CategoriesModifyButton = nullptr;
    TCheckableButton* CommandsModifyButton = nullptr;
    TPanel* RightMarginPanel = nullptr;
    TButton* BHelp = nullptr;
    TButton* BClose = nullptr;

private:
    void Build();
    void FormClose(TObject* sender, TCloseAction& action);
    // The page whose sheet is the active page.
    TdxBarCustomizingPage* ActivePage() const;
    template <class F>
    void EachPage(F f) const
    {
        for (const auto& page : pages_) f(*page);
    }

    QPointer<TdxBarManager> manager_;
    std::vector<std::unique_ptr<TdxBarCustomizingPage>> pages_;
    TdxBarToolbarsPage* toolbarsPage_ = nullptr;
    TdxBarCommandsPage* commandsPage_ = nullptr;
    TdxBarDesignCommands* designCommands_ = nullptr;
};
