#pragma once
// The item controls of edit and combo items. The text is drawn by the control while it is
// idle; while the user edits, an in-place line editor stands over the text box
// (TdxBarWinControl), shown and focused on activation, hidden with the focus handed back on
// deactivation. Its keys are routed here before the editor sees them:
// - Enter applies the text and closes the menus; Tab applies it and moves the bar's key
//   selection on; Esc gives the old text back and keeps the control selected.
// - Combos: F4 and Alt+Up/Down open and close the list; while it is open the keys the item
//   accepts go to the list. A list combo steps through its entries with Up and Down while
//   the list is closed; its item's ItemIndex changes only when the text is applied.
#include "InPlaceGeometry.h"
#include "dxBarServices.h"

#include <QPointer>

class QLineEdit;
class QWidget;
class TdxBarEdit;
class TCustomdxBarCombo;
class TdxBarCustomCombo;
class TdxBarInPlaceEditor;

class TdxBarWinControl : public TdxBarItemControl {
public:
    explicit TdxBarWinControl(TdxBarItemLink* link);
    ~TdxBarWinControl() override;

    // The in-place editor (none before CreateWnd and after DestroyWnd).
    QLineEdit* Editor() const;
    bool Focused() const { return focused_; }
    // Where the editor goes, in the bar window's client coordinates (set by Draw).
    TRect EditRect;
    // EditRect while enabled (zero width when the item hides its editor), else empty.
    TRect GetEditRect() const;

    bool CanClicked() const override;
    void ControlInactivate(bool byMouse) override;
    void ControlClick(bool byMouse) override;
    bool HidesMenusOnClick() const override { return false; }
    bool HasEditor() const override { return Editor() != nullptr; }
    bool EditorFocused() const override { return focused_; }
    QString EditorText() const override { return GetText(); }
    void SetEditorText(const QString& text) override { SetText(text); }

    // The editor's whole text (empty without an editor).
    virtual QString GetText() const;
    virtual void SetFocused(bool value);
    virtual void SetText(const QString& text);

    // The editor's messages, from its bridge. Key handlers answer true when the key ends
    // there; they may zero it.
    virtual bool EditorKeyDown(int& key, TShiftState shift);
    virtual bool EditorKeyUp(int& key, TShiftState shift);
    virtual bool EditorChar(QChar& ch);
    virtual void EditorFocusIn();
    virtual void EditorFocusOut();
    // A right press in the editor (screen point): the bar window takes it as its own, for its
    // customizing popup or the list of toolbars.
    void EditorRButtonDown(const TPoint& screen, TShiftState shift);
    virtual void EditorTextChanged() {}

protected:
    // Called by the most-derived constructor: the editor exists from then on.
    virtual void CreateWnd();
    void DestroyWnd();
    // The item hides its editor (a combo with ShowEditor False).
    virtual bool HidesEditor() const { return false; }
    // Puts text into the editor without passing change notices on.
    void PutText(const QString& text);
    // The editor shown over the text box (window coordinates of the bar window).
    void PlaceEditor();
    bool SettingText() const { return settingText_; }

    // Set while Esc deactivates the control: the text is not saved.
    bool escaping_ = false;

private:
    QPointer<TdxBarInPlaceEditor> editor_;
    QPointer<QWidget> prevFocus_;
    bool focused_ = false;
    bool settingText_ = false;
    // The focus is leaving for another window on its own: it is not moved back.
    bool focusLeaving_ = false;
};

class TdxBarEditControl : public TdxBarWinControl {
public:
    explicit TdxBarEditControl(TdxBarItemLink* link);
    ~TdxBarEditControl() override;

    TdxBarEdit* Edit() const;
    int GetCaptionWidth() const;

    void ControlClick(bool byMouse) override;
    bool IsDrawnSelected() const override;
    int GetHeight() override;
    int GetMinWidth() override;
    int GetWidth() override;
    void Draw(TCanvas& p, const TRect& r, int paintType) override;
    void SetFocused(bool value) override;
    void SetText(const QString& text) override;
    bool EditorKeyDown(int& key, TShiftState shift) override;
    void EditorTextChanged() override;

protected:
    void CreateWnd() override;
    // The size of the parts of this control in r (buttonWidth 0: no button).
    inplace::TEditParts Parts(const TRect& r, int buttonWidth) const;
    // Caption and text box frame; answers the parts.
    inplace::TEditParts DrawCaptionAndFrame(QPainter& p, const TRect& r, int paintType, int buttonWidth);
    virtual void DrawInterior(QPainter& p, const TRect& r) const;
};

class TCustomdxBarComboControl : public TdxBarEditControl {
public:
    explicit TCustomdxBarComboControl(TdxBarItemLink* link);
    ~TCustomdxBarComboControl() override;

    TCustomdxBarCombo* Combo() const;
    TRect ButtonRect;
    bool DroppedDown() const { return droppedDown_; }
    bool IsDroppedDown() const override { return droppedDown_; }
    virtual void SetDroppedDown(bool value);

    void ControlInactivate(bool byMouse) override;
    void ControlClick(bool byMouse) override;
    void ControlUnclick(bool byMouse) override;
    void Draw(TCanvas& p, const TRect& r, int paintType) override;
    bool EditorKeyDown(int& key, TShiftState shift) override;
    bool EditorKeyUp(int& key, TShiftState shift) override;

protected:
    bool HidesEditor() const override;
    // The press point lies on the drop-down button (anywhere right of the text box's left
    // edge when the item hides its editor).
    bool PressedOnButton() const;

private:
    void DrawButton(QPainter& p, bool selected);
    bool droppedDown_ = false;
    bool droppedDownAtPress_ = false;
};

class TdxBarComboControl : public TCustomdxBarComboControl {
public:
    explicit TdxBarComboControl(TdxBarItemLink* link);
    ~TdxBarComboControl() override;

    TdxBarCustomCombo* ListCombo() const;
    int ItemIndex() const { return itemIndex_; }
    // Shows the entry (or the item's Text for an index outside the list) in the editor.
    void SetItemIndex(int index);
    int CurItemIndex() const override { return itemIndex_; }
    void SetCurItemIndex(int index) override { SetItemIndex(index); }

    void SetFocused(bool value) override;
    bool EditorKeyDown(int& key, TShiftState shift) override;

private:
    int itemIndex_ = -1;
};

// Registers the edit and combo controls' factories with their control classes.
void dxBarRegisterEditControls();
void dxBarUnregisterEditControls();
