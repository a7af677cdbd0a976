#include "HTMLText.h"

#include "HTMLParser.h"

#include <initializer_list>

namespace HTMLText {

namespace {

bool EqualsAsciiN(const char16_t* s, const char16_t* upper, qsizetype n) {
    for (qsizetype i = 0; i < n; ++i)
        if (AsciiUpper(s[i]) != AsciiUpper(upper[i])) return false;
    return true;
}

}  // namespace

bool EqualsAscii(QStringView text, QStringView upper) {
    return text.size() == upper.size() && EqualsAsciiN(Chars(text), Chars(upper), text.size());
}

qsizetype IndexOfAscii(QStringView text, QStringView needle) {
    const qsizetype n = needle.size();
    if (n == 0) return 0;
    const char16_t* s = Chars(text);
    const char16_t* upper = Chars(needle);
    // For a letter, c | 0x20 is its lower case and matches nothing but the letter's two cases.
    const char16_t first = AsciiUpper(upper[0]);
    const char16_t fold = first >= u'A' && first <= u'Z' ? 0x20 : 0;
    const char16_t target = first | fold;
    for (qsizetype i = 0, last = text.size() - n; i <= last; ++i)
        if ((s[i] | fold) == target && EqualsAsciiN(s + i + 1, upper + 1, n - 1)) return i;
    return -1;
}

// Index of c in text from `from` on, or -1. Tags and links are short, so a plain loop beats
// the set-up of the library's vectorised search.
qsizetype IndexOfChar(QStringView text, char16_t c, qsizetype from) {
    const char16_t* s = reinterpret_cast<const char16_t*>(text.data());
    for (qsizetype i = from, n = text.size(); i < n; ++i)
        if (s[i] == c) return i;
    return -1;
}

qsizetype LastIndexOfChar(QStringView text, char16_t c) {
    const char16_t* s = reinterpret_cast<const char16_t*>(text.data());
    for (qsizetype i = text.size() - 1; i >= 0; --i)
        if (s[i] == c) return i;
    return -1;
}

QStringView ExtractQuotedView(QStringView text, QChar ch) {
    const qsizetype open = IndexOfChar(text, ch.unicode());
    if (open < 0) return text;
    const qsizetype close = IndexOfChar(text, ch.unicode(), open + 1);
    return text.mid(open + 1, (close < 0 ? text.size() : close) - open - 1);
}

QStringView AttributeView(QStringView tag, QStringView name) {
    if (name.isEmpty()) return {};
    const qsizetype at = IndexOfAscii(tag, name);
    if (at < 0) return {};
    const char16_t* s = Chars(tag);
    const qsizetype last = tag.size() - 1;
    bool quoted = false;
    qsizetype i = at;
    for (; i < last; ++i) {
        const char16_t c = s[i];
        if (c > u'>') continue;  // most characters: none of blank, '"' and '>' lies above '>'
        if (c == u'"')
            quoted = !quoted;
        else if ((c == u' ' && !quoted) || c == u'>')
            break;
    }
    return tag.mid(at, i - at + 1);
}

QStringView AttributeValueView(QStringView attribute) {
    const qsizetype eq = IndexOfChar(attribute, u'=');
    if (eq < 0) return {};
    return ExtractQuotedView(attribute.mid(eq + 1), u'"');
}

// AttributeValueView(AttributeView(tag, name)) in one pass over the attribute: the first "="
// and the first two double quotes after it are noted on the way.
QStringView TagAttributeValue(QStringView tag, QStringView name) {
    if (name.isEmpty()) return {};
    const qsizetype at = IndexOfAscii(tag, name);
    if (at < 0) return {};
    const char16_t* s = Chars(tag);
    const qsizetype last = tag.size() - 1;
    qsizetype eq = -1, open = -1, close = -1;
    const auto note = [&](qsizetype k) {
        if (s[k] == u'=') {
            if (eq < 0) eq = k;
        } else if (s[k] == u'"' && eq >= 0) {
            if (open < 0)
                open = k;
            else if (close < 0)
                close = k;
        }
    };
    bool quoted = false;
    qsizetype i = at;
    for (; i < last; ++i) {
        const char16_t c = s[i];
        if (c > u'>') continue;  // blank, '"', '=' and '>' all lie below
        note(i);
        if (c == u'"')
            quoted = !quoted;
        else if ((c == u' ' && !quoted) || c == u'>')
            break;
    }
    if (i == last) note(last);
    // The attribute is tag[at..i]; its value follows the "=", without its double quotes.
    if (eq < 0) return {};
    if (open < 0) return tag.mid(eq + 1, i - eq);
    return tag.mid(open + 1, (close < 0 ? i + 1 : close) - open - 1);
}

namespace {

bool EqualsAnyAscii(QStringView text, std::initializer_list<QStringView> candidates) {
    for (QStringView c : candidates)
        if (EqualsAscii(text, c)) return true;
    return false;
}

// What a link's protocol part says, from one pass over its ":" characters: the first
// "://", and whether "MAILTO:", "FTP://" and "HTTP://" occur anywhere (ASCII case ignored).
struct UrlProtocols {
    qsizetype firstSeparator = -1;  // index of the first "://"
    bool mailto = false, ftp = false, http = false;

    explicit UrlProtocols(QStringView url) {
        for (qsizetype i = IndexOfChar(url, u':'); i >= 0; i = IndexOfChar(url, u':', i + 1)) {
            if (i >= 6 && EqualsAscii(url.mid(i - 6, 6), u"MAILTO")) mailto = true;
            if (i + 2 >= url.size() || url[i + 1] != u'/' || url[i + 2] != u'/') continue;
            if (firstSeparator < 0) firstSeparator = i;
            if (i >= 3 && EqualsAscii(url.mid(i - 3, 3), u"FTP")) ftp = true;
            if (i >= 4 && EqualsAscii(url.mid(i - 4, 4), u"HTTP")) http = true;
        }
    }
};

// The extension of the URL's file name ("" without one): the protocol part is dropped, the
// file name is the part after the last "/" when it holds a ".", cut before its first "?".
QStringView UrlExtension(QStringView url, const UrlProtocols& protocols) {
    if (protocols.firstSeparator >= 0)
        url = url.mid(protocols.firstSeparator + 3);
    else if (protocols.mailto)
        url = url.mid(7);
    QStringView name = url.mid(LastIndexOfChar(url, u'/') + 1);
    if (IndexOfChar(name, u'.') < 0) return {};
    const qsizetype query = IndexOfChar(name, u'?');
    if (query >= 0) name = name.left(query);
    const qsizetype dot = LastIndexOfChar(name, u'.');
    return dot < 0 ? QStringView() : name.mid(dot);
}

int LinkKind(QStringView ext) {
    if (ContainsAscii(ext, u"HTM")) return TParsed::lkHTML;
    if (EqualsAnyAscii(ext, {u".JPG", u".JPEG", u".GIF", u".TIF", u".PCX", u".PNG", u".BMP"}))
        return TParsed::lkImage;
    if (EqualsAnyAscii(ext, {u".AVI", u".MP3", u".AU", u".MOV", u".MPG", u".MPEG"})) return TParsed::lkMedia;
    if (EqualsAnyAscii(ext, {u".JS", u".CLASS", u".JAVA"})) return TParsed::lkJava;
    if (EqualsAscii(ext, u".ASP")) return TParsed::lkASP;
    if (EqualsAnyAscii(ext, {u".PL", u".CGI"})) return TParsed::lkPERL;
    if (ContainsAscii(ext, u"PHP")) return TParsed::lkPHP;
    if (EqualsAscii(ext, u".CAB")) return TParsed::lkActiveX;
    return -1;
}

}  // namespace

THrefInfo ClassifyHref(QStringView url) {
    const UrlProtocols protocols(url);
    THrefInfo info;
    info.kind = LinkKind(UrlExtension(url, protocols));
    info.mailto = protocols.mailto;
    info.ftp = protocols.ftp;
    info.http = protocols.http;
    info.hasSeparator = protocols.firstSeparator >= 0;
    return info;
}

}  // namespace HTMLText
