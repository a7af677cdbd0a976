#include "dxBarSubMenuEditor.h"

#include "ComCtrls.h"
#include "dxBarCustomizing.h"
#include "dxBarCustomizingForm.h"
#include "dxBarItemLink.h"
#include "dxBarManager.h"
#include "dxBarStrs.h"
#include "dxBarSubMenuControl.h"

#include <QEvent>
#include <QWidget>

namespace {
QPointer<TdxBarSubMenuEditor> editor;
}

TdxBarSubMenuEditor::TdxBarSubMenuEditor(TComponent* owner) : TForm(owner) {}

TdxBarSubMenuEditor::~TdxBarSubMenuEditor()
{
    QObject::disconnect(ownerGone_);
    CloseMenu();
}

TCustomdxBarControl* TdxBarSubMenuEditor::Menu() const
{
    return menu_;
}

void TdxBarSubMenuEditor::SetItemLinks(TdxBarItemLinks* links)
{
    if (links == links_) {
        ShowMenu();
        return;
    }
    CloseMenu();
    QObject::disconnect(ownerGone_);
    links_ = links;
    // The links go with their owner, and take the editor with them.
    if (links) ownerGone_ = QObject::connect(links, &QObject::destroyed, this, [this] { delete this; });
    ShowMenu();
}

void TdxBarSubMenuEditor::CloseMenu()
{
    if (TCustomdxBarControl* menu = menu_) {
        menu_ = nullptr;
        if (auto* sub = qobject_cast<TdxBarSubMenuControl*>(menu); sub && dxBarIsBarControlAlive(sub)) sub->Close();
    }
}

void TdxBarSubMenuEditor::ShowMenu()
{
    TdxBarItemLinks* links = links_;
    if (!links || !links->BarManager()) return;
    if (menu_ && dxBarIsBarControlAlive(menu_)) return;
    // A menu window of the links elsewhere (a sub item's own) makes way for the editor's.
    if (auto* other = qobject_cast<TdxBarSubMenuControl*>(links->BarControl()); other && dxBarIsBarControlAlive(other))
        other->Close();
    auto* menu = new TdxBarSubMenuControl(links->BarManager());
    menu_ = menu;
    menu->SetItemLinks(links);
    menu->SetAnimate(false);
    PlaceMenu();
    menu->Show();
    if (menu_ && menu_->Handle()) SetWidth(menu_->Handle()->width());
}

void TdxBarSubMenuEditor::PlaceMenu()
{
    QWidget* window = Handle();
    auto* menu = qobject_cast<TdxBarSubMenuControl*>(menu_.data());
    if (!window || !menu) return;
    const QRect frame = window->frameGeometry();
    menu->SetPosition(frame.left(), frame.bottom() + 1);
    if (QWidget* handle = menu->Handle(); handle && handle->isVisible()) handle->move(frame.left(), frame.bottom() + 1);
}

bool TdxBarSubMenuEditor::WidgetEvent(QEvent* event)
{
    switch (event->type()) {
    case QEvent::Move: PlaceMenu(); break;
    case QEvent::Close: CloseMenu(); break;
    default: break;
    }
    return TForm::WidgetEvent(event);
}

TdxBarSubMenuEditor* dxBarSubMenuEditor()
{
    return editor;
}

TdxBarSubMenuEditor* dxBarShowSubMenuEditor(TdxBarItemLinks* links)
{
    if (!links) return nullptr;
    TdxBarCustomizing* customizing = TdxBarCustomizing::Instance();
    TdxBarCustomizingForm* window = customizing ? customizing->Window() : nullptr;
    if (window) window->PageControl->SetActivePage(window->TabSheet2);
    if (!editor) {
        editor = Create<TdxBarSubMenuEditor>(nullptr);
        editor->SetCaption(dxBarStr(dxSBAR_SUBMENUEDITORCAPTION));
        if (window && window->Handle()) {
            editor->SetOwnerWindow(window->Handle()->parentWidget() ? window->Handle()->parentWidget()
                                                                    : window->Handle());
            const QRect frame = window->Handle()->frameGeometry();
            editor->SetBounds(frame.right() + 10, frame.top(), editor->Width(), editor->Height());
        }
    }
    // Also when the user closed it before.
    editor->Show();
    editor->SetItemLinks(links);
    return editor;
}

void dxBarFreeSubMenuEditor()
{
    delete editor.data();
}
