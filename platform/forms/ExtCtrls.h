#pragma once
// Panels, splitters and bevels.
#include "Controls.h"

class TPanel : public TWinControl {
    Q_OBJECT
    Q_PROPERTY(ControlTypes::TBevelCut BevelInner READ BevelInner WRITE SetBevelInner)
    Q_PROPERTY(ControlTypes::TBevelCut BevelOuter READ BevelOuter WRITE SetBevelOuter)
    Q_PROPERTY(int BevelWidth READ BevelWidth WRITE SetBevelWidth)
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
    Q_CLASSINFO("Default.BevelInner", "bvNone")
    Q_CLASSINFO("Default.BevelOuter", "bvRaised")
    Q_CLASSINFO("Default.BevelWidth", "1")
    Q_CLASSINFO("Default.ParentColor", "False")
public:
    explicit TPanel(TComponent* owner);

    TBevelCut BevelInner() const { return bevelInner_; }
    void SetBevelInner(TBevelCut value);
    TBevelCut BevelOuter() const { return bevelOuter_; }
    void SetBevelOuter(TBevelCut value);
    int BevelWidth() const { return bevelWidth_; }
    void SetBevelWidth(int value);
    // Drawn centred behind the panel's children.
    QString Caption() const { return caption_; }
    void SetCaption(const QString& value);

protected:
    // Each bevel other than bvNone takes BevelWidth pixels on every side.
    QRect AdjustClientRect(QRect rect) const override;
    QString DoGetText() const override { return caption_; }
    void DoSetText(const QString& value) override { SetCaption(value); }

private:
    void BevelsChanged();

    TBevelCut bevelInner_ = bvNone;
    TBevelCut bevelOuter_ = bvRaised;
    int bevelWidth_ = 1;
    QString caption_;
};

// Dragging a splitter resizes the aligned control next to it on its Align side (for
// alLeft the control ending at the splitter's left edge). The control keeps at least
// MinSize, and so does the space left for the others.
class TSplitter : public TControl {
    Q_OBJECT
    Q_PROPERTY(int MinSize READ MinSize WRITE SetMinSize)
    Q_CLASSINFO("Default.Align", "alLeft")
    Q_CLASSINFO("Default.Cursor", "crHSplit")
    Q_CLASSINFO("Default.MinSize", "30")
public:
    explicit TSplitter(TComponent* owner);

    int MinSize() const { return minSize_; }
    void SetMinSize(int value) { minSize_ = std::max(1, value); }

    // The control the splitter resizes now, if any.
    TControl* FindControl() const;
    // Moves the splitter by delta pixels along its axis, as a drag does.
    void MoveBy(int delta);

protected:
    bool WidgetEvent(QEvent* event) override;

private:
    bool Horizontal() const { return Align() == alLeft || Align() == alRight; }
    int NewSize(TControl* control, int delta) const;

    int minSize_ = 30;
    bool dragging_ = false;
    QPoint dragStart_;
    int startSize_ = 0;
    QPointer<TControl> dragControl_;
};

// A bevel: lines or a box in the shadow and highlight colours, lowered (shadow first) or
// raised; bsFrame is an etched box, bsSpacer draws nothing. It paints no background and lets
// the mouse through.
class TBevel : public TControl {
    Q_OBJECT
    Q_PROPERTY(ControlTypes::TBevelShape Shape READ Shape WRITE SetShape)
    Q_PROPERTY(ControlTypes::TBevelStyle Style READ Style WRITE SetStyle)
    Q_CLASSINFO("Default.Shape", "bsBox")
    Q_CLASSINFO("Default.Style", "bsLowered")
public:
    explicit TBevel(TComponent* owner);

    TBevelShape Shape() const { return shape_; }
    void SetShape(TBevelShape value);
    TBevelStyle Style() const { return style_; }
    void SetStyle(TBevelStyle value);

protected:
    void ApplyColor() override {}

private:
    TBevelShape shape_ = bsBox;
    TBevelStyle style_ = bsLowered;
};
