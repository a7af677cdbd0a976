// When the hint of a bar's hot item shows and hides, and what it says. One hint serves
// every manager of the thread; the hint window itself belongs to the bar windows.
#include "dxBarManager.h"

#include "Keys.h"
#include "ThreadTimers.h"
#include "dxBarServices.h"

#include <QCursor>

namespace {

// Held across timers: the manager may be freed while its hint waits.
QPointer<TdxBarManager> hintManager;
QString hintText;
bool hintShown = false;
unsigned hintTimer = 0;
unsigned quickTimer = 0;
bool quickReshow = false;

bool ManagerUsable(const TdxBarManager* manager)
{
    return manager && !manager->IsDestroying();
}

void StartHintTimer(int delay, void (*action)(TdxBarManager*))
{
    dxBarKillHintTimer();
    hintTimer = SetThreadTimer(delay, [action] {
        TdxBarManager* manager = hintManager;
        if (!ManagerUsable(manager)) return;
        dxBarKillHintTimer();
        action(manager);
    });
}

// The selected control of the manager and its bar window, when that window is not in
// menu or keyboard mode.
TdxBarItemControl* HintableControl(const TdxBarManager* manager)
{
    TdxBarItemControl* control = manager->SelectedControl();
    TCustomdxBarControl* window = control ? control->Parent() : nullptr;
    if (!window || dxBarWindowServices().IsBarWindowActive(window)) return nullptr;
    return control;
}

}  // namespace

TdxBarManager* dxBarHintManager()
{
    return hintManager;
}

bool dxBarHintShown()
{
    return hintShown;
}

bool dxBarQuickReshow()
{
    return quickReshow;
}

void dxBarKillHintTimer()
{
    KillThreadTimer(hintTimer);
}

void dxBarKillQuickTimer()
{
    KillThreadTimer(quickTimer);
    quickReshow = false;
}

void TdxBarManager::UpdateHint(bool show, const QString& text)
{
    if (IsDestroying() || IsCustomizing() || !showHint_) return;
    TdxBarWindowServices& services = dxBarWindowServices();
    hintText = text;
    hintShown = false;
    const bool wanted = show && (!text.isEmpty() || HintableControl(this));
    dxBarKillHintTimer();
    if (wanted) {
        if (services.HintVisible() || quickReshow) {
            ShowItemHint();
        } else {
            hintManager = this;
            StartHintTimer(dxBarHintShowDelay, [](TdxBarManager* m) { m->ShowItemHint(); });
        }
        return;
    }
    if (!services.HintVisible()) return;
    services.HideHint();
    if (!show) return;
    dxBarKillQuickTimer();
    quickReshow = true;
    quickTimer = SetThreadTimer(dxBarHintQuickDelay, [] { dxBarKillQuickTimer(); });
}

void TdxBarManager::ShowItemHint()
{
    const bool itemHint = hintText.isEmpty();
    TdxBarItemControl* control = HintableControl(this);
    if (itemHint && !control) return;
    const TPoint cursor = QCursor::pos();
    TdxBarWindowServices& services = dxBarWindowServices();
    if (itemHint && services.BarWindowControlAt(control->Parent(), cursor) != control) return;
    const TPoint at = cursor + TPoint(0, 20);
    QString text = itemHint ? control->GetHint().section(u'|', 0, 0) : hintText;
    if (!text.isEmpty() && (!itemHint || control->GetEnabled() || showHintForDisabledItems_)) {
        if (itemHint && showShortCutInHint_) {
            const QString shortCut = ShortCutToText(control->GetShortCut());
            if (!shortCut.isEmpty()) text += QStringLiteral(" (") + shortCut + u')';
        }
        QPointer<TdxBarManager> self(this);
        services.ActivateHint(at, text, this);
        if (!self) return;
        hintShown = true;
        hintManager = this;
        StartHintTimer(dxBarHintHideDelay, [](TdxBarManager* m) { m->UpdateHint(false, {}); });
        return;
    }
    UpdateHint(false, {});
}
