#include "dxBarLargeButton.h"

#include "ImgList.h"
#include "Painting.h"
#include "TextMetrics.h"
#include "dxBarBar.h"
#include "dxBarCustomControl.h"
#include "dxBarDrawing.h"
#include "dxBarItemLink.h"
#include "dxBarManager.h"

#include <QFontMetrics>
#include <QPainter>

TdxBarItemControlClass TdxBarLargeButtonControlClass{
    "TdxBarLargeButtonControl",
    [](TdxBarItemLink* link) -> TdxBarItemControl* { return new TdxBarLargeButtonControl(link); }};

// ---------------------------------------------------------------- the item

TdxBarLargeButton::TdxBarLargeButton(TComponent* owner)
    : TdxBarButton(owner), hotGlyph_(std::make_unique<TBitmap>()), largeGlyph_(std::make_unique<TBitmap>())
{
    hotGlyph_->SetOnChange(TNotifyEvent(this, &TdxBarLargeButton::HotGlyphChange));
    largeGlyph_->SetOnChange(TNotifyEvent(this, &TdxBarLargeButton::LargeGlyphChange));
}

TdxBarLargeButton::~TdxBarLargeButton() = default;

void TdxBarLargeButton::HotGlyphChange(TObject*)
{
    HotGlyphChanged();
}

void TdxBarLargeButton::LargeGlyphChange(TObject*)
{
    LargeGlyphChanged();
}

void TdxBarLargeButton::TellControls(void (*tell)(TdxBarLargeButtonControl*))
{
    ForEachControl([tell](TdxBarItemControl* c) {
        if (auto* control = dynamic_cast<TdxBarLargeButtonControl*>(c)) tell(control);
    });
}

void TdxBarLargeButton::SetAutoGrayScale(bool value)
{
    if (value == autoGrayScale_) return;
    autoGrayScale_ = value;
    UpdateControls();
}

void TdxBarLargeButton::SetGlyphLayout(TdxBarLargeButtonGlyphLayout value)
{
    if (value == glyphLayout_) return;
    glyphLayout_ = value;
    TellControls([](TdxBarLargeButtonControl* c) { c->GlyphLayoutChanged(); });
}

void TdxBarLargeButton::SetHeight(int value)
{
    if (value < 0 || value == height_) return;
    height_ = value;
    TellControls([](TdxBarLargeButtonControl* c) { c->HeightChanged(); });
}

void TdxBarLargeButton::SetWidth(int value)
{
    if (value < 0 || value == width_) return;
    width_ = value;
    TellControls([](TdxBarLargeButtonControl* c) { c->WidthChanged(); });
}

void TdxBarLargeButton::SetShowCaption(bool value)
{
    if (value == showCaption_) return;
    showCaption_ = value;
    TellControls([](TdxBarLargeButtonControl* c) { c->ShowCaptionChanged(); });
}

namespace {

void AssignBitmap(TBitmap* target, TBitmap* value)
{
    TBitmap empty;
    target->Assign(value ? value : &empty);
}

}  // namespace

void TdxBarLargeButton::SetHotGlyph(TBitmap* value)
{
    AssignBitmap(hotGlyph_.get(), value);
}

void TdxBarLargeButton::SetLargeGlyph(TBitmap* value)
{
    AssignBitmap(largeGlyph_.get(), value);
}

void TdxBarLargeButton::SetHotImageIndex(int value)
{
    if (value == hotImageIndex_) return;
    hotImageIndex_ = value;
    HotGlyphChanged();
}

void TdxBarLargeButton::SetLargeImageIndex(int value)
{
    if (value == largeImageIndex_) return;
    largeImageIndex_ = value;
    LargeGlyphChanged();
}

void TdxBarLargeButton::HotGlyphChanged()
{
    TellControls([](TdxBarLargeButtonControl* c) { c->HotGlyphChanged(); });
}

void TdxBarLargeButton::LargeGlyphChanged()
{
    TellControls([](TdxBarLargeButtonControl* c) { c->LargeGlyphChanged(); });
}

bool TdxBarLargeButton::IsAccelEnabled(TdxBarItemLink* link) const
{
    const bool onBar = link && link->Links() && qobject_cast<TdxBar*>(link->Links()->OwnerObject());
    return TdxBarButton::IsAccelEnabled(link) && (showCaption_ || !onBar);
}

// ---------------------------------------------------------------- the control

TdxBarLargeButtonControl::TdxBarLargeButtonControl(TdxBarItemLink* link) : TdxBarButtonControl(link) {}

TdxBarLargeButton* TdxBarLargeButtonControl::LargeButton() const
{
    return qobject_cast<TdxBarLargeButton*>(Item());
}

bool TdxBarLargeButtonControl::InToolbarWindow() const
{
    return LargeButton() && InToolbar();
}

bool TdxBarLargeButtonControl::RotatedWithCaption() const
{
    TCustomdxBarControl* parent = Parent();
    return parent && parent->IsToolbar() && parent->IsRotated() && LargeButton() && LargeButton()->ShowCaption();
}

TdxBarLargeButtonGlyph TdxBarLargeButtonControl::ChooseGlyph(bool hot) const
{
    TdxBarLargeButton* button = LargeButton();
    if (!button) return {};
    const auto source = [](const TBitmap* bitmap, TCustomImageList* images, int index) -> TdxBarLargeButtonGlyph {
        if (!bitmap->Empty()) return {bitmap, nullptr, -1, QSize(bitmap->Width(), bitmap->Height())};
        if (images && index >= 0 && index < images->Count())
            return {nullptr, images, index, QSize(images->Width(), images->Height())};
        return {};
    };
    const TdxBarLargeButtonGlyph hotGlyph = source(button->HotGlyph(), GetHotImages(), button->HotImageIndex());
    const TdxBarLargeButtonGlyph largeGlyph = source(button->LargeGlyph(), GetLargeImages(), button->LargeImageIndex());
    const TdxBarLargeButtonGlyph& first = hot ? hotGlyph : largeGlyph;
    const TdxBarLargeButtonGlyph& second = hot ? largeGlyph : hotGlyph;
    if (first.Exists()) return first;
    if (second.Exists()) return second;
    // No glyph: a list still gives the size.
    TCustomImageList* sizing = GetLargeImages() ? GetLargeImages() : GetHotImages();
    TdxBarLargeButtonGlyph none;
    if (sizing) none.size = QSize(sizing->Width(), sizing->Height());
    return none;
}

int TdxBarLargeButtonControl::GetArrowWidth() const
{
    if (InToolbarWindow() && BarManager()) return BarManager()->RealLargeButtonArrowWidth();
    return TdxBarButtonControl::GetArrowWidth();
}

int TdxBarLargeButtonControl::GetHeight()
{
    return RotatedWithCaption() ? GetDefaultWidth() : GetDefaultHeight();
}

int TdxBarLargeButtonControl::GetWidth()
{
    int w = RotatedWithCaption() ? GetDefaultHeight() : GetDefaultWidth();
    if (InToolbarWindow() && LargeButton()->ButtonStyle() == bsDropDown) w += GetArrowWidth();
    return w;
}

int TdxBarLargeButtonControl::GetDefaultHeight()
{
    TdxBarLargeButton* button = LargeButton();
    TCustomdxBarControl* parent = Parent();
    if (!InToolbarWindow() || !parent) return TdxBarButtonControl::GetDefaultHeight();
    if (button->Height() != 0) return button->Height();
    const QSize glyph = ChooseGlyph(false).size;
    int h = glyph.isEmpty() ? 26 : (RotatedWithCaption() ? glyph.width() : glyph.height()) + 6;
    if (button->ShowCaption()) {
        const int text = TextExtent(parent->Font(), QStringLiteral("Qq")).height();
        const TdxBarLargeButtonGlyphLayout layout = button->GlyphLayout();
        if (layout == glLeft || layout == glRight)
            h = std::max(h, text + 6);
        else
            h += text + 1;
    }
    return h + (button->Lowered() ? 2 : 0);
}

int TdxBarLargeButtonControl::GetDefaultWidth()
{
    TdxBarLargeButton* button = LargeButton();
    TCustomdxBarControl* parent = Parent();
    if (!InToolbarWindow() || !parent) return TdxBarButtonControl::GetDefaultWidth();
    if (button->Width() != 0) return button->Width();
    const QSize glyph = ChooseGlyph(false).size;
    int w = glyph.isEmpty() ? 30 : (RotatedWithCaption() ? glyph.height() : glyph.width()) + 10;
    if (button->ShowCaption()) {
        const int caption = QFontMetrics(parent->Font()).horizontalAdvance(dxBarRemoveAmpersands(GetCaption()));
        const TdxBarLargeButtonGlyphLayout layout = button->GlyphLayout();
        if (layout == glTop || layout == glBottom)
            w = std::max(w, caption + 16);
        else
            w += caption + 6;
    }
    return w + (button->Lowered() ? 2 : 0);
}

void TdxBarLargeButtonControl::GlyphLayoutChanged()
{
    if (InToolbarWindow()) RepaintBar();
}

void TdxBarLargeButtonControl::HeightChanged()
{
    if (InToolbarWindow()) RepaintBar();
}

void TdxBarLargeButtonControl::ShowCaptionChanged()
{
    if (InToolbarWindow()) RepaintBar();
}

void TdxBarLargeButtonControl::WidthChanged()
{
    if (InToolbarWindow()) RepaintBar();
}

void TdxBarLargeButtonControl::HotGlyphChanged()
{
    LargeGlyphChanged();
}

void TdxBarLargeButtonControl::LargeGlyphChanged()
{
    if (!InToolbarWindow()) return;
    // A fixed size does not follow the glyph.
    if (LargeButton()->Width() != 0 && LargeButton()->Height() != 0)
        Repaint();
    else
        RepaintBar();
}

void TdxBarLargeButtonControl::Draw(TCanvas& p, const TRect& rect, int paintType)
{
    TdxBarLargeButton* button = LargeButton();
    if (paintType == dxBarPaintMenu || !InToolbarWindow()) {
        TdxBarButtonControl::Draw(p, rect, paintType);
        return;
    }
    if (rect.Width() <= 0 || !Parent()) return;
    TRect r = rect;
    if (button->Lowered()) DrawLoweredFrame(p, r);
    const bool dropDown = button->ButtonStyle() == bsDropDown;
    TRect face = r;
    if (dropDown) face.Right -= GetArrowWidth();
    const bool selected = IsDrawnSelected();
    DrawFace(p, face, paintType, selected, PressedLook(selected));
    if (dropDown) DrawArrowButton(p, r, selected, paintType);
}

void TdxBarLargeButtonControl::DrawFace(QPainter& p, const TRect& face, int paintType, bool selected, bool pressed)
{
    TdxBarLargeButton* button = LargeButton();
    TCustomdxBarControl* parent = Parent();
    TdxBarManager* manager = BarManager();
    const bool flat = IsFlatStyle();
    const bool down = button->Down();
    const bool rotated = paintType == dxBarPaintVertical;
    TRect c = face.Inflated(-1, -1);
    if (!flat) {
        const int shift = (down ? 1 : 0) + (pressed ? 1 : 0);
        c = c.Offset(shift, shift);
    }

    // The glyph's place: by its layout, turned in a rotated toolbar.
    const TdxBarLargeButtonGlyph glyph = ChooseGlyph(selected);
    const QSize size = glyph.Exists() ? glyph.size : QSize(20, 20);
    const int w = size.width(), h = size.height();
    const int centreX = (c.Left + c.Right - w) / 2, centreY = (c.Top + c.Bottom - h) / 2;
    const TdxBarLargeButtonGlyphLayout layout = button->GlyphLayout();
    TPoint at;
    if (!button->ShowCaption()) {
        at = {c.Left + 4, c.Top + 2};
    } else if (!rotated) {
        at = layout == glLeft    ? TPoint(c.Left + 4, centreY)
             : layout == glRight ? TPoint(c.Right - 4 - w, centreY)
             : layout == glTop   ? TPoint(centreX, c.Top + 2)
                                 : TPoint(centreX, c.Bottom - 2 - h);
    } else {
        at = layout == glLeft    ? TPoint(centreX, c.Top + 4)
             : layout == glRight ? TPoint(centreX, c.Bottom - 4 - h)
             : layout == glTop   ? TPoint(c.Right - 2 - w, centreY)
                                 : TPoint(c.Left + 2, centreY);
    }
    const TRect glyphRect = TRect::Bounds(at.x(), at.y(), w, h);

    const QBrush fill = ButtonFaceBrush(paintType, false, down, selected, glyph.Exists());
    unsigned flags = GetEnabled() ? unsigned(dgEnabled) : 0u;
    if (flat) flags |= dgFlat;
    if (selected) flags |= dgHot;
    if (pressed) flags |= dgPressed;
    if (button->AutoGrayScale() && !selected) flags |= dgDesaturate;
    const TRect dest = flat && (down || selected) ? face.Inflated(-1, -1) : face;
    dxBarDrawGlyph(p, fill, dest, manager ? manager->ImageListBkColor() : clFuchsia, flags, glyph.images,
                   glyph.imageIndex, glyph.bitmap ? glyph.bitmap->Image() : QImage(), glyphRect,
                   glyph.bitmap ? glyph.bitmap->TransparentColor() : clDefault);
    DrawButtonFrame(p, face, paintType, pressed, down, selected, glyph.Exists(), fill);

    if (!button->ShowCaption()) return;
    // The caption beside the glyph: after it across the glyph's side, centred above or below.
    TRect text = c;
    int alignment = 1;
    switch (layout) {
    case glLeft:
        (rotated ? text.Top : text.Left) = (rotated ? glyphRect.Bottom : glyphRect.Right) + 3;
        alignment = 0;
        break;
    case glRight:
        (rotated ? text.Bottom : text.Right) = (rotated ? glyphRect.Top : glyphRect.Left) - 3;
        alignment = 2;
        break;
    case glTop:
        if (rotated)
            text.Right = glyphRect.Left;
        else
            text.Top = glyphRect.Bottom;
        break;
    case glBottom:
        if (rotated)
            text.Left = glyphRect.Right;
        else
            text.Bottom = glyphRect.Top;
        break;
    }
    p.save();
    p.setFont(parent->Font());
    DrawItemText(p, GetCaption(), text, flat, false, rotated, false, GetEnabled(), alignment);
    p.restore();
}
