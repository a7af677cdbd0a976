#include "dxBarDateChooser.h"

#include "Scope.h"
#include "StdCtrls.h"
#include "SysParams.h"
#include "dxBarDateCombo.h"
#include "dxBarDateNavigator.h"
#include "dxBarDates.h"
#include "dxBarExtItems.h"
#include "dxBarStrs.h"

#include <memory>

TdxBarDateChooser::TdxBarDateChooser(TComponent* owner) : TdxBarChooserForm(owner) {}

TdxBarDateChooser::~TdxBarDateChooser()
{
    delete calendar_.data();
}

void TdxBarDateChooser::Prepare(TdxBarDateCombo* combo, double date)
{
    TdxBarChooserForm::Prepare(combo, dxBarStr(dxSBAR_DATEDIALOGCAPTION));
    Edit = Create<TEdit>(this);
    Edit->SetParent(this);

    calendar_ = new TdxBarDateNavigator(combo, false, ContainerWidget());
    calendar_->SetStyle(0);
    calendar_->SetFont(Font()->ToQFont());
    calendar_->OnDateSelected = TNotifyEvent(this, &TdxBarDateChooser::CalendarSelected);
    calendar_->OnDateDblClick = TNotifyEvent(this, &TdxBarDateChooser::CalendarDblClick);

    BOK = AddButton(dxBarStr(dxSBAR_DIALOGOK), mrOk, true);
    BCancel = AddButton(dxBarStr(dxSBAR_DIALOGCANCEL), mrCancel, false, true);
    const bool today = !combo || combo->ShowTodayButton();
    const bool clear = !combo || combo->ShowClearButton();
    if (today) {
        BToday = AddButton(dxBarTodayText(), 0);
        BToday->SetTag(1);
        BToday->SetOnClick(TNotifyEvent(this, &TdxBarDateChooser::DateButtonClick));
    }
    if (clear) {
        BClear = AddButton(dxBarClearText(), 0);
        BClear->SetTag(2);
        BClear->SetOnClick(TNotifyEvent(this, &TdxBarDateChooser::DateButtonClick));
    }

    // The buttons take the sizes of the calendar's own Today button.
    const TDateNavigatorMetrics& m = calendar_->Layout().M;
    const int w = MulDiv(m.TodayWidth, 3, 2);
    const int h = MulDiv(m.ButtonsHeight, 7, 6);
    const int g = m.ButtonsHeight / 4;
    const int editHeight = ZeroSize().height() + 8;
    const int calendarWidth = calendar_->Width(), calendarHeight = calendar_->Height();
    SetClientSize(calendarWidth + w + 3 * g, 3 * g + editHeight + calendarHeight);
    Edit->SetBounds(g, g, calendarWidth, editHeight);
    calendar_->SetWindowPos(TRect::Bounds(g, g + editHeight + g, calendarWidth, calendarHeight), SWP_SHOWWINDOW);
    const int left = g + calendarWidth + g;
    BOK->SetBounds(left, g, w, h);
    BCancel->SetBounds(left, g + h + g, w, h);
    if (BToday) BToday->SetBounds(left, ClientHeight() - 2 * g - 2 * h, w, h);
    if (BClear) BClear->SetBounds(left, ClientHeight() - g - h, w, h);

    calendar_->SetFirstDate(date != dxBarNullDate ? date : dxBarToday());
    calendar_->SetSelStart(date);
    Edit->SetOnChange(TNotifyEvent(this, &TdxBarDateChooser::EditChange));
    Edit->SetText(dxBarDateToText(date));
    SetActiveControl(Edit);
}

double TdxBarDateChooser::ChosenDate(double current) const
{
    const QString text = Edit->Text().trimmed();
    if (text.isEmpty()) return dxBarNullDate;
    const double date = dxBarTextToDate(text);
    return date != dxBarNullDate ? date : current;
}

void TdxBarDateChooser::EditChange(TObject* /*sender*/)
{
    if (showingSelection_ || !calendar_) return;
    const QString text = Edit->Text().trimmed();
    const double date = text.isEmpty() ? dxBarNullDate : dxBarTextToDate(text);
    if (date == dxBarNullDate && !text.isEmpty()) return;
    calendar_->SetSelStart(date);
}

void TdxBarDateChooser::ShowSelection()
{
    if (!calendar_) return;
    TRestore guard(showingSelection_, true);
    Edit->SetText(dxBarDateToText(calendar_->GetSelStart()));
}

void TdxBarDateChooser::CalendarSelected(TObject* /*sender*/)
{
    ShowSelection();
}

void TdxBarDateChooser::CalendarDblClick(TObject* /*sender*/)
{
    ShowSelection();
    SetModalResult(mrOk);
}

void TdxBarDateChooser::DateButtonClick(TObject* sender)
{
    auto* button = qobject_cast<TButton*>(sender);
    if (!button || !calendar_) return;
    calendar_->SetSelStart(button->Tag() == 1 ? dxBarToday() : dxBarNullDate);
    ShowSelection();
}

bool dxBarChooseDate(TdxBarDateCombo* combo, double& date)
{
    const std::unique_ptr<TdxBarDateChooser> dialog(Create<TdxBarDateChooser>(nullptr));
    dialog->Prepare(combo, date);
    if (dialog->ShowModal() != mrOk) return false;
    date = dialog->ChosenDate(date);
    return true;
}
