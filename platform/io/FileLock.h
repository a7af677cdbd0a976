#pragma once
// An inter-process lock over a file that several processes read, change and write back:
// flock on a lock file beside it. The kernel drops the lock when its holder exits or
// crashes, so a lock never goes stale.
#include <QString>

class TFileLock {
public:
    // Waits up to waitMs for the lock on lockPath (created when missing).
    explicit TFileLock(const QString& lockPath, int waitMs = 5000);
    ~TFileLock();
    TFileLock(const TFileLock&) = delete;
    TFileLock& operator=(const TFileLock&) = delete;

    bool Held() const { return fd_ >= 0; }
    // Why the lock is not held ("" when it is).
    const QString& Error() const { return error_; }

private:
    void Release();
    int fd_ = -1;
    QString error_;
};
