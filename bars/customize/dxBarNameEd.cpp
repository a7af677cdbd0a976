#include "dxBarNameEd.h"

#include "Application.h"
#include "Dialogs.h"
#include "dxBarBar.h"
#include "dxBarManager.h"
#include "dxBarStrs.h"

#include <algorithm>
#include <memory>

TdxBarNameEd::TdxBarNameEd(TComponent* owner) : TForm(owner) {}

void TdxBarNameEd::Prepare(const QString& name, TdxBarNameKind kind, TdxBarNameMode mode, TdxBar* bar,
                           TdxBarManager* manager)
{
    kind_ = kind;
    bar_ = bar;
    manager_ = manager;
    if (kind == TdxBarNameKind::Toolbar) {
        SetCaption(dxBarStr(mode == TdxBarNameMode::New ? dxSBAR_CUSTOMTOOLBARNAME : dxSBAR_RENAMETOOLBAR));
        LName->SetCaption(dxBarStr(dxSBAR_TOOLBARNAME));
    } else {
        const int captions[] = {dxSBAR_ADDCATEGORY, dxSBAR_INSERTCATEGORY, dxSBAR_RENAMECATEGORY};
        SetCaption(dxBarStr(captions[std::clamp(int(mode), 0, 2)]));
        LName->SetCaption(dxBarStr(dxSBAR_CATEGORYNAME));
    }
    BOK->SetCaption(dxBarStr(dxSBAR_OK));
    BCancel->SetCaption(dxBarStr(dxSBAR_CANCEL));
    EName->SetOnChange(TNotifyEvent(this, &TdxBarNameEd::ENameChange));
    EName->SetText(name);
    ENameChange(EName);
    SetActiveControl(EName);
}

void TdxBarNameEd::ENameChange(TObject*)
{
    BOK->SetEnabled(!EName->Text().isEmpty());
}

bool TdxBarNameEd::CloseQuery()
{
    if (!TForm::CloseQuery()) return false;
    if (ModalResult() != mrOk) return true;
    const QString name = EName->Text();
    // OK is disabled without a name; a scripted or programmatic OK is refused the same way.
    if (name.isEmpty()) return false;
    if (kind_ != TdxBarNameKind::Toolbar || !manager_) return true;
    TdxBar* other = manager_->BarByCaption(name);
    if (!other || other == bar_) return true;
    MessageBox(dxBarFormat(dxBarStr(dxSBAR_TOOLBARNAMEEXISTS), name), Application ? Application->Title() : QString(),
               MB_ICONERROR);
    return false;
}

bool dxBarShowNameEditor(QString& name, TdxBarNameKind kind, TdxBarNameMode mode, TdxBar* bar, TdxBarManager* manager,
                         const TFont* font, QWidget* owner)
{
    const std::unique_ptr<TdxBarNameEd> dialog(Create<TdxBarNameEd>(nullptr));
    if (font) dialog->Font()->Assign(const_cast<TFont*>(font));
    dialog->SetOwnerWindow(owner);
    dialog->Prepare(name, kind, mode, bar, manager);
    if (dialog->ShowModal() != mrOk) return false;
    name = dialog->EName->Text();
    return true;
}
