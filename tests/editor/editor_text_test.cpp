#include "EditorText.h"

#include <gtest/gtest.h>

#include <QDir>

using namespace editortext;

TEST(CommandLine, ArgumentCounts)
{
    EXPECT_EQ(FileToOpen({}, "/work"), "");
    EXPECT_EQ(FileToOpen({"/a/b.htm"}, "/work"), "/a/b.htm");
    EXPECT_EQ(FileToOpen({"/a", "b", "c.htm"}, "/work"), "");
    EXPECT_EQ(FileToOpen({"   "}, "/work"), "");
}

TEST(CommandLine, TrimsJoinsWithBlankAndMakesAbsolute)
{
    EXPECT_EQ(FileToOpen({"  /a/page.htm  "}, "/work"), "/a/page.htm");
    // A path split at its blank comes back whole.
    EXPECT_EQ(FileToOpen({"/home/me/My", "Pages/a.htm"}, "/work"), "/home/me/My Pages/a.htm");
    EXPECT_EQ(FileToOpen({"docs/a.htm"}, "/work"), "/work/docs/a.htm");
    EXPECT_EQ(FileToOpen({"../a.htm"}, "/work/x"), "/work/a.htm");
}

TEST(BaseHref, EmptyOrMissingHeadLeavesTextAlone)
{
    EXPECT_EQ(InsertBaseHref("<html><body>x</body></html>", "/tmp"), "<html><body>x</body></html>");
    EXPECT_EQ(InsertBaseHref("<HEAD lang=en><HEADER>", "/tmp"), "<HEAD lang=en><HEADER>");
}

TEST(BaseHref, InsertsAfterFirstHeadInAnyCase)
{
    EXPECT_EQ(InsertBaseHref("<html><HeAd><title>t</title></head><head>", "/tmp/site"),
              "<html><HeAd><BASE HREF=\"file:///tmp/site/\"><title>t</title></head><head>");
}

TEST(BaseHref, AddressIsAnEscapedFileUrlEndingInSlash)
{
    EXPECT_EQ(BaseAddress("/tmp/my site"), "file:///tmp/my%20site/");
    EXPECT_EQ(BaseAddress("/tmp/site/"), "file:///tmp/site/");
    EXPECT_EQ(BaseAddress("http://example.com/docs"), "http://example.com/docs/");
    EXPECT_EQ(BaseAddress("https://example.com/"), "https://example.com/");
    // A quote in a URL must not end the attribute.
    EXPECT_EQ(InsertBaseHref("<head>", "http://x/\"a"), "<head><BASE HREF=\"http://x/&quot;a/\">");
}

TEST(BaseHref, UpperCasingKeepsPositions)
{
    // "ß" upper-cases to two letters in full Unicode; positions must not shift.
    EXPECT_EQ(InsertBaseHref("ßßß<head>", "/t"), "ßßß<head><BASE HREF=\"file:///t/\">");
}

namespace {

// Text cut into many pieces, as the pane's shared text is after edits.
const QByteArray kBom("\xEF\xBB\xBF");

TSharedText InPieces(const QString& text, qsizetype cut)
{
    TSharedText shared;
    for (qsizetype at = 0; at < text.size(); at += cut)
        shared.Replace(shared.Size(), 0, QStringView(text).mid(at, cut));
    return shared;
}

}  // namespace

TEST(PreviewBytes, HeadTagAnywhereInAnyCaseAcrossPieces)
{
    const QString tag = BaseTag("/t");
    EXPECT_EQ(PreviewBytes(TSharedText(QStringLiteral("<html><body>no head</body></html>")), tag),
              kBom + "<html><body>no head</body></html>");
    EXPECT_EQ(HeadTagEnd(TSharedText(QStringLiteral("<HEAD lang=en><HEADER><<HEAD"))), -1);
    for (const QString& head : {QStringLiteral("<HEAD>"), QStringLiteral("<head>"), QStringLiteral("<hEaD>")}) {
        const QString text = QStringLiteral("<<html>") + head + QStringLiteral("<title>x</title>") + head;
        EXPECT_EQ(HeadTagEnd(TSharedText(text)), 7 + 6) << head.toStdString();
        // Every cut of the tag across two pieces is found, and the tag goes in once.
        for (qsizetype cut = 1; cut < 9; ++cut)
            EXPECT_EQ(PreviewBytes(InPieces(text, cut), tag), kBom + InsertBaseHref(text, "/t").toUtf8()) << cut;
    }
    // Past the first megabyte, with a surrogate pair and non-ASCII text before it.
    const QString far = QString(3 << 20, QLatin1Char('x')) + QStringLiteral("\u00e9\U0001D11E<Head>end");
    const QByteArray bytes = PreviewBytes(TSharedText(far), tag);
    EXPECT_TRUE(bytes.endsWith("\xc3\xa9\xf0\x9d\x84\x9e<Head>" + tag.toUtf8() + "end"));
    EXPECT_EQ(bytes.size(), 3 + (3 << 20) + 2 + 4 + 6 + tag.size() + 3);
    // The tag at the very end of the text, and no base tag without a path.
    EXPECT_EQ(PreviewBytes(InPieces(QStringLiteral("ab<head>"), 4), tag), kBom + "ab<head>" + tag.toUtf8());
    EXPECT_EQ(PreviewBytes(TSharedText(QStringLiteral("<head>")), QString()), kBom + "<head>");
}
