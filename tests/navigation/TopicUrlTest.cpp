#include "navigation/TopicUrl.h"

#include <gtest/gtest.h>

using namespace navigation;

TEST(TopicUrl, MakeTopicURLKeepsEveryByteButTheSecondAndBackslashes) {
    const std::pair<const char *, const char *> cases[] = {
        {R"(C:\Help\intro.htm)", "file:///C|/Help/intro.htm"},
        {R"(C:\a)", "file:///C|/a"},
        {R"(C:\HELP\)", "file:///C|/HELP/"},
        {R"(C:\)", "file:///C|/"},
        {R"(C:\Help\sub/x y#top%20.htm)", "file:///C|/Help/sub/x y#top%20.htm"},
        {R"(\\srv\share\p.htm)", "file:////|srv/share/p.htm"},
        {"Z", "file:///Z|"},
        {"", "file:///|"},
        {R"(D;\Mixed\CASE.HTM)", "file:///D|/Mixed/CASE.HTM"},
    };
    for (const auto &[path, url] : cases)
        EXPECT_EQ(MakeTopicURL(QString::fromUtf8(path)), QString::fromUtf8(url)) << path;
    // Eight characters longer than any path of two characters or more.
    EXPECT_EQ(MakeTopicURL(R"(C:\Help\intro.htm)").size(), 25);
}

TEST(TopicUrl, LengthRulesMeetAtFourteen) {
    const struct {
        const char *path;
        int length;
        bool atLeast;
        bool moreThan;
    } cases[] = {
        {R"(C:\a)", 12, false, false},
        {R"(C:\ab)", 13, false, false},
        {R"(C:\abc)", 14, true, false},
        {R"(C:\abcd)", 15, true, true},
    };
    for (const auto &c : cases) {
        const QString url = MakeTopicURL(QString::fromUtf8(c.path));
        EXPECT_EQ(url.size(), c.length) << c.path;
        EXPECT_EQ(PassesLengthRule(url, LengthRule::AtLeast14), c.atLeast) << c.path;
        EXPECT_EQ(PassesLengthRule(url, LengthRule::MoreThan14), c.moreThan) << c.path;
    }
}

TEST(TopicUrl, PageNameIsTheLastComponentUntouched) {
    EXPECT_EQ(PageName("file:///C|/Help/Intro.HTM"), "Intro.HTM");
    EXPECT_EQ(PageName("file:///C|/Help/a.htm#part"), "a.htm#part");
    EXPECT_EQ(PageName("file:///C|/Help/"), "");
    EXPECT_EQ(PageName("no-slash"), "no-slash");
}
