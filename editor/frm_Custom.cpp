#include "frm_Custom.h"

#include "Dialogs.h"
#include "SysUtils.h"
#include "ImgList.h"
#include "frmHTML.h"

namespace {
constexpr int kSlots = 5;
}

TfrmCustom::TfrmCustom(TComponent* owner) : TForm(owner) {}

void TfrmCustom::ShowSlot(int slot)
{
    Slot = slot;
    edName->SetText(frmMain->CustomName[slot]);
    mmText->SetText(frmMain->CustomText[slot]);
    SetCaption(QStringLiteral("Editing Custom No.") + QString::number(slot) + QStringLiteral("..."));
    Modified = false;
}

void TfrmCustom::FormCreate(TObject* /*Sender*/)
{
    if (auto* images = qobject_cast<TCustomImageList*>(frmMain->FindComponent(QStringLiteral("ImageList"))))
        CustBarMan->SetImages(images);
    ShowSlot(1);
}

void TfrmCustom::mmTextChange(TObject* /*Sender*/)
{
    Modified = true;
}

void TfrmCustom::StoreSlot()
{
    frmMain->CustomName[Slot] = edName->Text();
    frmMain->CustomText[Slot] = mmText->Text();
    frmMain->CustomItem(Slot)->SetCaption(edName->Text());
    Modified = false;
}

void TfrmCustom::AskSaveSlot()
{
    if (!Modified) return;
    MessageBeep(MB_ICONQUESTION);
    const int answer = MessageDlg(
        QStringLiteral("Do you want to save the changes to custom No.") + QString::number(Slot) + QStringLiteral("?"),
        mtConfirmation, {mbYes, mbNo, mbCancel});
    if (answer == mrYes)
        StoreSlot();
    else if (answer != mrNo)
        Abort();
}

void TfrmCustom::btNextClick(TObject* /*Sender*/)
{
    AskSaveSlot();
    ShowSlot(Slot % kSlots + 1);
}

void TfrmCustom::btPrevClick(TObject* /*Sender*/)
{
    AskSaveSlot();
    ShowSlot((Slot + kSlots - 2) % kSlots + 1);
}

void TfrmCustom::btOKClick(TObject* /*Sender*/)
{
    StoreSlot();
    SetModalResult(mrOk);
}

void TfrmCustom::btCancelClick(TObject* /*Sender*/)
{
    AskSaveSlot();
    SetModalResult(mrCancel);
}
