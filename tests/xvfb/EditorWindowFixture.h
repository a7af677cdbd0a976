#pragma once
// The editor's main window on a real X server. The suite starts the browser's classes, the
// bar library and the item kinds the form holds; each test has its own registry file, the bar
// windows library and the form, shown by the test's SetUp.
#include "Application.h"
#include "DialogScript.h"
#include "RealInput.h"
#include "RegistryStore.h"
#include "TestSupport.h"
#include "WebBrowser.h"
#include "dxBarExtItems.h"
#include "dxBarRegistry.h"
#include "dxBarWindowsLibrary.h"
#include "frmHTML.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QPlainTextEdit>
#include <QTest>
#include <memory>

class EditorWindowTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        RegisterWebClasses();
        dxBarInitialize();
        dxBarRegisterManagerClasses();
        dxBarExtItemsInitialize();  // the form holds extended items
    }
    void TearDown() override
    {
        delete form;
        form = nullptr;
        library.reset();
        TRegistryStore::SetDefaultFileForTesting(QString());
    }

    // Makes the form, with its registry kept in registryFile, and shows it.
    void ShowForm(const QString& registryFile)
    {
        TRegistryStore::SetDefaultFileForTesting(registryFile);
        library = std::make_unique<TdxBarWindowsLibrary>();
        form = Create<TfrmMain>(Application);
        frmMain = form;
        form->Show();
    }
    // Shows the form active with the code pane focused, its registry in a folder of that name
    // in the tests' temporary folder.
    void ShowFormActive(const QString& folder, int focusWaitMs)
    {
        const QString dir = testsupport::TempDir() + QLatin1Char('/') + folder;
        QDir().mkpath(dir);
        ShowForm(dir + QStringLiteral("/registry.json"));
        QWidget* window = form->Handle();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window));
        form->mmHTMLCode->SetFocus();
        ASSERT_TRUE(testsupport::WaitFor([&] { return CodeHasFocus(); }, focusWaitMs));
    }
    bool CodeHasFocus() const { return QApplication::focusWidget() == form->mmHTMLCode->Editor(); }

    std::unique_ptr<TdxBarWindowsLibrary> library;
    TfrmMain* form = nullptr;
    TDialogScript script;
};
