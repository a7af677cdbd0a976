#include "ResourceModule.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QResource>
#include <memory>
#include <vector>

namespace {

std::vector<std::unique_ptr<TResourceModule>>& Modules()
{
    static std::vector<std::unique_ptr<TResourceModule>> modules;
    return modules;
}

bool IsPlainFileName(const QString& name)
{
    return !name.isEmpty() && name != QLatin1String(".") && name != QLatin1String("..") &&
           !name.contains(QLatin1Char('/')) && !name.contains(QLatin1Char('\\')) && !name.contains(QLatin1Char(':')) &&
           !name.contains(QChar(0));
}

}  // namespace

TResourceModule* TResourceModule::Load(const QString& fileName)
{
    return LoadFromFolder(QCoreApplication::applicationDirPath(), fileName);
}

TResourceModule* TResourceModule::LoadFromFolder(const QString& folder, const QString& fileName)
{
    if (!IsPlainFileName(fileName) || folder.isEmpty()) return nullptr;
    const QFileInfo info(QDir(folder).filePath(fileName));
    if (!info.isFile()) return nullptr;
    const QString path = info.absoluteFilePath();
    for (const auto& m : Modules())
        if (m->FileName() == path) return m.get();
    // Each module gets its own map root so two bundles never shadow each other.
    const QString mapRoot = QStringLiteral("/.vesk-modules/%1").arg(Modules().size());
    if (!QResource::registerResource(path, mapRoot)) return nullptr;
    Modules().push_back(std::unique_ptr<TResourceModule>(new TResourceModule(path, QLatin1Char(':') + mapRoot)));
    return Modules().back().get();
}

QList<TResourceModule*> TResourceModule::Loaded()
{
    QList<TResourceModule*> result;
    for (const auto& m : Modules()) result.append(m.get());
    return result;
}
