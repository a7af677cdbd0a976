#pragma once
// A docked main menu bar with sub items whose menus hold buttons, and the sounds played.
#include "BarWindowFixture.h"
#include "dxBarDrawing.h"
#include "dxBarSubItemControl.h"
#include "dxBarSubMenuControl.h"

#include <initializer_list>

class MenuWindowTest : public BarWindowTest {
protected:
    void SetUp() override
    {
        BarWindowTest::SetUp();
        dxBarSetSoundPlayer([this](const QString& alias) { sounds << alias; });
        manager->SetMenusShowRecentItemsFirst(false);
        bar->SetIsMainMenu(true);
    }
    void TearDown() override
    {
        dxBarSetSoundPlayer({});
        BarWindowTest::TearDown();
    }

    // A sub item on the menu bar (or in links) holding buttons with the captions.
    TdxBarSubItem* AddSubItem(const QString& caption, const QStringList& items, TdxBarItemLinks* links = nullptr)
    {
        auto* sub = Create<TdxBarSubItem>(form.get());
        sub->SetCaption(caption);
        for (const QString& text : items) {
            auto* button = Create<TdxBarButton>(form.get());
            button->SetCaption(text);
            button->SetOnClick(TNotifyEvent(&recorder, &TClickRecorder::Click));
            sub->ItemLinks()->Add()->SetItem(button);
        }
        (links ? links : bar->ItemLinks())->Add()->SetItem(sub);
        return sub;
    }
    // In recent-items mode: a sub item whose links at the indexes were not used recently.
    TdxBarSubItem* AddShortenedSubItem(const QString& caption, const QStringList& items,
                                       std::initializer_list<int> notRecent)
    {
        manager->SetMenusShowRecentItemsFirst(true);
        TdxBarSubItem* sub = AddSubItem(caption, items);
        for (int i : notRecent) sub->ItemLinks()->Items(i)->SetMostRecentlyUsed(false);
        sub->ItemLinks()->AfterLoad(false);
        return sub;
    }
    TdxBarControl* DockMenuBar(int width = 600)
    {
        menuBar = Dock(width);
        return menuBar;
    }
    static TdxBarSubMenuControl* MenuOf(TCustomdxBarSubItem* sub)
    {
        return qobject_cast<TdxBarSubMenuControl*>(sub->ItemLinks()->BarControl());
    }
    static TPoint Centre(TdxBarItemLink* link) { return link->ItemRect().center(); }
    // A press on a menu-bar title.
    void PressTitle(int index)
    {
        const TPoint at = Centre(Link(index));
        menuBar->MouseMove(at, {});
        menuBar->LButtonDown(at, {});
        menuBar->LButtonUp(at, {});
    }
    // Each row of a menu as its caption, with "[x]" when checked, "|" before a group start
    // and "-" when disabled.
    static QStringList MenuRows(TdxBarSubMenuControl* menu)
    {
        QStringList rows;
        TdxBarItemLinks* links = menu ? menu->ItemLinks() : nullptr;
        for (int i = 0; links && i < links->Count(); ++i) {
            TdxBarItemLink* link = links->Items(i);
            auto* button = qobject_cast<TdxBarButton*>(link->Item());
            QString row = (link->BeginGroup() ? "|" : "") + link->Item()->Caption();
            if (button && button->ButtonStyle() == bsChecked && button->Down()) row += "[x]";
            if (!link->Item()->Enabled()) row += "-";
            rows << row;
        }
        return rows;
    }
    // Press and release on a row of a menu.
    static void ClickRow(TdxBarSubMenuControl* menu, int index)
    {
        QPointer<TdxBarSubMenuControl> guard(menu);
        const TPoint at = Centre(menu->ItemLinks()->Items(index));
        menu->MouseMove(at, {});
        if (guard) menu->LButtonDown(at, {});
        if (guard) menu->LButtonUp(at, {});
    }

    QPointer<TdxBarControl> menuBar;
    QStringList sounds;
};
