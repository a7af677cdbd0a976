// The manager's customizing state: design time counts as customizing, the selection and the
// dragged item are forgotten when user code frees them, and one drag runs at a time.
#include "BarModelFixture.h"
#include "dxBarCustomizingState.h"

#include <functional>

namespace {

using CustomizingStateTest = BarModelTest;

struct TStateParts {
    TdxBarCustomizingState& state;
    QPointer<TdxBarItemControl> control;
    QPointer<TdxBarItem> item;
};

TEST_F(CustomizingStateTest, ModeSelectionAndDragFollowTheirRules)
{
    struct Case {
        const char* what;
        std::function<void(TStateParts&)> act;
        bool customizing;
        bool selected;
        bool dragged;
        bool canStartDrag;
    };
    const Case cases[] = {
        {"nothing yet", [](TStateParts&) {}, false, false, false, true},
        {"designed, mode off", [](TStateParts& p) { p.state.SetDesigning(true); }, true, false, false, true},
        {"mode on", [](TStateParts& p) { p.state.SetMode(true); }, true, false, false, true},
        {"mode on then off while designed",
         [](TStateParts& p) {
             p.state.SetDesigning(true);
             p.state.SetMode(true);
             p.state.SetMode(false);
         },
         true, false, false, true},
        {"selected control kept", [](TStateParts& p) { p.state.SetSelectedControl(p.control); }, false, true, false,
         true},
        {"selected control freed",
         [](TStateParts& p) {
             p.state.SetSelectedControl(p.control);
             delete p.control;
         },
         false, false, false, true},
        {"drag running",
         [](TStateParts& p) {
             p.state.SetDraggedItem(p.item);
             p.state.SetDragging(true);
         },
         false, false, true, false},
        {"dragged item freed while the drag runs",
         [](TStateParts& p) {
             p.state.SetDraggedItem(p.item);
             p.state.SetDragging(true);
             delete p.item;
         },
         false, false, false, false},
        {"drag ended",
         [](TStateParts& p) {
             p.state.SetDraggedItem(p.item);
             p.state.SetDragging(true);
             p.state.SetDraggedItem(nullptr);
             p.state.SetDragging(false);
         },
         false, false, false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TdxBarCustomizingState state;
        auto* control = new FakeItemControl(nullptr);
        TdxBarItem* item = NewItem<TdxBarButton>("b");
        TStateParts parts{state, control, item};
        c.act(parts);
        EXPECT_EQ(state.IsCustomizing(), c.customizing);
        EXPECT_EQ(state.SelectedControl() != nullptr, c.selected);
        EXPECT_EQ(state.DraggedItem() != nullptr, c.dragged);
        // Another item may start a drag only when none runs; no item never starts one.
        TdxBarItem* other = NewItem<TdxBarButton>("other");
        EXPECT_EQ(state.CanStartDrag(other), c.canStartDrag);
        EXPECT_FALSE(state.CanStartDrag(nullptr));
        delete parts.control;
        delete parts.item;
        delete other;
    }
}

}  // namespace
