// The manager's customizing state: design time counts as customizing, the selection and the
// dragged item are forgotten when user code frees them, and one drag runs at a time.
#include "BarModelFixture.h"
#include "dxBarCustomizingState.h"

#include <functional>

namespace {

using CustomizingStateTest = BarModelTest;

TEST_F(CustomizingStateTest, ModeSelectionAndDragFollowTheirRules)
{
    using Act = std::function<void(TdxBarCustomizingState&, TdxBarItemControl*, TdxBarItem*)>;
    struct Case {
        const char* what;
        Act act;
        bool customizing, selected, dragged, canStartDrag;
    };
    const Case cases[] = {
        {"nothing yet", [](auto&, auto*, auto*) {}, false, false, false, true},
        {"designed", [](auto& s, auto*, auto*) { s.SetDesigning(true); }, true, false, false, true},
        {"mode on", [](auto& s, auto*, auto*) { s.SetMode(true); }, true, false, false, true},
        {"selected control freed",
         [](auto& s, auto* control, auto*) {
             s.SetSelectedControl(control);
             delete control;
         },
         false, false, false, true},
        {"drag running",
         [](auto& s, auto*, auto* item) {
             s.SetDraggedItem(item);
             s.SetDragging(true);
         },
         false, false, true, false},
        {"dragged item freed while the drag runs",
         [](auto& s, auto*, auto* item) {
             s.SetDraggedItem(item);
             s.SetDragging(true);
             delete item;
         },
         false, false, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TdxBarCustomizingState state;
        QPointer<TdxBarItemControl> control = new FakeItemControl(nullptr);
        QPointer<TdxBarItem> item = NewItem<TdxBarButton>("b");
        c.act(state, control, item);
        EXPECT_EQ(state.IsCustomizing(), c.customizing);
        EXPECT_EQ(state.SelectedControl() != nullptr, c.selected);
        EXPECT_EQ(state.DraggedItem() != nullptr, c.dragged);
        // Another item may start a drag only when none runs; no item never starts one.
        std::unique_ptr<TdxBarItem> other(NewItem<TdxBarButton>("other"));
        EXPECT_EQ(state.CanStartDrag(other.get()), c.canStartDrag);
        EXPECT_FALSE(state.CanStartDrag(nullptr));
        delete control;
        delete item;
    }
}

}  // namespace
