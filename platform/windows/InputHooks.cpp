// The application-wide input filter behind the keyboard and mouse hooks.
#include "InputHooks.h"

#include "ExceptionBarrier.h"
#include "Forms.h"
#include "SystemMenu.h"
#include "Window.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPointer>
#include <QSet>
#include <QWidget>
#include <QWindow>

#include <algorithm>
#include <vector>

namespace {

class TInputFilter : public QObject {
public:
    bool eventFilter(QObject* receiver, QEvent* event) override;

    // Goes on the application while a hook is installed or a modal loop runs.
    void UpdateInstalled();
    // The innermost modal loop's hook, else none.
    TInputHook* LoopHook() const { return loops.empty() ? nullptr : loops.back(); }

    TInputHook* hook = nullptr;
    std::vector<TInputHook*> loops;
    QSet<int> keysDown;

private:
    bool Key(QKeyEvent* event);
    bool Mouse(QMouseEvent* event);
    // The widget Qt gives a mouse message to, before any re-targeting.
    QWidget* Receiver(const TPoint& screen, Qt::MouseButtons held) const;

    bool installed_ = false;
    QPointer<QWidget> pressWidget_;
    // The release was given to another window: the press window's copy is eaten.
    bool eatWidgetRelease_ = false;
};

QPointer<TInputFilter> filter;

// The MDI keys of the active frame, after the hooks have let the key pass: Ctrl+F4 closes the
// active child, Ctrl+F6 activates the next one.
bool MDIKey(const TKeyHookMessage& m)
{
    if (m.KeyUp || (m.Key != VK_F4 && m.Key != VK_F6) || (m.Shift & (ssShift | ssCtrl | ssAlt)) != ssCtrl) return false;
    TCustomForm* frame = TCustomForm::FromWindow(QApplication::activeWindow());
    TCustomForm* child = frame && frame->MDIClient() ? frame->ActiveMDIChild() : nullptr;
    if (!child) return false;
    if (m.Key == VK_F4)
        child->SysCommand(SC_CLOSE);
    else
        frame->SysCommand(SC_NEXTWINDOW);
    return true;
}

int ButtonVK(Qt::MouseButton button)
{
    switch (button) {
    case Qt::LeftButton: return VK_LBUTTON;
    case Qt::RightButton: return VK_RBUTTON;
    case Qt::MiddleButton: return VK_MBUTTON;
    default: return 0;
    }
}

bool TInputFilter::eventFilter(QObject* receiver, QEvent* event)
{
    const QEvent::Type type = event->type();
    const bool key = type == QEvent::KeyPress || type == QEvent::KeyRelease;
    const bool mouse = type == QEvent::MouseButtonPress || type == QEvent::MouseButtonRelease ||
                       type == QEvent::MouseButtonDblClick || type == QEvent::MouseMove;
    if (!key && !mouse) return false;
    if (!receiver->isWindowType()) {
        // The widget-level copy of an event the window level already handled.
        if (type == QEvent::MouseButtonRelease && eatWidgetRelease_) {
            eatWidgetRelease_ = false;
            return true;
        }
        return false;
    }
    bool swallow = false;
    RunGuarded(nullptr,
               [&] { swallow = key ? Key(static_cast<QKeyEvent*>(event)) : Mouse(static_cast<QMouseEvent*>(event)); });
    return swallow;
}

bool TInputFilter::Key(QKeyEvent* event)
{
    TKeyHookMessage m;
    m.Key = QtKeyToVK(event->key(), event->modifiers());
    m.KeyUp = event->type() == QEvent::KeyRelease;
    m.AutoRepeat = event->isAutoRepeat();
    m.Shift = ShiftStateFromQt(event->modifiers());
    if (m.Key && !m.AutoRepeat) {
        if (m.KeyUp)
            keysDown.remove(m.Key);
        else
            keysDown.insert(m.Key);
    }
    m.OtherKeysDown = keysDown.size() > (keysDown.contains(m.Key) ? 1 : 0);
    if (TInputHook* loop = LoopHook(); loop && loop->KeyboardHook(m)) return true;
    if (hook && hook->KeyboardHook(m)) return true;
    return !LoopHook() && MDIKey(m);
}

QWidget* TInputFilter::Receiver(const TPoint& screen, Qt::MouseButtons held) const
{
    if (TWindow* capture = TWindow::GetCapture()) return capture->Handle();
    if (QWidget* grabber = QWidget::mouseGrabber()) return grabber;
    if (held && pressWidget_) return pressWidget_;
    return TWindow::WindowFromPoint(screen);
}

bool TInputFilter::Mouse(QMouseEvent* event)
{
    eatWidgetRelease_ = false;
    const QEvent::Type type = event->type();
    const TPoint screen = event->globalPosition().toPoint();
    TMouseHookMessage m;
    m.Screen = screen;
    m.Button = ButtonVK(event->button());
    m.Kind = type == QEvent::MouseMove             ? TMouseHookKind::Move
             : type == QEvent::MouseButtonPress    ? TMouseHookKind::ButtonDown
             : type == QEvent::MouseButtonDblClick ? TMouseHookKind::DoubleClick
                                                   : TMouseHookKind::ButtonUp;
    // A release still counts as held: Qt sends it to the window of the press.
    const Qt::MouseButtons held =
        event->buttons() | (type == QEvent::MouseButtonRelease ? event->button() : Qt::NoButton);
    const bool initialPress = type == QEvent::MouseButtonPress && event->buttons() == event->button();
    if (initialPress) pressWidget_ = TWindow::WindowFromPoint(screen);
    m.Window = Receiver(screen, held);

    // A held button dragged over another window that takes dragged input.
    QWidget* retarget = nullptr;
    if ((type == QEvent::MouseMove || type == QEvent::MouseButtonRelease) && held && pressWidget_ &&
        !TWindow::GetCapture() && !QWidget::mouseGrabber()) {
        QWidget* under = TWindow::WindowFromPoint(screen);
        TWindow* target = under && under != pressWidget_ ? TWindow::FromWidget(under) : nullptr;
        if (target && target->TakesDraggedMouse()) m.Window = retarget = under;
    }
    if (type == QEvent::MouseButtonRelease && !event->buttons()) pressWidget_ = nullptr;

    QPointer<QWidget> guard(retarget);
    if (TInputHook* loop = LoopHook(); loop && loop->MouseHook(m)) return true;
    if (hook && hook->MouseHook(m)) return true;
    if (!retarget) return false;
    if (!guard) return true;
    QMouseEvent copy(type, guard->mapFromGlobal(event->globalPosition()), event->globalPosition(), event->button(),
                     event->buttons(), event->modifiers(), event->pointingDevice());
    QCoreApplication::sendEvent(guard, &copy);
    if (type == QEvent::MouseMove) return true;
    // Qt forgets the press window only while the release passes through it.
    eatWidgetRelease_ = true;
    return false;
}

void TInputFilter::UpdateInstalled()
{
    const bool wanted = hook || !loops.empty();
    if (wanted == installed_) return;
    installed_ = wanted;
    if (wanted) {
        QCoreApplication::instance()->installEventFilter(this);
    } else {
        QCoreApplication::instance()->removeEventFilter(this);
        keysDown.clear();
    }
}

TInputFilter* Filter()
{
    auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance());
    if (!app) return nullptr;
    if (!filter) {
        // Lives as long as the application: removing the hook from inside a hook call
        // (a shortcut that closes the last form) must not free the running filter.
        filter = new TInputFilter;
        filter->setParent(app);
        QObject::connect(app, &QGuiApplication::applicationStateChanged, filter,
                         [](Qt::ApplicationState state) { InputActivationChanged(state == Qt::ApplicationActive); });
    }
    return filter;
}

}  // namespace

void SetInputHook(TInputHook* hook)
{
    TInputFilter* f = Filter();
    if (!f) return;
    f->hook = hook;
    f->UpdateInstalled();
}

TModalLoopHook::TModalLoopHook(TInputHook& hook) : hook_(hook)
{
    if (TInputFilter* f = Filter()) {
        f->loops.push_back(&hook_);
        f->UpdateInstalled();
    }
}

TModalLoopHook::~TModalLoopHook()
{
    if (!filter) return;
    auto& loops = filter->loops;
    // The innermost entry of this hook: brackets of one hook may nest.
    const auto it = std::find(loops.rbegin(), loops.rend(), &hook_);
    if (it != loops.rend()) loops.erase(std::next(it).base());
    filter->UpdateInstalled();
}

bool InModalLoop()
{
    return filter && !filter->loops.empty();
}

TInputHook* InputHook()
{
    return filter ? filter->hook : nullptr;
}

bool IsKeyDown(int vk)
{
    return filter && filter->keysDown.contains(vk);
}

void ClearKeyboardState()
{
    if (filter) filter->keysDown.clear();
}

void InputActivationChanged(bool active)
{
    if (!active) ClearKeyboardState();
    if (TInputHook* hook = InputHook()) RunGuarded(nullptr, [hook, active] { hook->ActivationChanged(active); });
}
