#pragma once
// The start-up both programs share: the browser engine's schemes, the Qt application, the
// bar library with its windows and its customizing window, the program's compiled-in pages;
// then the main form and the event loop. Only the programs include this header (target
// vesk_program): it needs the browser control's library, which the bar library does not.
#include "Application.h"
#include "ExceptionBarrier.h"
#include "Scope.h"
#include "WebBrowser.h"
#include "WebSchemes.h"
#include "dxBarCustomizing.h"
#include "dxBarManager.h"
#include "dxBarRegistry.h"
#include "dxBarWindowsLibrary.h"

#include <QString>
#include <QStringList>
#include <csignal>
#include <functional>

struct TdxBarProgram {
    // The resource prefix of the program's own pages (":/editor").
    QString ResourcePrefix;
    // The application's title; empty keeps the default.
    QString Title;
    // Runs after the bar library's start-up (texts and item kinds only one program carries).
    std::function<void()> LibraryStarted;
    // Runs at the end, before the bar windows library goes (the same program's shut-down).
    std::function<void()> LibraryFinishing;
};

// Starts the program, creates TMainForm (which takes the command-line arguments through its
// SetArguments) into mainForm, and runs until it closes.
template <class TMainForm>
int dxBarRunProgram(int argc, char** argv, TMainForm*& mainForm, const TdxBarProgram& program)
{
    // A write past the user's file-size limit (ulimit -f) then fails with EFBIG, and a save
    // reports it, instead of the signal killing the program with the text unsaved.
    std::signal(SIGXFSZ, SIG_IGN);
    AllowBrowserEngineAsRoot();
    RegisterWebSchemes();
    TQtApplication app(argc, argv);
    QStringList arguments = app.arguments();
    arguments.removeFirst();
    TMainForm::SetArguments(arguments);
    RegisterWebClasses();
    dxBarInitialize();
    dxBarRegisterManagerClasses();
    if (program.LibraryStarted) program.LibraryStarted();
    TdxBarWindowsLibrary barWindows;  // the bars' windows, docked around the form's panes
    // Destroyed before the windows library, also when the loop ends by an exception.
    TScopeExit finishing([&program] {
        if (program.LibraryFinishing) program.LibraryFinishing();
    });
    TdxBarCustomizing customizing;  // the window of customizing mode
    SetProgramResourcePrefix(program.ResourcePrefix);
    if (!program.Title.isEmpty()) Application->SetTitle(program.Title);
    Application->CreateForm(mainForm);
    Application->Run();
    return 0;
}
