#pragma once
// TdxBarFontNameCombo: a sorted list combo of the font families, each entry led by a marker
// that tells outline (smoothly scalable) fonts from the others. A click on an item that cannot
// edit in place opens the shared font dialog on its text. While one of its controls is active
// a text set on it snaps to the best-matching family; a text that matches none is refused.
//
// The families come from one enumerator, read once and kept: by default the machine's font
// database, each family once under its plain name (without the foundry), private families
// left out.
#include "dxBarItems.h"

#include <QFont>
#include <QHash>
#include <QList>
#include <QString>
#include <functional>

struct TdxBarFontFamily {
    QString name;
    // Smoothly scalable: an outline font.
    bool trueType = false;
};
using TdxBarFontFamilyEnumerator = std::function<QList<TdxBarFontFamily>()>;

// The machine's families, sorted without regard to case, each once.
QList<TdxBarFontFamily> dxBarSystemFontFamilies();
// Puts another enumerator in place (none: the machine's) and forgets the families read.
void dxBarSetFontFamilyEnumerator(TdxBarFontFamilyEnumerator enumerator);
// The families the combos list: the enumerator's, read on first use and kept.
const QList<TdxBarFontFamily>& dxBarFontFamilies();

class TdxBarFontNameCombo : public TdxBarCustomCombo {
    Q_OBJECT
    Q_CLASSINFO("Default.ShowEditor", "False")
public:
    Q_INVOKABLE explicit TdxBarFontNameCombo(TComponent* owner);

    // The list's entry is an outline font.
    bool IsTrueType(int index) const;

    // While a control is active: a non-empty text becomes its best-matching family, or is
    // refused when none shares its first letter.
    void SetText(const QString& value) override;
    // The inherited click; then, without OnClick and unless ReadOnly, the font dialog on Text,
    // whose choice becomes Text.
    void Click() override;
    // The family's marker, then its name.
    void DrawItem(TCanvas& p, const QFont& font, int index, const TRect& rect, unsigned state,
                  bool flatInterior = false) override;
    void MeasureItemWidth(int index, const QFont& font, int& width) override;

private:
    void FillFontList();

    // The names' text widths in one font.
    QFont widthsFont_;
    QHash<QString, int> widths_;
};
