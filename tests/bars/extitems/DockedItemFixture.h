#pragma once
// A flat-look manager with the extended items started, its toolbar docked on the form in
// DejaVu Sans of 11 pixels (the toolbar's items 19 pixels high), and the manual clock.
#include "../windows/BarWindowFixture.h"
#include "SysParams.h"
#include "ThreadTimers.h"
#include "dxBarExtItems.h"

#include <QImage>
#include <QPointer>

class DockedItemTest : public BarWindowTest {
protected:
    void SetUp() override
    {
        BarWindowTest::SetUp();
        dxBarExtItemsInitialize();
        UseManualTimerClock(true);
        manager->SetUseSystemFont(false);
        manager->Font()->SetName("DejaVu Sans");
        manager->Font()->SetHeight(-11);
    }
    void TearDown() override
    {
        BarWindowTest::TearDown();
        dxBarExtItemsFinalize();
        UseManualTimerClock(false);
    }

    // An item of the class with the caption, linked last on the bar.
    template <class T>
    T* AddItem(const QString& caption)
    {
        auto* item = Create<T>(form.get());
        item->SetCaption(caption);
        bar->ItemLinks()->Add()->SetItem(item);
        return item;
    }
    TdxBarControl* Show(int width = 600)
    {
        toolbar = Dock(width);
        return toolbar;
    }
    // The toolbar as painted now, and a link's rectangle in that picture.
    QImage Shot() const { return toolbar->Snapshot(); }
    QRect InShot(const TdxBarItemLink* link) const
    {
        const TRect frame = toolbar->ClientBounds();
        return link->ItemRect().translated(frame.Left, frame.Top);
    }
    // The control of a link, or none while the link is not shown.
    TdxBarItemControl* ControlOf(int link) const { return Link(link)->Control(); }
    // Links an item of the class for each case ({name, set(item), size}), set up by the case,
    // and shows the bar: each link's control asks for the case's size, and the link is as
    // wide on the bar.
    template <class T, class Cases>
    void ExpectSizes(const QString& caption, const Cases& cases)
    {
        for (const auto& c : cases) c.set(AddItem<T>(caption));
        Show();
        int i = 0;
        for (const auto& c : cases) {
            TdxBarItemControl* control = ControlOf(i);
            ASSERT_NE(control, nullptr) << c.name;
            EXPECT_EQ(QSize(control->GetWidth(), control->GetHeight()), c.size) << c.name;
            EXPECT_EQ(Link(i)->ItemRect().width(), c.size.width()) << c.name;
            ++i;
        }
    }

    QPointer<TdxBarControl> toolbar;
};

// The pixels of an area in one colour.
inline int CountColour(const QImage& image, const QRect& area, const QColor& colour)
{
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x) n += image.pixelColor(x, y) == colour;
    return n;
}

// The smallest rectangle that holds every pixel inside an area that is (or, with others,
// is not) of the colour; null when none is.
inline QRect BoundsOfColour(const QImage& image, const QRect& area, const QColor& colour, bool others = false)
{
    QRect bounds;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if ((image.pixelColor(x, y) == colour) != others) bounds |= QRect(x, y, 1, 1);
    return bounds;
}
inline QRect BoundsOfOthers(const QImage& image, const QRect& area, const QColor& colour)
{
    return BoundsOfColour(image, area, colour, true);
}
