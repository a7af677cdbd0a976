#include "Streaming.h"

#include "ClassRegistry.h"
#include "Collections.h"
#include "Scope.h"
#include "Strings.h"
#include "TypInfo.h"

#include <exception>
#include <limits>

namespace {

// A read error that already names its line and property; outer levels pass it on as is.
class EReadErrorAt : public EReadError {
public:
    using EReadError::EReadError;
    const char* ClassName() const override { return "EReadError"; }
};

[[noreturn]] void InvalidValue()
{
    throw EReadError(QStringLiteral("Invalid property value"));
}

QString NamePathOf(const QObject* object)
{
    if (auto p = qobject_cast<const TPersistent*>(object)) {
        QString path = p->GetNamePath();
        if (!path.isEmpty()) return path;
    }
    return ClassNameOf(object);
}

QObject* ObjectValue(const QVariant& v)
{
    return v.value<QObject*>();
}

bool IsUnsignedType(int id)
{
    return id == QMetaType::UInt || id == QMetaType::UShort || id == QMetaType::ULong || id == QMetaType::ULongLong ||
           id == QMetaType::UChar;
}

// The value as the property's integer type. Signed types below 64 bits also take the
// unsigned bit pattern of their width ($FFFFFFFF for an int), as hex values are written.
std::optional<QVariant> IntegerVariant(const QMetaProperty& prop, qint64 n)
{
    QMetaType t = prop.metaType();
    int bits = int(t.sizeOf()) * 8;
    if (bits <= 0 || bits > 64) return std::nullopt;
    qint64 value = n;
    if (bits < 64) {
        qint64 umax = (qint64(1) << bits) - 1;
        qint64 smin = -(qint64(1) << (bits - 1));
        qint64 smax = (qint64(1) << (bits - 1)) - 1;
        if (IsUnsignedType(t.id())) {
            if (n < 0 || n > umax) return std::nullopt;
        } else {
            if (n < smin || n > umax) return std::nullopt;
            if (n > smax) value = n - (qint64(1) << bits);
        }
    } else if (IsUnsignedType(t.id()) && n < 0) {
        return std::nullopt;
    }
    QVariant v = IsUnsignedType(t.id()) ? QVariant(qulonglong(value)) : QVariant(qlonglong(value));
    if (!v.convert(t)) return std::nullopt;
    return v;
}

std::optional<qint64> IntegerOf(const QMetaProperty& prop, const TFormValue& v)
{
    if (v.type == TValueType::vaInteger) return v.integer;
    if (v.type == TValueType::vaIdent) return IdentToInteger(prop, v.text);
    return std::nullopt;
}

std::optional<bool> BooleanOf(const TFormValue& v)
{
    if (v.type != TValueType::vaIdent) return std::nullopt;
    if (v.text.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0) return true;
    if (v.text.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0) return false;
    return std::nullopt;
}

std::optional<int> EnumOf(const QMetaProperty& prop, const TFormValue& v)
{
    QMetaEnum e = prop.enumerator();
    if (v.type == TValueType::vaIdent) return IdentToEnum(e, v.text);
    if (v.type == TValueType::vaInteger && e.valueToKey(int(v.integer))) return int(v.integer);
    return std::nullopt;
}

std::optional<int> SetOf(const QMetaProperty& prop, const TFormValue& v)
{
    if (v.type != TValueType::vaSet) return std::nullopt;
    return IdentsToSet(prop.enumerator(), v.elements);
}

// Enumeration and set values as plain integers.
int EnumInt(const QVariant& v)
{
    bool ok = false;
    int n = v.toInt(&ok);
    if (ok) return n;
    if (v.metaType().sizeOf() == sizeof(int)) return *static_cast<const int*>(v.constData());
    return 0;
}

QVariant EnumVariant(const QMetaProperty& prop, int n)
{
    QVariant v(n);
    if (!v.convert(prop.metaType())) {
        v = QVariant(prop.metaType());
        if (v.metaType().sizeOf() == sizeof(int)) *static_cast<int*>(v.data()) = n;
    }
    return v;
}

}  // namespace

// ---- TComponent streaming ----

void TComponent::ReadState(TReader* reader)
{
    if (reader) reader->ReadData(this);
}

void TComponent::WriteState(TWriter* writer)
{
    if (writer) writer->WriteData(this);
}

// ---- TLoadedList ----

bool TLoadedList::Contains(const TComponent* c) const
{
    for (const QPointer<TComponent>& p : items_)
        if (p == c) return true;
    return false;
}

void TLoadedList::Add(TComponent* c)
{
    if (c && !Contains(c)) items_.append(c);
}

void TLoadedList::NotifyLoaded()
{
    QList<QPointer<TComponent>> items = std::move(items_);
    items_.clear();
    std::exception_ptr first;
    for (const QPointer<TComponent>& c : items) {
        if (!c) continue;
        try {
            c->Loaded();
        } catch (...) {
            if (!first) first = std::current_exception();
        }
        if (c) c->ExcludeState(csLoading | csReading);
    }
    if (first) std::rethrow_exception(first);
}

void TLoadedList::Abandon()
{
    for (const QPointer<TComponent>& c : items_)
        if (c) c->ExcludeState(csLoading | csReading);
    items_.clear();
}

// ---- TReader ----

TReader::TReader(QString text) : text_(std::move(text)) {}

TReader::~TReader() = default;

TComponent* TReader::ReadRootComponent(TComponent* root, TLoadedList* loaded)
{
    const TFormObject tree = ParseFormText(text_);
    TLoadedList own;
    loaded_ = loaded ? loaded : &own;
    bool rootCreated = false;
    // A failed read leaves nothing half made behind.
    TScopeExit rollBack([&] {
        fixups_.clear();
        FreeCreated();
        if (rootCreated)
            delete root;
        else if (!loaded)
            own.Abandon();
        root_ = nullptr;
        node_ = nullptr;
    });
    if (!root) {
        root = FindClass(tree.className).create(nullptr);
        rootCreated = true;
    }
    root_ = root;
    root->IncludeState(csLoading | csReading);
    loaded_->Add(root);
    if (!tree.name.isEmpty() && tree.name != root->Name()) {
        QString name = tree.name;
        // Another root of the same owner may carry the name already: number this one.
        for (int n = 1;
             root->Owner() && root->Owner()->FindComponent(name) && root->Owner()->FindComponent(name) != root; ++n)
            name = tree.name + u'_' + QString::number(n);
        root->SetName(name);
    }
    node_ = &tree;
    parent_ = nullptr;
    root->ReadState(this);
    root->ExcludeState(csReading);
    FixupReferences();
    rollBack.Dismiss();
    node_ = nullptr;
    created_.clear();  // kept from here on, whatever a later read does
    if (!loaded) own.NotifyLoaded();
    return root;
}

void TReader::ReadData(TComponent* instance)
{
    if (!instance || !node_) return;
    const TFormObject& node = *node_;
    ReadProperties(instance, node.properties);
    TComponent* savedParent = parent_;
    parent_ = instance;
    for (const TFormObject& child : node.children) ReadComponent(child);
    parent_ = savedParent;
}

TComponent* TReader::ReadComponent(const TFormObject& node)
{
    TComponent* c = nullptr;
    if (node.kind == TFormObject::Inherited) {
        c = root_->FindComponent(node.name);
        if (!c)
            throw EReadErrorAt(QStringLiteral("Line %1: Ancestor for '%2' not found").arg(node.line).arg(node.name));
        c->IncludeState(csLoading | csReading);
    } else {
        c = CreateComponent(node);
    }
    loaded_->Add(c);
    const TFormObject* savedNode = node_;
    node_ = &node;
    c->ReadState(this);
    node_ = savedNode;
    c->ExcludeState(csReading);
    return c;
}

TComponent* TReader::CreateComponent(const TFormObject& node)
{
    TComponentClass cls = FindClass(node.className);
    TComponent* c = cls.create(root_);
    created_.append(c);
    c->IncludeState(csLoading | csReading);
    if (!node.name.isEmpty()) {
        try {
            c->SetName(node.name);
        } catch (const Exception& e) {
            throw EReadErrorAt(QStringLiteral("Line %1: %2").arg(node.line).arg(e.Message()));
        }
        SetRootField(c, c);
    }
    c->SetParentComponent(parent_);
    return c;
}

// The root's field named like the component (Q_PROPERTY ... MEMBER ... STORED false).
void TReader::SetRootField(TComponent* component, TComponent* value)
{
    QMetaProperty p = FindPublishedProperty(root_->metaObject(), component->Name());
    if (!p.isValid() || p.isStored() || PropertyKind(p) != TPropKind::Component || !p.isWritable()) return;
    if (!value && ObjectValue(p.read(root_)) != component) return;
    QVariant v(p.metaType());  // nil
    if (value) {
        v = QVariant::fromValue(static_cast<QObject*>(value));
        if (!v.convert(p.metaType())) return;  // the field is of another class
    }
    p.write(root_, v);
}

void TReader::ReadProperties(QObject* instance, const QList<TFormProperty>& props)
{
    for (const TFormProperty& p : props) ReadProperty(instance, p);
}

void TReader::ReadProperty(QObject* instance, const TFormProperty& prop)
{
    try {
        const QStringList path = prop.name.split(u'.');
        QObject* obj = instance;
        for (int i = 0; i + 1 < path.size(); ++i) {
            QMetaProperty p = FindPublishedProperty(obj->metaObject(), path[i]);
            TPropKind kind = PropertyKind(p);
            QObject* sub =
                (kind == TPropKind::Persistent || kind == TPropKind::Strings || kind == TPropKind::Collection)
                    ? ObjectValue(p.read(obj))
                    : nullptr;
            if (!sub) throw EReadError(QStringLiteral("Property %1 does not exist").arg(path[i]));
            obj = sub;
        }
        const QString& name = path.last();
        QMetaProperty p = FindPublishedProperty(obj->metaObject(), name);
        if (p.isValid()) {
            ReadPropValue(obj, p, prop.value);
        } else if (!ReadDefinedProperty(obj, name, prop.value)) {
            // A string list's own lines may also be given as "Lines.Strings = ( ... )".
            if (qobject_cast<TStrings*>(obj) && name.compare(QLatin1String("Strings"), Qt::CaseInsensitive) == 0)
                ReadStrings(obj, QMetaProperty(), prop.value);
            else
                throw EReadError(QStringLiteral("Property %1 does not exist").arg(name));
        }
    } catch (const EReadErrorAt&) {
        throw;
    } catch (const EAbort&) {
        throw;
    } catch (const Exception& e) {
        throw EReadErrorAt(QStringLiteral("Line %1: Error reading %2.%3: %4")
                               .arg(prop.line)
                               .arg(NamePathOf(instance), prop.name, e.Message()));
    }
}

void TReader::ReadPropValue(QObject* instance, const QMetaProperty& prop, const TFormValue& value)
{
    TPropKind kind = PropertyKind(prop);
    switch (kind) {
    case TPropKind::Event: return ReadEvent(instance, prop, value);
    case TPropKind::Component: return ReadReference(instance, prop, value);
    case TPropKind::Collection: return ReadCollection(instance, prop, value);
    case TPropKind::Strings: return ReadStrings(instance, prop, value);
    default: break;
    }
    if (!prop.isWritable()) throw EReadError(QStringLiteral("Property %1 is read-only").arg(prop.name()));
    std::optional<QVariant> v;
    switch (kind) {
    case TPropKind::Integer:
        if (std::optional<qint64> n = IntegerOf(prop, value)) v = IntegerVariant(prop, *n);
        break;
    case TPropKind::Float:
        if (value.type == TValueType::vaFloat)
            v = QVariant(value.real);
        else if (value.type == TValueType::vaInteger)
            v = QVariant(double(value.integer));
        break;
    case TPropKind::String:
        if (value.type == TValueType::vaString) v = QVariant(value.text);
        break;
    case TPropKind::Boolean:
        if (std::optional<bool> b = BooleanOf(value)) v = QVariant(*b);
        break;
    case TPropKind::Enum:
        if (std::optional<int> n = EnumOf(prop, value)) v = EnumVariant(prop, *n);
        break;
    case TPropKind::Set:
        if (std::optional<int> n = SetOf(prop, value)) v = EnumVariant(prop, *n);
        break;
    case TPropKind::Binary:
        if (value.type == TValueType::vaBinary) v = QVariant(value.binary);
        break;
    default: break;
    }
    if (!v || !prop.write(instance, *v)) InvalidValue();
}

void TReader::ReadEvent(QObject* instance, const QMetaProperty& prop, const TFormValue& value)
{
    if (ignoreEvents_) return;
    const TEventTypeInfo* info = FindEventTypeInfo(prop.metaType());
    if (!info || value.type != TValueType::vaIdent) InvalidValue();
    QVariant e = value.text.compare(QLatin1String("nil"), Qt::CaseInsensitive) == 0
                     ? info->empty()
                     : info->bind(root_, value.text.toUtf8());
    if (!e.isValid()) throw EReadError(QStringLiteral("Method %1 not found").arg(value.text));
    if (!prop.write(instance, e)) InvalidValue();
}

void TReader::ReadReference(QObject* instance, const QMetaProperty& prop, const TFormValue& value)
{
    if (value.type != TValueType::vaIdent) InvalidValue();
    if (value.text.compare(QLatin1String("nil"), Qt::CaseInsensitive) == 0) {
        if (!prop.write(instance, QVariant(prop.metaType()))) InvalidValue();
        return;
    }
    // Resolved once the whole root is read: the component may come later in the text.
    fixups_.append({instance, prop, value.text});
}

void TReader::ReadCollection(QObject* instance, const QMetaProperty& prop, const TFormValue& value)
{
    auto* coll = qobject_cast<TCollection*>(ObjectValue(prop.read(instance)));
    if (!coll || value.type != TValueType::vaCollection) InvalidValue();
    TUpdateScope update(coll);
    coll->Clear();
    for (const QList<TFormProperty>& entry : value.entries) {
        TCollectionItem* item = coll->Add();
        if (!item) InvalidValue();
        ReadProperties(item, entry);
    }
}

void TReader::ReadStrings(QObject* instance, const QMetaProperty& prop, const TFormValue& value)
{
    auto* strings = qobject_cast<TStrings*>(prop.isValid() ? ObjectValue(prop.read(instance)) : instance);
    if (!strings || value.type != TValueType::vaList) InvalidValue();
    for (const TFormValue& item : value.items)
        if (item.type != TValueType::vaString) InvalidValue();
    TUpdateScope update(strings);
    strings->Clear();
    for (const TFormValue& item : value.items) strings->Add(item.text);
}

bool TReader::ReadDefinedProperty(QObject* instance, const QString& name, const TFormValue& value)
{
    auto* persistent = qobject_cast<TPersistent*>(instance);
    if (!persistent) return false;
    propName_ = name;
    definedValue_ = &value;
    propHandled_ = false;
    {
        TScopeExit forget([this] {
            propName_.clear();
            definedValue_ = nullptr;
            cursors_.clear();
        });
        persistent->DefineProperties(this);
    }
    return propHandled_;
}

void TReader::DefineProperty(const QString& name, const TReaderProc& readProc, const TWriterProc&, bool)
{
    if (propHandled_ || !definedValue_ || !readProc || name.compare(propName_, Qt::CaseInsensitive) != 0) return;
    propHandled_ = true;
    single_ = {*definedValue_};
    cursors_ = {Cursor{&single_, 0}};
    readProc(this);
    cursors_.clear();
}

void TReader::DefineBinaryProperty(const QString& name, const TStreamReadProc& readProc, const TStreamWriteProc&, bool)
{
    if (propHandled_ || !definedValue_ || !readProc || name.compare(propName_, Qt::CaseInsensitive) != 0) return;
    propHandled_ = true;
    if (definedValue_->type != TValueType::vaBinary) InvalidValue();
    readProc(definedValue_->binary);
}

const TFormValue& TReader::TakeValue()
{
    if (cursors_.isEmpty()) InvalidValue();
    Cursor& c = cursors_.last();
    if (c.index >= c.values->size()) throw EReadError(QStringLiteral("Unexpected end of list"));
    return (*c.values)[c.index++];
}

TValueType TReader::NextValue() const
{
    if (cursors_.isEmpty()) return TValueType::vaNull;
    const Cursor& c = cursors_.last();
    return c.index < c.values->size() ? (*c.values)[c.index].type : TValueType::vaNull;
}

bool TReader::EndOfList() const
{
    return NextValue() == TValueType::vaNull;
}

void TReader::ReadListBegin()
{
    const TFormValue& v = TakeValue();
    if (v.type != TValueType::vaList) InvalidValue();
    cursors_.append(Cursor{&v.items, 0});
}

// Elements the callback left unread are skipped.
void TReader::ReadListEnd()
{
    if (cursors_.size() < 2) InvalidValue();
    cursors_.removeLast();
}

qint64 TReader::ReadInt64()
{
    const TFormValue& v = TakeValue();
    if (v.type != TValueType::vaInteger) InvalidValue();
    return v.integer;
}

int TReader::ReadInteger()
{
    qint64 n = ReadInt64();
    if (n < std::numeric_limits<int>::min() || n > std::numeric_limits<int>::max()) InvalidValue();
    return int(n);
}

double TReader::ReadFloat()
{
    const TFormValue& v = TakeValue();
    if (v.type == TValueType::vaFloat) return v.real;
    if (v.type == TValueType::vaInteger) return double(v.integer);
    InvalidValue();
}

QString TReader::ReadString()
{
    const TFormValue& v = TakeValue();
    if (v.type != TValueType::vaString) InvalidValue();
    return v.text;
}

QString TReader::ReadIdent()
{
    const TFormValue& v = TakeValue();
    if (v.type != TValueType::vaIdent) InvalidValue();
    return v.text;
}

bool TReader::ReadBoolean()
{
    std::optional<bool> b = BooleanOf(TakeValue());
    if (!b) InvalidValue();
    return *b;
}

QByteArray TReader::ReadBinary()
{
    const TFormValue& v = TakeValue();
    if (v.type != TValueType::vaBinary) InvalidValue();
    return v.binary;
}

void TReader::FixupReferences()
{
    QList<Fixup> fixups = std::move(fixups_);
    fixups_.clear();
    for (const Fixup& f : fixups) {
        if (!f.instance) continue;
        QVariant v = QVariant::fromValue(static_cast<QObject*>(FindReferenced(f.name)));
        // Unresolved names, and components of the wrong class, leave the reference nil.
        if (!v.convert(f.prop.metaType())) v = QVariant(f.prop.metaType());
        f.prop.write(f.instance, v);
    }
}

// A component of the root by name (ignoring case); "Root.Name" also names one.
TComponent* TReader::FindReferenced(const QString& name) const
{
    if (!root_ || name.isEmpty()) return nullptr;
    QString local = name;
    int dot = name.indexOf(u'.');
    if (dot >= 0) {
        if (name.left(dot).compare(root_->Name(), Qt::CaseInsensitive) != 0) return nullptr;
        local = name.mid(dot + 1);
    }
    if (local.compare(root_->Name(), Qt::CaseInsensitive) == 0) return root_;
    for (int i = 0; i < root_->ComponentCount(); ++i) {
        TComponent* c = root_->Components(i);
        if (c && c->Name().compare(local, Qt::CaseInsensitive) == 0) return c;
    }
    return nullptr;
}

void TReader::FreeCreated()
{
    for (int i = int(created_.size()) - 1; i >= 0; --i) {
        TComponent* c = created_[i];
        if (!c) continue;
        if (root_ && !c->Name().isEmpty()) SetRootField(c, nullptr);
        delete c;
    }
    created_.clear();
}

// ---- TWriter ----

QString TWriter::WriteRootComponent(TComponent* root)
{
    text_.clear();
    if (!root) return text_;
    root_ = root;
    TFormObject tree;
    tree.name = root->Name();
    tree.className = ClassNameOf(root);
    {
        current_ = &tree;
        TScopeExit written([this, root] {
            root->ExcludeState(csWriting);
            current_ = nullptr;
        });
        root->IncludeState(csWriting);
        root->WriteState(this);
    }
    text_ = FormatFormText(tree);
    return text_;
}

void TWriter::WriteComponent(TComponent* component)
{
    if (!component || !current_) return;
    TFormObject* parent = current_;
    parent->children.append(TFormObject());
    TFormObject& node = parent->children.last();
    node.name = component->Name();
    node.className = ClassNameOf(component);
    TRestore current(current_, &node);
    component->IncludeState(csWriting);
    TScopeExit written([component] { component->ExcludeState(csWriting); });
    component->WriteState(this);
}

void TWriter::WriteData(TComponent* instance)
{
    if (!instance || !current_) return;
    WriteProperties(instance, QString(), current_->properties, 0);
    instance->GetChildren([this](TComponent* child) { WriteComponent(child); }, root_);
}

void TWriter::WriteProperties(QObject* instance, const QString& prefix, QList<TFormProperty>& out, int depth)
{
    // Sub-objects nest only a few levels; the limit stops a sub-object cycle.
    if (!instance || depth > 16) return;
    // The extra values a persistent streams itself (DefineProperties), named with pfx.
    auto writeDefined = [this, &out](QObject* object, const QString& pfx) {
        auto* persistent = qobject_cast<TPersistent*>(object);
        if (!persistent) return;
        QList<TFormProperty>* savedOut = definedOut_;
        QString savedPrefix = definedPrefix_;
        definedOut_ = &out;
        definedPrefix_ = pfx;
        persistent->DefineProperties(this);
        definedOut_ = savedOut;
        definedPrefix_ = savedPrefix;
    };
    for (const QMetaProperty& p : PublishedProperties(instance->metaObject())) {
        // The component's name is the block's header.
        if (p.enclosingMetaObject() == &TComponent::staticMetaObject && qstrcmp(p.name(), "Name") == 0) continue;
        if (!p.isReadable() || !IsStoredProp(instance, p)) continue;
        QString name = prefix + QString::fromLatin1(p.name());
        if (PropertyKind(p) == TPropKind::Persistent) {
            WriteProperties(ObjectValue(p.read(instance)), name + u'.', out, depth + 1);
            continue;
        }
        TFormValue value;
        if (WritePropValue(instance, p, value)) out.append(TFormProperty{name, value, 0});
        // A string list may stream values of its own after its lines ("Categories.Visibles").
        if (PropertyKind(p) == TPropKind::Strings) writeDefined(ObjectValue(p.read(instance)), name + u'.');
    }
    writeDefined(instance, prefix);
}

bool TWriter::WritePropValue(QObject* instance, const QMetaProperty& prop, TFormValue& value)
{
    QVariant cur = prop.read(instance);
    TPropKind kind = PropertyKind(prop);
    switch (kind) {
    case TPropKind::Event: {
        const TEventTypeInfo* info = FindEventTypeInfo(prop.metaType());
        QByteArray handler = info->methodName(cur);
        if (handler.isEmpty() || info->data(cur) != root_) return false;
        value = TFormValue::Ident(QString::fromUtf8(handler));
        return true;
    }
    case TPropKind::Component: {
        auto* c = qobject_cast<TComponent*>(ObjectValue(cur));
        QString name = c ? ReferenceName(c) : QString();
        if (name.isEmpty()) return false;
        value = TFormValue::Ident(name);
        return true;
    }
    case TPropKind::Collection: {
        auto* coll = qobject_cast<TCollection*>(ObjectValue(cur));
        if (!coll || coll->Count() == 0) return false;
        WriteCollection(coll, value, 0);
        return true;
    }
    case TPropKind::Strings: {
        auto* strings = qobject_cast<TStrings*>(ObjectValue(cur));
        if (!strings || strings->Count() == 0) return false;
        value.type = TValueType::vaList;
        for (int i = 0; i < strings->Count(); ++i) value.items.append(TFormValue::String(strings->Strings(i)));
        return true;
    }
    default: break;
    }
    if (!prop.isWritable() || IsDefaultValue(instance, prop, cur)) return false;
    switch (kind) {
    case TPropKind::Integer: {
        qint64 n = cur.toLongLong();
        std::optional<QString> ident = IntegerToIdent(prop, n);
        value = ident ? TFormValue::Ident(*ident) : TFormValue::Integer(n);
        return true;
    }
    case TPropKind::Float: value = TFormValue::Float(cur.toDouble()); return true;
    case TPropKind::String: value = TFormValue::String(cur.toString()); return true;
    case TPropKind::Boolean:
        value = TFormValue::Ident(cur.toBool() ? QStringLiteral("True") : QStringLiteral("False"));
        return true;
    case TPropKind::Enum: {
        int n = EnumInt(cur);
        QString ident = EnumToIdent(prop.enumerator(), n);
        value = ident.isEmpty() ? TFormValue::Integer(n) : TFormValue::Ident(ident);
        return true;
    }
    case TPropKind::Set:
        value.type = TValueType::vaSet;
        value.elements = SetToIdents(prop.enumerator(), EnumInt(cur));
        return true;
    case TPropKind::Binary:
        value.type = TValueType::vaBinary;
        value.binary = cur.toByteArray();
        return true;
    default: return false;
    }
}

// Without a declared default, ordinal values are always written; strings, floats and
// bytes are written when not empty or zero.
bool TWriter::IsDefaultValue(QObject* instance, const QMetaProperty& prop, const QVariant& cur) const
{
    TPropKind kind = PropertyKind(prop);
    std::optional<QString> text = PropertyDefaultText(instance->metaObject(), prop);
    if (!text) {
        switch (kind) {
        case TPropKind::Float: return cur.toDouble() == 0;
        case TPropKind::String: return cur.toString().isEmpty();
        case TPropKind::Binary: return cur.toByteArray().isEmpty();
        default: return false;
        }
    }
    TFormValue d;
    try {
        d = ParseFormValue(*text);
    } catch (const Exception&) {
        return false;  // an unreadable default: write the value
    }
    switch (kind) {
    case TPropKind::Integer: return IntegerOf(prop, d) == cur.toLongLong();
    case TPropKind::Float:
        return (d.type == TValueType::vaFloat && d.real == cur.toDouble()) ||
               (d.type == TValueType::vaInteger && double(d.integer) == cur.toDouble());
    case TPropKind::String: return d.type == TValueType::vaString && d.text == cur.toString();
    case TPropKind::Boolean: return BooleanOf(d) == cur.toBool();
    case TPropKind::Enum: return EnumOf(prop, d) == EnumInt(cur);
    case TPropKind::Set: return SetOf(prop, d) == EnumInt(cur);
    case TPropKind::Binary: return d.type == TValueType::vaBinary && d.binary == cur.toByteArray();
    default: return false;
    }
}

void TWriter::WriteCollection(QObject* collection, TFormValue& value, int depth)
{
    auto* coll = qobject_cast<TCollection*>(collection);
    value.type = TValueType::vaCollection;
    for (int i = 0; coll && i < coll->Count(); ++i) {
        QList<TFormProperty> props;
        WriteProperties(coll->Items(i), QString(), props, depth + 1);
        value.entries.append(props);
    }
}

// Components of the root go by name, the root by its own name, others as Owner.Name.
QString TWriter::ReferenceName(TComponent* component) const
{
    if (component->Name().isEmpty()) return QString();
    if (component == root_ || component->Owner() == root_) return component->Name();
    if (component->Owner() && !component->Owner()->Name().isEmpty())
        return component->Owner()->Name() + u'.' + component->Name();
    return component->Name();
}

void TWriter::DefineProperty(const QString& name, const TReaderProc&, const TWriterProc& writeProc, bool hasData)
{
    if (!definedOut_ || !hasData || !writeProc) return;
    TFormValue holder;
    holder.type = TValueType::vaList;
    valueStack_ = {holder};
    writeProc(this);
    while (valueStack_.size() > 1) WriteListEnd();  // close lists the callback left open
    TFormValue top = valueStack_.takeFirst();
    valueStack_.clear();
    if (!top.items.isEmpty()) definedOut_->append(TFormProperty{definedPrefix_ + name, top.items.first(), 0});
}

void TWriter::DefineBinaryProperty(const QString& name, const TStreamReadProc&, const TStreamWriteProc& writeProc,
                                   bool hasData)
{
    if (!definedOut_ || !hasData || !writeProc) return;
    TFormValue value;
    value.type = TValueType::vaBinary;
    writeProc(value.binary);
    definedOut_->append(TFormProperty{definedPrefix_ + name, value, 0});
}

void TWriter::AddValue(TFormValue value)
{
    if (!valueStack_.isEmpty()) valueStack_.last().items.append(std::move(value));
}

void TWriter::WriteListBegin()
{
    TFormValue list;
    list.type = TValueType::vaList;
    valueStack_.append(list);
}

void TWriter::WriteListEnd()
{
    if (valueStack_.size() < 2) return;
    AddValue(valueStack_.takeLast());
}

void TWriter::WriteInteger(qint64 value)
{
    AddValue(TFormValue::Integer(value));
}
void TWriter::WriteFloat(double value)
{
    AddValue(TFormValue::Float(value));
}
void TWriter::WriteString(const QString& value)
{
    AddValue(TFormValue::String(value));
}
void TWriter::WriteIdent(const QString& value)
{
    AddValue(TFormValue::Ident(value));
}
void TWriter::WriteBoolean(bool value)
{
    AddValue(TFormValue::Ident(value ? QStringLiteral("True") : QStringLiteral("False")));
}

void TWriter::WriteBinary(const QByteArray& value)
{
    TFormValue v;
    v.type = TValueType::vaBinary;
    v.binary = value;
    AddValue(std::move(v));
}
