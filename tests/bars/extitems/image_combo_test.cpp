// The image combo: its entries' image indexes as they stream, how its entries measure and
// draw with and without images and text, and its "Select item" dialog; and the toolbars list
// item's menu.
#include "DialogScript.h"
#include "DockedItemFixture.h"
#include "FormResources.h"
#include "ListBoxes.h"
#include "StdCtrls.h"
#include "Strings.h"
#include "dxBarCustomizingNotifications.h"
#include "dxBarImageChooser.h"
#include "dxBarImageCombo.h"
#include "dxBarSubMenuControl.h"
#include "dxBarToolbarsListItem.h"

#include <QPainter>
#include <QRegularExpression>

namespace {

class ImageComboTest : public DockedItemTest {
protected:
    void SetUp() override
    {
        DockedItemTest::SetUp();
        images = Create<TImageList>(form.get());
        images->SetName("ilImages");
        for (const QColor& colour : {QColor(Qt::red), QColor(Qt::green), QColor(Qt::blue)}) {
            QImage image(16, 16, QImage::Format_ARGB32);
            image.fill(colour);
            images->Add(image);
        }
        combo = AddItem<TdxBarImageCombo>("Kind");
        combo->SetName("icKind");
        combo->SetImages(images);
        combo->Items()->Add("Alpha");
        combo->Items()->Add("Beta");
        combo->Items()->Add("Gamma");
        combo->SetImageIndexes(0, 2);
    }
    QList<int> Indexes(TdxBarImageCombo* c) const
    {
        QList<int> indexes;
        for (int i = 0; i < c->Items()->Count(); ++i) indexes << c->ImageIndexes(i);
        return indexes;
    }
    // One entry drawn on a white 100 x 20 picture.
    QImage Entry(TdxBarCustomCombo* c, int index) const
    {
        QImage picture(100, 20, QImage::Format_ARGB32);
        picture.fill(Qt::white);
        QPainter p(&picture);
        c->DrawItem(p, manager->Font()->ToQFont(), index, TRect(0, 0, 100, 20), 0);
        return picture;
    }

    TImageList* images = nullptr;
    TdxBarImageCombo* combo = nullptr;
};

TEST_F(ImageComboTest, ImageIndexesStreamOnePerEntryAndReadBackIntoTheEntriesThereAre)
{
    const QRegularExpression indexes(R"(ImageIndexes = \(\s*([-\d\s]*)\))");
    EXPECT_EQ(indexes.match(WriteComponentToText(form.get())).captured(1).simplified(), "2 -1 -1");
    combo->SetShowEditor(true);  // not the image combo's default
    EXPECT_EQ(WriteComponentToText(form.get()).count("ShowEditor = True"), 1);
    dxBarRegisterManagerClasses();
    const struct {
        int entries;
        const char* stored;
        QList<int> read;
    } cases[] = {
        {3, "2 -1 -1", {2, -1, -1}},
        {3, "5", {5, -1, -1}},   // fewer values: the rest have none
        {2, "1 2 3 4", {1, 2}},  // more values than entries: the rest are dropped
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.stored);
        while (combo->Items()->Count() > c.entries) combo->Items()->Delete(c.entries);
        QString text = WriteComponentToText(form.get());
        text.replace(indexes, QStringLiteral("ImageIndexes = (%1)").arg(QString::fromLatin1(c.stored)));
        TForm read(nullptr);
        ReadComponentFromText(text, &read);
        auto* copy = qobject_cast<TdxBarImageCombo*>(read.FindComponent("icKind"));
        ASSERT_NE(copy, nullptr);
        EXPECT_EQ(copy->Images(), read.FindComponent("ilImages"));
        EXPECT_EQ(Indexes(copy), c.read);
    }
}

TEST_F(ImageComboTest, EntriesMakeRoomForTheImagesAndTheTextBoxGrowsWithThem)
{
    const QFont font = manager->Font()->ToQFont();
    const int textHeight = TextExtent(font, "Qq").height();
    ASSERT_LT(textHeight, 18);
    const int alpha = TextExtent(font, "Alpha").width();
    const struct {
        const char* what;
        bool showText;
        bool withImages;
        QSize size;  // MeasureItemWidth x MeasureItem of "Alpha"
    } cases[] = {
        {"images alone", false, true, {18, 18}},
        {"images and text", true, true, {alpha + 2 + 18, 18}},
        {"no images", true, false, {alpha + 2, textHeight}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        combo->SetShowText(c.showText);
        combo->SetImages(c.withImages ? images : nullptr);
        int width = 0, height = 0;
        combo->MeasureItemWidth(0, font, width);
        combo->MeasureItem(0, font, height);
        EXPECT_EQ(QSize(width, height), c.size);
    }
    // On the bar, the text box is at least as high as an image and 3 pixels above and below.
    combo->SetImages(nullptr);
    Show();
    const int plain = ControlOf(0)->GetHeight();
    ASSERT_LT(plain, 22);
    combo->SetImages(images);
    EXPECT_EQ(ControlOf(0)->GetHeight(), 22);
    EXPECT_EQ(Link(0)->ItemRect().height(), 22);  // the bar was laid out again
}

TEST_F(ImageComboTest, AnEntryShowsItsImageBesideOrInsteadOfItsTextAndPlainTextOnceTheImagesGo)
{
    const QColor blue(Qt::blue);
    const struct {
        const char* what;
        bool showText;
        int index;
        QRect image;  // where the entry's image (blue) is drawn; null for none
    } cases[] = {
        {"beside the text", true, 0, {1, 2, 16, 16}},
        {"centred without text", false, 0, {42, 2, 16, 16}},
        {"an entry without an image", true, 1, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        combo->SetShowText(c.showText);
        const QImage picture = Entry(combo, c.index);
        EXPECT_EQ(BoundsOfColour(picture, picture.rect(), blue), c.image);
        // The text (neither window nor image) starts 2 pixels right of the image, or of the
        // entry's left edge.
        QRect text;
        for (int y = 0; y < picture.height(); ++y)
            for (int x = 0; x < picture.width(); ++x)
                if (picture.pixelColor(x, y) != SysColor(COLOR_WINDOW) && picture.pixelColor(x, y) != blue)
                    text |= QRect(x, y, 1, 1);
        EXPECT_EQ(text.isNull(), !c.showText);
        const int start = (c.image.isNull() ? 0 : c.image.right() + 1) + 2;
        if (c.showText) {
            EXPECT_GE(text.left(), start);
            EXPECT_LE(text.left(), start + 2);
        }
    }

    // Freed, the image list leaves entries drawn as a plain combo draws them.
    combo->SetShowText(true);
    delete images;
    EXPECT_EQ(combo->Images(), nullptr);
    EXPECT_FALSE(combo->DrawsTextBox());
    auto* plain = Create<TdxBarCombo>(form.get());
    plain->Items()->Assign(combo->Items());
    for (int i : {0, 1}) EXPECT_EQ(Entry(combo, i), Entry(plain, i)) << i;
}

TEST_F(ImageComboTest, TheChooserListsTheEntriesFromTheCurrentOneAndOkTakesTheChosenOne)
{
    TDialogScript script;
    combo->SetItemIndex(1);
    const struct {
        const char* what;
        std::function<void(TdxBarImageChooser&)> act;
        int index;
    } cases[] = {
        {"OK on another entry",
         [](TdxBarImageChooser& d) {
             d.List->SetItemIndex(2);
             d.BOK->Click();
         },
         2},
        {"Cancel",
         [](TdxBarImageChooser& d) {
             d.List->SetItemIndex(0);
             d.BCancel->Click();
         },
         2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const int before = combo->ItemIndex();
        script.AnswerForm([&](TCustomForm& form) {
            auto& d = static_cast<TdxBarImageChooser&>(form);
            EXPECT_EQ(d.List->Items()->Count(), 3);
            EXPECT_EQ(d.List->ItemIndex(), before);
            // Rows as high as the combo measures them, in a list left of OK and Cancel.
            EXPECT_EQ(d.List->ItemRect(0).height(), 18);
            const int g = d.List->Left();
            EXPECT_EQ(d.BOK->BoundsRect().topLeft(), QPoint(d.List->BoundsRect().right() + 1 + g, g));
            EXPECT_EQ(d.ClientHeight(), d.List->Height() + 2 * g);
            c.act(d);
        });
        combo->DoClick();
        EXPECT_EQ(combo->ItemIndex(), c.index);
    }

    // An empty combo's dialog still has a list as high as its two buttons.
    combo->Items()->Clear();
    script.AnswerForm([&](TCustomForm& form) {
        auto& d = static_cast<TdxBarImageChooser&>(form);
        EXPECT_GE(d.List->BoundsRect().bottom(), d.BCancel->BoundsRect().bottom());
        d.BOK->Click();
    });
    combo->DoClick();
    EXPECT_EQ(script.Log("Form").size(), 3);
    EXPECT_EQ(combo->ItemIndex(), -1);
}

// A customizing window that is installed but never open.
class TClosedCustomizingForm : public TdxBarCustomizingNotifications {};

TEST_F(DockedItemTest, TheToolbarsListShowsTheToolbarsNotHiddenCheckedWhileShownAndKeepsItsLinksWhileCustomizing)
{
    TClosedCustomizingForm customizing;
    dxBarSetCustomizingForm(&customizing);
    bar->SetCaption("Main");
    const struct {
        const char* caption;
        bool visible, hidden;
    } bars[] = {{"X", true, false}, {"Y", true, true}, {"Z", false, false}};
    for (const auto& b : bars) {
        TdxBar* other = manager->Bars()->Add();
        other->SetCaption(b.caption);
        other->SetHidden(b.hidden);
        other->SetVisible(b.visible);
    }
    auto* list = AddItem<TdxBarToolbarsListItem>("Toolbars");
    auto* designed = Create<TdxBarButton>(form.get());
    designed->SetCaption("Designed");
    list->ItemLinks()->Add()->SetItem(designed);
    Show();
    auto rows = [&] {
        QStringList r;
        for (int i = 0; i < list->ItemLinks()->Count(); ++i) {
            TdxBarItemLink* link = list->ItemLinks()->Items(i);
            auto* button = qobject_cast<TdxBarButton*>(link->Item());
            r << (link->BeginGroup() ? "|" : "") + link->Item()->Caption() +
                     (button && button->ButtonStyle() == bsChecked && button->Down() ? "[x]" : "");
        }
        return r;
    };
    auto open = [&] {
        auto* control = dynamic_cast<TdxBarToolbarsListItemControl*>(ControlOf(0));
        EXPECT_NE(control, nullptr);
        if (!control) return;
        control->CreateSubMenuControl();
        delete control->SubMenuControl();
    };

    manager->SetIsCustomizing(true);
    open();
    EXPECT_EQ(rows(), QStringList{"Designed"});
    manager->SetIsCustomizing(false);
    for (int twice = 0; twice < 2; ++twice) {
        open();
        EXPECT_EQ(rows(), (QStringList{"Main[x]", "X[x]", "Z", "|&Customize..."}));
    }
    dxBarSetCustomizingForm(nullptr);
}

}  // namespace
