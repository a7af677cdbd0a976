#include "StdCtrls.h"

#include "ExceptionBarrier.h"
#include "Forms.h"
#include "Scope.h"
#include "WrappedTextLayout.h"

#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <algorithm>
#include <limits>

namespace {

// '\n' for every CR LF, CR, paragraph or line separator.
QString NormalizeBreaks(QString text)
{
    // Most texts have none: a quick search to find out, and no copy.
    if (!text.contains(u'\r') && !text.contains(QChar::ParagraphSeparator) && !text.contains(QChar::LineSeparator))
        return text;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    text.replace(QChar::LineSeparator, QLatin1Char('\n'));
    return text;
}

// The document's separators as '\n', one for one, so positions stay as the document has them.
QString SeparatorsAsNewlines(QString text)
{
    for (QChar& c : text)
        if (c == QChar::ParagraphSeparator || c == QChar::LineSeparator || c == u'\r') c = u'\n';
    return text;
}

// The text a paste would insert from source: its plain text, else nothing. Asks only for
// text, so mime data without any format (an empty clipboard, one whose owner has gone) is
// never handed to the stock paste.
QString PastedText(const QMimeData* source)
{
    return source && source->hasText() ? source->text() : QString();
}

// Inserts text at the pane's selection as one edit, with its line breaks as the pane keeps them.
void InsertPasted(QPlainTextEdit* pane, const QString& text)
{
    if (text.isEmpty() || pane->isReadOnly()) return;
    QTextCursor c = pane->textCursor();
    c.insertText(NormalizeBreaks(text));
    pane->setTextCursor(c);
    pane->ensureCursorVisible();
}

// The memo's pane. Every way the stock pane pastes (the paste keys, its context menu, the
// middle button's selection paste, a drop) ends in insertFromMimeData, which takes plain text
// through our own check instead of the stock code.
class TMemoPane : public QPlainTextEdit {
protected:
    bool canInsertFromMimeData(const QMimeData* source) const override { return !PastedText(source).isEmpty(); }
    void insertFromMimeData(const QMimeData* source) override { InsertPasted(this, PastedText(source)); }
};

}  // namespace

// ---- TLabel ----

TLabel::TLabel(TComponent* owner) : TControl(owner, new QLabel)
{
    Label()->setTextFormat(Qt::PlainText);
    SetBounds(0, 0, 0, 13);
}

QLabel* TLabel::Label() const
{
    return static_cast<QLabel*>(Handle());
}

void TLabel::SetCaption(const QString& value)
{
    caption_ = value;
    if (Label()) Label()->setText(value);
    AdjustSize();
}

void TLabel::SetTransparent(bool value)
{
    transparent_ = value;
    ApplyColor();
}

void TLabel::SetAutoSize(bool value)
{
    autoSize_ = value;
    AdjustSize();
}

void TLabel::SetWordWrap(bool value)
{
    wordWrap_ = value;
    if (Label()) Label()->setWordWrap(value);
    AdjustSize();
}

void TLabel::SetFocusControl(TWinControl* control)
{
    focusControl_ = control;
    if (Label()) Label()->setBuddy(control ? control->Handle() : nullptr);
}

void TLabel::AdjustSize()
{
    if (!autoSize_ || Align() != alNone || !Label()) return;
    if (wordWrap_) {
        // The width stays; the height follows the wrapped text.
        SetBounds(Left(), Top(), Width(), std::max(Label()->heightForWidth(Width()), 0));
        return;
    }
    const QSize size = Label()->sizeHint();
    SetBounds(Left(), Top(), size.width(), size.height());
}

void TLabel::ApplyColor()
{
    TControl::ApplyColor();
    if (Handle()) Handle()->setAutoFillBackground(!transparent_);
}

void TLabel::ApplyFont()
{
    TControl::ApplyFont();
    AdjustSize();
}

// ---- TMemoStrings ----

const QStringList& TMemoStrings::Lines() const
{
    // Split once per change of the text, so walking the lines stays linear.
    if (cached_) return lines_;
    const QString text = memo_->Text();
    lines_ = text.isEmpty() ? QStringList() : text.split(QLatin1Char('\n'));
    if (!lines_.isEmpty() && lines_.last().isEmpty()) lines_.removeLast();  // a final break ends the last line
    cached_ = true;
    return lines_;
}

QString TMemoStrings::Text() const
{
    QString text;
    for (const QString& line : Lines()) text += line + QStringLiteral("\r\n");
    return text;
}

void TMemoStrings::SetLines(const QStringList& lines)
{
    // Each line with its line end, joined in one pass into one allocation.
    qsizetype size = lines.size();
    for (const QString& line : lines) size += line.size();
    QString text;
    text.reserve(size);
    for (const QString& line : lines) {
        text += line;
        text += QLatin1Char('\n');
    }
    memo_->SetText(text);
}

int TMemoStrings::Count() const
{
    return int(Lines().size());
}

QString TMemoStrings::Strings(int index) const
{
    const QStringList& lines = Lines();
    if (index < 0 || index >= lines.size()) IndexError(index);
    return lines.at(index);
}

void* TMemoStrings::Objects(int index) const
{
    if (index < 0 || index >= Count()) IndexError(index);
    return nullptr;
}

void TMemoStrings::Put(int index, const QString& s)
{
    QStringList lines = Lines();  // a copy: SetLines invalidates the cache
    if (index < 0 || index >= lines.size()) IndexError(index);
    lines[index] = s;
    SetLines(lines);
}

void TMemoStrings::Insert(int index, const QString& s)
{
    QStringList lines = Lines();
    if (index < 0 || index > lines.size()) IndexError(index);
    lines.insert(index, s);
    SetLines(lines);
}

void TMemoStrings::Delete(int index)
{
    QStringList lines = Lines();
    if (index < 0 || index >= lines.size()) IndexError(index);
    lines.removeAt(index);
    SetLines(lines);
}

void TMemoStrings::Clear()
{
    memo_->SetText({});
}

void TMemoStrings::SetText(const QString& text)
{
    memo_->SetText(text);
}

void TMemoStrings::Assign(TPersistent* source)
{
    if (auto* strings = qobject_cast<TStrings*>(source)) {
        SetLines(strings->ToStringList());
        return;
    }
    TStrings::Assign(source);
}

// ---- TMemo ----

TMemo::TMemo(TComponent* owner) : TWinControl(owner, new TMemoPane), lines_(new TMemoStrings(this))
{
    // A document of our own, laid out by the layout that keeps a keystroke local.
    auto* document = new QTextDocument(Editor());
    document->setDefaultFont(Editor()->font());
    document->setDocumentLayout(new TWrappedTextLayout(document, Editor()));
    Editor()->setDocument(document);
    SetBounds(0, 0, 185, 89);
    SetColor(clWindow);
    SetTabStop(true);
    ApplyWrap();
    connect(Editor()->document(), &QTextDocument::contentsChange, this,
            Guarded(
                [this](int position, int removed, int added) {
                    lastChangeEnd_ = position + added;
                    TrackChange(position, removed, added);
                },
                this));
    connect(Editor(), &QPlainTextEdit::textChanged, this,
            Guarded(
                [this] {
                    lines_->Invalidate();
                    if (EnforceMaxLength()) return;  // the cut's own change reports the result
                    Change();
                },
                this));
}

void TMemo::TrackChange(int position, int removed, int added)
{
    if (settingText_) return;  // SetText has put the new text in place already
    joinedValid_ = false;      // its buffer is kept for the next join
    QTextDocument* doc = Editor()->document();
    const int end = doc->characterCount() - 1;  // without the closing separator
    QString text;
    if (added > 0 && position < end) {
        QTextCursor c(doc);
        c.setPosition(position);
        c.setPosition(std::min(position + added, end), QTextCursor::KeepAnchor);
        text = SeparatorsAsNewlines(c.selectedText());
    }
    shared_.Replace(position, removed, text);
    // A change reported with its closing separator, or loosely: the text is read whole once.
    if (shared_.Size() != end) shared_ = TSharedText(NormalizeBreaks(doc->toRawText()));
}

bool TMemo::EnforceMaxLength()
{
    if (maxLength_ <= 0 || settingText_ || lastChangeEnd_ < 0) return false;
    QTextDocument* document = Editor()->document();
    const int excess = document->characterCount() - 1 - maxLength_;
    if (excess <= 0) return false;
    const int end = std::min(lastChangeEnd_, document->characterCount() - 1);
    QTextCursor c(document);
    c.setPosition(std::max(0, end - excess));
    c.setPosition(end, QTextCursor::KeepAnchor);
    lastChangeEnd_ = -1;
    c.removeSelectedText();
    return true;
}

TMemo::~TMemo()
{
    if (Editor()) Editor()->disconnect(this);
    delete lines_;
}

QPlainTextEdit* TMemo::Editor() const
{
    return static_cast<QPlainTextEdit*>(Handle());
}

void TMemo::SetLines(TStrings* value)
{
    if (value && value != lines_) lines_->Assign(value);
}

QString TMemo::Text() const
{
    if (!joinedValid_) {
        // Joined into the last join's buffer: a large text needs no fresh memory each time.
        shared_.JoinInto(joined_);
        joinedValid_ = true;
    }
    return joined_;
}

void TMemo::SetText(const QString& value)
{
    if (!Editor()) return;
    // The shared text is the new text already while the change handlers run.
    joined_ = NormalizeBreaks(value);
    joinedValid_ = true;
    shared_ = TSharedText(joined_);
    TScopeExit resync([this] {
        // Whatever the document holds now is the text.
        joinedValid_ = false;
        shared_ = TSharedText(NormalizeBreaks(Editor()->document()->toRawText()));
    });
    TRestore setting(settingText_, true);
    Editor()->setPlainText(joined_);
    resync.Dismiss();
}

void TMemo::SetScrollBars(TScrollStyle value)
{
    scrollBars_ = value;
    ApplyWrap();
}

void TMemo::SetWordWrap(bool value)
{
    wordWrap_ = value;
    ApplyWrap();
}

void TMemo::ApplyWrap()
{
    QPlainTextEdit* e = Editor();
    if (!e) return;
    const bool horizontal = scrollBars_ == ssHorizontal || scrollBars_ == ssBoth;
    const bool vertical = scrollBars_ == ssVertical || scrollBars_ == ssBoth;
    e->setHorizontalScrollBarPolicy(horizontal ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    e->setVerticalScrollBarPolicy(vertical ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    e->setLineWrapMode(wordWrap_ && !horizontal ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
}

bool TMemo::ReadOnly() const
{
    return Editor() && Editor()->isReadOnly();
}

void TMemo::SetReadOnly(bool value)
{
    if (Editor()) Editor()->setReadOnly(value);
}

int TMemo::SelStart() const
{
    return Editor() ? Editor()->textCursor().selectionStart() : 0;
}

void TMemo::SetSelStart(int value)
{
    QPlainTextEdit* e = Editor();
    if (!e) return;
    QTextCursor c = e->textCursor();
    const int end = e->document()->characterCount() - 1;  // without the closing separator
    c.setPosition(std::clamp(value, 0, end));
    e->setTextCursor(c);
}

int TMemo::SelLength() const
{
    if (!Editor()) return 0;
    const QTextCursor c = Editor()->textCursor();
    return c.selectionEnd() - c.selectionStart();
}

void TMemo::SetSelLength(int value)
{
    QPlainTextEdit* e = Editor();
    if (!e) return;
    QTextCursor c = e->textCursor();
    const int start = c.selectionStart();
    const int end = e->document()->characterCount() - 1;
    c.setPosition(start);
    c.setPosition(std::clamp(start + std::max(0, value), start, end), QTextCursor::KeepAnchor);
    e->setTextCursor(c);
}

QString TMemo::SelText() const
{
    return Editor() ? NormalizeBreaks(Editor()->textCursor().selectedText()) : QString();
}

void TMemo::SetSelText(const QString& value)
{
    if (!Editor()) return;
    QTextCursor c = Editor()->textCursor();
    c.insertText(NormalizeBreaks(value));
    Editor()->setTextCursor(c);
}

bool TMemo::CanUndo() const
{
    return Editor() && Editor()->document()->isUndoAvailable();
}
bool TMemo::CanRedo() const
{
    return Editor() && Editor()->document()->isRedoAvailable();
}

void TMemo::Undo()
{
    if (Editor()) Editor()->undo();
}

void TMemo::Redo()
{
    if (Editor()) Editor()->redo();
}

void TMemo::ClearUndo()
{
    if (Editor()) Editor()->document()->clearUndoRedoStacks();
}

bool TMemo::Modified() const
{
    return Editor() && Editor()->document()->isModified();
}

void TMemo::SetModified(bool value)
{
    if (Editor()) Editor()->document()->setModified(value);
}

void TMemo::CutToClipboard()
{
    if (Editor()) Editor()->cut();
}

void TMemo::CopyToClipboard()
{
    if (Editor()) Editor()->copy();
}

void TMemo::PasteFromClipboard()
{
    if (Editor()) InsertPasted(Editor(), PastedText(QGuiApplication::clipboard()->mimeData()));
}

void TMemo::ClearSelection()
{
    if (!Editor()) return;
    QTextCursor c = Editor()->textCursor();
    c.removeSelectedText();
    Editor()->setTextCursor(c);
}

void TMemo::SelectAll()
{
    if (Editor()) Editor()->selectAll();
}

void TMemo::Change()
{
    if (onChange_ && !IsDestroying()) onChange_(this);
}

// ---- TEdit ----

TEdit::TEdit(TComponent* owner) : TWinControl(owner, new QLineEdit)
{
    SetBounds(0, 0, 121, 21);
    SetColor(clWindow);
    SetTabStop(true);
    connect(Editor(), &QLineEdit::textChanged, this, Guarded([this] { Change(); }, this));
}

TEdit::~TEdit()
{
    if (Editor()) Editor()->disconnect(this);
}

QLineEdit* TEdit::Editor() const
{
    return static_cast<QLineEdit*>(Handle());
}

QString TEdit::Text() const
{
    return Editor() ? Editor()->text() : QString();
}

void TEdit::SetText(const QString& value)
{
    if (Editor()) Editor()->setText(value);
}

void TEdit::SetMaxLength(int value)
{
    maxLength_ = std::max(0, value);
    // The widget always has a limit; the largest one stands for none.
    if (Editor()) Editor()->setMaxLength(maxLength_ > 0 ? maxLength_ : std::numeric_limits<int>::max());
}

bool TEdit::ReadOnly() const
{
    return Editor() && Editor()->isReadOnly();
}

void TEdit::SetReadOnly(bool value)
{
    if (Editor()) Editor()->setReadOnly(value);
}

void TEdit::SelectAll()
{
    if (Editor()) Editor()->selectAll();
}

void TEdit::Change()
{
    if (onChange_ && !IsDestroying()) onChange_(this);
}

// ---- TButton ----

TButton::TButton(TComponent* owner) : TWinControl(owner, new QPushButton)
{
    SetBounds(0, 0, 75, 25);
    SetTabStop(true);
    // Enter is the form's business (TCustomForm::DialogKey), also inside a QDialog.
    Button()->setAutoDefault(false);
    connect(Button(), &QPushButton::clicked, this, Guarded([this] { Click(); }, this));
}

TButton::~TButton()
{
    if (Button()) Button()->disconnect(this);
}

QPushButton* TButton::Button() const
{
    return static_cast<QPushButton*>(Handle());
}

QString TButton::Caption() const
{
    return Button() ? Button()->text() : QString();
}

void TButton::SetCaption(const QString& value)
{
    if (Button()) Button()->setText(value);
}

void TButton::SetDefault(bool value)
{
    default_ = value;
    if (Button()) Button()->setDefault(value);
}

void TButton::Click()
{
    // OnClick may free the form (and this button with it).
    QPointer<TButton> self(this);
    if (onClick_) onClick_(this);
    if (!self || modalResult_ == 0) return;
    for (TWinControl* p = Parent(); p; p = p->Parent()) {
        if (auto* form = qobject_cast<TCustomForm*>(p)) {
            form->SetModalResult(modalResult_);
            return;
        }
    }
}

// ---- TCheckBox ----

TCheckBox::TCheckBox(TComponent* owner) : TWinControl(owner, new QCheckBox)
{
    // A button fills its background with the button colour: the box takes its parent's colour.
    CheckBox()->setBackgroundRole(QPalette::Window);
    SetBounds(0, 0, 97, 17);
    SetTabStop(true);
    connect(CheckBox(), &QCheckBox::clicked, this,
            Guarded(
                [this] {
                    // The box has moved on by itself; take its state and tell.
                    const Qt::CheckState s = CheckBox()->checkState();
                    state_ = s == Qt::Checked ? cbChecked : s == Qt::PartiallyChecked ? cbGrayed : cbUnchecked;
                    Click();
                },
                this));
}

TCheckBox::~TCheckBox()
{
    if (CheckBox()) CheckBox()->disconnect(this);
}

QCheckBox* TCheckBox::CheckBox() const
{
    return static_cast<QCheckBox*>(Handle());
}

QString TCheckBox::Caption() const
{
    return CheckBox() ? CheckBox()->text() : QString();
}

void TCheckBox::SetCaption(const QString& value)
{
    if (CheckBox()) CheckBox()->setText(value);
}

void TCheckBox::SetAllowGrayed(bool value)
{
    allowGrayed_ = value;
    if (CheckBox()) CheckBox()->setTristate(value || state_ == cbGrayed);
}

void TCheckBox::SetState(TCheckBoxState value)
{
    if (value == state_) return;
    state_ = value;
    if (QCheckBox* box = CheckBox()) {
        box->setTristate(allowGrayed_ || value == cbGrayed);
        box->setCheckState(value == cbChecked ? Qt::Checked : value == cbGrayed ? Qt::PartiallyChecked : Qt::Unchecked);
    }
    if (!Loading()) Click();
}

void TCheckBox::Click()
{
    if (onClick_ && !IsDestroying()) onClick_(this);
}

// ---- TComboBox ----

TComboBox::TComboBox(TComponent* owner) : TWinControl(owner, new QComboBox)
{
    QComboBox* combo = ComboBox();
    items_ = new TModelStrings(combo->model());
    combo->setEditable(true);
    combo->setInsertPolicy(QComboBox::NoInsert);
    SetBounds(0, 0, 145, 21);
    SetColor(clWindow);
    SetTabStop(true);
    ConnectEditor();
    connect(combo, &QComboBox::activated, this,
            Guarded(
                [this] {
                    QPointer<TComboBox> self(this);
                    Click();
                    if (self) Change();
                },
                this));
    // The stock box chooses the first item of an empty list; a list keeps nothing chosen.
    connect(combo->model(), &QAbstractItemModel::rowsInserted, this, [this](const QModelIndex&, int first, int last) {
        if (first == 0 && last + 1 == ComboBox()->count()) ComboBox()->setCurrentIndex(-1);
    });
}

TComboBox::~TComboBox()
{
    if (QComboBox* combo = ComboBox()) {
        combo->disconnect(this);
        combo->model()->disconnect(this);
        if (combo->lineEdit()) combo->lineEdit()->disconnect(this);
    }
    delete items_;
}

QComboBox* TComboBox::ComboBox() const
{
    return static_cast<QComboBox*>(Handle());
}

void TComboBox::ConnectEditor()
{
    if (QLineEdit* edit = ComboBox() ? ComboBox()->lineEdit() : nullptr)
        connect(edit, &QLineEdit::textEdited, this, Guarded([this] { Change(); }, this));
}

void TComboBox::SetStyle(TComboBoxStyle value)
{
    if (value == style_) return;
    style_ = value;
    QComboBox* combo = ComboBox();
    if (!combo) return;
    const int index = combo->currentIndex();
    combo->setEditable(value == csDropDown);
    if (value == csDropDown) {
        combo->setInsertPolicy(QComboBox::NoInsert);
        ConnectEditor();
    }
    combo->setCurrentIndex(index);
    ApplyColor();
}

int TComboBox::DropDownCount() const
{
    return ComboBox() ? ComboBox()->maxVisibleItems() : 8;
}

void TComboBox::SetDropDownCount(int value)
{
    if (ComboBox()) ComboBox()->setMaxVisibleItems(std::max(1, value));
}

void TComboBox::SetItems(TStrings* value)
{
    if (value && value != items_) items_->Assign(value);
}

int TComboBox::ItemIndex() const
{
    return ComboBox() ? ComboBox()->currentIndex() : -1;
}

void TComboBox::SetItemIndex(int value)
{
    QComboBox* combo = ComboBox();
    if (!combo) return;
    combo->setCurrentIndex(value >= 0 && value < combo->count() ? value : -1);
}

QString TComboBox::Text() const
{
    QComboBox* combo = ComboBox();
    if (!combo) return {};
    return combo->isEditable() ? combo->currentText() : combo->itemText(combo->currentIndex());
}

void TComboBox::SetText(const QString& value)
{
    QComboBox* combo = ComboBox();
    if (!combo) return;
    if (combo->isEditable()) {
        combo->setEditText(value);
        return;
    }
    const int index = combo->findText(value, Qt::MatchFixedString);
    if (index >= 0) combo->setCurrentIndex(index);
}

void TComboBox::Click()
{
    if (onClick_ && !IsDestroying()) onClick_(this);
}

void TComboBox::Change()
{
    if (onChange_ && !IsDestroying()) onChange_(this);
}
