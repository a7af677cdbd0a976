#pragma once
// TdxBarItem: the base of every command of the bar library, and its coupling to an action.
//
// An item is a component owned by the form and listed by the form's bar manager. It is
// shown through any number of item links; each link owns an item control while it is on
// screen. Setters pass their change on to the links' controls (skipping links whose user
// override covers the property) and to the manager.
#include "Classes.h"
#include "Keys.h"
#include "dxBarActions.h"
#include "dxBarTypes.h"

#include <QList>
#include <QPointer>
#include <QString>
#include <functional>

Q_MOC_INCLUDE("Graphics.h")

class TBitmap;
class TdxBar;
class TdxBarItem;
class TdxBarItemControl;
class TdxBarItemLink;
class TdxBarManager;

// The item's link to its action: tells the item what changed in the action, for the
// properties the item still shares with it.
class TdxBarItemActionLink : public TBasicActionLink {
    Q_OBJECT
public:
    explicit TdxBarItemActionLink(TdxBarItem* client);

    TdxBarItem* Item() const;
    // A property is linked when the action is a standard action and the item's value still
    // equals the action's.
    bool IsCaptionLinked() const;
    bool IsCheckedLinked() const;
    bool IsEnabledLinked() const;
    bool IsHelpContextLinked() const;
    bool IsHintLinked() const;
    bool IsImageIndexLinked() const;
    bool IsShortCutLinked() const;
    bool IsVisibleLinked() const;
    bool IsOnExecuteLinked() const;

protected:
    void SetCaption(const QString& value) override;
    void SetChecked(bool value) override;
    void SetEnabled(bool value) override;
    void SetHelpContext(int value) override;
    void SetHint(const QString& value) override;
    void SetImageIndex(int value) override;
    void SetShortCut(TShortCut value) override;
    void SetVisible(bool value) override;
    void SetOnExecute(const TNotifyEvent& value) override;

private:
    TCustomAction* StandardAction() const;
};

class TdxBarItem : public TComponent {
    Q_OBJECT
    Q_PROPERTY(TBasicAction* Action READ Action WRITE SetAction)
    Q_PROPERTY(dxBarTypes::TdxBarItemAlign Align READ Align WRITE SetAlign)
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
    Q_CLASSINFO("Stored.Caption", "IsCaptionStored")
    Q_PROPERTY(int Category READ Category WRITE SetCategory)
    Q_PROPERTY(QString Description READ Description WRITE SetDescription)
    Q_PROPERTY(bool Enabled READ Enabled WRITE SetEnabled)
    Q_CLASSINFO("Stored.Enabled", "IsEnabledStored")
    Q_PROPERTY(int HelpContext READ HelpContext WRITE SetHelpContext)
    Q_CLASSINFO("Stored.HelpContext", "IsHelpContextStored")
    Q_PROPERTY(QString Hint READ Hint WRITE SetHint)
    Q_CLASSINFO("Stored.Hint", "IsHintStored")
    Q_PROPERTY(dxBarTypes::TdxBarItemVisible Visible READ Visible WRITE SetVisible)
    Q_CLASSINFO("Stored.Visible", "IsVisibleStored")
    Q_PROPERTY(TNotifyEvent OnDestroy READ OnDestroy WRITE SetOnDestroy)
    Q_CLASSINFO("Default.Align", "iaLeft")
    Q_CLASSINFO("Default.Enabled", "True")
    Q_CLASSINFO("Default.HelpContext", "0")
    Q_CLASSINFO("Default.Visible", "ivAlways")
    Q_CLASSINFO("Default.ImageIndex", "-1")
    Q_CLASSINFO("Default.ShortCut", "0")
    Q_CLASSINFO("Default.UnclickAfterDoing", "True")
public:
    // Joins the manager of the owner form (else the first live manager).
    Q_INVOKABLE explicit TdxBarItem(TComponent* owner);
    // Fires OnDestroy, frees every link of the item and leaves the manager.
    ~TdxBarItem() override;

    // --- published values
    TBasicAction* Action() const;
    void SetAction(TBasicAction* value);
    TdxBarItemAlign Align() const { return align_; }
    void SetAlign(TdxBarItemAlign value);
    const QString& Caption() const { return caption_; }
    virtual void SetCaption(const QString& value);
    int Category() const { return category_; }
    void SetCategory(int value);
    const QString& Description() const { return description_; }
    void SetDescription(const QString& value);
    // Effective: True for an item with a category while its manager customizes at run time.
    bool Enabled() const;
    void SetEnabled(bool value);
    int HelpContext() const { return helpContext_; }
    void SetHelpContext(int value) { helpContext_ = value; }
    const QString& Hint() const { return hint_; }
    void SetHint(const QString& value) { hint_ = value; }
    TdxBarItemVisible Visible() const { return visible_; }
    void SetVisible(TdxBarItemVisible value);
    TBitmap* Glyph() const { return glyph_; }
    void SetGlyph(TBitmap* value);
    int ImageIndex() const { return imageIndex_; }
    void SetImageIndex(int value);
    TShortCut ShortCut() const { return shortCut_; }
    void SetShortCut(int value);
    bool UnclickAfterDoing() const { return unclickAfterDoing_; }
    void SetUnclickAfterDoing(bool value) { unclickAfterDoing_ = value; }
    const TNotifyEvent& OnClick() const { return onClick_; }
    void SetOnClick(const TNotifyEvent& value) { onClick_ = value; }
    const TNotifyEvent& OnDestroy() const { return onDestroy_; }
    void SetOnDestroy(const TNotifyEvent& value) { onDestroy_ = value; }
    // Internal: fired at the end of Loaded.
    TNotifyEvent OnLoaded;

    // --- manager and links
    TdxBarManager* BarManager() const;
    // Sets the manager (streaming, SetParentComponent) and calls ManagerAssigned.
    void SetBarManager(TdxBarManager* value);
    TdxBarItemActionLink* ActionLink() const { return actionLink_; }
    // The link being clicked; set by the item control around DoClick.
    TdxBarItemLink* ClickItemLink() const { return clickItemLink_; }
    void SetClickItemLink(TdxBarItemLink* link) { clickItemLink_ = link; }
    int LinkCount() const { return int(links_.size()); }
    // None out of range.
    TdxBarItemLink* Links(int index) const;
    const QList<TdxBarItemLink*>& LinkList() const { return links_; }
    bool HasControls() const;
    // First link whose control exists and is active.
    TdxBarItemLink* FindLiveLink() const;
    int Index() const;
    bool IsImageIndexValid() const;
    bool IsFlat() const;
    bool IsVisibleNow() const;
    // Caption without its first "&" and its first "...".
    QString GetCaptionAsHint() const;
    TdxBarItemVisible PendingVisible() const { return pendingVisible_; }
    // Applies the visibility read while loading (the manager calls it after loading).
    void ApplyPendingVisible();

    // --- click path
    virtual void DirectClick();
    virtual void DoClick();
    virtual void Click();

    // --- virtual operations
    virtual void ManagerAssigned() {}
    virtual bool CanClicked() const { return true; }
    virtual void CaptionChanged();
    virtual void EnabledChanged();
    virtual bool IsHiddenInCategory() const { return false; }
    virtual void GlyphChanged();
    virtual bool IsAccelEnabled(TdxBarItemLink* link) const;
    virtual void ControlDestroyed(TdxBarItemControl* /*control*/) {}
    virtual void HotGlyphChanged() {}
    virtual void LargeGlyphChanged() {}
    virtual bool HostsWindow() const { return false; }
    virtual void BarNotification(TOperation /*operation*/, TdxBar* /*bar*/) {}
    virtual void ShortCutChanged();
    virtual void UpdateControls();
    virtual void RepaintBars();
    virtual bool UseHotImages() const { return false; }
    virtual bool UseLargeImages() const { return false; }
    virtual void VisibleChanged();
    virtual void ActionChange(TBasicAction* action, bool checkDefaults);
    virtual void AlignChanged();
    virtual TdxBarItemActionLink* CreateActionLink();

    // --- component
    void SetName(const QString& name) override;
    bool HasParent() const override;
    TComponent* GetParentComponent() const override;
    void SetParentComponent(TComponent* value) override;
    void ReadState(TReader* reader) override;
    void Loaded() override;
    void Notification(TComponent* component, TOperation operation) override;

    // Copies the item's values into a standard action.
    void AssignTo(TPersistent* dest) override;

protected:
    // Stored rules: a value the action supplies is not streamed.
    Q_INVOKABLE bool IsCaptionStored() const;
    Q_INVOKABLE bool IsEnabledStored() const;
    Q_INVOKABLE bool IsHelpContextStored() const;
    Q_INVOKABLE bool IsHintStored() const;
    Q_INVOKABLE bool IsImageIndexStored() const;
    Q_INVOKABLE bool IsShortCutStored() const;
    Q_INVOKABLE bool IsVisibleStored() const;
    Q_INVOKABLE bool IsOnClickStored() const;
    // Does a change of the caption carry the hint along?
    virtual bool HintFollowsCaption() const;
    // Runs f on each link's live control, skipping links whose UserDefine holds skip.
    void ForEachControl(const std::function<void(TdxBarItemControl*)>& f, TdxBarUserDefines skip = {}) const;
    void NotifyManagerItemChanged();

private:
    friend class TdxBarItemLink;
    friend class TdxBarManager;
    void DoActionChange(TObject* sender);
    void GlyphChange(TObject* sender);
    void AddLink(TdxBarItemLink* link);
    void RemoveLink(TdxBarItemLink* link);
    void VisibleChangedForLink(TdxBarItemLink* link);

    TdxBarItemActionLink* actionLink_ = nullptr;
    TdxBarItemAlign align_ = iaLeft;
    QPointer<TdxBarManager> barManager_;
    QString caption_;
    int category_ = -1;
    TdxBarItemLink* clickItemLink_ = nullptr;
    QString description_;
    bool enabled_ = true;
    TBitmap* glyph_ = nullptr;
    int helpContext_ = 0;
    QString hint_;
    int imageIndex_ = -1;
    QList<TdxBarItemLink*> links_;
    TdxBarItemVisible pendingVisible_ = ivAlways;
    TShortCut shortCut_ = 0;
    bool unclickAfterDoing_ = true;
    TdxBarItemVisible visible_ = ivAlways;
    TNotifyEvent onClick_;
    TNotifyEvent onDestroy_;
};

// The accelerator of a caption: the character after the last single "&" ("&&" is a
// literal ampersand), lowered; a null character when there is none, including a caption
// that ends in a lone "&".
QChar dxBarCaptionAccel(const QString& caption);
// The same character as written in the caption (its case kept).
QChar dxBarCaptionAccelChar(const QString& caption);

// Runs f on a component that may still be loading as if it were loaded (the item setters
// only remember values while their own loading flag is set); the flag comes back after.
void dxBarRunAsLoaded(TComponent* component, const std::function<void()>& f);
