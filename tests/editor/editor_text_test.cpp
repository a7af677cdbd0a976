#include "EditorText.h"

#include <gtest/gtest.h>

#include <QDir>

using namespace editortext;

TEST(CommandLine, ArgumentCounts) {
    EXPECT_EQ(FileToOpen({}, "/work"), "");
    EXPECT_EQ(FileToOpen({"/a/b.htm"}, "/work"), "/a/b.htm");
    EXPECT_EQ(FileToOpen({"/a", "b", "c.htm"}, "/work"), "");
    EXPECT_EQ(FileToOpen({"   "}, "/work"), "");
}

TEST(CommandLine, TrimsJoinsWithBlankAndMakesAbsolute) {
    EXPECT_EQ(FileToOpen({"  /a/page.htm  "}, "/work"), "/a/page.htm");
    // A path split at its blank comes back whole.
    EXPECT_EQ(FileToOpen({"/home/me/My", "Pages/a.htm"}, "/work"), "/home/me/My Pages/a.htm");
    EXPECT_EQ(FileToOpen({"docs/a.htm"}, "/work"), "/work/docs/a.htm");
    EXPECT_EQ(FileToOpen({"../a.htm"}, "/work/x"), "/work/a.htm");
}

TEST(BaseHref, EmptyOrMissingHeadLeavesTextAlone) {
    EXPECT_EQ(InsertBaseHref("<html><body>x</body></html>", "/tmp"), "<html><body>x</body></html>");
    EXPECT_EQ(InsertBaseHref("<HEAD lang=en><HEADER>", "/tmp"), "<HEAD lang=en><HEADER>");
}

TEST(BaseHref, InsertsAfterFirstHeadInAnyCase) {
    EXPECT_EQ(InsertBaseHref("<html><HeAd><title>t</title></head><head>", "/tmp/site"),
              "<html><HeAd><BASE HREF=\"file:///tmp/site/\"><title>t</title></head><head>");
}

TEST(BaseHref, AddressIsAnEscapedFileUrlEndingInSlash) {
    EXPECT_EQ(BaseAddress("/tmp/my site"), "file:///tmp/my%20site/");
    EXPECT_EQ(BaseAddress("/tmp/site/"), "file:///tmp/site/");
    EXPECT_EQ(BaseAddress("http://example.com/docs"), "http://example.com/docs/");
    EXPECT_EQ(BaseAddress("https://example.com/"), "https://example.com/");
    // A quote in a URL must not end the attribute.
    EXPECT_EQ(InsertBaseHref("<head>", "http://x/\"a"), "<head><BASE HREF=\"http://x/&quot;a/\">");
}

TEST(BaseHref, UpperCasingKeepsPositions) {
    // "ß" upper-cases to two letters in full Unicode; positions must not shift.
    EXPECT_EQ(InsertBaseHref("ßßß<head>", "/t"), "ßßß<head><BASE HREF=\"file:///t/\">");
}
