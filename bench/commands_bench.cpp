// Prints the editor's Open and Save of 1 MB and 20 MB documents beside a bare text pane
// given the same text in the same run, and Find Next from the start to a match at the end.
#include "Application.h"
#include "DialogScript.h"
#include "ExceptionBarrier.h"
#include "RegistryStore.h"
#include "StdCtrls.h"
#include "TextFile.h"
#include "WebBrowser.h"
#include "WebSchemes.h"
#include "dxBarRegistry.h"
#include "dxBarStrs.h"
#include "frmHTML.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QPlainTextEdit>
#include <QSaveFile>
#include <QTemporaryDir>
#include <algorithm>
#include <utility>
#include <vector>
#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace {

QByteArray MakeDocument(qsizetype size, const QByteArray& tail) {
    const QByteArray line = QByteArray("<p class=\"x\">Caf\xC3\xA9 na\xC3\xAFve \xE2\x82\xAC 42 text <b>bold</b></p>\r\n");
    QByteArray doc = "<html><head><title>bench</title></head><body>\r\n";
    doc.reserve(size + line.size());
    while (doc.size() < size - tail.size()) doc += line;
    return doc + tail;
}

// The best of a few runs, in milliseconds.
template <class F>
double BestMs(int runs, F&& run) {
    double best = 1e300;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer timer;
        timer.start();
        run();
        best = std::min(best, timer.nsecsElapsed() / 1e6);
    }
    return best;
}

void Settle() {
    for (int i = 0; i < 5; ++i) Application->ProcessMessages();
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// Milliseconds of the calling thread's processor time so far: unlike the clock, it does
// not count the time other processes hold the processor.
double ThreadCpuMs() {
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
std::pair<TTimes, TTimes> AlternatingMedians(int runs, A&& a, B&& b) {
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

void Compare(const char* what, TTimes ours, TTimes bare, double goal) {
    std::printf("  %-22s VESK %8.1f ms   bare pane %8.1f ms   ratio %.2f", what, ours.wall, bare.wall,
                bare.wall > 0 ? ours.wall / bare.wall : 0.0);
    if (goal > 0) std::printf(" (goal <= %.1f)", goal);
    std::printf("\n");
    std::printf("  %-22s main thread's processor time: VESK %8.1f ms   bare pane %8.1f ms   ratio %.2f\n", "",
                ours.cpu, bare.cpu, bare.cpu > 0 ? ours.cpu / bare.cpu : 0.0);
}

void PrintLoad(const char* when) {
    double load[3] = {};
    if (getloadavg(load, 3) == 3) std::printf("load average %s: %.2f %.2f %.2f\n", when, load[0], load[1], load[2]);
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    RegisterWebSchemes();
    TQtApplication app(argc, argv);
    QTemporaryDir dir;
    TRegistryStore::SetDefaultFileForTesting(dir.path() + "/registry.json");
    RegisterWebClasses();
    dxBarInitialize();
    dxBarRegisterManagerClasses();
    dxBarRegisterExtendedTexts();
    TDialogScript script;
    TfrmMain* form = nullptr;
    Application->CreateForm(form);
    frmMain = form;
    form->Show();
    Settle();
    PrintLoad("at the start");

    const int runs = 3;
    const QByteArray mark = "<p>UNIQUE-END-MARK</p>\r\n</body></html>\r\n";
    for (const qsizetype mb : {1, 20}) {
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
            std::printf("    of which: read and decode %.1f ms, pane %.1f ms (%.1f ms of it before events), path "
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

        // Save: ours writes through a temporary file, its flush to the disk and a rename; the
        // bare pane's text is written both plainly and the same safe way.
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
            });
        Compare("save", saveOurs, saveBare, 1.2);
        Compare("save, bare written safely", saveOursAgain, saveBareSafe, 1.2);
        {
            // Where Save's time goes: the pane's lines, their encoding, and the write through a
            // temporary file, its flush to the disk and the rename.
            QStringList lines;
            const double split = BestMs(runs, [&] {
                form->mmHTMLCode->Lines()->Text();  // nothing cached: the text is split anew
                lines = form->mmHTMLCode->Lines()->ToStringList();
            });
            QByteArray encoded;
            const double encode = BestMs(runs, [&] { encoded = FormatTextDocument(lines, false); });
            const double write = BestMs(runs, [&] { WriteTextFile(path, lines, false); });
            std::printf("    of which: lines %.1f ms, encoding %.1f ms, temporary file, flush and rename %.1f ms\n",
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
    PrintLoad("at the end");
    form->Unchanged = true;
    delete form;
    return 0;
}
