#pragma once
// Text kept as a list of shared pieces. A copy shares every piece, so copying costs no
// characters and a copy can be handed to another thread while the original goes on
// changing: a change replaces the pieces it touches and leaves the others shared.
#include <QList>
#include <QString>
#include <QStringView>

class TSharedText {
public:
    TSharedText() = default;
    // The text as pieces; a short text is shared with text as it is.
    explicit TSharedText(const QString& text);

    qsizetype Size() const { return size_; }
    bool IsEmpty() const { return size_ == 0; }
    // The pieces in order; none is empty.
    const QList<QString>& Pieces() const { return pieces_; }
    // The whole text in one string.
    QString ToString() const;
    // The whole text into buffer, reusing its memory when it is not shared.
    void JoinInto(QString& buffer) const;

    // Replaces count characters at position with text (both clamped to the text). A surrogate
    // pair is never split between two pieces.
    void Replace(qsizetype position, qsizetype count, QStringView text);

private:
    void SetPieces(qsizetype first, qsizetype last, const QString& merged);

    QList<QString> pieces_;
    qsizetype size_ = 0;
};
