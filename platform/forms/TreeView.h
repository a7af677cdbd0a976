#pragma once
// Tree views over QTreeWidget, with node objects of their own.
//
// A TTreeNode carries a text, three image indexes (image, selected image, state image) and a
// data value; its place in the tree is its widget item's place, so sorting and the widget's
// own moves keep both in step. Nodes are made and freed only through TTreeNodes (the view's
// Items): freeing a node frees its subtree, and OnDeletion hears of every node freed, children
// before their parent, before any of them goes (the widget itself tells only of the top one).
//
// Events: OnChange after the selected node changed (by the user or by code); OnChanging before
// the user moves the selection (refusing keeps it); OnExpanding/OnCollapsing before a node
// opens or closes (refusing keeps it as it was), OnExpanded/OnCollapsed after;
// OnGetImageIndex/OnGetSelectedIndex before a node's image is drawn; OnCompare orders two
// nodes of a sorted tree. Key and mouse events come after the view's own handling, KeyDown
// before it (it may swallow the key by setting it to 0).
//
// The nodes stream as the defined binary property "Items".
#include "Controls.h"
#include "ImgList.h"

#include <QPointer>
#include <vector>

class QTreeWidget;
class QTreeWidgetItem;
class TTreeItem;
class TTreeNodes;
class TTreeView;
class TTreeWidget;
struct TTreeNodeRecord;

class TTreeNode {
public:
    TTreeNodes* Owner() const { return owner_; }
    TTreeView* TreeView() const;

    QString Text() const;
    void SetText(const QString& value);
    int ImageIndex() const { return imageIndex_; }
    void SetImageIndex(int value);
    int SelectedIndex() const { return selectedIndex_; }
    void SetSelectedIndex(int value);
    int StateIndex() const { return stateIndex_; }
    void SetStateIndex(int value);
    qintptr Data() const { return data_; }
    void SetData(qintptr value) { data_ = value; }

    TTreeNode* Parent() const;
    int Count() const;
    TTreeNode* Item(int index) const;
    // Place among its siblings.
    int Index() const;
    // 0 for a root node.
    int Level() const;
    // Children, or the mark that children may come (a button on a node still empty).
    bool HasChildren() const;
    void SetHasChildren(bool value);
    TTreeNode* GetFirstChild() const { return Item(0); }
    TTreeNode* GetLastChild() const { return Item(Count() - 1); }
    TTreeNode* GetNextSibling() const;
    TTreeNode* GetPrevSibling() const;
    // The next node in depth-first order; none after the last.
    TTreeNode* GetNext() const;

    bool Expanded() const;
    void SetExpanded(bool value);
    void Expand(bool recurse);
    void Collapse(bool recurse);
    // The selected node of the view.
    bool Selected() const;
    void SetSelected(bool value);
    // The node with the view's caret (selected or not); setting it selects nothing.
    bool Focused() const;
    void SetFocused(bool value);
    // Opens the parents and scrolls the node into view.
    void MakeVisible();
    // Frees the node and its subtree.
    void Delete();

    TTreeItem* WidgetItem() const { return item_; }

private:
    friend class TTreeNodes;
    friend class TTreeItem;
    friend class TTreeView;
    TTreeNode(TTreeNodes* owner, TTreeItem* item) : owner_(owner), item_(item) {}
    ~TTreeNode() = default;
    void Changed() const;

    TTreeNodes* owner_;
    TTreeItem* item_;
    int imageIndex_ = -1;
    int selectedIndex_ = -1;
    int stateIndex_ = -1;
    qintptr data_ = 0;
};

class TTreeNodes {
public:
    explicit TTreeNodes(TTreeView* owner) : owner_(owner) {}
    ~TTreeNodes();
    TTreeNodes(const TTreeNodes&) = delete;
    TTreeNodes& operator=(const TTreeNodes&) = delete;

    TTreeView* Owner() const { return owner_; }
    // Every node of the tree.
    int Count() const { return count_; }
    // The node at a place of the depth-first order; none out of range.
    TTreeNode* Item(int index) const;
    TTreeNode* GetFirstNode() const;
    int RootCount() const;
    TTreeNode* Root(int index) const;

    // A new last (first) sibling of sibling; of the root nodes without one.
    TTreeNode* Add(TTreeNode* sibling, const QString& text, qintptr data = 0);
    TTreeNode* AddFirst(TTreeNode* sibling, const QString& text, qintptr data = 0);
    // A new last (first) child of parent; a root node without one.
    TTreeNode* AddChild(TTreeNode* parent, const QString& text, qintptr data = 0);
    TTreeNode* AddChildFirst(TTreeNode* parent, const QString& text, qintptr data = 0);
    // A new node just before sibling; the last root node without one.
    TTreeNode* Insert(TTreeNode* sibling, const QString& text, qintptr data = 0);
    void Delete(TTreeNode* node);
    // Frees every node, the last root first.
    void Clear();
    // The nodes of source, copied with their texts, indexes and data.
    void Assign(const TTreeNodes& source);

    // Changes inside an update pair are drawn once at its end.
    void BeginUpdate();
    void EndUpdate();

    // The nodes as bytes: each node as its image, selected and state indexes, data, child
    // count and UTF-8 text, depth first. Reading data that does not parse as a whole leaves
    // the tree empty.
    QByteArray WriteData() const;
    bool ReadData(const QByteArray& data);

private:
    friend class TTreeNode;
    friend class TTreeItem;
    TTreeNode* Make(QTreeWidgetItem* parent, int index, const QString& text, qintptr data);
    QTreeWidgetItem* ParentItem(TTreeNode* node) const;
    // Tells the view of the subtree's nodes going, children first.
    void NotifyDeletion(QTreeWidgetItem* item);
    // The record's rows, made away from the widget; then joined to it as the roots at once.
    QTreeWidgetItem* Build(const TTreeNodeRecord& record);
    void BuildRoots(const std::vector<TTreeNodeRecord>& roots);

    TTreeView* owner_;
    int count_ = 0;
    int updates_ = 0;
};

// Where a point lies: over a node's row (item, icon or label) or not.
enum THitTestFlag : unsigned { htNowhere = 0x1, htOnItem = 0x2, htOnIcon = 0x4, htOnLabel = 0x8, htOnStateIcon = 0x10 };
using THitTests = unsigned;

using TTVChangedEvent = TEvent<TObject*, TTreeNode*>;
using TTVChangingEvent = TEvent<TObject*, TTreeNode*, bool&>;
using TTVExpandedEvent = TEvent<TObject*, TTreeNode*>;
using TTVExpandingEvent = TEvent<TObject*, TTreeNode*, bool&>;
using TTVCompareEvent = TEvent<TObject*, TTreeNode*, TTreeNode*, int, int&>;
Q_DECLARE_METATYPE(TTVChangingEvent)
Q_DECLARE_METATYPE(TTVExpandedEvent)
Q_DECLARE_METATYPE(TTVCompareEvent)

class TTreeView : public TWinControl {
    Q_OBJECT
    Q_PROPERTY(TCustomImageList* Images READ Images WRITE SetImages)
    Q_PROPERTY(int Indent READ Indent WRITE SetIndent)
    Q_PROPERTY(bool ReadOnly MEMBER readOnly_)
    Q_PROPERTY(bool ShowButtons READ ShowButtons WRITE SetShowButtons)
    Q_PROPERTY(bool ShowLines READ ShowLines WRITE SetShowLines)
    Q_PROPERTY(bool ShowRoot READ ShowRoot WRITE SetShowRoot)
    Q_PROPERTY(ControlTypes::TSortType SortType READ SortType WRITE SetSortType)
    Q_PROPERTY(TCustomImageList* StateImages READ StateImages WRITE SetStateImages)
    Q_PROPERTY(TTVExpandedEvent OnChange MEMBER OnChange)
    Q_PROPERTY(TTVChangingEvent OnChanging MEMBER OnChanging)
    Q_PROPERTY(TTVExpandedEvent OnCollapsed MEMBER OnCollapsed)
    Q_PROPERTY(TTVChangingEvent OnCollapsing MEMBER OnCollapsing)
    Q_PROPERTY(TTVCompareEvent OnCompare MEMBER OnCompare)
    Q_PROPERTY(TTVExpandedEvent OnDeletion MEMBER OnDeletion)
    Q_PROPERTY(TTVExpandedEvent OnExpanded MEMBER OnExpanded)
    Q_PROPERTY(TTVChangingEvent OnExpanding MEMBER OnExpanding)
    Q_PROPERTY(TTVExpandedEvent OnGetImageIndex MEMBER OnGetImageIndex)
    Q_PROPERTY(TTVExpandedEvent OnGetSelectedIndex MEMBER OnGetSelectedIndex)
    Q_PROPERTY(TNotifyEvent OnDblClick MEMBER OnDblClick)
    Q_PROPERTY(TKeyEvent OnKeyDown MEMBER OnKeyDown)
    Q_PROPERTY(TMouseEvent OnMouseUp MEMBER OnMouseUp)
    Q_CLASSINFO("Default.Indent", "19")
    Q_CLASSINFO("Default.ReadOnly", "False")
    Q_CLASSINFO("Default.ShowButtons", "True")
    Q_CLASSINFO("Default.ShowLines", "True")
    Q_CLASSINFO("Default.ShowRoot", "True")
    Q_CLASSINFO("Default.SortType", "stNone")
    Q_CLASSINFO("Default.Color", "clWindow")
    Q_CLASSINFO("Default.ParentColor", "False")
    Q_CLASSINFO("Default.TabStop", "True")
public:
    explicit TTreeView(TComponent* owner);
    // Frees the nodes (OnDeletion hears of each), then the view.
    ~TTreeView() override;

    TTreeNodes* Items() const { return items_; }
    TCustomImageList* Images() const { return images_; }
    void SetImages(TCustomImageList* value);
    TCustomImageList* StateImages() const { return stateImages_; }
    void SetStateImages(TCustomImageList* value);
    int Indent() const { return indent_; }
    void SetIndent(int value);
    bool ShowButtons() const { return showButtons_; }
    void SetShowButtons(bool value);
    bool ShowLines() const { return showLines_; }
    void SetShowLines(bool value);
    bool ShowRoot() const { return showRoot_; }
    void SetShowRoot(bool value);
    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool value) { readOnly_ = value; }
    TSortType SortType() const { return sortType_; }
    // stText and stBoth keep the nodes sorted by OnCompare, else by text ignoring case;
    // stData by OnCompare, else by data. stNone leaves them where they are.
    void SetSortType(TSortType value);
    // Sorts the whole tree once by the current rule (text without a sort type).
    void AlphaSort();

    TTreeNode* Selected() const;
    // Selects the node (none: clears the selection) and shows it.
    void SetSelected(TTreeNode* node);
    // The node with the caret.
    TTreeNode* Focused() const;
    TTreeNode* TopItem() const;
    void FullExpand();
    void FullCollapse();
    // The node whose row holds the client point; none elsewhere.
    TTreeNode* GetNodeAt(int x, int y) const;
    // htOnItem | htOnIcon | htOnLabel where GetNodeAt finds a node whose drawn rectangle holds
    // the point, else htNowhere.
    THitTests GetHitTestInfoAt(int x, int y) const;
    // A node's row in client coordinates; empty for a node not shown.
    QRect NodeRect(const TTreeNode* node) const;

    // The client point of the last press or double click.
    QPoint LastMousePos() const { return lastMouse_; }
    // Hands a key to the view as if typed into it (a view that never takes the focus).
    void SendKey(int key, TShiftState shift);

    QTreeWidget* TreeWidget() const;
    void DefineProperties(TFiler* filer) override;
    void Notification(TComponent* component, TOperation operation) override;

    TTVChangedEvent OnChange;
    TTVChangingEvent OnChanging;
    TTVExpandedEvent OnCollapsed;
    TTVChangingEvent OnCollapsing;
    TTVCompareEvent OnCompare;
    TTVExpandedEvent OnDeletion;
    TTVExpandedEvent OnExpanded;
    TTVChangingEvent OnExpanding;
    TTVExpandedEvent OnGetImageIndex;
    TTVExpandedEvent OnGetSelectedIndex;
    TNotifyEvent OnDblClick;
    TKeyEvent OnKeyDown;
    TMouseEvent OnMouseUp;

protected:
    virtual void Change(TTreeNode* node);
    virtual bool CanChange(TTreeNode* node);
    virtual bool CanExpand(TTreeNode* node);
    virtual void Expanded(TTreeNode* node);
    virtual bool CanCollapse(TTreeNode* node);
    virtual void Collapsed(TTreeNode* node);
    // A node about to be freed.
    virtual void Delete(TTreeNode* node);
    virtual void GetImageIndex(TTreeNode* node);
    virtual void GetSelectedIndex(TTreeNode* node);
    // OnCompare when assigned; else by text ignoring case or by data (see SetSortType).
    virtual int CustomSort(TTreeNode* a, TTreeNode* b);
    virtual void KeyDown(int& key, TShiftState shift);
    virtual void DblClick();
    virtual void MouseUp(TMouseButton button, TShiftState shift, int x, int y);
    // The images changed (a list set, freed or changed).
    virtual void ImagesChanged() {}
    // A node's text or an image index changed.
    virtual void NodeChanged(TTreeNode* /*node*/) {}
    bool ColorFillsField() const override { return true; }

private:
    friend class TTreeNodes;
    friend class TTreeNode;
    friend class TTreeItem;
    friend class TTreeWidget;
    struct TTreeNodeRecord;
    void ImageListChange(TObject* sender);
    void ApplySorting();
    void ApplyIndicators();
    QImage NodeImage(TTreeNode* node, bool selected);

    TTreeNodes* items_ = nullptr;
    QPointer<TCustomImageList> images_;
    QPointer<TCustomImageList> stateImages_;
    TChangeLink imageLink_;
    TChangeLink stateImageLink_;
    int indent_ = 19;
    bool readOnly_ = false;
    bool showButtons_ = true;
    bool showLines_ = true;
    bool showRoot_ = true;
    TSortType sortType_ = stNone;
    // A change made by our own code is not asked about (OnChanging/OnExpanding).
    int ownChange_ = 0;
    QPoint lastMouse_;
};
