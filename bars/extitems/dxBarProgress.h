#pragma once
// TdxBarProgressItem: a static item that draws a progress bar after its caption, filled in
// blocks or smoothly from Min to Position of the range Min..Max. TdxBarProgressControl draws it.
//
// Outside loading Min <= Max and Min <= Position <= Max hold: a Max below Min lowers Min, a
// Min above Max raises Max, and Position follows into the range. While the form loads, the
// range is stored as read and Loaded puts it in order once.
#include "dxBarStatic.h"

#include <QList>
#include <utility>

// ---------------------------------------------------------------- geometry

// The bar's length with the item's Width 0 (and not stretched over its link).
constexpr int dxBarProgressDefaultLength = 150;
// The room between the caption part and the bar.
constexpr int dxBarProgressGap(bool showCaption)
{
    return showCaption ? 2 : 4;
}
// Where the bar goes in the item's content rectangle (inside its indents and border): length
// pixels along, ending 2 pixels before the content's far end, two thirds of the content's
// thickness across (made one thicker when the rest would not split evenly), centred across.
TRect dxBarProgressBarRect(const TRect& content, bool vertical, int length);
// The pixels of length that show position of min..max; none for an empty range.
int dxBarProgressFilled(int length, int position, int min, int max);
// The blocks of a filled part: [start, end) offsets along, each two thirds of the thickness
// long and 2 pixels apart, the last cut at filled.
QList<std::pair<int, int>> dxBarProgressBlocks(int filled, int thickness);

// ---------------------------------------------------------------- the item

class TdxBarProgressItem : public TdxBarStatic {
    Q_OBJECT
    Q_PROPERTY(int Min READ Min WRITE SetMin)
    Q_PROPERTY(int Max READ Max WRITE SetMax)
    Q_PROPERTY(int Position READ Position WRITE SetPosition)
    Q_PROPERTY(bool Smooth READ Smooth WRITE SetSmooth)
    Q_PROPERTY(int Step READ Step WRITE SetStep)
    Q_CLASSINFO("Default.BorderStyle", "sbsLowered")
    Q_CLASSINFO("Default.Min", "0")
    Q_CLASSINFO("Default.Max", "100")
    Q_CLASSINFO("Default.Position", "0")
    Q_CLASSINFO("Default.Smooth", "False")
    Q_CLASSINFO("Default.Step", "10")
public:
    Q_INVOKABLE explicit TdxBarProgressItem(TComponent* owner);

    int Min() const { return min_; }
    // The range becomes (value, the larger of Max and value).
    void SetMin(int value);
    int Max() const { return max_; }
    // The range becomes (the smaller of value and Min, value).
    void SetMax(int value);
    int Position() const { return position_; }
    // Clamped to the range; a change repaints the bars.
    void SetPosition(int value);
    bool Smooth() const { return smooth_; }
    void SetSmooth(bool value);
    // Kept for the form; nothing steps by it.
    int Step() const { return step_; }
    void SetStep(int value) { step_ = value; }

    // Puts the range read from the form in order: Min <= Max, Position within.
    void Loaded() override;

private:
    void SetRange(int min, int max);
    // Repaints the bar in every bar window that shows the item.
    void RepaintProgress();

    int min_ = 0;
    int max_ = 100;
    int position_ = 0;
    bool smooth_ = false;
    int step_ = 10;
};

class TdxBarProgressControl : public TdxBarStaticControl {
public:
    explicit TdxBarProgressControl(TdxBarItemLink* link);

    TdxBarProgressItem* Progress() const;

    bool IgnoresGlyph() const override { return true; }
    // The static part with the caption, then the bar.
    void DrawContent(QPainter& p, const TRect& r, int paintType) override;
    TAlignment GetAlignment() const override { return taLeftJustify; }
    int GetDefaultWidth() override;
    virtual QBrush GetBarBrush() const;

    // The bar's rectangle in the content rectangle (see ContentRect).
    TRect BarRect(const TRect& content, int paintType);
    // The bar's rectangle in the bar window, or an empty one when the link is not shown.
    TRect BarRectInWindow();
};

extern TdxBarItemControlClass TdxBarProgressControlClass;
