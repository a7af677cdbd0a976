#include "dxBarOptionsPage.h"

#include "Painting.h"
#include "Scope.h"
#include "Strings.h"
#include "TextMetrics.h"
#include "dxBarCustomizingForm.h"
#include "dxBarManager.h"
#include "dxBarStrs.h"

#include <algorithm>
#include <initializer_list>

TdxBarComboPlace dxBarMenuAnimationsComboPlace(int labelRight, int comboLeft, int widestItemWidth)
{
    return {std::max(comboLeft, labelRight + 10), widestItemWidth + 54};
}

TdxBarOptionsPage::TdxBarOptionsPage(TdxBarCustomizingForm& form) : TdxBarCustomizingPage(form) {}

TTabSheet* TdxBarOptionsPage::Sheet() const
{
    return Form().TabSheet3;
}

void TdxBarOptionsPage::Build()
{
    TdxBarCustomizingForm& f = Form();
    // Both panels get their texts: a change of style later shows the other one.
    f.Label3->SetCaption(dxBarStr(dxSBAR_PERSONALIZEDMENUS));
    f.CBMenusShowRecentItemsFirst->SetCaption(dxBarStr(dxSBAR_RECENTLYUSEDFIRST));
    f.CBShowFullMenusAfterDelay->SetCaption(dxBarStr(dxSBAR_SHOWFULLMENUSAFTERDELAY));
    f.BResetUsageData->SetCaption(dxBarStr(dxSBAR_RESETUSAGEDATA));
    const QFont font = f.Font()->ToQFont();
    f.BResetUsageData->SetWidth(
        dxBarResetUsageButtonWidth(TextExtent(font, StripMnemonic(f.BResetUsageData->Caption())).width()));
    f.Label2->SetCaption(dxBarStr(dxSBAR_OTHEROPTIONS));
    // The group captions lie over their lines, which run on from the caption's end.
    f.Label3->BringToFront();
    f.Label2->BringToFront();
    for (TCheckBox* box : {f.CBLargeIcons, f.CBLargeIconsEx}) box->SetCaption(dxBarStr(dxSBAR_LARGEICONS));
    for (TCheckBox* box : {f.CBHint1, f.CBHint1Ex}) box->SetCaption(dxBarStr(dxSBAR_SHOWTOOLTIPS));
    for (TCheckBox* box : {f.CBHint2, f.CBHint2Ex}) box->SetCaption(dxBarStr(dxSBAR_SHOWSHORTCUTSINHINTS));
    BuildMenuAnimations(f.LabelMenuAnimations, f.ComboBoxMenuAnimations);
    BuildMenuAnimations(f.Label1, f.ComboBoxMenuAnimationsEx);

    for (TCheckBox* box : {f.CBLargeIcons, f.CBLargeIconsEx})
        box->SetOnClick(TNotifyEvent(this, &TdxBarOptionsPage::CBLargeIconsClick));
    f.CBHint1->SetOnClick(TNotifyEvent(this, &TdxBarOptionsPage::CBHint1Click));
    f.CBHint1Ex->SetOnClick(TNotifyEvent(this, &TdxBarOptionsPage::CBHint1ExClick));
    for (TCheckBox* box : {f.CBHint2, f.CBHint2Ex})
        box->SetOnClick(TNotifyEvent(this, &TdxBarOptionsPage::CBHint2Click));
    f.CBMenusShowRecentItemsFirst->SetOnClick(TNotifyEvent(this, &TdxBarOptionsPage::CBMenusShowRecentItemsFirstClick));
    f.CBShowFullMenusAfterDelay->SetOnClick(TNotifyEvent(this, &TdxBarOptionsPage::CBShowFullMenusAfterDelayClick));
    for (TComboBox* combo : {f.ComboBoxMenuAnimations, f.ComboBoxMenuAnimationsEx})
        combo->SetOnClick(TNotifyEvent(this, &TdxBarOptionsPage::ComboBoxMenuAnimationsClick));
    f.BResetUsageData->SetOnClick(TNotifyEvent(this, &TdxBarOptionsPage::BResetUsageDataClick));
    Reload();
}

void TdxBarOptionsPage::BuildMenuAnimations(TLabel* label, TComboBox* combo)
{
    const QFont font = Form().Font()->ToQFont();
    label->SetCaption(dxBarStr(dxSBAR_MENUANIMATIONS));
    label->SetFocusControl(combo);
    int widest = 0;
    TStrings* items = combo->Items();
    items->BeginUpdate();
    items->Clear();
    for (int id : {dxSBAR_ANIMATIONNONE, dxSBAR_ANIMATIONRANDOM, dxSBAR_ANIMATIONUNFOLD, dxSBAR_ANIMATIONSLIDE}) {
        items->Add(dxBarStr(id));
        widest = std::max(widest, TextExtent(font, dxBarStr(id)).width());
    }
    items->EndUpdate();
    const int labelWidth = TextExtent(font, StripMnemonic(label->Caption())).width();
    const TdxBarComboPlace place = dxBarMenuAnimationsComboPlace(label->Left() + labelWidth, combo->Left(), widest);
    combo->SetBounds(place.Left, combo->Top(), place.Width, combo->Height());
}

void TdxBarOptionsPage::Reload()
{
    TdxBarManager* manager = Manager();
    if (!manager) return;
    TdxBarCustomizingForm& f = Form();
    TRestore reloading(reloading_, true);
    const bool standard = manager->Style() == bmsStandard;
    f.StandardOptionsPanel->SetVisible(standard);
    f.EnhancedOptionsPanel->SetVisible(!standard);

    f.CBMenusShowRecentItemsFirst->SetChecked(manager->MenusShowRecentItemsFirst());
    f.CBShowFullMenusAfterDelay->SetChecked(manager->ShowFullMenusAfterDelay());
    f.CBShowFullMenusAfterDelay->SetEnabled(f.CBMenusShowRecentItemsFirst->Checked());
    for (TCheckBox* box : {f.CBLargeIcons, f.CBLargeIconsEx}) box->SetChecked(manager->LargeIcons());
    for (TCheckBox* box : {f.CBHint1, f.CBHint1Ex}) box->SetChecked(manager->ShowHint());
    for (TCheckBox* box : {f.CBHint2, f.CBHint2Ex}) box->SetChecked(manager->ShowShortCutInHint());
    f.CBHint2Ex->SetEnabled(f.CBHint1Ex->Checked());
    for (TComboBox* combo : {f.ComboBoxMenuAnimations, f.ComboBoxMenuAnimationsEx})
        combo->SetItemIndex(int(manager->MenuAnimations()));
}

bool TdxBarOptionsPage::UserChecked(TObject* sender, bool& checked) const
{
    auto* box = qobject_cast<TCheckBox*>(sender);
    if (reloading_ || !box || !Manager()) return false;
    checked = box->Checked();
    return true;
}

void TdxBarOptionsPage::CBLargeIconsClick(TObject* sender)
{
    if (bool checked; UserChecked(sender, checked)) Manager()->SetLargeIcons(checked);
}

void TdxBarOptionsPage::CBHint1Click(TObject* sender)
{
    if (bool checked; UserChecked(sender, checked)) Manager()->SetShowHint(checked);
}

void TdxBarOptionsPage::CBHint1ExClick(TObject* sender)
{
    if (bool checked; UserChecked(sender, checked)) {
        Form().CBHint2Ex->SetEnabled(checked);
        Manager()->SetShowHint(checked);
    }
}

void TdxBarOptionsPage::CBHint2Click(TObject* sender)
{
    if (bool checked; UserChecked(sender, checked)) Manager()->SetShowShortCutInHint(checked);
}

void TdxBarOptionsPage::CBMenusShowRecentItemsFirstClick(TObject* sender)
{
    if (bool checked; UserChecked(sender, checked)) {
        Form().CBShowFullMenusAfterDelay->SetEnabled(checked);
        Manager()->SetMenusShowRecentItemsFirst(checked);
    }
}

void TdxBarOptionsPage::CBShowFullMenusAfterDelayClick(TObject* sender)
{
    if (bool checked; UserChecked(sender, checked)) Manager()->SetShowFullMenusAfterDelay(checked);
}

void TdxBarOptionsPage::ComboBoxMenuAnimationsClick(TObject* sender)
{
    auto* combo = qobject_cast<TComboBox*>(sender);
    TdxBarManager* manager = Manager();
    if (reloading_ || !combo || !manager) return;
    const int index = combo->ItemIndex();
    if (index >= int(maNone) && index <= int(maSlide)) manager->SetMenuAnimations(TdxBarMenuAnimations(index));
}

void TdxBarOptionsPage::BResetUsageDataClick(TObject*)
{
    if (TdxBarManager* manager = Manager()) manager->ResetUsageData();
}
