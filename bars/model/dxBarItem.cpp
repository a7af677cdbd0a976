#include "dxBarServices.h"
#include "dxBarItem.h"

#include "ExceptionBarrier.h"
#include "Graphics.h"
#include "Scope.h"
#include "Streaming.h"
#include "dxBarItemLink.h"
#include "dxBarItems.h"
#include "dxBarManager.h"

#include <stdexcept>

// ---------------------------------------------------------------- TdxBarItemActionLink

TdxBarItemActionLink::TdxBarItemActionLink(TdxBarItem* client) : TBasicActionLink(client) {}

TdxBarItem* TdxBarItemActionLink::Item() const
{
    return static_cast<TdxBarItem*>(Client());
}

TCustomAction* TdxBarItemActionLink::StandardAction() const
{
    return qobject_cast<TCustomAction*>(Action());
}

bool TdxBarItemActionLink::IsCaptionLinked() const
{
    auto* a = StandardAction();
    return a && Item()->Caption() == a->Caption();
}

bool TdxBarItemActionLink::IsCheckedLinked() const
{
    auto* a = StandardAction();
    auto* button = qobject_cast<TdxBarButton*>(Item());
    return a && button && a->Checked() == button->Down();
}

bool TdxBarItemActionLink::IsEnabledLinked() const
{
    auto* a = StandardAction();
    return a && Item()->Enabled() == a->Enabled();
}

bool TdxBarItemActionLink::IsHelpContextLinked() const
{
    auto* a = StandardAction();
    return a && Item()->HelpContext() == a->HelpContext();
}

bool TdxBarItemActionLink::IsHintLinked() const
{
    auto* a = StandardAction();
    return a && Item()->Hint() == a->Hint();
}

bool TdxBarItemActionLink::IsImageIndexLinked() const
{
    auto* a = StandardAction();
    return a && Item()->ImageIndex() == a->ImageIndex();
}

bool TdxBarItemActionLink::IsShortCutLinked() const
{
    auto* a = StandardAction();
    return a && Item()->ShortCut() == a->ShortCut();
}

static TdxBarItemVisible VisibleFromAction(bool visible)
{
    return visible ? ivAlways : ivNever;
}

bool TdxBarItemActionLink::IsVisibleLinked() const
{
    auto* a = StandardAction();
    return a && Item()->Visible() == VisibleFromAction(a->Visible());
}

bool TdxBarItemActionLink::IsOnExecuteLinked() const
{
    auto* a = StandardAction();
    return a && Item()->OnClick().SameCode(a->GetOnExecute());
}

void TdxBarItemActionLink::SetCaption(const QString& value)
{
    if (IsCaptionLinked()) Item()->SetCaption(value);
}

void TdxBarItemActionLink::SetChecked(bool value)
{
    if (IsCheckedLinked()) static_cast<TdxBarButton*>(Item())->SetDown(value);
}

void TdxBarItemActionLink::SetEnabled(bool value)
{
    if (IsEnabledLinked()) Item()->SetEnabled(value);
}

void TdxBarItemActionLink::SetHelpContext(int value)
{
    if (IsHelpContextLinked()) Item()->SetHelpContext(value);
}

void TdxBarItemActionLink::SetHint(const QString& value)
{
    if (IsHintLinked()) Item()->SetHint(value);
}

void TdxBarItemActionLink::SetImageIndex(int value)
{
    if (IsImageIndexLinked()) Item()->SetImageIndex(value);
}

void TdxBarItemActionLink::SetShortCut(TShortCut value)
{
    if (IsShortCutLinked()) Item()->SetShortCut(value);
}

void TdxBarItemActionLink::SetVisible(bool value)
{
    if (IsVisibleLinked()) Item()->SetVisible(VisibleFromAction(value));
}

void TdxBarItemActionLink::SetOnExecute(const TNotifyEvent& value)
{
    if (IsOnExecuteLinked()) Item()->SetOnClick(value);
}

// ---------------------------------------------------------------- TdxBarItem

TdxBarItem::TdxBarItem(TComponent* owner) : TComponent(owner)
{
    barManager_ = dxBarManagerForOwner(owner);
    if (barManager_) barManager_->AddItem(this);
    glyph_ = new TBitmap;
    glyph_->SetOnChange(TNotifyEvent(this, &TdxBarItem::GlyphChange));
}

TdxBarItem::~TdxBarItem()
{
    if (onDestroy_) RunGuarded(nullptr, [this] { onDestroy_(this); });
    if (barManager_) barManager_->InternalItems().removeAll(this);
    while (!links_.isEmpty()) delete links_.takeLast();
    if (barManager_) {
        barManager_->RemoveItem(this);
        if (category_ >= 0 && dxBarCustomizingForm().Exists()) dxBarCustomizingForm().ItemDestroyed(this);
    }
    FreeAndNil(actionLink_);
    FreeAndNil(glyph_);
}

// ---------------------------------------------------------------- values

TBasicAction* TdxBarItem::Action() const
{
    return actionLink_ ? actionLink_->Action() : nullptr;
}

void TdxBarItem::SetAction(TBasicAction* value)
{
    if (value == Action() && (value || !actionLink_)) return;
    if (TBasicAction* old = Action()) old->RemoveFreeNotification(this);
    if (!value) {
        FreeAndNil(actionLink_);
        return;
    }
    if (!actionLink_) actionLink_ = CreateActionLink();
    actionLink_->SetAction(value);
    actionLink_->OnChange = TNotifyEvent(this, &TdxBarItem::DoActionChange);
    ActionChange(value, value->Loading());
    value->FreeNotification(this);
}

TdxBarItemActionLink* TdxBarItem::CreateActionLink()
{
    return new TdxBarItemActionLink(this);
}

void TdxBarItem::DoActionChange(TObject* sender)
{
    if (sender && sender == Action()) ActionChange(Action(), false);
}

void TdxBarItem::ActionChange(TBasicAction* action, bool checkDefaults)
{
    auto* a = qobject_cast<TCustomAction*>(action);
    if (!a) return;
    if (!checkDefaults || caption_.isEmpty()) SetCaption(a->Caption());
    if (auto* button = qobject_cast<TdxBarButton*>(this))
        if (!checkDefaults || !button->Down()) button->SetDown(a->Checked());
    if (!checkDefaults || enabled_) SetEnabled(a->Enabled());
    if (!checkDefaults || helpContext_ == 0) SetHelpContext(a->HelpContext());
    if (!checkDefaults || hint_.isEmpty()) SetHint(a->Hint());
    if (!checkDefaults || imageIndex_ == -1) SetImageIndex(a->ImageIndex());
    if (!checkDefaults || shortCut_ == 0) SetShortCut(a->ShortCut());
    if (!checkDefaults || visible_ == ivAlways) SetVisible(a->Visible() ? ivAlways : ivNever);
    if (!checkDefaults || !onClick_) onClick_ = a->GetOnExecute();
}

void TdxBarItem::SetAlign(TdxBarItemAlign value)
{
    if (value == align_) return;
    align_ = value;
    AlignChanged();
}

void TdxBarItem::AlignChanged()
{
    if (!Loading()) ForEachControl([](TdxBarItemControl* c) { c->AlignChanged(); });
}

QString TdxBarItem::GetCaptionAsHint() const
{
    QString s = caption_;
    const int amp = int(s.indexOf(QLatin1Char('&')));
    if (amp >= 0) s.remove(amp, 1);
    const int dots = int(s.indexOf(QLatin1String("...")));
    if (dots >= 0) s.remove(dots, 3);
    return s;
}

bool TdxBarItem::HintFollowsCaption() const
{
    const int bar = int(hint_.indexOf(QLatin1Char('|')));
    return hint_.isEmpty() || (bar >= 0 ? hint_.left(bar) : hint_) == GetCaptionAsHint();
}

void TdxBarItem::SetCaption(const QString& value)
{
    if (value == caption_) return;
    const bool hintFollows = HintFollowsCaption();
    caption_ = value;
    if (Loading()) return;
    if (hintFollows) {
        const int bar = int(hint_.indexOf(QLatin1Char('|')));
        hint_ = bar >= 0 ? GetCaptionAsHint() + QLatin1Char('|') + hint_.mid(bar + 1) : GetCaptionAsHint();
    }
    CaptionChanged();
}

void TdxBarItem::SetCategory(int value)
{
    if (value == category_) return;
    if (Loading()) {
        category_ = value;
    } else {
        if (!barManager_ || value < 0 || value >= barManager_->CategoryCount()) return;
        category_ = value;
    }
    if (!barManager_) return;
    if (barManager_->IsDesigning() && barManager_->IsCustomizing() && !Loading() && !IsDestroying())
        dxBarCustomizingForm().SelectItem(this, false);
    barManager_->Changed();
}

void TdxBarItem::SetDescription(const QString& value)
{
    if (value == description_) return;
    description_ = value;
    NotifyManagerItemChanged();
}

bool TdxBarItem::Enabled() const
{
    if (barManager_ && !barManager_->IsDesigning() && barManager_->IsCustomizing() && category_ >= 0) return true;
    return enabled_;
}

void TdxBarItem::SetEnabled(bool value)
{
    if (value == enabled_) return;
    enabled_ = value;
    if (!Loading()) EnabledChanged();
}

void TdxBarItem::SetVisible(TdxBarItemVisible value)
{
    if (Loading()) {
        pendingVisible_ = value;
        return;
    }
    if (value == visible_) return;
    visible_ = value;
    VisibleChanged();
}

void TdxBarItem::ApplyPendingVisible()
{
    SetVisible(pendingVisible_);
}

void TdxBarItem::SetGlyph(TBitmap* value)
{
    if (value) {
        glyph_->Assign(value);
    } else {
        TBitmap empty;
        glyph_->Assign(&empty);
    }
}

void TdxBarItem::GlyphChange(TObject*)
{
    GlyphChanged();
}

void TdxBarItem::SetImageIndex(int value)
{
    if (value == imageIndex_) return;
    imageIndex_ = value;
    GlyphChanged();
}

void TdxBarItem::SetShortCut(int value)
{
    const TShortCut v = TShortCut(value);
    if (v == shortCut_) return;
    shortCut_ = v;
    if (!Loading()) ShortCutChanged();
}

// ---------------------------------------------------------------- change propagation

void TdxBarItem::ForEachControl(const std::function<void(TdxBarItemControl*)>& f, TdxBarUserDefines skip) const
{
    // A control may take its bar window (and links) down with it: walk a copy and skip
    // links that are gone.
    const QList<TdxBarItemLink*> links = links_;
    for (TdxBarItemLink* link : links) {
        if (!links_.contains(link) || (link->UserDefine() & skip)) continue;
        if (TdxBarItemControl* control = link->Control()) f(control);
    }
}

void TdxBarItem::NotifyManagerItemChanged()
{
    if (barManager_) barManager_->ItemChanged(this);
}

void TdxBarItem::CaptionChanged()
{
    ForEachControl([](TdxBarItemControl* c) { c->CaptionChanged(); }, udCaption);
    NotifyManagerItemChanged();
}

void TdxBarItem::EnabledChanged()
{
    ForEachControl([](TdxBarItemControl* c) { c->EnabledChanged(); });
}

void TdxBarItem::GlyphChanged()
{
    ForEachControl([](TdxBarItemControl* c) { c->GlyphChanged(); }, udGlyph);
    NotifyManagerItemChanged();
}

void TdxBarItem::ShortCutChanged()
{
    ForEachControl([](TdxBarItemControl* c) { c->ShortCutChanged(); });
    NotifyManagerItemChanged();
}

void TdxBarItem::UpdateControls()
{
    ForEachControl([](TdxBarItemControl* c) {
        if (!c->IsSelectedInActiveBar()) c->Repaint();
    });
}

void TdxBarItem::RepaintBars()
{
    ForEachControl([](TdxBarItemControl* c) {
        if (!c->IsSelectedInActiveBar()) c->RepaintBar();
    });
}

bool TdxBarItem::IsAccelEnabled(TdxBarItemLink*) const
{
    return Enabled();
}

void TdxBarItem::VisibleChanged()
{
    if (Designing() || (barManager_ && barManager_->IsDesigning())) return;
    QPointer<TdxBarManager> manager = barManager_;
    // Unlock, then notify, also when a step fails.
    TScopeExit notify([this, &manager] {
        if (manager) manager->ItemChanged(this);
    });
    TdxBarUpdateLockScope lock(manager);
    const QList<TdxBarItemLink*> links = links_;
    for (TdxBarItemLink* link : links)
        if (links_.contains(link)) VisibleChangedForLink(link);
}

void TdxBarItem::VisibleChangedForLink(TdxBarItemLink* link)
{
    TdxBarItemLinks* links = link->Links();
    if (links) links->RebuildLists();
    if (IsVisibleNow()) {
        link->ItemClicked(false);
        if (!link->Control() && links && links->BarControl()) link->CreateControl();
        if (link->Control()) link->Control()->RepaintBar();
    } else {
        link->MoveToRecentEnd();
        if (TdxBarItemControl* control = link->Control()) {
            control->RepaintBar();
            link->DestroyControl();
        }
    }
}

// ---------------------------------------------------------------- links and state

void TdxBarItem::SetBarManager(TdxBarManager* value)
{
    if (value != barManager_) {
        if (barManager_) barManager_->RemoveItem(this);
        barManager_ = value;
        if (barManager_) barManager_->AddItem(this);
    }
    ManagerAssigned();
}

TdxBarItemLink* TdxBarItem::Links(int index) const
{
    return index >= 0 && index < links_.size() ? links_[index] : nullptr;
}

bool TdxBarItem::HasControls() const
{
    for (TdxBarItemLink* link : links_)
        if (link->Control()) return true;
    return false;
}

TdxBarItemLink* TdxBarItem::FindLiveLink() const
{
    for (TdxBarItemLink* link : links_)
        if (link->Control() && link->Control()->IsActive()) return link;
    return nullptr;
}

int TdxBarItem::Index() const
{
    return barManager_ ? int(barManager_->ItemList().indexOf(const_cast<TdxBarItem*>(this))) : -1;
}

bool TdxBarItem::IsImageIndexValid() const
{
    return barManager_ && barManager_->ImageCount() > 0 && imageIndex_ >= 0 && imageIndex_ < barManager_->ImageCount();
}

bool TdxBarItem::IsFlat() const
{
    return barManager_ && barManager_->IsFlat();
}

bool TdxBarItem::IsVisibleNow() const
{
    return visible_ == ivAlways || (visible_ == ivInCustomizing && barManager_ && barManager_->IsCustomizing());
}

void TdxBarItem::AddLink(TdxBarItemLink* link)
{
    if (!links_.contains(link)) links_.append(link);
}

void TdxBarItem::RemoveLink(TdxBarItemLink* link)
{
    links_.removeAll(link);
    if (clickItemLink_ == link) clickItemLink_ = nullptr;
}

// ---------------------------------------------------------------- click path

void TdxBarItem::DirectClick()
{
    if (CanClicked()) DoClick();
}

void TdxBarItem::DoClick()
{
    if (!Enabled()) return;
    // A handler may free the item (or its form): stop touching it once it is gone.
    QPointer<TdxBarItem> self(this);
    RunGuarded(nullptr, [this, &self] {
        if (TdxBarManager* manager = barManager_) manager->DoClickItem(this);
        if (self) Click();
    });
}

void TdxBarItem::Click()
{
    TBasicAction* action = Action();
    const bool handlerIsAction = action && onClick_.SameCode(action->GetOnExecute());
    if (onClick_ && !handlerIsAction) {
        onClick_(this);
    } else if (!Designing() && actionLink_) {
        actionLink_->Execute();
    }
}

// ---------------------------------------------------------------- component

void TdxBarItem::SetName(const QString& name)
{
    const bool changes = name != Name();
    TComponent::SetName(name);
    if (!changes) return;
    dxBarCustomizingForm().ItemRenamed(this);
    dxBarCustomizingForm().GroupItemRenamed(this);
}

bool TdxBarItem::HasParent() const
{
    return category_ >= 0;
}

TComponent* TdxBarItem::GetParentComponent() const
{
    return HasParent() ? barManager_.data() : nullptr;
}

void TdxBarItem::SetParentComponent(TComponent* value)
{
    if (Loading()) return;
    if (auto* manager = qobject_cast<TdxBarManager*>(value)) SetBarManager(manager);
}

void TdxBarItem::ReadState(TReader* reader)
{
    if (auto* manager = qobject_cast<TdxBarManager*>(reader->Parent())) SetBarManager(manager);
    TComponent::ReadState(reader);
}

void TdxBarItem::Loaded()
{
    TComponent::Loaded();
    if (Action()) ActionChange(Action(), true);
    if (OnLoaded) OnLoaded(this);
}

void TdxBarItem::Notification(TComponent* component, TOperation operation)
{
    TComponent::Notification(component, operation);
    if (operation != opRemove || !actionLink_) return;
    // The action's own destructor has already emptied the link when it is freed.
    if (component == actionLink_->Action() || !actionLink_->Action()) FreeAndNil(actionLink_);
}

void TdxBarItem::AssignTo(TPersistent* dest)
{
    auto* a = qobject_cast<TCustomAction*>(dest);
    if (!a) {
        TComponent::AssignTo(dest);
        return;
    }
    a->SetCaption(caption_);
    if (auto* button = qobject_cast<TdxBarButton*>(this)) a->SetChecked(button->Down());
    a->SetEnabled(Enabled());
    a->SetHelpContext(helpContext_);
    a->SetHint(hint_);
    a->SetImageIndex(imageIndex_);
    a->SetShortCut(shortCut_);
    if (visible_ != ivInCustomizing) a->SetVisible(visible_ == ivAlways);
    a->SetOnExecute(onClick_);
}

// ---------------------------------------------------------------- stored rules

bool TdxBarItem::IsCaptionStored() const
{
    return !actionLink_ || !actionLink_->IsCaptionLinked();
}
bool TdxBarItem::IsEnabledStored() const
{
    return !actionLink_ || !actionLink_->IsEnabledLinked();
}
bool TdxBarItem::IsHelpContextStored() const
{
    return !actionLink_ || !actionLink_->IsHelpContextLinked();
}
bool TdxBarItem::IsHintStored() const
{
    return !actionLink_ || !actionLink_->IsHintLinked();
}
bool TdxBarItem::IsImageIndexStored() const
{
    return !actionLink_ || !actionLink_->IsImageIndexLinked();
}
bool TdxBarItem::IsShortCutStored() const
{
    return !actionLink_ || !actionLink_->IsShortCutLinked();
}
bool TdxBarItem::IsVisibleStored() const
{
    return !actionLink_ || !actionLink_->IsVisibleLinked();
}
bool TdxBarItem::IsOnClickStored() const
{
    return !actionLink_ || !actionLink_->IsOnExecuteLinked();
}

// ---------------------------------------------------------------- accelerators

QChar dxBarCaptionAccel(const QString& caption)
{
    return dxBarCaptionAccelChar(caption).toLower();
}

QChar dxBarCaptionAccelChar(const QString& caption)
{
    QChar accel;
    const int n = int(caption.size());
    for (int i = 0; i < n; ++i) {
        if (caption[i] != QLatin1Char('&')) continue;
        if (i + 1 >= n) break;  // a lone "&" at the end names no character
        if (caption[i + 1] != QLatin1Char('&')) accel = caption[i + 1];
        ++i;
    }
    return accel;
}

TdxBarManager* TdxBarItem::BarManager() const
{
    return barManager_;
}

void dxBarRunAsLoaded(TComponent* component, const std::function<void()>& f)
{
    const bool loading = component->Loading();
    component->ExcludeState(csLoading);
    TScopeExit restore([component, loading] {
        if (loading) component->IncludeState(csLoading);
    });
    f();
}
