// The res scheme's mapping from URLs to bundle content, and module loading.
#include "ResScheme.h"
#include "ResourceModule.h"
#include "WebSchemes.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QResource>

namespace {

QString ProgramDir()
{
    return QCoreApplication::applicationDirPath();
}

TResourceModule* StartModule()
{
    TResourceModule* m = TResourceModule::Load(QStringLiteral("Tarnwick.dll"));
    EXPECT_NE(m, nullptr) << "Tarnwick.dll must be built beside the test program";
    return m;
}

// The editor's own spelling: "Res://" + folder with trailing slash + container + "/" + name.
QUrl ModuleUrl(const QString& tail)
{
    return QUrl(QStringLiteral("Res://") + ProgramDir() + QStringLiteral("/") + tail);
}

}  // namespace

TEST(ResourceModule, LoadsOnlyPlainNamesFromTheGivenFolder)
{
    TResourceModule* m = StartModule();
    ASSERT_NE(m, nullptr);
    EXPECT_EQ(m->FileName(), QDir(ProgramDir()).absoluteFilePath(QStringLiteral("Tarnwick.dll")));
    EXPECT_EQ(TResourceModule::Load(QStringLiteral("Tarnwick.dll")), m) << "a second load gives the same module";
    EXPECT_TRUE(QFile::exists(m->Root() + QStringLiteral("/Start.htm")));

    EXPECT_EQ(TResourceModule::Load(QStringLiteral("Missing.dll")), nullptr);
    EXPECT_EQ(TResourceModule::Load(QString()), nullptr);
    EXPECT_EQ(TResourceModule::Load(QStringLiteral("../bin/Tarnwick.dll")), nullptr);
    EXPECT_EQ(TResourceModule::Load(ProgramDir() + QStringLiteral("/Tarnwick.dll")), nullptr)
        << "a path is not a plain file name";
    EXPECT_EQ(TResourceModule::Load(QStringLiteral("sub\\Tarnwick.dll")), nullptr);

    const QString dir = testsupport::TempDir();
    QFile junk(dir + QStringLiteral("/Junk.dll"));
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write("this is not a resource bundle");
    junk.close();
    EXPECT_EQ(TResourceModule::LoadFromFolder(dir, QStringLiteral("Junk.dll")), nullptr);
}

TEST(ResScheme, ResolvesModuleNamesWithoutCase)
{
    TResourceModule* m = StartModule();
    ASSERT_NE(m, nullptr);
    const QString start = m->Root() + QStringLiteral("/Start.htm");
    EXPECT_EQ(ResolveResUrl(ModuleUrl(QStringLiteral("Tarnwick.dll/Start.htm"))), start);
    EXPECT_EQ(ResolveResUrl(ModuleUrl(QStringLiteral("TARNWICK.DLL/start.HTM"))), start);
    EXPECT_EQ(
        ResolveResUrl(QUrl(QStringLiteral("res://") + ProgramDir() + QStringLiteral("/Tarnwick.dll/Start.htm?x#top"))),
        start)
        << "query and fragment are not part of the name";
    // A URL parsed with the first folder as its host still names the same file.
    QUrl hosted;
    hosted.setScheme(QStringLiteral("res"));
    const QString path = ProgramDir() + QStringLiteral("/Tarnwick.dll/Start.htm");
    hosted.setHost(path.section(QLatin1Char('/'), 1, 1));
    hosted.setPath(QLatin1Char('/') + path.section(QLatin1Char('/'), 2));
    EXPECT_EQ(ResolveResUrl(hosted), start);

    EXPECT_TRUE(ResolveResUrl(ModuleUrl(QStringLiteral("Tarnwick.dll/Nothing.htm"))).isEmpty());
    EXPECT_TRUE(ResolveResUrl(ModuleUrl(QStringLiteral("Tarnwick.dll"))).isEmpty());
    EXPECT_TRUE(ResolveResUrl(ModuleUrl(QStringLiteral("Tarnwick.dll/"))).isEmpty());
    EXPECT_TRUE(ResolveResUrl(ModuleUrl(QStringLiteral("Other.dll/Start.htm"))).isEmpty());
    EXPECT_TRUE(ResolveResUrl(QUrl(QStringLiteral("http:") + ProgramDir() + QStringLiteral("/Tarnwick.dll/Start.htm")))
                    .isEmpty());
}

TEST(ResScheme, RefusesEveryWayOutOfTheBundle)
{
    ASSERT_NE(StartModule(), nullptr);
    const QStringList tails = {
        QStringLiteral("Tarnwick.dll/../Tarnwick.dll/Start.htm"),
        QStringLiteral("Tarnwick.dll/%2e%2e/Tarnwick.dll/Start.htm"),
        QStringLiteral("Tarnwick.dll/%2E%2E%2FTarnwick.dll%2FStart.htm"),
        QStringLiteral("Tarnwick.dll/./Start.htm"),
        QStringLiteral("Tarnwick.dll/..\\Start.htm"),
        QStringLiteral("Tarnwick.dll/%5cStart.htm"),
        QStringLiteral("Tarnwick.dll//etc/passwd"),
        QStringLiteral("Tarnwick.dll/:/Start.htm"),
        QStringLiteral("Tarnwick.dll/../../../../etc/passwd"),
    };
    for (const QString& t : tails) EXPECT_TRUE(ResolveResUrl(ModuleUrl(t)).isEmpty()) << t.toStdString();
    EXPECT_TRUE(ResolveResUrl(QUrl(QStringLiteral("res:///etc/passwd"))).isEmpty());
}

TEST(ResScheme, ServesTheProgramsOwnResourcesFromItsPrefix)
{
    TResourceModule* m = StartModule();
    ASSERT_NE(m, nullptr);
    ASSERT_TRUE(QResource::registerResource(m->FileName(), QStringLiteral("/programpages")));
    const QString program = QCoreApplication::applicationFilePath();

    SetProgramResourcePrefix(QStringLiteral(":/programpages/"));
    EXPECT_EQ(ProgramResourcePrefix(), QStringLiteral(":/programpages"));
    EXPECT_EQ(ResolveResUrl(QUrl(QStringLiteral("res://") + program + QStringLiteral("/start.css"))),
              QStringLiteral(":/programpages/Start.css"));
    EXPECT_TRUE(ResolveResUrl(QUrl(QStringLiteral("res://") + program + QStringLiteral("/../Tarnwick.dll"))).isEmpty());

    SetProgramResourcePrefix(QStringLiteral("/etc"));  // not a resource folder: nothing is served
    EXPECT_TRUE(ProgramResourcePrefix().isEmpty());
    EXPECT_TRUE(ResolveResUrl(QUrl(QStringLiteral("res://") + program + QStringLiteral("/passwd"))).isEmpty());
    SetProgramResourcePrefix(QString());
    QResource::unregisterResource(m->FileName(), QStringLiteral("/programpages"));
}

TEST(ResScheme, MimeTypesFollowTheExtension)
{
    EXPECT_EQ(ResMimeType(QStringLiteral("Start.HTM")), "text/html");
    EXPECT_EQ(ResMimeType(QStringLiteral("a.html")), "text/html");
    EXPECT_EQ(ResMimeType(QStringLiteral("Start.css")), "text/css");
    EXPECT_EQ(ResMimeType(QStringLiteral("x.PNG")), "image/png");
    EXPECT_EQ(ResMimeType(QStringLiteral("Logo.svg")), "image/svg+xml");
    EXPECT_EQ(ResMimeType(QStringLiteral("noextension")), "application/octet-stream");
}
