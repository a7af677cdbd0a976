// Throughput of the HTML scanner beside two full HTML parsers, on the same UTF-8 bytes.
// Our scanner reads the editor's lines (QStrings); the decoding and splitting into lines
// happen before the clock starts, as in the editor. Prints MB/s (MB of UTF-8 input,
// 10^6 bytes) for each, best of several runs, and the ratios. Asserts nothing.
#include "HTMLParser.h"

#include <gumbo.h>
#include <htmlcxx/html/ParserDom.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QStringList>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <random>
#include <string>

namespace {

// ---- input documents ----

const char* const kLinkTargets[] = {
    "index.html",
    "docs/guide.htm",
    "http://www.example.org/page.html?id=7",
    "https://secure.example.org/login.htm",
    "ftp://files.example.org/pub/archive.zip",
    "mailto:someone@example.org",
    "images/photo.jpeg",
    "http://cdn.example.org/pic.png",
    "media/clip.mpeg",
    "song.mp3",
    "scripts/app.js",
    "Applet.class",
    "shop/cart.asp",
    "cgi-bin/form.cgi",
    "forum/view.php?t=12",
    "controls/setup.cab",
    "#top",
    "news://group.example",
    "../up/readme.txt",
    "data?file=a.htm",
};

const char* const kWords[] = {"lorem", "ipsum",  "dolor",   "sit", "amet", "über", "straße", "naïve",
                              "the",   "editor", "preview", "and", "of",   "HTML", "größe",  "café"};

std::string Pick(std::mt19937& rng, const char* const* list, std::size_t n)
{
    return list[rng() % n];
}

std::string Words(std::mt19937& rng, int count)
{
    std::string s;
    for (int i = 0; i < count; ++i) {
        if (i) s += ' ';
        s += Pick(rng, kWords, std::size(kWords));
    }
    return s;
}

// A synthetic document of about `size` bytes mixing every kind of tag the scanner knows.
std::string GenerateDocument(std::size_t size)
{
    std::mt19937 rng(12345);
    std::string doc =
        "<html><head><title lang=\"en\">Generated test page</title>\n"
        "<meta name=\"keyword\" content=\"test, bench\"><meta name=\"description\" content=\"bench\">\n"
        "</head><body>\n";
    // Items come in sections and sections in chapters, as on real pages; tree builders slow
    // down badly on very long runs of siblings.
    for (int item = 0; doc.size() < size; ++item) {
        if (item % 30 == 0)
            doc += item % 900 == 0 ? "<div class=\"chapter\">\n<div class=\"section\">\n" : "<div class=\"section\">\n";
        switch (rng() % 9) {
        case 0:
            doc += "<a href=\"" + Pick(rng, kLinkTargets, std::size(kLinkTargets)) + "\">" + Words(rng, 3) + "</a>";
            break;
        case 1:
            doc += "<img src=\"img/p" + std::to_string(rng() % 100) + ".gif\" alt=\"" + Words(rng, 2) + "\" width=12>";
            break;
        case 2: doc += "<!-- " + Words(rng, 5) + " -->"; break;
        case 3: doc += "<p class=\"c" + std::to_string(rng() % 9) + "\">" + Words(rng, 12) + "</p>"; break;
        case 4:
            doc += "<div id=d" + std::to_string(rng() % 1000) + " style=\"margin: 0 auto\"><span>" + Words(rng, 4) +
                   "</span></div>";
            break;
        // Closed explicitly: a tree builder that does not know FRAME as empty would nest them ever deeper.
        case 5: doc += "<frame src=\"frames/f" + std::to_string(rng() % 10) + ".htm\" name=f></frame>"; break;
        case 6:
            doc += "<table border=1><tr><td>" + Words(rng, 2) + "</td><td>" + Words(rng, 2) + "</td></tr></table>";
            break;
        case 7: doc += Words(rng, 8) + " &amp; " + Words(rng, 4); break;
        default: doc += "<br>"; break;
        }
        doc += rng() % 3 ? " " : "\n";
        if (item % 30 == 29) doc += item % 900 == 899 ? "</div>\n</div>\n" : "</div>\n";
    }
    doc += "\n</body></html>\n";
    return doc;
}

// A hand-written page of the usual shape: head, navigation, articles, a table, a footer.
std::string RealisticPage()
{
    std::string page =
        "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n  <meta charset=\"utf-8\">\n"
        "  <title lang=\"en\">Riverside Gardening Club - News and events</title>\n"
        "  <meta name=\"description\" content=\"News, events and advice from the Riverside Gardening Club.\">\n"
        "  <meta name=\"keyword\" content=\"gardening, club, events\">\n"
        "  <link rel=\"stylesheet\" href=\"css/site.css\">\n  <script src=\"js/menu.js\"></script>\n</head>\n"
        "<body>\n<div id=\"header\">\n  <a href=\"index.html\"><img src=\"images/logo.png\" alt=\"Riverside\" "
        "width=\"180\" height=\"60\"></a>\n"
        "  <ul class=\"nav\">\n    <li><a href=\"index.html\">Home</a></li>\n    <li><a "
        "href=\"events.html\">Events</a></li>\n"
        "    <li><a href=\"members/join.asp\">Join</a></li>\n    <li><a "
        "href=\"http://forum.riverside.example/index.php\">Forum</a></li>\n"
        "    <li><a href=\"mailto:secretary@riverside.example\">Contact</a></li>\n  </ul>\n</div>\n";
    const std::string article =
        "<div class=\"article\">\n  <h2><a name=\"item\">Spring planting day</a></h2>\n"
        "  <p class=\"date\">Saturday, 14 March</p>\n"
        "  <p>Join us at the allotments for our <b>spring planting day</b>. Bring gloves, a trowel and a\n"
        "  packed lunch; seeds and seedlings are provided by the club. Beginners are very welcome &mdash;\n"
        "  experienced members will be on hand to help. See the <a href=\"docs/planting-guide.pdf\">planting "
        "guide</a>\n"
        "  or the <a href=\"http://www.example.org/seasonal/spring.htm\">seasonal calendar</a> for details.</p>\n"
        "  <img src=\"photos/allotment-2023.jpg\" alt=\"The allotments last spring\" width=\"400\" height=\"300\">\n"
        "  <!-- photo credit: club archive -->\n"
        "  <p>Minutes of the last meeting: <a href=\"ftp://files.riverside.example/minutes/feb.txt\">February</a>,\n"
        "  <a href=\"https://secure.riverside.example/members/minutes.htm\">archive</a> (members only).</p>\n"
        "  <table class=\"times\" border=\"0\" cellpadding=\"2\">\n"
        "    <tr><th>Time</th><th>Activity</th><th>Where</th></tr>\n"
        "    <tr><td>10:00</td><td>Welcome and tea</td><td>Club hut</td></tr>\n"
        "    <tr><td>10:30</td><td>Bed preparation</td><td>Plots 1&ndash;12</td></tr>\n"
        "    <tr><td>12:30</td><td>Lunch</td><td>Orchard</td></tr>\n    <tr><td>13:30</td><td>Sowing and "
        "planting</td><td>All plots</td></tr>\n"
        "  </table>\n  <p><a href=\"events/spring.html#signup\">Sign up</a> | <a href=\"cgi-bin/calendar.cgi?m=3\">Add "
        "to calendar</a></p>\n"
        "</div>\n";
    while (page.size() < 98 * 1024) page += article;
    page +=
        "<div id=\"footer\">\n  <p>&copy; Riverside Gardening Club. <a href=\"privacy.html\">Privacy</a> |\n"
        "  <a href=\"sitemap.htm\">Site map</a></p>\n</div>\n</body>\n</html>\n";
    return page;
}

// ---- timing ----

double BestSeconds(int runs, const std::function<void()>& work)
{
    double best = 1e300;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer timer;
        timer.start();
        work();
        best = std::min(best, double(timer.nsecsElapsed()) / 1e9);
    }
    return best;
}

class TagCounter : public QObject {
public:
    long long tags = 0;
    void Tag(TObject*, QString) { ++tags; }
};

struct Figures {
    double ours = 0, oursTags = 0, gumbo = 0, htmlcxx = 0;
};

Figures Measure(const std::string& bytes, int repeat, int runs)
{
    const double mb = double(bytes.size()) * repeat / 1e6;
    TStringList lines;
    lines.AddStrings(QString::fromUtf8(bytes.data(), qsizetype(bytes.size())).split(u'\n'));
    THTMLParser parser(nullptr);
    parser.SetHTML(&lines);
    auto ours = [&] {
        for (int i = 0; i < repeat; ++i) parser.Parse();
    };
    Figures f;
    f.ours = mb / BestSeconds(runs, ours);
    TagCounter counter;
    parser.SetOnFoundTag(TFoundEvent(&counter, &TagCounter::Tag));
    f.oursTags = mb / BestSeconds(runs, ours);
    f.gumbo = mb / BestSeconds(runs, [&] {
                  for (int i = 0; i < repeat; ++i) {
                      GumboOutput* out = gumbo_parse_with_options(&kGumboDefaultOptions, bytes.data(), bytes.size());
                      gumbo_destroy_output(&kGumboDefaultOptions, out);
                  }
              });
    f.htmlcxx = mb / BestSeconds(runs, [&] {
                    for (int i = 0; i < repeat; ++i) {
                        htmlcxx::HTML::ParserDom dom;
                        dom.parseTree(bytes);
                    }
                });
    return f;
}

void Print(const char* name, const std::string& bytes, int repeat, const Figures& f)
{
    std::printf("%s: %.2f MB x %d\n", name, double(bytes.size()) / 1e6, repeat);
    std::printf("  ours, no events     %9.1f MB/s\n", f.ours);
    std::printf("  ours, OnFoundTag    %9.1f MB/s\n", f.oursTags);
    std::printf("  gumbo               %9.1f MB/s\n", f.gumbo);
    std::printf("  htmlcxx             %9.1f MB/s\n", f.htmlcxx);
    std::printf("  ours/gumbo   %.1fx (with OnFoundTag %.1fx)\n", f.ours / f.gumbo, f.oursTags / f.gumbo);
    std::printf("  ours/htmlcxx %.1fx (with OnFoundTag %.1fx)\n", f.ours / f.htmlcxx, f.oursTags / f.htmlcxx);
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    const std::string generated = GenerateDocument(10 * 1000 * 1000);
    Print("generated document", generated, 1, Measure(generated, 1, 5));
    const std::string page = RealisticPage();
    Print("realistic page", page, 40, Measure(page, 40, 5));
    return 0;
}
