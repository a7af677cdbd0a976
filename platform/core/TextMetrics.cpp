#include "TextMetrics.h"

#include <QFontMetrics>

QSize TextExtent(const QFont& font, const QString& text)
{
    const QFontMetrics fm(font);
    return {fm.horizontalAdvance(text), fm.height()};
}
