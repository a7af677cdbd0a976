#include "TreeView.h"

#include "ExceptionBarrier.h"
#include "Streaming.h"

#include <QDataStream>
#include <QHeaderView>
#include <QIODevice>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QTreeWidget>
#include <vector>

namespace {

// Deeper trees than this are taken for damaged data.
constexpr int kMaxStreamedDepth = 256;

}  // namespace

// A row of the widget: it owns its node and draws the node's images.
class TTreeItem : public QTreeWidgetItem {
public:
    TTreeItem(TTreeNodes* owner, const QString& text, qintptr data) : node_(new TTreeNode(owner, this))
    {
        setText(0, text);
        node_->data_ = data;
        ++owner->count_;
    }
    ~TTreeItem() override
    {
        --node_->owner_->count_;
        delete node_;
    }
    TTreeNode* Node() const { return node_; }

    QVariant data(int column, int role) const override
    {
        if (role != Qt::DecorationRole || column != 0) return QTreeWidgetItem::data(column, role);
        TTreeView* view = node_->owner_->owner_;
        if (!view->images_ && !view->stateImages_) return {};
        QImage image;
        RunGuarded(view, [&] { image = view->NodeImage(node_, isSelected()); });
        return image.isNull() ? QVariant() : QVariant(QPixmap::fromImage(image));
    }

    bool operator<(const QTreeWidgetItem& other) const override
    {
        TTreeView* view = node_->owner_->owner_;
        int result = 0;
        RunGuarded(view, [&] { result = view->CustomSort(node_, static_cast<const TTreeItem&>(other).node_); });
        return result < 0;
    }

private:
    TTreeNode* node_;
};

static TTreeNode* NodeOf(QTreeWidgetItem* item)
{
    return item ? static_cast<TTreeItem*>(item)->Node() : nullptr;
}

// The view: the control's calls around the stock handling, and the classic lines and buttons.
class TTreeWidget : public QTreeWidget {
public:
    explicit TTreeWidget(TTreeView* owner) : owner_(owner) {}
    void Detach() { owner_ = nullptr; }
    TTreeNode* NodeAt(const QModelIndex& index) const { return NodeOf(itemFromIndex(index)); }

protected:
    void keyPressEvent(QKeyEvent* e) override
    {
        const int vk = QtKeyToVK(e->key(), e->modifiers());
        int key = vk;
        Call([&](TTreeView& o) { o.KeyDown(key, ShiftStateFromQt(e->modifiers())); });
        if (vk != 0 && key == 0) {
            e->accept();
            return;
        }
        QTreeWidget::keyPressEvent(e);
    }
    void mousePressEvent(QMouseEvent* e) override
    {
        if (owner_) owner_->lastMouse_ = e->position().toPoint();
        // A press that would move the selection asks first.
        const QModelIndex target = indexAt(e->position().toPoint());
        if (e->button() == Qt::LeftButton && target.isValid() && target != currentIndex() &&
            visualRect(target).contains(e->position().toPoint())) {
            bool allowed = true;
            Call([&](TTreeView& o) { allowed = o.CanChange(NodeAt(target)); });
            if (!allowed || !owner_) return;
        }
        QTreeWidget::mousePressEvent(e);
    }
    void mouseReleaseEvent(QMouseEvent* e) override
    {
        QTreeWidget::mouseReleaseEvent(e);
        const QPoint p = e->position().toPoint();
        Call([&](TTreeView& o) { o.MouseUp(MouseButtonFromQt(e->button()), ShiftStateFromMouse(e), p.x(), p.y()); });
    }
    void mouseDoubleClickEvent(QMouseEvent* e) override
    {
        if (owner_) owner_->lastMouse_ = e->position().toPoint();
        QTreeWidget::mouseDoubleClickEvent(e);
        if (e->button() == Qt::LeftButton) Call([](TTreeView& o) { o.DblClick(); });
    }
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override
    {
        const QModelIndex next = QTreeWidget::moveCursor(action, modifiers);
        if (!next.isValid() || next == currentIndex()) return next;
        bool allowed = true;
        Call([&](TTreeView& o) { allowed = o.CanChange(NodeAt(next)); });
        return allowed && owner_ ? next : currentIndex();
    }
    // Freeing the selected node (or a parent of it) selects none; the stock view would select
    // a neighbour.
    void rowsAboutToBeRemoved(const QModelIndex& parent, int start, int end) override
    {
        bool removesChosen = false;
        const QModelIndexList chosen = selectionModel()->selectedIndexes();
        for (QModelIndex i = chosen.isEmpty() ? QModelIndex() : chosen.first(); i.isValid(); i = i.parent())
            if (i.parent() == parent && i.row() >= start && i.row() <= end) removesChosen = true;
        QTreeWidget::rowsAboutToBeRemoved(parent, start, end);
        if (removesChosen) selectionModel()->clear();
    }

    // Dotted lines between siblings and to each row, and a boxed plus or minus on a node with
    // children, one indentation step per level.
    void drawBranches(QPainter* p, const QRect& rect, const QModelIndex& index) const override
    {
        p->fillRect(rect, palette().base());
        if (!owner_) return;
        const int indent = indentation();
        const QColor line = ColorToQColor(clBtnShadow);
        const int midY = rect.top() + rect.height() / 2;
        auto dotted = [&](int x1, int y1, int x2, int y2) {
            // Dots on even places of the view, so rows join up.
            for (int x = x1; x <= x2; ++x)
                for (int y = y1; y <= y2; ++y)
                    if (((x + y) & 1) == 0) p->fillRect(x, y, 1, 1, line);
        };
        auto hasNextSibling = [&](const QModelIndex& i) { return i.row() + 1 < model()->rowCount(i.parent()); };
        int right = rect.right() + 1;
        QModelIndex i = index;
        bool own = true;
        while (i.isValid() && right - indent >= rect.left() - indent) {
            if (!i.parent().isValid() && !rootIsDecorated()) break;
            const int left = right - indent;
            const int midX = left + indent / 2;
            if (owner_->showLines_) {
                if (own) {
                    dotted(midX, rect.top(), midX, hasNextSibling(i) ? rect.bottom() : midY);
                    dotted(midX, midY, right - 2, midY);
                } else if (hasNextSibling(i)) {
                    dotted(midX, rect.top(), midX, rect.bottom());
                }
            }
            if (own && owner_->showButtons_) {
                const TTreeNode* node = NodeAt(i);
                if (node && node->HasChildren()) {
                    const QRect box(midX - 4, midY - 4, 9, 9);
                    p->fillRect(box, palette().base());
                    p->setPen(line);
                    p->drawRect(box.adjusted(0, 0, -1, -1));
                    p->setPen(palette().text().color());
                    p->drawLine(box.left() + 2, midY, box.right() - 2, midY);
                    if (!isExpanded(i)) p->drawLine(midX, box.top() + 2, midX, box.bottom() - 2);
                }
            }
            own = false;
            right = left;
            i = i.parent();
        }
    }

private:
    template <class F>
    void Call(F&& fn)
    {
        if (TTreeView* o = owner_) RunGuarded(o, [&] { fn(*o); });
    }

    TTreeView* owner_;
};

// ---------------------------------------------------------------- TTreeNode

TTreeView* TTreeNode::TreeView() const
{
    return owner_->Owner();
}

QString TTreeNode::Text() const
{
    return item_->text(0);
}

void TTreeNode::SetText(const QString& value)
{
    if (value == Text()) return;
    item_->setText(0, value);
    Changed();
}

void TTreeNode::SetImageIndex(int value)
{
    if (value == imageIndex_) return;
    imageIndex_ = value;
    Changed();
}

void TTreeNode::SetSelectedIndex(int value)
{
    if (value == selectedIndex_) return;
    selectedIndex_ = value;
    Changed();
}

void TTreeNode::SetStateIndex(int value)
{
    if (value == stateIndex_) return;
    stateIndex_ = value;
    Changed();
}

void TTreeNode::Changed() const
{
    TTreeView* view = TreeView();
    if (QTreeWidget* w = view->TreeWidget()) w->viewport()->update();
    view->NodeChanged(const_cast<TTreeNode*>(this));
}

TTreeNode* TTreeNode::Parent() const
{
    return NodeOf(item_->parent());
}

int TTreeNode::Count() const
{
    return item_->childCount();
}

TTreeNode* TTreeNode::Item(int index) const
{
    return index >= 0 && index < item_->childCount() ? NodeOf(item_->child(index)) : nullptr;
}

int TTreeNode::Index() const
{
    QTreeWidgetItem* parent = owner_->ParentItem(const_cast<TTreeNode*>(this));
    return parent ? parent->indexOfChild(item_) : -1;
}

int TTreeNode::Level() const
{
    int level = 0;
    for (QTreeWidgetItem* p = item_->parent(); p; p = p->parent()) ++level;
    return level;
}

bool TTreeNode::HasChildren() const
{
    return item_->childCount() > 0 || item_->childIndicatorPolicy() == QTreeWidgetItem::ShowIndicator;
}

void TTreeNode::SetHasChildren(bool value)
{
    item_->setChildIndicatorPolicy(value ? QTreeWidgetItem::ShowIndicator
                                         : QTreeWidgetItem::DontShowIndicatorWhenChildless);
}

TTreeNode* TTreeNode::GetNextSibling() const
{
    QTreeWidgetItem* parent = owner_->ParentItem(const_cast<TTreeNode*>(this));
    const int index = parent->indexOfChild(item_);
    return index + 1 < parent->childCount() ? NodeOf(parent->child(index + 1)) : nullptr;
}

TTreeNode* TTreeNode::GetPrevSibling() const
{
    QTreeWidgetItem* parent = owner_->ParentItem(const_cast<TTreeNode*>(this));
    const int index = parent->indexOfChild(item_);
    return index > 0 ? NodeOf(parent->child(index - 1)) : nullptr;
}

TTreeNode* TTreeNode::GetNext() const
{
    if (item_->childCount() > 0) return NodeOf(item_->child(0));
    for (const TTreeNode* n = this; n; n = n->Parent())
        if (TTreeNode* next = n->GetNextSibling()) return next;
    return nullptr;
}

bool TTreeNode::Expanded() const
{
    return item_->isExpanded();
}

void TTreeNode::SetExpanded(bool value)
{
    item_->setExpanded(value);
}

void TTreeNode::Expand(bool recurse)
{
    SetExpanded(true);
    if (recurse)
        for (int i = 0; i < Count(); ++i) Item(i)->Expand(true);
}

void TTreeNode::Collapse(bool recurse)
{
    if (recurse)
        for (int i = 0; i < Count(); ++i) Item(i)->Collapse(true);
    SetExpanded(false);
}

bool TTreeNode::Selected() const
{
    return item_->isSelected();
}

void TTreeNode::SetSelected(bool value)
{
    if (value)
        TreeView()->SetSelected(this);
    else if (Selected())
        TreeView()->SetSelected(nullptr);
}

bool TTreeNode::Focused() const
{
    QTreeWidget* w = TreeView()->TreeWidget();
    return w && w->currentItem() == item_;
}

void TTreeNode::SetFocused(bool value)
{
    QTreeWidget* w = TreeView()->TreeWidget();
    if (!w) return;
    if (value)
        w->setCurrentItem(item_, 0, QItemSelectionModel::NoUpdate);
    else if (Focused())
        w->selectionModel()->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
}

void TTreeNode::MakeVisible()
{
    for (QTreeWidgetItem* p = item_->parent(); p; p = p->parent()) p->setExpanded(true);
    if (QTreeWidget* w = TreeView()->TreeWidget()) w->scrollToItem(item_);
}

void TTreeNode::Delete()
{
    owner_->Delete(this);
}

// ---------------------------------------------------------------- TTreeNodes

TTreeNodes::~TTreeNodes() = default;

QTreeWidgetItem* TTreeNodes::ParentItem(TTreeNode* node) const
{
    if (!node) return owner_->TreeWidget() ? owner_->TreeWidget()->invisibleRootItem() : nullptr;
    if (QTreeWidgetItem* parent = node->item_->parent()) return parent;
    return node->item_->treeWidget() ? node->item_->treeWidget()->invisibleRootItem() : nullptr;
}

TTreeNode* TTreeNodes::Make(QTreeWidgetItem* parent, int index, const QString& text, qintptr data)
{
    auto* item = new TTreeItem(this, text, data);
    parent->insertChild(std::clamp(index, 0, parent->childCount()), item);
    return item->Node();
}

int TTreeNodes::RootCount() const
{
    QTreeWidget* w = owner_->TreeWidget();
    return w ? w->topLevelItemCount() : 0;
}

TTreeNode* TTreeNodes::Root(int index) const
{
    QTreeWidget* w = owner_->TreeWidget();
    return w ? NodeOf(w->topLevelItem(index)) : nullptr;
}

TTreeNode* TTreeNodes::GetFirstNode() const
{
    return Root(0);
}

TTreeNode* TTreeNodes::Item(int index) const
{
    if (index < 0 || index >= count_) return nullptr;
    // Depth first with an explicit stack: a walk by siblings would search each parent's list.
    std::vector<std::pair<QTreeWidgetItem*, int>> stack{{owner_->TreeWidget()->invisibleRootItem(), 0}};
    int at = 0;
    while (!stack.empty()) {
        auto& [parent, next] = stack.back();
        if (next >= parent->childCount()) {
            stack.pop_back();
            continue;
        }
        QTreeWidgetItem* item = parent->child(next++);
        if (at++ == index) return NodeOf(item);
        stack.emplace_back(item, 0);
    }
    return nullptr;
}

TTreeNode* TTreeNodes::Add(TTreeNode* sibling, const QString& text, qintptr data)
{
    QTreeWidgetItem* parent = ParentItem(sibling);
    return Make(parent, parent->childCount(), text, data);
}

TTreeNode* TTreeNodes::AddFirst(TTreeNode* sibling, const QString& text, qintptr data)
{
    return Make(ParentItem(sibling), 0, text, data);
}

TTreeNode* TTreeNodes::AddChild(TTreeNode* parent, const QString& text, qintptr data)
{
    QTreeWidgetItem* p = parent ? parent->item_ : ParentItem(nullptr);
    return Make(p, p->childCount(), text, data);
}

TTreeNode* TTreeNodes::AddChildFirst(TTreeNode* parent, const QString& text, qintptr data)
{
    return Make(parent ? parent->item_ : ParentItem(nullptr), 0, text, data);
}

TTreeNode* TTreeNodes::Insert(TTreeNode* sibling, const QString& text, qintptr data)
{
    if (!sibling) return Add(nullptr, text, data);
    QTreeWidgetItem* parent = ParentItem(sibling);
    return Make(parent, parent->indexOfChild(sibling->item_), text, data);
}

void TTreeNodes::NotifyDeletion(QTreeWidgetItem* item)
{
    for (int i = item->childCount() - 1; i >= 0; --i) NotifyDeletion(item->child(i));
    if (TTreeNode* node = NodeOf(item)) owner_->Delete(node);
}

void TTreeNodes::Delete(TTreeNode* node)
{
    if (!node || node->owner_ != this) return;
    TTreeItem* item = node->item_;
    NotifyDeletion(item);
    delete item;
}

void TTreeNodes::Clear()
{
    QTreeWidget* w = owner_->TreeWidget();
    if (!w || count_ == 0) return;
    QTreeWidgetItem* root = w->invisibleRootItem();
    for (int i = root->childCount() - 1; i >= 0; --i) NotifyDeletion(root->child(i));
    w->clear();
}

void TTreeNodes::BeginUpdate()
{
    if (updates_++ == 0)
        if (QTreeWidget* w = owner_->TreeWidget()) w->setUpdatesEnabled(false);
}

void TTreeNodes::EndUpdate()
{
    if (updates_ == 0 || --updates_ > 0) return;
    if (QTreeWidget* w = owner_->TreeWidget()) w->setUpdatesEnabled(true);
}

// A node read or copied before it joins a tree.
struct TTreeNodeRecord {
    QString text;
    int image = -1, selected = -1, state = -1;
    qint64 data = 0;
    std::vector<TTreeNodeRecord> children;
};

namespace {

void RecordOf(const TTreeNode* node, TTreeNodeRecord& record)
{
    record.text = node->Text();
    record.image = node->ImageIndex();
    record.selected = node->SelectedIndex();
    record.state = node->StateIndex();
    record.data = node->Data();
    record.children.resize(node->Count());
    for (int i = 0; i < node->Count(); ++i) RecordOf(node->Item(i), record.children[i]);
}

void WriteRecord(QDataStream& out, const TTreeNode* node)
{
    out << qint32(node->ImageIndex()) << qint32(node->SelectedIndex()) << qint32(node->StateIndex())
        << qint64(node->Data()) << qint32(node->Count()) << node->Text().toUtf8();
    for (int i = 0; i < node->Count(); ++i) WriteRecord(out, node->Item(i));
}

// Each node takes at least this many bytes: a count beyond what is left is damage.
constexpr int kMinRecordBytes = 28;

bool ReadRecord(QDataStream& in, TTreeNodeRecord& record, int depth)
{
    qint32 image, selected, state, count;
    qint64 data;
    QByteArray text;
    in >> image >> selected >> state >> data >> count >> text;
    if (in.status() != QDataStream::Ok || depth > kMaxStreamedDepth) return false;
    if (count < 0 || count > in.device()->bytesAvailable() / kMinRecordBytes) return false;
    record.text = QString::fromUtf8(text);
    record.image = image;
    record.selected = selected;
    record.state = state;
    record.data = data;
    record.children.resize(count);
    for (TTreeNodeRecord& child : record.children)
        if (!ReadRecord(in, child, depth + 1)) return false;
    return true;
}

}  // namespace

QTreeWidgetItem* TTreeNodes::Build(const TTreeNodeRecord& record)
{
    auto* item = new TTreeItem(this, record.text, qintptr(record.data));
    TTreeNode* node = item->Node();
    node->imageIndex_ = record.image;
    node->selectedIndex_ = record.selected;
    node->stateIndex_ = record.state;
    QList<QTreeWidgetItem*> children;
    children.reserve(qsizetype(record.children.size()));
    for (const TTreeNodeRecord& child : record.children) children.append(Build(child));
    item->addChildren(children);
    return item;
}

void TTreeNodes::BuildRoots(const std::vector<TTreeNodeRecord>& roots)
{
    QTreeWidget* w = owner_->TreeWidget();
    QList<QTreeWidgetItem*> items;
    items.reserve(qsizetype(roots.size()));
    for (const TTreeNodeRecord& record : roots) items.append(Build(record));
    w->addTopLevelItems(items);
}

void TTreeNodes::Assign(const TTreeNodes& source)
{
    if (&source == this) return;
    std::vector<TTreeNodeRecord> roots(source.RootCount());
    for (int i = 0; i < source.RootCount(); ++i) RecordOf(source.Root(i), roots[i]);
    Clear();
    BuildRoots(roots);
}

QByteArray TTreeNodes::WriteData() const
{
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out.setByteOrder(QDataStream::LittleEndian);
    for (int i = 0; i < RootCount(); ++i) WriteRecord(out, Root(i));
    return bytes;
}

bool TTreeNodes::ReadData(const QByteArray& bytes)
{
    QDataStream in(bytes);
    in.setByteOrder(QDataStream::LittleEndian);
    std::vector<TTreeNodeRecord> roots;
    bool ok = true;
    while (ok && !in.atEnd()) {
        roots.emplace_back();
        ok = ReadRecord(in, roots.back(), 0);
    }
    Clear();
    if (!ok) return false;
    BuildRoots(roots);
    return true;
}

// ---------------------------------------------------------------- TTreeView

TTreeView::TTreeView(TComponent* owner) : TWinControl(owner, new TTreeWidget(this))
{
    items_ = new TTreeNodes(this);
    QTreeWidget* w = TreeWidget();
    w->setColumnCount(1);
    w->header()->hide();
    w->setUniformRowHeights(true);
    w->setSelectionMode(QAbstractItemView::SingleSelection);
    w->setEditTriggers(QAbstractItemView::NoEditTriggers);
    w->setIndentation(indent_);
    w->setRootIsDecorated(showRoot_);
    w->setFrameShape(QFrame::StyledPanel);
    w->setFrameShadow(QFrame::Sunken);
    QObject::connect(w, &QTreeWidget::itemSelectionChanged, this,
                     [this] { RunGuarded(this, [this] { Change(Selected()); }); });
    QObject::connect(w, &QTreeWidget::itemExpanded, this, [this](QTreeWidgetItem* item) {
        RunGuarded(this, [&] {
            if (ownChange_) return;
            QPointer<TTreeView> self(this);
            if (!CanExpand(NodeOf(item))) {
                if (!self) return;
                TRestore<int> own(ownChange_, ownChange_ + 1);
                item->setExpanded(false);
                return;
            }
            if (self) Expanded(NodeOf(item));
        });
    });
    QObject::connect(w, &QTreeWidget::itemCollapsed, this, [this](QTreeWidgetItem* item) {
        RunGuarded(this, [&] {
            if (ownChange_) return;
            QPointer<TTreeView> self(this);
            if (!CanCollapse(NodeOf(item))) {
                if (!self) return;
                TRestore<int> own(ownChange_, ownChange_ + 1);
                item->setExpanded(true);
                return;
            }
            if (self) Collapsed(NodeOf(item));
        });
    });
    imageLink_.OnChange = TNotifyEvent(this, &TTreeView::ImageListChange);
    stateImageLink_.OnChange = TNotifyEvent(this, &TTreeView::ImageListChange);
    SetBounds(0, 0, 121, 97);
    SetColor(clWindow);
    SetTabStop(true);
}

TTreeView::~TTreeView()
{
    // Only OnDeletion is told of the nodes going: the view's own signals end here.
    auto* w = static_cast<TTreeWidget*>(TreeWidget());
    if (w) QObject::disconnect(w, nullptr, this, nullptr);
    items_->Clear();
    if (w) w->Detach();
    delete items_;
}

QTreeWidget* TTreeView::TreeWidget() const
{
    return static_cast<QTreeWidget*>(Handle());
}

void TTreeView::SetImages(TCustomImageList* value)
{
    if (value == images_) return;
    if (images_) images_->UnRegisterChanges(&imageLink_);
    images_ = value;
    if (value) {
        value->RegisterChanges(&imageLink_);
        value->FreeNotification(this);
    }
    ImageListChange(value);
}

void TTreeView::SetStateImages(TCustomImageList* value)
{
    if (value == stateImages_) return;
    if (stateImages_) stateImages_->UnRegisterChanges(&stateImageLink_);
    stateImages_ = value;
    if (value) {
        value->RegisterChanges(&stateImageLink_);
        value->FreeNotification(this);
    }
    ImageListChange(value);
}

void TTreeView::Notification(TComponent* component, TOperation operation)
{
    TWinControl::Notification(component, operation);
    if (operation != opRemove) return;
    if (component == images_) SetImages(nullptr);
    if (component == stateImages_) SetStateImages(nullptr);
}

void TTreeView::ImageListChange(TObject* /*sender*/)
{
    if (QTreeWidget* w = TreeWidget()) {
        const int width = (images_ ? images_->Width() : 0) + (stateImages_ ? stateImages_->Width() : 0);
        const int height = std::max(images_ ? images_->Height() : 0, stateImages_ ? stateImages_->Height() : 0);
        w->setIconSize(QSize(width, height));
        w->viewport()->update();
    }
    ImagesChanged();
}

QImage TTreeView::NodeImage(TTreeNode* node, bool selected)
{
    QPointer<TTreeView> self(this);
    GetImageIndex(node);
    if (self && selected) GetSelectedIndex(node);
    if (!self) return {};
    const int stateWidth = stateImages_ ? stateImages_->Width() : 0;
    const int imageWidth = images_ ? images_->Width() : 0;
    const int height = std::max(images_ ? images_->Height() : 0, stateImages_ ? stateImages_->Height() : 0);
    if (stateWidth + imageWidth <= 0 || height <= 0) return {};
    QImage image(stateWidth + imageWidth, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    if (stateImages_ && node->StateIndex() >= 0 && node->StateIndex() < stateImages_->Count())
        p.drawImage(0, (height - stateImages_->Height()) / 2, stateImages_->Image(node->StateIndex()));
    if (images_) {
        const int index = selected && node->SelectedIndex() >= 0 ? node->SelectedIndex() : node->ImageIndex();
        if (index >= 0 && index < images_->Count())
            p.drawImage(stateWidth, (height - images_->Height()) / 2, images_->Image(index));
    }
    return image;
}

void TTreeView::SetIndent(int value)
{
    indent_ = std::max(0, value);
    if (QTreeWidget* w = TreeWidget()) w->setIndentation(indent_);
}

void TTreeView::SetShowButtons(bool value)
{
    showButtons_ = value;
    if (QTreeWidget* w = TreeWidget()) w->viewport()->update();
}

void TTreeView::SetShowLines(bool value)
{
    showLines_ = value;
    if (QTreeWidget* w = TreeWidget()) w->viewport()->update();
}

void TTreeView::SetShowRoot(bool value)
{
    showRoot_ = value;
    if (QTreeWidget* w = TreeWidget()) w->setRootIsDecorated(value);
}

void TTreeView::SetSortType(TSortType value)
{
    if (value == sortType_) return;
    sortType_ = value;
    ApplySorting();
}

void TTreeView::ApplySorting()
{
    QTreeWidget* w = TreeWidget();
    if (!w) return;
    w->setSortingEnabled(sortType_ != stNone);
    if (sortType_ != stNone) w->sortItems(0, Qt::AscendingOrder);
}

void TTreeView::AlphaSort()
{
    if (QTreeWidget* w = TreeWidget()) w->sortItems(0, Qt::AscendingOrder);
}

int TTreeView::CustomSort(TTreeNode* a, TTreeNode* b)
{
    if (OnCompare) {
        int result = 0;
        OnCompare(this, a, b, 0, result);
        return result;
    }
    if (sortType_ == stData) return a->Data() < b->Data() ? -1 : a->Data() > b->Data() ? 1 : 0;
    return QString::compare(a->Text(), b->Text(), Qt::CaseInsensitive);
}

TTreeNode* TTreeView::Selected() const
{
    QTreeWidget* w = TreeWidget();
    if (!w) return nullptr;
    const QModelIndexList chosen = w->selectionModel()->selectedIndexes();
    return chosen.isEmpty() ? nullptr : static_cast<TTreeWidget*>(w)->NodeAt(chosen.first());
}

void TTreeView::SetSelected(TTreeNode* node)
{
    QTreeWidget* w = TreeWidget();
    if (!w) return;
    if (!node || node->owner_ != items_) {
        w->selectionModel()->clearSelection();
        return;
    }
    w->setCurrentItem(node->item_, 0, QItemSelectionModel::ClearAndSelect);
    w->scrollToItem(node->item_);
}

TTreeNode* TTreeView::Focused() const
{
    QTreeWidget* w = TreeWidget();
    return w ? NodeOf(w->currentItem()) : nullptr;
}

TTreeNode* TTreeView::TopItem() const
{
    QTreeWidget* w = TreeWidget();
    return w ? NodeOf(w->itemAt(0, 0)) : nullptr;
}

void TTreeView::FullExpand()
{
    QTreeWidget* w = TreeWidget();
    if (!w) return;
    if (!OnExpanding && !OnExpanded) {
        // Nobody asks about single nodes: the view opens all of them in one layout.
        w->expandAll();
        return;
    }
    // Parents first, each asked (a refused node keeps its subtree closed from view).
    std::vector<QTreeWidgetItem*> stack{w->invisibleRootItem()};
    while (!stack.empty()) {
        QTreeWidgetItem* parent = stack.back();
        stack.pop_back();
        for (int i = parent->childCount() - 1; i >= 0; --i) {
            QTreeWidgetItem* item = parent->child(i);
            if (item->childCount() == 0) continue;
            item->setExpanded(true);
            stack.push_back(item);
        }
    }
}

void TTreeView::FullCollapse()
{
    if (QTreeWidget* w = TreeWidget()) w->collapseAll();
}

TTreeNode* TTreeView::GetNodeAt(int x, int y) const
{
    QTreeWidget* w = TreeWidget();
    return w ? NodeOf(w->itemAt(x, y)) : nullptr;
}

THitTests TTreeView::GetHitTestInfoAt(int x, int y) const
{
    QTreeWidget* w = TreeWidget();
    if (!w) return htNowhere;
    const QModelIndex index = w->indexAt(QPoint(x, y));
    if (!index.isValid() || !w->visualRect(index).contains(QPoint(x, y))) return htNowhere;
    return htOnItem | htOnIcon | htOnLabel;
}

QRect TTreeView::NodeRect(const TTreeNode* node) const
{
    QTreeWidget* w = TreeWidget();
    return w && node ? w->visualItemRect(node->item_) : QRect();
}

void TTreeView::SendKey(int key, TShiftState shift)
{
    QTreeWidget* w = TreeWidget();
    if (!w) return;
    QKeyEvent press(QEvent::KeyPress, VKToQtKey(key), QtModifiersFromShiftState(shift));
    QCoreApplication::sendEvent(w, &press);
}

void TTreeView::DefineProperties(TFiler* filer)
{
    TWinControl::DefineProperties(filer);
    if (!filer) return;
    filer->DefineBinaryProperty(
        QStringLiteral("Items"), [this](const QByteArray& data) { items_->ReadData(data); },
        [this](QByteArray& data) { data = items_->WriteData(); }, items_->Count() > 0);
}

void TTreeView::Change(TTreeNode* node)
{
    if (OnChange) OnChange(this, node);
}

bool TTreeView::CanChange(TTreeNode* node)
{
    bool allowed = true;
    if (OnChanging) OnChanging(this, node, allowed);
    return allowed;
}

bool TTreeView::CanExpand(TTreeNode* node)
{
    bool allowed = true;
    if (OnExpanding) OnExpanding(this, node, allowed);
    return allowed;
}

void TTreeView::Expanded(TTreeNode* node)
{
    if (OnExpanded) OnExpanded(this, node);
}

bool TTreeView::CanCollapse(TTreeNode* node)
{
    bool allowed = true;
    if (OnCollapsing) OnCollapsing(this, node, allowed);
    return allowed;
}

void TTreeView::Collapsed(TTreeNode* node)
{
    if (OnCollapsed) OnCollapsed(this, node);
}

void TTreeView::Delete(TTreeNode* node)
{
    if (OnDeletion) OnDeletion(this, node);
}

void TTreeView::GetImageIndex(TTreeNode* node)
{
    if (OnGetImageIndex) OnGetImageIndex(this, node);
}

void TTreeView::GetSelectedIndex(TTreeNode* node)
{
    if (OnGetSelectedIndex) OnGetSelectedIndex(this, node);
}

void TTreeView::KeyDown(int& key, TShiftState shift)
{
    if (OnKeyDown) OnKeyDown(this, key, shift);
}

void TTreeView::DblClick()
{
    if (OnDblClick) OnDblClick(this);
}

void TTreeView::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    if (OnMouseUp) OnMouseUp(this, button, shift, x, y);
}
