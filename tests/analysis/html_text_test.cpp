// The scanner's text helpers against plain character-by-character versions of their rules,
// over many generated tags and URLs and a few chosen ones. The inputs are copied into buffers
// of exactly their size, so that a read past the end shows up under the address sanitizer.
#include "HTMLParser.h"
#include "HTMLText.h"

#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <string>
#include <vector>

using namespace HTMLText;

namespace {

// ---- the rules, written plainly ----

QString Upper(QStringView s)
{
    QString u;
    for (QChar c : s) u += (c >= u'a' && c <= u'z') ? QChar(c.unicode() - 32) : c;
    return u;
}

qsizetype RefIndexOf(QStringView text, QStringView needle)
{
    const QString t = Upper(text), n = Upper(needle);
    for (qsizetype i = 0; i + n.size() <= t.size(); ++i)
        if (QStringView(t).mid(i, n.size()) == n) return i;
    return -1;
}

QString RefExtractQuoted(QStringView text, QChar ch)
{
    const qsizetype open = text.indexOf(ch);
    if (open < 0) return text.toString();
    qsizetype close = text.indexOf(ch, open + 1);
    if (close < 0) close = text.size();
    return text.mid(open + 1, close - open - 1).toString();
}

QString RefAttribute(QStringView tag, QStringView name)
{
    if (name.isEmpty()) return {};
    const qsizetype at = RefIndexOf(tag, name);
    if (at < 0) return {};
    bool quoted = false;
    qsizetype i = at;
    for (; i < tag.size() - 1; ++i) {
        if (tag[i] == u'"') quoted = !quoted;
        if ((tag[i] == u' ' && !quoted) || tag[i] == u'>') break;
    }
    return tag.mid(at, i - at + 1).toString();
}

QString RefAttributeValue(QStringView attribute)
{
    const qsizetype eq = attribute.indexOf(u'=');
    return eq < 0 ? QString() : RefExtractQuoted(attribute.mid(eq + 1), u'"');
}

THrefInfo RefClassify(QStringView url)
{
    const QString u = Upper(url);
    THrefInfo info;
    info.mailto = u.contains(u"MAILTO:");
    info.ftp = u.contains(u"FTP://");
    info.http = u.contains(u"HTTP://");
    info.hasSeparator = u.contains(u"://");
    QString name = info.hasSeparator ? u.mid(u.indexOf(u"://") + 3) : info.mailto ? u.mid(7) : u;
    name = name.mid(name.lastIndexOf(u'/') + 1);
    QString ext;
    if (name.contains(u'.')) {
        if (name.contains(u'?')) name = name.left(name.indexOf(u'?'));
        if (name.contains(u'.')) ext = name.mid(name.lastIndexOf(u'.'));
    }
    const auto is = [&](std::initializer_list<const char16_t*> list) {
        for (const char16_t* e : list)
            if (ext == QStringView(e)) return true;
        return false;
    };
    if (ext.contains(u"HTM"))
        info.kind = TParsed::lkHTML;
    else if (is({u".JPG", u".JPEG", u".GIF", u".TIF", u".PCX", u".PNG", u".BMP"}))
        info.kind = TParsed::lkImage;
    else if (is({u".AVI", u".MP3", u".AU", u".MOV", u".MPG", u".MPEG"}))
        info.kind = TParsed::lkMedia;
    else if (is({u".JS", u".CLASS", u".JAVA"}))
        info.kind = TParsed::lkJava;
    else if (is({u".ASP"}))
        info.kind = TParsed::lkASP;
    else if (is({u".PL", u".CGI"}))
        info.kind = TParsed::lkPERL;
    else if (ext.contains(u"PHP"))
        info.kind = TParsed::lkPHP;
    else if (is({u".CAB"}))
        info.kind = TParsed::lkActiveX;
    return info;
}

std::string Describe(const THrefInfo& i)
{
    return "kind " + std::to_string(i.kind) + " mailto " + std::to_string(i.mailto) + " ftp " + std::to_string(i.ftp) +
           " http " + std::to_string(i.http) + " separator " + std::to_string(i.hasSeparator);
}

// ---- inputs ----

// A copy of the text in storage of exactly its size.
class Exact {
public:
    explicit Exact(const QString& s) : chars_(std::make_unique<char16_t[]>(std::size_t(s.size()))), size_(s.size())
    {
        std::copy(s.utf16(), s.utf16() + s.size(), chars_.get());
    }
    QStringView View() const { return QStringView(chars_.get(), size_); }

private:
    std::unique_ptr<char16_t[]> chars_;
    qsizetype size_;
};

const std::vector<std::u16string> kFragments = {
    u"a ",
    u"href",
    u"HREF=",
    u"HrEf",
    u"src",
    u"=",
    u"\"",
    u"\"",
    u" ",
    u" ",
    u">",
    u"mailto:",
    u"MAILTO:",
    u"http://",
    u"HTTP://",
    u"https://",
    u"ftp://",
    u"://",
    u":",
    u".htm",
    u".JPEG",
    u".pHp3",
    u".js",
    u".cab",
    u".au",
    u"x.HTML5",
    u"?",
    u"/",
    u".",
    u".",
    u"page",
    u"@",
    u"`",
    u"[",
    u"{",
    u"\u00e9",
    u"\u0130",
    std::u16string(1, u'\0'),
    std::u16string(1, char16_t(0xD800)),
    std::u16string(1, char16_t(0xDC00)),
    u"abcdefghijklmnop",
};

QString Generate(std::mt19937& rng)
{
    QString s;
    const int parts = int(rng() % 24);
    for (int i = 0; i < parts; ++i) {
        const std::u16string& f = kFragments[rng() % kFragments.size()];
        s += QStringView(f.data(), qsizetype(f.size()));
    }
    return s;
}

}  // namespace

TEST(HTMLText, AttributeHelpersMatchTheirRulesOnGeneratedTags)
{
    std::mt19937 rng(97531u);
    const QStringView names[] = {u"HREF", u"href", u"SRC", u"H", u"=", u"\"", u"@", u"{", u"\u00e9", u""};
    for (int round = 0; round < 20000; ++round) {
        const Exact tag(Generate(rng));
        const QStringView t = tag.View();
        for (QStringView name : names) {
            const QString attribute = RefAttribute(t, name);
            ASSERT_EQ(IndexOfAscii(t, name), RefIndexOf(t, name)) << t.toString().toStdString();
            ASSERT_EQ(AttributeView(t, name).toString(), attribute) << t.toString().toStdString();
            ASSERT_EQ(AttributeValueView(attribute).toString(), RefAttributeValue(attribute));
            ASSERT_EQ(TagAttributeValue(t, name).toString(), RefAttributeValue(attribute))
                << t.toString().toStdString() << " / " << name.toString().toStdString();
        }
    }
}

TEST(HTMLText, ClassifyHrefMatchesItsRulesOnGeneratedUrls)
{
    std::mt19937 rng(24680u);
    for (int round = 0; round < 40000; ++round) {
        const Exact url(Generate(rng));
        const THrefInfo fast = ClassifyHref(url.View()), plain = RefClassify(url.View());
        ASSERT_EQ(Describe(fast), Describe(plain)) << url.View().toString().toStdString();
    }
}

TEST(HTMLText, ChosenTagsAndUrls)
{
    // An unquoted value keeps the ">" or blank that ends the tag's text; a value at the very
    // end keeps its last character; an unterminated quote runs to the attribute's end.
    EXPECT_EQ(TagAttributeValue(u"a href=x>", u"HREF"), u"x>");
    EXPECT_EQ(TagAttributeValue(u"a href=x", u"HREF"), u"x");
    EXPECT_EQ(TagAttributeValue(u"a HREF=\"a b\" c>", u"HREF"), u"a b");
    EXPECT_EQ(TagAttributeValue(u"a href=\"a b>", u"HREF"), u"a b>");
    EXPECT_EQ(TagAttributeValue(u"a href=\"", u"HREF"), u"");
    EXPECT_EQ(TagAttributeValue(u"a href>", u"HREF"), u"");
    // The name is found anywhere, here inside another attribute's value.
    EXPECT_EQ(TagAttributeValue(u"a title=\"see href=y\" href=z>", u"HREF"), u" href=z>");

    const auto kind = [](QStringView url) { return ClassifyHref(url).kind; };
    EXPECT_EQ(kind(u"x.HTML5"), TParsed::lkHTML);
    EXPECT_EQ(kind(u"forum/view.pHp3?t=1"), TParsed::lkPHP);
    EXPECT_EQ(kind(u"a/b.js?page.htm"), TParsed::lkJava);
    EXPECT_EQ(kind(u"HTTP://host/photo.JPEG?size=2"), TParsed::lkImage);
    EXPECT_EQ(kind(u"photo.jpegs"), -1);
    EXPECT_EQ(kind(u"data?file=a.htm"), -1);
    EXPECT_EQ(kind(u"http://host.htm"), TParsed::lkHTML);
    EXPECT_EQ(kind(u"mailto:someone@host.cab"), TParsed::lkActiveX);
    EXPECT_EQ(kind(u"archive.x-xhtml-long"), TParsed::lkHTML);
    EXPECT_EQ(kind(u"photo.jp\u00e9"), -1);

    const THrefInfo secure = ClassifyHref(u"https://host/x.asp");
    EXPECT_TRUE(secure.hasSeparator);
    EXPECT_FALSE(secure.http);
    EXPECT_EQ(secure.kind, TParsed::lkASP);
    const THrefInfo mixed = ClassifyHref(u"see Ftp://a then mAiLtO:b");
    EXPECT_TRUE(mixed.ftp && mixed.mailto && mixed.hasSeparator);
    EXPECT_FALSE(mixed.http);
}
