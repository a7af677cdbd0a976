#include "ClassRegistry.h"

#include <QHash>

namespace {

QHash<QString, TComponentClass>& Registry()
{
    static QHash<QString, TComponentClass> classes;
    return classes;
}

QString Key(const QString& name)
{
    return name.toLower();
}

}  // namespace

void RegisterComponentClass(const QMetaObject* meta, TComponentFactory factory)
{
    if (!meta || !factory) return;
    QString name = QString::fromLatin1(meta->className());
    auto it = Registry().constFind(Key(name));
    if (it != Registry().constEnd()) {
        if (it->meta == meta) return;
        throw EFilerError(QStringLiteral("A class named %1 already exists").arg(name));
    }
    Registry().insert(Key(name), TComponentClass{meta, std::move(factory)});
}

void UnregisterClass(const QString& name)
{
    Registry().remove(Key(name));
}

std::optional<TComponentClass> GetClass(const QString& name)
{
    auto it = Registry().constFind(Key(name));
    if (it == Registry().constEnd()) return std::nullopt;
    return *it;
}

TComponentClass FindClass(const QString& name)
{
    if (std::optional<TComponentClass> c = GetClass(name)) return *c;
    throw EClassNotFound(QStringLiteral("Class %1 not found").arg(name));
}
