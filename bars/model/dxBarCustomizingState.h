#pragma once
// What a manager knows about being customized: whether it is being designed, whether the
// user's customizing mode is on, which item control is selected, and the item drag in
// progress. It holds the state and the rules that follow from the state alone; the manager
// tells the windows and the customizing window about changes.
#include <QPointer>

class TdxBarItem;
class TdxBarItemControl;
class TdxBarItemLink;

class TdxBarCustomizingState {
public:
    // The manager's copy of its component's design-time flag.
    bool Designing() const { return designing_; }
    void SetDesigning(bool value) { designing_ = value; }
    // The user's customizing mode, which the customizing window is open for.
    bool Mode() const { return mode_; }
    void SetMode(bool value) { mode_ = value; }
    // A manager being designed is always customized.
    bool IsCustomizing() const { return mode_ || designing_; }

    // The selected item control; none once it is freed.
    TdxBarItemControl* SelectedControl() const;
    void SetSelectedControl(TdxBarItemControl* control);

    // The link being moved by the drag; the link forgets itself here when it is freed.
    TdxBarItemLink* DraggedLink() const { return draggedLink_; }
    void SetDraggedLink(TdxBarItemLink* link) { draggedLink_ = link; }
    // The item being dragged; none once it is freed.
    TdxBarItem* DraggedItem() const;
    void SetDraggedItem(TdxBarItem* item);
    // True while an item drag runs.
    bool Dragging() const { return dragging_; }
    void SetDragging(bool value) { dragging_ = value; }
    // A drag of item may start: there is an item and no drag runs already.
    bool CanStartDrag(const TdxBarItem* item) const { return item && !dragging_; }

private:
    bool designing_ = false;
    bool mode_ = false;
    QPointer<TdxBarItemControl> selectedControl_;
    TdxBarItemLink* draggedLink_ = nullptr;
    QPointer<TdxBarItem> draggedItem_;
    bool dragging_ = false;
};
