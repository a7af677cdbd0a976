#pragma once
// Image lists: a component holding equally sized images, and change links through which
// users of a list (bars, tree views) learn that its images changed.
#include "Classes.h"

#include <QImage>
#include <QList>

class TCustomImageList;

// One user's subscription to a list's changes.
class TChangeLink {
public:
    TChangeLink() = default;
    ~TChangeLink();
    TChangeLink(const TChangeLink&) = delete;
    TChangeLink& operator=(const TChangeLink&) = delete;

    TCustomImageList* Sender() const { return sender_; }
    TNotifyEvent OnChange;

private:
    friend class TCustomImageList;
    TCustomImageList* sender_ = nullptr;
};

class TCustomImageList : public TComponent {
    Q_OBJECT
    Q_PROPERTY(int Width READ Width WRITE SetWidth)
    Q_PROPERTY(int Height READ Height WRITE SetHeight)
    Q_CLASSINFO("Default.Width", "16")
    Q_CLASSINFO("Default.Height", "16")
public:
    Q_INVOKABLE explicit TCustomImageList(TComponent* owner);
    ~TCustomImageList() override;

    int Count() const { return int(images_.size()); }
    int Width() const { return width_; }
    void SetWidth(int value);
    int Height() const { return height_; }
    void SetHeight(int value);
    // Appends an image (scaled to the list's size); answers its index.
    int Add(const QImage& image);
    void Clear();
    QImage Image(int index) const { return images_.value(index); }

    void RegisterChanges(TChangeLink* link);
    void UnRegisterChanges(TChangeLink* link);

    // The images stream as "Bitmap": one PNG holding them side by side, in rows as wide as
    // the list's images.
    void DefineProperties(TFiler* filer) override;
    // Replaces the images with the tiles of a PNG (left to right, then top to bottom).
    // Data that is no image leaves the list empty.
    void ReadBitmap(const QByteArray& data);
    QByteArray WriteBitmap() const;

protected:
    // Tells every registered link.
    void Change();

private:
    QList<QImage> images_;
    QList<TChangeLink*> links_;
    int width_ = 16;
    int height_ = 16;
};

class TImageList : public TCustomImageList {
    Q_OBJECT
public:
    Q_INVOKABLE explicit TImageList(TComponent* owner) : TCustomImageList(owner) {}
};
