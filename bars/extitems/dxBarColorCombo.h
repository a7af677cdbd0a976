#pragma once
// TdxBarColorCombo: a list combo of the 16 standard colours, optionally led by an automatic
// colour, each entry a swatch and a name; a colour that matches no entry shows the custom
// text with its swatch. TdxBarColorComboControl shows it, with an optional small "..." button
// right of the combo that opens the shared colour dialog (as does Ctrl+Enter in the editor).
//
// Matching: the automatic entry matches only its own stored value; other colours match a
// standard entry by their RGB value. Only RGB values ($000000-$FFFFFF) and the system colours
// ($80000000-$80000018) can match; anything else is custom, and a negative one has no swatch.
#include "dxBarEditControls.h"
#include "dxBarItems.h"

class TdxBarColorCombo : public TdxBarCustomCombo {
    Q_OBJECT
    Q_PROPERTY(TColor AutoColor READ AutoColor WRITE SetAutoColor)
    Q_PROPERTY(QString AutoColorText READ AutoColorText WRITE SetAutoColorText)
    Q_PROPERTY(TColor Color READ Color WRITE SetColor)
    Q_PROPERTY(QString CustomColorText READ CustomColorText WRITE SetCustomColorText)
    Q_PROPERTY(bool ShowAutoColor READ ShowAutoColor WRITE SetShowAutoColor)
    Q_PROPERTY(bool ShowCustomColorButton READ ShowCustomColorButton WRITE SetShowCustomColorButton)
    // The text follows Color.
    Q_CLASSINFO("Stored.Text", "false")
    Q_CLASSINFO("Default.ShowEditor", "False")
    // Stored whenever it is not the count of the entries; no fixed default.
    Q_CLASSINFO("Default.DropDownCount", "")
    Q_CLASSINFO("Stored.DropDownCount", "IsDropDownCountStored")
    Q_CLASSINFO("Default.AutoColor", "clWindowText")
    Q_CLASSINFO("Stored.AutoColorText", "IsAutoColorTextStored")
    Q_CLASSINFO("Stored.CustomColorText", "IsCustomColorTextStored")
    Q_CLASSINFO("Default.ShowAutoColor", "False")
    Q_CLASSINFO("Default.ShowCustomColorButton", "False")
public:
    Q_INVOKABLE explicit TdxBarColorCombo(TComponent* owner);

    // The number of standard colours and the colour of one of them.
    static constexpr int StandardColorCount = 16;
    static TColor StandardColor(int index);

    TColor AutoColor() const { return autoColor_; }
    void SetAutoColor(TColor value);
    const QString& AutoColorText() const { return autoColorText_; }
    void SetAutoColorText(const QString& value);
    TColor Color() const { return color_; }
    void SetColor(TColor value);
    const QString& CustomColorText() const { return customColorText_; }
    void SetCustomColorText(const QString& value);
    bool ShowAutoColor() const { return showAutoColor_; }
    void SetShowAutoColor(bool value);
    bool ShowCustomColorButton() const { return showCustomColorButton_; }
    void SetShowCustomColorButton(bool value);
    void SetDropDownCount(int value) override;

    // The colour of an entry; the current Color for an index outside the list.
    TColor ColorOfIndex(int index) const;
    // The entry of a colour; -1 when none matches.
    int IndexOfColor(TColor color) const;

    // Color follows the entry (unless the item itself is changing the entry).
    void Change() override;
    // The inherited click; then, without OnClick and unless ReadOnly, the colour dialog
    // (starting from the colour shown when its button asked for it, else from Color) and
    // Color takes its choice.
    void Click() override;
    // Swatch and name; index -1 is the text box showing a colour of no entry.
    void DrawItem(TCanvas& p, const QFont& font, int index, const TRect& rect, unsigned state,
                  bool flatInterior = false) override;
    void MeasureItem(int index, const QFont& font, int& height) override;
    void MeasureItemWidth(int index, const QFont& font, int& width) override;
    bool DrawsTextBox() const override { return true; }

    // The control's "..." button (or Ctrl+Enter) asks for the dialog, starting from color.
    void BeginButtonClick(TColor color);
    void EndButtonClick() { buttonClick_ = false; }

protected:
    void Loaded() override;
    Q_INVOKABLE bool IsDropDownCountStored() const;
    Q_INVOKABLE bool IsAutoColorTextStored() const;
    Q_INVOKABLE bool IsCustomColorTextStored() const;

private:
    int AutoOffset() const { return showAutoColor_ ? 1 : 0; }
    int EntryCount() const { return StandardColorCount + AutoOffset(); }
    void FillColorList();
    // ItemIndex follows Color without Color following ItemIndex back.
    void SelectColorIndex();

    TColor autoColor_ = clWindowText;
    QString autoColorText_;
    TColor color_ = clBlack;
    QString customColorText_;
    TColor dialogColor_ = clBlack;
    bool buttonClick_ = false;
    bool updatingIndex_ = false;
    bool showAutoColor_ = false;
    bool showCustomColorButton_ = false;
    // DropDownCount came from the form being read.
    bool dropDownCountRead_ = false;
};

class TdxBarColorComboControl : public TdxBarComboControl {
public:
    explicit TdxBarColorComboControl(TdxBarItemLink* link);

    TdxBarColorCombo* ColorCombo() const;
    // The "..." button's face in the bar window's client coordinates; empty while none is
    // drawn.
    TRect ColorButtonRect;
    // The button's width for a control of that height.
    static int ColorButtonWidth(int height) { return (height - 4) / 7 * 7 + 4; }

    void PressedChanged() override;
    bool IsDrawnSelected() const override;
    void Draw(TCanvas& p, const TRect& r, int paintType) override;
    void ControlClick(bool byMouse) override;
    bool EditorKeyDown(int& key, TShiftState shift) override;

private:
    // The press lies on the "..." button.
    bool PressedOnColorButton() const;
    // The "..." button's click: the use is counted and the item clicked, starting the dialog
    // from the colour shown now.
    void ColorButtonClick();
    void DrawColorButton(QPainter& p, TRect r);
};

extern TdxBarItemControlClass TdxBarColorComboControlClass;
