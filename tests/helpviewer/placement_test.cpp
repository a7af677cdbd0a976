// The help window's placement in the registry: checks of what is read back, storing at
// close, and the store shared with the editor under concurrent writes.
#include "HelpPlacement.h"
#include "HelpViewerFixture.h"

#include "Registry.h"
#include "RegistryStore.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QWidget>

using testsupport::WaitFor;

namespace {
const QRect kDesigned(242, 154, 696, 495);
const QList<QRect> kScreens = {QRect(0, 0, 1024, 768), QRect(-1280, 0, 1280, 1024)};

TRegistry OpenHelpKey()
{
    TRegistry registry;
    EXPECT_TRUE(registry.OpenKey(kHelpPlacementKey, true));
    return registry;
}
}  // namespace

TEST(HelpPlacement, StoredValuesAreCheckedBeforeUse)
{
    TStoredPlacement stored;
    EXPECT_EQ(PlacedBounds(kDesigned, stored, kScreens), kDesigned);

    stored.left = -900;  // on the second screen
    stored.top = 30;
    stored.width = 500;
    stored.height = 400;
    EXPECT_EQ(PlacedBounds(kDesigned, stored, kScreens), QRect(-900, 30, 500, 400));

    // Sizes below the minimum keep the current size, the place still applies.
    stored.width = kMinimumHelpWindowSize.width() - 1;
    stored.height = -5;
    EXPECT_EQ(PlacedBounds(kDesigned, stored, kScreens), QRect(-900, 30, 696, 495));

    // A rectangle on no screen is not used at all.
    stored.left = 5000;
    stored.width = 500;
    EXPECT_EQ(PlacedBounds(kDesigned, stored, kScreens), kDesigned);
    stored.left = 10;
    stored.top = -2000;
    EXPECT_EQ(PlacedBounds(kDesigned, stored, kScreens), kDesigned);
    EXPECT_EQ(PlacedBounds(kDesigned, stored, {}), kDesigned);
}

TEST_F(THelpViewerTest, PlacementIsSavedAtCloseAndRestored)
{
    Start();
    EXPECT_EQ(form->BoundsRect(), kDesigned);  // nothing stored yet
    form->SetBounds(40, 50, 520, 380);
    Finish();
    {
        TRegistry registry = OpenHelpKey();
        EXPECT_EQ(registry.GetDataType("Width"), rdInteger);
        EXPECT_EQ(registry.ReadInteger("Width"), 520);
        EXPECT_EQ(registry.ReadInteger("Height"), 380);
        EXPECT_EQ(registry.ReadInteger("Top"), 50);
        EXPECT_EQ(registry.ReadInteger("Left"), 40);
        EXPECT_FALSE(registry.ReadBool("Maximized"));
    }
    Start();
    EXPECT_EQ(form->BoundsRect(), QRect(40, 50, 520, 380));
    EXPECT_EQ(form->WindowState(), wsNormal);

    // Shown again after closing, the window stores its place at the next close too.
    form->Close();
    form->Show();
    form->SetBounds(30, 35, 480, 330);
    form->Close();
    TRegistry registry = OpenHelpKey();
    EXPECT_EQ(registry.ReadInteger("Width"), 480);
    EXPECT_EQ(registry.ReadInteger("Left"), 30);
}

TEST_F(THelpViewerTest, MaximizedIsRestoredWithItsNormalRectangle)
{
    Start();
    form->SetBounds(60, 70, 500, 360);
    form->SetWindowState(wsMaximized);
    ASSERT_TRUE(WaitFor([&] { return form->WindowState() == wsMaximized && form->Width() != 500; }));
    Finish();
    {
        TRegistry registry = OpenHelpKey();
        EXPECT_TRUE(registry.ReadBool("Maximized"));
        EXPECT_EQ(registry.ReadInteger("Width"), 500);
        EXPECT_EQ(registry.ReadInteger("Height"), 360);
        EXPECT_EQ(registry.ReadInteger("Left"), 60);
        EXPECT_EQ(registry.ReadInteger("Top"), 70);
    }
    Start();
    EXPECT_TRUE(WaitFor([&] { return form->WindowState() == wsMaximized; }));
    form->SetWindowState(wsNormal);
    EXPECT_TRUE(WaitFor([&] { return form->BoundsRect() == QRect(60, 70, 500, 360); }))
        << form->Width() << "x" << form->Height();
}

TEST_F(THelpViewerTest, MinimizedStoresItsNormalRectangle)
{
    Start();
    form->SetBounds(80, 90, 450, 350);
    form->SetWindowState(wsMinimized);
    ASSERT_TRUE(WaitFor([&] { return form->WindowState() == wsMinimized; }));
    Finish();
    TRegistry registry = OpenHelpKey();
    EXPECT_FALSE(registry.ReadBool("Maximized"));
    EXPECT_EQ(QRect(registry.ReadInteger("Left"), registry.ReadInteger("Top"), registry.ReadInteger("Width"),
                    registry.ReadInteger("Height")),
              QRect(80, 90, 450, 350));
}

TEST_F(THelpViewerTest, DamagedPlacementValuesAreIgnored)
{
    {
        TRegistry registry = OpenHelpKey();
        registry.WriteString("Width", "900");
        registry.WriteBinaryData("Left", "\x01\x02");
        registry.WriteInteger("Height", 3);
        registry.WriteInteger("Top", 20);
        registry.WriteString("Maximized", "1");
    }
    Start();
    EXPECT_EQ(form->BoundsRect(), QRect(242, 20, 696, 495));
    EXPECT_EQ(form->WindowState(), wsNormal);
    EXPECT_TRUE(script.Log().isEmpty());
    Finish(false);

    {
        TRegistry registry = OpenHelpKey();
        registry.WriteInteger("Left", 100000);
        registry.WriteInteger("Width", 600);
    }
    Start();
    EXPECT_EQ(form->BoundsRect(), kDesigned);
}

TEST_F(THelpViewerTest, AFailedSaveIsToldOnceAndTheWindowStillCloses)
{
    Start();
    // The store's folder would have to lie below a regular file: nothing can be written.
    const QString blocker = testsupport::TempDir() + "/not-a-folder";
    QFile file(blocker);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    TRegistryStore::SetDefaultFileForTesting(blocker + "/registry.json");
    form->Close();
    TRegistryStore::SetDefaultFileForTesting(QString());
    EXPECT_FALSE(form->Visible());
    const QList<TDialogRecord> boxes = script.Log("MessageBox");
    ASSERT_EQ(boxes.size(), 1);
    EXPECT_TRUE(boxes[0].text.startsWith("The window position could not be saved."));
    EXPECT_EQ(boxes[0].flags & MB_ICONMASK, MB_ICONERROR);
}

// The writer that stands in for the editor: started as a second process by the test below.
TEST(SharedStoreWriter, WritesEditorValues)
{
    const QString file = qEnvironmentVariable("VESK_SHARED_STORE");
    if (file.isEmpty()) GTEST_SKIP() << "run by SharedStore.EditorAndViewerLoseNoValue";
    TRegistryStore::SetDefaultFileForTesting(file);
    for (int i = 0; i < 150; ++i) {
        TRegistry registry;
        ASSERT_TRUE(registry.OpenKey("\\Software\\Morvath", true));
        registry.WriteInteger(QStringLiteral("Editor%1").arg(i), i);
        registry.CloseKey();
    }
}

TEST_F(THelpViewerTest, EditorAndViewerWritingTheStoreLoseNoValue)
{
    const QString file = testsupport::TempDir() + "/shared/registry.json";
    QDir().mkpath(testsupport::TempDir() + "/shared");
    TRegistryStore::SetDefaultFileForTesting(file);
    Start();
    QProcess editor;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("VESK_SHARED_STORE", file);
    editor.setProcessEnvironment(env);
    editor.start(QCoreApplication::applicationFilePath(), {"--gtest_filter=SharedStoreWriter.WritesEditorValues"});
    ASSERT_TRUE(editor.waitForStarted());
    // The viewer stores its placement over and over while the editor writes its values.
    int saves = 0;
    while (editor.state() != QProcess::NotRunning || saves < 150) {
        form->SetBounds(10 + saves % 50, 20, 400 + saves, 300);
        form->SavePlacement();
        ++saves;
        editor.waitForFinished(0);
    }
    EXPECT_EQ(editor.exitStatus(), QProcess::NormalExit);
    const QByteArray output = editor.readAll();
    EXPECT_EQ(editor.exitCode(), 0) << output.toStdString();
    EXPECT_TRUE(output.contains("[  PASSED  ] 1 test")) << output.toStdString();
    Finish(false);

    TRegistry registry;
    ASSERT_TRUE(registry.OpenKey("\\Software\\Morvath", false));
    for (int i = 0; i < 150; ++i) EXPECT_EQ(registry.ReadInteger(QStringLiteral("Editor%1").arg(i)), i) << i;
    ASSERT_TRUE(registry.OpenKey("\\Software\\Morvath\\Help", false));
    EXPECT_EQ(registry.ReadInteger("Width"), 400 + saves - 1);
    TRegistryStore::SetDefaultFileForTesting(QString());
}
