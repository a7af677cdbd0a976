#include "HTMLParser.h"

#include "HTMLText.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <cstring>
#include <string_view>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

using namespace HTMLText;

bool OpensCommentAt(const char16_t* s, qsizetype k, qsizetype size)
{
    return k + 2 < size && s[k + 1] == u'-' && s[k + 2] == u'-';
}

bool ContainsCommentOpener(QStringView tag)
{
    const char16_t* s = Chars(tag);
    const qsizetype size = tag.size();
#if defined(__SSE2__)
    // Few tags hold a "!" at all: look for one eight characters at a time, the last eight
    // overlapping the ones before when the size is not a multiple of eight.
    if (size >= 8) {
        const __m128i bang = _mm_set1_epi16(short(u'!'));
        for (qsizetype i = 0; i < size; i = std::min(i + 8, size - 8)) {
            const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + i));
            // Each character owns two mask bits; the odd ones are dropped.
            for (unsigned mask = unsigned(_mm_movemask_epi8(_mm_cmpeq_epi16(x, bang))) & 0x5555u; mask;
                 mask &= mask - 1)
                if (OpensCommentAt(s, i + (std::countr_zero(mask) >> 1), size)) return true;
            if (i == size - 8) break;
        }
        return false;
    }
#endif
    for (qsizetype i = 0; i < size; ++i)
        if (s[i] == u'!' && OpensCommentAt(s, i, size)) return true;
    return false;
}

// Bit k of a mark mask stands for s[k]. The scanner spends most of its time here. With
// kBoth, "<" and ">" are marked: they (0x3C, 0x3E) differ only in bit 1, so one comparison
// of c | 2 with ">" finds both. Without, "<" alone is marked.
template <bool kBoth>
constexpr bool IsMark(char16_t c)
{
    return kBoth ? (c | 2) == u'>' : c == u'<';
}

#if defined(__SSE2__)
// 0xFFFF in each lane of the 8 characters at s that is a mark.
template <bool kBoth>
__m128i MarkLanes(const char16_t* s)
{
    const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s));
    if (kBoth) return _mm_cmpeq_epi16(_mm_or_si128(x, _mm_set1_epi16(2)), _mm_set1_epi16(short(u'>')));
    return _mm_cmpeq_epi16(x, _mm_set1_epi16(short(u'<')));
}
#endif

// The marks of the 32 characters at s.
template <bool kBoth>
std::uint32_t Marks32(const char16_t* s)
{
#if defined(__SSE2__)
    // Packing turns the 16-bit lane results into bytes, one mask bit per character.
    const auto pair = [s](int k) {
        return std::uint32_t(_mm_movemask_epi8(_mm_packs_epi16(MarkLanes<kBoth>(s + k), MarkLanes<kBoth>(s + k + 8))));
    };
    return pair(0) | (pair(16) << 16);
#else
    std::uint32_t mask = 0;
    for (int k = 0; k < 32; ++k)
        if (IsMark<kBoth>(s[k])) mask |= std::uint32_t(1) << k;
    return mask;
#endif
}

// The marks of the up to 32 characters at s + from. Nothing past the line is read: at the
// end of a line the last 32 characters are looked at and the mask shifted; a line shorter
// than that is copied into a padded block.
template <bool kBoth>
std::uint32_t Marks(const char16_t* s, qsizetype from, qsizetype len)
{
    if (len - from >= 32) return Marks32<kBoth>(s + from);
    if (len >= 32) return Marks32<kBoth>(s + len - 32) >> (from - (len - 32));
    char16_t block[32] = {};
    std::copy(s + from, s + len, block);
    return Marks32<kBoth>(block);
}

std::uint32_t AngleMarks(const char16_t* s, qsizetype from, qsizetype len)
{
    return Marks<true>(s, from, len);
}

// The "<" marks of the up to 64 characters at s + from.
std::uint64_t OpenMarks64(const char16_t* s, qsizetype from, qsizetype len)
{
    const std::uint64_t low = Marks<false>(s, from, len);
    if (len - from <= 32) return low;
    return low | std::uint64_t(Marks<false>(s, from + 32, len)) << 32;
}

// Index of the first "<" or ">" at or after from, or -1.
qsizetype NextAngle(const char16_t* s, qsizetype from, qsizetype len)
{
    for (qsizetype block = from; block < len; block += 32)
        if (const std::uint32_t marks = AngleMarks(s, block, len)) return block + std::countr_zero(marks);
    return -1;
}

enum class TagWord { Other, Link, Image, Frame, Meta, Comment, Title, TitleClose, TitleCloseBracket };

// A word of up to eight ASCII characters, upper-cased, a byte each, in one integer.
constexpr std::uint64_t PackWord(std::u16string_view w)
{
    std::uint64_t key = 0;
    for (char16_t c : w) key = key << 8 | AsciiUpper(c);
    return key;
}

TagWord ClassifyWord(std::uint64_t key, qsizetype size)
{
    switch (size) {
    case 1: return key == PackWord(u"A") ? TagWord::Link : TagWord::Other;
    case 3:
        if (key == PackWord(u"IMG")) return TagWord::Image;
        return key == PackWord(u"!--") ? TagWord::Comment : TagWord::Other;
    case 4: return key == PackWord(u"META") ? TagWord::Meta : TagWord::Other;
    case 5:
        if (key == PackWord(u"FRAME")) return TagWord::Frame;
        return key == PackWord(u"TITLE") ? TagWord::Title : TagWord::Other;
    case 6: return key == PackWord(u"/TITLE") ? TagWord::TitleClose : TagWord::Other;
    case 7: return key == PackWord(u"/TITLE>") ? TagWord::TitleCloseBracket : TagWord::Other;
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

// Whether a tag text may begin with a keyword, from its first characters: most tags start
// with something no keyword starts with. The case of the characters after the first is
// folded by setting bit 5, which lets through a few more tags than match and costs less;
// ClassifyTag settles them. Closing tags are common; only "/TITLE" among them matters. A
// comment has no effect without a comment handler: then "!" begins no keyword.
bool MayBeKeyword(const char16_t* s, qsizetype size, bool comments = true)
{
    if (size <= 0) return false;
    const char16_t first = s[0];
    if (first >= kKeywordSecond.size() || (first == u'!' && !comments)) return false;
    const char16_t second = kKeywordSecond[first];
    if (second == 0) return false;
    if (size == 1) return true;
    if ((s[1] | 0x20) != (second | 0x20)) return false;
    return first != u'/' || size < 3 || (s[2] | 0x20) == u'i';
}

bool MayBeKeyword(QStringView tag)
{
    return MayBeKeyword(Chars(tag), tag.size());
}

// The first word runs to the first blank, or is the whole tag. A word longer than
// "/TITLE>" or holding a character beyond ASCII matches nothing, so only the first 8
// characters are looked at.
TagWord ClassifyTag(QStringView tag)
{
    if (!MayBeKeyword(tag)) return TagWord::Other;
    constexpr qsizetype kLongest = 7;
    const char16_t* s = Chars(tag);
    const qsizetype n = std::min(tag.size(), kLongest + 1);
    std::uint64_t key = 0;
    qsizetype i = 0;
    for (; i < n && s[i] != u' '; ++i) {
        if (s[i] >= 0x80) return TagWord::Other;
        key = key << 8 | AsciiUpper(s[i]);
    }
    if (i == n && tag.size() > kLongest) return TagWord::Other;
    return ClassifyWord(key, i);
}

// Makes the strings that go into the result lists. Pages repeat their links and images, so
// the entries made lately are kept by content: a repeated entry shares the earlier string
// instead of allocating its own, and a repeated link is classified once.
class EntryMaker {
public:
    struct Entry {
        QString text;
        bool classified = false;
        THrefInfo href;  // what the text says as a link, once classified
    };

    // The entry for a non-empty text.
    Entry& Find(QStringView text)
    {
        Entry& slot = slots_[Hash(text) % kSlots];
        const std::size_t bytes = std::size_t(text.size()) * sizeof(char16_t);
        if (slot.text.size() != text.size() || std::memcmp(slot.text.constData(), text.data(), bytes) != 0)
            slot = Entry{text.toString(), false, {}};
        return slot;
    }

    QString Make(QStringView text)
    {
        // Empty texts are left alone: a null slot must not stand in for an empty string.
        return text.isEmpty() ? text.toString() : Find(text).text;
    }

private:
    // A quick multiplicative hash over four characters at a time; a collision only costs a
    // string of its own.
    static std::size_t Hash(QStringView text)
    {
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

    // Pages hold hundreds of distinct links and images; with far more slots than that, few of
    // them share a slot and keep replacing each other's string.
    static constexpr std::size_t kSlots = 2048;
    std::unique_ptr<Entry[]> slots_ = std::make_unique<Entry[]>(kSlots);
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
      framePages_(std::make_unique<TStringList>())
{
    for (auto& kind : kinds_) kind = std::make_unique<TLocalRemote>();
}

TParsed::~TParsed() = default;

void TParsed::ClearLists()
{
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

    void Renew(const THTMLParser& parser)
    {
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
    void Changing() override
    {
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
    explicit Scan(THTMLParser& parser) : parser(parser), outer(parser.scans_)
    {
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

    const Handlers& Events()
    {
        if (handlers.generation != parser.eventsChanged_) handlers.Renew(parser);
        return handlers;
    }

    const QString& EventText(QStringView text)
    {
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

    // The line's characters stay valid while handlers run: before anything changes the
    // input, the pass keeps its own copy of the lines (CopyLines).
    const QString& Line(int index) const { return copied ? lines.at(index) : parser.html_->StringRef(index); }

    // The input is about to change: keeps the lines as they are now, which are the lines as
    // they were when the pass started.
    void CopyLines()
    {
        if (copied) return;
        lines.reserve(lineCount);
        for (int i = 0; i < lineCount; ++i) lines.append(parser.html_->Strings(i));
        copied = true;
    }

    // The characters from the start position up to (not including) end on line endLine, for a
    // run that began on an earlier line: put together in joined.
    QStringView Join(QStringView line, int endLine, qsizetype end)
    {
        joined.clear();
        joined += QStringView(Line(startLine)).mid(startOffset);
        for (int i = startLine + 1; i < endLine; ++i) joined += Line(i);
        joined += line.left(end);
        return joined;
    }
};

THTMLParser::THTMLParser(TComponent* owner)
    : TComponent(owner), html_(std::make_unique<InputList>(*this)), parsed_(std::make_unique<TParsed>())
{}

THTMLParser::~THTMLParser() = default;

void THTMLParser::InputChanging()
{
    for (Scan* scan = scans_; scan; scan = scan->outer) scan->CopyLines();
}

void THTMLParser::SetHTML(TStrings* value)
{
    if (value == html_.get()) return;
    html_->Clear();
    if (value) html_->AddStrings(value);
}

void THTMLParser::Parse()
{
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

// Where a line's scan stands. The position state lives here, not in the parser, while
// handlers run: they cannot reach it.
struct THTMLParser::LineScan {
    LineScan(Scan& scan, int index, QStringView text)
        : scan(scan),
          index(index),
          line(text),
          s(reinterpret_cast<const char16_t*>(text.data())),
          len(text.size()),
          inTag(scan.inTag),
          textLength(scan.textLength),
          runStartsHere(scan.startLine == index)
    {}

    Scan& scan;
    const int index;
    const QStringView line;
    const char16_t* const s;
    const qsizetype len;
    qsizetype pos = 0;  // the first character not yet dealt with
    bool inTag;
    qsizetype textLength;
    bool runStartsHere;  // whether the current run or tag text starts on this line

    // The current run or tag text, up to (not including) end.
    QStringView Run(qsizetype end) { return runStartsHere ? line.mid(pos, end - pos) : scan.Join(line, index, end); }
    void Open(qsizetype next)
    {
        inTag = true;
        pos = next;
        runStartsHere = true;
    }
    void Close(qsizetype next)
    {
        inTag = false;
        textLength = 0;
        pos = next;
        runStartsHere = true;
    }
    void Finish()
    {
        if (!inTag) textLength += len - pos;
        scan.inTag = inTag;
        scan.textLength = textLength;
        if (runStartsHere) {
            scan.startLine = index;
            scan.startOffset = pos;
        }
    }
};

bool THTMLParser::ScanLine(Scan& scan, int index)
{
    LineScan ls(scan, index, scan.Line(index));
    if (ls.len == 0) return false;
    if (!Quiet() || !ScanKeywords(ls)) ScanAll(ls);
    ls.Finish();
    return true;
}

// While no handler wants every tag, text run or character, only tags that may be keywords
// matter: the other "<" characters are passed over without looking for the end of their
// tag, and the state at the end of the line follows from its last "<". False when a tag
// calls for the full scan of the rest of the line (a title began, or a handler was set).
bool THTMLParser::ScanKeywords(LineScan& ls)
{
    const char16_t* s = ls.s;
    const qsizetype len = ls.len;
    if (ls.inTag) {
        // A tag carried over from an earlier line ends at the first ">", unless a "<" restarts it.
        const qsizetype end = NextAngle(s, 0, len);
        if (end < 0) return true;
        if (s[end] == u'>') {
            const QStringView tag = ls.Run(end + 1);
            if (MayBeKeyword(tag)) TagFound(ls.scan, tag);
            ls.Close(end + 1);
            if (!Quiet()) return false;
        } else {
            ls.inTag = false;  // the "<" is met again below and settles the state
            ls.pos = end;
        }
    }
    qsizetype lastOpen = -1;
    bool comments = bool(onFoundComment_);
    // Looks at the "<" of one block; false when the rest of the line needs the full scan.
    const auto visit = [&](qsizetype block, std::uint64_t opens) {
        if (opens) lastOpen = block + 63 - std::countl_zero(opens);
        for (; opens; opens &= opens - 1) {
            const qsizetype open = block + std::countr_zero(opens);
            if (!MayBeKeyword(s + open + 1, len - open - 1, comments)) continue;
            // A "<" before the next ">" restarts the tag; none on this line carries it over.
            const qsizetype end = NextAngle(s, open + 1, len);
            if (end < 0 || s[end] == u'<') continue;
            TagFound(ls.scan, QStringView(s + open + 1, end - open));
            if (!Quiet()) {
                ls.Close(end + 1);
                return false;
            }
            comments = bool(onFoundComment_);
        }
        return true;
    };
    // Whole blocks first, then the end of the line: the loop's own tests stay predictable.
    qsizetype block = ls.pos;
    for (; len - block >= 64; block += 64)
        if (!visit(block, Marks32<false>(s + block) | std::uint64_t(Marks32<false>(s + block + 32)) << 32))
            return false;
    if (block < len && !visit(block, OpenMarks64(s, block, len))) return false;
    if (lastOpen < 0) return true;
    // The last "<" of the line: its tag closes at the next ">" or goes on to the next line.
    const qsizetype end = NextAngle(s, lastOpen + 1, len);
    if (end >= 0)
        ls.Close(end + 1);
    else
        ls.Open(lastOpen + 1);
    return true;
}

// Visits the line's "<" and ">" characters 32 at a time from the current position;
// everything between them is text or tag text that is taken as a slice of the line when
// its run ends.
void THTMLParser::ScanAll(LineScan& ls)
{
    // What the events and the title state call for; only handlers and TagFound change them, so
    // they are read again after each call.
    bool parsing, wantText, wantTag;
    const auto refresh = [&] {
        parsing = bool(onParsing_);
        wantText = inTitle_ || onFoundText_;
        wantTag = inTitle_ || onFoundTag_;
    };
    refresh();
    const char16_t* s = ls.s;
    for (qsizetype block = ls.pos; block < ls.len; block += 32) {
        for (std::uint32_t marks = AngleMarks(s, block, ls.len); marks; marks &= marks - 1) {
            const qsizetype hit = block + std::countr_zero(marks);
            const bool closes = s[hit] == u'>';
            // Outside a tag only "<" matters; inside, "<" restarts the tag text and ">" ends it.
            if (closes && !ls.inTag) continue;
            if (parsing) {
                FireParsing(ls.scan, hit + 1 - ls.pos);
                refresh();
            }
            if (!ls.inTag) {
                ls.textLength += hit - ls.pos;
                // Outside a title without a handler text has no effect: it is not put together.
                if (ls.textLength > 0 && wantText) {
                    TextFound(ls.scan, ls.Run(hit));
                    refresh();
                }
                ls.Open(hit + 1);
            } else if (closes) {
                const QStringView tag = ls.Run(hit + 1);
                if (wantTag || MayBeKeyword(tag)) {
                    TagFound(ls.scan, tag);
                    refresh();
                }
                ls.Close(hit + 1);
            } else {
                ls.Open(hit + 1);
            }
        }
    }
    if (parsing) FireParsing(ls.scan, ls.len - ls.pos);
}

void THTMLParser::FireParsing(Scan& scan, qsizetype count)
{
    for (qsizetype k = 0; k < count; ++k) {
        const TParsingEvent& handler = scan.Events().parsing;
        if (!handler) return;
        handler(this, currentLine_, lineCount_);
    }
}

void THTMLParser::FoundText(QStringView text)
{
    Scan scan(*this);
    TextFound(scan, text);
}

void THTMLParser::FoundTag(QStringView tag)
{
    Scan scan(*this);
    TagFound(scan, tag);
}

void THTMLParser::TextFound(Scan& scan, QStringView text)
{
    if (inTitle_)
        titleBuffer_ = text.toString();
    else if (const TFoundEvent& handler = scan.Events().text)
        handler(this, scan.EventText(text));
}

void THTMLParser::TagFound(Scan& scan, QStringView tag)
{
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

void THTMLParser::BeginTitle()
{
    inTitle_ = true;
    titleEnd_ = QStringLiteral("/TITLE");
}

void THTMLParser::EndTitle()
{
    inTitle_ = false;
    titleEnd_.clear();
    parsed_->SetTitle(titleBuffer_);
    titleBuffer_.clear();
}

void THTMLParser::FoundLink(Scan& scan, QStringView tag)
{
    const QStringView view = TagAttributeValue(tag, u"HREF");
    // Named anchors (and empty hrefs) point nowhere: they are no link.
    if (view.isEmpty()) return;
    EntryMaker::Entry& entry = scan.entries.Find(view);
    if (!entry.classified) {
        entry.href = ClassifyHref(view);
        entry.classified = true;
    }
    const QString href = entry.text;
    const THrefInfo info = entry.href;
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

void THTMLParser::FoundMeta(QStringView tag)
{
    const QStringView name = TagAttributeValue(tag, u"NAME");
    if (EqualsAscii(name, u"KEYWORD"))
        parsed_->SetKeyword(TagAttributeValue(tag, u"CONTENT").toString());
    else if (EqualsAscii(name, u"DESCRIPTION"))
        parsed_->SetDescription(TagAttributeValue(tag, u"CONTENT").toString());
}

void THTMLParser::FoundComment(Scan& scan, QStringView tag)
{
    const TFoundEvent& handler = scan.Events().comment;
    if (!handler) return;
    // "!-- text -->": what lies between "!-- " and "-->"; shorter tags give no text.
    const qsizetype length = tag.size() - 7;
    handler(this, length > 0 ? scan.EventText(tag.mid(4, length)) : QString());
}

QString THTMLParser::GetAttribute(QStringView tag, QStringView name)
{
    return AttributeView(tag, name).toString();
}

QString THTMLParser::GetAttributeValue(QStringView attribute)
{
    return AttributeValueView(attribute).toString();
}

QString THTMLParser::ExtractQuoted(QStringView text, QChar ch)
{
    return ExtractQuotedView(text, ch).toString();
}
