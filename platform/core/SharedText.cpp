#include "SharedText.h"

#include <algorithm>

namespace {

// Pieces are cut at this length; a change copies at most a few of them.
constexpr qsizetype kPiece = 16 * 1024;

// Where to cut text near at, so that a surrogate pair stays whole.
qsizetype CutAt(const QString& text, qsizetype at)
{
    if (at > 0 && at < text.size() && text[at].isLowSurrogate() && text[at - 1].isHighSurrogate()) ++at;
    return at;
}

void AppendCut(QList<QString>& out, const QString& text)
{
    qsizetype from = 0;
    while (text.size() - from > 2 * kPiece) {
        const qsizetype to = CutAt(text, from + kPiece);
        out.append(text.sliced(from, to - from));
        from = to;
    }
    if (from < text.size()) out.append(from == 0 ? text : text.sliced(from));
}

}  // namespace

// A large text is cut as it comes in, not at its first change: that change is a keystroke,
// and cutting 20 MB there would stall it.
TSharedText::TSharedText(const QString& text) : size_(text.size())
{
    AppendCut(pieces_, text);
}

QString TSharedText::ToString() const
{
    if (pieces_.size() == 1) return pieces_.front();
    QString text;
    JoinInto(text);
    return text;
}

void TSharedText::JoinInto(QString& buffer) const
{
    buffer.resize(size_);
    QChar* out = buffer.data();
    for (const QString& piece : pieces_) out = std::copy(piece.cbegin(), piece.cend(), out);
}

void TSharedText::Replace(qsizetype position, qsizetype count, QStringView text)
{
    position = std::clamp<qsizetype>(position, 0, size_);
    count = std::clamp<qsizetype>(count, 0, size_ - position);
    if (count == 0 && text.isEmpty()) return;
    // The piece that holds position (or the last one, at the very end).
    qsizetype first = 0, firstStart = 0;
    while (first + 1 < pieces_.size() && firstStart + pieces_[first].size() <= position)
        firstStart += pieces_[first++].size();
    // The pieces up to the one holding the end of the replaced range.
    qsizetype last = first, lastStart = firstStart;
    while (last + 1 < pieces_.size() && lastStart + pieces_[last].size() < position + count)
        lastStart += pieces_[last++].size();
    QString merged;
    if (!pieces_.isEmpty()) {
        const QString& head = pieces_[first];
        const QString& tail = pieces_[last];
        const qsizetype tailFrom = position + count - lastStart;
        merged.reserve(position - firstStart + text.size() + tail.size() - tailFrom);
        merged.append(QStringView(head).first(position - firstStart));
        merged.append(text);
        merged.append(QStringView(tail).sliced(tailFrom));
    } else {
        merged = text.toString();
    }
    size_ += text.size() - count;
    // A short piece takes its neighbour in, so pieces do not crumble under many deletes.
    if (merged.size() < kPiece / 4 && last + 1 < pieces_.size()) merged += pieces_[++last];
    SetPieces(pieces_.isEmpty() ? 0 : first, pieces_.isEmpty() ? -1 : last, merged);
}

void TSharedText::SetPieces(qsizetype first, qsizetype last, const QString& merged)
{
    QList<QString> cut;
    AppendCut(cut, merged);
    if (last >= first) pieces_.remove(first, last - first + 1);
    for (qsizetype i = 0; i < cut.size(); ++i) pieces_.insert(first + i, cut[i]);
}
