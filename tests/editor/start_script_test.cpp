// The README's start command: file arguments are the caller's, whatever folder it runs from.
#include "EditorText.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>

TEST(StartScript, RelativeArgumentFromAnotherFolderNamesTheCallersFile)
{
    const QString root = testsupport::TempDir() + QStringLiteral("/start script");
    const QString caller = root + QStringLiteral("/caller dir");
    const QString fake = root + QStringLiteral("/fake build");
    ASSERT_TRUE(QDir().mkpath(caller + QStringLiteral("/pages")));
    ASSERT_TRUE(QDir().mkpath(fake + QStringLiteral("/bin")));
    QFile page(caller + QStringLiteral("/pages/a.htm"));
    ASSERT_TRUE(page.open(QIODevice::WriteOnly));
    page.write("<p>a</p>");
    page.close();
    // A stand-in program that reports the folder it runs in and its arguments.
    const QString probe = root + QStringLiteral("/probe.txt");
    QFile program(fake + QStringLiteral("/bin/VESK"));
    ASSERT_TRUE(program.open(QIODevice::WriteOnly));
    program.write("#!/bin/sh\npwd > \"$VESK_PROBE\"\nfor a in \"$@\"; do echo \"$a\" >> \"$VESK_PROBE\"; done\n");
    program.close();
    program.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

    QProcess script;
    script.setWorkingDirectory(caller);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("VESK_BUILD_DIR"), fake);
    env.insert(QStringLiteral("VESK_PREBUILT"), QStringLiteral("1"));
    env.insert(QStringLiteral("VESK_PROBE"), probe);
    script.setProcessEnvironment(env);
    script.start(QStringLiteral("bash"),
                 {QStringLiteral(VESK_SOURCE_DIR "/vesk.sh"), QStringLiteral("start"), QStringLiteral("pages/a.htm")});
    ASSERT_TRUE(script.waitForFinished(60000));
    ASSERT_EQ(script.exitCode(), 0) << script.readAllStandardError().toStdString();

    QFile report(probe);
    ASSERT_TRUE(report.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromLocal8Bit(report.readAll()).trimmed().split(QLatin1Char('\n'));
    ASSERT_EQ(lines.size(), 2);
    EXPECT_EQ(QDir(lines[0]).canonicalPath(), QDir(caller).canonicalPath());
    EXPECT_EQ(lines[1], "pages/a.htm");
    // The editor resolves it against that folder: the caller's file.
    EXPECT_EQ(QFileInfo(editortext::FileToOpen({lines[1]}, lines[0])).canonicalFilePath(),
              QFileInfo(page).canonicalFilePath());
}
