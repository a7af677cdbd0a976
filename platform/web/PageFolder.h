#pragma once
// A private folder for pages the browser loads from disk: made on the first write, readable
// by this user only (under the runtime folder, else the temporary folder), and removed with
// everything in it when the last owner lets go. Each page is written under a name of its own
// through a temporary file and a rename, so the browser never reads half a page. Writing and
// removing are safe from any thread.
#include <QByteArray>
#include <QMutex>
#include <QString>
#include <QUrl>
#include <memory>

class QTemporaryDir;

class TPageFolder {
public:
    TPageFolder();
    ~TPageFolder();
    TPageFolder(const TPageFolder&) = delete;
    TPageFolder& operator=(const TPageFolder&) = delete;

    // Writes bytes as a new page and returns its file URL; an empty URL when the folder or the
    // page could not be written (a full disk, the folder removed from under us).
    QUrl Write(const QByteArray& bytes);
    // Removes a page written here; anything else is left alone.
    void Remove(const QUrl& page);
    // The folder, or empty before the first write.
    QString Path() const;

private:
    mutable QMutex mutex_;
    std::unique_ptr<QTemporaryDir> dir_;
    quint64 pages_ = 0;
};
