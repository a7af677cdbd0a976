// Where a manager keeps its bar layout between runs.
#include "dxBarLayoutStoreOptions.h"

#include "dxBarManager.h"

void TdxBarLayoutStoreOptions::Disable()
{
    storeInRegistry_ = false;
    storeInIniFile_ = false;
}

void TdxBarLayoutStoreOptions::Save(TdxBarManager& manager) const
{
    if (storeInRegistry_) manager.SaveToRegistry(registryPath_);
    if (storeInIniFile_) manager.SaveToIniFile(iniFileName_);
}

void TdxBarLayoutStoreOptions::Load(TdxBarManager& manager) const
{
    if (storeInRegistry_) manager.LoadFromRegistry(registryPath_);
    if (storeInIniFile_) manager.LoadFromIniFile(iniFileName_);
}
