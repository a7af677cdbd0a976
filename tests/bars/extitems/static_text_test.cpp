// Labels on a bar: their sizes, when a change re-lays the bar out, where the caption goes in
// the label, when a label is clicked, and the shortening of long paths.
#include "DockedItemFixture.h"
#include "dxBarStatic.h"

#include <QFontMetrics>
#include <QGuiApplication>

namespace {

using StaticTextTest = DockedItemTest;

class TClickCounter : public QObject {
public:
    void Click(TObject*) { ++clicks; }
    int clicks = 0;
};

TEST_F(StaticTextTest, SizesAreKeptWithin0To600)
{
    auto* label = Create<TdxBarStatic>(form.get());
    const struct {
        int set, stored;
    } cases[] = {{700, 600}, {-5, 0}, {37, 37}};
    for (const auto& c : cases) {
        label->SetWidth(c.set);
        label->SetLeftIndent(c.set);
        EXPECT_EQ(std::pair(label->Width(), label->LeftIndent()), std::pair(c.stored, c.stored)) << c.set;
    }
}

TEST_F(StaticTextTest, ATextLabelOnAToolbarIsAsBigAsItsCaptionBorderAndIndents)
{
    const struct {
        const char* name;
        std::function<void(TdxBarStatic*)> set;
        QSize size;
    } cases[] = {
        {"caption only", [](TdxBarStatic*) {}, {43, 16}},
        {"lowered", [](TdxBarStatic* s) { s->SetBorderStyle(sbsLowered); }, {45, 18}},
        {"lowered with indents",
         [](TdxBarStatic* s) {
             s->SetBorderStyle(sbsLowered);
             s->SetLeftIndent(4);
             s->SetRightIndent(6);
         },
         {55, 18}},
        {"bump with a fixed size",
         [](TdxBarStatic* s) {
             s->SetBorderStyle(sbsBump);
             s->SetWidth(80);
             s->SetHeight(30);
         },
         {80, 30}},
    };
    ExpectSizes<TdxBarStatic>("Ready", cases);
}

TEST_F(StaticTextTest, ABorderChangeReLaysTheBarOutUnlessBothSizesAreFixed)
{
    const struct {
        int width, height;
        bool relayout;
    } cases[] = {{0, 0, true}, {80, 0, true}, {0, 30, true}, {80, 30, false}};
    auto* label = AddItem<TdxBarStatic>("Ready");
    Show();
    for (const auto& c : cases) {
        label->SetWidth(c.width);
        label->SetHeight(c.height);
        // A re-layout frees the link's control and makes another.
        QPointer<TdxBarItemControl> before = ControlOf(0);
        label->SetBorderStyle(label->BorderStyle() == sbsRaised ? sbsEtched : sbsRaised);
        EXPECT_EQ(before.isNull(), c.relayout) << c.width << "x" << c.height;
    }
}

TEST_F(StaticTextTest, TheCaptionKeepsAnIndentOnlyOnItsAlignedSide)
{
    auto* label = AddItem<TdxBarStatic>("Ready");
    label->SetWidth(120);
    Show();
    const QRect link = InShot(Link(0));
    // The indent is a quarter of the toolbar's item height.
    const int indent = toolbar->ItemHeight() / 4;
    const struct {
        TAlignment alignment;
        int leftMargin, rightMargin;  // -1: centred
    } cases[] = {{taLeftJustify, indent, -1}, {taRightJustify, -1, indent}, {taCenter, -1, -1}};
    for (const auto& c : cases) {
        label->SetAlignment(c.alignment);
        const QImage shot = Shot();
        const QRect text = BoundsOfOthers(shot, link, shot.pixelColor(link.topLeft()));
        ASSERT_FALSE(text.isNull()) << c.alignment;
        const int left = text.left() - link.left(), right = link.right() - text.right();
        // A glyph's ink starts up to two pixels inside its advance.
        if (c.leftMargin >= 0) {
            EXPECT_NEAR(left, c.leftMargin + 1, 1) << c.alignment;
        }
        if (c.rightMargin >= 0) {
            EXPECT_NEAR(right, c.rightMargin + 1, 1) << c.alignment;
        }
        if (c.leftMargin < 0 && c.rightMargin < 0) {
            EXPECT_NEAR(left, right, 2) << c.alignment;
        }
    }
}

TEST_F(StaticTextTest, ALabelIsClickedOnlyWhenItAllowsItAndSelectedOnlyWhileCustomizing)
{
    auto* label = AddItem<TdxBarStatic>("Ready");
    TClickCounter counter;
    label->SetOnClick(TNotifyEvent(&counter, &TClickCounter::Click));
    Show();
    const TPoint centre = Link(0)->ItemRect().center();
    for (const bool allow : {false, true}) {
        label->SetAllowClick(allow);
        counter.clicks = 0;
        toolbar->LButtonDown(centre, {});
        toolbar->LButtonUp(centre, {});
        EXPECT_EQ(counter.clicks, allow ? 1 : 0) << allow;
        EXPECT_EQ(ControlOf(0)->HidesMenusOnClick(), allow);
        EXPECT_FALSE(ControlOf(0)->CanSelect()) << allow;
        EXPECT_FALSE(label->IsAccelEnabled(Link(0)));
    }
    manager->SetIsCustomizing(true);
    EXPECT_TRUE(ControlOf(0)->CanSelect());
    manager->SetIsCustomizing(false);
}

TEST_F(StaticTextTest, ALongPathLosesItsMiddleAndKeepsItsLastPart)
{
    const QFontMetrics metrics(QGuiApplication::font());
    const QString longFolder = QString(390, QLatin1Char('d'));
    const struct {
        QString path;
        QString keeps;  // the end kept after "..."; empty: returned unchanged
    } cases[] = {
        {"/home/user/" + longFolder.left(379) + "/index.htm", "/index.htm"},
        {"C:\\Sites\\" + longFolder + "\\index.htm", "\\index.htm"},
        {"C:\\Sites/" + longFolder + "\\a/b\\index.htm", "\\index.htm"},
        {"/home/user/index.htm", QString()},
    };
    for (const auto& c : cases) {
        const QString shown = dxBarGetShortPathCaption(c.path);
        EXPECT_LE(metrics.horizontalAdvance(shown), 300) << c.path.size();
        if (c.keeps.isEmpty()) {
            EXPECT_EQ(shown, c.path);
            continue;
        }
        EXPECT_TRUE(shown.endsWith("..." + c.keeps)) << shown.toStdString();
        EXPECT_TRUE(c.path.startsWith(shown.left(shown.size() - c.keeps.size() - 3))) << shown.toStdString();
        // As much as fits: one more character of the start would not.
        const QString longer = c.path.left(shown.size() - c.keeps.size() - 2) + "..." + c.keeps;
        EXPECT_GT(metrics.horizontalAdvance(longer), 300) << shown.toStdString();
    }

    // A last part too wide alone keeps its start, as much as fits.
    const QString name = "/" + QString(400, QLatin1Char('n')) + ".htm";
    const QString shown = dxBarGetShortPathCaption("/home" + name);
    EXPECT_LE(metrics.horizontalAdvance(shown), 300);
    EXPECT_TRUE(shown.startsWith(".../nnn")) << shown.toStdString();
    EXPECT_TRUE(shown.endsWith("n...")) << shown.toStdString();
}

}  // namespace
