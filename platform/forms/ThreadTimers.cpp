#include "ThreadTimers.h"

#include "ExceptionBarrier.h"

#include <QCoreApplication>
#include <QTimer>
#include <algorithm>
#include <map>

namespace {

struct TThreadTimer {
    int interval = 0;
    long long due = 0;  // manual clock
    TTimerProc proc;
    QTimer* timer = nullptr;  // real clock
};

std::map<unsigned, TThreadTimer> timers;
unsigned nextId = 1;
bool manualClock = false;
long long now = 0;

void Fire(unsigned id)
{
    auto it = timers.find(id);
    if (it == timers.end()) return;
    // The procedure may kill this timer (and so free the function it runs in).
    TTimerProc proc = it->second.proc;
    RunGuarded(nullptr, [&] { proc(); });
}

void Drop(TThreadTimer& t)
{
    if (!t.timer) return;
    t.timer->stop();
    t.timer->deleteLater();
    t.timer = nullptr;
}

}  // namespace

unsigned SetThreadTimer(int intervalMs, TTimerProc proc)
{
    const unsigned id = nextId++;
    if (nextId == 0) nextId = 1;
    TThreadTimer& t = timers[id];
    t.interval = std::max(1, intervalMs);
    t.proc = std::move(proc);
    if (manualClock) {
        t.due = now + t.interval;
    } else {
        t.timer = new QTimer(QCoreApplication::instance());
        t.timer->setInterval(t.interval);
        QObject::connect(t.timer, &QTimer::timeout, [id] { Fire(id); });
        t.timer->start();
    }
    return id;
}

void KillThreadTimer(unsigned& id)
{
    auto it = timers.find(id);
    id = 0;
    if (it == timers.end()) return;
    Drop(it->second);
    timers.erase(it);
}

bool ThreadTimerActive(unsigned id)
{
    return id != 0 && timers.count(id) != 0;
}

void UseManualTimerClock(bool manual)
{
    for (auto& [id, t] : timers) Drop(t);
    timers.clear();
    manualClock = manual;
    now = 0;
}

void AdvanceTimerClock(int ms)
{
    if (!manualClock) return;
    const long long target = now + std::max(0, ms);
    for (;;) {
        unsigned next = 0;
        long long due = target + 1;
        for (const auto& [id, t] : timers)
            if (t.due < due) {
                due = t.due;
                next = id;
            }
        if (!next) break;
        now = due;
        timers[next].due = due + timers[next].interval;
        Fire(next);
    }
    now = target;
}
