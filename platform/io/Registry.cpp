#include "Registry.h"

TRegistry::TRegistry(TRegistryStore* store) : store_(store) {}

TRegistryStore& TRegistry::Store() const
{
    return store_ ? *store_ : TRegistryStore::Default();
}

void TRegistry::SetRootKey(HKEY root)
{
    CloseKey();
    root_ = root;
}

bool TRegistry::Resolve(const QString& key, QStringList& path) const
{
    QString rest = key;
    const bool absolute = rest.startsWith(QLatin1Char('\\'));
    if (absolute) rest.remove(0, 1);
    if (rest.endsWith(QLatin1Char('\\'))) rest.chop(1);
    path = absolute ? QStringList() : path_;
    if (rest.isEmpty()) return true;
    const QStringList names = rest.split(QLatin1Char('\\'));
    for (const QString& name : names)
        if (name.isEmpty()) return false;
    path += names;
    return true;
}

bool TRegistry::OpenKey(const QString& key, bool canCreate)
{
    QStringList path;
    if (!Resolve(key, path)) return false;
    if (!Writable()) {
        if (!path.isEmpty()) return false;
    } else if (canCreate) {
        Store().CreateKey(path);
    } else if (!Store().KeyExists(path)) {
        return false;
    }
    path_ = path;
    readOnly_ = false;
    return true;
}

bool TRegistry::OpenKeyReadOnly(const QString& key)
{
    QStringList path;
    if (!Resolve(key, path)) return false;
    if (Writable() ? !Store().KeyExists(path) : !path.isEmpty()) return false;
    path_ = path;
    readOnly_ = true;
    return true;
}

void TRegistry::CloseKey()
{
    path_.clear();
    readOnly_ = false;
}

TRegValue TRegistry::ReadTyped(const QString& name, TRegDataType type)
{
    const std::optional<TRegValue> value = Writable() ? Store().Value(path_, name) : std::nullopt;
    if (!value)
        throw ERegistryException(QStringLiteral("Value '%1' does not exist in key '%2'").arg(name, CurrentPath()));
    const bool stringType = value->type == rdString || value->type == rdExpandString;
    if (value->type != type && !(type == rdString && stringType))
        throw ERegistryException(QStringLiteral("Invalid data type for '%1'").arg(name));
    return *value;
}

void TRegistry::Write(const TRegValue& value)
{
    if (readOnly_ || !Writable() || !Store().SetValue(path_, value))
        throw ERegistryException(QStringLiteral("Failed to set data for '%1'").arg(value.name));
}

int TRegistry::ReadInteger(const QString& name)
{
    return int(ReadTyped(name, rdInteger).dword);
}

void TRegistry::WriteInteger(const QString& name, int value)
{
    TRegValue v;
    v.name = name;
    v.type = rdInteger;
    v.dword = quint32(value);
    Write(v);
}

bool TRegistry::ReadBool(const QString& name)
{
    return ReadInteger(name) != 0;
}

void TRegistry::WriteBool(const QString& name, bool value)
{
    WriteInteger(name, value ? 1 : 0);
}

QString TRegistry::ReadString(const QString& name)
{
    return ReadTyped(name, rdString).text;
}

void TRegistry::WriteString(const QString& name, const QString& value)
{
    TRegValue v;
    v.name = name;
    v.type = rdString;
    v.text = value;
    Write(v);
}

QByteArray TRegistry::ReadBinaryData(const QString& name)
{
    return ReadTyped(name, rdBinary).binary;
}

void TRegistry::WriteBinaryData(const QString& name, const QByteArray& value)
{
    TRegValue v;
    v.name = name;
    v.type = rdBinary;
    v.binary = value;
    Write(v);
}

int TRegistry::GetDataSize(const QString& name)
{
    const std::optional<TRegValue> value = Writable() ? Store().Value(path_, name) : std::nullopt;
    if (!value) return -1;
    switch (value->type) {
    case rdInteger: return 4;
    case rdBinary: return int(value->binary.size());
    default: return int(value->text.size() + 1) * 2;
    }
}

TRegDataType TRegistry::GetDataType(const QString& name)
{
    const std::optional<TRegValue> value = Writable() ? Store().Value(path_, name) : std::nullopt;
    return value ? value->type : rdUnknown;
}

bool TRegistry::ValueExists(const QString& name)
{
    return GetDataType(name) != rdUnknown;
}

bool TRegistry::DeleteValue(const QString& name)
{
    return !readOnly_ && Writable() && Store().DeleteValue(path_, name);
}

QStringList TRegistry::GetValueNames()
{
    return Writable() ? Store().ValueNames(path_) : QStringList();
}

bool TRegistry::KeyExists(const QString& key)
{
    QStringList path;
    if (!Resolve(key, path)) return false;
    return Writable() ? Store().KeyExists(path) : path.isEmpty();
}

bool TRegistry::CreateKey(const QString& key)
{
    QStringList path;
    if (readOnly_ || !Writable() || !Resolve(key, path)) return false;
    Store().CreateKey(path);
    return true;
}

bool TRegistry::DeleteKey(const QString& key)
{
    QStringList path;
    if (readOnly_ || !Writable() || !Resolve(key, path)) return false;
    return Store().DeleteKey(path);
}

QStringList TRegistry::GetKeyNames()
{
    return Writable() ? Store().KeyNames(path_) : QStringList();
}

bool TRegistry::HasSubKeys()
{
    return !GetKeyNames().isEmpty();
}

std::optional<TRegKeyData> TRegistry::ReadKeyTree(const QString& key)
{
    QStringList path;
    if (!Writable() || !Resolve(key, path)) return std::nullopt;
    return Store().Snapshot(path);
}

void TRegistry::ReplaceKeyTree(const QString& key, const std::function<bool(const QString&)>& removeSubkey,
                               const TRegKeyData& content)
{
    QStringList path;
    if (readOnly_ || !Writable() || !Resolve(key, path))
        throw ERegistryException(QStringLiteral("Failed to write key '%1'").arg(key));
    Store().ReplaceKey(path, removeSubkey, content);
}
