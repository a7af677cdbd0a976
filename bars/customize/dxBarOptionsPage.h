#pragma once
// The Options page: the manager's presentation options. The standard style shows the plain
// panel (large icons, tooltips, shortcut keys in tooltips, menu animations); the other
// styles show the enhanced panel, which adds the recently-used menus and the reset of the
// usage data.
//
// Each box and combo writes its manager property when the user changes it; the manager's
// change comes back as OptionsChanged, which reloads the page from the manager, so both
// panels always show the manager's values. While shown:
// - "Show full menus after a short delay" is enabled only while "Menus show recently used
//   commands first" is checked;
// - on the enhanced panel, "Show shortcut keys in ToolTips" is enabled only while "Show
//   ToolTips on toolbars" is checked. Disabling it keeps its check and the manager's value.
// "Reset my usage data" asks first (the manager's reset, No by default).
#include "dxBarCustomizingPage.h"

class TComboBox;
class TLabel;

// Where a menu-animation combo stands: it moves right to 10 pixels past its label when it
// starts left of that, and is as wide as its widest item's text and 54 pixels more.
struct TdxBarComboPlace {
    int Left = 0;
    int Width = 0;
    bool operator==(const TdxBarComboPlace&) const = default;
};
TdxBarComboPlace dxBarMenuAnimationsComboPlace(int labelRight, int comboLeft, int widestItemWidth);

// The reset button's width for its caption's text width (mnemonic marks left out).
inline int dxBarResetUsageButtonWidth(int textWidth)
{
    return textWidth + 17;
}

class TdxBarOptionsPage : public TdxBarCustomizingPage {
public:
    explicit TdxBarOptionsPage(TdxBarCustomizingForm& form);

    TTabSheet* Sheet() const override;
    void Build() override;
    void Refresh() override { Reload(); }
    void OptionsChanged() override { Reload(); }

    // Shows the panel of the manager's style and sets every box and combo from the manager.
    void Reload();

    // Both large-icon boxes.
    void CBLargeIconsClick(TObject* sender);
    void CBHint1Click(TObject* sender);
    void CBHint1ExClick(TObject* sender);
    // Both shortcut boxes.
    void CBHint2Click(TObject* sender);
    void CBMenusShowRecentItemsFirstClick(TObject* sender);
    void CBShowFullMenusAfterDelayClick(TObject* sender);
    // Both menu-animation combos.
    void ComboBoxMenuAnimationsClick(TObject* sender);
    void BResetUsageDataClick(TObject* sender);

private:
    // Captions, items and widths of one menu-animation label and its combo.
    void BuildMenuAnimations(TLabel* label, TComboBox* combo);
    // A box changed by the user (not by the reload): its checked state.
    bool UserChecked(TObject* sender, bool& checked) const;

    bool reloading_ = false;
};
