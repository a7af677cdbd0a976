#include "ExtCtrls.h"
#include "Forms.h"
#include "StdCtrls.h"

#include <QTest>
#include <gtest/gtest.h>
#include <memory>

namespace {

template <class T>
T* Make(TWinControl* parent, TAlign align, int w, int h)
{
    T* c = new T(parent);
    c->SetBounds(0, 0, w, h);
    c->SetAlign(align);
    c->SetParent(parent);
    return c;
}

}  // namespace

TEST(Align, TopBottomThenLeftRightThenClient)
{
    auto form = std::make_unique<TForm>(nullptr);
    form->SetBounds(0, 0, 400, 300);
    auto* client = Make<TPanel>(form.get(), alClient, 10, 10);
    auto* left = Make<TPanel>(form.get(), alLeft, 50, 10);
    auto* top = Make<TPanel>(form.get(), alTop, 10, 30);
    auto* right = Make<TPanel>(form.get(), alRight, 40, 10);
    auto* bottom = Make<TPanel>(form.get(), alBottom, 10, 20);
    auto* top2 = Make<TPanel>(form.get(), alTop, 10, 25);

    EXPECT_EQ(top->BoundsRect(), QRect(0, 0, 400, 30));
    EXPECT_EQ(top2->BoundsRect(), QRect(0, 30, 400, 25));  // later creation goes below
    EXPECT_EQ(bottom->BoundsRect(), QRect(0, 280, 400, 20));
    EXPECT_EQ(left->BoundsRect(), QRect(0, 55, 50, 225));
    EXPECT_EQ(right->BoundsRect(), QRect(360, 55, 40, 225));
    EXPECT_EQ(client->BoundsRect(), QRect(50, 55, 310, 225));
    EXPECT_EQ(client->Handle()->geometry(), client->BoundsRect());

    form->SetBounds(0, 0, 500, 200);  // re-laid on resize
    EXPECT_EQ(client->BoundsRect(), QRect(50, 55, 410, 125));
    top->Hide();  // hidden controls leave the layout
    EXPECT_EQ(top2->Top(), 0);
    EXPECT_EQ(left->BoundsRect(), QRect(0, 25, 50, 155));
    bottom->SetParent(nullptr);
    EXPECT_EQ(client->Height(), 175);
    delete bottom;
}

TEST(Align, NestedPanelsWithBevelsAndSwappingSides)
{
    auto form = std::make_unique<TForm>(nullptr);
    form->SetBounds(0, 0, 600, 400);
    auto* area = Make<TPanel>(form.get(), alClient, 0, 0);
    area->SetBevelOuter(bvNone);
    auto* pane = Make<TPanel>(area, alLeft, 268, 0);
    auto* splitter = new TSplitter(form.get());
    splitter->SetParent(area);
    auto* preview = Make<TPanel>(area, alClient, 0, 0);
    auto* inner = Make<TMemo>(pane, alClient, 0, 0);

    EXPECT_EQ(splitter->BoundsRect(), QRect(268, 0, 3, 400));
    EXPECT_EQ(preview->BoundsRect(), QRect(271, 0, 329, 400));
    EXPECT_EQ(inner->BoundsRect(), QRect(1, 1, 266, 398));  // inside the raised bevel

    // Code pane on top: the splitter, laid out below it, stays under it.
    pane->SetAlign(alTop);
    pane->SetHeight(177);
    splitter->SetAlign(alTop);
    EXPECT_EQ(pane->BoundsRect(), QRect(0, 0, 600, 177));
    EXPECT_EQ(splitter->BoundsRect(), QRect(0, 177, 600, 3));
    EXPECT_EQ(preview->BoundsRect(), QRect(0, 180, 600, 220));

    // And back: aligning right then left puts the splitter right of the pane.
    pane->SetAlign(alLeft);
    pane->SetWidth(273);
    splitter->SetAlign(alRight);
    splitter->SetAlign(alLeft);
    EXPECT_EQ(pane->BoundsRect(), QRect(0, 0, 273, 400));
    EXPECT_EQ(splitter->Left(), 273);
    EXPECT_EQ(preview->Left(), 276);
}

TEST(Splitter, DragResizesTheNeighbourWithinLimits)
{
    auto form = std::make_unique<TForm>(nullptr);
    form->SetBounds(0, 0, 400, 200);
    auto* pane = Make<TPanel>(form.get(), alLeft, 100, 0);
    auto* splitter = new TSplitter(form.get());
    splitter->SetParent(form.get());
    auto* rest = Make<TPanel>(form.get(), alClient, 0, 0);
    EXPECT_EQ(splitter->Cursor(), crHSplit);
    ASSERT_EQ(splitter->FindControl(), pane);

    QWidget* handle = splitter->Handle();
    QTest::mousePress(handle, Qt::LeftButton, {}, QPoint(1, 50));
    QTest::mouseMove(handle, QPoint(41, 50));
    QTest::mouseRelease(handle, Qt::LeftButton, {}, QPoint(1, 50));  // the splitter moved along
    EXPECT_EQ(pane->Width(), 140);
    EXPECT_EQ(splitter->Left(), 140);
    EXPECT_EQ(rest->Left(), 143);

    splitter->MoveBy(-1000);
    EXPECT_EQ(pane->Width(), 30);  // MinSize
    splitter->MoveBy(1000);
    EXPECT_EQ(pane->Width(), 400 - 3 - 30);  // the client keeps MinSize
}

TEST(Controls, ParentColorFontAndHints)
{
    auto form = std::make_unique<TForm>(nullptr);
    auto* panel = Make<TPanel>(form.get(), alNone, 10, 10);
    auto* label = new TLabel(form.get());
    label->SetParent(panel);
    panel->SetParentColor(true);
    form->SetColor(clMaroon);
    EXPECT_EQ(panel->Color(), clMaroon);
    EXPECT_EQ(label->Color(), clMaroon);
    label->SetColor(clGray);
    EXPECT_FALSE(label->ParentColor());
    form->SetColor(clWhite);
    EXPECT_EQ(label->Color(), clGray);

    form->Font()->SetHeight(-13);
    EXPECT_EQ(label->Font()->Height(), -13);
    label->Font()->SetName("Arial");
    EXPECT_FALSE(label->ParentFont());
    form->Font()->SetHeight(-20);
    EXPECT_EQ(label->Font()->Height(), -13);

    auto* memo = Make<TMemo>(panel, alNone, 10, 10);
    memo->SetHint("The Code Window|Long help");
    EXPECT_EQ(memo->Handle()->toolTip(), "");  // the form does not show hints
    form->SetShowHint(true);
    EXPECT_EQ(memo->Handle()->toolTip(), "The Code Window");
    memo->SetShowHint(false);
    EXPECT_EQ(memo->Handle()->toolTip(), "");
}

TEST(Controls, FreeingAParentFreesItsChildControls)
{
    auto form = std::make_unique<TForm>(nullptr);
    auto* panel = Make<TPanel>(form.get(), alClient, 0, 0);
    auto* memo = new TMemo(form.get());
    memo->SetParent(panel);
    QPointer<QWidget> memoWidget = memo->Handle();
    EXPECT_EQ(form->ComponentCount(), 2);
    delete panel;
    EXPECT_EQ(form->ComponentCount(), 0);
    EXPECT_TRUE(memoWidget.isNull());
    EXPECT_EQ(form->ControlCount(), 0);
}

TEST(Controls, DisabledControlsDrawTheirTextGray)
{
    auto form = std::make_unique<TForm>(nullptr);
    auto* button = new TButton(form.get());
    button->SetParent(form.get());
    button->SetCaption("Go");
    button->Font()->SetColor(clRed);
    form->Show();
    // Pixels of the caption's colour (red), and of the gray of disabled text.
    auto textPixels = [&] {
        const QImage image = button->Handle()->grab().toImage();
        int red = 0, gray = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) {
                const QColor c = image.pixelColor(x, y);
                if (c.red() > 150 && c.green() < 100 && c.blue() < 100) ++red;
                if (qAbs(c.red() - 128) < 12 && qAbs(c.green() - 128) < 12 && qAbs(c.blue() - 128) < 12) ++gray;
            }
        return std::pair{red, gray};
    };
    const auto enabled = textPixels();
    EXPECT_GT(enabled.first, 0);
    button->SetEnabled(false);
    const auto disabled = textPixels();
    EXPECT_EQ(disabled.first, 0);
    EXPECT_GT(disabled.second, enabled.second);
}
