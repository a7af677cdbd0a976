#include "dxBarCheckListBox.h"

#include "Dialogs.h"
#include "Painting.h"
#include "dxBarBar.h"
#include "dxBarCustomizingLayout.h"
#include "dxBarManager.h"

#include <QFontMetrics>
#include <QListWidget>
#include <QPainter>

TCheckListBox::TCheckListBox(TComponent* owner) : TListBox(owner)
{
    SetStyle(lbOwnerDrawFixed);
    ApplyFont();
}

TdxBar* TCheckListBox::Bar(int index) const
{
    if (index < 0 || index >= Items()->Count() || !manager_ || !manager_->Bars()) return nullptr;
    auto* bar = static_cast<TdxBar*>(Items()->Objects(index));
    TdxBars* bars = manager_->Bars();
    for (int i = 0; i < bars->Count(); ++i)
        if (bars->Items(i) == bar) return bar;
    return nullptr;
}

int TCheckListBox::IndexOfBar(const TdxBar* bar) const
{
    for (int i = 0; bar && i < Items()->Count(); ++i)
        if (Items()->Objects(i) == bar) return i;
    return -1;
}

bool TCheckListBox::CanClose(const TdxBar* bar)
{
    return bar && bar->ShowsCloseButton();
}

void TCheckListBox::Toggle(int index)
{
    TdxBar* bar = Bar(index);
    if (!bar) return;
    if (!CanClose(bar)) {
        MessageBeep(0);
        return;
    }
    bar->SetVisible(!bar->Visible());
    RepaintCheck(index);
}

void TCheckListBox::RepaintCheck(int index)
{
    const QRect line = ItemRect(index);
    if (line.isEmpty() || !ListWidget()) return;
    ListWidget()->viewport()->repaint(QRect(line.left(), line.top(), CheckWidth(), line.height()));
}

void TCheckListBox::DrawItem(int index, const QRect& rect, TOwnerDrawState state)
{
    const int width = rect.height();
    TListBox::DrawItem(index, rect.adjusted(width, 0, 0, 0), state);
    QPainter& p = *Canvas();
    p.fillRect(QRect(rect.left(), rect.top(), width, rect.height()), ColorToQColor(Color()));
    const TdxBar* bar = Bar(index);
    unsigned check = DFCS_BUTTONCHECK;
    if (bar && bar->Visible()) check |= DFCS_CHECKED;
    if (!CanClose(bar)) check |= DFCS_INACTIVE;
    DrawFrameControl(p, dxBarCheckBoxRect(TRect::FromQRect(rect), width), DFC_BUTTON, check);
}

void TCheckListBox::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    const int index = ItemAtPos(QPoint(x, y), true);
    if (shift & ssDouble) {
        doubleOnLine_ = index >= 0;
    } else if (button == mbLeft && index >= 0 && dxBarInCheckColumn(x, ItemRect(index).left(), CheckWidth())) {
        Toggle(index);
    }
    TListBox::MouseDown(button, shift, x, y);
}

bool TCheckListBox::DoubleClickIsPress(int x, int y) const
{
    const int index = ItemAtPos(QPoint(x, y), true);
    return index >= 0 && dxBarInCheckColumn(x, ItemRect(index).left(), CheckWidth());
}

void TCheckListBox::DblClick()
{
    if (doubleOnLine_) Toggle(ItemIndex());
    doubleOnLine_ = false;
    TListBox::DblClick();
}

void TCheckListBox::KeyPress(QChar& key)
{
    TListBox::KeyPress(key);
    if (key == QLatin1Char(' ')) Toggle(ItemIndex());
}

void TCheckListBox::ApplyFont()
{
    TListBox::ApplyFont();
    // A line is as high as a line of text and 2 pixels more.
    SetItemHeight(QFontMetrics(Font()->ToQFont()).height() + 2);
}
