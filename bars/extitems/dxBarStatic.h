#pragma once
// TdxBarStatic: a label on a bar, its caption and/or glyph with an optional border, fixed
// indents at both ends and an optional fixed size. It is clicked only when AllowClick is set,
// and selected only while customizing. TdxBarStaticControl sizes and draws it; the progress
// item builds on both.
//
// Also the path shortening of recent-file captions (dxBarGetShortPathCaption).
#include "dxBarItem.h"
#include "dxBarServices.h"

#include <QString>

class QFontMetrics;

namespace dxBarStaticTypes {
Q_NAMESPACE
enum TAlignment { taLeftJustify, taRightJustify, taCenter };
Q_ENUM_NS(TAlignment)
enum TdxBarStaticBorderStyle { sbsNone, sbsLowered, sbsRaised, sbsEtched, sbsBump };
Q_ENUM_NS(TdxBarStaticBorderStyle)
}  // namespace dxBarStaticTypes

using namespace dxBarStaticTypes;

// The pixels a border style takes on each side.
int dxBarStaticBorderWidth(TdxBarStaticBorderStyle style);

class TdxBarStatic : public TdxBarItem {
    Q_OBJECT
    Q_PROPERTY(dxBarStaticTypes::TAlignment Alignment READ Alignment WRITE SetAlignment)
    Q_PROPERTY(bool AllowClick READ AllowClick WRITE SetAllowClick)
    Q_PROPERTY(dxBarStaticTypes::TdxBarStaticBorderStyle BorderStyle READ BorderStyle WRITE SetBorderStyle)
    Q_PROPERTY(TBitmap* Glyph READ Glyph WRITE SetGlyph)
    Q_PROPERTY(int Height READ Height WRITE SetHeight)
    Q_PROPERTY(int ImageIndex READ ImageIndex WRITE SetImageIndex)
    Q_PROPERTY(int LeftIndent READ LeftIndent WRITE SetLeftIndent)
    Q_PROPERTY(int RightIndent READ RightIndent WRITE SetRightIndent)
    Q_PROPERTY(bool ShowCaption READ ShowCaption WRITE SetShowCaption)
    Q_PROPERTY(int Width READ Width WRITE SetWidth)
    Q_CLASSINFO("Default.Alignment", "taCenter")
    Q_CLASSINFO("Default.AllowClick", "False")
    Q_CLASSINFO("Default.BorderStyle", "sbsNone")
    Q_CLASSINFO("Default.Height", "0")
    Q_CLASSINFO("Default.LeftIndent", "0")
    Q_CLASSINFO("Default.RightIndent", "0")
    Q_CLASSINFO("Default.ShowCaption", "True")
    Q_CLASSINFO("Default.Width", "0")
public:
    // Sizes and indents are kept within 0..600.
    static constexpr int MaxSize = 600;

    Q_INVOKABLE explicit TdxBarStatic(TComponent* owner);

    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment value);
    bool AllowClick() const { return allowClick_; }
    void SetAllowClick(bool value) { allowClick_ = value; }
    TdxBarStaticBorderStyle BorderStyle() const { return borderStyle_; }
    // Repaints when both sizes are fixed, else re-lays the bars out.
    void SetBorderStyle(TdxBarStaticBorderStyle value);
    // 0 is automatic.
    int Height() const { return height_; }
    void SetHeight(int value) { SetSize(height_, value); }
    int LeftIndent() const { return leftIndent_; }
    void SetLeftIndent(int value) { SetSize(leftIndent_, value); }
    int RightIndent() const { return rightIndent_; }
    void SetRightIndent(int value) { SetSize(rightIndent_, value); }
    bool ShowCaption() const { return showCaption_; }
    void SetShowCaption(bool value);
    // 0 is automatic.
    int Width() const { return width_; }
    void SetWidth(int value) { SetSize(width_, value); }

    bool CanClicked() const override { return allowClick_; }
    bool IsAccelEnabled(TdxBarItemLink* link) const override;

private:
    // Clamps to 0..MaxSize first; a change re-lays the bars out.
    void SetSize(int& field, int value);

    TAlignment alignment_ = taCenter;
    bool allowClick_ = false;
    TdxBarStaticBorderStyle borderStyle_ = sbsNone;
    int height_ = 0;
    int leftIndent_ = 0;
    int rightIndent_ = 0;
    bool showCaption_ = true;
    int width_ = 0;
};

class TdxBarStaticControl : public TdxBarItemControl {
public:
    explicit TdxBarStaticControl(TdxBarItemLink* link);

    TdxBarStatic* Static() const;

    void CaptionChanged() override;
    void GlyphChanged() override;
    bool CanClicked() const override;
    // Only while the manager customizes or designs.
    bool CanSelect() const override;
    bool HidesMenusOnClick() const override;
    int GetHeight() override;
    int GetWidth() override;
    // The indents, the border, then DrawContent inside them.
    void Draw(TCanvas& p, const TRect& r, int paintType) override;

    // Without a caption, the automatic size leaves the glyph's room out.
    virtual bool IgnoresGlyph() const { return false; }
    virtual void DrawContent(QPainter& p, const TRect& r, int paintType);
    virtual TAlignment GetAlignment() const;
    // Across and along the bar (a rotated toolbar turns them).
    virtual int GetDefaultHeight();
    virtual int GetDefaultWidth();

    int BorderWidth() const;
    // The link's rectangle less the indents along the bar; then less the border too.
    TRect IndentedRect(const TRect& rect, bool vertical) const;
    TRect ContentRect(const TRect& rect, bool vertical) const;
    // The width the caption, the glyph, the indents and the border take along the bar.
    int AutomaticWidth();

protected:
    // Glyph and caption: framed is the item's own drawing, inside its border.
    void DrawStatic(QPainter& p, const TRect& r, bool framed, int paintType);
    bool Rotated() const;
    // A caption shows (ShowCaption and a caption that is not empty).
    bool CaptionShows() const;
};

extern TdxBarItemControlClass TdxBarStaticControlClass;

// The text shortened to fit 300 pixels in the application's font: when it is too wide, as
// much as fits of its start and its last part from the last "/" or "\" on, joined by "...".
// A last part too wide on its own keeps as much of its start as fits, then "...".
QString dxBarGetShortPathCaption(const QString& text);
// The same for any font and width.
QString dxBarShortenPath(const QString& text, const QFontMetrics& metrics, int maxWidth);
