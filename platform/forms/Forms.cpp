#include "Forms.h"

#include "Application.h"
#include "DialogScript.h"
#include "ExceptionBarrier.h"
#include "FormClasses.h"
#include "FormResources.h"
#include "Keys.h"
#include "Scope.h"
#include "StdCtrls.h"
#include "SystemMenu.h"

#include <QAction>
#include <QCloseEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QEventLoop>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QScreen>
#include <QWidget>
#include <QWindow>

namespace {

Qt::WindowFlags BorderStyleFlags(TFormBorderStyle style)
{
    constexpr Qt::WindowFlags caption =
        Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    switch (style) {
    case bsNone: return Qt::Window | Qt::FramelessWindowHint;
    // No maximize button: the window cannot grow.
    case bsSingle: return Qt::Window | caption | Qt::WindowMinimizeButtonHint;
    case bsDialog: return Qt::Dialog | caption;
    case bsToolWindow:
    case bsSizeToolWin: return Qt::Tool | caption;
    // Qt's own decoration of a plain window, spelled out so the flags compare equal.
    default:
        return Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinMaxButtonsHint |
               Qt::WindowCloseButtonHint;
    }
}

// The style's flags without the title buttons the icons leave out.
Qt::WindowFlags BorderIconFlags(Qt::WindowFlags flags, TFormBorderStyle style, TBorderIcons icons)
{
    if (style == bsNone) return flags;
    Qt::WindowFlags drop;
    if (!(icons & biSystemMenu))
        drop = Qt::WindowSystemMenuHint | Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint;
    if (!(icons & biMinimize)) drop |= Qt::WindowMinimizeButtonHint;
    if (!(icons & biMaximize)) drop |= Qt::WindowMaximizeButtonHint;
    if (!(flags & drop)) return flags;
    return (flags & ~drop) | Qt::CustomizeWindowHint | Qt::WindowTitleHint;
}

bool IsFixedSize(TFormBorderStyle style)
{
    return style == bsSingle || style == bsDialog || style == bsToolWindow;
}

// The control of parent's tree whose widget is widget.
TWinControl* FindControlOf(const TWinControl* parent, const QWidget* widget)
{
    for (int i = 0; i < parent->ControlCount(); ++i) {
        auto* c = qobject_cast<TWinControl*>(parent->Controls(i));
        if (!c) continue;
        if (c->Handle() == widget) return c;
        if (TWinControl* found = FindControlOf(c, widget)) return found;
    }
    return nullptr;
}

TButton* FindButtonIn(const TWinControl* parent, bool (TButton::*flag)() const)
{
    for (int i = 0; i < parent->ControlCount(); ++i) {
        TControl* c = parent->Controls(i);
        if (auto* button = qobject_cast<TButton*>(c); button && (button->*flag)() && button->CanFocus()) return button;
        if (auto* container = qobject_cast<TWinControl*>(c))
            if (TButton* found = FindButtonIn(container, flag)) return found;
    }
    return nullptr;
}

}  // namespace

namespace {
const char* const formProperty = "vesk.form";
}  // namespace

TCustomForm::TCustomForm(TComponent* owner) : TWinControl(owner, new QWidget(nullptr, Qt::Window))
{
    RegisterFormClasses();
    Handle()->setProperty(formProperty, QVariant::fromValue(static_cast<QObject*>(this)));
    SetVisibleFlag(false);
    SetColor(clBtnFace);
    SetParentFont(false);
    ApplyFont();
    SetBounds(0, 0, 320, 240);
}

TCustomForm* TCustomForm::FromWindow(const QWidget* window)
{
    if (!window) return nullptr;
    return qobject_cast<TCustomForm*>(window->property(formProperty).value<QObject*>());
}

TCustomForm::~TCustomForm()
{
    if (modalLoop_) modalLoop_->quit();
    Destroying();
    CallBeforeFormDestroy(this);
    DestroyComponents();
    // A child's sub-window goes with it (the frame's client activates the next child); the
    // form's own window is taken out first and freed with the control as usual.
    if (QMdiSubWindow* sub = MDISubWindow()) {
        if (QWidget* w = Handle()) {
            w->hide();
            w->setParent(nullptr);
        }
        delete sub;
    }
}

void TCustomForm::CallBeforeFormDestroy(TComponent* component)
{
    for (int i = 0; i < component->ComponentCount(); ++i) {
        TComponent* c = component->Components(i);
        RunGuarded(c, [c] { c->BeforeFormDestroy(); });
        CallBeforeFormDestroy(c);
    }
}

void TCustomForm::AfterConstruction()
{
    TWinControl::AfterConstruction();
    ReadResource();
    RealignAll();
    DoCreate();
}

void TCustomForm::ReadResource()
{
    InitInheritedComponent(this, &TCustomForm::staticMetaObject);
}

void TCustomForm::DoCreate()
{
    // A failing OnCreate is shown; the form itself is complete and stays.
    if (onCreate_) RunGuarded(this, [this] { onCreate_(this); });
}

QString TCustomForm::Caption() const
{
    return caption_;
}

void TCustomForm::SetCaption(const QString& value)
{
    caption_ = value;
    if (Handle()) Handle()->setWindowTitle(value);
    if (subWindow_) subWindow_->setWindowTitle(value);
}

void TCustomForm::SetBorderStyle(TFormBorderStyle value)
{
    borderStyle_ = value >= bsNone && value <= bsSizeToolWin ? value : bsSizeable;
    ApplyBorderStyle();
}

void TCustomForm::SetBorderIcons(TBorderIcons value)
{
    borderIcons_ = value & (biSystemMenu | biMinimize | biMaximize | biHelp);
    ApplyBorderStyle();
}

void TCustomForm::SetFormStyle(TFormStyle value)
{
    formStyle_ = value >= fsNormal && value <= fsMDIForm ? value : fsNormal;
    ApplyFormStyle();
    ApplyBorderStyle();
}

// ---- MDI

namespace {

TCustomForm* FormOfSubWindow(const QMdiSubWindow* sub)
{
    return sub ? TCustomForm::FromWindow(sub->widget()) : nullptr;
}

bool IsMDIFrame(const TCustomForm* form)
{
    return form && form->FormStyle() == fsMDIForm && form->MDIClient();
}

const char* const moveActionProperty = "vesk.moveAction";
const char* const sizeActionProperty = "vesk.sizeAction";

}  // namespace

void TCustomForm::ApplyFormStyle()
{
    if (formStyle_ == fsMDIForm && !mdiClient_) MakeMDIClient();
    if (formStyle_ != fsMDIChild || subWindow_) return;
    // The frame: the main form when it is one, else the owner when it is one.
    TCustomForm* frame = Application ? Application->MainForm() : nullptr;
    if (!IsMDIFrame(frame) || frame == this) frame = qobject_cast<TCustomForm*>(Owner());
    if (IsMDIFrame(frame) && frame != this) EnterSubWindow(frame);
}

void TCustomForm::MakeMDIClient()
{
    mdiClient_ = new QMdiArea(Handle());
    mdiClient_->setObjectName(QStringLiteral("MDIClient"));
    mdiClient_->setActivationOrder(QMdiArea::CreationOrder);
    mdiClient_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    mdiClient_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    QObject::connect(mdiClient_, &QMdiArea::subWindowActivated, this, [this](QMdiSubWindow* sub) {
        // A maximized child hands its maximized state on to the child activated after it.
        auto* previous = static_cast<QMdiSubWindow*>(currentChild_.data());
        currentChild_ = sub;
        if (sub && previous && previous != sub && previous->isVisible() && previous->isMaximized() &&
            !sub->isMaximized()) {
            previous->showNormal();
            sub->showMaximized();
        }
        Q_EMIT MDIActivated();
    });
    Realign();
    mdiClient_->show();
}

void TCustomForm::PlaceClientRemainder(const QRect& rect)
{
    if (mdiClient_) mdiClient_->setGeometry(rect);
}

void TCustomForm::EnterSubWindow(TCustomForm* frame)
{
    QWidget* w = Handle();
    if (!w) return;
    const QSize client(Width(), Height());
    const bool shown = w->isVisible();
    auto* sub = new QMdiSubWindow;
    sub->setAttribute(Qt::WA_DeleteOnClose, false);
    sub->setWidget(w);
    // Qt's own system menu carries shortcuts (Ctrl+F4 ...), which would run before the input
    // filter: its keyboard move and size are kept without them, the menu is ours.
    if (QMenu* own = sub->systemMenu()) {
        for (QAction* a : own->actions()) {
            a->setShortcuts({});
            const QString text = QString(a->text()).remove(QLatin1Char('&'));
            const char* property = text == QLatin1String("Move")   ? moveActionProperty
                                   : text == QLatin1String("Size") ? sizeActionProperty
                                                                   : nullptr;
            if (!property) continue;
            a->setParent(sub);
            sub->setProperty(property, QVariant::fromValue(static_cast<QObject*>(a)));
        }
    }
    subWindow_ = sub;
    TSystemMenu* menu = SystemMenu();
    sub->setSystemMenu(menu ? menu->Menu() : nullptr);
    sub->setWindowTitle(caption_);
    frame->mdiClient_->addSubWindow(sub);
    QObject::connect(sub, &QMdiSubWindow::windowStateChanged, this, [this] { ChildStateChanged(); });
    sub->installEventFilter(this);
    sub->resize(client.grownBy(sub->contentsMargins()));
    sub->move(Left(), Top());
    normalBounds_ = QRect(QPoint(Left(), Top()), client);
    if (shown) sub->show();
}

void TCustomForm::UpdateWidgetGeometry()
{
    QMdiSubWindow* sub = MDISubWindow();
    if (!sub) {
        TWinControl::UpdateWidgetGeometry();
        return;
    }
    // A maximized child keeps the client's size; its bounds take effect when it is restored.
    if (sub->isMaximized() || sub->isMinimized()) return;
    const QRect r = BoundsRect();
    normalBounds_ = r;
    sub->setGeometry(QRect(r.topLeft(), r.size().grownBy(sub->contentsMargins())));
}

void TCustomForm::ChildStateChanged()
{
    // The sub-window's state also says whether it is active: only a change between normal,
    // minimized and maximized counts.
    const TWindowState state = WindowState();
    if (state == childState_) return;
    childState_ = state;
    UpdateChildFrame();
    if (TCustomForm* frame = MDIFrame()) Q_EMIT frame->MDIChildStateChanged(this);
}

void TCustomForm::UpdateChildFrame()
{
    // A maximized child fills the client without its own title bar: the frame's menu bar
    // shows its icon and buttons instead.
    QMdiSubWindow* sub = MDISubWindow();
    if (!sub) return;
    const bool frameless = sub->isMaximized();
    if (bool(sub->windowFlags() & Qt::FramelessWindowHint) == frameless) return;
    TRestore changing(changingChildFrame_, true);
    const Qt::WindowStates states = sub->windowState();
    const bool shown = sub->isVisible();
    sub->setWindowFlag(Qt::FramelessWindowHint, frameless);
    if (shown) {
        sub->setWindowState(states);
        sub->show();
    }
    // Changing the flags re-made the sub-window, and a restored one lost its place.
    if (!frameless && !normalBounds_.isNull())
        sub->setGeometry(QRect(normalBounds_.topLeft(), normalBounds_.size().grownBy(sub->contentsMargins())));
}

void TCustomForm::FollowSubWindow()
{
    QMdiSubWindow* sub = MDISubWindow();
    QWidget* w = Handle();
    // While hidden, the sub-window is sized by Qt's own rules only: the bounds stand.
    if (!sub || !w || !sub->isVisible()) return;
    const QRect r(sub->pos(), sub->size().shrunkBy(sub->contentsMargins()));
    if (!changingChildFrame_ && !sub->isMaximized() && !sub->isMinimized()) normalBounds_ = r;
    TakeWidgetBounds(r);
}

QMdiSubWindow* TCustomForm::MDISubWindow() const
{
    return static_cast<QMdiSubWindow*>(subWindow_.data());
}

TCustomForm* TCustomForm::ActiveMDIChild() const
{
    QMdiSubWindow* sub = mdiClient_ ? mdiClient_->currentSubWindow() : nullptr;
    return sub && !sub->isHidden() ? FormOfSubWindow(sub) : nullptr;
}

int TCustomForm::MDIChildCount() const
{
    return mdiClient_ ? int(mdiClient_->subWindowList(QMdiArea::CreationOrder).size()) : 0;
}

TCustomForm* TCustomForm::MDIChildren(int index) const
{
    if (!mdiClient_) return nullptr;
    const QList<QMdiSubWindow*> subs = mdiClient_->subWindowList(QMdiArea::CreationOrder);
    return index >= 0 && index < subs.size() ? FormOfSubWindow(subs[index]) : nullptr;
}

TCustomForm* TCustomForm::MDIFrame() const
{
    QMdiSubWindow* sub = MDISubWindow();
    QMdiArea* area = sub ? sub->mdiArea() : nullptr;
    return area ? TCustomForm::FromWindow(area->window()) : nullptr;
}

TSystemMenu* TCustomForm::SystemMenu() const
{
    if (!(borderIcons_ & biSystemMenu) || borderStyle_ == bsNone) return nullptr;
    if (!systemMenu_) const_cast<TCustomForm*>(this)->systemMenu_ = new TSystemMenu(const_cast<TCustomForm*>(this));
    return systemMenu_;
}

void TCustomForm::SysCommand(int id)
{
    switch (id) {
    case SC_RESTORE: SetWindowState(wsNormal); break;
    case SC_MINIMIZE: SetWindowState(wsMinimized); break;
    case SC_MAXIMIZE: SetWindowState(wsMaximized); break;
    case SC_CLOSE: Close(); break;
    case SC_NEXTWINDOW:
        if (TCustomForm* frame = subWindow_ ? MDIFrame() : this; frame && frame->mdiClient_)
            frame->mdiClient_->activateNextSubWindow();
        break;
    case SC_MOVE:
    case SC_SIZE:
        if (QMdiSubWindow* sub = MDISubWindow()) {
            const char* property = id == SC_MOVE ? moveActionProperty : sizeActionProperty;
            if (auto* a = qobject_cast<QAction*>(sub->property(property).value<QObject*>()); a && a->isEnabled())
                a->trigger();
        }
        break;
    default: break;
    }
}

QImage TCustomForm::SmallIcon() const
{
    const QWidget* w = Handle();
    if (!w) return {};
    const QIcon icon = w->windowIcon();
    return icon.isNull() ? QImage() : icon.pixmap(16, 16).toImage().scaled(16, 16);
}

void TCustomForm::SetOwnerWindow(QWidget* window)
{
    ownerWindow_ = window ? window->window() : nullptr;
    if (ownerWindow_ == Handle()) ownerWindow_ = nullptr;
    ApplyOwnerWindow();
}

void TCustomForm::ApplyOwnerWindow()
{
    QWidget* w = Handle();
    if (!w || !w->isWindow()) return;
    // Both windows need their native window for the transient link; hidden ones get it early.
    QWindow* owner = nullptr;
    if (ownerWindow_) {
        ownerWindow_->winId();
        owner = ownerWindow_->windowHandle();
    }
    if (!owner && !w->windowHandle()) return;
    w->winId();
    if (w->windowHandle()->transientParent() != owner) w->windowHandle()->setTransientParent(owner);
}

void TCustomForm::ApplyBorderStyle()
{
    QWidget* w = Handle();
    // A form whose window was placed inside another widget stays a child there.
    if (!w || !w->isWindow()) return;
    ApplySizeLimits();
    Qt::WindowFlags flags = BorderIconFlags(BorderStyleFlags(borderStyle_), borderStyle_, borderIcons_);
    if (formStyle_ == fsStayOnTop) flags |= Qt::WindowStaysOnTopHint;
    if (w->windowFlags() == flags) return;
    // setWindowFlags re-creates the window hidden: show it again as it was.
    const bool shown = w->isVisible();
    const Qt::WindowStates states = w->windowState();
    const QPointer<QWidget> focus = w->focusWidget();
    w->setWindowFlags(flags);
    ApplyOwnerWindow();  // the re-made window has lost its owner
    if (!shown) return;
    w->setWindowState(states);
    w->show();
    if (focus) focus->setFocus(Qt::OtherFocusReason);
}

void TCustomForm::ApplySizeLimits()
{
    QWidget* w = Handle();
    if (!w || !w->isWindow()) return;
    if (IsFixedSize(borderStyle_)) {
        w->setFixedSize(Width(), Height());
    } else {
        w->setMinimumSize(0, 0);
        w->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
        w->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    }
}

void TCustomForm::SetBounds(int left, int top, int width, int height)
{
    QWidget* w = Handle();
    // The old fixed size would clamp the new geometry: lift it while the bounds change.
    if (w && w->isWindow() && IsFixedSize(borderStyle_)) {
        w->setMinimumSize(0, 0);
        w->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    }
    TWinControl::SetBounds(left, top, width, height);
    ApplySizeLimits();
}

TWindowState TCustomForm::WindowState() const
{
    const QWidget* w = subWindow_ ? subWindow_.data() : Handle();
    if (!w || !w->isVisible()) return windowState_;
    if (w->windowState() & Qt::WindowMinimized) return wsMinimized;
    if (w->windowState() & Qt::WindowMaximized) return wsMaximized;
    return wsNormal;
}

void TCustomForm::SetWindowState(TWindowState value)
{
    windowState_ = value;
    QWidget* w = subWindow_ ? subWindow_.data() : Handle();
    if (!w || !w->isVisible()) return;
    // A sub-window told its own state again would take a restore place it never had.
    if (subWindow_ && WindowState() == value) return;
    const Qt::WindowStates states[] = {Qt::WindowNoState, Qt::WindowMinimized, Qt::WindowMaximized};
    w->setWindowState((w->windowState() & Qt::WindowActive) | states[value]);
}

void TCustomForm::SetActiveControl(TWinControl* control)
{
    if (control) {
        TWinControl* top = control;
        while (top->Parent()) top = top->Parent();
        if (top != this) throw EInvalidOperation(QStringLiteral("Invalid ActiveControl: %1").arg(control->Name()));
    }
    activeControl_ = control;
    if (control && Showing() && control->CanFocus()) control->SetFocus();
}

void TCustomForm::SetFocus()
{
    if (!Handle()) return;
    Handle()->activateWindow();
    if (activeControl_ && activeControl_->CanFocus()) activeControl_->SetFocus();
}

void TCustomForm::SetVisible(bool value)
{
    if (value == Visible()) return;
    SetVisibleFlag(value);
    if (value) {
        ShowWindow();
    } else {
        if (QMdiSubWindow* sub = MDISubWindow()) {
            sub->hide();
            // A hidden child is no longer the frame's active one: the next visible child is.
            QMdiArea* area = sub->mdiArea();
            if (area && area->currentSubWindow() == sub) {
                area->activateNextSubWindow();
                if (area->currentSubWindow() == sub) area->setActiveSubWindow(nullptr);
            }
        }
        if (Handle()) Handle()->hide();
        if (onHide_) onHide_(this);
    }
}

void TCustomForm::ShowWindow()
{
    if (!shownOnce_) {
        shownOnce_ = true;
        PlaceOnFirstShow();
        DoShow();
        if (!Visible()) return;  // OnShow hid the form again
    }
    QWidget* w = Handle();
    if (!w) return;
    ApplyOwnerWindow();
    w->show();
    if (subWindow_) {
        subWindow_->show();
        UpdateWidgetGeometry();  // showing sized the sub-window to its own liking
    }
    // A child shown normal takes the state the frame gives it (maximized after a maximized one).
    if (!subWindow_ || windowState_ != wsNormal) SetWindowState(windowState_);
    if (activeControl_ && activeControl_->CanFocus()) activeControl_->Handle()->setFocus(Qt::OtherFocusReason);
}

void TCustomForm::PlaceOnFirstShow()
{
    QRect area;
    if (position_ == poMainFormCenter || position_ == poOwnerFormCenter) {
        if (Application && Application->MainForm() && Application->MainForm() != this)
            area = Application->MainForm()->BoundsRect();
    }
    if (area.isNull() && (position_ == poScreenCenter || position_ == poDesktopCenter ||
                          position_ == poMainFormCenter || position_ == poOwnerFormCenter)) {
        if (QScreen* screen = QGuiApplication::primaryScreen()) area = screen->availableGeometry();
    }
    if (area.isNull()) return;
    SetBounds(area.x() + (area.width() - Width()) / 2, area.y() + (area.height() - Height()) / 2, Width(), Height());
}

void TCustomForm::DoShow()
{
    if (onShow_) RunGuarded(this, [this] { onShow_(this); });
}

bool TCustomForm::CloseQuery()
{
    bool canClose = true;
    if (onCloseQuery_) onCloseQuery_(this, canClose);
    return canClose;
}

void TCustomForm::DoClose(TCloseAction& action)
{
    if (onClose_) onClose_(this, action);
}

bool TCustomForm::Close()
{
    if (modalLoop_) {
        SetModalResult(mrCancel);
        return true;
    }
    if (!CloseQuery()) return false;
    TCloseAction action = caHide;
    DoClose(action);
    if (action == caNone) return false;
    if (Application && Application->MainForm() == this)
        Application->Terminate();
    else if (action == caHide)
        Hide();
    else if (action == caMinimize)
        SetWindowState(wsMinimized);
    else
        Release();
    return true;
}

void TCustomForm::Release()
{
    // Queued with the form as context: dropped if the form goes before the loop runs it.
    QMetaObject::invokeMethod(
        this, [this] { delete this; }, Qt::QueuedConnection);
}

void TCustomForm::SetModalResult(TModalResult value)
{
    modalResult_ = value;
    if (modalLoop_ && value != mrNone) modalLoop_->quit();
}

bool TCustomForm::CloseModal()
{
    try {
        TCloseAction action = caNone;
        if (CloseQuery()) {
            action = caHide;
            DoClose(action);
        }
        if (action == caNone) {
            modalResult_ = mrNone;
            return false;
        }
        if (action == caFree) Release();
        return true;
    } catch (...) {
        modalResult_ = mrNone;
        if (Application) Application->HandleCurrentException(this);
        return false;
    }
}

int TCustomForm::ShowModal()
{
    if (Visible() || modalLoop_) throw EInvalidOperation(QStringLiteral("Cannot make a visible window modal"));
    QPointer<TCustomForm> self(this);
    QEventLoop loop;
    modalLoop_ = &loop;
    modalResult_ = mrNone;
    if (Application) Application->EnterModal();
    auto terminated = [] { return Application && Application->Terminated(); };
    {
        TScopeExit finish([&] {
            if (Application) Application->LeaveModal();
            if (!self) return;
            modalLoop_ = nullptr;
            Hide();
            if (Handle()) Handle()->setWindowModality(Qt::NonModal);
        });
        if (Handle()) Handle()->setWindowModality(Qt::ApplicationModal);
        Show();
        TDialogScript* script = TDialogScript::Active();
        const bool scripted = script && !script->Fallback();
        if (scripted && self) AnswerModal(*script);
        while (self && !scripted) {
            if (modalResult_ == mrNone && !terminated()) loop.exec();
            if (!self) break;
            if (terminated()) {
                modalResult_ = mrCancel;
                break;
            }
            if (modalResult_ != mrNone && CloseModal()) break;
        }
    }
    return self ? modalResult_ : mrCancel;
}

void TCustomForm::AnswerModal(TDialogScript& script)
{
    QPointer<TCustomForm> self(this);
    TDialogRecord record{QStringLiteral("Form"), Caption(), ClassName(), 0, mrCancel, {}};
    for (;;) {
        const std::function<void(TCustomForm&)> handler = script.TakeForm();
        if (!handler) break;
        modalResult_ = mrNone;
        handler(*this);
        if (!self) break;
        if (modalResult_ == mrNone) break;
        if (CloseModal()) {
            record.result = modalResult_;
            script.Record(record);
            return;
        }
    }
    script.Record(record);
    if (!self) return;
    // Cancel, whatever the close query says: a script never leaves a form waiting.
    modalResult_ = mrCancel;
    CloseModal();
    modalResult_ = mrCancel;
}

bool TCustomForm::eventFilter(QObject* watched, QEvent* event)
{
    // A child's sub-window moved or sized by the user or by its state: the bounds follow.
    if (watched && watched == subWindow_) {
        if (event->type() == QEvent::Resize || event->type() == QEvent::Move)
            RunGuarded(this, [this] { FollowSubWindow(); });
        return false;
    }
    return TWinControl::eventFilter(watched, event);
}

bool TCustomForm::WidgetEvent(QEvent* event)
{
    if (event->type() == QEvent::Close) {
        // The window's close button: our Close decides; the window hides only through it.
        event->ignore();
        RunGuarded(this, [this] { Close(); });
        return true;
    }
    // Key events come here only when the focused control and its parents let them pass.
    if (event->type() == QEvent::KeyPress && DialogKey(*static_cast<QKeyEvent*>(event))) {
        event->accept();
        return true;
    }
    if (event->type() == QEvent::Show && !shownOnce_ && !event->spontaneous()) {
        shownOnce_ = true;
        DoShow();
    }
    return TWinControl::WidgetEvent(event);
}

void TCustomForm::GetChildren(const TGetChildProc& proc, TComponent* root)
{
    // Non-visual components first, then the controls by parent.
    for (int i = 0; i < ComponentCount(); ++i)
        if (!Components(i)->HasParent()) proc(Components(i));
    TWinControl::GetChildren(proc, root);
}

bool TCustomForm::DialogKey(const QKeyEvent& event)
{
    if (ShiftStateFromQt(event.modifiers())) return false;
    const int vk = QtKeyToVK(event.key(), event.modifiers());
    TButton* target = nullptr;
    if (vk == VK_RETURN) {
        TWinControl* focused = FocusedControl();
        if (qobject_cast<TMemo*>(focused)) return false;  // a line break, even when read-only
        target = qobject_cast<TButton*>(focused);
        if (!target) target = FindButton(&TButton::Default);
    } else if (vk == VK_ESCAPE) {
        target = FindButton(&TButton::Cancel);
    }
    if (!target || !target->CanFocus()) return false;
    target->Click();  // may free the form: nothing of it is touched afterwards
    return true;
}

TWinControl* TCustomForm::FocusedControl() const
{
    QWidget* window = Handle();
    if (!window) return nullptr;
    // The focus may sit in an inner widget of a control (a browser's focus proxy).
    for (QWidget* w = window->focusWidget(); w && w != window; w = w->parentWidget())
        if (TWinControl* control = FindControlOf(this, w)) return control;
    return nullptr;
}

TButton* TCustomForm::FindButton(bool (TButton::*flag)() const) const
{
    return FindButtonIn(this, flag);
}
