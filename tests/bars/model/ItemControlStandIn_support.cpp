// The windows library's part of the item control base, as the model tests link it in its
// place. The controls' bar window is a stand-in that shows the links and nothing else: it
// is never active, a menu or a toolbar, selects nothing and has nothing to repaint.
#include "BarModelFixture.h"

#include "dxBarItemControl.h"

TCustomdxBarControl* StandInBarWindow()
{
    // The model only hands the window to the window services, so any address of ours serves.
    alignas(std::max_align_t) static char window[sizeof(std::max_align_t)];
    return reinterpret_cast<TCustomdxBarControl*>(window);
}

TdxBarItemControl::TdxBarItemControl(TdxBarItemLink* link) : link_(link) {}

TdxBarItemControl::~TdxBarItemControl() = default;

TCustomdxBarControl* TdxBarItemControl::Parent() const
{
    return ItemLink() ? ItemLink()->BarControl() : nullptr;
}

bool TdxBarItemControl::IsSelected() const
{
    return false;
}

bool TdxBarItemControl::IsSelectedInActiveBar() const
{
    return false;
}

int TdxBarItemControl::GetCaptionOffset() const
{
    return 0;
}

bool TdxBarItemControl::HasHint() const
{
    return false;
}

// The change notices take the routes a bar window's control takes to its window.
void TdxBarItemControl::AlignChanged()
{
    RepaintBar();
}

void TdxBarItemControl::CaptionChanged()
{
    RepaintBar();
}

void TdxBarItemControl::EnabledChanged()
{
    Repaint();
}

void TdxBarItemControl::GlyphChanged()
{
    Repaint();
}

void TdxBarItemControl::PressedChanged()
{
    if (!pressed_) Repaint();
}

void TdxBarItemControl::ShortCutChanged() {}
void TdxBarItemControl::WidthChanged()
{
    RepaintBar();
}

void TdxBarItemControl::Repaint() {}
void TdxBarItemControl::RepaintBar() {}

bool TdxBarItemControl::CanSelect() const
{
    return !(BarManager() && BarManager()->IsCustomizing() && !TdxBarItemControl::CanCustomize());
}

// A click clicks the item with this link as its click link.
void TdxBarItemControl::Click(bool byMouse)
{
    if (!GetEnabled()) return;
    QPointer<TdxBarItemControl> self(this);
    ControlClick(byMouse);
    if (self) ControlUnclick(byMouse);
}

void TdxBarItemControl::ControlUnclick(bool /*byMouse*/)
{
    QPointer<TdxBarItem> item = Item();
    if (!item || !CanClicked()) return;
    item->SetClickItemLink(ItemLink());
    item->DoClick();
    if (item) item->SetClickItemLink(nullptr);
}
