#pragma once
// The dialog service: message boxes, beeps and the common dialogs. Every dialog of the
// programs goes through here, so a TDialogScript can answer and log them (DialogScript.h).
// Message boxes take the application's Title as caption unless one is given.
#include "Classes.h"
#include "DialogScript.h"
#include "Events.h"
#include "Graphics.h"

#include <QDialog>
#include <QFlags>
#include <QObject>
#include <QPointer>
#include <QString>

// Message-box flags: one button set | one icon.
enum : int {
    MB_OK = 0x0,
    MB_OKCANCEL = 0x1,
    MB_ABORTRETRYIGNORE = 0x2,
    MB_YESNOCANCEL = 0x3,
    MB_YESNO = 0x4,
    MB_RETRYCANCEL = 0x5,
    MB_TYPEMASK = 0xF,
    MB_ICONHAND = 0x10,
    MB_ICONERROR = 0x10,
    MB_ICONSTOP = 0x10,
    MB_ICONQUESTION = 0x20,
    MB_ICONEXCLAMATION = 0x30,
    MB_ICONWARNING = 0x30,
    MB_ICONASTERISK = 0x40,
    MB_ICONINFORMATION = 0x40,
    MB_ICONMASK = 0xF0,
    // Which button of the set is the default (the first unless told).
    MB_DEFBUTTON1 = 0x000,
    MB_DEFBUTTON2 = 0x100,
    MB_DEFBUTTON3 = 0x200,
    MB_DEFMASK = 0xF00,
};
// Answers of a message box.
enum : int { IDOK = 1, IDCANCEL = 2, IDABORT = 3, IDRETRY = 4, IDIGNORE = 5, IDYES = 6, IDNO = 7 };

// Modal results of forms and message dialogs (the same numbers as the box answers).
using TModalResult = int;
enum : int {
    mrNone = 0,
    mrOk = IDOK,
    mrCancel = IDCANCEL,
    mrAbort = IDABORT,
    mrRetry = IDRETRY,
    mrIgnore = IDIGNORE,
    mrYes = IDYES,
    mrNo = IDNO,
};

// Beep kinds: 0xFFFFFFFF (simple beep), MB_OK or an MB_ICON... value.
constexpr unsigned MB_SIMPLEBEEP = 0xFFFFFFFFu;
void MessageBeep(unsigned kind);

// A modal message box; caption empty means the application's Title. Returns IDOK ...
// Unscripted in a headless run it answers the safe default: OK, else Cancel, else No.
int MessageBox(const QString& text, const QString& caption, int flags);

enum TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };
enum TMsgDlgBtnFlag : unsigned {
    mbYes = 1u << 0,
    mbNo = 1u << 1,
    mbOK = 1u << 2,
    mbCancel = 1u << 3,
    mbAbort = 1u << 4,
    mbRetry = 1u << 5,
    mbIgnore = 1u << 6,
};
Q_DECLARE_FLAGS(TMsgDlgButtons, TMsgDlgBtnFlag)
Q_DECLARE_OPERATORS_FOR_FLAGS(TMsgDlgButtons)
// A message box of a kind with any buttons; caption is the application's Title.
// Logged as a "MessageBox" whose flags give the kind's icon and the buttons' set.
int MessageDlg(const QString& text, TMsgDlgType type, TMsgDlgButtons buttons, int helpContext = 0);
// The id a headless run answers for a button set (MB_...).
int DefaultMessageAnswer(int flags);

// ---- Common dialogs: components, so forms stream their settings. ----

namespace DialogTypes {
Q_NAMESPACE
enum TOpenOption : unsigned {
    ofReadOnly = 1u << 0,
    ofOverwritePrompt = 1u << 1,
    ofHideReadOnly = 1u << 2,
    ofNoChangeDir = 1u << 3,
    ofShowHelp = 1u << 4,
    ofNoValidate = 1u << 5,
    ofAllowMultiSelect = 1u << 6,
    ofExtensionDifferent = 1u << 7,
    ofPathMustExist = 1u << 8,
    ofFileMustExist = 1u << 9,
    ofCreatePrompt = 1u << 10,
    ofShareAware = 1u << 11,
    ofNoReadOnlyReturn = 1u << 12,
    ofNoTestFileCreate = 1u << 13,
    ofNoNetworkButton = 1u << 14,
    ofNoLongNames = 1u << 15,
    ofOldStyleDialog = 1u << 16,
    ofNoDereferenceLinks = 1u << 17,
    ofEnableIncludeNotify = 1u << 18,
    ofEnableSizing = 1u << 19,
};
Q_DECLARE_FLAGS(TOpenOptions, TOpenOption)
Q_FLAG_NS(TOpenOptions)
enum TFindOption : unsigned {
    frDown = 1u << 0,
    frFindNext = 1u << 1,
    frHideMatchCase = 1u << 2,
    frHideWholeWord = 1u << 3,
    frHideUpDown = 1u << 4,
    frMatchCase = 1u << 5,
    frDisableMatchCase = 1u << 6,
    frDisableUpDown = 1u << 7,
    frDisableWholeWord = 1u << 8,
    frReplace = 1u << 9,
    frReplaceAll = 1u << 10,
    frWholeWord = 1u << 11,
    frShowHelp = 1u << 12,
};
Q_DECLARE_FLAGS(TFindOptions, TFindOption)
Q_FLAG_NS(TFindOptions)
}  // namespace DialogTypes
Q_DECLARE_OPERATORS_FOR_FLAGS(DialogTypes::TOpenOptions)
Q_DECLARE_OPERATORS_FOR_FLAGS(DialogTypes::TFindOptions)
using DialogTypes::TFindOptions;
using DialogTypes::TOpenOptions;
using enum DialogTypes::TFindOption;
using enum DialogTypes::TOpenOption;

class TCommonDialog : public TComponent {
    Q_OBJECT
public:
    using TComponent::TComponent;
    // Shows the dialog; true when the user confirmed it.
    virtual bool Execute() = 0;
};

class TOpenDialog : public TCommonDialog {
    Q_OBJECT
    Q_PROPERTY(QString DefaultExt READ DefaultExt WRITE SetDefaultExt)
    Q_PROPERTY(QString FileName READ FileName WRITE SetFileName)
    Q_PROPERTY(QString Filter READ Filter WRITE SetFilter)
    Q_PROPERTY(int FilterIndex READ FilterIndex WRITE SetFilterIndex)
    Q_PROPERTY(QString InitialDir READ InitialDir WRITE SetInitialDir)
    Q_PROPERTY(DialogTypes::TOpenOptions Options READ Options WRITE SetOptions)
    Q_PROPERTY(QString Title READ Title WRITE SetTitle)
    Q_CLASSINFO("Default.FilterIndex", "1")
    Q_CLASSINFO("Default.Options", "[ofHideReadOnly, ofEnableSizing]")
public:
    explicit TOpenDialog(TComponent* owner);

    // Runs the dialog; on confirmation FileName holds the chosen path, with DefaultExt
    // appended when the name has no extension. With ofOverwritePrompt, a save whose
    // appended extension names an existing file asks before replacing it; No runs the
    // dialog again.
    bool Execute() override;

    QString DefaultExt() const { return defaultExt_; }
    // "htm", ".htm" and "*.htm" all mean the extension htm.
    void SetDefaultExt(const QString& v) { defaultExt_ = v; }
    QString FileName() const { return fileName_; }
    void SetFileName(const QString& v) { fileName_ = v; }
    // "Description|pattern;pattern|Description|pattern..."
    QString Filter() const { return filter_; }
    void SetFilter(const QString& v) { filter_ = v; }
    int FilterIndex() const { return filterIndex_; }
    void SetFilterIndex(int v) { filterIndex_ = v; }
    QString InitialDir() const { return initialDir_; }
    void SetInitialDir(const QString& v) { initialDir_ = v; }
    TOpenOptions Options() const { return options_; }
    void SetOptions(TOpenOptions v) { options_ = v; }
    QString Title() const { return title_; }
    void SetTitle(const QString& v) { title_ = v; }

    // The filter in Qt's "Description (*.a *.b);;..." form.
    static QString QtFilter(const QString& filter);

protected:
    virtual bool IsSave() const { return false; }
    QString WithDefaultExt(const QString& name);

private:
    // The folder the dialog opens in: FileName's own, else InitialDir; empty means the
    // working folder.
    QString StartFolder() const;
    // One run of the dialog (or its scripted answer).
    bool ExecuteOnce();
    // A save whose name got the default extension asks before replacing that file; false
    // when the user would not replace it (the dialog runs again).
    bool ConfirmExtendedName();

    bool extensionAdded_ = false;
    QString defaultExt_, fileName_, filter_, initialDir_, title_;
    int filterIndex_ = 1;
    TOpenOptions options_ = ofHideReadOnly | ofEnableSizing;
};

class TSaveDialog : public TOpenDialog {
    Q_OBJECT
public:
    using TOpenDialog::TOpenDialog;

protected:
    bool IsSave() const override { return true; }
};

// The find dialog is modeless: Execute shows it and returns at once; each press of its
// Find Next button updates FindText and Options and fires OnFind. Headless or scripted it
// only logs "FindDialog"; DoFind stands for the button press.
class TFindDialog : public TCommonDialog {
    Q_OBJECT
    Q_PROPERTY(QString FindText READ FindText WRITE SetFindText)
    Q_PROPERTY(DialogTypes::TFindOptions Options READ Options WRITE SetOptions)
    Q_PROPERTY(TNotifyEvent OnFind READ OnFind WRITE SetOnFind)
    Q_CLASSINFO("Default.Options", "[frDown]")
public:
    explicit TFindDialog(TComponent* owner);
    ~TFindDialog() override;

    bool Execute() override;
    void CloseDialog();
    bool Showing() const;

    QString FindText() const { return findText_; }
    void SetFindText(const QString& v);
    TFindOptions Options() const { return options_; }
    void SetOptions(TFindOptions v);
    TNotifyEvent OnFind() const { return onFind_; }
    void SetOnFind(const TNotifyEvent& e) { onFind_ = e; }

    void DoFind();

private:
    void BuildWindow();

    QString findText_;
    TFindOptions options_ = frDown;
    TNotifyEvent onFind_;
    QPointer<QDialog> window_;
    class QLineEdit* edit_ = nullptr;
    class QCheckBox* matchCase_ = nullptr;
};

class TColorDialog : public TCommonDialog {
    Q_OBJECT
    Q_PROPERTY(TColor Color READ Color WRITE SetColor)
    Q_CLASSINFO("Default.Color", "clBlack")
public:
    using TCommonDialog::TCommonDialog;
    // On confirmation Color holds the chosen colour.
    bool Execute() override;
    TColor Color() const { return color_; }
    void SetColor(TColor v) { color_ = v; }

private:
    TColor color_ = clBlack;
};

class TFontDialog : public TCommonDialog {
    Q_OBJECT
    Q_PROPERTY(TFont* Font READ Font WRITE SetFont)
public:
    explicit TFontDialog(TComponent* owner);
    ~TFontDialog() override;
    // On confirmation Font holds the chosen font.
    bool Execute() override;
    TFont* Font() const { return font_; }
    void SetFont(TFont* v);

private:
    TFont* font_;
};
