#pragma once
// Published properties: the Q_PROPERTYs of TPersistent classes, read through Qt's
// meta-object system.
//   Default:  Q_CLASSINFO("Default.<Prop>", "<value in form-resource syntax>"); an empty
//             value in a subclass takes away the default its base class declares
//   Stored:   Q_PROPERTY(... STORED false), or a rule method:
//             Q_CLASSINFO("Stored.<Prop>", "<method>") naming a Q_INVOKABLE bool method()
//             (Qt 6's moc takes no function in STORED, so the rule method is named here).
// Enumerations are Q_ENUMs, sets Q_FLAGs, events TEvent types registered below.
#include "Events.h"

#include <QList>
#include <QMetaEnum>
#include <QMetaProperty>
#include <QString>
#include <QVariant>
#include <functional>
#include <optional>

enum class TPropKind {
    Unknown,
    Integer,  // int, unsigned, short, qint64 ... (optionally with identifiers, e.g. colours)
    Float,    // double, float
    String,   // QString
    Boolean,
    Enum,        // Q_ENUM
    Set,         // Q_FLAG
    Binary,      // QByteArray
    Event,       // a registered TEvent type
    Component,   // pointer to a TComponent subclass: a reference by name
    Collection,  // pointer to a TCollection subclass
    Strings,     // pointer to a TStrings subclass
    Persistent,  // pointer to another TPersistent subclass: a sub-object (Font.Height)
};

// The published properties of a class, base-class properties first; objectName is left out.
QList<QMetaProperty> PublishedProperties(const QMetaObject* meta);
// The published property called name (ignoring case); an invalid property when none.
QMetaProperty FindPublishedProperty(const QMetaObject* meta, QStringView name);
TPropKind PropertyKind(const QMetaProperty& prop);

// The default text of a property (its Q_CLASSINFO "Default.<Prop>"), if declared.
std::optional<QString> PropertyDefaultText(const QMetaObject* meta, const QMetaProperty& prop);
// Whether the property's value is stored: STORED false, or the "Stored.<Prop>" rule method.
bool IsStoredProp(const QObject* object, const QMetaProperty& prop);

// Enumeration and set text. Identifiers compare ignoring case when read.
QString EnumToIdent(const QMetaEnum& e, int value);
std::optional<int> IdentToEnum(const QMetaEnum& e, QStringView ident);
QStringList SetToIdents(const QMetaEnum& e, int value);
std::optional<int> IdentsToSet(const QMetaEnum& e, const QStringList& idents);

// Integer types with identifiers for some values (TColor: clBtnFace), by property type name.
using TIntToIdent = std::function<std::optional<QString>(qint64)>;
using TIdentToInt = std::function<std::optional<qint64>(QStringView)>;
void RegisterIntegerIdents(const QByteArray& typeName, TIntToIdent toIdent, TIdentToInt fromIdent);
std::optional<QString> IntegerToIdent(const QMetaProperty& prop, qint64 value);
std::optional<qint64> IdentToInteger(const QMetaProperty& prop, QStringView ident);

// Event types: binding a handler by name on a root, and naming a bound handler.
struct TEventTypeInfo {
    std::function<QVariant(QObject* root, const QByteArray& handler)> bind;  // invalid when not found
    std::function<QVariant()> empty;
    std::function<QObject*(const QVariant&)> data;
    std::function<QByteArray(const QVariant&)> methodName;
};
void RegisterEventTypeInfo(QMetaType type, TEventTypeInfo info);
const TEventTypeInfo* FindEventTypeInfo(QMetaType type);

// Makes an event type streamable (TNotifyEvent is registered already). E needs
// Q_DECLARE_METATYPE.
template <class E>
void RegisterEventType()
{
    TEventTypeInfo info;
    info.bind = [](QObject* root, const QByteArray& handler) {
        E e = E::ByName(root, handler);
        return e ? QVariant::fromValue(e) : QVariant();
    };
    info.empty = [] { return QVariant::fromValue(E()); };
    info.data = [](const QVariant& v) { return v.value<E>().Data(); };
    info.methodName = [](const QVariant& v) { return v.value<E>().MethodName(); };
    RegisterEventTypeInfo(QMetaType::fromType<E>(), std::move(info));
}
