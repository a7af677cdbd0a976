#pragma once
// A stock Qt widget that a window of ours places (an in-place line editor, a drag's marker)
// and that takes its events the way every window of this layer does: Dispatch sees each
// event first, guarded (an exception goes to the application's handler, never into Qt's
// loop); what it does not eat goes on to the widget's own class, unless Dispatch freed the
// widget, which ends the event there.
#include "ExceptionBarrier.h"

#include <QEvent>
#include <QPointer>
#include <utility>

template <class Widget>
class TNativeWidget : public Widget {
public:
    template <class... Args>
    explicit TNativeWidget(Args&&... args) : Widget(std::forward<Args>(args)...)
    {}

protected:
    // True when the event ends here.
    virtual bool Dispatch(QEvent* e) = 0;

    bool event(QEvent* e) final
    {
        bool eaten = false;
        QPointer<TNativeWidget> self(this);
        RunGuarded(this, [&] { eaten = Dispatch(e); });
        if (!self) return true;
        return eaten || Widget::event(e);
    }
};
