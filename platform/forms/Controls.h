#pragma once
// Controls: components that own a QWidget (composition; a control is not itself a widget).
//
// Widget ownership: a control creates its widget in its constructor and deletes it in its
// destructor. The widget's Qt parent is the parent control's widget. A TWinControl frees its
// child controls before its own widget goes, so Qt never deletes a control's widget behind
// its back in the normal order. If Qt does (the widget was moved into a foreign widget that
// was deleted), Handle() returns nullptr from then on.
//
// Bounds are kept by the control and pushed to the widget; for a top-level widget, moves and
// resizes made by the user come back into the bounds. Bounds observers hear of every change,
// also of a hidden control's, which gets no resize events from Qt.
//
// A windowed control without a parent control may sit in a foreign widget instead
// (TWinControl::SetParentWindow), and be parked again before that widget goes.
//
// Alignment: a parent lays out its visible aligned children whenever its size, a child's
// Align, Visible or bounds change: alTop, then alBottom (full remaining width, own height),
// then alLeft, alRight (remaining height, own width), then alClient (the rest). Within one
// kind, the order is by position (Top for alTop, bottom edge for alBottom, Left for alLeft,
// right edge for alRight) and, at equal positions, by the order of the parent's Controls.
#include "Classes.h"
#include "ControlTypes.h"
#include "Events.h"
#include "Graphics.h"
#include "Keys.h"

#include <QCursor>
#include <QList>
#include <QPointer>
#include <QRect>
#include <QString>
#include <QWidget>
#include <functional>
#include <utility>
#include <vector>

class QEvent;
class TWinControl;

// Mouse and key events of controls: button, shift state and client point; the virtual key
// (0 after a handler swallowed it) and the shift state; the typed character.
using TMouseEvent = TEvent<TObject*, TMouseButton, TShiftState, int, int>;
using TMouseMoveEvent = TEvent<TObject*, TShiftState, int, int>;
using TKeyEvent = TEvent<TObject*, int&, TShiftState>;
using TKeyPressEvent = TEvent<TObject*, QChar&>;
// A Qt mouse button as the events name it; any button but right and middle counts as left.
TMouseButton MouseButtonFromQt(Qt::MouseButton button);
Q_DECLARE_METATYPE(TMouseEvent)
Q_DECLARE_METATYPE(TMouseMoveEvent)
Q_DECLARE_METATYPE(TKeyEvent)
Q_DECLARE_METATYPE(TKeyPressEvent)

class TControl : public TComponent {
    Q_OBJECT
    Q_PROPERTY(int Left READ Left WRITE SetLeft)
    Q_PROPERTY(int Top READ Top WRITE SetTop)
    Q_PROPERTY(int Width READ Width WRITE SetWidth)
    Q_PROPERTY(int Height READ Height WRITE SetHeight)
    Q_PROPERTY(ControlTypes::TAlign Align READ Align WRITE SetAlign)
    Q_PROPERTY(bool Visible READ Visible WRITE SetVisible)
    Q_PROPERTY(bool Enabled READ Enabled WRITE SetEnabled)
    Q_PROPERTY(QString Hint READ Hint WRITE SetHint)
    Q_PROPERTY(bool ShowHint READ ShowHint WRITE SetShowHint)
    Q_PROPERTY(bool ParentShowHint READ ParentShowHint WRITE SetParentShowHint)
    Q_PROPERTY(ControlTypes::TCursor Cursor READ Cursor WRITE SetCursor)
    Q_PROPERTY(bool ParentColor READ ParentColor WRITE SetParentColor)
    Q_PROPERTY(TColor Color READ Color WRITE SetColor)
    Q_PROPERTY(bool ParentFont READ ParentFont WRITE SetParentFont)
    Q_PROPERTY(TFont* Font READ Font WRITE SetFont)
    Q_PROPERTY(TNotifyEvent OnResize READ OnResize WRITE SetOnResize)
    Q_CLASSINFO("Default.Left", "0")
    Q_CLASSINFO("Default.Top", "0")
    Q_CLASSINFO("Default.Align", "alNone")
    Q_CLASSINFO("Default.Visible", "True")
    Q_CLASSINFO("Default.Enabled", "True")
    Q_CLASSINFO("Default.Hint", "''")
    Q_CLASSINFO("Default.ShowHint", "False")
    Q_CLASSINFO("Default.ParentShowHint", "True")
    Q_CLASSINFO("Default.Cursor", "crDefault")
    Q_CLASSINFO("Default.ParentColor", "True")
    Q_CLASSINFO("Default.ParentFont", "True")
    Q_CLASSINFO("Default.Color", "clBtnFace")
    Q_CLASSINFO("Stored.ShowHint", "IsShowHintStored")
    Q_CLASSINFO("Stored.Color", "IsColorStored")
    Q_CLASSINFO("Stored.Font", "IsFontStored")
public:
    ~TControl() override;

    // The control's widget; nullptr only if Qt deleted it (see above).
    QWidget* Handle() const { return widget_; }
    // The widget's objectName follows the name.
    void SetName(const QString& name) override;

    TWinControl* Parent() const { return parent_; }
    // Moves the control into another parent (nullptr: none; the widget is then hidden).
    virtual void SetParent(TWinControl* parent);
    bool HasParent() const override { return true; }
    TComponent* GetParentComponent() const override;
    void SetParentComponent(TComponent* value) override;

    int Left() const { return bounds_.x(); }
    int Top() const { return bounds_.y(); }
    int Width() const { return bounds_.width(); }
    int Height() const { return bounds_.height(); }
    void SetLeft(int v) { SetBounds(v, Top(), Width(), Height()); }
    void SetTop(int v) { SetBounds(Left(), v, Width(), Height()); }
    void SetWidth(int v) { SetBounds(Left(), Top(), v, Height()); }
    void SetHeight(int v) { SetBounds(Left(), Top(), Width(), v); }
    QRect BoundsRect() const { return bounds_; }
    // Negative sizes become 0.
    virtual void SetBounds(int left, int top, int width, int height);

    TAlign Align() const { return align_; }
    virtual void SetAlign(TAlign value);
    bool Visible() const { return visible_; }
    virtual void SetVisible(bool value);
    void Show() { SetVisible(true); }
    void Hide() { SetVisible(false); }
    // Visible, and so is every parent up to a shown top-level window.
    bool Showing() const;
    bool Enabled() const { return enabled_; }
    virtual void SetEnabled(bool value);

    QString Hint() const { return hint_; }
    // A hint "short|long" shows its short part as the tooltip.
    void SetHint(const QString& value);
    bool ShowHint() const { return showHint_; }
    void SetShowHint(bool value);
    bool ParentShowHint() const { return parentShowHint_; }
    void SetParentShowHint(bool value);

    TCursor Cursor() const { return cursor_; }
    void SetCursor(TCursor value);

    TColor Color() const { return color_; }
    virtual void SetColor(TColor value);
    bool ParentColor() const { return parentColor_; }
    virtual void SetParentColor(bool value);
    TFont* Font() const { return font_; }
    void SetFont(TFont* value);
    bool ParentFont() const { return parentFont_; }
    void SetParentFont(bool value);

    // The text of controls that have one (Caption or Text); empty otherwise.
    QString GetText() const { return DoGetText(); }
    void SetText(const QString& value) { DoSetText(value); }

    void Invalidate();
    void Repaint();
    void Update() { Repaint(); }
    void BringToFront();

    TNotifyEvent OnResize() const { return onResize_; }
    void SetOnResize(const TNotifyEvent& e) { onResize_ = e; }

    // Hears of every change of the bounds (moves and sizes; shown or hidden; made in code, by
    // the parent's alignment, by auto-sizing or by the user moving a window), after OnResize,
    // with the bounds before the change. Observers run in the order they were added; each is
    // one link of the chain, removed by the id it got.
    using TBoundsObserver = std::function<void(TControl* control, const QRect& oldBounds)>;
    int AddBoundsObserver(TBoundsObserver observer);
    // Nothing for an id that is not (or no longer) there.
    void RemoveBoundsObserver(int id);

    Q_INVOKABLE bool IsShowHintStored() const { return !parentShowHint_; }
    Q_INVOKABLE bool IsColorStored() const { return !parentColor_; }
    Q_INVOKABLE bool IsFontStored() const { return !parentFont_; }

    // Called by the parent when its colour, font or hint showing changed.
    void ParentColorChanged();
    void ParentFontChanged();
    void ParentShowHintChanged();

    // The Qt cursor shape of a cursor id (arrow for ids it does not know).
    static QCursor CursorToQCursor(TCursor cursor);

protected:
    // widget becomes the control's own; it must not have a parent yet.
    TControl(TComponent* owner, QWidget* widget);

    virtual QString DoGetText() const { return {}; }
    virtual void DoSetText(const QString&) {}
    // Applies the effective colour and font to the widget (palette roles differ per widget).
    virtual void ApplyColor();
    virtual void ApplyFont();
    // Called after the size changed (children re-laid, OnResize fired).
    virtual void Resized();
    void DoResize();
    // Events of the widget, after the filter has run its own handling; true eats the event.
    virtual bool WidgetEvent(QEvent* event);
    bool eventFilter(QObject* watched, QEvent* event) override;
    // Pushes bounds_ to the widget.
    virtual void UpdateWidgetGeometry();
    // Takes bounds the window system gave the widget (a window moved or sized by the user).
    void TakeWidgetBounds(const QRect& r);
    bool EffectiveShowHint() const;
    void ApplyHint();
    // Bounds set by the parent's alignment (no realign request back to the parent).
    void SetAlignedBounds(const QRect& r);
    // The Visible value alone (forms start hidden and show their window themselves).
    void SetVisibleFlag(bool value) { visible_ = value; }

private:
    friend class TWinControl;
    void FontChanged(TObject* sender);
    void RequestAlign();
    void BoundsChanged(const QRect& old);
    // The widget is shown when the control is visible and sits in something.
    bool WidgetShown() const { return visible_ && (parent_ || parentWindow_); }

    QPointer<QWidget> widget_;
    TWinControl* parent_ = nullptr;
    QRect bounds_;
    TAlign align_ = alNone;
    bool visible_ = true;
    bool enabled_ = true;
    QString hint_;
    bool showHint_ = false;
    bool parentShowHint_ = true;
    TCursor cursor_ = crDefault;
    TColor color_ = clBtnFace;
    bool parentColor_ = true;
    TFont* font_ = nullptr;
    bool parentFont_ = true;
    bool fontFromParent_ = false;
    TNotifyEvent onResize_;
    QPointer<QWidget> parentWindow_;
    std::vector<std::pair<int, TBoundsObserver>> boundsObservers_;
    int nextObserverId_ = 1;
};

// A control that can hold other controls and take the focus. To wrap another Qt widget
// (a browser view, an editor), derive and pass the widget to the protected constructor;
// override WidgetEvent for the widget's events, ColorFillsField when the colour is a text
// field's, ApplyColor/ApplyFont when the widget shows colour or font through other palette
// roles, and disconnect the widget's signals from this object in the destructor (the widget
// outlives the derived part).
class TWinControl : public TControl {
    Q_OBJECT
    Q_PROPERTY(int TabOrder READ TabOrder WRITE SetTabOrder)
    Q_PROPERTY(bool TabStop READ TabStop WRITE SetTabStop)
    Q_CLASSINFO("Default.TabOrder", "-1")
    Q_CLASSINFO("Default.TabStop", "False")
public:
    // A plain container control over a QWidget.
    explicit TWinControl(TComponent* owner);
    // Frees the child controls (whoever owns them), then the widget.
    ~TWinControl() override;

    int ControlCount() const { return int(controls_.size()); }
    TControl* Controls(int index) const { return controls_.value(index); }

    int TabOrder() const { return tabOrder_; }
    void SetTabOrder(int value);
    bool TabStop() const { return tabStop_; }
    void SetTabStop(bool value);

    // Puts the control's widget into a foreign widget (a bar window's handle) as its child,
    // at the control's bounds, shown when Visible; the control must have no parent control
    // (EInvalidOperation). nullptr parks it: hidden, under the window of the nearest owner that
    // is a window (a form), else without a Qt parent but never shown. Park the control before
    // the foreign widget goes: Qt deletes child widgets with their parent (see Handle()).
    // Giving the control a parent control ends its stay in the foreign widget.
    void SetParentWindow(QWidget* window);
    QWidget* ParentWindow() const { return parentWindow_; }

    // Gives the keyboard focus to the control (and activates its window).
    virtual void SetFocus();
    bool Focused() const;
    bool CanFocus() const;

    // Lays out the aligned children now.
    void Realign();
    // Realign on this control and every descendant.
    void RealignAll();
    // The area children are laid out in, in the control's own coordinates.
    virtual QRect ClientRect() const;
    int ClientWidth() const { return ClientRect().width(); }
    int ClientHeight() const { return ClientRect().height(); }

    void GetChildren(const TGetChildProc& proc, TComponent* root) override;
    void Loaded() override;

protected:
    // widget (parentless) becomes the control's own; see TControl for the ownership rules.
    TWinControl(TComponent* owner, QWidget* widget);
    // The widget child widgets are placed in.
    virtual QWidget* ContainerWidget() const { return Handle(); }
    // Shrinks the full client area by borders (panels' bevels).
    virtual QRect AdjustClientRect(QRect rect) const { return rect; }
    void Resized() override;
    void ApplyColor() override;
    void ApplyFont() override;
    // The colour also fills the widget's text field (QPalette::Base): edits, memos and lists.
    virtual bool ColorFillsField() const { return false; }
    // The rectangle the aligned controls leave, after each alignment (an MDI frame's client
    // goes there).
    virtual void PlaceClientRemainder(const QRect& /*rect*/) {}

private:
    friend class TControl;
    void InsertControl(TControl* control);
    void RemoveControl(TControl* control);
    void AlignControls();
    QList<TControl*> AlignedOrder(TAlign align) const;
    void ApplyTabOrder();

    QList<TControl*> controls_;
    int tabOrder_ = -1;
    bool tabStop_ = false;
    bool aligning_ = false;
};
