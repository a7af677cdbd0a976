#include "dxBarExtItems.h"

#include "Dialogs.h"
#include "Graphics.h"
#include "dxBarServices.h"
#include "dxBarStrs.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QImage>
#include <QLocale>

#include <memory>

namespace {

// What the unit keeps between start-up and shut-down.
struct TResources {
    std::unique_ptr<TBitmap> trueType;
    std::unique_ptr<TBitmap> nonTrueType;
    QHash<QString, std::shared_ptr<TBitmap>> kindGlyphs;
    std::unique_ptr<TColorDialog> colorDialog;
    std::unique_ptr<TFontDialog> fontDialog;
    int firstWeekDay = 0;
    QString today;
    QString clear;
};

int useCount = 0;

TResources& Resources()
{
    static TResources resources;
    return resources;
}

const QString kResourceFolder = QStringLiteral(":/extitems");

std::unique_ptr<TBitmap> LoadBitmap(const QString& path)
{
    auto bitmap = std::make_unique<TBitmap>();
    bitmap->SetImage(QImage(path));
    return bitmap;
}

// The marker bitmaps are the two font resources; every other PNG is an item kind's glyph.
bool IsMarker(const QString& name)
{
    return name == QLatin1String("TRUETYPEFONT") || name == QLatin1String("NONTRUETYPEFONT");
}

}  // namespace

void dxBarExtItemsInitialize()
{
    if (useCount++ > 0) return;
    TResources& r = Resources();
    r.trueType = LoadBitmap(kResourceFolder + QStringLiteral("/TRUETYPEFONT.png"));
    r.nonTrueType = LoadBitmap(kResourceFolder + QStringLiteral("/NONTRUETYPEFONT.png"));
    for (const QFileInfo& file : QDir(kResourceFolder, QStringLiteral("*.png")).entryInfoList())
        if (!IsMarker(file.baseName())) r.kindGlyphs.insert(file.baseName(), LoadBitmap(file.filePath()));
    r.colorDialog = std::make_unique<TColorDialog>(nullptr);
    r.fontDialog = std::make_unique<TFontDialog>(nullptr);
    // Qt counts Monday 1 ... Sunday 7.
    r.firstWeekDay = int(QLocale().firstDayOfWeek()) % 7;
    dxBarRegisterExtendedTexts();
    r.today = dxBarStr(dxSBAR_DATETODAY);
    r.clear = dxBarStr(dxSBAR_DATECLEAR);
    for (const TdxBarExtItemPair& pair : dxBarExtItemPairs())
        dxBarRegisterItem(pair.itemClass, pair.controlClass, true);
}

void dxBarExtItemsFinalize()
{
    if (useCount == 0 || --useCount > 0) return;
    const std::span<const TdxBarExtItemPair> pairs = dxBarExtItemPairs();
    for (auto it = pairs.rbegin(); it != pairs.rend(); ++it) dxBarUnregisterItem(it->itemClass);
    TResources& r = Resources();
    r.fontDialog.reset();
    r.colorDialog.reset();
    r.kindGlyphs.clear();
    r.nonTrueType.reset();
    r.trueType.reset();
    r.today.clear();
    r.clear.clear();
    r.firstWeekDay = 0;
}

bool dxBarExtItemsInitialized()
{
    return useCount > 0;
}

TBitmap* dxBarTrueTypeFontBitmap()
{
    return Resources().trueType.get();
}

TBitmap* dxBarNonTrueTypeFontBitmap()
{
    return Resources().nonTrueType.get();
}

TBitmap* dxBarItemKindGlyph(const QString& name)
{
    return Resources().kindGlyphs.value(name).get();
}

TColorDialog* dxBarColorDialog()
{
    return Resources().colorDialog.get();
}

TFontDialog* dxBarFontDialog()
{
    return Resources().fontDialog.get();
}

int dxBarFirstWeekDay()
{
    return Resources().firstWeekDay;
}

QString dxBarTodayText()
{
    return Resources().today;
}

QString dxBarClearText()
{
    return Resources().clear;
}
