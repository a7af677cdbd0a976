#pragma once
// Forms: top-level windows that stream their component tree from their form resource.
//
// Life cycle: new TForm1(owner), then AfterConstruction(), which reads the resource of
// the form's class, lays out the controls and fires OnCreate (an exception from OnCreate
// is shown through Application; the form stays). OnShow fires on the first show only.
//
// Closing: Close() (and the window's close button) asks OnCloseQuery, then OnClose with
// caHide; caNone or an exception from either keeps the window open (an EAbort silently).
// The main form's close terminates the application; caFree frees the form later, from
// the event loop.
//
// Form style: fsStayOnTop keeps the window above the other windows. fsMDIForm makes the
// form an MDI frame: the client remainder (what its aligned controls leave) holds the MDI
// client, an area of child windows. An fsMDIChild form made while the main form, or else its
// owner, is an MDI frame lives in a sub-window of that frame's client; elsewhere it is a
// normal window. A child's bounds are its window's place in the client and its own client
// size; its WindowState is the sub-window's. A maximized child fills the client without a
// frame of its own (the frame's menu bar carries its icon and buttons). The frame tells of
// a change of its active child (MDIActivated) and of its children's states
// (MDIChildStateChanged).
//
// System menu: a form with biSystemMenu in BorderIcons and a border has one (SystemMenu.h);
// SysCommand runs its commands.
//
// Owner window: a form may belong to another window (its owner) without being its Qt child:
// the owner is the window's transient parent, so the window manager keeps the form above it
// and treats them as one, while the form keeps its own enabled state and lifetime. The owner
// is applied whenever the form's window is shown or re-made.
//
// Border style: bsSizeable is a normal window; bsSingle, bsDialog and bsToolWindow keep the
// client size the form was given (the user cannot resize them); bsDialog and the tool
// windows have no minimize or maximize button; bsNone is frameless. A shown form stays
// shown when its border style changes.
//
// Dialog keys: Enter or Escape that reaches the form unhandled (no control took it) clicks
// a button through TButton::Click. Enter clicks the focused button, or else the visible,
// enabled Default button, unless the focus is in a memo; Escape clicks the visible, enabled
// Cancel button. Keys with Shift, Ctrl or Alt are left alone.
//
// Destruction: the form marks everything it owns csDestroying, calls BeforeFormDestroy()
// on every component it owns (depth-first, owners before what they own) while all still
// exist, frees its owned components last-first, and only then deletes its window.
#include "Controls.h"
#include "Dialogs.h"

#include <QImage>
#include <QPointer>

class QEventLoop;
class QKeyEvent;
class QMdiArea;
class QMdiSubWindow;
class TSystemMenu;
class TButton;
class TDialogScript;

using TCloseEvent = TEvent<TObject*, TCloseAction&>;
using TCloseQueryEvent = TEvent<TObject*, bool&>;
Q_DECLARE_METATYPE(TCloseEvent)

class TCustomForm : public TWinControl {
    Q_OBJECT
    Q_PROPERTY(ControlTypes::TFormBorderStyle BorderStyle READ BorderStyle WRITE SetBorderStyle)
    Q_PROPERTY(ControlTypes::TFormStyle FormStyle READ FormStyle WRITE SetFormStyle)
    Q_PROPERTY(ControlTypes::TBorderIcons BorderIcons READ BorderIcons WRITE SetBorderIcons)
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
    Q_PROPERTY(int ClientWidth READ ClientWidth WRITE SetClientWidth STORED false)
    Q_PROPERTY(int ClientHeight READ ClientHeight WRITE SetClientHeight STORED false)
    Q_PROPERTY(ControlTypes::TFormPosition Position READ Position WRITE SetPosition)
    Q_PROPERTY(ControlTypes::TWindowState WindowState READ WindowState WRITE SetWindowState)
    Q_PROPERTY(TWinControl* ActiveControl READ ActiveControl WRITE SetActiveControl)
    Q_PROPERTY(TNotifyEvent OnCreate READ OnCreate WRITE SetOnCreate)
    Q_PROPERTY(TNotifyEvent OnShow READ OnShow WRITE SetOnShow)
    Q_PROPERTY(TNotifyEvent OnHide READ OnHide WRITE SetOnHide)
    Q_PROPERTY(TCloseEvent OnClose READ OnClose WRITE SetOnClose)
    Q_CLASSINFO("Default.Visible", "False")
    Q_CLASSINFO("Default.ParentColor", "False")
    Q_CLASSINFO("Default.ParentFont", "False")
    Q_CLASSINFO("Default.BorderStyle", "bsSizeable")
    Q_CLASSINFO("Default.BorderIcons", "[biSystemMenu,biMinimize,biMaximize]")
    Q_CLASSINFO("Default.FormStyle", "fsNormal")
    Q_CLASSINFO("Default.Caption", "''")
    Q_CLASSINFO("Default.Position", "poDesigned")
    Q_CLASSINFO("Default.WindowState", "wsNormal")
public:
    explicit TCustomForm(TComponent* owner);
    ~TCustomForm() override;
    // The form whose window is window (a top-level widget); none for other windows.
    static TCustomForm* FromWindow(const QWidget* window);

    // Reads the form resource of the class (none is fine), lays out, fires OnCreate.
    void AfterConstruction() override;

    TFormBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TFormBorderStyle value);
    // The title bar's buttons where the border style has them; an empty set leaves a
    // sizeable window with its title alone.
    TBorderIcons BorderIcons() const { return borderIcons_; }
    void SetBorderIcons(TBorderIcons value);
    TFormStyle FormStyle() const { return formStyle_; }
    void SetFormStyle(TFormStyle value);

    // --- MDI (see above)
    // The frame's client; none for other forms.
    QMdiArea* MDIClient() const { return mdiClient_; }
    // The frame's active child (none without one).
    TCustomForm* ActiveMDIChild() const;
    // The frame's children in the client's creation order.
    int MDIChildCount() const;
    TCustomForm* MDIChildren(int index) const;
    // The frame a child lives in; none for a form that is no MDI child.
    TCustomForm* MDIFrame() const;
    QMdiSubWindow* MDISubWindow() const;
    // The window is maximized.
    bool IsZoomed() const { return WindowState() == wsMaximized; }
    // The system menu; none for a form without one (see above).
    TSystemMenu* SystemMenu() const;
    // Runs a system-menu command (SC_*): restore, minimize, maximize, close; next activates
    // the frame's next child; move and size start the sub-window's keyboard move or size.
    void SysCommand(int id);
    // The window's icon at 16 x 16 (the application's when the window has none).
    QImage SmallIcon() const;
    // The window this form belongs to (see above); nullptr: none. A window's own widget or
    // any widget of it may be given: its top-level window is taken.
    QWidget* OwnerWindow() const { return ownerWindow_; }
    void SetOwnerWindow(QWidget* window);
    QString Caption() const;
    void SetCaption(const QString& value);
    void SetClientWidth(int value) { SetWidth(value); }
    void SetClientHeight(int value) { SetHeight(value); }
    TFormPosition Position() const { return position_; }
    void SetPosition(TFormPosition value) { position_ = value; }
    TWindowState WindowState() const;
    void SetWindowState(TWindowState value);
    TWinControl* ActiveControl() const { return activeControl_; }
    // nullptr is allowed; a control of another form is refused.
    void SetActiveControl(TWinControl* control);

    // A fixed-size form also fixes its window to the new size.
    void SetBounds(int left, int top, int width, int height) override;
    void SetVisible(bool value) override;
    bool HasParent() const override { return false; }
    // Gives the window the focus (the active control keeps it).
    void SetFocus() override;

    // Asks and closes as described above. False when the form stays open (OnCloseQuery or
    // OnClose refused); a modal form's close only sets its result.
    bool Close();
    // OnCloseQuery's answer (true when unassigned).
    virtual bool CloseQuery();
    // Frees the form from the event loop, after the current handler has returned.
    void Release();

    // Shows the form modal: runs a local event loop until ModalResult becomes non-zero
    // (and OnClose agrees) and returns it; the form is hidden afterwards. EInvalidOperation
    // when the form is visible already or modal. Under a dialog script the script's form
    // handlers answer instead of a loop (DialogScript.h).
    int ShowModal();
    TModalResult ModalResult() const { return modalResult_; }
    void SetModalResult(TModalResult value);
    bool Modal() const { return modalLoop_ != nullptr; }

    TNotifyEvent OnCreate() const { return onCreate_; }
    void SetOnCreate(const TNotifyEvent& e) { onCreate_ = e; }
    TNotifyEvent OnShow() const { return onShow_; }
    void SetOnShow(const TNotifyEvent& e) { onShow_ = e; }
    TNotifyEvent OnHide() const { return onHide_; }
    void SetOnHide(const TNotifyEvent& e) { onHide_ = e; }
    TCloseEvent OnClose() const { return onClose_; }
    void SetOnClose(const TCloseEvent& e) { onClose_ = e; }
    TCloseQueryEvent OnCloseQuery() const { return onCloseQuery_; }
    void SetOnCloseQuery(const TCloseQueryEvent& e) { onCloseQuery_ = e; }

    void GetChildren(const TGetChildProc& proc, TComponent* root) override;

Q_SIGNALS:
    void MDIActivated();
    void MDIChildStateChanged(TCustomForm* child);

protected:
    void PlaceClientRemainder(const QRect& rect) override;
    void UpdateWidgetGeometry() override;
    // Reads the resource of the form's class; forms without one keep their defaults.
    virtual void ReadResource();
    void DoCreate();
    void DoShow();
    void DoClose(TCloseAction& action);
    bool WidgetEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    // Enter and Escape as described above; true when a button was clicked.
    virtual bool DialogKey(const QKeyEvent& event);
    QString DoGetText() const override { return Caption(); }
    void DoSetText(const QString& value) override { SetCaption(value); }

private:
    void ShowWindow();
    void PlaceOnFirstShow();
    bool CloseModal();
    // The scripted answer of a modal form (DialogScript.h).
    void AnswerModal(TDialogScript& script);
    void CallBeforeFormDestroy(TComponent* component);
    void ApplyBorderStyle();
    void ApplyOwnerWindow();
    void ApplySizeLimits();
    TWinControl* FocusedControl() const;
    TButton* FindButton(bool (TButton::*flag)() const) const;

    TFormBorderStyle borderStyle_ = bsSizeable;
    void ApplyFormStyle();
    void MakeMDIClient();
    void EnterSubWindow(TCustomForm* frame);
    void ChildStateChanged();
    void UpdateChildFrame();
    // A child's client size from its sub-window's size.
    void FollowSubWindow();

    TBorderIcons borderIcons_ = TBorderIcons(biSystemMenu | biMinimize | biMaximize);
    TFormStyle formStyle_ = fsNormal;
    QMdiArea* mdiClient_ = nullptr;
    // The child's QMdiSubWindow (kept as a widget: the header stays light).
    QPointer<QWidget> subWindow_;
    // A child's bounds while it was last neither maximized nor minimized, and the state last
    // reported to its frame.
    QRect normalBounds_;
    // The frame's current child's sub-window as last activated.
    QPointer<QWidget> currentChild_;
    TWindowState childState_ = wsNormal;
    bool changingChildFrame_ = false;
    TSystemMenu* systemMenu_ = nullptr;
    QPointer<QWidget> ownerWindow_;
    TFormPosition position_ = poDesigned;
    TWindowState windowState_ = wsNormal;
    QPointer<TWinControl> activeControl_;
    TModalResult modalResult_ = mrNone;
    QEventLoop* modalLoop_ = nullptr;
    QString caption_;
    bool shownOnce_ = false;
    TNotifyEvent onCreate_, onShow_, onHide_;
    TCloseEvent onClose_;
    TCloseQueryEvent onCloseQuery_;
};

class TForm : public TCustomForm {
    Q_OBJECT
public:
    using TCustomForm::TCustomForm;
};
