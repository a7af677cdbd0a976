#include "FileLock.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QThread>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

TFileLock::TFileLock(const QString& lockPath, int waitMs)
{
    fd_ = ::open(QFile::encodeName(lockPath).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd_ < 0) {
        error_ = QString::fromLocal8Bit(std::strerror(errno));
        return;
    }
    const QDeadlineTimer deadline(waitMs);
    while (::flock(fd_, LOCK_EX | LOCK_NB) != 0) {
        if (errno != EWOULDBLOCK || deadline.hasExpired()) {
            error_ = errno == EWOULDBLOCK ? QStringLiteral("Another program keeps it locked.")
                                          : QString::fromLocal8Bit(std::strerror(errno));
            Release();
            return;
        }
        QThread::msleep(2);
    }
}

TFileLock::~TFileLock()
{
    Release();
}

void TFileLock::Release()
{
    if (fd_ >= 0) ::close(fd_);  // closing drops the lock
    fd_ = -1;
}
