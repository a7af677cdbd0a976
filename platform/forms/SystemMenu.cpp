#include "SystemMenu.h"

#include "ExceptionBarrier.h"
#include "Forms.h"

#include <QAction>
#include <QImage>
#include <QMenu>
#include <QPainter>

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
        connect(a, &QAction::triggered, form_, [form, id] { PostSysCommand(form, id); });
    }
}

void PostSysCommand(TCustomForm* form, int id)
{
    const QPointer<TCustomForm> guard(form);
    if (!guard) return;
    QMetaObject::invokeMethod(
        form,
        [guard, id] {
            if (guard) RunGuarded(guard, [&] { guard->SysCommand(id); });
        },
        Qt::QueuedConnection);
}

QImage StandardMenuBitmap(int bitmapCode)
{
    if (bitmapCode < HBMMENU_POPUP_CLOSE || bitmapCode > HBMMENU_POPUP_MINIMIZE) return {};
    QImage image(16, 16, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    const QColor ink(Qt::black);
    switch (bitmapCode) {
    case HBMMENU_POPUP_CLOSE:
        for (int i = 0; i < 7; ++i) {
            p.fillRect(4 + i, 4 + i, 2, 1, ink);
            p.fillRect(10 - i, 4 + i, 2, 1, ink);
        }
        break;
    case HBMMENU_POPUP_RESTORE:
        p.fillRect(6, 3, 7, 2, ink);  // the window behind
        p.fillRect(12, 5, 1, 4, ink);
        p.fillRect(3, 6, 7, 2, ink);  // the window in front
        p.fillRect(3, 8, 1, 4, ink);
        p.fillRect(9, 8, 1, 4, ink);
        p.fillRect(3, 12, 7, 1, ink);
        break;
    case HBMMENU_POPUP_MAXIMIZE:
        p.fillRect(3, 3, 10, 2, ink);
        p.fillRect(3, 5, 1, 7, ink);
        p.fillRect(12, 5, 1, 7, ink);
        p.fillRect(3, 12, 10, 1, ink);
        break;
    default:  // minimize
        p.fillRect(4, 11, 7, 2, ink);
        break;
    }
    return image;
}
