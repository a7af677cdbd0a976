#include "Scope.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace {

// Counts brackets the way string lists and collections do.
struct Bracketed {
    int depth = 0;
    int ends = 0;
    bool failBegin = false;
    void BeginUpdate()
    {
        if (failBegin) throw std::runtime_error("begin failed");
        ++depth;
    }
    void EndUpdate()
    {
        --depth;
        ++ends;
    }
};

}  // namespace

// Whatever ends the scope (its end, a return, an exception), the restoring code runs once,
// unless the scope dismissed it; variables and update brackets come back as they were.
TEST(Scope, RestoresOnEveryWayOut)
{
    struct Case {
        const char* name;
        bool throws;
        bool dismiss;
        int expectedRuns;
    };
    const Case cases[] = {
        {"normal end", false, false, 1},
        {"exception", true, false, 1},
        {"dismissed", false, true, 0},
        {"dismissed, then an exception", true, true, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        int runs = 0;
        bool flag = false;
        Bracketed strings;
        try {
            TScopeExit exit([&runs] { ++runs; });
            TRestore restore(flag, true);
            TUpdateScope update(&strings);
            EXPECT_TRUE(flag);
            EXPECT_EQ(strings.depth, 1);
            if (c.dismiss) exit.Dismiss();
            if (c.throws) throw std::runtime_error("body failed");
        } catch (const std::runtime_error& e) {
            EXPECT_TRUE(c.throws);
            EXPECT_STREQ(e.what(), "body failed");
        }
        EXPECT_EQ(runs, c.expectedRuns);
        EXPECT_FALSE(flag);
        EXPECT_EQ(strings.depth, 0);
        EXPECT_EQ(strings.ends, 1);
    }
}

// A failed BeginUpdate has no EndUpdate; nested restores unwind innermost first.
TEST(Scope, BracketsNestAndAFailedBeginHasNoEnd)
{
    Bracketed strings;
    strings.failBegin = true;
    EXPECT_THROW(TUpdateScope update(&strings), std::runtime_error);
    EXPECT_EQ(strings.ends, 0);

    std::vector<std::string> order;
    int level = 0;
    {
        TRestore outer(level, 1);
        TScopeExit first([&] { order.push_back("outer:" + std::to_string(level)); });
        {
            TRestore inner(level, 2);
            TScopeExit second([&] { order.push_back("inner:" + std::to_string(level)); });
        }
    }
    EXPECT_EQ(order, (std::vector<std::string>{"inner:2", "outer:1"}));
    EXPECT_EQ(level, 0);
}

// Restoring that fails while an exception unwinds the scope is dropped, so the caller sees
// the exception that ended it; ending normally, the failure of the restoring code goes on.
TEST(Scope, TheExceptionThatEndedTheScopeWins)
{
    try {
        TScopeExit failing([] { throw std::logic_error("restore failed"); });
        throw std::runtime_error("body failed");
    } catch (const std::exception& e) {
        EXPECT_STREQ(e.what(), "body failed");
    }
    try {
        TScopeExit failing([] { throw std::logic_error("restore failed"); });
    } catch (const std::exception& e) {
        EXPECT_STREQ(e.what(), "restore failed");
    }
}
