#include "SystemMenu.h"

#include "ExceptionBarrier.h"
#include "Forms.h"

#include <QAction>
#include <QMenu>

TSystemMenu::TSystemMenu(TCustomForm* form) : QObject(form), form_(form) {}

TSystemMenu::~TSystemMenu()
{
    // A menu nobody took over goes with us.
    if (menu_ && !menu_->parent()) delete menu_.data();
}

std::vector<TSystemMenuEntry> TSystemMenu::Entries() const
{
    const TWindowState state = form_->WindowState();
    const TBorderIcons icons = form_->BorderIcons();
    const TFormBorderStyle border = form_->BorderStyle();
    const bool sizeable = border == bsSizeable || border == bsSizeToolWin;
    const bool maximized = state == wsMaximized, minimized = state == wsMinimized;
    std::vector<TSystemMenuEntry> entries{
        {false, SC_RESTORE, QStringLiteral("&Restore"), state == wsNormal, false, HBMMENU_POPUP_RESTORE},
        {false, SC_MOVE, QStringLiteral("&Move"), maximized, false, 0},
        {false, SC_SIZE, QStringLiteral("&Size"), maximized || minimized || !sizeable, false, 0},
        {false, SC_MINIMIZE, QStringLiteral("Mi&nimize"), minimized || !(icons & biMinimize), false,
         HBMMENU_POPUP_MINIMIZE},
        {false, SC_MAXIMIZE, QStringLiteral("Ma&ximize"), maximized || !(icons & biMaximize), false,
         HBMMENU_POPUP_MAXIMIZE},
        {true, 0, {}, false, false, 0},
        {false, SC_CLOSE, QStringLiteral("&Close\tCtrl+F4"), false, false, HBMMENU_POPUP_CLOSE},
    };
    // An MDI child steps on to the frame's next child.
    if (form_->MDIFrame()) {
        entries.push_back({true, 0, {}, false, false, 0});
        entries.push_back({false, SC_NEXTWINDOW, QStringLiteral("Nex&t\tCtrl+F6"), false, false, 0});
    }
    return entries;
}

QMenu* TSystemMenu::Menu()
{
    if (!menu_) {
        menu_ = new QMenu;
        connect(menu_, &QMenu::aboutToShow, this, &TSystemMenu::Fill);
        Fill();
    }
    return menu_;
}

void TSystemMenu::Fill()
{
    QMenu* menu = menu_;
    if (!menu) return;
    menu->clear();
    for (const TSystemMenuEntry& e : Entries()) {
        if (e.Separator) {
            menu->addSeparator();
            continue;
        }
        // The text after the tab shows as the shortcut text; the action has no shortcut.
        QAction* a = menu->addAction(e.Text);
        a->setEnabled(!e.Grayed);
        a->setCheckable(e.Checked);
        a->setChecked(e.Checked);
        if (e.Id == DefaultCommand()) menu->setDefaultAction(a);
        const int id = e.Id;
        QPointer<TCustomForm> form(form_);
        // From the event loop: the command may free the form, and with it this menu.
        connect(a, &QAction::triggered, form_, [form, id] {
            QMetaObject::invokeMethod(
                form,
                [form, id] {
                    if (form) RunGuarded(form, [&] { form->SysCommand(id); });
                },
                Qt::QueuedConnection);
        });
    }
}
