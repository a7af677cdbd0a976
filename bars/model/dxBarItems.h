#pragma once
// The standard item kinds: buttons, edits, combos, sub items and container items (list
// item, container item). Their item controls draw and operate them; this is their model.
#include "Controls.h"
#include "Graphics.h"
#include "WinTypes.h"
#include "dxBarItem.h"

#include <QList>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QPointer>
#include <QString>
#include <QStringList>

Q_MOC_INCLUDE("Graphics.h")
Q_MOC_INCLUDE("Strings.h")
Q_MOC_INCLUDE("dxBarItemLink.h")

class QFont;
class TStrings;
class TStringList;
class TdxBarItemLinks;
class TdxBarPopupMenu;
class TdxBarDropDownList;

// The controls' key events (Controls.h), their metatypes declared there.
using TdxBarKeyEvent = TKeyEvent;
using TdxBarKeyPressEvent = TKeyPressEvent;
using TdxBarCheckKeyEvent = TEvent<TObject*, int, TShiftState, bool&>;
using TdxBarGetDropDownWindowEvent = TEvent<TObject*, TNativeWindow*&>;
// An owner-drawn entry's state is a set of od* flags (ControlTypes.h): selected, and focused
// (the list draws as focused).
// Draws entry AIndex (-1: the combo's text) into ARect on the combo's Canvas.
using TdxBarDrawItemEvent = TEvent<TObject*, int, const TRect&, unsigned>;
// May change the height of entry AIndex.
using TdxBarMeasureItemEvent = TEvent<TObject*, int, int&>;
Q_DECLARE_METATYPE(TdxBarCheckKeyEvent)
Q_DECLARE_METATYPE(TdxBarGetDropDownWindowEvent)
Q_DECLARE_METATYPE(TdxBarDrawItemEvent)
Q_DECLARE_METATYPE(TdxBarMeasureItemEvent)

// An item with text and an in-place editor window.
class TdxBarWindowItem : public TdxBarItem {
    Q_OBJECT
    Q_PROPERTY(QString Text READ Text WRITE SetText)
    Q_PROPERTY(TNotifyEvent OnChange MEMBER OnChange)
    Q_PROPERTY(TNotifyEvent OnCurChange MEMBER OnCurChange)
    Q_PROPERTY(TNotifyEvent OnEnter MEMBER OnEnter)
    Q_PROPERTY(TNotifyEvent OnExit MEMBER OnExit)
    Q_PROPERTY(TdxBarKeyEvent OnKeyDown MEMBER OnKeyDown)
    Q_PROPERTY(TdxBarKeyPressEvent OnKeyPress MEMBER OnKeyPress)
    Q_PROPERTY(TdxBarKeyEvent OnKeyUp MEMBER OnKeyUp)
public:
    Q_INVOKABLE explicit TdxBarWindowItem(TComponent* owner);

    const QString& Text() const { return text_; }
    // On a change: store, UpdateControls, Change, UpdateControls.
    virtual void SetText(const QString& value);
    bool CanClicked() const override { return false; }

    // The text of the live link's editor, else Text.
    QString CurText() const;
    void SetCurText(const QString& value);
    // The live link whose editor has the focus.
    TdxBarItemLink* FocusedLink() const;

    virtual void Change();
    virtual void CurChange();
    void DoEnter();
    void DoExit();
    void KeyDown(int& key, TShiftState shift);
    void KeyPress(QChar& key);
    void KeyUp(int& key, TShiftState shift);

    TNotifyEvent OnChange;
    TNotifyEvent OnCurChange;
    TNotifyEvent OnEnter;
    TNotifyEvent OnExit;
    TdxBarKeyEvent OnKeyDown;
    TdxBarKeyPressEvent OnKeyPress;
    TdxBarKeyEvent OnKeyUp;

protected:
    // Stores the text without notifications.
    void StoreText(const QString& value) { text_ = value; }

private:
    QString text_;
};

class TdxBarButton : public TdxBarItem {
    Q_OBJECT
    Q_PROPERTY(bool AllowAllUp READ AllowAllUp WRITE SetAllowAllUp)
    Q_PROPERTY(dxBarTypes::TdxBarButtonStyle ButtonStyle READ ButtonStyle WRITE SetButtonStyle)
    Q_PROPERTY(bool CloseSubMenuOnClick MEMBER closeSubMenuOnClick_)
    Q_PROPERTY(bool DropDownEnabled READ DropDownEnabled WRITE SetDropDownEnabled)
    Q_PROPERTY(int GroupIndex READ GroupIndex WRITE SetGroupIndex)
    Q_PROPERTY(bool Down READ Down WRITE SetDown)
    Q_CLASSINFO("Stored.Down", "IsDownStored")
    Q_PROPERTY(TBitmap* Glyph READ Glyph WRITE SetGlyph)
    Q_PROPERTY(int ImageIndex READ ImageIndex WRITE SetImageIndex)
    Q_CLASSINFO("Stored.ImageIndex", "IsImageIndexStored")
    Q_PROPERTY(bool Lowered READ Lowered WRITE SetLowered)
    Q_PROPERTY(dxBarTypes::TdxBarPaintStyle PaintStyle READ PaintStyle WRITE SetPaintStyle)
    Q_PROPERTY(int ShortCut READ ShortCut WRITE SetShortCut)
    Q_CLASSINFO("Stored.ShortCut", "IsShortCutStored")
    Q_PROPERTY(bool UnclickAfterDoing READ UnclickAfterDoing WRITE SetUnclickAfterDoing)
    Q_PROPERTY(TNotifyEvent OnClick READ OnClick WRITE SetOnClick)
    Q_CLASSINFO("Stored.OnClick", "IsOnClickStored")
    Q_CLASSINFO("Default.AllowAllUp", "False")
    Q_CLASSINFO("Default.ButtonStyle", "bsDefault")
    Q_CLASSINFO("Default.CloseSubMenuOnClick", "True")
    Q_CLASSINFO("Default.DropDownEnabled", "True")
    Q_CLASSINFO("Default.GroupIndex", "0")
    Q_CLASSINFO("Default.Down", "False")
    Q_CLASSINFO("Default.Lowered", "False")
    Q_CLASSINFO("Default.PaintStyle", "psStandard")
public:
    Q_INVOKABLE explicit TdxBarButton(TComponent* owner);

    bool AllowAllUp() const { return allowAllUp_; }
    void SetAllowAllUp(bool value);
    TdxBarButtonStyle ButtonStyle() const { return buttonStyle_; }
    void SetButtonStyle(TdxBarButtonStyle value);
    bool CloseSubMenuOnClick() const { return closeSubMenuOnClick_; }
    void SetCloseSubMenuOnClick(bool value) { closeSubMenuOnClick_ = value; }
    bool DropDownEnabled() const { return dropDownEnabled_; }
    void SetDropDownEnabled(bool value);
    int GroupIndex() const { return groupIndex_; }
    void SetGroupIndex(int value);
    bool Down() const { return down_; }
    void SetDown(bool value);
    // The popup menu a bsDropDown button opens (the popup menu's unit sets and clears it).
    TdxBarPopupMenu* DropDownMenu() const { return dropDownMenu_; }
    void SetDropDownMenu(TdxBarPopupMenu* value) { dropDownMenu_ = value; }
    bool Lowered() const { return lowered_; }
    void SetLowered(bool value);
    TdxBarPaintStyle PaintStyle() const { return paintStyle_; }
    void SetPaintStyle(TdxBarPaintStyle value);

    // Toggles Down of an enabled bsChecked button, then the inherited click.
    void DirectClick() override;
    bool IsAccelEnabled(TdxBarItemLink* link) const override;

    virtual void ButtonStyleChanged();
    virtual bool CanBePressed() const { return true; }
    virtual void DownChanged();
    virtual void DropDownEnabledChanged();
    virtual void PaintStyleChanged();

    // The checked buttons of the manager that share this button's group.
    QList<TdxBarButton*> GroupButtons() const;

protected:
    Q_INVOKABLE bool IsDownStored() const;

private:
    bool allowAllUp_ = false;
    TdxBarButtonStyle buttonStyle_ = bsDefault;
    bool closeSubMenuOnClick_ = true;
    bool dropDownEnabled_ = true;
    int groupIndex_ = 0;
    bool down_ = false;
    TdxBarPopupMenu* dropDownMenu_ = nullptr;
    bool lowered_ = false;
    TdxBarPaintStyle paintStyle_ = psStandard;
};

class TdxBarEdit : public TdxBarWindowItem {
    Q_OBJECT
    Q_PROPERTY(TBitmap* Glyph READ Glyph WRITE SetGlyph)
    Q_PROPERTY(int ImageIndex READ ImageIndex WRITE SetImageIndex)
    Q_CLASSINFO("Stored.ImageIndex", "IsImageIndexStored")
    Q_PROPERTY(int MaxLength READ MaxLength WRITE SetMaxLength)
    Q_PROPERTY(bool ReadOnly MEMBER readOnly_)
    Q_PROPERTY(bool ShowCaption READ ShowCaption WRITE SetShowCaption)
    Q_PROPERTY(int Width READ Width WRITE SetWidth)
    Q_PROPERTY(TNotifyEvent OnClick READ OnClick WRITE SetOnClick)
    Q_CLASSINFO("Stored.OnClick", "IsOnClickStored")
    Q_CLASSINFO("Default.MaxLength", "0")
    Q_CLASSINFO("Default.ReadOnly", "False")
    Q_CLASSINFO("Default.ShowCaption", "False")
public:
    Q_INVOKABLE explicit TdxBarEdit(TComponent* owner);

    int MaxLength() const { return maxLength_; }
    void SetMaxLength(int value) { maxLength_ = qMax(0, value); }
    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool value) { readOnly_ = value; }
    bool ShowCaption() const { return showCaption_; }
    void SetShowCaption(bool value);
    int Width() const { return width_; }
    // Clamped to 20..600.
    void SetWidth(int value);

    bool IsAccelEnabled(TdxBarItemLink* link) const override;
    bool IsDroppedDown() const;
    virtual void WidthChanged();

private:
    int maxLength_ = 0;
    bool readOnly_ = false;
    bool showCaption_ = false;
    int width_ = 100;
};

class TCustomdxBarCombo : public TdxBarEdit {
    Q_OBJECT
    Q_PROPERTY(bool ShowEditor READ ShowEditor WRITE SetShowEditor)
    Q_PROPERTY(TdxBarCheckKeyEvent OnCheckKeyForDropDownWindow MEMBER OnCheckKeyForDropDownWindow)
    Q_PROPERTY(TNotifyEvent OnCloseUp MEMBER OnCloseUp)
    Q_PROPERTY(TNotifyEvent OnDropDown MEMBER OnDropDown)
    Q_PROPERTY(TdxBarGetDropDownWindowEvent OnGetDropDownWindow MEMBER OnGetDropDownWindow)
    Q_CLASSINFO("Default.ShowEditor", "True")
public:
    Q_INVOKABLE explicit TCustomdxBarCombo(TComponent* owner);

    bool ShowEditor() const { return !noEditor_; }
    void SetShowEditor(bool value) { noEditor_ = !value; }

    // Every key but Tab, Enter and Esc, then OnCheckKeyForDropDownWindow.
    virtual bool CheckKeyForDropDownWindow(int key, TShiftState shift);
    // A key the editor passes on while the drop-down window is open (one the test above took).
    virtual void DropDownWindowKeyDown(int /*key*/, TShiftState /*shift*/) {}
    virtual TNativeWindow* GetDropDownWindow();
    virtual void InitDropDownWindow() {}

    // Opens the drop-down window at the preferred screen point (x, y): fires OnDropDown,
    // places the window inside the work area and shows it without activation.
    // linkSize: the live link's rectangle; vertical: shown in a menu or vertical toolbar.
    virtual void DropDown(QPoint preferred, QSize linkSize, bool vertical);
    // Hides the drop-down window and fires OnCloseUp.
    virtual void CloseUp();

    TdxBarCheckKeyEvent OnCheckKeyForDropDownWindow;
    TNotifyEvent OnCloseUp;
    TNotifyEvent OnDropDown;
    TdxBarGetDropDownWindowEvent OnGetDropDownWindow;

protected:
    virtual void AfterDropDown() {}

private:
    bool noEditor_ = false;
};

// Where a drop-down window of size window opens for the preferred point, so that it stays
// in workArea: beside the link (size link) in a menu or vertical toolbar, above it in a
// horizontal toolbar when there is more room there.
QPoint dxBarDropDownPosition(QPoint preferred, QSize window, QSize link, const QRect& workArea, bool vertical);

// A combo over a list of strings.
class TdxBarCustomCombo : public TCustomdxBarCombo {
    Q_OBJECT
    Q_PROPERTY(int DropDownCount READ DropDownCount WRITE SetDropDownCount)
    Q_PROPERTY(int DropDownWidth MEMBER dropDownWidth_)
    Q_PROPERTY(TdxBarDrawItemEvent OnDrawItem MEMBER OnDrawItem)
    Q_PROPERTY(TdxBarMeasureItemEvent OnMeasureItem MEMBER OnMeasureItem)
    Q_CLASSINFO("Default.DropDownCount", "8")
    Q_CLASSINFO("Default.DropDownWidth", "0")
public:
    Q_INVOKABLE explicit TdxBarCustomCombo(TComponent* owner);
    ~TdxBarCustomCombo() override;

    int DropDownCount() const { return dropDownCount_; }
    virtual void SetDropDownCount(int value) { dropDownCount_ = value; }
    int DropDownWidth() const { return dropDownWidth_; }
    TStrings* Items() const;
    void SetItems(TStrings* value);
    int ItemIndex() const { return itemIndex_; }
    // Out-of-range values become -1; Text follows the entry.
    void SetItemIndex(int value);
    bool Sorted() const { return sorted_; }
    void SetSorted(bool value);
    int ItemHeight() const { return itemHeight_; }
    void SetItemHeight(int value) { itemHeight_ = value; }

    // ItemIndex follows a text that no longer matches its entry.
    void SetText(const QString& value) override;
    bool CheckKeyForDropDownWindow(int key, TShiftState shift) override;
    void DropDownWindowKeyDown(int key, TShiftState shift) override;
    // The current index of the focused control, else ItemIndex.
    int CurItemIndex() const;
    // The list box drops down unless OnGetDropDownWindow supplies a window of its own.
    TNativeWindow* GetDropDownWindow() override;
    void DropDown(QPoint preferred, QSize linkSize, bool vertical) override;
    void CloseUp() override;
    // The list follows the editor's text.
    void CurChange() override;
    // The drop-down list (made on first use; none without the bar windows).
    TdxBarDropDownList* DropDownList();
    // First entry sharing the longest case-insensitive prefix with text; -1 when none shares
    // the first character.
    int FindBestMatch(const QString& text) const;

    // --- drawing and measuring the entries (the list and the combo's text box)
    // The painter of the entry being drawn; none outside DrawItem.
    TCanvas* Canvas() const { return canvas_; }
    // OnDrawItem when assigned; else the rectangle is filled (the highlight when selected)
    // and the entry (or Text for -1) written at left + 2 (top + 2 in the flat text box), with
    // a focus rectangle when focused. font: the font of the list or the text box.
    virtual void DrawItem(TCanvas& p, const QFont& font, int index, const TRect& rect, unsigned state,
                          bool flatInterior = false);
    // ItemHeight when above 0, else the height of "Qq" in font; then OnMeasureItem.
    virtual void MeasureItem(int index, const QFont& font, int& height);
    // The entry's text width + 2.
    virtual void MeasureItemWidth(int index, const QFont& font, int& width);
    // The combo's text box shows its current entry through DrawItem (an owner-drawn combo),
    // not as plain text.
    virtual bool DrawsTextBox() const { return bool(OnDrawItem); }

    TdxBarDrawItemEvent OnDrawItem;
    TdxBarMeasureItemEvent OnMeasureItem;

private:
    void ItemsChange(TObject* sender);

    int dropDownCount_ = 8;
    int dropDownWidth_ = 0;
    int itemHeight_ = 0;
    int itemIndex_ = -1;
    bool sorted_ = false;
    TStringList* items_ = nullptr;
    // Owned as a component of the combo; guarded because the owner frees it.
    QPointer<QObject> listObject_;
    TdxBarDropDownList* list_ = nullptr;
    TCanvas* canvas_ = nullptr;
};

class TdxBarCombo : public TdxBarCustomCombo {
    Q_OBJECT
    Q_PROPERTY(int ItemHeight READ ItemHeight WRITE SetItemHeight)
    Q_PROPERTY(TStrings* Items READ Items WRITE SetItems)
    Q_PROPERTY(bool Sorted READ Sorted WRITE SetSorted)
    Q_PROPERTY(int ItemIndex READ ItemIndex WRITE SetItemIndex)
    Q_CLASSINFO("Default.ItemHeight", "0")
    Q_CLASSINFO("Default.Sorted", "False")
public:
    Q_INVOKABLE explicit TdxBarCombo(TComponent* owner);
};

class TCustomdxBarSubItem : public TdxBarItem {
    Q_OBJECT
    Q_PROPERTY(int BarSize READ BarSize WRITE SetBarSize)
    Q_PROPERTY(bool Detachable MEMBER detachable_)
    Q_PROPERTY(int DetachingBar READ DetachingBar WRITE SetDetachingBar)
    Q_PROPERTY(TBitmap* Glyph READ Glyph WRITE SetGlyph)
    Q_PROPERTY(int ImageIndex READ ImageIndex WRITE SetImageIndex)
    Q_CLASSINFO("Stored.ImageIndex", "IsImageIndexStored")
    Q_PROPERTY(bool ShowCaption READ ShowCaption WRITE SetShowCaption)
    Q_PROPERTY(TNotifyEvent OnClick READ OnClick WRITE SetOnClick)
    Q_CLASSINFO("Stored.OnClick", "IsOnClickStored")
    Q_PROPERTY(TNotifyEvent OnDetaching MEMBER OnDetaching)
    Q_CLASSINFO("Default.BarSize", "0")
    Q_CLASSINFO("Default.Detachable", "False")
    Q_CLASSINFO("Default.DetachingBar", "-1")
    Q_CLASSINFO("Default.ShowCaption", "True")
public:
    Q_INVOKABLE explicit TCustomdxBarSubItem(TComponent* owner);
    ~TCustomdxBarSubItem() override;

    TdxBarItemLinks* ItemLinks() const { return itemLinks_; }
    void SetItemLinks(TdxBarItemLinks* value);
    int BarSize() const { return barSize_; }
    void SetBarSize(int value) { barSize_ = qMax(0, value); }
    bool ShowCaption() const { return showCaption_; }
    void SetShowCaption(bool value);
    int DetachingBar() const { return detachingBar_; }
    // Outside -1..bar count - 1 (or without bars): -1.
    void SetDetachingBar(int value);

    bool CanClicked() const override { return false; }
    void ManagerAssigned() override;
    void BarNotification(TOperation operation, TdxBar* bar) override;

    void CloseUp();
    void Detaching();
    // The menu of the item opens: OnPopup.
    virtual void Popup();

    TNotifyEvent OnCloseUp;
    TNotifyEvent OnDetaching;
    TNotifyEvent OnPopup;

protected:
    bool HintFollowsCaption() const override { return false; }

private:
    TdxBarItemLinks* itemLinks_ = nullptr;
    int barSize_ = 0;
    bool detachable_ = false;
    int detachingBar_ = -1;
    bool showCaption_ = true;
};

class TdxBarSubItem : public TCustomdxBarSubItem {
    Q_OBJECT
    Q_PROPERTY(bool AllowCustomizing MEMBER allowCustomizing_)
    Q_PROPERTY(TdxBarItemLinks* ItemLinks READ ItemLinks WRITE SetItemLinks)
    Q_PROPERTY(TNotifyEvent OnCloseUp MEMBER OnCloseUp)
    Q_PROPERTY(TNotifyEvent OnPopup MEMBER OnPopup)
    Q_CLASSINFO("Default.AllowCustomizing", "True")
public:
    Q_INVOKABLE explicit TdxBarSubItem(TComponent* owner);
    bool AllowCustomizing() const { return allowCustomizing_; }

private:
    bool allowCustomizing_ = true;
};

// A sub item that expands into links generated in the menu window showing it.
class TCustomdxBarContainerItem : public TCustomdxBarSubItem {
    Q_OBJECT
    Q_PROPERTY(TNotifyEvent OnGetData MEMBER OnGetData)
public:
    Q_INVOKABLE explicit TCustomdxBarContainerItem(TComponent* owner);
    ~TCustomdxBarContainerItem() override;

    // Inserts the generated links into links at index, made from ownLink.
    virtual void AddListedItemLinks(TdxBarItemLinks* links, int index, TdxBarItemLink* ownLink, bool firstUse);
    virtual void DeleteListedItemLinks(TdxBarItemLinks* /*links*/, int /*index*/) {}
    virtual void ClearItems() { clearPending_ = false; }
    // The own link leaves the menu window while its generated links are shown.
    virtual bool ReplaceOwnLink() const { return true; }
    void SetClearPending() { clearPending_ = true; }
    bool ClearPending() const { return clearPending_; }

    TNotifyEvent OnGetData;

private:
    bool clearPending_ = false;
};

class TdxBarListItem : public TCustomdxBarContainerItem {
    Q_OBJECT
    Q_PROPERTY(int ItemIndex READ ItemIndex WRITE SetItemIndex)
    Q_PROPERTY(TStrings* Items READ Items WRITE SetItems)
    Q_PROPERTY(bool ShowCheck MEMBER showCheck_)
    Q_PROPERTY(bool ShowNumbers MEMBER showNumbers_)
    Q_CLASSINFO("Default.ItemIndex", "-1")
    Q_CLASSINFO("Default.ShowCheck", "False")
    Q_CLASSINFO("Default.ShowNumbers", "True")
public:
    Q_INVOKABLE explicit TdxBarListItem(TComponent* owner);
    ~TdxBarListItem() override;

    TStrings* Items() const;
    void SetItems(TStrings* value);
    int ItemIndex() const { return itemIndex_; }
    // Clamped to -1..count - 1.
    void SetItemIndex(int value);
    // Number of the selected entry among the non-separator entries; -1 without one.
    int DataIndex() const;
    void SetDataIndex(int value);
    bool ShowCheck() const { return showCheck_; }
    void SetShowCheck(bool value) { showCheck_ = value; }
    bool ShowNumbers() const { return showNumbers_; }
    void SetShowNumbers(bool value) { showNumbers_ = value; }

    // Runs only while no link has an active control.
    void DoClick() override;
    void AddListedItemLinks(TdxBarItemLinks* links, int index, TdxBarItemLink* ownLink, bool firstUse) override;
    void DeleteListedItemLinks(TdxBarItemLinks* links, int index) override;
    void ClearItems() override;
    virtual QString GetDisplayText(const QString& text) const { return text; }
    void Notification(TComponent* component, TOperation operation) override;

    // The buttons generated by the first expansion.
    const QList<TdxBarButton*>& GeneratedButtons() const { return buttons_; }

private:
    int NumberedCount() const;
    void ButtonClick(TObject* sender);

    int itemIndex_ = -1;
    TStringList* items_ = nullptr;
    bool showCheck_ = false;
    bool showNumbers_ = true;
    QList<TdxBarButton*> buttons_;
};

class TdxBarContainerItem : public TCustomdxBarContainerItem {
    Q_OBJECT
    Q_PROPERTY(TdxBarItemLinks* ItemLinks READ ItemLinks WRITE SetItemLinks)
public:
    Q_INVOKABLE explicit TdxBarContainerItem(TComponent* owner);

    void AddListedItemLinks(TdxBarItemLinks* links, int index, TdxBarItemLink* ownLink, bool firstUse) override;
    void DeleteListedItemLinks(TdxBarItemLinks* links, int index) override;
};

// May item be placed into owner's links? Not the owner itself, nor a sub item whose links
// contain the owner.
bool dxBarCanInsertItem(TdxBarItem* owner, TdxBarItem* item);
