#include "ExtCtrls.h"

#include <QFrame>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

namespace {

// A frame that draws the panel's caption centred.
class PanelWidget : public QFrame {
public:
    QString caption;

protected:
    void paintEvent(QPaintEvent* event) override
    {
        QFrame::paintEvent(event);
        if (caption.isEmpty()) return;
        QPainter painter(this);
        painter.drawText(contentsRect(), Qt::AlignCenter | Qt::TextSingleLine, caption);
    }
};

}  // namespace

// ---- TPanel ----

TPanel::TPanel(TComponent* owner) : TWinControl(owner, new PanelWidget)
{
    SetParentColor(false);
    SetBounds(0, 0, 185, 41);
    BevelsChanged();
}

void TPanel::SetBevelInner(TBevelCut value)
{
    bevelInner_ = value;
    BevelsChanged();
}

void TPanel::SetBevelOuter(TBevelCut value)
{
    bevelOuter_ = value;
    BevelsChanged();
}

void TPanel::SetBevelWidth(int value)
{
    bevelWidth_ = std::max(1, value);
    BevelsChanged();
}

void TPanel::SetCaption(const QString& value)
{
    caption_ = value;
    if (auto* w = static_cast<PanelWidget*>(Handle())) {
        w->caption = value;
        w->update();
    }
}

void TPanel::BevelsChanged()
{
    if (auto* frame = static_cast<QFrame*>(Handle())) {
        const TBevelCut shown = bevelOuter_ != bvNone ? bevelOuter_ : bevelInner_;
        frame->setFrameShape(shown == bvNone || shown == bvSpace ? QFrame::NoFrame : QFrame::Panel);
        frame->setFrameShadow(shown == bvLowered ? QFrame::Sunken : QFrame::Raised);
        frame->setLineWidth(bevelWidth_);
    }
    Realign();
}

QRect TPanel::AdjustClientRect(QRect rect) const
{
    int border = 0;
    if (bevelOuter_ != bvNone) border += bevelWidth_;
    if (bevelInner_ != bvNone) border += bevelWidth_;
    return rect.adjusted(border, border, -border, -border);
}

// ---- TSplitter ----

TSplitter::TSplitter(TComponent* owner) : TControl(owner, new QWidget)
{
    SetBounds(0, 0, 3, 100);
    SetAlign(alLeft);
    SetCursor(crHSplit);
}

TControl* TSplitter::FindControl() const
{
    TWinControl* parent = Parent();
    if (!parent) return nullptr;
    QPoint p(Left(), Top());
    switch (Align()) {
    case alLeft: p.rx() = Left() - 1; break;
    case alRight: p.rx() = Left() + Width(); break;
    case alTop: p.ry() = Top() - 1; break;
    case alBottom: p.ry() = Top() + Height(); break;
    default: return nullptr;
    }
    for (int i = 0; i < parent->ControlCount(); ++i) {
        TControl* c = parent->Controls(i);
        if (c == this || !c->Visible() || c->Align() == alNone || c->Align() == alClient) continue;
        if (c->BoundsRect().contains(p)) return c;
    }
    return nullptr;
}

int TSplitter::NewSize(TControl* control, int delta) const
{
    const bool horizontal = Horizontal();
    const bool grows = Align() == alLeft || Align() == alTop;
    const int start = horizontal ? control->Width() : control->Height();
    // Room: the parent's client minus every other visible control aligned on this axis.
    const QRect client = Parent()->ClientRect();
    int used = 0;
    for (int i = 0; i < Parent()->ControlCount(); ++i) {
        TControl* c = Parent()->Controls(i);
        if (c == control || !c->Visible()) continue;
        const TAlign a = c->Align();
        if (horizontal && (a == alLeft || a == alRight)) used += c->Width();
        if (!horizontal && (a == alTop || a == alBottom)) used += c->Height();
    }
    const int room = (horizontal ? client.width() : client.height()) - used - minSize_;
    const int wanted = start + (grows ? delta : -delta);
    return std::clamp(wanted, std::min(minSize_, start), std::max(room, std::min(minSize_, start)));
}

void TSplitter::MoveBy(int delta)
{
    TControl* control = FindControl();
    if (!control || delta == 0) return;
    const int size = NewSize(control, delta);
    if (Horizontal())
        control->SetWidth(size);
    else
        control->SetHeight(size);
}

bool TSplitter::WidgetEvent(QEvent* event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        auto* e = static_cast<QMouseEvent*>(event);
        if (e->button() != Qt::LeftButton) break;
        dragControl_ = FindControl();
        if (!dragControl_) break;
        dragging_ = true;
        dragStart_ = e->globalPosition().toPoint();
        startSize_ = Horizontal() ? dragControl_->Width() : dragControl_->Height();
        return true;
    }
    case QEvent::MouseMove:
    case QEvent::MouseButtonRelease: {
        if (!dragging_) break;
        auto* e = static_cast<QMouseEvent*>(event);
        const QPoint moved = e->globalPosition().toPoint() - dragStart_;
        if (event->type() == QEvent::MouseButtonRelease) dragging_ = false;
        if (TControl* control = dragControl_) {
            const int delta = Horizontal() ? moved.x() : moved.y();
            // Sizes are measured from the start of the drag, so rounding never accumulates.
            const int current = Horizontal() ? control->Width() : control->Height();
            const bool grows = Align() == alLeft || Align() == alTop;
            MoveBy(grows ? startSize_ + delta - current : current - (startSize_ - delta));
        }
        return true;
    }
    default: break;
    }
    return TControl::WidgetEvent(event);
}

// ---- TBevel ----

namespace {

// Draws the bevel's lines; it keeps its own copy of shape and style.
class BevelWidget : public QWidget {
public:
    TBevelShape shape = bsBox;
    TBevelStyle style = bsLowered;

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        const QColor shadow = ColorToQColor(clBtnShadow), light = ColorToQColor(clBtnHighlight);
        const QColor first = style == bsLowered ? shadow : light, second = style == bsLowered ? light : shadow;
        const int w = width(), h = height();
        // A box with both corners inside: top and left lines in one colour, bottom and right
        // lines in the other.
        auto box = [&p](int left, int top, int right, int bottom, const QColor& topLeft, const QColor& bottomRight) {
            p.fillRect(left, top, right - left + 1, 1, topLeft);
            p.fillRect(left, top, 1, bottom - top + 1, topLeft);
            p.fillRect(left, bottom, right - left + 1, 1, bottomRight);
            p.fillRect(right, top, 1, bottom - top + 1, bottomRight);
        };
        switch (shape) {
        case bsBox: box(0, 0, w - 1, h - 1, first, second); break;
        case bsFrame:  // etched: a box of the second colour behind one of the first
            box(1, 1, w - 1, h - 1, second, second);
            box(0, 0, w - 2, h - 2, first, first);
            break;
        case bsTopLine:
            p.fillRect(0, 0, w, 1, first);
            p.fillRect(0, 1, w, 1, second);
            break;
        case bsBottomLine:
            p.fillRect(0, h - 2, w, 1, first);
            p.fillRect(0, h - 1, w, 1, second);
            break;
        case bsLeftLine:
            p.fillRect(0, 0, 1, h, first);
            p.fillRect(1, 0, 1, h, second);
            break;
        case bsRightLine:
            p.fillRect(w - 2, 0, 1, h, first);
            p.fillRect(w - 1, 0, 1, h, second);
            break;
        default: break;
        }
    }
};

}  // namespace

TBevel::TBevel(TComponent* owner) : TControl(owner, new BevelWidget)
{
    Handle()->setAttribute(Qt::WA_TransparentForMouseEvents);
    SetBounds(0, 0, 50, 50);
}

void TBevel::SetShape(TBevelShape value)
{
    shape_ = value;
    if (auto* w = static_cast<BevelWidget*>(Handle())) w->shape = value;
    Invalidate();
}

void TBevel::SetStyle(TBevelStyle value)
{
    style_ = value;
    if (auto* w = static_cast<BevelWidget*>(Handle())) w->style = value;
    Invalidate();
}
