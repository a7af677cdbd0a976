#include "BarModelFixture.h"

#include "Strings.h"

#include "dxBarStrs.h"

// ---------------------------------------------------------------- buttons

TEST_F(BarModelTest, CheckedButtonGroups)
{
    auto* left = NewItem<TdxBarButton>("Left");
    auto* right = NewItem<TdxBarButton>("Right");
    for (TdxBarButton* b : {left, right}) {
        b->SetButtonStyle(bsChecked);
        b->SetGroupIndex(1);
    }
    left->SetDown(true);
    right->SetDown(true);
    EXPECT_FALSE(left->Down());
    EXPECT_TRUE(right->Down());

    // The only down button of a group stays down without AllowAllUp.
    right->SetDown(false);
    EXPECT_TRUE(right->Down());
    right->DirectClick();
    EXPECT_TRUE(right->Down());

    // AllowAllUp is shared by the group.
    left->SetAllowAllUp(true);
    EXPECT_TRUE(right->AllowAllUp());
    right->DirectClick();
    EXPECT_FALSE(right->Down());
}

TEST_F(BarModelTest, ButtonDownAndGroupRules)
{
    auto* plain = NewItem<TdxBarButton>("Plain");
    plain->SetGroupIndex(3);
    EXPECT_EQ(plain->GroupIndex(), 0);
    plain->SetDown(true);
    EXPECT_FALSE(plain->Down());

    auto* toggle = NewItem<TdxBarButton>("Toggle");
    TdxBarItemLink* link = Show(toggle);
    toggle->SetButtonStyle(bsChecked);
    toggle->DirectClick();
    EXPECT_TRUE(toggle->Down());
    EXPECT_TRUE(Fake(link)->calls.contains("DownChanged"));

    // Disabled: no toggling either.
    toggle->SetEnabled(false);
    toggle->DirectClick();
    EXPECT_TRUE(toggle->Down());

    // A style change releases the button.
    toggle->SetButtonStyle(bsDropDown);
    EXPECT_FALSE(toggle->Down());
}

TEST_F(BarModelTest, PaintStyleAndWidthSkipUserOverrides)
{
    auto* button = NewItem<TdxBarButton>("B");
    TdxBarItemLink* own = Show(button);
    TdxBarItemLink* user = Show(button);
    user->SetUserPaintStyle(psCaption);
    Fake(user)->calls.clear();
    button->SetPaintStyle(psCaptionGlyph);
    EXPECT_TRUE(Fake(own)->calls.contains("PaintStyleChanged"));
    EXPECT_FALSE(Fake(user)->calls.contains("PaintStyleChanged"));
    EXPECT_EQ(user->PaintStyle(), psCaption);
    EXPECT_EQ(own->PaintStyle(), psCaptionGlyph);

    auto* edit = NewItem<TdxBarEdit>("E");
    TdxBarItemLink* editLink = Show(edit);
    edit->SetWidth(5);
    EXPECT_EQ(edit->Width(), 20);
    edit->SetWidth(1000);
    EXPECT_EQ(edit->Width(), 600);
    EXPECT_EQ(Fake(editLink)->calls.count("WidthChanged"), 2);
    editLink->SetUserWidth(1);
    EXPECT_EQ(editLink->Width(), 20);
    edit->SetMaxLength(-4);
    EXPECT_EQ(edit->MaxLength(), 0);
}

TEST_F(BarModelTest, AcceleratorsOnToolbarsNeedAVisibleCaption)
{
    auto* button = NewItem<TdxBarButton>("&Go");
    TdxBarItemLink* onBar = Show(button);
    EXPECT_FALSE(button->IsAccelEnabled(onBar));
    button->SetPaintStyle(psCaptionGlyph);
    EXPECT_TRUE(button->IsAccelEnabled(onBar));

    auto* sub = NewItem<TdxBarSubItem>("&Menu");
    TdxBarItemLink* inMenu = sub->ItemLinks()->Add();
    inMenu->SetItem(button);
    button->SetPaintStyle(psStandard);
    EXPECT_TRUE(button->IsAccelEnabled(inMenu));
    button->SetEnabled(false);
    EXPECT_FALSE(button->IsAccelEnabled(inMenu));
}

// ---------------------------------------------------------------- combos

TEST_F(BarModelTest, ComboItemIndexAndTextFollowEachOther)
{
    auto* combo = NewItem<TdxBarCombo>("Size");
    combo->Items()->SetText("Small\nMedium\nLarge");
    combo->SetItemIndex(2);
    EXPECT_EQ(combo->Text(), "Large");
    combo->SetText("Huge");
    EXPECT_EQ(combo->ItemIndex(), -1);
    combo->SetText("Medium");
    EXPECT_EQ(combo->ItemIndex(), 1);
    combo->SetItemIndex(7);
    EXPECT_EQ(combo->ItemIndex(), -1);
    EXPECT_EQ(combo->Text(), "");

    // Shrinking the list past the selection clears it.
    combo->SetItemIndex(2);
    combo->Items()->Delete(2);
    EXPECT_EQ(combo->ItemIndex(), -1);

    combo->Items()->SetText("pear\napple\nfig");
    combo->SetText("fig");
    combo->SetSorted(true);
    EXPECT_EQ(combo->Items()->Strings(0), "apple");
    EXPECT_EQ(combo->ItemIndex(), 1);
}

TEST_F(BarModelTest, ComboBestMatchAndKeys)
{
    auto* combo = NewItem<TdxBarCombo>();
    combo->Items()->SetText("Arial\nCourier New\nCourier\nTimes");
    EXPECT_EQ(combo->FindBestMatch("cour"), 1);
    EXPECT_EQ(combo->FindBestMatch("Courx"), 1);
    EXPECT_EQ(combo->FindBestMatch("Tx"), 3);
    EXPECT_EQ(combo->FindBestMatch("zz"), -1);
    EXPECT_EQ(combo->FindBestMatch(""), -1);

    EXPECT_TRUE(combo->CheckKeyForDropDownWindow(VK_DOWN, {}));
    EXPECT_FALSE(combo->CheckKeyForDropDownWindow(VK_DOWN, ssAlt));
    EXPECT_FALSE(combo->CheckKeyForDropDownWindow('A', {}));

    auto* base = NewItem<TCustomdxBarCombo>();
    EXPECT_TRUE(base->CheckKeyForDropDownWindow('A', {}));
    EXPECT_FALSE(base->CheckKeyForDropDownWindow(VK_ESCAPE, {}));
}

TEST(dxBarDropDownPosition, StaysInsideTheWorkArea)
{
    const QRect area(0, 0, 800, 600);
    const QSize window(200, 150);
    const QSize link(100, 22);
    // Horizontal toolbar near the bottom: opens above the link, where there is more room.
    EXPECT_EQ(dxBarDropDownPosition({50, 500}, window, link, area, false), QPoint(50, 500 - 22 - 150));
    // Near the right edge: pulled left to the edge.
    EXPECT_EQ(dxBarDropDownPosition({700, 100}, window, link, area, false), QPoint(600, 100));
    // Menu near the right edge with more room on the left: opens on the link's other side.
    EXPECT_EQ(dxBarDropDownPosition({700, 100}, window, link, area, true), QPoint(700 - 200 - 100, 100));
    // Menu near the bottom: pushed up to the bottom edge.
    EXPECT_EQ(dxBarDropDownPosition({10, 500}, window, link, area, true), QPoint(10, 450));
    // Nothing ends up at negative coordinates.
    EXPECT_EQ(dxBarDropDownPosition({50, 30}, QSize(200, 700), link, area, true), QPoint(50, 0));
}

// ---------------------------------------------------------------- sub items and containers

TEST_F(BarModelTest, RecursiveSubItemsAreRefused)
{
    auto* outer = NewItem<TdxBarSubItem>("Outer");
    auto* inner = NewItem<TdxBarSubItem>("Inner");
    inner->ItemLinks()->Add()->SetItem(outer);

    TdxBarItemLink* self = outer->ItemLinks()->Add();
    EXPECT_THROW(self->SetItem(outer), Exception);
    EXPECT_EQ(outer->ItemLinks()->Count(), 0);  // the refused link is freed
    try {
        outer->ItemLinks()->Add()->SetItem(inner);
        FAIL() << "expected an exception";
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), dxBarStr(dxSBAR_RECURSIVESUBITEMS));
    }
    EXPECT_EQ(outer->ItemLinks()->Count(), 0);
    EXPECT_FALSE(outer->ItemLinks()->ContainsItem(inner));
    EXPECT_TRUE(inner->ItemLinks()->ContainsItem(outer));
}

TEST_F(BarModelTest, ListItemExpandsIntoNumberedButtons)
{
    Recorder r;
    auto* list = NewItem<TdxBarListItem>("Recent");
    list->SetOnClick(TNotifyEvent(&r, &Recorder::Click));
    QStringList entries = {"One", "-", "Two"};
    for (int i = 3; i <= 10; ++i) entries << QString("File%1").arg(i);
    list->Items()->SetText(entries.join('\n'));

    auto* menu = NewItem<TdxBarSubItem>("Menu");
    TdxBarItemLink* own = menu->ItemLinks()->Add();
    own->SetItem(list);
    TdxBarItemLinks* target = menu->ItemLinks();
    list->AddListedItemLinks(target, 0, own, true);

    ASSERT_EQ(list->GeneratedButtons().size(), 10);
    ASSERT_EQ(target->Count(), 11);
    EXPECT_EQ(target->Items(0)->Item()->Caption(), "&1 One");
    EXPECT_EQ(target->Items(1)->Item()->Caption(), "&2 Two");
    EXPECT_EQ(target->Items(9)->Item()->Caption(), "&A File10");
    EXPECT_TRUE(target->Items(1)->BeginGroup());
    EXPECT_FALSE(target->Items(2)->BeginGroup());
    EXPECT_EQ(target->Items(1)->OriginalItemLink(), own);

    // A generated button selects its entry (position, separators counted) and clicks the list.
    target->Items(1)->Item()->DirectClick();
    EXPECT_EQ(list->ItemIndex(), 2);
    EXPECT_EQ(list->DataIndex(), 1);
    EXPECT_EQ(r.log, QStringList({"OnClick"}));

    list->DeleteListedItemLinks(target, 0);
    EXPECT_EQ(target->Count(), 1);
    list->SetClearPending();
    list->ClearItems();
    EXPECT_TRUE(list->GeneratedButtons().isEmpty());
    EXPECT_FALSE(list->ClearPending());
}

TEST_F(BarModelTest, ListItemDataIndex)
{
    auto* list = NewItem<TdxBarListItem>();
    EXPECT_EQ(list->DataIndex(), -1);
    list->SetDataIndex(0);
    EXPECT_EQ(list->ItemIndex(), -1);

    list->Items()->SetText("a\n-\nb\nc");
    list->SetDataIndex(2);
    EXPECT_EQ(list->ItemIndex(), 3);
    EXPECT_EQ(list->DataIndex(), 2);
    list->SetDataIndex(5);  // no such entry
    EXPECT_EQ(list->ItemIndex(), -1);
    EXPECT_EQ(list->DataIndex(), -1);
    list->SetItemIndex(9);
    EXPECT_EQ(list->ItemIndex(), 3);
}

TEST_F(BarModelTest, ListItemFreedButtonsAreForgotten)
{
    auto* list = NewItem<TdxBarListItem>();
    list->Items()->SetText("a\nb");
    list->SetShowCheck(true);
    list->SetItemIndex(1);
    auto* menu = NewItem<TdxBarSubItem>("Menu");
    TdxBarItemLink* own = menu->ItemLinks()->Add();
    own->SetItem(list);
    list->AddListedItemLinks(menu->ItemLinks(), 0, own, true);
    ASSERT_EQ(list->GeneratedButtons().size(), 2);
    EXPECT_TRUE(list->GeneratedButtons()[1]->Down());
    EXPECT_EQ(list->GeneratedButtons()[0]->ButtonStyle(), bsDefault);

    delete list->GeneratedButtons()[0];
    EXPECT_EQ(list->GeneratedButtons().size(), 1);
    delete list;  // frees the remaining button without touching the freed one
    EXPECT_EQ(menu->ItemLinks()->Count(), 0);
}

TEST_F(BarModelTest, ContainerItemCopiesItsVisibleLinks)
{
    auto* a = NewItem<TdxBarButton>("A");
    auto* b = NewItem<TdxBarButton>("B");
    auto* hidden = NewItem<TdxBarButton>("Hidden");
    auto* container = NewItem<TdxBarContainerItem>("Group");
    for (TdxBarItem* item :
         {static_cast<TdxBarItem*>(a), static_cast<TdxBarItem*>(hidden), static_cast<TdxBarItem*>(b)})
        container->ItemLinks()->Add()->SetItem(item);
    container->ItemLinks()->Items(1)->SetVisible(false);

    auto* menu = NewItem<TdxBarSubItem>("Menu");
    menu->ItemLinks()->Add()->SetItem(NewItem<TdxBarButton>("First"));
    TdxBarItemLink* own = menu->ItemLinks()->Add();
    own->SetItem(container);
    container->AddListedItemLinks(menu->ItemLinks(), 2, own, true);
    ASSERT_EQ(menu->ItemLinks()->Count(), 4);
    EXPECT_EQ(menu->ItemLinks()->Items(2)->Item(), a);
    EXPECT_EQ(menu->ItemLinks()->Items(3)->Item(), b);
    EXPECT_TRUE(menu->ItemLinks()->Items(2)->BeginGroup());

    container->DeleteListedItemLinks(menu->ItemLinks(), 2);
    EXPECT_EQ(menu->ItemLinks()->Count(), 2);
    // Its own links are never the target.
    container->AddListedItemLinks(container->ItemLinks(), 0, own, false);
    EXPECT_EQ(container->ItemLinks()->Count(), 3);
}

TEST_F(BarModelTest, WindowItemTextNotifies)
{
    Recorder r;
    auto* edit = NewItem<TdxBarEdit>("Path");
    TdxBarItemLink* link = Show(edit);
    edit->OnChange = TNotifyEvent(&r, &Recorder::Click);
    Fake(link)->calls.clear();
    edit->SetText("C:/");
    EXPECT_EQ(r.log, QStringList({"OnClick"}));
    EXPECT_EQ(Fake(link)->calls, QStringList({"Repaint", "Repaint"}));
    EXPECT_EQ(edit->CurText(), "C:/");
    edit->SetText("C:/");
    EXPECT_EQ(r.log.size(), 1);
}
