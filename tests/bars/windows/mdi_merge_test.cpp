// An MDI frame's menu bar with its children: the maximized child's system menu leading it,
// the child's main menu merged into it, and the keys going to the active child's manager.
#include "IniFiles.h"
#include "MenuWindowFixture.h"
#include "SystemMenu.h"
#include "TestSupport.h"
#include "dxBarHooks.h"
#include "dxBarInternalItems.h"

#include <QFile>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTemporaryDir>

namespace {

// A child form with its own manager and a docked main menu bar holding one sub item.
struct TChild {
    TForm* form = nullptr;
    TdxBarManager* manager = nullptr;
    TdxBar* menuBar = nullptr;
};

class TMergeLog : public QObject {
public:
    void Merge(TdxBarManager* frameManager, TdxBarManager* childManager, bool merge)
    {
        merges << QStringLiteral("%1 %2 %3").arg(frameManager->Name(), childManager->Name(), merge ? "on" : "off");
    }
    QStringList merges;
};

// The windows library, noting which managers' windows were told to make their brushes again.
class TBrushesLog : public TdxBarWindowsLibrary {
public:
    void ManagerWindowsChanged(TdxBarManager* manager, TdxBarWindowChange change) override
    {
        if (change == TdxBarWindowChange::Brushes) remade << manager->Name();
        TdxBarWindowsLibrary::ManagerWindowsChanged(manager, change);
    }
    QStringList remade;
};

class MDIMergeTest : public MenuWindowTest {
protected:
    std::unique_ptr<TdxBarWindowsLibrary> MakeLibrary() override
    {
        auto recording = std::make_unique<TBrushesLog>();
        brushes = recording.get();
        return recording;
    }
    void SetUp() override
    {
        MenuWindowTest::SetUp();
        manager->SetName("FrameBars");
        form->SetFormStyle(fsMDIForm);
        form->SetBounds(40, 40, 640, 420);
        AddSubItem("&File", {"Open"})->SetName("FrameFile");
        DockMenuBar();
        dock->SetAlign(alTop);
        form->Show();
    }

    TChild AddChild(const QString& name, const QString& menu)
    {
        TChild c;
        c.form = new TForm(form.get());
        c.form->SetName(name);
        c.form->SetFormStyle(fsMDIChild);
        c.form->SetBounds(10, 10, 300, 200);
        c.manager = new TdxBarManager(c.form);
        c.manager->SetName(name + "Bars");
        // Made after the manager, the dock is freed first with the child and takes its bar
        // window's widget with it: the bar window must not reach that widget afterwards.
        auto* childDock = Create<TdxBarDockControl>(c.form);
        childDock->SetParent(c.form);
        childDock->SetAlign(alTop);
        childDock->SetBarManager(c.manager);
        c.menuBar = c.manager->Bars()->Add();
        c.menuBar->SetIsMainMenu(true);
        auto* sub = Create<TdxBarSubItem>(c.form);
        sub->SetName(name + "Menu");
        sub->SetCaption(menu);
        c.menuBar->ItemLinks()->Add()->SetItem(sub);
        c.menuBar->SetDockControl(childDock);
        c.menuBar->SetVisible(true);
        c.form->Show();
        QApplication::processEvents();
        return c;
    }

    // The frame's menu bar as captions; the system menu shows as "[system]".
    QStringList FrameMenu() const
    {
        QStringList captions;
        TdxBarItemLinks* links = bar->ItemLinks();
        for (int i = 0; i < links->Count(); ++i) {
            TdxBarItem* item = links->Items(i)->Item();
            captions << (qobject_cast<TSystemMenuSubItem*>(item) ? QStringLiteral("[system]") : item->Caption());
        }
        return captions;
    }
    TSystemMenuSubItem* SystemMenuItem() const
    {
        return bar->ItemLinks()->Count() ? qobject_cast<TSystemMenuSubItem*>(bar->ItemLinks()->Items(0)->Item())
                                         : nullptr;
    }

    TMergeLog log;
    QStringList& merges = log.merges;
    TBrushesLog* brushes = nullptr;
};

TEST_F(MDIMergeTest, MaximizeRestoreAndSwitchingMergeTheActiveChildsMenu)
{
    TChild a = AddChild("A", "&Edit");
    EXPECT_EQ(FrameMenu(), QStringList{"&File"});
    EXPECT_EQ(manager->ActiveMDIChild(), a.form);

    a.form->SetWindowState(wsMaximized);
    QApplication::processEvents();
    EXPECT_EQ(FrameMenu(), (QStringList{"[system]", "&File", "&Edit"}));
    EXPECT_TRUE(manager->ChildMaximized());
    EXPECT_FALSE(a.menuBar->Visible());

    // The frame's stored layout names none of the child's items.
    QTemporaryDir dir;
    const QString ini = dir.filePath("layout.ini");
    manager->SaveToIniFile(ini);
    QFile file(ini);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray stored = file.readAll();
    EXPECT_FALSE(stored.contains("AMenu"));
    EXPECT_TRUE(stored.contains("FrameFile"));

    // Another child becomes active maximized: its menu replaces the first one's.
    TChild b = AddChild("B", "&View");
    form->MDIClient()->setActiveSubWindow(b.form->MDISubWindow());
    QApplication::processEvents();
    EXPECT_TRUE(b.form->IsZoomed());
    EXPECT_EQ(FrameMenu(), (QStringList{"[system]", "&File", "&View"}));
    EXPECT_TRUE(a.menuBar->Visible());
    ASSERT_TRUE(SystemMenuItem());
    EXPECT_EQ(SystemMenuItem()->Child(), b.form);

    b.form->SetWindowState(wsNormal);
    QApplication::processEvents();
    EXPECT_EQ(FrameMenu(), QStringList{"&File"});
    EXPECT_TRUE(b.menuBar->Visible());
    EXPECT_FALSE(manager->ChildMaximized());
}

TEST_F(MDIMergeTest, OnMenuMergeTakesOverTheCopyAndAlwaysMergeMergesUnmaximized)
{
    struct TCase {
        bool handler;
        bool always;
        QStringList maximized, restored, log;
    };
    const TCase cases[] = {
        {true, false, {"[system]", "&File"}, {"&File"}, {"FrameBars ABars on", "FrameBars ABars off"}},
        {false, true, {"[system]", "&File", "&Edit"}, {"&File", "&Edit"}, {}},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.handler ? "OnMenuMerge" : "AlwaysMerge");
        merges.clear();
        manager->OnMenuMerge = c.handler ? TdxBarMenuMergeEvent(&log, &TMergeLog::Merge) : TdxBarMenuMergeEvent();
        manager->SetAlwaysMerge(c.always);
        TChild a = AddChild("A", "&Edit");
        a.form->SetWindowState(wsMaximized);
        QApplication::processEvents();
        EXPECT_EQ(FrameMenu(), c.maximized);
        a.form->SetWindowState(wsNormal);
        QApplication::processEvents();
        EXPECT_EQ(FrameMenu(), c.restored);
        EXPECT_EQ(merges.mid(0, 2), c.log);
        delete a.form;
        QApplication::processEvents();
        EXPECT_EQ(FrameMenu(), QStringList{"&File"});
    }
}

TEST_F(MDIMergeTest, TheSystemMenuListsTheChildsCommandsAndRunsThem)
{
    TChild a = AddChild("A", "&Edit");
    a.form->SetWindowState(wsMaximized);
    QApplication::processEvents();
    TSystemMenuSubItem* system = SystemMenuItem();
    ASSERT_TRUE(system);
    system->Popup();
    QStringList rows;
    TdxBarItemLinks* links = system->ItemLinks();
    for (int i = 0; i < links->Count(); ++i) {
        TdxBarItem* item = links->Items(i)->Item();
        rows << QStringLiteral("%1%2%3%4")
                    .arg(links->Items(i)->BeginGroup() ? "|" : "", item->Caption(),
                         item->ShortCut() ? " " + ShortCutToText(item->ShortCut()) : QString(),
                         item->Enabled() ? "" : "-");
    }
    EXPECT_EQ(rows, (QStringList{"&Restore", "&Move-", "&Size-", "Mi&nimize", "Ma&ximize-", "|&Close Ctrl+F4",
                                 "|Nex&t Ctrl+F6"}));
    EXPECT_FALSE(qobject_cast<TdxBarButton*>(links->Items(5)->Item())->Glyph()->Empty());

    // Restore from the menu, then close from it: each runs once the menu is done.
    links->Items(0)->Item()->Click();
    EXPECT_TRUE(a.form->IsZoomed());
    QApplication::processEvents();
    EXPECT_FALSE(a.form->IsZoomed());
    EXPECT_EQ(FrameMenu(), QStringList{"&File"});

    a.form->SetWindowState(wsMaximized);
    QApplication::processEvents();
    ASSERT_TRUE(SystemMenuItem());
    SystemMenuItem()->RunDefaultCommand();
    QApplication::processEvents();
    EXPECT_FALSE(a.form->Visible());
    EXPECT_EQ(FrameMenu(), QStringList{"&File"});
}

TEST_F(MDIMergeTest, AFreedChildLeavesItsSystemMenuEmptyAndHarmless)
{
    TChild a = AddChild("A", "&Edit");
    a.form->SetWindowState(wsMaximized);
    QApplication::processEvents();
    QPointer<TSystemMenuSubItem> system = SystemMenuItem();
    ASSERT_TRUE(system);
    system->Popup();
    TdxBarItem* close = system->ItemLinks()->Items(5)->Item();
    // The child goes while its command waits, or while its menu is open.
    close->Click();
    delete a.form;
    QApplication::processEvents();
    EXPECT_FALSE(system);
    EXPECT_EQ(FrameMenu(), QStringList{"&File"});
    EXPECT_EQ(form->MDIChildCount(), 0);
    EXPECT_TRUE(errors.isEmpty()) << errors.join("; ").toStdString();
}

TEST_F(MDIMergeTest, KeysGoToTheActiveChildsManagerUnlessItsMenuIsMerged)
{
    TChild a = AddChild("A", "&Edit");
    EXPECT_EQ(dxBarKeyboardManager(form->Handle()), a.manager);
    a.form->SetWindowState(wsMaximized);
    QApplication::processEvents();
    // The merged menu's window is hidden: the frame's manager holds its copies.
    EXPECT_EQ(dxBarKeyboardManager(form->Handle()), manager);
    a.form->SetWindowState(wsNormal);
    QApplication::processEvents();
    // A child without a manager leaves the keys to the frame.
    auto* plain = new TForm(form.get());
    plain->SetFormStyle(fsMDIChild);
    plain->Show();
    QApplication::processEvents();
    EXPECT_EQ(form->ActiveMDIChild(), plain);
    EXPECT_EQ(dxBarKeyboardManager(form->Handle()), manager);
}

}  // namespace

namespace {

TPoint Middle(const TRect& r)
{
    return {(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2};
}

TEST_F(MDIMergeTest, TheCaptionButtonsActOnTheMaximizedChild)
{
    TChild a = AddChild("A", "&Edit");
    a.form->SetBorderIcons(TBorderIcons(biSystemMenu) | biMaximize);  // no minimize
    a.form->SetWindowState(wsMaximized);
    QApplication::processEvents();
    ASSERT_TRUE(menuBar->HasMDIButtons());
    const TRect minimize = menuBar->CaptionButtonRect(0), restore = menuBar->CaptionButtonRect(1),
                close = menuBar->CaptionButtonRect(2);
    EXPECT_EQ(restore.Left, minimize.Right);
    EXPECT_EQ(close.Left, restore.Right + 2);
    EXPECT_LE(close.Right, menuBar->ClientRect().Right);
    EXPECT_FALSE(menuBar->CaptionButtonActive(0));
    EXPECT_TRUE(menuBar->CaptionButtonActive(1));

    // A press on the inactive minimize button does nothing; a click on restore restores.
    menuBar->LButtonDown(Middle(minimize), {});
    menuBar->LButtonUp(Middle(minimize), {});
    QApplication::processEvents();
    EXPECT_TRUE(a.form->IsZoomed());
    // Released outside the pressed button: nothing.
    menuBar->LButtonDown(Middle(restore), {});
    EXPECT_EQ(menuBar->PressedCaptionButton(), 1);
    menuBar->MouseMove(Middle(close), {});
    menuBar->LButtonUp(Middle(close), {});
    QApplication::processEvents();
    EXPECT_TRUE(a.form->IsZoomed());
    menuBar->LButtonDown(Middle(restore), {});
    menuBar->LButtonUp(Middle(restore), {});
    QApplication::processEvents();
    EXPECT_FALSE(a.form->IsZoomed());
    EXPECT_FALSE(menuBar->HasMDIButtons());
    EXPECT_TRUE(menuBar->CaptionButtonRect(2).IsEmpty());

    a.form->SetWindowState(wsMaximized);
    QApplication::processEvents();
    const TRect closeAgain = menuBar->CaptionButtonRect(2);
    menuBar->LButtonDown(Middle(closeAgain), {});
    menuBar->LButtonUp(Middle(closeAgain), {});
    QApplication::processEvents();
    EXPECT_FALSE(a.form->Visible());

    // A child without a system menu: maximized, it gets neither icon nor buttons.
    TChild plain = AddChild("P", "&Tools");
    plain.form->SetBorderIcons(TBorderIcons(biMinimize) | biMaximize);
    plain.form->SetWindowState(wsMaximized);
    QApplication::processEvents();
    EXPECT_EQ(FrameMenu(), (QStringList{"&File", "&Tools"}));
    EXPECT_FALSE(menuBar->HasMDIButtons());
}

}  // namespace

TEST_F(MDIMergeTest, AColourChangeReachesEveryChildsManagerMaximizedOrNot)
{
    AddChild("A", "&Edit");
    TChild b = AddChild("B", "&View");
    b.form->SetWindowState(wsMaximized);  // its menu bar hidden, merged into the frame's
    QApplication::processEvents();
    ASSERT_FALSE(b.menuBar->Visible());
    brushes->remade.clear();

    const QPalette palette = QApplication::palette();
    QPalette changed = palette;
    changed.setColor(QPalette::Button, Qt::darkCyan);
    QApplication::setPalette(changed);
    const QStringList all = {"ABars", "BBars", "FrameBars"};
    auto heardByAll = [&] {
        QStringList heard = brushes->remade;
        heard.removeDuplicates();
        heard.sort();
        return heard == all;
    };
    EXPECT_TRUE(testsupport::WaitFor(heardByAll, 5000)) << brushes->remade.join(' ').toStdString();
    QApplication::setPalette(palette);
    QApplication::processEvents();
}
