#pragma once
// The drag of an item, or of one of its links, while the manager customizes. A press-drag
// on an item control starts it (TdxBarManager::DragItem): the mouse is captured on the
// form's message window and a local loop runs until the button goes up (the drop), Esc is
// pressed or the capture is lost (nothing changes). Every move finds the target: the bar
// window under the pointer (one of another manager counts as none), or else the first bar
// window of the manager lying under it; a window that may not be customized, or a menu the
// dragged item would then contain itself through, counts as none. Ctrl held copies. A menu
// under the pointer gets each move as well, so that it scrolls by its arrows.
//
// The drop:
// - on no target, a moved link is deleted (a copied one stays);
// - on a target, a new link for the item goes before or after the control under the
//   pointer (or into an empty window), copying a dragged link's properties; a move deletes
//   the dragged link. Dropping before a group start takes the group start over;
// - on the dragged link's own control, a move of more than 3 pixels along the bar sets its
//   group start (right or down) or clears it (left or up);
// - on a place that leaves the link where it is, nothing changes.
// A drop onto a toolbar while menus of another window are open closes them, and the toolbar
// enters keyboard mode on the new control.
// An item or link freed during the drag, or a target window freed, cancels the drop.
//
// The loop only feeds this object; tests drive it directly through Move, SetCopying, Drop
// and Cancel.
#include "WinTypes.h"

#include <QObject>
#include <QPointer>

class QWidget;
class TCustomdxBarControl;
class TdxBarItem;
class TdxBarItemControl;
class TdxBarItemLink;
class TdxBarItemLinks;
class TdxBarManager;
class TWindow;

class TdxBarItemDrag : public QObject {
public:
    // Starts dragging item (link: the link being moved, none for a new link) from start, the
    // screen point of the press; copy: Ctrl held at the start.
    TdxBarItemDrag(TdxBarManager* manager, TdxBarItem* item, TdxBarItemLink* link, const TPoint& start, bool copy);
    // Ends a drag still running as a cancel and clears the manager's drag state.
    ~TdxBarItemDrag() override;
    TdxBarItemDrag(const TdxBarItemDrag&) = delete;
    TdxBarItemDrag& operator=(const TdxBarItemDrag&) = delete;

    bool Finished() const { return finished_; }
    bool Copying() const { return copy_; }
    // The cursor id the drag shows: crdxBarDrag, crdxBarDragCopy or crdxBarDragNoDrop.
    int Cursor() const;
    TCustomdxBarControl* Target() const { return target_; }
    // The insertion mark on the screen (empty when none shows).
    TRect MarkRect() const { return mark_; }

    // A mouse move to cursor (screen).
    void Move(const TPoint& cursor);
    // Ctrl went down or up: the place is found again at the last cursor.
    void SetCopying(bool copy);
    // The button went up at the last cursor.
    void Drop();
    // Esc or a lost capture.
    void Cancel();

    // The modal loop: captures the mouse on captureWindow until the drag finishes.
    void Run(TWindow* captureWindow);

private:
    // Where the pointer means the item to go.
    struct TPlace {
        QPointer<TCustomdxBarControl> Window;
        bool HadWindow = false;
        QPointer<TdxBarItemControl> Control;  // the control under the pointer
        bool Refused = false;                 // a window that cannot take the item
        bool Valid = false;                   // a new link may go to Index
        int Index = -1;
        bool Before = false;
        bool Vertical = false;
        bool InPlace = false;  // the dragged link would stay where it is
        bool OwnControl = false;
    };
    TPlace FindPlace(const TPoint& cursor) const;
    TCustomdxBarControl* WindowAt(const TPoint& cursor) const;
    void Evaluate();
    // The control under the pointer becomes the selected one (a sub item opens its menu).
    void SelectUnderPointer(TdxBarItemControl* previous);
    void UpdateMark();
    void ShowCursor();
    void DropOnPlace(const TPlace& place);
    void DropNowhere();
    void BeginGroupGesture(const TPlace& place);
    void Finish();
    // Design time, a new item: whether the customizing window took the move.
    bool DesignOver();

    QPointer<TdxBarManager> manager_;
    QPointer<TdxBarItem> item_;
    QPointer<TdxBarItemLink> link_;
    const bool hadLink_;
    TPoint start_;
    TPoint cursor_;
    bool copy_ = false;
    bool moved_ = false;
    bool finished_ = false;
    QPointer<TCustomdxBarControl> target_;
    TPlace place_;
    TRect mark_;
    QPointer<QWidget> markWindow_;
    bool cursorShown_ = false;
    // The cursor the customizing window's categories list asks for while the pointer is over
    // it (design time, a new item); 0 elsewhere.
    int designCursor_ = 0;
    QPointer<QObject> loop_;
};

// The drag in progress, if any.
TdxBarItemDrag* dxBarCurrentItemDrag();
// The screen point of the press that starts the next item drag (else the cursor counts).
void dxBarSetItemDragStart(const TPoint& screen);
