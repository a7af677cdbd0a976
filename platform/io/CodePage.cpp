#include "CodePage.h"

#include <QChar>
#include <array>

namespace {

// The characters of bytes 0x80..0x9F; an undefined byte stands for the control of its value.
constexpr char16_t kHighControls[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 0x80
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  // 0x88
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 0x90
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,  // 0x98
};

constexpr std::array<char16_t, 256> MakeDecodeTable()
{
    std::array<char16_t, 256> table{};
    for (int b = 0; b < 256; ++b) table[b] = b >= 0x80 && b < 0xA0 ? kHighControls[b - 0x80] : char16_t(b);
    return table;
}

constexpr std::array<char16_t, 256> kDecode = MakeDecodeTable();

// The byte that holds unit c, or -1 when the code page has none.
int ByteOf(char16_t c)
{
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return c;
    for (int i = 0; i < 32; ++i)
        if (kHighControls[i] == c) return 0x80 + i;
    return -1;
}

// The code point a reference at in (of the units before end) names, and how many units it
// takes.
char32_t ReferencedCodePoint(const char16_t* in, const char16_t* end, int* units)
{
    *units = 1;
    if (QChar::isHighSurrogate(*in) && in + 1 < end && QChar::isLowSurrogate(in[1])) {
        *units = 2;
        return QChar::surrogateToUcs4(in[0], in[1]);
    }
    return QChar::isSurrogate(*in) ? 0xFFFD : *in;
}

int DecimalDigits(char32_t cp)
{
    int digits = 1;
    for (; cp >= 10; cp /= 10) ++digits;
    return digits;
}

}  // namespace

char16_t* DecodeCodePageInto(const unsigned char* in, qsizetype n, char16_t* out)
{
    for (const unsigned char* end = in + n; in < end; ++in) *out++ = kDecode[*in];
    return out;
}

qsizetype CodePageEncodedSize(const char16_t* in, qsizetype n)
{
    qsizetype size = 0;
    const char16_t* const end = in + n;
    while (in < end) {
        if (*in < 0x80 || ByteOf(*in) >= 0) {
            ++size;
            ++in;
            continue;
        }
        int units = 0;
        size += 3 + DecimalDigits(ReferencedCodePoint(in, end, &units));
        in += units;
    }
    return size;
}

char* EncodeCodePageInto(const char16_t* in, qsizetype n, char* out)
{
    const char16_t* const end = in + n;
    while (in < end) {
        if (*in < 0x80) {
            *out++ = char(*in++);
            continue;
        }
        if (const int byte = ByteOf(*in); byte >= 0) {
            *out++ = char(byte);
            ++in;
            continue;
        }
        int units = 0;
        char32_t cp = ReferencedCodePoint(in, end, &units);
        in += units;
        const int digits = DecimalDigits(cp);
        *out++ = '&';
        *out++ = '#';
        for (int i = digits - 1; i >= 0; --i, cp /= 10) out[i] = char('0' + cp % 10);
        out += digits;
        *out++ = ';';
    }
    return out;
}
