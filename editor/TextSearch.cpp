#include "TextSearch.h"

#include <QString>
#include <algorithm>

namespace textsearch {
namespace {

char16_t FoldAscii(char16_t c)
{
    return c >= u'a' && c <= u'z' ? char16_t(c - 32) : c;
}

qsizetype FindFolded(QStringView text, QStringView what, qsizetype from)
{
    QString folded(what.size(), Qt::Uninitialized);
    std::transform(what.utf16(), what.utf16() + what.size(), reinterpret_cast<char16_t*>(folded.data()), FoldAscii);
    const char16_t* t = text.utf16();
    const char16_t* w = reinterpret_cast<const char16_t*>(folded.constData());
    const qsizetype n = what.size(), last = text.size() - n;
    const char16_t first = w[0];
    // A letter is looked for in both cases; the rest of the text is compared folded.
    const char16_t firstLower = first >= u'A' && first <= u'Z' ? char16_t(first + 32) : first;
    for (qsizetype i = from; i <= last; ++i) {
        const char16_t c = t[i];
        if (c != first && c != firstLower) continue;
        qsizetype k = 1;
        while (k < n && FoldAscii(t[i + k]) == w[k]) ++k;
        if (k == n) return i;
    }
    return -1;
}

}  // namespace

qsizetype SearchStart(qsizetype selStart, qsizetype selLength)
{
    return selLength > 0 ? selStart + 1 : selStart;
}

qsizetype FindForward(QStringView text, QStringView what, qsizetype from, bool matchCase)
{
    if (what.isEmpty() || from < 0 || from + what.size() > text.size()) return -1;
    if (matchCase) return text.indexOf(what, from, Qt::CaseSensitive);
    return FindFolded(text, what, from);
}

}  // namespace textsearch
