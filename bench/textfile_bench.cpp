// Prints the decode and encode speed of the text-file codec on a generated 20 MB document.
#include "TextFile.h"

#include <QElapsedTimer>
#include <cstdio>

namespace {

QByteArray MakeDocument(qsizetype size) {
    // Mostly ASCII markup with some accented text and a few invalid bytes, as real pages.
    const QByteArray line = QByteArray("<p class=\"x\">Caf\xC3\xA9 na\xC3\xAFve \xE2\x82\xAC 42 \x80 text</p>\r\n");
    QByteArray doc;
    doc.reserve(size + line.size());
    while (doc.size() < size) doc += line;
    return doc;
}

double MegabytesPerSecond(qsizetype bytes, qint64 nanoseconds) {
    return nanoseconds > 0 ? double(bytes) / (1024.0 * 1024.0) / (double(nanoseconds) / 1e9) : 0.0;
}

}  // namespace

int main() {
    const QByteArray bytes = MakeDocument(20 * 1024 * 1024);
    QElapsedTimer timer;

    timer.start();
    const TTextDocument doc = ParseTextDocument(bytes);
    const qint64 decodeNs = timer.nsecsElapsed();

    timer.restart();
    const QByteArray written = FormatTextDocument(doc.lines, doc.bom);
    const qint64 encodeNs = timer.nsecsElapsed();

    std::printf("document: %.1f MB, %lld lines\n", bytes.size() / (1024.0 * 1024.0), (long long)doc.lines.size());
    std::printf("decode (with line split): %.0f MB/s, %.3f s\n", MegabytesPerSecond(bytes.size(), decodeNs), decodeNs / 1e9);
    std::printf("encode (with CR LF):      %.0f MB/s, %.3f s\n", MegabytesPerSecond(written.size(), encodeNs), encodeNs / 1e9);
    std::printf("round trip exact: %s\n", written == bytes ? "yes" : "NO");
    return written == bytes ? 0 : 1;
}
