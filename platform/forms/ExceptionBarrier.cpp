#include "ExceptionBarrier.h"

#include "Application.h"

#include <QDebug>

void HandleGuardedException(QObject* sender) noexcept {
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

bool RunGuarded(QObject* sender, const std::function<void()>& fn) noexcept {
    try {
        fn();
        return true;
    } catch (...) {
        HandleGuardedException(sender);
        return false;
    }
}

TQtApplication::TQtApplication(int& argc, char** argv) : QApplication(argc, argv) {
    // Forms close and free through our own code; Qt must not quit on its own.
    setQuitOnLastWindowClosed(false);
    application_ = new TApplication(nullptr);
}

TQtApplication::~TQtApplication() {
    // Components own widgets; they must go while Qt is fully alive.
    delete application_;
}

bool TQtApplication::notify(QObject* receiver, QEvent* event) {
    // Inline rather than through RunGuarded: this runs for every event.
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        HandleGuardedException(receiver);
        return false;
    }
}
