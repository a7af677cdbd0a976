#include "DurableFile.h"
#include "SysUtils.h"
#include "TestSupport.h"
#include "TextFile.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <cerrno>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace {

QString Folder(const QString& name)
{
    const QString path = testsupport::TempDir() + "/textfile-" + name;
    QDir().mkpath(path);
    return path;
}

template <size_t N>
QByteArray Raw(const char (&s)[N])
{
    return QByteArray(s, N - 1);
}

void Put(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

QByteArray Get(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Expects WriteTextFile to fail with a message naming the file, and the old file intact.
void ExpectFailedWriteKeepsOldFile(const QString& path)
{
    try {
        WriteTextFile(path, {"new"}, false);
        ADD_FAILURE() << "write succeeded";
    } catch (const EInOutError& e) {
        EXPECT_TRUE(e.Message().contains(path)) << e.what();
    }
    EXPECT_EQ(Get(path), QByteArray("old\n"));
}

}  // namespace

TEST(TextFile, OpenAndSaveKeepsEveryByteButLineEnds)
{
    const QString path = Folder("roundtrip") + "/page.htm";
    Put(path, Raw("\xEF\xBB\xBF<p>\xE9t\xC3\xA9</p>\r<b>\0</b>\nlast"));
    const TTextDocument doc = ReadTextFile(path);
    EXPECT_TRUE(doc.bom);
    ASSERT_EQ(doc.Lines().size(), 3);
    WriteTextFile(path, doc.Lines(), doc.bom);
    EXPECT_EQ(Get(path), Raw("\xEF\xBB\xBF<p>\xE9t\xC3\xA9</p>\r\n<b>\0</b>\r\nlast\r\n"));
    EXPECT_TRUE(QDir(Folder("roundtrip")).entryList(QDir::Files) == QStringList{"page.htm"});  // no temp file left
}

TEST(TextFile, ReadingMissingOrUnreadableFileRaises)
{
    const QString missing = Folder("missing") + "/nothing.htm";
    try {
        ReadTextFile(missing);
        ADD_FAILURE() << "read succeeded";
    } catch (const EInOutError& e) {
        EXPECT_TRUE(e.Message().contains(missing)) << e.what();
    }
    EXPECT_THROW(ReadTextFile(Folder("missing")), EInOutError);  // a folder is no document
}

TEST(TextFile, FailedWriteLeavesOldFileIntact)
{
    // A full disk fails even for root.
    const QString full = Folder("full") + "/page.htm";
    Put(full, "old\n");
    {
        const TDurableWriteFault fault(TDurableStep::Write, ENOSPC);
        ExpectFailedWriteKeepsOldFile(full);
    }

    if (geteuid() == 0) return;  // folder permissions do not bind root
    const QString folder = Folder("readonly");
    const QString path = folder + "/page.htm";
    Put(path, "old\n");
    QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    ExpectFailedWriteKeepsOldFile(path);
    QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

TEST(TextFile, WritingIntoMissingFolderRaises)
{
    EXPECT_THROW(WriteTextFile(Folder("nofolder") + "/no/such/page.htm", {"a"}, false), EInOutError);
}

TEST(TextFile, ReadsChunkByChunkWhateverTheFileSaysItsSizeIs)
{
    // Many chunks, a sequence and a line end at every offset against the chunk size.
    QByteArray bytes = "\xEF\xBB\xBF";
    for (int i = 0; bytes.size() < 3 * TextChunkBytes; ++i) bytes += QByteArray(i % 7, 'x') + "\xE2\x82\xAC\r\n";
    const QString path = Folder("chunks") + "/page.htm";
    Put(path, bytes);
    const TTextDocument doc = ReadTextFile(path);
    EXPECT_TRUE(doc.bom);
    EXPECT_EQ(doc.text, ParseTextDocument(bytes, 1000).text);
    EXPECT_EQ(FormatTextDocument(doc.Lines(), doc.bom), bytes);

    // The proc file system gives files no size: the text grows as they are read.
    const QString version = QStringLiteral("/proc/version");
    if (QFile::exists(version)) {
        EXPECT_EQ(ReadTextFile(version).text, ParseTextDocument(Get(version)).text);
    }

    // Nor does a pipe; this one turns to the code page after chunks of text shorter than
    // their bytes, when the text so far must grow to the bytes' length.
    QByteArray piped;
    while (piped.size() < 3 * TextChunkBytes) piped += "\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80\r\n";
    piped += "\xFF";
    const QString pipe = Folder("chunks") + "/pipe";
    QFile::remove(pipe);
    ASSERT_EQ(mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    std::thread writer([&] { Put(pipe, piped); });
    const TTextDocument fromPipe = ReadTextFile(pipe);
    writer.join();
    EXPECT_EQ(fromPipe.encoding, TTextEncoding::CodePage);
    EXPECT_EQ(fromPipe.text, ParseTextDocument(piped).text);
    EXPECT_EQ(FormatTextDocument(fromPipe.Lines(), fromPipe.bom, fromPipe.encoding), piped + "\r\n");
}
