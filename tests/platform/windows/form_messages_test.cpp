// The form-message hook: what a managed form's window and the application report to the
// listener, without a QEvent reaching it.
#include "FormMessages.h"
#include "Forms.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QScreen>
#include <QWindow>
#include <memory>

namespace {

class TRecorder : public TFormMessageListener {
public:
    void FormActivate(TCustomForm* form, bool active, QWidget* other) override
    {
        log << QStringLiteral("%1 %2 %3").arg(Name(form), active ? "active" : "inactive", OtherName(other));
    }
    void FormWindowStateChanged(TCustomForm* form, TWindowState state) override
    {
        static const char* const names[] = {"normal", "minimized", "maximized"};
        log << Name(form) + " " + names[state];
    }
    void FormShowChanged(TCustomForm* form, bool shown) override { log << Name(form) + (shown ? " shown" : " hidden"); }
    void FormCloseRequest(TCustomForm* form) override
    {
        log << Name(form) + " close";
        if (onClose) onClose();
    }
    void FormCloseCancelled(TCustomForm* form) override { log << Name(form) + " stays"; }
    void PaletteChanged() override { log << "palette"; }
    void FontChanged() override { log << "font"; }
    void WorkAreaChanged() override { log << "work area"; }

    QStringList Take() { return std::exchange(log, {}); }

    QStringList log;
    std::function<void()> onClose;

private:
    static QString Name(TCustomForm* form) { return form ? form->Name() : QStringLiteral("?"); }
    static QString OtherName(QWidget* other)
    {
        if (!other) return QStringLiteral("-");
        TCustomForm* form = TCustomForm::FromWindow(other);
        return form ? form->Name() : QStringLiteral("window");
    }
};

class FormMessagesTest : public ::testing::Test, public QObject {
protected:
    void SetUp() override
    {
        for (auto* f : {a.get(), b.get()}) {
            f->SetBounds(50, 50, 200, 100);
            f->SetOnCloseQuery(TCloseQueryEvent(this, &FormMessagesTest::CloseQuery));
        }
        a->SetName("A");
        b->SetName("B");
        SetFormMessageListener(&recorder);
        ManageForm(a.get());
        ManageForm(b.get());
        ManageForm(a.get());  // once is enough
    }
    void TearDown() override
    {
        SetFormMessageListener(nullptr);
        UnmanageForm(a.get());
        UnmanageForm(b.get());
    }
    void CloseQuery(TObject*, bool& canClose) { canClose = allowClose; }
    static bool Activate(TCustomForm* form)
    {
        form->Handle()->activateWindow();
        return testsupport::WaitFor([form] { return QGuiApplication::focusWindow() == form->Handle()->windowHandle(); },
                                    5000);
    }

    std::unique_ptr<TForm> a = std::make_unique<TForm>(nullptr);
    std::unique_ptr<TForm> b = std::make_unique<TForm>(nullptr);
    TRecorder recorder;
    bool allowClose = true;
};

}  // namespace

TEST_F(FormMessagesTest, ActivationNamesTheWindowOnTheOtherSide)
{
    a->Show();
    b->Show();
    ASSERT_TRUE(Activate(a.get()));
    recorder.Take();
    ASSERT_TRUE(Activate(b.get()));
    EXPECT_EQ(recorder.Take(), QStringList({"A inactive B", "B active A"}));

    // A window that is no form of the hook's, then the application losing the activation.
    QWidget plain;
    plain.setGeometry(300, 300, 50, 50);
    plain.show();
    plain.activateWindow();
    ASSERT_TRUE(testsupport::WaitFor([&] { return QGuiApplication::focusWindow() == plain.windowHandle(); }, 5000));
    EXPECT_EQ(recorder.Take(), QStringList({"B inactive window"}));
    ASSERT_TRUE(Activate(a.get()));
    EXPECT_EQ(recorder.Take(), QStringList({"A active window"}));
    emit qGuiApp->applicationStateChanged(Qt::ApplicationInactive);
    EXPECT_EQ(recorder.Take(), QStringList({"A inactive -"}));

    // An unmanaged form reports nothing.
    UnmanageForm(b.get());
    EXPECT_FALSE(IsFormManaged(b.get()));
    ASSERT_TRUE(Activate(b.get()));
    EXPECT_TRUE(recorder.Take().isEmpty());
}

TEST_F(FormMessagesTest, StateShowAndHideAndCloseRequests)
{
    a->Show();
    a->SetWindowState(wsMinimized);
    a->SetWindowState(wsNormal);
    a->SetWindowState(wsMaximized);
    a->SetWindowState(wsMaximized);  // no change, no report
    a->Hide();
    EXPECT_EQ(recorder.Take(), QStringList({"A shown", "A minimized", "A normal", "A maximized", "A hidden"}));

    // A refused close leaves the window open; an allowed one hides it (the close action).
    b->Show();
    recorder.Take();
    allowClose = false;
    b->Handle()->close();
    EXPECT_EQ(recorder.Take(), QStringList({"B close", "B stays"}));
    EXPECT_TRUE(b->Visible());
    allowClose = true;
    b->Handle()->close();
    EXPECT_EQ(recorder.Take(), QStringList({"B close", "B hidden"}));

    // A listener that frees the form on the request: nothing more is reported, nothing breaks.
    b->Show();
    recorder.Take();
    recorder.onClose = [this] { b.reset(); };
    QPointer<QWidget> window = b->Handle();
    window->close();
    EXPECT_EQ(recorder.Take(), QStringList({"B close"}));
    EXPECT_TRUE(window.isNull());

    // A shown form freed: its window hides as it goes, and no form is reported hidden.
    a->Show();
    recorder.Take();
    a.reset();
    EXPECT_EQ(recorder.Take(), QStringList());
}

TEST_F(FormMessagesTest, ApplicationPaletteFontAndWorkAreaChanges)
{
    const QPalette palette = QApplication::palette();
    const QFont font = QApplication::font();
    QPalette changed = palette;
    changed.setColor(QPalette::Window, Qt::darkCyan);
    QApplication::setPalette(changed);
    QApplication::setPalette(palette);
    QFont bigger = font;
    bigger.setPixelSize(font.pixelSize() > 0 ? font.pixelSize() + 3 : 20);
    QApplication::setFont(bigger);
    QApplication::setFont(font);
    QScreen* screen = QGuiApplication::primaryScreen();
    ASSERT_NE(screen, nullptr);
    emit screen->availableGeometryChanged(screen->availableGeometry());  // a panel came or went
    EXPECT_TRUE(testsupport::WaitFor([this] { return recorder.log.size() >= 5; }, 5000));
    QStringList heard = recorder.Take();
    heard.sort();  // palette and font changes are posted, the screen's signal is direct
    EXPECT_EQ(heard, QStringList({"font", "font", "palette", "palette", "work area"}));

    // Without a listener nothing is reported; a new one hears the next change.
    SetFormMessageListener(nullptr);
    EXPECT_EQ(FormMessageListener(), nullptr);
    emit screen->availableGeometryChanged(screen->availableGeometry());
    TRecorder other;
    SetFormMessageListener(&other);
    emit screen->geometryChanged(screen->geometry());
    EXPECT_TRUE(recorder.log.isEmpty());
    EXPECT_EQ(other.Take(), QStringList({"work area"}));
}
