#include "ExceptionBarrier.h"

#include "Application.h"

#include <QDebug>

namespace {
std::function<void(QObject*, const std::exception&)>& ReplacedHandler()
{
    static std::function<void(QObject*, const std::exception&)> handler;
    return handler;
}

void HandOnToReplacedHandler(QObject* sender) noexcept
{
    try {
        try {
            throw;
        } catch (const std::exception& e) {
            ReplacedHandler()(sender, e);
        } catch (...) {
            ReplacedHandler()(sender, Exception(QStringLiteral("Unknown exception")));
        }
    } catch (...) {
        qWarning("Exception in the replaced exception handler");
    }
}
}  // namespace

void SetGuardedExceptionHandler(std::function<void(QObject* sender, const std::exception& e)> handler)
{
    ReplacedHandler() = std::move(handler);
}

void HandleGuardedException(QObject* sender) noexcept
{
    if (ReplacedHandler()) {
        HandOnToReplacedHandler(sender);
        return;
    }
    if (Application) {
        Application->HandleCurrentException(sender);
        return;
    }
    try {
        throw;
    } catch (const std::exception& e) {
        qWarning("Unhandled exception: %s", e.what());
    } catch (...) {
        qWarning("Unhandled exception");
    }
}

bool RunGuarded(QObject* sender, const std::function<void()>& fn) noexcept
{
    try {
        fn();
        return true;
    } catch (...) {
        HandleGuardedException(sender);
        return false;
    }
}

TQtApplication::TQtApplication(int& argc, char** argv) : QApplication(argc, argv)
{
    // Forms close and free through our own code; Qt must not quit on its own.
    setQuitOnLastWindowClosed(false);
    application_ = new TApplication(nullptr);
}

TQtApplication::~TQtApplication()
{
    // Components own widgets; they must go while Qt is fully alive.
    delete application_;
}

bool TQtApplication::notify(QObject* receiver, QEvent* event)
{
    // Inline rather than through RunGuarded: this runs for every event.
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        HandleGuardedException(receiver);
        return false;
    }
}
