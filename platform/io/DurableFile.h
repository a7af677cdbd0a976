#pragma once
// Replacing a file whole, so that a crash, a kill or a power cut leaves its old bytes or
// its new ones and never a part, and so that no failure passes for success.
//
// The new bytes go to a temporary file beside the target, named ".NAME.vesk-save-XXXXXX"
// (XXXXXX: six ASCII letters and digits). It is written, flushed to the disk, closed and
// renamed over the target, and the folder is flushed so the rename itself lasts; every
// step is checked. A failure up to the rename removes the temporary and leaves the target
// as it was.
//
// A write killed half-way leaves its temporary behind. The next write of the same target
// removes every temporary of that target that no running write holds (each write keeps an
// flock on its temporary until the rename); names that do not match exactly stay.
//
// The target. A symbolic link is followed: its final target is replaced and the link
// stays. The new file keeps the old one's permission bits and, where the process may set
// them, its owner and group; a new file gets the usual mode under the umask. A target the
// process may not write is refused, as for writing it in place. Other hard links to the
// old file keep the old bytes.
#include <QByteArray>
#include <QString>

// Writes bytes as the whole new content of path as described above. Returns "" on success,
// else the system's reason. When only the folder's flush fails the new file is already in
// place; it is reported all the same, since the rename may not last.
QString ReplaceFileDurably(const QString& path, const QByteArray& bytes);

// The checked steps of a write, for tests that make one fail.
enum class TDurableStep { Create, Write, Sync, Close, Rename, SyncFolder };

// Test hook: while one lives, every durable write of the process fails at step with the
// given errno, as if the system had reported it. A failing Close still releases the file,
// as close() does.
class TDurableWriteFault {
public:
    TDurableWriteFault(TDurableStep step, int error);
    ~TDurableWriteFault();
    TDurableWriteFault(const TDurableWriteFault&) = delete;
    TDurableWriteFault& operator=(const TDurableWriteFault&) = delete;

    const TDurableStep step;
    const int error;
};
