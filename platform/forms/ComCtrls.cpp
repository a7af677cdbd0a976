#include "ComCtrls.h"

#include "ExceptionBarrier.h"
#include "Scope.h"

#include <QEvent>
#include <QStyle>
#include <QStyleOptionTabWidgetFrame>
#include <QTabBar>
#include <QTabWidget>
#include <algorithm>

// The tab widget, telling where its pages go before it has laid itself out (it does that
// only while shown).
class TPageWidget : public QTabWidget {
public:
    QRect PageArea() const
    {
        QStyleOptionTabWidgetFrame option;
        initStyleOption(&option);
        return style()->subElementRect(QStyle::SE_TabWidgetTabContents, &option, this);
    }
};

// ---- TTabSheet ----

TTabSheet::TTabSheet(TComponent* owner) : TWinControl(owner) {}

TTabSheet::~TTabSheet()
{
    Destroying();
    if (pageControl_) pageControl_->RemovePage(this);
}

void TTabSheet::SetPageControl(TPageControl* pageControl)
{
    SetParent(pageControl);
}

void TTabSheet::SetParent(TWinControl* parent)
{
    auto* pageControl = qobject_cast<TPageControl*>(parent);
    if (pageControl_ && pageControl_ != pageControl) {
        pageControl_->RemovePage(this);
        pageControl_ = nullptr;
    }
    TWinControl::SetParent(parent);
    if (pageControl && pageControl_ != pageControl) {
        pageControl_ = pageControl;
        pageControl->InsertPage(this);
    }
}

void TTabSheet::SetVisible(bool value)
{
    SetVisibleFlag(value);
}

int TTabSheet::PageIndex() const
{
    return pageControl_ ? int(pageControl_->pages_.indexOf(this)) : -1;
}

void TTabSheet::SetPageIndex(int value)
{
    if (pageControl_) pageControl_->MovePage(this, value);
}

void TTabSheet::SetCaption(const QString& value)
{
    caption_ = value;
    if (pageControl_) pageControl_->UpdateTab(this);
}

void TTabSheet::SetTabVisible(bool value)
{
    tabVisible_ = value;
    if (pageControl_) pageControl_->UpdateTab(this);
}

bool TTabSheet::WidgetEvent(QEvent* event)
{
    const QEvent::Type type = event->type();
    QWidget* w = Handle();
    if (w && pageControl_ && (type == QEvent::Resize || type == QEvent::Move) && w->geometry() != BoundsRect()) {
        const QRect placed = w->geometry();
        SetBounds(placed.x(), placed.y(), placed.width(), placed.height());
    }
    return TWinControl::WidgetEvent(event);
}

// ---- TPageControl ----

TPageControl::TPageControl(TComponent* owner) : TWinControl(owner, new TPageWidget)
{
    SetBounds(0, 0, 289, 193);
    SetTabStop(true);
    connect(TabWidget(), &QTabWidget::currentChanged, this,
            Guarded(
                [this] {
                    if (!changing_) Change();
                },
                this));
}

TPageControl::~TPageControl()
{
    Destroying();
    changing_ = true;
    if (TabWidget()) TabWidget()->disconnect(this);
    for (TTabSheet* page : pages_) page->pageControl_ = nullptr;
    pages_.clear();
}

QTabWidget* TPageControl::TabWidget() const
{
    return static_cast<QTabWidget*>(Handle());
}

TPageWidget* TPageControl::Widget() const
{
    return static_cast<TPageWidget*>(Handle());
}

void TPageControl::InsertPage(TTabSheet* page)
{
    if (pages_.contains(page) || !Widget() || !page->Handle()) return;
    TRestore changing(changing_, true);
    pages_.append(page);
    const int index = int(pages_.size()) - 1;
    Widget()->insertTab(index, page->Handle(), page->Caption());
    Widget()->setTabVisible(index, page->TabVisible());
    LayoutPages();
}

void TPageControl::RemovePage(TTabSheet* page)
{
    const int index = int(pages_.indexOf(page));
    if (index < 0) return;
    TRestore changing(changing_, true);
    pages_.removeAt(index);
    if (Widget()) Widget()->removeTab(index);
}

void TPageControl::MovePage(TTabSheet* page, int index)
{
    const int from = int(pages_.indexOf(page));
    if (from < 0 || !Widget()) return;
    const int to = std::clamp(index, 0, int(pages_.size()) - 1);
    if (to == from) return;
    TRestore changing(changing_, true);
    pages_.move(from, to);
    Widget()->tabBar()->moveTab(from, to);
}

void TPageControl::UpdateTab(TTabSheet* page)
{
    const int index = int(pages_.indexOf(page));
    if (index < 0 || !Widget()) return;
    TRestore changing(changing_, true);
    Widget()->setTabText(index, page->Caption());
    Widget()->setTabVisible(index, page->TabVisible());
    LayoutPages();
}

TTabSheet* TPageControl::ActivePage() const
{
    return Widget() ? pages_.value(Widget()->currentIndex()) : nullptr;
}

void TPageControl::SetActivePage(TTabSheet* page)
{
    const int index = int(pages_.indexOf(page));
    if (index < 0 || !Widget()) return;
    TRestore changing(changing_, true);
    Widget()->setCurrentIndex(index);
}

int TPageControl::ActivePageIndex() const
{
    return int(pages_.indexOf(ActivePage()));
}

void TPageControl::SetActivePageIndex(int value)
{
    SetActivePage(Pages(value));
}

QRect TPageControl::PageRect() const
{
    return Widget() ? Widget()->PageArea() : QRect();
}

void TPageControl::LayoutPages()
{
    const QRect area = PageRect();
    for (TTabSheet* page : pages_) page->SetBounds(0, 0, area.width(), area.height());
}

void TPageControl::Resized()
{
    LayoutPages();
    TWinControl::Resized();
}

void TPageControl::ApplyFont()
{
    TWinControl::ApplyFont();
    LayoutPages();  // the tabs' height follows the font
}

void TPageControl::Loaded()
{
    TWinControl::Loaded();
    LayoutPages();
}

void TPageControl::Change()
{
    if (onChange_ && !IsDestroying()) onChange_(this);
}

void TPageControl::GetChildren(const TGetChildProc& proc, TComponent* root)
{
    for (TTabSheet* page : pages_)
        if (page->Owner() == root) proc(page);
    for (int i = 0; i < ControlCount(); ++i) {
        TControl* c = Controls(i);
        if (!pages_.contains(qobject_cast<TTabSheet*>(c)) && c->Owner() == root) proc(c);
    }
}
