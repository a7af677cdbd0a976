#include "dxBarToolbarsPage.h"

#include "Application.h"
#include "Desktop.h"
#include "Dialogs.h"
#include "Strings.h"
#include "dxBarBar.h"
#include "dxBarCheckListBox.h"
#include "dxBarCustomizingForm.h"
#include "dxBarCustomizingLayout.h"
#include "dxBarManager.h"
#include "dxBarNameEd.h"
#include "dxBarStrs.h"

TdxBarToolbarsPage::TdxBarToolbarsPage(TdxBarCustomizingForm& form) : TdxBarCustomizingPage(form) {}

TTabSheet* TdxBarToolbarsPage::Sheet() const
{
    return Form().TabSheet1;
}

TCheckListBox* TdxBarToolbarsPage::List() const
{
    return Form().BarsListBox;
}

void TdxBarToolbarsPage::Build()
{
    TdxBarCustomizingForm& form = Form();
    TdxBarManager* manager = Manager();
    TCheckListBox* list = List();
    list->SetBarManager(manager);
    list->SetOnClick(TNotifyEvent(this, &TdxBarToolbarsPage::ListClick));
    form.LabelToobars->SetFocusControl(list);
    form.LabelToobars->SetCaption(dxBarStr(dxSBAR_TOOLBARS));
    form.BBarNew->SetCaption(dxBarStr(dxSBAR_TNEW));
    form.BBarRename->SetCaption(dxBarStr(dxSBAR_TRENAME));
    form.BBarDelete->SetCaption(dxBarStr(dxSBAR_TDELETE));
    form.BBarReset->SetCaption(dxBarStr(dxSBAR_TRESET));
    form.BBarNew->SetOnClick(TNotifyEvent(this, &TdxBarToolbarsPage::BBarNewClick));
    form.BBarRename->SetOnClick(TNotifyEvent(this, &TdxBarToolbarsPage::BBarRenameClick));
    form.BBarDelete->SetOnClick(TNotifyEvent(this, &TdxBarToolbarsPage::BBarDeleteClick));
    form.BBarReset->SetOnClick(TNotifyEvent(this, &TdxBarToolbarsPage::BBarResetClick));
    if (!manager) return;
    form.BBarReset->SetVisible(!manager->IsDesigning() && manager->AllowReset());

    int selected = -1;
    TStrings* lines = list->Items();
    lines->BeginUpdate();
    TdxBars* bars = manager->Bars();
    for (int i = 0; bars && i < bars->Count(); ++i) {
        TdxBar* bar = bars->Items(i);
        if (bar->Hidden() && !manager->IsDesigning()) continue;
        const int line = lines->AddObject(bar->Caption(), bar);
        if (selected < 0 && bar->Visible()) selected = line;
    }
    lines->EndUpdate();
    list->SetItemIndex(selected);
    UpdateButtons();
}

TdxBar* TdxBarToolbarsPage::SelectedBar() const
{
    return List()->Items()->Count() > 0 ? List()->Bar(List()->ItemIndex()) : nullptr;
}

void TdxBarToolbarsPage::UpdateButtons()
{
    TdxBarCustomizingForm& form = Form();
    TdxBarManager* manager = Manager();
    TdxBar* bar = SelectedBar();
    const bool designing = manager && manager->IsDesigning();
    const bool rename = bar && (designing || !bar->LoadedWithForm());
    form.BBarRename->SetEnabled(rename);
    form.BBarDelete->SetEnabled(rename && (designing || TCheckListBox::CanClose(bar)));
    form.BBarReset->SetEnabled(bar && bar->LoadedWithForm() && bar->AllowReset());
}

void TdxBarToolbarsPage::ListClick(TObject*)
{
    UpdateButtons();
}

void TdxBarToolbarsPage::BarChanged(TdxBar* bar)
{
    TCheckListBox* list = List();
    const int index = list->IndexOfBar(bar);
    if (index < 0) return;
    if (list->Items()->Strings(index) != bar->Caption()) list->Items()->Put(index, bar->Caption());
    UpdateButtons();
    list->RepaintCheck(index);
}

void TdxBarToolbarsPage::BBarNewClick(TObject*)
{
    TdxBarCustomizingForm& form = Form();
    TdxBarManager* manager = Manager();
    if (!manager || !manager->Bars()) return;
    QString name = manager->NewToolbarCaption();
    if (!dxBarShowNameEditor(name, TdxBarNameKind::Toolbar, TdxBarNameMode::New, nullptr, manager, form.Font(),
                             form.Handle()))
        return;
    TdxBar* bar = manager->Bars()->Add();
    bar->SetCaption(name);
    const TRect window = TRect::FromQRect(form.BoundsRect());
    const TRect area = NearestWorkArea(GetMonitors(), TRect::Bounds(window.Left, window.Top, 1, 1));
    const TPoint place = dxBarNewToolbarPlace(window, area);
    bar->SetFloatLeft(place.x());
    bar->SetFloatTop(place.y());
    bar->SetVisible(true);
    TCheckListBox* list = List();
    list->SetItemIndex(list->Items()->AddObject(bar->Caption(), bar));
    UpdateButtons();
}

void TdxBarToolbarsPage::BBarRenameClick(TObject*)
{
    TdxBarCustomizingForm& form = Form();
    TCheckListBox* list = List();
    const int index = list->ItemIndex();
    TdxBar* bar = list->Bar(index);
    if (!bar) return;
    QString name = bar->Caption();
    if (!dxBarShowNameEditor(name, TdxBarNameKind::Toolbar, TdxBarNameMode::Rename, bar, Manager(), form.Font(),
                             form.Handle()))
        return;
    list->Items()->Put(index, name);
    bar->SetCaption(name);
    list->SetItemIndex(index);
}

void TdxBarToolbarsPage::BBarDeleteClick(TObject*)
{
    TCheckListBox* list = List();
    const int index = list->ItemIndex();
    TdxBar* bar = list->Bar(index);
    if (!bar) return;
    const QString title = Application ? Application->Title() : QString();
    if (MessageBox(dxBarFormat(dxBarStr(dxSBAR_CONFIRMDELETETOOLBAR), list->Items()->Strings(index)), title,
                   MB_OKCANCEL | MB_ICONEXCLAMATION) != IDOK)
        return;
    // The bar may have gone while the question was open.
    bar = list->Bar(index);
    list->Items()->Delete(index);
    const int count = list->Items()->Count();
    list->SetItemIndex(count > 0 ? std::min(index, count - 1) : -1);
    UpdateButtons();
    delete bar;
}

void TdxBarToolbarsPage::BBarResetClick(TObject*)
{
    if (TdxBar* bar = SelectedBar()) bar->ResetWithConfirmation();
}
