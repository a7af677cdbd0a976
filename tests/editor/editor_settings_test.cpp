// The editor's settings: the checks on stored values, and a first close, a restart and a
// damaged store through the main window.
#include "CommandsFixture.h"
#include "EditorSettings.h"
#include "Registry.h"

using namespace editorsettings;

namespace {

TEST(EditorSettingsValues, MistypedValuesCountAsAbsent)
{
    TRegistryStore store(testsupport::TempDir() + "/mistyped.json");
    TRegistry registry(&store);
    ASSERT_TRUE(registry.OpenKey("\\Software\\Morvath", true));
    registry.WriteString("Width", "800");
    registry.WriteInteger("Height", 600);
    registry.WriteBinaryData("Maximized", "\x01");
    registry.WriteInteger("WordWrap", 0);
    registry.CloseKey();
    ASSERT_TRUE(registry.OpenKey("\\Software\\Morvath\\Custom", true));
    registry.WriteString("OneName", "Mine");
    registry.WriteString("OneText", "<mine>");
    registry.WriteString("TwoName", "Half");  // no text
    registry.WriteString("ThreeName", "Typed");
    registry.WriteInteger("ThreeText", 3);
    registry.CloseKey();

    const TLayoutValues v = ReadLayout(registry);
    EXPECT_FALSE(v.width.has_value());
    EXPECT_EQ(v.height, 600);
    EXPECT_FALSE(v.maximized.has_value());
    EXPECT_EQ(v.wordWrap, false);
    EXPECT_FALSE(v.format.has_value());
    EXPECT_TRUE(registry.CurrentPath().isEmpty());  // closed again

    const TCustomInserts inserts = ReadCustomInserts(registry);
    ASSERT_TRUE(inserts[0].has_value());
    EXPECT_EQ(inserts[0]->text, "<mine>");
    EXPECT_FALSE(inserts[1].has_value());
    EXPECT_FALSE(inserts[2].has_value());
}

TEST(EditorSettingsValues, AWindowMustBeUsableOnSomeScreen)
{
    const QList<QRect> screens = {QRect(0, 0, 1920, 1080), QRect(1920, 0, 1280, 1024)};
    TLayoutValues v;
    v.width = 50;
    v.height = 400;
    v.left = 2000;
    v.top = 100;
    TLayoutValues checked = CheckedWindow(v, screens);
    EXPECT_FALSE(checked.width.has_value());  // too small
    EXPECT_EQ(checked.height, 400);
    EXPECT_EQ(checked.left, 2000);  // on the second screen

    v.width = 800;
    v.left = -5000;
    checked = CheckedWindow(v, screens);
    EXPECT_EQ(checked.width, 800);
    EXPECT_FALSE(checked.left.has_value());
    EXPECT_FALSE(checked.top.has_value());

    v.left = 10;
    v.top.reset();  // half a place is none
    EXPECT_FALSE(CheckedWindow(v, screens).left.has_value());

    EXPECT_EQ(ClampPaneSize(-3, 500), 0);
    EXPECT_EQ(ClampPaneSize(90000, 500), 500);
    EXPECT_EQ(ClampPaneSize(250, 500), 250);
}

TEST(EditorSettingsValues, EmptyCustomPairsKeepWhatIsStored)
{
    TRegistryStore store(testsupport::TempDir() + "/pairs.json");
    TRegistry registry(&store);
    std::array<TCustomInsert, kCustomCount> inserts;
    for (int n = 0; n < kCustomCount; ++n) inserts[n] = {QString("N%1").arg(n), QString("T%1").arg(n)};
    WriteCustomInserts(registry, inserts);
    inserts[1].name.clear();
    inserts[2] = {"New", "Text"};
    WriteCustomInserts(registry, inserts);
    const TCustomInserts stored = ReadCustomInserts(registry);
    EXPECT_EQ(stored[1]->name, "N1");
    EXPECT_EQ(stored[2]->name, "New");
}

TEST_F(CommandsTest, FirstCloseStoresTheDefaultsAndARestartRestoresEverything)
{
    Start();
    EXPECT_EQ(form->Width(), 634);  // the form resource's size with an empty store
    EXPECT_TRUE(Item("btDynamic")->Down());
    Click("btSwap");
    Click("btWordWrap");
    Click("btDynamic");
    form->Panel1->SetHeight(150);
    form->SetBounds(40, 30, 700, 500);
    ASSERT_TRUE(CloseWindow());

    TRegistry registry;
    ASSERT_TRUE(registry.OpenKey("\\Software\\Morvath\\Custom", false));
    EXPECT_EQ(registry.ReadString("OneName"), "Custom 1");
    registry.CloseKey();

    Start();
    EXPECT_TRUE(form->Swapped);
    EXPECT_EQ(form->Panel1->Align(), alTop);
    EXPECT_EQ(form->Panel1->Height(), 150);
    EXPECT_EQ(form->Width(), 700);
    EXPECT_EQ(form->Height(), 500);
    EXPECT_FALSE(Item("btWordWrap")->Down());
    EXPECT_EQ(form->mmHTMLCode->ScrollBars(), ssBoth);
    EXPECT_FALSE(Item("btDynamic")->Down());
    EXPECT_TRUE(Item("btCode")->Down());
    // Stored names become captions and hints without an accelerator.
    EXPECT_EQ(Item("btCustom1")->Caption(), "Custom 1");
    EXPECT_EQ(Item("btCustom1")->Hint(), "Custom 1");
}

// A window closed minimized or maximized stores the rectangle it has when shown normally, and
// comes back there (maximized again when it was).
TEST_F(CommandsTest, AMinimizedOrMaximizedWindowStoresItsNormalRectangle)
{
    for (const TWindowState state : {wsMinimized, wsMaximized}) {
        SCOPED_TRACE(int(state));
        Start();
        form->SetBounds(40, 30, 700, 500);
        form->SetWindowState(state);
        ASSERT_TRUE(CloseWindow());

        TRegistry registry;
        ASSERT_TRUE(registry.OpenKey("\\Software\\Morvath", false));
        EXPECT_EQ(registry.ReadInteger("Left"), 40);
        EXPECT_EQ(registry.ReadInteger("Top"), 30);
        EXPECT_EQ(registry.ReadInteger("Width"), 700);
        EXPECT_EQ(registry.ReadInteger("Height"), 500);
        registry.CloseKey();

        Start();
        EXPECT_EQ(form->WindowState(), state == wsMaximized ? wsMaximized : wsNormal);
        form->SetWindowState(wsNormal);
        EXPECT_EQ(form->Width(), 700);
        EXPECT_EQ(form->Height(), 500);
        ASSERT_TRUE(CloseWindow());
    }
}

TEST_F(CommandsTest, HiddenPanesAreRestoredHidden)
{
    Start();
    Click("btCode");
    ASSERT_TRUE(CloseWindow());
    Start();
    EXPECT_FALSE(Item("btCode")->Down());
    EXPECT_FALSE(form->Panel1->Visible());
    EXPECT_TRUE(form->Panel4->Visible());
}

TEST_F(CommandsTest, AStoreOfWrongTypesAndAbsurdSizesStartsSafely)
{
    {
        TRegistry registry;
        ASSERT_TRUE(registry.OpenKey("\\Software\\Morvath", true));
        registry.WriteInteger("Width", 3);
        registry.WriteInteger("Height", -70000);
        registry.WriteInteger("Left", 900000);
        registry.WriteInteger("Top", 900000);
        registry.WriteInteger("SplitLeft", 123456);
        registry.WriteString("CodeWin", "no");
        registry.WriteString("Format", "1");
        registry.CloseKey();
    }
    Start();
    EXPECT_EQ(form->Width(), 634);
    EXPECT_EQ(form->Height(), 477);
    EXPECT_LE(form->Panel1->Width(), form->Panel3->Width());
    EXPECT_TRUE(Item("btCode")->Down());
    EXPECT_FALSE(form->Swapped);
    EXPECT_TRUE(BoxTexts().isEmpty());
}

}  // namespace

namespace {

TEST_F(CommandsTest, ASettingsWriteFailureAtCloseIsToldOnceAndTheWindowCloses)
{
    Start();
    // A store that cannot be written, for any user.
    TRegistryStore::SetDefaultFileForTesting(QStringLiteral("/proc/vesk-settings/registry.json"));
    EXPECT_TRUE(CloseWindow());
    ASSERT_EQ(BoxTexts().size(), 1);
    EXPECT_TRUE(BoxTexts()[0].startsWith("The settings could not be saved."));
}

}  // namespace
