#include "dxBarImageCombo.h"

#include "Painting.h"
#include "Streaming.h"
#include "Strings.h"
#include "TextMetrics.h"
#include "dxBarCustomControl.h"
#include "dxBarExtItems.h"
#include "dxBarImageChooser.h"
#include "dxBarItemLink.h"

#include <QPainter>
#include <cstdint>

TdxBarItemControlClass TdxBarImageComboControlClass{
    "TdxBarImageComboControl",
    [](TdxBarItemLink* link) -> TdxBarItemControl* { return new TdxBarImageComboControl(link); }};

TImageComboEntryLayout dxBarImageComboEntryLayout(const TRect& rect, QSize imageSize, bool showText, bool validImage,
                                                  bool keepSpace)
{
    TImageComboEntryLayout layout;
    const int top = rect.Top + (rect.Height() - imageSize.height()) / 2;
    const int left = showText ? rect.Left + 1 : rect.Left + (rect.Width() - imageSize.width()) / 2;
    layout.Image = TRect::Bounds(left, top, imageSize.width(), imageSize.height());
    layout.DrawImage = validImage;
    if (!validImage && !keepSpace) layout.Image.Right = layout.Image.Left;
    layout.Text = TRect(layout.Image.Right + 2, rect.Top, rect.Right, rect.Bottom);
    return layout;
}

// ---------------------------------------------------------------- TdxBarImageCombo

TdxBarImageCombo::TdxBarImageCombo(TComponent* owner) : TdxBarCustomCombo(owner)
{
    if (TBitmap* glyph = dxBarItemKindGlyph(QStringLiteral("IMAGECOMBO"))) SetGlyph(glyph);
    SetShowEditor(false);
    imagesLink_.OnChange = TNotifyEvent(this, &TdxBarImageCombo::ImageListChange);
}

TdxBarImageCombo::~TdxBarImageCombo()
{
    if (images_) images_->UnRegisterChanges(&imagesLink_);
}

void TdxBarImageCombo::SetImages(TCustomImageList* value)
{
    if (value == images_) return;
    // A list being freed has let go of the link already, and its own parts are gone.
    if (images_ && imagesLink_.Sender() == images_) {
        images_->UnRegisterChanges(&imagesLink_);
        images_->RemoveFreeNotification(this);
    }
    images_ = value;
    if (images_) {
        images_->RegisterChanges(&imagesLink_);
        images_->FreeNotification(this);
    }
    if (!Loading()) ImagesChanged();
}

void TdxBarImageCombo::SetShowText(bool value)
{
    if (value == showText_) return;
    showText_ = value;
    UpdateControls();
}

int TdxBarImageCombo::ImageIndexes(int index) const
{
    if (index < 0 || index >= Items()->Count()) return -1;
    return int(reinterpret_cast<std::intptr_t>(Items()->Objects(index))) - 1;
}

void TdxBarImageCombo::SetImageIndexes(int index, int value)
{
    if (index < 0 || index >= Items()->Count()) return;
    Items()->PutObject(index, reinterpret_cast<void*>(std::intptr_t(value) + 1));
    if (index == ItemIndex()) UpdateControls();
}

void TdxBarImageCombo::ImageListChange(TObject* /*sender*/)
{
    if (!Loading()) ImagesChanged();
}

void TdxBarImageCombo::ImagesChanged()
{
    for (TdxBarItemLink* link : QList<TdxBarItemLink*>(LinkList())) {
        QPointer<TdxBarItemControl> control = link->Control();
        if (auto* c = dynamic_cast<TdxBarImageComboControl*>(control.data())) c->ImagesChanged();
    }
}

void TdxBarImageCombo::Notification(TComponent* component, TOperation operation)
{
    TdxBarCustomCombo::Notification(component, operation);
    if (operation == opRemove && component && component == images_) SetImages(nullptr);
}

bool TdxBarImageCombo::HasFocusedLink() const
{
    for (TdxBarItemLink* link : LinkList())
        if (link->Control() && link->Control()->EditorFocused()) return true;
    return false;
}

bool TdxBarImageCombo::DrawsTextBox() const
{
    return images_ || TdxBarCustomCombo::DrawsTextBox();
}

void TdxBarImageCombo::DrawItem(TCanvas& p, const QFont& font, int index, const TRect& rect, unsigned state,
                                bool flatInterior)
{
    if (OnDrawItem || !images_) {
        TdxBarCustomCombo::DrawItem(p, font, index, rect, state, flatInterior);
        return;
    }
    const bool selected = state & odSelected;
    FillRect(p, rect, SysBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    const int image = index >= 0 ? ImageIndexes(index) : -1;
    const bool valid = image >= 0 && image < images_->Count();
    const TImageComboEntryLayout layout = dxBarImageComboEntryLayout(rect, QSize(images_->Width(), images_->Height()),
                                                                     showText_, valid, HasFocusedLink());
    if (layout.DrawImage) p.drawImage(layout.Image.TopLeft(), images_->Image(image));
    if (showText_) {
        const QString text = index == -1                              ? Text()
                             : index >= 0 && index < Items()->Count() ? Items()->Strings(index)
                                                                      : QString();
        p.save();
        p.setFont(font);
        p.setPen(SysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
        TRect r = layout.Text;
        DrawText(p, text, r, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
        p.restore();
    }
    if (state & odFocused) DrawFocusRect(p, rect);
}

void TdxBarImageCombo::MeasureItem(int index, const QFont& font, int& height)
{
    TdxBarCustomCombo::MeasureItem(index, font, height);
    if (!OnMeasureItem && images_) height = std::max(height, images_->Height() + 2);
}

void TdxBarImageCombo::MeasureItemWidth(int index, const QFont& font, int& width)
{
    TdxBarCustomCombo::MeasureItemWidth(index, font, width);
    if (!images_) return;
    if (!showText_) width = 0;
    width += images_->Width() + 2;
}

void TdxBarImageCombo::Click()
{
    QPointer<TdxBarImageCombo> self(this);
    TdxBarCustomCombo::Click();
    if (!self || OnClick() || ReadOnly()) return;
    int index = ItemIndex();
    if (dxBarChooseImageComboEntry(this, index) && self) SetItemIndex(index);
}

void TdxBarImageCombo::DefineProperties(TFiler* filer)
{
    TdxBarCustomCombo::DefineProperties(filer);
    filer->DefineProperty(
        QStringLiteral("ImageIndexes"), [this](TReader* reader) { ReadImageIndexes(reader); },
        [this](TWriter* writer) {
            writer->WriteListBegin();
            for (int i = 0; i < Items()->Count(); ++i) writer->WriteInteger(ImageIndexes(i));
            writer->WriteListEnd();
        },
        true);
}

void TdxBarImageCombo::ReadImageIndexes(TReader* reader)
{
    reader->ReadListBegin();
    // Values past the last entry are read and dropped; entries past the last value keep theirs.
    for (int i = 0; !reader->EndOfList(); ++i) {
        const int value = reader->ReadInteger();
        if (i < Items()->Count()) SetImageIndexes(i, value);
    }
    reader->ReadListEnd();
}

// ---------------------------------------------------------------- TdxBarImageComboControl

TdxBarImageComboControl::TdxBarImageComboControl(TdxBarItemLink* link) : TdxBarComboControl(link) {}

int TdxBarImageComboControl::GetHeight()
{
    const int height = TdxBarComboControl::GetHeight();
    auto* combo = qobject_cast<TdxBarImageCombo*>(Item());
    TCustomdxBarControl* parent = Parent();
    if (!combo || !combo->Images() || (parent && parent->IsToolbar() && parent->IsRotated())) return height;
    return std::max(height, combo->Images()->Height() + 6);
}

void TdxBarImageComboControl::ImagesChanged()
{
    RepaintBar();
}
