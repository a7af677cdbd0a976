#include "WrappedTextLayout.h"

#include "ExceptionBarrier.h"

#include <QFontMetricsF>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextBoundaryFinder>
#include <QTextDocument>
#include <QTextLayout>
#include <QTimer>
#include <QScopeGuard>
#include <QtMath>

#include <malloc.h>

#if VESK_TEXT_ENGINE_LINES
// Only for the list of laid-out lines the text layout's engine keeps: see TKeptLines.
#include <private/qtextengine_p.h>
#endif

#include <algorithm>
#include <climits>
#include <mutex>
#include <utility>
#include <vector>

namespace {

// Shorter paragraphs are laid out the stock way: measuring a word again for every line it
// spans costs nothing worth saving below this length.
constexpr int kLongParagraph = 2048;
// A line starting this far or further from the next break point is first laid out breaking
// anywhere: a run this long rarely fits a line.
constexpr int kLongRun = 256;
// The text layout's coordinates overflow somewhere past 30 million pixels; an unwrapped
// paragraph whose width may come near that is wrapped at the view's width instead.
constexpr qreal kWidestUnwrapped = 12e6;
// A longer paragraph is laid out from its start as far as the view shows it and has its cursor
// at once, and the rest of it a slice at a time once edits pause: all of a megabyte of text
// costs the text layout a tenth of a second and more, at each edit.
constexpr int kLazyParagraph = 256 * 1024;
constexpr int kRestDelayMs = 200;
constexpr int kRestSliceMs = 8;

// A long paragraph's layout keeps its shaped text between layouts: otherwise every paint and
// every cursor movement shapes the whole paragraph again.
QTextLayout* LayoutObject(const QTextBlock& block)
{
    QTextLayout* layout = block.layout();
    if (block.length() > kLongParagraph) layout->setCacheEnabled(true);
    return layout;
}

// The text layout of a paragraph allocates some 36 bytes per character of it at once (its
// character attributes, clusters and glyphs), and frees them at every edit of the paragraph.
// The C library maps an allocation past 32 MB afresh each time, and the kernel hands every
// page of it over zero-filled on its first touch: a layout of a megabyte paragraph spent most
// of its time in those page faults. Kept in the heap, the freed buffer serves the next layout.
void KeepLayoutBuffersInTheHeap()
{
    static std::once_flag once;
    std::call_once(once, [] {
        constexpr int kHeapLimit = 128 * 1024 * 1024;
        mallopt(M_MMAP_THRESHOLD, kHeapLimit);
        mallopt(M_TRIM_THRESHOLD, kHeapLimit);
    });
}

bool IsBreakableSpace(QChar c)
{
    return c.isSpace() && c.decompositionTag() != QChar::NoBreak;
}

bool IsAsciiLetterOrDigit(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= u'0' && u <= u'9') || (u >= u'A' && u <= u'Z') || (u >= u'a' && u <= u'z');
}

// A text with its long stretches of ASCII letters and digits cut short. No line may break
// between two of them, and the line-breaking rules at a stretch's ends read only the
// characters near them; so the text's break points are the cut text's, the cut stretches
// keeping their ends. An inline image's data is such a stretch: the boundary finder, which
// reads the whole text it is given first, reads a few characters of it.
class TCutText {
public:
    TCutText(const QString& text, int keep)
    {
        const int n = int(text.size());
        int copied = 0;
        for (int i = 0; i < n;) {
            if (!IsAsciiLetterOrDigit(text.at(i))) {
                ++i;
                continue;
            }
            int j = i + 1;
            while (j < n && IsAsciiLetterOrDigit(text.at(j))) ++j;
            if (j - i > 2 * keep) {
                text_.append(QStringView(text).mid(copied, i + keep - copied));
                cuts_.emplace_back(int(text_.size()), j - keep);
                copied = j - keep;
            }
            i = j;
        }
        if (cuts_.empty())
            text_ = text;
        else
            text_.append(QStringView(text).mid(copied));
    }
    const QString& Text() const { return text_; }
    // Where a position of the cut text is in the whole one.
    int Whole(int position) const
    {
        auto it = std::upper_bound(cuts_.begin(), cuts_.end(), position,
                                   [](int p, const std::pair<int, int>& cut) { return p < cut.first; });
        if (it == cuts_.begin()) return position;
        --it;
        return it->second + position - it->first;
    }

private:
    QString text_;
    std::vector<std::pair<int, int>> cuts_;  // from this position of the cut text, this of the whole
};

// The runs without a break point at least minLength characters long, as [start, end) pairs in
// order: a line starting in one cannot end at a word boundary before the run's end.
std::vector<std::pair<int, int>> LongRuns(const QString& whole, int minLength)
{
    // A word ends where the line may break, or at a space a line may break at: the text
    // layout reads its break points from the same line-breaking rules.
    std::vector<std::pair<int, int>> runs;
    if (whole.size() < minLength) return runs;
    const TCutText cut(whole, 16);
    const QString& text = cut.Text();
    const int n = int(text.size());
    QTextBoundaryFinder finder(QTextBoundaryFinder::Line, text);
    qsizetype next = finder.toNextBoundary();
    int start = 0;
    for (int i = 1; i <= n; ++i) {
        while (next >= 0 && next < i) next = finder.toNextBoundary();
        if (i < n && i != next && !IsBreakableSpace(text.at(i))) continue;
        const int from = cut.Whole(start), to = cut.Whole(i);
        if (to - from >= minLength) runs.emplace_back(from, to);
        start = i;
    }
    return runs;
}

// Where the run holding position `from` ends, or -1 when no long run holds it.
int RunEnd(const std::vector<std::pair<int, int>>& runs, int from)
{
    auto it = std::upper_bound(runs.begin(), runs.end(), from,
                               [](int position, const std::pair<int, int>& run) { return position < run.first; });
    if (it == runs.begin()) return -1;
    --it;
    return from < it->second ? it->second : -1;
}

// Where the first long run starting after position `from` starts, or -1.
int NextRunStart(const std::vector<std::pair<int, int>>& runs, int from)
{
    auto it = std::upper_bound(runs.begin(), runs.end(), from,
                               [](int position, const std::pair<int, int>& run) { return position < run.first; });
    return it == runs.end() ? -1 : it->first;
}

// The lines of a paragraph's layout that an edit further on leaves as they were.
//
// The text layout adds lines only at the end of those it has, and an edit of its paragraph
// makes it begin again from the paragraph's start: laying out a megabyte from its start to the
// cursor cost a key tens of milliseconds. Its engine keeps the lines it laid out in a list, which
// an edit of the text does not clear; those wholly before the edit are copied from it before the
// layout begins again and handed back after, so that only lines from the edit on are laid out.
// The list is the text layout's private state, so this is done only when the program runs with
// the Qt release it was built against, and not at all where Qt's private headers are missing.
class TKeptLines {
public:
    static bool Possible()
    {
#if VESK_TEXT_ENGINE_LINES
        static const bool sameRelease = qstrcmp(qVersion(), QT_VERSION_STR) == 0;
        return sameRelease;
#else
        return false;
#endif
    }
    // The first `count` lines of the layout.
    TKeptLines(QTextLayout* layout, int count)
    {
#if VESK_TEXT_ENGINE_LINES
        if (count > 0 && Possible())
            lines_ = layout->engine()->lines.first(std::min<qsizetype>(count, layout->lineCount()));
#else
        Q_UNUSED(layout);
        Q_UNUSED(count);
#endif
    }
    // Hands the lines back to the layout, which has just begun; how many it now has.
    int GiveBack(QTextLayout* layout) const
    {
#if VESK_TEXT_ENGINE_LINES
        if (!lines_.isEmpty() && layout->lineCount() == 0) layout->engine()->lines = lines_;
#endif
        return layout->lineCount();
    }

private:
#if VESK_TEXT_ENGINE_LINES
    QList<QScriptLine> lines_;
#endif
};

// How many lines an edit at `position` of the paragraph leaves as they were. A line ends where
// it ends for the text from its start to the end of the word that reaches past it; when that
// word is longer than a line, whether it fits the line's rest does not change with the word's
// length either. So the lines that end before the line before the edited one are kept.
int LinesBeforeEdit(const QTextLayout* layout, int position)
{
    // The first line that ends past the position, found by halves.
    int low = 0, high = layout->lineCount();
    while (low < high) {
        const int mid = low + (high - low) / 2;
        const QTextLine line = layout->lineAt(mid);
        if (line.textStart() + line.textLength() > position)
            high = mid;
        else
            low = mid + 1;
    }
    return std::max(0, low - 2);
}

bool AllSpaces(const QString& text, int from, int to)
{
    for (int i = from; i < to; ++i)
        if (!text.at(i).isSpace()) return false;
    return true;
}

}  // namespace

// A long paragraph whose lines are laid out from its start as far as they were needed, and
// everything its layout needs to go on.
struct TWrappedTextLayout::TPartial {
    QTextBlock block;
    QTextLayout* layout = nullptr;
    int revision = 0;
    int length = 0;
    int lines = 0;     // laid out so far
    int laidEnd = 0;   // where the last of them ends
    int estimate = 0;  // the lines the paragraph is taken to have until all are laid out
    qreal y = 0;
    qreal width = 0;
    qreal margin = 0;
    QTextOption option;
    QTextOption anywhere;
    QString text;  // the paragraph's, where it has long runs
    std::vector<std::pair<int, int>> runs;

    // Whether the paragraph's text and lines are still those this was made for.
    bool Current() const
    {
        return block.isValid() && block.layout() == layout && block.revision() == revision &&
               block.length() == length && layout->lineCount() == lines;
    }
};

TWrappedTextLayout::TWrappedTextLayout(QTextDocument* document, QAbstractScrollArea* view)
    : QPlainTextDocumentLayout(document), view_(view)
{
    KeepLayoutBuffersInTheHeap();
    rest_.setSingleShot(true);
    connect(&rest_, &QTimer::timeout, this, Guarded([this] { LayOutTheRest(); }));
}

bool TWrappedTextLayout::Wrapped() const
{
    return document()->defaultTextOption().wrapMode() != QTextOption::NoWrap;
}

bool TWrappedTextLayout::OursToLayOut(const QTextBlock& block) const
{
    if (block.length() <= kLongParagraph) return false;
    if (Wrapped()) return true;
    const QFontMetricsF metrics(block.charFormat().font());
    return block.length() * metrics.averageCharWidth() > kWidestUnwrapped;
}

qreal TWrappedTextLayout::LineWidth(const QTextBlock& block) const
{
    // A paragraph laid out before has the width the view gave the document (a new view width
    // clears every paragraph's lines); the view gives the document its viewport's width.
    QTextLayout* layout = block.layout();
    if (layout->lineCount() > 0) return layout->lineAt(0).width();
    const int viewWidth = view_ ? view_->viewport()->width() : 0;
    qreal width = viewWidth > 0 ? qreal(viewWidth) : qreal(INT_MAX);
    width -= 2 * document()->documentMargin();
    if (document()->defaultTextOption().flags() & QTextOption::AddSpaceForLineAndParagraphSeparators)
        width -= QFontMetricsF(block.charFormat().font()).horizontalAdvance(QChar(0x21B5));
    return width;
}

QRectF TWrappedTextLayout::blockBoundingRect(const QTextBlock& block) const
{
    auto* self = const_cast<TWrappedTextLayout*>(this);
    if (partial_ && block.isValid() && block == partial_->block && partial_->Current()) {
        self->LayOutWhatTheViewShows();
    } else if (block.isValid() && LayoutObject(block)->lineCount() == 0 && OursToLayOut(block)) {
        const int oldLines = document()->lineCount();
        self->LayOut(block);
        if (document()->lineCount() != oldLines) self->SizeChanged();
    }
    return QPlainTextDocumentLayout::blockBoundingRect(block);
}

void TWrappedTextLayout::SizeChanged()
{
    // The view sets its scroll range at once, as the stock layout has it do, so that a cursor
    // placed in the paragraph can be scrolled to. Asked again while it does, it hears after.
    if (inSizeChange_) {
        if (sizeChangePosted_) return;
        sizeChangePosted_ = true;
        QTimer::singleShot(0, this, [this] {
            sizeChangePosted_ = false;
            emit documentSizeChanged(documentSize());
        });
        return;
    }
    inSizeChange_ = true;
    const auto done = qScopeGuard([this] { inSizeChange_ = false; });
    emit documentSizeChanged(documentSize());
}

void TWrappedTextLayout::documentChanged(int from, int charsRemoved, int charsAdded)
{
    QTextDocument* doc = document();
    const int blocks = doc->blockCount();
    const QTextBlock block = doc->findBlock(from);
    const bool inOneParagraph = blocks == blockCount_ && block.isValid() &&
                                block == doc->findBlock(std::max(0, from + charsRemoved + charsAdded - 1));
    QTextLayout* layout = inOneParagraph ? LayoutObject(block) : nullptr;
    const bool laidOut = layout && layout->lineCount() > 0;
    // Unwrapped text keeps the stock layout's widest line for the horizontal scroll bar.
    const bool ours = layout && (OursToLayOut(block) || (Wrapped() && laidOut));
    if (!ours) {
        GiveLayoutObjects(from, charsAdded);
        QPlainTextDocumentLayout::documentChanged(from, charsRemoved, charsAdded);
        blockCount_ = blocks;
        return;
    }
    // The heights as laid out, without laying out more of a long paragraph's old lines.
    const qreal oldHeight = laidOut ? QPlainTextDocumentLayout::blockBoundingRect(block).height() : -1;
    const int oldLines = doc->lineCount();
    LayOut(block, laidOut ? LinesBeforeEdit(layout, from - block.position()) : 0);
    if (QPlainTextDocumentLayout::blockBoundingRect(block).height() == oldHeight) {
        emit updateBlock(block);
        return;
    }
    if (doc->lineCount() != oldLines) emit documentSizeChanged(documentSize());
    emit update(QRectF(0., -doc->documentMargin(), 1e9, 1e9));
}

void TWrappedTextLayout::GiveLayoutObjects(int from, int charsAdded)
{
    QTextDocument* doc = document();
    const QTextBlock last = doc->findBlock(std::min(from + charsAdded, doc->characterCount() - 1));
    for (QTextBlock b = doc->findBlock(from); b.isValid(); b = b.next()) {
        LayoutObject(b);
        if (b == last) break;
    }
}

TWrappedTextLayout::~TWrappedTextLayout() = default;

void TWrappedTextLayout::LayOut(const QTextBlock& block, int keepLines)
{
    // One paragraph at a time is laid out partly: another one's lines are completed first (the
    // caller tells the view of the changed line count).
    if (partial_ && partial_->block != block && partial_->Current()) {
        partial_->layout->isValidCursorPosition(0);
        AddLines(*partial_, INT_MAX, INT_MAX, QDeadlineTimer(QDeadlineTimer::Forever));
    }
    partial_.reset();
    rest_.stop();
    auto p = std::make_unique<TPartial>();
    p->block = block;
    p->layout = LayoutObject(block);
    p->revision = block.revision();
    p->length = block.length();
    p->option = document()->defaultTextOption();
    if (p->option.wrapMode() == QTextOption::NoWrap) p->option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    p->width = LineWidth(block);
    p->margin = document()->documentMargin();
    // Only where a word wider than the line is broken anywhere does the text layout measure
    // the word again for every line it spans.
    if (p->option.wrapMode() == QTextOption::WrapAtWordBoundaryOrAnywhere && block.length() > kLongParagraph) {
        p->text = block.text();
        p->runs = LongRuns(p->text, kLongRun);
    }
    p->anywhere = p->option;
    p->anywhere.setWrapMode(QTextOption::WrapAnywhere);

    p->layout->setTextOption(p->option);
    const TKeptLines kept(p->layout, keepLines);
    p->layout->beginLayout();
    p->lines = kept.GiveBack(p->layout);
    if (p->lines > 0) {
        const QTextLine last = p->layout->lineAt(p->lines - 1);
        p->laidEnd = last.textStart() + last.textLength();
        p->y = last.y() + last.height();
        if (last.leading() < 0) p->y += qCeil(last.leading());
    }
    if (block.length() <= kLazyParagraph || !block.isVisible() || !view_) {
        AddLines(*p, INT_MAX, INT_MAX, QDeadlineTimer(QDeadlineTimer::Forever));
        return;
    }
    partial_ = std::move(p);
    LayOutWhatTheViewShows();
    if (!partial_) return;
    // The paragraph is taken to have as many characters a line further on as so far.
    TPartial& rest = *partial_;
    const qint64 remaining = qint64(rest.length - 1 - rest.laidEnd);
    rest.estimate = rest.lines + int((remaining * rest.lines + rest.laidEnd - 1) / std::max(1, rest.laidEnd));
    const_cast<QTextBlock&>(block).setLineCount(std::max(rest.lines, rest.estimate));
    rest_.start(kRestDelayMs);
}

bool TWrappedTextLayout::AddLines(TPartial& p, int untilPosition, int untilLine, QDeadlineTimer deadline)
{
    while (p.laidEnd <= untilPosition || p.lines <= untilLine) {
        if (deadline.hasExpired()) return false;
        QTextLine line = p.layout->createLine();
        if (!line.isValid()) {
            p.layout->endLayout();
            p.block.setLineCount(p.block.isVisible() ? p.layout->lineCount() : 0);
            return true;
        }
        line.setLeadingIncluded(true);
        const int from = line.textStart();
        const int runEnd = p.runs.empty() ? -1 : RunEnd(p.runs, from);
        const int runStart = runEnd < 0 && !p.runs.empty() ? NextRunStart(p.runs, from) : -1;
        if (runEnd - from >= kLongRun) {
            // Broken anywhere, the line ends where the run would be broken, unless the run
            // ends inside it: then it is laid out at word boundaries after all.
            p.layout->setTextOption(p.anywhere);
            line.setLineWidth(p.width);
            p.layout->setTextOption(p.option);
            if (from + line.textLength() >= runEnd) line.setLineWidth(p.width);
        } else if (runStart > from) {
            // A line before a long run: at word boundaries the text layout would measure all of
            // the run to find that it does not fit. When the line broken anywhere reaches into
            // the run, everything before the run fits and the run does not: the line ends where
            // the run starts, unless it holds nothing but spaces before it.
            p.layout->setTextOption(p.anywhere);
            line.setLineWidth(p.width);
            const bool endsAtRun = from + line.textLength() > runStart && !AllSpaces(p.text, from, runStart);
            if (endsAtRun) line.setNumColumns(runStart - from, p.width);
            p.layout->setTextOption(p.option);
            if (!endsAtRun || from + line.textLength() != runStart) line.setLineWidth(p.width);
        } else {
            line.setLineWidth(p.width);
        }
        line.setPosition(QPointF(p.margin, p.y));
        p.y += line.height();
        if (line.leading() < 0) p.y += qCeil(line.leading());
        ++p.lines;
        p.laidEnd = from + line.textLength();
    }
    return false;
}

bool TWrappedTextLayout::AddPartialLines(int untilPosition, int untilLine, QDeadlineTimer deadline)
{
    if (!partial_ || !partial_->Current()) return false;
    // The text layout lets go of its shaped text when the paragraph's text changes; this takes
    // it up again from the paragraph if ever anything else made it let go.
    partial_->layout->isValidCursorPosition(0);
    const int oldLines = document()->lineCount();
    if (AddLines(*partial_, untilPosition, untilLine, deadline)) {
        partial_.reset();
        rest_.stop();
        if (document()->lineCount() != oldLines) SizeChanged();
    }
    return true;
}

void TWrappedTextLayout::LayOutWhatTheViewShows()
{
    // The view shows lines from the one its scroll bar is at, and moves to its cursor: the
    // lines are laid out to both, and a few screens further for the next page and scroll.
    if (!partial_ || !view_) return;
    const QTextBlock& block = partial_->block;
    const int lineHeight = std::max(1, QFontMetrics(block.charFormat().font()).lineSpacing());
    const int screen = view_->viewport()->height() / lineHeight + 1;
    const int top = std::max(0, view_->verticalScrollBar()->value() - block.firstLineNumber());
    int untilPosition = 0;
    if (const auto* edit = qobject_cast<const QPlainTextEdit*>(view_.data())) {
        const int cursor = edit->textCursor().position() - block.position();
        if (cursor >= 0 && cursor < block.length()) untilPosition = cursor;
    }
    if (!AddPartialLines(untilPosition, 0, QDeadlineTimer(QDeadlineTimer::Forever)) || !partial_) return;
    AddPartialLines(0, std::max(top, partial_->lines) + 3 * screen, QDeadlineTimer(QDeadlineTimer::Forever));
}

void TWrappedTextLayout::LayOutTheRest()
{
    // A slice at a time, so that the view answers keys and the mouse meanwhile.
    if (!AddPartialLines(INT_MAX, INT_MAX, QDeadlineTimer(kRestSliceMs))) partial_.reset();
    if (partial_) rest_.start(0);
}
