#include "dxBarItemAddEditor.h"

#include "Dialogs.h"
#include "SysUtils.h"
#include "dxBarCategories.h"
#include "dxBarDesignRules.h"
#include "dxBarDesigner.h"
#include "dxBarItem.h"
#include "dxBarManager.h"
#include "dxBarStrs.h"

#include <memory>

TdxBarItemAddEditor::TdxBarItemAddEditor(TComponent* owner) : TForm(owner) {}

void TdxBarItemAddEditor::Prepare(TdxBarManager* manager, int category)
{
    manager_ = manager;
    BOK->SetCaption(dxBarStr(dxSBAR_OK));
    BCancel->SetCaption(dxBarStr(dxSBAR_CANCEL));
    classes_ = dxBarPublicItemClasses();
    for (TdxBarItemClass itemClass : classes_) CBType->Items()->Add(QString::fromLatin1(itemClass->className()));
    if (manager) CBCategory->Items()->Assign(manager->Categories());
    const int categories = CBCategory->Items()->Count();
    CBCategory->SetItemIndex(category >= 0 && category < categories ? category : (categories > 0 ? 0 : -1));
    CBType->SetOnChange(TNotifyEvent(this, &TdxBarItemAddEditor::CBTypeChange));
    CBType->SetItemIndex(classes_.isEmpty() ? -1 : 0);
    CBTypeChange(CBType);
    SetActiveControl(EName);
}

void TdxBarItemAddEditor::CBTypeChange(TObject*)
{
    const int index = CBType->ItemIndex();
    if (index < 0 || index >= classes_.size() || !manager_) return;
    EName->SetText(dxBarDesigner().UniqueName(manager_->OwnerForm(), dxBarItemNameBase(classes_[index])));
}

TdxBarItem* TdxBarItemAddEditor::MakeItem()
{
    const int index = CBType->ItemIndex();
    TdxBarManager* manager = manager_;
    if (!manager || index < 0 || index >= classes_.size()) return nullptr;
    std::unique_ptr<TdxBarItem> item;
    try {
        QObject* object = classes_[index]->newInstance(Q_ARG(TComponent*, manager->OwnerForm()));
        item.reset(qobject_cast<TdxBarItem*>(object));
        if (!item) {
            delete object;
            return nullptr;
        }
        item->AfterConstruction();
        if (EName->Text().isEmpty()) throw EComponentError(dxBarStr(dxSBAR_COMMANDNAMEBLANK));
        item->SetName(EName->Text());
        item->SetCategory(CBCategory->ItemIndex());
        item->SetCaption(ECaption->Text());
    } catch (const std::exception& e) {
        item.reset();
        MessageBox(QString::fromUtf8(e.what()), QString(), MB_ICONERROR);
        return nullptr;
    }
    return item.release();
}

bool TdxBarItemAddEditor::CloseQuery()
{
    if (!TForm::CloseQuery()) return false;
    if (ModalResult() != mrOk) return true;
    item_ = MakeItem();
    if (item_) {
        dxBarDesigner().Modified();
        return true;
    }
    CBTypeChange(CBType);
    return false;
}

TdxBarItem* dxBarShowItemAddEditor(TdxBarManager* manager, int category, const TFont* font, QWidget* owner)
{
    if (!manager) return nullptr;
    const std::unique_ptr<TdxBarItemAddEditor> dialog(Create<TdxBarItemAddEditor>(nullptr));
    if (font) dialog->Font()->Assign(const_cast<TFont*>(font));
    dialog->SetOwnerWindow(owner);
    dialog->Prepare(manager, category);
    if (dialog->ShowModal() != mrOk) return nullptr;
    return dialog->Item();
}
