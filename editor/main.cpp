// The editor program: one main window over a live preview.
#include "Application.h"
#include "ExceptionBarrier.h"
#include "WebBrowser.h"
#include "WebSchemes.h"
#include "dxBarManager.h"
#include "dxBarRegistry.h"
#include "dxBarStrs.h"
#include "frmHTML.h"

#include <QByteArray>
#include <unistd.h>

// The browser engine refuses to start as root unless its sandbox is off.
static void AllowBrowserAsRoot() {
    if (geteuid() != 0) return;
    QByteArray flags = qgetenv("QTWEBENGINE_CHROMIUM_FLAGS");
    if (flags.contains("--no-sandbox")) return;
    qputenv("QTWEBENGINE_CHROMIUM_FLAGS", flags + " --no-sandbox");
}

int main(int argc, char** argv) {
    AllowBrowserAsRoot();
    RegisterWebSchemes();
    TQtApplication app(argc, argv);
    QStringList arguments = app.arguments();
    arguments.removeFirst();
    TfrmMain::SetArguments(arguments);
    RegisterWebClasses();
    dxBarInitialize();
    dxBarRegisterManagerClasses();
    dxBarRegisterExtendedTexts();  // the editor carries the extended items' texts too
    SetProgramResourcePrefix(QStringLiteral(":/editor"));
    Application->SetTitle(QStringLiteral("Zundra's HTML Editor"));
    Application->CreateForm(frmMain);
    Application->Run();
    return 0;
}
