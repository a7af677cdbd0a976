#pragma once
// Replacing a file whole, so that a crash, a kill or a power cut leaves its old bytes or
// its new ones and never a part, and so that no failure passes for success.
//
// The new bytes go to a temporary file in the target's folder. It is written, flushed to
// the disk and closed while it has no name (O_TMPFILE), then named ".NAME.vesk-save-XXXXXX"
// beside the target (XXXXXX: six ASCII letters and digits; NAME cut short where the whole
// would be too long for a file name) and renamed over the target, and the folder is flushed
// so the rename itself lasts; every step is checked. A failure up to the rename removes the
// temporary and leaves the target as it was. Where the file system has no unnamed files,
// the temporary has its name from the start.
//
// A write killed before the naming leaves nothing; one killed between the naming and the
// rename (or, without unnamed files, at any point before the rename) leaves its temporary
// behind. The next write of the same target removes every temporary of that target that
// no running write holds (each write keeps an flock on its temporary from before its
// naming until the rename); names that do not match exactly stay.
//
// The target. A symbolic link is followed: its final target is replaced and the link
// stays. The new file keeps the old one's permission bits and, where the process may set
// them, its owner and group; a new file gets the usual mode under the umask. A target the
// process may not write is refused, as for writing it in place. Other hard links to the
// old file keep the old bytes.
#include <QByteArray>
#include <QString>

#include <functional>

// Writes bytes as the whole new content of path as described above. Returns "" on success,
// else the system's reason. When only the folder's flush fails the new file is already in
// place; it is reported all the same, since the rename may not last.
QString ReplaceFileDurably(const QString& path, const QByteArray& bytes);

// The checked steps of a write, in their order, for tests that make one fail. Name is the
// naming of an unnamed temporary, which comes after its close and just before the rename.
enum class TDurableStep { Create, Write, Sync, Close, Name, Rename, SyncFolder };

// Test hook: while one lives, every durable write of the process fails at step with the
// given errno, as if the system had reported it. A failing Close still releases the file,
// as close() does. The second form runs hook just before each step's call: the errno it
// returns fails the call, 0 lets it run (a test can stand in for a crash there, or fail
// Create once with EOPNOTSUPP to have the temporary named from the start).
class TDurableWriteFault {
public:
    TDurableWriteFault(TDurableStep step, int error);
    explicit TDurableWriteFault(std::function<int(TDurableStep)> hook);
    ~TDurableWriteFault();
    TDurableWriteFault(const TDurableWriteFault&) = delete;
    TDurableWriteFault& operator=(const TDurableWriteFault&) = delete;

    // For the write: the errno that step's call fails with, or 0.
    int At(TDurableStep step) const { return hook_(step); }

private:
    const std::function<int(TDurableStep)> hook_;
};
