#include "TypInfo.h"

#include "Classes.h"
#include "Collections.h"
#include "Graphics.h"
#include "Strings.h"

#include <QHash>
#include <QMetaClassInfo>
#include <bit>

namespace {

struct IntegerIdents {
    TIntToIdent toIdent;
    TIdentToInt fromIdent;
};

QHash<QByteArray, IntegerIdents>& IdentTypes()
{
    static QHash<QByteArray, IntegerIdents> types = [] {
        QHash<QByteArray, IntegerIdents> t;
        t.insert(QByteArray(QMetaType::fromType<TColor>().name()), {[](qint64 v) -> std::optional<QString> {
                                                                        QString ident;
                                                                        if (ColorToIdent(TColor(qint32(v)), ident))
                                                                            return ident;
                                                                        return std::nullopt;
                                                                    },
                                                                    [](QStringView ident) -> std::optional<qint64> {
                                                                        TColor c = clBlack;
                                                                        if (IdentToColor(ident.toString(), c))
                                                                            return qint64(qint32(c));
                                                                        return std::nullopt;
                                                                    }});
        return t;
    }();
    return types;
}

QHash<int, TEventTypeInfo>& EventTypes()
{
    static QHash<int, TEventTypeInfo> types = [] {
        QHash<int, TEventTypeInfo> t;
        TEventTypeInfo info;
        info.bind = [](QObject* root, const QByteArray& handler) {
            TNotifyEvent e = TNotifyEvent::ByName(root, handler);
            return e ? QVariant::fromValue(e) : QVariant();
        };
        info.empty = [] { return QVariant::fromValue(TNotifyEvent()); };
        info.data = [](const QVariant& v) { return v.value<TNotifyEvent>().Data(); };
        info.methodName = [](const QVariant& v) { return v.value<TNotifyEvent>().MethodName(); };
        t.insert(QMetaType::fromType<TNotifyEvent>().id(), info);
        return t;
    }();
    return types;
}

const char* ClassInfoValue(const QMetaObject* meta, const QByteArray& key)
{
    int i = meta->indexOfClassInfo(key.constData());
    return i < 0 ? nullptr : meta->classInfo(i).value();
}

bool Inherits(const QMetaObject* meta, const QMetaObject* base)
{
    return meta && meta->inherits(base);
}

}  // namespace

QList<QMetaProperty> PublishedProperties(const QMetaObject* meta)
{
    QList<QMetaProperty> props;
    if (!meta) return props;
    for (int i = 0; i < meta->propertyCount(); ++i) {
        QMetaProperty p = meta->property(i);
        if (qstrcmp(p.name(), "objectName") != 0) props.append(p);
    }
    return props;
}

QMetaProperty FindPublishedProperty(const QMetaObject* meta, QStringView name)
{
    if (!meta || name.isEmpty()) return {};
    for (int i = meta->propertyCount() - 1; i >= 0; --i) {
        QMetaProperty p = meta->property(i);
        if (name.compare(QLatin1String(p.name()), Qt::CaseInsensitive) == 0 && qstrcmp(p.name(), "objectName") != 0)
            return p;
    }
    return {};
}

TPropKind PropertyKind(const QMetaProperty& prop)
{
    if (!prop.isValid()) return TPropKind::Unknown;
    if (prop.isFlagType()) return TPropKind::Set;
    if (prop.isEnumType()) return TPropKind::Enum;
    QMetaType t = prop.metaType();
    if (FindEventTypeInfo(t)) return TPropKind::Event;
    if (t.flags() & QMetaType::PointerToQObject) {
        const QMetaObject* m = t.metaObject();
        if (Inherits(m, &TComponent::staticMetaObject)) return TPropKind::Component;
        if (Inherits(m, &TCollection::staticMetaObject)) return TPropKind::Collection;
        if (Inherits(m, &TStrings::staticMetaObject)) return TPropKind::Strings;
        if (Inherits(m, &TPersistent::staticMetaObject)) return TPropKind::Persistent;
        return TPropKind::Unknown;
    }
    switch (t.id()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::SChar:
    case QMetaType::UChar: return TPropKind::Integer;
    case QMetaType::Double:
    case QMetaType::Float: return TPropKind::Float;
    case QMetaType::QString: return TPropKind::String;
    case QMetaType::Bool: return TPropKind::Boolean;
    case QMetaType::QByteArray: return TPropKind::Binary;
    default:
        // Plain enumerations over integers (TColor) are integers with identifiers.
        return (t.flags() & QMetaType::IsEnumeration) ? TPropKind::Integer : TPropKind::Unknown;
    }
}

std::optional<QString> PropertyDefaultText(const QMetaObject* meta, const QMetaProperty& prop)
{
    if (!meta || !prop.isValid()) return std::nullopt;
    const char* v = ClassInfoValue(meta, QByteArray("Default.") + prop.name());
    // An empty default (a subclass's) takes the base class's default away.
    if (!v || !*v) return std::nullopt;
    return QString::fromUtf8(v);
}

bool IsStoredProp(const QObject* object, const QMetaProperty& prop)
{
    if (!object || !prop.isValid() || !prop.isStored()) return false;
    const char* rule = ClassInfoValue(object->metaObject(), QByteArray("Stored.") + prop.name());
    if (!rule) return true;
    if (qstricmp(rule, "false") == 0) return false;
    if (qstricmp(rule, "true") == 0) return true;
    bool stored = true;
    // The rule is a const query; invokeMethod needs a non-const receiver.
    QMetaObject::invokeMethod(const_cast<QObject*>(object), rule, Qt::DirectConnection, Q_RETURN_ARG(bool, stored));
    return stored;
}

QString EnumToIdent(const QMetaEnum& e, int value)
{
    const char* key = e.valueToKey(value);
    return key ? QString::fromLatin1(key) : QString();
}

std::optional<int> IdentToEnum(const QMetaEnum& e, QStringView ident)
{
    for (int i = 0; i < e.keyCount(); ++i)
        if (ident.compare(QLatin1String(e.key(i)), Qt::CaseInsensitive) == 0) return e.value(i);
    return std::nullopt;
}

// A set is written element by element: only single-bit keys count as elements.
QStringList SetToIdents(const QMetaEnum& e, int value)
{
    QStringList idents;
    for (int i = 0; i < e.keyCount(); ++i) {
        unsigned v = unsigned(e.value(i));
        if (std::popcount(v) == 1 && (unsigned(value) & v) == v) idents.append(QString::fromLatin1(e.key(i)));
    }
    return idents;
}

std::optional<int> IdentsToSet(const QMetaEnum& e, const QStringList& idents)
{
    int value = 0;
    for (const QString& ident : idents) {
        std::optional<int> v = IdentToEnum(e, ident);
        if (!v) return std::nullopt;
        value |= *v;
    }
    return value;
}

void RegisterIntegerIdents(const QByteArray& typeName, TIntToIdent toIdent, TIdentToInt fromIdent)
{
    IdentTypes().insert(typeName, {std::move(toIdent), std::move(fromIdent)});
}

std::optional<QString> IntegerToIdent(const QMetaProperty& prop, qint64 value)
{
    auto it = IdentTypes().constFind(QByteArray(prop.typeName()));
    if (it == IdentTypes().constEnd() || !it->toIdent) return std::nullopt;
    return it->toIdent(value);
}

std::optional<qint64> IdentToInteger(const QMetaProperty& prop, QStringView ident)
{
    auto it = IdentTypes().constFind(QByteArray(prop.typeName()));
    if (it == IdentTypes().constEnd() || !it->fromIdent) return std::nullopt;
    return it->fromIdent(ident);
}

void RegisterEventTypeInfo(QMetaType type, TEventTypeInfo info)
{
    EventTypes().insert(type.id(), std::move(info));
}

const TEventTypeInfo* FindEventTypeInfo(QMetaType type)
{
    if (!type.isValid()) return nullptr;
    auto it = EventTypes().constFind(type.id());
    return it == EventTypes().constEnd() ? nullptr : &*it;
}
