// Page controls read from a form resource with the controls a dialog page holds, sheets laid
// out by their page control, and page changes by code and by the user.
#include "ComCtrls.h"
#include "ExtCtrls.h"
#include "FormResources.h"
#include "Forms.h"
#include "ListBoxes.h"
#include "Streaming.h"
#include "StdCtrls.h"
#include "TestSupport.h"

#include <QLabel>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

namespace {

class TPagesForm : public TForm {
    Q_OBJECT
    Q_PROPERTY(TPageControl* PageControl MEMBER PageControl STORED false)
    Q_PROPERTY(TTabSheet* TabSheet1 MEMBER TabSheet1 STORED false)
    Q_PROPERTY(TTabSheet* TabSheet2 MEMBER TabSheet2 STORED false)
    Q_PROPERTY(TTabSheet* TabSheet3 MEMBER TabSheet3 STORED false)
    Q_PROPERTY(TListBox* List MEMBER List STORED false)
    Q_PROPERTY(TPanel* Buttons MEMBER Buttons STORED false)
    Q_PROPERTY(TCheckBox* Check MEMBER Check STORED false)
    Q_PROPERTY(TComboBox* Combo MEMBER Combo STORED false)
    Q_PROPERTY(TLabel* ComboLabel MEMBER ComboLabel STORED false)
public:
    using TForm::TForm;
    TPageControl* PageControl = nullptr;
    TTabSheet *TabSheet1 = nullptr, *TabSheet2 = nullptr, *TabSheet3 = nullptr;
    TListBox* List = nullptr;
    TPanel* Buttons = nullptr;
    TCheckBox* Check = nullptr;
    TComboBox* Combo = nullptr;
    TLabel* ComboLabel = nullptr;
    QStringList events;

    Q_INVOKABLE void PageControlChange(TObject*) { events << "change " + PageControl->ActivePage()->Name(); }
    Q_INVOKABLE void CheckClick(TObject*) { events << "check"; }
    Q_INVOKABLE void ListClick(TObject*) { events << "list"; }
};

const char* kPages = R"(object PagesForm: TPagesForm
  Width = 366
  Height = 310
  object PageControl: TPageControl
    Left = 6
    Top = 8
    Width = 354
    Height = 266
    ActivePage = TabSheet2
    OnChange = PageControlChange
    object TabSheet1: TTabSheet
      Caption = ' Toolbars '
      object List: TListBox
        Left = 4
        Top = 20
        Width = 227
        Height = 150
        Style = lbOwnerDrawFixed
        ItemHeight = 15
        Items.Strings = (
          'Toolbar'
          'Navigator')
        ItemIndex = 1
        OnClick = ListClick
      end
      object Buttons: TPanel
        Align = alBottom
        Height = 36
      end
    end
    object TabSheet2: TTabSheet
      Caption = ' Commands '
      object ComboLabel: TLabel
        Caption = '&Menu animations:'
        FocusControl = Combo
      end
      object Combo: TComboBox
        Left = 100
        Style = csDropDownList
        Items.Strings = (
          '(None)'
          'Random')
        ItemIndex = 1
      end
      object Check: TCheckBox
        Top = 30
        Caption = '&Large icons'
        State = cbChecked
        OnClick = CheckClick
      end
      object Line: TBevel
        Top = 60
        Width = 300
        Height = 2
        Shape = bsTopLine
      end
    end
    object TabSheet3: TTabSheet
      Caption = ' Options '
      TabVisible = False
    end
  end
end
)";

struct PageControlTest : ::testing::Test {
    PageControlTest()
    {
        RegisterFormResource("TPagesForm", kPages);
        form.reset(Create<TPagesForm>(nullptr));
    }
    ~PageControlTest() override { UnregisterFormResource("TPagesForm"); }
    std::unique_ptr<TPagesForm> form;
};

}  // namespace

TEST_F(PageControlTest, ADialogsPagesAndTheirControlsComeFromTheResource)
{
    TPageControl* pages = form->PageControl;
    ASSERT_EQ(pages->PageCount(), 3);
    EXPECT_EQ(pages->Pages(0), form->TabSheet1);
    EXPECT_EQ(pages->Pages(2), form->TabSheet3);
    EXPECT_EQ(pages->ActivePage(), form->TabSheet2);
    EXPECT_EQ(pages->ActivePageIndex(), 1);
    QTabWidget* tabs = pages->TabWidget();
    EXPECT_EQ(tabs->tabText(0), " Toolbars ");
    EXPECT_FALSE(tabs->isTabVisible(2));
    EXPECT_TRUE(form->events.isEmpty());  // nothing fired while reading

    // The sheets fill the page area inside the page control, and lay out their own children.
    const QRect area = pages->PageRect();
    EXPECT_TRUE(QRect(0, 0, 354, 266).contains(area));
    EXPECT_GT(area.height(), 266 - 40);
    for (int i = 0; i < pages->PageCount(); ++i)
        EXPECT_EQ(pages->Pages(i)->BoundsRect(), QRect(QPoint(0, 0), area.size()));
    EXPECT_EQ(form->Buttons->BoundsRect(), QRect(0, area.height() - 36, area.width(), 36));
    pages->SetBounds(6, 8, 400, 300);
    EXPECT_EQ(form->TabSheet1->Width(), pages->PageRect().width());
    EXPECT_EQ(form->Buttons->Top(), pages->PageRect().height() - 36);

    // The controls of the pages.
    EXPECT_EQ(form->List->Items()->ToStringList(), QStringList({"Toolbar", "Navigator"}));
    EXPECT_EQ(form->List->ItemIndex(), 1);
    EXPECT_EQ(form->List->ItemRect(1).height(), 15);
    EXPECT_EQ(form->Combo->ItemIndex(), 1);
    EXPECT_EQ(form->Combo->Text(), "Random");
    EXPECT_TRUE(form->Check->Checked());
    EXPECT_EQ(form->ComboLabel->FocusControl(), form->Combo);
    EXPECT_EQ(static_cast<QLabel*>(form->ComboLabel->Handle())->buddy(), form->Combo->Handle());

    // Shown, the tab widget places the active sheet where it was computed.
    form->Show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form->Handle()));
    EXPECT_EQ(form->TabSheet2->Handle()->geometry(), form->TabSheet2->BoundsRect());
    EXPECT_EQ(form->TabSheet2->Handle()->mapTo(tabs, QPoint(0, 0)), pages->PageRect().topLeft());
    EXPECT_TRUE(form->Check->Handle()->isVisible());
    EXPECT_FALSE(form->List->Handle()->isVisible());

    // Written back, the pages come in page order.
    form->TabSheet1->SetPageIndex(2);
    EXPECT_EQ(pages->Pages(2), form->TabSheet1);
    const QString text = TWriter().WriteRootComponent(form.get());
    EXPECT_LT(text.indexOf("object TabSheet2"), text.indexOf("object TabSheet3"));
    EXPECT_LT(text.indexOf("object TabSheet3"), text.indexOf("object TabSheet1"));
}

TEST_F(PageControlTest, OnlyTheUsersTabChoiceFiresOnChange)
{
    TPageControl* pages = form->PageControl;
    form->Show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form->Handle()));
    pages->SetActivePageIndex(0);
    pages->SetActivePage(form->TabSheet2);
    EXPECT_TRUE(form->events.isEmpty());

    QTabBar* bar = pages->TabWidget()->tabBar();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(0).center());
    EXPECT_EQ(form->events, QStringList({"change TabSheet1"}));
    EXPECT_TRUE(form->List->Handle()->isVisible());
    form->events.clear();

    // Hiding the active page's tab moves on to a page with a visible tab, silently.
    form->TabSheet3->SetTabVisible(true);
    form->TabSheet1->SetTabVisible(false);
    EXPECT_NE(pages->ActivePage(), form->TabSheet1);
    EXPECT_TRUE(pages->ActivePage()->TabVisible());

    // A freed sheet leaves its page control; a sheet moved to no parent too.
    delete form->TabSheet3;
    EXPECT_EQ(pages->PageCount(), 2);
    form->TabSheet1->SetPageControl(nullptr);
    EXPECT_EQ(pages->PageCount(), 1);
    EXPECT_EQ(form->TabSheet1->PageIndex(), -1);
    EXPECT_EQ(pages->TabWidget()->count(), 1);
    form->TabSheet1->SetPageControl(pages);
    EXPECT_EQ(pages->Pages(1), form->TabSheet1);
    EXPECT_TRUE(form->events.isEmpty());
}

#include "PageControl_test.moc"
