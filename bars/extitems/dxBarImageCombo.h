#pragma once
// TdxBarImageCombo: a drop-down list item whose entries each carry an index into an image
// list; the list and the text box show the image beside the entry's text, or the image alone
// (ShowText off). An entry's image index is kept in its object as index + 1, so an entry
// added without one has none (-1). The indexes stream as "ImageIndexes", one integer per
// entry, read after Items. TdxBarImageComboControl shows it, as tall as its images need.
//
// Without OnClick, a click on an item that cannot edit in place opens the "Select item"
// dialog, a list of the entries drawn as the drop-down draws them.
#include "ImgList.h"
#include "dxBarEditControls.h"
#include "dxBarItems.h"

#include <QPointer>
#include <QSize>

Q_MOC_INCLUDE("Strings.h")

// Where an entry's image and text go inside its rectangle.
struct TImageComboEntryLayout {
    TRect Image;  // zero width when no image is drawn and no space is kept for one
    TRect Text;
    bool DrawImage = false;
};

// imageSize: the list's images; validImage: the entry's index names one of them; keepSpace:
// an entry without an image keeps the image's room (while the item is being edited).
TImageComboEntryLayout dxBarImageComboEntryLayout(const TRect& rect, QSize imageSize, bool showText, bool validImage,
                                                  bool keepSpace);

class TdxBarImageCombo : public TdxBarCustomCombo {
    Q_OBJECT
    Q_PROPERTY(TCustomImageList* Images READ Images WRITE SetImages)
    Q_PROPERTY(TStrings* Items READ Items WRITE SetItems)
    Q_PROPERTY(bool Sorted READ Sorted WRITE SetSorted)
    Q_PROPERTY(int ItemIndex READ ItemIndex WRITE SetItemIndex)
    Q_PROPERTY(bool ShowText READ ShowText WRITE SetShowText)
    Q_CLASSINFO("Default.ShowEditor", "False")
    Q_CLASSINFO("Default.Sorted", "False")
    Q_CLASSINFO("Default.ShowText", "True")
public:
    Q_INVOKABLE explicit TdxBarImageCombo(TComponent* owner);
    ~TdxBarImageCombo() override;

    TCustomImageList* Images() const { return images_; }
    void SetImages(TCustomImageList* value);
    bool ShowText() const { return showText_; }
    void SetShowText(bool value);
    // The image index of entry i (-1 for none, or for no such entry).
    int ImageIndexes(int index) const;
    void SetImageIndexes(int index, int value);

    // Re-lays out the bars that show the item.
    virtual void ImagesChanged();

    void DrawItem(TCanvas& p, const QFont& font, int index, const TRect& rect, unsigned state,
                  bool flatInterior = false) override;
    void MeasureItem(int index, const QFont& font, int& height) override;
    void MeasureItemWidth(int index, const QFont& font, int& width) override;
    bool DrawsTextBox() const override;
    // Without OnClick and unless ReadOnly, opens the "Select item" dialog; OK takes its entry.
    void Click() override;

    void DefineProperties(TFiler* filer) override;
    void Notification(TComponent* component, TOperation operation) override;

private:
    void ImageListChange(TObject* sender);
    void ReadImageIndexes(TReader* reader);
    // A link of the item whose control is being edited.
    bool HasFocusedLink() const;

    TChangeLink imagesLink_;
    TCustomImageList* images_ = nullptr;
    bool showText_ = true;
};

class TdxBarImageComboControl : public TdxBarComboControl {
public:
    explicit TdxBarImageComboControl(TdxBarItemLink* link);

    // At least the images' height + 6, except on a rotated toolbar.
    int GetHeight() override;
    virtual void ImagesChanged();
};

extern TdxBarItemControlClass TdxBarImageComboControlClass;
