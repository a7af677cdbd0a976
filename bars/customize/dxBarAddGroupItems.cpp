#include "dxBarAddGroupItems.h"

#include "Painting.h"
#include "TextMetrics.h"
#include "dxBarItem.h"
#include "dxBarStrs.h"

#include <QListWidget>
#include <QPainter>
#include <memory>

TfrmAddGroupItems::TfrmAddGroupItems(TComponent* owner) : TForm(owner) {}

void TfrmAddGroupItems::Prepare(TdxBarManager* manager, TdxBarGroup* group)
{
    BOK->SetCaption(dxBarStr(dxSBAR_OK));
    BCancel->SetCaption(dxBarStr(dxSBAR_CANCEL));
    lbGroupItems->SetItemHeight(TextExtent(lbGroupItems->Font()->ToQFont(), QStringLiteral("Qq")).height() + 2);
    lbGroupItems->SetOnDrawItem(TDrawItemEvent(this, &TfrmAddGroupItems::DrawLine));
    lines_ = dxBarGroupItemsLines(manager, group);
    lbGroupItems->Items()->BeginUpdate();
    for (const TdxBarGroupItemsLine& line : lines_) lbGroupItems->Items()->Add(line.Text);
    lbGroupItems->Items()->EndUpdate();
    // Below the last line the list shows the face colour.
    if (QListWidget* widget = lbGroupItems->ListWidget()) {
        QPalette palette = widget->viewport()->palette();
        palette.setColor(QPalette::Base, SysColor(COLOR_BTNFACE));
        widget->viewport()->setPalette(palette);
    }
    SetActiveControl(lbGroupItems);
}

QList<TComponent*> TfrmAddGroupItems::Chosen() const
{
    QList<TComponent*> chosen;
    for (int i = 0; i < lines_.size(); ++i)
        if (!lines_[i].IsHeader() && lbGroupItems->Selected(i) && lines_[i].Component) chosen << lines_[i].Component;
    return chosen;
}

void TfrmAddGroupItems::DrawLine(TWinControl*, int index, QRect rect, TOwnerDrawState state)
{
    QPainter* p = lbGroupItems->Canvas();
    if (!p || index < 0 || index >= lines_.size()) return;
    const TdxBarGroupItemsLine& line = lines_[index];
    const TRect r = TRect::FromQRect(rect);
    if (line.IsHeader()) {
        p->fillRect(rect, SysColor(COLOR_BTNFACE));
        p->setPen(SysColor(COLOR_BTNTEXT));
        TRect text = r;
        text.Left += 2;
        DrawText(*p, line.Text.mid(1), text, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
        return;
    }
    const bool selected = state & odSelected;
    p->fillRect(rect, SysColor(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    p->setPen(line.Member ? SysColor(COLOR_BTNFACE) : SysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    const QString indent = QStringLiteral("   ");
    auto* item = qobject_cast<TdxBarItem*>(line.Component);
    if (!item) {
        TRect text = r;
        DrawText(*p, indent + line.Text, text, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
        return;
    }
    const int middle = r.Left + r.Width() / 2;
    TRect name(r.Left, r.Top, middle, r.Bottom), caption(middle + 1, r.Top, r.Right, r.Bottom);
    DrawText(*p, indent + line.Text, name, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    DrawText(*p, indent + StripMnemonic(item->Caption()), caption, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    ::DrawLine(*p, TPoint(middle, r.Top), TPoint(middle, r.Bottom), SysColor(COLOR_BTNFACE));
}

bool dxBarShowAddGroupItems(TdxBarManager* manager, TdxBarGroup* group, QList<TComponent*>& chosen, const TFont* font,
                            QWidget* owner)
{
    const std::unique_ptr<TfrmAddGroupItems> dialog(Create<TfrmAddGroupItems>(nullptr));
    if (font) dialog->Font()->Assign(const_cast<TFont*>(font));
    dialog->SetOwnerWindow(owner);
    dialog->Prepare(manager, group);
    if (dialog->ShowModal() != mrOk) return false;
    chosen << dialog->Chosen();
    return true;
}
