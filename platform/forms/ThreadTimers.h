#pragma once
// Thread timers: timers without a window that call a procedure, repeating every interval
// until they are killed (SetTimer with no window and a timer procedure). Ids are never 0,
// so 0 can stand for "no timer".
//
// The clock behind them is replaceable: a manual clock (tests) fires nothing on its own;
// AdvanceTimerClock moves it on and fires every timer that fell due, in order.
#include <functional>

using TTimerProc = std::function<void()>;

// Starts a timer; its procedure runs on the GUI thread, guarded (an exception goes to the
// application's handler).
unsigned SetThreadTimer(int intervalMs, TTimerProc proc);
// Stops the timer (nothing for 0 or an unknown id) and sets id to 0.
void KillThreadTimer(unsigned& id);
bool ThreadTimerActive(unsigned id);

// Switches between the real clock and a manual one; every running timer is dropped.
void UseManualTimerClock(bool manual);
// Manual clock only: moves the clock on by ms and fires what fell due on the way.
void AdvanceTimerClock(int ms);
