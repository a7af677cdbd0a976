#pragma once
// The chooser dialog of an extended combo that cannot be edited in place: a fixed dialog
// built in code, captioned, in its manager's font and centred on the screen, whose controls
// are placed from the size of "0" in that font. It is shown modal (so a dialog script answers
// it) and freed by whoever shows it.
#include "Forms.h"

#include <QSize>

class TButton;
class TdxBarItem;

// The chooser's buttons (OK above Cancel, in a column at the right) and the gap around its
// controls, from the width and height of "0" in the form's font.
struct TdxBarChooserMetrics {
    int ButtonWidth;
    int ButtonHeight;
    int Gap;
};
TdxBarChooserMetrics dxBarChooserMetrics(int zeroWidth, int zeroHeight);

class TdxBarChooserForm : public TForm {
    Q_OBJECT
public:
    explicit TdxBarChooserForm(TComponent* owner);

    // Caption, the font of item's manager (the form's own without one), and the metrics.
    void Prepare(TdxBarItem* item, const QString& caption);
    // The width and height of "0" in the form's font.
    QSize ZeroSize() const { return zero_; }
    TdxBarChooserMetrics Metrics() const { return dxBarChooserMetrics(zero_.width(), zero_.height()); }
    // A button on the form: its caption, the modal result it gives (0 none), whether Enter
    // or Escape click it.
    TButton* AddButton(const QString& caption, int modalResult, bool isDefault = false, bool isCancel = false);
    void SetClientSize(int width, int height);

private:
    QSize zero_;
};
