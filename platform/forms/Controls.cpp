#include "Controls.h"

#include "ExceptionBarrier.h"
#include "Scope.h"

#include <QEvent>
#include <QResizeEvent>
#include <QWidget>
#include <algorithm>

TMouseButton MouseButtonFromQt(Qt::MouseButton button)
{
    return button == Qt::RightButton ? mbRight : button == Qt::MiddleButton ? mbMiddle : mbLeft;
}

// ---- TControl ----

TControl::TControl(TComponent* owner, QWidget* widget) : TComponent(owner), widget_(widget), font_(new TFont)
{
    bounds_ = QRect(0, 0, 0, 0);
    widget->installEventFilter(this);
    widget->setGeometry(bounds_);
    font_->SetOnChange(TNotifyEvent(this, &TControl::FontChanged));
}

TControl::~TControl()
{
    Destroying();
    if (parent_) parent_->RemoveControl(this);
    parent_ = nullptr;
    if (QWidget* w = widget_) {
        w->removeEventFilter(this);
        widget_ = nullptr;
        delete w;
    }
    delete font_;
}

void TControl::SetName(const QString& name)
{
    TComponent::SetName(name);
    if (widget_) widget_->setObjectName(name);
}

TComponent* TControl::GetParentComponent() const
{
    return parent_;
}

void TControl::SetParentComponent(TComponent* value)
{
    if (auto* parent = qobject_cast<TWinControl*>(value)) SetParent(parent);
}

void TControl::SetParent(TWinControl* parent)
{
    if (parent == parent_) return;
    for (TWinControl* p = parent; p; p = p->Parent())
        if (p == this) throw EInvalidOperation(QStringLiteral("Control '%1' cannot be its own parent").arg(Name()));
    if (parent_) parent_->RemoveControl(this);
    parent_ = parent;
    if (parent) parentWindow_ = nullptr;
    if (QWidget* w = widget_) {
        // A control without a parent must not turn into a window of its own.
        w->setParent(parent ? parent->ContainerWidget() : nullptr);
        w->setGeometry(bounds_);
        w->setVisible(WidgetShown());
    }
    if (parent) {
        ParentColorChanged();
        ParentFontChanged();
        ApplyHint();
        parent->InsertControl(this);
    }
}

void TControl::SetBounds(int left, int top, int width, int height)
{
    const QRect r(left, top, std::max(0, width), std::max(0, height));
    if (r == bounds_) return;
    const bool resized = r.size() != bounds_.size();
    const QRect old = bounds_;
    bounds_ = r;
    UpdateWidgetGeometry();
    RequestAlign();
    if (resized) Resized();
    BoundsChanged(old);
}

int TControl::AddBoundsObserver(TBoundsObserver observer)
{
    const int id = nextObserverId_++;
    boundsObservers_.emplace_back(id, std::move(observer));
    return id;
}

void TControl::RemoveBoundsObserver(int id)
{
    std::erase_if(boundsObservers_, [id](const auto& entry) { return entry.first == id; });
}

void TControl::BoundsChanged(const QRect& old)
{
    if (boundsObservers_.empty()) return;
    // An observer may add or remove observers, or free the control.
    QPointer<TControl> self(this);
    const auto observers = boundsObservers_;
    for (const auto& [id, observer] : observers) {
        if (!self) return;
        const bool stillThere = std::any_of(boundsObservers_.begin(), boundsObservers_.end(),
                                            [id = id](const auto& entry) { return entry.first == id; });
        if (stillThere) observer(this, old);
    }
}

void TControl::SetAlignedBounds(const QRect& r)
{
    SetBounds(r.x(), r.y(), r.width(), r.height());
}

void TControl::UpdateWidgetGeometry()
{
    QWidget* w = widget_;
    if (!w) return;
    if (w->isWindow())
        w->setGeometry(bounds_);
    else if (w->geometry() != bounds_)
        w->setGeometry(bounds_);
}

void TControl::RequestAlign()
{
    if (parent_ && align_ != alNone && !parent_->aligning_) parent_->Realign();
}

void TControl::Resized()
{
    DoResize();
}

void TControl::DoResize()
{
    if (onResize_ && !Loading() && !IsDestroying()) onResize_(this);
}

void TControl::SetAlign(TAlign value)
{
    if (value == align_) return;
    const TAlign old = align_;
    align_ = value;
    // Turning between a horizontal and a vertical side keeps the thickness: width and
    // height swap (a 3-pixel splitter stays 3 pixels across).
    const bool wasVertical = old == alTop || old == alBottom, wasHorizontal = old == alLeft || old == alRight;
    const bool isVertical = value == alTop || value == alBottom, isHorizontal = value == alLeft || value == alRight;
    if ((wasVertical && isHorizontal) || (wasHorizontal && isVertical)) {
        // No layout for the swap alone; the one below places the control.
        const bool wasAligning = parent_ && parent_->aligning_;
        if (parent_) parent_->aligning_ = true;
        SetBounds(Left(), Top(), Height(), Width());
        if (parent_) parent_->aligning_ = wasAligning;
    }
    if (parent_ && (old != alNone || value != alNone)) parent_->Realign();
}

void TControl::SetVisible(bool value)
{
    if (value == visible_) return;
    visible_ = value;
    if (QWidget* w = widget_) w->setVisible(WidgetShown());
    if (parent_ && align_ != alNone) parent_->Realign();
}

bool TControl::Showing() const
{
    return widget_ && widget_->isVisible();
}

void TControl::SetEnabled(bool value)
{
    if (value == enabled_) return;
    enabled_ = value;
    if (widget_) widget_->setEnabled(value);
}

void TControl::SetHint(const QString& value)
{
    hint_ = value;
    ApplyHint();
}

void TControl::SetShowHint(bool value)
{
    showHint_ = value;
    parentShowHint_ = false;
    ApplyHint();
}

void TControl::SetParentShowHint(bool value)
{
    if (value == parentShowHint_) return;
    parentShowHint_ = value;
    ApplyHint();
}

bool TControl::EffectiveShowHint() const
{
    return parentShowHint_ && parent_ ? parent_->EffectiveShowHint() : showHint_;
}

void TControl::ApplyHint()
{
    if (parentShowHint_ && parent_) showHint_ = parent_->EffectiveShowHint();
    if (widget_) widget_->setToolTip(EffectiveShowHint() ? hint_.section(QLatin1Char('|'), 0, 0) : QString());
    if (auto* container = qobject_cast<TWinControl*>(this))
        for (TControl* c : container->controls_) c->ParentShowHintChanged();
}

void TControl::ParentShowHintChanged()
{
    if (parentShowHint_) ApplyHint();
}

void TControl::SetCursor(TCursor value)
{
    cursor_ = value;
    if (!widget_) return;
    if (value == crDefault)
        widget_->unsetCursor();
    else
        widget_->setCursor(CursorToQCursor(value));
}

QCursor TControl::CursorToQCursor(TCursor cursor)
{
    switch (cursor) {
    case crNone: return QCursor(Qt::BlankCursor);
    case crCross: return QCursor(Qt::CrossCursor);
    case crIBeam: return QCursor(Qt::IBeamCursor);
    case crSizeNESW: return QCursor(Qt::SizeBDiagCursor);
    case crSizeNS: return QCursor(Qt::SizeVerCursor);
    case crSizeNWSE: return QCursor(Qt::SizeFDiagCursor);
    case crSizeWE: return QCursor(Qt::SizeHorCursor);
    case crUpArrow: return QCursor(Qt::UpArrowCursor);
    case crHourGlass:
    case crSQLWait: return QCursor(Qt::WaitCursor);
    case crDrag:
    case crMultiDrag: return QCursor(Qt::DragMoveCursor);
    case crNoDrop:
    case crNo: return QCursor(Qt::ForbiddenCursor);
    case crHSplit: return QCursor(Qt::SplitHCursor);
    case crVSplit: return QCursor(Qt::SplitVCursor);
    case crAppStart: return QCursor(Qt::BusyCursor);
    case crHelp: return QCursor(Qt::WhatsThisCursor);
    case crHandPoint: return QCursor(Qt::PointingHandCursor);
    case crSizeAll: return QCursor(Qt::SizeAllCursor);
    default: return QCursor(Qt::ArrowCursor);
    }
}

void TControl::SetColor(TColor value)
{
    parentColor_ = false;
    color_ = value;
    ApplyColor();
}

void TControl::SetParentColor(bool value)
{
    if (value == parentColor_) return;
    parentColor_ = value;
    ParentColorChanged();
}

void TControl::ParentColorChanged()
{
    if (!parentColor_ || !parent_) return;
    color_ = parent_->Color();
    ApplyColor();
}

void TControl::ApplyColor()
{
    QWidget* w = widget_;
    if (!w) return;
    QPalette p = w->palette();
    p.setColor(QPalette::Window, ColorToQColor(color_));
    w->setPalette(p);
    w->setAutoFillBackground(true);
}

void TControl::SetFont(TFont* value)
{
    if (value && value != font_) font_->Assign(value);
}

void TControl::SetParentFont(bool value)
{
    if (value == parentFont_) return;
    parentFont_ = value;
    ParentFontChanged();
}

void TControl::ParentFontChanged()
{
    if (!parentFont_ || !parent_) return;
    fontFromParent_ = true;
    font_->Assign(parent_->Font());
    fontFromParent_ = false;
    ApplyFont();
}

void TControl::FontChanged(TObject*)
{
    // A change made on this control's own font ends following the parent's.
    if (!fontFromParent_) parentFont_ = false;
    ApplyFont();
}

void TControl::ApplyFont()
{
    QWidget* w = widget_;
    if (!w) return;
    w->setFont(font_->ToQFont());
    QPalette p = w->palette();
    // The font's colour is the text of an enabled control; a disabled one draws its text gray.
    const QColor text = ColorToQColor(font_->Color());
    const QColor gray = ColorToQColor(clGrayText);
    for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText}) {
        p.setColor(QPalette::Active, role, text);
        p.setColor(QPalette::Inactive, role, text);
        p.setColor(QPalette::Disabled, role, gray);
    }
    w->setPalette(p);
}

void TControl::Invalidate()
{
    if (widget_) widget_->update();
}

void TControl::Repaint()
{
    if (widget_) widget_->repaint();
}

void TControl::BringToFront()
{
    if (widget_) widget_->raise();
}

bool TControl::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != widget_) return false;
    bool eaten = false;
    RunGuarded(this, [&] { eaten = WidgetEvent(event); });
    return eaten;
}

bool TControl::WidgetEvent(QEvent* event)
{
    QWidget* w = widget_;
    if (!w || !w->isWindow()) return false;
    // A window moved or sized by the user (or the window system): take the new bounds.
    const QRect old = bounds_;
    if (event->type() == QEvent::Resize) {
        const QSize size = static_cast<QResizeEvent*>(event)->size();
        if (size != bounds_.size()) {
            bounds_.setSize(size);
            Resized();
        }
    } else if (event->type() == QEvent::Move) {
        bounds_.moveTopLeft(w->geometry().topLeft());
    }
    if (bounds_ != old) BoundsChanged(old);
    return false;
}

void TControl::TakeWidgetBounds(const QRect& r)
{
    const QRect old = bounds_;
    if (r == old) return;
    bounds_ = r;
    if (r.size() != old.size()) Resized();
    BoundsChanged(old);
}

// ---- TWinControl ----

TWinControl::TWinControl(TComponent* owner) : TWinControl(owner, new QWidget) {}

TWinControl::TWinControl(TComponent* owner, QWidget* widget) : TControl(owner, widget) {}

TWinControl::~TWinControl()
{
    Destroying();
    while (!controls_.isEmpty()) delete controls_.last();
}

void TWinControl::InsertControl(TControl* control)
{
    if (!controls_.contains(control)) controls_.append(control);
    if (control->Align() != alNone) Realign();
}

void TWinControl::RemoveControl(TControl* control)
{
    controls_.removeOne(control);
    if (control->Align() != alNone && !IsDestroying()) Realign();
}

void TWinControl::SetTabOrder(int value)
{
    tabOrder_ = value;
    if (Parent()) Parent()->ApplyTabOrder();
}

void TWinControl::ApplyTabOrder()
{
    QList<TWinControl*> order;
    for (TControl* c : controls_)
        if (auto* wc = qobject_cast<TWinControl*>(c); wc && wc->Handle()) order.append(wc);
    std::stable_sort(order.begin(), order.end(), [](TWinControl* a, TWinControl* b) {
        return unsigned(a->tabOrder_) < unsigned(b->tabOrder_);  // -1 (unset) sorts last
    });
    for (int i = 1; i < order.size(); ++i) QWidget::setTabOrder(order[i - 1]->Handle(), order[i]->Handle());
}

void TWinControl::SetTabStop(bool value)
{
    tabStop_ = value;
    if (Handle()) Handle()->setFocusPolicy(value ? Qt::StrongFocus : Qt::ClickFocus);
}

// Judged by the controls' own Visible and Enabled up to the form, not by the widgets:
// a form's OnShow runs before its window is on screen and may focus a control.
bool TWinControl::CanFocus() const
{
    if (!Handle()) return false;
    for (const TControl* c = this; c; c = c->Parent())
        if (!c->Visible() || !c->Enabled()) return false;
    return true;
}

void TWinControl::SetParentWindow(QWidget* window)
{
    if (window && Parent()) throw EInvalidOperation(QStringLiteral("Control '%1' has a parent control").arg(Name()));
    QWidget* w = Handle();
    if (!w) return;
    if (window) {
        parentWindow_ = window;
        if (w->parentWidget() != window) w->setParent(window);
        w->setGeometry(BoundsRect());
        w->setVisible(WidgetShown());
        return;
    }
    if (Parent()) return;  // a control with a parent control is in no foreign widget
    parentWindow_ = nullptr;
    w->hide();
    // Under a window that outlives the foreign one, so that Qt does not delete it with that.
    QWidget* parking = nullptr;
    for (TComponent* o = Owner(); o && !parking; o = o->Owner())
        if (auto* c = qobject_cast<TWinControl*>(o); c && c != this && c->Handle() && c->Handle()->isWindow())
            parking = c->Handle();
    if (w->parentWidget() != parking) w->setParent(parking);
}

void TWinControl::SetFocus()
{
    if (!CanFocus()) throw EInvalidOperation(QStringLiteral("Cannot focus a disabled or invisible window"));
    Handle()->activateWindow();
    Handle()->setFocus(Qt::OtherFocusReason);
}

bool TWinControl::Focused() const
{
    return Handle() && Handle()->hasFocus();
}

QRect TWinControl::ClientRect() const
{
    return AdjustClientRect(QRect(0, 0, Width(), Height()));
}

void TWinControl::Resized()
{
    Realign();
    TControl::Resized();
}

void TWinControl::Realign()
{
    if (aligning_ || IsDestroying() || Loading()) return;
    TRestore aligning(aligning_, true);
    AlignControls();
}

void TWinControl::RealignAll()
{
    Realign();
    for (TControl* c : controls_)
        if (auto* wc = qobject_cast<TWinControl*>(c)) wc->RealignAll();
}

void TWinControl::Loaded()
{
    TControl::Loaded();
    Realign();
}

QList<TControl*> TWinControl::AlignedOrder(TAlign align) const
{
    QList<TControl*> list;
    for (TControl* c : controls_)
        if (c->Align() == align && c->Visible()) list.append(c);
    auto key = [align](const TControl* c) {
        switch (align) {
        case alTop: return c->Top();
        case alBottom: return -(c->Top() + c->Height());
        case alLeft: return c->Left();
        case alRight: return -(c->Left() + c->Width());
        default: return 0;
        }
    };
    std::stable_sort(list.begin(), list.end(), [&](TControl* a, TControl* b) { return key(a) < key(b); });
    return list;
}

void TWinControl::AlignControls()
{
    const QRect client = ClientRect();
    int l = client.left(), t = client.top();
    int r = l + client.width(), b = t + client.height();
    for (TAlign align : {alTop, alBottom, alLeft, alRight, alClient}) {
        for (TControl* c : AlignedOrder(align)) {
            const int w = c->Width(), h = c->Height();
            switch (align) {
            case alTop:
                c->SetAlignedBounds({l, t, r - l, h});
                t += h;
                break;
            case alBottom:
                c->SetAlignedBounds({l, b - h, r - l, h});
                b -= h;
                break;
            case alLeft:
                c->SetAlignedBounds({l, t, w, b - t});
                l += w;
                break;
            case alRight:
                c->SetAlignedBounds({r - w, t, w, b - t});
                r -= w;
                break;
            default: c->SetAlignedBounds({l, t, r - l, b - t}); break;
            }
        }
    }
    PlaceClientRemainder({l, t, std::max(0, r - l), std::max(0, b - t)});
}

void TWinControl::ApplyColor()
{
    TControl::ApplyColor();
    for (TControl* c : controls_) c->ParentColorChanged();
    QWidget* w = Handle();
    if (!w || !ColorFillsField()) return;
    QPalette p = w->palette();
    p.setColor(QPalette::Base, ColorToQColor(Color()));
    w->setPalette(p);
}

void TWinControl::ApplyFont()
{
    TControl::ApplyFont();
    for (TControl* c : controls_) c->ParentFontChanged();
}

void TWinControl::GetChildren(const TGetChildProc& proc, TComponent* root)
{
    for (TControl* c : controls_)
        if (c->Owner() == root) proc(c);
}
