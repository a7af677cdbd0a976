#include "Shell.h"

#include "DialogScript.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QUrl>

namespace {
bool IsAddress(const QString& file)
{
    // Two letters at least, so that no path is taken for a scheme.
    static const QRegularExpression scheme(QStringLiteral("^[A-Za-z][A-Za-z0-9+.\\-]+://"));
    return scheme.match(file).hasMatch();
}
}  // namespace

int ShellExecute(const QString& file, const QStringList& parameters)
{
    if (IsAddress(file)) {
        if (TDialogScript* script = TDialogScript::Active()) {
            script->Record({QStringLiteral("ShellExecute"), {}, file, 0, SE_OK, {}});
            return SE_OK;
        }
        return QDesktopServices::openUrl(QUrl(file)) ? SE_OK : SE_ERR_NOASSOC;
    }
    const QFileInfo info(file);
    if (!info.exists()) return SE_ERR_FNF;
    if (!info.isFile() || !info.isExecutable()) return SE_ERR_ACCESSDENIED;
    // No working folder of its own: the program starts in the caller's.
    return QProcess::startDetached(info.absoluteFilePath(), parameters) ? SE_OK : SE_ERR_ACCESSDENIED;
}
