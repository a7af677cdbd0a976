#include "BarModelFixture.h"

#include "Graphics.h"
#include "TypInfo.h"
#include "dxBarStrs.h"

#include <stdexcept>

// ---------------------------------------------------------------- caption and hint

TEST_F(BarModelTest, HintFollowsCaptionUntilEdited)
{
    auto* item = NewItem<TdxBarButton>();
    item->SetCaption("&Open...");
    EXPECT_EQ(item->Hint(), "Open");
    item->SetCaption("&Save");
    EXPECT_EQ(item->Hint(), "Save");

    // A long part survives; only the short part follows.
    item->SetHint("Save|Saves the document");
    item->SetCaption("Save &As...");
    EXPECT_EQ(item->Hint(), "Save As|Saves the document");

    // An edited hint no longer follows.
    item->SetHint("Write to disk");
    item->SetCaption("&Close");
    EXPECT_EQ(item->Hint(), "Write to disk");
}

TEST_F(BarModelTest, SubItemHintNeverFollowsCaption)
{
    auto* sub = NewItem<TdxBarSubItem>("&File");
    EXPECT_EQ(sub->Hint(), "");
}

TEST_F(BarModelTest, CaptionAsHintAndAccelerators)
{
    auto* item = NewItem<TdxBarButton>("A&b & c......");
    EXPECT_EQ(item->GetCaptionAsHint(), "Ab & c...");

    EXPECT_EQ(dxBarCaptionAccel("&Open"), QChar('o'));
    EXPECT_EQ(dxBarCaptionAccel("Save &As"), QChar('a'));
    EXPECT_EQ(dxBarCaptionAccel("Fish && &Chips"), QChar('c'));
    EXPECT_TRUE(dxBarCaptionAccel("Fish && Chips").isNull());
    // A lone "&" at the end names nothing and reads nothing beyond the text.
    EXPECT_TRUE(dxBarCaptionAccel("Trailing&").isNull());
    EXPECT_EQ(dxBarCaptionAccel("&x then&"), QChar('x'));
    EXPECT_TRUE(dxBarCaptionAccel("&").isNull());
}

// ---------------------------------------------------------------- click dispatch

TEST_F(BarModelTest, ClickRunsManagerOnClickItemBeforeOnClick)
{
    Recorder r;
    manager->SetOnClickItem(TdxBarClickItemEvent(&r, &Recorder::ClickItem));
    auto* item = NewItem<TdxBarButton>("Go");
    item->SetOnClick(TNotifyEvent(&r, &Recorder::Click));

    item->DirectClick();
    EXPECT_EQ(r.log, QStringList({"OnClickItem:Go", "OnClick"}));

    r.log.clear();
    item->SetEnabled(false);
    item->DirectClick();
    item->DoClick();
    EXPECT_TRUE(r.log.isEmpty());
}

TEST_F(BarModelTest, WindowItemsAreNotClickedDirectly)
{
    Recorder r;
    auto* edit = NewItem<TdxBarEdit>("Path");
    edit->SetOnClick(TNotifyEvent(&r, &Recorder::Click));
    edit->DirectClick();
    EXPECT_TRUE(r.log.isEmpty());
    edit->DoClick();
    EXPECT_EQ(r.log, QStringList({"OnClick"}));
}

TEST_F(BarModelTest, ClickHandlerExceptionGoesToApplicationHandler)
{
    Recorder r;
    auto* item = NewItem<TdxBarButton>("Go");
    r.onClick = [](TObject*) { throw Exception("handler failed"); };
    item->SetOnClick(TNotifyEvent(&r, &Recorder::Click));
    EXPECT_NO_THROW(item->DirectClick());
    EXPECT_EQ(shownErrors, QStringList({"handler failed"}));

    // Also from the manager's OnClickItem, which then stops the click.
    shownErrors.clear();
    r.log.clear();
    r.onClickItem = [](TdxBarItem*) { throw std::runtime_error("item hook failed"); };
    manager->SetOnClickItem(TdxBarClickItemEvent(&r, &Recorder::ClickItem));
    EXPECT_NO_THROW(item->DirectClick());
    EXPECT_EQ(shownErrors, QStringList({"item hook failed"}));
    EXPECT_EQ(r.log, QStringList({"OnClickItem:Go"}));
}

TEST_F(BarModelTest, HandlerMayFreeItsItem)
{
    auto* item = NewItem<TdxBarButton>("Close");
    Show(item);
    QPointer<TdxBarButton> guard(item);
    Recorder r;
    r.onClickItem = [](TdxBarItem* clicked) { delete clicked; };
    manager->SetOnClickItem(TdxBarClickItemEvent(&r, &Recorder::ClickItem));
    item->SetOnClick(TNotifyEvent(&r, &Recorder::Click));
    item->DirectClick();
    EXPECT_TRUE(guard.isNull());
    EXPECT_EQ(r.log, QStringList({"OnClickItem:Close"}));
    EXPECT_EQ(bar->ItemLinks()->Count(), 0);
}

TEST_F(BarModelTest, CustomizingEnablesItemsWithCategory)
{
    auto* item = NewItem<TdxBarButton>("Go");
    item->SetEnabled(false);
    manager->SetIsCustomizing(true);
    EXPECT_FALSE(item->Enabled());  // no category
    item->SetCategory(0);
    EXPECT_TRUE(item->Enabled());
    manager->SetIsCustomizing(false);
    EXPECT_FALSE(item->Enabled());

    // Out-of-range categories are ignored outside loading.
    item->SetCategory(5);
    EXPECT_EQ(item->Category(), 0);
    EXPECT_TRUE(item->HasParent());
    EXPECT_EQ(item->GetParentComponent(), manager);
}

// ---------------------------------------------------------------- actions

static bool CaptionStored(TdxBarItem* item)
{
    return IsStoredProp(item, FindPublishedProperty(item->metaObject(), u"Caption"));
}

TEST_F(BarModelTest, HandlerTakenFromActionRunsTheActionPath)
{
    Recorder r;
    auto* action = Create<TCustomAction>(form.get());
    action->SetCaption("&Print");
    action->SetShortCut(scCtrl | 'P');
    action->SetOnExecute(TNotifyEvent(&r, &Recorder::Execute));
    action->SetOnUpdate(TNotifyEvent(&r, &Recorder::Update));

    auto* item = NewItem<TdxBarButton>();
    item->SetAction(action);
    EXPECT_EQ(item->Caption(), "&Print");
    EXPECT_EQ(item->ShortCut(), scCtrl | 'P');
    EXPECT_TRUE(item->OnClick().SameCode(action->GetOnExecute()));

    item->DirectClick();
    EXPECT_EQ(r.log, QStringList({"Update", "Execute"}));

    // Values the action supplies are not streamed; an edited one is, until the action
    // changes again and supplies it anew.
    action->SetEnabled(false);
    EXPECT_FALSE(item->Enabled());
    EXPECT_FALSE(CaptionStored(item));
    item->SetCaption("Mine");
    EXPECT_TRUE(CaptionStored(item));
    action->SetCaption("Theirs");
    EXPECT_EQ(item->Caption(), "Theirs");
    EXPECT_FALSE(CaptionStored(item));

    // A handler of the item's own runs instead of the action.
    r.log.clear();
    action->SetEnabled(true);
    item->SetOnClick(TNotifyEvent(&r, &Recorder::Click));
    item->DirectClick();
    EXPECT_EQ(r.log, QStringList({"OnClick"}));

    delete action;
    EXPECT_EQ(item->Action(), nullptr);
}

TEST_F(BarModelTest, AssignToCopiesIntoAction)
{
    auto* item = NewItem<TdxBarButton>("&Bold");
    item->SetButtonStyle(bsChecked);
    item->SetDown(true);
    item->SetVisible(ivInCustomizing);
    auto* action = Create<TCustomAction>(form.get());
    action->Assign(item);
    EXPECT_EQ(action->Caption(), "&Bold");
    EXPECT_TRUE(action->Checked());
    EXPECT_TRUE(action->Visible());  // ivInCustomizing leaves it as it was
}

// ---------------------------------------------------------------- change propagation

TEST_F(BarModelTest, ChangesReachControlsExceptUserOverrides)
{
    auto* item = NewItem<TdxBarButton>("One");
    TdxBarItemLink* plain = Show(item);
    TdxBarItemLink* custom = Show(item);
    custom->SetUserCaption("Mine");
    Fake(custom)->calls.clear();

    item->SetCaption("Two");
    item->SetEnabled(false);
    item->SetImageIndex(3);
    item->SetShortCut(scCtrl | 'T');
    EXPECT_EQ(Fake(plain)->calls, QStringList({"CaptionChanged", "EnabledChanged", "GlyphChanged", "ShortCutChanged"}));
    EXPECT_EQ(Fake(custom)->calls, QStringList({"EnabledChanged", "GlyphChanged", "ShortCutChanged"}));
    EXPECT_EQ(custom->Caption(), "Mine");
    EXPECT_EQ(plain->Caption(), "Two");

    // Clearing the overrides restores the item's values.
    custom->SetUserDefine({});
    EXPECT_EQ(custom->Caption(), "Two");
    EXPECT_EQ(custom->UserCaption(), "");

    // Nothing changes, nothing is sent.
    Fake(plain)->calls.clear();
    item->SetCaption("Two");
    item->SetEnabled(false);
    EXPECT_TRUE(Fake(plain)->calls.isEmpty());
}

TEST_F(BarModelTest, LoadingRemembersWithoutNotifying)
{
    auto* item = NewItem<TdxBarButton>("One");
    TdxBarItemLink* link = Show(item);
    Fake(link)->calls.clear();
    item->SetLoadingState(true);
    item->SetCaption("Two");
    item->SetVisible(ivNever);
    item->SetCategory(7);
    EXPECT_EQ(item->Visible(), ivAlways);
    EXPECT_EQ(item->Hint(), "One");
    item->SetLoadingState(false);
    EXPECT_TRUE(Fake(link)->calls.isEmpty());
    EXPECT_EQ(item->Category(), 7);
    item->ApplyPendingVisible();
    EXPECT_EQ(item->Visible(), ivNever);
}

TEST_F(BarModelTest, VisibleInCustomizingShowsOnlyWhileCustomizing)
{
    auto* item = NewItem<TdxBarButton>("Debug");
    TdxBarItemLink* link = Show(item);
    EXPECT_EQ(bar->ItemLinks()->VisibleItemCount(), 1);

    item->SetVisible(ivInCustomizing);
    EXPECT_EQ(link->Control(), nullptr);
    EXPECT_EQ(bar->ItemLinks()->VisibleItemCount(), 0);
    EXPECT_FALSE(manager->UpdateLocked());

    manager->SetIsCustomizing(true);
    item->SetVisible(ivAlways);
    item->SetVisible(ivInCustomizing);
    EXPECT_NE(link->Control(), nullptr);
    EXPECT_TRUE(item->IsVisibleNow());
    EXPECT_EQ(bar->ItemLinks()->VisibleItemCount(), 1);
}

TEST_F(BarModelTest, DestroyingAnItemRemovesItsLinksAndUnlistsIt)
{
    auto* item = NewItem<TdxBarButton>("Gone");
    Show(item);
    Show(item);
    Recorder r;
    item->SetOnDestroy(TNotifyEvent(&r, &Recorder::Click));
    EXPECT_EQ(manager->ItemCount(), 1);
    delete item;
    EXPECT_EQ(r.log, QStringList({"OnClick"}));
    EXPECT_EQ(bar->ItemLinks()->Count(), 0);
    EXPECT_EQ(manager->ItemCount(), 0);
}

namespace {
// Counts the customizing window's item notifications.
struct FakeCustomizingForm : TdxBarCustomizingNotifications {
    bool Exists() const override { return true; }
    void ItemsChanged() override { ++itemsChanged; }
    void ItemDestroyed(TdxBarItem*) override { ++destroyed; }
    int itemsChanged = 0;
    int destroyed = 0;
};
}  // namespace

TEST_F(BarModelTest, CustomizingWindowHearsOfItemChanges)
{
    FakeCustomizingForm window;
    dxBarSetCustomizingForm(&window);
    auto* item = NewItem<TdxBarButton>("Cut");
    item->SetCategory(0);
    window.itemsChanged = 0;

    item->SetCaption("Cu&t");
    item->SetDescription("Moves the selection");
    item->SetShortCut(scCtrl | 'X');
    TBitmap glyph;
    glyph.SetSize(16, 16);
    item->SetGlyph(&glyph);
    EXPECT_EQ(window.itemsChanged, 4);

    item->SetEnabled(false);  // enabled state is not the window's concern
    EXPECT_EQ(window.itemsChanged, 4);

    delete item;
    EXPECT_EQ(window.destroyed, 1);
    dxBarSetCustomizingForm(nullptr);
}

TEST_F(BarModelTest, ActionCheckedAndVisibleMapOntoTheItem)
{
    auto* action = Create<TCustomAction>(form.get());
    auto* button = NewItem<TdxBarButton>();
    button->SetButtonStyle(bsChecked);
    button->SetAction(action);
    action->SetChecked(true);
    EXPECT_TRUE(button->Down());
    action->SetVisible(false);
    EXPECT_EQ(button->Visible(), ivNever);

    // An action still loading gives only the values the item has left at their defaults.
    auto* loaded = NewItem<TdxBarButton>("Own caption");
    action->SetCaption("Action caption");
    action->IncludeState(csLoading);
    loaded->SetAction(action);
    action->ExcludeState(csLoading);
    EXPECT_EQ(loaded->Caption(), "Own caption");
    EXPECT_EQ(loaded->Visible(), ivNever);
}
