#pragma once
// The memo's document layout. It lays out plain text exactly as the stock plain-text layout
// does, but an edit inside one paragraph of wrapped text lays out only that paragraph.
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
#include <QPlainTextDocumentLayout>

class TWrappedTextLayout : public QPlainTextDocumentLayout {
public:
    explicit TWrappedTextLayout(QTextDocument* document);

protected:
    void documentChanged(int from, int charsRemoved, int charsAdded) override;

private:
    // Gives the paragraphs an edit added their layout objects.
    void GiveLayoutObjects(int from, int charsAdded);
    // Lays out a paragraph's lines at the width its previous layout had.
    void LayOut(const QTextBlock& block, qreal width);

    int blockCount_ = -1;  // the paragraph count the last change left
};
