// The help viewer program: one window over the help pages compiled into it.
#include "dxBarProgram.h"
#include "frm_HelpMain.h"

int main(int argc, char** argv)
{
    TdxBarProgram program;
    program.ResourcePrefix = QStringLiteral(":/help");
    return dxBarRunProgram(argc, argv, frmHelpMain, program);
}
