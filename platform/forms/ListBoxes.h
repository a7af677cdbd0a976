#pragma once
// List boxes over QListWidget, drawn line by line by the control itself, so that every style
// looks the same and owner drawing sees what the stock lines would.
//
// Lines: lbStandard lines are as high as the font; owner-drawn ones ItemHeight, or what
// OnMeasureItem (MeasureItem) answers for each line of an lbOwnerDrawVariable list. Drawing a
// line sets the painter (Canvas) to the line's colours (highlight when selected, else the
// list's colour and font colour), runs OnDrawItem (DrawItem), whose default fills the line and
// writes its text 2 pixels in, and then inverts the dotted focus frame on the focused line.
// A line spans the list's width, or ScrollWidth when wider (the horizontal extent).
//
// Coordinates of points and line rectangles are client coordinates: the list's area inside
// its border.
//
// Events: OnClick after the user changed the selection by the keyboard or released the left
// button over a line; setting ItemIndex or Selected fires nothing. OnDblClick after a double
// click. Mouse and key events come after the list's own handling of the press, release, move
// and key, except KeyDown, which comes first and may swallow the key by setting it to 0;
// KeyPress follows with the typed character. OnEnter and OnExit when the focus comes and goes.
#include "Controls.h"
#include "ItemStrings.h"

class QListWidget;
class QPainter;
class TListBoxDelegate;
class TListBoxView;

using TDrawItemEvent = TEvent<TWinControl*, int, QRect, TOwnerDrawState>;
using TMeasureItemEvent = TEvent<TWinControl*, int, int&>;
Q_DECLARE_METATYPE(TDrawItemEvent)
Q_DECLARE_METATYPE(TMeasureItemEvent)

class TListBox : public TWinControl {
    Q_OBJECT
    Q_PROPERTY(ControlTypes::TListBoxStyle Style READ Style WRITE SetStyle)
    Q_PROPERTY(int ItemHeight READ ItemHeight WRITE SetItemHeight)
    Q_PROPERTY(bool MultiSelect READ MultiSelect WRITE SetMultiSelect)
    Q_PROPERTY(int ScrollWidth READ ScrollWidth WRITE SetScrollWidth)
    Q_PROPERTY(TStrings* Items READ Items WRITE SetItems)
    Q_PROPERTY(int ItemIndex READ ItemIndex WRITE SetItemIndex)
    Q_PROPERTY(TNotifyEvent OnClick READ OnClick WRITE SetOnClick)
    Q_PROPERTY(TNotifyEvent OnDblClick READ OnDblClick WRITE SetOnDblClick)
    Q_PROPERTY(TDrawItemEvent OnDrawItem READ OnDrawItem WRITE SetOnDrawItem)
    Q_PROPERTY(TMeasureItemEvent OnMeasureItem READ OnMeasureItem WRITE SetOnMeasureItem)
    Q_PROPERTY(TMouseEvent OnMouseDown READ OnMouseDown WRITE SetOnMouseDown)
    Q_PROPERTY(TMouseEvent OnMouseUp READ OnMouseUp WRITE SetOnMouseUp)
    Q_PROPERTY(TMouseMoveEvent OnMouseMove READ OnMouseMove WRITE SetOnMouseMove)
    Q_PROPERTY(TKeyEvent OnKeyDown READ OnKeyDown WRITE SetOnKeyDown)
    Q_PROPERTY(TKeyPressEvent OnKeyPress READ OnKeyPress WRITE SetOnKeyPress)
    Q_PROPERTY(TNotifyEvent OnEnter READ OnEnter WRITE SetOnEnter)
    Q_PROPERTY(TNotifyEvent OnExit READ OnExit WRITE SetOnExit)
    Q_CLASSINFO("Default.Style", "lbStandard")
    Q_CLASSINFO("Default.ItemHeight", "16")
    Q_CLASSINFO("Default.MultiSelect", "False")
    Q_CLASSINFO("Default.ScrollWidth", "0")
    Q_CLASSINFO("Default.ItemIndex", "-1")
    Q_CLASSINFO("Default.ParentColor", "False")
    Q_CLASSINFO("Default.Color", "clWindow")
    Q_CLASSINFO("Default.TabStop", "True")
public:
    explicit TListBox(TComponent* owner);
    ~TListBox() override;

    // The lines, each with its object.
    TStrings* Items() const { return items_; }
    void SetItems(TStrings* value);
    void Clear() { items_->Clear(); }

    TListBoxStyle Style() const { return style_; }
    void SetStyle(TListBoxStyle value);
    // lbStandard: the font's height; owner-drawn: the height set (at least 1).
    int ItemHeight() const;
    void SetItemHeight(int value);
    bool MultiSelect() const { return multiSelect_; }
    // Extended selection (Shift and Ctrl with clicks and keys); leaving it keeps the focused line.
    void SetMultiSelect(bool value);

    // The selected line (single selection) or the focused line (multi-selection); -1 for none.
    // Setting selects that line alone and shows it; -1 or an index out of range clears.
    int ItemIndex() const;
    void SetItemIndex(int value);
    bool Selected(int index) const;
    void SetSelected(int index, bool value);
    int SelCount() const;
    // The first line shown at the top; setting scrolls it there (as far as the list scrolls).
    int TopIndex() const;
    void SetTopIndex(int value);
    // The line under a client point; a point of the client area below the last line gives
    // Count unless existing is asked for (-1), as does a point outside the client area.
    int ItemAtPos(const QPoint& pos, bool existing) const;
    // A line's rectangle in client coordinates; empty for an index out of range.
    QRect ItemRect(int index) const;
    // The lines' width when wider than the list: the horizontal scroll bar's extent.
    int ScrollWidth() const { return scrollWidth_; }
    void SetScrollWidth(int value);

    // The painter of the line being drawn; nullptr outside drawing.
    QPainter* Canvas() const { return canvas_; }
    QListWidget* ListWidget() const;

    TNotifyEvent OnClick() const { return onClick_; }
    void SetOnClick(const TNotifyEvent& e) { onClick_ = e; }
    TNotifyEvent OnDblClick() const { return onDblClick_; }
    void SetOnDblClick(const TNotifyEvent& e) { onDblClick_ = e; }
    TDrawItemEvent OnDrawItem() const { return onDrawItem_; }
    void SetOnDrawItem(const TDrawItemEvent& e);
    TMeasureItemEvent OnMeasureItem() const { return onMeasureItem_; }
    void SetOnMeasureItem(const TMeasureItemEvent& e);
    TMouseEvent OnMouseDown() const { return onMouseDown_; }
    void SetOnMouseDown(const TMouseEvent& e) { onMouseDown_ = e; }
    TMouseEvent OnMouseUp() const { return onMouseUp_; }
    void SetOnMouseUp(const TMouseEvent& e) { onMouseUp_ = e; }
    TMouseMoveEvent OnMouseMove() const { return onMouseMove_; }
    void SetOnMouseMove(const TMouseMoveEvent& e) { onMouseMove_ = e; }
    TKeyEvent OnKeyDown() const { return onKeyDown_; }
    void SetOnKeyDown(const TKeyEvent& e) { onKeyDown_ = e; }
    TKeyPressEvent OnKeyPress() const { return onKeyPress_; }
    void SetOnKeyPress(const TKeyPressEvent& e) { onKeyPress_ = e; }
    TNotifyEvent OnEnter() const { return onEnter_; }
    void SetOnEnter(const TNotifyEvent& e) { onEnter_ = e; }
    TNotifyEvent OnExit() const { return onExit_; }
    void SetOnExit(const TNotifyEvent& e) { onExit_ = e; }

protected:
    // Draws one line on Canvas (see above).
    virtual void DrawItem(int index, const QRect& rect, TOwnerDrawState state);
    // The height of one line of an lbOwnerDrawVariable list, starting from ItemHeight.
    virtual void MeasureItem(int index, int& height);
    virtual void Click();
    virtual void DblClick();
    virtual void MouseDown(TMouseButton button, TShiftState shift, int x, int y);
    virtual void MouseUp(TMouseButton button, TShiftState shift, int x, int y);
    virtual void MouseMove(TShiftState shift, int x, int y);
    virtual void KeyDown(int& key, TShiftState shift);
    virtual void KeyPress(QChar& key);
    virtual void DoEnter();
    virtual void DoExit();
    // True makes a left double click at the point count as a second press (MouseDown without
    // ssDouble, no DblClick): two quick clicks there act twice.
    virtual bool DoubleClickIsPress(int /*x*/, int /*y*/) const { return false; }
    bool ColorFillsField() const override { return true; }
    void ApplyFont() override;

private:
    friend class TListBoxView;
    friend class TListBoxDelegate;
    // Lays the lines out again after their heights or widths changed.
    void Relayout();
    int LineHeight(int index);

    TListBoxDelegate* delegate_ = nullptr;  // a child of the view
    TModelStrings* items_ = nullptr;
    TListBoxStyle style_ = lbStandard;
    int itemHeight_ = 16;
    bool multiSelect_ = false;
    int scrollWidth_ = 0;
    QPainter* canvas_ = nullptr;
    TNotifyEvent onClick_, onDblClick_, onEnter_, onExit_;
    TDrawItemEvent onDrawItem_;
    TMeasureItemEvent onMeasureItem_;
    TMouseEvent onMouseDown_, onMouseUp_;
    TMouseMoveEvent onMouseMove_;
    TKeyEvent onKeyDown_;
    TKeyPressEvent onKeyPress_;
};
