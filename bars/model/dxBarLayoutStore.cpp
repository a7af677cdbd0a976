#include "dxBarLayoutStore.h"

#include "Graphics.h"
#include "IniFiles.h"
#include "Registry.h"
#include "Scope.h"
#include "dxBarBar.h"
#include "dxBarDockControls.h"
#include "dxBarItemLink.h"
#include "dxBarItems.h"
#include "dxBarManager.h"

#include <QBuffer>
#include <QHash>
#include <QImageReader>
#include <QPointer>
#include <QSet>

#include <algorithm>
#include <memory>
#include <optional>
#include <utility>

using namespace Qt::StringLiterals;

namespace {

constexpr int kMaxCoordinate = 32767;
constexpr int kMaxUseCount = 1000000;
// A user glyph is a button image: anything larger is not one.
constexpr int kMaxGlyphBytes = 1 << 16;
constexpr int kMaxGlyphSide = 256;

const QString kBarKey = QStringLiteral("Bar");
const QString kSubItemKey = QStringLiteral("SubItem_");
const QString kLinkKey = QStringLiteral("ItemLink");

// ---------------------------------------------------------------- writing

TRegValue IntegerValue(const QString& name, int value)
{
    return TRegValue{name, rdInteger, quint32(value), {}, {}};
}

TRegValue StringValue(const QString& name, const QString& value)
{
    return TRegValue{name, rdString, 0, value, {}};
}

TRegValue BinaryValue(const QString& name, const QByteArray& value)
{
    return TRegValue{name, rdBinary, 0, {}, value};
}

// Builds the stored form of a manager's layout; the ini file differs only in keeping no
// glyphs and UserDefine as an integer.
class TLayoutWriter {
public:
    TLayoutWriter(TdxBarManager* manager, bool ini) : manager_(manager), ini_(ini) {}

    TRegKeyData Build() const
    {
        TRegKeyData root;
        auto& values = root.values;
        const bool usage = manager_->Style() != bmsStandard;
        if (usage) {
            values.push_back(Bool(u"MenusShowRecentItemsFirst"_s, manager_->MenusShowRecentItemsFirst()));
            values.push_back(Bool(u"ShowFullMenusAfterDelay"_s, manager_->ShowFullMenusAfterDelay()));
        }
        values.push_back(Bool(u"LargeIcons"_s, manager_->LargeIcons()));
        values.push_back(IntegerValue(u"MenuAnimations"_s, int(manager_->MenuAnimations())));
        values.push_back(Bool(u"ShowHint"_s, manager_->ShowHint()));
        values.push_back(Bool(u"ShowShortCutInHint"_s, manager_->ShowShortCutInHint()));
        TdxBars* bars = manager_->Bars();
        values.push_back(IntegerValue(u"BarCount"_s, bars->Count()));
        for (int i = 0; i < bars->Count(); ++i) root.keys.push_back(Bar(bars->Items(i), kBarKey + QString::number(i)));
        for (TdxBarItem* item : manager_->ItemList()) {
            auto* sub = qobject_cast<TCustomdxBarSubItem*>(item);
            if (!sub || sub->Name().isEmpty()) continue;
            TRegKeyData key;
            key.name = kSubItemKey + sub->Name();
            Links(key, sub->ItemLinks(), false);
            root.keys.push_back(std::move(key));
        }
        return root;
    }

private:
    static TRegValue Bool(const QString& name, bool value) { return IntegerValue(name, value ? 1 : 0); }

    TRegKeyData Bar(TdxBar* bar, const QString& name) const
    {
        TRegKeyData key;
        key.name = name;
        auto& values = key.values;
        values.push_back(StringValue(u"Caption"_s, bar->Caption()));
        if (bar->DockedDockControl())
            values.push_back(StringValue(u"DockedDockControl"_s, bar->DockedDockControl()->Name()));
        values.push_back(IntegerValue(u"DockedDockingStyle"_s, int(bar->DockedDockingStyle())));
        values.push_back(IntegerValue(u"DockedLeft"_s, bar->DockedLeft()));
        values.push_back(IntegerValue(u"DockedTop"_s, bar->DockedTop()));
        values.push_back(Bool(u"OneOnRow"_s, bar->OneOnRow()));
        values.push_back(IntegerValue(u"Row"_s, bar->Row()));
        values.push_back(IntegerValue(u"FloatLeft"_s, bar->FloatLeft()));
        values.push_back(IntegerValue(u"FloatTop"_s, bar->FloatTop()));
        values.push_back(IntegerValue(u"FloatClientWidth"_s, bar->FloatClientWidth()));
        values.push_back(IntegerValue(u"FloatClientHeight"_s, bar->FloatClientHeight()));
        if (bar->DockControl()) values.push_back(StringValue(u"DockControl"_s, bar->DockControl()->Name()));
        values.push_back(IntegerValue(u"DockingStyle"_s, int(bar->DockingStyle())));
        values.push_back(Bool(u"Visible"_s, bar->Visible()));
        Links(key, bar->ItemLinks(), true);
        return key;
    }

    // The links as "ItemLink<j>" subkeys (j the link's index) and "ItemLinkCount", last.
    // Links of unnamed items and of another manager's items are left out (a gap).
    void Links(TRegKeyData& key, TdxBarItemLinks* links, bool barLinks) const
    {
        const bool usage = manager_->Style() != bmsStandard && links->UseRecentItems();
        for (int j = 0; j < links->Count(); ++j) {
            TdxBarItemLink* link = links->Items(j);
            TdxBarItem* item = link->Item();
            if (!item || item->Name().isEmpty() || item->BarManager() != manager_) continue;
            TRegKeyData l;
            l.name = kLinkKey + QString::number(j);
            auto& values = l.values;
            values.push_back(StringValue(u"ItemName"_s, item->Name()));
            values.push_back(Bool(u"BeginGroup"_s, link->StoredBeginGroup()));
            const TdxBarUserDefines ud = link->UserDefine();
            const int bits = int(ud.toInt()) & 0x0F;
            if (ini_)
                values.push_back(IntegerValue(u"UserDefine"_s, bits));
            else
                values.push_back(BinaryValue(u"UserDefine"_s, QByteArray(1, char(bits))));
            if (ud.testFlag(udCaption)) values.push_back(StringValue(u"UserCaption"_s, link->UserCaption()));
            if (ud.testFlag(udGlyph) && !ini_)
                values.push_back(BinaryValue(u"UserGlyph"_s, link->UserGlyph()->WriteData()));
            if (ud.testFlag(udPaintStyle))
                values.push_back(IntegerValue(u"UserPaintStyle"_s, int(link->UserPaintStyle())));
            if (ud.testFlag(udWidth)) values.push_back(IntegerValue(u"UserWidth"_s, link->UserWidth()));
            if (barLinks) values.push_back(Bool(u"Visible"_s, link->Visible()));
            if (usage) {
                values.push_back(IntegerValue(u"UseCount"_s, link->UseCount()));
                values.push_back(IntegerValue(u"RecentIndex"_s, link->RecentIndex()));
            }
            key.keys.push_back(std::move(l));
        }
        key.values.push_back(IntegerValue(u"ItemLinkCount"_s, links->Count()));
    }

    TdxBarManager* manager_;
    bool ini_;
};

// ---------------------------------------------------------------- reading

// One stored key or section. A value that is missing or of another type is absent.
class TLayoutSource {
public:
    virtual ~TLayoutSource() = default;
    virtual std::optional<int> Integer(const QString& name) const = 0;
    virtual std::optional<QString> String(const QString& name) const = 0;
    virtual std::optional<QByteArray> Binary(const QString& name) const = 0;
    // The stored subkey or subsection; none when missing.
    virtual std::unique_ptr<TLayoutSource> Child(const QString& name) const = 0;

    std::optional<bool> Boolean(const QString& name) const
    {
        const std::optional<int> v = Integer(name);
        return v ? std::optional<bool>(*v != 0) : std::nullopt;
    }
};

class TRegistrySource : public TLayoutSource {
public:
    explicit TRegistrySource(const TRegKeyData& key)
    {
        for (const TRegValue& v : key.values) values_.insert(v.name.toCaseFolded(), &v);
        for (const TRegKeyData& k : key.keys) keys_.insert(k.name.toCaseFolded(), &k);
    }
    std::optional<int> Integer(const QString& name) const override
    {
        const TRegValue* v = values_.value(name.toCaseFolded());
        return v && v->type == rdInteger ? std::optional<int>(int(v->dword)) : std::nullopt;
    }
    std::optional<QString> String(const QString& name) const override
    {
        const TRegValue* v = values_.value(name.toCaseFolded());
        return v && (v->type == rdString || v->type == rdExpandString) ? std::optional<QString>(v->text) : std::nullopt;
    }
    std::optional<QByteArray> Binary(const QString& name) const override
    {
        const TRegValue* v = values_.value(name.toCaseFolded());
        return v && v->type == rdBinary ? std::optional<QByteArray>(v->binary) : std::nullopt;
    }
    std::unique_ptr<TLayoutSource> Child(const QString& name) const override
    {
        const TRegKeyData* k = keys_.value(name.toCaseFolded());
        return k ? std::make_unique<TRegistrySource>(*k) : nullptr;
    }

private:
    QHash<QString, const TRegValue*> values_;
    QHash<QString, const TRegKeyData*> keys_;
};

// The manager's sections of an ini file: the root's values lie in "<prefix>Main", its
// children in "<prefix><name>", theirs in "<parent section>.<name>".
class TIniSource : public TLayoutSource {
public:
    TIniSource(const TMemIniFile& ini, QString section, QString childBase)
        : ini_(ini), section_(std::move(section)), childBase_(std::move(childBase))
    {}
    std::optional<int> Integer(const QString& name) const override
    {
        const std::optional<QString> text = String(name);
        return text ? TMemIniFile::ParseInteger(*text) : std::nullopt;
    }
    std::optional<QString> String(const QString& name) const override
    {
        if (!ini_.ValueExists(section_, name)) return std::nullopt;
        return ini_.ReadString(section_, name, QString());
    }
    std::optional<QByteArray> Binary(const QString&) const override { return std::nullopt; }
    std::unique_ptr<TLayoutSource> Child(const QString& name) const override
    {
        const QString section = childBase_ + name;
        if (!ini_.SectionExists(section)) return nullptr;
        return std::make_unique<TIniSource>(ini_, section, section + u'.');
    }

private:
    const TMemIniFile& ini_;
    QString section_;
    QString childBase_;
};

std::optional<int> Clamped(std::optional<int> v, int low, int high)
{
    return v ? std::optional<int>(std::clamp(*v, low, high)) : std::nullopt;
}

template <class Enum>
std::optional<Enum> EnumValue(std::optional<int> v, Enum last)
{
    if (!v || *v < 0 || *v > int(last)) return std::nullopt;
    return Enum(*v);
}

// Sets a flag of the bar collection for the scope's life and restores it.
class TBarsFlagScope {
public:
    TBarsFlagScope(TdxBars* bars, bool (TdxBars::*get)() const, void (TdxBars::*set)(bool))
        : bars_(bars), set_(set), previous_((bars->*get)())
    {
        (bars_->*set_)(true);
    }
    ~TBarsFlagScope() { (bars_->*set_)(previous_); }
    TBarsFlagScope(const TBarsFlagScope&) = delete;
    TBarsFlagScope& operator=(const TBarsFlagScope&) = delete;

private:
    TdxBars* bars_;
    void (TdxBars::*set_)(bool);
    bool previous_;
};

class TLayoutLoader {
public:
    TLayoutLoader(TdxBarManager* manager, bool ini) : manager_(manager), ini_(ini) {}

    void Load(const TLayoutSource& root)
    {
        TdxBarUpdateLockScope lock(manager_);
        Options(root);
        Bars(root);
        SubItems(root);
    }

private:
    void Options(const TLayoutSource& root)
    {
        if (manager_->Style() != bmsStandard) {
            if (auto v = root.Boolean(u"MenusShowRecentItemsFirst"_s)) manager_->SetMenusShowRecentItemsFirst(*v);
            if (auto v = root.Boolean(u"ShowFullMenusAfterDelay"_s)) manager_->SetShowFullMenusAfterDelay(*v);
        }
        if (auto v = root.Boolean(u"LargeIcons"_s)) manager_->SetLargeIcons(*v);
        if (auto v = EnumValue(root.Integer(u"MenuAnimations"_s), maSlide)) manager_->SetMenuAnimations(*v);
        if (auto v = root.Boolean(u"ShowHint"_s)) manager_->SetShowHint(*v);
        if (auto v = root.Boolean(u"ShowShortCutInHint"_s)) manager_->SetShowShortCutInHint(*v);
    }

    void Bars(const TLayoutSource& root)
    {
        const std::optional<int> stored = root.Integer(u"BarCount"_s);
        if (!stored) return;
        TdxBars* bars = manager_->Bars();
        TBarsFlagScope restoring(bars, &TdxBars::RestoringFlag, &TdxBars::SetRestoring);
        const int count = std::clamp(*stored, 0, TdxBarLayoutStore::MaxBars);
        std::vector<std::pair<QPointer<TdxBar>, QString>> captions;
        for (int i = 0; i < count; ++i) {
            const std::unique_ptr<TLayoutSource> key = root.Child(kBarKey + QString::number(i));
            if (!key) continue;
            // In the ini file a bar section counts only with its row.
            if (ini_) {
                const std::optional<int> row = key->Integer(u"Row"_s);
                if (!row || *row < -999) continue;
            }
            const bool added = i >= bars->Count();
            TdxBar* bar = added ? bars->Add() : bars->Items(i);
            if (added) bar->ApplyLoadedState();  // made while restoring: it has nothing pending
            if (std::optional<QString> caption = key->String(u"Caption"_s)) captions.emplace_back(bar, *caption);
            Bar(bar, *key, added);
        }
        Captions(captions);
    }

    void Bar(TdxBar* bar, const TLayoutSource& key, bool added)
    {
        QPointer<TdxBar> guard(bar);
        try {
            TdxBarWindowLockScope lock(bar);
            Links(bar->ItemLinks(), key, true);
            bar->SetDockedDockControl(DockControl(key.String(u"DockedDockControl"_s)));
            if (auto v = EnumValue(key.Integer(u"DockedDockingStyle"_s), dsBottom)) bar->SetDockedDockingStyle(*v);
            if (auto v = Clamped(key.Integer(u"DockedLeft"_s), -kMaxCoordinate, kMaxCoordinate)) bar->SetDockedLeft(*v);
            if (auto v = Clamped(key.Integer(u"DockedTop"_s), -kMaxCoordinate, kMaxCoordinate)) bar->SetDockedTop(*v);
            if (auto v = key.Boolean(u"OneOnRow"_s)) bar->SetOneOnRow(*v);
            if (auto v = Clamped(key.Integer(u"Row"_s), 0, kMaxCoordinate)) bar->SetRow(*v);
            if (auto v = Clamped(key.Integer(u"FloatLeft"_s), -kMaxCoordinate, kMaxCoordinate)) bar->SetFloatLeft(*v);
            if (auto v = Clamped(key.Integer(u"FloatTop"_s), -kMaxCoordinate, kMaxCoordinate)) bar->SetFloatTop(*v);
            if (auto v = Clamped(key.Integer(u"FloatClientWidth"_s), 0, kMaxCoordinate)) bar->SetFloatClientWidth(*v);
            if (auto v = Clamped(key.Integer(u"FloatClientHeight"_s), 0, kMaxCoordinate)) bar->SetFloatClientHeight(*v);
            // The dock control and the docking style go together: a bar stored in a placed
            // dock control comes back there, whatever style that dock has now.
            if (TdxBarDockControl* dock = DockControl(key.String(u"DockControl"_s)))
                bar->SetDockControl(dock);
            else if (auto v = EnumValue(key.Integer(u"DockingStyle"_s), dsBottom))
                bar->SetDockingStyle(*v);
            std::optional<bool> visible = key.Boolean(u"Visible"_s);
            if (!visible && ini_) visible = false;
            if (!visible && added) visible = true;  // a bar read without its state is shown
            if (visible) {
                TBarsFlagScope loading(manager_->Bars(), &TdxBars::Loading, &TdxBars::SetLoading);
                bar->SetVisible(*visible);
            }
        } catch (const std::exception&) {
            // A bar whose values cannot be applied is shown, so it cannot get lost.
            try {
                if (guard) guard->SetVisible(true);
            } catch (const std::exception&) {}
        }
    }

    // A placed dock control of this manager by its component name; none for anything else.
    TdxBarDockControl* DockControl(const std::optional<QString>& name) const
    {
        TComponent* form = manager_->OwnerForm();
        if (!name || name->isEmpty() || !form) return nullptr;
        auto* dock = qobject_cast<TdxBarDockControl*>(form->FindComponent(*name));
        return dock && dock->BarManager() == manager_ ? dock : nullptr;
    }

    // Applied once every bar is read, with the old captions released first, so captions
    // that changed places are taken as stored; only a caption another bar keeps, or one
    // an earlier bar took, is made unique with a number.
    void Captions(const std::vector<std::pair<QPointer<TdxBar>, QString>>& captions)
    {
        TdxBars* bars = manager_->Bars();
        QSet<TdxBar*> receiving;
        QSet<QString> wanted;
        for (const auto& [bar, caption] : captions) {
            if (bar) receiving.insert(bar);
            wanted.insert(caption);
        }
        QSet<QString> taken;
        for (int i = 0; i < bars->Count(); ++i)
            if (!receiving.contains(bars->Items(i))) taken.insert(bars->Items(i)->Caption());
        taken.remove(QString());
        std::vector<std::pair<QPointer<TdxBar>, QString>> finals;
        for (const auto& [bar, caption] : captions) {
            if (!bar) continue;
            QString final = caption;
            if (!caption.isEmpty() && taken.contains(caption))
                for (int n = 1;; ++n) {
                    final = caption + QString::number(n);
                    if (!taken.contains(final) && !wanted.contains(final)) break;
                }
            if (!final.isEmpty()) taken.insert(final);
            finals.emplace_back(bar, final);
        }
        for (const auto& [bar, caption] : finals)
            if (bar) bar->ReleaseCaption();
        for (const auto& [bar, caption] : finals)
            if (bar) bar->SetCaption(caption);
    }

    void SubItems(const TLayoutSource& root)
    {
        for (TdxBarItem* item : QList<TdxBarItem*>(manager_->ItemList())) {
            QPointer<TCustomdxBarSubItem> sub = qobject_cast<TCustomdxBarSubItem*>(item);
            if (!sub || sub->Name().isEmpty()) continue;
            if (const std::unique_ptr<TLayoutSource> key = root.Child(kSubItemKey + sub->Name())) {
                try {
                    Links(sub->ItemLinks(), *key, false);
                } catch (const std::exception&) {}
            }
        }
    }

    // Without a stored count the list keeps its links; with one it is read afresh.
    void Links(TdxBarItemLinks* links, const TLayoutSource& key, bool barLinks)
    {
        const std::optional<int> stored = key.Integer(u"ItemLinkCount"_s);
        if (!stored) return;
        QPointer<TdxBarItemLinks> guard(links);
        links->Clear();
        const int count = std::clamp(*stored, 0, TdxBarLayoutStore::MaxLinks);
        const bool usage = manager_->Style() != bmsStandard && links->UseRecentItems();
        TScopeExit afterLoad([&guard] {
            if (guard) guard->AfterLoad(false);
        });
        for (int j = 0; j < count && guard; ++j)
            if (const std::unique_ptr<TLayoutSource> l = key.Child(kLinkKey + QString::number(j)))
                Link(links, *l, barLinks, usage);
    }

    void Link(TdxBarItemLinks* links, const TLayoutSource& key, bool barLinks, bool usage)
    {
        const std::optional<QString> name = key.String(u"ItemName"_s);
        if (!name || name->isEmpty()) return;
        TdxBarItem* item = manager_->ItemByName(*name);
        if (!item) return;
        QPointer<TdxBarItemLink> link = links->Add();
        try {
            link->SetItem(item);
        } catch (const std::exception&) {
            // A sub item that would hold itself: the link goes.
        }
        if (!link) return;
        if (!link->Item()) {
            delete link.data();
            return;
        }
        try {
            LinkValues(link, key, barLinks, usage);
        } catch (const std::exception&) {
            // The link keeps what was applied.
        }
    }

    void LinkValues(QPointer<TdxBarItemLink>& link, const TLayoutSource& key, bool barLinks, bool usage)
    {
        if (const std::optional<bool> beginGroup = Or(key.Boolean(u"BeginGroup"_s), false))
            link->SetBeginGroup(*beginGroup);
        int bits = 0;
        if (ini_) {
            bits = key.Integer(u"UserDefine"_s).value_or(0);
        } else if (const std::optional<QByteArray> data = key.Binary(u"UserDefine"_s); data && data->size() == 1) {
            bits = std::uint8_t((*data)[0]);
        }
        bits &= 0x0F;
        // In the registry an override whose value is gone is dropped; the ini file has
        // defaults for them.
        const std::optional<QString> caption = Or(key.String(u"UserCaption"_s), QString());
        std::unique_ptr<TBitmap> glyph = (bits & udGlyph) ? Glyph(key) : nullptr;
        const std::optional<TdxBarPaintStyle> paintStyle =
            EnumValue(Or(key.Integer(u"UserPaintStyle"_s), 0), psCaptionGlyph);
        const std::optional<int> width = Or(key.Integer(u"UserWidth"_s), 100);
        if (!caption) bits &= ~int(udCaption);
        if (!glyph) bits &= ~int(udGlyph);
        if (!paintStyle) bits &= ~int(udPaintStyle);
        if (!width) bits &= ~int(udWidth);
        link->SetUserDefine(TdxBarUserDefines(bits));
        if (link && (bits & udCaption)) link->SetUserCaption(*caption);
        if (link && (bits & udGlyph)) link->SetUserGlyph(glyph.get());
        if (link && (bits & udPaintStyle)) link->SetUserPaintStyle(*paintStyle);
        if (link && (bits & udWidth)) link->SetUserWidth(*width);
        if (link && barLinks) {
            if (const std::optional<bool> visible = Or(key.Boolean(u"Visible"_s), true)) link->SetVisible(*visible);
        }
        if (link && usage) {
            const int useCount = std::clamp(key.Integer(u"UseCount"_s).value_or(0), 0, kMaxUseCount);
            const std::optional<int> recentIndex = Or(key.Integer(u"RecentIndex"_s), -1);
            if (recentIndex && *recentIndex >= 0) link->SetStoredRecentState(*recentIndex, useCount);
        }
    }

    // A value missing from the ini file takes its default there; the registry has none.
    template <class T>
    std::optional<T> Or(std::optional<T> value, T fallback) const
    {
        return value || !ini_ ? value : std::optional<T>(fallback);
    }

    // The stored glyph when it is a small image; none otherwise.
    static std::unique_ptr<TBitmap> Glyph(const TLayoutSource& key)
    {
        const std::optional<QByteArray> data = key.Binary(u"UserGlyph"_s);
        if (!data || data->size() > kMaxGlyphBytes) return nullptr;
        auto glyph = std::make_unique<TBitmap>();
        if (data->isEmpty()) return glyph;
        QBuffer buffer(const_cast<QByteArray*>(&*data));
        buffer.open(QIODevice::ReadOnly);
        const QSize size = QImageReader(&buffer).size();
        if (!size.isValid() || size.width() > kMaxGlyphSide || size.height() > kMaxGlyphSide) return nullptr;
        try {
            glyph->ReadData(*data);
        } catch (const std::exception&) {
            return nullptr;
        }
        return glyph;
    }

    TdxBarManager* manager_;
    bool ini_;
};

}  // namespace

// ---------------------------------------------------------------- TdxBarLayoutStore

QString TdxBarLayoutStore::NormalizedRegistryPath(const QString& path)
{
    QString p = path;
    if (!p.startsWith(u'\\')) p.prepend(u'\\');
    if (p.endsWith(u'\\')) p.chop(1);
    // Backslashes alone still name the root (the store reads "\\" as "\"): no path either.
    for (QChar c : std::as_const(p))
        if (c != u'\\') return p;
    return {};
}

bool TdxBarLayoutStore::IsLayoutKey(const QString& name)
{
    if (name.startsWith(kSubItemKey, Qt::CaseInsensitive)) return true;
    if (!name.startsWith(kBarKey, Qt::CaseInsensitive) || name.size() == kBarKey.size()) return false;
    for (qsizetype i = kBarKey.size(); i < name.size(); ++i)
        if (name[i] < u'0' || name[i] > u'9') return false;
    return true;
}

QString TdxBarLayoutStore::IniSectionPrefix() const
{
    TComponent* form = manager_->OwnerForm();
    return (form ? form->Name() : QString()) + u'.' + manager_->Name() + u'.';
}

TRegKeyData TdxBarLayoutStore::RegistryTree() const
{
    return TLayoutWriter(manager_, false).Build();
}

void TdxBarLayoutStore::SaveToRegistry(const QString& path) const
{
    const QString p = NormalizedRegistryPath(path);
    if (p.isEmpty()) return;
    TRegistry registry;
    registry.ReplaceKeyTree(p, &IsLayoutKey, RegistryTree());
}

void TdxBarLayoutStore::LoadFromRegistryTree(const TRegKeyData& tree) const
{
    try {
        TLayoutLoader(manager_, false).Load(TRegistrySource(tree));
    } catch (const std::exception&) {
        // Damaged data changes no more than it could; nothing is reported.
    }
}

void TdxBarLayoutStore::LoadFromRegistry(const QString& path) const
{
    const QString p = NormalizedRegistryPath(path);
    if (p.isEmpty()) return;
    TRegistry registry;
    if (const std::optional<TRegKeyData> tree = registry.ReadKeyTree(p)) LoadFromRegistryTree(*tree);
}

void TdxBarLayoutStore::SaveToIni(TMemIniFile& ini) const
{
    const QString prefix = IniSectionPrefix();
    ini.EraseSectionsStartingWith(prefix);
    const TRegKeyData tree = TLayoutWriter(manager_, true).Build();
    auto write = [&ini](const QString& section, const TRegKeyData& key) {
        for (const TRegValue& v : key.values) {
            if (v.type == rdInteger)
                ini.WriteInteger(section, v.name, int(v.dword));
            else if (v.type == rdString)
                ini.WriteString(section, v.name, v.text);
        }
    };
    write(prefix + u"Main"_s, tree);
    for (const TRegKeyData& child : tree.keys) {
        const QString section = prefix + child.name;
        write(section, child);
        for (const TRegKeyData& link : child.keys) write(section + u'.' + link.name, link);
    }
}

void TdxBarLayoutStore::SaveToIniFile(const QString& fileName) const
{
    if (fileName.isEmpty()) return;
    TMemIniFile::Modify(fileName, [this](TMemIniFile& ini) { SaveToIni(ini); });
}

void TdxBarLayoutStore::LoadFromIni(const TMemIniFile& ini) const
{
    const QString prefix = IniSectionPrefix();
    try {
        TLayoutLoader(manager_, true).Load(TIniSource(ini, prefix + u"Main"_s, prefix));
    } catch (const std::exception&) {
        // Damaged data changes no more than it could; nothing is reported.
    }
}

void TdxBarLayoutStore::LoadFromIniFile(const QString& fileName) const
{
    if (fileName.isEmpty()) return;
    try {
        const TMemIniFile ini(fileName);
        LoadFromIni(ini);
    } catch (const std::exception&) {
        // A file that cannot be read changes nothing.
    }
}
