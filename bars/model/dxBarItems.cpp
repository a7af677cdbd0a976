#include "dxBarServices.h"
#include "dxBarItems.h"

#include "Scope.h"
#include "TextMetrics.h"
#include "Strings.h"
#include "dxBarBar.h"
#include "dxBarItemLink.h"
#include "dxBarManager.h"

#include <QFontMetrics>

#include <algorithm>

namespace {
bool IsOnBar(TdxBarItemLink* link)
{
    return link && link->Links() && qobject_cast<TdxBar*>(link->Links()->OwnerObject());
}
}  // namespace

// ---------------------------------------------------------------- TdxBarWindowItem

TdxBarWindowItem::TdxBarWindowItem(TComponent* owner) : TdxBarItem(owner) {}

void TdxBarWindowItem::SetText(const QString& value)
{
    if (value == text_) return;
    text_ = value;
    QPointer<TdxBarWindowItem> self(this);
    UpdateControls();
    Change();
    if (self) UpdateControls();
}

QString TdxBarWindowItem::CurText() const
{
    TdxBarItemLink* link = FindLiveLink();
    if (link && link->Control()->HasEditor()) return link->Control()->EditorText();
    return text_;
}

void TdxBarWindowItem::SetCurText(const QString& value)
{
    TdxBarItemLink* link = FindLiveLink();
    if (link && link->Control()->HasEditor())
        link->Control()->SetEditorText(value);
    else
        SetText(value);
}

TdxBarItemLink* TdxBarWindowItem::FocusedLink() const
{
    for (TdxBarItemLink* link : LinkList())
        if (link->Control() && link->Control()->IsActive() && link->Control()->EditorFocused()) return link;
    return nullptr;
}

void TdxBarWindowItem::Change()
{
    if (!Loading() && OnChange) OnChange(this);
}

void TdxBarWindowItem::CurChange()
{
    if (OnCurChange) OnCurChange(this);
}

void TdxBarWindowItem::DoEnter()
{
    if (OnEnter) OnEnter(this);
}

void TdxBarWindowItem::DoExit()
{
    if (OnExit) OnExit(this);
}

void TdxBarWindowItem::KeyDown(int& key, TShiftState shift)
{
    if (OnKeyDown) OnKeyDown(this, key, shift);
}

void TdxBarWindowItem::KeyPress(QChar& key)
{
    if (OnKeyPress) OnKeyPress(this, key);
}

void TdxBarWindowItem::KeyUp(int& key, TShiftState shift)
{
    if (OnKeyUp) OnKeyUp(this, key, shift);
}

// ---------------------------------------------------------------- TdxBarButton

TdxBarButton::TdxBarButton(TComponent* owner) : TdxBarItem(owner) {}

QList<TdxBarButton*> TdxBarButton::GroupButtons() const
{
    QList<TdxBarButton*> group;
    if (!BarManager() || groupIndex_ == 0) return group;
    for (TdxBarItem* item : BarManager()->ItemList()) {
        auto* button = qobject_cast<TdxBarButton*>(item);
        if (button && button->buttonStyle_ == bsChecked && button->groupIndex_ == groupIndex_) group.append(button);
    }
    return group;
}

void TdxBarButton::SetAllowAllUp(bool value)
{
    if (value == allowAllUp_) return;
    allowAllUp_ = value;
    if (groupIndex_ == 0 || !BarManager()) return;
    for (TdxBarItem* item : BarManager()->ItemList())
        if (auto* button = qobject_cast<TdxBarButton*>(item); button && button->groupIndex_ == groupIndex_)
            button->allowAllUp_ = value;
}

void TdxBarButton::SetButtonStyle(TdxBarButtonStyle value)
{
    if (value == buttonStyle_) return;
    buttonStyle_ = value;
    // Released directly: a style change must not be refused by the old group's rule.
    if (down_) {
        down_ = false;
        if (!Loading()) DownChanged();
    }
    if (!Loading()) ButtonStyleChanged();
    NotifyManagerItemChanged();
}

void TdxBarButton::SetDown(bool value)
{
    if (value == down_ || (value && buttonStyle_ != bsChecked)) return;
    TdxBarButton* release = nullptr;
    if (!Loading() && buttonStyle_ == bsChecked && groupIndex_ != 0) {
        const QList<TdxBarButton*> group = GroupButtons();
        auto othersDown = [&] {
            return std::find_if(group.begin(), group.end(), [this](TdxBarButton* b) { return b != this && b->down_; });
        };
        if (value) {
            auto it = othersDown();
            if (it != group.end()) release = *it;
        } else if (!allowAllUp_ && othersDown() == group.end()) {
            return;
        }
    }
    down_ = value;
    if (Loading()) return;
    QPointer<TdxBarButton> picked(release);
    DownChanged();
    if (picked) picked->SetDown(false);
}

void TdxBarButton::SetDropDownEnabled(bool value)
{
    if (value == dropDownEnabled_) return;
    dropDownEnabled_ = value;
    if (!Loading()) DropDownEnabledChanged();
}

void TdxBarButton::SetGroupIndex(int value)
{
    if (value == groupIndex_) return;
    groupIndex_ = buttonStyle_ == bsChecked ? value : 0;
    SetDown(false);
}

void TdxBarButton::SetLowered(bool value)
{
    if (value == lowered_) return;
    lowered_ = value;
    if (!Loading()) RepaintBars();
}

void TdxBarButton::SetPaintStyle(TdxBarPaintStyle value)
{
    if (value == paintStyle_) return;
    paintStyle_ = value;
    if (!Loading()) PaintStyleChanged();
}

void TdxBarButton::DirectClick()
{
    QPointer<TdxBarButton> self(this);
    if (Enabled() && buttonStyle_ == bsChecked) SetDown(!down_);
    if (self) TdxBarItem::DirectClick();
}

bool TdxBarButton::IsAccelEnabled(TdxBarItemLink* link) const
{
    if (!TdxBarItem::IsAccelEnabled(link)) return false;
    if (!IsOnBar(link)) return true;
    auto showsCaption = [](TdxBarPaintStyle s) { return s == psCaption || s == psCaptionGlyph; };
    return showsCaption(link->PaintStyle()) || (link->Control() && showsCaption(link->Control()->RealPaintStyle()));
}

void TdxBarButton::ButtonStyleChanged()
{
    ForEachControl([](TdxBarItemControl* c) { c->ButtonStyleChanged(); });
}

void TdxBarButton::DownChanged()
{
    ForEachControl([](TdxBarItemControl* c) { c->DownChanged(); });
}

void TdxBarButton::DropDownEnabledChanged()
{
    ForEachControl([](TdxBarItemControl* c) { c->DropDownEnabledChanged(); });
}

void TdxBarButton::PaintStyleChanged()
{
    ForEachControl([](TdxBarItemControl* c) { c->PaintStyleChanged(); }, udPaintStyle);
}

bool TdxBarButton::IsDownStored() const
{
    return !ActionLink() || !ActionLink()->IsCheckedLinked();
}

// ---------------------------------------------------------------- TdxBarEdit

TdxBarEdit::TdxBarEdit(TComponent* owner) : TdxBarWindowItem(owner) {}

void TdxBarEdit::SetShowCaption(bool value)
{
    if (value == showCaption_) return;
    showCaption_ = value;
    if (!Loading()) RepaintBars();
}

void TdxBarEdit::SetWidth(int value)
{
    value = std::clamp(value, 20, 600);
    if (value == width_) return;
    width_ = value;
    if (!Loading()) WidthChanged();
}

void TdxBarEdit::WidthChanged()
{
    ForEachControl([](TdxBarItemControl* c) { c->WidthChanged(); }, udWidth);
}

bool TdxBarEdit::IsAccelEnabled(TdxBarItemLink* link) const
{
    return TdxBarWindowItem::IsAccelEnabled(link) && (showCaption_ || !IsOnBar(link));
}

bool TdxBarEdit::IsDroppedDown() const
{
    TdxBarItemLink* link = FindLiveLink();
    return link && link->Control()->IsDroppedDown();
}

// ---------------------------------------------------------------- TCustomdxBarCombo

TCustomdxBarCombo::TCustomdxBarCombo(TComponent* owner) : TdxBarEdit(owner) {}

bool TCustomdxBarCombo::CheckKeyForDropDownWindow(int key, TShiftState shift)
{
    bool accept = key != VK_TAB && key != VK_RETURN && key != VK_ESCAPE;
    if (OnCheckKeyForDropDownWindow) OnCheckKeyForDropDownWindow(this, key, shift, accept);
    return accept;
}

TNativeWindow* TCustomdxBarCombo::GetDropDownWindow()
{
    TNativeWindow* window = nullptr;
    if (OnGetDropDownWindow) OnGetDropDownWindow(this, window);
    return window;
}

void TCustomdxBarCombo::DropDown(QPoint preferred, QSize linkSize, bool vertical)
{
    QPointer<TCustomdxBarCombo> self(this);
    if (OnDropDown) OnDropDown(this);
    if (!self) return;
    TNativeWindow* window = GetDropDownWindow();
    if (!window) return;
    InitDropDownWindow();
    dxBarWindowServices().ShowDropDownWindow(window, preferred, linkSize, vertical);
    AfterDropDown();
}

void TCustomdxBarCombo::CloseUp()
{
    if (TNativeWindow* window = GetDropDownWindow()) dxBarWindowServices().HideDropDownWindow(window);
    if (OnCloseUp) OnCloseUp(this);
}

QPoint dxBarDropDownPosition(QPoint p, QSize window, QSize link, const QRect& area, bool vertical)
{
    const int right = area.x() + area.width();
    const int bottom = area.y() + area.height();
    if (vertical) {
        if (p.x() + window.width() > right && right - p.x() < p.x() - link.width() - area.x())
            p.rx() = p.x() - window.width() - link.width();
        if (p.y() + window.height() > bottom) p.ry() = bottom - window.height();
    } else {
        if (p.x() + window.width() > right) p.rx() = right - window.width();
        if (p.y() + window.height() > bottom && bottom - p.y() < p.y() - link.height() - area.y())
            p.ry() = p.y() - link.height() - window.height();
    }
    return QPoint(qMax(0, p.x()), qMax(0, p.y()));
}

// ---------------------------------------------------------------- TdxBarCustomCombo

TdxBarCustomCombo::TdxBarCustomCombo(TComponent* owner) : TCustomdxBarCombo(owner)
{
    items_ = new TStringList;
    items_->SetOnChange(TNotifyEvent(this, &TdxBarCustomCombo::ItemsChange));
}

TdxBarCustomCombo::~TdxBarCustomCombo()
{
    FreeAndNil(items_);
}

TStrings* TdxBarCustomCombo::Items() const
{
    return items_;
}

void TdxBarCustomCombo::SetItems(TStrings* value)
{
    if (value)
        items_->Assign(value);
    else
        items_->Clear();
}

void TdxBarCustomCombo::ItemsChange(TObject*)
{
    if (itemIndex_ >= items_->Count())
        SetItemIndex(-1);
    else
        UpdateControls();
}

void TdxBarCustomCombo::SetItemIndex(int value)
{
    if (value < 0 || value >= items_->Count()) value = -1;
    if (value == itemIndex_) return;
    itemIndex_ = value;
    const QString wanted = value >= 0 ? items_->Strings(value) : QString();
    if (Text() != wanted) {
        SetText(wanted);
        return;
    }
    QPointer<TdxBarCustomCombo> self(this);
    UpdateControls();
    Change();
    if (self) UpdateControls();
}

void TdxBarCustomCombo::SetText(const QString& value)
{
    if (itemIndex_ == -1 || itemIndex_ >= items_->Count() || items_->Strings(itemIndex_) != value)
        itemIndex_ = items_->IndexOf(value);
    TCustomdxBarCombo::SetText(value);
}

void TdxBarCustomCombo::SetSorted(bool value)
{
    if (value == sorted_) return;
    sorted_ = value;
    items_->SetSorted(value);
    SetItemIndex(items_->IndexOf(Text()));
}

bool TdxBarCustomCombo::CheckKeyForDropDownWindow(int key, TShiftState shift)
{
    if (shift & (ssShift | ssAlt | ssCtrl)) return false;
    return key == VK_PRIOR || key == VK_NEXT || key == VK_UP || key == VK_DOWN;
}

void TdxBarCustomCombo::DropDownWindowKeyDown(int key, TShiftState shift)
{
    if (TdxBarDropDownList* list = DropDownList()) list->ListKeyDown(key, shift);
}

int TdxBarCustomCombo::CurItemIndex() const
{
    TdxBarItemLink* link = FocusedLink();
    return link ? link->Control()->CurItemIndex() : itemIndex_;
}

void TdxBarCustomCombo::DrawItem(TCanvas& p, const QFont& font, int index, const TRect& rect, unsigned state,
                                 bool flatInterior)
{
    TRestore canvas(canvas_, &p);
    std::function<void()> ownerDraw;
    if (OnDrawItem) ownerDraw = [&] { OnDrawItem(this, index, rect, state); };
    const QString text = index >= 0 && index < items_->Count() ? items_->Strings(index)
                         : index == -1                         ? Text()
                                                               : QString();
    dxBarWindowServices().DrawComboEntry(p, font, text, rect, state, flatInterior, ownerDraw);
}

void TdxBarCustomCombo::MeasureItem(int index, const QFont& font, int& height)
{
    // The font's line height ("Qq" needs no shaping to measure it).
    height = itemHeight_ > 0 ? itemHeight_ : QFontMetrics(font).height();
    if (OnMeasureItem) OnMeasureItem(this, index, height);
}

void TdxBarCustomCombo::MeasureItemWidth(int index, const QFont& font, int& width)
{
    width = TextExtent(font, index >= 0 && index < items_->Count() ? items_->Strings(index) : QString()).width() + 2;
}

int TdxBarCustomCombo::FindBestMatch(const QString& text) const
{
    if (text.isEmpty()) return -1;
    int best = -1;
    int bestLength = 0;
    for (int i = 0; i < items_->Count(); ++i) {
        const QString entry = items_->Strings(i);
        if (entry.startsWith(text, Qt::CaseInsensitive)) return i;
        int length = 0;
        while (length < entry.size() && length < text.size() && entry[length].toLower() == text[length].toLower())
            ++length;
        if (length > bestLength) {
            best = i;
            bestLength = length;
        }
    }
    return best;
}

TdxBarDropDownList* TdxBarCustomCombo::DropDownList()
{
    if (!listObject_) {
        list_ = dxBarWindowServices().CreateDropDownList(this);
        listObject_ = list_ ? list_->ListObject() : nullptr;
    }
    return listObject_ ? list_ : nullptr;
}

TNativeWindow* TdxBarCustomCombo::GetDropDownWindow()
{
    if (TNativeWindow* window = TCustomdxBarCombo::GetDropDownWindow()) return window;
    TdxBarDropDownList* list = DropDownList();
    return list ? list->ListWidget() : nullptr;
}

void TdxBarCustomCombo::DropDown(QPoint preferred, QSize linkSize, bool vertical)
{
    if (TCustomdxBarCombo::GetDropDownWindow()) {
        TCustomdxBarCombo::DropDown(preferred, linkSize, vertical);
        return;
    }
    QPointer<TdxBarCustomCombo> self(this);
    if (OnDropDown) OnDropDown(this);
    if (!self) return;
    TdxBarDropDownList* list = DropDownList();
    if (!list) return;
    list->Prepare(CurItemIndex());
    list->Drop(preferred, linkSize, vertical);
}

void TdxBarCustomCombo::CloseUp()
{
    if (TCustomdxBarCombo::GetDropDownWindow()) {
        TCustomdxBarCombo::CloseUp();
        return;
    }
    if (listObject_) list_->CloseList();
    if (OnCloseUp) OnCloseUp(this);
}

void TdxBarCustomCombo::CurChange()
{
    QPointer<TdxBarCustomCombo> self(this);
    TCustomdxBarCombo::CurChange();
    if (!self || !listObject_ || !list_->ListVisible()) return;
    const int exact = items_->IndexOf(CurText());
    list_->SelectIndex(exact >= 0 ? exact : FindBestMatch(CurText()));
}

TdxBarCombo::TdxBarCombo(TComponent* owner) : TdxBarCustomCombo(owner) {}

// ---------------------------------------------------------------- TCustomdxBarSubItem

TCustomdxBarSubItem::TCustomdxBarSubItem(TComponent* owner) : TdxBarItem(owner)
{
    itemLinks_ = new TdxBarItemLinks(BarManager(), this);
}

TCustomdxBarSubItem::~TCustomdxBarSubItem()
{
    detachingBar_ = -1;
    FreeAndNil(itemLinks_);
}

void TCustomdxBarSubItem::SetItemLinks(TdxBarItemLinks* value)
{
    if (value && value != itemLinks_) itemLinks_->Assign(value);
}

void TCustomdxBarSubItem::SetShowCaption(bool value)
{
    if (value == showCaption_) return;
    showCaption_ = value;
    if (!Loading()) RepaintBars();
}

void TCustomdxBarSubItem::SetDetachingBar(int value)
{
    TdxBars* bars = BarManager() ? BarManager()->Bars() : nullptr;
    if (!bars || value < -1 || value >= bars->Count()) value = -1;
    detachingBar_ = value;
}

void TCustomdxBarSubItem::ManagerAssigned()
{
    itemLinks_->SetBarManager(BarManager());
}

void TCustomdxBarSubItem::BarNotification(TOperation operation, TdxBar* bar)
{
    if (operation == opRemove && bar && bar->Index() == detachingBar_) SetDetachingBar(-1);
}

void TCustomdxBarSubItem::CloseUp()
{
    if (OnCloseUp) OnCloseUp(this);
}

void TCustomdxBarSubItem::Detaching()
{
    if (OnDetaching) OnDetaching(this);
}

void TCustomdxBarSubItem::Popup()
{
    if (OnPopup) OnPopup(this);
}

TdxBarSubItem::TdxBarSubItem(TComponent* owner) : TCustomdxBarSubItem(owner) {}

// ---------------------------------------------------------------- container items

TCustomdxBarContainerItem::TCustomdxBarContainerItem(TComponent* owner) : TCustomdxBarSubItem(owner) {}

TCustomdxBarContainerItem::~TCustomdxBarContainerItem()
{
    if (clearPending_) TCustomdxBarContainerItem::ClearItems();
}

void TCustomdxBarContainerItem::AddListedItemLinks(TdxBarItemLinks*, int, TdxBarItemLink*, bool firstUse)
{
    if (clearPending_) ClearItems();
    if (firstUse && OnGetData) OnGetData(this);
}

TdxBarContainerItem::TdxBarContainerItem(TComponent* owner) : TCustomdxBarContainerItem(owner) {}

void TdxBarContainerItem::AddListedItemLinks(TdxBarItemLinks* links, int index, TdxBarItemLink* ownLink, bool firstUse)
{
    QPointer<TdxBarContainerItem> self(this);
    TCustomdxBarContainerItem::AddListedItemLinks(links, index, ownLink, firstUse);
    if (!self || !links || links == ItemLinks()) return;
    const QList<TdxBarItemLink*> sources = ItemLinks()->CanVisibleItems();
    for (int i = 0; i < sources.size(); ++i) {
        TdxBarItemLink* copy = links->Insert(index + i);
        copy->Assign(sources[i]);
        copy->SetOriginalItemLink(ownLink);
        if (i == 0 && ReplaceOwnLink()) copy->SetBeginGroup(true);
        copy->CopyRecentState(ownLink);
    }
}

void TdxBarContainerItem::DeleteListedItemLinks(TdxBarItemLinks* links, int index)
{
    if (!links || links == ItemLinks()) return;
    for (int i = ItemLinks()->CanVisibleItemCount(); i > 0 && index < links->Count(); --i) delete links->Items(index);
}

// ---------------------------------------------------------------- TdxBarListItem

TdxBarListItem::TdxBarListItem(TComponent* owner) : TCustomdxBarContainerItem(owner)
{
    items_ = new TStringList;
}

TdxBarListItem::~TdxBarListItem()
{
    while (!buttons_.isEmpty()) delete buttons_.takeLast();
    FreeAndNil(items_);
}

TStrings* TdxBarListItem::Items() const
{
    return items_;
}

void TdxBarListItem::SetItems(TStrings* value)
{
    if (value)
        items_->Assign(value);
    else
        items_->Clear();
}

void TdxBarListItem::SetItemIndex(int value)
{
    itemIndex_ = std::clamp(value, -1, items_->Count() - 1);
}

static bool IsSeparator(const QString& entry)
{
    return entry == QLatin1String("-");
}

int TdxBarListItem::DataIndex() const
{
    if (itemIndex_ < 0) return -1;
    int numbered = 0;
    for (int i = 0; i <= itemIndex_ && i < items_->Count(); ++i)
        if (!IsSeparator(items_->Strings(i))) ++numbered;
    return numbered - 1;
}

void TdxBarListItem::SetDataIndex(int value)
{
    int number = 0;
    for (int i = 0; i < items_->Count(); ++i) {
        if (IsSeparator(items_->Strings(i))) continue;
        if (number++ == value) {
            SetItemIndex(i);
            return;
        }
    }
    SetItemIndex(-1);  // no entry of that number
}

int TdxBarListItem::NumberedCount() const
{
    int count = 0;
    for (int i = 0; i < items_->Count(); ++i)
        if (!IsSeparator(items_->Strings(i))) ++count;
    return count;
}

void TdxBarListItem::DoClick()
{
    for (TdxBarItemLink* link : LinkList())
        if (link->Control() && link->Control()->IsActive()) return;
    TCustomdxBarContainerItem::DoClick();
}

static QString NumberPrefix(int number)
{
    if (number < 9) return QStringLiteral("&%1 ").arg(number + 1);
    if (number < 9 + 26) return QStringLiteral("&%1 ").arg(QChar('A' + number - 9));
    return QString();  // past "Z" there is no accelerator left
}

void TdxBarListItem::AddListedItemLinks(TdxBarItemLinks* links, int index, TdxBarItemLink* ownLink, bool firstUse)
{
    QPointer<TdxBarListItem> self(this);
    TCustomdxBarContainerItem::AddListedItemLinks(links, index, ownLink, firstUse);
    if (!self || !links) return;
    if (buttons_.isEmpty()) {
        TComponent* form = BarManager() && BarManager()->OwnerForm() ? BarManager()->OwnerForm() : Owner();
        for (int pos = 0, number = 0; pos < items_->Count(); ++pos) {
            const QString entry = items_->Strings(pos);
            if (IsSeparator(entry)) continue;
            auto* button = Create<TdxBarButton>(form);
            if (showCheck_ && pos == itemIndex_) {
                button->SetButtonStyle(bsChecked);
                button->SetDown(true);
            }
            button->SetCaption((showNumbers_ ? NumberPrefix(number) : QString()) + GetDisplayText(entry));
            button->SetTag(pos);
            button->SetOnClick(TNotifyEvent(this, &TdxBarListItem::ButtonClick));
            button->SetEnabled(Enabled());
            button->FreeNotification(this);  // the form may free it first
            buttons_.append(button);
            ++number;
        }
    }
    bool groupStart = true;
    for (int pos = 0, number = 0; pos < items_->Count() && number < buttons_.size(); ++pos) {
        if (IsSeparator(items_->Strings(pos))) {
            groupStart = true;
            continue;
        }
        TdxBarItemLink* link = links->Insert(index + number);
        link->SetOriginalItemLink(ownLink);
        link->SetItem(buttons_[number]);
        link->SetBeginGroup(groupStart);
        link->CopyRecentState(ownLink);
        groupStart = false;
        ++number;
    }
}

void TdxBarListItem::DeleteListedItemLinks(TdxBarItemLinks* links, int index)
{
    if (!links) return;
    for (int i = std::min(NumberedCount(), int(buttons_.size())); i > 0 && index < links->Count(); --i)
        delete links->Items(index);
}

void TdxBarListItem::ClearItems()
{
    if (!buttons_.isEmpty() && buttons_.first()->LinkCount() == 0)
        while (!buttons_.isEmpty()) delete buttons_.takeLast();
    TCustomdxBarContainerItem::ClearItems();
}

void TdxBarListItem::Notification(TComponent* component, TOperation operation)
{
    TCustomdxBarContainerItem::Notification(component, operation);
    // The button is half destroyed by now: compare addresses as components, never downcast.
    if (operation == opRemove)
        buttons_.removeIf([component](TdxBarButton* b) { return static_cast<TComponent*>(b) == component; });
}

void TdxBarListItem::ButtonClick(TObject* sender)
{
    auto* button = qobject_cast<TdxBarButton*>(sender);
    if (!button) return;
    SetItemIndex(button->Tag());
    DoClick();
}

// ---------------------------------------------------------------- insertion rule

bool dxBarCanInsertItem(TdxBarItem* owner, TdxBarItem* item)
{
    if (!item) return true;
    if (item == owner) return false;
    auto* sub = qobject_cast<TCustomdxBarSubItem*>(item);
    return !(sub && sub->ItemLinks() && sub->ItemLinks()->ContainsItem(owner));
}
