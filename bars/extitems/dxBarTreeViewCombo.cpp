#include "dxBarTreeViewCombo.h"

#include "Forms.h"
#include "Painting.h"
#include "StdCtrls.h"
#include "Streaming.h"
#include "SysParams.h"
#include "TypInfo.h"
#include "dxBarCustomControl.h"
#include "dxBarDrawing.h"
#include "dxBarExtItems.h"
#include "dxBarItemLink.h"
#include "dxBarManager.h"
#include "dxBarStrs.h"

#include <QFontMetrics>
#include <QPainter>
#include <QTreeWidget>
#include <algorithm>
#include <functional>
#include <memory>

TdxBarItemControlClass TdxBarTreeViewComboControlClass{
    "TdxBarTreeViewComboControl",
    [](TdxBarItemLink* link) -> TdxBarItemControl* { return new TdxBarTreeViewComboControl(link); }};

namespace {

// The side of a caption button, as the classic metrics have it.
constexpr int kCaptionButtonSize = 18;

// The grip strip's height: the caption button's size and a line, or a scroll bar's and three.
int DropDownStripHeight()
{
    const int size = GetSystemMetrics(SM_CYHSCROLL) + 2 < kCaptionButtonSize ? kCaptionButtonSize + 1
                                                                             : GetSystemMetrics(SM_CYHSCROLL) + 3;
    return size;
}

// Which corner of a drop-down placed at dropDown holds its grip, seen from the edit at edit:
// a bottom corner below the edit, a right corner when it reaches right of the edit's left.
int CornerForRects(const TRect& edit, const TRect& dropDown)
{
    static constexpr int kCorners[] = {0, 2, 1, 3};
    return kCorners[2 * (edit.Left < dropDown.Right) + (edit.Bottom < dropDown.Bottom)];
}

int HitTestOfCorner(int corner)
{
    static constexpr int kCodes[] = {HTTOPLEFT, HTTOPRIGHT, HTBOTTOMLEFT, HTBOTTOMRIGHT};
    return kCodes[std::clamp(corner, 0, 3)];
}

// The way out of a choice made in the drop-down: the menus close, else the control does.
void CloseDropDownOf(TdxBarTreeViewCombo* combo)
{
    QPointer<TdxBarTreeViewCombo> self(combo);
    TdxBarItemLink* link = combo->FindLiveLink();
    QPointer<TdxBarItemControl> control = link ? link->Control() : nullptr;
    QPointer<TCustomdxBarControl> active = dxBarActiveBarControl();
    if (active && dxBarIsBarControlAlive(active)) active->HideAll();
    if (!self || !self->DropDownWindow() || !self->DropDownWindow()->Visible()) return;
    if (control && control->IsDroppedDown()) control->ControlInactivate(true);
    if (self && self->DropDownWindow() && self->DropDownWindow()->Visible()) self->CloseUp();
}

}  // namespace

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
    // Three tries at most: a size the tree cannot take (below its minimum) ends the loop.
    for (int i = 0; i < 3; ++i) {
        const QSize now = ClientSize();
        if (now == size) return;
        const int width = std::max(TdxBarTreeViewDropDown::kMinSize, Width() + size.width() - now.width());
        const int height = std::max(TdxBarTreeViewDropDown::kMinSize, Height() + size.height() - now.height());
        if (width == Width() && height == Height()) return;
        SetBounds(Left(), Top(), width, height);
    }
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

namespace {

TCreateParams DropDownParams(QWidget* ownerWindow)
{
    TCreateParams params;
    params.Bounds = TRect::Bounds(0, 0, 150, 200);
    params.Popup = true;
    params.Owner = ownerWindow;
    return params;
}

}  // namespace

TdxBarTreeViewDropDown::TdxBarTreeViewDropDown(TdxBarTreeViewCombo* combo, QWidget* ownerWindow)
    : TWindow(combo, DropDownParams(ownerWindow)), combo_(combo)
{}

TdxBarTreeViewDropDown::~TdxBarTreeViewDropDown()
{
    // The tree's widget lives in this window's: it leaves before the window goes.
    if (combo_ && combo_->TreeView() && combo_->TreeView()->ParentWindow() == Handle())
        combo_->TreeView()->SetParentWindow(nullptr);
    Destroying();
    DetachHandle();
}

bool TdxBarTreeViewDropDown::ShowsStrip() const
{
    return combo_ && combo_->AllowResizing();
}

void TdxBarTreeViewDropDown::SetGripCorner(int corner)
{
    corner = std::clamp(corner, 0, 3);
    if (corner == corner_) return;
    corner_ = corner;
    FrameChanged();
}

void TdxBarTreeViewDropDown::NCCalcSize(TRect& rect)
{
    rect = rect.Inflated(-1, -1);
    if (ShowsStrip()) {
        if (corner_ < 2)
            rect.Top += DropDownStripHeight();
        else
            rect.Bottom -= DropDownStripHeight();
    }
    CalcStripRects();
}

void TdxBarTreeViewDropDown::CalcStripRects()
{
    gripRect_ = closeRect_ = {};
    if (!ShowsStrip()) return;
    const int strip = DropDownStripHeight();
    const bool top = corner_ < 2;
    const bool right = corner_ == 1 || corner_ == 3;
    // The strip without its line next to the nodes.
    const TRect area = top ? TRect(1, 1, Width() - 1, strip) : TRect(1, Height() - strip, Width() - 1, Height() - 1);
    const int gripWidth = GetSystemMetrics(SM_CXVSCROLL);
    const int gripHeight = std::min(area.Height(), GetSystemMetrics(SM_CYHSCROLL));
    gripRect_ = TRect::Bounds(right ? area.Right - gripWidth : area.Left, top ? area.Top : area.Bottom - gripHeight,
                              gripWidth, gripHeight);
    const int size = kCaptionButtonSize;
    const int left = right ? area.Left + 1 : area.Right - 1 - size;
    closeRect_ = TRect(left, area.Top + 1, left + size, area.Bottom - 1);
}

void TdxBarTreeViewDropDown::NCPaint(QPainter& p)
{
    const bool flat = combo_ && combo_->IsFlat();
    const QBrush border = SysBrush(flat ? COLOR_BTNSHADOW : COLOR_WINDOWFRAME);
    FrameRect(p, TRect(0, 0, Width(), Height()), border);
    if (!ShowsStrip()) return;
    const int strip = DropDownStripHeight();
    const bool top = corner_ < 2;
    const TRect line =
        top ? TRect(1, strip, Width() - 1, strip + 1) : TRect(1, Height() - strip - 1, Width() - 1, Height() - strip);
    FillRect(p, line, border);
    const TRect area = top ? TRect(1, 1, Width() - 1, strip) : TRect(1, Height() - strip, Width() - 1, Height() - 1);
    FillRect(p, area, SysBrush(COLOR_BTNFACE));

    // The grip, its ridges turned towards the corner it sits in.
    QImage grip(gripRect_.Width(), gripRect_.Height(), QImage::Format_ARGB32_Premultiplied);
    grip.fill(SysColor(COLOR_BTNFACE));
    {
        QPainter g(&grip);
        DrawFrameControl(g, TRect(0, 0, grip.width(), grip.height()), DFC_SCROLL, DFCS_SCROLLSIZEGRIP);
    }
    const bool right = corner_ == 1 || corner_ == 3;
    p.drawImage(gripRect_.Left, gripRect_.Top, grip.mirrored(!right, top));

    // The close button: raised while hot, sunken while held there; flat: no edge.
    const bool held = closeTracking_ && closeHot_;
    if ((closeHot_ || closeTracking_) && !flat)
        DrawEdge(p, closeRect_, held ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT);
    else if (closeHot_ || closeTracking_)
        FrameRect(p, closeRect_, SysBrush(COLOR_BTNSHADOW));
    TRect cross = closeRect_.Inflated(-1, -1);
    if (held && !flat) cross = cross.Offset(1, 1);
    DrawFrameControl(p, cross, DFC_CAPTION, DFCS_CAPTIONCLOSE | DFCS_FLAT | DFCS_TRANSPARENT);
}

int TdxBarTreeViewDropDown::NCHitTest(const TPoint& screen)
{
    const TRect window = WindowRect();
    const TPoint at(screen.x() - window.Left, screen.y() - window.Top);
    if (gripRect_.Contains(at)) return HitTestOfCorner(corner_);
    const int hit = TWindow::NCHitTest(screen);
    TWindow* capture = TWindow::GetCapture();
    const bool over = (!capture || closeTracking_) && closeRect_.Contains(at) && WindowFromPoint(screen) == Handle();
    SetCloseHot(over);
    return over ? HTBORDER : hit;
}

void TdxBarTreeViewDropDown::SetCloseHot(bool value)
{
    if (value == closeHot_) return;
    closeHot_ = value;
    if (value) TrackMouseLeave();
    InvalidateFrame();
}

void TdxBarTreeViewDropDown::NCLButtonDown(int hitTest, const TPoint& screen)
{
    if (ShowsStrip() && hitTest == HitTestOfCorner(corner_)) {
        // Our own sizing loop: the opposite corner stays where it is.
        sizing_ = true;
        sizingStart_ = screen;
        sizingBounds_ = BoundsRect();
        SetCapture();
        return;
    }
    if (closeHot_) {
        closeTracking_ = true;
        SetCapture();
        InvalidateFrame();
    }
}

void TdxBarTreeViewDropDown::NCMouseMove(int /*hitTest*/, const TPoint& /*screen*/) {}

void TdxBarTreeViewDropDown::MouseMove(const TPoint& client, TShiftState /*shift*/)
{
    const TPoint screen = ClientToScreen(client);
    if (sizing_) {
        TRect bounds = sizingBounds_;
        const int dx = screen.x() - sizingStart_.x();
        const int dy = screen.y() - sizingStart_.y();
        if (corner_ == 1 || corner_ == 3)
            bounds.Right = std::max(bounds.Left + kMinSize, bounds.Right + dx);
        else
            bounds.Left = std::min(bounds.Right - kMinSize, bounds.Left + dx);
        if (corner_ >= 2)
            bounds.Bottom = std::max(bounds.Top + kMinSize, bounds.Bottom + dy);
        else
            bounds.Top = std::min(bounds.Bottom - kMinSize, bounds.Top + dy);
        SetWindowPos(bounds, SWP_NOACTIVATE);
        return;
    }
    if (closeTracking_) {
        const TRect window = WindowRect();
        SetCloseHot(closeRect_.Contains(TPoint(screen.x() - window.Left, screen.y() - window.Top)));
    }
}

void TdxBarTreeViewDropDown::LButtonUp(const TPoint& client, TShiftState /*shift*/)
{
    if (sizing_) {
        sizing_ = false;
        if (GetCapture() == this) ReleaseCapture();
        // The drop-down opens at this size from now on.
        if (combo_) {
            combo_->SetDropDownWidth(Width());
            combo_->SetDropDownHeight(Height());
        }
        return;
    }
    if (!closeTracking_) return;
    closeTracking_ = false;
    const TPoint screen = ClientToScreen(client);
    const TRect window = WindowRect();
    const bool over = closeRect_.Contains(TPoint(screen.x() - window.Left, screen.y() - window.Top));
    if (GetCapture() == this) ReleaseCapture();
    if (over && combo_) {
        CloseDropDownOf(combo_);
        return;
    }
    InvalidateFrame();
}

void TdxBarTreeViewDropDown::CaptureChanged()
{
    sizing_ = false;
    if (!closeTracking_) return;
    closeTracking_ = false;
    InvalidateFrame();
}

void TdxBarTreeViewDropDown::MouseLeave()
{
    if (!closeHot_) return;
    closeHot_ = false;
    InvalidateFrame();
}

void TdxBarTreeViewDropDown::WindowPosChanging(TRect& bounds)
{
    if (bounds.Width() < kMinSize) bounds.Right = bounds.Left + kMinSize;
    if (bounds.Height() < kMinSize) bounds.Bottom = bounds.Top + kMinSize;
}

void TdxBarTreeViewDropDown::Size(int clientWidth, int clientHeight)
{
    if (!combo_ || !combo_->TreeView()) return;
    const TRect client = ClientBounds();
    combo_->TreeView()->SetBounds(client.Left, client.Top, clientWidth, clientHeight);
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
    dropDownHeight_ = std::max(int(TdxBarTreeViewDropDown::kMinSize), value);
}

void TdxBarTreeViewCombo::SetDropDownWidth(int value)
{
    dropDownWidth_ = std::max(int(TdxBarTreeViewDropDown::kMinSize), value);
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
    CloseDropDownOf(this);
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

QWidget* TdxBarTreeViewCombo::GetDropDownWindow()
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
        TdxBarManager* manager = BarManager();
        TCustomForm* form = manager ? manager->OwnerFormAsForm() : nullptr;
        dropDown_ = new TdxBarTreeViewDropDown(this, form ? form->Handle() : nullptr);
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
    const QSize size(dropDownWidth_, dropDownHeight_);
    const TRect area = dxBarGetWorkArea(preferred);
    const QPoint at = dxBarDropDownPosition(preferred, size, linkSize, area.ToQRect(), vertical);
    const TRect bounds = TRect::Bounds(at.x(), at.y(), size.width(), size.height());
    // The grip goes to the corner away from the edit; without a live link, bottom right.
    int corner = 3;
    if (auto* edit = dynamic_cast<TdxBarWinControl*>(control); edit && barWindow && !edit->EditRect.IsEmpty()) {
        const TPoint topLeft = barWindow->ClientToScreen(TPoint(edit->EditRect.Left, edit->EditRect.Top));
        corner = CornerForRects(
            TRect::Bounds(topLeft.x(), topLeft.y(), edit->EditRect.Width(), edit->EditRect.Height()), bounds);
    }
    dropDown_->SetGripCorner(corner);
    dropDown_->SetWindowPos(bounds, SWP_SHOWWINDOW | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void TdxBarTreeViewCombo::CloseUp()
{
    if (TCustomdxBarCombo::GetDropDownWindow()) {
        TCustomdxBarCombo::CloseUp();
        return;
    }
    if (dropDown_ && dropDown_->Visible()) {
        if (TWindow::GetCapture() == dropDown_) TWindow::ReleaseCapture();
        dropDown_->Hide();
    }
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
    const int w = 12 * zeroWidth;
    const int h = MulDiv(zeroHeight, 5, 3);
    const int g = h / 4;
    TdxBarTreeViewChooserLayout layout;
    layout.Tree = QRect(g, g, tree.width(), tree.height());
    layout.OK = QRect(g + tree.width() + g, g, w, h);
    layout.Cancel = QRect(layout.OK.x(), g + h + g, w, h);
    layout.Client = QSize(tree.width() + w + 3 * g, tree.height() + 2 * g);
    return layout;
}

TdxBarTreeViewChooserLayout dxBarTreeViewChooserResize(int zeroWidth, int zeroHeight, QSize client)
{
    const int w = 12 * zeroWidth;
    const int h = MulDiv(zeroHeight, 5, 3);
    const int g = h / 4;
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
    std::unique_ptr<TForm> form(Create<TForm>(nullptr));
    if (allowResizing_) {
        form->SetBorderStyle(bsSizeable);
        form->SetBorderIcons({});
    } else {
        form->SetBorderStyle(bsDialog);
    }
    form->SetCaption(dxBarStr(dxSBAR_TREEVIEWDIALOGCAPTION));
    if (manager && manager->Font()) form->Font()->Assign(manager->Font());
    form->SetPosition(poScreenCenter);
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

    auto* ok = new TButton(form.get());
    ok->SetParent(form.get());
    ok->SetCaption(dxBarStr(dxSBAR_DIALOGOK));
    ok->SetDefault(true);
    ok->SetModalResult(mrOk);
    auto* cancel = new TButton(form.get());
    cancel->SetParent(form.get());
    cancel->SetCaption(dxBarStr(dxSBAR_DIALOGCANCEL));
    cancel->SetCancel(true);
    cancel->SetModalResult(mrCancel);

    const QFontMetrics metrics(form->Font()->ToQFont());
    const int zeroWidth = metrics.horizontalAdvance(QLatin1Char('0'));
    const int zeroHeight = metrics.height();
    const TdxBarTreeViewChooserLayout first =
        dxBarTreeViewChooserLayout(zeroWidth, zeroHeight, QSize(tree->Width(), tree->Height()));
    auto place = [&](const TdxBarTreeViewChooserLayout& layout) {
        tree->SetBounds(layout.Tree.x(), layout.Tree.y(), layout.Tree.width(), layout.Tree.height());
        ok->SetBounds(layout.OK.x(), layout.OK.y(), layout.OK.width(), layout.OK.height());
        cancel->SetBounds(layout.Cancel.x(), layout.Cancel.y(), layout.Cancel.width(), layout.Cancel.height());
    };
    place(first);
    for (int i = 0;
         i < 3 && (form->ClientWidth() != first.Client.width() || form->ClientHeight() != first.Client.height()); ++i) {
        form->SetClientWidth(first.Client.width());
        form->SetClientHeight(first.Client.height());
    }
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
    const int strip = allowResizing_ ? DropDownStripHeight() : 0;
    return {dropDownWidth_ - 2, dropDownHeight_ - 2 - strip};
}

void TdxBarTreeViewCombo::SetDropDownClientSize(QSize size)
{
    const int strip = allowResizing_ ? DropDownStripHeight() : 0;
    SetDropDownWidth(size.width() + 2);
    SetDropDownHeight(size.height() + 2 + strip);
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
