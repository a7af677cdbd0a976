#include "dxBarTreeViewCombo.h"

#include "Forms.h"
#include "Painting.h"
#include "StdCtrls.h"
#include "Streaming.h"
#include "TypInfo.h"
#include "dxBarChooserForm.h"
#include "dxBarCustomControl.h"
#include "dxBarDrawing.h"
#include "dxBarExtItems.h"
#include "dxBarItemLink.h"
#include "dxBarManager.h"
#include "dxBarStrs.h"

#include <QPainter>
#include <QTreeWidget>
#include <algorithm>
#include <functional>
#include <memory>

TdxBarItemControlClass TdxBarTreeViewComboControlClass{
    "TdxBarTreeViewComboControl",
    [](TdxBarItemLink* link) -> TdxBarItemControl* { return new TdxBarTreeViewComboControl(link); }};

// ---------------------------------------------------------------- TdxBarTreeView

TdxBarTreeView::TdxBarTreeView(TComponent* owner, TdxBarTreeViewCombo* combo, bool popup)
    : TTreeView(owner), combo_(combo), popup_(popup)
{
    SetReadOnly(true);
    SetBounds(0, 0, 150, 200);
    if (popup) {
        // The combo's editor keeps the focus; the drop-down's frame is the window's own.
        TreeWidget()->setFocusPolicy(Qt::NoFocus);
        TreeWidget()->setFrameShape(QFrame::NoFrame);
        SetTabStop(false);
    }
}

TdxBarTreeView::~TdxBarTreeView()
{
    combo_ = nullptr;
}

TTreeNode* TdxBarTreeView::FindNodeByText(const QString& text) const
{
    // Depth first over the widget's rows by index: no sibling is searched for.
    std::function<TTreeNode*(TTreeNode*)> find = [&](TTreeNode* node) -> TTreeNode* {
        if (QString::compare(node->Text(), text, Qt::CaseInsensitive) == 0) return node;
        for (int i = 0; i < node->Count(); ++i)
            if (TTreeNode* found = find(node->Item(i))) return found;
        return nullptr;
    };
    for (int i = 0; i < Items()->RootCount(); ++i)
        if (TTreeNode* found = find(Items()->Root(i))) return found;
    return nullptr;
}

void TdxBarTreeView::Choose()
{
    TTreeNode* node = Selected();
    if (!node || !combo_ || !combo_->CanSelectNode(node)) return;
    if (popup_) {
        combo_->NodeChosen(this, node);
        return;
    }
    combo_->SetText(node->Text());
    if (auto* form = qobject_cast<TCustomForm*>(Owner())) form->SetModalResult(mrOk);
}

QSize TdxBarTreeView::ClientSize() const
{
    const int frame = TreeWidget()->frameWidth();
    return {Width() - 2 * frame, Height() - 2 * frame};
}

void TdxBarTreeView::SetClientSize(QSize size)
{
    dxSizeClientTo(
        size, QSize(dxDropDownMinWidth, dxDropDownMinHeight), [this] { return QSize(Width(), Height()); },
        [this] { return ClientSize(); },
        [this](QSize window) { SetBounds(Left(), Top(), window.width(), window.height()); });
}

void TdxBarTreeView::Change(TTreeNode* node)
{
    QPointer<TdxBarTreeView> self(this);
    TTreeView::Change(node);
    if (!self || !popup_ || !combo_ || !combo_->FocusedLink()) return;
    combo_->SetCurText(node ? node->Text() : QString());
}

void TdxBarTreeView::Delete(TTreeNode* node)
{
    TTreeView::Delete(node);
    // The combo forgets its node, keeping the text: a subtree freed above it counts too.
    if (popup_ && combo_ && combo_->selectedNode_ == node) combo_->selectedNode_ = nullptr;
}

void TdxBarTreeView::NodeChanged(TTreeNode* node)
{
    if (popup_ && combo_ && node == combo_->selectedNode_) combo_->UpdateTextFromNode();
}

void TdxBarTreeView::ImagesChanged()
{
    if (popup_ && combo_ && !combo_->Loading()) combo_->RepaintBars();
}

void TdxBarTreeView::KeyDown(int& key, TShiftState shift)
{
    TTreeView::KeyDown(key, shift);
    if (key != VK_RETURN) return;
    key = 0;
    Choose();
}

bool TdxBarTreeView::OnNode(QPoint client) const
{
    return (GetHitTestInfoAt(client.x(), client.y()) & (htOnItem | htOnIcon | htOnLabel | htOnStateIcon)) != 0;
}

void TdxBarTreeView::DblClick()
{
    QPointer<TdxBarTreeView> self(this);
    TTreeView::DblClick();
    if (self && combo_ && combo_->ChooseByDblClick() && OnNode(LastMousePos())) Choose();
}

void TdxBarTreeView::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    QPointer<TdxBarTreeView> self(this);
    TTreeView::MouseUp(button, shift, x, y);
    if (self && combo_ && !combo_->ChooseByDblClick() && button == mbLeft && OnNode({x, y})) Choose();
}

// ---------------------------------------------------------------- TdxBarTreeViewDropDown

TdxBarTreeViewDropDown::TdxBarTreeViewDropDown(TdxBarTreeViewCombo* combo)
    : TdxBarSizableDropDown(combo), treeCombo_(combo)
{}

TdxBarTreeViewDropDown::~TdxBarTreeViewDropDown()
{
    // The tree's widget lives in this window's: it leaves before the window goes.
    if (treeCombo_ && treeCombo_->TreeView() && treeCombo_->TreeView()->ParentWindow() == Handle())
        treeCombo_->TreeView()->SetParentWindow(nullptr);
}

void TdxBarTreeViewDropDown::LButtonUp(const TPoint& client, TShiftState shift)
{
    const bool sizing = Sizing();
    QPointer<TdxBarTreeViewDropDown> self(this);
    TdxBarSizableDropDown::LButtonUp(client, shift);
    if (!self || !sizing || Sizing() || !treeCombo_) return;
    treeCombo_->SetDropDownWidth(Width());
    treeCombo_->SetDropDownHeight(Height());
}

void TdxBarTreeViewDropDown::WindowPosChanged()
{
    TdxBarSizableDropDown::WindowPosChanged();
    if (!treeCombo_ || !treeCombo_->TreeView()) return;
    const TRect client = ClientBounds();
    treeCombo_->TreeView()->SetBounds(client.Left, client.Top, client.Width(), client.Height());
}

// ---------------------------------------------------------------- TdxBarTreeViewCombo

TdxBarTreeViewCombo::TdxBarTreeViewCombo(TComponent* owner) : TCustomdxBarCombo(owner)
{
    static const bool registered = (RegisterEventType<TTVExpandedEvent>(), RegisterEventType<TTVChangingEvent>(),
                                    RegisterEventType<TTVCompareEvent>(), true);
    Q_UNUSED(registered);
    if (TBitmap* glyph = dxBarItemKindGlyph(QStringLiteral("TREEVIEWCOMBO"))) SetGlyph(glyph);
    SetShowEditor(false);
    tree_ = new TdxBarTreeView(this, this, true);
    treeComponent_ = tree_;
}

TdxBarTreeViewCombo::~TdxBarTreeViewCombo()
{
    delete dropDown_.data();
    if (TdxBarTreeView* tree = tree_) {
        tree->combo_ = nullptr;
        delete tree;
    }
    selectedNode_ = nullptr;
}

void TdxBarTreeViewCombo::SetDropDownHeight(int value)
{
    dropDownHeight_ = std::max(dxDropDownMinHeight, value);
}

void TdxBarTreeViewCombo::SetDropDownWidth(int value)
{
    dropDownWidth_ = std::max(dxDropDownMinWidth, value);
}

void TdxBarTreeViewCombo::SetShowImageInEdit(bool value)
{
    if (value == showImageInEdit_) return;
    showImageInEdit_ = value;
    if (Images() || StateImages()) RepaintBars();
}

bool TdxBarTreeViewCombo::ShowsImagesInEdit() const
{
    return showImageInEdit_ && (Images() || StateImages());
}

TTreeNodes* TdxBarTreeViewCombo::Items() const
{
    return tree_ ? tree_->Items() : nullptr;
}

// The properties the tree holds: read from it, written to it.
#define DX_TREE_PROPERTY(Type, Get, Set, fallback) \
    Type TdxBarTreeViewCombo::Get() const          \
    {                                              \
        return tree_ ? tree_->Get() : fallback;    \
    }                                              \
    void TdxBarTreeViewCombo::Set(Type value)      \
    {                                              \
        if (tree_) tree_->Set(value);              \
    }
DX_TREE_PROPERTY(TCustomImageList*, Images, SetImages, nullptr)
DX_TREE_PROPERTY(TCustomImageList*, StateImages, SetStateImages, nullptr)
DX_TREE_PROPERTY(int, Indent, SetIndent, 19)
DX_TREE_PROPERTY(bool, ShowButtons, SetShowButtons, true)
DX_TREE_PROPERTY(bool, ShowLines, SetShowLines, true)
DX_TREE_PROPERTY(bool, ShowRoot, SetShowRoot, true)
DX_TREE_PROPERTY(TSortType, SortType, SetSortType, stNone)
#undef DX_TREE_PROPERTY

#define DX_TREE_EVENT(Type, Name)                      \
    Type TdxBarTreeViewCombo::Name() const             \
    {                                                  \
        return tree_ ? tree_->Name : Type();           \
    }                                                  \
    void TdxBarTreeViewCombo::Set##Name(const Type& e) \
    {                                                  \
        if (tree_) tree_->Name = e;                    \
    }
DX_TREE_EVENT(TTVExpandedEvent, OnExpanded)
DX_TREE_EVENT(TTVChangingEvent, OnExpanding)
DX_TREE_EVENT(TTVChangingEvent, OnChanging)
DX_TREE_EVENT(TTVExpandedEvent, OnCollapsed)
DX_TREE_EVENT(TTVChangingEvent, OnCollapsing)
DX_TREE_EVENT(TTVCompareEvent, OnCompare)
DX_TREE_EVENT(TTVExpandedEvent, OnGetImageIndex)
DX_TREE_EVENT(TTVExpandedEvent, OnGetSelectedIndex)
#undef DX_TREE_EVENT

TTVChangedEvent TdxBarTreeViewCombo::OnTreeViewChange() const
{
    return tree_ ? tree_->OnChange : TTVChangedEvent();
}

void TdxBarTreeViewCombo::SetOnTreeViewChange(const TTVChangedEvent& e)
{
    if (tree_) tree_->OnChange = e;
}

void TdxBarTreeViewCombo::SetSelectedNode(TTreeNode* node)
{
    if (node == selectedNode_) return;
    selectedNode_ = node;
    UpdateTextFromNode();
}

void TdxBarTreeViewCombo::UpdateTextFromNode()
{
    QPointer<TdxBarTreeViewCombo> self(this);
    {
        TRestore<bool> updating(updatingFromNode_, true);
        const QString text = selectedNode_ ? selectedNode_->Text() : QString();
        if (text != Text())
            SetText(text);
        else
            Change();
    }
    if (self) UpdateControls();
}

void TdxBarTreeViewCombo::SetText(const QString& value)
{
    if (Loading()) {
        // The nodes may not be read yet: the text is looked up once they are.
        loadedText_ = value;
        textLoaded_ = true;
        return;
    }
    if (value == Text()) return;
    if (!updatingFromNode_) selectedNode_ = tree_ ? tree_->FindNodeByText(value) : nullptr;
    TCustomdxBarCombo::SetText(value);
}

void TdxBarTreeViewCombo::Loaded()
{
    TCustomdxBarCombo::Loaded();
    if (!textLoaded_) return;
    textLoaded_ = false;
    SetText(loadedText_);
}

bool TdxBarTreeViewCombo::CanSelectNode(TTreeNode* node)
{
    bool can = true;
    if (OnCanSelectNode) OnCanSelectNode(this, node, can);
    return can;
}

void TdxBarTreeViewCombo::NodeChosen(TdxBarTreeView* tree, TTreeNode* node)
{
    QPointer<TdxBarTreeViewCombo> self(this);
    QPointer<TdxBarTreeView> guard(tree);
    TdxBarItemLink* link = FindLiveLink();
    QPointer<TdxBarItemControl> control = link ? link->Control() : nullptr;
    // The editor takes the text first, so that leaving it keeps the choice.
    if (control && control->HasEditor()) control->SetEditorText(node->Text());
    if (link) (link->OriginalItemLink() ? link->OriginalItemLink() : link)->ItemClicked(true);
    if (dropDown_) dropDown_->CloseAsChosen();
    if (!self || !guard) return;
    // A handler of the closing may have freed the node: the tree's selection is asked again.
    SetSelectedNode(guard->Selected());
}

bool TdxBarTreeViewCombo::CheckKeyForDropDownWindow(int key, TShiftState shift)
{
    return key == VK_RETURN || TCustomdxBarCombo::CheckKeyForDropDownWindow(key, shift);
}

void TdxBarTreeViewCombo::DropDownWindowKeyDown(int key, TShiftState shift)
{
    if (tree_ && dropDown_ && dropDown_->Visible()) tree_->SendKey(key, shift);
}

TNativeWindow* TdxBarTreeViewCombo::GetDropDownWindow()
{
    if (QWidget* window = TCustomdxBarCombo::GetDropDownWindow()) return window;
    return dropDown_ ? dropDown_->Handle() : nullptr;
}

void TdxBarTreeViewCombo::DropDown(QPoint preferred, QSize linkSize, bool vertical)
{
    if (TCustomdxBarCombo::GetDropDownWindow()) {
        TCustomdxBarCombo::DropDown(preferred, linkSize, vertical);
        return;
    }
    QPointer<TdxBarTreeViewCombo> self(this);
    if (OnDropDown) OnDropDown(this);
    if (!self || !tree_) return;
    TdxBarItemLink* link = FindLiveLink();
    TdxBarItemControl* control = link ? link->Control() : nullptr;
    TCustomdxBarControl* barWindow = control ? control->Parent() : nullptr;
    if (!dropDown_) {
        // Made on the first drop, when the combo's form is known: the drop-down stays above it.
        dropDown_ = new TdxBarTreeViewDropDown(this);
        dropDownComponent_ = dropDown_;
        tree_->SetParentWindow(dropDown_->Handle());
        tree_->SetVisible(true);
    }
    if (barWindow)
        tree_->Font()->SetFromQFont(barWindow->Font());
    else if (BarManager() && BarManager()->Font())
        tree_->Font()->Assign(BarManager()->Font());
    if (fullExpand_) tree_->FullExpand();
    if (CurText() != Text()) tree_->SetSelected(tree_->FindNodeByText(CurText()));
    if (!tree_->Selected() && tree_->Items()->Count() > 0) {
        TTreeNode* first = tree_->Items()->GetFirstNode();
        first->SetFocused(true);
        first->MakeVisible();
    }
    if (!self || !dropDown_) return;
    dropDown_->SetAllowResizing(allowResizing_);
    dropDown_->SetWindowPos(TRect::Bounds(0, 0, dropDownWidth_, dropDownHeight_), SWP_NOMOVE | SWP_NOACTIVATE);
    dropDown_->Drop(preferred, linkSize, vertical);
}

void TdxBarTreeViewCombo::CloseUp()
{
    if (TCustomdxBarCombo::GetDropDownWindow()) {
        TCustomdxBarCombo::CloseUp();
        return;
    }
    if (dropDown_ && dropDown_->Visible()) dropDown_->CloseUp();
    if (OnCloseUp) OnCloseUp(this);
}

void TdxBarTreeViewCombo::Click()
{
    if (OnClick() || ReadOnly()) {
        TCustomdxBarCombo::Click();
        return;
    }
    ShowChooser();
}

TdxBarTreeViewChooserLayout dxBarTreeViewChooserLayout(int zeroWidth, int zeroHeight, QSize tree)
{
    const auto [w, h, g] = dxBarChooserMetrics(zeroWidth, zeroHeight);
    TdxBarTreeViewChooserLayout layout;
    layout.Tree = QRect(g, g, tree.width(), tree.height());
    layout.OK = QRect(g + tree.width() + g, g, w, h);
    layout.Cancel = QRect(layout.OK.x(), g + h + g, w, h);
    layout.Client = QSize(tree.width() + w + 3 * g, tree.height() + 2 * g);
    return layout;
}

TdxBarTreeViewChooserLayout dxBarTreeViewChooserResize(int zeroWidth, int zeroHeight, QSize client)
{
    const auto [w, h, g] = dxBarChooserMetrics(zeroWidth, zeroHeight);
    TdxBarTreeViewChooserLayout layout;
    layout.Tree = QRect(g, g, client.width() - w - 3 * g, client.height() - 2 * g);
    layout.OK = QRect(client.width() - g - w, g, w, h);
    layout.Cancel = QRect(layout.OK.x(), g + h + g, w, h);
    layout.Client = client;
    return layout;
}

void TdxBarTreeViewCombo::ShowChooser()
{
    if (!tree_) return;
    QPointer<TdxBarTreeViewCombo> self(this);
    TdxBarManager* manager = BarManager();
    std::unique_ptr<TdxBarChooserForm> form(Create<TdxBarChooserForm>(nullptr));
    form->Prepare(this, dxBarStr(dxSBAR_TREEVIEWDIALOGCAPTION));
    if (allowResizing_) {
        form->SetBorderStyle(bsSizeable);
        form->SetBorderIcons({});
    }
    if (TCustomForm* owner = manager ? manager->OwnerFormAsForm() : nullptr) form->SetOwnerWindow(owner->Handle());

    auto* tree = new TdxBarTreeView(form.get(), this, false);
    tree->SetParent(form.get());
    tree->SetImages(tree_->Images());
    tree->SetIndent(tree_->Indent());
    tree->Items()->Assign(*tree_->Items());
    tree->SetShowButtons(tree_->ShowButtons());
    tree->SetShowLines(tree_->ShowLines());
    tree->SetShowRoot(tree_->ShowRoot());
    tree->SetSortType(tree_->SortType());
    tree->SetStateImages(tree_->StateImages());
    tree->SetClientSize(DropDownClientSize());

    TButton* ok = form->AddButton(dxBarStr(dxSBAR_DIALOGOK), mrOk, true);
    TButton* cancel = form->AddButton(dxBarStr(dxSBAR_DIALOGCANCEL), mrCancel, false, true);

    const int zeroWidth = form->ZeroSize().width();
    const int zeroHeight = form->ZeroSize().height();
    const TdxBarTreeViewChooserLayout first =
        dxBarTreeViewChooserLayout(zeroWidth, zeroHeight, QSize(tree->Width(), tree->Height()));
    auto place = [&](const TdxBarTreeViewChooserLayout& layout) {
        tree->SetBounds(layout.Tree.x(), layout.Tree.y(), layout.Tree.width(), layout.Tree.height());
        ok->SetBounds(layout.OK.x(), layout.OK.y(), layout.OK.width(), layout.OK.height());
        cancel->SetBounds(layout.Cancel.x(), layout.Cancel.y(), layout.Cancel.width(), layout.Cancel.height());
    };
    place(first);
    dxSizeClientTo(
        first.Client, QSize(0, 0), [&] { return QSize(form->Width(), form->Height()); },
        [&] { return QSize(form->ClientWidth(), form->ClientHeight()); },
        [&](QSize window) { form->SetBounds(form->Left(), form->Top(), window.width(), window.height()); });
    const int observer = form->AddBoundsObserver([&, zeroWidth, zeroHeight](TControl*, const QRect&) {
        place(dxBarTreeViewChooserResize(zeroWidth, zeroHeight, QSize(form->ClientWidth(), form->ClientHeight())));
    });
    const TScopeExit unobserve([&] { form->RemoveBoundsObserver(observer); });

    if (fullExpand_) tree->FullExpand();
    if (TTreeNode* node = tree->FindNodeByText(Text()))
        tree->SetSelected(node);
    else if (TTreeNode* firstNode = tree->Items()->GetFirstNode()) {
        firstNode->SetFocused(true);
        firstNode->MakeVisible();
    }
    form->SetActiveControl(tree);

    const int result = form->ShowModal();
    if (!self) return;
    if (result == mrOk)
        if (TTreeNode* node = tree->Selected()) SetText(node->Text());
    // The drop-down opens at the size the chooser's tree was given.
    SetDropDownClientSize(tree->ClientSize());
}

QSize TdxBarTreeViewCombo::DropDownClientSize() const
{
    return TdxDropDownFrameLayout(dropDownWidth_, dropDownHeight_, dxcBottomRight, allowResizing_).Client().Size();
}

void TdxBarTreeViewCombo::SetDropDownClientSize(QSize size)
{
    dxSizeClientTo(
        size, QSize(dxDropDownMinWidth, dxDropDownMinHeight), [this] { return QSize(dropDownWidth_, dropDownHeight_); },
        [this] { return DropDownClientSize(); },
        [this](QSize window) {
            SetDropDownWidth(window.width());
            SetDropDownHeight(window.height());
        });
}

void TdxBarTreeViewCombo::DefineProperties(TFiler* filer)
{
    TCustomdxBarCombo::DefineProperties(filer);
    if (!filer || !tree_) return;
    TTreeNodes* nodes = tree_->Items();
    filer->DefineBinaryProperty(
        QStringLiteral("Items"), [nodes](const QByteArray& data) { nodes->ReadData(data); },
        [nodes](QByteArray& data) { data = nodes->WriteData(); }, nodes->Count() > 0);
}

void TdxBarTreeViewCombo::Notification(TComponent* component, TOperation operation)
{
    TCustomdxBarCombo::Notification(component, operation);
    if (operation != opRemove) return;
    // Compared as components: a component going is no longer of its own class.
    if (component == treeComponent_) {
        selectedNode_ = nullptr;
        tree_ = nullptr;
        treeComponent_ = nullptr;
    }
    if (component == dropDownComponent_) {
        dropDown_ = nullptr;
        dropDownComponent_ = nullptr;
    }
}

// ---------------------------------------------------------------- TdxBarTreeViewComboControl

TdxBarTreeViewComboControl::TdxBarTreeViewComboControl(TdxBarItemLink* link) : TCustomdxBarComboControl(link) {}

TdxBarTreeViewCombo* TdxBarTreeViewComboControl::TreeCombo() const
{
    return qobject_cast<TdxBarTreeViewCombo*>(Item());
}

int TdxBarTreeViewComboControl::GetHeight()
{
    const int height = TCustomdxBarComboControl::GetHeight();
    TdxBarTreeViewCombo* combo = TreeCombo();
    TCustomdxBarControl* parent = Parent();
    if (!combo || !parent || !combo->ShowsImagesInEdit() || (parent->IsVertical() && !parent->IsMenu())) return height;
    const int images = std::max(combo->Images() ? combo->Images()->Height() : 0,
                                combo->StateImages() ? combo->StateImages()->Height() : 0);
    return std::max(height, images + 6);
}

void TdxBarTreeViewComboControl::SetFocused(bool value)
{
    QPointer<TdxBarTreeViewComboControl> self(this);
    TCustomdxBarComboControl::SetFocused(value);
    if (!self || !value) return;
    TdxBarTreeViewCombo* combo = TreeCombo();
    TdxBarTreeView* tree = combo ? combo->TreeView() : nullptr;
    if (!tree) return;
    TTreeNode* node = combo->SelectedNode() ? combo->SelectedNode() : tree->FindNodeByText(combo->Text());
    tree->SetSelected(node);
}

void TdxBarTreeViewComboControl::DrawInterior(QPainter& p, const TRect& r) const
{
    TdxBarTreeViewCombo* combo = TreeCombo();
    TCustomdxBarControl* parent = Parent();
    if (!combo || !parent || !combo->ShowsImagesInEdit()) {
        TCustomdxBarComboControl::DrawInterior(p, r);
        return;
    }
    const bool enabled = GetEnabled();
    TTreeNode* node = Focused() && combo->TreeView() ? combo->TreeView()->Selected() : combo->SelectedNode();
    FillRect(p, r, enabled ? SysBrush(COLOR_WINDOW) : parent->GetToolbarBrush());
    int left = r.Left + 1;
    p.save();
    p.setClipRect(r.ToQRect(), Qt::IntersectClip);
    if (TCustomImageList* states = combo->StateImages()) {
        if (node && node->StateIndex() >= 0 && node->StateIndex() < states->Count()) {
            p.drawImage(left, r.Top + (r.Height() - states->Height()) / 2, states->Image(node->StateIndex()));
            left += states->Width();
        }
    }
    if (TCustomImageList* images = combo->Images()) {
        int index = -1;
        if (node && node->SelectedIndex() >= 0 && node->SelectedIndex() < images->Count())
            index = node->SelectedIndex();
        else if (node && node->ImageIndex() >= 0 && node->ImageIndex() < images->Count())
            index = node->ImageIndex();
        if (index >= 0) p.drawImage(left, r.Top + (r.Height() - images->Height()) / 2, images->Image(index));
        left += images->Width() + 3;
    }
    TRect text(left + 2, r.Top, r.Right - 2, r.Bottom);
    p.setFont(parent->Font());
    p.setPen(SysColor(enabled ? COLOR_WINDOWTEXT : COLOR_GRAYTEXT));
    DrawText(p, Focused() ? GetText() : combo->Text(), text, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    p.restore();
}
