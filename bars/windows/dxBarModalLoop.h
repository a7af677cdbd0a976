#pragma once
// The modal loop of a drag: the mouse captured on one window, the keys offered to the
// drag's hook before anything else, and the loop running until the drag says it is done.
#include "InputHooks.h"
#include "Window.h"

#include <QEventLoop>
#include <QPointer>
#include <functional>

// Runs until finished is set and the loop left in loop is quit; a loop that ends any other
// way (the application quitting it) calls cancel. The capture is released if still held.
inline void dxBarRunDragLoop(TWindow* captureWindow, TInputHook& keys, const bool& finished, QPointer<QObject>& loop,
                             const std::function<void()>& cancel)
{
    QPointer<TWindow> capture = captureWindow;
    if (capture) capture->SetCapture();
    TModalLoopHook modal(keys);
    QEventLoop running;
    loop = &running;
    if (!finished) running.exec();
    loop = nullptr;
    if (!finished) cancel();
    if (capture && TWindow::GetCapture() == capture) TWindow::ReleaseCapture();
}

// Ends the loop dxBarRunDragLoop runs, if one runs.
inline void dxBarQuitDragLoop(const QPointer<QObject>& loop)
{
    if (auto* running = qobject_cast<QEventLoop*>(loop.data())) running->quit();
}
