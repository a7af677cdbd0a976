// The editor program: one main window over a live preview.
#include "dxBarExtItems.h"
#include "dxBarProgram.h"
#include "frmHTML.h"

int main(int argc, char** argv)
{
    TdxBarProgram program;
    program.ResourcePrefix = QStringLiteral(":/editor");
    program.Title = QStringLiteral("Zundra's HTML Editor");
    // The editor carries the extended item kinds (their texts come with them).
    program.LibraryStarted = dxBarExtItemsInitialize;
    program.LibraryFinishing = dxBarExtItemsFinalize;
    return dxBarRunProgram(argc, argv, frmMain, program);
}
