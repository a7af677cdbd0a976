// Usage: commands_bench [--long-lines]
// Prints the editor's Open and Save of 1 MB and 20 MB documents beside a bare text pane
// given the same text in the same run, and Find Next from the start to a match at the end;
// then Open of, and typing in, a document that is one line without a break point (an inline
// image's data) beside Open of, and typing in, 1 MB of ordinary lines.
#include "Application.h"
#include "BrowserBench.h"
#include "DialogScript.h"
#include "ExceptionBarrier.h"
#include "RegistryStore.h"
#include "StdCtrls.h"
#include "TextFile.h"
#include "WebBrowser.h"
#include "WebSchemes.h"
#include "dxBarExtItems.h"
#include "dxBarRegistry.h"
#include "frmHTML.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QSaveFile>
#include <QTextLayout>
#include <QTemporaryDir>
#include <algorithm>
#include <utility>
#include <vector>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fcntl.h>
#include <unistd.h>

namespace {

QByteArray MakeDocument(qsizetype size, const QByteArray& tail)
{
    const QByteArray line =
        QByteArray("<p class=\"x\">Caf\xC3\xA9 na\xC3\xAFve \xE2\x82\xAC 42 text <b>bold</b></p>\r\n");
    QByteArray doc = "<html><head><title>bench</title></head><body>\r\n";
    doc.reserve(size + line.size());
    while (doc.size() < size - tail.size()) doc += line;
    return doc + tail;
}

// The best of a few runs, in milliseconds.
template <class F>
double BestMs(int runs, F&& run)
{
    double best = 1e300;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer timer;
        timer.start();
        run();
        best = std::min(best, timer.nsecsElapsed() / 1e6);
    }
    return best;
}

void Settle()
{
    for (int i = 0; i < 5; ++i) Application->ProcessMessages();
}

double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// Milliseconds of the calling thread's processor time so far: unlike the clock, it does
// not count the time other processes hold the processor.
double ThreadCpuMs()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

// Medians of runs of one side: clock time and the main thread's processor time.
struct TTimes {
    double wall = 0;
    double cpu = 0;
};

// Medians, in milliseconds, of runs of a and b taken in turn, events handled between them.
template <class A, class B>
std::pair<TTimes, TTimes> AlternatingMedians(int runs, A&& a, B&& b)
{
    std::vector<double> aWall, aCpu, bWall, bCpu;
    const auto measure = [](auto&& run, std::vector<double>& wall, std::vector<double>& cpu) {
        const double cpuStart = ThreadCpuMs();
        wall.push_back(BestMs(1, run));
        cpu.push_back(ThreadCpuMs() - cpuStart);
        Settle();
    };
    for (int i = 0; i < runs; ++i) {
        measure(a, aWall, aCpu);
        measure(b, bWall, bCpu);
    }
    return {{Median(aWall), Median(aCpu)}, {Median(bWall), Median(bCpu)}};
}

void Compare(const char* what, TTimes ours, TTimes bare, double goal)
{
    std::printf("  %-22s VESK %8.1f ms   bare pane %8.1f ms   ratio %.2f", what, ours.wall, bare.wall,
                bare.wall > 0 ? ours.wall / bare.wall : 0.0);
    if (goal > 0) std::printf(" (goal <= %.1f)", goal);
    std::printf("\n");
    std::printf("  %-22s main thread's processor time: VESK %8.1f ms   bare pane %8.1f ms   ratio %.2f\n", "", ours.cpu,
                bare.cpu, bare.cpu > 0 ? ours.cpu / bare.cpu : 0.0);
}

// An image inline in the page: one line whose data has no break point.
QByteArray OneLongLine(qsizetype size)
{
    QByteArray doc = "<html><body><p>An image:</p><img alt=\"inline\" src=\"data:image/png;base64,";
    const QByteArray tail = "\"></body></html>";
    doc.reserve(size);
    for (int i = 0; doc.size() < size - tail.size(); ++i) doc += char('A' + i % 26);
    return doc + tail;
}

void WriteFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    f.write(bytes);
}

// One key typed into the pane at its cursor, and the events it leaves handled.
void TypeKey(QPlainTextEdit* pane)
{
    QKeyEvent press(QEvent::KeyPress, Qt::Key_X, Qt::NoModifier, QStringLiteral("x"));
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_X, Qt::NoModifier, QStringLiteral("x"));
    QCoreApplication::sendEvent(pane, &press);
    QCoreApplication::sendEvent(pane, &release);
    Settle();
}

// Medians of keys typed at the position, one at a time, after the document at path is opened.
TTimes Typing(TfrmMain* form, TDialogScript& script, const QString& path, int position, int keys)
{
    form->Unchanged = true;
    script.AnswerFile(path);
    form->Open1Click(form->btOpen);
    form->mmHTMLCode->SetSelStart(position);
    Settle();
    std::vector<double> wall, cpu;
    for (int i = 0; i < keys; ++i) {
        const double cpuStart = ThreadCpuMs();
        wall.push_back(BestMs(1, [&] { TypeKey(form->mmHTMLCode->Editor()); }));
        cpu.push_back(ThreadCpuMs() - cpuStart);
    }
    return {Median(wall), Median(cpu)};
}

void PrintLongLine(const char* what, TTimes line, TTimes ordinary, double goal)
{
    std::printf("  %-22s one line %8.1f ms   1 MB of lines %8.1f ms   ratio %.2f", what, line.wall, ordinary.wall,
                ordinary.wall > 0 ? line.wall / ordinary.wall : 0.0);
    if (goal > 0) std::printf(" (goal <= %.1f)", goal);
    std::printf("\n  %-22s main thread's processor time: one line %8.1f ms   1 MB of lines %8.1f ms   ratio %.2f\n", "",
                line.cpu, ordinary.cpu, ordinary.cpu > 0 ? line.cpu / ordinary.cpu : 0.0);
}

// Open of, and typing in, one line without a break point, beside 1 MB of ordinary lines.
void LongLines(TfrmMain* form, TDialogScript& script, const QString& dir)
{
    const QString ordinary = dir + "/ordinary.htm";
    const QByteArray ordinaryBytes = MakeDocument(1024 * 1024, "</body></html>\r\n");
    WriteFile(ordinary, ordinaryBytes);
    const auto open = [&](const QString& path) {
        return [&form, &script, path] {
            form->Unchanged = true;  // no save prompt
            script.AnswerFile(path);
            form->Open1Click(form->btOpen);
        };
    };
    const TTimes typingOrdinary = Typing(form, script, ordinary, int(ordinaryBytes.size() / 2), 9);
    for (const qsizetype kb : {100, 300, 1024}) {
        const QByteArray bytes = OneLongLine(kb * 1024);
        const QString path = dir + QStringLiteral("/line%1k.htm").arg(kb);
        WriteFile(path, bytes);
        std::printf("one line without a break point, %lld KB:\n", (long long)kb);
        const auto [openLine, openOrdinary] = AlternatingMedians(kb < 1024 ? 3 : 5, open(path), open(ordinary));
        PrintLongLine("open to editable", openLine, openOrdinary, kb == 1024 ? 1.2 : 0);
        // Keys typed where users type in such a line: at the start of the image's data, amid
        // it, and at the line's end. The pane lays out the line from its start as far as the
        // cursor, so where the key goes matters.
        const int dataStart = int(bytes.indexOf("base64,")) + 7;
        const struct {
            const char* what;
            int at;
        } places[] = {{"typing at data start", dataStart},
                      {"typing amid the data", int(bytes.size() / 2)},
                      {"typing at line end", int(bytes.size())}};
        for (const auto& place : places) {
            const TTimes typing = Typing(form, script, path, place.at, 9);
            PrintLongLine(place.what, typing, typingOrdinary, 0);
            std::printf("  %-22s per key: %.2f ms (goal <= 2 ms at 1 MB)\n", place.what, typing.wall);
        }
        // The least any layout of the paragraph after an edit costs, whatever it keeps: the
        // text layout reads the whole paragraph into its runs of one script and direction, and
        // finds the break points and cursor positions of all of it, before its first line.
        QPlainTextEdit* const pane = form->mmHTMLCode->Editor();
        const QString text = QString::fromUtf8(bytes);
        double itemize = 1e300, attributes = 1e300;
        for (int i = 0; i < 3; ++i) {
            QTextLayout layout(text, pane->font());
            itemize = std::min(itemize, BestMs(1, [&] { layout.beginLayout(); }));
            attributes = std::min(attributes, BestMs(1, [&] { layout.isValidCursorPosition(0); }));
            layout.endLayout();
        }
        std::printf(
            "  after an edit the text layout reads the paragraph in %.1f ms and finds its break points in "
            "%.1f ms\n",
            itemize, attributes);
        // The text layout alone breaking all of the paragraph anywhere.
        const double floor = BestMs(3, [&] {
            QTextLayout layout(text, pane->font());
            QTextOption option;
            option.setWrapMode(QTextOption::WrapAnywhere);
            layout.setTextOption(option);
            layout.beginLayout();
            for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine())
                line.setLineWidth(pane->viewport()->width());
            layout.endLayout();
        });
        std::printf("  the pane's lines: %d; the text layout alone lays them out in %.1f ms\n",
                    pane->document()->lineCount(), floor);
        if (kb == 100) {
            // Before the pane had a layout of its own: a bare pane given the same text.
            QPlainTextEdit bare;
            bare.setFont(pane->font());
            bare.resize(pane->size());
            bare.show();
            const double bareOpen = BestMs(1, [&] {
                bare.setPlainText(text);
                Settle();
            });
            std::printf("  a bare pane opens it in %.1f ms\n", bareOpen);
        }
    }
}

void PrintLoad(const char* when)
{
    double load[3] = {};
    if (getloadavg(load, 3) == 3) std::printf("load average %s: %.2f %.2f %.2f\n", when, load[0], load[1], load[2]);
}

}  // namespace

int main(int argc, char** argv)
{
    // Headless, and without the browser engine's sandbox, which refuses to run as root.
    QTemporaryDir home;
    browserbench::HeadlessEnvironment(home.path().toLocal8Bit());
    RegisterWebSchemes();
    TQtApplication app(argc, argv);
    QTemporaryDir dir;
    TRegistryStore::SetDefaultFileForTesting(dir.path() + "/registry.json");
    RegisterWebClasses();
    dxBarInitialize();
    dxBarRegisterManagerClasses();
    dxBarExtItemsInitialize();  // the form holds extended items
    TDialogScript script;
    TfrmMain* form = nullptr;
    Application->CreateForm(form);
    frmMain = form;
    form->Show();
    Settle();
    PrintLoad("at the start");

    // --long-lines: only the figures of one line without a break point.
    const bool longLinesOnly = argc > 1 && QByteArray(argv[1]) == "--long-lines";
    const int runs = 3;
    const QByteArray mark = "<p>UNIQUE-END-MARK</p>\r\n</body></html>\r\n";
    for (const qsizetype mb : {1, 20}) {
        if (longLinesOnly) break;
        const QByteArray bytes = MakeDocument(mb * 1024 * 1024, mark);
        const QString path = dir.path() + QStringLiteral("/doc%1.htm").arg(mb);
        QFile f(path);
        f.open(QIODevice::WriteOnly);
        f.write(bytes);
        f.close();
        std::printf("%lld MB document (%lld lines):\n", (long long)mb, (long long)bytes.count('\n'));

        // Open: from the command to an editable pane holding the text, beside a bare pane with
        // the same font and wrapping reading the file itself; the runs alternate, so both see
        // the same machine. The preview's render runs between runs, off the command's path.
        QPlainTextEdit bare;
        const QPlainTextEdit* const codePane = form->mmHTMLCode->Editor();
        bare.setFont(codePane->font());
        bare.setLineWrapMode(codePane->lineWrapMode());
        bare.setWordWrapMode(codePane->wordWrapMode());
        bare.resize(codePane->size());
        bare.show();
        const int pairs = mb == 1 ? 9 : 5;
        const auto [openOurs, openBare] = AlternatingMedians(
            pairs,
            [&] {
                form->Unchanged = true;  // no save prompt
                script.AnswerFile(path);
                form->Open1Click(form->btOpen);
            },
            [&] {
                QFile in(path);
                in.open(QIODevice::ReadOnly);
                bare.setPlainText(QString::fromUtf8(in.readAll()));
            });
        Compare("open to editable", openOurs, openBare, 1.2);
        {
            // Where Open's time goes: the file read and decoded, the pane given the text, the
            // path bar given the folder.
            TTextDocument document;
            const double read = BestMs(runs, [&] { document = ReadTextFile(path); });
            TMemo* const pane = form->mmHTMLCode;
            const double paneAndEvents = BestMs(runs, [&] {
                pane->SetText(document.text);
                Settle();
            });
            const QString folder = QFileInfo(path).absolutePath();
            const double pathBar = BestMs(runs, [&] {
                form->edPathEdit->SetText({});
                form->edPathEdit->SetText(folder);
            });
            pane->SetText(document.text);
            Settle();
            const double paneNoSettle = BestMs(runs, [&] { pane->SetText(document.text); });
            Settle();
            std::printf(
                "    of which: read and decode %.1f ms, pane %.1f ms (%.1f ms of it before events), path "
                "bar %.1f ms\n",
                read, paneAndEvents, paneNoSettle, pathBar);

            // The read and decode beside a plain program's, each text dropped before the next
            // read as Open drops the old document.
            const auto [readOurs, readPlain] = AlternatingMedians(
                9,
                [&] {
                    document = {};
                    document = ReadTextFile(path);
                },
                [&] {
                    document = {};
                    QFile in(path);
                    in.open(QIODevice::ReadOnly);
                    document.text = QString::fromUtf8(in.readAll());
                });
            Compare("read and decode", readOurs, readPlain, 0);
        }

        // Save: ours writes through a temporary file, its flush to the disk, a rename and the
        // folder's flush; the bare pane's text is written both plainly and the same safe way.
        const QString barePath = dir.path() + "/bare.htm";
        const auto [saveOurs, saveBare] = AlternatingMedians(
            pairs, [&] { form->btSaveClick(form->btSave); },
            [&] {
                QFile out(barePath);
                out.open(QIODevice::WriteOnly);
                out.write(bare.toPlainText().toUtf8());
            });
        const auto [saveOursAgain, saveBareSafe] = AlternatingMedians(
            pairs, [&] { form->btSaveClick(form->btSave); },
            [&] {
                QSaveFile out(barePath);
                out.open(QIODevice::WriteOnly);
                out.write(bare.toPlainText().toUtf8());
                out.commit();
                const int folder = ::open(QFile::encodeName(dir.path()).constData(), O_RDONLY | O_DIRECTORY);
                ::fsync(folder);
                ::close(folder);
            });
        Compare("save", saveOurs, saveBare, 1.2);
        Compare("save, bare written safely", saveOursAgain, saveBareSafe, 1.2);
        {
            // Where Save's time goes: the pane's lines, their encoding, and the write through a
            // temporary file, its flush to the disk, the rename and the folder's flush.
            QStringList lines;
            const double split = BestMs(runs, [&] {
                form->mmHTMLCode->Lines()->Text();  // nothing cached: the text is split anew
                lines = form->mmHTMLCode->Lines()->ToStringList();
            });
            QByteArray encoded;
            const double encode = BestMs(runs, [&] { encoded = FormatTextDocument(lines, false); });
            const double write = BestMs(runs, [&] { WriteTextFile(path, lines, false); });
            std::printf("    of which: lines %.1f ms, encoding %.1f ms, temporary file, flushes and rename %.1f ms\n",
                        split, encode, write - encode);
        }
        std::printf("  saved bytes identical to the file: %s\n", QFile(path).size() == bytes.size() ? "yes" : "NO");

        form->FindDlg->SetFindText(QStringLiteral("unique-end-mark"));
        // Each search follows an edit at the start, as when the user types and then searches.
        double find = 1e300;
        for (int i = 0; i < runs; ++i) {
            form->mmHTMLCode->SetSelStart(0);
            form->mmHTMLCode->SetSelText(QStringLiteral("x"));
            form->mmHTMLCode->SetSelStart(0);
            find = std::min(find, BestMs(1, [&] { form->btFindNextClick(form); }));
        }
        const bool found = form->mmHTMLCode->SelText() == QStringLiteral("UNIQUE-END-MARK");
        std::printf("  Find Next start to end: %.1f ms (goal <= 50 ms at 20 MB)%s\n", find, found ? "" : "  NOT FOUND");
        Settle();
    }
    LongLines(form, script, dir.path());
    PrintLoad("at the end");
    form->Unchanged = true;
    delete form;
    return 0;
}
