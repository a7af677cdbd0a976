#pragma once
// Scripting of the dialog service. While a TDialogScript exists, no real dialog appears:
// each message box, beep and common dialog is appended to its log, and answers come from
// its queues (or a safe default when a queue is empty). When the process runs headless
// (offscreen or minimal platform) and no script exists, a built-in fallback script answers
// with the defaults, so an unscripted dialog never blocks.
//
// Modal forms: under a script of its own (not the fallback), ShowModal runs no loop. It
// shows the form and hands it to the next queued form handler, which fills it in and sets
// ModalResult; the form then closes as it would (OnCloseQuery, OnClose). A refused close
// hands the still open form to the next handler. Without a handler left, or with no result
// set, the answer is mrCancel and the form closes even if its close query refuses. Each
// modal form is logged as kind "Form" with its caption, its class name as text and the result.
#include <QColor>
#include <QList>
#include <QPageLayout>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

class TCustomForm;

struct TDialogRecord {
    QString kind;     // "MessageBox", "Beep", "OpenDialog", "SaveDialog", "ColorDialog", "FontDialog", "FindDialog",
                      // "PrintDialog", "PrintPreviewDialog", "PageSetupDialog", "ShellExecute", "Form"
    QString caption;  // box caption or dialog title
    QString text;     // box text; file dialogs: the file name offered; colour and font dialogs: the colour
                      // or font name offered
    int flags = 0;    // MessageBox: buttons | icon (MB_...); Beep: the beep kind
    int result = 0;   // the id returned (IDOK ...), or 1/0 for executed/cancelled dialogs
    QString answer;   // file dialogs: the chosen name; print dialog: the PDF file printed to; colour and font
                      // dialogs: the colour or family chosen
    QString folder = {};  // file dialogs: the folder they open in (empty: the working folder)
};

class TDialogScript {
public:
    TDialogScript();
    ~TDialogScript();
    TDialogScript(const TDialogScript&) = delete;
    TDialogScript& operator=(const TDialogScript&) = delete;

    // The next message box returns id (IDOK, IDYES, mrCancel ...).
    void AnswerMessage(int id) { messages_.append(id); }
    // The next open or save dialog picks fileName; std::nullopt cancels it.
    void AnswerFile(std::optional<QString> fileName) { files_.append(fileName); }
    // The next colour dialog picks color; std::nullopt cancels it.
    void AnswerColor(std::optional<QColor> color) { colors_.append(color); }
    // The next font dialog is confirmed or cancelled; confirmed with a family, the chosen
    // font has that family (else it is the font unchanged).
    void AnswerFont(bool confirm, const QString& family = {}) { fonts_.append({confirm, family}); }
    // The next print dialog is confirmed with its printer writing a PDF file, fileName;
    // std::nullopt (or nothing queued) cancels it.
    void AnswerPrintToFile(std::optional<QString> fileName) { prints_.append(fileName); }
    // The next page setup dialog is confirmed with layout; std::nullopt (or nothing queued)
    // cancels it.
    void AnswerPageSetup(std::optional<QPageLayout> layout) { pageSetups_.append(layout); }
    // The next modal form is handed to handler while it is shown (see above).
    void AnswerForm(std::function<void(TCustomForm&)> handler) { forms_.append(std::move(handler)); }

    const QList<TDialogRecord>& Log() const { return log_; }
    // Records of one kind, in order.
    QList<TDialogRecord> Log(const QString& kind) const;
    void ClearLog() { log_.clear(); }

    // The script in force: the innermost live one, else the fallback when headless, else nullptr.
    static TDialogScript* Active();
    // True for the built-in script of headless runs.
    bool Fallback() const { return !installed_; }

    // Used by the dialog service.
    int TakeMessage(int defaultId);
    std::optional<QString> TakeFile();
    std::optional<QColor> TakeColor();
    // The next font answer: cancelled, or confirmed with a family (empty: unchanged).
    std::optional<QString> TakeFont();
    std::optional<QString> TakePrintToFile();
    std::optional<QPageLayout> TakePageSetup();
    // The next form handler, or an empty function.
    std::function<void(TCustomForm&)> TakeForm();
    void Record(TDialogRecord record) { log_.append(std::move(record)); }

private:
    struct FallbackTag {};
    explicit TDialogScript(FallbackTag);

    QList<int> messages_;
    QList<std::optional<QString>> files_;
    QList<std::optional<QColor>> colors_;
    struct TFontAnswer {
        bool confirm;
        QString family;
    };
    QList<TFontAnswer> fonts_;
    QList<std::optional<QString>> prints_;
    QList<std::optional<QPageLayout>> pageSetups_;
    QList<std::function<void(TCustomForm&)>> forms_;
    QList<TDialogRecord> log_;
    TDialogScript* outer_ = nullptr;
    bool installed_ = false;
};
