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
#include <utility>

namespace {

std::atomic<const TDurableWriteFault*> gFault{nullptr};

constexpr char kTemporaryMark[] = ".vesk-save-";
constexpr int kTemporaryRandomChars = 6;

QString Reason(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

// Runs one step's system call, unless a test made that step fail.
template <class Call>
auto Checked(TDurableStep step, Call call) -> decltype(call())
{
    const TDurableWriteFault* fault = gFault.load(std::memory_order_acquire);
    const int error = fault ? fault->At(step) : 0;
    if (error == 0) return call();
    if (step == TDurableStep::Close) call();
    errno = error;
    return -1;
}

QByteArray RandomChars()
{
    static constexpr char kChars[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    QByteArray chars(kTemporaryRandomChars, Qt::Uninitialized);
    for (char& c : chars) c = kChars[QRandomGenerator::global()->bounded(int(sizeof kChars - 1))];
    return chars;
}

bool SameFile(const struct stat& a, const struct stat& b)
{
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// The file a write replaces, split into its folder and name.
struct TTarget {
    QByteArray path, folder, name;

    explicit TTarget(const QString& given) : path(QFile::encodeName(given))
    {
        // The final target of a link; a file that does not exist yet keeps the given path.
        char resolved[PATH_MAX];
        if (::realpath(path.constData(), resolved)) path = resolved;
        const qsizetype slash = path.lastIndexOf('/');
        folder = slash < 0 ? QByteArray(".") : slash == 0 ? QByteArray("/") : path.left(slash);
        name = path.mid(slash + 1);
    }
    // Cut short where the temporary's name would be longer than a file name may be. Two
    // such targets whose names begin alike share it: each one's write may then remove the
    // other's stale temporaries, which are as much debris of a killed write.
    QByteArray TemporaryPrefix() const
    {
        constexpr qsizetype kRoom = NAME_MAX - 1 - qsizetype(sizeof kTemporaryMark - 1) - kTemporaryRandomChars;
        return '.' + name.left(kRoom) + kTemporaryMark;
    }
    QByteArray TemporaryPath() const { return folder + '/' + TemporaryPrefix() + RandomChars(); }
};

bool IsTemporaryName(const char* entry, const QByteArray& prefix)
{
    const qsizetype length = qsizetype(std::strlen(entry));
    if (length != prefix.size() + kTemporaryRandomChars || std::memcmp(entry, prefix.constData(), prefix.size()) != 0)
        return false;
    for (const char* p = entry + prefix.size(); *p; ++p)
        if (!((*p >= 'a' && *p <= 'z') || (*p >= 'A' && *p <= 'Z') || (*p >= '0' && *p <= '9'))) return false;
    return true;
}

// Removes the temporaries of target that earlier writes left behind: those whose lock no
// running write holds.
void RemoveStaleTemporaries(const TTarget& target)
{
    DIR* dir = ::opendir(target.folder.constData());
    if (!dir) return;
    const int dirFd = ::dirfd(dir);
    const QByteArray prefix = target.TemporaryPrefix();
    while (const dirent* entry = ::readdir(dir)) {
        if (!IsTemporaryName(entry->d_name, prefix)) continue;
        const int fd = ::openat(dirFd, entry->d_name, O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY);
        if (fd < 0) continue;
        struct stat opened {
        }, named{};
        // The name must still be the file locked: a new write may have taken it meanwhile.
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0 && ::fstat(fd, &opened) == 0 && S_ISREG(opened.st_mode) &&
            ::fstatat(dirFd, entry->d_name, &named, AT_SYMLINK_NOFOLLOW) == 0 && SameFile(opened, named))
            ::unlinkat(dirFd, entry->d_name, 0);
        ::close(fd);
    }
    ::closedir(dir);
}

// Whether an unnamed file can later be named through its descriptor's link in /proc.
bool CanNameUnnamedFiles()
{
    static const bool can = ::access("/proc/self/fd", F_OK) == 0;
    return can;
}

// An unnamed file needs a file system that has them; these say it has not.
bool Unsupported(int error)
{
    return error == EOPNOTSUPP || error == EISDIR || error == EINVAL;
}

// The temporary file of one write. Until it is renamed, leaving the scope removes it.
class TTemporary {
public:
    explicit TTemporary(const TTarget& target) : target_(target) {}
    ~TTemporary()
    {
        if (fd_ >= 0) ::close(fd_);
        if (!renamed_ && !path_.isEmpty()) ::unlink(path_.constData());
        if (lockFd_ >= 0) ::close(lockFd_);  // the lock lasts until the name is gone
    }
    TTemporary(const TTemporary&) = delete;
    TTemporary& operator=(const TTemporary&) = delete;

    // Creates the temporary, unnamed where the file system allows, and takes its lock;
    // false with errno set.
    bool Create(mode_t mode)
    {
        if (CanNameUnnamedFiles()) {
            const int fd = Checked(TDurableStep::Create, [&] {
                return ::open(target_.folder.constData(), O_TMPFILE | O_WRONLY | O_CLOEXEC, mode);
            });
            if (fd >= 0) return Lock(fd);
            if (!Unsupported(errno)) return false;
        }
        return CreateNamed(mode);
    }

    // Gives an unnamed temporary its name beside the target; one that has its name already
    // keeps it. Named through the lock's descriptor, it may come after the checked close, so
    // that only a kill between the naming and the rename leaves it behind. False with errno set.
    bool Name()
    {
        if (!path_.isEmpty()) return true;
        const QByteArray link = "/proc/self/fd/" + QByteArray::number(lockFd_);
        for (int attempt = 0; attempt < 100; ++attempt) {
            const QByteArray path = target_.TemporaryPath();
            if (Checked(TDurableStep::Name, [&] {
                    return ::linkat(AT_FDCWD, link.constData(), AT_FDCWD, path.constData(), AT_SYMLINK_FOLLOW);
                }) == 0) {
                path_ = path;
                return true;
            }
            if (errno != EEXIST) return false;
        }
        return false;
    }

    int Fd() const { return fd_; }
    const QByteArray& Path() const { return path_; }

    int Close()
    {
        const int result = Checked(TDurableStep::Close, [&] { return ::close(fd_); });
        fd_ = -1;
        return result;
    }
    void Renamed() { renamed_ = true; }

private:
    // Holds the temporary's lock through a second descriptor of the same open file, so that
    // it outlives the checked close of the first. A file system without locks leaves it
    // unlocked. False (the file closed) with errno set when there is no second descriptor.
    bool Lock(int fd)
    {
        const int lockFd = ::fcntl(fd, F_DUPFD_CLOEXEC, 0);
        if (lockFd < 0) {
            const int error = errno;
            ::close(fd);
            errno = error;
            return false;
        }
        if (::flock(lockFd, LOCK_EX) != 0) {
            // Unlocked.
        }
        fd_ = fd;
        lockFd_ = lockFd;
        return true;
    }

    bool CreateNamed(mode_t mode)
    {
        for (int attempt = 0; attempt < 100; ++attempt) {
            const QByteArray path = target_.TemporaryPath();
            const int fd = Checked(TDurableStep::Create, [&] {
                return ::open(path.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
            });
            if (fd < 0) {
                if (errno == EEXIST) continue;
                return false;
            }
            if (!Lock(fd)) {
                const int error = errno;
                ::unlink(path.constData());
                errno = error;
                return false;
            }
            struct stat opened {
            }, named{};
            if (::fstat(fd_, &opened) == 0 && ::stat(path.constData(), &named) == 0 && SameFile(opened, named)) {
                path_ = path;
                return true;
            }
            // Another write removed it as stale before it was locked: the name is not ours
            // to remove any more.
            ::close(fd_);
            ::close(lockFd_);
            fd_ = lockFd_ = -1;
        }
        errno = EEXIST;
        return false;
    }

    const TTarget& target_;
    int fd_ = -1;
    int lockFd_ = -1;
    QByteArray path_;
    bool renamed_ = false;
};

// The old file's owner and group where the process may set them (its group alone when the
// owner is not ours to give), then its permission bits, which a change of owner may clear.
// When the mode cannot be set, the temporary's own (owner only) stays.
void KeepOwnerAndMode(int fd, const struct stat& old)
{
    struct stat now {};
    if (::fstat(fd, &now) == 0 && (now.st_uid != old.st_uid || now.st_gid != old.st_gid) &&
        ::fchown(fd, old.st_uid, old.st_gid) != 0 && ::fchown(fd, uid_t(-1), old.st_gid) != 0) {
        // Neither: the file becomes the process's, as any new file would.
    }
    if (::fchmod(fd, old.st_mode & 07777) != 0) {
        // Left as created.
    }
}

bool WriteAll(int fd, const QByteArray& bytes)
{
    const char* p = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t n =
            Checked(TDurableStep::Write, [&] { return ::write(fd, p, size_t(std::min<qsizetype>(left, 1 << 30))); });
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
QString SyncFolder(const QByteArray& folder)
{
    const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return QString();
    const int result = Checked(TDurableStep::SyncFolder, [&] { return ::fsync(fd); });
    const int error = errno;
    ::close(fd);
    return result != 0 && error != EINVAL ? Reason(error) : QString();
}

}  // namespace

QString ReplaceFileDurably(const QString& path, const QByteArray& bytes)
{
    const TTarget target(path);
    struct stat old {};
    const bool exists = ::stat(target.path.constData(), &old) == 0;
    if (exists && ::faccessat(AT_FDCWD, target.path.constData(), W_OK, AT_EACCESS) != 0) return Reason(errno);
    RemoveStaleTemporaries(target);
    TTemporary temporary(target);
    // Owner only until the old file's mode is copied; a new file gets the umask's.
    if (!temporary.Create(exists ? 0600 : 0666)) return Reason(errno);
    if (exists) KeepOwnerAndMode(temporary.Fd(), old);
    if (!WriteAll(temporary.Fd(), bytes)) return Reason(errno);
    if (Checked(TDurableStep::Sync, [&] { return ::fsync(temporary.Fd()); }) != 0) return Reason(errno);
    if (temporary.Close() != 0 || !temporary.Name()) return Reason(errno);
    if (Checked(TDurableStep::Rename,
                [&] { return ::rename(temporary.Path().constData(), target.path.constData()); }) != 0)
        return Reason(errno);
    temporary.Renamed();
    return SyncFolder(target.folder);
}

TDurableWriteFault::TDurableWriteFault(TDurableStep step, int error)
    : TDurableWriteFault([step, error](TDurableStep at) { return at == step ? error : 0; })
{}

TDurableWriteFault::TDurableWriteFault(std::function<int(TDurableStep)> hook) : hook_(std::move(hook))
{
    gFault.store(this, std::memory_order_release);
}

TDurableWriteFault::~TDurableWriteFault()
{
    gFault.store(nullptr, std::memory_order_release);
}
