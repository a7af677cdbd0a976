// What the item model hands to the bar windows library without touching it itself: the mouse
// capture and the loop a popup menu waits in, a combo's own drop-down window, the painting
// of a combo's entries, the windows of docks, and context menus of linked controls.
#include "dxBarWindowsLibrary.h"

#include "Painting.h"
#include "Scope.h"
#include "Window.h"
#include "dxBarDockControls.h"
#include "dxBarDrawing.h"
#include "dxBarItems.h"
#include "dxBarManager.h"
#include "dxBarPopupMenuLinks.h"

#include <QEventLoop>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QWidget>

namespace {

class TEventLoopWait : public TdxBarModalWait {
public:
    void Run() override { loop_.exec(); }
    void Stop() override { loop_.quit(); }

private:
    QEventLoop loop_;
};

// Where the window's caret is, in its client coordinates; (0, 0) without one.
QPoint CaretPosition(QWidget* wnd)
{
    if (!wnd->testAttribute(Qt::WA_InputMethodEnabled)) return {};
    const QRect caret = wnd->inputMethodQuery(Qt::ImCursorRectangle).toRect();
    return caret.isValid() ? caret.topLeft() : QPoint();
}

// The control of the manager's form that owns window: the nearest linked control whose
// widget is window or holds it. None when no link names such a control.
TWinControl* LinkedControlOf(const TdxBarPopupMenuLinks* links, QWidget* window)
{
    int guard = 0;
    for (QWidget* w = window; w && ++guard < 10000; w = w->isWindow() ? nullptr : w->parentWidget())
        for (TCollectionItem* item : links->ItemList()) {
            TWinControl* control = static_cast<TdxBarPopupMenuLink*>(item)->Control();
            if (control && control->Handle() == w) return control;
        }
    return nullptr;
}

// Opens the link's menu for the window wnd (the control's or one inside it) at a screen point,
// (-1, -1) from the keyboard. True when the menu was allowed (the call returns after the
// menu closed).
bool ShowLinkPopup(TdxBarPopupMenuLink* link, QWidget* wnd, const TPoint& screen)
{
    QPointer<TWinControl> control = link->Control();
    QWidget* target = control ? control->Handle() : nullptr;
    if (!wnd || !target) return false;
    const bool byMouse = !(screen.x() == -1 && screen.y() == -1);
    const QPoint inWnd = byMouse ? wnd->mapFromGlobal(QPoint(screen.x(), screen.y())) : CaretPosition(wnd);
    QPoint at = wnd == target || target->isAncestorOf(wnd) ? wnd->mapTo(target, inWnd) : inWnd;
    bool allow = link->PopupMenu() != nullptr;
    if (link->OnAction) {
        QPointer<TdxBarPopupMenuLink> self(link);
        int x = at.x(), y = at.y();
        link->OnAction(link, x, y, byMouse, allow);
        if (!self) return allow;
        at = QPoint(x, y);
    }
    // The handler may have freed the control or the menu.
    QPointer<TdxBarPopupMenu> menu = link->PopupMenu();
    target = control ? control->Handle() : nullptr;
    if (!allow || !menu || !target) return allow;
    QPointer<QWidget> focus = wnd;
    if (focus && focus->isEnabled()) focus->setFocus(Qt::PopupFocusReason);
    const QPoint global = target->mapToGlobal(at);
    menu->Popup(global.x(), global.y());
    return allow;
}

// The dock over its background: at design time a placed dock's client area gets a dotted
// outline, so that the dock can be found; a sunken border's edge goes round the whole dock.
void PaintDock(QPainter& p, TdxDockControl* dock)
{
    if (qobject_cast<TdxBarDockControl*>(dock) && dock->Designing()) {
        p.setPen(QPen(ColorToQColor(clBlack), 0, Qt::DotLine));
        p.setBrush(Qt::NoBrush);
        const QRect client = dock->ClientRect();
        if (client.width() > 0 && client.height() > 0) p.drawRect(client.adjusted(0, 0, -1, -1));
    }
    if (dock->GetSunkenBorder()) DrawEdge(p, TRect(0, 0, dock->Width(), dock->Height()), BDR_SUNKENOUTER, BF_RECT);
}

}  // namespace

void TdxBarWindowsLibrary::ReleaseMouseCapture()
{
    TWindow::ReleaseCapture();
}

std::unique_ptr<TdxBarModalWait> TdxBarWindowsLibrary::CreateModalWait()
{
    return std::make_unique<TEventLoopWait>();
}

void TdxBarWindowsLibrary::ShowDropDownWindow(TNativeWindow* window, QPoint preferred, QSize linkSize, bool vertical)
{
    if (!window) return;
    const TRect area = dxBarGetWorkArea(preferred);
    window->move(dxBarDropDownPosition(preferred, window->size(), linkSize, area.ToQRect(), vertical));
    window->setAttribute(Qt::WA_ShowWithoutActivating);
    window->show();
}

void TdxBarWindowsLibrary::HideDropDownWindow(TNativeWindow* window)
{
    if (window) window->hide();
}

void TdxBarWindowsLibrary::DrawComboEntry(TCanvas& p, const QFont& font, const QString& text, const TRect& rect,
                                          unsigned state, bool flatInterior, const std::function<void()>& ownerDraw)
{
    p.save();
    TScopeExit restorePainter([&p] { p.restore(); });
    p.setFont(font);
    if (ownerDraw) {
        ownerDraw();
        return;
    }
    const bool selected = state & odSelected;
    FillRect(p, rect, SysBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    p.setPen(SysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    TRect r{rect.Left + 2, rect.Top + (flatInterior ? 2 : 0), rect.Right, rect.Bottom};
    DrawText(p, text, r, DT_LEFT | DT_SINGLELINE | DT_NOPREFIX);
    if (state & odFocused) DrawFocusRect(p, rect);
}

void TdxBarWindowsLibrary::SetDockRedraw(TdxDockControl* dock, bool value)
{
    if (QWidget* widget = dock ? dock->Handle() : nullptr) widget->setUpdatesEnabled(value);
}

bool TdxBarWindowsLibrary::DockWindowEvent(TdxDockControl* dock, QEvent* event)
{
    if (event->type() == QEvent::Paint && dock->Handle()) {
        QPainter p(dock->Handle());
        PaintDock(p, dock);
        return false;
    }
    TdxBarManager* manager = dock->BarManager();
    if (event->type() != QEvent::MouseButtonPress || !manager || manager->IsCustomizing()) return false;
    auto* me = static_cast<QMouseEvent*>(event);
    if (me->button() != Qt::RightButton) return false;
    ShowToolbarsPopup(manager, me->globalPosition().toPoint());
    return true;
}

bool TdxBarWindowsLibrary::ShowLinkedPopupMenu(TdxBarPopupMenuLinks* links, TNativeWindow* wnd, const TPoint& screen)
{
    TdxBarManager* manager = links->BarManager();
    TWinControl* control = LinkedControlOf(links, wnd);
    if (!control || !manager || manager->IsDesigning()) return false;
    // A handler may change the list while a menu is open: walk a guarded copy.
    QList<QPointer<TdxBarPopupMenuLink>> guarded;
    for (TCollectionItem* item : links->ItemList()) guarded << static_cast<TdxBarPopupMenuLink*>(item);
    QPointer<TWinControl> guard(control);
    for (const QPointer<TdxBarPopupMenuLink>& link : guarded) {
        if (!guard) break;
        if (link && link->Control() == control && ShowLinkPopup(link, wnd, screen)) return true;
    }
    return false;
}
