#include "ParserFuzz.h"

#include "HTMLParser.h"

#include <cstdio>

using namespace Qt::StringLiterals;
#include <cstdlib>

namespace {

// Receives every event and checks what the scanner promises about it.
class FuzzSink : public QObject {
public:
    qsizetype parsingCalls = 0;
    int lineCount = 0;
    const char* failure = nullptr;

    void Parsing(TObject*, int line, int count)
    {
        ++parsingCalls;
        if (line < 1 || line > count || count != lineCount) Fail("OnParsing outside the input");
    }
    void Tag(TObject*, QString tag)
    {
        // The tag text runs from after the last "<" through the ">".
        if (!tag.endsWith(u'>') || tag.contains(u'<')) Fail("malformed tag text");
        if (tag.contains(u"!--")) Fail("a tag holding a comment opener was reported");
    }
    void Text(TObject*, QString text)
    {
        if (text.isEmpty() || text.contains(u'<')) Fail("malformed text run");
    }
    QStringList comments, links;  // in the order reported

    void Comment(TObject*, QString text)
    {
        comments << text;
        if (text.contains(u'<')) Fail("comment text holds a '<'");
    }
    void Link(TObject*, QString href)
    {
        links << href;
        if (href.isEmpty()) Fail("empty link reported");
    }

private:
    void Fail(const char* what)
    {
        if (!failure) failure = what;
    }
};

QString Decode(const std::uint8_t* data, std::size_t size)
{
    // The first byte picks the decoding: UTF-8 (invalid bytes become replacement
    // characters) or raw UTF-16 code units (lone surrogates and NULs included).
    if (size == 0) return {};
    const char* bytes = reinterpret_cast<const char*>(data + 1);
    const qsizetype n = qsizetype(size - 1);
    if (data[0] & 1) return QString::fromUtf8(bytes, n);
    QString s;
    for (qsizetype i = 0; i + 1 < n; i += 2)
        s += QChar(char16_t(std::uint8_t(bytes[i]) | (std::uint8_t(bytes[i + 1]) << 8)));
    return s;
}

const char* CheckHelpers(const QString& text)
{
    const QString name = text.left(4);
    const QString attribute = THTMLParser::GetAttribute(text, name);
    if (!name.isEmpty() && !attribute.isEmpty() && attribute.size() > text.size()) return "attribute longer than tag";
    const QString value = THTMLParser::GetAttributeValue(attribute);
    if (value.size() > attribute.size()) return "value longer than attribute";
    if (THTMLParser::ExtractQuoted(text, u'"').size() > text.size()) return "quoted part longer than text";
    return nullptr;
}

// What a parse found, in one list, so that two parses can be compared. The per-kind lists
// gather over passes, so a second pass compares the others only.
QStringList Findings(const TParsed* parsed, bool withKinds = true)
{
    QStringList all{parsed->Title(), parsed->Keyword(), parsed->Description()};
    for (int kind = 0; withKinds && kind < TParsed::lkCount; ++kind) {
        const TLocalRemote* lists = parsed->Kind(TParsed::TLinkKind(kind));
        all << u"|"_s << lists->Local()->ToStringList() << u"|"_s << lists->Remote()->ToStringList();
    }
    for (const TStringList* list : {parsed->Hyperlinks(), parsed->Images(), parsed->EMails(), parsed->HTTPlinks(),
                                    parsed->FTPlinks(), parsed->Locallinks(), parsed->FramePages()})
        all << u"|"_s << list->ToStringList();
    return all;
}

const char* ParseWithEvents(const QStringList& lines, QStringList& findings, FuzzSink& sink)
{
    THTMLParser parser(nullptr);
    TStringList input;
    input.AddStrings(lines);
    parser.SetHTML(&input);
    parser.SetOnParsing(TParsingEvent(&sink, &FuzzSink::Parsing));
    parser.SetOnFoundTag(TFoundEvent(&sink, &FuzzSink::Tag));
    parser.SetOnFoundText(TFoundEvent(&sink, &FuzzSink::Text));
    parser.SetOnFoundComment(TFoundEvent(&sink, &FuzzSink::Comment));
    parser.SetOnFoundHyperlink(TFoundEvent(&sink, &FuzzSink::Link));
    sink.lineCount = int(lines.size());
    parser.Parse();
    if (sink.failure) return sink.failure;
    qsizetype characters = 0;
    for (const QString& line : lines) characters += line.size();
    if (sink.parsingCalls != characters) return "OnParsing not once per character";
    if (parser.LinesParsed() > parser.LineCount() || parser.LineCount() != lines.size()) return "line counts";
    if (parser.Parsed()->Hyperlinks()->Count() < parser.Parsed()->EMails()->Count()) return "e-mail without link";
    findings = Findings(parser.Parsed());
    return nullptr;
}

// With handlers for comments and unusual links only, the scanner still looks at keyword
// tags only; it must report the same comments and links as the full scan.
const char* ParseWithFewHandlers(const QStringList& lines, const QStringList& findings, const FuzzSink& full)
{
    THTMLParser parser(nullptr);
    FuzzSink sink;
    parser.HTML()->AddStrings(lines);
    parser.SetOnFoundComment(TFoundEvent(&sink, &FuzzSink::Comment));
    parser.SetOnFoundHyperlink(TFoundEvent(&sink, &FuzzSink::Link));
    parser.Parse();
    if (Findings(parser.Parsed()) != findings) return "scan with few handlers found something else";
    if (sink.comments != full.comments || sink.links != full.links) return "scan with few handlers reported otherwise";
    return nullptr;
}

// Without handlers the scanner looks at keyword tags only; it must find exactly what the
// full scan with every handler found.
const char* ParseQuietly(const QStringList& lines, const QStringList& findings)
{
    THTMLParser parser(nullptr);
    parser.HTML()->AddStrings(lines);
    parser.Parse();
    if (Findings(parser.Parsed()) != findings) return "quiet scan found something else";
    // A second pass starts in the same state unless the first ended inside a title; it
    // must give the same plain lists.
    const QStringList plain = Findings(parser.Parsed(), false);
    const bool sameStart = !parser.InTitle();
    parser.Parse();
    if (sameStart && Findings(parser.Parsed(), false) != plain) return "second quiet scan found something else";
    return parser.LinesParsed() <= int(lines.size()) ? nullptr : "lines parsed beyond the input";
}

}  // namespace

const char* FuzzOneInputChecked(const std::uint8_t* data, std::size_t size)
{
    const QString text = Decode(data, size);
    const QStringList lines = text.split(u'\n');
    QStringList findings;
    FuzzSink sink;
    if (const char* failure = ParseWithEvents(lines, findings, sink)) return failure;
    if (const char* failure = ParseWithFewHandlers(lines, findings, sink)) return failure;
    if (const char* failure = ParseQuietly(lines, findings)) return failure;
    return CheckHelpers(text);
}

void FuzzOneInput(const std::uint8_t* data, std::size_t size)
{
    if (const char* failure = FuzzOneInputChecked(data, size)) {
        std::fprintf(stderr, "HTML scanner fuzz failure: %s\n", failure);
        std::abort();
    }
}
