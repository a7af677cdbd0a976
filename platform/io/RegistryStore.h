#pragma once
// The file behind the registry: one tree of keys and typed values, shared by every
// process of the user.
//
// File: JSON, by default $XDG_CONFIG_HOME/vesk/registry.json:
//   {"format": "vesk-registry", "version": 1,
//    "root": {"keys": {"Software": {...}}, "values": {"Width": {"type": "REG_DWORD", "data": 800}}}}
// Types: REG_DWORD (data: 0..4294967295), REG_SZ (data: string), REG_BINARY (data: hex).
// Key and value names compare case-insensitively and keep the case they were created with.
//
// Sharing: reads use the tree cached from the file and re-read it whenever the file is not
// the one last seen (device, inode, size and modification time differ). Every change holds
// an inter-process lock (registry.json.lock), re-reads the file if another process replaced
// it, changes the tree and replaces the whole file durably (DurableFile.h).
// Damage: the file a change replaces, read whole, stays as registry.json.previous. A file
// that cannot be read or parsed reads as that one (as empty when there is none; a missing
// file is empty, never the previous one). The first change keeps the damaged file aside as
// registry.json.bad, the copies kept before moving on to .bad.1, .bad.2 and so on up to a
// few, and replaces it.
#include "SysUtils.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <map>
#include <memory>
#include <optional>
#include <functional>
#include <vector>

VESK_DECLARE_EXCEPTION(ERegistryException, Exception)

enum TRegDataType { rdUnknown, rdString, rdExpandString, rdInteger, rdBinary };

struct TRegValue {
    QString name;
    TRegDataType type = rdUnknown;
    quint32 dword = 0;
    QString text;
    QByteArray binary;
};

// A key with its values and subkeys, detached from the store.
struct TRegKeyData {
    QString name;
    std::vector<TRegValue> values;
    std::vector<TRegKeyData> keys;
};

class TRegistryStore {
public:
    explicit TRegistryStore(QString filePath);
    ~TRegistryStore();
    TRegistryStore(const TRegistryStore&) = delete;
    TRegistryStore& operator=(const TRegistryStore&) = delete;

    // The process's store. Its file is DefaultFilePath() unless a test redirected it.
    static TRegistryStore& Default();
    static QString DefaultFilePath();
    // Test hook: points Default() at another file; an empty path restores the standard one.
    static void SetDefaultFileForTesting(const QString& filePath);

    const QString& FilePath() const { return filePath_; }

    // Paths are lists of key names below the root; the empty list is the root.
    bool KeyExists(const QStringList& path);
    std::optional<TRegValue> Value(const QStringList& path, const QString& name);
    QStringList KeyNames(const QStringList& path);
    QStringList ValueNames(const QStringList& path);

    // Changes. Each raises ERegistryException when the file cannot be locked or written.
    // CreateKey makes the missing keys of the path; SetValue returns false when the key
    // does not exist; the deletes return false when there was nothing to delete.
    void CreateKey(const QStringList& path);
    bool SetValue(const QStringList& path, const TRegValue& value);
    bool DeleteKey(const QStringList& path);
    bool DeleteValue(const QStringList& path, const QString& name);

    // One consistent copy of the key at path with everything below it; none when missing.
    std::optional<TRegKeyData> Snapshot(const QStringList& path);
    // One change, so other readers see the old key or the new one: makes the key at path,
    // deletes its subkeys that removeSubkey selects, then writes content's values into it
    // and content's subkeys below it, each replacing a subkey of the same name whole.
    // Everything else in the key stays. content's own name is not used.
    void ReplaceKey(const QStringList& path, const std::function<bool(const QString&)>& removeSubkey,
                    const TRegKeyData& content);

    struct Node;
    struct Stamp;

private:
    Node* Find(const QStringList& path);
    void Refresh();
    template <class Change>
    bool Modify(Change change);
    void Save();

    QString filePath_;
    std::unique_ptr<Node> root_;
    std::unique_ptr<Stamp> stamp_;
    bool unreadable_ = false;
};
