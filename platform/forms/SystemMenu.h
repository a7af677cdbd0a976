#pragma once
// The system menu of a form: the window commands (restore, move, size, minimize, maximize,
// close and, for an MDI child, next) as plain entries whose states follow the window, and a
// Qt menu that mirrors them for the window's own keyboard menu. The Qt menu carries the
// shortcut texts only: no QAction of it has a shortcut, so the keys stay with the one input
// filter (Ctrl+F4 and Ctrl+F6 are handled there).
#include <QObject>
#include <QPointer>
#include <QString>

#include <vector>

class QImage;
class QMenu;
class TCustomForm;

// Command ids of the entries (WM_SYSCOMMAND).
enum : int {
    SC_SIZE = 0xF000,
    SC_MOVE = 0xF010,
    SC_MINIMIZE = 0xF020,
    SC_MAXIMIZE = 0xF030,
    SC_NEXTWINDOW = 0xF040,
    SC_CLOSE = 0xF060,
    SC_RESTORE = 0xF120,
};

// The standard bitmaps of popup entries (HBMMENU_POPUP_*).
enum : int {
    HBMMENU_POPUP_CLOSE = 8,
    HBMMENU_POPUP_RESTORE = 9,
    HBMMENU_POPUP_MAXIMIZE = 10,
    HBMMENU_POPUP_MINIMIZE = 11,
};

// The standard picture of a bitmap code: the window-frame mark (close, restore, maximize,
// minimize) in black on a transparent 16 x 16 cell; a null image for any other code.
QImage StandardMenuBitmap(int bitmapCode);

// Runs form's SysCommand(id) from the event loop, if the form is still there by then: a command
// may free the form, and with it the menu it was chosen from.
void PostSysCommand(TCustomForm* form, int id);

struct TSystemMenuEntry {
    bool Separator = false;
    int Id = 0;
    // The caption, then "\t" and the shortcut text when there is one ("&Close\tCtrl+F4").
    QString Text;
    bool Grayed = false;
    bool Checked = false;
    int Bitmap = 0;  // HBMMENU_POPUP_* or 0
    bool operator==(const TSystemMenuEntry&) const = default;
};

class TSystemMenu : public QObject {
public:
    explicit TSystemMenu(TCustomForm* form);
    ~TSystemMenu() override;

    // The entries with their states as the form's window stands now.
    std::vector<TSystemMenuEntry> Entries() const;
    // The command a double click on the menu's icon runs.
    int DefaultCommand() const { return SC_CLOSE; }
    // The Qt menu for the window's own keyboard menu, refilled from Entries each time it
    // opens; its entries run the form's SysCommand. Made on first use; whoever installs it
    // may take it over (a sub-window deletes the menu it is given when it goes).
    QMenu* Menu();

private:
    void Fill();

    TCustomForm* form_;
    QPointer<QMenu> menu_;
};
