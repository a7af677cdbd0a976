#pragma once
// Page controls over QTabWidget: each page is a TTabSheet, a container control whose widget
// is one of the tab widget's pages. A sheet becomes a page by getting the page control as its
// parent (also when read from a form resource); pages keep the order they came in unless
// PageIndex moves them. Sheets fill the page area the tab widget gives its pages, computed
// from its style as soon as the control is sized, shown or not; their own children are laid
// out by the usual alignment.
//
// The active page is the one shown; setting ActivePage or ActivePageIndex fires nothing,
// while the user choosing a tab fires OnChange. A sheet whose tab is hidden (TabVisible false)
// stays a page; hiding the active page's tab activates the next page with a visible tab.
#include "Controls.h"

#include <QPointer>

class QTabWidget;
class TPageControl;
class TPageWidget;

class TTabSheet : public TWinControl {
    Q_OBJECT
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
    Q_PROPERTY(bool TabVisible READ TabVisible WRITE SetTabVisible)
    Q_PROPERTY(int PageIndex READ PageIndex WRITE SetPageIndex STORED false)
    Q_CLASSINFO("Default.Caption", "''")
    Q_CLASSINFO("Default.TabVisible", "True")
public:
    explicit TTabSheet(TComponent* owner);
    ~TTabSheet() override;

    TPageControl* PageControl() const { return pageControl_; }
    // Makes the sheet a page of pageControl (the last one), or no page (nullptr).
    void SetPageControl(TPageControl* pageControl);
    // -1 when the sheet is no page.
    int PageIndex() const;
    void SetPageIndex(int value);

    QString Caption() const { return caption_; }
    void SetCaption(const QString& value);
    bool TabVisible() const { return tabVisible_; }
    void SetTabVisible(bool value);

    // A page control parent makes the sheet its page.
    void SetParent(TWinControl* parent) override;
    // The page control shows its active page; Visible only records the value.
    void SetVisible(bool value) override;

protected:
    QString DoGetText() const override { return caption_; }
    void DoSetText(const QString& value) override { SetCaption(value); }
    // Follows the tab widget where it places the page itself.
    bool WidgetEvent(QEvent* event) override;

private:
    friend class TPageControl;

    QPointer<TPageControl> pageControl_;
    QString caption_;
    bool tabVisible_ = true;
};

class TPageControl : public TWinControl {
    Q_OBJECT
    Q_PROPERTY(TTabSheet* ActivePage READ ActivePage WRITE SetActivePage)
    Q_PROPERTY(TNotifyEvent OnChange READ OnChange WRITE SetOnChange)
    Q_CLASSINFO("Default.TabStop", "True")
public:
    explicit TPageControl(TComponent* owner);
    ~TPageControl() override;

    int PageCount() const { return int(pages_.size()); }
    TTabSheet* Pages(int index) const { return pages_.value(index); }
    // nullptr only while there are no pages; a sheet of another page control is refused.
    TTabSheet* ActivePage() const;
    void SetActivePage(TTabSheet* page);
    int ActivePageIndex() const;
    void SetActivePageIndex(int value);
    // The rectangle pages fill, in the page control's coordinates.
    QRect PageRect() const;

    TNotifyEvent OnChange() const { return onChange_; }
    void SetOnChange(const TNotifyEvent& e) { onChange_ = e; }

    QTabWidget* TabWidget() const;
    // The pages in page order.
    void GetChildren(const TGetChildProc& proc, TComponent* root) override;
    void Loaded() override;

protected:
    void Resized() override;
    void ApplyFont() override;
    virtual void Change();

private:
    friend class TTabSheet;
    TPageWidget* Widget() const;
    void InsertPage(TTabSheet* page);
    void RemovePage(TTabSheet* page);
    void MovePage(TTabSheet* page, int index);
    void UpdateTab(TTabSheet* page);
    // Sizes every sheet to the page area.
    void LayoutPages();

    QList<TTabSheet*> pages_;
    // Set while this control changes the tab widget: its current-page changes are not the user's.
    bool changing_ = false;
    TNotifyEvent onChange_;
};
