#include "WrappedTextLayout.h"

#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>
#include <QtMath>

#include <algorithm>

TWrappedTextLayout::TWrappedTextLayout(QTextDocument* document) : QPlainTextDocumentLayout(document) {}

void TWrappedTextLayout::documentChanged(int from, int charsRemoved, int charsAdded) {
    QTextDocument* doc = document();
    const int blocks = doc->blockCount();
    const QTextBlock block = doc->findBlock(from);
    const bool inOneParagraph = blocks == blockCount_ && block.isValid() &&
                                block == doc->findBlock(std::max(0, from + charsRemoved + charsAdded - 1));
    const bool wrapped = doc->defaultTextOption().wrapMode() != QTextOption::NoWrap;
    QTextLayout* layout = block.isValid() ? block.layout() : nullptr;
    if (!wrapped || !inOneParagraph || !layout || layout->lineCount() == 0) {
        GiveLayoutObjects(from, charsAdded);
        QPlainTextDocumentLayout::documentChanged(from, charsRemoved, charsAdded);
        blockCount_ = blocks;
        return;
    }
    // A paragraph laid out before has the width the view gave the document; a new view width
    // clears every paragraph's lines, so it is current.
    const qreal width = layout->lineAt(0).width();
    const qreal oldHeight = blockBoundingRect(block).height();
    const int oldLines = doc->lineCount();
    LayOut(block, width);
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
        b.layout();
        if (b == last) break;
    }
}

void TWrappedTextLayout::LayOut(const QTextBlock& block, qreal width) {
    QTextLayout* layout = block.layout();
    layout->setTextOption(document()->defaultTextOption());
    const qreal margin = document()->documentMargin();
    qreal y = 0;
    layout->beginLayout();
    for (QTextLine line = layout->createLine(); line.isValid(); line = layout->createLine()) {
        line.setLeadingIncluded(true);
        line.setLineWidth(width);
        line.setPosition(QPointF(margin, y));
        y += line.height();
        if (line.leading() < 0) y += qCeil(line.leading());
    }
    layout->endLayout();
    const_cast<QTextBlock&>(block).setLineCount(block.isVisible() ? layout->lineCount() : 0);
}
