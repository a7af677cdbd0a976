#pragma once
// TRegistry: the component library's registry access object over our own store
// (RegistryStore.h).
//
// Root keys: HKEY_CURRENT_USER is the store. Every other root is an empty, read-only tree:
// only its root key opens, it has no values or subkeys, and writes to it raise.
// Key paths are backslash separated. A path starting with "\" is absolute from the root;
// any other path is relative to the open key (or to the root when none is open). One
// trailing "\" is ignored; empty names inside a path ("a\\b") make it invalid.
// With no key open, values are read and written at the root key.
#include "RegistryStore.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

enum class HKEY : unsigned {
    ClassesRoot = 0x80000000u,
    CurrentUser = 0x80000001u,
    LocalMachine = 0x80000002u,
    Users = 0x80000003u,
    CurrentConfig = 0x80000005u,
};
constexpr HKEY HKEY_CLASSES_ROOT = HKEY::ClassesRoot;
constexpr HKEY HKEY_CURRENT_USER = HKEY::CurrentUser;
constexpr HKEY HKEY_LOCAL_MACHINE = HKEY::LocalMachine;
constexpr HKEY HKEY_USERS = HKEY::Users;
constexpr HKEY HKEY_CURRENT_CONFIG = HKEY::CurrentConfig;

class TRegistry {
public:
    // store: the store to use; nullptr means TRegistryStore::Default() at each access.
    explicit TRegistry(TRegistryStore* store = nullptr);

    HKEY RootKey() const { return root_; }
    // Closes the open key.
    void SetRootKey(HKEY root);

    // Opens key, creating the missing keys when canCreate; false when it cannot.
    bool OpenKey(const QString& key, bool canCreate);
    // Opens an existing key; writes through this object then raise until CloseKey.
    bool OpenKeyReadOnly(const QString& key);
    void CloseKey();
    // Path of the open key from the root, without a leading "\" ("" when none is open).
    QString CurrentPath() const { return path_.join(QLatin1Char('\\')); }

    // Reads raise ERegistryException when the value is missing or of another type
    // ("Invalid data type for 'X'"); writes raise when the key is read-only or gone.
    int ReadInteger(const QString& name);
    void WriteInteger(const QString& name, int value);
    // A DWORD: any non-zero value reads as true; true is written as 1.
    bool ReadBool(const QString& name);
    void WriteBool(const QString& name, bool value);
    QString ReadString(const QString& name);
    void WriteString(const QString& name, const QString& value);
    QByteArray ReadBinaryData(const QString& name);
    void WriteBinaryData(const QString& name, const QByteArray& value);

    // Size of the value's data in bytes (a string counts UTF-16 units and the terminator);
    // -1 when the value does not exist.
    int GetDataSize(const QString& name);
    // rdUnknown when the value does not exist.
    TRegDataType GetDataType(const QString& name);
    bool ValueExists(const QString& name);
    bool DeleteValue(const QString& name);
    QStringList GetValueNames();

    // key: absolute or relative, as for OpenKey.
    bool KeyExists(const QString& key);
    bool CreateKey(const QString& key);
    // Deletes the key with everything below it.
    bool DeleteKey(const QString& key);
    QStringList GetKeyNames();
    bool HasSubKeys();

    // Whole key trees (key absolute or relative, as for OpenKey), for callers that read or
    // replace many values as one: see TRegistryStore::Snapshot and ReplaceKey. Reading
    // gives none for a missing key or another root; replacing raises where writes do.
    std::optional<TRegKeyData> ReadKeyTree(const QString& key);
    void ReplaceKeyTree(const QString& key, const std::function<bool(const QString&)>& removeSubkey,
                        const TRegKeyData& content);

private:
    TRegistryStore& Store() const;
    bool Writable() const { return root_ == HKEY_CURRENT_USER; }
    // The path of key from the root, or false when key is not a valid path.
    bool Resolve(const QString& key, QStringList& path) const;
    TRegValue ReadTyped(const QString& name, TRegDataType type);
    void Write(const TRegValue& value);

    TRegistryStore* store_;
    HKEY root_ = HKEY_CURRENT_USER;
    QStringList path_;
    bool readOnly_ = false;
};
