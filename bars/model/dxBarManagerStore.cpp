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
    storeOptions_.Save(*this);
}

void TdxBarManager::LoadLayoutAfterLoading()
{
    storeOptions_.Load(*this);
}
