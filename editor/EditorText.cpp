#include "EditorText.h"

#include "SysUtils.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QUrl>

namespace editortext {

QString FileToOpen(const QStringList& arguments, const QString& currentDir) {
    QString path;
    if (arguments.size() == 1)
        path = arguments[0].trimmed();
    else if (arguments.size() == 2)
        path = arguments[0].trimmed() + QLatin1Char(' ') + arguments[1].trimmed();
    if (path.isEmpty()) return path;
    if (QDir::isRelativePath(path)) path = QDir(currentDir).absoluteFilePath(path);
    return QDir::cleanPath(path);
}

static bool HasScheme(const QString& text) {
    // Two letters at least, so a drive letter is never taken for a scheme.
    static const QRegularExpression scheme(QStringLiteral("^[A-Za-z][A-Za-z0-9+.\\-]+:"));
    return scheme.match(text).hasMatch();
}

QString BaseAddress(const QString& pathBarText) {
    QString base = HasScheme(pathBarText)
                       ? pathBarText
                       : QString::fromUtf8(QUrl::fromLocalFile(QDir(pathBarText).absolutePath())
                                               .toEncoded(QUrl::FullyEncoded));
    if (!base.endsWith(QLatin1Char('/'))) base += QLatin1Char('/');
    return base;
}

static QString EscapeAttribute(QString s) {
    return s.replace(QLatin1Char('&'), QLatin1String("&amp;"))
        .replace(QLatin1Char('"'), QLatin1String("&quot;"))
        .replace(QLatin1Char('<'), QLatin1String("&lt;"))
        .replace(QLatin1Char('>'), QLatin1String("&gt;"));
}

QString InsertBaseHref(const QString& text, const QString& pathBarText) {
    const qsizetype p = UpperCaseAscii(text).indexOf(QLatin1String("<HEAD>"));
    if (p < 0) return text;
    const QString tag =
        QStringLiteral("<BASE HREF=\"") + EscapeAttribute(BaseAddress(pathBarText)) + QStringLiteral("\">");
    QString result = text;
    result.insert(p + 6, tag);
    return result;
}

QString FolderOf(const QString& filePath) {
    return QDir::cleanPath(QFileInfo(filePath).absolutePath());
}

}  // namespace editortext
