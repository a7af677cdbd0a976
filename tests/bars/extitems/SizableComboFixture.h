#pragma once
// A combo whose drop-down is a bare sizable drop-down (150 x 200, its client in the window
// colour), for the checks of the drop-down frame.
#include "Painting.h"
#include "dxBarItems.h"
#include "dxBarSizableDropDown.h"

#include <QPainter>
#include <QPointer>

class TPlainSizableDropDown : public TdxBarSizableDropDown {
public:
    using TdxBarSizableDropDown::TdxBarSizableDropDown;
    void Paint(QPainter& p) override { FillRect(p, ClientRect(), SysBrush(COLOR_WINDOW)); }
};

// Shown by the library's plain combo control (the class has no meta-object of its own).
class TSizableTestCombo : public TCustomdxBarCombo {
public:
    using TCustomdxBarCombo::TCustomdxBarCombo;

    TdxBarSizableDropDown* DropDownWindow()
    {
        if (!dropDown_) {
            dropDown_ = new TPlainSizableDropDown(this);
            dropDown_->SetBounds(0, 0, 150, 200);
        }
        return dropDown_;
    }
    TNativeWindow* GetDropDownWindow() override { return dropDown_ ? dropDown_->Handle() : nullptr; }
    void DropDown(QPoint preferred, QSize linkSize, bool vertical) override
    {
        DropDownWindow()->Drop(preferred, linkSize, vertical);
    }
    void CloseUp() override
    {
        ++closeUps;
        if (dropDown_) dropDown_->CloseUp();
    }

    int closeUps = 0;

private:
    QPointer<TdxBarSizableDropDown> dropDown_;
};
