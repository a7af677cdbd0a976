#include "dxBarEditControls.h"

#include "ExceptionBarrier.h"
#include "Scope.h"
#include "Strings.h"
#include "Forms.h"
#include "NativeWidget.h"
#include "dxBarBar.h"
#include "dxBarControl.h"
#include "dxBarCustomControl.h"
#include "dxBarDrawing.h"
#include "dxBarItemLink.h"
#include "dxBarItems.h"
#include "dxBarManager.h"

#include <QApplication>
#include <QCursor>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QLineEdit>
#include <QPainter>
#include <limits>

// ---------------------------------------------------------------- the editor's bridge

// The one place where the in-place editor's Qt events become the control's calls.
class TdxBarInPlaceEditor : public TNativeWidget<QLineEdit> {
public:
    TdxBarInPlaceEditor(TdxBarWinControl* control, QWidget* parent) : TNativeWidget(parent), control_(control)
    {
        setFrame(false);
        setFocusPolicy(Qt::ClickFocus);
        // A right click belongs to the bar (its customizing popup), not to a menu of ours.
        setContextMenuPolicy(Qt::NoContextMenu);
        connect(this, &QLineEdit::textChanged, this, Guarded([this] {
                    if (control_) control_->EditorTextChanged();
                }));
    }
    void Detach() { control_ = nullptr; }

protected:
    bool Dispatch(QEvent* e) override
    {
        if (!control_) return false;
        switch (e->type()) {
        case QEvent::ShortcutOverride: {
            // Keys the control routes are not anyone's shortcut while the editor has them.
            auto* ke = static_cast<QKeyEvent*>(e);
            const int key = ke->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Escape || key == Qt::Key_Tab ||
                key == Qt::Key_Backtab || key == Qt::Key_F4)
                e->accept();
            return false;
        }
        case QEvent::KeyPress: {
            auto* ke = static_cast<QKeyEvent*>(e);
            const TShiftState shift = ShiftStateFromQt(ke->modifiers());
            int key = QtKeyToVK(ke->key(), ke->modifiers());
            QPointer<TdxBarWinControl> control = control_;
            // Keys without a virtual-key code (characters beyond the keyboard's own) only
            // type their text.
            if (key && (control->EditorKeyDown(key, shift) || !key)) return Eaten(e);
            const QString text = ke->text();
            if (!control || !control_) return Eaten(e);
            if (text.size() == 1 && text[0].isPrint()) {
                QChar ch = text[0];
                if (control->EditorChar(ch) || ch.isNull()) return Eaten(e);
                if (ch != text[0]) {
                    insert(QString(ch));
                    return Eaten(e);
                }
            }
            // Tab and Backtab stay in the editor: the control moves the selection.
            return false;
        }
        case QEvent::KeyRelease: {
            auto* ke = static_cast<QKeyEvent*>(e);
            int key = QtKeyToVK(ke->key(), ke->modifiers());
            return key && control_->EditorKeyUp(key, ShiftStateFromQt(ke->modifiers())) ? Eaten(e) : false;
        }
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick: {
            auto* me = static_cast<QMouseEvent*>(e);
            if (me->button() != Qt::RightButton) return false;
            control_->EditorRButtonDown(me->globalPosition().toPoint(), ShiftStateFromQt(me->modifiers()));
            return Eaten(e);
        }
        case QEvent::FocusIn: control_->EditorFocusIn(); return false;
        case QEvent::FocusOut: control_->EditorFocusOut(); return false;
        default: return false;
        }
    }
    static bool Eaten(QEvent* e)
    {
        e->accept();
        return true;
    }

    QPointer<TdxBarWinControl> control_;
};

namespace {

bool IsAltKey(int key)
{
    return key == VK_MENU;
}

TdxBarItemLink* SourceLink(TdxBarItemLink* link)
{
    return link && link->OriginalItemLink() ? link->OriginalItemLink() : link;
}

}  // namespace

// ---------------------------------------------------------------- TdxBarWinControl

TdxBarWinControl::TdxBarWinControl(TdxBarItemLink* link) : TdxBarItemControl(link) {}

TdxBarWinControl::~TdxBarWinControl()
{
    DestroyWnd();
}

QLineEdit* TdxBarWinControl::Editor() const
{
    return editor_;
}

void TdxBarWinControl::CreateWnd()
{
    TCustomdxBarControl* parent = Parent();
    if (editor_ || !parent || !parent->Handle()) return;
    editor_ = new TdxBarInPlaceEditor(this, parent->Handle());
    editor_->hide();
}

void TdxBarWinControl::DestroyWnd()
{
    if (!editor_) return;
    // Going away applies no text: the item may be re-laying its bars out right now.
    escaping_ = true;
    SetFocused(false);
    TdxBarInPlaceEditor* editor = editor_;
    editor_ = nullptr;
    if (!editor) return;
    // The editor may be inside one of its own events (a key that re-laid the bar out).
    editor->Detach();
    editor->hide();
    editor->deleteLater();
}

TRect TdxBarWinControl::GetEditRect() const
{
    if (!GetEnabled()) return {};
    if (HidesEditor()) return {EditRect.Left, EditRect.Top, EditRect.Left, EditRect.Bottom};
    return EditRect;
}

bool TdxBarWinControl::CanClicked() const
{
    TCustomdxBarControl* parent = Parent();
    return parent && parent->IsToolbar() && parent->IsRotated();
}

void TdxBarWinControl::ControlInactivate(bool byMouse)
{
    TdxBarItemControl::ControlInactivate(byMouse);
    SetFocused(false);
}

void TdxBarWinControl::ControlClick(bool byMouse)
{
    SetFocused(true);
    TdxBarItemControl::ControlClick(byMouse);
}

QString TdxBarWinControl::GetText() const
{
    // Read whole: only MaxLength limits what the editor holds.
    return editor_ ? editor_->text() : QString();
}

void TdxBarWinControl::PutText(const QString& text)
{
    if (!editor_) return;
    TRestore setting(settingText_, true);
    editor_->setText(text);
}

void TdxBarWinControl::SetText(const QString& text)
{
    PutText(text);
    if (HidesEditor()) Repaint();
}

void TdxBarWinControl::PlaceEditor()
{
    TCustomdxBarControl* parent = Parent();
    if (!editor_ || !parent) return;
    const TRect r = GetEditRect().Offset(parent->ClientBounds().TopLeft());
    editor_->setGeometry(r.ToQRect());
}

void TdxBarWinControl::SetFocused(bool value)
{
    if (value == focused_) return;
    TCustomdxBarControl* parent = Parent();
    TdxBarManager* manager = BarManager();
    QWidget* form = manager && manager->OwnerFormAsForm() ? manager->OwnerFormAsForm()->Handle() : nullptr;
    QPointer<TdxBarWinControl> self(this);
    if (value) {
        if (!editor_ || !parent) return;
        QWidget* focus = QApplication::focusWidget();
        prevFocus_ = focus && focus != editor_ ? focus : form;
        editor_->setFont(parent->Font());
        if (!IsActive()) ControlActivate(false);
        focused_ = true;
        PlaceEditor();
        editor_->show();
        editor_->raise();
        editor_->setFocus(Qt::OtherFocusReason);
        return;
    }
    focused_ = false;
    const bool leaving = focusLeaving_;
    QPointer<QWidget> previous = prevFocus_;
    prevFocus_ = nullptr;
    if (editor_) editor_->hide();
    if (!leaving) {
        if (previous && previous->isVisible())
            previous->setFocus(Qt::OtherFocusReason);
        else if (form && form->isVisible())
            form->setFocus(Qt::OtherFocusReason);
    }
    if (!self) return;
    const bool saveText = manager && manager->property("AlwaysSaveText").toBool() && !escaping_;
    if (saveText && Item()) {
        if (auto* item = qobject_cast<TdxBarWindowItem*>(Item())) item->SetText(GetText());
    }
}

bool TdxBarWinControl::EditorKeyDown(int& key, TShiftState shift)
{
    QPointer<TdxBarWinControl> self(this);
    auto* item = qobject_cast<TdxBarWindowItem*>(Item());
    if (!item) return false;
    item->KeyDown(key, shift);
    if (!self || key == 0) return true;
    QPointer<TCustomdxBarControl> parent = Parent();
    if (shift & ssAlt) {
        if (IsAltKey(key)) return false;
        // A system key leaves the editor; the keyboard handling of the bars takes it from
        // there.
        if (parent) parent->HideAll();
        return (shift & ssShift) && key == VK_F10;
    }
    switch (key) {
    case VK_TAB: {
        if (!parent) return true;
        int k = key;
        parent->KeyDown(k, shift);
        return true;
    }
    case VK_RETURN:
    case VK_ESCAPE: {
        if (!parent) return true;
        const bool esc = key == VK_ESCAPE;
        escaping_ = esc;
        parent->SetKeySelectedItem(nullptr);
        // Not the bar's selected control (activated by a call of its own): it closes itself.
        if (self && focused_) ControlInactivate(false);
        if (self) escaping_ = false;
        if (!self || !parent || !dxBarIsBarControlAlive(parent)) return true;
        // Esc goes back one step: to this control selected from the keyboard in a menu or a
        // toolbar in keyboard mode, where the next Esc leaves; out of a toolbar the editor
        // was clicked in, to where the focus was.
        auto* toolbar = dynamic_cast<TdxBarControl*>(parent.data());
        if (esc && (!toolbar || toolbar->InKeyboardMode()))
            parent->SetKeySelectedItem(this);
        else
            parent->HideAll();
        return true;
    }
    default: return false;
    }
}

bool TdxBarWinControl::EditorKeyUp(int& key, TShiftState shift)
{
    auto* item = qobject_cast<TdxBarWindowItem*>(Item());
    if (item) item->KeyUp(key, shift);
    return key == 0;
}

bool TdxBarWinControl::EditorChar(QChar& ch)
{
    auto* item = qobject_cast<TdxBarWindowItem*>(Item());
    if (item) item->KeyPress(ch);
    return ch.isNull();
}

void TdxBarWinControl::EditorFocusIn()
{
    if (auto* item = qobject_cast<TdxBarWindowItem*>(Item())) item->DoEnter();
}

void TdxBarWinControl::EditorRButtonDown(const TPoint& screen, TShiftState shift)
{
    QPointer<TCustomdxBarControl> parent = Parent();
    if (parent) parent->RButtonDown(parent->ScreenToClient(screen), shift);
}

void TdxBarWinControl::EditorFocusOut()
{
    QPointer<TdxBarWinControl> self(this);
    QPointer<TdxBarWindowItem> item = qobject_cast<TdxBarWindowItem*>(Item());
    if (focused_) {
        // The user took the focus elsewhere: the menus close and the editor goes, and the
        // focus stays where the user put it.
        focusLeaving_ = true;
        QPointer<TCustomdxBarControl> parent = Parent();
        if (parent) parent->HideAll();
        if (self && focused_ && parent && dxBarIsBarControlAlive(parent) && parent->SelectedControl() == this)
            parent->SetKeySelectedItem(nullptr);
        if (self && focused_) SetFocused(false);
        if (self) focusLeaving_ = false;
    }
    if (item) item->DoExit();
}

// ---------------------------------------------------------------- TdxBarEditControl

TdxBarEditControl::TdxBarEditControl(TdxBarItemLink* link) : TdxBarWinControl(link)
{
    CreateWnd();
}

TdxBarEditControl::~TdxBarEditControl()
{
    DestroyWnd();
}

TdxBarEdit* TdxBarEditControl::Edit() const
{
    return qobject_cast<TdxBarEdit*>(Item());
}

void TdxBarEditControl::CreateWnd()
{
    TdxBarWinControl::CreateWnd();
    QLineEdit* editor = Editor();
    if (!editor) return;
    TdxBarEdit* edit = Edit();
    const int maxLength = edit ? edit->MaxLength() : 0;
    // 0 is no limit here; the line editor would read it as "nothing may be typed".
    editor->setMaxLength(maxLength > 0 ? maxLength : std::numeric_limits<int>::max());
    PutText(edit ? edit->Text() : QString());
}

int TdxBarEditControl::GetCaptionWidth() const
{
    TCustomdxBarControl* parent = Parent();
    TdxBarEdit* edit = Edit();
    if (!parent) return 0;
    const bool shows = parent->IsMenu() || (edit && edit->ShowCaption());
    const int textWidth = shows ? TextExtent(parent->Font(), dxBarRemoveAmpersands(GetCaption())).width() : 0;
    return inplace::CaptionWidth(textWidth, shows, IsFlatStyle());
}

void TdxBarEditControl::ControlClick(bool byMouse)
{
    TdxBarWinControl::ControlClick(byMouse);
    if (Focused() && Editor()) Editor()->selectAll();
}

bool TdxBarEditControl::IsDrawnSelected() const
{
    return TdxBarWinControl::IsDrawnSelected() && !(Parent() && Parent()->IsCustomizing());
}

int TdxBarEditControl::GetHeight()
{
    TCustomdxBarControl* parent = Parent();
    if (!parent) return 0;
    return inplace::EditSize(GetCaptionWidth(), 0, inplace::TextBoxHeight(parent->ItemHeight()), parent->ItemHeight())
        .Height;
}

int TdxBarEditControl::GetMinWidth()
{
    return inplace::EditSize(GetCaptionWidth(), 0, 0, 0).MinWidth;
}

int TdxBarEditControl::GetWidth()
{
    return inplace::EditSize(GetCaptionWidth(), ItemLink() ? ItemLink()->Width() : 0, 0, 0).Width;
}

inplace::TEditParts TdxBarEditControl::Parts(const TRect& r, int buttonWidth) const
{
    return inplace::EditParts(r, GetCaptionWidth(), IsFlatStyle(), GetEnabled(), buttonWidth);
}

inplace::TEditParts TdxBarEditControl::DrawCaptionAndFrame(QPainter& p, const TRect& r, int paintType, int buttonWidth)
{
    TCustomdxBarControl* parent = Parent();
    const inplace::TEditParts parts = Parts(r, buttonWidth);
    const bool selected = IsDrawnSelected();
    const bool flat = IsFlatStyle();
    const bool menu = paintType == dxBarPaintMenu;
    const QBrush barBrush = parent->GetToolbarBrush();
    if (!parts.Caption.IsEmpty()) {
        const bool highlight = selected && menu;
        FillRect(p, parts.Caption, highlight ? parent->GetSelectedBrush() : barBrush);
        if (highlight && flat) dxBarFrameHighlight(p, parts.Caption.Inflated(0, 0));
        TRect text = parts.Caption;
        text.Right -= flat ? 5 : 4;
        p.save();
        p.setFont(parent->Font());
        DrawItemText(p, GetCaption(), text, flat, true, false, highlight, GetEnabled(), 2);
        p.restore();
    }
    TRect frame = parts.Frame;
    if (selected) {
        if (flat)
            dxBarFrameHighlight(p, frame);
        else
            DrawEdge(p, frame, BDR_SUNKENOUTER, BF_RECT);
    } else {
        FrameRect(p, frame, flat && (menu || !GetEnabled()) ? SysBrush(COLOR_BTNSHADOW) : barBrush);
    }
    frame = frame.Inflated(-1, -1);
    if (!flat) FrameRect(p, frame, GetEnabled() ? barBrush : SysBrush(COLOR_BTNHIGHLIGHT));
    if (GetEnabled()) EditRect = parts.Edit;
    return parts;
}

void TdxBarEditControl::DrawInterior(QPainter& p, const TRect& r) const
{
    TCustomdxBarControl* parent = Parent();
    const bool enabled = GetEnabled();
    if (!enabled && !IsFlatStyle()) {
        FillRect(p, r, parent->GetToolbarBrush());
        return;
    }
    auto* combo = qobject_cast<TdxBarCustomCombo*>(Item());
    if (enabled && combo && combo->DrawsTextBox()) {
        // An owner-drawn combo draws its current entry itself.
        p.save();
        p.setClipRect(r.ToQRect(), Qt::IntersectClip);
        combo->DrawItem(p, parent->Font(), combo->CurItemIndex(), r, 0, IsFlatStyle());
        p.restore();
        return;
    }
    FillRect(p, r, enabled ? SysBrush(COLOR_WINDOW) : parent->GetToolbarBrush());
    auto* item = qobject_cast<TdxBarWindowItem*>(Item());
    if (!item) return;
    TRect text{r.Left + 2, r.Top + (IsFlatStyle() ? 2 : 0), r.Right - 2, r.Bottom};
    p.save();
    p.setClipRect(r.ToQRect(), Qt::IntersectClip);
    p.setFont(parent->Font());
    p.setPen(SysColor(enabled ? COLOR_WINDOWTEXT : COLOR_GRAYTEXT));
    const QString value = Focused() ? GetText() : item->Text();
    DrawText(p, value, text, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    p.restore();
}

void TdxBarEditControl::Draw(TCanvas& p, const TRect& r, int paintType)
{
    if (r.Width() <= 0 || !Parent()) return;
    EditRect = {};
    const inplace::TEditParts parts = DrawCaptionAndFrame(p, r, paintType, 0);
    const TRect inner = parts.Frame.Inflated(IsFlatStyle() ? -1 : -2, IsFlatStyle() ? -1 : -2);
    if (!(Focused() && GetEnabled())) DrawInterior(p, inner);
    if (Focused()) PlaceEditor();
}

void TdxBarEditControl::SetFocused(bool value)
{
    if (value == Focused()) return;
    QLineEdit* editor = Editor();
    if (value && editor) {
        TdxBarEdit* edit = Edit();
        editor->setReadOnly((edit && edit->ReadOnly()) || HidesEditor());
        if (!IsFlatStyle()) editor->setTextMargins(2, 0, 2, 0);
        PutText(edit ? edit->Text() : QString());
    }
    TdxBarWinControl::SetFocused(value);
    Repaint();
}

void TdxBarEditControl::SetText(const QString& text)
{
    TdxBarWinControl::SetText(text);
    if (Editor()) Editor()->selectAll();
}

bool TdxBarEditControl::EditorKeyDown(int& key, TShiftState shift)
{
    if ((key == VK_RETURN || key == VK_TAB) && !(shift & ssAlt)) {
        QPointer<TdxBarEditControl> self(this);
        if (key == VK_RETURN) {
            if (TdxBarItemLink* link = SourceLink(ItemLink())) link->ItemClicked(true);
        }
        if (!self) return true;
        if (auto* item = qobject_cast<TdxBarWindowItem*>(Item())) item->SetText(GetText());
        // The item's handler may have hidden the editor (or re-laid the bar out).
        if (!self || !Focused()) return true;
    }
    return TdxBarWinControl::EditorKeyDown(key, shift);
}

void TdxBarEditControl::EditorTextChanged()
{
    if (SettingText()) return;
    if (auto* item = qobject_cast<TdxBarWindowItem*>(Item())) item->CurChange();
}

// ---------------------------------------------------------------- TCustomdxBarComboControl

TCustomdxBarComboControl::TCustomdxBarComboControl(TdxBarItemLink* link) : TdxBarEditControl(link) {}

TCustomdxBarComboControl::~TCustomdxBarComboControl()
{
    if (droppedDown_) {
        droppedDown_ = false;
        if (TCustomdxBarCombo* combo = Combo()) combo->CloseUp();
    }
}

TCustomdxBarCombo* TCustomdxBarComboControl::Combo() const
{
    return qobject_cast<TCustomdxBarCombo*>(Item());
}

bool TCustomdxBarComboControl::HidesEditor() const
{
    return Combo() && !Combo()->ShowEditor();
}

void TCustomdxBarComboControl::SetDroppedDown(bool value)
{
    TCustomdxBarCombo* combo = Combo();
    if (value == droppedDown_ || !combo || combo->ReadOnly()) return;
    droppedDown_ = value;
    Repaint();
    if (!value) {
        combo->CloseUp();
        return;
    }
    TCustomdxBarControl* parent = Parent();
    if (!parent) return;
    const TRect r = parent->GetItemRect(this);
    const bool vertical = parent->IsMenu() || parent->IsVertical();
    const TPoint at = vertical ? TPoint(r.Right, r.Top) : TPoint(r.Left + GetCaptionWidth(), r.Bottom);
    combo->DropDown(parent->ClientToScreen(at), r.Size(), vertical);
}

void TCustomdxBarComboControl::ControlInactivate(bool byMouse)
{
    SetDroppedDown(false);
    TdxBarEditControl::ControlInactivate(byMouse);
}

bool TCustomdxBarComboControl::PressedOnButton() const
{
    TCustomdxBarControl* parent = Parent();
    if (!parent) return false;
    const TPoint at = parent->ScreenToClient(QCursor::pos());
    if (HidesEditor()) {
        const TRect item = parent->GetItemRect(const_cast<TCustomdxBarComboControl*>(this));
        return TRect(EditRect.Left, item.Top, item.Right, item.Bottom).Contains(at);
    }
    return ButtonRect.Contains(at);
}

void TCustomdxBarComboControl::ControlClick(bool byMouse)
{
    droppedDownAtPress_ = droppedDown_;
    QPointer<TCustomdxBarComboControl> self(this);
    TdxBarEditControl::ControlClick(byMouse);
    if (self && byMouse && !droppedDownAtPress_ && PressedOnButton()) SetDroppedDown(true);
}

void TCustomdxBarComboControl::ControlUnclick(bool byMouse)
{
    QPointer<TCustomdxBarComboControl> self(this);
    // An open list closes on the release over its button, not on the press.
    if (byMouse && droppedDownAtPress_ && droppedDown_ && PressedOnButton()) SetDroppedDown(false);
    if (self) droppedDownAtPress_ = false;
    if (self) TdxBarEditControl::ControlUnclick(byMouse);
}

void TCustomdxBarComboControl::Draw(TCanvas& p, const TRect& r, int paintType)
{
    TCustomdxBarControl* parent = Parent();
    if (r.Width() <= 0 || !parent) return;
    EditRect = {};
    const int buttonWidth = inplace::DropDownButtonWidth(IsFlatStyle());
    const inplace::TEditParts parts = DrawCaptionAndFrame(p, r, paintType, buttonWidth);
    ButtonRect = parts.Button;
    TRect text = parts.Frame.Inflated(IsFlatStyle() ? -1 : -2, IsFlatStyle() ? -1 : -2);
    text.Right = std::max(text.Left, parts.Button.Left);
    if (!(GetEnabled() && Focused() && !HidesEditor())) DrawInterior(p, text);
    if (Focused()) PlaceEditor();
    DrawButton(p, IsDrawnSelected());
}

void TCustomdxBarComboControl::DrawButton(QPainter& p, bool selected)
{
    TRect part = ButtonRect;
    if (part.IsEmpty()) return;
    int colorIndex = COLOR_BTNTEXT;
    QBrush brush;
    GetArrowColorAndBrush(selected, droppedDown_, colorIndex, brush);
    const bool enabled = GetEnabled();
    const QBrush barBrush = Parent()->GetToolbarBrush();
    if (selected && IsFlatStyle()) {
        dxBarFrameHighlight(p, part.Inflated(1, 1));
        FillRect(p, part, brush);
    } else {
        if (selected && enabled) {
            DrawEdge(p, part, droppedDown_ ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT);
            FillRect(p, {part.Left - 1, part.Top, part.Left, part.Bottom}, barBrush);
        } else {
            FrameRect(p, part, enabled ? SysBrush(COLOR_BTNHIGHLIGHT) : barBrush);
            FillRect(p, {part.Left - 1, part.Top, part.Left, part.Bottom},
                     enabled ? SysBrush(COLOR_BTNHIGHLIGHT) : barBrush);
        }
        part = part.Inflated(-1, -1);
        FillRect(p, part, brush);
        if (droppedDown_) part = part.Offset(1, 1);
    }
    const inplace::TTriangle t = inplace::ComboArrow(part);
    if (!enabled) {
        if (!IsFlatStyle())
            FillPolygon(p, {t.A + TPoint(1, 1), t.B + TPoint(1, 1), t.C + TPoint(1, 1)}, SysColor(COLOR_BTNHIGHLIGHT));
        FillPolygon(p, {t.A, t.B, t.C}, SysColor(COLOR_BTNSHADOW));
        return;
    }
    FillPolygon(p, {t.A, t.B, t.C}, SysColor(colorIndex));
}

bool TCustomdxBarComboControl::EditorKeyDown(int& key, TShiftState shift)
{
    TCustomdxBarCombo* combo = Combo();
    if (!combo) return TdxBarEditControl::EditorKeyDown(key, shift);
    if (key == VK_F4 && !(shift & (ssAlt | ssCtrl))) {
        SetDroppedDown(!droppedDown_);
        return true;
    }
    if ((key == VK_UP || key == VK_DOWN) && (shift & ssAlt)) {
        // Alt+Up/Down never reaches the bar's keyboard handling.
        SetDroppedDown(!droppedDown_);
        key = 0;
        return true;
    }
    if (droppedDown_ && combo->CheckKeyForDropDownWindow(key, shift)) {
        combo->DropDownWindowKeyDown(key, shift);
        return true;
    }
    return TdxBarEditControl::EditorKeyDown(key, shift);
}

bool TCustomdxBarComboControl::EditorKeyUp(int& key, TShiftState shift)
{
    if ((key == VK_UP || key == VK_DOWN) && (shift & ssAlt)) return true;
    return TdxBarEditControl::EditorKeyUp(key, shift);
}

// ---------------------------------------------------------------- TdxBarComboControl

TdxBarComboControl::TdxBarComboControl(TdxBarItemLink* link) : TCustomdxBarComboControl(link)
{
    if (TdxBarCustomCombo* combo = ListCombo()) itemIndex_ = combo->ItemIndex();
}

TdxBarComboControl::~TdxBarComboControl() = default;

TdxBarCustomCombo* TdxBarComboControl::ListCombo() const
{
    return qobject_cast<TdxBarCustomCombo*>(Item());
}

void TdxBarComboControl::SetItemIndex(int index)
{
    TdxBarCustomCombo* combo = ListCombo();
    if (!combo) return;
    itemIndex_ = index;
    TStrings* items = combo->Items();
    const bool inList = index >= 0 && index < items->Count();
    SetText(inList ? items->Strings(index) : combo->Text());
    if (HidesEditor()) Repaint();
}

void TdxBarComboControl::SetFocused(bool value)
{
    if (value && !Focused()) {
        if (TdxBarCustomCombo* combo = ListCombo()) {
            itemIndex_ = combo->ItemIndex();
            const bool inList = itemIndex_ >= 0 && itemIndex_ < combo->Items()->Count();
            PutText(inList ? combo->Items()->Strings(itemIndex_) : combo->Text());
        }
    }
    TCustomdxBarComboControl::SetFocused(value);
}

bool TdxBarComboControl::EditorKeyDown(int& key, TShiftState shift)
{
    TdxBarCustomCombo* combo = ListCombo();
    if (!combo) return TCustomdxBarComboControl::EditorKeyDown(key, shift);
    const int count = combo->Items()->Count();
    if ((key == VK_RETURN || key == VK_TAB) && !(shift & ssAlt)) {
        // The list may have shrunk while the text was being edited: an index outside it
        // counts as free text, and the typed text is applied.
        if (itemIndex_ < 0 || itemIndex_ >= count) itemIndex_ = -1;
        if (itemIndex_ == -1 || GetText() != combo->Items()->Strings(itemIndex_))
            return TCustomdxBarComboControl::EditorKeyDown(key, shift);
        QPointer<TdxBarComboControl> self(this);
        combo->SetItemIndex(itemIndex_);
        if (!self || !Focused()) return true;
        return TCustomdxBarComboControl::EditorKeyDown(key, shift);
    }
    if (!DroppedDown() && !(shift & (ssAlt | ssCtrl | ssShift))) {
        if (key == VK_UP) {
            if (itemIndex_ > 0) SetItemIndex(std::min(itemIndex_, count) - 1);
            return true;
        }
        if (key == VK_DOWN) {
            if (itemIndex_ < count - 1) SetItemIndex(itemIndex_ + 1);
            return true;
        }
    }
    return TCustomdxBarComboControl::EditorKeyDown(key, shift);
}

// ---------------------------------------------------------------- registration

void dxBarRegisterEditControls()
{
    TdxBarEditControlClass.factory = [](TdxBarItemLink* link) -> TdxBarItemControl* {
        return new TdxBarEditControl(link);
    };
    TCustomdxBarComboControlClass.factory = [](TdxBarItemLink* link) -> TdxBarItemControl* {
        return new TCustomdxBarComboControl(link);
    };
    TdxBarComboControlClass.factory = [](TdxBarItemLink* link) -> TdxBarItemControl* {
        return new TdxBarComboControl(link);
    };
}

void dxBarUnregisterEditControls()
{
    TdxBarEditControlClass.factory = nullptr;
    TCustomdxBarComboControlClass.factory = nullptr;
    TdxBarComboControlClass.factory = nullptr;
}
