#pragma once
// The help window headless, with every request of its pages recorded.
#include "Application.h"
#include "DialogScript.h"
#include "TestSupport.h"
#include "frm_HelpMain.h"

#include <gtest/gtest.h>

#include <QMutex>
#include <QStringList>
#include <QVariant>

class THelpViewerTest : public ::testing::Test {
protected:
    static void SetUpTestSuite();
    void SetUp() override;
    void TearDown() override;

    // Creates the window with the given command line and shows it.
    void Start(const QStringList& arguments = {});
    // Frees the window (closing it first when close is true).
    void Finish(bool close = true);

    QVariant Eval(const QString& script);
    // Waits until the browser shows an address ending in suffix and has finished loading.
    bool WaitForPage(const QString& suffix);
    // Every res: request since the last call that named nothing the program serves.
    QStringList TakeMissingRequests();
    // Waits for the page's images and style sheets and returns those that did not load.
    QStringList BrokenPageParts();
    // The addresses of the res: links on the page.
    QStringList PageLinks();

    TfrmHelpMain* form = nullptr;
    TDialogScript script;
};
