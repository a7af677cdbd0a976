#pragma once
// TdxBarDateCombo: an edit item that holds a date as its text (the short weekday name, a
// blank and the locale's short date; empty for no date), with a month calendar that drops
// down below it. TdxBarDateComboControl shows it: "+" and "-" typed into its editor step the
// date a day when the text holds one.
//
// The drop-down calendar is made on the first drop. While it is open the editor keeps the
// focus and passes the calendar its keys; Enter, a click on a date, Today or Clear choose.
// Without OnClick, a click on an item that cannot edit in place opens the "Select the date"
// dialog.
#include "dxBarDateNavigator.h"
#include "dxBarEditControls.h"
#include "dxBarItems.h"

#include <QPointer>

class TdxBarDateCombo : public TCustomdxBarCombo {
    Q_OBJECT
    Q_PROPERTY(bool ShowTodayButton MEMBER showToday_)
    Q_PROPERTY(bool ShowClearButton MEMBER showClear_)
    Q_CLASSINFO("Default.ShowTodayButton", "True")
    Q_CLASSINFO("Default.ShowClearButton", "True")
public:
    Q_INVOKABLE explicit TdxBarDateCombo(TComponent* owner);
    ~TdxBarDateCombo() override;

    bool ShowTodayButton() const { return showToday_; }
    void SetShowTodayButton(bool value) { showToday_ = value; }
    bool ShowClearButton() const { return showClear_; }
    void SetShowClearButton(bool value) { showClear_ = value; }

    // The date of Text (null when it holds none); setting it writes its text.
    double Date() const;
    void SetDate(double value);
    // Text is read as a date and written back; text without a date becomes empty.
    void SetText(const QString& value) override;

    // The drop-down calendar; none before the first drop.
    TdxBarDateNavigator* Navigator() const { return navigator_; }

    bool CheckKeyForDropDownWindow(int key, TShiftState shift) override;
    void DropDownWindowKeyDown(int key, TShiftState shift) override;
    TNativeWindow* GetDropDownWindow() override;
    // Opens the calendar on Date (today without one), placed as a drop-down is.
    void DropDown(QPoint preferred, QSize linkSize, bool vertical) override;
    // Ends a press of the calendar, hides it and fires OnCloseUp.
    void CloseUp() override;
    // Without OnClick and unless ReadOnly, opens the "Select the date" dialog; OK takes its date.
    void Click() override;

private:
    TdxBarDateNavigator* MakeNavigator();
    // The calendar's choice: the use is counted, the menus close and Date takes it.
    void DateChosen(TObject* sender);

    bool showToday_ = true;
    bool showClear_ = true;
    QPointer<TdxBarDateNavigator> navigator_;
};

class TdxBarDateComboControl : public TCustomdxBarComboControl {
public:
    explicit TdxBarDateComboControl(TdxBarItemLink* link);

    // "+" and "-" step the editor's date a day; without a date "-" is typed (it may be the
    // locale's separator) and "+" is swallowed.
    bool EditorChar(QChar& ch) override;
};

extern TdxBarItemControlClass TdxBarDateComboControlClass;
