#pragma once
// TdxBarDropDownListBox: the list that drops down below a string combo on a bar or menu.
// A top-level window owned by the combo that never takes activation; it draws its entries
// itself, tracks the pointer, and a release over an entry chooses it: the combo takes the
// entry, the link counts a use and the menus close. Dropped while the mouse button that
// opened it is still down, it holds the mouse so that one drag and release choose an entry
// (the drop is pending until the pointer first enters it).
#include "Window.h"
#include "dxBarItems.h"
#include "dxBarServices.h"

#include <QFont>
#include <QPointer>
#include <QStringList>
#include <vector>

class TdxBarDropDownListBox : public TWindow, public TdxBarDropDownList {
    Q_OBJECT
public:
    explicit TdxBarDropDownListBox(TdxBarCustomCombo* combo);
    ~TdxBarDropDownListBox() override;

    TdxBarCustomCombo* Combo() const { return combo_; }

    // --- the combo's side
    QObject* ListObject() override { return this; }
    TNativeWindow* ListWidget() const override { return Handle(); }
    void Prepare(int index) override;
    void Drop(QPoint preferred, QSize linkSize, bool vertical) override;
    void CloseList() override;
    bool ListVisible() const override { return Visible(); }
    void SelectIndex(int index) override;
    void ListKeyDown(int key, TShiftState shift) override;

    // --- state
    const QStringList& Entries() const { return entries_; }
    int ItemIndex() const { return index_; }
    int TopIndex() const { return top_; }
    // Each entry's height, as the combo measures it.
    int RowHeight(int index) const;
    int VisibleRows() const { return visibleRows_; }
    bool HasScrollBar() const { return scrollBar_; }
    bool DropPending() const { return pending_; }
    // The entry at a client point (-1 outside the entries).
    int ItemAt(const TPoint& client) const;
    TRect ItemRect(int index) const;

    // --- messages
    void NCCalcSize(TRect& rect) override;
    void NCPaint(QPainter& p) override;
    void Paint(QPainter& p) override;
    void LButtonDown(const TPoint& client, TShiftState shift) override;
    void LButtonUp(const TPoint& client, TShiftState shift) override;
    void MouseMove(const TPoint& client, TShiftState shift) override;
    void KeyDown(int& key, TShiftState shift) override;
    void CaptureChanged() override;

private:
    bool IsFlat() const;
    TRect ScrollBarRect() const;
    // Selects index (kept in the list) and scrolls it into view.
    void Select(int index);
    // The selected entry goes to the combo control of the live link.
    void Click();
    // The release that chooses the selected entry.
    void Choose();

    QPointer<TdxBarCustomCombo> combo_;
    QStringList entries_;
    QFont font_;
    int index_ = -1;
    int top_ = 0;
    std::vector<int> heights_;
    int visibleRows_ = 0;
    bool scrollBar_ = false;
    bool pending_ = false;
    bool choosing_ = false;
};

// The one hint window of the thread: the small window with the hint of the item under the
// pointer, placed beside the cursor and kept on the screen. It never takes activation.
class TdxBarHintWindow : public TWindow {
    Q_OBJECT
public:
    TdxBarHintWindow();
    ~TdxBarHintWindow() override;

    const QString& Text() const { return text_; }
    const QFont& Font() const { return font_; }
    // Shows text at the screen point for manager (its font).
    virtual void ActivateHint(const TPoint& at, const QString& text, TdxBarManager* manager);

    void Paint(QPainter& p) override;

private:
    QString text_;
    QFont font_;
};
