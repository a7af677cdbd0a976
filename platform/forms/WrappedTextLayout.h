#pragma once
// The memo's document layout. It lays out plain text exactly as the stock plain-text layout
// does, but an edit inside one paragraph of wrapped text lays out only that paragraph, and a
// paragraph holding a long run without a break point costs time in proportion to its length.
//
// The stock layout keeps the width of the widest line, which only the horizontal scroll bar
// of unwrapped text needs, and whenever the paragraph holding that line gets narrower (a word
// of the paragraph being typed wraps to the next line) it visits every paragraph of the
// document to find the next widest. In a large document that visit costs a keystroke
// milliseconds, or tens of them the first time. Wrapped text has no horizontal scroll bar, so
// the visit is skipped there; unwrapped text and edits across paragraphs take the stock path.
//
// The visit also gives every paragraph without one a layout object, which made the first visit
// cost tens of milliseconds at 20 MB. So paragraphs get their layout objects as the text comes
// in (a resize of the view creates them all anyway), and the visits the stock path still makes
// cost about a millisecond.
//
// Wrapping at word boundaries, a line that starts with a word wider than the line is broken
// where the line is full. To find that out the text layout measures the whole word, for every
// line the word spans: a run of a megabyte without a break point (an inline image's data) took
// minutes. Lines that start inside such a run are laid out breaking anywhere, which gives the
// same line whenever the run reaches past it, and laid out again at word boundaries when it
// does not; paragraphs without such runs are laid out as before. A line that starts before
// such a run and reaches into it when broken anywhere ends where the run starts, which is
// where the text layout would end it after measuring all of the run.
//
// Even so, a paragraph of a megabyte takes the text layout a tenth of a second and more to lay
// out whole, and each edit of it lays it out again. A paragraph longer than 256K characters
// is laid out from its start only as far as the view shows it and has its cursor (and a few
// screens more), with a line count estimated from the lines so far; the rest is laid out a
// slice at a time once edits pause. Whatever asks the layout for the paragraph's rectangle
// (the view's painting, scrolling and cursor placement all do first) gets the lines the view
// needs laid out then. The text layout's lines are only ever added at the end, so the lines
// before the view's are laid out too.
//
// Unwrapped, a paragraph is one line, and the text layout's coordinates overflow on a line of
// some megabytes (its width comes out negative, the scroll bar cannot reach the text). Such a
// paragraph is wrapped at the view's width even when wrapping is off.
#include <QPlainTextDocumentLayout>
#include <QAbstractScrollArea>
#include <QDeadlineTimer>
#include <QPointer>
#include <QTimer>

#include <memory>

class TWrappedTextLayout : public QPlainTextDocumentLayout {
public:
    // The view's viewport gives the width of a paragraph laid out for the first time.
    TWrappedTextLayout(QTextDocument* document, QAbstractScrollArea* view);
    ~TWrappedTextLayout() override;

    // Lays out a long paragraph that has no lines yet before the stock layout would.
    QRectF blockBoundingRect(const QTextBlock& block) const override;

protected:
    void documentChanged(int from, int charsRemoved, int charsAdded) override;

private:
    // Whether this layout lays the paragraph out rather than the stock one.
    bool OursToLayOut(const QTextBlock& block) const;
    // Gives the paragraphs an edit added their layout objects.
    void GiveLayoutObjects(int from, int charsAdded);
    struct TPartial;
    // Lays out a paragraph's lines, wrapped, at the width the view gives the document; a very
    // long one only as far as the view needs, the rest later. The first keepLines lines of its
    // layout stay as they are, where the text layout can be given them back.
    void LayOut(const QTextBlock& block, int keepLines = 0);
    // Lays out lines until one ends past untilPosition and untilLine is laid out, the paragraph
    // ends (true), or the deadline passes.
    bool AddLines(TPartial& partial, int untilPosition, int untilLine, QDeadlineTimer deadline);
    // The same for the partly laid-out paragraph, if its text and lines are still as they were
    // left (else false).
    bool AddPartialLines(int untilPosition, int untilLine, QDeadlineTimer deadline);
    void LayOutWhatTheViewShows();
    void LayOutTheRest();
    // The width the stock layout gives every line of the paragraph.
    qreal LineWidth(const QTextBlock& block) const;
    bool Wrapped() const;
    // Tells the view of a changed line count.
    void SizeChanged();

    QPointer<QAbstractScrollArea> view_;
    int blockCount_ = -1;  // the paragraph count the last change left
    bool inSizeChange_ = false;
    bool sizeChangePosted_ = false;
    std::unique_ptr<TPartial> partial_;  // the paragraph laid out partly, if one is
    QTimer rest_;                        // lays out the rest of it
};
