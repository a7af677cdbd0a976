#include "dxBarActions.h"

TBasicActionLink::TBasicActionLink(QObject* client) : client_(client) {}

TBasicActionLink::~TBasicActionLink()
{
    SetAction(nullptr);
}

void TBasicActionLink::SetAction(TBasicAction* value)
{
    if (value == action_) return;
    if (action_) action_->clients_.removeAll(this);
    action_ = value;
    if (action_) action_->clients_.append(this);
}

bool TBasicActionLink::Execute()
{
    return action_ && action_->Execute();
}

bool TBasicActionLink::Update()
{
    return action_ && action_->Update();
}

void TBasicActionLink::Change()
{
    if (OnChange) OnChange(action_);
}

TBasicAction::TBasicAction(TComponent* owner) : TComponent(owner) {}

TBasicAction::~TBasicAction()
{
    // Links outlive their action only as empty links.
    for (TBasicActionLink* link : QList<TBasicActionLink*>(clients_)) link->action_ = nullptr;
    clients_.clear();
}

bool TBasicAction::Execute()
{
    if (!onExecute_) return false;
    onExecute_(this);
    return true;
}

bool TBasicAction::Update()
{
    if (!onUpdate_) return false;
    onUpdate_(this);
    return true;
}

void TBasicAction::SetOnExecute(const TNotifyEvent& value)
{
    if (value == onExecute_) return;
    onExecute_ = value;
    Change();
}

void TBasicAction::Change()
{
    for (TBasicActionLink* link : QList<TBasicActionLink*>(clients_))
        if (clients_.contains(link)) link->Change();
}

TCustomAction::TCustomAction(TComponent* owner) : TBasicAction(owner) {}

bool TCustomAction::Execute()
{
    Update();
    return enabled_ && TBasicAction::Execute();
}

template <class F>
void TCustomAction::ForEachLink(F f)
{
    for (TBasicActionLink* link : QList<TBasicActionLink*>(Clients()))
        if (Clients().contains(link)) f(link);
}

void TCustomAction::SetCaption(const QString& value)
{
    if (value == caption_) return;
    ForEachLink([&](TBasicActionLink* l) { l->SetCaption(value); });
    caption_ = value;
    Change();
}

void TCustomAction::SetChecked(bool value)
{
    if (value == checked_) return;
    ForEachLink([&](TBasicActionLink* l) { l->SetChecked(value); });
    checked_ = value;
    Change();
}

void TCustomAction::SetEnabled(bool value)
{
    if (value == enabled_) return;
    ForEachLink([&](TBasicActionLink* l) { l->SetEnabled(value); });
    enabled_ = value;
    Change();
}

void TCustomAction::SetHelpContext(int value)
{
    if (value == helpContext_) return;
    ForEachLink([&](TBasicActionLink* l) { l->SetHelpContext(value); });
    helpContext_ = value;
    Change();
}

void TCustomAction::SetHint(const QString& value)
{
    if (value == hint_) return;
    ForEachLink([&](TBasicActionLink* l) { l->SetHint(value); });
    hint_ = value;
    Change();
}

void TCustomAction::SetImageIndex(int value)
{
    if (value == imageIndex_) return;
    ForEachLink([&](TBasicActionLink* l) { l->SetImageIndex(value); });
    imageIndex_ = value;
    Change();
}

void TCustomAction::SetShortCut(int value)
{
    const TShortCut v = TShortCut(value);
    if (v == shortCut_) return;
    ForEachLink([&](TBasicActionLink* l) { l->SetShortCut(v); });
    shortCut_ = v;
    Change();
}

void TCustomAction::SetVisible(bool value)
{
    if (value == visible_) return;
    ForEachLink([&](TBasicActionLink* l) { l->SetVisible(value); });
    visible_ = value;
    Change();
}

void TCustomAction::SetOnExecute(const TNotifyEvent& value)
{
    if (value == GetOnExecute()) return;
    for (TBasicActionLink* link : QList<TBasicActionLink*>(Clients()))
        if (Clients().contains(link)) link->SetOnExecute(value);
    TBasicAction::SetOnExecute(value);
}
