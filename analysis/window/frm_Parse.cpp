#include "frm_Parse.h"

#include "dxBarItems.h"
#include "dxBarManager.h"
#include "dxBarRegistry.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QUrl>

namespace {

QString& TemplateFolderSetting()
{
    static QString folder = QStringLiteral(":/editor");
    return folder;
}

// Text from the document that goes into a report as text, not as markup.
QString EscapeText(const QString& s)
{
    return s.toHtmlEscaped();
}

QString Number(int n)
{
    return QString::number(n);
}

// A link list for the links page: every entry followed by CR LF, or "NA" when empty.
QString LinkList(const TStrings* list)
{
    if (list->Count() == 0) return QStringLiteral("NA");
    QString text;
    for (int i = 0; i < list->Count(); ++i) text += list->Strings(i) + QStringLiteral("\r\n");
    return text;
}

}  // namespace

void RegisterParseWindowClasses()
{
    static const bool registered = [] {
        // The bar library's start-up registers the item classes; the program keeps it up.
        dxBarInitialize();
        dxBarRegisterManagerClasses();
        RegisterWebClasses();
        return true;
    }();
    (void)registered;
}

TfrmParse::TfrmParse(TComponent* owner, TStrings* code, const QString& fileName)
    : TForm(owner), code_(std::make_unique<TStringList>()), fileName_(fileName)
{
    RegisterParseWindowClasses();
    if (code) code_->Assign(code);
}

TfrmParse::~TfrmParse() = default;

void TfrmParse::SetTemplateFolder(const QString& folder)
{
    TemplateFolderSetting() = folder;
}
QString TfrmParse::TemplateFolder()
{
    return TemplateFolderSetting();
}

// ---------------------------------------------------------------- parse

void TfrmParse::FormCreate(TObject* /*Sender*/)
{
    Parser = std::make_unique<THTMLParser>(nullptr);
    PageList = std::make_unique<TStringList>();
    Run();
}

void TfrmParse::Run()
{
    Parser->SetHTML(code_.get());
    Parser->SetOnFoundTag(TFoundEvent(this, &TfrmParse::AddTag));
    Parser->SetOnFoundComment(TFoundEvent(this, &TfrmParse::AddComment));
    Parser->SetOnFoundText(TFoundEvent(this, &TfrmParse::AddText));
    Parser->Parse();
    EnableButtons();
    btResults->DirectClick();
}

void TfrmParse::EnableButtons()
{
    const TParsed* parsed = Parser->Parsed();
    btTags->SetEnabled(TagCount > 0);
    btImages->SetEnabled(parsed->Images()->Count() > 0);
    btComments->SetEnabled(CommentCount > 0);
    btText->SetEnabled(TextChars > 0);
    btLinks->SetEnabled(parsed->Hyperlinks()->Count() > 0);
}

void TfrmParse::AddTag(TObject* /*Sender*/, QString tag)
{
    ++TagCount;
    TagsHTML += Number(TagCount) + QStringLiteral(". ") + EscapeHTML(QLatin1Char('<') + tag) + QStringLiteral("<br>");
}

void TfrmParse::AddComment(TObject* /*Sender*/, QString text)
{
    ++CommentCount;
    CommentsHTML += Number(CommentCount) + QStringLiteral(". ") + text + QStringLiteral("<br>");
}

void TfrmParse::AddText(TObject* /*Sender*/, QString text)
{
    if (text.isEmpty()) return;
    ++TextCount;
    TextChars += int(text.size());
    TextHTML += Number(TextCount) + QStringLiteral(". ") + text + QStringLiteral("<br>");
}

QString TfrmParse::EscapeHTML(const QString& s)
{
    QString r = s;
    r.replace(QLatin1Char('<'), QStringLiteral("&lt;"));
    r.replace(QLatin1Char('>'), QStringLiteral("&gt;"));
    return r;
}

void TfrmParse::FormClose(TObject* /*Sender*/, TCloseAction& /*Action*/)
{
    Parser.reset();
    PageList.reset();
}

void TfrmParse::btParseCancelClick(TObject* /*Sender*/)
{
    SetModalResult(mrCancel);
}

// ---------------------------------------------------------------- pages

QString TfrmParse::DocumentTitle() const
{
    const QString name = QFileInfo(fileName_).fileName();
    return name.isEmpty() ? QStringLiteral("Document") : name;
}

void TfrmParse::btResultsClick(TObject* /*Sender*/)
{
    if (!Parser) return;
    const TParsed* parsed = Parser->Parsed();
    ShowPage(QStringLiteral("Results.htm"), {
                                                {QStringLiteral("{TITLE}"), EscapeText(DocumentTitle())},
                                                {QStringLiteral("{PARSED}"), Number(Parser->LinesParsed())},
                                                {QStringLiteral("{LINES}"), Number(Parser->LineCount())},
                                                {QStringLiteral("{TAGSNO}"), Number(TagCount)},
                                                {QStringLiteral("{LINKSNO}"), Number(parsed->Hyperlinks()->Count())},
                                                {QStringLiteral("{IMAGENO}"), Number(parsed->Images()->Count())},
                                                {QStringLiteral("{TEXTNO}"), Number(TextChars)},
                                                {QStringLiteral("{COMMENTNO}"), Number(CommentCount)},
                                            });
}

void TfrmParse::btTagsClick(TObject* /*Sender*/)
{
    ShowPage(QStringLiteral("Tags.htm"), {{QStringLiteral("{TAGS}"), TagsHTML}});
}

void TfrmParse::btLinksClick(TObject* /*Sender*/)
{
    if (!Parser) return;
    const TParsed* parsed = Parser->Parsed();
    ShowPage(QStringLiteral("Links.htm"), {
                                              {QStringLiteral("{HTTPNO}"), Number(parsed->HTTPlinks()->Count())},
                                              {QStringLiteral("{FTPNO}"), Number(parsed->FTPlinks()->Count())},
                                              {QStringLiteral("{EMAILNO}"), Number(parsed->EMails()->Count())},
                                              {QStringLiteral("{LOCALNO}"), Number(parsed->Locallinks()->Count())},
                                              {QStringLiteral("{HTTPLINKS}"), LinkList(parsed->HTTPlinks())},
                                              {QStringLiteral("{FTPLINKS}"), LinkList(parsed->FTPlinks())},
                                              {QStringLiteral("{EMAILLINKS}"), LinkList(parsed->EMails())},
                                              {QStringLiteral("{LOCALLINKS}"), LinkList(parsed->Locallinks())},
                                          });
}

void TfrmParse::btImagesClick(TObject* /*Sender*/)
{
    if (!Parser) return;
    const TStrings* images = Parser->Parsed()->Images();
    QString list;
    for (int i = 0; i < images->Count(); ++i)
        list += Number(i + 1) + QStringLiteral(". ") + images->Strings(i) + QStringLiteral("<br>");
    ShowPage(QStringLiteral("Images.htm"), {{QStringLiteral("{IMAGES}"), list}});
}

void TfrmParse::btTextClick(TObject* /*Sender*/)
{
    ShowPage(QStringLiteral("Text.htm"), {{QStringLiteral("{TEXT}"), TextHTML}});
}

void TfrmParse::btCommentsClick(TObject* /*Sender*/)
{
    ShowPage(QStringLiteral("Comments.htm"), {{QStringLiteral("{COMMENTS}"), CommentsHTML}});
}

void TfrmParse::ShowPage(const QString& templateName, const QList<QPair<QString, QString>>& values)
{
    currentPage_ = ReplacePlaceholders(LoadTemplate(templateName), values);
    WriteToSubBrowser(InsertResBase(currentPage_));
}

QString TfrmParse::ReplacePlaceholders(const QString& page, const QList<QPair<QString, QString>>& values)
{
    QString out;
    out.reserve(page.size());
    qsizetype i = 0;
    while (i < page.size()) {
        const QPair<QString, QString>* match = nullptr;
        for (const auto& v : values) {
            if (!v.first.isEmpty() && QStringView(page).sliced(i).startsWith(v.first)) {
                match = &v;
                break;
            }
        }
        if (match) {
            out += match->second;
            i += match->first.size();
        } else {
            out += page.at(i++);
        }
    }
    return out;
}

QString TfrmParse::LoadTemplate(const QString& name)
{
    QFile file(TemplateFolder() + QLatin1Char('/') + name);
    if (!file.open(QIODevice::ReadOnly)) return {};
    // Through a string list twice: every line ends with CR LF, whatever the file had.
    TStringList lines;
    lines.SetText(QString::fromUtf8(file.readAll()));
    if (!PageList) PageList = std::make_unique<TStringList>();
    PageList->SetText(lines.Text());
    return PageList->Text();
}

QString TfrmParse::InsertResBase(const QString& page)
{
    // The program's path goes in as an encoded URL inside an escaped attribute, so any
    // character of the path keeps the base working.
    const QString base = QStringLiteral("res://") +
                         QString::fromLatin1(QUrl::toPercentEncoding(QCoreApplication::applicationFilePath(), "/")) +
                         QLatin1Char('/');
    const QString tag = QStringLiteral("<Base HREF=\"") + base.toHtmlEscaped() + QStringLiteral("\">");
    const qsizetype head = page.indexOf(QStringLiteral("<Head>"));
    QString result = page;
    result.insert(head < 0 ? 0 : head, tag);
    return result;
}

void TfrmParse::WriteToSubBrowser(const QString& page)
{
    SubBrowser->WriteOrHold(page, PendingPage);
}

void TfrmParse::SubBrowserNavigateComplete2(TObject* /*Sender*/, const QString& /*URL*/)
{
    SubBrowser->WritePending(PendingPage);
}
