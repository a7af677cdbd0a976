#pragma once
// TdxBarLargeButton: a button with a large glyph and a hot one (bitmaps, or indexes into the
// manager's LargeImages and HotImages), the glyph on one side of the caption, drawn gray
// unless hot, and an optional fixed size. On toolbars TdxBarLargeButtonControl sizes and
// draws it; in menus it is a plain button.
#include "dxBarButtonControl.h"
#include "Graphics.h"
#include "dxBarItems.h"

#include <QSize>
#include <memory>

class TCustomImageList;

namespace dxBarLargeButtonTypes {
Q_NAMESPACE
enum TdxBarLargeButtonGlyphLayout { glLeft, glRight, glTop, glBottom };
Q_ENUM_NS(TdxBarLargeButtonGlyphLayout)
}  // namespace dxBarLargeButtonTypes

using namespace dxBarLargeButtonTypes;

class TdxBarLargeButton : public TdxBarButton {
    Q_OBJECT
    Q_PROPERTY(bool AutoGrayScale READ AutoGrayScale WRITE SetAutoGrayScale)
    Q_PROPERTY(dxBarLargeButtonTypes::TdxBarLargeButtonGlyphLayout GlyphLayout READ GlyphLayout WRITE SetGlyphLayout)
    Q_PROPERTY(int Height READ Height WRITE SetHeight)
    Q_PROPERTY(TBitmap* HotGlyph READ HotGlyph WRITE SetHotGlyph)
    Q_PROPERTY(int HotImageIndex READ HotImageIndex WRITE SetHotImageIndex)
    Q_PROPERTY(TBitmap* LargeGlyph READ LargeGlyph WRITE SetLargeGlyph)
    Q_PROPERTY(int LargeImageIndex READ LargeImageIndex WRITE SetLargeImageIndex)
    Q_PROPERTY(bool ShowCaption READ ShowCaption WRITE SetShowCaption)
    Q_PROPERTY(int Width READ Width WRITE SetWidth)
    Q_CLASSINFO("Default.AutoGrayScale", "True")
    Q_CLASSINFO("Default.GlyphLayout", "glTop")
    Q_CLASSINFO("Default.Height", "0")
    Q_CLASSINFO("Default.HotImageIndex", "-1")
    Q_CLASSINFO("Default.LargeImageIndex", "-1")
    Q_CLASSINFO("Default.ShowCaption", "True")
    Q_CLASSINFO("Default.Width", "0")
public:
    Q_INVOKABLE explicit TdxBarLargeButton(TComponent* owner);
    ~TdxBarLargeButton() override;

    bool AutoGrayScale() const { return autoGrayScale_; }
    void SetAutoGrayScale(bool value);
    TdxBarLargeButtonGlyphLayout GlyphLayout() const { return glyphLayout_; }
    void SetGlyphLayout(TdxBarLargeButtonGlyphLayout value);
    // 0 is automatic; a negative value is ignored.
    int Height() const { return height_; }
    void SetHeight(int value);
    // Assigned by copy.
    TBitmap* HotGlyph() const { return hotGlyph_.get(); }
    void SetHotGlyph(TBitmap* value);
    int HotImageIndex() const { return hotImageIndex_; }
    void SetHotImageIndex(int value);
    TBitmap* LargeGlyph() const { return largeGlyph_.get(); }
    void SetLargeGlyph(TBitmap* value);
    int LargeImageIndex() const { return largeImageIndex_; }
    void SetLargeImageIndex(int value);
    bool ShowCaption() const { return showCaption_; }
    void SetShowCaption(bool value);
    // 0 is automatic; a negative value is ignored.
    int Width() const { return width_; }
    void SetWidth(int value);

    // No accelerator on a toolbar without the caption.
    bool IsAccelEnabled(TdxBarItemLink* link) const override;
    void HotGlyphChanged() override;
    void LargeGlyphChanged() override;
    bool UseHotImages() const override { return hotImageIndex_ >= 0; }
    bool UseLargeImages() const override { return largeImageIndex_ >= 0; }

private:
    // Tells every link control through its large-button operation.
    void TellControls(void (*tell)(class TdxBarLargeButtonControl*));
    void HotGlyphChange(TObject* sender);
    void LargeGlyphChange(TObject* sender);

    bool autoGrayScale_ = true;
    TdxBarLargeButtonGlyphLayout glyphLayout_ = glTop;
    int height_ = 0;
    std::unique_ptr<TBitmap> hotGlyph_;
    int hotImageIndex_ = -1;
    std::unique_ptr<TBitmap> largeGlyph_;
    int largeImageIndex_ = -1;
    bool showCaption_ = true;
    int width_ = 0;
};

// The glyph a large button draws: a bitmap, or an image of a list, or neither (then only a
// list to size by, or none).
struct TdxBarLargeButtonGlyph {
    const TBitmap* bitmap = nullptr;
    TCustomImageList* images = nullptr;
    int imageIndex = -1;
    // The glyph's size; for none, the sizing list's, else empty.
    QSize size;
    bool Exists() const { return bitmap || imageIndex >= 0; }
};

class TdxBarLargeButtonControl : public TdxBarButtonControl {
public:
    explicit TdxBarLargeButtonControl(TdxBarItemLink* link);

    TdxBarLargeButton* LargeButton() const;

    int GetArrowWidth() const override;
    int GetHeight() override;
    int GetWidth() override;
    int GetDefaultHeight() override;
    int GetDefaultWidth() override;
    void Draw(TCanvas& p, const TRect& r, int paintType) override;

    // Hot: the hot glyph first, then the large one; else the other way round.
    TdxBarLargeButtonGlyph ChooseGlyph(bool hot) const;

    // The item's changes.
    virtual void GlyphLayoutChanged();
    virtual void HeightChanged();
    virtual void HotGlyphChanged();
    virtual void LargeGlyphChanged();
    virtual void ShowCaptionChanged();
    virtual void WidthChanged() override;

private:
    bool InToolbarWindow() const;
    bool RotatedWithCaption() const;
    // The face less its frame, the glyph's place and the caption's rectangle.
    void DrawFace(QPainter& p, const TRect& face, int paintType, bool selected, bool pressedLook);
};

extern TdxBarItemControlClass TdxBarLargeButtonControlClass;
