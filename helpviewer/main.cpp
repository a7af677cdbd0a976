// The help viewer program: one window over the help pages compiled into it.
#include "Application.h"
#include "ExceptionBarrier.h"
#include "WebBrowser.h"
#include "WebSchemes.h"
#include "dxBarManager.h"
#include "dxBarRegistry.h"
#include "frm_HelpMain.h"

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
    TfrmHelpMain::SetArguments(arguments);
    RegisterWebClasses();
    dxBarInitialize();
    dxBarRegisterManagerClasses();
    SetProgramResourcePrefix(QStringLiteral(":/help"));
    Application->CreateForm(frmHelpMain);
    Application->Run();
    return 0;
}
