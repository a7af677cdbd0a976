#pragma once
// The custom insert editor: the name and text of the five custom inserts, one slot at a
// time, with Prev and Next to move between them.
#include "Forms.h"
#include "StdCtrls.h"
#include "dxBarItems.h"
#include "dxBarManager.h"

class TfrmCustom : public TForm {
    Q_OBJECT
    Q_PROPERTY(TLabel* Label1 MEMBER Label1 STORED false)
    Q_PROPERTY(TEdit* edName MEMBER edName STORED false)
    Q_PROPERTY(TLabel* Label2 MEMBER Label2 STORED false)
    Q_PROPERTY(TMemo* mmText MEMBER mmText STORED false)
    Q_PROPERTY(TButton* btOK MEMBER btOK STORED false)
    Q_PROPERTY(TButton* btCancel MEMBER btCancel STORED false)
    Q_PROPERTY(TdxBarManager* CustBarMan MEMBER CustBarMan STORED false)
    Q_PROPERTY(TdxBarButton* btPrevBt MEMBER btPrevBt STORED false)
    Q_PROPERTY(TdxBarButton* btNextBt MEMBER btNextBt STORED false)
public:
    explicit TfrmCustom(TComponent* owner);

    TLabel* Label1 = nullptr;
    TEdit* edName = nullptr;
    TLabel* Label2 = nullptr;
    TMemo* mmText = nullptr;
    TButton* btOK = nullptr;
    TButton* btCancel = nullptr;
    TdxBarManager* CustBarMan = nullptr;
    TdxBarButton* btPrevBt = nullptr;
    TdxBarButton* btNextBt = nullptr;

    // The slot shown (1 to 5) and whether its boxes changed since it was shown or stored.
    int Slot = 1;
    bool Modified = false;

    Q_INVOKABLE void FormCreate(TObject* Sender);
    Q_INVOKABLE void btNextClick(TObject* Sender);
    Q_INVOKABLE void btPrevClick(TObject* Sender);
    Q_INVOKABLE void btOKClick(TObject* Sender);
    Q_INVOKABLE void btCancelClick(TObject* Sender);
    Q_INVOKABLE void mmTextChange(TObject* Sender);

    // Copies the boxes into the shown slot and its item's caption.
    void StoreSlot();
    // Asks to store a modified slot; the silent abort on Cancel.
    void AskSaveSlot();

private:
    void ShowSlot(int slot);
};
