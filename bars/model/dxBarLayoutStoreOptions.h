#pragma once
// Where a manager keeps its bar layout between runs: in the registry below a path, in an ini
// file, or both. The manager restores the layout from there after loading and stores it there
// once, when its form goes (see dxBarLayoutStore.h for what is written).
#include <QString>

class TdxBarManager;

class TdxBarLayoutStoreOptions {
public:
    bool StoreInRegistry() const { return storeInRegistry_; }
    void SetStoreInRegistry(bool value) { storeInRegistry_ = value; }
    bool StoreInIniFile() const { return storeInIniFile_; }
    void SetStoreInIniFile(bool value) { storeInIniFile_ = value; }
    const QString& RegistryPath() const { return registryPath_; }
    void SetRegistryPath(const QString& value) { registryPath_ = value; }
    const QString& IniFileName() const { return iniFileName_; }
    void SetIniFileName(const QString& value) { iniFileName_ = value; }

    // Neither restores nor stores any more; the places stay as they were given.
    void Disable();
    // The manager's layout to the chosen places, registry first, then ini file.
    void Save(TdxBarManager& manager) const;
    // The manager's layout from the chosen places in the same order: the ini file's wins.
    void Load(TdxBarManager& manager) const;

private:
    bool storeInRegistry_ = false;
    bool storeInIniFile_ = false;
    QString registryPath_;
    QString iniFileName_;
};
