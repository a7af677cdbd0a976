#pragma once
// A shown, active form whose line edit has the focus, for the checks under a real X server.
#include "../bars/windows/BarWindowFixture.h"
#include "TestSupport.h"
#include "dxBarExtItems.h"

#include <QLineEdit>
#include <QTest>

class ActiveFormTest : public BarWindowTest {
protected:
    void SetUp() override
    {
        BarWindowTest::SetUp();
        QWidget* formWidget = form->Handle();
        formWidget->setGeometry(100, 100, 400, 300);
        edit = new QLineEdit(formWidget);
        edit->setGeometry(10, 100, 200, 24);
        formWidget->show();
        formWidget->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(formWidget));
        edit->setFocus();
        ASSERT_TRUE(testsupport::WaitFor([this] { return edit->hasFocus(); }, 5000));
    }

    bool FormStaysActive() const { return QApplication::activeWindow() == form->Handle(); }

    QLineEdit* edit = nullptr;
};

// The same with the extended items started.
class ExtItemsFormTest : public ActiveFormTest {
protected:
    void SetUp() override
    {
        dxBarExtItemsInitialize();
        ActiveFormTest::SetUp();
    }
    void TearDown() override
    {
        ActiveFormTest::TearDown();
        dxBarExtItemsFinalize();
    }
};
