#pragma once
// A flat push button that opens a popup menu: raised under the mouse while its window is the
// active one, sunken while down, its caption centred in the button text colour (one pixel
// right and down while down). A left press sets it down and opens the menu just below it;
// the button comes up when the menu closes. The press that closes the menu over the button
// does not open it again. It never takes the mouse capture or the focus.
#include "Controls.h"

#include <QPointer>

class TdxBarPopupMenu;

class TCheckableButton : public TControl {
    Q_OBJECT
public:
    explicit TCheckableButton(TComponent* owner);

    QString Caption() const { return caption_; }
    void SetCaption(const QString& value);
    TdxBarPopupMenu* PopupMenu() const { return popupMenu_; }
    void SetPopupMenu(TdxBarPopupMenu* menu) { popupMenu_ = menu; }
    bool Down() const { return down_; }
    bool Hot() const { return hot_; }

    // The press of the left button: down, the menu below the button until it closes, up.
    void Press();

protected:
    bool WidgetEvent(QEvent* event) override;

private:
    void Paint();

    QString caption_;
    QPointer<TdxBarPopupMenu> popupMenu_;
    bool down_ = false;
    bool hot_ = false;
    // The menu is open: presses that reach the button meanwhile belong to its closing.
    bool running_ = false;
    // The press that closed the menu was still held over the button when it closed.
    bool swallowNextPress_ = false;
};
