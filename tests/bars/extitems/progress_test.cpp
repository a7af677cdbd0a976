// Progress bars: the range they keep, their size and where the bar goes, and how they fill.
#include "DockedItemFixture.h"
#include "FormResources.h"
#include "dxBarLargeButton.h"
#include "dxBarProgress.h"

namespace {

class ProgressTest : public DockedItemTest {
protected:
    TdxBarProgressItem* AddProgress(const QString& caption = "Load")
    {
        progress = AddItem<TdxBarProgressItem>(caption);
        return progress;
    }
    // The bar's pixels in the highlight colour, within a link.
    QRect Filled(int link = 0) const { return BoundsOfColour(Shot(), InShot(Link(link)), SysColor(COLOR_HIGHLIGHT)); }
    // Turns the dock to the left side, the bar rotated with it.
    void TurnToTheLeft()
    {
        bar->SetRotateWhenVertical(true);
        dock->SetBounds(0, 0, 30, 400);
        dock->SetAlign(alLeft);
        toolbar = qobject_cast<TdxBarControl*>(bar->ItemLinks()->BarControl());
    }
    // Highlight runs along the bar's middle line: their lengths, in order.
    QList<int> Runs(bool vertical) const
    {
        const QImage shot = Shot();
        const QRect link = InShot(Link(0));
        const QColor highlight = SysColor(COLOR_HIGHLIGHT);
        QList<int> runs;
        int run = 0;
        const int across = vertical ? link.center().x() : link.center().y();
        for (int along = vertical ? link.top() : link.left(); along <= (vertical ? link.bottom() : link.right());
             ++along) {
            const bool on = (vertical ? shot.pixelColor(across, along) : shot.pixelColor(along, across)) == highlight;
            if (on) ++run;
            if (!on && run) runs << std::exchange(run, 0);
        }
        if (run) runs << run;
        return runs;
    }

    TdxBarProgressItem* progress = nullptr;
};

TEST_F(ProgressTest, TheRangeStaysInOrderAndThePositionWithinIt)
{
    auto* p = Create<TdxBarProgressItem>(form.get());
    const struct {
        const char* step;
        std::function<void()> act;
        int min, max, position;
    } steps[] = {
        {"defaults", [] {}, 0, 100, 0},
        {"a position within", [&] { p->SetPosition(40); }, 0, 100, 40},
        {"a position above", [&] { p->SetPosition(140); }, 0, 100, 100},
        {"a position below", [&] { p->SetPosition(-3); }, 0, 100, 0},
        {"Min up, position follows", [&] { p->SetMin(20); }, 20, 100, 20},
        {"Max below Min lowers Min", [&] { p->SetMax(10); }, 10, 10, 10},
        {"Min above Max raises Max", [&] { p->SetMin(60); }, 60, 60, 60},
        {"Max up, position stays", [&] { p->SetMax(80); }, 60, 80, 60},
        {"the largest range",
         [&] {
             p->SetMin(INT_MIN);
             p->SetMax(INT_MAX);
             p->SetPosition(INT_MAX);
         },
         INT_MIN, INT_MAX, INT_MAX},
    };
    for (const auto& s : steps) {
        s.act();
        EXPECT_EQ(p->Min(), s.min) << s.step;
        EXPECT_EQ(p->Max(), s.max) << s.step;
        EXPECT_EQ(p->Position(), s.position) << s.step;
    }
}

// A form's range is put in order once loaded, whatever the order of its values; the items'
// own values come back from a form, the progress item's lowered border by default.
TEST_F(ProgressTest, AFormsValuesComeBackWithTheRangeInOrder)
{
    dxBarRegisterManagerClasses();
    const QString text = QStringLiteral(R"(object ItemsForm: TForm
  object BarManager1: TdxBarManager
  end
  object pgReversed: TdxBarProgressItem
    Min = 50
    Max = 10
    Position = 30
  end
  object pgMaxFirst: TdxBarProgressItem
    Max = 10
    Min = 50
    BorderStyle = sbsNone
  end
  object pgPositionFirst: TdxBarProgressItem
    Position = 70
    Min = 20
    Max = 60
  end
  object stLabel: TdxBarStatic
    Alignment = taLeftJustify
    BorderStyle = sbsBump
  end
  object lbOpen: TdxBarLargeButton
    GlyphLayout = glBottom
  end
end
)");
    TForm read(nullptr);
    ReadComponentFromText(text, &read);
    const struct {
        const char* name;
        int min, max, position;
        TdxBarStaticBorderStyle border;
    } cases[] = {
        {"pgReversed", 10, 10, 10, sbsLowered},
        {"pgMaxFirst", 10, 10, 10, sbsNone},
        {"pgPositionFirst", 20, 60, 60, sbsLowered},
    };
    for (const auto& c : cases) {
        auto* p = qobject_cast<TdxBarProgressItem*>(read.FindComponent(QString::fromLatin1(c.name)));
        ASSERT_NE(p, nullptr) << c.name;
        EXPECT_EQ(std::tuple(p->Min(), p->Max(), p->Position(), p->BorderStyle()),
                  std::tuple(c.min, c.max, c.position, c.border))
            << c.name;
    }
    auto* label = qobject_cast<TdxBarStatic*>(read.FindComponent("stLabel"));
    auto* large = qobject_cast<TdxBarLargeButton*>(read.FindComponent("lbOpen"));
    ASSERT_TRUE(label && large);
    EXPECT_EQ(std::pair(label->Alignment(), label->BorderStyle()), std::pair(taLeftJustify, sbsBump));
    EXPECT_EQ(large->GlyphLayout(), glBottom);
    // Written again, a progress item's lowered border goes without saying.
    const QString written = WriteComponentToText(&read);
    EXPECT_EQ(written.count("BorderStyle = sbsNone"), 1) << written.toStdString();
    EXPECT_FALSE(written.contains("sbsLowered")) << written.toStdString();
}

TEST_F(ProgressTest, ABarOf150PixelsFollowsTheCaptionUnlessTheItemHasAWidth)
{
    // "Ready" is 43 pixels wide as a label, with its lowered border 45.
    const struct {
        const char* name;
        bool showCaption;
        int width;
        int linkWidth, barLength;
    } cases[] = {
        {"with its caption", true, 0, 45 + 2 + 150, 150},
        {"without a caption", false, 0, 2 + 4 + 150, 150},
        {"with a width of its own", true, 120, 120, 120 - 45 - 2},
    };
    for (const auto& c : cases) {
        TdxBarProgressItem* p = AddProgress("Ready");
        p->SetShowCaption(c.showCaption);
        p->SetWidth(c.width);
        p->SetSmooth(true);
        p->SetPosition(100);
    }
    Show(1000);
    for (int i = 0; i < int(std::size(cases)); ++i) {
        const auto& c = cases[i];
        const QRect link = InShot(Link(i));
        EXPECT_EQ(link.width(), c.linkWidth) << c.name;
        // The bar ends 3 pixels before the link (border and gap), centred across its 16 inner
        // pixels.
        const QRect filled = Filled(i);
        EXPECT_EQ(filled.width(), c.barLength) << c.name;
        EXPECT_EQ(filled.right(), link.right() - 3) << c.name;
        EXPECT_EQ(filled.height(), 12) << c.name;
        EXPECT_EQ(filled.top() - link.top(), link.bottom() - filled.bottom()) << c.name;
    }
}

TEST_F(ProgressTest, TheBarFillsInBlocksOrSmoothlyAlongAndDownTheBar)
{
    // Without a caption the bar starts 3 pixels into the link (its border and 2 pixels), is
    // 150 pixels long and 12 thick: blocks of 8 with 2-pixel gaps.
    const struct {
        const char* name;
        bool vertical;
        bool smooth;
        int position;
        QList<int> runs;
    } cases[] = {
        {"smooth, half", false, true, 50, {75}},    {"blocks, 22 of 100", false, false, 22, {8, 8, 8, 3}},
        {"blocks, none", false, false, 0, {}},      {"blocks, full", false, false, 100, QList<int>(15, 8)},
        {"smooth, vertical", true, true, 50, {75}}, {"blocks, vertical", true, false, 22, {8, 8, 8, 3}},
    };
    TdxBarProgressItem* p = AddProgress(QString());
    p->SetShowCaption(false);
    Show();
    for (const auto& c : cases) {
        if (c.vertical && !toolbar->IsRotated()) TurnToTheLeft();
        ASSERT_EQ(toolbar->IsRotated(), c.vertical) << c.name;
        p->SetSmooth(c.smooth);
        p->SetPosition(c.position);
        EXPECT_EQ(Runs(c.vertical), c.runs) << c.name;
        if (c.runs.isEmpty()) continue;
        const QRect link = InShot(Link(0)), filled = Filled();
        EXPECT_EQ(c.vertical ? filled.top() - link.top() : filled.left() - link.left(), 3) << c.name;
    }
}

TEST_F(ProgressTest, AnEmptyRangeDrawsAnEmptyBar)
{
    TdxBarProgressItem* p = AddProgress();
    p->SetMax(0);
    p->SetSmooth(true);
    Show();
    EXPECT_TRUE(Filled().isNull());
    // A change of the position within the range repaints it.
    p->SetMax(10);
    p->SetPosition(10);
    EXPECT_EQ(Filled().width(), 150);
    p->SetMin(10);
    EXPECT_TRUE(Filled().isNull());
}

}  // namespace
