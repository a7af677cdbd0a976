// Prints the decode and encode speed of the text-file codec on generated 20 MB documents:
// well-formed UTF-8 (the fast decoder), one with an invalid byte on every line (read as a
// settings file: the byte-by-byte decoder throughout; as a document: the code page), one in
// the code page and one well-formed until its last byte (turned to the code page at the end),
// beside Qt's own UTF-8 decoding of the same bytes.
#include "TextFile.h"

#include <QElapsedTimer>
#include <QString>
#include <cstdio>

namespace {

QByteArray MakeDocument(qsizetype size, const QByteArray& extra)
{
    // Mostly ASCII markup with some accented text, as real pages.
    const QByteArray line = "<p class=\"x\">Caf\xC3\xA9 na\xC3\xAFve \xE2\x82\xAC 42 " + extra + " text</p>\r\n";
    QByteArray doc;
    doc.reserve(size + line.size());
    while (doc.size() < size) doc += line;
    return doc;
}

double MegabytesPerSecond(qsizetype bytes, qint64 nanoseconds)
{
    return nanoseconds > 0 ? double(bytes) / (1024.0 * 1024.0) / (double(nanoseconds) / 1e9) : 0.0;
}

void Print(const char* what, qsizetype bytes, qint64 ns)
{
    std::printf("  %-34s %6.0f MB/s, %.3f s\n", what, MegabytesPerSecond(bytes, ns), ns / 1e9);
}

// Decodes and encodes bytes; false when the round trip is not exact.
bool Measure(const char* title, const QByteArray& bytes, TTextSource source = TTextSource::Document)
{
    QElapsedTimer timer;
    timer.start();
    const QString plain = QString::fromUtf8(bytes);
    const qint64 qtNs = timer.nsecsElapsed();

    timer.restart();
    const TTextDocument doc = ParseTextDocument(bytes, TextChunkBytes, source);
    const qint64 decodeNs = timer.nsecsElapsed();

    const QStringList lines = doc.Lines();
    timer.restart();
    const QByteArray written = FormatTextDocument(lines, doc.bom, doc.encoding);
    const qint64 encodeNs = timer.nsecsElapsed();

    std::printf("%s: %.1f MB, %lld lines (%lld characters), read as %s\n", title, bytes.size() / (1024.0 * 1024.0),
                (long long)lines.size(), (long long)plain.size(),
                doc.encoding == TTextEncoding::Utf8 ? "UTF-8" : "the code page");
    Print("QString::fromUtf8 (no line ends)", bytes.size(), qtNs);
    Print("decode (with line ends)", bytes.size(), decodeNs);
    Print("encode (with CR LF)", written.size(), encodeNs);
    std::printf("  round trip exact: %s\n", written == bytes ? "yes" : "NO");
    return written == bytes;
}

}  // namespace

int main()
{
    const qsizetype size = 20 * 1024 * 1024;
    bool ok = Measure("well-formed", MakeDocument(size, "ok"));
    ok = Measure("an invalid byte on every line, settings", MakeDocument(size, "\x80"), TTextSource::Utf8Only) && ok;
    ok = Measure("an invalid byte on every line, document", MakeDocument(size, "\x80")) && ok;
    QByteArray codePage = MakeDocument(size, "ok");
    codePage.replace("\xC3\xA9", "\xE9").replace("\xC3\xAF", "\xEF").replace("\xE2\x82\xAC", "\x80");
    ok = Measure("code page", codePage) && ok;
    QByteArray lastByte = MakeDocument(size, "ok");
    ok = Measure("well-formed until the last line", lastByte.insert(lastByte.size() - 2, '\xFF')) && ok;
    return ok ? 0 : 1;
}
