#include "DurableFile.h"

#include <QFile>
#include <QRandomGenerator>

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::atomic<const TDurableWriteFault*> gFault{nullptr};

constexpr char kTemporaryMark[] = ".vesk-save-";
constexpr int kTemporaryRandomChars = 6;

QString Reason(int error) { return QString::fromLocal8Bit(std::strerror(error)); }

// Runs one step's system call, unless a test made that step fail.
template <class Call>
auto Checked(TDurableStep step, Call call) -> decltype(call()) {
    const TDurableWriteFault* fault = gFault.load(std::memory_order_acquire);
    if (!fault || fault->step != step) return call();
    if (step == TDurableStep::Close) call();
    errno = fault->error;
    return -1;
}

bool SameFile(const struct stat& a, const struct stat& b) { return a.st_dev == b.st_dev && a.st_ino == b.st_ino; }

// The file a write replaces, split into its folder and name.
struct TTarget {
    QByteArray path, folder, name;

    explicit TTarget(const QString& given) : path(QFile::encodeName(given)) {
        // The final target of a link; a file that does not exist yet keeps the given path.
        char resolved[PATH_MAX];
        if (::realpath(path.constData(), resolved)) path = resolved;
        const qsizetype slash = path.lastIndexOf('/');
        folder = slash < 0 ? QByteArray(".") : slash == 0 ? QByteArray("/") : path.left(slash);
        name = path.mid(slash + 1);
    }
    QByteArray TemporaryPrefix() const { return '.' + name + kTemporaryMark; }
};

bool IsTemporaryName(const char* entry, const QByteArray& prefix) {
    const qsizetype length = qsizetype(std::strlen(entry));
    if (length != prefix.size() + kTemporaryRandomChars || std::memcmp(entry, prefix.constData(), prefix.size()) != 0)
        return false;
    for (const char* p = entry + prefix.size(); *p; ++p)
        if (!((*p >= 'a' && *p <= 'z') || (*p >= 'A' && *p <= 'Z') || (*p >= '0' && *p <= '9'))) return false;
    return true;
}

// Removes the temporaries of target that earlier writes left behind: those whose lock no
// running write holds.
void RemoveStaleTemporaries(const TTarget& target) {
    DIR* dir = ::opendir(target.folder.constData());
    if (!dir) return;
    const int dirFd = ::dirfd(dir);
    const QByteArray prefix = target.TemporaryPrefix();
    while (const dirent* entry = ::readdir(dir)) {
        if (!IsTemporaryName(entry->d_name, prefix)) continue;
        const int fd = ::openat(dirFd, entry->d_name, O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY);
        if (fd < 0) continue;
        struct stat opened {}, named {};
        // The name must still be the file locked: a new write may have taken it meanwhile.
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0 && ::fstat(fd, &opened) == 0 && S_ISREG(opened.st_mode) &&
            ::fstatat(dirFd, entry->d_name, &named, AT_SYMLINK_NOFOLLOW) == 0 && SameFile(opened, named))
            ::unlinkat(dirFd, entry->d_name, 0);
        ::close(fd);
    }
    ::closedir(dir);
}

QByteArray RandomChars() {
    static constexpr char kChars[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    QByteArray chars(kTemporaryRandomChars, Qt::Uninitialized);
    for (char& c : chars) c = kChars[QRandomGenerator::global()->bounded(int(sizeof kChars - 1))];
    return chars;
}

// The temporary file of one write. Until it is renamed, leaving the scope removes it.
class TTemporary {
public:
    ~TTemporary() {
        if (fd_ >= 0) ::close(fd_);
        if (!renamed_ && !path_.isEmpty()) ::unlink(path_.constData());
        if (lockFd_ >= 0) ::close(lockFd_);  // the lock lasts until the name is gone
    }

    // Creates the temporary beside target and takes its lock; false with errno set.
    bool Create(const TTarget& target, mode_t mode) {
        for (int attempt = 0; attempt < 100; ++attempt) {
            const QByteArray path = target.folder + '/' + target.TemporaryPrefix() + RandomChars();
            const int fd = Checked(TDurableStep::Create, [&] {
                return ::open(path.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
            });
            if (fd < 0) {
                if (errno == EEXIST) continue;
                return false;
            }
            // The lock is held through a second descriptor of the same open file, so that
            // it outlives the checked close of the first. A file system without locks
            // leaves it unlocked.
            const int lockFd = ::fcntl(fd, F_DUPFD_CLOEXEC, 0);
            if (lockFd < 0) {
                const int error = errno;
                ::close(fd);
                ::unlink(path.constData());
                errno = error;
                return false;
            }
            if (::flock(lockFd, LOCK_EX) != 0) {
                // Unlocked.
            }
            struct stat opened {}, named {};
            if (::fstat(fd, &opened) == 0 && ::stat(path.constData(), &named) == 0 && SameFile(opened, named)) {
                fd_ = fd;
                lockFd_ = lockFd;
                path_ = path;
                return true;
            }
            // Another write removed it as stale before it was locked: the name is not ours
            // to remove any more.
            ::close(fd);
            ::close(lockFd);
        }
        errno = EEXIST;
        return false;
    }

    int Fd() const { return fd_; }
    const QByteArray& Path() const { return path_; }

    int Close() {
        const int result = Checked(TDurableStep::Close, [&] { return ::close(fd_); });
        fd_ = -1;
        return result;
    }
    void Renamed() { renamed_ = true; }

private:
    int fd_ = -1;
    int lockFd_ = -1;
    QByteArray path_;
    bool renamed_ = false;
};

// The old file's owner and group where the process may set them (its group alone when the
// owner is not ours to give), then its permission bits, which a change of owner may clear.
// When the mode cannot be set, the temporary's own (owner only) stays.
void KeepOwnerAndMode(int fd, const struct stat& old) {
    struct stat now {};
    if (::fstat(fd, &now) == 0 && (now.st_uid != old.st_uid || now.st_gid != old.st_gid) &&
        ::fchown(fd, old.st_uid, old.st_gid) != 0 && ::fchown(fd, uid_t(-1), old.st_gid) != 0) {
        // Neither: the file becomes the process's, as any new file would.
    }
    if (::fchmod(fd, old.st_mode & 07777) != 0) {
        // Left as created.
    }
}

bool WriteAll(int fd, const QByteArray& bytes) {
    const char* p = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t n = Checked(TDurableStep::Write, [&] { return ::write(fd, p, size_t(std::min<qsizetype>(left, 1 << 30))); });
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            if (n == 0) errno = EIO;
            return false;
        }
        p += n;
        left -= n;
    }
    return true;
}

// Flushes the folder, so that the rename lasts. A folder that cannot be opened for reading,
// or a file system that does not flush folders, leaves nothing more to do.
QString SyncFolder(const QByteArray& folder) {
    const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return QString();
    const int result = Checked(TDurableStep::SyncFolder, [&] { return ::fsync(fd); });
    const int error = errno;
    ::close(fd);
    return result != 0 && error != EINVAL ? Reason(error) : QString();
}

}  // namespace

QString ReplaceFileDurably(const QString& path, const QByteArray& bytes) {
    const TTarget target(path);
    struct stat old {};
    const bool exists = ::stat(target.path.constData(), &old) == 0;
    if (exists && ::faccessat(AT_FDCWD, target.path.constData(), W_OK, AT_EACCESS) != 0) return Reason(errno);
    RemoveStaleTemporaries(target);
    TTemporary temporary;
    // Owner only until the old file's mode is copied; a new file gets the umask's.
    if (!temporary.Create(target, exists ? 0600 : 0666)) return Reason(errno);
    if (exists) KeepOwnerAndMode(temporary.Fd(), old);
    if (!WriteAll(temporary.Fd(), bytes)) return Reason(errno);
    if (Checked(TDurableStep::Sync, [&] { return ::fsync(temporary.Fd()); }) != 0) return Reason(errno);
    if (temporary.Close() != 0) return Reason(errno);
    if (Checked(TDurableStep::Rename, [&] { return ::rename(temporary.Path().constData(), target.path.constData()); }) != 0)
        return Reason(errno);
    temporary.Renamed();
    return SyncFolder(target.folder);
}

TDurableWriteFault::TDurableWriteFault(TDurableStep step, int error) : step(step), error(error) {
    gFault.store(this, std::memory_order_release);
}

TDurableWriteFault::~TDurableWriteFault() { gFault.store(nullptr, std::memory_order_release); }
