#include "ImgList.h"

#include "Streaming.h"

#include <QBuffer>
#include <QPainter>

TChangeLink::~TChangeLink()
{
    if (sender_) sender_->UnRegisterChanges(this);
}

TCustomImageList::TCustomImageList(TComponent* owner) : TComponent(owner) {}

TCustomImageList::~TCustomImageList()
{
    for (TChangeLink* link : links_) link->sender_ = nullptr;
}

void TCustomImageList::SetWidth(int value)
{
    if (value <= 0 || value == width_) return;
    width_ = value;
    Clear();
}

void TCustomImageList::SetHeight(int value)
{
    if (value <= 0 || value == height_) return;
    height_ = value;
    Clear();
}

int TCustomImageList::Add(const QImage& image)
{
    images_.append(image.isNull() ? image : image.scaled(width_, height_));
    Change();
    return int(images_.size()) - 1;
}

void TCustomImageList::Clear()
{
    if (images_.isEmpty()) return;
    images_.clear();
    Change();
}

void TCustomImageList::RegisterChanges(TChangeLink* link)
{
    if (!link || links_.contains(link)) return;
    if (link->sender_) link->sender_->UnRegisterChanges(link);
    link->sender_ = this;
    links_.append(link);
}

void TCustomImageList::UnRegisterChanges(TChangeLink* link)
{
    if (!link || !links_.removeOne(link)) return;
    link->sender_ = nullptr;
}

void TCustomImageList::Change()
{
    // A handler may unregister links: walk a copy and skip the ones gone meanwhile.
    const QList<TChangeLink*> links = links_;
    for (TChangeLink* link : links)
        if (links_.contains(link) && link->OnChange) link->OnChange(this);
}

void TCustomImageList::DefineProperties(TFiler* filer)
{
    TComponent::DefineProperties(filer);
    if (!filer) return;
    filer->DefineBinaryProperty(
        QStringLiteral("Bitmap"), [this](const QByteArray& data) { ReadBitmap(data); },
        [this](QByteArray& data) { data = WriteBitmap(); }, !images_.isEmpty());
}

void TCustomImageList::ReadBitmap(const QByteArray& data)
{
    images_.clear();
    QImage strip;
    if (strip.loadFromData(data, "PNG")) {
        strip = strip.convertToFormat(QImage::Format_ARGB32);
        for (int y = 0; y + height_ <= strip.height(); y += height_)
            for (int x = 0; x + width_ <= strip.width(); x += width_) images_.append(strip.copy(x, y, width_, height_));
    }
    Change();
}

QByteArray TCustomImageList::WriteBitmap() const
{
    QByteArray data;
    if (images_.isEmpty()) return data;
    QImage strip(width_ * int(images_.size()), height_, QImage::Format_ARGB32);
    strip.fill(Qt::transparent);
    QPainter painter(&strip);
    for (int i = 0; i < images_.size(); ++i) painter.drawImage(i * width_, 0, images_[i]);
    painter.end();
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    strip.save(&buffer, "PNG");
    return data;
}
