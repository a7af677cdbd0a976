#pragma once
// A main window for driving the editor's commands through their bar items, with its own
// settings store and a dialog script answering every box and dialog.
#include "Application.h"
#include "DialogScript.h"
#include "ExceptionBarrier.h"
#include "Dialogs.h"
#include "RegistryStore.h"
#include "TestSupport.h"
#include "WebBrowser.h"
#include "dxBarExtItems.h"
#include "dxBarRegistry.h"
#include "dxBarWindowsLibrary.h"
#include "frmHTML.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTest>
#include <QWindow>
#include <memory>

class CommandsTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        RegisterWebClasses();
        dxBarInitialize();
        dxBarRegisterManagerClasses();
        dxBarExtItemsInitialize();  // the form holds extended items
    }

    void SetUp() override
    {
        QDir().mkpath(dir);
        TRegistryStore::SetDefaultFileForTesting(dir + QStringLiteral("/registry.json"));
    }

    void TearDown() override
    {
        delete form;
        TfrmMain::SetArguments({});
        TRegistryStore::SetDefaultFileForTesting(QString());
    }

    void Start(const QStringList& arguments = {})
    {
        TfrmMain::SetArguments(arguments);
        form = Create<TfrmMain>(Application);
        frmMain = form;
        form->Show();
    }
    // Closes the window as its close button does and frees it; false when it stayed open.
    bool CloseWindow()
    {
        RunGuarded(nullptr, [&] { form->Close(); });  // as the close event runs it
        if (form->Visible()) return false;
        delete form;
        form = nullptr;
        return true;
    }

    TdxBarButton* Item(const QString& name)
    {
        auto* item = qobject_cast<TdxBarButton*>(form->FindComponent(name));
        EXPECT_NE(item, nullptr) << name.toStdString();
        return item;
    }
    // The item's direct click, as a menu or toolbar click runs it.
    void Click(const QString& name) { Item(name)->DirectClick(); }

    QString Path(const QString& name) const { return dir + QLatin1Char('/') + name; }
    QString WriteFile(const QString& name, const QByteArray& bytes)
    {
        QFile f(Path(name));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        return Path(name);
    }
    static QByteArray ReadFile(const QString& path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
    }
    QStringList BoxTexts() const
    {
        QStringList texts;
        for (const TDialogRecord& r : script.Log(QStringLiteral("MessageBox"))) texts.append(r.text);
        return texts;
    }
    // Types text into the code pane as a user would (the document becomes changed).
    void Type(const QString& text);
    // Gives the code pane the keyboard focus and waits until it has it.
    void FocusCode();

    QString dir = testsupport::TempDir() + QStringLiteral("/commands ") + QString::number(counter++);
    TfrmMain* form = nullptr;
    TDialogScript script;
    static inline int counter = 0;
};

// The same with the bar windows: the main window shown and active, the code pane focused.
class BarWindowsCommandsTest : public CommandsTest {
protected:
    void SetUp() override
    {
        CommandsTest::SetUp();
        library = std::make_unique<TdxBarWindowsLibrary>();
        Start();
        QWidget* window = form->Handle();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window));
        FocusCode();
    }
    void TearDown() override
    {
        CommandsTest::TearDown();
        library.reset();
    }

    std::unique_ptr<TdxBarWindowsLibrary> library;
};
