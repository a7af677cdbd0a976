#include "dxBarFontNameCombo.h"

#include "Dialogs.h"
#include "Painting.h"
#include "Scope.h"
#include "Strings.h"
#include "TextMetrics.h"
#include "dxBarDrawing.h"
#include "dxBarExtItems.h"
#include "dxBarManager.h"

#include <QFontDatabase>
#include <QHash>
#include <QPainter>
#include <QPointer>
#include <algorithm>
#include <optional>

namespace {

struct TFamilies {
    TdxBarFontFamilyEnumerator enumerator;
    std::optional<QList<TdxBarFontFamily>> read;
};

TFamilies& Families()
{
    static TFamilies families;
    return families;
}

// The font database names a family that several foundries make "Name [foundry]".
QString WithoutFoundry(const QString& family)
{
    const qsizetype bracket = family.lastIndexOf(QLatin1String(" ["));
    return bracket > 0 && family.endsWith(u']') ? family.left(bracket) : family;
}

void* MarkerValue(bool trueType)
{
    return reinterpret_cast<void*>(quintptr(trueType ? 1 : 0));
}

}  // namespace

QList<TdxBarFontFamily> dxBarSystemFontFamilies()
{
    QList<TdxBarFontFamily> families;
    QHash<QString, qsizetype> seen;
    for (const QString& family : QFontDatabase::families()) {
        if (QFontDatabase::isPrivateFamily(family)) continue;
        const QString name = WithoutFoundry(family);
        const bool trueType = QFontDatabase::isSmoothlyScalable(family);
        const QString key = name.toLower();
        if (auto it = seen.constFind(key); it != seen.constEnd()) {
            // One foundry's outline font makes the family an outline family.
            families[*it].trueType = families[*it].trueType || trueType;
            continue;
        }
        seen.insert(key, families.size());
        families.append({name, trueType});
    }
    std::sort(families.begin(), families.end(), [](const TdxBarFontFamily& a, const TdxBarFontFamily& b) {
        return a.name.compare(b.name, Qt::CaseInsensitive) < 0;
    });
    return families;
}

void dxBarSetFontFamilyEnumerator(TdxBarFontFamilyEnumerator enumerator)
{
    Families().enumerator = std::move(enumerator);
    Families().read.reset();
}

const QList<TdxBarFontFamily>& dxBarFontFamilies()
{
    TFamilies& families = Families();
    if (families.read) return *families.read;
    QList<TdxBarFontFamily> read = families.enumerator ? families.enumerator() : dxBarSystemFontFamilies();
    // In list order, so that filling a combo's sorted list only appends.
    std::stable_sort(read.begin(), read.end(), [](const TdxBarFontFamily& a, const TdxBarFontFamily& b) {
        return a.name.compare(b.name, Qt::CaseInsensitive) < 0;
    });
    families.read = std::move(read);
    return *families.read;
}

// ---------------------------------------------------------------- TdxBarFontNameCombo

TdxBarFontNameCombo::TdxBarFontNameCombo(TComponent* owner) : TdxBarCustomCombo(owner)
{
    SetDropDownCount(12);
    if (TBitmap* glyph = dxBarItemKindGlyph(QStringLiteral("FONTNAMECOMBO"))) SetGlyph(glyph);
    SetShowEditor(false);
    SetSorted(true);
    FillFontList();
    SetWidth(160);
}

void TdxBarFontNameCombo::FillFontList()
{
    TStrings* items = Items();
    TUpdateScope update(items);
    items->Clear();
    // The sorted list keeps each name once.
    for (const TdxBarFontFamily& family : dxBarFontFamilies())
        items->AddObject(family.name, MarkerValue(family.trueType));
}

bool TdxBarFontNameCombo::IsTrueType(int index) const
{
    return index >= 0 && index < Items()->Count() && Items()->Objects(index) != nullptr;
}

void TdxBarFontNameCombo::SetText(const QString& value)
{
    if (!FindLiveLink() || value.isEmpty()) {
        TdxBarCustomCombo::SetText(value);
        return;
    }
    const int match = FindBestMatch(value);
    if (match < 0) return;
    TdxBarCustomCombo::SetText(Items()->Strings(match));
}

void TdxBarFontNameCombo::Click()
{
    QPointer<TdxBarFontNameCombo> self(this);
    TdxBarCustomCombo::Click();
    if (!self || OnClick() || ReadOnly()) return;
    TFontDialog* dialog = dxBarFontDialog();
    if (!dialog) return;
    dialog->Font()->SetName(Text());
    if (dialog->Execute() && self) SetText(dialog->Font()->Name());
}

void TdxBarFontNameCombo::DrawItem(TCanvas& p, const QFont& font, int index, const TRect& rect, unsigned state,
                                   bool flatInterior)
{
    if (OnDrawItem || index < 0 || index >= Items()->Count()) {
        TdxBarCustomCombo::DrawItem(p, font, index, rect, state, flatInterior);
        return;
    }
    const TBitmap* marker = IsTrueType(index) ? dxBarTrueTypeFontBitmap() : dxBarNonTrueTypeFontBitmap();
    const QImage image = marker ? marker->Image() : QImage();
    const bool selected = state & odSelected;
    const QBrush brush = SysBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW);
    const TRect glyph =
        TRect::Bounds(rect.Left, rect.Top + (rect.Height() - image.height()) / 2, image.width(), image.height());
    TdxBarManager* manager = BarManager();
    dxBarDrawGlyph(p, brush, rect, manager ? manager->ImageListBkColor() : clFuchsia, dgEnabled, nullptr, -1, image,
                   glyph);
    p.save();
    TScopeExit restore([&p] { p.restore(); });
    p.setFont(font);
    p.setPen(SysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    TRect text{glyph.Right + 2, rect.Top, rect.Right, rect.Bottom};
    DrawText(p, Items()->Strings(index), text, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    if (state & odFocused) DrawFocusRect(p, rect);
}

void TdxBarFontNameCombo::MeasureItemWidth(int index, const QFont& font, int& width)
{
    // Every drop measures every family: the names' widths are kept for the list's font.
    if (font != widthsFont_) {
        widths_.clear();
        widthsFont_ = font;
    }
    const QString name = index >= 0 && index < Items()->Count() ? Items()->Strings(index) : QString();
    if (const auto it = widths_.constFind(name); it != widths_.constEnd()) {
        width = *it;
    } else {
        TdxBarCustomCombo::MeasureItemWidth(index, font, width);
        widths_.insert(name, width);
    }
    const TBitmap* marker = dxBarTrueTypeFontBitmap();
    width += (marker ? marker->Width() : 0) + 1;
}
