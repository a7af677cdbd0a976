#pragma once
// The dialog that asks for a toolbar's (or a category's) name: an edit with OK and Cancel.
// OK is enabled only while the name is not empty; a toolbar name another bar of the manager
// already carries is refused with a message, and the dialog stays open.
#include "Forms.h"
#include "StdCtrls.h"

#include <QPointer>

class TdxBar;
class TdxBarManager;

// What is named and how: a new toolbar or a renamed one; a category added, inserted or renamed.
enum class TdxBarNameKind { Toolbar, Category };
enum class TdxBarNameMode { New = 0, Rename = 1, Insert = 1, RenameCategory = 2 };

class TdxBarNameEd : public TForm {
    Q_OBJECT
    Q_PROPERTY(TLabel* LName MEMBER LName STORED false)
    Q_PROPERTY(TEdit* EName MEMBER EName STORED false)
    Q_PROPERTY(TButton* BOK MEMBER BOK STORED false)
    Q_PROPERTY(TButton* BCancel MEMBER BCancel STORED false)
public:
    explicit TdxBarNameEd(TComponent* owner);

    TLabel* LName = nullptr;
    TEdit* EName = nullptr;
    TButton* BOK = nullptr;
    TButton* BCancel = nullptr;

    // Captions for kind and mode, the name to edit, and what a toolbar name is checked
    // against: the manager's bars other than bar (none for a new one).
    void Prepare(const QString& name, TdxBarNameKind kind, TdxBarNameMode mode, TdxBar* bar, TdxBarManager* manager);
    // Closing with OK needs a name, and for a toolbar one no other bar carries.
    bool CloseQuery() override;

private:
    void ENameChange(TObject* sender);

    TdxBarNameKind kind_ = TdxBarNameKind::Toolbar;
    QPointer<TdxBar> bar_;
    QPointer<TdxBarManager> manager_;
};

// Asks for a name in the dialog (in font when given). True on OK, and name then holds the
// name entered; name is left alone otherwise. owner: the window the dialog belongs to.
bool dxBarShowNameEditor(QString& name, TdxBarNameKind kind, TdxBarNameMode mode, TdxBar* bar, TdxBarManager* manager,
                         const TFont* font = nullptr, QWidget* owner = nullptr);
