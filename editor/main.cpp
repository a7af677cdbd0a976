// The editor program: one main window over a live preview.
#include "Application.h"
#include "ExceptionBarrier.h"
#include "WebBrowser.h"
#include "WebSchemes.h"
#include "dxBarManager.h"
#include "dxBarRegistry.h"
#include "dxBarStrs.h"
#include "dxBarWindowsLibrary.h"
#include "frmHTML.h"

int main(int argc, char** argv) {
    AllowBrowserEngineAsRoot();
    RegisterWebSchemes();
    TQtApplication app(argc, argv);
    QStringList arguments = app.arguments();
    arguments.removeFirst();
    TfrmMain::SetArguments(arguments);
    RegisterWebClasses();
    dxBarInitialize();
    dxBarRegisterManagerClasses();
    dxBarRegisterExtendedTexts();  // the editor carries the extended items' texts too
    TdxBarWindowsLibrary barWindows;  // the bars' windows, docked around the panes
    SetProgramResourcePrefix(QStringLiteral(":/editor"));
    Application->SetTitle(QStringLiteral("Zundra's HTML Editor"));
    Application->CreateForm(frmMain);
    Application->Run();
    return 0;
}
