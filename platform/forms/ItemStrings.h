#pragma once
// The items of a list control (a list box, a combo box) as a string list: each string is a
// row of the control's item model, its object kept beside it. Every change goes straight to
// the model, so the control shows it at once.
#include "Strings.h"

#include <QPointer>

#include <QAbstractItemModel>

class TModelStrings : public TStrings {
    Q_OBJECT
public:
    explicit TModelStrings(QAbstractItemModel* model) : model_(model) {}

    int Count() const override;
    QString Strings(int index) const override;
    void* Objects(int index) const override;
    void Put(int index, const QString& s) override;
    void PutObject(int index, void* object) override;
    void Insert(int index, const QString& s) override;
    void Delete(int index) override;
    void Clear() override;

private:
    void CheckIndex(int index, int count) const;

    QPointer<QAbstractItemModel> model_;
};
