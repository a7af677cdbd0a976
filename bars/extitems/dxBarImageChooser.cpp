#include "dxBarImageChooser.h"

#include "InPlaceGeometry.h"
#include "ListBoxes.h"
#include "StdCtrls.h"
#include "SysParams.h"
#include "TextMetrics.h"
#include "dxBarImageCombo.h"
#include "dxBarItemLink.h"
#include "dxBarManager.h"
#include "dxBarStrs.h"

#include <QListWidget>
#include <QPainter>
#include <algorithm>
#include <memory>
#include <vector>

TdxBarImageChooser::TdxBarImageChooser(TComponent* owner) : TdxBarChooserForm(owner) {}

void TdxBarImageChooser::Prepare(TdxBarImageCombo* combo)
{
    combo_ = combo;
    TdxBarChooserForm::Prepare(combo, dxBarStr(dxSBAR_IMAGEDIALOGCAPTION));
    const auto [w, h, g] = Metrics();

    List = Create<TListBox>(this);
    List->SetParent(this);
    List->SetStyle(lbOwnerDrawVariable);
    List->Items()->Assign(combo->Items());
    List->SetOnMeasureItem(TMeasureItemEvent(this, &TdxBarImageChooser::ListMeasureItem));
    List->SetOnDrawItem(TDrawItemEvent(this, &TdxBarImageChooser::ListDrawItem));
    List->SetOnDblClick(TNotifyEvent(this, &TdxBarImageChooser::ListDblClick));

    // The list's client area: as many rows as the drop-down shows, each as high as the first
    // entry (the height of "Qq" when there is none), and as wide as the drop-down's entries.
    const QFont font = List->Font()->ToQFont();
    const int count = combo->Items()->Count();
    int rowHeight = TextExtent(font, QStringLiteral("Qq")).height();
    if (count > 0) combo->MeasureItem(0, font, rowHeight);
    const int rows = std::clamp(combo->DropDownCount(), 0, count);
    std::vector<int> widths, heights;
    for (int i = 0; i < count; ++i) {
        int width = 0, height = 0;
        combo->MeasureItemWidth(i, font, width);
        combo->MeasureItem(i, font, height);
        widths.push_back(width);
        heights.push_back(height);
    }
    TdxBarItemLink* link = combo->FindLiveLink();
    const int linkWidth = link ? link->ItemRect().width() : combo->Width();
    const bool flat = combo->BarManager() && combo->BarManager()->IsFlat();
    const int listWidth = inplace::ListBoxSize(combo->DropDownWidth(), linkWidth, inplace::DropDownButtonWidth(flat),
                                               GetSystemMetrics(SM_CXVSCROLL), combo->DropDownCount(), widths, heights)
                              .Width;
    const int frame = List->ListWidget() ? List->ListWidget()->frameWidth() : 2;
    const int listHeight = std::max(rowHeight * rows + 2 * frame, g + 2 * h);
    List->SetBounds(g, g, listWidth - 4 + 2 * frame, listHeight);

    BOK = AddButton(dxBarStr(dxSBAR_DIALOGOK), mrOk, true);
    BCancel = AddButton(dxBarStr(dxSBAR_DIALOGCANCEL), mrCancel, false, true);
    SetClientSize(List->Width() + w + 3 * g, List->Height() + 2 * g);
    BOK->SetBounds(ClientWidth() - g - w, g, w, h);
    BCancel->SetBounds(ClientWidth() - g - w, g + h + g, w, h);

    List->SetItemIndex(combo->ItemIndex());
    SetActiveControl(List);
}

void TdxBarImageChooser::ListDrawItem(TWinControl* /*sender*/, int index, QRect rect, unsigned state)
{
    if (combo_ && List->Canvas())
        combo_->DrawItem(*List->Canvas(), List->Font()->ToQFont(), index, TRect::FromQRect(rect), state);
}

void TdxBarImageChooser::ListMeasureItem(TWinControl* /*sender*/, int index, int& height)
{
    if (combo_) combo_->MeasureItem(index, List->Font()->ToQFont(), height);
}

void TdxBarImageChooser::ListDblClick(TObject* /*sender*/)
{
    if (List->ItemIndex() >= 0) SetModalResult(mrOk);
}

bool dxBarChooseImageComboEntry(TdxBarImageCombo* combo, int& index)
{
    const std::unique_ptr<TdxBarImageChooser> dialog(Create<TdxBarImageChooser>(nullptr));
    dialog->Prepare(combo);
    if (dialog->ShowModal() != mrOk) return false;
    index = dialog->List->ItemIndex();
    return true;
}
