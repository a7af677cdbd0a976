#pragma once
// TdxBarTreeViewCombo: an edit item whose drop-down is a tree of nodes. Choosing a node puts
// its text (and, with ShowImageInEdit, its image) in the edit; the item remembers the node as
// its SelectedNode. Setting Text selects the first node of that text, depth first, ignoring
// case (none when no node has it).
//
// The drop-down is a TdxBarTreeViewDropDown: a popup window owned by the form's window that
// is never activated, with a 1-pixel border and, with AllowResizing, a strip on the side away
// from the edit holding a size grip in its outer corner and a close button at its other end.
// Its tree never takes the focus: the combo's in-place editor keeps it and passes its keys
// on. Enter, a double click on a node (or a release on one without ChooseByDblClick) choose;
// OnCanSelectNode may refuse.
//
// Without OnClick, a click on an item that cannot edit in place opens the "Select item"
// chooser with a copy of the tree; the drop-down takes the chooser tree's size afterwards.
#include "TreeView.h"
#include "dxBarEditControls.h"
#include "dxBarItems.h"
#include "dxBarSizableDropDown.h"

#include <QPointer>

class TButton;
class TForm;
class TdxBarTreeViewCombo;

using TdxBarTreeViewComboCanSelectNodeEvent = TEvent<TObject*, TTreeNode*, bool&>;

// The combo's tree: the drop-down's (popup) or the chooser's.
class TdxBarTreeView : public TTreeView {
    Q_OBJECT
public:
    TdxBarTreeView(TComponent* owner, TdxBarTreeViewCombo* combo, bool popup);
    ~TdxBarTreeView() override;

    TdxBarTreeViewCombo* Combo() const { return combo_; }
    bool IsPopup() const { return popup_; }
    // The first node, depth first, whose text equals text ignoring case; none without one.
    TTreeNode* FindNodeByText(const QString& text) const;
    // The selected node is chosen (see the combo), unless there is none or the combo's
    // OnCanSelectNode refuses it.
    void Choose();
    // The size of the nodes' area inside the tree's frame.
    QSize ClientSize() const;
    // Sets the whole size so that the nodes' area becomes size (at least 100 x 100 with the
    // frame), trying at most three times.
    void SetClientSize(QSize size);

protected:
    void Change(TTreeNode* node) override;
    void Delete(TTreeNode* node) override;
    void NodeChanged(TTreeNode* node) override;
    void ImagesChanged() override;
    void KeyDown(int& key, TShiftState shift) override;
    void DblClick() override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;

private:
    friend class TdxBarTreeViewCombo;
    bool OnNode(QPoint client) const;

    QPointer<TdxBarTreeViewCombo> combo_;
    bool popup_;
};

// The drop-down window that holds the combo's tree over its client area.
class TdxBarTreeViewDropDown : public TdxBarSizableDropDown {
    Q_OBJECT
public:
    explicit TdxBarTreeViewDropDown(TdxBarTreeViewCombo* combo);
    ~TdxBarTreeViewDropDown() override;

    // The end of a grip drag: the combo keeps the size for its next drop.
    void LButtonUp(const TPoint& client, TShiftState shift) override;
    void WindowPosChanged() override;

private:
    QPointer<TdxBarTreeViewCombo> treeCombo_;
};

class TdxBarTreeViewCombo : public TCustomdxBarCombo {
    Q_OBJECT
    Q_PROPERTY(bool AllowResizing MEMBER allowResizing_)
    Q_PROPERTY(bool ChooseByDblClick MEMBER chooseByDblClick_)
    Q_PROPERTY(int DropDownHeight READ DropDownHeight WRITE SetDropDownHeight)
    Q_PROPERTY(int DropDownWidth READ DropDownWidth WRITE SetDropDownWidth)
    Q_PROPERTY(bool FullExpand MEMBER fullExpand_)
    Q_PROPERTY(TCustomImageList* Images READ Images WRITE SetImages)
    Q_PROPERTY(int Indent READ Indent WRITE SetIndent)
    Q_PROPERTY(bool ShowButtons READ ShowButtons WRITE SetShowButtons)
    Q_PROPERTY(bool ShowImageInEdit READ ShowImageInEdit WRITE SetShowImageInEdit)
    Q_PROPERTY(bool ShowLines READ ShowLines WRITE SetShowLines)
    Q_PROPERTY(bool ShowRoot READ ShowRoot WRITE SetShowRoot)
    Q_PROPERTY(ControlTypes::TSortType SortType READ SortType WRITE SetSortType)
    Q_PROPERTY(TCustomImageList* StateImages READ StateImages WRITE SetStateImages)
    Q_PROPERTY(TTVExpandedEvent OnExpanded READ OnExpanded WRITE SetOnExpanded)
    Q_PROPERTY(TTVChangingEvent OnExpanding READ OnExpanding WRITE SetOnExpanding)
    Q_PROPERTY(TdxBarTreeViewComboCanSelectNodeEvent OnCanSelectNode MEMBER OnCanSelectNode)
    Q_PROPERTY(TTVChangingEvent OnChanging READ OnChanging WRITE SetOnChanging)
    Q_PROPERTY(TTVExpandedEvent OnCollapsed READ OnCollapsed WRITE SetOnCollapsed)
    Q_PROPERTY(TTVChangingEvent OnCollapsing READ OnCollapsing WRITE SetOnCollapsing)
    Q_PROPERTY(TTVCompareEvent OnCompare READ OnCompare WRITE SetOnCompare)
    Q_PROPERTY(TTVExpandedEvent OnGetImageIndex READ OnGetImageIndex WRITE SetOnGetImageIndex)
    Q_PROPERTY(TTVExpandedEvent OnGetSelectedIndex READ OnGetSelectedIndex WRITE SetOnGetSelectedIndex)
    Q_PROPERTY(TTVChangedEvent OnTreeViewChange READ OnTreeViewChange WRITE SetOnTreeViewChange)
    Q_CLASSINFO("Default.ShowEditor", "False")
    Q_CLASSINFO("Default.AllowResizing", "True")
    Q_CLASSINFO("Default.ChooseByDblClick", "True")
    Q_CLASSINFO("Default.DropDownHeight", "200")
    Q_CLASSINFO("Default.DropDownWidth", "150")
    Q_CLASSINFO("Default.FullExpand", "False")
    Q_CLASSINFO("Default.Indent", "19")
    Q_CLASSINFO("Default.ShowButtons", "True")
    Q_CLASSINFO("Default.ShowImageInEdit", "True")
    Q_CLASSINFO("Default.ShowLines", "True")
    Q_CLASSINFO("Default.ShowRoot", "True")
    Q_CLASSINFO("Default.SortType", "stNone")
public:
    Q_INVOKABLE explicit TdxBarTreeViewCombo(TComponent* owner);
    ~TdxBarTreeViewCombo() override;

    bool AllowResizing() const { return allowResizing_; }
    void SetAllowResizing(bool value) { allowResizing_ = value; }
    bool ChooseByDblClick() const { return chooseByDblClick_; }
    void SetChooseByDblClick(bool value) { chooseByDblClick_ = value; }
    // The drop-down's size; values below 100 become 100.
    int DropDownHeight() const { return dropDownHeight_; }
    void SetDropDownHeight(int value);
    int DropDownWidth() const { return dropDownWidth_; }
    void SetDropDownWidth(int value);
    bool FullExpand() const { return fullExpand_; }
    void SetFullExpand(bool value) { fullExpand_ = value; }
    bool ShowImageInEdit() const { return showImageInEdit_; }
    void SetShowImageInEdit(bool value);
    // ShowImageInEdit with an image list to show.
    bool ShowsImagesInEdit() const;

    // --- held by the tree
    TdxBarTreeView* TreeView() const { return tree_; }
    TTreeNodes* Items() const;
    TCustomImageList* Images() const;
    void SetImages(TCustomImageList* value);
    TCustomImageList* StateImages() const;
    void SetStateImages(TCustomImageList* value);
    int Indent() const;
    void SetIndent(int value);
    bool ShowButtons() const;
    void SetShowButtons(bool value);
    bool ShowLines() const;
    void SetShowLines(bool value);
    bool ShowRoot() const;
    void SetShowRoot(bool value);
    TSortType SortType() const;
    void SetSortType(TSortType value);
    TTVExpandedEvent OnExpanded() const;
    void SetOnExpanded(const TTVExpandedEvent& e);
    TTVChangingEvent OnExpanding() const;
    void SetOnExpanding(const TTVChangingEvent& e);
    TTVChangingEvent OnChanging() const;
    void SetOnChanging(const TTVChangingEvent& e);
    TTVExpandedEvent OnCollapsed() const;
    void SetOnCollapsed(const TTVExpandedEvent& e);
    TTVChangingEvent OnCollapsing() const;
    void SetOnCollapsing(const TTVChangingEvent& e);
    TTVCompareEvent OnCompare() const;
    void SetOnCompare(const TTVCompareEvent& e);
    TTVExpandedEvent OnGetImageIndex() const;
    void SetOnGetImageIndex(const TTVExpandedEvent& e);
    TTVExpandedEvent OnGetSelectedIndex() const;
    void SetOnGetSelectedIndex(const TTVExpandedEvent& e);
    TTVChangedEvent OnTreeViewChange() const;
    void SetOnTreeViewChange(const TTVChangedEvent& e);

    // The node whose text the item shows, or none.
    TTreeNode* SelectedNode() const { return selectedNode_; }
    void SetSelectedNode(TTreeNode* node);
    // The text becomes the selected node's (empty without one).
    virtual void UpdateTextFromNode();
    // While loading the text waits for the nodes; else the node of that text is selected.
    void SetText(const QString& value) override;

    // The drop-down's size for its nodes' area (without the border and the grip strip).
    QSize DropDownClientSize() const;
    void SetDropDownClientSize(QSize size);

    // The drop-down window; none before the first drop.
    TdxBarTreeViewDropDown* DropDownWindow() const { return dropDown_; }
    bool CheckKeyForDropDownWindow(int key, TShiftState shift) override;
    void DropDownWindowKeyDown(int key, TShiftState shift) override;
    TNativeWindow* GetDropDownWindow() override;
    void DropDown(QPoint preferred, QSize linkSize, bool vertical) override;
    void CloseUp() override;
    // Without OnClick and unless ReadOnly: the chooser.
    void Click() override;

    void DefineProperties(TFiler* filer) override;
    void Loaded() override;
    void Notification(TComponent* component, TOperation operation) override;

    TdxBarTreeViewComboCanSelectNodeEvent OnCanSelectNode;

private:
    friend class TdxBarTreeView;
    friend class TdxBarTreeViewDropDown;
    // The tree's choice: see TdxBarTreeView::Choose.
    void NodeChosen(TdxBarTreeView* tree, TTreeNode* node);
    bool CanSelectNode(TTreeNode* node);
    void ShowChooser();

    bool allowResizing_ = true;
    bool chooseByDblClick_ = true;
    int dropDownHeight_ = 200;
    int dropDownWidth_ = 150;
    bool fullExpand_ = false;
    bool showImageInEdit_ = true;
    bool updatingFromNode_ = false;
    QString loadedText_;
    bool textLoaded_ = false;
    TTreeNode* selectedNode_ = nullptr;
    QPointer<TdxBarTreeView> tree_;
    QPointer<TdxBarTreeViewDropDown> dropDown_;
    // The same two, for telling them among the components that go.
    TComponent* treeComponent_ = nullptr;
    TComponent* dropDownComponent_ = nullptr;
};

// The chooser's layout from the font's "0" (its width w and height h) and the tree's size.
struct TdxBarTreeViewChooserLayout {
    QRect Tree;
    QRect OK;
    QRect Cancel;
    QSize Client;
};
// tree: the tree's size (for the first layout); client: the form's client size after a
// resize (the tree takes what is left).
TdxBarTreeViewChooserLayout dxBarTreeViewChooserLayout(int zeroWidth, int zeroHeight, QSize tree);
TdxBarTreeViewChooserLayout dxBarTreeViewChooserResize(int zeroWidth, int zeroHeight, QSize client);

class TdxBarTreeViewComboControl : public TCustomdxBarComboControl {
public:
    explicit TdxBarTreeViewComboControl(TdxBarItemLink* link);

    TdxBarTreeViewCombo* TreeCombo() const;
    // At least the taller image list's height + 6 while images show in the edit (not on a
    // rotated vertical toolbar).
    int GetHeight() override;
    // The drop-down's tree selects the item's node, or the node of its text.
    void SetFocused(bool value) override;

protected:
    void DrawInterior(QPainter& p, const TRect& r) const override;
};

extern TdxBarItemControlClass TdxBarTreeViewComboControlClass;
