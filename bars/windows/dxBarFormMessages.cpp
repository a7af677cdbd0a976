#include "dxBarFormMessages.h"

#include "Application.h"
#include "Desktop.h"
#include "Forms.h"
#include "FloatingWorkArea.h"
#include "Scope.h"
#include "dxBarBar.h"
#include "dxBarControl.h"
#include "dxBarCustomizingNotifications.h"
#include "dxBarCustomControl.h"
#include "dxBarFloatFrame.h"
#include "dxBarItem.h"
#include "dxBarManager.h"
#include "dxBarSubItemControl.h"
#include "dxBarSubMenuControl.h"

#include <QGuiApplication>
#include <QList>
#include <QPointer>
#include <QSet>
#include <QTimer>
#include <QWidget>

namespace {

TdxBarFormMessages listener;
std::function<TCustomForm*()> customizingWindowForm;
// The managers whose floating-bar update runs.
QSet<const TdxBarManager*> insideActivation;

TCustomForm* CustomizingWindowForm()
{
    return customizingWindowForm ? customizingWindowForm() : nullptr;
}

// The manager of a form; none while the form or its manager is going.
TdxBarManager* ManagerOf(const TCustomForm* form)
{
    TdxBarManager* manager = form && !form->IsDestroying() ? TdxBarManagerList::Instance()->FindByForm(form) : nullptr;
    return manager && !manager->IsDestroying() ? manager : nullptr;
}

// Every live manager, guarded: what one of them runs may free another.
QList<QPointer<TdxBarManager>> Managers()
{
    QList<QPointer<TdxBarManager>> managers;
    TdxBarManagerList* list = TdxBarManagerList::Instance();
    for (int i = 0; i < list->Count(); ++i) managers << list->Items(i);
    return managers;
}

QList<QPointer<TdxBar>> BarsOf(TdxBarManager* manager)
{
    QList<QPointer<TdxBar>> bars;
    TdxBars* all = manager->Bars();
    for (int i = 0; all && i < all->Count(); ++i) bars << all->Items(i);
    return bars;
}

TdxBarControl* FloatingWindowOf(const TdxBar* bar)
{
    auto* window = bar && bar->ItemLinks() ? qobject_cast<TdxBarControl*>(bar->ItemLinks()->BarControl()) : nullptr;
    return dxBarIsBarControlAlive(window) && window->Floating() ? window : nullptr;
}

bool IsMinimized(const TCustomForm* form)
{
    return form && form->Handle() && form->Handle()->isMinimized();
}

// Floating windows show while their form shows (or while customizing) and is not minimized.
void ShowFloatingWindows(TdxBarManager* manager, bool show)
{
    TCustomForm* form = manager->OwnerFormAsForm();
    const bool formShown = form && form->Handle() && form->Handle()->isVisible();
    if (show && ((!formShown && !manager->IsCustomizing()) || IsMinimized(form))) return;
    for (const QPointer<TdxBar>& bar : BarsOf(manager)) {
        QPointer<TdxBarControl> window = FloatingWindowOf(bar);
        if (!window || window->Visible() == show) continue;
        if (!show) {
            window->Hide();
            continue;
        }
        window->Show();
        if (window) window->UpdateWindow();
    }
}

// The active bar window closes its menus when it is the manager's, or, while the manager
// customizes, one of the customizing window's own.
void CloseMenusOf(TdxBarManager* manager)
{
    TCustomdxBarControl* head = dxBarActiveBarControl();
    TdxBarManager* owner = head ? head->BarManager() : nullptr;
    if (!owner) return;
    TCustomForm* customizing = manager->IsCustomizing() ? CustomizingWindowForm() : nullptr;
    if (owner == manager || (customizing && owner->OwnerFormAsForm() == customizing)) head->HideAll();
}

// The floating bars stay when the activation went to a window of the program that is no
// form (a message box, the find dialog), or to the open customizing window while the manager
// customizes; another form, or no window of the program, hides them.
bool KeepsFloatingBars(TdxBarManager* manager, QWidget* other)
{
    if (!other) return false;
    TCustomForm* form = TCustomForm::FromWindow(other->window());
    if (!form || form == manager->OwnerFormAsForm()) return true;
    return manager->IsCustomizing() && form == CustomizingWindowForm();
}

// Where a floating bar without a window would stand: its float position, and the window
// size its float client size gives.
TRect FloatRect(const TdxBar& bar)
{
    const floatingframe::TSize size =
        dxBarFloatFrame(&bar).WindowSize({bar.FloatClientWidth(), bar.FloatClientHeight()});
    return TRect::Bounds(bar.FloatLeft(), bar.FloatTop(), size.X, size.Y);
}

int HelpContextOf(TdxBarItemControl* control)
{
    TdxBarItem* item = control ? control->Item() : nullptr;
    return item ? item->HelpContext() : 0;
}

// The head's selected control's help context, else that of the nearest menu up the chain
// whose owning control has one.
int ChainHelpContext(TCustomdxBarControl* head)
{
    int context = HelpContextOf(head->SelectedControl());
    int guard = 0;
    for (TCustomdxBarControl* w = head; !context && w && guard < 1000; w = w->ParentBar(), ++guard)
        if (auto* menu = qobject_cast<TdxBarSubMenuControl*>(w)) context = HelpContextOf(menu->OwnerSubItemControl());
    return context;
}

// A form the customizing window disabled hands its activation on to that window.
void PassActivationToCustomizingWindow(const TCustomForm* form)
{
    TCustomForm* customizing = CustomizingWindowForm();
    QWidget* window = customizing ? customizing->Handle() : nullptr;
    if (!window || !window->isVisible() || !form->Handle() || form->Handle()->isEnabled()) return;
    // From the event loop: the window system is still handing the activation to the form.
    // An activation that has moved on meanwhile is left alone.
    const QPointer<QWidget> formWindow = form->Handle();
    QTimer::singleShot(0, window, [window, formWindow] {
        if (!window->isVisible() || !formWindow || !formWindow->windowHandle() ||
            QGuiApplication::focusWindow() != formWindow->windowHandle())
            return;
        window->raise();
        window->activateWindow();
    });
}

}  // namespace

void dxBarInstallFormMessages(bool install)
{
    if (install)
        SetFormMessageListener(&listener);
    else if (FormMessageListener() == &listener)
        SetFormMessageListener(nullptr);
}

void dxBarSetCustomizingWindowFormFunction(std::function<TCustomForm*()> fn)
{
    customizingWindowForm = std::move(fn);
}

bool dxBarInsideActivation(const TdxBarManager* manager)
{
    return insideActivation.contains(manager);
}

void dxBarUpdateFloatingBars(TdxBarManager* manager, bool active, QWidget* other)
{
    if (!manager || dxBarInsideActivation(manager)) return;
    insideActivation.insert(manager);
    TScopeExit leave([manager] { insideActivation.remove(manager); });
    QPointer<TdxBarManager> guard(manager);
    if (active) {
        ShowFloatingWindows(manager, true);
        return;
    }
    CloseMenusOf(manager);
    if (guard && !KeepsFloatingBars(manager, other)) ShowFloatingWindows(manager, false);
}

void dxBarKeepFloatingBarsInWorkArea(TdxBarManager* manager)
{
    if (!manager) return;
    const std::vector<TMonitorInfo> monitors = GetMonitors();
    for (const QPointer<TdxBar>& bar : BarsOf(manager)) {
        if (!bar || bar->DockingStyle() != dsNone) continue;
        TdxBarControl* window = FloatingWindowOf(bar);
        const TRect r = window ? window->WindowRect() : FloatRect(*bar);
        const TRect moved = floatingframe::MoveIntoWorkArea(r, NearestWorkArea(monitors, r));
        if (moved == r) continue;
        if (window) {
            window->SetWindowPos(moved, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        } else {
            bar->SetFloatLeft(moved.Left);
            if (bar) bar->SetFloatTop(moved.Top);
        }
    }
}

bool dxBarItemHelp(const TPoint& cursor)
{
    int context = 0;
    if (TCustomdxBarControl* head = dxBarActiveBarControl()) {
        context = ChainHelpContext(head);
        head->HideAll();
    } else if (auto* window =
                   dynamic_cast<TCustomdxBarControl*>(TWindow::FromWidget(TWindow::WindowFromPoint(cursor)))) {
        context = HelpContextOf(dxBarWindowServices().BarWindowControlAt(window, cursor));
    }
    if (context && Application) Application->HelpContext(context);
    return context != 0;
}

void TdxBarFormMessages::FormActivate(TCustomForm* form, bool active, QWidget* other)
{
    if (form && form == CustomizingWindowForm()) {
        dxBarCustomizingForm().WindowActivated(active, other);
        return;
    }
    TdxBarManager* manager = ManagerOf(form);
    if (!manager) return;
    // Bar windows take no activation; should one of the manager's own get it, nothing changes.
    auto* barWindow = dynamic_cast<TCustomdxBarControl*>(TWindow::FromWidget(other));
    if (!active && barWindow && barWindow->BarManager() == manager) return;
    QPointer<TCustomForm> guard(form);
    QPointer<TdxBarManager> managerGuard(manager);
    const bool inside = dxBarInsideActivation(manager);
    dxBarUpdateFloatingBars(manager, active, other);
    // An MDI frame passes its activation on to its active child's manager.
    if (guard && managerGuard && !inside && (!active || !manager->IsCustomizing()))
        if (TdxBarManager* childManager = ManagerOf(form->ActiveMDIChild()))
            dxBarUpdateFloatingBars(childManager, active, other);
    if (active && guard && !dxBarInsideActivation(manager)) PassActivationToCustomizingWindow(form);
}

void TdxBarFormMessages::MDIChildActivated(TCustomForm* frame)
{
    QPointer<TCustomForm> guard(frame);
    if (TdxBarManager* manager = ManagerOf(frame)) manager->MDIUpdate();
    if (!guard) return;
    // Each child's floating bars follow whether it is the active child.
    QList<QPointer<TCustomForm>> children;
    for (int i = 0; i < frame->MDIChildCount(); ++i) children << frame->MDIChildren(i);
    for (const QPointer<TCustomForm>& child : children) {
        if (!guard || !child) continue;
        const bool active = child == frame->ActiveMDIChild();
        if (TdxBarManager* manager = ManagerOf(child))
            dxBarUpdateFloatingBars(manager, active, active ? nullptr : frame->Handle());
    }
}

void TdxBarFormMessages::MDIChildStateChanged(TCustomForm* frame, TCustomForm* /*child*/)
{
    if (TdxBarManager* manager = ManagerOf(frame)) manager->MDIUpdate();
}

void TdxBarFormMessages::FormWindowStateChanged(TCustomForm* form, TWindowState state)
{
    if (TdxBarManager* manager = ManagerOf(form)) ShowFloatingWindows(manager, state != wsMinimized);
}

void TdxBarFormMessages::FormShowChanged(TCustomForm* form, bool shown)
{
    TdxBarManager* manager = ManagerOf(form);
    // The customizing window shows and hides with the form of the manager it serves.
    TCustomForm* customizing = CustomizingWindowForm();
    if (manager && customizing && manager->IsCustomizing() && !manager->IsDesigning()) customizing->SetVisible(shown);
    if (!shown) dxBarUpdateFloatingBars(manager, false, nullptr);
}

void TdxBarFormMessages::FormCloseRequest(TCustomForm* form)
{
    if (TdxBarManager* manager = ManagerOf(form)) ShowFloatingWindows(manager, false);
}

void TdxBarFormMessages::FormCloseCancelled(TCustomForm* form)
{
    if (TdxBarManager* manager = ManagerOf(form)) ShowFloatingWindows(manager, true);
}

void TdxBarFormMessages::PaletteChanged()
{
    // The brushes and the pattern are made from the colour table at each paint: a repaint
    // makes them again.
    for (const QPointer<TdxBarManager>& manager : Managers())
        if (manager) dxBarWindowServices().ManagerWindowsChanged(manager, TdxBarWindowChange::Brushes);
}

void TdxBarFormMessages::FontChanged()
{
    // The system's menu font may have changed with it: the managers whose font follows it
    // take it again, and their bars are measured anew.
    for (const QPointer<TdxBarManager>& manager : Managers())
        if (manager && (manager->UseSystemFont() || manager->Scaled())) manager->SystemFontStep();
}

void TdxBarFormMessages::WorkAreaChanged()
{
    for (const QPointer<TdxBarManager>& manager : Managers())
        if (manager) dxBarKeepFloatingBarsInWorkArea(manager);
}
