#include "dxBarChooserForm.h"

#include "StdCtrls.h"
#include "SysParams.h"
#include "TextMetrics.h"
#include "dxBarItem.h"
#include "dxBarManager.h"

TdxBarChooserMetrics dxBarChooserMetrics(int zeroWidth, int zeroHeight)
{
    const int h = MulDiv(zeroHeight, 5, 3);
    return {12 * zeroWidth, h, h / 4};
}

TdxBarChooserForm::TdxBarChooserForm(TComponent* owner) : TForm(owner) {}

void TdxBarChooserForm::Prepare(TdxBarItem* item, const QString& caption)
{
    SetBorderStyle(bsDialog);
    SetPosition(poScreenCenter);
    SetCaption(caption);
    TdxBarManager* manager = item ? item->BarManager() : nullptr;
    if (manager && manager->Font()) Font()->Assign(manager->Font());
    zero_ = TextExtent(Font()->ToQFont(), QStringLiteral("0"));
}

TButton* TdxBarChooserForm::AddButton(const QString& caption, int modalResult, bool isDefault, bool isCancel)
{
    auto* button = Create<TButton>(this);
    button->SetParent(this);
    button->SetCaption(caption);
    button->SetModalResult(modalResult);
    button->SetDefault(isDefault);
    button->SetCancel(isCancel);
    return button;
}

void TdxBarChooserForm::SetClientSize(int width, int height)
{
    SetClientWidth(width);
    SetClientHeight(height);
}
