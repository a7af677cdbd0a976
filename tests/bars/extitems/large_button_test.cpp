// Large buttons: their sizes on a toolbar, the glyph they show in each state, and their plain
// look in menus.
#include "DockedItemFixture.h"
#include "dxBarLargeButton.h"
#include "dxBarSubMenuControl.h"

namespace {

class LargeButtonTest : public DockedItemTest {
protected:
    // A square glyph of one colour but for its bottom-left pixel, which names the transparent
    // colour.
    static TBitmap* Solid(TBitmap& bitmap, Qt::GlobalColor colour, int size = 32)
    {
        QImage image(size, size, QImage::Format_RGB32);
        image.fill(colour);
        image.setPixelColor(0, size - 1, Qt::magenta);
        bitmap.SetImage(image);
        return &bitmap;
    }
    TdxBarLargeButton* AddLarge(const QString& caption) { return AddItem<TdxBarLargeButton>(caption); }
};

TEST_F(LargeButtonTest, SizesItselfFromItsGlyphCaptionAndLayout)
{
    TBitmap glyph;
    const struct {
        const char* name;
        std::function<void(TdxBarLargeButton*)> set;
        QSize size;
    } cases[] = {
        {"caption under no glyph", [](TdxBarLargeButton*) {}, {45, 40}},
        {"caption beside no glyph", [](TdxBarLargeButton* b) { b->SetGlyphLayout(glLeft); }, {65, 26}},
        {"no caption", [](TdxBarLargeButton* b) { b->SetShowCaption(false); }, {30, 26}},
        {"caption under a 32-pixel glyph",
         [&](TdxBarLargeButton* b) { b->SetLargeGlyph(Solid(glyph, Qt::red)); },
         {45, 52}},
        {"a fixed width", [](TdxBarLargeButton* b) { b->SetWidth(70); }, {70, 40}},
    };
    ExpectSizes<TdxBarLargeButton>("Open", cases);

    // A negative size is ignored.
    auto* fixed = static_cast<TdxBarLargeButton*>(Link(4)->Item());
    fixed->SetWidth(-1);
    fixed->SetHeight(-1);
    EXPECT_EQ(fixed->Width(), 70);
    EXPECT_EQ(fixed->Height(), 0);
    // Without its caption it takes no accelerator on a toolbar.
    EXPECT_TRUE(fixed->IsAccelEnabled(Link(4)));
    EXPECT_FALSE(Link(2)->Item()->IsAccelEnabled(Link(2)));
}

TEST_F(LargeButtonTest, ShowsItsHotGlyphWhenHotAndIsGreyOtherwise)
{
    TBitmap red, blue;
    Solid(red, Qt::red);
    Solid(blue, Qt::blue);
    const QColor grey(85, 85, 85);  // red made grey
    const struct {
        const char* name;
        TBitmap* large;
        TBitmap* hot;
        bool autoGrayScale;
        QColor normal, whenHot;
    } cases[] = {
        {"grey unless hot", &red, nullptr, true, grey, Qt::red},
        {"hot and large", &red, &blue, false, Qt::red, Qt::blue},
        {"large only", &red, nullptr, false, Qt::red, Qt::red},
        {"hot only", nullptr, &blue, false, Qt::blue, Qt::blue},
    };
    for (const auto& c : cases) {
        TdxBarLargeButton* button = AddLarge("Open");
        button->SetLargeGlyph(c.large);
        button->SetHotGlyph(c.hot);
        button->SetAutoGrayScale(c.autoGrayScale);
    }
    Show();
    for (int i = 0; i < int(std::size(cases)); ++i) {
        const auto& c = cases[i];
        toolbar->SetMouseSelectedItem(nullptr);
        EXPECT_EQ(CountColour(Shot(), InShot(Link(i)), c.normal), 32 * 32 - 1) << c.name;
        toolbar->MouseMove(Link(i)->ItemRect().center(), {});
        ASSERT_TRUE(ControlOf(i)->IsDrawnSelected()) << c.name;
        EXPECT_EQ(CountColour(Shot(), InShot(Link(i)), c.whenHot), 32 * 32 - 1) << c.name;
    }
}

TEST_F(LargeButtonTest, InAMenuItIsAPlainButton)
{
    TBitmap red;
    auto* sub = AddItem<TdxBarSubItem>("Files");
    auto* large = Create<TdxBarLargeButton>(form.get());
    large->SetCaption("Open");
    large->SetLargeGlyph(Solid(red, Qt::red));
    large->SetGlyphLayout(glLeft);
    auto* plain = Create<TdxBarButton>(form.get());
    plain->SetCaption("Open");
    sub->ItemLinks()->Add()->SetItem(large);
    sub->ItemLinks()->Add()->SetItem(plain);
    Show();
    const TPoint title = Link(0)->ItemRect().center();
    toolbar->LButtonDown(title, {});
    toolbar->LButtonUp(title, {});
    auto* menu = qobject_cast<TdxBarSubMenuControl*>(sub->ItemLinks()->BarControl());
    ASSERT_NE(menu, nullptr);
    TdxBarItemLink* largeRow = sub->ItemLinks()->Items(0);
    TdxBarItemLink* plainRow = sub->ItemLinks()->Items(1);
    ASSERT_NE(largeRow->Control(), nullptr);
    EXPECT_EQ(largeRow->Control()->GetWidth(), plainRow->Control()->GetWidth());
    EXPECT_EQ(largeRow->Control()->GetHeight(), plainRow->Control()->GetHeight());
    const QImage shot = menu->Snapshot();
    const TRect frame = menu->ClientBounds();
    const QRect a = largeRow->ItemRect().translated(frame.Left, frame.Top);
    const QRect b = plainRow->ItemRect().translated(frame.Left, frame.Top);
    ASSERT_EQ(a.size(), b.size());
    EXPECT_EQ(shot.copy(a), shot.copy(b));
    EXPECT_EQ(CountColour(shot, a, Qt::red), 0);
    menu->HideAll();
}

}  // namespace
