#include "dxBarDisabledForms.h"

#include "Forms.h"
#include "Window.h"
#include "dxBarManager.h"

#include <QWidget>
#include <utility>

void TdxBarDisabledForms::Disable()
{
    TdxBarManagerList* managers = TdxBarManagerList::Instance();
    for (int i = 0; i < managers->Count(); ++i) {
        TCustomForm* form = managers->Items(i)->OwnerFormAsForm();
        QWidget* window = form ? form->Handle() : nullptr;
        if (!window || !window->isEnabled() || Contains(window)) continue;
        forms_.append(TEntry{window, window->focusWidget()});
        window->setEnabled(false);
        // The floating bar windows are the form's window children: they come back on their own.
        for (QWidget* child : window->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            if (child->isWindow() && TWindow::FromWidget(child)) child->setEnabled(true);
    }
}

void TdxBarDisabledForms::Enable()
{
    const QList<TEntry> forms = std::exchange(forms_, {});
    for (const TEntry& entry : forms)
        if (entry.window) entry.window->setEnabled(true);
}

bool TdxBarDisabledForms::Contains(const QWidget* widget) const
{
    const QWidget* window = widget ? widget->window() : nullptr;
    // A bar window floating over a form is a window of its own: its form is its parent.
    while (window) {
        for (const TEntry& entry : forms_)
            if (entry.window == window) return true;
        window = window->parentWidget() ? window->parentWidget()->window() : nullptr;
    }
    return false;
}

QWidget* TdxBarDisabledForms::FocusBefore(const TCustomForm* form) const
{
    for (const TEntry& entry : forms_)
        if (form && entry.window == form->Handle()) return entry.focus;
    return nullptr;
}
