#include "PageFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMutexLocker>
#include <QStandardPaths>
#include <QTemporaryDir>

TPageFolder::TPageFolder() = default;
TPageFolder::~TPageFolder() = default;

QUrl TPageFolder::Write(const QByteArray& bytes)
{
    QString path;
    {
        QMutexLocker lock(&mutex_);
        if (!dir_) {
            QString parent = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
            if (parent.isEmpty() || !QFileInfo(parent).isWritable()) parent = QDir::tempPath();
            // Made with mode 0700.
            auto dir = std::make_unique<QTemporaryDir>(parent + QStringLiteral("/vesk-pages-XXXXXX"));
            if (!dir->isValid()) return {};
            dir_ = std::move(dir);
        }
        path = dir_->filePath(QStringLiteral("page-%1.htm").arg(++pages_));
    }
    // A page is thrown away at the next render: written whole under another name and renamed,
    // so the engine never reads half a page, but not flushed to disk.
    const QString partial = path + QStringLiteral(".part");
    QFile file(partial);
    bool written = file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
    file.close();
    written = written && file.error() == QFileDevice::NoError && QFile::rename(partial, path);
    if (!written) {
        QFile::remove(partial);
        return {};
    }
    return QUrl::fromLocalFile(path);
}

void TPageFolder::Remove(const QUrl& page)
{
    if (!page.isLocalFile()) return;
    const QFileInfo info(page.toLocalFile());
    QMutexLocker lock(&mutex_);
    if (dir_ && info.absolutePath() == QDir(dir_->path()).absolutePath()) QFile::remove(info.absoluteFilePath());
}

QString TPageFolder::Path() const
{
    QMutexLocker lock(&mutex_);
    return dir_ ? dir_->path() : QString();
}
