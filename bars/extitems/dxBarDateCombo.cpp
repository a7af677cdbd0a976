#include "dxBarDateCombo.h"

#include "dxBarCustomControl.h"
#include "dxBarDateChooser.h"
#include "dxBarDateNavigator.h"
#include "dxBarDates.h"
#include "dxBarDrawing.h"
#include "dxBarExtItems.h"
#include "dxBarItemLink.h"

TdxBarItemControlClass TdxBarDateComboControlClass{
    "TdxBarDateComboControl",
    [](TdxBarItemLink* link) -> TdxBarItemControl* { return new TdxBarDateComboControl(link); }};

// ---------------------------------------------------------------- TdxBarDateCombo

TdxBarDateCombo::TdxBarDateCombo(TComponent* owner) : TCustomdxBarCombo(owner)
{
    if (TBitmap* glyph = dxBarItemKindGlyph(QStringLiteral("DATECOMBO"))) SetGlyph(glyph);
    StoreText(dxBarDateToText(dxBarToday()));
}

TdxBarDateCombo::~TdxBarDateCombo()
{
    delete navigator_.data();
}

double TdxBarDateCombo::Date() const
{
    return dxBarTextToDate(Text());
}

void TdxBarDateCombo::SetDate(double value)
{
    SetText(dxBarDateToText(value));
}

void TdxBarDateCombo::SetText(const QString& value)
{
    TCustomdxBarCombo::SetText(dxBarDateToText(dxBarTextToDate(value)));
}

bool TdxBarDateCombo::CheckKeyForDropDownWindow(int key, TShiftState shift)
{
    return key == VK_RETURN || TCustomdxBarCombo::CheckKeyForDropDownWindow(key, shift);
}

void TdxBarDateCombo::DropDownWindowKeyDown(int key, TShiftState shift)
{
    if (navigator_ && navigator_->Visible()) navigator_->NavigatorKeyDown(key, shift);
}

TNativeWindow* TdxBarDateCombo::GetDropDownWindow()
{
    if (QWidget* window = TCustomdxBarCombo::GetDropDownWindow()) return window;
    return navigator_ ? navigator_->Handle() : nullptr;
}

TdxBarDateNavigator* TdxBarDateCombo::MakeNavigator()
{
    // Made on the first drop, when the combo's form is known: the calendar stays above it.
    if (!navigator_) navigator_ = new TdxBarDateNavigator(this, true);
    return navigator_;
}

void TdxBarDateCombo::DropDown(QPoint preferred, QSize linkSize, bool vertical)
{
    if (TCustomdxBarCombo::GetDropDownWindow()) {
        TCustomdxBarCombo::DropDown(preferred, linkSize, vertical);
        return;
    }
    QPointer<TdxBarDateCombo> self(this);
    if (OnDropDown) OnDropDown(this);
    if (!self) return;
    TdxBarDateNavigator* navigator = MakeNavigator();
    // The text being typed counts: the calendar opens on the date it holds.
    double date = dxBarTextToDate(CurText());
    if (date == dxBarNullDate) date = dxBarToday();
    navigator->SetShowButtons(showToday_, showClear_);
    navigator->TakeComboFont();
    navigator->SetFirstDate(date);
    navigator->SetSelStart(date);
    navigator->OnDateSelected = TNotifyEvent(this, &TdxBarDateCombo::DateChosen);
    const TRect area = dxBarGetWorkArea(preferred);
    const QSize size(navigator->Width(), navigator->Height());
    const QPoint at = dxBarDropDownPosition(preferred, size, linkSize, area.ToQRect(), vertical);
    navigator->SetWindowPos(TRect::Bounds(at.x(), at.y(), size.width(), size.height()),
                            SWP_SHOWWINDOW | SWP_NOACTIVATE);
}

void TdxBarDateCombo::CloseUp()
{
    if (TCustomdxBarCombo::GetDropDownWindow()) {
        TCustomdxBarCombo::CloseUp();
        return;
    }
    if (navigator_ && navigator_->Visible()) {
        navigator_->CancelSelection();
        if (TWindow::GetCapture() == navigator_) TWindow::ReleaseCapture();
        navigator_->Hide();
    }
    if (OnCloseUp) OnCloseUp(this);
}

void TdxBarDateCombo::Click()
{
    QPointer<TdxBarDateCombo> self(this);
    TCustomdxBarCombo::Click();
    if (!self || OnClick() || ReadOnly()) return;
    double date = Date();
    if (dxBarChooseDate(this, date) && self) SetDate(date);
}

void TdxBarDateCombo::DateChosen(TObject* /*sender*/)
{
    if (!navigator_) return;
    QPointer<TdxBarDateCombo> self(this);
    QPointer<TdxBarDateNavigator> navigator = navigator_;
    const double date = navigator_->GetSelStart();
    TdxBarItemLink* link = FindLiveLink();
    QPointer<TdxBarItemControl> control = link ? link->Control() : nullptr;
    // The editor takes the date first, so that leaving it keeps the date.
    if (control && control->HasEditor()) control->SetEditorText(dxBarDateToText(date));
    if (link) (link->OriginalItemLink() ? link->OriginalItemLink() : link)->ItemClicked(true);
    QPointer<TCustomdxBarControl> active = dxBarActiveBarControl();
    if (active && dxBarIsBarControlAlive(active)) active->HideAll();
    if (!self) return;
    SetDate(date);
    // Nothing closed the calendar (no bar window was active): the control closes it.
    if (!navigator || !navigator->Visible()) return;
    if (control && control->IsDroppedDown()) control->ControlInactivate(true);
    if (self && navigator && navigator->Visible()) CloseUp();
}

// ---------------------------------------------------------------- TdxBarDateComboControl

TdxBarDateComboControl::TdxBarDateComboControl(TdxBarItemLink* link) : TCustomdxBarComboControl(link) {}

bool TdxBarDateComboControl::EditorChar(QChar& ch)
{
    QPointer<TdxBarDateComboControl> self(this);
    if (TCustomdxBarComboControl::EditorChar(ch) || !self) return true;
    if (ch != u'+' && ch != u'-') return false;
    const double date = dxBarTextToDate(GetText());
    if (date == dxBarNullDate) {
        // "-" may be the locale's date separator: typed as it is.
        if (ch == u'-') return false;
        ch = QChar();
        return true;
    }
    SetText(dxBarDateToText(date + (ch == u'+' ? 1 : -1)));
    ch = QChar();
    return true;
}
