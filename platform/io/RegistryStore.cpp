#include "RegistryStore.h"

#include "DurableFile.h"
#include "FileLock.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStandardPaths>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

struct TRegistryStore::Node {
    QString name;
    std::map<QString, TRegValue> values;            // by case-folded name
    std::map<QString, std::unique_ptr<Node>> keys;  // by case-folded name
};

// Identity of the file last read: a rename always brings a new inode, so a change by
// another process is seen even when size and time happen to match.
struct TRegistryStore::Stamp {
    bool exists = false;
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    timespec modified{};

    static Stamp Of(const struct stat& st) { return Stamp{true, st.st_dev, st.st_ino, st.st_size, st.st_mtim}; }
    bool operator==(const Stamp& o) const
    {
        return exists == o.exists && device == o.device && inode == o.inode && size == o.size &&
               modified.tv_sec == o.modified.tv_sec && modified.tv_nsec == o.modified.tv_nsec;
    }
};

namespace {

const QLatin1StringView kFormat("vesk-registry");

QString Folded(const QString& name)
{
    return name.toCaseFolded();
}

std::optional<TRegValue> ValueFromJson(const QString& name, const QJsonValue& json)
{
    const QJsonObject o = json.toObject();
    const QString type = o.value(QLatin1StringView("type")).toString();
    const QJsonValue data = o.value(QLatin1StringView("data"));
    TRegValue v;
    v.name = name;
    if (type == QLatin1StringView("REG_DWORD")) {
        const double d = data.toDouble(-1);
        if (d < 0 || d > 4294967295.0 || d != double(quint32(d))) return std::nullopt;
        v.type = rdInteger;
        v.dword = quint32(d);
    } else if (type == QLatin1StringView("REG_SZ") && data.isString()) {
        v.type = rdString;
        v.text = data.toString();
    } else if (type == QLatin1StringView("REG_BINARY") && data.isString()) {
        v.type = rdBinary;
        v.binary = QByteArray::fromHex(data.toString().toLatin1());
    } else {
        return std::nullopt;
    }
    return v;
}

// Malformed entries are skipped: the rest of the store stays usable.
void NodeFromJson(TRegistryStore::Node& node, const QJsonObject& json)
{
    const QJsonObject values = json.value(QLatin1StringView("values")).toObject();
    for (auto it = values.begin(); it != values.end(); ++it)
        if (auto v = ValueFromJson(it.key(), it.value())) node.values[Folded(it.key())] = *v;
    const QJsonObject keys = json.value(QLatin1StringView("keys")).toObject();
    for (auto it = keys.begin(); it != keys.end(); ++it) {
        if (it.key().isEmpty() || it.key().contains(QLatin1Char('\\'))) continue;
        auto child = std::make_unique<TRegistryStore::Node>();
        child->name = it.key();
        NodeFromJson(*child, it.value().toObject());
        node.keys[Folded(it.key())] = std::move(child);
    }
}

// The file is written by hand rather than through QJsonDocument: a change rewrites the
// whole file, and building a QJsonObject tree for each of a few hundred values in a row
// costs seconds. The output is plain JSON that NodeFromJson reads back.
void AppendJsonBytes(QByteArray& out, QStringView text)
{
    for (char c : text.toUtf8()) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if ((unsigned char)c < 0x20) {
            out += "\\u00";
            out += QByteArray::number((unsigned char)c, 16).rightJustified(2, '0');
        } else {
            out += c;
        }
    }
}

// A surrogate that is not half of a pair has no UTF-8 form; it is written as its \u escape,
// which the JSON reader turns back into the same code unit, so every string survives.
void AppendJsonString(QByteArray& out, const QString& text)
{
    out += '"';
    qsizetype run = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (!c.isSurrogate()) continue;
        if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            ++i;
            continue;
        }
        AppendJsonBytes(out, QStringView(text).sliced(run, i - run));
        out += "\\u" + QByteArray::number(c.unicode(), 16);
        run = i + 1;
    }
    AppendJsonBytes(out, QStringView(text).sliced(run));
    out += '"';
}

void AppendValue(QByteArray& out, const TRegValue& v)
{
    switch (v.type) {
    case rdInteger: out += "{\"type\": \"REG_DWORD\", \"data\": " + QByteArray::number(v.dword) + '}'; break;
    case rdBinary: out += "{\"type\": \"REG_BINARY\", \"data\": \"" + v.binary.toHex() + "\"}"; break;
    default:
        out += "{\"type\": \"REG_SZ\", \"data\": ";
        AppendJsonString(out, v.text);
        out += '}';
        break;
    }
}

void AppendNode(QByteArray& out, const TRegistryStore::Node& node, int depth)
{
    const QByteArray inner(2 * depth + 2, ' '), item(2 * depth + 4, ' ');
    out += '{';
    const char* separator = "\n";
    if (!node.keys.empty()) {
        out += separator + inner + "\"keys\": {";
        const char* comma = "\n";
        for (const auto& [folded, child] : node.keys) {
            out += comma + item;
            AppendJsonString(out, child->name);
            out += ": ";
            AppendNode(out, *child, depth + 2);
            comma = ",\n";
        }
        out += '\n' + inner + '}';
        separator = ",\n";
    }
    if (!node.values.empty()) {
        out += separator + inner + "\"values\": {";
        const char* comma = "\n";
        for (const auto& [folded, v] : node.values) {
            out += comma + item;
            AppendJsonString(out, v.name);
            out += ": ";
            AppendValue(out, v);
            comma = ",\n";
        }
        out += '\n' + inner + '}';
    }
    out += '\n' + QByteArray(2 * depth, ' ') + '}';
}

TRegistryStore::Stamp CurrentStamp(const QString& path)
{
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0) return {};
    return TRegistryStore::Stamp::Of(st);
}

// Reads a store file whole into root (left untouched otherwise); false when the file cannot
// be read or is not a store.
bool ReadStore(QFile& file, TRegistryStore::Node& root)
{
    QJsonParseError error{};
    const QJsonDocument doc = QJsonDocument::fromJson(file.readAll(), &error);
    const QJsonObject top = doc.object();
    if (error.error != QJsonParseError::NoError || top.value(QLatin1StringView("format")).toString() != kFormat)
        return false;
    NodeFromJson(root, top.value(QLatin1StringView("root")).toObject());
    return true;
}

QString PreviousPath(const QString& path)
{
    return path + QLatin1StringView(".previous");
}

// Keeps the store about to be replaced, which was read whole, as the fallback of a damaged
// start: a second name for the same file, or a copy where the file system has no hard
// links. The folder's flush after the store's rename makes the new name last too.
void KeepPrevious(const QString& path)
{
    const QString previous = PreviousPath(path);
    const QByteArray to = QFile::encodeName(previous);
    ::unlink(to.constData());
    if (::linkat(AT_FDCWD, QFile::encodeName(path).constData(), AT_FDCWD, to.constData(), AT_SYMLINK_FOLLOW) == 0)
        return;
    QFile file(path);
    if (file.open(QIODevice::ReadOnly)) ReplaceFileDurably(previous, file.readAll());
}

constexpr int kDamagedCopiesKept = 5;

bool Exists(const QString& path)
{
    struct stat st {};
    return ::lstat(QFile::encodeName(path).constData(), &st) == 0;
}

// Keeps a damaged store aside as path.bad; the copies kept before move on to .bad.1, .bad.2
// and so on, and only the oldest beyond the last few goes. No copy is ever written over.
void KeepDamagedCopy(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return;
    const QByteArray bytes = file.readAll();
    const QString bad = path + QLatin1StringView(".bad");
    QFile newest(bad);
    if (newest.open(QIODevice::ReadOnly) && newest.readAll() == bytes) return;  // kept already, by a change that failed
    const auto copy = [&](int i) { return i == 0 ? bad : bad + QLatin1Char('.') + QString::number(i); };
    QFile::remove(copy(kDamagedCopiesKept - 1));
    for (int i = kDamagedCopiesKept - 2; i >= 0; --i)
        if (Exists(copy(i)) && !Exists(copy(i + 1)))
            ::rename(QFile::encodeName(copy(i)).constData(), QFile::encodeName(copy(i + 1)).constData());
    if (!Exists(bad)) ReplaceFileDurably(bad, bytes);
}

std::unique_ptr<TRegistryStore>& DefaultStore()
{
    static std::unique_ptr<TRegistryStore> store;
    return store;
}

}  // namespace

TRegistryStore::TRegistryStore(QString filePath) : filePath_(std::move(filePath)), root_(std::make_unique<Node>()) {}

TRegistryStore::~TRegistryStore() = default;

TRegistryStore& TRegistryStore::Default()
{
    auto& store = DefaultStore();
    if (!store) store = std::make_unique<TRegistryStore>(DefaultFilePath());
    return *store;
}

QString TRegistryStore::DefaultFilePath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QLatin1StringView("/vesk/registry.json");
}

void TRegistryStore::SetDefaultFileForTesting(const QString& filePath)
{
    DefaultStore() = std::make_unique<TRegistryStore>(filePath.isEmpty() ? DefaultFilePath() : filePath);
}

// Re-reads the file unless it is the one last read. Nothing here raises.
void TRegistryStore::Refresh()
{
    const Stamp now = CurrentStamp(filePath_);
    if (stamp_ && *stamp_ == now) return;
    root_ = std::make_unique<Node>();
    unreadable_ = false;
    stamp_ = std::make_unique<Stamp>();
    if (!now.exists) return;
    QFile file(filePath_);
    if (file.open(QIODevice::ReadOnly)) {
        // The stamp of the file actually opened, in case it was replaced meanwhile.
        struct stat st {};
        *stamp_ = ::fstat(file.handle(), &st) == 0 ? Stamp::Of(st) : now;
        if (ReadStore(file, *root_)) return;
    } else {
        *stamp_ = now;
    }
    // A damaged store: the settings of the last one read whole stand in for it.
    unreadable_ = true;
    QFile previous(PreviousPath(filePath_));
    if (previous.open(QIODevice::ReadOnly)) ReadStore(previous, *root_);
}

TRegistryStore::Node* TRegistryStore::Find(const QStringList& path)
{
    Node* node = root_.get();
    for (const QString& name : path) {
        auto it = node->keys.find(Folded(name));
        if (it == node->keys.end()) return nullptr;
        node = it->second.get();
    }
    return node;
}

template <class Change>
bool TRegistryStore::Modify(Change change)
{
    const QFileInfo info(filePath_);
    if (!QDir().mkpath(info.absolutePath()))
        throw ERegistryException(
            QStringLiteral("Cannot create the folder of the settings store \"%1\"").arg(filePath_));
    const TFileLock lock(filePath_ + QLatin1StringView(".lock"));
    if (!lock.Held())
        throw ERegistryException(
            QStringLiteral("Cannot lock the settings store \"%1\". %2").arg(filePath_, lock.Error()));
    Refresh();
    const bool changed = change();
    if (changed) Save();
    return changed;
}

void TRegistryStore::Save()
{
    if (unreadable_)
        KeepDamagedCopy(filePath_);
    else if (stamp_->exists)
        KeepPrevious(filePath_);
    QByteArray bytes =
        "{\n  \"format\": \"" + QByteArray(kFormat.data(), kFormat.size()) + "\",\n  \"version\": 1,\n  \"root\": ";
    AppendNode(bytes, *root_, 1);
    bytes += "\n}\n";
    const QString error = ReplaceFileDurably(filePath_, bytes);
    if (!error.isEmpty()) {
        stamp_.reset();  // the tree in memory no longer matches the file: re-read next time
        throw ERegistryException(QStringLiteral("Cannot write the settings store \"%1\". %2").arg(filePath_, error));
    }
    unreadable_ = false;
    *stamp_ = CurrentStamp(filePath_);
}

bool TRegistryStore::KeyExists(const QStringList& path)
{
    Refresh();
    return Find(path) != nullptr;
}

std::optional<TRegValue> TRegistryStore::Value(const QStringList& path, const QString& name)
{
    Refresh();
    const Node* node = Find(path);
    if (!node) return std::nullopt;
    auto it = node->values.find(Folded(name));
    if (it == node->values.end()) return std::nullopt;
    return it->second;
}

QStringList TRegistryStore::KeyNames(const QStringList& path)
{
    Refresh();
    QStringList names;
    if (const Node* node = Find(path))
        for (const auto& [folded, child] : node->keys) names.append(child->name);
    return names;
}

QStringList TRegistryStore::ValueNames(const QStringList& path)
{
    Refresh();
    QStringList names;
    if (const Node* node = Find(path))
        for (const auto& [folded, v] : node->values) names.append(v.name);
    return names;
}

void TRegistryStore::CreateKey(const QStringList& path)
{
    Refresh();
    if (Find(path)) return;  // no write, and no lock, for a key that is already there
    Modify([&] {
        Node* node = root_.get();
        bool created = false;
        for (const QString& name : path) {
            auto& slot = node->keys[Folded(name)];
            if (!slot) {
                slot = std::make_unique<Node>();
                slot->name = name;
                created = true;
            }
            node = slot.get();
        }
        return created;
    });
}

bool TRegistryStore::SetValue(const QStringList& path, const TRegValue& value)
{
    bool found = false;
    Modify([&] {
        Node* node = Find(path);
        if (!node) return false;
        found = true;
        auto& slot = node->values[Folded(value.name)];
        // Rewriting a value keeps the case of its name as first written, as the system does.
        const QString name = slot.name.isEmpty() ? value.name : slot.name;
        slot = value;
        slot.name = name;
        return true;
    });
    return found;
}

bool TRegistryStore::DeleteKey(const QStringList& path)
{
    if (path.isEmpty()) return false;
    return Modify([&] {
        Node* parent = Find(path.mid(0, path.size() - 1));
        return parent && parent->keys.erase(Folded(path.last())) > 0;
    });
}

bool TRegistryStore::DeleteValue(const QStringList& path, const QString& name)
{
    return Modify([&] {
        Node* node = Find(path);
        return node && node->values.erase(Folded(name)) > 0;
    });
}

namespace {

void CopyOut(const TRegistryStore::Node& node, TRegKeyData& out)
{
    out.name = node.name;
    out.values.reserve(node.values.size());
    for (const auto& [folded, v] : node.values) out.values.push_back(v);
    out.keys.resize(node.keys.size());
    std::size_t i = 0;
    for (const auto& [folded, child] : node.keys) CopyOut(*child, out.keys[i++]);
}

void CopyIn(const TRegKeyData& data, TRegistryStore::Node& node)
{
    for (const TRegValue& v : data.values) {
        auto& slot = node.values[Folded(v.name)];
        const QString name = slot.name.isEmpty() ? v.name : slot.name;
        slot = v;
        slot.name = name;
    }
    for (const TRegKeyData& key : data.keys) {
        if (key.name.isEmpty() || key.name.contains(QLatin1Char('\\'))) continue;
        auto child = std::make_unique<TRegistryStore::Node>();
        child->name = key.name;
        CopyIn(key, *child);
        node.keys[Folded(key.name)] = std::move(child);
    }
}

}  // namespace

std::optional<TRegKeyData> TRegistryStore::Snapshot(const QStringList& path)
{
    Refresh();
    const Node* node = Find(path);
    if (!node) return std::nullopt;
    TRegKeyData data;
    CopyOut(*node, data);
    return data;
}

void TRegistryStore::ReplaceKey(const QStringList& path, const std::function<bool(const QString&)>& removeSubkey,
                                const TRegKeyData& content)
{
    Modify([&] {
        Node* node = root_.get();
        for (const QString& name : path) {
            auto& slot = node->keys[Folded(name)];
            if (!slot) {
                slot = std::make_unique<Node>();
                slot->name = name;
            }
            node = slot.get();
        }
        for (auto it = node->keys.begin(); it != node->keys.end();)
            it = removeSubkey && removeSubkey(it->second->name) ? node->keys.erase(it) : std::next(it);
        CopyIn(content, *node);
        return true;
    });
}
