#pragma once
// A small action model: commands that carry their own caption, enabled state and handler,
// shared by the controls linked to them. Clients reach an action through an action link,
// which the action tells of every change.
#include "Classes.h"
#include "Keys.h"

#include <QList>
#include <QString>

class TBasicAction;

// One client's connection to an action. The action calls Change() on every change of
// itself; the client installs OnChange to follow.
class TBasicActionLink : public QObject {
    Q_OBJECT
public:
    explicit TBasicActionLink(QObject* client);
    ~TBasicActionLink() override;

    TBasicAction* Action() const { return action_; }
    void SetAction(TBasicAction* value);
    QObject* Client() const { return client_; }
    // Runs the action's execute protocol; False without an action.
    virtual bool Execute();
    // Runs the action's update handler; False without an action.
    virtual bool Update();

    TNotifyEvent OnChange;

protected:
    friend class TBasicAction;
    friend class TCustomAction;
    virtual void Change();
    // Property updates from a TCustomAction, passed on while the property is linked.
    virtual void SetCaption(const QString&) {}
    virtual void SetChecked(bool) {}
    virtual void SetEnabled(bool) {}
    virtual void SetHelpContext(int) {}
    virtual void SetHint(const QString&) {}
    virtual void SetImageIndex(int) {}
    virtual void SetShortCut(TShortCut) {}
    virtual void SetVisible(bool) {}
    virtual void SetOnExecute(const TNotifyEvent&) {}

private:
    QObject* client_;
    TBasicAction* action_ = nullptr;
};

class TBasicAction : public TComponent {
    Q_OBJECT
    Q_PROPERTY(TNotifyEvent OnExecute READ GetOnExecute WRITE SetOnExecute)
    Q_PROPERTY(TNotifyEvent OnUpdate READ GetOnUpdate WRITE SetOnUpdate)
public:
    Q_INVOKABLE explicit TBasicAction(TComponent* owner);
    ~TBasicAction() override;

    // Runs OnExecute; True when a handler ran.
    virtual bool Execute();
    // Runs OnUpdate; True when a handler ran.
    virtual bool Update();

    const TNotifyEvent& GetOnExecute() const { return onExecute_; }
    virtual void SetOnExecute(const TNotifyEvent& value);
    const TNotifyEvent& GetOnUpdate() const { return onUpdate_; }
    void SetOnUpdate(const TNotifyEvent& value) { onUpdate_ = value; }

    const QList<TBasicActionLink*>& Clients() const { return clients_; }

protected:
    friend class TBasicActionLink;
    // Tells every client link that the action changed.
    void Change();

private:
    TNotifyEvent onExecute_;
    TNotifyEvent onUpdate_;
    QList<TBasicActionLink*> clients_;
};

// The standard action: a command with the properties its clients show.
class TCustomAction : public TBasicAction {
    Q_OBJECT
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
    Q_PROPERTY(bool Checked READ Checked WRITE SetChecked)
    Q_PROPERTY(bool Enabled READ Enabled WRITE SetEnabled)
    Q_PROPERTY(int HelpContext READ HelpContext WRITE SetHelpContext)
    Q_PROPERTY(QString Hint READ Hint WRITE SetHint)
    Q_PROPERTY(int ImageIndex READ ImageIndex WRITE SetImageIndex)
    Q_PROPERTY(int ShortCut READ ShortCut WRITE SetShortCut)
    Q_PROPERTY(bool Visible READ Visible WRITE SetVisible)
    Q_CLASSINFO("Default.Checked", "False")
    Q_CLASSINFO("Default.Enabled", "True")
    Q_CLASSINFO("Default.HelpContext", "0")
    Q_CLASSINFO("Default.ImageIndex", "-1")
    Q_CLASSINFO("Default.ShortCut", "0")
    Q_CLASSINFO("Default.Visible", "True")
public:
    Q_INVOKABLE explicit TCustomAction(TComponent* owner);

    bool Execute() override;

    const QString& Caption() const { return caption_; }
    void SetCaption(const QString& value);
    bool Checked() const { return checked_; }
    void SetChecked(bool value);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool value);
    int HelpContext() const { return helpContext_; }
    void SetHelpContext(int value);
    const QString& Hint() const { return hint_; }
    void SetHint(const QString& value);
    int ImageIndex() const { return imageIndex_; }
    void SetImageIndex(int value);
    TShortCut ShortCut() const { return shortCut_; }
    void SetShortCut(int value);
    bool Visible() const { return visible_; }
    void SetVisible(bool value);
    void SetOnExecute(const TNotifyEvent& value) override;

private:
    template <class F>
    void ForEachLink(F f);

    QString caption_;
    bool checked_ = false;
    bool enabled_ = true;
    int helpContext_ = 0;
    QString hint_;
    int imageIndex_ = -1;
    TShortCut shortCut_ = 0;
    bool visible_ = true;
};
