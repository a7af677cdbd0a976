#pragma once
// Standard controls: label, multi-line memo, single-line edit, push button, check box and
// combo box.
//
// Memo text positions (SelStart, SelLength) are character indexes into Text, in which
// every line break is one character ('\n'). Text given with CR LF or CR line breaks is
// stored with '\n'; Lines.Text gives the lines each followed by CR LF.
#include "Controls.h"
#include "ItemStrings.h"
#include "SharedText.h"
#include "Strings.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QPlainTextEdit;
class TMemo;

// A label. With a FocusControl its "&" marks a mnemonic: the marked character is underlined
// and Alt with it focuses that control (the label is the control's buddy). WordWrap breaks the
// caption at the label's width; auto-sizing then keeps the width and fits the height.
class TLabel : public TControl {
    Q_OBJECT
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
    Q_PROPERTY(bool Transparent READ Transparent WRITE SetTransparent)
    Q_PROPERTY(bool AutoSize READ AutoSize WRITE SetAutoSize)
    Q_PROPERTY(bool WordWrap READ WordWrap WRITE SetWordWrap)
    Q_PROPERTY(TWinControl* FocusControl READ FocusControl WRITE SetFocusControl)
    Q_CLASSINFO("Default.Transparent", "False")
    Q_CLASSINFO("Default.AutoSize", "True")
    Q_CLASSINFO("Default.WordWrap", "False")
public:
    explicit TLabel(TComponent* owner);

    QString Caption() const { return caption_; }
    void SetCaption(const QString& value);
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool value);
    // Sizes the label to its text whenever caption or font change (unless aligned).
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool value);
    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool value);
    // The control the label's mnemonic focuses; nullptr when none (or once it is freed).
    TWinControl* FocusControl() const { return focusControl_; }
    void SetFocusControl(TWinControl* control);

protected:
    QString DoGetText() const override { return caption_; }
    void DoSetText(const QString& value) override { SetCaption(value); }
    void ApplyColor() override;
    void ApplyFont() override;

private:
    QLabel* Label() const;
    void AdjustSize();

    QString caption_;
    bool transparent_ = false;
    bool autoSize_ = true;
    bool wordWrap_ = false;
    QPointer<TWinControl> focusControl_;
};

// The memo's lines as a string list: every change goes straight to the memo's text.
class TMemoStrings : public TStrings {
    Q_OBJECT
public:
    explicit TMemoStrings(TMemo* memo) : memo_(memo) {}

    int Count() const override;
    QString Strings(int index) const override;
    void* Objects(int index) const override;
    void Put(int index, const QString& s) override;
    void Insert(int index, const QString& s) override;
    void Delete(int index) override;
    void Clear() override;
    void SetText(const QString& text) override;
    QString Text() const override;
    // A string list source replaces the text in one change.
    void Assign(TPersistent* source) override;

    // The memo's text changed: the split lines are stale.
    void Invalidate() { cached_ = false; }
    // Replaces the text with these lines in one change; they read back the same, a final
    // empty line included (the text gets a break after every line).
    void SetLines(const QStringList& lines);

private:
    const QStringList& Lines() const;

    TMemo* memo_;
    mutable QStringList lines_;
    mutable bool cached_ = false;
};

class TMemo : public TWinControl {
    Q_OBJECT
    Q_PROPERTY(TStrings* Lines READ Lines WRITE SetLines)
    Q_PROPERTY(ControlTypes::TScrollStyle ScrollBars READ ScrollBars WRITE SetScrollBars)
    Q_PROPERTY(bool WordWrap READ WordWrap WRITE SetWordWrap)
    Q_PROPERTY(bool ReadOnly READ ReadOnly WRITE SetReadOnly)
    Q_PROPERTY(int MaxLength READ MaxLength WRITE SetMaxLength)
    Q_PROPERTY(TNotifyEvent OnChange READ OnChange WRITE SetOnChange)
    Q_CLASSINFO("Default.MaxLength", "0")
    Q_CLASSINFO("Default.ScrollBars", "ssNone")
    Q_CLASSINFO("Default.WordWrap", "True")
    Q_CLASSINFO("Default.ReadOnly", "False")
    Q_CLASSINFO("Default.ParentColor", "False")
    Q_CLASSINFO("Default.Color", "clWindow")
    Q_CLASSINFO("Default.TabStop", "True")
public:
    explicit TMemo(TComponent* owner);
    ~TMemo() override;

    TStrings* Lines() const { return lines_; }
    void SetLines(TStrings* value);
    QString Text() const;
    void SetText(const QString& value);

    TScrollStyle ScrollBars() const { return scrollBars_; }
    void SetScrollBars(TScrollStyle value);
    // Lines wrap at the window's edge; a horizontal scroll bar turns wrapping off.
    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool value);
    bool ReadOnly() const;
    void SetReadOnly(bool value);
    // The most characters the user can type or paste (0: no limit); what an edit adds
    // beyond it is cut from the end of the addition. SetText is not limited.
    int MaxLength() const { return maxLength_; }
    void SetMaxLength(int value) { maxLength_ = std::max(0, value); }

    int SelStart() const;
    // Puts the caret at value (clamped) with nothing selected.
    void SetSelStart(int value);
    int SelLength() const;
    // Selects value characters from SelStart (clamped to the text).
    void SetSelLength(int value);
    QString SelText() const;
    // Replaces the selection (one undoable edit).
    void SetSelText(const QString& value);

    bool CanUndo() const;
    bool CanRedo() const;
    void Undo();
    void Redo();
    void ClearUndo();
    bool Modified() const;
    void SetModified(bool value);

    void CutToClipboard();
    void CopyToClipboard();
    // Inserts the clipboard's text at the selection; nothing when it holds no text. Every
    // other paste of the pane (keys, its menu, the selection paste, drops) takes text alone
    // the same way.
    void PasteFromClipboard();
    void ClearSelection();
    void SelectAll();
    void Clear() { SetText({}); }

    TNotifyEvent OnChange() const { return onChange_; }
    void SetOnChange(const TNotifyEvent& e) { onChange_ = e; }

    QPlainTextEdit* Editor() const;

    // The text as Text() gives it, as shared pieces kept current with every change: reading
    // it copies no characters, and a copy may go to another thread.
    const TSharedText& SharedText() const { return shared_; }

protected:
    QString DoGetText() const override { return Text(); }
    void DoSetText(const QString& value) override { SetText(value); }
    bool ColorFillsField() const override { return true; }
    virtual void Change();

private:
    void ApplyWrap();
    // Cuts what the last edit added beyond MaxLength; true when it cut.
    bool EnforceMaxLength();
    // Applies an edit of the document to the shared text; reads the document whole when the
    // edit cannot be followed.
    void TrackChange(int position, int removed, int added);

    TMemoStrings* lines_;
    // The one copy of the text, kept in step with every edit, so that reading it never walks
    // the document.
    TSharedText shared_;
    // The text in one string, joined from shared_ when first asked for after an edit, into
    // the buffer of the join before.
    mutable QString joined_;
    mutable bool joinedValid_ = true;
    int maxLength_ = 0;
    bool settingText_ = false;
    int lastChangeEnd_ = -1;  // where the last edit's addition ends
    TScrollStyle scrollBars_ = ssNone;
    bool wordWrap_ = true;
    TNotifyEvent onChange_;
};

class TEdit : public TWinControl {
    Q_OBJECT
    Q_PROPERTY(QString Text READ Text WRITE SetText)
    Q_PROPERTY(int MaxLength READ MaxLength WRITE SetMaxLength)
    Q_PROPERTY(bool ReadOnly READ ReadOnly WRITE SetReadOnly)
    Q_PROPERTY(TNotifyEvent OnChange READ OnChange WRITE SetOnChange)
    Q_CLASSINFO("Default.Text", "''")
    Q_CLASSINFO("Default.MaxLength", "0")
    Q_CLASSINFO("Default.ReadOnly", "False")
    Q_CLASSINFO("Default.ParentColor", "False")
    Q_CLASSINFO("Default.Color", "clWindow")
    Q_CLASSINFO("Default.TabStop", "True")
public:
    explicit TEdit(TComponent* owner);
    ~TEdit() override;

    QString Text() const;
    void SetText(const QString& value);
    // 0: no limit. A shorter limit cuts the current text.
    int MaxLength() const { return maxLength_; }
    void SetMaxLength(int value);
    bool ReadOnly() const;
    void SetReadOnly(bool value);
    void SelectAll();

    TNotifyEvent OnChange() const { return onChange_; }
    void SetOnChange(const TNotifyEvent& e) { onChange_ = e; }

    QLineEdit* Editor() const;

protected:
    QString DoGetText() const override { return Text(); }
    void DoSetText(const QString& value) override { SetText(value); }
    bool ColorFillsField() const override { return true; }
    virtual void Change();

private:
    // The text as Text() gives it, kept in step with every edit so that reading it costs
    // nothing; rebuilt from the document when an edit could not be followed.
    mutable QString text_;
    mutable bool textValid_ = false;
    int maxLength_ = 0;
    TNotifyEvent onChange_;
};

// A push button. A click fires OnClick; then a non-zero ModalResult becomes the modal
// result of the button's form, which ends that form's ShowModal. The form clicks its
// Default button on Enter and its Cancel button on Escape (TCustomForm::DialogKey); the
// Default button is also drawn as the window's default one.
class TButton : public TWinControl {
    Q_OBJECT
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
    Q_PROPERTY(bool Default READ Default WRITE SetDefault)
    Q_PROPERTY(bool Cancel READ Cancel WRITE SetCancel)
    Q_PROPERTY(int ModalResult READ ModalResult WRITE SetModalResult)
    Q_PROPERTY(TNotifyEvent OnClick READ OnClick WRITE SetOnClick)
    Q_CLASSINFO("Default.Caption", "''")
    Q_CLASSINFO("Default.Default", "False")
    Q_CLASSINFO("Default.Cancel", "False")
    Q_CLASSINFO("Default.ModalResult", "0")
    Q_CLASSINFO("Default.TabStop", "True")
public:
    explicit TButton(TComponent* owner);
    ~TButton() override;

    QString Caption() const;
    void SetCaption(const QString& value);
    bool Default() const { return default_; }
    void SetDefault(bool value);
    bool Cancel() const { return cancel_; }
    void SetCancel(bool value) { cancel_ = value; }
    int ModalResult() const { return modalResult_; }
    void SetModalResult(int value) { modalResult_ = value; }

    // Runs the button's click: OnClick, then the modal result.
    virtual void Click();

    TNotifyEvent OnClick() const { return onClick_; }
    void SetOnClick(const TNotifyEvent& e) { onClick_ = e; }

    QPushButton* Button() const;

protected:
    QString DoGetText() const override { return Caption(); }
    void DoSetText(const QString& value) override { SetCaption(value); }

private:
    bool default_ = false;
    bool cancel_ = false;
    int modalResult_ = 0;
    TNotifyEvent onClick_;
};

// A check box. A click, Space or its mnemonic moves it on (unchecked, then grayed when
// AllowGrayed, then checked) and fires OnClick; so does setting Checked or State to another
// state in code, as the component library does.
class TCheckBox : public TWinControl {
    Q_OBJECT
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
    Q_PROPERTY(bool AllowGrayed READ AllowGrayed WRITE SetAllowGrayed)
    Q_PROPERTY(ControlTypes::TCheckBoxState State READ State WRITE SetState)
    Q_PROPERTY(bool Checked READ Checked WRITE SetChecked STORED false)
    Q_PROPERTY(TNotifyEvent OnClick READ OnClick WRITE SetOnClick)
    Q_CLASSINFO("Default.Caption", "''")
    Q_CLASSINFO("Default.AllowGrayed", "False")
    Q_CLASSINFO("Default.State", "cbUnchecked")
    Q_CLASSINFO("Default.TabStop", "True")
public:
    explicit TCheckBox(TComponent* owner);
    ~TCheckBox() override;

    QString Caption() const;
    void SetCaption(const QString& value);
    bool AllowGrayed() const { return allowGrayed_; }
    void SetAllowGrayed(bool value);
    TCheckBoxState State() const { return state_; }
    // cbGrayed is taken also without AllowGrayed (the user cannot reach it then).
    void SetState(TCheckBoxState value);
    bool Checked() const { return state_ == cbChecked; }
    void SetChecked(bool value) { SetState(value ? cbChecked : cbUnchecked); }

    TNotifyEvent OnClick() const { return onClick_; }
    void SetOnClick(const TNotifyEvent& e) { onClick_ = e; }

    QCheckBox* CheckBox() const;

protected:
    QString DoGetText() const override { return Caption(); }
    void DoSetText(const QString& value) override { SetCaption(value); }
    virtual void Click();

private:
    TCheckBoxState state_ = cbUnchecked;
    bool allowGrayed_ = false;
    TNotifyEvent onClick_;
};

// A combo box: an edit with a drop-down list (csDropDown) or a drop-down list alone
// (csDropDownList). Choosing an item from the list fires OnClick, then OnChange; typing into
// the edit fires OnChange. Setting ItemIndex or the items fires nothing. A list that gets its
// first items has still nothing chosen (ItemIndex -1).
class TComboBox : public TWinControl {
    Q_OBJECT
    Q_PROPERTY(ControlTypes::TComboBoxStyle Style READ Style WRITE SetStyle)
    Q_PROPERTY(int DropDownCount READ DropDownCount WRITE SetDropDownCount)
    Q_PROPERTY(TStrings* Items READ Items WRITE SetItems)
    Q_PROPERTY(int ItemIndex READ ItemIndex WRITE SetItemIndex)
    Q_PROPERTY(QString Text READ Text WRITE SetText)
    Q_PROPERTY(TNotifyEvent OnChange READ OnChange WRITE SetOnChange)
    Q_PROPERTY(TNotifyEvent OnClick READ OnClick WRITE SetOnClick)
    Q_CLASSINFO("Default.Style", "csDropDown")
    Q_CLASSINFO("Default.DropDownCount", "8")
    Q_CLASSINFO("Default.ItemIndex", "-1")
    Q_CLASSINFO("Default.Text", "''")
    Q_CLASSINFO("Default.ParentColor", "False")
    Q_CLASSINFO("Default.Color", "clWindow")
    Q_CLASSINFO("Default.TabStop", "True")
public:
    explicit TComboBox(TComponent* owner);
    ~TComboBox() override;

    TComboBoxStyle Style() const { return style_; }
    void SetStyle(TComboBoxStyle value);
    int DropDownCount() const;
    void SetDropDownCount(int value);
    TStrings* Items() const { return items_; }
    void SetItems(TStrings* value);
    // -1 for none; setting an index out of range chooses none.
    int ItemIndex() const;
    void SetItemIndex(int value);
    // The edit's text (csDropDown), else the chosen item's. Setting it in a drop-down list
    // chooses the item of that text, if any.
    QString Text() const;
    void SetText(const QString& value);

    TNotifyEvent OnChange() const { return onChange_; }
    void SetOnChange(const TNotifyEvent& e) { onChange_ = e; }
    TNotifyEvent OnClick() const { return onClick_; }
    void SetOnClick(const TNotifyEvent& e) { onClick_ = e; }

    QComboBox* ComboBox() const;

protected:
    QString DoGetText() const override { return Text(); }
    void DoSetText(const QString& value) override { SetText(value); }
    bool ColorFillsField() const override { return true; }
    virtual void Click();
    virtual void Change();

private:
    void ConnectEditor();

    TModelStrings* items_;
    TComboBoxStyle style_ = csDropDown;
    TNotifyEvent onChange_, onClick_;
};
