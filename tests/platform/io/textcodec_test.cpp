#include "TextFile.h"

#include <gtest/gtest.h>

#include <QPlainTextEdit>
#include <QRandomGenerator>
#include <QTextBlock>

namespace {

QByteArray Bytes(std::initializer_list<unsigned char> list) {
    QByteArray b;
    for (unsigned char c : list) b.append(char(c));
    return b;
}

QString StandIns(const QByteArray& bytes) {
    QString s;
    for (char c : bytes) s.append(QChar(TextStandInBase + (unsigned char)c));
    return s;
}

}  // namespace

TEST(TextCodec, ValidUtf8DecodesToItsCharacters) {
    const QString text = QStringLiteral("plain \u00e9\u20ac \U0001D11E end \uEF7F\uF000");
    const QByteArray bytes = text.toUtf8();
    EXPECT_EQ(DecodeText(bytes), text);
    EXPECT_EQ(EncodeText(text), bytes);
}

TEST(TextCodec, EachInvalidByteBecomesOneStandInAndComesBack) {
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

TEST(TextCodec, GenuineCodePointsThatWouldNotSurviveAreEscapedAndComeBack) {
    // The stand-in range itself, and the characters the text pane turns into breaks.
    for (char32_t cp : {U'\uEF80', U'\uEFFF', U'\u2028', U'\u2029', U'\uFDD0', U'\uFDD1'}) {
        const QByteArray bytes = "<" + QString::fromUcs4(&cp, 1).toUtf8() + ">";
        const QString decoded = DecodeText(bytes);
        EXPECT_EQ(decoded, "<" + StandIns(bytes.mid(1, 3)) + ">") << unsigned(cp);
        EXPECT_EQ(EncodeText(decoded), bytes) << unsigned(cp);
    }
}

TEST(TextCodec, NulAndLoneSurrogates) {
    const QByteArray nul("a\0b", 3);
    EXPECT_EQ(DecodeText(nul), QStringView(u"a\0b", 3).toString());
    EXPECT_EQ(EncodeText(DecodeText(nul)), nul);
    // Text from outside may hold a lone surrogate; it must still encode to valid UTF-8.
    const QString lone = QString(QChar(0xD800)) + "x" + QChar(0xDC00);
    EXPECT_EQ(EncodeText(lone), QByteArray("\xEF\xBF\xBDx\xEF\xBF\xBD"));
}

TEST(TextCodec, RandomBytesRoundTrip) {
    QRandomGenerator rng(12345);
    for (int round = 0; round < 2000; ++round) {
        QByteArray bytes(rng.bounded(1, 64), Qt::Uninitialized);
        // Bias towards bytes that start or continue multi-byte sequences.
        for (char& b : bytes) b = char(rng.bounded(4) == 0 ? rng.bounded(0x80) : 0x80 + rng.bounded(0x80));
        ASSERT_EQ(EncodeText(DecodeText(bytes)), bytes) << bytes.toHex().constData();
    }
}

TEST(TextCodec, DecodedTextSurvivesThePlainTextEditor) {
    // (U+00A0 is left out: the editor's clipboard turns it into a space, whatever the codec.)
    const QByteArray bytes = Bytes({'a', 0x80, 0x00, 0xE2, 0x80, 0xA9, 'b', 0xEE, 0xBE, 0x80,
                                    0xEF, 0xB7, 0x90, 0xFF, 0xE2, 0x80, 0xA8, 'c'});
    QPlainTextEdit edit;
    edit.setPlainText(DecodeText(bytes));
    ASSERT_EQ(edit.document()->blockCount(), 1);
    edit.selectAll();
    edit.copy();
    edit.clear();
    edit.paste();
    EXPECT_EQ(EncodeText(edit.document()->firstBlock().text()), bytes);
}

TEST(TextLines, LineEndsOfEveryKind) {
    const QList<std::pair<QString, QStringList>> cases = {
        {"", {}},
        {"a", {"a"}},
        {"a\r\nb\r\n", {"a", "b"}},
        {"a\r\nb\rc\nd", {"a", "b", "c", "d"}},
        {"\r\n", {""}},
        {"\n\n", {"", ""}},
        {"\r\r\n", {"", ""}},
        {"a\n\rb", {"a", "", "b"}},
    };
    for (const auto& [text, lines] : cases) EXPECT_EQ(SplitLines(text), lines) << text.toStdString();
}

TEST(TextLines, DocumentKeepsBomAndWritesCrLf) {
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

TEST(TextLines, CrLfFileWithInvalidBytesIsReproducedExactly) {
    const QByteArray bytes = Bytes({0xEF, 0xBB, 0xBF, 'a', 0xC0, '\r', '\n', 0x00, 0xFF, '\r', '\n', '\r', '\n'});
    const TTextDocument doc = ParseTextDocument(bytes);
    EXPECT_EQ(doc.Lines().size(), 3);
    EXPECT_EQ(FormatTextDocument(doc.Lines(), doc.bom), bytes);
}

namespace {

// The document text the byte-by-byte decoder gives: every line followed by '\n'.
QString ReferenceText(const QByteArray& body) {
    QString text;
    for (const QString& line : SplitLines(DecodeText(body))) text += line + u'\n';
    return text;
}

}  // namespace

TEST(TextDocument, ChunkedDecodingGivesTheTextOfTheWhole) {
    // Each case at every chunk size: cuts fall inside sequences, line ends, invalid runs
    // and marks, and each chunk goes fast or byte by byte on its own.
    const QByteArray cases[] = {
        "\xEF\xBB\xBF\xEF\xBB\xBFx\xEF\xBB\xBF",          // a mark after the file's own is text
        "ab\r\ncd\r\rz\n\r\n",                             // CR LF never split into two ends
        "\xE2\x82\xAC\xF0\x9F\x98\x80\xC3\xA9\r\n\xE2\x82\xAC",  // sequences across cuts
        "valid \xC3\xA9 text until the last byte \xC3",
        "\x80\x80\x80\x80\x80\xC3\xA9\xE2\x82\r\n\xF0\x9F\x98",  // invalid runs and truncations
        "\xEF\xBF\xBE\xEF\xBF\xBF\xEF\xB7\xAF\xEE\xBE\x80\xE2\x80\xA8",  // noncharacters, escapes
        QByteArray("a\0b\r\n\0", 7),
    };
    for (const QByteArray& bytes : cases) {
        const QByteArray body = bytes.startsWith("\xEF\xBB\xBF") ? bytes.mid(3) : bytes;
        for (qsizetype chunk = 1; chunk <= bytes.size(); ++chunk) {
            const TTextDocument doc = ParseTextDocument(bytes, chunk);
            ASSERT_EQ(doc.text, ReferenceText(body)) << bytes.toHex().constData() << " chunk " << chunk;
        }
    }

    QRandomGenerator rng(777);
    const QByteArray pieces[] = {"a", "<p>", "\r", "\n", "\r\n", "\xC3\xA9", "\xE2\x82\xAC", "\xF0\x9F\x98\x80",
                                 "\x80", "\xC3", "\xE2\x82", "\xED\xA0\x80", "\xEE\xBE\x80", "\xEF\xBB\xBF"};
    for (int round = 0; round < 500; ++round) {
        QByteArray bytes;
        for (int i = rng.bounded(1, 40); i > 0; --i) bytes += pieces[rng.bounded(int(std::size(pieces)))];
        const qsizetype chunk = rng.bounded(1, 12);
        const TTextDocument doc = ParseTextDocument(bytes, chunk);
        const QByteArray body = doc.bom ? bytes.mid(3) : bytes;
        ASSERT_EQ(doc.text, ReferenceText(body)) << bytes.toHex().constData() << " chunk " << chunk;
        ASSERT_EQ(FormatTextDocument(doc.Lines(), doc.bom), FormatTextDocument(SplitLines(DecodeText(body)), doc.bom));
    }
}

TEST(TextDocument, LargeFileReadsWithDefaultChunks) {
    // Many chunks of well-formed text, one broken chunk in the middle and a file that is
    // well-formed until its last byte.
    QByteArray line = "<p>Caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80 text</p>\r\n";
    QByteArray bytes;
    while (bytes.size() < 300 * 1024) bytes += line;
    bytes.insert(150 * 1024, "\xFF");
    bytes += "tail \xE2\x82";
    const TTextDocument doc = ParseTextDocument(bytes);
    EXPECT_EQ(doc.text, ReferenceText(bytes));
    EXPECT_TRUE(doc.text.endsWith(QStringLiteral("tail ") + StandIns("\xE2\x82") + u'\n'));
    QByteArray saved = bytes;
    saved += "\r\n";
    EXPECT_EQ(FormatTextDocument(doc.Lines(), doc.bom), saved);
}
