// The editor program: one main window over a live preview.
#include "dxBarProgram.h"
#include "dxBarStrs.h"
#include "frmHTML.h"

int main(int argc, char** argv) {
    TdxBarProgram program;
    program.ResourcePrefix = QStringLiteral(":/editor");
    program.Title = QStringLiteral("Zundra's HTML Editor");
    program.LibraryStarted = dxBarRegisterExtendedTexts;  // the editor carries the extended items' texts too
    return dxBarRunProgram(argc, argv, frmMain, program);
}
