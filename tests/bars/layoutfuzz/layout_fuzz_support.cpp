#include "FormClasses.h"
#include "FormResources.h"
#include "Forms.h"
#include "IniFiles.h"
#include "LayoutFuzz.h"
#include "Registry.h"
#include "TextFile.h"
#include "dxBarBar.h"
#include "dxBarDockControls.h"
#include "dxBarItemLink.h"
#include "dxBarItems.h"
#include "dxBarLayoutStore.h"
#include "dxBarManager.h"
#include "dxBarExtItems.h"
#include "dxBarRegistry.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>
#include <memory>

namespace {

const QString kPath = QStringLiteral("\\Software\\Morvath\\Toolbars");

// The editor's form resource without its browser control (which needs no layout and
// would cost most of each run), read without event bindings.
const QString& EditorFormText()
{
    static const QString text = [] {
        QFile file(QStringLiteral(":/forms/TfrmMain.form"));
        if (!file.open(QIODevice::ReadOnly)) {
            std::fprintf(stderr, "the editor's form resource is missing\n");
            std::abort();
        }
        QStringList lines = QString::fromUtf8(file.readAll()).split(u'\n');
        const qsizetype start =
            lines.indexOf(QRegularExpression(QStringLiteral("^\\s*object WebBrowser: TWebBrowser")));
        if (start >= 0) {
            const QString end = lines[start].section(u'o', 0, 0) + QStringLiteral("end");
            qsizetype stop = start;
            while (stop < lines.size() && lines[stop] != end) ++stop;
            lines.erase(lines.begin() + start, lines.begin() + qMin(stop + 1, lines.size()));
        }
        return lines.join(u'\n').replace(QStringLiteral("object frmMain: TfrmMain"),
                                         QStringLiteral("object frmMain: TForm"));
    }();
    return text;
}

// The input files live in memory where the system offers it: every input is written there.
QTemporaryDir& StoreDir()
{
    static QTemporaryDir dir(QDir(QStringLiteral("/dev/shm")).exists()
                                 ? QStringLiteral("/dev/shm/vesk-layout-fuzz-XXXXXX")
                                 : QDir::tempPath() + QStringLiteral("/vesk-layout-fuzz-XXXXXX"));
    return dir;
}

QString InputFile(TLayoutFuzzFormat format)
{
    return StoreDir().path() +
           (format == TLayoutFuzzFormat::Ini ? QStringLiteral("/bars.ini") : QStringLiteral("/registry.json"));
}

// The editor's form as the program reads it, its layout restored from the input file;
// for the ini format the manager keeps its layout in that file instead of the registry.
std::unique_ptr<TForm> OpenEditorForm(TLayoutFuzzFormat format)
{
    static const QString iniText = [] {
        QString text = EditorFormText();
        text.replace(
            QStringLiteral("StoreInRegistry = True"),
            QStringLiteral("IniFileName = '%1'\n    StoreInIniFile = True").arg(InputFile(TLayoutFuzzFormat::Ini)));
        return text;
    }();
    TRegistryStore::SetDefaultFileForTesting(InputFile(TLayoutFuzzFormat::Registry));
    auto form = std::make_unique<TForm>(nullptr);
    ReadComponentFromText(format == TLayoutFuzzFormat::Ini ? iniText : EditorFormText(), form.get(), true);
    return form;
}

// What must hold after any input.
const char* CheckLayout(TdxBarManager* m, int formBars)
{
    TdxBars* bars = m->Bars();
    if (bars->Count() < formBars || bars->Count() > formBars + TdxBarLayoutStore::MaxBars) return "bar count";
    QSet<QString> captions;
    for (int i = 0; i < bars->Count(); ++i) {
        TdxBar* bar = bars->Items(i);
        if (!bar->Caption().isEmpty()) {
            if (captions.contains(bar->Caption())) return "duplicate caption";
            captions.insert(bar->Caption());
        }
        if (bar->DockControl() && bar->DockControl()->BarManager() != m) return "foreign dock control";
        if (bar->DockedDockControl() && bar->DockedDockControl()->BarManager() != m)
            return "foreign docked dock control";
        if (int(bar->DockingStyle()) < dsNone || int(bar->DockingStyle()) > dsBottom) return "docking style";
        if (int(bar->DockedDockingStyle()) < dsNone || int(bar->DockedDockingStyle()) > dsBottom) return "docked style";
        for (int v : {bar->DockedLeft(), bar->DockedTop(), bar->FloatLeft(), bar->FloatTop()})
            if (v < -32767 || v > 32767) return "position out of range";
        for (int v : {bar->Row(), bar->FloatClientWidth(), bar->FloatClientHeight()})
            if (v < 0 || v > 32767) return "size out of range";
        TdxBarItemLinks* links = bar->ItemLinks();
        if (links->Count() > TdxBarLayoutStore::MaxLinks) return "link count";
        for (int j = 0; j < links->Count(); ++j) {
            TdxBarItemLink* link = links->Items(j);
            if (!link->Item() || link->Item()->BarManager() != m) return "link without an item of the manager";
            if (link->UserDefine().toInt() & ~0x0F) return "user define bits";
            if (int(link->UserPaintStyle()) < psStandard || int(link->UserPaintStyle()) > psCaptionGlyph)
                return "paint style";
            if (link->UseCount() < 0) return "use count";
        }
    }
    if (m->MenuAnimations() < maNone || m->MenuAnimations() > maSlide) return "menu animations";
    return nullptr;
}

// Never destroyed: a form still kept when the fuzzer exits would be freed after the library's
// own objects, which are destroyed at exit in no order we control.
std::unique_ptr<TForm>& WarmForm()
{
    static auto* form = new std::unique_ptr<TForm>;
    return *form;
}

}  // namespace

void LayoutFuzzEndWarm()
{
    WarmForm().reset();
}

void LayoutFuzzInitialize()
{
    static bool done = false;
    if (done) return;
    done = true;
    dxBarInitialize();
    dxBarRegisterManagerClasses();
    dxBarExtItemsInitialize();  // the form holds extended items
    RegisterFormClasses();
}

QByteArray LayoutFuzzSeed(TLayoutFuzzFormat format)
{
    LayoutFuzzInitialize();
    QFile::remove(InputFile(format));
    std::unique_ptr<TForm> form = OpenEditorForm(format);
    TdxBarManager* m = TdxBarManagerList::Instance()->FindByForm(form.get());
    if (format == TLayoutFuzzFormat::Ini) {
        TMemIniFile ini = TMemIniFile::FromText(QString());
        TdxBarLayoutStore(m).SaveToIni(ini);
        return EncodeText(ini.Lines().join(QStringLiteral("\r\n")));
    }
    const QString file = StoreDir().path() + QStringLiteral("/seed.json");
    QFile::remove(file);
    TRegistryStore store(file);
    TRegistry(&store).ReplaceKeyTree(kPath, {}, TdxBarLayoutStore(m).RegistryTree());
    QFile f(file);
    f.open(QIODevice::ReadOnly);
    return f.readAll();
}

const char* LayoutFuzzOneInputChecked(TLayoutFuzzFormat format, const std::uint8_t* data, std::size_t size)
{
    LayoutFuzzInitialize();
    const int managersBefore = TdxBarManagerList::Instance()->Count();
    {
        QFile input(InputFile(format));
        if (!input.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
            input.write(reinterpret_cast<const char*>(data), qint64(size)) != qint64(size))
            return "cannot write the input file";
    }
    // Reading the form restores the layout from the input, as the editor's start does.
    std::unique_ptr<TForm> form = OpenEditorForm(format);
    TdxBarManager* m = TdxBarManagerList::Instance()->FindByForm(form.get());
    if (!m) return "the editor's form has no manager";
    const int formBars = 5;
    if (const char* failure = CheckLayout(m, formBars)) return failure;
    // What is saved reads back whole.
    const TdxBarLayoutStore store(m);
    if (format == TLayoutFuzzFormat::Registry) {
        const TRegKeyData saved = store.RegistryTree();
        store.LoadFromRegistryTree(saved);
        if (store.RegistryTree().keys.size() != saved.keys.size()) return "a saved layout reads back otherwise";
    } else {
        TMemIniFile ini = TMemIniFile::FromText(QString());
        store.SaveToIni(ini);
        const TMemIniFile reread = TMemIniFile::FromText(ini.Lines().join(QStringLiteral("\r\n")));
        store.LoadFromIni(reread);
        if (reread.ReadInteger(store.IniSectionPrefix() + QStringLiteral("Main"), QStringLiteral("BarCount"), -1) !=
            m->Bars()->Count())
            return "a saved layout reads back otherwise";
    }
    if (const char* failure = CheckLayout(m, formBars)) return failure;
    // Freeing the form stores the layout into the input file, as the editor's end does.
    form.reset();
    if (TdxBarManagerList::Instance()->Count() != managersBefore) return "a manager outlived its form";
    return nullptr;
}

const char* LayoutFuzzOneInputWarm(TLayoutFuzzFormat format, const std::uint8_t* data, std::size_t size)
{
    // Loaded layouts only add bars, so the form is replaced before it grows far, and now and
    // then anyway so that reading the form and freeing it keep being exercised.
    std::unique_ptr<TForm>& form = WarmForm();
    static int sinceFresh = 0;
    constexpr int formBars = 5;
    TdxBarManager* m = form ? TdxBarManagerList::Instance()->FindByForm(form.get()) : nullptr;
    if (!m || ++sinceFresh >= 500 || m->Bars()->Count() > formBars + 50) {
        form.reset();
        sinceFresh = 0;
        if (const char* failure = LayoutFuzzOneInputChecked(format, data, size)) return failure;
        QFile::remove(InputFile(format));
        form = OpenEditorForm(format);
        return TdxBarManagerList::Instance()->FindByForm(form.get()) ? nullptr : "the editor's form has no manager";
    }
    {
        QFile input(InputFile(format));
        if (!input.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
            input.write(reinterpret_cast<const char*>(data), qint64(size)) != qint64(size))
            return "cannot write the input file";
    }
    const TdxBarLayoutStore store(m);
    if (format == TLayoutFuzzFormat::Registry) {
        // A new store object reads the file afresh even when its stamp looks unchanged.
        TRegistryStore::SetDefaultFileForTesting(InputFile(format));
        store.LoadFromRegistry(kPath);
    } else {
        store.LoadFromIniFile(InputFile(format));
    }
    if (const char* failure = CheckLayout(m, formBars)) return failure;
    // The read-back of what is saved costs as much as the load; every fourth input does it.
    static int sinceReadBack = 0;
    if (++sinceReadBack < 4) return nullptr;
    sinceReadBack = 0;
    if (format == TLayoutFuzzFormat::Registry) {
        store.LoadFromRegistryTree(store.RegistryTree());
    } else {
        TMemIniFile ini = TMemIniFile::FromText(QString());
        store.SaveToIni(ini);
        store.LoadFromIni(TMemIniFile::FromText(ini.Lines().join(QStringLiteral("\r\n"))));
    }
    return CheckLayout(m, formBars);
}

void LayoutFuzzOneInput(TLayoutFuzzFormat format, const std::uint8_t* data, std::size_t size)
{
    if (const char* failure = LayoutFuzzOneInputWarm(format, data, size)) {
        std::fprintf(stderr, "bar layout store fuzz failure: %s\n", failure);
        std::abort();
    }
}
