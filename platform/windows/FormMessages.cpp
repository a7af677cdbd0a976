// The bridge from Qt's window, application and screen events to the form-message listener.
#include "FormMessages.h"

#include "ExceptionBarrier.h"
#include "Forms.h"

#include <QApplication>
#include <QCloseEvent>
#include <QPointer>
#include <QScreen>
#include <QWidget>
#include <QWindow>

#include <algorithm>
#include <functional>
#include <vector>

namespace {

TWindowState StateOf(const QWidget* w)
{
    if (w->windowState() & Qt::WindowMinimized) return wsMinimized;
    if (w->windowState() & Qt::WindowMaximized) return wsMaximized;
    return wsNormal;
}

// The top-level widget whose native window is window.
QWidget* WidgetOf(const QWindow* window)
{
    if (!window) return nullptr;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->windowHandle() == window) return w;
    return nullptr;
}

class TFormMessageHub : public QObject {
public:
    TFormMessageHub();

    void Manage(TCustomForm* form);
    void Unmanage(const TCustomForm* form);
    bool Managed(const TCustomForm* form) const { return Find(form) != nullptr; }
    void SetListener(TFormMessageListener* value);

    TFormMessageListener* listener = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Entry {
        // Kept as an object: while a form is being destroyed its window still sends events,
        // but it is no longer a form and is never read as one.
        QPointer<QObject> object;
        QPointer<QWidget> window;
        bool active = false;
        TWindowState state = wsNormal;
        TCustomForm* Form() const { return qobject_cast<TCustomForm*>(object.data()); }
    };

    Entry* Find(const QObject* form);
    const Entry* Find(const QObject* form) const;
    Entry* FindByWindow(const QObject* window);
    void Report(const std::function<void(TFormMessageListener&)>& call);
    void FocusWindowChanged(QWindow* now);
    void ApplicationStateChanged(Qt::ApplicationState state);
    void WatchScreen(QScreen* screen);
    void WorkAreaChanged()
    {
        Report([](TFormMessageListener& l) { l.WorkAreaChanged(); });
    }
    void CloseRequest(Entry& entry, QEvent* event);

    std::vector<Entry> entries_;
    QPointer<QWindow> focus_;
    // A hidden window of our own: top-level widgets are told of palette and font changes.
    QWidget* messageWindow_ = nullptr;
};

QPointer<TFormMessageHub> hub;

TFormMessageHub* Hub()
{
    auto* app = qobject_cast<QApplication*>(QCoreApplication::instance());
    if (!app) return nullptr;
    if (!hub) {
        hub = new TFormMessageHub;
        hub->setParent(app);
    }
    return hub;
}

TFormMessageHub::TFormMessageHub()
{
    auto* app = qApp;
    focus_ = QGuiApplication::focusWindow();
    connect(app, &QGuiApplication::focusWindowChanged, this, &TFormMessageHub::FocusWindowChanged);
    connect(app, &QGuiApplication::applicationStateChanged, this, &TFormMessageHub::ApplicationStateChanged);
    connect(app, &QGuiApplication::screenAdded, this, [this](QScreen* screen) {
        WatchScreen(screen);
        WorkAreaChanged();
    });
    connect(app, &QGuiApplication::screenRemoved, this, [this] { WorkAreaChanged(); });
    for (QScreen* screen : QGuiApplication::screens()) WatchScreen(screen);
}

void TFormMessageHub::WatchScreen(QScreen* screen)
{
    connect(screen, &QScreen::availableGeometryChanged, this, &TFormMessageHub::WorkAreaChanged, Qt::UniqueConnection);
    connect(screen, &QScreen::geometryChanged, this, &TFormMessageHub::WorkAreaChanged, Qt::UniqueConnection);
}

void TFormMessageHub::SetListener(TFormMessageListener* value)
{
    listener = value;
    if (value && !messageWindow_) {
        messageWindow_ = new QWidget;
        messageWindow_->setAttribute(Qt::WA_DontShowOnScreen);
        messageWindow_->installEventFilter(this);
    } else if (!value && messageWindow_) {
        delete messageWindow_;
        messageWindow_ = nullptr;
    }
}

TFormMessageHub::Entry* TFormMessageHub::Find(const QObject* form)
{
    return const_cast<Entry*>(std::as_const(*this).Find(form));
}

const TFormMessageHub::Entry* TFormMessageHub::Find(const QObject* form) const
{
    for (const Entry& e : entries_)
        if (form && e.object.data() == form) return &e;
    return nullptr;
}

TFormMessageHub::Entry* TFormMessageHub::FindByWindow(const QObject* window)
{
    for (Entry& e : entries_)
        if (e.window == window && e.Form()) return &e;
    return nullptr;
}

void TFormMessageHub::Manage(TCustomForm* form)
{
    if (!form || !form->Handle() || Find(form)) return;
    QWidget* window = form->Handle();
    window->installEventFilter(this);
    const bool active = window->windowHandle() && window->windowHandle() == QGuiApplication::focusWindow();
    entries_.push_back({form, window, active, StateOf(window)});
    const QPointer<TCustomForm> guard(form);
    connect(form, &TCustomForm::MDIActivated, this, [this, guard] {
        if (guard && Find(guard)) Report([&](TFormMessageListener& l) { l.MDIChildActivated(guard); });
    });
    connect(form, &TCustomForm::MDIChildStateChanged, this, [this, guard](TCustomForm* child) {
        if (guard && Find(guard)) Report([&](TFormMessageListener& l) { l.MDIChildStateChanged(guard, child); });
    });
    // A freed form leaves by itself; its widget may go first or later.
    connect(form, &QObject::destroyed, this,
            [this] { std::erase_if(entries_, [](const Entry& e) { return !e.object; }); });
}

void TFormMessageHub::Unmanage(const TCustomForm* form)
{
    Entry* e = Find(form);
    if (!e) return;
    if (e->window) e->window->removeEventFilter(this);
    disconnect(e->object, nullptr, this, nullptr);
    std::erase_if(entries_, [form](const Entry& x) { return !x.object || x.object.data() == form; });
}

void TFormMessageHub::Report(const std::function<void(TFormMessageListener&)>& call)
{
    if (TFormMessageListener* l = listener) RunGuarded(nullptr, [&] { call(*l); });
}

void TFormMessageHub::FocusWindowChanged(QWindow* now)
{
    QWidget* before = WidgetOf(focus_);
    focus_ = now;
    QWidget* after = WidgetOf(now);
    // The list may change while the listener runs: forms are looked up again each time.
    QList<QPointer<QObject>> forms;
    for (const Entry& e : entries_) forms.append(e.object);
    for (const QPointer<QObject>& form : forms) {
        Entry* e = Find(form);
        TCustomForm* f = e ? e->Form() : nullptr;
        if (!f || !e->window) continue;
        const bool active = now && e->window->windowHandle() == now;
        if (active == e->active) continue;
        e->active = active;
        Report([&](TFormMessageListener& l) { l.FormActivate(f, active, active ? before : after); });
    }
}

void TFormMessageHub::ApplicationStateChanged(Qt::ApplicationState state)
{
    // Another program took the activation: none of our windows is active any more.
    if (state != Qt::ApplicationActive && focus_) FocusWindowChanged(nullptr);
}

void TFormMessageHub::CloseRequest(Entry& entry, QEvent* event)
{
    // The form's own answer to a close request is its Close; it runs here, between the two reports.
    event->ignore();
    QPointer<TCustomForm> form = entry.Form();
    Report([&](TFormMessageListener& l) { l.FormCloseRequest(form); });
    if (!form) return;
    bool closed = false;
    RunGuarded(form, [&] { closed = form->Close(); });
    if (form && !closed) Report([&](TFormMessageListener& l) { l.FormCloseCancelled(form); });
}

bool TFormMessageHub::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (watched == messageWindow_) {
        if (type == QEvent::ApplicationPaletteChange) Report([](TFormMessageListener& l) { l.PaletteChanged(); });
        if (type == QEvent::ApplicationFontChange) Report([](TFormMessageListener& l) { l.FontChanged(); });
        return false;
    }
    if (type != QEvent::Close && type != QEvent::Show && type != QEvent::Hide && type != QEvent::WindowStateChange)
        return false;
    Entry* e = FindByWindow(watched);
    if (!e) return false;
    TCustomForm* form = e->Form();
    switch (type) {
    case QEvent::Close: CloseRequest(*e, event); return true;
    case QEvent::Show:
    case QEvent::Hide:
        if (!event->spontaneous())
            Report([&](TFormMessageListener& l) { l.FormShowChanged(form, type == QEvent::Show); });
        return false;
    default: {
        const TWindowState state = StateOf(e->window);
        if (state == e->state) return false;
        e->state = state;
        Report([&](TFormMessageListener& l) { l.FormWindowStateChanged(form, state); });
        return false;
    }
    }
}

}  // namespace

void SetFormMessageListener(TFormMessageListener* listener)
{
    if (TFormMessageHub* h = listener ? Hub() : hub.data()) h->SetListener(listener);
}

TFormMessageListener* FormMessageListener()
{
    return hub ? hub->listener : nullptr;
}

void ManageForm(TCustomForm* form)
{
    if (TFormMessageHub* h = Hub()) h->Manage(form);
}

void UnmanageForm(TCustomForm* form)
{
    if (hub) hub->Unmanage(form);
}

bool IsFormManaged(const TCustomForm* form)
{
    return hub && hub->Managed(form);
}
