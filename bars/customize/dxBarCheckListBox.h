#pragma once
// The list of a manager's toolbars on the Toolbars page: one line per bar (its object), with
// a check box in a column as wide as a line is high, checked while the bar is visible and
// drawn inactive for a bar that cannot be closed.
//
// The check toggles the bar's visibility: a left press in the column (two quick presses
// there toggle twice), a double click anywhere on a line, or Space on the selected line. A
// bar that cannot be closed keeps its visibility and the beep sounds.
#include "ListBoxes.h"
#include "dxBarManager.h"

#include <QPointer>

class TdxBar;

class TCheckListBox : public TListBox {
    Q_OBJECT
public:
    Q_INVOKABLE explicit TCheckListBox(TComponent* owner);

    TdxBarManager* BarManager() const { return manager_; }
    void SetBarManager(TdxBarManager* manager) { manager_ = manager; }
    // The bar of a line: none out of range, or when the bar is no longer one of the manager's.
    TdxBar* Bar(int index) const;
    // The line of bar, or -1.
    int IndexOfBar(const TdxBar* bar) const;
    // The check column's width: a line's height.
    int CheckWidth() const { return ItemHeight(); }
    // The user may show and hide the bar (its close button would show).
    static bool CanClose(const TdxBar* bar);

    // The check of a line: the bar's visibility toggles when it can close, else a beep.
    void Toggle(int index);
    // Repaints the line's check column now.
    void RepaintCheck(int index);

protected:
    void DrawItem(int index, const QRect& rect, TOwnerDrawState state) override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void DblClick() override;
    void KeyPress(QChar& key) override;
    bool DoubleClickIsPress(int x, int y) const override;
    void ApplyFont() override;

private:
    QPointer<TdxBarManager> manager_;
    // The double click that comes fell on a line.
    bool doubleOnLine_ = false;
};
