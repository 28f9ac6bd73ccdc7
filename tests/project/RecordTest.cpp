#include "project/Record.h"

#include <gtest/gtest.h>

using namespace project;

TEST(Record, EntriesSplitAtTheirFirstAt) {
    const struct {
        const char *entry;
        const char *caption;
        const char *target;
    } cases[] = {
        {"Welcome@welcome.html", "Welcome", "welcome.html"},
        {"Mail@me@x.htm", "Mail", "me@x.htm"},
        {"nothing.htm", "", "nothing.htm"},
        {"Empty@", "Empty", ""},
        {"@only.htm", "", "only.htm"},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(Caption(QString::fromUtf8(c.entry)), QString::fromUtf8(c.caption)) << c.entry;
        EXPECT_EQ(TopicTarget(QString::fromUtf8(c.entry)), QString::fromUtf8(c.target)) << c.entry;
    }
}
