#include "dxBarHooks.h"

#include "Application.h"
#include "Desktop.h"
#include "Forms.h"
#include "Scope.h"
#include "Window.h"
#include "dxBarBar.h"
#include "dxBarControl.h"
#include "dxBarCustomControl.h"
#include "dxBarFormMessages.h"
#include "dxBarItem.h"
#include "dxBarItemLink.h"
#include "dxBarItems.h"
#include "dxBarManager.h"
#include "dxBarQuickControl.h"

#include <QApplication>
#include <QPointer>
#include <QWidget>

namespace {

constexpr int VK_PROCESSKEY = 229;

TdxBarPopupMenuLinkHandler popupMenuLinkHandler;

bool ShowPopupMenuLink(QWidget* window, const TPoint& screen)
{
    if (!popupMenuLinkHandler || !window) return false;
    TdxBarManager* manager = TdxBarManagerList::Instance()->FindByForm(TCustomForm::FromWindow(window->window()));
    return manager && popupMenuLinkHandler(manager, window, screen);
}

TdxBarControl* MainMenuBarWindow(TdxBarManager* manager)
{
    TdxBar* bar = manager ? manager->MainMenuBar() : nullptr;
    auto* window = bar && bar->ItemLinks() ? qobject_cast<TdxBarControl*>(bar->ItemLinks()->BarControl()) : nullptr;
    return dxBarIsBarControlAlive(window) ? window : nullptr;
}

// The bars a key is offered to: the main menu bar first, then every visible other bar.
QList<TdxBar*> BarsInDispatchOrder(TdxBarManager* manager, bool mainMenuOnlyWithWindow)
{
    QList<TdxBar*> bars;
    TdxBar* mainMenu = manager->MainMenuBar();
    if (mainMenu && (!mainMenuOnlyWithWindow || MainMenuBarWindow(manager))) bars << mainMenu;
    TdxBars* all = manager->Bars();
    for (int i = 0; all && i < all->Count(); ++i) {
        TdxBar* bar = all->Items(i);
        if (bar && bar != mainMenu && bar->Visible()) bars << bar;
    }
    return bars;
}

bool DispatchAccelerator(TdxBarManager* manager, int key, TShiftState shift)
{
    TdxBarItemLinks* links = nullptr;
    TdxBarItemLink* found = nullptr;
    for (TdxBar* bar : BarsInDispatchOrder(manager, true)) {
        links = bar->ItemLinks();
        found = links ? links->FindByAccelerator(key, shift, nullptr) : nullptr;
        if (found) break;
    }
    if (!found || !found->Item() || !found->Item()->Enabled()) return false;
    const bool unique = links->FindByAccelerator(key, shift, found) == found;
    QPointer<TdxBarItemControl> control = found->Control();
    auto* window = qobject_cast<TdxBarControl*>(links->BarControl());
    if (!control || !dxBarIsBarControlAlive(window)) return true;
    QPointer<TdxBarControl> guard(window);
    if (!control->HidesMenusOnClick() || !unique) window->BarGetFocus(control);
    if (!unique || !guard || !control) return true;
    if (control->IsExpandable()) window->SetDropDownMode(true);
    control->Click(false);
    return true;
}

// A combo's drop-down window (list, calendar, tree), a popup of it or a widget inside: a window
// of this layer that the combo owns, directly or through its owners.
bool IsComboDropDown(QWidget* widget)
{
    for (QWidget* w = widget; w; w = w->parentWidget())
        if (TWindow* window = TWindow::FromWidget(w))
            for (TComponent* owner = window->Owner(); owner; owner = owner->Owner())
                if (qobject_cast<TCustomdxBarCombo*>(owner)) return true;
    return false;
}

// The chain of the active bar window: it and the windows it was opened from.
bool IsOverActiveChain(QWidget* widget)
{
    if (!widget) return false;
    int guard = 0;
    // A combo's drop-down is open only for the chain's selected combo: it counts as the
    // chain's own.
    if (IsComboDropDown(widget)) return true;
    for (TCustomdxBarControl* w = dxBarActiveBarControl(); w && guard < 1000; w = w->ParentBar(), ++guard) {
        QWidget* handle = w->Handle();
        if (handle && (widget == handle || widget->parentWidget() == handle)) return true;
    }
    return false;
}

bool IsOverItemControl(QWidget* widget, const TPoint& screen)
{
    auto* window = dynamic_cast<TCustomdxBarControl*>(TWindow::FromWidget(widget));
    if (window && window->SelectedControl()) return true;
    if (!TWindow::GetCapture()) return false;
    TCustomdxBarControl* active = dxBarActiveBarControl();
    return active && TWindow::WindowFromPoint(screen) == active->Handle() && active->SelectedControl();
}

// A button message outside the quick-customization drop-down (and the menus opened from it)
// closes it; its own mark keeps it, except for a right press.
void CloseQuickControlOnClick(const TMouseHookMessage& m, QWidget* window)
{
    QPointer<TdxBarQuickControl> quick = dxBarQuickControl();
    if (!quick || m.Kind == TMouseHookKind::Move) return;
    auto* target = dynamic_cast<TCustomdxBarControl*>(TWindow::FromWidget(window));
    if (target && dxBarGetRootControl(target) == quick) return;
    if (IsComboDropDown(window)) return;
    TdxBarControl* owner = quick->OwnerControl();
    if (owner && target == owner && owner->GetMarkRect().Contains(owner->ScreenToClient(m.Screen)) &&
        !(m.Kind == TMouseHookKind::ButtonDown && m.Button == VK_RBUTTON))
        return;
    if (owner) owner->SetMarkState(0);
    if (quick) delete quick.data();
}

// F1 alone going down asks for help.
bool IsHelpKey(const TKeyHookMessage& m)
{
    return m.Key == VK_F1 && !m.KeyUp && !(m.Shift & (ssShift | ssCtrl | ssAlt));
}

// A key or a press hides the hint that shows or waits.
void HideHintOnInput()
{
    if (TdxBarManager* manager = dxBarHintManager()) manager->UpdateHint(false, {});
}

}  // namespace

void dxBarSetPopupMenuLinkHandler(TdxBarPopupMenuLinkHandler handler)
{
    popupMenuLinkHandler = std::move(handler);
}

TdxBarManager* dxBarKeyboardManager(QWidget* activeWindow)
{
    TCustomForm* form = TCustomForm::FromWindow(activeWindow);
    if (!form) return nullptr;
    TdxBarManagerList* list = TdxBarManagerList::Instance();
    // An MDI frame's keys go to its active child's manager; a child without one, or whose
    // manager shows no main menu bar, leaves them to the frame's.
    if (TCustomForm* child = form->MDIClient() ? form->ActiveMDIChild() : nullptr) {
        TdxBarManager* manager = list->FindByForm(child);
        if (manager && !manager->IsDesigning() && MainMenuBarWindow(manager)) return manager;
    }
    if (TdxBarManager* manager = list->FindByForm(form)) return manager->IsDesigning() ? nullptr : manager;
    // A form without a manager borrows the main form's when that allows it.
    TCustomForm* mainForm = Application ? Application->MainForm() : nullptr;
    TdxBarManager* main = mainForm ? list->FindByForm(mainForm) : nullptr;
    if (!main || !main->property("AllowCallFromAnotherForm").toBool()) return nullptr;
    return mainForm->Handle() && mainForm->Handle()->isEnabled() ? main : nullptr;
}

bool dxBarDispatchShortCut(TdxBarManager* manager, int key, TShiftState shift)
{
    if (!manager) return false;
    const TShortCut shortCut = ShortCut(key, shift);
    QPointer<TdxBarManager> guard(manager);
    const QList<TdxBar*> order = BarsInDispatchOrder(manager, false);
    const QList<QPointer<TdxBar>> bars(order.cbegin(), order.cend());
    for (const QPointer<TdxBar>& bar : bars) {
        // A fired shortcut may free the bars, the manager or the form: touch nothing after.
        if (bar && bar->IsShortCut(shortCut)) return true;
        if (!guard) return false;
    }
    if (!(shift & ssAlt)) return false;
    return DispatchAccelerator(manager, key, shift & ~TShiftState(ssAlt));
}

bool TdxBarHooks::KeyboardHook(const TKeyHookMessage& m)
{
    const int key = m.Key;
    if (key == 0 || key == VK_PROCESSKEY) return false;
    if (!m.KeyUp) HideHintOnInput();
    if (swallowKeyUp_ && key == swallowedKey_ && m.KeyUp) {
        swallowKeyUp_ = false;
        return true;
    }

    // Esc while a bar is being sized takes its capture away, which puts the size back.
    if (auto* sized = dynamic_cast<TdxBarControl*>(TWindow::GetCapture());
        sized && sized->SizingEdge() && key == VK_ESCAPE && !m.KeyUp) {
        swallowKeyUp_ = true;
        swallowedKey_ = key;
        TWindow::ReleaseCapture();
        return true;
    }

    // An open menu or a toolbar in menu mode gets every key.
    if (QPointer<TCustomdxBarControl> active = dxBarActiveBarControl()) {
        TdxBarItemControl* selected = active->SelectedControl();
        if (active->IsCustomizing()) {
            // Esc ends a drag of the customizing mode; other keys go to the customizing window.
            if (key == VK_ESCAPE && TWindow::GetCapture() == active) {
                TWindow::ReleaseCapture();
                return true;
            }
        } else if (!(selected && selected->HasEditor() && selected->EditorFocused())) {
            if (!m.KeyUp) {
                swallowKeyUp_ = true;
                swallowedKey_ = key;
            }
            int k = key;
            if (IsHelpKey(m))
                dxBarItemHelp(GetCursorPos());
            else if (m.KeyUp)
                active->KeyUp(k, m.Shift);
            else
                active->KeyDown(k, m.Shift);
            // The release of a key that closed the chain is eaten too: F10 must not come
            // back as a new F10 release that enters menu mode again.
            if (!IsKeyDown(key)) swallowKeyUp_ = false;
            return true;
        }
    }

    if (TWindow::GetCapture() || QWidget::mouseGrabber()) return false;

    // The context key: the focused control's popup-menu link.
    const TShiftState mods = m.Shift & (ssShift | ssCtrl | ssAlt);
    if ((key == VK_APPS && m.KeyUp) || (key == VK_F10 && !m.KeyUp && mods == ssShift)) {
        if (ShowPopupMenuLink(QApplication::focusWidget(), TPoint(-1, -1))) return true;
    }

    // An open Qt popup (a text field's context menu) takes the keys like a window of its own.
    QWidget* popup = QApplication::activePopupWidget();
    TdxBarManager* manager = dxBarKeyboardManager(popup ? popup : QApplication::activeWindow());
    if (!manager || manager->IsCustomizing() || dxBarFocusedBar(manager)) return false;

    if (!m.KeyUp) {
        if (key == VK_MENU) {
            altPressed_ = true;
            return false;
        }
        altPressed_ = false;
        if (dxBarDispatchShortCut(manager, key, m.Shift)) return true;
        return IsHelpKey(m) && dxBarItemHelp(GetCursorPos());
    }
    const bool wasAlt = altPressed_;
    altPressed_ = false;
    TdxBarControl* mainMenu = MainMenuBarWindow(manager);
    if (!mainMenu) return false;
    const bool altAlone = key == VK_MENU && wasAlt && !m.OtherKeysDown;
    const bool f10 = key == VK_F10 && manager->property("UseF10ForMenu").toBool() && mods == TShiftState();
    if (!altAlone && !f10) return false;
    mainMenu->BarGetFocus(nullptr);
    return true;
}

void TdxBarHooks::ActivationChanged(bool active)
{
    if (active) return;
    altPressed_ = false;
    swallowKeyUp_ = false;
}

bool TdxBarHooks::MouseHook(const TMouseHookMessage& m)
{
    if (mouseBusy_) return false;
    QPointer<QWidget> window = m.Window;
    const bool press = m.Kind == TMouseHookKind::ButtonDown || m.Kind == TMouseHookKind::DoubleClick;
    if (press) {
        HideHintOnInput();
        dxBarCustomizingForm().MousePressed(window);
    }
    if (dxBarActiveBarControl()) {
        TRestore busy(mouseBusy_, true);
        // Right and middle releases count only over the menus.
        if (m.Kind == TMouseHookKind::ButtonUp && m.Button != VK_LBUTTON && !IsOverItemControl(window, m.Screen) &&
            !IsOverActiveChain(window))
            return true;
        int guard = 0;
        while (TCustomdxBarControl* active = dxBarActiveBarControl()) {
            if (++guard > 100) break;
            bool asPress = press;
            if (m.Kind == TMouseHookKind::ButtonUp && m.Button == VK_LBUTTON && !IsOverItemControl(window, m.Screen) &&
                !active->IsCustomizing() && (active->IsToolbar() || active->ParentBar()))
                asPress = true;
            if (!asPress) break;
            if (IsOverActiveChain(window)) break;
            active->HideAll();
        }
        if (window && !window->isVisible()) return true;
    }
    if (!mouseBusy_) CloseQuickControlOnClick(m, window);
    if (m.Kind == TMouseHookKind::ButtonUp && m.Button == VK_RBUTTON) return ShowPopupMenuLink(window, m.Screen);
    return false;
}
