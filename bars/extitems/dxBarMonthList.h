#pragma once
// TAMonthListBox: the small list of seven months that opens over the date navigator's header
// while the mouse button is held on the month name. It is a popup window of its own (it
// reaches past the navigator), owned by the form's window and never activated; the navigator
// keeps the press and passes its moves on. The hovered row is the month chosen on release.
// A cursor above or below the list scrolls it by timer, faster with the distance.
#include "Window.h"

#include <QFont>

// How a cursor outside the list scrolls it: the timer id (1-4 back, 6-9 forward; 0 for no
// scrolling) and its interval.
struct TMonthListScroll {
    int Id = 0;
    int Interval = 0;
};
// y: the cursor in client coordinates, outside the rows or not.
TMonthListScroll dxBarMonthListScroll(int y, int clientHeight);

class TAMonthListBox : public TWindow {
    Q_OBJECT
public:
    static constexpr int kRows = 7;

    // ownerWindow: the widget whose form the list stays above.
    TAMonthListBox(TComponent* owner, QWidget* ownerWindow);
    ~TAMonthListBox() override;

    // Takes the navigator's font and sizes itself from its header height and column width.
    void FontChanged(const QFont& font, int headerHeight, int columnWidth);
    const QFont& Font() const { return font_; }
    int ItemHeight() const { return itemHeight_; }

    // The first day of the month in the top row (null at creation).
    double TopDate() const { return topDate_; }
    void SetTopDate(double date);
    // -1 for none.
    int Hovered() const { return hovered_; }
    // The first day of the hovered row's month; null when no row is hovered.
    double ChosenDate() const;
    // The running scroll timer's id, 0 for none.
    int ScrollTimer() const { return timerId_; }

    // --- messages
    void NCCalcSize(TRect& rect) override;
    void NCPaint(QPainter& p) override;
    void Paint(QPainter& p) override;
    void MouseMove(const TPoint& client, TShiftState shift) override;
    void Timer(int id) override;

private:
    TRect RowRect(int row) const;
    void SetHovered(int row);
    void StopTimer();

    QFont font_;
    double topDate_;
    int itemHeight_ = 0;
    int hovered_ = -1;
    int timerId_ = 0;
};
