#pragma once
// The month calendar of the date items.
//
// TdxBarCustomCalendar holds a first shown date and a selection (start and finish day
// numbers, the null date for none) and turns presses, drags and releases over its dates into
// selection changes; a release over a date tells OnDateSelected.
//
// TdxBarDateNavigator shows one month as six weeks of seven days below a header with the
// month's name and two arrows, and in the drop-down role Today and Clear buttons below the
// grid. Its geometry is a TDateNavigatorLayout. In the drop-down role it is a popup window
// owned by the form's window that is never activated: the combo's in-place editor keeps the
// focus and passes its keys on (NavigatorKeyDown), and a press held on the navigator keeps
// the mouse, passing its moves to the month list while that is open. Otherwise it is a child
// window of a dialog.
#include "Window.h"
#include "dxBarDateNavigatorLayout.h"
#include "dxBarMonthList.h"

#include <QFont>
#include <QPointer>

class TCustomdxBarCombo;

class TdxBarCustomCalendar : public TWindow {
    Q_OBJECT
public:
    TdxBarCustomCalendar(TComponent* owner, const TCreateParams& params);

    // 0 no border, 1 sunken edge, 2 flat frame.
    int Style() const { return style_; }
    virtual void SetStyle(int value);
    virtual int GetDrawStyle() const { return style_; }

    virtual double GetFirstDate() const { return firstDate_; }
    virtual double GetLastDate() const { return GetMonthLastDate(); }
    virtual double GetMonthLastDate() const = 0;
    // The earlier and the later end of the selection (null when none).
    double GetSelStart() const;
    double GetSelFinish() const;
    // The date the calendar was told to show (the navigator keeps a month's first day).
    double FirstDate() const { return firstDate_; }
    virtual void SetFirstDate(double date);
    virtual void SetSelStart(double date);
    virtual void SetSelFinish(double date);
    virtual void CheckFirstDate() = 0;
    virtual double PosToDate(const TPoint& client) const = 0;
    // Ends a press: the capture lost or the drop-down closed.
    virtual void CancelSelection();
    void DateSelected();

    void LButtonDown(const TPoint& client, TShiftState shift) override;
    void LButtonUp(const TPoint& client, TShiftState shift) override;
    void LButtonDblClk(const TPoint& client, TShiftState shift) override;
    void MouseMove(const TPoint& client, TShiftState shift) override;
    void CaptureChanged() override;

    TNotifyEvent OnDateSelected;
    // A double click on a date (the dialog closes with OK).
    TNotifyEvent OnDateDblClick;

protected:
    // The release that ends a press: over a date (or what else counts, see IsChoosingPoint)
    // the date is selected, elsewhere the selection goes back to where the press found it.
    void StandardRelease(const TPoint& client);
    virtual bool IsChoosingPoint(const TPoint& client) const { return PosToDate(client) != -700000.0; }

    double dragDate_;
    double firstDate_;
    double selStart_;
    double selFinish_;
    int style_ = 1;
    // A press of this calendar is held (it has the mouse).
    bool pressed_ = false;
    bool dblClicked_ = false;
};

class TdxBarDateNavigator : public TdxBarCustomCalendar {
    Q_OBJECT
public:
    static constexpr int kArrowInterval = 170;

    // combo: the item it serves (its manager, font and flat look), may be none. popup: the
    // drop-down role, a popup window owned by the combo's form; else a child of parent.
    TdxBarDateNavigator(TCustomdxBarCombo* combo, bool popup, QWidget* parent = nullptr);
    ~TdxBarDateNavigator() override;

    TCustomdxBarCombo* Combo() const { return combo_; }
    bool IsPopupRole() const { return popupRole_; }
    bool ShowToday() const { return showToday_; }
    bool ShowClear() const { return showClear_; }
    void SetShowButtons(bool today, bool clear);
    void SetStyle(int value) override;
    int GetDrawStyle() const override;

    // The font of the combo's live link's bar window, else its manager's.
    void TakeComboFont();
    void SetFont(const QFont& font);
    const QFont& Font() const { return font_; }
    const TDateNavigatorLayout& Layout() const { return layout_; }

    double GetFirstDate() const override;
    double GetLastDate() const override;
    double GetMonthLastDate() const override;
    void SetFirstDate(double date) override;
    void SetSelFinish(double date) override;
    void CheckFirstDate() override;
    double PosToDate(const TPoint& client) const override;
    void CancelSelection() override;

    // A key the combo's editor passes on in the drop-down role; false when it does nothing.
    bool NavigatorKeyDown(int key, TShiftState shift);

    // --- tracking state
    TAMonthListBox* MonthList() const { return monthList_; }
    // The arrow timer's id (1 back, 2 forward), 0 when none.
    int ArrowTimer() const { return arrowTimer_; }
    bool TodayActive() const { return todayActive_; }
    bool TodayPressed() const { return todayPressed_; }
    bool ClearActive() const { return clearActive_; }
    bool ClearPressed() const { return clearPressed_; }

    // --- messages
    void NCCalcSize(TRect& rect) override;
    void NCPaint(QPainter& p) override;
    void Paint(QPainter& p) override;
    void LButtonDown(const TPoint& client, TShiftState shift) override;
    void LButtonUp(const TPoint& client, TShiftState shift) override;
    void MouseMove(const TPoint& client, TShiftState shift) override;
    void KeyDown(int& key, TShiftState shift) override;
    void Timer(int id) override;

protected:
    bool IsChoosingPoint(const TPoint& client) const override;

private:
    // The metrics from the font, then the size from them.
    void Recalculate();
    int NonClientWidth() const;
    bool IsFlat() const;
    QWidget* OwnerWindow() const;
    void OpenMonthList();
    void CloseMonthList();
    void StopArrowTimer();
    // One month back (-1) or forward (1); the selection stays.
    void StepMonth(int delta);
    void PaintHeader(QPainter& p, QRegion& rest);
    void PaintDayNames(QPainter& p, QRegion& rest);
    void PaintDays(QPainter& p, QRegion& rest);
    void PaintButton(QPainter& p, const TRect& r, const QString& caption, bool pressed);

    QPointer<TCustomdxBarCombo> combo_;
    bool popupRole_;
    bool showToday_ = true;
    bool showClear_ = false;
    QFont font_;
    TDateNavigatorLayout layout_;
    QPointer<TAMonthListBox> monthList_;
    int arrowTimer_ = 0;
    TPoint lastMouse_;
    bool todayActive_ = false;
    bool todayPressed_ = false;
    bool clearActive_ = false;
    bool clearPressed_ = false;
};
