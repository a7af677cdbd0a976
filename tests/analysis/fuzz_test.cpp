// Runs the fuzz entry point over a fixed set of generated inputs, so the sanitizer build
// of the suite exercises it on every run.
#include "ParserFuzz.h"

#include <gtest/gtest.h>

#include <array>
#include <random>
#include <string>
#include <string_view>

namespace {

constexpr std::array<std::string_view, 34> kFragments = {
    "<",
    ">",
    "<a href=",
    "\"",
    "'",
    " ",
    "=",
    "<!-- ",
    "-->",
    "<!--",
    "<TITLE lang=en>",
    "</title>",
    "</TITLE >",
    "<img src=",
    "<frame src=",
    "<meta name=keyword content=",
    "<meta name=\"description\" content=",
    "mailto:",
    "http://",
    "HTTPS://",
    "ftp://",
    "x.htm",
    "?q=a.b",
    "/",
    ".",
    "\n",
    "\r\n",
    std::string_view("\0", 1),
    "\xc3\x9f",
    "\xff\xfe",
    "\xc3",
    "\xed\xa0\x80",
    "text ",
    "<a name=top>",
};

std::string Generate(std::mt19937& rng)
{
    std::string s(1, char(rng() & 0xff));  // decoding selector
    const int parts = int(rng() % 40);
    for (int i = 0; i < parts; ++i) {
        if (rng() % 8 == 0)
            s += char(rng() & 0xff);
        else
            s += kFragments[rng() % kFragments.size()];
    }
    return s;
}

// Flips, drops and duplicates bytes of a well-formed page.
std::string Mutate(std::mt19937& rng)
{
    std::string s =
        "\x01<html><head><title lang=\"en\">T <b>x</b></title>\n"
        "<meta name=\"keyword\" content=\"a b\"></head><body>\n"
        "<a href=\"http://h/p.html?x=1\">l</a><!-- c --><img src=i.gif>\n"
        "<a href=\"mailto:m@h.org\">m</a><frame src=\"f.htm\"> tail";
    const int edits = 1 + int(rng() % 6);
    for (int i = 0; i < edits && !s.empty(); ++i) {
        const std::size_t at = rng() % s.size();
        switch (rng() % 3) {
        case 0: s[at] = char(rng() & 0xff); break;
        case 1: s.erase(at, 1 + rng() % 8); break;
        default: s.insert(at, s.substr(at, 1 + rng() % 12)); break;
        }
    }
    return s;
}

}  // namespace

TEST(HTMLParserFuzz, GeneratedAndMutatedInputs)
{
    std::mt19937 rng(20240607u);
    for (int i = 0; i < 20000; ++i) {
        const std::string input = i % 2 ? Generate(rng) : Mutate(rng);
        const char* failure = FuzzOneInputChecked(reinterpret_cast<const std::uint8_t*>(input.data()), input.size());
        ASSERT_EQ(failure, nullptr) << failure << " (input " << i << ")";
    }
}
