// Shortcut keys typed in the code pane reach the commands of the menus and toolbars, and the
// code pane keeps the focus.
#include "CommandsFixture.h"
#include "dxBarWindowsLibrary.h"

#include <QTest>
#include <QWindow>
#include <memory>

namespace {

class ShortcutsTest : public BarWindowsCommandsTest {
protected:
    void Key(Qt::Key key, Qt::KeyboardModifiers mods = {})
    {
        QTest::keyClick(form->Handle()->windowHandle(), key, mods);
    }
};

TEST_F(ShortcutsTest, MenuCommandsWinOverToolbarInsertsWithTheSameKey)
{
    // Ctrl+N is New (File menu) and the non-breaking space insert; Ctrl+P is Print and the
    // image insert. The main menu is asked first.
    Key(Qt::Key_N, Qt::ControlModifier);
    const QString text = form->mmHTMLCode->Text();
    EXPECT_TRUE(text.startsWith("<!DOCTYPE HTML")) << text.left(80).toStdString();
    EXPECT_FALSE(text.contains("&nbsp;"));
    Key(Qt::Key_P, Qt::ControlModifier);
    EXPECT_EQ(script.Log("PrintDialog").size(), 1);
    EXPECT_FALSE(form->mmHTMLCode->Text().contains("<img", Qt::CaseInsensitive));
    EXPECT_TRUE(form->mmHTMLCode->Focused());
}

TEST_F(ShortcutsTest, ToolbarShortcutsWorkFromTheCodePaneWhichKeepsTheFocus)
{
    auto* dynamic = Item("btDynamic");
    const bool wasDown = dynamic->Down();
    Key(Qt::Key_D, Qt::ControlModifier);
    EXPECT_NE(dynamic->Down(), wasDown);
    Key(Qt::Key_D, Qt::ControlModifier);
    EXPECT_EQ(dynamic->Down(), wasDown);

    // An insert with its own key (Ctrl+B) goes into the pane at the cursor.
    Key(Qt::Key_B, Qt::ControlModifier);
    EXPECT_TRUE(form->mmHTMLCode->Text().contains("<b>", Qt::CaseInsensitive))
        << form->mmHTMLCode->Text().toStdString();
    EXPECT_TRUE(form->mmHTMLCode->Focused());
    // Plain typing still reaches the pane.
    Key(Qt::Key_Z);
    EXPECT_TRUE(form->mmHTMLCode->Text().contains('z'));
}

TEST_F(ShortcutsTest, F1StartsTheHelpViewerBesideTheEditor)
{
    // A stand-in viewer where the installed one lies, recording that it ran.
    QDir().mkpath(Path("prog/Help"));
    const QString viewer = WriteFile("prog/Help/VESKHelp", "#!/bin/sh\nprintf '%s' \"$#\" > \"$0.out\"\n");
    QFile::setPermissions(viewer, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    form->ExeDir = Path("prog/");
    Key(Qt::Key_F1);
    EXPECT_TRUE(testsupport::WaitFor([&] { return ReadFile(viewer + ".out") == "0"; }));
    EXPECT_TRUE(BoxTexts().isEmpty());
    EXPECT_TRUE(form->mmHTMLCode->Focused());
}

}  // namespace
