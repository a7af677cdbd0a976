#include "TextFile.h"

#include "CodePage.h"
#include "DurableFile.h"
#include "SysUtils.h"

#include <QFile>
#include <QStringDecoder>
#include <algorithm>
#include <cstring>
#include <functional>
#include <memory>

namespace {

constexpr unsigned char kBom[] = {0xEF, 0xBB, 0xBF};

bool InRange(unsigned char b, unsigned char lo, unsigned char hi)
{
    return b >= lo && b <= hi;
}

bool IsStandIn(char16_t c)
{
    return c >= TextStandInBase + 0x80 && c <= TextStandInBase + 0xFF;
}

// Code points that a well-formed sequence may carry but that must not reach the text as
// themselves (see the header).
bool NeedsEscape(char32_t cp)
{
    return (cp >= TextStandInBase + 0x80u && cp <= TextStandInBase + 0xFFu) || cp == 0x2028 || cp == 0x2029 ||
           cp == 0xFDD0 || cp == 0xFDD1;
}

// Length of the well-formed UTF-8 sequence at p (lead byte >= 0x80), or 0 when it is not
// one. The ranges of the second byte exclude overlongs, surrogates and code points past
// U+10FFFF.
int SequenceLength(const unsigned char* p, const unsigned char* end)
{
    const unsigned char b0 = p[0];
    int len = 0;
    unsigned char lo = 0x80, hi = 0xBF;
    if (InRange(b0, 0xC2, 0xDF))
        len = 2;
    else if (b0 == 0xE0) {
        len = 3;
        lo = 0xA0;
    } else if (b0 == 0xED) {
        len = 3;
        hi = 0x9F;
    } else if (InRange(b0, 0xE1, 0xEF))
        len = 3;
    else if (b0 == 0xF0) {
        len = 4;
        lo = 0x90;
    } else if (InRange(b0, 0xF1, 0xF3))
        len = 4;
    else if (b0 == 0xF4) {
        len = 4;
        hi = 0x8F;
    } else
        return 0;
    if (end - p < len || !InRange(p[1], lo, hi)) return 0;
    for (int i = 2; i < len; ++i)
        if (!InRange(p[i], 0x80, 0xBF)) return 0;
    return len;
}

char32_t CodePoint(const unsigned char* p, int len)
{
    static constexpr unsigned char leadMask[] = {0, 0, 0x1F, 0x0F, 0x07};
    char32_t cp = p[0] & leadMask[len];
    for (int i = 1; i < len; ++i) cp = (cp << 6) | (p[i] & 0x3F);
    return cp;
}

char16_t* PutCodePoint(char16_t* out, char32_t cp)
{
    if (cp < 0x10000) {
        *out++ = char16_t(cp);
    } else {
        cp -= 0x10000;
        *out++ = char16_t(0xD800 + (cp >> 10));
        *out++ = char16_t(0xDC00 + (cp & 0x3FF));
    }
    return out;
}

char* PutUtf8(char* out, char32_t cp)
{
    if (cp < 0x80) {
        *out++ = char(cp);
    } else if (cp < 0x800) {
        *out++ = char(0xC0 | (cp >> 6));
        *out++ = char(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        *out++ = char(0xE0 | (cp >> 12));
        *out++ = char(0x80 | ((cp >> 6) & 0x3F));
        *out++ = char(0x80 | (cp & 0x3F));
    } else {
        *out++ = char(0xF0 | (cp >> 18));
        *out++ = char(0x80 | ((cp >> 12) & 0x3F));
        *out++ = char(0x80 | ((cp >> 6) & 0x3F));
        *out++ = char(0x80 | (cp & 0x3F));
    }
    return out;
}

// Encodes n UTF-16 units at in; out must have room for 3 bytes per unit.
char* EncodeInto(const char16_t* in, qsizetype n, char* out)
{
    const char16_t* end = in + n;
    while (in < end) {
        const char16_t c = *in++;
        if (c < 0x80) {
            *out++ = char(c);
        } else if (IsStandIn(c)) {
            *out++ = char(c - TextStandInBase);
        } else if (QChar::isHighSurrogate(c) && in < end && QChar::isLowSurrogate(*in)) {
            out = PutUtf8(out, QChar::surrogateToUcs4(c, *in++));
        } else if (QChar::isSurrogate(c)) {
            out = PutUtf8(out, 0xFFFD);
        } else {
            out = PutUtf8(out, c);
        }
    }
    return out;
}

// Decodes the bytes at p byte by byte into out (room for one unit per byte); returns the
// end of what it wrote. Sets *invalid when a byte was not part of a well-formed sequence.
char16_t* DecodeInto(const unsigned char* p, const unsigned char* end, char16_t* out, bool* invalid = nullptr)
{
    while (p < end) {
        if (*p < 0x80) {
            *out++ = *p++;
            continue;
        }
        const int len = SequenceLength(p, end);
        const char32_t cp = len ? CodePoint(p, len) : 0;
        if (len && !NeedsEscape(cp)) {
            out = PutCodePoint(out, cp);
            p += len;
        } else {
            // An invalid byte stands alone; an escaped sequence stands byte by byte.
            if (!len && invalid) *invalid = true;
            const unsigned char* stop = p + (len ? len : 1);
            while (p < stop) *out++ = char16_t(TextStandInBase + *p++);
        }
    }
    return out;
}

// Whether the bytes are well-formed UTF-8 with nothing to escape, so that any UTF-8
// decoder gives the text the byte-by-byte one gives.
bool IsPlainUtf8(const unsigned char* p, const unsigned char* end)
{
    constexpr quint64 kHighBits = 0x8080808080808080ull;
    while (p < end) {
        quint64 word;
        while (end - p >= 8 && (std::memcpy(&word, p, 8), (word & kHighBits) == 0)) p += 8;
        if (p == end) break;
        if (*p < 0x80) {
            ++p;
            continue;
        }
        const int len = SequenceLength(p, end);
        if (!len || NeedsEscape(CodePoint(p, len))) return false;
        p += len;
    }
    return true;
}

bool IsContinuation(unsigned char b)
{
    return (b & 0xC0) == 0x80;
}

// Where the chunk that starts at from ends: about chunk bytes on, but never inside a
// well-formed sequence nor between the CR and LF of one line end, so that each chunk
// decodes to what it is within the whole.
const unsigned char* ChunkEnd(const unsigned char* from, const unsigned char* end, qsizetype chunk)
{
    if (end - from <= chunk) return end;
    const unsigned char* p = from + chunk;
    // A sequence is at most four bytes long: none crosses a byte that is no continuation
    // byte, nor one that follows three of them.
    for (int i = 0; i < 3 && p < end && IsContinuation(*p); ++i) ++p;
    if (p < end && p[-1] == '\r' && *p == '\n') ++p;
    return p;
}

// Turns each CR LF and CR in [from, end) into '\n', in place; returns the new end.
char16_t* JoinLineEnds(char16_t* from, char16_t* end)
{
    const auto nextCr = [end](char16_t* p) {
        const qsizetype i = QStringView(p, end - p).indexOf(QChar(u'\r'));
        return i < 0 ? end : p + i;
    };
    char16_t* in = nextCr(from);
    char16_t* out = in;
    while (in < end) {
        *out++ = u'\n';
        if (++in < end && *in == u'\n') ++in;
        char16_t* const stop = nextCr(in);
        std::memmove(out, in, (stop - in) * sizeof(char16_t));
        out += stop - in;
        in = stop;
    }
    return out;
}

// Turns the first length units of text, which DecodeInto or the fast decoder made of
// well-formed bytes (line ends joined), into the text the code page makes of the same bytes,
// in place, growing text when they need more room; returns the new length.
qsizetype RedecodeAsCodePage(QString& text, qsizetype length)
{
    const char16_t* data = reinterpret_cast<const char16_t*>(text.constData());
    // The text up to its first character past ASCII stays as it is.
    qsizetype first = 0;
    while (first < length && data[first] < 0x80) ++first;
    qsizetype bytes = first;
    for (qsizetype i = first; i < length; ++i) {
        const char16_t c = data[i];
        if (c < 0x80 || IsStandIn(c)) {
            ++bytes;
        } else if (c < 0x800) {
            bytes += 2;
        } else if (QChar::isHighSurrogate(c)) {
            bytes += 4;  // the decoders write whole pairs only
            ++i;
        } else {
            bytes += 3;
        }
    }
    if (text.size() < bytes) text.resize(bytes);
    char16_t* const units = reinterpret_cast<char16_t*>(text.data());
    // From the end back: each character's bytes take at least its units, so the bytes
    // written never reach a character not yet read.
    qsizetype out = bytes;
    for (qsizetype i = length; i > first;) {
        const char16_t c = units[--i];
        unsigned char utf8[4];
        qsizetype n = 1;
        if (IsStandIn(c)) {
            utf8[0] = (unsigned char)(c - TextStandInBase);
        } else {
            const char32_t cp = QChar::isLowSurrogate(c) ? QChar::surrogateToUcs4(units[--i], c) : char32_t(c);
            n = PutUtf8(reinterpret_cast<char*>(utf8), cp) - reinterpret_cast<char*>(utf8);
        }
        out -= n;
        DecodeCodePageInto(utf8, n, units + out);
    }
    return bytes;
}

// Decodes a document whose bytes read gives (as a device's read: the count it put at to,
// at most most, 0 at the end; it raises on failure), about chunkBytes at a time, into a
// text that starts with room for sizeHint bytes' worth. A document that is not well-formed
// UTF-8 and has no mark is decoded in the code page instead.
TTextDocument DecodeDocument(const std::function<qsizetype(char* to, qsizetype most)>& read, qsizetype sizeHint,
                             qsizetype chunkBytes, TTextSource source)
{
    chunkBytes = std::max<qsizetype>(chunkBytes, 1);
    // Where a chunk may end shows in the four bytes after it; the first chunk may follow a
    // mark.
    constexpr qsizetype kLookahead = 4;
    const qsizetype capacity = 3 + chunkBytes + kLookahead;
    const auto buffer = std::make_unique<unsigned char[]>(capacity);
    qsizetype held = 0;
    bool atEnd = false;
    const auto fill = [&] {
        while (!atEnd && held < capacity) {
            const qsizetype n = read(reinterpret_cast<char*>(buffer.get()) + held, capacity - held);
            atEnd = n <= 0;
            held += std::max<qsizetype>(n, 0);
        }
    };

    TTextDocument doc;
    fill();
    doc.bom = held >= 3 && std::equal(kBom, kBom + 3, buffer.get());
    qsizetype start = doc.bom ? 3 : 0;
    // One unit per byte at most, and one for a closing line end. The fast decoder needs a
    // unit more than its input; as no chunk's text is longer than its bytes, it has it.
    QString text(std::max<qsizetype>(sizeHint, 0) + 1, Qt::Uninitialized);
    qsizetype length = 0;
    const bool mayTurn = source == TTextSource::Document && !doc.bom;
    // A mark at the start of a chunk is a character of the text, not one to skip.
    QStringDecoder fast(QStringDecoder::Utf8,
                        QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
    const auto data = [&text] { return reinterpret_cast<char16_t*>(text.data()); };
    for (;;) {
        const unsigned char* const from = buffer.get() + start;
        const unsigned char* const end = buffer.get() + held;
        const unsigned char* const stop = atEnd ? end : ChunkEnd(from, end, end - from - kLookahead);
        // A file that grew since its size was taken needs more room.
        const auto makeRoom = [&] {
            if (text.size() - length < (stop - from) + 1)
                text.resize(std::max(text.size() * 2, length + (stop - from) + 1));
        };
        makeRoom();
        char16_t* chunkText = data() + length;
        char16_t* out = chunkText;
        if (doc.encoding == TTextEncoding::Utf8) {
            const bool plain = IsPlainUtf8(from, stop);
            if (plain)
                out = reinterpret_cast<char16_t*>(
                    fast.appendToBuffer(reinterpret_cast<QChar*>(out), QByteArrayView(from, stop - from)));
            if (!plain || fast.hasError()) {
                fast.resetState();
                bool invalid = false;
                out = DecodeInto(from, stop, chunkText, &invalid);
                if (invalid && mayTurn) {
                    // No earlier chunk had a byte out of place: the text so far turns over.
                    doc.encoding = TTextEncoding::CodePage;
                    length = RedecodeAsCodePage(text, length);
                    makeRoom();
                    chunkText = out = data() + length;
                }
            }
        }
        if (doc.encoding == TTextEncoding::CodePage) out = DecodeCodePageInto(from, stop - from, chunkText);
        length = JoinLineEnds(chunkText, out) - data();
        // The bytes after the chunk start the next one.
        held = end - stop;
        std::memmove(buffer.get(), stop, held);
        start = 0;
        if (atEnd && held == 0) break;
        fill();
    }
    if (length == 0) return doc;
    if (text[length - 1] != u'\n') text[length++] = u'\n';
    text.resize(length);
    // Text much shorter than its bytes (most characters multi-byte) gives back the rest.
    if (text.capacity() - text.size() > text.size() / 4) text.squeeze();
    doc.text = std::move(text);
    return doc;
}

}  // namespace

QString DecodeText(const QByteArray& bytes)
{
    // Every byte yields at most one UTF-16 unit (a 4-byte sequence yields two).
    QString text(bytes.size(), Qt::Uninitialized);
    char16_t* const first = reinterpret_cast<char16_t*>(text.data());
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.constData());
    text.resize(DecodeInto(p, p + bytes.size(), first) - first);
    return text;
}

QByteArray EncodeText(const QString& text)
{
    QByteArray bytes(text.size() * 3, Qt::Uninitialized);
    char* end = EncodeInto(reinterpret_cast<const char16_t*>(text.constData()), text.size(), bytes.data());
    bytes.resize(end - bytes.constData());
    return bytes;
}

QStringList SplitLines(const QString& text)
{
    QStringList lines;
    const QChar* data = text.constData();
    const qsizetype n = text.size();
    qsizetype start = 0;
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = data[i].unicode();
        if (c != u'\r' && c != u'\n') continue;
        lines.append(QString(data + start, i - start));
        if (c == u'\r' && i + 1 < n && data[i + 1] == u'\n') ++i;
        start = i + 1;
    }
    if (start < n) lines.append(QString(data + start, n - start));
    return lines;
}

TTextDocument ParseTextDocument(const QByteArray& bytes, qsizetype chunkBytes, TTextSource source)
{
    qsizetype at = 0;
    return DecodeDocument(
        [&](char* to, qsizetype most) {
            const qsizetype n = std::min(most, bytes.size() - at);
            std::memcpy(to, bytes.constData() + at, n);
            at += n;
            return n;
        },
        bytes.size(), chunkBytes, source);
}

QByteArray FormatTextDocument(const QStringList& lines, bool bom, TTextEncoding encoding)
{
    const auto units = [](const QString& line) { return reinterpret_cast<const char16_t*>(line.constData()); };
    const bool codePage = encoding == TTextEncoding::CodePage;
    qsizetype room = 0;
    for (const QString& line : lines)
        room += codePage ? CodePageEncodedSize(units(line), line.size()) : line.size() * 3;
    QByteArray bytes(3 + room + lines.size() * 2, Qt::Uninitialized);
    char* out = bytes.data();
    if (bom && !codePage)
        for (unsigned char b : kBom) *out++ = char(b);
    for (const QString& line : lines) {
        out = codePage ? EncodeCodePageInto(units(line), line.size(), out) : EncodeInto(units(line), line.size(), out);
        *out++ = '\r';
        *out++ = '\n';
    }
    bytes.resize(out - bytes.constData());
    bytes.squeeze();
    return bytes;
}

TTextDocument ReadTextFile(const QString& path, TTextSource source)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        throw EInOutError(QStringLiteral("Cannot open file \"%1\". %2").arg(path, file.errorString()));
    // A chunk at a time through one small buffer: the whole file is never held in memory
    // beside its text.
    return DecodeDocument(
        [&](char* to, qsizetype most) {
            const qint64 n = file.read(to, most);
            if (n < 0) throw EInOutError(QStringLiteral("Cannot read file \"%1\". %2").arg(path, file.errorString()));
            return qsizetype(n);
        },
        file.size(), TextChunkBytes, source);
}

void WriteTextFile(const QString& path, const QStringList& lines, bool bom, TTextEncoding encoding)
{
    const QString reason = ReplaceFileDurably(path, FormatTextDocument(lines, bom, encoding));
    if (!reason.isEmpty()) throw EInOutError(QStringLiteral("Cannot write file \"%1\". %2").arg(path, reason));
}
