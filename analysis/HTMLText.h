#pragma once
// Text helpers of the HTML scanner: ASCII-case-insensitive comparison and search, the
// attribute helpers, and what a link's URL says about its target. All work on views into
// the scanned lines and allocate nothing.
#include <QStringView>

namespace HTMLText {

// Upper-casing is ASCII-only so that positions in the upper-cased text match the original.
constexpr char16_t AsciiUpper(char16_t c)
{
    return c >= u'a' && c <= u'z' ? char16_t(c - 32) : c;
}

inline const char16_t* Chars(QStringView text)
{
    return reinterpret_cast<const char16_t*>(text.data());
}

// Whether the n characters at s equal those at upper with ASCII case ignored.
// Two characters differing in bit 5 alone are the two cases of a letter when either, with
// that bit set, is a lower-case ASCII letter.
inline bool EqualsAsciiN(const char16_t* s, const char16_t* upper, qsizetype n)
{
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t diff = s[i] ^ upper[i];
        if (diff != 0 && (diff != 0x20 || char16_t((s[i] | 0x20) - u'a') > u'z' - u'a')) return false;
    }
    return true;
}
// Whether text equals upper with ASCII case ignored.
inline bool EqualsAscii(QStringView text, QStringView upper)
{
    return text.size() == upper.size() && EqualsAsciiN(Chars(text), Chars(upper), text.size());
}
// Index of needle in text, both compared ASCII-upper-cased; -1 when absent.
qsizetype IndexOfAscii(QStringView text, QStringView needle);
inline bool ContainsAscii(QStringView text, QStringView needle)
{
    return IndexOfAscii(text, needle) >= 0;
}
// Index of c in text from `from` on, or -1.
qsizetype IndexOfChar(QStringView text, char16_t c, qsizetype from = 0);

// The text between the first ch and the next one (or the end); all of text without ch.
QStringView ExtractQuotedView(QStringView text, QChar ch);
// The attribute called name (found anywhere in the tag, ignoring ASCII case), from the
// name through the blank, ">" or last character that ends it; empty when absent.
QStringView AttributeView(QStringView tag, QStringView name);
// The attribute's text after its first "=", without the surrounding double quotes.
QStringView AttributeValueView(QStringView attribute);
// AttributeValueView(AttributeView(tag, name)), in one pass.
QStringView TagAttributeValue(QStringView tag, QStringView name);

// What a link's URL says: the kind of file it points to and its protocol.
struct THrefInfo {
    int kind = -1;                                   // a TParsed::TLinkKind, or -1 for none
    bool mailto = false, ftp = false, http = false;  // "MAILTO:", "FTP://", "HTTP://" anywhere
    bool hasSeparator = false;                       // holds a "://"
};
THrefInfo ClassifyHref(QStringView url);

}  // namespace HTMLText
