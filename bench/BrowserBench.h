#pragma once
// What the browser benchmarks share: a headless environment, waiting on the event loop, and
// sizes given as "20m" or "100k".
#include <QByteArray>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QString>
#include <cstdlib>
#include <functional>

namespace browserbench {

// Offscreen, without a sandbox or GPU, settings and runtime files under home.
inline void HeadlessEnvironment(const QByteArray& home)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    setenv("QTWEBENGINE_CHROMIUM_FLAGS", "--no-sandbox --disable-gpu", 1);
    setenv("XDG_CONFIG_HOME", home.constData(), 1);
    setenv("XDG_RUNTIME_DIR", home.constData(), 1);
    unsetenv("DISPLAY");
    unsetenv("WAYLAND_DISPLAY");
}

// Runs the event loop until pred holds; false after timeoutMs.
inline bool WaitFor(const std::function<bool()>& pred, int timeoutMs)
{
    QElapsedTimer t;
    t.start();
    while (!pred()) {
        if (t.elapsed() > timeoutMs) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 5);
    }
    return true;
}

// Runs the event loop for ms milliseconds, the engines idle.
inline void Settle(int ms)
{
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < ms) QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 5);
}

inline qint64 ParseSize(const QString& s)
{
    const QString l = s.trimmed().toLower();
    if (l.endsWith('k')) return l.chopped(1).toLongLong() << 10;
    if (l.endsWith('m')) return l.chopped(1).toLongLong() << 20;
    return l.toLongLong();
}

}  // namespace browserbench
