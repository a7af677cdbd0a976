#pragma once
// The analysis report window: parses a document once and shows report pages (statistics,
// tags, links, images, text, comments) filled from HTML templates in the program's
// resources. A toolbar switches the page.
#include "Forms.h"
#include "HTMLParser.h"
#include "Strings.h"
#include "WebBrowser.h"
#include "dxBarItems.h"
#include "dxBarManager.h"

#include <QList>
#include <QPair>
#include <QString>
#include <memory>

class TfrmParse : public TForm {
    Q_OBJECT
    Q_PROPERTY(TdxBarManager* SubBarManager MEMBER SubBarManager STORED false)
    Q_PROPERTY(TdxBarButton* btResults MEMBER btResults STORED false)
    Q_PROPERTY(TdxBarButton* btTags MEMBER btTags STORED false)
    Q_PROPERTY(TdxBarButton* btLinks MEMBER btLinks STORED false)
    Q_PROPERTY(TdxBarButton* btImages MEMBER btImages STORED false)
    Q_PROPERTY(TdxBarButton* btText MEMBER btText STORED false)
    Q_PROPERTY(TdxBarButton* btComments MEMBER btComments STORED false)
    Q_PROPERTY(TdxBarButton* btParseCancel MEMBER btParseCancel STORED false)
    Q_PROPERTY(TWebBrowser* SubBrowser MEMBER SubBrowser STORED false)
public:
    // code: the document's lines (copied when the window is created; nil: no lines);
    // fileName: the document's file, empty for a document never saved.
    TfrmParse(TComponent* owner, TStrings* code = nullptr, const QString& fileName = {});
    ~TfrmParse() override;

    TdxBarManager* SubBarManager = nullptr;
    TdxBarButton* btResults = nullptr;
    TdxBarButton* btTags = nullptr;
    TdxBarButton* btLinks = nullptr;
    TdxBarButton* btImages = nullptr;
    TdxBarButton* btText = nullptr;
    TdxBarButton* btComments = nullptr;
    TdxBarButton* btParseCancel = nullptr;
    TWebBrowser* SubBrowser = nullptr;

    // Results of the parse.
    std::unique_ptr<THTMLParser> Parser;
    std::unique_ptr<TStringList> PageList;
    QString PendingPage;
    int TagCount = 0;
    QString TagsHTML;
    int CommentCount = 0;
    QString CommentsHTML;
    int TextCount = 0;
    int TextChars = 0;
    QString TextHTML;

    Q_INVOKABLE void FormCreate(TObject* Sender);
    Q_INVOKABLE void FormClose(TObject* Sender, TCloseAction& Action);
    Q_INVOKABLE void btResultsClick(TObject* Sender);
    Q_INVOKABLE void btTagsClick(TObject* Sender);
    Q_INVOKABLE void btLinksClick(TObject* Sender);
    Q_INVOKABLE void btImagesClick(TObject* Sender);
    Q_INVOKABLE void btTextClick(TObject* Sender);
    Q_INVOKABLE void btCommentsClick(TObject* Sender);
    Q_INVOKABLE void btParseCancelClick(TObject* Sender);
    Q_INVOKABLE void SubBrowserNavigateComplete2(TObject* Sender, const QString& URL);

    void Run();
    void EnableButtons();
    void AddTag(TObject* Sender, QString tag);
    void AddComment(TObject* Sender, QString text);
    void AddText(TObject* Sender, QString text);
    // "<" and ">" as entities.
    static QString EscapeHTML(const QString& s);
    // The template's text, every line ended by CR LF; empty when the program lacks it.
    QString LoadTemplate(const QString& name);
    // Adds the base tag that makes the page's relative references resolve inside the
    // program's resources.
    static QString InsertResBase(const QString& page);
    void WriteToSubBrowser(const QString& page);

    // Replaces every placeholder (case-sensitive) in one pass over template: inserted
    // values are never searched for placeholders again. Earlier placeholders win a tie.
    static QString ReplacePlaceholders(const QString& page, const QList<QPair<QString, QString>>& values);
    // The Qt resource folder the templates are read from (":/editor").
    static void SetTemplateFolder(const QString& folder);
    static QString TemplateFolder();

    // The page last written into the browser, after its placeholders were replaced.
    const QString& CurrentPage() const { return currentPage_; }

private:
    void ShowPage(const QString& templateName, const QList<QPair<QString, QString>>& values);
    QString DocumentTitle() const;

    std::unique_ptr<TStringList> code_;
    QString fileName_;
    QString currentPage_;
};

// Makes the window's component classes known to the form-resource reader (once).
void RegisterParseWindowClasses();
