#include "HTMLText.h"

#include "HTMLParser.h"

#include <algorithm>
#include <bit>
#include <cstdint>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace HTMLText {

namespace {

// ---- finding characters 16 at a time ----
// A matcher says which characters it looks for, both for a vector of eight and for one.

#if defined(__SSE2__)
inline __m128i Load8(const char16_t* p)
{
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
}
#endif

// Any of the characters C.
template <char16_t... C>
struct AnyOf {
#if defined(__SSE2__)
    static __m128i Vector(__m128i x)
    {
        __m128i any = _mm_setzero_si128();
        ((any = _mm_or_si128(any, _mm_cmpeq_epi16(x, _mm_set1_epi16(short(C))))), ...);
        return any;
    }
#endif
    static bool Char(char16_t c)
    {
        return ((c == C) || ...);
    }
};

// The characters whose c | fold is target: for a letter with fold 0x20, its two cases.
struct Folded {
    char16_t fold, target;
#if defined(__SSE2__)
    __m128i Vector(__m128i x) const
    {
        return _mm_cmpeq_epi16(_mm_or_si128(x, _mm_set1_epi16(short(fold))), _mm_set1_epi16(short(target)));
    }
#endif
    bool Char(char16_t c) const
    {
        return char16_t(c | fold) == target;
    }
};

// Bit k of the result is set when p[k] matches, for the 16 characters at p.
template <class Match>
std::uint32_t Marks16(const char16_t* p, const Match& match)
{
#if defined(__SSE2__)
    // Packing turns the 16-bit lane results into bytes, one mask bit per character.
    return std::uint32_t(_mm_movemask_epi8(_mm_packs_epi16(match.Vector(Load8(p)), match.Vector(Load8(p + 8)))));
#else
    std::uint32_t mask = 0;
    for (int k = 0; k < 16; ++k)
        if (match.Char(p[k])) mask |= std::uint32_t(1) << k;
    return mask;
#endif
}

// Where the characters s[from .. min(from + 16, limit)) can be examined 16 at a time without
// reading at or past limit, and how to bring the marks of those 16 into place: near the end
// the last 16 characters before limit are examined instead, and a text shorter than 16 is
// copied into block.
struct Window {
    const char16_t* p;
    int shift;
    std::uint32_t keep;

    std::uint32_t Place(std::uint32_t marks) const { return (marks >> shift) & keep; }
};

inline Window WindowAt(const char16_t* s, qsizetype from, qsizetype limit, char16_t (&block)[16])
{
    const qsizetype left = limit - from;
    if (left >= 16) return {s + from, 0, 0xFFFF};
    if (limit >= 16) return {s + limit - 16, int(16 - left), 0xFFFF};
    std::fill(std::copy(s + from, s + limit, block), block + 16, u'\0');
    return {block, 0, (std::uint32_t(1) << left) - 1};
}

// The marks of s[from .. min(from + 16, limit)), bit k for s[from + k].
template <class Match>
std::uint32_t MarksIn(const char16_t* s, qsizetype from, qsizetype limit, const Match& match)
{
    char16_t block[16];
    const Window window = WindowAt(s, from, limit, block);
    return window.Place(Marks16(window.p, match));
}

// Whether the characters at p are the lower-case letters `lower`, either case.
template <std::size_t N>
bool LettersAt(const char16_t* p, const char (&lower)[N])
{
    for (std::size_t i = 0; i + 1 < N; ++i)
        if (char16_t(p[i] | 0x20) != char16_t(lower[i])) return false;
    return true;
}

}  // namespace

qsizetype IndexOfAscii(QStringView text, QStringView needle)
{
    const qsizetype n = needle.size();
    if (n == 0) return 0;
    if (n > text.size()) return -1;
    const char16_t* s = Chars(text);
    const char16_t* upper = Chars(needle);
    // For a letter, c | 0x20 is its lower case and matches nothing but the letter's two cases.
    const char16_t first = AsciiUpper(upper[0]);
    const char16_t fold = first >= u'A' && first <= u'Z' ? 0x20 : 0;
    const Folded match{fold, char16_t(first | fold)};
    const qsizetype starts = text.size() - n + 1;  // the places a match can start
    for (qsizetype block = 0; block < starts; block += 16)
        for (std::uint32_t m = MarksIn(s, block, starts, match); m; m &= m - 1) {
            const qsizetype k = block + std::countr_zero(m);
            if (EqualsAsciiN(s + k + 1, upper + 1, n - 1)) return k;
        }
    return -1;
}

// Index of c in text from `from` on, or -1. Tags and links are short, so a plain loop beats
// the set-up of a vectorised search.
qsizetype IndexOfChar(QStringView text, char16_t c, qsizetype from)
{
    const char16_t* s = Chars(text);
    for (qsizetype i = from, n = text.size(); i < n; ++i)
        if (s[i] == c) return i;
    return -1;
}

QStringView ExtractQuotedView(QStringView text, QChar ch)
{
    const qsizetype open = IndexOfChar(text, ch.unicode());
    if (open < 0) return text;
    const qsizetype close = IndexOfChar(text, ch.unicode(), open + 1);
    return text.mid(open + 1, (close < 0 ? text.size() : close) - open - 1);
}

QStringView AttributeView(QStringView tag, QStringView name)
{
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

QStringView AttributeValueView(QStringView attribute)
{
    const qsizetype eq = IndexOfChar(attribute, u'=');
    if (eq < 0) return {};
    return ExtractQuotedView(attribute.mid(eq + 1), u'"');
}

// AttributeValueView(AttributeView(tag, name)) in one pass over the attribute, visiting only
// its blanks, double quotes, "=" and ">". The attribute ends at a blank outside quotes, at a
// ">" or at the tag's last character; the value is what follows its first "=", and when a
// double quote follows that, what lies between it and the next one (or the attribute's end).
QStringView TagAttributeValue(QStringView tag, QStringView name)
{
    if (name.isEmpty()) return {};
    const qsizetype at = IndexOfAscii(tag, name);
    if (at < 0) return {};
    const char16_t* s = Chars(tag);
    const qsizetype size = tag.size();
    qsizetype eq = -1, open = -1, end = size - 1;
    bool quoted = false;
    for (qsizetype block = at; block < size; block += 16) {
        for (std::uint32_t m = MarksIn(s, block, size, AnyOf<u' ', u'"', u'=', u'>'>()); m; m &= m - 1) {
            const qsizetype k = block + std::countr_zero(m);
            const char16_t c = s[k];
            if (c == u'"') {
                quoted = !quoted;
                if (eq < 0) continue;
                if (open >= 0) return tag.mid(open + 1, k - open - 1);  // the closing quote settles it
                open = k;
            } else if (c == u'=') {
                if (eq < 0) eq = k;
            } else if (c == u'>' || !quoted) {
                end = k;
                goto ended;
            }
        }
    }
ended:
    if (eq < 0) return {};
    if (open < 0) return tag.mid(eq + 1, end - eq);
    return tag.mid(open + 1, end - open);
}

namespace {

// The upper-cased ASCII characters of a short text packed into an integer, one byte each
// from the lowest, with the length in the top byte. Other characters become 0x80, which no
// packed name holds.
constexpr std::uint64_t Pack(const char16_t* s, qsizetype n)
{
    std::uint64_t key = std::uint64_t(n) << 56;
    for (qsizetype i = 0; i < n; ++i) key |= std::uint64_t(s[i] < 0x80 ? AsciiUpper(s[i]) : 0x80) << (8 * i);
    return key;
}

template <std::size_t N>
constexpr std::uint64_t Pack(const char16_t (&s)[N])
{
    return Pack(s, N - 1);
}

constexpr qsizetype kLongestPacked = 7;

// Whether the n packed characters of key hold the three of word.
constexpr bool PackedContains(std::uint64_t key, qsizetype n, const char16_t (&word)[4])
{
    const std::uint64_t three = Pack(word) & 0xFFFFFF;
    for (qsizetype i = 0; i + 3 <= n; ++i)
        if (((key >> (8 * i)) & 0xFFFFFF) == three) return true;
    return false;
}

// The link kind of an extension: "" or a "." and what follows it. The first rule that
// matches wins: contains "HTM"; the image, media, Java, ASP and Perl extensions; contains
// "PHP"; ".CAB".
int LinkKind(QStringView ext)
{
    if (ext.isEmpty()) return -1;
    const qsizetype n = ext.size() - 1;  // after the "."
    if (n > kLongestPacked) {
        // Too long to equal any of the named extensions.
        if (ContainsAscii(ext, u"HTM")) return TParsed::lkHTML;
        return ContainsAscii(ext, u"PHP") ? TParsed::lkPHP : -1;
    }
    const std::uint64_t key = Pack(Chars(ext) + 1, n);
    if (PackedContains(key, n, u"HTM")) return TParsed::lkHTML;
    switch (key) {
    case Pack(u"JPG"):
    case Pack(u"JPEG"):
    case Pack(u"GIF"):
    case Pack(u"TIF"):
    case Pack(u"PCX"):
    case Pack(u"PNG"):
    case Pack(u"BMP"): return TParsed::lkImage;
    case Pack(u"AVI"):
    case Pack(u"MP3"):
    case Pack(u"AU"):
    case Pack(u"MOV"):
    case Pack(u"MPG"):
    case Pack(u"MPEG"): return TParsed::lkMedia;
    case Pack(u"JS"):
    case Pack(u"CLASS"):
    case Pack(u"JAVA"): return TParsed::lkJava;
    case Pack(u"ASP"): return TParsed::lkASP;
    case Pack(u"PL"):
    case Pack(u"CGI"): return TParsed::lkPERL;
    case Pack(u"CAB"): return TParsed::lkActiveX;
    default: return PackedContains(key, n, u"PHP") ? TParsed::lkPHP : -1;
    }
}

// The extension of the file name that starts at `from`: from its last "." before its first
// "?", up to that "?"; empty without such a ".".
QStringView NameExtension(QStringView url, qsizetype from)
{
    const char16_t* s = Chars(url);
    qsizetype dot = -1, i = from;
    for (; i < url.size() && s[i] != u'?'; ++i)
        if (s[i] == u'.') dot = i;
    return dot < 0 ? QStringView() : url.mid(dot, i - dot);
}

// Where a URL's ":", "/", "." and "?" characters are, a bit per character.
struct UrlMarks {
    std::uint32_t colon, slash, dot, query;
};

UrlMarks UrlMarks16(const char16_t* p)
{
#if defined(__SSE2__)
    const __m128i low = Load8(p), high = Load8(p + 8);
    const auto marks = [&](char16_t c) {
        const __m128i v = _mm_set1_epi16(short(c));
        return std::uint32_t(_mm_movemask_epi8(_mm_packs_epi16(_mm_cmpeq_epi16(low, v), _mm_cmpeq_epi16(high, v))));
    };
    return {marks(u':'), marks(u'/'), marks(u'.'), marks(u'?')};
#else
    UrlMarks m{};
    for (int k = 0; k < 16; ++k) {
        const std::uint32_t bit = std::uint32_t(1) << k;
        if (p[k] == u':') m.colon |= bit;
        if (p[k] == u'/') m.slash |= bit;
        if (p[k] == u'.') m.dot |= bit;
        if (p[k] == u'?') m.query |= bit;
    }
    return m;
#endif
}

// What the ":" at k says: "MAILTO:" before it, or a "://" and "FTP" or "HTTP" before that.
void NoteColon(const char16_t* s, qsizetype size, qsizetype k, qsizetype& separator, THrefInfo& info)
{
    if (k >= 6 && LettersAt(s + k - 6, "mailto")) info.mailto = true;
    if (k + 2 >= size || s[k + 1] != u'/' || s[k + 2] != u'/') return;
    if (separator < 0) separator = k;
    if (k >= 3 && LettersAt(s + k - 3, "ftp")) info.ftp = true;
    if (k >= 4 && LettersAt(s + k - 4, "http")) info.http = true;
}

}  // namespace

// One pass over the URL, 16 characters at a time. Its ":" characters tell the protocols: the
// first "://", and "MAILTO:", "FTP://" and "HTTP://" anywhere (ASCII case ignored). The "/",
// "?" and "." characters give the part after the last "/", the file name, with its first "?"
// and its last "." before that. The file name is what follows the protocol part (up to the
// first "://", or the first 7 characters when "MAILTO:" occurs) and the last "/" after it.
THrefInfo ClassifyHref(QStringView url)
{
    const char16_t* s = Chars(url);
    const qsizetype size = url.size();
    THrefInfo info;
    qsizetype separator = -1, slash = -1, query = -1, dot = -1;
    char16_t block[16];
    for (qsizetype from = 0; from < size; from += 16) {
        const Window window = WindowAt(s, from, size, block);
        const UrlMarks marks = UrlMarks16(window.p);
        for (std::uint32_t m = window.Place(marks.colon); m; m &= m - 1)
            NoteColon(s, size, from + std::countr_zero(m), separator, info);
        std::uint32_t dots = window.Place(marks.dot), queries = window.Place(marks.query);
        if (const std::uint32_t slashes = window.Place(marks.slash)) {
            const int last = std::bit_width(slashes) - 1;
            slash = from + last;
            query = dot = -1;
            const std::uint32_t after = ~((std::uint32_t(2) << last) - 1);
            dots &= after;
            queries &= after;
        }
        if (query >= 0) {
            dots = 0;
        } else if (queries) {
            const int first = std::countr_zero(queries);
            query = from + first;
            dots &= (std::uint32_t(1) << first) - 1;
        }
        if (dots) dot = from + std::bit_width(dots) - 1;
    }
    info.hasSeparator = separator >= 0;
    const qsizetype base = separator >= 0 ? separator + 3 : info.mailto ? 7 : 0;
    // Only a "MAILTO:" can put the start of the name past the last "/": its name is read anew.
    const QStringView ext = slash + 1 < base ? NameExtension(url, base)
                            : dot < 0        ? QStringView()
                                             : url.mid(dot, (query < 0 ? size : query) - dot);
    info.kind = LinkKind(ext);
    return info;
}

}  // namespace HTMLText
