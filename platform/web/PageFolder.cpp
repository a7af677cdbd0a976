#include "PageFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMutexLocker>
#include <QSaveFile>
#include <QStandardPaths>
#include <QTemporaryDir>

TPageFolder::TPageFolder() = default;
TPageFolder::~TPageFolder() = default;

QUrl TPageFolder::Write(const QByteArray& bytes) {
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
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) return {};
    return QUrl::fromLocalFile(path);
}

void TPageFolder::Remove(const QUrl& page) {
    if (!page.isLocalFile()) return;
    const QFileInfo info(page.toLocalFile());
    QMutexLocker lock(&mutex_);
    if (dir_ && info.absolutePath() == QDir(dir_->path()).absolutePath()) QFile::remove(info.absoluteFilePath());
}

QString TPageFolder::Path() const {
    QMutexLocker lock(&mutex_);
    return dir_ ? dir_->path() : QString();
}
