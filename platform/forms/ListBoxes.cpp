#include "ListBoxes.h"

#include "ExceptionBarrier.h"

#include <QAbstractItemDelegate>
#include <QFocusEvent>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QListWidget>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QResizeEvent>
#include <QScrollBar>
#include <algorithm>
#include <utility>

// The list's view: the stock handling of each mouse and key event, then the control's call.
class TListBoxView : public QListWidget {
public:
    explicit TListBoxView(TListBox* owner) : owner_(owner) {}
    void Detach() { owner_ = nullptr; }

protected:
    void mousePressEvent(QMouseEvent* e) override
    {
        // Only the left button chooses lines; the others are the control's business alone.
        if (e->button() == Qt::LeftButton) QListWidget::mousePressEvent(e);
        Call([&](TListBox& o) {
            o.MouseDown(MouseButtonFromQt(e->button()), ShiftStateFromMouse(e), Pos(e).x(), Pos(e).y());
        });
    }
    void mouseReleaseEvent(QMouseEvent* e) override
    {
        if (e->button() == Qt::LeftButton) QListWidget::mouseReleaseEvent(e);
        const QPoint p = Pos(e);
        Call([&](TListBox& o) {
            QPointer<TListBox> self(&o);
            if (e->button() == Qt::LeftButton && o.ItemAtPos(p, true) >= 0) o.Click();
            if (self) o.MouseUp(MouseButtonFromQt(e->button()), ShiftStateFromMouse(e), p.x(), p.y());
        });
    }
    void mouseMoveEvent(QMouseEvent* e) override
    {
        QListWidget::mouseMoveEvent(e);
        Call([&](TListBox& o) { o.MouseMove(ShiftStateFromMouse(e), Pos(e).x(), Pos(e).y()); });
    }
    void mouseDoubleClickEvent(QMouseEvent* e) override
    {
        const QPoint p = Pos(e);
        if (e->button() == Qt::LeftButton && owner_ && owner_->DoubleClickIsPress(p.x(), p.y())) {
            mousePressEvent(e);
            return;
        }
        QListWidget::mouseDoubleClickEvent(e);
        Call([&](TListBox& o) {
            QPointer<TListBox> self(&o);
            o.MouseDown(MouseButtonFromQt(e->button()), ShiftStateFromMouse(e) | ssDouble, p.x(), p.y());
            if (self && e->button() == Qt::LeftButton) o.DblClick();
        });
    }
    void keyPressEvent(QKeyEvent* e) override
    {
        const int vk = QtKeyToVK(e->key(), e->modifiers());
        int key = vk;
        Call([&](TListBox& o) { o.KeyDown(key, ShiftStateFromQt(e->modifiers())); });
        if (vk != 0 && key == 0) {
            e->accept();  // swallowed
            return;
        }
        const QList<int> before = SelectedRows();
        QListWidget::keyPressEvent(e);
        const bool changed = SelectedRows() != before;
        QChar typed = e->text().isEmpty() ? QChar() : e->text().at(0);
        Call([&](TListBox& o) {
            QPointer<TListBox> self(&o);
            if (changed) o.Click();
            if (self && !typed.isNull() && typed.isPrint()) o.KeyPress(typed);
        });
    }
    void focusInEvent(QFocusEvent* e) override
    {
        QListWidget::focusInEvent(e);
        Call([](TListBox& o) { o.DoEnter(); });
    }
    void focusOutEvent(QFocusEvent* e) override
    {
        QListWidget::focusOutEvent(e);
        Call([](TListBox& o) { o.DoExit(); });
    }

    // Lines span the list's width: when it changes (a scroll bar coming or going), they are
    // laid out again; the stock view lays a list out again only when its height changes.
    void resizeEvent(QResizeEvent* e) override
    {
        QListWidget::resizeEvent(e);
        if (e->oldSize().width() != e->size().width()) scheduleDelayedItemsLayout();
    }

    // Deleting the chosen line chooses none; the stock view would choose a neighbour.
    void rowsAboutToBeRemoved(const QModelIndex& parent, int start, int end) override
    {
        const QModelIndexList chosen = selectionModel()->selectedIndexes();
        const bool removesChosen = selectionMode() == QAbstractItemView::SingleSelection && !chosen.isEmpty() &&
                                   chosen.first().row() >= start && chosen.first().row() <= end;
        QListWidget::rowsAboutToBeRemoved(parent, start, end);
        if (removesChosen) selectionModel()->clearSelection();
    }

private:
    QPoint Pos(const QMouseEvent* e) const { return e->position().toPoint(); }
    QList<int> SelectedRows() const
    {
        QList<int> rows;
        for (const QModelIndex& i : selectionModel()->selectedIndexes()) rows.append(i.row());
        std::sort(rows.begin(), rows.end());
        return rows;
    }
    template <class F>
    void Call(F&& fn)
    {
        if (TListBox* o = owner_) RunGuarded(o, [&] { fn(*o); });
    }

    TListBox* owner_;
};

// Sizes and paints every line through the control.
class TListBoxDelegate : public QAbstractItemDelegate {
public:
    explicit TListBoxDelegate(TListBox* owner) : owner_(owner) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        TListBox* o = owner_;
        if (!o) return;
        TOwnerDrawState state = 0;
        if (option.state & QStyle::State_Selected) state |= odSelected;
        if (!(option.state & QStyle::State_Enabled)) state |= odDisabled | odGrayed;
        if (option.state & QStyle::State_HasFocus) state |= odFocused;
        painter->save();
        o->canvas_ = painter;
        const QColor back = ColorToQColor((state & odSelected) ? clHighlight : o->Color());
        const QColor ink = ColorToQColor((state & odSelected) ? clHighlightText : o->Font()->Color());
        painter->setBrush(back);
        painter->setPen(ink);
        painter->setFont(o->Font()->ToQFont());
        const QRect rect = option.rect;
        RunGuarded(o, [&] { o->DrawItem(index.row(), rect, state); });
        if (owner_) {
            o->canvas_ = nullptr;
            if (state & odFocused) DrawFocusFrame(*painter, rect);
        }
        painter->restore();
    }
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        TListBox* o = owner_;
        if (!o) return {};
        int height = o->ItemHeight();
        if (o->Style() == lbOwnerDrawVariable) RunGuarded(o, [&] { height = o->LineHeight(index.row()); });
        const int viewWidth = option.widget ? static_cast<const QListWidget*>(option.widget)->viewport()->width() : 0;
        return {std::max(o->ScrollWidth(), viewWidth), std::max(1, height)};
    }

    QPointer<TListBox> owner_;
};

// ---- TListBox ----

TListBox::TListBox(TComponent* owner) : TWinControl(owner, new TListBoxView(this))
{
    QListWidget* view = ListWidget();
    items_ = new TModelStrings(view->model());
    delegate_ = new TListBoxDelegate(this);
    delegate_->setParent(view);
    view->setItemDelegate(delegate_);
    view->setUniformItemSizes(true);
    view->setResizeMode(QListView::Adjust);
    view->setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    view->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setFrameShape(QFrame::StyledPanel);
    view->setFrameShadow(QFrame::Sunken);
    SetBounds(0, 0, 121, 97);
    SetColor(clWindow);
    SetTabStop(true);
}

TListBox::~TListBox()
{
    // The view outlives this part of the control: it calls nothing back from now on.
    if (auto* view = static_cast<TListBoxView*>(ListWidget())) {
        view->Detach();
        delegate_->owner_ = nullptr;
    }
    delete items_;
}

QListWidget* TListBox::ListWidget() const
{
    return static_cast<QListWidget*>(Handle());
}

void TListBox::SetItems(TStrings* value)
{
    if (value && value != items_) items_->Assign(value);
}

void TListBox::SetStyle(TListBoxStyle value)
{
    if (value == style_) return;
    style_ = value;
    if (ListWidget()) ListWidget()->setUniformItemSizes(value != lbOwnerDrawVariable);
    Relayout();
}

int TListBox::ItemHeight() const
{
    if (style_ == lbStandard) return QFontMetrics(Font()->ToQFont()).height();
    return itemHeight_;
}

void TListBox::SetItemHeight(int value)
{
    itemHeight_ = std::max(1, value);
    Relayout();
}

int TListBox::LineHeight(int index)
{
    int height = itemHeight_;
    MeasureItem(index, height);
    return height;
}

void TListBox::Relayout()
{
    QListWidget* w = ListWidget();
    if (!w) return;
    // The uniform size is kept until the mode changes: switch it off and on to drop it.
    const bool uniform = w->uniformItemSizes();
    w->setUniformItemSizes(!uniform);
    w->setUniformItemSizes(uniform);
    w->doItemsLayout();
    w->viewport()->update();
}

void TListBox::SetMultiSelect(bool value)
{
    if (value == multiSelect_) return;
    multiSelect_ = value;
    if (QListWidget* w = ListWidget())
        w->setSelectionMode(value ? QAbstractItemView::ExtendedSelection : QAbstractItemView::SingleSelection);
}

int TListBox::ItemIndex() const
{
    QListWidget* w = ListWidget();
    if (!w) return -1;
    if (multiSelect_) return w->currentRow();
    const QModelIndexList selected = w->selectionModel()->selectedIndexes();
    return selected.isEmpty() ? -1 : selected.first().row();
}

void TListBox::SetItemIndex(int value)
{
    QListWidget* w = ListWidget();
    if (!w) return;
    if (value < 0 || value >= w->count()) {
        w->selectionModel()->clear();
        return;
    }
    w->setCurrentRow(value, QItemSelectionModel::ClearAndSelect);
    w->scrollToItem(w->item(value));
}

bool TListBox::Selected(int index) const
{
    QListWidget* w = ListWidget();
    if (!w || index < 0 || index >= w->count()) return false;
    return w->item(index)->isSelected();
}

void TListBox::SetSelected(int index, bool value)
{
    QListWidget* w = ListWidget();
    if (!w || index < 0 || index >= w->count()) return;
    if (!multiSelect_ && value) {
        SetItemIndex(index);
        return;
    }
    w->item(index)->setSelected(value);
}

int TListBox::SelCount() const
{
    return ListWidget() ? int(ListWidget()->selectionModel()->selectedIndexes().size()) : 0;
}

int TListBox::TopIndex() const
{
    QListWidget* w = ListWidget();
    if (!w || w->count() == 0) return 0;
    const QModelIndex top = w->indexAt(QPoint(0, 0));
    return top.isValid() ? top.row() : 0;
}

void TListBox::SetTopIndex(int value)
{
    QListWidget* w = ListWidget();
    if (!w || value < 0 || value >= w->count()) return;
    w->scrollToItem(w->item(value), QAbstractItemView::PositionAtTop);
}

int TListBox::ItemAtPos(const QPoint& pos, bool existing) const
{
    QListWidget* w = ListWidget();
    if (!w || !w->viewport()->rect().contains(pos)) return -1;
    const QModelIndex index = w->indexAt(pos);
    if (index.isValid()) return index.row();
    return existing ? -1 : w->count();
}

QRect TListBox::ItemRect(int index) const
{
    QListWidget* w = ListWidget();
    if (!w || index < 0 || index >= w->count()) return {};
    return w->visualItemRect(w->item(index));
}

void TListBox::SetScrollWidth(int value)
{
    value = std::max(0, value);
    if (value == scrollWidth_) return;
    scrollWidth_ = value;
    Relayout();
}

void TListBox::SetOnDrawItem(const TDrawItemEvent& e)
{
    onDrawItem_ = e;
    if (ListWidget()) ListWidget()->viewport()->update();
}

void TListBox::SetOnMeasureItem(const TMeasureItemEvent& e)
{
    onMeasureItem_ = e;
    Relayout();
}

void TListBox::DrawItem(int index, const QRect& rect, TOwnerDrawState state)
{
    if (onDrawItem_ && style_ != lbStandard) {
        onDrawItem_(this, index, rect, state);
        return;
    }
    QPainter& p = *canvas_;
    p.fillRect(rect, p.brush());
    p.drawText(rect.adjusted(2, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
               Items()->Strings(index));
}

void TListBox::MeasureItem(int index, int& height)
{
    if (onMeasureItem_) onMeasureItem_(this, index, height);
}

void TListBox::Click()
{
    if (onClick_) onClick_(this);
}

void TListBox::DblClick()
{
    if (onDblClick_) onDblClick_(this);
}

void TListBox::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    if (onMouseDown_) onMouseDown_(this, button, shift, x, y);
}

void TListBox::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    if (onMouseUp_) onMouseUp_(this, button, shift, x, y);
}

void TListBox::MouseMove(TShiftState shift, int x, int y)
{
    if (onMouseMove_) onMouseMove_(this, shift, x, y);
}

void TListBox::KeyDown(int& key, TShiftState shift)
{
    if (onKeyDown_) onKeyDown_(this, key, shift);
}

void TListBox::KeyPress(QChar& key)
{
    if (onKeyPress_) onKeyPress_(this, key);
}

void TListBox::DoEnter()
{
    if (onEnter_) onEnter_(this);
}

void TListBox::DoExit()
{
    if (onExit_) onExit_(this);
}

void TListBox::ApplyFont()
{
    TWinControl::ApplyFont();
    if (style_ == lbStandard) Relayout();
}
