#pragma once
// A form with a flat-look manager, one bar and a plain horizontal bar window over its links,
// with the windows library installed.
#include "ExceptionBarrier.h"
#include "Forms.h"
#include "Painting.h"
#include "dxBarBar.h"
#include "dxBarButtonControl.h"
#include "dxBarControl.h"
#include "dxBarDockControls.h"
#include "dxBarCustomControl.h"
#include "dxBarItemLink.h"
#include "dxBarItems.h"
#include "dxBarManager.h"
#include "dxBarRegistry.h"
#include "dxBarWindowsLibrary.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QStringList>
#include <memory>
#include <utility>

// A toolbar reduced to a row: controls left to right, and keyboard mode on a press as the
// real toolbar enters it, so that the release clicks.
class TRowBar : public TCustomdxBarControl {
public:
    TRowBar(TdxBarManager* manager, TdxBarItemLinks* links, bool floating)
        : TCustomdxBarControl(manager, Params(floating))
    {
        if (!floating) SetDockingStyle(dsTop);
        SetItemLinks(links);
        FrameChanged();
        RepaintBar();
    }
    ~TRowBar() override
    {
        Destroying();
        BarControlDestroying();
    }

    bool IsToolbar() const override { return true; }
    void RepaintBar() override
    {
        ++layouts;
        DestroyControls();
        CreateControls();
        int x = 0;
        for (TdxBarItemLink* link : ItemLinks()->VisibleItems()) {
            TdxBarItemControl* c = link->Control();
            const int w = c ? c->GetWidthForBar() : 0, h = c ? c->GetHeightForBar() : 0;
            link->SetItemRect(QRect(x, 0, w, h));
            x += w;
        }
        Invalidate();
    }
    void Paint(QPainter& p) override
    {
        FillRect(p, ClientRect(), GetToolbarBrush());
        for (TdxBarItemLink* link : ItemLinks()->VisibleItems())
            if (TdxBarItemControl* c = link->Control()) {
                DrawItem(p, c);
                c->Draw(p, GetItemRect(c), dxBarPaintHorizontal);
            }
    }
    void LButtonDown(const TPoint& client, TShiftState shift) override
    {
        if (ItemControlAtPos(client)) SetActive(true);
        TCustomdxBarControl::LButtonDown(client, shift);
    }

    // Press and release at client points through the message handlers.
    void ClickAt(const TPoint& down, const TPoint& up)
    {
        QPointer<TRowBar> self(this);
        LButtonDown(down, {});
        if (self) MouseMove(up, {});
        if (self) LButtonUp(up, {});
    }
    TPoint CentreOf(TdxBarItemLink* link) const { return link->ItemRect().center(); }

    int layouts = 0;

private:
    // Floating: a popup window; docked: a child window (of no widget until placed).
    static TCreateParams Params(bool floating)
    {
        TCreateParams p;
        p.Bounds = TRect::Bounds(10, 10, 300, 30);
        p.Popup = floating;
        return p;
    }
};

// Records clicks by caption and runs an optional handler.
// A left-button move, press or release at a screen point, sent to a window as real input
// reaches it (the drag loops' mouse arrives on the form's message window).
inline void SendLeftMouse(TWindow* window, QEvent::Type type, const TPoint& global)
{
    const QPoint local = window->Handle()->mapFromGlobal(global);
    QMouseEvent e(type, local, global, Qt::LeftButton,
                  type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window->Handle(), &e);
}

class TClickRecorder : public QObject {
public:
    void Click(TObject* sender)
    {
        auto* button = static_cast<TdxBarButton*>(sender);
        clicks << button->Caption();
        if (onClick) onClick(button);
    }
    QStringList clicks;
    std::function<void(TdxBarButton*)> onClick;
};

class BarWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        dxBarInitialize();
        library = MakeLibrary();
        form = std::make_unique<TForm>(nullptr);
        // The form is the active window: a docked bar hot-tracks only while its form is.
        QApplication::setActiveWindow(form->Handle());
        manager = new TdxBarManager(form.get());
        manager->SetStyle(bmsFlat);
        bar = manager->Bars()->Add();
        SetGuardedExceptionHandler(
            [this](QObject*, const std::exception& e) { errors << QString::fromUtf8(e.what()); });
    }
    void TearDown() override
    {
        delete window.data();
        form.reset();
        library.reset();
        SetGuardedExceptionHandler({});
        dxBarFinalize();
    }

    // The windows library the test runs with (a test may watch what the model asks of it).
    virtual std::unique_ptr<TdxBarWindowsLibrary> MakeLibrary() { return std::make_unique<TdxBarWindowsLibrary>(); }

    TdxBarButton* AddButton(const QString& caption)
    {
        auto* button = Create<TdxBarButton>(form.get());
        button->SetCaption(caption);
        button->SetOnClick(TNotifyEvent(&recorder, &TClickRecorder::Click));
        bar->ItemLinks()->Add()->SetItem(button);
        return button;
    }
    TRowBar* Open(bool floating = false)
    {
        window = new TRowBar(manager, bar->ItemLinks(), floating);
        return window;
    }
    TdxBarItemLink* Link(int i) const { return bar->ItemLinks()->Items(i); }
    // Two floating windows one above the other: the bar's with a button "One", and one of
    // another bar with a button "Two" (the caller frees the second).
    std::pair<TRowBar*, TRowBar*> OpenTwoFloating(int left, int top)
    {
        AddButton("One");
        TRowBar* first = Open(true);
        first->SetWindowPos(TRect::Bounds(left, top, 200, 30));
        first->Show();
        TdxBar* other = manager->Bars()->Add();
        auto* two = Create<TdxBarButton>(form.get());
        two->SetCaption("Two");
        two->SetOnClick(TNotifyEvent(&recorder, &TClickRecorder::Click));
        other->ItemLinks()->Add()->SetItem(two);
        auto* second = new TRowBar(manager, other->ItemLinks(), true);
        second->SetWindowPos(TRect::Bounds(left, top + 100, 200, 30));
        second->Show();
        return {first, second};
    }
    // Shows the bar docked in a dock of its own width on the form; its window.
    TdxBarControl* Dock(int width)
    {
        dock = Create<TdxBarDockControl>(form.get());
        dock->SetParent(form.get());
        dock->SetAlign(alNone);  // its own width, not the form's
        dock->SetBounds(0, 0, width, 0);
        dock->SetBarManager(manager);
        bar->SetDockControl(dock);
        bar->SetVisible(true);
        return qobject_cast<TdxBarControl*>(bar->ItemLinks()->BarControl());
    }

    std::unique_ptr<TdxBarWindowsLibrary> library;
    std::unique_ptr<TForm> form;
    TdxBarManager* manager = nullptr;
    TdxBar* bar = nullptr;
    TdxBarDockControl* dock = nullptr;
    QPointer<TRowBar> window;
    TClickRecorder recorder;
    QStringList& clicks = recorder.clicks;
    QStringList errors;
};
