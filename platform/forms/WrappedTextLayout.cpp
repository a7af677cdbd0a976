#include "WrappedTextLayout.h"

#include <QFontMetricsF>
#include <QTextBlock>
#include <QTextBoundaryFinder>
#include <QTextDocument>
#include <QTextLayout>
#include <QTimer>
#include <QScopeGuard>
#include <QtMath>

#include <malloc.h>

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

// A long paragraph's layout keeps its shaped text between layouts: otherwise every paint and
// every cursor movement shapes the whole paragraph again.
QTextLayout* LayoutObject(const QTextBlock& block) {
    QTextLayout* layout = block.layout();
    if (block.length() > kLongParagraph) layout->setCacheEnabled(true);
    return layout;
}

// The text layout of a paragraph allocates some 36 bytes per character of it at once (its
// character attributes, clusters and glyphs), and frees them at every edit of the paragraph.
// The C library maps an allocation past 32 MB afresh each time, and the kernel hands every
// page of it over zero-filled on its first touch: a layout of a megabyte paragraph spent most
// of its time in those page faults. Kept in the heap, the freed buffer serves the next layout.
void KeepLayoutBuffersInTheHeap() {
    static std::once_flag once;
    std::call_once(once, [] {
        constexpr int kHeapLimit = 128 * 1024 * 1024;
        mallopt(M_MMAP_THRESHOLD, kHeapLimit);
        mallopt(M_TRIM_THRESHOLD, kHeapLimit);
    });
}

bool IsBreakableSpace(QChar c) { return c.isSpace() && c.decompositionTag() != QChar::NoBreak; }

// The runs without a break point at least minLength characters long, as [start, end) pairs in
// order: a line starting in one cannot end at a word boundary before the run's end.
std::vector<std::pair<int, int>> LongRuns(const QString& text, int minLength) {
    // A word ends where the line may break, or at a space a line may break at: the text
    // layout reads its break points from the same line-breaking rules.
    std::vector<std::pair<int, int>> runs;
    const int n = int(text.size());
    if (n < minLength) return runs;
    QTextBoundaryFinder finder(QTextBoundaryFinder::Line, text);
    qsizetype next = finder.toNextBoundary();
    int start = 0;
    for (int i = 1; i <= n; ++i) {
        while (next >= 0 && next < i) next = finder.toNextBoundary();
        if (i < n && i != next && !IsBreakableSpace(text.at(i))) continue;
        if (i - start >= minLength) runs.emplace_back(start, i);
        start = i;
    }
    return runs;
}

// Where the run holding position `from` ends, or -1 when no long run holds it.
int RunEnd(const std::vector<std::pair<int, int>>& runs, int from) {
    auto it = std::upper_bound(runs.begin(), runs.end(), from,
                               [](int position, const std::pair<int, int>& run) { return position < run.first; });
    if (it == runs.begin()) return -1;
    --it;
    return from < it->second ? it->second : -1;
}

}  // namespace

TWrappedTextLayout::TWrappedTextLayout(QTextDocument* document, QAbstractScrollArea* view)
    : QPlainTextDocumentLayout(document), view_(view) {
    KeepLayoutBuffersInTheHeap();
}

bool TWrappedTextLayout::Wrapped() const { return document()->defaultTextOption().wrapMode() != QTextOption::NoWrap; }

bool TWrappedTextLayout::OursToLayOut(const QTextBlock& block) const {
    if (block.length() <= kLongParagraph) return false;
    if (Wrapped()) return true;
    const QFontMetricsF metrics(block.charFormat().font());
    return block.length() * metrics.averageCharWidth() > kWidestUnwrapped;
}

qreal TWrappedTextLayout::LineWidth(const QTextBlock& block) const {
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

QRectF TWrappedTextLayout::blockBoundingRect(const QTextBlock& block) const {
    if (block.isValid() && LayoutObject(block)->lineCount() == 0 && OursToLayOut(block)) {
        auto* self = const_cast<TWrappedTextLayout*>(this);
        const int oldLines = document()->lineCount();
        self->LayOut(block);
        if (document()->lineCount() != oldLines) self->SizeChanged();
    }
    return QPlainTextDocumentLayout::blockBoundingRect(block);
}

void TWrappedTextLayout::SizeChanged() {
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

void TWrappedTextLayout::documentChanged(int from, int charsRemoved, int charsAdded) {
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
    const qreal oldHeight = laidOut ? blockBoundingRect(block).height() : -1;
    const int oldLines = doc->lineCount();
    LayOut(block);
    if (blockBoundingRect(block).height() == oldHeight) {
        emit updateBlock(block);
        return;
    }
    if (doc->lineCount() != oldLines) emit documentSizeChanged(documentSize());
    emit update(QRectF(0., -doc->documentMargin(), 1e9, 1e9));
}

void TWrappedTextLayout::GiveLayoutObjects(int from, int charsAdded) {
    QTextDocument* doc = document();
    const QTextBlock last = doc->findBlock(std::min(from + charsAdded, doc->characterCount() - 1));
    for (QTextBlock b = doc->findBlock(from); b.isValid(); b = b.next()) {
        LayoutObject(b);
        if (b == last) break;
    }
}

void TWrappedTextLayout::LayOut(const QTextBlock& block) {
    QTextLayout* layout = LayoutObject(block);
    QTextOption option = document()->defaultTextOption();
    if (option.wrapMode() == QTextOption::NoWrap) option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    const qreal width = LineWidth(block);
    const qreal margin = document()->documentMargin();
    // Only where a word wider than the line is broken anywhere does the text layout measure
    // the word again for every line it spans.
    std::vector<std::pair<int, int>> runs;
    if (option.wrapMode() == QTextOption::WrapAtWordBoundaryOrAnywhere && block.length() > kLongParagraph)
        runs = LongRuns(block.text(), kLongRun);
    QTextOption anywhere = option;
    anywhere.setWrapMode(QTextOption::WrapAnywhere);

    layout->setTextOption(option);
    qreal y = 0;
    layout->beginLayout();
    for (QTextLine line = layout->createLine(); line.isValid(); line = layout->createLine()) {
        line.setLeadingIncluded(true);
        const int from = line.textStart();
        const int runEnd = runs.empty() ? -1 : RunEnd(runs, from);
        if (runEnd - from >= kLongRun) {
            // Broken anywhere, the line ends where the run would be broken, unless the run
            // ends inside it: then it is laid out at word boundaries after all.
            layout->setTextOption(anywhere);
            line.setLineWidth(width);
            layout->setTextOption(option);
            if (from + line.textLength() >= runEnd) line.setLineWidth(width);
        } else {
            line.setLineWidth(width);
        }
        line.setPosition(QPointF(margin, y));
        y += line.height();
        if (line.leading() < 0) y += qCeil(line.leading());
    }
    layout->endLayout();
    const_cast<QTextBlock&>(block).setLineCount(block.isVisible() ? layout->lineCount() : 0);
}
