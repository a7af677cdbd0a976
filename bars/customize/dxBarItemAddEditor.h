#pragma once
// The dialog that adds an item in design mode: its name, caption, class (the registry's
// public item classes) and category. Choosing a class proposes a name no component of the
// form bears. OK makes the item, owned by the manager's form; should naming it fail, the item
// goes again, a fresh name is proposed and the dialog stays open.
#include "Forms.h"
#include "StdCtrls.h"
#include "dxBarRegistry.h"

#include <QList>
#include <QPointer>

class TdxBarItem;
class TdxBarManager;

class TdxBarItemAddEditor : public TForm {
    Q_OBJECT
    Q_PROPERTY(TLabel* LName MEMBER LName STORED false)
    Q_PROPERTY(TEdit* EName MEMBER EName STORED false)
    Q_PROPERTY(TLabel* LCaption MEMBER LCaption STORED false)
    Q_PROPERTY(TEdit* ECaption MEMBER ECaption STORED false)
    Q_PROPERTY(TLabel* LType MEMBER LType STORED false)
    Q_PROPERTY(TComboBox* CBType MEMBER CBType STORED false)
    Q_PROPERTY(TLabel* LCategory MEMBER LCategory STORED false)
    Q_PROPERTY(TComboBox* CBCategory MEMBER CBCategory STORED false)
    Q_PROPERTY(TButton* BOK MEMBER BOK STORED false)
    Q_PROPERTY(TButton* BCancel MEMBER BCancel STORED false)
public:
    explicit TdxBarItemAddEditor(TComponent* owner);

    TLabel* LName = nullptr;
    TEdit* EName = nullptr;
    TLabel* LCaption = nullptr;
    TEdit* ECaption = nullptr;
    TLabel* LType = nullptr;
    TComboBox* CBType = nullptr;
    TLabel* LCategory = nullptr;
    TComboBox* CBCategory = nullptr;
    TButton* BOK = nullptr;
    TButton* BCancel = nullptr;

    // Lists the classes and the manager's categories (category selected, else the first) and
    // proposes a name for the first class.
    void Prepare(TdxBarManager* manager, int category);
    // The classes offered, in the order of the type list.
    const QList<TdxBarItemClass>& Classes() const { return classes_; }
    // The item made by OK.
    TdxBarItem* Item() const { return item_; }
    // The type list's OnChange: a name for the chosen class.
    void CBTypeChange(TObject* sender);
    bool CloseQuery() override;

private:
    // Makes the item; none when that failed (a message was shown).
    TdxBarItem* MakeItem();

    QPointer<TdxBarManager> manager_;
    QList<TdxBarItemClass> classes_;
    QPointer<TdxBarItem> item_;
};

// Shows the dialog for manager with category preselected; the new item on OK, else none.
TdxBarItem* dxBarShowItemAddEditor(TdxBarManager* manager, int category, const TFont* font = nullptr,
                                   QWidget* owner = nullptr);
