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
// does not; paragraphs without such runs are laid out as before.
//
// Unwrapped, a paragraph is one line, and the text layout's coordinates overflow on a line of
// some megabytes (its width comes out negative, the scroll bar cannot reach the text). Such a
// paragraph is wrapped at the view's width even when wrapping is off.
#include <QPlainTextDocumentLayout>
#include <QAbstractScrollArea>
#include <QPointer>

class TWrappedTextLayout : public QPlainTextDocumentLayout {
public:
    // The view's viewport gives the width of a paragraph laid out for the first time.
    TWrappedTextLayout(QTextDocument* document, QAbstractScrollArea* view);

    // Lays out a long paragraph that has no lines yet before the stock layout would.
    QRectF blockBoundingRect(const QTextBlock& block) const override;

protected:
    void documentChanged(int from, int charsRemoved, int charsAdded) override;

private:
    // Whether this layout lays the paragraph out rather than the stock one.
    bool OursToLayOut(const QTextBlock& block) const;
    // Gives the paragraphs an edit added their layout objects.
    void GiveLayoutObjects(int from, int charsAdded);
    // Lays out a paragraph's lines, wrapped, at the width the view gives the document.
    void LayOut(const QTextBlock& block);
    // The width the stock layout gives every line of the paragraph.
    qreal LineWidth(const QTextBlock& block) const;
    bool Wrapped() const;
    // Tells the view of a changed line count.
    void SizeChanged();

    QPointer<QAbstractScrollArea> view_;
    int blockCount_ = -1;  // the paragraph count the last change left
    bool inSizeChange_ = false;
    bool sizeChangePosted_ = false;
};
