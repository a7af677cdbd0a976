#include "dxBarAllCommandsPage.h"

#include "ComCtrls.h"
#include "ListBoxes.h"
#include "Painting.h"
#include "StdCtrls.h"
#include "TextMetrics.h"
#include "dxBarCustomizingForm.h"
#include "dxBarDesigner.h"
#include "dxBarItem.h"
#include "dxBarManager.h"

#include <QListWidget>
#include <QPainter>
#include <QPointer>

namespace {

// The list's lines stay drawn as they are while it fills.
class TRedrawLock {
public:
    explicit TRedrawLock(QWidget* widget) : widget_(widget)
    {
        if (widget_) widget_->setUpdatesEnabled(false);
    }
    ~TRedrawLock()
    {
        if (widget_) widget_->setUpdatesEnabled(true);
    }
    TRedrawLock(const TRedrawLock&) = delete;
    TRedrawLock& operator=(const TRedrawLock&) = delete;

private:
    QPointer<QWidget> widget_;
};

}  // namespace

TdxBarAllCommandsPage::TdxBarAllCommandsPage(TdxBarCustomizingForm& form) : TdxBarCustomizingPage(form) {}

TTabSheet* TdxBarAllCommandsPage::Sheet() const
{
    return Form().TabSheet4;
}

TListBox* TdxBarAllCommandsPage::List() const
{
    return Form().LAllCommands;
}

TdxBarItem* TdxBarAllCommandsPage::Item(int line) const
{
    return items_.value(line);
}

void TdxBarAllCommandsPage::Build()
{
    TdxBarManager* manager = Manager();
    if (!manager || !manager->IsDesigning()) {
        Sheet()->SetTabVisible(false);
        return;
    }
    TListBox* list = List();
    list->SetItemHeight(TextExtent(list->Font()->ToQFont(), QStringLiteral("Qq")).height() + 2);
    list->SetOnDrawItem(TDrawItemEvent(this, &TdxBarAllCommandsPage::DrawLine));
    list->SetOnClick(TNotifyEvent(this, &TdxBarAllCommandsPage::ListClick));
    Form().CBShowCommandsWithShortCut->SetOnClick(TNotifyEvent(this, &TdxBarAllCommandsPage::ShowWithShortCutClick));
    Fill();
}

void TdxBarAllCommandsPage::Refresh()
{
    if (Manager() && Manager()->IsDesigning()) Fill();
}

void TdxBarAllCommandsPage::ItemsChanged()
{
    if (!Manager() || !Manager()->IsDesigning()) return;
    Measure();
    if (QListWidget* widget = List()->ListWidget()) widget->viewport()->update();
}

void TdxBarAllCommandsPage::ItemDestroyed(TdxBarItem*)
{
    Refresh();
}

void TdxBarAllCommandsPage::ItemRenamed(TdxBarItem*)
{
    Refresh();
}

void TdxBarAllCommandsPage::Measure()
{
    const QFont font = List()->Font()->ToQFont();
    columns_ = dxBarMeasureAllCommands(items_, [&font](const QString& text) { return TextExtent(font, text).width(); });
    List()->SetScrollWidth(columns_.Extent());
}

void TdxBarAllCommandsPage::Fill()
{
    TdxBarManager* manager = Manager();
    TListBox* list = List();
    if (!manager) return;
    const int top = list->TopIndex(), selected = list->ItemIndex();
    TRedrawLock lock(list->ListWidget());
    items_ = dxBarAllCommands(manager, Form().CBShowCommandsWithShortCut->Checked());
    list->Items()->BeginUpdate();
    list->Items()->Clear();
    for (TdxBarItem* item : items_) list->Items()->Add(item->Name());
    list->Items()->EndUpdate();
    Measure();
    list->SetTopIndex(top);
    list->SetItemIndex(std::min(selected, list->Items()->Count() - 1));
}

void TdxBarAllCommandsPage::DrawLine(TWinControl*, int index, QRect rect, TOwnerDrawState state)
{
    QPainter* p = List()->Canvas();
    const TdxBarItem* item = Item(index);
    if (!p || !item) return;
    const bool selected = state & odSelected;
    p->fillRect(rect, SysColor(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    p->setPen(SysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    const int left = rect.left();
    auto text = [&](int x, int width, const QString& s) {
        TRect r(left + x, rect.top(), left + x + width, rect.bottom() + 1);
        DrawText(*p, s, r, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    };
    text(columns_.NameX(), columns_.Name, item->Name());
    text(columns_.CaptionX(), columns_.Caption, dxBarAllCommandsCaption(item));
    text(columns_.ShortCutX(), columns_.ShortCut, dxBarAllCommandsShortCut(item));
    const QColor line = SysColor(COLOR_WINDOWTEXT);
    for (int x : {columns_.Separator1(), columns_.Separator2()})
        ::DrawLine(*p, TPoint(left + x, rect.top()), TPoint(left + x, rect.bottom() + 1), line);
    // The separators run on below the last line.
    if (index == List()->Items()->Count() - 1)
        if (QListWidget* widget = List()->ListWidget()) {
            const int bottom = widget->viewport()->height();
            if (bottom > rect.bottom() + 1) {
                p->setClipping(false);
                p->fillRect(QRect(rect.left(), rect.bottom() + 1, rect.width(), bottom - rect.bottom() - 1),
                            SysColor(COLOR_WINDOW));
                for (int x : {columns_.Separator1(), columns_.Separator2()})
                    ::DrawLine(*p, TPoint(left + x, rect.bottom() + 1), TPoint(left + x, bottom), line);
            }
        }
}

void TdxBarAllCommandsPage::ListClick(TObject*)
{
    if (TdxBarItem* item = Item(List()->ItemIndex())) dxBarDesigner().SelectComponent(item);
}

void TdxBarAllCommandsPage::ShowWithShortCutClick(TObject*)
{
    Fill();
}
