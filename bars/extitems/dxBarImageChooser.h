#pragma once
// The "Select item" dialog of an image combo that cannot edit in place: the combo's entries
// in a list drawn and measured as the combo's drop-down draws them, with OK and Cancel beside
// it. It starts on the combo's entry; a double click on an entry closes it with OK.
#include "dxBarChooserForm.h"

#include <QPointer>

class TButton;
class TListBox;
class TdxBarImageCombo;

class TdxBarImageChooser : public TdxBarChooserForm {
    Q_OBJECT
public:
    explicit TdxBarImageChooser(TComponent* owner);

    void Prepare(TdxBarImageCombo* combo);

    TListBox* List = nullptr;
    TButton* BOK = nullptr;
    TButton* BCancel = nullptr;

private:
    void ListDrawItem(TWinControl* sender, int index, QRect rect, unsigned state);
    void ListMeasureItem(TWinControl* sender, int index, int& height);
    void ListDblClick(TObject* sender);

    QPointer<TdxBarImageCombo> combo_;
};

// Shows the dialog for combo, modal. True on OK, with index set to the entry chosen (-1
// for none); index is left alone otherwise.
bool dxBarChooseImageComboEntry(TdxBarImageCombo* combo, int& index);
