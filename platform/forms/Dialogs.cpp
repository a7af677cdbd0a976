#include "Dialogs.h"

#include "Application.h"
#include "ExceptionBarrier.h"

#include <QApplication>
#include <QCheckBox>
#include <QColorDialog>
#include <QFontDialog>
#include <QDebug>
#include <QDialog>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QVBoxLayout>

namespace {

QString TitleOr(const QString& caption)
{
    if (!caption.isEmpty()) return caption;
    return Application ? Application->Title() : QString();
}

void NoteUnscripted(const TDialogRecord& r)
{
    qInfo("Headless %s \"%s\" answered %d", qPrintable(r.kind), qPrintable(r.text), r.result);
}

QMessageBox::Icon IconOf(int flags)
{
    switch (flags & MB_ICONMASK) {
    case MB_ICONERROR: return QMessageBox::Critical;
    case MB_ICONQUESTION: return QMessageBox::Question;
    case MB_ICONWARNING: return QMessageBox::Warning;
    case MB_ICONINFORMATION: return QMessageBox::Information;
    default: return QMessageBox::NoIcon;
    }
}

struct ButtonId {
    int id;
    QMessageBox::StandardButton button;
};
constexpr ButtonId kButtons[] = {
    {IDOK, QMessageBox::Ok},       {IDCANCEL, QMessageBox::Cancel}, {IDABORT, QMessageBox::Abort},
    {IDRETRY, QMessageBox::Retry}, {IDIGNORE, QMessageBox::Ignore}, {IDYES, QMessageBox::Yes},
    {IDNO, QMessageBox::No},
};

QList<int> IdsOfSet(int flags)
{
    switch (flags & MB_TYPEMASK) {
    case MB_OKCANCEL: return {IDOK, IDCANCEL};
    case MB_ABORTRETRYIGNORE: return {IDABORT, IDRETRY, IDIGNORE};
    case MB_YESNOCANCEL: return {IDYES, IDNO, IDCANCEL};
    case MB_YESNO: return {IDYES, IDNO};
    case MB_RETRYCANCEL: return {IDRETRY, IDCANCEL};
    default: return {IDOK};
    }
}

// Runs a real message box with the given answers; closing it counts as the default.
int RealMessageBox(const QString& text, const QString& caption, int flags, const QList<int>& ids)
{
    QMessageBox box(IconOf(flags), caption, text, QMessageBox::NoButton, QApplication::activeWindow());
    box.setTextFormat(Qt::PlainText);  // the text as written, also when it names markup
    for (const ButtonId& b : kButtons)
        if (ids.contains(b.id)) box.addButton(b.button);
    const int defaultIndex = (flags & MB_DEFMASK) >> 8;
    for (const ButtonId& b : kButtons)
        if (defaultIndex < ids.size() && b.id == ids[defaultIndex]) box.setDefaultButton(b.button);
    const int pressed = box.exec();
    for (const ButtonId& b : kButtons)
        if (b.button == pressed) return b.id;
    return DefaultMessageAnswer(flags);
}

int ShowMessage(const QString& text, const QString& caption, int flags, const QList<int>& ids)
{
    if (TDialogScript* script = TDialogScript::Active()) {
        TDialogRecord r{QStringLiteral("MessageBox"), caption, text, flags, 0, {}};
        r.result = script->TakeMessage(DefaultMessageAnswer(flags));
        script->Record(r);
        if (script->Fallback()) NoteUnscripted(r);
        return r.result;
    }
    return RealMessageBox(text, caption, flags, ids);
}

}  // namespace

int DefaultMessageAnswer(int flags)
{
    const QList<int> ids = IdsOfSet(flags);
    if (ids.contains(IDOK) && ids.size() == 1) return IDOK;
    if (ids.contains(IDCANCEL)) return IDCANCEL;
    if (ids.contains(IDNO)) return IDNO;
    return ids.first();
}

void MessageBeep(unsigned kind)
{
    if (TDialogScript* script = TDialogScript::Active()) {
        script->Record({QStringLiteral("Beep"), {}, {}, int(kind), 0, {}});
        return;
    }
    QApplication::beep();
}

int MessageBox(const QString& text, const QString& caption, int flags)
{
    return ShowMessage(text, TitleOr(caption), flags, IdsOfSet(flags));
}

int MessageDlg(const QString& text, TMsgDlgType type, TMsgDlgButtons buttons, int /*helpContext*/)
{
    static const int icons[] = {MB_ICONWARNING, MB_ICONERROR, MB_ICONINFORMATION, MB_ICONQUESTION, 0};
    int set = MB_OK;
    if (buttons.testFlag(mbYes) && buttons.testFlag(mbNo))
        set = buttons.testFlag(mbCancel) ? MB_YESNOCANCEL : MB_YESNO;
    else if (buttons.testFlag(mbAbort) || buttons.testFlag(mbIgnore))
        set = MB_ABORTRETRYIGNORE;
    else if (buttons.testFlag(mbRetry))
        set = MB_RETRYCANCEL;
    else if (buttons.testFlag(mbCancel))
        set = MB_OKCANCEL;
    QList<int> ids;
    const std::pair<TMsgDlgBtnFlag, int> map[] = {{mbYes, IDYES},       {mbNo, IDNO},       {mbOK, IDOK},
                                                  {mbCancel, IDCANCEL}, {mbAbort, IDABORT}, {mbRetry, IDRETRY},
                                                  {mbIgnore, IDIGNORE}};
    for (const auto& [flag, id] : map)
        if (buttons.testFlag(flag)) ids.append(id);
    if (ids.isEmpty()) ids.append(IDOK);
    return ShowMessage(text, TitleOr({}), set | icons[type], ids);
}

// ---- TOpenDialog ----

TOpenDialog::TOpenDialog(TComponent* owner) : TCommonDialog(owner) {}

namespace {

// Patterns separated by single blanks, as the Qt dialog reads them.
QString BlankSeparated(QString patterns)
{
    patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
    return patterns.simplified();
}

}  // namespace

QString TOpenDialog::QtFilter(const QString& filter)
{
    // A description ending in its own patterns in brackets shows them already: they are not
    // added a second time (the Qt dialog takes the patterns from the last brackets).
    static const QRegularExpression shown(QStringLiteral(R"(^(.*\S)\s*\(([^()]*)\)\s*$)"));
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList result;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        const QString patterns = BlankSeparated(parts[i + 1]);
        QString description = parts[i];
        const QRegularExpressionMatch m = shown.match(description);
        if (m.hasMatch() && BlankSeparated(m.captured(2)) == patterns) description = m.captured(1);
        result.append(description + QStringLiteral(" (") + patterns + QLatin1Char(')'));
    }
    return result.join(QStringLiteral(";;"));
}

QString TOpenDialog::WithDefaultExt(const QString& name)
{
    QString ext = defaultExt_;
    while (ext.startsWith(QLatin1Char('*')) || ext.startsWith(QLatin1Char('.'))) ext.remove(0, 1);
    extensionAdded_ = false;
    if (ext.isEmpty() || ext.contains(QLatin1Char('*')) || !QFileInfo(name).suffix().isEmpty()) return name;
    extensionAdded_ = true;
    return name + QLatin1Char('.') + ext;
}

QString TOpenDialog::StartFolder() const
{
    const QString own = QFileInfo(fileName_).path();
    return !fileName_.isEmpty() && own != QLatin1String(".") ? own : initialDir_;
}

bool TOpenDialog::Execute()
{
    for (;;) {
        if (!ExecuteOnce()) return false;
        if (ConfirmExtendedName()) return true;
    }
}

bool TOpenDialog::ConfirmExtendedName()
{
    // The dialog asked about the name as typed; a default extension added afterwards can
    // name another file, which must not be replaced without asking.
    if (!IsSave() || !options_.testFlag(ofOverwritePrompt) || !extensionAdded_ || !QFileInfo::exists(fileName_))
        return true;
    const QString text =
        QFileInfo(fileName_).fileName() + QStringLiteral(" already exists.\nDo you want to replace it?");
    return MessageBox(text, title_.isEmpty() ? QStringLiteral("Save As") : title_, MB_YESNO | MB_ICONEXCLAMATION) ==
           IDYES;
}

bool TOpenDialog::ExecuteOnce()
{
    const QString kind = IsSave() ? QStringLiteral("SaveDialog") : QStringLiteral("OpenDialog");
    if (TDialogScript* script = TDialogScript::Active()) {
        TDialogRecord r{kind, title_, fileName_, int(options_), 0, {}, StartFolder()};
        const std::optional<QString> answer = script->TakeFile();
        r.result = answer ? 1 : 0;
        if (answer) r.answer = fileName_ = WithDefaultExt(*answer);
        script->Record(r);
        return answer.has_value();
    }
    const QString folder = StartFolder();
    const QString start = folder.isEmpty() ? fileName_ : folder + QLatin1Char('/') + QFileInfo(fileName_).fileName();
    const QStringList filters = QtFilter(filter_).split(QStringLiteral(";;"));
    QString selected = filters.value(filterIndex_ - 1);
    QFileDialog::Options qtOptions;
    if (!options_.testFlag(ofOverwritePrompt)) qtOptions |= QFileDialog::DontConfirmOverwrite;
    QWidget* parent = QApplication::activeWindow();
    const QString chosen =
        IsSave() ? QFileDialog::getSaveFileName(parent, title_, start, QtFilter(filter_), &selected, qtOptions)
                 : QFileDialog::getOpenFileName(parent, title_, start, QtFilter(filter_), &selected, qtOptions);
    if (chosen.isEmpty()) return false;
    fileName_ = WithDefaultExt(chosen);
    filterIndex_ = int(filters.indexOf(selected)) + 1;
    return true;
}

// ---- TFindDialog ----

TFindDialog::TFindDialog(TComponent* owner) : TCommonDialog(owner) {}

TFindDialog::~TFindDialog()
{
    delete window_.data();
}

void TFindDialog::SetFindText(const QString& v)
{
    findText_ = v;
    if (edit_) edit_->setText(v);
}

void TFindDialog::SetOptions(TFindOptions v)
{
    options_ = v;
    if (matchCase_) matchCase_->setChecked(v.testFlag(frMatchCase));
}

bool TFindDialog::Execute()
{
    if (TDialogScript* script = TDialogScript::Active()) {
        script->Record({QStringLiteral("FindDialog"), {}, findText_, int(options_), 1, {}});
        return true;
    }
    if (!window_) BuildWindow();
    edit_->setText(findText_);
    matchCase_->setChecked(options_.testFlag(frMatchCase));
    window_->show();
    window_->raise();
    window_->activateWindow();
    return true;
}

void TFindDialog::CloseDialog()
{
    if (window_) window_->hide();
}

bool TFindDialog::Showing() const
{
    return window_ && window_->isVisible();
}

void TFindDialog::DoFind()
{
    options_ |= frFindNext;
    if (onFind_) onFind_(this);
}

void TFindDialog::BuildWindow()
{
    // Parentless, so that the edit pointers live exactly as long as the window we own.
    window_ = new QDialog(nullptr);
    window_->setWindowTitle(QObject::tr("Find"));
    edit_ = new QLineEdit(window_);
    matchCase_ = new QCheckBox(QObject::tr("Match &case"), window_);
    matchCase_->setVisible(!options_.testFlag(frHideMatchCase));
    matchCase_->setEnabled(!options_.testFlag(frDisableMatchCase));
    auto* findNext = new QPushButton(QObject::tr("&Find Next"), window_);
    auto* cancel = new QPushButton(QObject::tr("Cancel"), window_);
    findNext->setDefault(true);
    // The label's mnemonic is drawn and focuses the box only with the box as its buddy.
    auto* label = new QLabel(QObject::tr("Fi&nd what:"), window_);
    label->setBuddy(edit_);
    auto* row = new QHBoxLayout;
    row->addWidget(label);
    row->addWidget(edit_);
    auto* layout = new QVBoxLayout(window_);
    layout->addLayout(row);
    layout->addWidget(matchCase_);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(findNext);
    buttons->addWidget(cancel);
    layout->addLayout(buttons);
    QObject::connect(findNext, &QPushButton::clicked, window_,
                     Guarded(
                         [this] {
                             findText_ = edit_->text();
                             options_.setFlag(frMatchCase, matchCase_->isChecked());
                             DoFind();
                         },
                         this));
    QObject::connect(cancel, &QPushButton::clicked, window_, &QDialog::hide);
}

// ---- TColorDialog, TFontDialog ----

bool TColorDialog::Execute()
{
    if (TDialogScript* script = TDialogScript::Active()) {
        // Logged with the colour offered, and the one chosen.
        const std::optional<QColor> answer = script->TakeColor();
        const QString offered = ColorToString(color_);
        if (answer) color_ = QColorToColor(*answer);
        script->Record({QStringLiteral("ColorDialog"),
                        {},
                        offered,
                        0,
                        answer ? 1 : 0,
                        answer ? ColorToString(color_) : QString()});
        return answer.has_value();
    }
    const QColor chosen = QColorDialog::getColor(ColorToQColor(color_), QApplication::activeWindow());
    if (!chosen.isValid()) return false;
    color_ = QColorToColor(chosen);
    return true;
}

TFontDialog::TFontDialog(TComponent* owner) : TCommonDialog(owner), font_(new TFont) {}

TFontDialog::~TFontDialog()
{
    delete font_;
}

void TFontDialog::SetFont(TFont* v)
{
    if (v && v != font_) font_->Assign(v);
}

bool TFontDialog::Execute()
{
    if (TDialogScript* script = TDialogScript::Active()) {
        const std::optional<QString> answer = script->TakeFont();
        script->Record(
            {QStringLiteral("FontDialog"), {}, font_->Name(), 0, answer ? 1 : 0, answer.value_or(QString())});
        if (answer && !answer->isEmpty()) font_->SetName(*answer);
        return answer.has_value();
    }
    bool ok = false;
    const QFont chosen = QFontDialog::getFont(&ok, font_->ToQFont(), QApplication::activeWindow());
    if (ok) font_->SetFromQFont(chosen);
    return ok;
}
