// The editor's main window headless: start-up, the command-line file and the live preview.
#include "Application.h"
#include "DialogScript.h"
#include "Dialogs.h"
#include "RegistryStore.h"
#include "TestSupport.h"
#include "WebBrowser.h"
#include "dxBarExtItems.h"
#include "dxBarRegistry.h"
#include "EditorText.h"
#include "LivePreview.h"
#include "LocalFileScheme.h"
#include "dxBarEditControls.h"
#include "dxBarItemLink.h"
#include "dxBarWindowsLibrary.h"
#include "frmHTML.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QFile>
#include <QImage>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>
#include <QWebEnginePage>
#include <optional>

using testsupport::WaitFor;

namespace {
constexpr int kWaitMs = 30000;

class EditorTest : public ::testing::Test {
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
        TfrmMain::SetArguments({});
        TfrmMain::SetResourceLibraryName(QStringLiteral("Tarnwick.dll"));
    }

    void Start(const QStringList& arguments = {})
    {
        TfrmMain::SetArguments(arguments);
        form = Create<TfrmMain>(Application);
        frmMain = form;
        form->Show();
    }

    QVariant Eval(const QString& script)
    {
        std::optional<QVariant> result;
        form->WebBrowser->Page()->runJavaScript(script, [&](const QVariant& v) { result = v; });
        EXPECT_TRUE(WaitFor([&] { return result.has_value(); }, kWaitMs)) << script.toStdString();
        return result.value_or(QVariant());
    }
    QString BodyText() { return Eval(QStringLiteral("document.body ? document.body.innerText : ''")).toString(); }
    bool WaitForBody(const QString& text)
    {
        return WaitFor([&] { return BodyText().contains(text); }, kWaitMs);
    }

    QString WriteFile(const QString& name, const QByteArray& bytes)
    {
        QDir().mkpath(dir);
        const QString path = dir + QLatin1Char('/') + name;
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        return path;
    }

    QString dir = testsupport::TempDir() + QStringLiteral("/site ") + QString::number(counter++);
    TfrmMain* form = nullptr;
    TDialogScript script;
    static inline int counter = 0;
};

TEST_F(EditorTest, StartsWithTheStartPageAndAnEmptyDocument)
{
    Start();
    EXPECT_EQ(form->CaptionBase, "Zundra's Dynamic HTML Editor");
    EXPECT_FALSE(form->ResourceMissing);
    EXPECT_TRUE(form->Unchanged);
    EXPECT_TRUE(form->FileToOpen.isEmpty());
    EXPECT_TRUE(form->ExeDir.endsWith('/'));
    ASSERT_TRUE(WaitFor([&] { return form->WebBrowser->LocationURL().contains("Start.htm"); }, kWaitMs));
    EXPECT_TRUE(WaitForBody("HTML"));
    EXPECT_TRUE(form->mmHTMLCode->Text().isEmpty());
    EXPECT_TRUE(script.Log("MessageBox").isEmpty());
}

TEST_F(EditorTest, OpensTheCommandLineFileAndPreviewsItAgainstItsFolder)
{
    QDir().mkpath(dir);
    QImage image(7, 5, QImage::Format_RGB32);
    image.fill(Qt::red);
    ASSERT_TRUE(image.save(dir + "/dot.png"));
    const QString page = WriteFile("page one.htm",
                                   "<html><HEAD><title>t</title></HEAD><body><p>Hello preview</p>"
                                   "<img src=\"dot.png\"></body></html>\r\n");
    // Split at its blank, as a shell passes an unquoted path.
    const QString first = page.left(page.lastIndexOf(' '));
    Start({first, page.mid(page.lastIndexOf(' ') + 1)});

    EXPECT_EQ(form->FileToOpen, page);
    EXPECT_EQ(form->edPathEdit->Text(), dir);
    EXPECT_TRUE(form->mmHTMLCode->Text().startsWith("<html><HEAD><title>"));
    EXPECT_TRUE(form->Unchanged);
    ASSERT_TRUE(WaitForBody("Hello preview"));
    // The image beside the file resolves through the base tag.
    EXPECT_TRUE(WaitFor([&] { return Eval("document.images[0].naturalWidth").toInt() == 7; }, kWaitMs));

    // Every typed character re-renders the preview and marks the document changed.
    QPlainTextEdit* editor = form->mmHTMLCode->Editor();
    const QString text = form->mmHTMLCode->Text();
    form->mmHTMLCode->SetSelStart(int(text.indexOf("Hello") + 5));
    form->mmHTMLCode->SetSelLength(0);
    QTest::keyClicks(editor, " typed");
    EXPECT_FALSE(form->Unchanged);
    EXPECT_TRUE(WaitForBody("Hello typed preview"));
    EXPECT_TRUE(WaitFor([&] { return Eval("document.images[0].naturalWidth").toInt() == 7; }, kWaitMs));
}

// A page in the 8-bit code page reads the same in the code pane and the preview, whatever
// its own declaration says, including when the preview is written again as it is typed in.
TEST_F(EditorTest, ACodePagePageShowsItsCharactersInCodeAndPreview)
{
    const QString page = WriteFile("latin.htm",
                                   "<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; "
                                   "charset=iso-8859-1\"></head><body><p>caf\xE9 na\xEFve \x80uro \x93q\x94</p>"
                                   "</body></html>\r\n");
    Start({page});
    const QString shown = QStringLiteral("caf\u00E9 na\u00EFve \u20ACuro \u201Cq\u201D");
    EXPECT_TRUE(form->mmHTMLCode->Text().contains(shown));
    ASSERT_TRUE(WaitForBody(shown)) << BodyText().toStdString();
    form->mmHTMLCode->SetSelStart(int(form->mmHTMLCode->Text().indexOf("</p>")));
    // Keys with characters past ASCII: only their text.
    for (const QChar c : QStringLiteral(" \u0101\u00E8"))
        QTest::sendKeyEvent(QTest::Click, form->mmHTMLCode->Editor(), Qt::Key_unknown, QString(c), Qt::NoModifier);
    EXPECT_TRUE(WaitForBody(shown + QStringLiteral(" \u0101\u00E8"))) << BodyText().toStdString();
}

TEST_F(EditorTest, DynamicUpLeavesThePreviewUntilViewCode)
{
    Start();
    ASSERT_TRUE(WaitForBody("HTML"));
    form->mmHTMLCode->SetText("<p>first</p>");
    ASSERT_TRUE(WaitForBody("first"));
    form->btDynamic->SetDown(false);
    form->mmHTMLCode->SetText("<p>second</p>");
    EXPECT_FALSE(form->Unchanged);
    QTest::qWait(300);
    EXPECT_TRUE(BodyText().contains("first"));
    form->btViewClick(form);
    EXPECT_TRUE(WaitForBody("second"));
}

TEST_F(EditorTest, WritesDuringANavigationAreHeldAndTheLatestWins)
{
    Start();
    // The start page is still loading: writes wait for it instead of being lost to it.
    form->ShowHTML("<p>one</p>");
    form->ShowHTML("<p>two</p>");
    EXPECT_TRUE(WaitForBody("two"));
    EXPECT_FALSE(BodyText().contains("one"));
}

TEST_F(EditorTest, UnreadableCommandLineFileShowsOneError)
{
    Start({dir + "/missing.htm"});
    const auto boxes = script.Log("MessageBox");
    ASSERT_EQ(boxes.size(), 1);
    EXPECT_EQ(boxes[0].text, "Cannot Open The VESK File.");
    EXPECT_EQ(boxes[0].caption, Application->Title());
    ASSERT_FALSE(script.Log("Beep").isEmpty());
    EXPECT_EQ(script.Log("Beep")[0].flags, int(MB_ICONEXCLAMATION));
    EXPECT_TRUE(form->mmHTMLCode->Text().startsWith("<!DOCTYPE"));  // then New
}

QByteArray StoreBytes()
{
    QFile f(TRegistryStore::DefaultFilePath());
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

TEST_F(EditorTest, MissingResourceLibraryShowsOnceClosesAndWritesNothing)
{
    const QByteArray before = StoreBytes();
    TfrmMain::SetResourceLibraryName(QStringLiteral("NoSuchBundle.dll"));
    Start();
    EXPECT_TRUE(form->ResourceMissing);
    EXPECT_TRUE(WaitFor([&] { return !form->Visible(); }, kWaitMs));
    QTest::qWait(100);
    const auto boxes = script.Log("MessageBox");
    ASSERT_EQ(boxes.size(), 1);
    EXPECT_EQ(boxes[0].text, "Could not find Resource DLL. Please reinstall the application.");
    EXPECT_EQ(StoreBytes(), before);
}

}  // namespace

namespace {

TEST_F(EditorTest, KeysTypedDuringARenderLeaveExactlyTheLatestTextInThePreview)
{
    Start();
    ASSERT_TRUE(WaitForBody("HTML"));
    form->edPathEdit->SetText(dir);
    // Big enough that each render takes a while, so the keys land while one is in flight.
    QString text = QStringLiteral("<html><Head><title>t</title></HEAD><body>");
    while (text.size() < 600000) text += QStringLiteral("<p>filler paragraph with some words in it</p>\n");
    text += QStringLiteral("<p id=\"last\">typed:</p></body></html>");
    form->mmHTMLCode->SetText(text);
    ASSERT_TRUE(WaitFor([&] { return !form->Preview()->Busy(); }, kWaitMs));
    form->mmHTMLCode->SetSelStart(int(text.lastIndexOf("</p>")));
    int typedWhileBusy = 0;
    for (const char c : QByteArray("burst of keys")) {
        if (form->Preview()->Busy()) ++typedWhileBusy;
        QTest::keyClick(form->mmHTMLCode->Editor(), c);
        QTest::qWait(3);
    }
    EXPECT_GT(typedWhileBusy, 3);
    ASSERT_TRUE(WaitFor([&] { return !form->Preview()->Busy(); }, kWaitMs));
    EXPECT_EQ(Eval("document.getElementById('last').textContent").toString(), "typed:burst of keys");
    // The base tag went in after the head tag, whatever its case (naming the folder as the
    // preview reaches local files).
    EXPECT_EQ(Eval("document.baseURI").toString(), form->WebBrowser->PageAddress(editortext::BaseAddress(dir)));
}

}  // namespace

namespace {

TEST_F(EditorTest, AFolderTypedIntoThePathBarAndEnterRenderTheDocumentAgainstIt)
{
    TdxBarWindowsLibrary bars;  // the path bar shows as a real editor
    Start();
    ASSERT_TRUE(WaitForBody("HTML"));
    form->mmHTMLCode->SetText(QStringLiteral("<html><HEAD><title>t</title></HEAD><body><p>page</p></body></html>"));
    ASSERT_TRUE(WaitFor([&] { return !form->Preview()->Busy(); }, kWaitMs));
    TdxBarEditControl* control = nullptr;
    for (TdxBarItemLink* link : form->edPathEdit->LinkList())
        if (!control) control = dynamic_cast<TdxBarEditControl*>(link->Control());
    ASSERT_NE(control, nullptr);
    control->Click(true);
    ASSERT_TRUE(control->Focused());
    QTest::keyClicks(control->Editor(), dir);
    QTest::keyClick(control->Editor(), Qt::Key_Return);
    EXPECT_EQ(form->edPathEdit->Text(), dir);
    EXPECT_FALSE(control->Focused());
    const QString base = form->WebBrowser->PageAddress(editortext::BaseAddress(dir));
    EXPECT_TRUE(WaitFor([&] { return Eval("document.baseURI").toString() == base; }, kWaitMs));
    EXPECT_TRUE(BodyText().contains("page"));
    delete form;  // before the bar windows' library goes
    form = nullptr;
}

}  // namespace

namespace {

// The preview's pages: written into a private folder, removed once replaced, the folder with
// the window; a page that cannot be written reaches the preview all the same.
class PreviewPagesTest : public EditorTest {
protected:
    // The page shown: the file it came from, or the document's own address.
    QUrl Render(const QString& text)
    {
        form->mmHTMLCode->SetText(text);
        EXPECT_TRUE(WaitFor([&] { return !form->Preview()->Busy(); }, kWaitMs));
        return FileUrlOf(form->WebBrowser->Page()->url());
    }
};

TEST_F(PreviewPagesTest, GoOnceReplacedAndTheirFolderWithTheWindow)
{
    Start();
    ASSERT_TRUE(WaitForBody("HTML"));
    QDir().mkpath(dir);
    QImage image(7, 5, QImage::Format_RGB32);
    image.fill(Qt::red);
    ASSERT_TRUE(image.save(dir + "/dot.png"));
    form->edPathEdit->SetText(dir);
    const QUrl first = Render("<html><head></head><body><p>one</p><img src=\"dot.png\"></body></html>");
    ASSERT_TRUE(first.isLocalFile()) << first.toString().toStdString();
    EXPECT_EQ(BodyText(), "one");
    EXPECT_TRUE(WaitFor([&] { return Eval("document.images[0].naturalWidth").toInt() == 7; }, kWaitMs));
    EXPECT_EQ(form->WebBrowser->LocationURL(), "about:blank");
    const QString folder = QFileInfo(first.toLocalFile()).absolutePath();
    EXPECT_FALSE(folder.startsWith(dir));
    EXPECT_EQ(QFile::permissions(folder) & ~(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner |
                                             QFileDevice::ReadUser | QFileDevice::WriteUser | QFileDevice::ExeUser),
              0);

    const QUrl second = Render("<p>two</p>");
    EXPECT_EQ(BodyText(), "two");
    ASSERT_TRUE(second.isLocalFile());
    EXPECT_NE(second, first);
    EXPECT_FALSE(QFile::exists(first.toLocalFile()));
    EXPECT_TRUE(QFile::exists(second.toLocalFile()));

    delete form;
    form = nullptr;
    EXPECT_TRUE(WaitFor([&] { return !QFileInfo::exists(folder); }, kWaitMs));
}

TEST_F(PreviewPagesTest, APageThatCannotBeWrittenGoesThroughTheDocument)
{
    Start();
    ASSERT_TRUE(WaitForBody("HTML"));
    const QUrl first = Render("<p>one</p>");
    ASSERT_TRUE(first.isLocalFile());
    ASSERT_TRUE(QDir(QFileInfo(first.toLocalFile()).absolutePath()).removeRecursively());
    const QUrl second = Render("<p>two \u00e9</p>");
    EXPECT_FALSE(second.isLocalFile());
    EXPECT_EQ(BodyText(), "two \u00e9");
}

}  // namespace
