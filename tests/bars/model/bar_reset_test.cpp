// Resetting a bar from a fresh copy of its form read from the form's resource.
#include "Application.h"
#include "ClassRegistry.h"
#include "DialogScript.h"
#include "Dialogs.h"
#include "FormResources.h"
#include "Forms.h"
#include "dxBarBar.h"
#include "dxBarItemLink.h"
#include "dxBarItems.h"
#include "dxBarManager.h"
#include "dxBarRegistry.h"
#include "dxBarStrs.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

const char* const kResetFormText = R"(object ResetTestForm: TResetTestForm
  Width = 400
  Height = 300
  Caption = 'Reset'
  OnCreate = FormCreate
  object BarManager1: TdxBarManager
    Bars = <
      item
        Caption = 'Tools'
        ItemLinks = <
          item
            Item = btOpen
          end
          item
            Item = btSave
          end
          item
            BeginGroup = True
            Item = siFile
          end>
        Name = 'Tools'
        OneOnRow = True
      end>
    Categories = (
      'Default')
    OnBarAfterReset = BarAfterReset
    OnBarBeforeReset = BarBeforeReset
    object btOpen: TdxBarButton
      Caption = 'Open'
      Category = 0
    end
    object btSave: TdxBarButton
      Caption = 'Save'
      Category = 0
    end
    object btNew: TdxBarButton
      Caption = 'New'
      Category = 0
    end
    object siFile: TdxBarSubItem
      Caption = 'File'
      Category = 0
      ItemLinks = <
        item
          Item = btOpen
        end>
    end
  end
end
)";

// Handler calls of every form of this class, the temporary copy's included.
QStringList handlerLog;

}  // namespace

class TResetTestForm : public TForm {
    Q_OBJECT
    Q_PROPERTY(TdxBarManager* BarManager1 MEMBER BarManager1 STORED false)
    Q_PROPERTY(TdxBarButton* btOpen MEMBER btOpen STORED false)
    Q_PROPERTY(TdxBarButton* btSave MEMBER btSave STORED false)
    Q_PROPERTY(TdxBarButton* btNew MEMBER btNew STORED false)
    Q_PROPERTY(TdxBarSubItem* siFile MEMBER siFile STORED false)
public:
    Q_INVOKABLE explicit TResetTestForm(TComponent* owner) : TForm(owner) {}
    Q_INVOKABLE void FormCreate(TObject*) { handlerLog << "FormCreate"; }
    Q_INVOKABLE void BarBeforeReset(TdxBarManager*, TdxBar* bar) { handlerLog << "Before:" + bar->Caption(); }
    Q_INVOKABLE void BarAfterReset(TdxBarManager*, TdxBar* bar) { handlerLog << "After:" + bar->Caption(); }
    void FailLinkChange(TdxBarManager*, TdxBarItemLink*) { throw Exception(QStringLiteral("link refused")); }

    TdxBarManager* BarManager1 = nullptr;
    TdxBarButton* btOpen = nullptr;
    TdxBarButton* btSave = nullptr;
    TdxBarButton* btNew = nullptr;
    TdxBarSubItem* siFile = nullptr;
};

// Counts the layout restores that loading asks for.
class TLayoutCountingManager : public TdxBarManager {
    Q_OBJECT
public:
    Q_INVOKABLE explicit TLayoutCountingManager(TComponent* owner) : TdxBarManager(owner) {}
    void LoadLayoutAfterLoading() override { ++restores; }
    static inline int restores = 0;
};

class TCountingManagerForm : public TForm {
    Q_OBJECT
public:
    Q_INVOKABLE explicit TCountingManagerForm(TComponent* owner) : TForm(owner) {}
};

// A form class with no resource of its own.
class TPlainResetForm : public TForm {
    Q_OBJECT
public:
    using TForm::TForm;
};

namespace {

class BarResetTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        dxBarInitialize();
        dxBarRegisterManagerClasses();
        handlerLog.clear();
        RegisterFormResource(QStringLiteral("TResetTestForm"), QString::fromUtf8(kResetFormText));
        form.reset(Create<TResetTestForm>(nullptr));
        bar = form->BarManager1->Bars()->Items(0);
        EXPECT_EQ(handlerLog, QStringList({"FormCreate"}));
        handlerLog.clear();
    }
    void TearDown() override
    {
        form.reset();
        UnregisterFormResource(QStringLiteral("TResetTestForm"));
        dxBarFinalize();
    }

    // The items of a link list, by name.
    static QStringList ItemNames(TdxBarItemLinks* links)
    {
        QStringList names;
        for (int i = 0; i < links->Count(); ++i) names << links->Items(i)->Item()->Name();
        return names;
    }

    // Deletes the Save link, adds New, clears the sub item's group line, renames the bar
    // and empties the sub item's menu.
    void Customize()
    {
        delete bar->ItemLinks()->Items(1);
        bar->ItemLinks()->Add()->SetItem(form->btNew);
        bar->ItemLinks()->Items(1)->SetBeginGroup(false);
        bar->SetCaption(QStringLiteral("My Tools"));
        bar->SetOneOnRow(false);
        form->siFile->ItemLinks()->Clear();
    }

    void ExpectLinksRestored()
    {
        ASSERT_EQ(ItemNames(bar->ItemLinks()), QStringList({"btOpen", "btSave", "siFile"}));
        EXPECT_TRUE(bar->ItemLinks()->Items(2)->BeginGroup());
        // The links show the live form's items, not the copy's (which is gone by now).
        EXPECT_EQ(bar->ItemLinks()->Items(0)->Item(), form->btOpen);
        EXPECT_EQ(bar->ItemLinks()->Items(2)->Item(), form->siFile);
        ASSERT_EQ(ItemNames(form->siFile->ItemLinks()), QStringList({"btOpen"}));
        EXPECT_EQ(form->siFile->ItemLinks()->Items(0)->Item(), form->btOpen);
    }

    std::unique_ptr<TResetTestForm> form;
    TdxBar* bar = nullptr;
};

}  // namespace

TEST_F(BarResetTest, TheFormReadsItsResourceWithHandlers)
{
    ASSERT_NE(form->BarManager1, nullptr);
    EXPECT_EQ(ItemNames(bar->ItemLinks()), QStringList({"btOpen", "btSave", "siFile"}));
    EXPECT_TRUE(bar->OneOnRow());
    EXPECT_TRUE(bar->ItemLinks()->Items(2)->BeginGroup());
}

TEST_F(BarResetTest, LinksOnlyResetRestoresLinksAndKeepsTheCaption)
{
    Customize();
    bar->Reset();
    ExpectLinksRestored();
    EXPECT_EQ(bar->Caption(), "My Tools");
    EXPECT_FALSE(bar->OneOnRow());
    // Only the live form's reset handlers ran: the copy neither binds nor fires events.
    EXPECT_EQ(handlerLog, QStringList({"Before:My Tools", "After:My Tools"}));
    EXPECT_FALSE(dxBarReadingTempForm());
}

TEST_F(BarResetTest, FullResetRestoresTheBarsPropertiesToo)
{
    form->BarManager1->setProperty("UseFullReset", true);
    Customize();
    form->BarManager1->LockUpdate(false);
    bar->Reset();
    ExpectLinksRestored();
    EXPECT_EQ(bar->Caption(), "Tools");
    // A property whose name begins with "On" is read back like any other.
    EXPECT_TRUE(bar->OneOnRow());
    EXPECT_FALSE(form->BarManager1->UpdateLocked());
    EXPECT_EQ(handlerLog, QStringList({"Before:My Tools", "After:Tools"}));
}

TEST_F(BarResetTest, AnExceptionDuringTheResetUndoesLocksAndByNameMode)
{
    TdxBarManager* manager = form->BarManager1;
    manager->setProperty("UseFullReset", true);
    bar->SetVisible(true);
    Customize();
    manager->OnItemLinkChange = TdxBarItemLinkEvent(form.get(), &TResetTestForm::FailLinkChange);
    EXPECT_THROW(bar->Reset(), Exception);
    EXPECT_FALSE(manager->UpdateLocked());
    EXPECT_TRUE(bar->Visible());
    EXPECT_FALSE(dxBarAssignLinksByName());
    EXPECT_FALSE(dxBarReadingTempForm());
    EXPECT_EQ(handlerLog, QStringList({"Before:My Tools"}));

    manager->setProperty("UseFullReset", false);
    EXPECT_THROW(bar->Reset(), Exception);
    EXPECT_FALSE(dxBarAssignLinksByName());
    manager->OnItemLinkChange = {};
    bar->Reset();
    ExpectLinksRestored();
}

TEST_F(BarResetTest, TheTemporaryCopyHoldsOnlyTheManagerAndDoesNotStoreLayouts)
{
    form->BarManager1->setProperty("StoreInIniFile", true);
    std::unique_ptr<TCustomForm> copy(form->BarManager1->CreateTempForm());
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->metaObject()->className(), QByteArray("TdxBarTempForm"));
    EXPECT_FALSE(copy->Visible());
    EXPECT_EQ(copy->Width(), 400);
    EXPECT_EQ(copy->Height(), 300);
    EXPECT_EQ(copy->Caption(), "");  // form-level properties other than the size stay out
    auto* manager = qobject_cast<TdxBarManager*>(copy->FindComponent("BarManager1"));
    ASSERT_NE(manager, nullptr);
    EXPECT_FALSE(manager->StoreInIniFile());
    EXPECT_FALSE(manager->StoreInRegistry());
    EXPECT_FALSE(manager->OnBarAfterReset);
    EXPECT_NE(copy->FindComponent("btSave"), form->btSave);
    EXPECT_NE(copy->FindComponent("btSave"), nullptr);
    EXPECT_TRUE(handlerLog.isEmpty());
}

TEST_F(BarResetTest, NothingChangesWithoutAResourceOrAMatchingBar)
{
    // A second bar that the resource does not have.
    TdxBar* extra = form->BarManager1->Bars()->Add();
    extra->ItemLinks()->Add()->SetItem(form->btNew);
    extra->Reset();
    EXPECT_EQ(ItemNames(extra->ItemLinks()), QStringList({"btNew"}));
    EXPECT_TRUE(handlerLog.isEmpty());

    auto plain = std::unique_ptr<TPlainResetForm>(Create<TPlainResetForm>(nullptr));
    auto* manager = Create<TdxBarManager>(plain.get());
    EXPECT_EQ(manager->CreateTempForm(), nullptr);
    TdxBar* plainBar = manager->Bars()->Add();
    plainBar->SetCaption(QStringLiteral("Plain"));
    plainBar->Reset();
    EXPECT_EQ(plainBar->Caption(), "Plain");
}

TEST_F(BarResetTest, ConfirmationCancelledChangesNothing)
{
    Customize();
    TDialogScript script;
    script.AnswerMessage(IDCANCEL);
    bar->ResetWithConfirmation();
    ASSERT_EQ(script.Log("MessageBox").size(), 1);
    const TDialogRecord box = script.Log("MessageBox").first();
    EXPECT_EQ(box.text, dxBarFormat(dxBarStr(dxSBAR_CONFIRMRESETTOOLBAR), QStringLiteral("My Tools")));
    EXPECT_TRUE(box.text.contains("My Tools"));
    EXPECT_EQ(box.flags, MB_OKCANCEL | MB_ICONEXCLAMATION);
    EXPECT_EQ(ItemNames(bar->ItemLinks()), QStringList({"btOpen", "siFile", "btNew"}));
    EXPECT_TRUE(handlerLog.isEmpty());

    script.AnswerMessage(IDOK);
    bar->ResetWithConfirmation();
    ExpectLinksRestored();
}

TEST_F(BarResetTest, TheCopysManagerSkipsTheLayoutRestoreAndItsClassNeedNotBeRegistered)
{
    RegisterFormResource(QStringLiteral("TCountingManagerForm"),
                         QStringLiteral(R"(object CountingForm: TCountingManagerForm
  object Counting1: TLayoutCountingManager
    Bars = <
      item
        Caption = 'Edit'
        Name = 'Edit'
      end>
  end
end
)"));
    RegisterClass<TLayoutCountingManager>();
    TLayoutCountingManager::restores = 0;
    std::unique_ptr<TCountingManagerForm> live(Create<TCountingManagerForm>(nullptr));
    UnregisterClass<TLayoutCountingManager>();
    EXPECT_EQ(TLayoutCountingManager::restores, 1);
    auto* manager = qobject_cast<TdxBarManager*>(live->FindComponent("Counting1"));
    ASSERT_NE(manager, nullptr);
    std::unique_ptr<TCustomForm> copy(manager->CreateTempForm());
    ASSERT_NE(copy, nullptr);
    EXPECT_NE(copy->FindComponent("Counting1"), nullptr);
    EXPECT_EQ(TLayoutCountingManager::restores, 1);
    EXPECT_FALSE(GetClass(QStringLiteral("TLayoutCountingManager")));
    copy.reset();
    live.reset();
    UnregisterFormResource(QStringLiteral("TCountingManagerForm"));
}

#include "bar_reset_test.moc"

TEST_F(BarResetTest, UsageResetAsksWithNoAsDefaultThenRestoresRecentUseButNotCustomizations)
{
    TdxBarManager* manager = form->BarManager1;
    Customize();
    form->siFile->ItemLinks()->Add()->SetItem(form->btNew);
    TdxBarItemLink* open = bar->ItemLinks()->Items(0);
    TdxBarItemLink* subNew = form->siFile->ItemLinks()->Items(0);
    open->SetMostRecentlyUsed(false);
    subNew->SetMostRecentlyUsed(false);
    open->SetUseCount(3);
    const auto forgotten = [&] {
        return !open->MostRecentlyUsed() && !subNew->MostRecentlyUsed() && open->UseCount() == 3;
    };

    TDialogScript script;
    script.AnswerMessage(IDNO);
    manager->ResetUsageData();
    ASSERT_EQ(script.Log("MessageBox").size(), 1);
    const TDialogRecord box = script.Log("MessageBox").first();
    EXPECT_EQ(box.text, dxBarStr(dxSBAR_CONFIRMRESETUSAGEDATA));
    EXPECT_EQ(box.caption, Application ? Application->Title() : QString());
    EXPECT_EQ(box.flags, MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2);
    EXPECT_TRUE(forgotten());

    script.AnswerMessage(IDYES);
    manager->ResetUsageData();
    EXPECT_TRUE(open->MostRecentlyUsed());
    EXPECT_TRUE(subNew->MostRecentlyUsed());
    EXPECT_EQ(open->UseCount(), manager->InitialUseCount());
    // The links as the user arranged them stay.
    EXPECT_EQ(ItemNames(bar->ItemLinks()), QStringList({"btOpen", "siFile", "btNew"}));
    EXPECT_EQ(ItemNames(form->siFile->ItemLinks()), QStringList({"btNew"}));
    EXPECT_FALSE(manager->UpdateLocked());

    // A form without a resource of its own has nothing to reset from.
    auto plain = std::unique_ptr<TPlainResetForm>(Create<TPlainResetForm>(nullptr));
    auto* plainManager = Create<TdxBarManager>(plain.get());
    TdxBarItemLink* link = plainManager->Bars()->Add()->ItemLinks()->Add();
    link->SetItem(Create<TdxBarButton>(plain.get()));
    link->SetMostRecentlyUsed(false);
    plainManager->ResetUsageDataToDefault();
    EXPECT_FALSE(link->MostRecentlyUsed());
}
