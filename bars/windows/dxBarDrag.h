#pragma once
// The drag of one bar window between dock areas and the floating state. A press on the grip
// or caption starts it (TdxBarWindowsLibrary::DragBar): the mouse is captured on the form's
// message window and a local loop runs until the button goes up (the bar stays where it
// is), Esc is pressed or the capture is lost (the bar goes back exactly where it was), or the
// window is freed. Every move finds the place the point means: a dock whose docking
// rectangle holds it, or floating (always while Ctrl is down). A floating bar reaching a
// dock waits WaitForDockingTime before it docks, and every move restarts the wait.
//
// The loop only feeds this object; tests drive it directly through Move, Reevaluate,
// DockingWaitElapsed, Drop and Cancel.
#include "WinTypes.h"
#include "dxBarTypes.h"

#include <QObject>
#include <QPointer>
#include <QTimer>
#include <optional>

#include "DockRows.h"

class TdxBarControl;
class TdxBarWindowsLibrary;
class TdxDockControl;
class TWindow;

class TdxBarDrag : public QObject {
public:
    // Starts dragging window with the cursor at cursor (screen).
    TdxBarDrag(TdxBarWindowsLibrary& library, TdxBarControl* window, const TPoint& cursor);
    // Ends a drag still running as a cancel.
    ~TdxBarDrag() override;
    TdxBarDrag(const TdxBarDrag&) = delete;
    TdxBarDrag& operator=(const TdxBarDrag&) = delete;

    TdxBarControl* Window() const { return window_; }
    // Added to the cursor to give the point a move asks for: the distance from the cursor to
    // the middle of the bar's row across its dock (zero for a floating bar).
    TPoint Offset() const { return offset_; }
    bool Finished() const { return finished_; }
    bool DockingWaitPending() const { return wait_.isActive(); }

    // A mouse move to cursor (screen).
    void Move(const TPoint& cursor);
    // Ctrl went down or up: the place is found again at the last cursor.
    void Reevaluate();
    // The docking wait ran out: the bar docks where the cursor rests.
    void DockingWaitElapsed();
    // The button went up: the bar stays where it is and stores its place.
    void Drop();
    // Esc or a lost capture: the bar goes back where it was.
    void Cancel();
    // The window was freed: the drag ends without touching it.
    void WindowGone();

    // The modal loop: captures the mouse on captureWindow until the drag finishes.
    void Run(TWindow* captureWindow);

    // Where a point means the bar to go: a dock, or none (floating).
    struct TPlace {
        TdxBarDockingStyle Style = dsNone;
        TdxDockControl* Dock = nullptr;
    };
    TPlace FindPlace(const TPoint& point) const;

private:
    void MoveBar(const TPoint& point, bool waitElapsed);
    void Finish();
    void Restore();

    TdxBarWindowsLibrary& library_;
    QPointer<TdxBarControl> window_;
    TPoint offset_;
    TPoint cursor_;
    bool finished_ = false;
    QTimer wait_;
    QPointer<QObject> loop_;
    // Where the bar was when the drag began.
    struct TStart {
        TdxBarDockingStyle Style = dsNone;
        QPointer<TdxDockControl> Dock;
        TRect Bounds;
        bool Visible = false;
        std::optional<dockrows::TDockRows> Rows;
    } start_;
};
