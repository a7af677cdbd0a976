#pragma once
// The owner forms of the bar managers, disabled while the customizing window is open: every
// form that has a window and is enabled is disabled and remembered, and only those are
// enabled again. A form disabled before stays disabled; a form freed meanwhile is skipped.
//
// A disabled form takes neither keys nor clicks, but its bar windows still get their mouse
// input (the window bridge sees it before Qt drops it), so the bars can be customized on
// it. Its floating bar windows, which are its window children, are enabled again at once.
#include <QList>
#include <QPointer>

class QWidget;
class TCustomForm;

class TdxBarDisabledForms {
public:
    // Disables the owner form of every live manager as said above (nothing for the ones
    // disabled already).
    void Disable();
    // Enables every form Disable disabled and still exists; forgets them.
    void Enable();
    // The form's window, or a window of it, was disabled here.
    bool Contains(const QWidget* widget) const;
    // The widget that had the keyboard focus in form when it was disabled (none when it had
    // none, or when form was not disabled here).
    QWidget* FocusBefore(const TCustomForm* form) const;
    bool Empty() const { return forms_.isEmpty(); }

private:
    struct TEntry {
        QPointer<QWidget> window;
        QPointer<QWidget> focus;
    };
    QList<TEntry> forms_;
};
