#include "dxBarCheckableButton.h"

#include "Painting.h"
#include "Scope.h"
#include "dxBarManager.h"
#include "dxBarPopupMenu.h"

#include <QCursor>
#include <QEvent>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QWidget>

TCheckableButton::TCheckableButton(TComponent* owner) : TControl(owner, new QWidget)
{
    Handle()->setFocusPolicy(Qt::NoFocus);
    Handle()->setAttribute(Qt::WA_Hover);
    SetBounds(0, 0, 75, 18);
}

void TCheckableButton::SetCaption(const QString& value)
{
    caption_ = value;
    Invalidate();
}

void TCheckableButton::Press()
{
    if (running_) return;
    QPointer<QWidget> widget = Handle();
    down_ = true;
    Repaint();
    if (TdxBarPopupMenu* menu = popupMenu_; menu && widget) {
        TRestore running(running_, true);
        const QPoint below = widget->mapToGlobal(QPoint(0, widget->height()));
        menu->Popup(below.x(), below.y());
    }
    if (!widget) return;
    down_ = false;
    // A press still held over the button closed the menu: it must not open it again.
    swallowNextPress_ = (QGuiApplication::mouseButtons() & Qt::LeftButton) &&
                        widget->rect().contains(widget->mapFromGlobal(QCursor::pos()));
    hot_ = widget->underMouse();
    Repaint();
}

bool TCheckableButton::WidgetEvent(QEvent* event)
{
    switch (event->type()) {
    case QEvent::Paint: Paint(); return true;
    case QEvent::Enter:
    case QEvent::HoverEnter:
        hot_ = true;
        Invalidate();
        break;
    case QEvent::Leave:
    case QEvent::HoverLeave:
        hot_ = false;
        Invalidate();
        break;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
        if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
            if (running_ || std::exchange(swallowNextPress_, false)) return true;
            Press();
        }
        return true;
    case QEvent::MouseButtonRelease:
        // The press that closed the menu ends here, whether or not it reached the button.
        if (!running_) swallowNextPress_ = false;
        return true;
    default: break;
    }
    return TControl::WidgetEvent(event);
}

void TCheckableButton::Paint()
{
    QWidget* widget = Handle();
    if (!widget) return;
    QPainter p(widget);
    const TRect r(0, 0, widget->width(), widget->height());
    FillRect(p, r, SysBrush(COLOR_BTNFACE));
    if (down_)
        DrawEdge(p, r, BDR_SUNKENOUTER, BF_RECT);
    else if (hot_ && widget->window()->isActiveWindow())
        DrawEdge(p, r, BDR_RAISEDINNER, BF_RECT);
    TRect text = r;
    if (down_) text = TRect(r.Left + 1, r.Top + 1, r.Right + 1, r.Bottom + 1);
    p.setFont(widget->font());
    p.setPen(SysColor(COLOR_BTNTEXT));
    DrawText(p, caption_, text, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}
