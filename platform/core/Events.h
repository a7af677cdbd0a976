#pragma once
// Events are method pointers: an object and the code of one of its methods.
// Two events are equal when both name the same object and the same code, so an
// item can tell whether its OnClick is an action's own handler.
#include <QByteArray>
#include <QMetaMethod>
#include <QObject>
#include <QString>
#include <cstring>
#include <functional>
#include <memory>
#include <utility>

using TObject = QObject;

template <class... Args>
class TEvent {
public:
    TEvent() = default;

    // Binds a C++ member function; its identity is the member pointer itself.
    template <class C>
    TEvent(C* object, void (C::*method)(Args...))
        : data_(object), call_([object, method](Args... a) { (object->*method)(std::forward<Args>(a)...); })
    {
        code_.resize(sizeof(method));
        std::memcpy(code_.data(), &method, sizeof(method));
    }

    // Binds a method by name through the meta-object system (form resources do this:
    // "OnClick = btSaveClick" names a Q_INVOKABLE method of the root form). The identity
    // is the object and the method's name, so two bindings of one handler compare equal.
    static TEvent ByName(QObject* object, const QByteArray& name)
    {
        TEvent e;
        if (!object) return e;
        const QMetaObject* mo = object->metaObject();
        for (int i = mo->methodCount() - 1; i >= 0; --i) {
            QMetaMethod m = mo->method(i);
            if (m.name() == name && m.parameterCount() == int(sizeof...(Args))) {
                e.data_ = object;
                e.code_ = "name:" + name;
                e.call_ = [object, m](Args... a) { m.invoke(object, Qt::DirectConnection, Q_ARG(Args, a)...); };
                return e;
            }
        }
        return e;
    }

    explicit operator bool() const { return bool(call_); }
    void operator()(Args... a) const
    {
        // Arguments are passed on, not copied again: each copy of a QString costs atomic counting.
        if (call_) call_(std::forward<Args>(a)...);
    }
    QObject* Data() const { return data_; }
    // Name of the handler when bound by name, else empty.
    QByteArray MethodName() const { return code_.startsWith("name:") ? code_.mid(5) : QByteArray(); }
    bool operator==(const TEvent& o) const { return data_ == o.data_ && code_ == o.code_; }
    bool SameCode(const TEvent& o) const { return code_ == o.code_; }

private:
    QObject* data_ = nullptr;
    QByteArray code_;
    std::function<void(Args...)> call_;
};

using TNotifyEvent = TEvent<TObject*>;
Q_DECLARE_METATYPE(TNotifyEvent)
// (Sender, text) events come from several libraries (the browser's navigate-complete, the
// HTML parser's found-tag events): one type, so its metatype is declared once, here.
using TTextEvent = TEvent<TObject*, QString>;
Q_DECLARE_METATYPE(TTextEvent)
