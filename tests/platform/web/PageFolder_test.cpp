// The preview's private page folder: whole pages, its own files only, and a clean failure.
#include "PageFolder.h"
#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>
#include <gtest/gtest.h>

namespace {

QByteArray Read(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

TEST(PageFolder, WritesWholePagesPrivatelyAndRemovesOnlyItsOwn)
{
    TPageFolder pages;
    const QByteArray bytes = QByteArray("<p>caf\xc3\xa9</p>\0tail", 18);
    const QUrl first = pages.Write(bytes);
    const QUrl second = pages.Write("<p>2</p>");
    ASSERT_TRUE(first.isLocalFile());
    EXPECT_NE(first, second);
    EXPECT_EQ(Read(first.toLocalFile()), bytes);
    EXPECT_EQ(QFileInfo(pages.Path()).permissions() & (QFile::ReadGroup | QFile::ReadOther | QFile::WriteOther), 0);
    // Nothing but the pages themselves is left in the folder.
    EXPECT_EQ(QDir(pages.Path()).entryList(QDir::Files).size(), 2);

    QTemporaryFile stranger;
    ASSERT_TRUE(stranger.open());
    pages.Remove(QUrl::fromLocalFile(stranger.fileName()));
    EXPECT_TRUE(QFileInfo::exists(stranger.fileName()));
    pages.Remove(first);
    EXPECT_FALSE(QFileInfo::exists(first.toLocalFile()));
    EXPECT_TRUE(QFileInfo::exists(second.toLocalFile()));
}

TEST(PageFolder, AWriteIntoAVanishedFolderFailsCleanly)
{
    TPageFolder pages;
    ASSERT_FALSE(pages.Write("<p>1</p>").isEmpty());
    ASSERT_TRUE(QDir(pages.Path()).removeRecursively());
    EXPECT_TRUE(pages.Write("<p>2</p>").isEmpty());
}

}  // namespace
