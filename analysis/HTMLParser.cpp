#include "HTMLParser.h"

#include "HTMLText.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

using namespace HTMLText;


bool ContainsCommentOpener(QStringView tag) {
    const char16_t* s = Chars(tag);
    const qsizetype last = tag.size() - 3;
    qsizetype i = 0;
#if defined(__SSE2__)
    // Few tags hold a "!" at all: look for one eight characters at a time.
    const __m128i bang = _mm_set1_epi16(short(u'!'));
    for (; i + 8 <= last + 1; i += 8) {
        const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + i));
        unsigned mask = unsigned(_mm_movemask_epi8(_mm_cmpeq_epi16(x, bang)));
        for (; mask; mask &= mask - 1) {
            const qsizetype k = i + (std::countr_zero(mask) >> 1);
            if (s[k + 1] == u'-' && s[k + 2] == u'-') return true;
            mask &= mask - 1;  // each character owns two mask bits
        }
    }
#endif
    for (; i <= last; ++i)
        if (s[i] == u'!' && s[i + 1] == u'-' && s[i + 2] == u'-') return true;
    return false;
}

// Bit k of the result is set when s[k] is "<" or ">", for the 32 characters at s. The
// scanner spends most of its time here; "<" (0x3C) and ">" (0x3E) differ only in bit 1, so
// one comparison of c | 2 with ">" finds both.
std::uint32_t AngleMarks32(const char16_t* s) {
#if defined(__SSE2__)
    const __m128i two = _mm_set1_epi16(2);
    const __m128i gt = _mm_set1_epi16(short(u'>'));
    auto marks = [&](int k) {
        const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + k));
        return _mm_cmpeq_epi16(_mm_or_si128(x, two), gt);
    };
    // Packing turns the 16-bit lane results into bytes, one mask bit per character.
    const std::uint32_t low = std::uint32_t(_mm_movemask_epi8(_mm_packs_epi16(marks(0), marks(8))));
    const std::uint32_t high = std::uint32_t(_mm_movemask_epi8(_mm_packs_epi16(marks(16), marks(24))));
    return low | (high << 16);
#else
    std::uint32_t mask = 0;
    for (int k = 0; k < 32; ++k)
        if ((s[k] | 2) == u'>') mask |= std::uint32_t(1) << k;
    return mask;
#endif
}

// The marks of the up to 32 characters at s + from; the end of a line is copied into a
// padded block so that nothing past the line is read.
std::uint32_t AngleMarks(const char16_t* s, qsizetype from, qsizetype len) {
    if (len - from >= 32) return AngleMarks32(s + from);
    char16_t block[32] = {};
    std::copy(s + from, s + len, block);
    return AngleMarks32(block);
}

enum class TagWord { Other, Link, Image, Frame, Meta, Comment, Title, TitleClose, TitleCloseBracket };

TagWord ClassifyWord(QStringView w) {
    switch (w.size()) {
    case 1: return EqualsAscii(w, u"A") ? TagWord::Link : TagWord::Other;
    case 3:
        if (EqualsAscii(w, u"IMG")) return TagWord::Image;
        return w == u"!--" ? TagWord::Comment : TagWord::Other;
    case 4: return EqualsAscii(w, u"META") ? TagWord::Meta : TagWord::Other;
    case 5:
        if (EqualsAscii(w, u"FRAME")) return TagWord::Frame;
        return EqualsAscii(w, u"TITLE") ? TagWord::Title : TagWord::Other;
    case 6: return EqualsAscii(w, u"/TITLE") ? TagWord::TitleClose : TagWord::Other;
    case 7: return EqualsAscii(w, u"/TITLE>") ? TagWord::TitleCloseBracket : TagWord::Other;
    default: return TagWord::Other;
    }
}

// For the characters a keyword can start with ("A", "IMG", "FRAME", "META", "TITLE", "/TITLE",
// "!--"), the upper-cased character that must follow; 0 for all others.
constexpr std::array<char16_t, 128> kKeywordSecond = [] {
    std::array<char16_t, 128> table{};
    const auto both = [&](char16_t first, char16_t second) {
        table[first] = second;
        table[first + 32] = second;
    };
    both(u'A', u' ');
    both(u'I', u'M');
    both(u'F', u'R');
    both(u'M', u'E');
    both(u'T', u'I');
    table[u'/'] = u'T';
    table[u'!'] = u'-';
    return table;
}();

// Most tags start with something no keyword starts with, so the first characters settle
// most of them without looking for the first word.
bool MayBeKeyword(QStringView tag) {
    const qsizetype size = tag.size();
    if (size == 0) return false;
    const char16_t* s = Chars(tag);
    if (s[0] >= kKeywordSecond.size()) return false;
    const char16_t second = kKeywordSecond[s[0]];
    if (second == 0) return false;
    if (size == 1) return true;
    if (AsciiUpper(s[1]) != second) return false;
    // Closing tags are common; only "/TITLE" among them matters.
    return s[0] != u'/' || (size > 2 && AsciiUpper(s[2]) == u'I');
}

// A first word longer than "/TITLE>" matches nothing, so only the first 8 characters are
// searched for the blank that ends it.
TagWord ClassifyTag(QStringView tag) {
    if (!MayBeKeyword(tag)) return TagWord::Other;
    constexpr qsizetype kLongest = 7;
    const qsizetype blank = IndexOfChar(tag.left(kLongest + 1), u' ');
    if (blank >= 0) return ClassifyWord(tag.left(blank));
    return tag.size() <= kLongest ? ClassifyWord(tag) : TagWord::Other;
}


// Makes the strings that go into the result lists. Pages repeat their links and images, so
// the strings made lately are kept by content, and a repeated entry shares the earlier string
// instead of allocating its own.
class EntryMaker {
public:
    QString Make(QStringView text) {
        // Empty texts are left alone: a null slot must not stand in for an empty string.
        if (text.isEmpty()) return text.toString();
        QString& slot = slots_[Hash(text) % slots_.size()];
        const std::size_t bytes = std::size_t(text.size()) * sizeof(char16_t);
        if (slot.size() != text.size() || std::memcmp(slot.constData(), text.data(), bytes) != 0) slot = text.toString();
        return slot;
    }

private:
    // A quick multiplicative hash over four characters at a time; a collision only costs a
    // string of its own.
    static std::size_t Hash(QStringView text) {
        const char* p = reinterpret_cast<const char*>(text.data());
        const std::size_t bytes = std::size_t(text.size()) * sizeof(char16_t);
        std::uint64_t h = bytes;
        const auto mix = [&h](std::uint64_t word) { h = (h ^ word) * 0x9E3779B97F4A7C15ull; };
        std::size_t i = 0;
        for (; i + 8 <= bytes; i += 8) {
            std::uint64_t word;
            std::memcpy(&word, p + i, 8);
            mix(word);
        }
        if (i < bytes) {
            std::uint64_t word = 0;
            std::memcpy(&word, p + i, bytes - i);
            mix(word);
        }
        return std::size_t(h >> 32);
    }

    std::array<QString, 256> slots_;
};

}  // namespace

// ---- TLocalRemote, TParsed ----

TLocalRemote::TLocalRemote() : local_(std::make_unique<TStringList>()), remote_(std::make_unique<TStringList>()) {}

TLocalRemote::~TLocalRemote() = default;

TParsed::TParsed()
    : hyperlinks_(std::make_unique<TStringList>()),
      images_(std::make_unique<TStringList>()),
      emails_(std::make_unique<TStringList>()),
      httpLinks_(std::make_unique<TStringList>()),
      ftpLinks_(std::make_unique<TStringList>()),
      localLinks_(std::make_unique<TStringList>()),
      framePages_(std::make_unique<TStringList>()) {
    for (auto& kind : kinds_) kind = std::make_unique<TLocalRemote>();
}

TParsed::~TParsed() = default;

void TParsed::ClearLists() {
    for (TStringList* list : {Hyperlinks(), Images(), EMails(), HTTPlinks(), FTPlinks(), Locallinks(), FramePages()})
        list->Clear();
}

// ---- THTMLParser ----

// A scan's own copies of the events. Handlers run from these copies, so a handler that
// reassigns its own event stays alive while it runs; a scan renews them after any assignment.
struct THTMLParser::Handlers {
    unsigned generation = 0;
    TParsingEvent parsing;
    TFoundEvent hyperlink, tag, text, comment;

    void Renew(const THTMLParser& parser) {
        generation = parser.eventsChanged_;
        parsing = parser.onParsing_;
        hyperlink = parser.onFoundHyperlink_;
        tag = parser.onFoundTag_;
        text = parser.onFoundText_;
        comment = parser.onFoundComment_;
    }
};

// The input list. It tells the parser before anything changes it, so the lines a pass scans
// need to be copied only when a handler really changes them.
class THTMLParser::InputList : public TStringList {
public:
    explicit InputList(THTMLParser& parser) : parser_(parser) {}

protected:
    void Changing() override {
        parser_.InputChanging();
        TStringList::Changing();
    }

private:
    THTMLParser& parser_;
};

// The state of one pass. The lines are read from the input until it is about to change; from
// then on from a copy of them as they were, so views into them stay valid whatever the
// handlers do to the input.
struct THTMLParser::Scan {
    explicit Scan(THTMLParser& parser) : parser(parser), outer(parser.scans_) {
        handlers.Renew(parser);
        parser.scans_ = this;
    }
    ~Scan() { parser.scans_ = outer; }
    Scan(const Scan&) = delete;
    Scan& operator=(const Scan&) = delete;

    THTMLParser& parser;
    Scan* outer;
    Handlers handlers;
    int lineCount = 0;
    bool copied = false;
    QList<QString> lines;  // the copy, once taken
    bool inTag = false;
    // Where the current text run or tag text begins (the tag text after its last "<"): the
    // line, and the offset in it when that line is done with.
    int startLine = 0;
    qsizetype startOffset = 0;
    qsizetype textLength = 0;
    QString joined;
    EntryMaker entries;
    // The text handed to event handlers. Its storage is reused from one event to the next
    // unless a handler kept the string, which then keeps its own copy.
    QString eventText;

    const Handlers& Events() {
        if (handlers.generation != parser.eventsChanged_) handlers.Renew(parser);
        return handlers;
    }

    const QString& EventText(QStringView text) {
        // Storage of its own with room to spare is overwritten in place; the general path
        // checks and grows far more than an event per tag can afford.
        QString::DataPointer& d = eventText.data_ptr();
        const qsizetype n = text.size();
        if (!d.needsDetach() && n < d.constAllocatedCapacity() - d.freeSpaceAtBegin()) {
            std::memcpy(d.data(), text.data(), std::size_t(n) * sizeof(char16_t));
            d.data()[n] = u'\0';
            d.size = n;
            return eventText;
        }
        eventText.setUnicode(text.data(), n);
        return eventText;
    }

    QString Line(int index) const { return copied ? lines.at(index) : parser.html_->Strings(index); }

    // The input is about to change: keeps the lines as they are now, which are the lines as
    // they were when the pass started.
    void CopyLines() {
        if (copied) return;
        lines.reserve(lineCount);
        for (int i = 0; i < lineCount; ++i) lines.append(parser.html_->Strings(i));
        copied = true;
    }

    // The characters from the start position up to (not including) end on line endLine, for a
    // run that began on an earlier line: put together in joined.
    QStringView Join(QStringView line, int endLine, qsizetype end) {
        joined.clear();
        joined += QStringView(Line(startLine)).mid(startOffset);
        for (int i = startLine + 1; i < endLine; ++i) joined += Line(i);
        joined += line.left(end);
        return joined;
    }
};

THTMLParser::THTMLParser(TComponent* owner)
    : TComponent(owner), html_(std::make_unique<InputList>(*this)), parsed_(std::make_unique<TParsed>()) {}

THTMLParser::~THTMLParser() = default;

void THTMLParser::InputChanging() {
    for (Scan* scan = scans_; scan; scan = scan->outer) scan->CopyLines();
}

void THTMLParser::SetHTML(TStrings* value) {
    if (value == html_.get()) return;
    html_->Clear();
    if (value) html_->AddStrings(value);
}

void THTMLParser::Parse() {
    parsed_->ClearLists();
    Scan scan(*this);
    const int count = html_->Count();
    scan.lineCount = count;
    lineCount_ = count;
    linesParsed_ = 0;
    for (int i = 0; i < count; ++i) {
        currentLine_ = i + 1;
        // An empty line is not counted as parsed.
        if (ScanLine(scan, i)) linesParsed_ = i + 1;
    }
}

// Visits the line's "<" and ">" characters 32 at a time; everything between them is text or
// tag text that is taken as a slice of the line when its run ends. The position state lives
// in locals meanwhile: handlers cannot reach it.
bool THTMLParser::ScanLine(Scan& scan, int index) {
    // A copy: it keeps the characters alive while handlers run, whatever they do to the input.
    const QString line = scan.Line(index);
    if (line.isEmpty()) return false;
    const char16_t* s = reinterpret_cast<const char16_t*>(line.utf16());
    const qsizetype len = line.size();
    bool inTag = scan.inTag;
    qsizetype textLength = scan.textLength;
    qsizetype pos = 0;  // the first character not yet dealt with
    bool runStartsHere = scan.startLine == index;
    // What the events and the title state call for; only handlers and TagFound change them, so
    // they are read again after each call.
    bool parsing, wantText, wantTag;
    const auto refresh = [&] {
        parsing = bool(onParsing_);
        wantText = inTitle_ || onFoundText_;
        wantTag = inTitle_ || onFoundTag_;
    };
    refresh();
    const auto run = [&](qsizetype end) {
        return runStartsHere ? QStringView(line).mid(pos, end - pos) : scan.Join(line, index, end);
    };
    for (qsizetype block = 0; block < len; block += 32) {
        for (std::uint32_t marks = AngleMarks(s, block, len); marks; marks &= marks - 1) {
            const qsizetype hit = block + std::countr_zero(marks);
            const bool closes = s[hit] == u'>';
            // Outside a tag only "<" matters; inside, "<" restarts the tag text and ">" ends it.
            if (closes && !inTag) continue;
            if (parsing) {
                FireParsing(scan, hit + 1 - pos);
                refresh();
            }
            if (!inTag) {
                textLength += hit - pos;
                // Outside a title without a handler text has no effect: it is not put together.
                if (textLength > 0 && wantText) {
                    TextFound(scan, run(hit));
                    refresh();
                }
                inTag = true;
            } else if (closes) {
                const QStringView tag = run(hit + 1);
                if (wantTag || MayBeKeyword(tag)) {
                    TagFound(scan, tag);
                    refresh();
                }
                inTag = false;
                textLength = 0;
            }
            runStartsHere = true;
            pos = hit + 1;
        }
    }
    if (parsing) FireParsing(scan, len - pos);
    if (!inTag) textLength += len - pos;
    scan.inTag = inTag;
    scan.textLength = textLength;
    if (runStartsHere) {
        scan.startLine = index;
        scan.startOffset = pos;
    }
    return true;
}

void THTMLParser::FireParsing(Scan& scan, qsizetype count) {
    for (qsizetype k = 0; k < count; ++k) {
        const TParsingEvent& handler = scan.Events().parsing;
        if (!handler) return;
        handler(this, currentLine_, lineCount_);
    }
}

void THTMLParser::FoundText(QStringView text) {
    Scan scan(*this);
    TextFound(scan, text);
}

void THTMLParser::FoundTag(QStringView tag) {
    Scan scan(*this);
    TagFound(scan, tag);
}

void THTMLParser::TextFound(Scan& scan, QStringView text) {
    if (inTitle_)
        titleBuffer_ = text.toString();
    else if (const TFoundEvent& handler = scan.Events().text)
        handler(this, scan.EventText(text));
}

void THTMLParser::TagFound(Scan& scan, QStringView tag) {
    if (inTitle_ && !ContainsAscii(tag, titleEnd_)) {
        // The tag text already ends with its ">" when it came from the scan.
        titleBuffer_ += u'<';
        titleBuffer_ += tag;
        if (!tag.endsWith(u'>')) titleBuffer_ += u'>';
        return;
    }
    if (onFoundTag_ && !ContainsCommentOpener(tag)) {
        if (const TFoundEvent& handler = scan.Events().tag) handler(this, scan.EventText(tag));
    }
    switch (ClassifyTag(tag)) {
    case TagWord::Link: FoundLink(scan, tag); break;
    case TagWord::Image: parsed_->Images()->Add(scan.entries.Make(TagAttributeValue(tag, u"SRC"))); break;
    case TagWord::Frame: parsed_->FramePages()->Add(scan.entries.Make(TagAttributeValue(tag, u"SRC"))); break;
    case TagWord::Meta: FoundMeta(tag); break;
    case TagWord::Comment: FoundComment(scan, tag); break;
    case TagWord::Title: BeginTitle(); break;
    case TagWord::TitleClose:
    case TagWord::TitleCloseBracket:
        // A closing tag outside a title must not wipe a title found earlier.
        if (inTitle_) EndTitle();
        break;
    case TagWord::Other: break;
    }
}

void THTMLParser::BeginTitle() {
    inTitle_ = true;
    titleEnd_ = QStringLiteral("/TITLE");
}

void THTMLParser::EndTitle() {
    inTitle_ = false;
    titleEnd_.clear();
    parsed_->SetTitle(titleBuffer_);
    titleBuffer_.clear();
}

void THTMLParser::FoundLink(Scan& scan, QStringView tag) {
    const QStringView view = TagAttributeValue(tag, u"HREF");
    // Named anchors (and empty hrefs) point nowhere: they are no link.
    if (view.isEmpty()) return;
    const QString href = scan.entries.Make(view);
    const THrefInfo info = ClassifyHref(view);
    if (info.kind >= 0) {
        TLocalRemote* lists = parsed_->Kind(TParsed::TLinkKind(info.kind));
        (info.http ? lists->Remote() : lists->Local())->Add(href);
    }
    if (info.mailto)
        parsed_->EMails()->Add(scan.entries.Make(view.mid(7)));
    else if (info.ftp)
        parsed_->FTPlinks()->Add(href);
    else if (info.http)
        parsed_->HTTPlinks()->Add(href);
    else if (!info.hasSeparator)
        parsed_->Locallinks()->Add(href);
    else if (const TFoundEvent& handler = scan.Events().hyperlink)
        handler(this, href);
    parsed_->Hyperlinks()->Add(href);
}

void THTMLParser::FoundMeta(QStringView tag) {
    const QStringView name = TagAttributeValue(tag, u"NAME");
    if (EqualsAscii(name, u"KEYWORD"))
        parsed_->SetKeyword(TagAttributeValue(tag, u"CONTENT").toString());
    else if (EqualsAscii(name, u"DESCRIPTION"))
        parsed_->SetDescription(TagAttributeValue(tag, u"CONTENT").toString());
}

void THTMLParser::FoundComment(Scan& scan, QStringView tag) {
    const TFoundEvent& handler = scan.Events().comment;
    if (!handler) return;
    // "!-- text -->": what lies between "!-- " and "-->"; shorter tags give no text.
    const qsizetype length = tag.size() - 7;
    handler(this, length > 0 ? scan.EventText(tag.mid(4, length)) : QString());
}

QString THTMLParser::GetAttribute(QStringView tag, QStringView name) { return AttributeView(tag, name).toString(); }

QString THTMLParser::GetAttributeValue(QStringView attribute) { return AttributeValueView(attribute).toString(); }

QString THTMLParser::ExtractQuoted(QStringView text, QChar ch) { return ExtractQuotedView(text, ch).toString(); }
