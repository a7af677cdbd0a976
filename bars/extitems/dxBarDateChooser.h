#pragma once
// The "Select the date" dialog of a date item that cannot edit in place: an edit with the
// date's text above a month calendar, OK and Cancel beside them, and Today and Clear below
// those when the item shows them. The edit and the calendar follow each other: a date typed
// into the edit is selected (an empty text selects none, other text changes nothing), and a
// date chosen in the calendar, or by Today or Clear, is written into the edit. A double click
// on a date closes the dialog with OK.
#include "dxBarChooserForm.h"

#include <QPointer>

class TButton;
class TEdit;
class TdxBarDateCombo;
class TdxBarDateNavigator;

class TdxBarDateChooser : public TdxBarChooserForm {
    Q_OBJECT
public:
    explicit TdxBarDateChooser(TComponent* owner);
    ~TdxBarDateChooser() override;

    // Builds the dialog for combo, showing date.
    void Prepare(TdxBarDateCombo* combo, double date);
    // The date of the edit's text: the null date for an empty text, current when the text
    // holds no date (a typo does not erase the date).
    double ChosenDate(double current) const;

    TEdit* Edit = nullptr;
    TdxBarDateNavigator* Calendar() const { return calendar_; }
    TButton* BOK = nullptr;
    TButton* BCancel = nullptr;
    // None when the item hides them.
    TButton* BToday = nullptr;
    TButton* BClear = nullptr;

private:
    void EditChange(TObject* sender);
    void CalendarSelected(TObject* sender);
    void CalendarDblClick(TObject* sender);
    void DateButtonClick(TObject* sender);
    // The calendar's selection written into the edit.
    void ShowSelection();

    // A child window of the form, freed before the form's window goes.
    QPointer<TdxBarDateNavigator> calendar_;
    bool showingSelection_ = false;
};

// Shows the dialog for combo, modal. True on OK, with date set from the edit (see
// ChosenDate); date is left alone otherwise.
bool dxBarChooseDate(TdxBarDateCombo* combo, double& date);
