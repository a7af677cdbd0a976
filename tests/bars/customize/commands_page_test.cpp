// The Commands page: the categories and their commands, the lines drawn as the bars draw
// their items, the click that shows a description, the drag onto a bar, and the list
// following the manager's changes.
#include "CustomizeFixture.h"
#include "ImgList.h"
#include "dxBarCategories.h"
#include "Painting.h"
#include "Window.h"
#include "dxBarCommandsListBox.h"
#include "dxBarCommandsPage.h"
#include "dxBarControlContainer.h"
#include "dxBarCustomControl.h"
#include "dxBarDrawing.h"
#include "dxBarItemDrag.h"
#include "dxBarItemLink.h"
#include "dxBarItems.h"

#include <QApplication>
#include <QListWidget>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>
#include <functional>

namespace {

class CommandsPageTest : public CustomizeTest {
protected:
    void SetUp() override
    {
        CustomizeTest::SetUp();
        auto* images = Create<TImageList>(form);
        images->SetWidth(16);
        images->SetHeight(16);
        QImage glyph(16, 16, QImage::Format_RGB32);
        glyph.fill(QColor(200, 40, 40));
        for (int x = 4; x < 12; ++x) glyph.setPixelColor(x, 8, QColor(20, 20, 160));
        images->Add(glyph);
        manager->SetImages(images);
        TStrings* categories = manager->Categories();
        categories->Add("File");
        categories->Add("Secret");
        categories->Add("Tools");
        manager->SetCategoryVisible(2, false);

        Add<TdxBarButton>("&Open", 1)->SetImageIndex(0);
        Add<TdxBarEdit>("Find", 1);
        Add<TdxBarCombo>("Size", 1);
        Add<TdxBarButton>("Paste", 1)->SetButtonStyle(bsDropDown);
        Add<TdxBarSubItem>("Recent", 1);
        Add<TdxBarContainerItem>("Windows", 1);
        Add<TdxBarControlContainerItem>("Label", 1);
        Add<TdxBarButton>("Never", 1)->SetVisible(ivNever);
        Add<TdxBarButton>("Hidden", 2);
        Add<TdxBarButton>("Options", 3);
        manager->Customizing(true);
        Window()->PageControl->SetActivePage(Window()->TabSheet2);
    }
    template <class T>
    T* Add(const QString& caption, int category)
    {
        auto* item = Create<T>(form);
        item->SetCaption(caption);
        item->SetCategory(category);
        item->SetDescription(StripMnemonic(caption) + " described");
        return item;
    }
    TdxBarCommandsPage* Page() const
    {
        for (const auto& page : Window()->Pages())
            if (auto* commands = dynamic_cast<TdxBarCommandsPage*>(page.get())) return commands;
        return nullptr;
    }
    TCommandsListBox* List() const { return Page()->CommandsList(); }
    QWidget* Viewport() const { return List()->ListWidget()->viewport(); }
    QStringList Lines() const
    {
        QStringList lines;
        for (int i = 0; i < List()->Items()->Count(); ++i) lines << List()->Item(i)->Caption();
        return lines;
    }
    void ChooseCategory(const QString& name)
    {
        TListBox* categories = Window()->LCategories;
        categories->SetItemIndex(categories->Items()->IndexOf(name));
        Page()->LCategoriesClick(categories);
    }
    int LineOf(const QString& caption) const { return int(Lines().indexOf(caption)); }
    QString Description() const { return Window()->DescriptionLabel->Caption(); }
    QPoint LineCentre(const QString& caption) const { return List()->ItemRect(LineOf(caption)).center(); }
    // Mouse input on the list's window as the window system sends it.
    void Mouse(QEvent::Type type, const QPoint& at, Qt::MouseButton button = Qt::LeftButton)
    {
        const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(button);
        QMouseEvent e(type, at, Viewport()->mapToGlobal(at), type == QEvent::MouseMove ? Qt::NoButton : button, held,
                      Qt::NoModifier);
        QApplication::sendEvent(Viewport(), &e);
    }
    TdxBar* Bar() const { return manager->Bars()->Items(0); }
    QStringList BarCaptions() const
    {
        QStringList captions;
        for (int i = 0; i < Bar()->ItemLinks()->Count(); ++i)
            captions << Bar()->ItemLinks()->Items(i)->Item()->Caption();
        return captions;
    }
};

}  // namespace

TEST_F(CommandsPageTest, TheVisibleCategoriesListTheirCommandsWithoutContainersOrHiddenItems)
{
    TdxBarCustomizingForm* w = Window();
    EXPECT_EQ(w->LCategories->Items()->ToStringList(), (QStringList{"Default", "File", "Tools"}));
    EXPECT_EQ(w->LCategories->ItemIndex(), 0);
    EXPECT_EQ(w->LabelCommands->FocusControl(), List());
    EXPECT_EQ(List()->BoundsRect(), QRect(147, 20, 194, 147));
    EXPECT_EQ(w->LCommandsPlace, nullptr);

    struct TCase {
        const char* category;
        bool byRightPress;
        QStringList lines;
    };
    const TCase cases[] = {
        {"File", false, {"&Open", "Find", "Size", "Paste", "Recent", "Windows"}},
        {"Tools", true, {"Options"}},
        {"Default", false, {}},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.category);
        List()->SetItemIndex(-1);
        w->DescriptionLabel->SetCaption("stale");
        if (c.byRightPress) {
            QWidget* categories = w->LCategories->ListWidget()->viewport();
            const QPoint at = w->LCategories->ItemRect(w->LCategories->Items()->IndexOf(c.category)).center();
            QMouseEvent press(QEvent::MouseButtonPress, at, categories->mapToGlobal(at), Qt::RightButton,
                              Qt::RightButton, Qt::NoModifier);
            QApplication::sendEvent(categories, &press);
        } else {
            ChooseCategory(c.category);
        }
        EXPECT_EQ(Lines(), c.lines);
        EXPECT_EQ(Description(), "");
        for (int i = 0; i < List()->Items()->Count(); ++i) EXPECT_EQ(List()->ItemRect(i).height(), 22);
    }
}

TEST_F(CommandsPageTest, LinesAreDrawnWithTheBarsRoutinesInBothLooks)
{
    ChooseCategory("File");
    struct TCase {
        TdxBarManagerStyle style;
        bool selected;
    };
    const TCase cases[] = {{bmsStandard, false}, {bmsStandard, true}, {bmsFlat, false}, {bmsFlat, true}};
    for (const TCase& c : cases) {
        const bool flat = c.style == bmsFlat;
        SCOPED_TRACE(testing::Message() << "flat " << flat << " selected " << c.selected);
        manager->SetStyle(c.style);
        EXPECT_EQ(List()->Color(), flat ? clWindow : clBtnFace);
        const QFont font = List()->Font()->ToQFont();
        // Draws a line's rectangle as shown: what the list draws, and what the routine draws
        // into an image of the list's size filled with fill.
        auto shown = [&](const QString& caption) {
            List()->SetItemIndex(c.selected ? LineOf(caption) : -1);
            QCoreApplication::processEvents();
            return Viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
        };
        auto drawn = [&](QColor fill, const std::function<void(QPainter&)>& draw) {
            QImage image(Viewport()->size(), QImage::Format_RGB32);
            image.fill(fill);
            QPainter p(&image);
            draw(p);
            return image;
        };
        auto same = [](const QImage& a, const QImage& b, const TRect& r) {
            for (int y = r.Top; y < r.Bottom; ++y)
                for (int x = r.Left; x < r.Right; ++x)
                    if (a.pixel(x, y) != b.pixel(x, y))
                        return testing::AssertionFailure() << "differs at " << x << "," << y << ": " << std::hex
                                                           << a.pixel(x, y) << " " << b.pixel(x, y);
            return testing::AssertionSuccess();
        };
        auto parts = [&](const QString& caption, TdxBarCommandKind kind, QSize glyph = {}) {
            const TRect line = TRect::FromQRect(List()->ItemRect(LineOf(caption)));
            const int width = QFontMetrics(font).horizontalAdvance(StripMnemonic(caption));
            return std::pair(line, dxBarCommandLineParts(kind, line, flat, width, glyph));
        };

        // The glyph: the bars' glyph routine on the column's colour.
        {
            const QImage list = shown("&Open");
            const auto [line, p] = parts("&Open", TdxBarCommandKind::Button, QSize(16, 16));
            const QColor column = flat && c.selected ? dxBarCommandBackColor(true, true) : SysColor(COLOR_BTNFACE);
            const QImage glyph = drawn(column, [&](QPainter& painter) {
                dxBarDrawGlyph(painter, column, p.GlyphBack, manager->ImageListBkColor(),
                               flat ? dgEnabled | dgFlat : dgEnabled, manager->Images(), 0, QImage(), p.Glyph);
            });
            EXPECT_TRUE(same(list, glyph, p.GlyphBack));
            // The text area in the look's colour, and the highlight frame round a flat selected line.
            EXPECT_EQ(QColor(list.pixel(line.Right - 2, line.Top + 2)), dxBarCommandBackColor(flat, c.selected));
            if (flat && c.selected) {
                const QImage frame = drawn(Qt::black, [&](QPainter& painter) { dxBarFrameHighlight(painter, line); });
                EXPECT_EQ(list.pixel(line.Left, line.Top + 5), frame.pixel(line.Left, line.Top + 5));
                EXPECT_EQ(list.pixel(line.Right - 1, line.Bottom - 1), frame.pixel(line.Right - 1, line.Bottom - 1));
            }
        }
        // The combo's drop-down button: the bars' arrow routine.
        {
            const QImage list = shown("Size");
            const auto [line, p] = parts("Size", TdxBarCommandKind::Combo);
            const TRect face = p.DropButton.Inflated(-1, -1);
            const QColor back =
                flat && c.selected ? dxBarCommandBackColor(true, true) : dxBarCommandBackColor(flat, false);
            const QImage arrow =
                drawn(back, [&](QPainter& painter) { dxBarDrawArrowInRect(painter, face, true, true, false, flat); });
            EXPECT_TRUE(same(list, arrow, face));
            EXPECT_EQ(QColor(list.pixel(p.Interior.Left + 1, p.Interior.Top + 1)), SysColor(COLOR_WINDOW));
        }
        // The sub item's and the drop-down button's triangle in the text colour.
        for (const auto& [caption, kind] : {std::pair(QString("Recent"), TdxBarCommandKind::SubItem),
                                            std::pair(QString("Paste"), TdxBarCommandKind::DropDownButton)}) {
            const QImage list = shown(caption);
            const auto [line, p] = parts(caption, kind);
            EXPECT_EQ(QColor(list.pixel(p.Triangle.x(), p.Triangle.y() + 3)), dxBarCommandTextColor(flat, c.selected))
                << qPrintable(caption);
            EXPECT_EQ(QColor(list.pixel(p.Triangle.x() + 3, p.Triangle.y())), dxBarCommandBackColor(flat, c.selected))
                << qPrintable(caption);
        }
    }
}

TEST_F(CommandsPageTest, AClickShowsTheDescriptionAndStartsNoDrag)
{
    ChooseCategory("File");
    struct TCase {
        const char* what;
        QPoint moveBy;
    };
    const TCase cases[] = {{"a click", {0, 0}}, {"a move inside the drag distance", {1, 1}}};
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.what);
        List()->SetItemIndex(-1);
        const QPoint at = LineCentre("Paste");
        bool dragged = false;
        QTimer::singleShot(0, [&] {
            if (TdxBarItemDrag* drag = dxBarCurrentItemDrag()) {
                dragged = true;
                drag->Cancel();
            }
        });
        Mouse(QEvent::MouseButtonPress, at);
        Mouse(QEvent::MouseMove, at + c.moveBy);
        Mouse(QEvent::MouseButtonRelease, at + c.moveBy);
        QCoreApplication::processEvents();
        EXPECT_FALSE(dragged);
        EXPECT_EQ(List()->ItemIndex(), LineOf("Paste"));
        EXPECT_EQ(Description(), "Paste described");
        EXPECT_EQ(BarCaptions(), QStringList());
    }
    // A right press selects the line under it and shows its description too.
    Mouse(QEvent::MouseButtonPress, LineCentre("Find"), Qt::RightButton);
    EXPECT_EQ(Description(), "Find described");
}

TEST_F(CommandsPageTest, APressAndMoveDragsTheCommandAndTheDropOnABarAddsALink)
{
    ChooseCategory("File");
    TWindow::SetWindowFromPointFunction([](const TPoint&) -> QWidget* { return nullptr; });
    TCustomdxBarControl* barWindow = Bar()->ItemLinks()->BarControl();
    ASSERT_NE(barWindow, nullptr);
    struct TCase {
        const char* what;
        std::function<TPoint()> dropAt;  // none: Esc
        QStringList links;
    };
    const TCase cases[] = {
        {"onto the bar",
         [&] { return barWindow->ClientToScreen(TPoint(barWindow->ClientRect().ToQRect().center())); },
         {"Size"}},
        {"nowhere", [&] { return TPoint(5, 5); }, {"Size"}},
        {"cancelled", nullptr, {"Size"}},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.what);
        const QPoint at = LineCentre("Size");
        TdxBarItem* dragged = nullptr;
        QTimer::singleShot(0, [&] {
            TdxBarItemDrag* drag = dxBarCurrentItemDrag();
            if (!drag) return;
            dragged = manager->DraggedItem();
            if (!c.dropAt) {
                drag->Cancel();
                return;
            }
            drag->Move(c.dropAt());
            drag->Drop();
        });
        Mouse(QEvent::MouseButtonPress, at);
        Mouse(QEvent::MouseMove, at + QPoint(5, 0));
        EXPECT_EQ(dragged, List()->Item(LineOf("Size")));
        EXPECT_FALSE(manager->Dragging());
        EXPECT_EQ(BarCaptions(), c.links);
        EXPECT_EQ(Description(), "Size described");
    }
    TWindow::SetWindowFromPointFunction({});
}

TEST_F(CommandsPageTest, TheListFollowsChangedAndFreedItems)
{
    ChooseCategory("File");
    const auto item = [this](const QString& caption) -> TdxBarItem* {
        for (TdxBarItem* i : manager->ItemList())
            if (i->Caption() == caption) return i;
        return nullptr;
    };
    // Each change follows the ones before.
    struct TCase {
        const char* what;
        QString selected;
        std::function<void()> change;
        QStringList lines;
        QString selectedAfter;
        QString description;
    };
    const TCase cases[] = {
        {"caption",
         "Find",
         [&] { item("Find")->SetCaption("Look &up"); },
         {"&Open", "Look &up", "Size", "Paste", "Recent", "Windows"},
         "Look &up",
         "Find described"},
        {"description",
         "Look &up",
         [&] { item("Look &up")->SetDescription("Finds"); },
         {"&Open", "Look &up", "Size", "Paste", "Recent", "Windows"},
         "Look &up",
         "Finds"},
        {"the last line freed",
         "Windows",
         [&] { delete item("Windows"); },
         {"&Open", "Look &up", "Size", "Paste", "Recent"},
         "Recent",
         "Recent described"},
        {"a line above freed: the index stays",
         "Size",
         [&] { delete item("&Open"); },
         {"Look &up", "Size", "Paste", "Recent"},
         "Paste",
         "Paste described"},
        {"another category's item freed",
         "Size",
         [&] { delete item("Options"); },
         {"Look &up", "Size", "Paste", "Recent"},
         "Size",
         "Size described"},
        {"an item moved to another category: its category and line are selected",
         "Size",
         [&] {
             TdxBarItem* paste = item("Paste");
             paste->SetCategory(3);
             Window()->SelectItem(paste, false);
         },
         {"Paste"},
         "Paste",
         "Paste described"},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.what);
        List()->SetItemIndex(LineOf(c.selected));
        c.change();
        EXPECT_EQ(Lines(), c.lines);
        EXPECT_EQ(List()->Items()->ToStringList(), QStringList(c.lines).replaceInStrings("&", ""));
        EXPECT_EQ(List()->ItemIndex(), LineOf(c.selectedAfter));
        EXPECT_EQ(Description(), c.description);
    }
    EXPECT_EQ(Page()->SelectedCategory(), 3);
}
