#include "FormClasses.h"

#include "ClassRegistry.h"
#include "ComCtrls.h"
#include "Dialogs.h"
#include "ExtCtrls.h"
#include "Forms.h"
#include "ListBoxes.h"
#include "StdCtrls.h"
#include "TypInfo.h"

void RegisterFormClasses()
{
    static const bool registered = [] {
        RegisterClasses<TWinControl, TPanel, TSplitter, TBevel, TLabel, TMemo, TEdit, TButton, TCheckBox, TComboBox,
                        TListBox, TPageControl, TTabSheet, TOpenDialog, TSaveDialog, TFindDialog, TColorDialog,
                        TFontDialog>();
        RegisterEventType<TCloseEvent>();
        RegisterEventType<TMouseEvent>();
        RegisterEventType<TMouseMoveEvent>();
        RegisterEventType<TKeyEvent>();
        RegisterEventType<TKeyPressEvent>();
        RegisterEventType<TDrawItemEvent>();
        RegisterEventType<TMeasureItemEvent>();
        return true;
    }();
    (void)registered;
}
