// The help viewer program: one window over the help pages compiled into it.
#include "Application.h"
#include "ExceptionBarrier.h"
#include "WebBrowser.h"
#include "WebSchemes.h"
#include "dxBarManager.h"
#include "dxBarRegistry.h"
#include "frm_HelpMain.h"

int main(int argc, char** argv) {
    AllowBrowserEngineAsRoot();
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
