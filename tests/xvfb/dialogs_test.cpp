// The platform's own dialogs on a real display: what their labels show and what their keys do.
#include "Dialogs.h"
#include "RealInput.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QTimer>
#include <optional>

using testsupport::WaitFor;

// The find dialog's label names its box: Alt+N moves the focus into it, and Enter looks for
// what was typed there.
TEST(FindDialogKeys, TheLabelsMnemonicFocusesTheBox)
{
    TFindDialog find(nullptr);
    struct Receiver : QObject {
        QStringList found;
        TFindDialog* dialog = nullptr;
        void Find(TObject*) { found.append(dialog->FindText()); }
    } receiver;
    receiver.dialog = &find;
    find.SetOnFind(TNotifyEvent(&receiver, &Receiver::Find));
    ASSERT_TRUE(find.Execute());
    QWidget* window = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (window = QApplication::activeWindow()) != nullptr; }, 5000));
    auto* box = window->findChild<QLineEdit*>();
    auto* label = window->findChild<QLabel*>();
    ASSERT_TRUE(box && label);
    EXPECT_EQ(label->buddy(), box);
    window->findChild<QCheckBox*>()->setFocus();
    ASSERT_TRUE(WaitFor([&] { return QApplication::focusWidget() != box; }, 5000));

    ASSERT_TRUE(XDoTool({"key", "--delay", "50", "alt+n"}));
    ASSERT_TRUE(WaitFor([&] { return QApplication::focusWidget() == box; }, 5000));
    ASSERT_TRUE(XDoTool({"type", "--delay", "50", "abc"}));
    ASSERT_TRUE(XDoTool({"key", "--delay", "50", "Return"}));
    EXPECT_TRUE(WaitFor([&] { return receiver.found == QStringList{"abc"}; }, 5000))
        << receiver.found.join('|').toStdString();
    find.CloseDialog();
}

// A message box shows its text as written: the editor tells what it could not find, and
// that is often markup.
TEST(MessageBoxText, MarkupInTheTextIsShownAsWritten)
{
    std::optional<Qt::TextFormat> format;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) return;
        if (auto* label = box->findChild<QLabel*>("qt_msgbox_label")) format = label->textFormat();
        box->defaultButton()->click();
    });
    poll.start(50);
    EXPECT_EQ(MessageDlg("Can not find <p>.", mtInformation, {mbOK}), mrOk);
    ASSERT_TRUE(format.has_value());
    EXPECT_EQ(*format, Qt::PlainText);
}
