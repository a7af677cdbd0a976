#include "EditorSettings.h"

#include "InsertRS.h"
#include "Registry.h"
#include "frmHTML.h"

#include <QGuiApplication>
#include <QScreen>
#include <algorithm>
#include <utility>

namespace editorsettings {
namespace {

const QString kLayoutKey = QStringLiteral("\\Software\\Morvath");
const QString kCustomKey = QStringLiteral("\\Software\\Morvath\\Custom");
const char* const kPrefixes[kCustomCount] = {"One", "Two", "Three", "Four", "Five"};

// Opens key for one load or save and closes it again, also on failure.
class TOpenKey {
public:
    TOpenKey(TRegistry& registry, const QString& key) : registry_(registry)
    {
        if (!registry.OpenKey(key, true))
            throw ERegistryException(QStringLiteral("Cannot open the settings key %1.").arg(key));
    }
    ~TOpenKey() { registry_.CloseKey(); }
    TOpenKey(const TOpenKey&) = delete;
    TOpenKey& operator=(const TOpenKey&) = delete;

private:
    TRegistry& registry_;
};

std::optional<int> ReadInt(TRegistry& r, const QString& name)
{
    if (r.GetDataType(name) != rdInteger) return std::nullopt;
    return r.ReadInteger(name);
}

std::optional<bool> ReadFlag(TRegistry& r, const QString& name)
{
    if (r.GetDataType(name) != rdInteger) return std::nullopt;
    return r.ReadBool(name);
}

std::optional<QString> ReadText(TRegistry& r, const QString& name)
{
    if (r.GetDataType(name) != rdString) return std::nullopt;
    return r.ReadString(name);
}

}  // namespace

namespace {

// The layout's values by their stored names.
const std::pair<const char*, std::optional<int> TLayoutValues::*> kIntValues[] = {
    {"Width", &TLayoutValues::width},
    {"Height", &TLayoutValues::height},
    {"Top", &TLayoutValues::top},
    {"Left", &TLayoutValues::left},
    {"Format", &TLayoutValues::format},
    {"SplitTop", &TLayoutValues::splitTop},
    {"SplitLeft", &TLayoutValues::splitLeft},
};
const std::pair<const char*, std::optional<bool> TLayoutValues::*> kFlagValues[] = {
    {"Maximized", &TLayoutValues::maximized}, {"CodeWin", &TLayoutValues::codeWin},
    {"BrowseWin", &TLayoutValues::browseWin}, {"Dynamic", &TLayoutValues::dynamic},
    {"WordWrap", &TLayoutValues::wordWrap},
};

}  // namespace

TLayoutValues ReadLayout(TRegistry& registry)
{
    TOpenKey key(registry, kLayoutKey);
    TLayoutValues v;
    for (const auto& [name, value] : kIntValues) v.*value = ReadInt(registry, QString::fromLatin1(name));
    for (const auto& [name, value] : kFlagValues) v.*value = ReadFlag(registry, QString::fromLatin1(name));
    return v;
}

void WriteLayout(TRegistry& registry, const TLayoutValues& v)
{
    TOpenKey key(registry, kLayoutKey);
    for (const auto& [name, value] : kIntValues)
        if (v.*value) registry.WriteInteger(QString::fromLatin1(name), *(v.*value));
    for (const auto& [name, value] : kFlagValues)
        if (v.*value) registry.WriteBool(QString::fromLatin1(name), *(v.*value));
}

TLayoutValues CheckedWindow(TLayoutValues v, const QList<QRect>& screens)
{
    if (v.width && *v.width < kMinWindowSize) v.width.reset();
    if (v.height && *v.height < kMinWindowSize) v.height.reset();
    if (v.left && v.top) {
        const QRect rect(*v.left, *v.top, v.width.value_or(kMinWindowSize), v.height.value_or(kMinWindowSize));
        const bool seen =
            std::any_of(screens.begin(), screens.end(), [&](const QRect& s) { return s.intersects(rect); });
        if (!seen) {
            v.left.reset();
            v.top.reset();
        }
    } else {
        // A place needs both of its coordinates.
        v.left.reset();
        v.top.reset();
    }
    return v;
}

int ClampPaneSize(int value, int limit)
{
    return std::clamp(value, 0, std::max(0, limit));
}

TCustomInserts ReadCustomInserts(TRegistry& registry)
{
    TOpenKey key(registry, kCustomKey);
    TCustomInserts inserts;
    for (int n = 0; n < kCustomCount; ++n) {
        const QString prefix = QString::fromLatin1(kPrefixes[n]);
        const std::optional<QString> name = ReadText(registry, prefix + QStringLiteral("Name"));
        const std::optional<QString> text = ReadText(registry, prefix + QStringLiteral("Text"));
        if (name && text) inserts[n] = TCustomInsert{*name, *text};
    }
    return inserts;
}

void WriteCustomInserts(TRegistry& registry, const std::array<TCustomInsert, kCustomCount>& inserts)
{
    TOpenKey key(registry, kCustomKey);
    for (int n = 0; n < kCustomCount; ++n) {
        const TCustomInsert& insert = inserts[n];
        if (insert.name.isEmpty() || insert.text.isEmpty()) continue;
        const QString prefix = QString::fromLatin1(kPrefixes[n]);
        registry.WriteString(prefix + QStringLiteral("Name"), insert.name);
        registry.WriteString(prefix + QStringLiteral("Text"), insert.text);
    }
}

// ---- applying to the main window

namespace {

QList<QRect> ScreenRects()
{
    QList<QRect> rects;
    for (const QScreen* screen : QGuiApplication::screens()) rects.append(screen->geometry());
    return rects;
}

// A toggle stored as up: turn it up and run its command.
void RestoreToggle(const std::optional<bool>& down, TdxBarButton* button, void (TfrmMain::*command)(TObject*),
                   TfrmMain& form)
{
    if (!down || *down || !button->Down()) return;
    button->SetDown(false);
    (form.*command)(button);
}

}  // namespace

void TEditorSettings::LoadLayout()
{
    const TLayoutValues v = CheckedWindow(ReadLayout(*form_.Registry), ScreenRects());
    if (v.format == 1) form_.btSwapClick(form_.btSwap);
    if (v.width || v.height || v.left)
        form_.SetBounds(v.left.value_or(form_.Left()), v.top.value_or(form_.Top()), v.width.value_or(form_.Width()),
                        v.height.value_or(form_.Height()));
    // The pane area has its final size now: the code pane stays inside it.
    if (v.splitLeft && form_.Splitter->Align() == alLeft)
        form_.Panel1->SetWidth(ClampPaneSize(*v.splitLeft, form_.Panel3->Width() - form_.Splitter->Width()));
    else if (v.splitTop && form_.Splitter->Align() == alTop)
        form_.Panel1->SetHeight(ClampPaneSize(*v.splitTop, form_.Panel3->Height() - form_.Splitter->Height()));
    if (v.maximized == true) form_.SetWindowState(wsMaximized);
    RestoreToggle(v.codeWin, form_.btCode, &TfrmMain::btCodeClick, form_);
    RestoreToggle(v.browseWin, form_.btBrowser, &TfrmMain::btBrowserClick, form_);
    RestoreToggle(v.dynamic, form_.btDynamic, &TfrmMain::btDynamicClick, form_);
    RestoreToggle(v.wordWrap, form_.btWordWrap, &TfrmMain::btWordWrapClick, form_);
}

void TEditorSettings::SaveLayout()
{
    TLayoutValues v;
    const TWindowState state = form_.WindowState();
    v.maximized = state == wsMaximized;
    QRect rect(form_.Left(), form_.Top(), form_.Width(), form_.Height());
    // Maximized or minimized, the window keeps its normal rectangle for the next start.
    if (state != wsNormal && form_.Handle()) rect = form_.Handle()->normalGeometry();
    v.width = rect.width();
    v.height = rect.height();
    v.top = rect.top();
    v.left = rect.left();
    v.codeWin = form_.btCode->Down();
    v.browseWin = form_.btBrowser->Down();
    v.dynamic = form_.btDynamic->Down();
    v.format = form_.Panel1->Align() == alTop ? 1 : 0;
    v.splitTop = form_.Panel1->Height();
    v.splitLeft = form_.Panel1->Width();
    v.wordWrap = form_.btWordWrap->Down();
    WriteLayout(*form_.Registry, v);
}

void TEditorSettings::LoadCustomInserts()
{
    const TCustomInserts stored = ReadCustomInserts(*form_.Registry);
    for (int n = 1; n <= kCustomCount; ++n) {
        if (const auto& insert = stored[n - 1]) {
            form_.CustomName[n] = insert->name;
            form_.CustomText[n] = insert->text;
            form_.CustomItem(n)->SetCaption(insert->name);
            form_.CustomItem(n)->SetHint(insert->name);
        } else {
            form_.CustomName[n] = QStringLiteral("Custom ") + QString::number(n);
            form_.CustomText[n] = InsertRS::LoadStr(InsertRS::sCustomDefault);
        }
    }
}

void TEditorSettings::SaveCustomInserts()
{
    std::array<TCustomInsert, kCustomCount> inserts;
    for (int n = 1; n <= kCustomCount; ++n) inserts[n - 1] = {form_.CustomName[n], form_.CustomText[n]};
    WriteCustomInserts(*form_.Registry, inserts);
}

}  // namespace editorsettings
