#pragma once
// Restore-on-exit brackets: what a block changes for its own duration is put back however
// the block is left, by a return or by an exception.
//
//   TRestore busy(busy_, true);                    // busy_ is true until the scope ends
//   TScopeExit unlock([&] { manager->Unlock(); });  // runs at the end of the scope
//   TUpdateScope update(strings);                  // BeginUpdate now, EndUpdate at the end
//
// When the scope ends by an exception, a second exception raised while restoring is
// dropped: the caller sees the one that ended the scope. Ending normally, an exception of
// the restoring code goes on to the caller.
#include <exception>
#include <type_traits>
#include <utility>

template <class F>
class [[nodiscard]] TScopeExit {
public:
    explicit TScopeExit(F f) : f_(std::move(f)), exceptionsAtStart_(std::uncaught_exceptions()) {}
    ~TScopeExit() noexcept(false)
    {
        if (!active_) return;
        if (std::uncaught_exceptions() <= exceptionsAtStart_) {
            f_();
            return;
        }
        try {
            f_();
        } catch (...) {
            // The exception that ended the scope is the one the caller sees.
        }
    }
    // The scope ends without running the code: a rollback that is no longer needed.
    void Dismiss() { active_ = false; }

    TScopeExit(const TScopeExit&) = delete;
    TScopeExit& operator=(const TScopeExit&) = delete;

private:
    F f_;
    int exceptionsAtStart_;
    bool active_ = true;
};

// Gives variable a value for the scope and its previous value back at the end.
template <class T>
class [[nodiscard]] TRestore {
public:
    // Only remembers the value: the scope may change the variable as it likes.
    explicit TRestore(T& variable) : variable_(variable), saved_(variable) {}
    template <class U>
    TRestore(T& variable, U&& value) : variable_(variable), saved_(std::exchange(variable, std::forward<U>(value)))
    {}
    ~TRestore() { variable_ = std::move(saved_); }
    const T& Saved() const { return saved_; }

    TRestore(const TRestore&) = delete;
    TRestore& operator=(const TRestore&) = delete;

private:
    T& variable_;
    T saved_;
};

// BeginUpdate on target for the scope, EndUpdate at its end (string lists, collections).
template <class T>
class [[nodiscard]] TUpdateScope {
public:
    // The bracket exists once BeginUpdate has returned: a failed BeginUpdate has no end.
    explicit TUpdateScope(T* target) : end_((target->BeginUpdate(), EndUpdate{target})) {}

private:
    struct EndUpdate {
        T* target;
        void operator()() const { target->EndUpdate(); }
    };
    TScopeExit<EndUpdate> end_;
};
