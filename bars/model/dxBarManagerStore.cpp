// The manager's side of the bar layout store: when it stores and restores, and where.
#include "dxBarLayoutStore.h"
#include "dxBarManager.h"

void TdxBarManager::SaveToRegistry(const QString& path)
{
    TdxBarLayoutStore(this).SaveToRegistry(path);
}

void TdxBarManager::LoadFromRegistry(const QString& path)
{
    TdxBarLayoutStore(this).LoadFromRegistry(path);
}

void TdxBarManager::SaveToIniFile(const QString& fileName)
{
    TdxBarLayoutStore(this).SaveToIniFile(fileName);
}

void TdxBarManager::LoadFromIniFile(const QString& fileName)
{
    TdxBarLayoutStore(this).LoadFromIniFile(fileName);
}

void TdxBarManager::SaveLayoutOnFormDestroy()
{
    if (IsDesigning()) return;
    if (storeInRegistry_) SaveToRegistry(registryPath_);
    if (storeInIniFile_) SaveToIniFile(iniFileName_);
}

void TdxBarManager::LoadLayoutAfterLoading()
{
    if (storeInRegistry_) LoadFromRegistry(registryPath_);
    if (storeInIniFile_) LoadFromIniFile(iniFileName_);
}
