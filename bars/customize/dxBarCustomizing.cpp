#include "dxBarCustomizing.h"

#include "ExceptionBarrier.h"
#include "FormMessages.h"
#include "Forms.h"
#include "Scope.h"
#include "dxBarCustomizingForm.h"
#include "dxBarDesignCommands.h"
#include "dxBarFormMessages.h"
#include "dxBarManager.h"
#include "dxBarSubMenuEditor.h"
#include "dxBarToolbarsPopup.h"

#include <QWidget>

TdxBarCustomizing::TdxBarCustomizing()
{
    dxBarSetCustomizingForm(this);
    // The open window is no other form to the bars' forms: their floating bars stay shown.
    dxBarSetCustomizingWindowFormFunction([this] { return Form(); });
}

TdxBarCustomizing* TdxBarCustomizing::Instance()
{
    return dynamic_cast<TdxBarCustomizing*>(&dxBarCustomizingForm());
}

TdxBarCustomizingForm* TdxBarCustomizing::Window() const
{
    return window_;
}

bool TdxBarCustomizing::Exists() const
{
    return !window_.isNull();
}

TdxBarCustomizing::~TdxBarCustomizing()
{
    if (window_ && manager_) {
        try {
            manager_->Customizing(false);
        } catch (...) {}
    }
    forms_.Enable();
    // What is left goes now: nothing may be told of it any more.
    openWindow_ = nullptr;
    QList<QPointer<TdxBarCustomizingForm>> windows = std::exchange(closed_, {});
    windows << window_;
    for (const QPointer<TdxBarCustomizingForm>& window : windows) delete window.data();
    if (&dxBarCustomizingForm() == this) {
        dxBarSetCustomizingForm(nullptr);
        dxBarSetCustomizingWindowFormFunction({});
    }
}

TdxBarCustomizingForm* TdxBarCustomizing::CreateWindow(TdxBarManager* manager)
{
    return Create<TdxBarCustomizingForm>(nullptr, manager);
}

void TdxBarCustomizing::Open(TdxBarManager* manager)
{
    if (window_ || !manager) return;
    QPointer<TdxBarManager> guard(manager);
    try {
        if (manager->OnShowCustomizingForm) manager->OnShowCustomizingForm(manager);
        if (!guard) return;
        hideOwed_ = manager;
        forms_.Disable();
        manager_ = manager;
        TdxBarCustomizingForm* window = CreateWindow(manager);
        window_ = window;
        openWindow_ = window;
        QObject::connect(window, &QObject::destroyed, &events_, [this](QObject* gone) { WindowDestroyed(gone); });
        // Its activation is reported like a form's (WindowActivated).
        ManageForm(window);
        window->Show();
        window->Handle()->activateWindow();
    } catch (...) {
        // The mode would stay on with no window to end it: it ends again, and the forms come
        // back, before the failure is shown.
        RunGuarded(nullptr, [&] {
            TdxBarCustomizingForm* window = window_;
            window_ = nullptr;
            openWindow_ = nullptr;
            delete window;
            EnableForms(guard);
            if (guard) guard->Customizing(false);
        });
        HandleGuardedException(nullptr);
    }
}

void TdxBarCustomizing::Close(TdxBarManager* manager)
{
    dxBarFreeSubMenuEditor();
    if (manager == manager_) {
        if (!closing_ && window_) {
            TdxBarCustomizingForm* window = window_;
            window_ = nullptr;
            openWindow_ = nullptr;
            window->Hide();
            // Freed once the handler that closed it (its own Close button) has returned.
            closed_.removeAll(nullptr);
            closed_ << window;
            window->Release();
        }
        manager_ = nullptr;
        EnableForms(manager);
    }
    FireHide(manager);
}

void TdxBarCustomizing::WindowDestroyed(const QObject* window)
{
    if (!window || window != openWindow_) return;
    dxBarFreeSubMenuEditor();
    window_ = nullptr;
    openWindow_ = nullptr;
    const QPointer<TdxBarManager> manager = manager_;
    {
        TRestore closing(closing_, true);
        RunGuarded(nullptr, [&] {
            if (manager) manager->Customizing(false);
        });
    }
    // Also when the manager was no longer customizing.
    manager_ = nullptr;
    EnableForms(manager);
    RunGuarded(nullptr, [&] { FireHide(manager); });
}

void TdxBarCustomizing::EnableForms(TdxBarManager* manager)
{
    TCustomForm* form = manager && !manager->IsDestroying() ? manager->OwnerFormAsForm() : nullptr;
    const QPointer<QWidget> focus = forms_.FocusBefore(form);
    forms_.Enable();
    QWidget* window = form && !form->IsDestroying() ? form->Handle() : nullptr;
    if (!window || !window->isVisible() || !window->isEnabled()) return;
    // Qt gives the focus back to nothing: the form's active control, else the widget that
    // had it before, takes it again.
    window->activateWindow();
    if (TWinControl* active = form->ActiveControl(); active && active->CanFocus())
        active->SetFocus();
    else if (focus && focus->isVisible() && focus->isEnabled())
        focus->setFocus(Qt::OtherFocusReason);
}

void TdxBarCustomizing::FireHide(TdxBarManager* manager)
{
    if (!manager || hideOwed_ != manager) return;
    hideOwed_ = nullptr;
    if (manager->OnHideCustomizingForm) manager->OnHideCustomizingForm(manager);
}

TCustomForm* TdxBarCustomizing::Form() const
{
    return window_;
}

void TdxBarCustomizing::MousePressed(TNativeWindow* window)
{
    // Only presses on the disabled forms themselves: the bars' own popups and floating
    // windows lie above the window and stay there.
    if (!window_ || !window || !window_->Handle() || !forms_.Contains(window)) return;
    QWidget* top = window->window();
    if (TCustomForm::FromWindow(top) == nullptr) return;
    QWidget* own = window_->Handle();
    own->raise();
    if (!own->isActiveWindow()) own->activateWindow();
}

void TdxBarCustomizing::WindowActivated(bool active, TNativeWindow* other)
{
    const QPointer<TdxBarCustomizingForm> window = window_;
    TdxBarManager* manager = manager_;
    if (!window || !manager) return;
    // Its owner's floating bars show with it. Losing the activation hides them only when it
    // went to another program: within the program the owner form's own activation decides.
    if (active || !other) dxBarUpdateFloatingBars(manager, active, other);
    if (active && window && !dxBarCustomizingPopup()) window->PageControlChange(window);
}

void TdxBarCustomizing::StyleChanged()
{
    if (window_) window_->StyleChanged();
}

void TdxBarCustomizing::HelpButtonChanged()
{
    if (window_) window_->HelpButtonChanged();
}

void TdxBarCustomizing::BarChanged(TdxBar* bar)
{
    if (window_) window_->BarChanged(bar);
}

void TdxBarCustomizing::ItemsChanged()
{
    if (window_) window_->ItemsChanged();
}

void TdxBarCustomizing::SelectItem(TdxBarItem* item, bool force)
{
    if (window_) window_->SelectItem(item, force);
}

void TdxBarCustomizing::ItemDestroyed(TdxBarItem* item)
{
    if (window_) window_->ItemDestroyed(item);
}

void TdxBarCustomizing::OptionsChanged()
{
    if (window_) window_->OptionsChanged();
}

void TdxBarCustomizing::ItemRenamed(TdxBarItem* item)
{
    if (window_) window_->ItemRenamed(item);
}

void TdxBarCustomizing::GroupRenamed(TdxBarGroup* group)
{
    if (window_) window_->GroupRenamed(group);
}

void dxBarShowDesignCustomizing(TdxBarManager* manager)
{
    if (manager && manager->IsDesigning()) manager->Customizing(true);
}

bool TdxBarCustomizing::DesignDragOver(TdxBarItem* item, const QPoint& screen, int& cursor)
{
    // Over the sub-menu editor, its menu shows.
    if (TdxBarSubMenuEditor* editor = dxBarSubMenuEditor(); editor && editor->Handle()) {
        QWidget* window = editor->Handle();
        if (window->isVisible() && window->frameGeometry().contains(screen)) editor->ShowMenu();
    }
    TdxBarDesignCommands* design = window_ ? window_->DesignCommands() : nullptr;
    return design && design->DragOver(item, screen, cursor);
}

bool TdxBarCustomizing::DesignDragEnd(TdxBarItem* item, bool dropped)
{
    TdxBarDesignCommands* design = window_ ? window_->DesignCommands() : nullptr;
    return design && design->DragEnd(item, dropped);
}
