#pragma once
// The class registry: the component classes a form resource may name, found by class
// name (ignoring case) and made with an owner.
#include "Classes.h"

#include <QString>
#include <functional>
#include <optional>
#include <type_traits>

using TComponentFactory = std::function<TComponent*(TComponent* owner)>;

struct TComponentClass {
    const QMetaObject* meta = nullptr;
    TComponentFactory create;  // both construction phases
    QString Name() const { return QString::fromLatin1(meta->className()); }
};

// Registers a class; registering the same class again does nothing. EFilerError "A class
// named X already exists" when another class of that name is registered.
void RegisterComponentClass(const QMetaObject* meta, TComponentFactory factory);
void UnregisterClass(const QString& name);
// The class of that name, if registered.
std::optional<TComponentClass> GetClass(const QString& name);
// The class of that name; EClassNotFound "Class X not found" when none.
TComponentClass FindClass(const QString& name);

template <class T>
void RegisterClass()
{
    static_assert(std::is_base_of_v<TComponent, T>, "only component classes are made by the registry");
    RegisterComponentClass(&T::staticMetaObject, [](TComponent* owner) -> TComponent* { return Create<T>(owner); });
}

template <class... T>
void RegisterClasses()
{
    (RegisterClass<T>(), ...);
}

template <class T>
void UnregisterClass()
{
    UnregisterClass(QString::fromLatin1(T::staticMetaObject.className()));
}
