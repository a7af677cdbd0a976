#include "dxBarColorCombo.h"

#include "Dialogs.h"
#include "Painting.h"
#include "Scope.h"
#include "Strings.h"
#include "TextMetrics.h"
#include "dxBarCustomControl.h"
#include "dxBarExtItems.h"
#include "dxBarItemLink.h"
#include "dxBarStrs.h"

#include <QCursor>
#include <QPainter>
#include <QPointer>

TdxBarItemControlClass TdxBarColorComboControlClass{
    "TdxBarColorComboControl",
    [](TdxBarItemLink* link) -> TdxBarItemControl* { return new TdxBarColorComboControl(link); }};

namespace {

constexpr TColor kStandardColors[TdxBarColorCombo::StandardColorCount] = {
    clBlack,  clMaroon, clGreen, clOlive,  clNavy, clPurple,  clTeal, clGray,
    clSilver, clRed,    clLime,  clYellow, clBlue, clFuchsia, clAqua, clWhite,
};

// The swatch's width at the left of an entry.
constexpr int kSwatchWidth = 30;
// The last system colour a swatch can show.
constexpr quint32 kLastSystemColor = 0x80000018u;

// Colours that can be matched with an entry: RGB values and the known system colours.
bool IsMatchable(TColor color)
{
    const quint32 value = quint32(color);
    return value <= 0x00FFFFFFu || (value >= 0x80000000u && value <= kLastSystemColor);
}

// A negative value past the system colours has no colour to show.
bool HasSwatch(TColor color)
{
    return quint32(color) <= kLastSystemColor;
}

// What a swatch shows: a system colour's value, else the RGB part (also of clNone and
// clDefault, which have no colour of their own).
QColor SwatchColor(TColor color)
{
    if (IsSystemColor(color)) return ColorToQColor(color);
    return ColorToQColor(MakeColor(qint32(quint32(color) & 0x00FFFFFFu)));
}

TdxBarItemLink* SourceLink(TdxBarItemLink* link)
{
    return link && link->OriginalItemLink() ? link->OriginalItemLink() : link;
}

}  // namespace

// ---------------------------------------------------------------- TdxBarColorCombo

TdxBarColorCombo::TdxBarColorCombo(TComponent* owner) : TdxBarCustomCombo(owner)
{
    autoColorText_ = dxBarStr(dxSBAR_COLOR_AUTOMATIC);
    customColorText_ = dxBarStr(dxSBAR_COLOR_CUSTOM);
    TdxBarCustomCombo::SetDropDownCount(StandardColorCount);
    if (TBitmap* glyph = dxBarItemKindGlyph(QStringLiteral("COLORCOMBO"))) SetGlyph(glyph);
    FillColorList();
    SetItemIndex(0);
    SetShowEditor(false);
}

TColor TdxBarColorCombo::StandardColor(int index)
{
    return index >= 0 && index < StandardColorCount ? kStandardColors[index] : clBlack;
}

void TdxBarColorCombo::FillColorList()
{
    TStrings* items = Items();
    TUpdateScope update(items);
    items->Clear();
    if (showAutoColor_) items->Add(autoColorText_);
    for (int i = 0; i < StandardColorCount; ++i) items->Add(dxBarStr(dxSBAR_COLOR_BLACK + i));
}

TColor TdxBarColorCombo::ColorOfIndex(int index) const
{
    if (index < 0 || index >= EntryCount()) return color_;
    if (showAutoColor_ && index == 0) return autoColor_;
    return kStandardColors[index - AutoOffset()];
}

int TdxBarColorCombo::IndexOfColor(TColor color) const
{
    if (showAutoColor_ && color == autoColor_) return 0;
    // Anything else would turn into black (or into the RGB part of the value) on the way.
    if (!IsMatchable(color)) return -1;
    const TColor rgb = ColorToRGB(color);
    for (int i = 0; i < StandardColorCount; ++i)
        if (kStandardColors[i] == rgb) return i + AutoOffset();
    return -1;
}

void TdxBarColorCombo::SelectColorIndex()
{
    const int index = IndexOfColor(color_);
    // The entry may stay while its text changed (the automatic entry came or went).
    if (index >= 0 && index == ItemIndex() && Text() != Items()->Strings(index))
        SetText(Items()->Strings(index));
    else
        SetItemIndex(index);
}

void TdxBarColorCombo::SetAutoColor(TColor value)
{
    if (value == autoColor_) return;
    autoColor_ = value;
    if (!showAutoColor_) return;
    QPointer<TdxBarColorCombo> self(this);
    {
        TScopeExit lower([&] {
            if (self) updatingIndex_ = false;
        });
        updatingIndex_ = true;
        SelectColorIndex();
    }
    if (self) UpdateControls();
}

void TdxBarColorCombo::SetAutoColorText(const QString& value)
{
    if (value == autoColorText_) return;
    autoColorText_ = value;
    if (!showAutoColor_) return;
    QPointer<TdxBarColorCombo> self(this);
    {
        TScopeExit lower([&] {
            if (self) updatingIndex_ = false;
        });
        updatingIndex_ = true;
        Items()->Put(0, value);
        // The automatic entry shown: its new text too.
        if (self && ItemIndex() == 0) SetText(value);
    }
    if (self) UpdateControls();
}

void TdxBarColorCombo::SetColor(TColor value)
{
    if (value == color_) return;
    color_ = value;
    QPointer<TdxBarColorCombo> self(this);
    TScopeExit lower([&] {
        if (self) updatingIndex_ = false;
    });
    updatingIndex_ = true;
    const int index = IndexOfColor(value);
    if (index == ItemIndex()) {
        UpdateControls();
        Change();
    } else {
        SetItemIndex(index);
    }
}

void TdxBarColorCombo::SetCustomColorText(const QString& value)
{
    if (value == customColorText_) return;
    customColorText_ = value;
    UpdateControls();
}

void TdxBarColorCombo::SetShowAutoColor(bool value)
{
    if (value == showAutoColor_) return;
    showAutoColor_ = value;
    QPointer<TdxBarColorCombo> self(this);
    TScopeExit done([&] {
        if (!self) return;
        updatingIndex_ = false;
        UpdateControls();
    });
    updatingIndex_ = true;
    if (value)
        Items()->Insert(0, autoColorText_);
    else
        Items()->Delete(0);
    // A count left at the number of entries follows them. While a form is read, the count
    // read before (or its absence) is settled once loading ends.
    const int oldCount = StandardColorCount + (value ? 0 : 1);
    if (!Loading() && DropDownCount() == oldCount) TdxBarCustomCombo::SetDropDownCount(EntryCount());
    if (self) SelectColorIndex();
}

void TdxBarColorCombo::SetShowCustomColorButton(bool value)
{
    if (value == showCustomColorButton_) return;
    showCustomColorButton_ = value;
    UpdateControls();
}

void TdxBarColorCombo::SetDropDownCount(int value)
{
    if (Loading()) dropDownCountRead_ = true;
    TdxBarCustomCombo::SetDropDownCount(value);
}

bool TdxBarColorCombo::IsDropDownCountStored() const
{
    return DropDownCount() != EntryCount();
}

bool TdxBarColorCombo::IsAutoColorTextStored() const
{
    return autoColorText_ != dxBarStr(dxSBAR_COLOR_AUTOMATIC);
}

bool TdxBarColorCombo::IsCustomColorTextStored() const
{
    return customColorText_ != dxBarStr(dxSBAR_COLOR_CUSTOM);
}

void TdxBarColorCombo::Loaded()
{
    TdxBarCustomCombo::Loaded();
    // A count that was not stored is the number of entries.
    if (!dropDownCountRead_) TdxBarCustomCombo::SetDropDownCount(EntryCount());
    dropDownCountRead_ = false;
}

void TdxBarColorCombo::Change()
{
    if (!updatingIndex_) color_ = ColorOfIndex(ItemIndex());
    TdxBarCustomCombo::Change();
}

void TdxBarColorCombo::BeginButtonClick(TColor color)
{
    buttonClick_ = true;
    dialogColor_ = color;
}

void TdxBarColorCombo::Click()
{
    QPointer<TdxBarColorCombo> self(this);
    TScopeExit clear([&] {
        if (self) buttonClick_ = false;
    });
    TdxBarCustomCombo::Click();
    if (!self || OnClick() || ReadOnly()) return;
    TColorDialog* dialog = dxBarColorDialog();
    if (!dialog) return;
    dialog->SetColor(ColorToRGB(buttonClick_ ? dialogColor_ : color_));
    if (dialog->Execute() && self) SetColor(dialog->Color());
}

void TdxBarColorCombo::DrawItem(TCanvas& p, const QFont& font, int index, const TRect& rect, unsigned state,
                                bool flatInterior)
{
    if (OnDrawItem) {
        TdxBarCustomCombo::DrawItem(p, font, index, rect, state, flatInterior);
        return;
    }
    const QString text = index == -1                              ? customColorText_
                         : index >= 0 && index < Items()->Count() ? Items()->Strings(index)
                                                                  : QString();
    const bool swatch = index != -1 || HasSwatch(color_);
    const bool selected = state & odSelected;
    const QBrush brush = SysBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW);
    p.save();
    TScopeExit restore([&p] { p.restore(); });
    TRect area = rect;
    if (swatch) area.Left += kSwatchWidth;
    FillRect(p, area, brush);
    p.setFont(font);
    p.setPen(SysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    TRect textRect{area.Left + 1, area.Top, area.Right, area.Bottom};
    DrawText(p, text, textRect, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    if (swatch) {
        TRect ring{rect.Left, rect.Top, rect.Left + kSwatchWidth, rect.Bottom};
        FrameRect(p, ring, brush);
        ring = ring.Inflated(-1, -1);
        FrameRect(p, ring, SysBrush(COLOR_BTNSHADOW));
        FillRect(p, ring.Inflated(-1, -1), QBrush(SwatchColor(ColorOfIndex(index))));
    }
    if (state & odFocused) DrawFocusRect(p, rect);
}

void TdxBarColorCombo::MeasureItem(int index, const QFont& font, int& height)
{
    if (OnMeasureItem) {
        TdxBarCustomCombo::MeasureItem(index, font, height);
        return;
    }
    height = TextExtent(font, QStringLiteral("0")).height() + 4;
}

void TdxBarColorCombo::MeasureItemWidth(int index, const QFont& font, int& width)
{
    TdxBarCustomCombo::MeasureItemWidth(index, font, width);
    width += kSwatchWidth;
}

// ---------------------------------------------------------------- TdxBarColorComboControl

TdxBarColorComboControl::TdxBarColorComboControl(TdxBarItemLink* link) : TdxBarComboControl(link) {}

TdxBarColorCombo* TdxBarColorComboControl::ColorCombo() const
{
    return qobject_cast<TdxBarColorCombo*>(Item());
}

void TdxBarColorComboControl::PressedChanged()
{
    Repaint();
}

bool TdxBarColorComboControl::IsDrawnSelected() const
{
    return TdxBarComboControl::IsDrawnSelected() || Pressed();
}

void TdxBarColorComboControl::Draw(TCanvas& p, const TRect& r, int paintType)
{
    ColorButtonRect = {};
    TdxBarColorCombo* combo = ColorCombo();
    const int width = ColorButtonWidth(r.Height());
    if (!combo || !combo->ShowCustomColorButton() || !Parent() || 2 * width >= r.Width()) {
        TdxBarComboControl::Draw(p, r, paintType);
        return;
    }
    TRect rest = r;
    rest.Right -= width;
    TdxBarComboControl::Draw(p, rest, paintType);
    DrawColorButton(p, {rest.Right, r.Top, r.Right, r.Bottom});
}

void TdxBarColorComboControl::DrawColorButton(QPainter& p, TRect r)
{
    const QBrush barBrush = Parent()->GetToolbarBrush();
    FrameRect(p, r, barBrush);
    r = r.Inflated(0, -1);
    FrameRect(p, r, barBrush);
    r = r.Inflated(-1, -1);
    ColorButtonRect = r;
    TRect face = r;
    DrawFrameAndFill(p, face, Pressed(), IsDrawnSelected());
    const int c = r.Width() / 7;
    if (c <= 0) return;
    const bool flat = IsFlatStyle();
    const TPoint shift = Pressed() && !flat ? TPoint(1, 1) : TPoint(0, 0);
    auto dots = [&](const TPoint& offset, const QColor& colour) {
        for (int k : {1, 3, 5}) {
            const int left = r.Left + k * c + offset.x();
            const int bottom = r.Bottom - c + offset.y();
            FillRect(p, {left, bottom - c, left + c, bottom}, QBrush(colour));
        }
    };
    if (GetEnabled()) {
        dots(shift, SysColor(COLOR_BTNTEXT));
        return;
    }
    if (!flat) dots(shift + TPoint(1, 1), SysColor(COLOR_BTNHIGHLIGHT));
    dots(shift, SysColor(COLOR_BTNSHADOW));
}

bool TdxBarColorComboControl::PressedOnColorButton() const
{
    TCustomdxBarControl* parent = Parent();
    return parent && !ColorButtonRect.IsEmpty() && ColorButtonRect.Contains(parent->ScreenToClient(QCursor::pos()));
}

void TdxBarColorComboControl::ControlClick(bool byMouse)
{
    if (!byMouse || !PressedOnColorButton()) {
        TdxBarComboControl::ControlClick(byMouse);
        return;
    }
    // The press on the button goes to the editor, as the focus does: no drop-down.
    QPointer<TdxBarColorComboControl> self(this);
    TdxBarEditControl::ControlClick(byMouse);
    if (self && DroppedDown()) SetDroppedDown(false);
    if (self) ColorButtonClick();
}

bool TdxBarColorComboControl::EditorKeyDown(int& key, TShiftState shift)
{
    if (key == VK_RETURN && (shift & ssCtrl) && !(shift & ssAlt)) {
        ColorButtonClick();
        return true;
    }
    return TdxBarComboControl::EditorKeyDown(key, shift);
}

void TdxBarColorComboControl::ColorButtonClick()
{
    QPointer<TdxBarColorCombo> combo = ColorCombo();
    if (!combo) return;
    QPointer<TdxBarColorComboControl> self(this);
    QPointer<TCustomdxBarControl> parent = Parent();
    // The dialog starts from the entry shown now, applied or not.
    combo->BeginButtonClick(combo->ColorOfIndex(ItemIndex()));
    TScopeExit end([&combo] {
        if (combo) combo->EndButtonClick();
    });
    QPointer<TdxBarItemLink> link = SourceLink(ItemLink());
    if (link) link->ItemClicked(true);
    if (!self || !combo) return;
    const bool onToolbar = parent && parent->IsToolbar();
    if (onToolbar)
        SetPressed(true);
    else if (parent)
        parent->HideAll();
    if (combo) {
        combo->SetClickItemLink(link);
        TScopeExit clear([&combo] {
            if (combo) combo->SetClickItemLink(nullptr);
        });
        combo->DoClick();
    }
    if (onToolbar && self) {
        try {
            SetPressed(false);
        } catch (...) {
            // Releasing the button never fails the click.
        }
    }
    // The editor shows what the click chose, so that Enter keeps it.
    if (self && combo && Focused()) SetItemIndex(combo->ItemIndex());
}
