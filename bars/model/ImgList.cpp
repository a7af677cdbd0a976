#include "ImgList.h"

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
