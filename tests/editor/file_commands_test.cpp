// New, Open, Save, Save As and Example through their items, with the save prompt's answers.
#include "CommandsFixture.h"
#include "DurableFile.h"
#include "FileCommands.h"
#include "InsertRS.h"

#include <functional>
#include <optional>
#include <stdexcept>

#include <QCoreApplication>
#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace {

const QString kPrompt = QStringLiteral("Do you want to save the changes to your work?");
const QString kSaveError = QStringLiteral("Save Error. Please try selecting another file.");

TEST_F(CommandsTest, NewShowsTheSkeletonWithItsCaptionAndNoFile)
{
    Start();
    Click("btNew");
    const QStringList lines = form->mmHTMLCode->Lines()->ToStringList();
    ASSERT_EQ(lines.size(), 13);
    EXPECT_EQ(lines[0], "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.0 Transitional//EN\">");
    EXPECT_EQ(lines[3], "    <meta name=\"Author\" content=\"YOUR NAME\">");
    EXPECT_EQ(lines[12], "</html>");
    EXPECT_FALSE(form->mmHTMLCode->Text().endsWith('\n'));  // the last line has no line end
    EXPECT_EQ(form->Caption(), "New Document - Zundra's Dynamic HTML Editor");
    EXPECT_TRUE(form->FileName().isEmpty());
    EXPECT_TRUE(form->edPathEdit->Text().isEmpty());
    EXPECT_TRUE(form->Unchanged);
    EXPECT_TRUE(script.Log("MessageBox").isEmpty());  // nothing to ask about
}

// Each byte value but CR and LF, sixteen to a line ended by CR LF.
QByteArray EveryByteInLines()
{
    QByteArray bytes;
    for (int b = 0; b < 256; ++b)
        if (b != '\r' && b != '\n') bytes += char(b) + QByteArray(b % 16 == 15 ? "\r\n" : "");
    return bytes + "\r\n";
}

// Every byte survives an open and a save, except that line ends become CR LF.
TEST_F(CommandsTest, OpenThenSaveKeepsEveryByteButLineEnds)
{
    struct Case {
        const char* name;
        QByteArray in, out;
    };
    const QByteArray bom("\xEF\xBB\xBF");
    const Case cases[] = {
        {"crlf", "<p>a</p>\r\n<p>b</p>\r\n", "<p>a</p>\r\n<p>b</p>\r\n"},
        {"lf and cr", "one\ntwo\rthree", "one\r\ntwo\r\nthree\r\n"},
        {"final empty line", "a\r\n\r\n", "a\r\n\r\n"},
        {"only breaks", "\r\n\r\n\r\n", "\r\n\r\n\r\n"},
        {"bom", bom + "<b>\xC3\xA9t\xC3\xA9</b>\r\n", bom + "<b>\xC3\xA9t\xC3\xA9</b>\r\n"},
        {"invalid utf-8 and nul, no final line end", QByteArray("x\xFF\xC3(\x00y\xE2\x80\xA8z\r\n\x00", 13),
         QByteArray("x\xFF\xC3(\x00y\xE2\x80\xA8z\r\n\x00\r\n", 15)},
        {"empty", "", ""},
        {"latin-1", "<p>caf\xE9</p>\r\n", "<p>caf\xE9</p>\r\n"},
        {"every byte value", EveryByteInLines(), EveryByteInLines()},
        {"marked, with a byte out of place", bom + "caf\xE9\r\n", bom + "caf\xE9\r\n"},
    };
    Start();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QString path = WriteFile(QStringLiteral("in.htm"), c.in);
        script.AnswerFile(path);
        Click("btOpen");
        EXPECT_EQ(form->FileName(), path);
        EXPECT_EQ(form->edPathEdit->Text(), dir);
        EXPECT_EQ(form->Caption(), "in.htm - Zundra's Dynamic HTML Editor");
        EXPECT_TRUE(form->Unchanged);
        form->btSaveClick(form->btSave);  // Save is enabled only once the text changes
        EXPECT_EQ(ReadFile(path), c.out);
    }
    EXPECT_TRUE(script.Log("MessageBox").isEmpty()) << BoxTexts().join('|').toStdString();
    EXPECT_TRUE(QDir(dir).entryList({"*.tmp", ".*"}, QDir::Files | QDir::Hidden).isEmpty());
}

// A file that is not UTF-8 is shown, saved and saved as in the 8-bit code page, until
// another file or a new document takes its place.
TEST_F(CommandsTest, ADocumentKeepsItsEncodingUntilOpenOrNew)
{
    const QString latin = WriteFile("latin.htm", "<p>caf\xE9</p>\r\n");
    const QString utf8 = WriteFile("utf8.htm", "<p>caf\xC3\xA9</p>\r\n");
    Start();
    script.AnswerFile(latin);
    Click("btOpen");
    EXPECT_EQ(form->mmHTMLCode->Lines()->ToStringList(), QStringList{u"<p>caf\u00E9</p>"_s});
    form->mmHTMLCode->SetSelStart(0);
    Type(u"\u0101\u20AC "_s);  // the code page holds the euro sign, not the a with macron
    Click("btSave");
    EXPECT_EQ(ReadFile(latin), "&#257;\x80 <p>caf\xE9</p>\r\n");
    script.AnswerFile(Path("copy.htm"));
    Click("btSaveAs");
    EXPECT_EQ(ReadFile(Path("copy.htm")), ReadFile(latin));

    Click("btNew");
    form->mmHTMLCode->SetSelStart(0);
    Type(u"\u0101"_s);
    script.AnswerFile(Path("new.htm"));
    Click("btSaveAs");
    EXPECT_TRUE(ReadFile(Path("new.htm")).startsWith("\xC4\x81<!DOCTYPE"));

    for (const QString& path : {latin, utf8}) {
        script.AnswerFile(path);
        Click("btOpen");
    }
    form->mmHTMLCode->SetSelStart(0);
    Type(u"\u0101"_s);
    Click("btSave");
    EXPECT_EQ(ReadFile(utf8), "\xC4\x81<p>caf\xC3\xA9</p>\r\n");
    EXPECT_TRUE(script.Log("MessageBox").isEmpty()) << BoxTexts().join('|').toStdString();
}

TEST_F(CommandsTest, PromptAnswersAtNew)
{
    Start();
    Click("btNew");
    const QString before = form->mmHTMLCode->Text();

    Type("x");
    ASSERT_FALSE(form->Unchanged);
    script.AnswerMessage(IDCANCEL);
    Click("btNew");
    EXPECT_EQ(BoxTexts(), QStringList{kPrompt});
    EXPECT_EQ(form->mmHTMLCode->Text(), "x" + before);  // Cancel: nothing happened
    EXPECT_FALSE(form->Unchanged);

    // Yes, then a cancelled Save As: the work stays, as for Cancel.
    script.AnswerMessage(IDYES);
    script.AnswerFile(std::nullopt);
    Click("btNew");
    EXPECT_EQ(form->mmHTMLCode->Text(), "x" + before);
    EXPECT_FALSE(form->Unchanged);
    EXPECT_EQ(script.Log("SaveDialog").size(), 1);

    // Yes with a name: written, then the New goes on.
    script.AnswerMessage(IDYES);
    script.AnswerFile(Path("saved"));
    Click("btNew");
    EXPECT_EQ(ReadFile(Path("saved.htm")).left(1), "x");  // the default extension
    EXPECT_EQ(form->mmHTMLCode->Text(), before);
    EXPECT_TRUE(form->Unchanged);

    // No: the New goes on without writing.
    Type("y");
    script.AnswerMessage(IDNO);
    Click("btNew");
    EXPECT_EQ(form->mmHTMLCode->Text(), before);
    EXPECT_EQ(ReadFile(Path("saved.htm")).left(1), "x");
}

TEST_F(CommandsTest, PromptAnswersAtOpenAndExample)
{
    const QString other = WriteFile("other.htm", "<p>other</p>\r\n");
    Start();
    Type("mine");
    script.AnswerMessage(IDCANCEL);
    Click("btOpen");
    EXPECT_TRUE(script.Log("OpenDialog").isEmpty());
    EXPECT_EQ(form->mmHTMLCode->Text(), "mine");

    script.AnswerMessage(IDCANCEL);
    Click("btExample");
    EXPECT_EQ(form->mmHTMLCode->Text(), "mine");

    script.AnswerMessage(IDYES);
    script.AnswerFile(std::nullopt);  // Save As cancelled
    Click("btExample");
    EXPECT_EQ(form->mmHTMLCode->Text(), "mine");

    script.AnswerMessage(IDNO);
    script.AnswerFile(other);
    Click("btOpen");
    EXPECT_EQ(form->mmHTMLCode->Lines()->ToStringList(), QStringList{"<p>other</p>"});

    Type("!");
    script.AnswerMessage(IDNO);
    Click("btExample");
    EXPECT_EQ(form->Caption(), "Example File - Zundra's Dynamic HTML Editor");
    EXPECT_EQ(form->edPathEdit->Text(), form->ExeDir + "Example");
    EXPECT_TRUE(form->FileName().isEmpty());
    EXPECT_FALSE(form->mmHTMLCode->Text().isEmpty());
    // After Example, Save asks for a name.
    script.AnswerFile(std::nullopt);
    form->btSaveClick(form->btSave);
    EXPECT_EQ(script.Log("SaveDialog").size(), 2);
}

TEST_F(CommandsTest, AFailedOpenRetriesAndLeavesTheDocumentWhole)
{
    const QString good = WriteFile("good.htm", "<p>good</p>");
    Start();
    script.AnswerFile(good);
    Click("btOpen");
    const QString caption = form->Caption();

    script.AnswerFile(Path("missing.htm"));
    script.AnswerFile(std::nullopt);  // the retry is cancelled
    Click("btOpen");
    EXPECT_EQ(BoxTexts(), QStringList{"Can not open file. Please try again."});
    EXPECT_EQ(script.Log("OpenDialog").size(), 3);
    EXPECT_EQ(form->mmHTMLCode->Lines()->ToStringList(), QStringList{"<p>good</p>"});
    EXPECT_EQ(form->FileName(), good);
    EXPECT_EQ(form->edPathEdit->Text(), dir);
    EXPECT_EQ(form->Caption(), caption);
}

TEST_F(CommandsTest, AMissingExampleChangesNothing)
{
    Start();
    Click("btNew");
    form->ExeDir = dir + "/nowhere/";
    Click("btExample");
    EXPECT_EQ(BoxTexts(), QStringList{"Could not find Example file (Example.htm)."});
    EXPECT_TRUE(form->edPathEdit->Text().isEmpty());
    EXPECT_EQ(form->Caption(), "New Document - Zundra's Dynamic HTML Editor");
}

TEST_F(CommandsTest, AFailedSaveKeepsTheOldFileAndFallsBackToSaveAs)
{
    // A file that can be read but whose folder takes no new file, for any user.
    const QString path = QStringLiteral("/proc/version");
    const QByteArray old = ReadFile(path);
    Start();
    script.AnswerFile(path);
    Click("btOpen");
    ASSERT_EQ(form->FileName(), path);
    Type("new ");
    script.AnswerFile(QStringLiteral("/proc/other.htm"));  // the retry fails as well
    script.AnswerFile(std::nullopt);
    Click("btSave");
    EXPECT_EQ(BoxTexts(), QStringList({kSaveError, kSaveError}));
    EXPECT_EQ(script.Log("SaveDialog").size(), 2);
    EXPECT_EQ(ReadFile(path), old);
    EXPECT_FALSE(form->Unchanged);
    EXPECT_EQ(form->FileName(), path);
}

TEST_F(CommandsTest, AnErrorAtTheFlushOrCloseOfASaveIsASaveError)
{
    Start();
    for (const TDurableStep step : {TDurableStep::Sync, TDurableStep::Close}) {
        const QString path = WriteFile(QStringLiteral("page.htm"), "old\r\n");
        script.AnswerFile(path);
        Click("btOpen");
        Type("new ");
        const qsizetype boxes = BoxTexts().size();
        script.AnswerFile(std::nullopt);  // the Save As it falls back to is cancelled
        {
            const TDurableWriteFault fault(step, EIO);
            Click("btSave");
        }
        EXPECT_EQ(BoxTexts().mid(boxes), QStringList{kSaveError});
        EXPECT_EQ(ReadFile(path), "old\r\n");
        EXPECT_FALSE(form->Unchanged);
        EXPECT_EQ(QDir(dir).entryList({"*page.htm*"}, QDir::Files | QDir::Hidden), QStringList{"page.htm"});
        form->Unchanged = true;  // the next Open asks nothing
    }
}

TEST_F(CommandsTest, SaveAsWritesRenamesAndPreviewsAgainstTheNewFolder)
{
    Start();
    Click("btNew");
    QDir().mkpath(Path("sub"));
    script.AnswerFile(Path("sub/page"));
    Click("btSaveAs");
    EXPECT_EQ(form->FileName(), Path("sub/page.htm"));
    EXPECT_EQ(form->edPathEdit->Text(), Path("sub"));
    EXPECT_EQ(form->Caption(), "page.htm - Zundra's Dynamic HTML Editor");
    EXPECT_TRUE(ReadFile(Path("sub/page.htm")).endsWith("</html>\r\n"));

    // Typing "page" again must not silently replace the existing "page.htm".
    Type("changed ");
    script.AnswerFile(Path("sub/page"));
    script.AnswerMessage(IDNO);  // do not replace
    script.AnswerFile(std::nullopt);
    Click("btSaveAs");
    ASSERT_EQ(BoxTexts().size(), 1);
    EXPECT_TRUE(BoxTexts()[0].contains("page.htm already exists"));
    EXPECT_FALSE(ReadFile(Path("sub/page.htm")).startsWith("changed"));
}

// Open and Save As start in the document's folder, else in the one last used; before any,
// in the working folder, or the home folder when the program was started in its own.
TEST_F(CommandsTest, OpenAndSaveAsStartInTheDocumentsFolderElseTheLastOneUsed)
{
    const QString working = QDir::currentPath();
    QDir::setCurrent(QCoreApplication::applicationDirPath());
    Start();
    QDir().mkpath(Path("a"));
    QDir().mkpath(Path("b"));
    WriteFile("a/one.htm", "<p>one</p>");
    struct Step {
        const char* command;
        std::optional<QString> answer;
        QString startsIn;
    };
    const Step steps[] = {
        {"btOpen", std::nullopt, QDir::homePath()},
        {"btSaveAs", std::nullopt, QDir::homePath()},
        {"btOpen", Path("a/one.htm"), QDir::homePath()},
        {"btOpen", std::nullopt, Path("a")},  // the document's folder
        {"btNew", {}, {}},
        {"btSaveAs", Path("b/two.htm"), Path("a")},  // the last one used
        {"btNew", {}, {}},
        {"btOpen", std::nullopt, Path("b")},
        {"btExample", {}, {}},  // the example has no file of its own
        {"btSaveAs", std::nullopt, Path("b")},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(std::string(step.command) + " into " + step.startsIn.toStdString());
        const QString kind = QString(step.command) == "btOpen" ? "OpenDialog" : "SaveDialog";
        const qsizetype runs = script.Log(kind).size();
        if (!step.startsIn.isEmpty()) script.AnswerFile(step.answer);
        Click(step.command);
        if (step.startsIn.isEmpty()) continue;
        ASSERT_EQ(script.Log(kind).size(), runs + 1);
        EXPECT_EQ(script.Log(kind).last().folder, step.startsIn);
    }
    QDir::setCurrent(working);
}

TEST_F(CommandsTest, CloseAsksAndCancelKeepsTheWindowOpen)
{
    Start();
    Type("work");
    script.AnswerMessage(IDCANCEL);
    EXPECT_FALSE(CloseWindow());
    EXPECT_EQ(BoxTexts(), QStringList{kPrompt});

    script.AnswerMessage(IDYES);
    script.AnswerFile(std::nullopt);  // Yes without a save acts as Cancel
    EXPECT_FALSE(CloseWindow());

    script.AnswerMessage(IDYES);
    script.AnswerFile(Path("kept.htm"));
    EXPECT_TRUE(CloseWindow());
    EXPECT_EQ(ReadFile(Path("kept.htm")), "work\r\n");
}

TEST_F(CommandsTest, AnUnreadableCommandLineFileFallsBackToNew)
{
    Start({Path("missing.htm")});
    EXPECT_EQ(BoxTexts(), QStringList{"Cannot Open The VESK File."});
    EXPECT_EQ(form->mmHTMLCode->Text(), InsertRS::LoadStr(InsertRS::sNewDocument).replace("\r\n", "\n"));
    EXPECT_EQ(form->Caption(), "New Document - Zundra's Dynamic HTML Editor");
}

// Whatever fails while the file is read, not only the library's own errors, ends in the one
// message and a new document, with nothing of the failed file taken over.
TEST_F(CommandsTest, AnyFailureOfTheCommandLineOpenFallsBackToNew)
{
    Start();
    const QString newText = InsertRS::LoadStr(InsertRS::sNewDocument).replace("\r\n", "\n");
    const std::function<TTextDocument(const QString&)> failures[] = {
        [](const QString&) -> TTextDocument { throw std::runtime_error("disk on fire"); },
        [](const QString&) -> TTextDocument { throw 42; },
    };
    for (const auto& failing : failures) {
        script.ClearLog();
        form->mmHTMLCode->SetText("<p>before</p>");
        form->Unchanged = true;
        form->FileToOpen = WriteFile("cmd.htm", "<p>never shown</p>");
        TFileCommands commands(*form, failing);
        EXPECT_NO_THROW(commands.OpenCommandLineFile());
        EXPECT_EQ(BoxTexts(), QStringList{"Cannot Open The VESK File."});
        EXPECT_EQ(form->mmHTMLCode->Text(), newText);
        EXPECT_EQ(form->Caption(), "New Document - Zundra's Dynamic HTML Editor");
        EXPECT_TRUE(form->FileName().isEmpty());
    }
}

TEST_F(CommandsTest, TheCommandLineFileKeepsItsByteOrderMarkAndFinalEmptyLine)
{
    const QByteArray bytes("\xEF\xBB\xBFline\r\n\r\n");
    const QString path = WriteFile("cmd.htm", bytes);
    Start({path});
    EXPECT_EQ(form->FileName(), path);
    form->btSaveClick(form->btSave);
    EXPECT_EQ(ReadFile(path), bytes);
}

}  // namespace
