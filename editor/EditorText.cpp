#include "EditorText.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStringEncoder>
#include <QUrl>
#include <algorithm>

namespace editortext {

QString FileToOpen(const QStringList& arguments, const QString& currentDir)
{
    QString path;
    if (arguments.size() == 1)
        path = arguments[0].trimmed();
    else if (arguments.size() == 2)
        path = arguments[0].trimmed() + QLatin1Char(' ') + arguments[1].trimmed();
    if (path.isEmpty()) return path;
    if (QDir::isRelativePath(path)) path = QDir(currentDir).absoluteFilePath(path);
    return QDir::cleanPath(path);
}

static bool HasScheme(const QString& text)
{
    // Two letters at least, so a drive letter is never taken for a scheme.
    static const QRegularExpression scheme(QStringLiteral("^[A-Za-z][A-Za-z0-9+.\\-]+:"));
    return scheme.match(text).hasMatch();
}

QString BaseAddress(const QString& pathBarText)
{
    QString base =
        HasScheme(pathBarText)
            ? pathBarText
            : QString::fromUtf8(QUrl::fromLocalFile(QDir(pathBarText).absolutePath()).toEncoded(QUrl::FullyEncoded));
    if (!base.endsWith(QLatin1Char('/'))) base += QLatin1Char('/');
    return base;
}

static QString EscapeAttribute(QString s)
{
    return s.replace(QLatin1Char('&'), QLatin1String("&amp;"))
        .replace(QLatin1Char('"'), QLatin1String("&quot;"))
        .replace(QLatin1Char('<'), QLatin1String("&lt;"))
        .replace(QLatin1Char('>'), QLatin1String("&gt;"));
}

QString BaseTag(const QString& pathBarText)
{
    return BaseTagOf(BaseAddress(pathBarText));
}

QString BaseTagOf(const QString& address)
{
    return QStringLiteral("<BASE HREF=\"") + EscapeAttribute(address) + QStringLiteral("\">");
}

qsizetype HeadTagEnd(const TSharedText& text)
{
    static constexpr char16_t kTag[] = u"<HEAD>";
    constexpr int kLength = 6;
    // The tag's only '<' is its first character, so a mismatch restarts at 0, or at 1 on a '<'.
    int matched = 0;
    qsizetype position = 0;
    for (const QString& piece : text.Pieces()) {
        for (const QChar c : piece) {
            ++position;
            char16_t u = c.unicode();
            if (u >= 'a' && u <= 'z') u -= 32;
            if (u == kTag[matched]) {
                if (++matched == kLength) return position;
            } else {
                matched = u == '<' ? 1 : 0;
            }
        }
    }
    return -1;
}

QString InsertBaseHref(const QString& text, const QString& pathBarText)
{
    const qsizetype end = HeadTagEnd(TSharedText(text));
    if (end < 0) return text;
    QString result = text;
    result.insert(end, BaseTag(pathBarText));
    return result;
}

QByteArray PreviewBytes(const TSharedText& text, const QString& baseTag)
{
    const qsizetype insertAt = baseTag.isEmpty() ? -1 : HeadTagEnd(text);
    QStringEncoder encoder(QStringEncoder::Utf8);
    QByteArray bytes;
    bytes.resize(3 + encoder.requiredSpace(text.Size() + (insertAt < 0 ? 0 : baseTag.size())));
    char* out = std::copy_n("\xEF\xBB\xBF", 3, bytes.data());
    qsizetype position = 0;
    for (const QString& piece : text.Pieces()) {
        const qsizetype at = insertAt - position;
        if (at >= 0 && at < piece.size()) {
            out = encoder.appendToBuffer(out, QStringView(piece).first(at));
            out = encoder.appendToBuffer(out, baseTag);
            out = encoder.appendToBuffer(out, QStringView(piece).sliced(at));
        } else {
            out = encoder.appendToBuffer(out, piece);
        }
        position += piece.size();
    }
    if (insertAt >= 0 && insertAt == position)
        out = encoder.appendToBuffer(out, baseTag);  // the text ends with the tag
    bytes.truncate(out - bytes.data());
    bytes.squeeze();
    return bytes;
}

QString FolderOf(const QString& filePath)
{
    return QDir::cleanPath(QFileInfo(filePath).absolutePath());
}

}  // namespace editortext
