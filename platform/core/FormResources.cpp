#include "FormResources.h"

#include "Scope.h"
#include "Streaming.h"

#include <QFile>
#include <QHash>

namespace {

QHash<QString, QString>& Registered()
{
    static QHash<QString, QString> texts;
    return texts;
}

}  // namespace

std::optional<QString> FindFormResource(const QString& className)
{
    if (className.isEmpty()) return std::nullopt;
    auto it = Registered().constFind(className);
    if (it != Registered().constEnd()) return *it;
    QFile file(QStringLiteral(":/forms/%1.form").arg(className));
    if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
    return QString::fromUtf8(file.readAll());
}

void RegisterFormResource(const QString& className, const QString& text)
{
    Registered().insert(className, text);
}

void UnregisterFormResource(const QString& className)
{
    Registered().remove(className);
}

bool InitInheritedComponent(TComponent* instance, const QMetaObject* rootAncestor, bool ignoreEvents)
{
    if (!instance) return false;
    QList<const QMetaObject*> chain;
    for (const QMetaObject* m = instance->metaObject(); m && m != rootAncestor && m != &TComponent::staticMetaObject;
         m = m->superClass())
        chain.prepend(m);
    TLoadedList loaded;
    bool found = false;
    TScopeExit abandon([&loaded] { loaded.Abandon(); });
    for (const QMetaObject* m : chain) {
        std::optional<QString> text = FindFormResource(QString::fromLatin1(m->className()));
        if (!text) continue;
        TReader reader(*text);
        reader.SetIgnoreEvents(ignoreEvents);
        reader.ReadRootComponent(instance, &loaded);
        found = true;
    }
    abandon.Dismiss();
    loaded.NotifyLoaded();
    return found;
}

TComponent* ReadComponentFromText(const QString& text, TComponent* root, bool ignoreEvents)
{
    TReader reader(text);
    reader.SetIgnoreEvents(ignoreEvents);
    return reader.ReadRootComponent(root);
}

QString WriteComponentToText(TComponent* root)
{
    TWriter writer;
    return writer.WriteRootComponent(root);
}
