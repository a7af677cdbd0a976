#pragma once
// The list of one category's commands on the Commands page: one line per item (its object),
// each drawn as the item would look on a bar, 22 pixels high; the lines' text is not drawn.
//
// - A left press on a line selects it and shows its description (the list's OnClick); a
//   move of the held button past the drag distance then drags the command onto the bars
//   (the manager's DragItem with no source link).
// - A right press focuses the list, selects the line under the mouse and shows its
//   description.
// - Focusing a list with lines and no selection selects the first line.
// - The standard look draws a focus frame 2 pixels inside the focused line; the flat look
//   draws none.
#include "Graphics.h"
#include "ListBoxes.h"
#include "WinTypes.h"
#include "dxBarCommandsLayout.h"

#include <QFont>
#include <QPointer>

class QPainter;
class TCustomImageList;
class TdxBarItem;
class TdxBarManager;

// What the lines are drawn with, read from the manager.
struct TdxBarCommandLook {
    bool Flat = false;
    QFont Font;
    TCustomImageList* Images = nullptr;
    TColor ImageListBkColor = clFuchsia;
};
TdxBarCommandLook dxBarCommandLookOf(const TdxBarManager& manager, const QFont& font);

// How item is drawn in the list.
TdxBarCommandKind dxBarCommandKindOf(const TdxBarItem& item);
// The list's colours: a line's background and its text, selected or not.
QColor dxBarCommandBackColor(bool flat, bool selected);
QColor dxBarCommandTextColor(bool flat, bool selected);
// Draws item's line into line on p.
void dxBarDrawCommandLine(QPainter& p, const TRect& line, const TdxBarItem& item, const TdxBarCommandLook& look,
                          bool selected);

class TCommandsListBox : public TListBox {
    Q_OBJECT
public:
    Q_INVOKABLE explicit TCommandsListBox(TComponent* owner);

    TdxBarManager* BarManager() const { return manager_; }
    // The list follows the manager's style: its colour, and the lines' look.
    void SetBarManager(TdxBarManager* manager);
    // The item of a line: none out of range, or when it is no longer one of the manager's.
    TdxBarItem* Item(int index) const;
    // The selected line's item.
    TdxBarItem* SelectedItem() const { return Item(ItemIndex()); }
    // The line of item, or -1.
    int IndexOfItem(const TdxBarItem* item) const;
    // The colour follows the manager's style (the window colour when flat, else the face).
    void StyleChanged();

protected:
    void DrawItem(int index, const QRect& rect, TOwnerDrawState state) override;
    void MeasureItem(int index, int& height) override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void DoEnter() override;

private:
    // The drag of the selected line's item, from the press at dragStart_.
    void StartDrag();

    QPointer<TdxBarManager> manager_;
    // A left press on a line waits for the move that makes it a drag.
    bool dragPending_ = false;
    TPoint dragStart_;  // client
};
