#include "dxBarCustomizingForm.h"

#include "Application.h"
#include "ClassRegistry.h"
#include "Desktop.h"
#include "Painting.h"
#include "dxBarCheckListBox.h"
#include "dxBarAllCommandsPage.h"
#include "dxBarCommandsPage.h"
#include "dxBarDesignCommands.h"
#include "dxBarGroupsPage.h"
#include "dxBarCustomizingLayout.h"
#include "dxBarCustomizingPage.h"
#include "dxBarManager.h"
#include "dxBarOptionsPage.h"
#include "dxBarStrs.h"
#include "dxBarToolbarsPage.h"

#include <QIcon>
#include <QPixmap>
#include <QPushButton>

TdxBarManager* TdxBarCustomizingPage::Manager() const
{
    return form_.BarManager();
}

TdxBarCustomizingForm::TdxBarCustomizingForm(TComponent* owner, TdxBarManager* manager)
    : TForm(owner), manager_(manager)
{
    static const bool registered = [] {
        RegisterClasses<TCheckListBox>();
        return true;
    }();
    (void)registered;
}

TdxBarCustomizingForm::~TdxBarCustomizingForm()
{
    // The controls' events are bound to the pages: the controls go first.
    Destroying();
    DestroyComponents();
    pages_.clear();
}

void TdxBarCustomizingForm::AfterConstruction()
{
    TForm::AfterConstruction();
    Build();
}

void TdxBarCustomizingForm::Build()
{
    TdxBarManager* manager = manager_;
    if (!manager) return;
    if (TFont* font = manager->Font()) {
        Font()->SetName(font->Name());
        Font()->SetCharset(font->Charset());
    }
    SetCaption(dxBarStr(dxSBAR_CUSTOMIZE));
    TabSheet1->SetCaption(dxBarStr(dxSBAR_TABSHEET1));
    TabSheet2->SetCaption(dxBarStr(dxSBAR_TABSHEET2));
    TabSheet3->SetCaption(dxBarStr(dxSBAR_TABSHEET3));
    BClose->SetCaption(dxBarStr(dxSBAR_CLOSE));
    const int closeWidth =
        dxBarCloseButtonWidth(TextExtent(Font()->ToQFont(), StripMnemonic(BClose->Caption())).width());
    BClose->SetBounds(RightMarginPanel->Left() - closeWidth, BClose->Top(), closeWidth, BClose->Height());
    HelpButtonChanged();
    if (manager->IsDesigning()) {
        // The window's own manager carries the design popups.
        BarManager1 = new TdxBarManager(this);
        BarManager1->SetName(QStringLiteral("BarManager1"));
        if (TFont* font = manager->Font()) BarManager1->Font()->Assign(font);
        BarManager1->SetStyle(manager->Style());
    }

    auto toolbars = std::make_unique<TdxBarToolbarsPage>(*this);
    toolbarsPage_ = toolbars.get();
    pages_.push_back(std::move(toolbars));
    auto commands = std::make_unique<TdxBarCommandsPage>(*this);
    commandsPage_ = commands.get();
    pages_.push_back(std::move(commands));
    pages_.push_back(std::make_unique<TdxBarOptionsPage>(*this));
    auto design = std::make_unique<TdxBarDesignCommands>(*this);
    if (BarManager1) designCommands_ = design.get();
    pages_.push_back(std::move(design));
    pages_.push_back(std::make_unique<TdxBarAllCommandsPage>(*this));
    pages_.push_back(std::make_unique<TdxBarGroupsPage>(*this));
    EachPage([](TdxBarCustomizingPage& page) { page.Build(); });

    PageControl->SetActivePage(TabSheet1);
    PageControl->SetOnChange(TNotifyEvent(this, &TdxBarCustomizingForm::PageControlChange));
    BClose->SetOnClick(TNotifyEvent(this, &TdxBarCustomizingForm::BCloseClick));
    BHelp->SetOnClick(TNotifyEvent(this, &TdxBarCustomizingForm::BHelpClick));
    SetOnClose(TCloseEvent(this, &TdxBarCustomizingForm::FormClose));

    // The window belongs to the manager's form and first shows centred on it.
    if (TCustomForm* owner = manager->OwnerFormAsForm(); owner && owner->Handle()) {
        SetOwnerWindow(owner->Handle());
        const TRect ownerRect = TRect::FromQRect(owner->BoundsRect());
        const TRect area = NearestWorkArea(GetMonitors(), ownerRect);
        const TPoint place = dxBarCentredPlace(ownerRect, QSize(Width(), Height()), area);
        SetBounds(place.x(), place.y(), Width(), Height());
    }
}

TdxBarCustomizingPage* TdxBarCustomizingForm::ActivePage() const
{
    TTabSheet* sheet = PageControl->ActivePage();
    for (const auto& page : pages_)
        if (page->Sheet() == sheet) return page.get();
    return nullptr;
}

void TdxBarCustomizingForm::StyleChanged()
{
    ItemsChanged();
    OptionsChanged();
    EachPage([](TdxBarCustomizingPage& page) { page.StyleChanged(); });
}

void TdxBarCustomizingForm::HelpButtonChanged()
{
    TdxBarManager* manager = manager_;
    if (!manager) return;
    TBitmap* glyph = manager->HelpButtonGlyph();
    const bool hasGlyph = glyph && !glyph->Empty();
    BHelp->Button()->setIcon(hasGlyph ? QIcon(QPixmap::fromImage(glyph->TransparentImage())) : QIcon());
    BHelp->SetVisible(manager->ShowHelpButton());
}

void TdxBarCustomizingForm::BarChanged(TdxBar* bar)
{
    EachPage([bar](TdxBarCustomizingPage& page) { page.BarChanged(bar); });
}

void TdxBarCustomizingForm::ItemsChanged()
{
    EachPage([](TdxBarCustomizingPage& page) { page.ItemsChanged(); });
}

void TdxBarCustomizingForm::SelectItem(TdxBarItem* item, bool force)
{
    EachPage([item, force](TdxBarCustomizingPage& page) { page.SelectItem(item, force); });
}

void TdxBarCustomizingForm::ItemDestroyed(TdxBarItem* item)
{
    EachPage([item](TdxBarCustomizingPage& page) { page.ItemDestroyed(item); });
}

void TdxBarCustomizingForm::OptionsChanged()
{
    EachPage([](TdxBarCustomizingPage& page) { page.OptionsChanged(); });
}

void TdxBarCustomizingForm::ItemRenamed(TdxBarItem* item)
{
    EachPage([item](TdxBarCustomizingPage& page) { page.ItemRenamed(item); });
}

void TdxBarCustomizingForm::GroupRenamed(TdxBarGroup* group)
{
    EachPage([group](TdxBarCustomizingPage& page) { page.GroupRenamed(group); });
}

void TdxBarCustomizingForm::PageControlChange(TObject*)
{
    if (TdxBarCustomizingPage* page = ActivePage()) page->Refresh();
}

void TdxBarCustomizingForm::BCloseClick(TObject*)
{
    Close();
}

void TdxBarCustomizingForm::BHelpClick(TObject*)
{
    QPointer<TdxBarManager> manager = manager_;
    if (!manager || manager->IsDesigning()) return;
    manager->DoHelpButtonClick(BHelp);
    if (manager && manager->HelpContext() != 0 && Application) Application->HelpContext(manager->HelpContext());
}

void TdxBarCustomizingForm::FormClose(TObject*, TCloseAction& action)
{
    // Closing the window ends customizing, which hides the window and frees it later.
    action = caHide;
    if (TdxBarManager* manager = manager_) manager->Customizing(false);
}
