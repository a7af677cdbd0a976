#include "TextFile.h"

#include <gtest/gtest.h>

#include <QPlainTextEdit>
#include <QRandomGenerator>
#include <QStringDecoder>
#include <QTextBlock>

namespace {

QByteArray Bytes(std::initializer_list<unsigned char> list)
{
    QByteArray b;
    for (unsigned char c : list) b.append(char(c));
    return b;
}

QString StandIns(const QByteArray& bytes)
{
    QString s;
    for (char c : bytes) s.append(QChar(TextStandInBase + (unsigned char)c));
    return s;
}

}  // namespace

TEST(TextCodec, ValidUtf8DecodesToItsCharacters)
{
    const QString text = QStringLiteral("plain \u00e9\u20ac \U0001D11E end \uEF7F\uF000");
    const QByteArray bytes = text.toUtf8();
    EXPECT_EQ(DecodeText(bytes), text);
    EXPECT_EQ(EncodeText(text), bytes);
}

TEST(TextCodec, EachInvalidByteBecomesOneStandInAndComesBack)
{
    struct Case {
        const char* what;
        QByteArray bytes;
        QString decoded;
    };
    const Case cases[] = {
        {"stray continuation", Bytes({'a', 0x80, 0xBF, 'b'}), "a" + StandIns(Bytes({0x80, 0xBF})) + "b"},
        {"truncated 2-byte at end", Bytes({'a', 0xC3}), "a" + StandIns(Bytes({0xC3}))},
        {"truncated 3-byte before ASCII", Bytes({0xE2, 0x82, 'x'}), StandIns(Bytes({0xE2, 0x82})) + "x"},
        {"truncated 4-byte before valid", Bytes({0xF0, 0x9F, 0x98, 0xC3, 0xA9}),
         StandIns(Bytes({0xF0, 0x9F, 0x98})) + QChar(0xE9)},
        {"overlong slash", Bytes({0xC0, 0xAF}), StandIns(Bytes({0xC0, 0xAF}))},
        {"overlong 3-byte", Bytes({0xE0, 0x80, 0xAF}), StandIns(Bytes({0xE0, 0x80, 0xAF}))},
        {"overlong 4-byte", Bytes({0xF0, 0x80, 0x80, 0xAF}), StandIns(Bytes({0xF0, 0x80, 0x80, 0xAF}))},
        {"overlong NUL", Bytes({0xC0, 0x80}), StandIns(Bytes({0xC0, 0x80}))},
        {"encoded high surrogate", Bytes({0xED, 0xA0, 0x80}), StandIns(Bytes({0xED, 0xA0, 0x80}))},
        {"encoded low surrogate", Bytes({0xED, 0xBF, 0xBF}), StandIns(Bytes({0xED, 0xBF, 0xBF}))},
        {"beyond U+10FFFF", Bytes({0xF4, 0x90, 0x80, 0x80}), StandIns(Bytes({0xF4, 0x90, 0x80, 0x80}))},
        {"F5 lead", Bytes({0xF5, 0x80}), StandIns(Bytes({0xF5, 0x80}))},
        {"FE and FF", Bytes({0xFE, 0xFF, 'z'}), StandIns(Bytes({0xFE, 0xFF})) + "z"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(DecodeText(c.bytes), c.decoded) << c.what;
        EXPECT_EQ(EncodeText(DecodeText(c.bytes)), c.bytes) << c.what;
    }
}

TEST(TextCodec, GenuineCodePointsThatWouldNotSurviveAreEscapedAndComeBack)
{
    // The stand-in range itself, and the characters the text pane turns into breaks.
    for (char32_t cp : {U'\uEF80', U'\uEFFF', U'\u2028', U'\u2029', U'\uFDD0', U'\uFDD1'}) {
        const QByteArray bytes = "<" + QString::fromUcs4(&cp, 1).toUtf8() + ">";
        const QString decoded = DecodeText(bytes);
        EXPECT_EQ(decoded, "<" + StandIns(bytes.mid(1, 3)) + ">") << unsigned(cp);
        EXPECT_EQ(EncodeText(decoded), bytes) << unsigned(cp);
    }
}

TEST(TextCodec, NulAndLoneSurrogates)
{
    const QByteArray nul("a\0b", 3);
    EXPECT_EQ(DecodeText(nul), QStringView(u"a\0b", 3).toString());
    EXPECT_EQ(EncodeText(DecodeText(nul)), nul);
    // Text from outside may hold a lone surrogate; it must still encode to valid UTF-8.
    const QString lone = QString(QChar(0xD800)) + "x" + QChar(0xDC00);
    EXPECT_EQ(EncodeText(lone), QByteArray("\xEF\xBF\xBDx\xEF\xBF\xBD"));
}

TEST(TextCodec, RandomBytesRoundTrip)
{
    QRandomGenerator rng(12345);
    for (int round = 0; round < 2000; ++round) {
        QByteArray bytes(rng.bounded(1, 64), Qt::Uninitialized);
        // Bias towards bytes that start or continue multi-byte sequences.
        for (char& b : bytes) b = char(rng.bounded(4) == 0 ? rng.bounded(0x80) : 0x80 + rng.bounded(0x80));
        ASSERT_EQ(EncodeText(DecodeText(bytes)), bytes) << bytes.toHex().constData();
    }
}

TEST(TextCodec, DecodedTextSurvivesThePlainTextEditor)
{
    // (U+00A0 is left out: the editor's clipboard turns it into a space, whatever the codec.)
    const QByteArray bytes = Bytes(
        {'a', 0x80, 0x00, 0xE2, 0x80, 0xA9, 'b', 0xEE, 0xBE, 0x80, 0xEF, 0xB7, 0x90, 0xFF, 0xE2, 0x80, 0xA8, 'c'});
    QPlainTextEdit edit;
    edit.setPlainText(DecodeText(bytes));
    ASSERT_EQ(edit.document()->blockCount(), 1);
    edit.selectAll();
    edit.copy();
    edit.clear();
    edit.paste();
    EXPECT_EQ(EncodeText(edit.document()->firstBlock().text()), bytes);
}

TEST(TextLines, LineEndsOfEveryKind)
{
    const QList<std::pair<QString, QStringList>> cases = {
        {"", {}},       {"a", {"a"}},       {"a\r\nb\r\n", {"a", "b"}}, {"a\r\nb\rc\nd", {"a", "b", "c", "d"}},
        {"\r\n", {""}}, {"\n\n", {"", ""}}, {"\r\r\n", {"", ""}},       {"a\n\rb", {"a", "", "b"}},
    };
    for (const auto& [text, lines] : cases) EXPECT_EQ(SplitLines(text), lines) << text.toStdString();
}

TEST(TextLines, DocumentKeepsBomAndWritesCrLf)
{
    const TTextDocument withBom = ParseTextDocument("\xEF\xBB\xBFone\ntwo");
    EXPECT_TRUE(withBom.bom);
    EXPECT_EQ(withBom.Lines(), QStringList({"one", "two"}));
    EXPECT_EQ(FormatTextDocument(withBom.Lines(), withBom.bom), QByteArray("\xEF\xBB\xBFone\r\ntwo\r\n"));

    const TTextDocument bomOnly = ParseTextDocument("\xEF\xBB\xBF");
    EXPECT_TRUE(bomOnly.bom);
    EXPECT_TRUE(bomOnly.Lines().isEmpty());
    EXPECT_EQ(FormatTextDocument(bomOnly.Lines(), true), QByteArray("\xEF\xBB\xBF"));

    const TTextDocument plain = ParseTextDocument("x\xEF\xBB\xBF\r\n");
    EXPECT_FALSE(plain.bom);  // a mark inside the text is a character like any other
    EXPECT_EQ(FormatTextDocument(plain.Lines(), plain.bom), QByteArray("x\xEF\xBB\xBF\r\n"));
    EXPECT_EQ(FormatTextDocument({}, false), QByteArray());
}

TEST(TextLines, CrLfFileWithInvalidBytesIsReproducedExactly)
{
    const QByteArray bytes = Bytes({0xEF, 0xBB, 0xBF, 'a', 0xC0, '\r', '\n', 0x00, 0xFF, '\r', '\n', '\r', '\n'});
    const TTextDocument doc = ParseTextDocument(bytes);
    EXPECT_EQ(doc.Lines().size(), 3);
    EXPECT_EQ(FormatTextDocument(doc.Lines(), doc.bom), bytes);
}

namespace {

const QByteArray kMark = "\xEF\xBB\xBF";

// Decoded text as a document holds it: every line followed by '\n'.
QString Joined(const QString& decoded)
{
    QString text;
    for (const QString& line : SplitLines(decoded)) text += line + u'\n';
    return text;
}

// The document text the byte-by-byte decoder gives.
QString ReferenceText(const QByteArray& body)
{
    return Joined(DecodeText(body));
}

// What a document's bytes should read as, by other decoders than the reader's: UTF-8 when
// the file has the mark or is well-formed throughout, else the code page, every byte of it.
std::pair<QString, TTextEncoding> DocumentReference(const QByteArray& bytes)
{
    const bool marked = bytes.startsWith(kMark);
    const QByteArray body = marked ? bytes.mid(3) : bytes;
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString decoded = utf8.decode(body + 'x');  // a sequence cut short at the end is an error
    if (marked || !utf8.hasError()) return {ReferenceText(body), TTextEncoding::Utf8};
    QStringDecoder codePage("windows-1252");
    EXPECT_TRUE(codePage.isValid());
    return {Joined(codePage.decode(body)), TTextEncoding::CodePage};
}

// The bytes a document is saved as when nothing was changed: every line end CR LF, the
// last line ended too.
QByteArray CrLfEnded(const QByteArray& bytes)
{
    const bool marked = bytes.startsWith(kMark);
    QByteArray out = marked ? kMark : QByteArray();
    for (qsizetype i = marked ? 3 : 0; i < bytes.size(); ++i) {
        if (bytes[i] != '\r' && bytes[i] != '\n') {
            out += bytes[i];
            continue;
        }
        out += "\r\n";
        if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
    }
    if (out.size() > (marked ? 3 : 0) && !out.endsWith("\r\n")) out += "\r\n";
    return out;
}

// Parses bytes as a document in chunks of chunk bytes and checks its text and encoding
// against the reference and that saving it gives its bytes back.
void ExpectDocumentReadsAsAWhole(const QByteArray& bytes, qsizetype chunk)
{
    const TTextDocument doc = ParseTextDocument(bytes, chunk);
    const auto [text, encoding] = DocumentReference(bytes);
    ASSERT_EQ(doc.text, text) << bytes.toHex().constData() << " chunk " << chunk;
    ASSERT_EQ(doc.encoding, encoding) << bytes.toHex().constData() << " chunk " << chunk;
    ASSERT_EQ(FormatTextDocument(doc.Lines(), doc.bom, doc.encoding), CrLfEnded(bytes))
        << bytes.toHex().constData() << " chunk " << chunk;
}

QByteArray EveryByte()
{
    QByteArray bytes;
    for (int b = 0; b < 256; ++b) bytes += char(b);
    return bytes;
}

}  // namespace

TEST(TextDocument, ChunkedDecodingGivesTheTextOfTheWhole)
{
    // Each case at every chunk size: cuts fall inside sequences, line ends, invalid runs
    // and marks, and each chunk goes fast or byte by byte on its own. A document turns to
    // the code page at whichever chunk shows a byte out of place.
    const QByteArray cases[] = {
        "\xEF\xBB\xBF\xEF\xBB\xBFx\xEF\xBB\xBF",                 // a mark after the file's own is text
        "ab\r\ncd\r\rz\n\r\n",                                   // CR LF never split into two ends
        "\xE2\x82\xAC\xF0\x9F\x98\x80\xC3\xA9\r\n\xE2\x82\xAC",  // sequences across cuts
        "valid \xC3\xA9 text until the last byte \xC3",
        "\x80\x80\x80\x80\x80\xC3\xA9\xE2\x82\r\n\xF0\x9F\x98",          // invalid runs and truncations
        "\xEF\xBF\xBE\xEF\xBF\xBF\xEF\xB7\xAF\xEE\xBE\x80\xE2\x80\xA8",  // noncharacters, escapes
        QByteArray("a\0b\r\n\0", 7),
        // Escapes, sequences of every length and line ends before the first byte out of place.
        "\xE2\x80\xA8\xC3\xA9\xF0\x9F\x98\x80\r\n\xEE\xBE\x80x\r\xFFy\xE2\x82\xAC",
        "\xEF\xBB\xBF"
        "caf\xE9\r\n",  // marked: UTF-8, whatever follows
        EveryByte(),
    };
    for (const QByteArray& bytes : cases) {
        const QByteArray body = bytes.startsWith(kMark) ? bytes.mid(3) : bytes;
        for (qsizetype chunk = 1; chunk <= bytes.size(); ++chunk) {
            const TTextDocument settings = ParseTextDocument(bytes, chunk, TTextSource::Utf8Only);
            ASSERT_EQ(settings.text, ReferenceText(body)) << bytes.toHex().constData() << " chunk " << chunk;
            ASSERT_EQ(settings.encoding, TTextEncoding::Utf8);
            ASSERT_NO_FATAL_FAILURE(ExpectDocumentReadsAsAWhole(bytes, chunk));
        }
    }

    QRandomGenerator rng(777);
    const QByteArray pieces[] = {
        "a",    "<p>",  "\r",       "\n",           "\r\n",         "\xC3\xA9",    "\xE2\x82\xAC", "\xF0\x9F\x98\x80",
        "\x80", "\xC3", "\xE2\x82", "\xED\xA0\x80", "\xEE\xBE\x80", "\xEF\xBB\xBF"};
    for (int round = 0; round < 500; ++round) {
        QByteArray bytes;
        // Every other document well-formed until its last pieces.
        const int valid = round % 2 ? 7 : int(std::size(pieces));
        for (int i = rng.bounded(1, 40); i > 0; --i)
            bytes += pieces[rng.bounded(i > 3 ? valid : int(std::size(pieces)))];
        const qsizetype chunk = rng.bounded(1, 12);
        const TTextDocument doc = ParseTextDocument(bytes, chunk, TTextSource::Utf8Only);
        const QByteArray body = doc.bom ? bytes.mid(3) : bytes;
        ASSERT_EQ(doc.text, ReferenceText(body)) << bytes.toHex().constData() << " chunk " << chunk;
        ASSERT_EQ(FormatTextDocument(doc.Lines(), doc.bom), FormatTextDocument(SplitLines(DecodeText(body)), doc.bom));
        ASSERT_NO_FATAL_FAILURE(ExpectDocumentReadsAsAWhole(bytes, chunk));
    }
}

TEST(TextDocument, LargeFileReadsWithDefaultChunks)
{
    // Many chunks of well-formed text with one byte out of place: in a middle chunk, on
    // either side of the first cut, or a sequence cut short at the very end.
    const QByteArray line = "<p>Caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80 text</p>\r\n";
    QByteArray wellFormed;
    while (wellFormed.size() < 300 * 1024) wellFormed += line;
    const std::pair<qsizetype, QByteArray> flaws[] = {
        {150 * 1024, "\xFF"},         {TextChunkBytes - 1, "\xFF"}, {TextChunkBytes, "\xFF"},
        {TextChunkBytes + 1, "\xFF"}, {-1, "tail \xE2\x82"},
    };
    for (const auto& [at, flaw] : flaws) {
        SCOPED_TRACE(at);
        const QByteArray bytes = at < 0 ? wellFormed + flaw : QByteArray(wellFormed).insert(at, flaw);
        const TTextDocument settings = ParseTextDocument(bytes, TextChunkBytes, TTextSource::Utf8Only);
        EXPECT_EQ(settings.text, ReferenceText(bytes));
        EXPECT_EQ(FormatTextDocument(settings.Lines(), settings.bom), CrLfEnded(bytes));

        const TTextDocument doc = ParseTextDocument(bytes);
        EXPECT_EQ(doc.encoding, TTextEncoding::CodePage);
        EXPECT_TRUE(doc.text.startsWith(QStringLiteral("<p>Caf\u00C3\u00A9 \u00E2\u201A\u00AC")));
        EXPECT_EQ(doc.text, DocumentReference(bytes).first);
        EXPECT_EQ(FormatTextDocument(doc.Lines(), doc.bom, doc.encoding), CrLfEnded(bytes));
    }
    const TTextDocument doc = ParseTextDocument(wellFormed);
    EXPECT_EQ(doc.encoding, TTextEncoding::Utf8);
    EXPECT_TRUE(doc.text.startsWith(QStringLiteral("<p>Caf\u00E9 \u20AC \U0001F600 text</p>\n")));
}
