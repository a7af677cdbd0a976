#include "ItemStrings.h"

#include <QAbstractItemModel>

namespace {
constexpr int kObjectRole = Qt::UserRole;
}  // namespace

void TModelStrings::CheckIndex(int index, int count) const
{
    if (index < 0 || index >= count) IndexError(index);
}

int TModelStrings::Count() const
{
    return model_ ? model_->rowCount() : 0;
}

QString TModelStrings::Strings(int index) const
{
    CheckIndex(index, Count());
    return model_->index(index, 0).data(Qt::DisplayRole).toString();
}

void* TModelStrings::Objects(int index) const
{
    CheckIndex(index, Count());
    return reinterpret_cast<void*>(model_->index(index, 0).data(kObjectRole).value<quintptr>());
}

void TModelStrings::Put(int index, const QString& s)
{
    CheckIndex(index, Count());
    model_->setData(model_->index(index, 0), s, Qt::DisplayRole);
}

void TModelStrings::PutObject(int index, void* object)
{
    CheckIndex(index, Count());
    model_->setData(model_->index(index, 0), QVariant::fromValue(reinterpret_cast<quintptr>(object)), kObjectRole);
}

void TModelStrings::Insert(int index, const QString& s)
{
    CheckIndex(index, Count() + 1);
    model_->insertRow(index);
    model_->setData(model_->index(index, 0), s, Qt::DisplayRole);
}

void TModelStrings::Delete(int index)
{
    CheckIndex(index, Count());
    model_->removeRow(index);
}

void TModelStrings::Clear()
{
    if (model_) model_->removeRows(0, model_->rowCount());
}
