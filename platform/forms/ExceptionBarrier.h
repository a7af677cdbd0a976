#pragma once
// The exception barrier: no exception crosses Qt's event loop. Every entry from Qt into
// our code (slots and lambdas connected to signals, timers, event overrides, event
// filters) runs through RunGuarded or a Guarded wrapper, which hands any exception to
// Application->HandleException. TQtApplication::notify catches what is left as a backstop.
#include <QApplication>
#include <exception>
#include <functional>
#include <type_traits>
#include <utility>

class TApplication;
class QObject;

// Runs fn; an exception goes to Application's HandleException (sender passed on).
// Returns false when fn threw.
bool RunGuarded(QObject* sender, const std::function<void()>& fn) noexcept;
// Hands the exception being handled to Application (or the log without one). Call it
// only inside a catch block.
void HandleGuardedException(QObject* sender) noexcept;
// Sends guarded exceptions to handler instead of the application (tests); an empty
// function restores the application's handler. An exception the handler raises is dropped.
void SetGuardedExceptionHandler(std::function<void(QObject* sender, const std::exception& e)> handler);

namespace guarded_detail {
// Calls fn with args when it takes them, else without: a signal may carry more arguments
// than fn takes (clicked(bool) to a lambda without parameters).
template <class F, class... Args>
void CallWithOrWithout(const F& fn, Args&&... args)
{
    if constexpr (std::is_invocable_v<const F&, Args...>)
        fn(std::forward<Args>(args)...);
    else
        fn();
}
}  // namespace guarded_detail

// Wraps fn so that calling the wrapper runs fn guarded; fn takes all of the call's
// arguments or none. For connect():
//   connect(button, &QPushButton::clicked, this, Guarded([this] { DoClick(); }));
template <class F>
auto Guarded(F fn, QObject* sender = nullptr)
{
    return [fn = std::move(fn), sender](auto&&... args) {
        RunGuarded(sender, [&] { guarded_detail::CallWithOrWithout(fn, std::forward<decltype(args)>(args)...); });
    };
}

// The program's Qt application object: creates the TApplication and frees it (and so all
// forms) before Qt shuts down; catches exceptions that escape an event handler.
class TQtApplication : public QApplication {
    Q_OBJECT
public:
    TQtApplication(int& argc, char** argv);
    ~TQtApplication() override;
    bool notify(QObject* receiver, QEvent* event) override;

private:
    TApplication* application_ = nullptr;
};
