// The manager's customizing state. The guarded references are read here, where the classes
// they guard are known.
#include "dxBarCustomizingState.h"

#include "dxBarItem.h"
#include "dxBarItemControl.h"

TdxBarItemControl* TdxBarCustomizingState::SelectedControl() const
{
    return selectedControl_;
}

void TdxBarCustomizingState::SetSelectedControl(TdxBarItemControl* control)
{
    selectedControl_ = control;
}

TdxBarItem* TdxBarCustomizingState::DraggedItem() const
{
    return draggedItem_;
}

void TdxBarCustomizingState::SetDraggedItem(TdxBarItem* item)
{
    draggedItem_ = item;
}
