// bars_bench: the bar library's dock relayout against Qt's own toolbars, and hot-tracking.
//
// Relayout: 20 docked toolbars of 20 glyph buttons (two bars a row, ten rows in one top dock)
// are laid out again after the dock's width changes: every row's bars get their lengths
// and places (squeezing when the row is too short), every bar its size for that length and
// its item rectangles. Beside it, a QMainWindow with 20 QToolBars of 20 actions (a toolbar
// break after every second) is resized the same way, in the same run.
//
// Resize through real windows: a shown form whose top dock holds the same 20 toolbars of 20
// glyph buttons (two a row) is resized, and the time runs from the resize until every bar
// window has been moved or sized by the dock and painted afterwards, through the event loop
// as the window system drives it. Beside it, a shown QMainWindow with 20 QToolBars of 20
// glyph actions is resized and waited for the same way, in the same run.
//
// Hot-tracking: a docked toolbar of 20 glyph buttons on a shown form; each move goes to the
// form's window as the window system sends it (input hooks, the window bridge, hot-tracking)
// onto the next button, and the repaint it asks for is painted at once. The painted area
// per move is measured beside the time: only the two buttons whose state changed should be.
//
// Menus: a menu of 200 buttons is opened to its first paint (the window placed, laid out,
// shown and painted) and closed again, beside a QMenu of 200 actions popped up and painted
// the same way; then one hover move inside the open menu (selection, repaint of the rows).
//
// Drag step: a shown form whose top dock holds 20 toolbars of 8 buttons (two a row); one of
// them is dragged, and each step is one mouse move of the drag (to and fro along its row and
// across the rows), from the move to the dock laid out again and painted.
//
// Label caption: a docked toolbar led by a label (through a control container item) and 20
// buttons on a shown form; the label's caption changes between two widths, each change timed
// until the bar is laid out again and painted, and the re-layouts it caused are counted.
//
// In-place expansion: a shown menu of 200 rows whose middle row is the header of an in-place
// sub item of 10 buttons, the header selected; Right expands the block under it, timed until
// the menu is laid out again, placed and painted, and Left collapses it, untimed. Beside it, a
// shown QMenu of 200 actions shows 10 hidden actions in its middle and is painted.
//
// Customise: a shown form with five docked toolbars enters customizing mode, from the call
// to the customizing window's first paint (the bars redrawn for the mode, the window read,
// built, placed, shown and painted), and leaves it again. Beside it, a QDialog of the same
// controls (three tabs, a list of five checkable lines, five buttons) is built, shown and
// painted the same way.
//
// Commands page: a shown form whose manager has a category "Insert" of 56 commands made like
// the editor's (46 glyph buttons, 10 sub items) and a docked toolbar "Toolbar"; with the
// customizing window open on its Commands page, choosing Insert is timed until its commands
// are listed and painted (another category is chosen between runs, untimed). Then a command
// of the list is dragged over "Toolbar": each step is one mouse move of the drag along the
// bar, until the insertion mark is placed and everything is painted.
//
// Date navigator: the drop-down month calendar of a date item, shown with its Today and Clear
// buttons, is painted whole again; then a key passed on by the item's editor moves the
// selection (sometimes into another month) until the calendar is painted.
//
// Font-name combo: with 2,000 families given to it (then with the machine's own), the item is
// made (its sorted list filled), and on a shown form's docked toolbar its list drops until
// painted and closes again (untimed). Beside it, a QComboBox of the same families is made and
// its popup shown until painted; with the machine's fonts the peer is a QFontComboBox.
#include "BenchTiming.h"
#include "DockRows.h"
#include "ExceptionBarrier.h"
#include "Forms.h"
#include "ImgList.h"
#include "StdCtrls.h"
#include "ToolbarLayout.h"
#include "dxBarBar.h"
#include "dxBarCategories.h"
#include "dxBarCommandsListBox.h"
#include "Keys.h"
#include "ListBoxes.h"
#include "dxBarAllCommandsPage.h"
#include "dxBarCommandsPage.h"
#include "dxBarControlContainer.h"
#include "dxBarExtItems.h"
#include "dxBarInPlaceSubItem.h"
#include "dxBarControl.h"
#include "dxBarCustomizing.h"
#include "dxBarCustomizingForm.h"
#include "Desktop.h"
#include "dxBarDateCombo.h"
#include "dxBarDateNavigator.h"
#include "dxBarDockControls.h"
#include "dxBarDrag.h"
#include "dxBarDrawing.h"
#include "dxBarEditControls.h"
#include "dxBarFontNameCombo.h"
#include "dxBarItemDrag.h"
#include "dxBarItemLink.h"
#include "dxBarItems.h"
#include "dxBarManager.h"
#include "dxBarPopupMenu.h"
#include "dxBarRegistry.h"
#include "dxBarSubMenuControl.h"
#include "dxBarWindowsLibrary.h"

#include <QAbstractItemView>
#include <QAction>
#include <QComboBox>
#include <QFontComboBox>
#include <QApplication>
#include <QDialog>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QLayout>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMainWindow>
#include <QMenu>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPushButton>
#include <QTabWidget>
#include <QToolBar>
#include <QWindow>

#include <algorithm>
#include <utility>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

constexpr int kBars = 20;
constexpr int kButtons = 20;
constexpr int kBarsPerRow = 2;
constexpr int kRuns = 400;
// The widths the dock is resized to, in turn: wide enough, and too short for a row.
constexpr int kWidths[] = {1000, 900, 760, 980, 640};
// A docked bar's non-client room: frame and grip along the row, frame across.
constexpr int kNcAlong = 2 + 2 + 8;
constexpr int kNcAcross = 4;

// The width of a run's resize: the widths in turn.
int RunWidth(int run)
{
    return kWidths[run % std::size(kWidths)];
}

// Runs the event loop for ms: what was shown is exposed and painted.
void Settle(int ms)
{
    QElapsedTimer wait;
    wait.start();
    while (wait.elapsed() < ms) QCoreApplication::processEvents();
}

// A mouse move to global on the screen, as the window system sends it to widget's window.
QMouseEvent MouseMove(const QWidget* widget, const QPoint& global)
{
    return QMouseEvent(QEvent::MouseMove, widget->mapFromGlobal(global), global, Qt::NoButton, Qt::NoButton,
                       Qt::NoModifier);
}

QImage Glyph(int k)
{
    QImage glyph(16, 16, QImage::Format_RGB32);
    glyph.fill(QColor::fromHsv((k * 17) % 360, 200, 200));
    return glyph;
}

// The peer's toolbars in window: kBars QToolBars of kButtons actions, kBarsPerRow a row, a
// separator before every fifth action; with glyphs, action k shows Glyph(k).
std::vector<QWidget*> AddQtToolBars(QMainWindow& window, bool glyphs)
{
    window.setCentralWidget(new QWidget);
    std::vector<QWidget*> bars;
    for (int i = 0; i < kBars; ++i) {
        if (i > 0 && i % kBarsPerRow == 0) window.addToolBarBreak();
        auto* bar = window.addToolBar(QStringLiteral("Bar %1").arg(i));
        bar->setIconSize(QSize(16, 16));
        for (int k = 0; k < kButtons; ++k) {
            if (k % 5 == 0 && k > 0) bar->addSeparator();
            if (glyphs)
                bar->addAction(QIcon(QPixmap::fromImage(Glyph(k))), QStringLiteral("B%1").arg(k));
            else
                bar->addAction(QStringLiteral("A%1").arg(k));
        }
        bars.push_back(bar);
    }
    return bars;
}

// One bench's bar library, started for it and finalized after it, with its windows and a
// form that has a bar manager.
class TBenchForm {
    struct TStarted {
        TStarted() { dxBarInitialize(); }
        ~TStarted() { dxBarFinalize(); }
    } started_;

public:
    TdxBarWindowsLibrary library;
    TForm form{nullptr};
    TdxBarManager* manager = new TdxBarManager(&form);

    // The manager's images: Glyph(0) to Glyph(count - 1).
    void SetGlyphs(int count)
    {
        auto* images = Create<TImageList>(&form);
        images->SetWidth(16);
        images->SetHeight(16);
        for (int k = 0; k < count; ++k) images->Add(Glyph(k));
        manager->SetImages(images);
    }
    // Adds the button "B<k>" at the end of bar; with its glyph, the manager's image k.
    TdxBarItemLink* AddButton(TdxBar* bar, int k, bool glyph = false)
    {
        auto* button = Create<TdxBarButton>(&form);
        button->SetCaption(QStringLiteral("B%1").arg(k));
        if (glyph) button->SetImageIndex(k);
        TdxBarItemLink* link = bar->ItemLinks()->Add();
        link->SetItem(button);
        return link;
    }
    // Shows count bars "Bar 0", "Bar 1", ... of buttons buttons each on the form's top dock,
    // perRow a row, each spacing further along its row than the one before. Like the peer's
    // QToolBars, the buttons may show their glyphs with a group begun at every fifth.
    std::vector<TdxBar*> DockBars(int count, int buttons, int perRow, int spacing, bool likeThePeer = false)
    {
        std::vector<TdxBar*> bars;
        for (int b = 0; b < count; ++b) {
            TdxBar* bar = manager->Bars()->Add();
            bar->SetCaption(QStringLiteral("Bar %1").arg(b));
            for (int k = 0; k < buttons; ++k) {
                TdxBarItemLink* link = AddButton(bar, k, likeThePeer);
                if (likeThePeer) link->SetBeginGroup(k % 5 == 0 && k > 0);
            }
            bar->SetRow(b / perRow);
            bar->SetDockedLeft((b % perRow) * spacing);
            bar->SetDockingStyle(dsTop);
            bar->SetVisible(true);
            bars.push_back(bar);
        }
        return bars;
    }
};

struct TBenchBar {
    toolbarlayout::TBar bar;
    std::vector<toolbarlayout::TItem> items;
    int requested = 0;
    // Results, as the windows would take them.
    toolbarlayout::TItemRects rects;
    int pos = 0, length = 0, thickness = 0;
};

// One dock relayout: what the dock control does for its rows, without moving windows.
void LayoutDock(std::vector<TBenchBar>& bars, int width)
{
    using namespace toolbarlayout;
    for (int first = 0; first < int(bars.size()); first += kBarsPerRow) {
        std::vector<dockrows::TRowBar> row;
        for (int i = first; i < first + kBarsPerRow; ++i) {
            TBenchBar& b = bars[i];
            dockrows::TRowBar r;
            r.Requested = b.requested;
            r.MinLength = GetMinWidth(b.bar, b.items, dsTop) + kNcAlong;
            r.FullLength = GetMaxWidth(b.bar, b.items, dsTop) + kNcAlong;
            r.FullThickness = GetMaxHeight(b.bar, b.items, dsTop) + kNcAcross;
            r.MarkExists = b.bar.MarkExists;
            r.ThicknessFor = [&b](int length, bool) {
                return CalcSizeForWidth(b.bar, b.items, dsTop, length - kNcAlong).Size.Y + kNcAcross;
            };
            row.push_back(r);
        }
        const dockrows::TRowLayout placed = dockrows::LayoutRow(row, width);
        for (int i = first; i < first + kBarsPerRow; ++i) {
            TBenchBar& b = bars[i];
            const dockrows::TRowPlace& p = placed.Bars[i - first];
            b.pos = p.Pos;
            b.length = p.Length;
            b.thickness = p.Thickness;
            b.bar.MarkExists = p.Truncated;
            const TSizeResult size = CalcSizeForWidth(b.bar, b.items, dsTop, p.Length - kNcAlong);
            b.rects = CalcItemRects(b.bar, VisibleUnderLimit(b.items, size.RecentLimit), p.Length - kNcAlong,
                                    p.Thickness - kNcAcross);
        }
    }
}

TStats BenchOurs()
{
    std::vector<TBenchBar> bars(kBars);
    for (int i = 0; i < kBars; ++i) {
        bars[i].bar.Style = dsTop;
        bars[i].requested = (i % kBarsPerRow) * 480;
        for (int k = 0; k < kButtons; ++k) bars[i].items.push_back({23, 22, k % 5 == 0 && k > 0});
    }
    return TimePreparedRuns(kRuns, RunWidth, [&](int width) { LayoutDock(bars, width); });
}

TStats BenchQt()
{
    QMainWindow window;
    AddQtToolBars(window, false);
    window.resize(kWidths[0], 600);
    window.show();
    QApplication::processEvents();
    return TimePreparedRuns(kRuns, RunWidth, [&](int width) {
        window.resize(width, 600);
        window.layout()->activate();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    });
}

constexpr int kWindowRuns = 200;

// Watches bar windows: each counts as done once it has been painted after its last move or
// resize since the watch was armed.
class TBarWatch : public QObject {
public:
    explicit TBarWatch(const std::vector<QWidget*>& bars) : bars_(bars), painted_(bars.size())
    {
        for (QWidget* w : bars_) w->installEventFilter(this);
    }
    ~TBarWatch() override
    {
        for (QWidget* w : bars_) w->removeEventFilter(this);
    }
    void Arm()
    {
        std::fill(painted_.begin(), painted_.end(), false);
        pending_ = int(bars_.size());
    }
    bool Done() const { return pending_ == 0; }
    bool eventFilter(QObject* o, QEvent* e) override
    {
        const auto it = std::find(bars_.begin(), bars_.end(), o);
        if (it == bars_.end()) return false;
        const std::size_t i = std::size_t(it - bars_.begin());
        if (e->type() == QEvent::Move || e->type() == QEvent::Resize) {
            ++moves;
            if (painted_[i]) {
                painted_[i] = false;
                ++pending_;
            }
        } else if (e->type() == QEvent::Paint && !painted_[i]) {
            painted_[i] = true;
            --pending_;
        }
        return false;
    }
    qint64 moves = 0;

private:
    std::vector<QWidget*> bars_;
    std::vector<bool> painted_;
    int pending_ = 0;
};

struct TWindowFigures {
    TStats time;
    double movesPerResize = 0;
};

// Resizes the shown top-level window through the widths in turn; each run lasts until every
// bar window is painted after its last move.
TWindowFigures ResizeRuns(QWidget* top, const std::vector<QWidget*>& bars)
{
    Settle(300);
    TBarWatch watch(bars);
    const TStats time = TimePreparedRuns(
        kWindowRuns,
        [&](int run) {
            watch.Arm();
            return RunWidth(run);
        },
        [&](int width) {
            const QDeadlineTimer limit(2000);
            top->resize(width, 600);
            while (!watch.Done() && !limit.hasExpired()) QCoreApplication::processEvents();
        });
    return {time, double(watch.moves) / kWindowRuns};
}

TWindowFigures BenchOursThroughWindows()
{
    TBenchForm bench;
    bench.manager->SetStyle(bmsFlat);
    bench.SetGlyphs(kButtons);
    bench.form.SetBounds(50, 50, kWidths[0], 600);
    std::vector<QWidget*> windows;
    for (TdxBar* bar : bench.DockBars(kBars, kButtons, kBarsPerRow, 480, true))
        windows.push_back(bar->ItemLinks()->BarControl()->Handle());
    bench.form.Handle()->show();
    return ResizeRuns(bench.form.Handle(), windows);
}

TWindowFigures BenchQtThroughWindows()
{
    QMainWindow window;
    const std::vector<QWidget*> bars = AddQtToolBars(window, true);
    window.setGeometry(50, 50, kWidths[0], 600);
    window.show();
    return ResizeRuns(&window, bars);
}

constexpr int kMoves = 4000;

struct THotTracking {
    TStats time;
    double paintedPerMove = 0;
    int buttonArea = 0;
    int barArea = 0;
};

// Sums the area of every paint of the widget.
class TPaintArea : public QObject {
public:
    bool eventFilter(QObject*, QEvent* e) override
    {
        if (e->type() == QEvent::Paint)
            for (const QRect& r : static_cast<QPaintEvent*>(e)->region()) area += qint64(r.width()) * r.height();
        return false;
    }
    qint64 area = 0;
};

THotTracking BenchHotTracking()
{
    TBenchForm bench;
    bench.manager->SetStyle(bmsFlat);
    bench.SetGlyphs(kButtons);
    TdxBar* bar = bench.manager->Bars()->Add();
    for (int k = 0; k < kButtons; ++k) bench.AddButton(bar, k, true);
    auto* dock = Create<TdxBarDockControl>(&bench.form);
    dock->SetParent(&bench.form);
    dock->SetAlign(alNone);
    dock->SetBounds(0, 0, 800, 0);
    dock->SetBarManager(bench.manager);
    bar->SetDockControl(dock);
    bar->SetVisible(true);
    auto* window = qobject_cast<TdxBarControl*>(bar->ItemLinks()->BarControl());
    QWidget* top = bench.form.Handle();
    top->setGeometry(100, 100, 820, 200);
    top->show();
    Settle(500);
    TPaintArea painted;
    window->Handle()->installEventFilter(&painted);
    THotTracking result;
    result.time = TimePreparedRuns(
        kMoves,
        [&](int run) {
            TdxBarItemLink* link = bar->ItemLinks()->Items(run % kButtons);
            return MouseMove(top, window->ClientToScreen(TPoint(link->ItemRect().center())));
        },
        [&](QMouseEvent& move) {
            QCoreApplication::sendEvent(top->windowHandle(), &move);
            dxBarProcessPaintMessages();
        });
    window->Handle()->removeEventFilter(&painted);
    result.paintedPerMove = double(painted.area) / kMoves;
    const QRect button = bar->ItemLinks()->Items(0)->ItemRect();
    result.buttonArea = button.width() * button.height();
    result.barArea = window->Width() * window->Height();
    return result;
}

constexpr int kMenuItems = 200;
constexpr int kMenuRuns = 60;
constexpr int kHoverMoves = 400;

struct TMenuFigures {
    TStats open, hover;
};

TMenuFigures BenchMenu()
{
    TBenchForm bench;
    TdxBarManager* manager = bench.manager;
    manager->SetStyle(bmsFlat);
    manager->SetMenusShowRecentItemsFirst(false);
    auto* popup = Create<TdxBarPopupMenu>(&bench.form);
    for (int i = 0; i < kMenuItems; ++i) {
        auto* button = Create<TdxBarButton>(&bench.form);
        button->SetCaption(QStringLiteral("Command %1").arg(i));
        popup->ItemLinks()->Add()->SetItem(button);
    }
    TMenuFigures figures;
    TdxBarSubMenuControl* menu = nullptr;
    auto open = [&] {
        menu = new TdxBarSubMenuControl(manager);
        menu->SetItemLinks(popup->ItemLinks());
        menu->SetPosition(100, 50);
        menu->Show();
        // The first paint, forced: a window is painted only once the window system exposes it.
        menu->Handle()->grab();
    };
    figures.open = TimeRuns(
        kMenuRuns, [&](int) { open(); },
        [&] {
            menu->Close();
            QApplication::processEvents();
        });
    open();
    Settle(300);
    const int shown = menu->VisibleItemCount();
    QWindow* window = menu->Handle()->windowHandle();
    figures.hover = TimePreparedRuns(
        kHoverMoves,
        [&](int run) {
            const QRect row = popup->ItemLinks()->Items(1 + run % std::max(1, shown - 2))->ItemRect();
            return MouseMove(menu->Handle(), menu->ClientToScreen(TPoint(row.center())));
        },
        [&](QMouseEvent& move) {
            QCoreApplication::sendEvent(window, &move);
            dxBarProcessPaintMessages();
        });
    menu->Close();
    QApplication::processEvents();
    return figures;
}

TStats BenchQMenu()
{
    QMenu menu;
    for (int i = 0; i < kMenuItems; ++i) menu.addAction(QStringLiteral("Command %1").arg(i));
    return TimeRuns(
        kMenuRuns,
        [&](int) {
            menu.popup(QPoint(100, 50));
            menu.grab();
        },
        [&] {
            menu.hide();
            QApplication::processEvents();
        });
}

constexpr int kDragBars = 20;
constexpr int kDragButtons = 8;
constexpr int kDragSteps = 400;

TStats BenchDragStep()
{
    TBenchForm bench;
    bench.manager->SetStyle(bmsFlat);
    bench.form.SetBounds(50, 50, 1000, 700);
    const std::vector<TdxBar*> bars = bench.DockBars(kDragBars, kDragButtons, 2, 450);
    bench.form.Handle()->show();
    Settle(300);
    auto* window = qobject_cast<TdxBarControl*>(bars[9]->ItemLinks()->BarControl());
    QWidget* dock = bench.manager->Bars()->BuiltInDock(dsTop)->Handle();
    const QPoint start = window->WindowRect().TopLeft() + QPoint(4, window->Height() / 2);
    QPoint cursor = start;
    SetCursorPosFunction([&cursor] { return cursor; });
    window->SetGrab(start - window->WindowRect().TopLeft(), window->Width(), window->Height());
    TStats result;
    {
        TdxBarDrag drag(bench.library, window, start);
        result = TimePreparedRuns(
            kDragSteps,
            [&](int step) {
                // Along the row, and every eighth step a row further down or back up.
                const int along = (step * 37) % 600;
                const int rows = (step / 8) % 6;
                cursor = dock->mapToGlobal(QPoint(20 + along, 0)) +
                         QPoint(0, start.y() - dock->mapToGlobal(QPoint()).y() + rows * 4);
                return cursor;
            },
            [&](const QPoint& to) {
                drag.Move(to);
                dxBarProcessPaintMessages();
            });
        drag.Drop();
    }
    SetCursorPosFunction({});
    return result;
}

constexpr int kCaptionChanges = 400;

struct TLabelFigures {
    TStats time;
    double layoutsPerChange = 0;
};

// Every link control the container class makes: the bar window makes its controls anew on
// each re-layout, so this counts the re-layouts of a bar with one container link.
int containerControlsMade = 0;
TdxBarItemControlClass::Factory makeContainerControl = nullptr;

TLabelFigures BenchLabelCaption()
{
    dxBarInitialize();  // the extended items start after the library and finish before it
    dxBarExtItemsInitialize();
    makeContainerControl = std::exchange(TdxBarControlContainerControlClass.factory, [](TdxBarItemLink* link) {
        ++containerControlsMade;
        return makeContainerControl(link);
    });
    TLabelFigures result;
    {
        TBenchForm bench;
        bench.manager->SetStyle(bmsFlat);
        auto* label = new TLabel(&bench.form);
        label->SetParent(&bench.form);
        label->SetCaption(QStringLiteral("Code:"));
        label->SetVisible(false);
        TdxBar* bar = bench.manager->Bars()->Add();
        auto* container = Create<TdxBarControlContainerItem>(&bench.form);
        container->SetControl(label);
        bar->ItemLinks()->Add()->SetItem(container);
        for (int k = 0; k < kButtons; ++k) bench.AddButton(bar, k);
        bar->SetDockingStyle(dsTop);
        bar->SetVisible(true);
        bench.form.Handle()->setGeometry(100, 100, 900, 200);
        bench.form.Handle()->show();
        Settle(300);
        const QString captions[] = {QStringLiteral("Code (edited):"), QStringLiteral("Code:")};
        const int madeBefore = containerControlsMade;
        result.time = TimeRuns(kCaptionChanges, [&](int run) {
            label->SetCaption(captions[run % 2]);
            dxBarProcessPaintMessages();
        });
        result.layoutsPerChange = double(containerControlsMade - madeBefore) / kCaptionChanges;
    }
    TdxBarControlContainerControlClass.factory = makeContainerControl;
    dxBarExtItemsFinalize();
    dxBarFinalize();
    return result;
}

constexpr int kInPlaceLinks = 10;
constexpr int kExpandRuns = 100;

struct TExpandFigures {
    TStats time;
    int expanded = 0;  // runs after which the block was open
};

TExpandFigures BenchInPlaceExpand()
{
    dxBarInitialize();  // the extended items start after the library and finish before it
    dxBarExtItemsInitialize();
    TExpandFigures result;
    {
        TBenchForm bench;
        bench.manager->SetStyle(bmsFlat);
        bench.manager->SetMenusShowRecentItemsFirst(false);
        auto* popup = Create<TdxBarPopupMenu>(&bench.form);
        auto* more = Create<TdxBarInPlaceSubItem>(&bench.form);
        more->SetCaption(QStringLiteral("More commands"));
        for (int i = 0; i < kInPlaceLinks; ++i) {
            auto* button = Create<TdxBarButton>(&bench.form);
            button->SetCaption(QStringLiteral("More %1").arg(i));
            more->ItemLinks()->Add()->SetItem(button);
        }
        for (int i = 0; i < kMenuItems; ++i) {
            if (i == kMenuItems / 2) {
                popup->ItemLinks()->Add()->SetItem(more);
                continue;
            }
            auto* button = Create<TdxBarButton>(&bench.form);
            button->SetCaption(QStringLiteral("Command %1").arg(i));
            popup->ItemLinks()->Add()->SetItem(button);
        }
        auto* menu = new TdxBarSubMenuControl(bench.manager);
        menu->SetItemLinks(popup->ItemLinks());
        menu->SetPosition(100, 50);
        menu->Show();
        Settle(300);
        menu->SetKeySelectedItem(more->LinkList().first()->Control());
        auto press = [menu](int key) {
            menu->KeyDown(key, {});
            dxBarProcessPaintMessages();
        };
        result.time = TimeRuns(
            kExpandRuns, [&](int) { press(VK_RIGHT); },
            [&] {
                if (popup->ItemLinks()->Count() == kMenuItems + kInPlaceLinks) ++result.expanded;
                press(VK_LEFT);
            });
        menu->Close();
        QApplication::processEvents();
    }
    dxBarExtItemsFinalize();
    dxBarFinalize();
    return result;
}

TStats BenchQMenuShowActions()
{
    QMenu menu;
    std::vector<QAction*> hidden;
    for (int i = 0; i < kMenuItems + kInPlaceLinks; ++i) {
        const bool inBlock = i > kMenuItems / 2 && i <= kMenuItems / 2 + kInPlaceLinks;
        QAction* action = menu.addAction(QStringLiteral("Command %1").arg(i));
        if (!inBlock) continue;
        action->setVisible(false);
        hidden.push_back(action);
    }
    menu.popup(QPoint(100, 50));
    Settle(300);
    auto show = [&hidden](bool visible) {
        for (QAction* action : hidden) action->setVisible(visible);
        dxBarProcessPaintMessages();
    };
    return TimeRuns(
        kExpandRuns, [&](int) { show(true); }, [&] { show(false); });
}

constexpr int kCustomizeBars = 5;
constexpr int kCustomizeRuns = 40;

TStats BenchCustomize()
{
    TBenchForm bench;
    TdxBarCustomizing customizing;
    bench.form.SetBounds(50, 50, 900, 650);
    bench.DockBars(kCustomizeBars, kDragButtons, 1, 0);
    bench.form.Show();
    Settle(300);
    return TimeRuns(
        kCustomizeRuns,
        [&](int) {
            bench.manager->Customizing(true);
            // The first paint, forced: a window is painted only once the window system exposes it.
            customizing.Window()->Handle()->grab();
            dxBarProcessPaintMessages();
        },
        [&] {
            bench.manager->Customizing(false);
            QApplication::processEvents();
        });
}

TStats BenchQDialog()
{
    QDialog* dialog = nullptr;
    return TimeRuns(
        kCustomizeRuns,
        [&](int) {
            dialog = new QDialog;
            dialog->resize(366, 310);
            auto* tabs = new QTabWidget(dialog);
            tabs->setGeometry(6, 8, 354, 266);
            auto* page = new QWidget;
            auto* list = new QListWidget(page);
            list->setGeometry(4, 20, 227, 213);
            for (int b = 0; b < kCustomizeBars; ++b) {
                auto* line = new QListWidgetItem(QStringLiteral("Bar %1").arg(b), list);
                line->setFlags(line->flags() | Qt::ItemIsUserCheckable);
                line->setCheckState(Qt::Checked);
            }
            for (int k = 0; k < 4; ++k)
                (new QPushButton(QStringLiteral("Button %1").arg(k), page))->setGeometry(239, 21 + 29 * k, 104, 22);
            tabs->addTab(page, QStringLiteral(" Toolbars "));
            tabs->addTab(new QWidget, QStringLiteral(" Commands "));
            tabs->addTab(new QWidget, QStringLiteral(" Options "));
            (new QPushButton(QStringLiteral("Close"), dialog))->setGeometry(280, 282, 80, 23);
            dialog->show();
            dialog->grab();
        },
        [&] {
            delete dialog;
            QApplication::processEvents();
        });
}

constexpr int kInsertButtons = 46;
constexpr int kInsertSubItems = 10;
constexpr int kCommandsRuns = 200;
constexpr int kCommandDragSteps = 400;

struct TCommandsFigures {
    TStats choose;
    TStats dragStep;
};

TCommandsFigures BenchCommands()
{
    TBenchForm bench;
    TdxBarCustomizing customizing;
    TdxBarManager* manager = bench.manager;
    manager->SetStyle(bmsFlat);
    bench.SetGlyphs(kInsertButtons);
    bench.form.SetBounds(50, 50, 900, 650);
    manager->Categories()->Add(QStringLiteral("Insert"));
    manager->Categories()->Add(QStringLiteral("Other"));
    for (int k = 0; k < kInsertButtons + kInsertSubItems; ++k) {
        TdxBarItem* item = k < kInsertButtons ? static_cast<TdxBarItem*>(Create<TdxBarButton>(&bench.form))
                                              : Create<TdxBarSubItem>(&bench.form);
        item->SetCaption(QStringLiteral("Insert command %1").arg(k));
        item->SetCategory(1);
        if (k < kInsertButtons) item->SetImageIndex(k);
    }
    for (int k = 0; k < 4; ++k) Create<TdxBarButton>(&bench.form)->SetCategory(2);
    TdxBar* toolbar = bench.DockBars(1, kDragButtons, 1, 0).front();
    toolbar->SetCaption(QStringLiteral("Toolbar"));
    bench.form.Show();
    Settle(300);
    manager->Customizing(true);
    TdxBarCustomizingForm* window = customizing.Window();
    window->PageControl->SetActivePage(window->TabSheet2);
    Settle(300);
    TdxBarCommandsPage* page = window->CommandsPage();
    TListBox* categories = window->LCategories;
    TCommandsListBox* list = page->CommandsList();
    const int insert = categories->Items()->IndexOf(QStringLiteral("Insert"));
    const int other = categories->Items()->IndexOf(QStringLiteral("Other"));

    TCommandsFigures figures;
    figures.choose = TimePreparedRuns(
        kCommandsRuns,
        [&](int run) {
            categories->SetItemIndex(other);
            page->LCategoriesClick(categories);
            dxBarProcessPaintMessages();
            return run;
        },
        [&](int) {
            categories->SetItemIndex(insert);
            page->LCategoriesClick(categories);
            list->ListWidget()->viewport()->repaint();
            dxBarProcessPaintMessages();
        });
    if (list->Items()->Count() != kInsertButtons + kInsertSubItems) std::printf("the Insert category is not listed\n");

    auto* bar = qobject_cast<TdxBarControl*>(toolbar->ItemLinks()->BarControl());
    const TRect barRect = bar->WindowRect();
    QPoint cursor = list->ListWidget()->viewport()->mapToGlobal(list->ItemRect(0).center());
    SetCursorPosFunction([&cursor] { return cursor; });
    {
        TdxBarItemDrag drag(manager, list->Item(0), nullptr, cursor, false);
        figures.dragStep = TimePreparedRuns(
            kCommandDragSteps,
            [&](int step) {
                // To and fro along the bar's buttons.
                cursor = QPoint(barRect.Left + 12 + (step * 37) % (barRect.Width() - 24),
                                barRect.Top + barRect.Height() / 2);
                return cursor;
            },
            [&](const QPoint& to) {
                drag.Move(to);
                dxBarProcessPaintMessages();
            });
        if (!drag.Target()) std::printf("the drag found no bar under the pointer\n");
        drag.Cancel();
    }
    SetCursorPosFunction({});
    manager->Customizing(false);
    QApplication::processEvents();
    return figures;
}

constexpr int kAllCommands = 1000;
constexpr int kAllCommandsRuns = 40;

struct TAllCommandsFigures {
    TStats ours;
    TStats peer;
};

// The All commands page of design mode filled with every item of a manager, until painted,
// beside a QListWidget filled with as many rows of the same three texts.
TAllCommandsFigures BenchAllCommands()
{
    TAllCommandsFigures figures;
    {
        TBenchForm bench;
        TdxBarCustomizing customizing;
        TdxBarManager* manager = bench.manager;
        manager->SetDesigningFlag(true);
        manager->Categories()->Add(QStringLiteral("Commands"));
        for (int k = 0; k < kAllCommands; ++k) {
            auto* item = Create<TdxBarButton>(&bench.form);
            item->SetName(QStringLiteral("Command%1").arg(k));
            item->SetCaption(QStringLiteral("&Command number %1").arg(k));
            item->SetCategory(k % 2);
            if (k % 3 == 0) item->SetShortCut(ShortCut('A' + k % 26, {ssCtrl}));
        }
        bench.form.Show();
        Settle(200);
        dxBarShowDesignCustomizing(manager);
        TdxBarCustomizingForm* window = customizing.Window();
        window->PageControl->SetActivePage(window->TabSheet4);
        Settle(200);
        TdxBarAllCommandsPage* page = nullptr;
        for (const auto& each : window->Pages())
            if (auto* all = dynamic_cast<TdxBarAllCommandsPage*>(each.get())) page = all;
        figures.ours = TimeRuns(kAllCommandsRuns, [&](int) {
            page->Fill();
            page->List()->ListWidget()->viewport()->repaint();
            dxBarProcessPaintMessages();
        });
        if (page->List()->Items()->Count() != kAllCommands) std::printf("the All commands page is not filled\n");
        manager->Customizing(false);
        QApplication::processEvents();
    }
    QListWidget peer;
    peer.resize(337, 204);
    peer.show();
    Settle(200);
    figures.peer = TimeRuns(kAllCommandsRuns, [&](int) {
        peer.setUpdatesEnabled(false);
        peer.clear();
        for (int k = 0; k < kAllCommands; ++k)
            peer.addItem(QStringLiteral("Command%1   Command number %1   Ctrl+A").arg(k));
        peer.setUpdatesEnabled(true);
        peer.viewport()->repaint();
    });
    return figures;
}

}  // namespace

constexpr int kNavigatorRuns = 400;

struct TNavigatorFigures {
    TStats paint, key;
};

TNavigatorFigures BenchNavigator()
{
    TBenchForm bench;
    TdxBarExtItemsScope extended;
    bench.manager->SetStyle(bmsFlat);
    auto* combo = Create<TdxBarDateCombo>(&bench.form);
    TdxBarDateNavigator navigator(combo, true);
    navigator.SetShowButtons(true, true);
    navigator.SetWindowPos(TRect::Bounds(200, 200, navigator.Width(), navigator.Height()),
                           SWP_SHOWWINDOW | SWP_NOACTIVATE);
    Settle(300);
    TNavigatorFigures result;
    result.paint = TimeRuns(kNavigatorRuns, [&](int) {
        navigator.Invalidate();
        navigator.UpdateWindow();
    });
    static const int keys[] = {VK_RIGHT, VK_DOWN, VK_LEFT, VK_NEXT, VK_UP, VK_PRIOR, VK_END, VK_HOME};
    result.key = TimeRuns(kNavigatorRuns, [&](int run) {
        navigator.NavigatorKeyDown(keys[run % std::size(keys)], {});
        dxBarProcessPaintMessages();
    });
    return result;
}

// ---------------------------------------------------------------- MDI maximize

constexpr int kMDIRuns = 200;
constexpr int kMDIMenuLinks = 50;

// A child with 50 links on its main menu bar maximized in a frame with its own menu bar,
// until the frame's menu bar (with the child's icon, merged links and caption buttons) is
// painted; restoring between runs is not timed.
TStats BenchMDIMaximize()
{
    TBenchForm bench;
    TForm& frame = bench.form;
    frame.SetFormStyle(fsMDIForm);
    frame.SetBounds(40, 40, 900, 600);
    auto* frameDock = Create<TdxBarDockControl>(&frame);
    frameDock->SetParent(&frame);
    frameDock->SetAlign(alTop);
    frameDock->SetBarManager(bench.manager);
    TdxBar* frameMenu = bench.manager->Bars()->Add();
    frameMenu->SetIsMainMenu(true);
    bench.AddButton(frameMenu, 0);
    frameMenu->SetDockControl(frameDock);
    frameMenu->SetVisible(true);
    frame.Show();

    auto* child = new TForm(&frame);
    child->SetFormStyle(fsMDIChild);
    child->SetBounds(10, 10, 400, 300);
    auto* childDock = Create<TdxBarDockControl>(child);
    childDock->SetParent(child);
    childDock->SetAlign(alTop);
    auto* childManager = new TdxBarManager(child);
    childDock->SetBarManager(childManager);
    TdxBar* childMenu = childManager->Bars()->Add();
    childMenu->SetIsMainMenu(true);
    for (int k = 0; k < kMDIMenuLinks; ++k) {
        auto* button = Create<TdxBarButton>(child);
        button->SetCaption(QStringLiteral("M%1").arg(k));
        childMenu->ItemLinks()->Add()->SetItem(button);
    }
    childMenu->SetDockControl(childDock);
    childMenu->SetVisible(true);
    child->Show();
    Settle(100);
    auto menuWindow = [&] { return qobject_cast<TdxBarControl*>(frameMenu->ItemLinks()->BarControl()); };
    return TimeRuns(
        kMDIRuns,
        [&](int) {
            child->SetWindowState(wsMaximized);
            if (TdxBarControl* window = menuWindow()) window->Handle()->repaint();
        },
        [&] {
            child->SetWindowState(wsNormal);
            QApplication::processEvents();
        });
}

// The peer: a QMdiArea with one sub-window (no QMenuBar) maximized until the area is painted.
TStats BenchQMdiMaximize()
{
    QWidget frame;
    frame.setGeometry(40, 40, 900, 600);
    auto* area = new QMdiArea(&frame);
    area->setGeometry(0, 24, 900, 576);
    auto* sub = area->addSubWindow(new QWidget);
    sub->setGeometry(10, 10, 400, 300);
    frame.show();
    sub->show();
    Settle(100);
    return TimeRuns(
        kMDIRuns,
        [&](int) {
            sub->showMaximized();
            area->viewport()->repaint();
        },
        [&] {
            sub->showNormal();
            QApplication::processEvents();
        });
}

constexpr int kFontFamilies = 2000;
constexpr int kFontRuns = 60;

constexpr int kFirstDrops = 20;

struct TFontComboFigures {
    int families = 0;
    TStats make, drop, firstDrop, peerMake, peerDrop;
};

// The font-name combo with the families the enumerator gives (none: the machine's), and its
// peer: a QComboBox of the same names, or with the machine's fonts a QFontComboBox.
TFontComboFigures BenchFontCombo(const TdxBarFontFamilyEnumerator& enumerator)
{
    TBenchForm bench;
    TdxBarExtItemsScope extended;
    dxBarSetFontFamilyEnumerator(enumerator);
    TFontComboFigures figures;
    QStringList names;
    for (const TdxBarFontFamily& family : dxBarFontFamilies()) names << family.name;
    figures.families = int(names.size());
    bench.manager->SetStyle(bmsFlat);
    figures.make = TimeRuns(kFontRuns, [&](int) { delete Create<TdxBarFontNameCombo>(&bench.form); });

    bench.form.SetBounds(50, 50, 800, 600);
    auto* combo = Create<TdxBarFontNameCombo>(&bench.form);
    TdxBar* bar = bench.manager->Bars()->Add();
    bar->ItemLinks()->Add()->SetItem(combo);
    bar->SetDockingStyle(dsTop);
    bar->SetVisible(true);
    bench.form.Handle()->show();
    Settle(300);
    auto* control = dynamic_cast<TdxBarComboControl*>(bar->ItemLinks()->Items(0)->Control());
    figures.drop = TimeRuns(
        kFontRuns,
        [&](int run) {
            combo->SetItemIndex(run * 37 % std::max(1, figures.families));
            control->SetDroppedDown(true);
            // The first paint, forced: a window is painted only once the window system exposes it.
            combo->GetDropDownWindow()->grab();
        },
        [&] {
            control->SetDroppedDown(false);
            QApplication::processEvents();
        });
    // The first drop of a new item, which measures every name.
    TdxBarItemLink* link = bar->ItemLinks()->Items(0);
    figures.firstDrop = TimePreparedRuns(
        kFirstDrops,
        [&](int) {
            auto* fresh = Create<TdxBarFontNameCombo>(&bench.form);
            link->SetItem(fresh);
            delete combo;
            combo = fresh;
            QApplication::processEvents();
            control = dynamic_cast<TdxBarComboControl*>(link->Control());
            return control;
        },
        [&](TdxBarComboControl* c) {
            c->SetDroppedDown(true);
            combo->GetDropDownWindow()->grab();
        },
        [&] {
            control->SetDroppedDown(false);
            QApplication::processEvents();
        });

    const bool machine = !enumerator;
    auto makePeer = [&]() -> QComboBox* {
        if (machine) return new QFontComboBox;
        auto* box = new QComboBox;
        box->addItems(names);
        return box;
    };
    figures.peerMake = TimeRuns(kFontRuns, [&](int) { delete makePeer(); });
    QComboBox* peer = makePeer();
    peer->move(50, 50);
    peer->show();
    Settle(300);
    figures.peerDrop = TimeRuns(
        kFontRuns,
        [&](int run) {
            peer->setCurrentIndex(run * 37 % std::max(1, peer->count()));
            peer->showPopup();
            peer->view()->window()->grab();
        },
        [&] {
            peer->hidePopup();
            QApplication::processEvents();
        });
    delete peer;
    bar->SetVisible(false);
    dxBarSetFontFamilyEnumerator({});
    return figures;
}

void PrintFontCombo(const char* what, const TFontComboFigures& f, const char* peer)
{
    std::printf("font-name combo with %s (%d families; %d runs)\n", what, f.families, kFontRuns);
    std::printf("  made, list filled       : median %8.1f us  p99 %8.1f us  (goal <= 20000 us)\n", f.make.median,
                f.make.p99);
    std::printf("  %-23s : median %8.1f us  p99 %8.1f us  (the peer)\n", peer, f.peerMake.median, f.peerMake.p99);
    std::printf("  list dropped, painted   : median %8.1f us  p99 %8.1f us  (goal <= 16000 us)\n", f.drop.median,
                f.drop.p99);
    std::printf("  its popup, painted      : median %8.1f us  p99 %8.1f us  (the peer)\n", f.peerDrop.median,
                f.peerDrop.p99);
    std::printf("  a new item's first drop : median %8.1f us  p99 %8.1f us  (goal <= 16000 us; %d runs)\n",
                f.firstDrop.median, f.firstDrop.p99, kFirstDrops);
}

int main(int argc, char** argv)
{
    TQtApplication app(argc, argv);
    const TMenuFigures menus = BenchMenu();
    const TStats qmenu = BenchQMenu();
    const THotTracking hot = BenchHotTracking();
    const TStats ours = BenchOurs();
    const TStats qt = BenchQt();
    const TStats drag = BenchDragStep();
    const TLabelFigures label = BenchLabelCaption();
    const TExpandFigures expand = BenchInPlaceExpand();
    const TStats qmenuShow = BenchQMenuShowActions();
    const TStats customize = BenchCustomize();
    const TStats dialog = BenchQDialog();
    const TCommandsFigures commands = BenchCommands();
    const TWindowFigures oursWindows = BenchOursThroughWindows();
    const TWindowFigures qtWindows = BenchQtThroughWindows();
    const TNavigatorFigures navigator = BenchNavigator();
    const TAllCommandsFigures allCommands = BenchAllCommands();
    const TStats mdi = BenchMDIMaximize();
    const TStats qmdi = BenchQMdiMaximize();
    const TFontComboFigures injectedFonts = BenchFontCombo([] {
        QList<TdxBarFontFamily> families;
        for (int i = 0; i < kFontFamilies; ++i)
            families.append({QStringLiteral("Family %1 %2").arg(QChar(u'A' + i % 26)).arg(i), i % 3 != 0});
        return families;
    });
    const TFontComboFigures machineFonts = BenchFontCombo({});
    std::printf(
        "relayout of %d docked toolbars x %d buttons after a dock resize (%d runs; ours: the geometry alone, "
        "no window moved)\n",
        kBars, kButtons, kRuns);
    std::printf("  bar library dock layout : median %8.1f us  p99 %8.1f us  (goal <= 1000 us)\n", ours.median,
                ours.p99);
    std::printf("  QMainWindow + QToolBars : median %8.1f us  p99 %8.1f us  (goal: ours no slower)\n", qt.median,
                qt.p99);
    std::printf(
        "resize of a shown window with %d docked toolbars x %d glyph buttons, until every bar window is "
        "moved and painted (%d runs, %s)\n",
        kBars, kButtons, kWindowRuns, qPrintable(QGuiApplication::platformName()));
    std::printf(
        "  bar library form        : median %8.1f us  p99 %8.1f us  (%.1f bar moves or resizes a run; goal <= %d, "
        "one of each a bar)\n",
        oursWindows.time.median, oursWindows.time.p99, oursWindows.movesPerResize, 2 * kBars);
    std::printf("  QMainWindow + QToolBars : median %8.1f us  p99 %8.1f us  (%.1f bar moves or resizes a run)\n",
                qtWindows.time.median, qtWindows.time.p99, qtWindows.movesPerResize);
    std::printf("  goal: the bar library no slower than QMainWindow, median and p99\n");
    std::printf("hot-tracking move onto the next of %d glyph buttons, input to painted (%d moves)\n", kButtons, kMoves);
    std::printf("  bar library             : median %8.1f us  p99 %8.1f us  (goal <= 1000 us)\n", hot.time.median,
                hot.time.p99);
    std::printf(
        "  painted per move        : %8.0f px  (goal: the two buttons that changed, %d px; the whole bar: %d px)\n",
        hot.paintedPerMove, 2 * hot.buttonArea, hot.barArea);
    std::printf("opening a menu of %d items to its first paint (%d runs)\n", kMenuItems, kMenuRuns);
    std::printf("  bar library menu window : median %8.1f us  p99 %8.1f us  (goal <= 16000 us)\n", menus.open.median,
                menus.open.p99);
    std::printf("  QMenu                   : median %8.1f us  p99 %8.1f us  (goal: ours no slower)\n", qmenu.median,
                qmenu.p99);
    std::printf("one hover move inside the open menu (%d moves)\n", kHoverMoves);
    std::printf("  bar library menu window : median %8.1f us  p99 %8.1f us  (goal <= 1000 us)\n", menus.hover.median,
                menus.hover.p99);
    std::printf(
        "drag step: one mouse move dragging a bar over a dock of %d toolbars, to laid out and painted (%d moves)\n",
        kDragBars, kDragSteps);
    std::printf("  bar library             : median %8.1f us  p99 %8.1f us  (goal <= 4000 us)\n", drag.median,
                drag.p99);
    std::printf("a toolbar label's caption changed to another width, until repainted (%d changes)\n", kCaptionChanges);
    std::printf("  bar library             : median %8.1f us  p99 %8.1f us  (goal <= 1000 us)\n", label.time.median,
                label.time.p99);
    std::printf("  re-layouts per change   : %8.2f  (goal: 1)\n", label.layoutsPerChange);
    std::printf(
        "expanding an in-place sub item of %d links in a shown menu of %d rows, to laid out and painted "
        "(%d runs)\n",
        kInPlaceLinks, kMenuItems, kExpandRuns);
    std::printf("  bar library menu window : median %8.1f us  p99 %8.1f us  (goal <= 16000 us; expanded in %d runs)\n",
                expand.time.median, expand.time.p99, expand.expanded);
    std::printf("  QMenu showing %d actions : median %8.1f us  p99 %8.1f us  (the peer)\n", kInPlaceLinks,
                qmenuShow.median, qmenuShow.p99);
    std::printf(
        "Customise: a form with %d docked toolbars into customizing mode, to the window's first paint (%d runs)\n",
        kCustomizeBars, kCustomizeRuns);
    std::printf("  customizing window      : median %8.1f us  p99 %8.1f us  (goal <= 100000 us)\n", customize.median,
                customize.p99);
    std::printf("  QDialog of its controls : median %8.1f us  p99 %8.1f us  (the peer)\n", dialog.median, dialog.p99);
    std::printf(
        "Commands page: choosing a test form's category \"Insert\" of %d commands (%d glyph buttons, %d sub "
        "items, as the editor's), until listed and painted (%d runs)\n",
        kInsertButtons + kInsertSubItems, kInsertButtons, kInsertSubItems, kCommandsRuns);
    std::printf("  commands list           : median %8.1f us  p99 %8.1f us  (goal <= 16000 us)\n",
                commands.choose.median, commands.choose.p99);
    std::printf(
        "drag step: one mouse move dragging a command from the Commands page over the docked \"Toolbar\", to the "
        "insertion mark placed and painted (%d moves)\n",
        kCommandDragSteps);
    std::printf("  bar library             : median %8.1f us  p99 %8.1f us  (goal <= 4000 us)\n",
                commands.dragStep.median, commands.dragStep.p99);
    std::printf("date navigator with Today and Clear (%d runs)\n", kNavigatorRuns);
    std::printf("  whole paint             : median %8.1f us  p99 %8.1f us  (goal <= 1000 us)\n",
                navigator.paint.median, navigator.paint.p99);
    std::printf("  key step until painted  : median %8.1f us  p99 %8.1f us  (goal <= 2000 us)\n", navigator.key.median,
                navigator.key.p99);
    std::printf("design mode: the All commands page filled with %d items, until painted (%d runs)\n", kAllCommands,
                kAllCommandsRuns);
    std::printf("  All commands page       : median %8.1f us  p99 %8.1f us  (goal <= 50000 us)\n",
                allCommands.ours.median, allCommands.ours.p99);
    std::printf("  QListWidget of as many  : median %8.1f us  p99 %8.1f us  (the peer)\n", allCommands.peer.median,
                allCommands.peer.p99);
    std::printf("maximizing an MDI child with %d menu links until the frame's menu bar is painted (%d runs)\n",
                kMDIMenuLinks, kMDIRuns);
    std::printf("  bar library frame       : median %8.1f us  p99 %8.1f us  (goal <= 5000 us)\n", mdi.median, mdi.p99);
    std::printf("  QMdiArea, no QMenuBar   : median %8.1f us  p99 %8.1f us  (the peer)\n", qmdi.median, qmdi.p99);
    PrintFontCombo("families given to it", injectedFonts, "QComboBox, made");
    PrintFontCombo("the machine's fonts", machineFonts, "QFontComboBox, made");
    return 0;
}
