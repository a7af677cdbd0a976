#include "FormClasses.h"

#include "ClassRegistry.h"
#include "Dialogs.h"
#include "ExtCtrls.h"
#include "Forms.h"
#include "StdCtrls.h"
#include "TypInfo.h"

void RegisterFormClasses() {
    static const bool registered = [] {
        RegisterClasses<TWinControl, TPanel, TSplitter, TLabel, TMemo, TEdit, TButton, TOpenDialog, TSaveDialog,
                        TFindDialog, TColorDialog, TFontDialog>();
        RegisterEventType<TCloseEvent>();
        return true;
    }();
    (void)registered;
}
